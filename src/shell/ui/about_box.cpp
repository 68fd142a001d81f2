#include "shell/ui/about_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "shell/counters.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"

namespace {

// A pressable web link: underlined, hand cursor.
class TLinkButton : public QAbstractButton {
 public:
  explicit TLinkButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
  }
  QSize sizeHint() const override {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 4, fm.height() + 4};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QFont f = font();
    f.setUnderline(true);
    p.setFont(f);
    p.setPen(palette().color(QPalette::Link));
    p.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
      p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
      p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }
};

}  // namespace

QString TzunoAboutDialog::VersionText() {
  const QFileInfo program(QCoreApplication::applicationFilePath());
  return program.lastModified().date().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" - ") +
         QCoreApplication::applicationVersion();
}

TzunoAboutDialog::TzunoAboutDialog(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("fmZunoAbout"));
  setWindowTitle(QStringLiteral("A propos"));
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

  icon_ = new QLabel(this);
  icon_->setObjectName(QStringLiteral("Image1"));
  icon_->setAlignment(Qt::AlignCenter);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) icon_->setPixmap(icon.pixmap(64, 64));
  icon_->setVisible(!icon.isNull());

  title_ = new QLabel(QGuiApplication::applicationDisplayName(), this);
  title_->setObjectName(QStringLiteral("lTitre"));
  title_->setAlignment(Qt::AlignCenter);
  QFont big = title_->font();
  big.setBold(true);
  big.setPointSize(big.pointSize() + 4);
  title_->setFont(big);

  const QString web = Soft() ? Soft()->Web : QString();
  web_ = new TLinkButton(this);
  web_->setObjectName(QStringLiteral("lWeb"));
  const qsizetype q = web.indexOf(QLatin1Char('?'));
  web_->setText(q >= 0 ? web.left(q) : web);
  web_->setToolTip(web);
  web_->setVisible(!web.isEmpty());
  connect(web_, &QAbstractButton::clicked, this, [this, web] {
    if (OpenUrl) OpenUrl(QUrl::fromUserInput(web));
  });

  version_ = new QLabel(VersionText(), this);
  version_->setObjectName(QStringLiteral("lVersion"));
  version_->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);
  layout->setSpacing(8);
  layout->addWidget(icon_);
  layout->addWidget(title_);
  layout->addWidget(web_, 0, Qt::AlignHCenter);
  layout->addWidget(version_);
  TranslateWidget(this);
}

void ShowAbout(QWidget* owner) {
  Count(QStringLiteral("Show_About"));
  TzunoAboutDialog dialog(owner);
  dialog.exec();
}
