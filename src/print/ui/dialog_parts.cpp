#include "print/ui/dialog_parts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/ui/layout_ops.h"

QLabel* Caption(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(buddy);
  return label;
}

QString NameOf(const QString& caption) {
  QString s = caption;
  s.remove(QLatin1Char('&'));
  while (s.endsWith(QLatin1Char(':')) || s.endsWith(QLatin1Char(' '))) s.chop(1);
  return s;
}

QWidget* DialogHeader(QWidget* dialog, QBoxLayout* column, QLabel** title, QLabel** subtitle) {
  auto* header = new QWidget(dialog);
  header->setObjectName(QStringLiteral("pnEntete"));
  auto* headerColumn = new QVBoxLayout(header);
  // Room at the right for the skin's picture.
  headerColumn->setContentsMargins(8, 6, 72, 6);
  *title = new QLabel(header);
  (*title)->setObjectName(QStringLiteral("lbTitre"));
  QFont big = (*title)->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  (*title)->setFont(big);
  *subtitle = new QLabel(header);
  (*subtitle)->setObjectName(QStringLiteral("lbSousTitre"));
  (*subtitle)->setWordWrap(true);
  (*subtitle)->setMinimumHeight((*subtitle)->fontMetrics().lineSpacing() * 2 + 4);
  headerColumn->addWidget(*title);
  headerColumn->addWidget(*subtitle);
  column->addWidget(header);
  SkinPanel(header);
  return header;
}

QBoxLayout* OkCancelRow(QWidget* dialog, QPushButton** ok, QPushButton** cancel) {
  auto* buttons = new QHBoxLayout;
  *ok = new QPushButton(QStringLiteral("OK"), dialog);
  (*ok)->setObjectName(QStringLiteral("bOK"));
  (*ok)->setDefault(true);
  *cancel = new QPushButton(QStringLiteral("Annuler"), dialog);
  (*cancel)->setObjectName(QStringLiteral("bAnnuler"));
  buttons->addStretch(1);
  buttons->addWidget(*ok);
  buttons->addWidget(*cancel);
  return buttons;
}
