#include "records/ui/choix_textes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "records/text_library.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kRawRole = Qt::UserRole;
constexpr int kPad = 4;

// Each entry word-wrapped on its own row, every second row light grey, the selected one darker; the
// row is as high as its wrapped text.
class TTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const int level = selected ? 128 : (index.row() % 2 == 1 ? 240 : 255);
    p->save();
    p->fillRect(option.rect, QColor(level, level, level));
    p->setPen(Qt::black);
    p->setFont(option.font);
    p->drawText(option.rect.adjusted(kPad, kPad / 2, -kPad, -kPad / 2),
                Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    p->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const int width = std::max(40, (view ? view->viewport()->width() : option.rect.width()) - 2 * kPad);
    const QRect r = option.fontMetrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap,
                                                    index.data(Qt::DisplayRole).toString());
    return {width + 2 * kPad, r.height() + kPad};
  }
};

int CountNodes(const QTreeWidgetItem* node) {
  int n = 1;
  for (int i = 0; i < node->childCount(); ++i) n += CountNodes(node->child(i));
  return n;
}

QTreeWidgetItem* FindPath(QTreeWidgetItem* node, const QString& path) {
  if (TfmChoixTextes::NodePath(node).compare(path, Qt::CaseInsensitive) == 0) return node;
  for (int i = 0; i < node->childCount(); ++i)
    if (QTreeWidgetItem* hit = FindPath(node->child(i), path)) return hit;
  return nullptr;
}

}  // namespace

TfmChoixTextes::TfmChoixTextes(QWidget* owner, const TzunoChoixTextes& library, const QString& inclu,
                               const QString& exclu, bool debug)
    : QDialog(owner), library_(library), debug_(debug) {
  setObjectName(QStringLiteral("fmChoixTextes"));
  setWindowTitle(QStringLiteral("Choix du texte"));
  tv = new QTreeWidget(this);
  tv->setObjectName(QStringLiteral("tv"));
  tv->setHeaderHidden(true);
  tv->setColumnCount(1);
  tv->setMinimumWidth(220);
  tc = new QTabBar(this);
  tc->setObjectName(QStringLiteral("tc"));
  tc->setExpanding(false);
  lb = new QListWidget(this);
  lb->setObjectName(QStringLiteral("lb"));
  lb->setItemDelegate(new TTextDelegate(lb));
  lb->setWordWrap(true);
  lb->setResizeMode(QListView::Adjust);
  lb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lb->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  cb = new QComboBox(this);
  cb->setObjectName(QStringLiteral("cb"));
  cb->addItems({QStringLiteral("Texte original"), QStringLiteral("Tout en majuscule"),
                QStringLiteral("Tout en Minuscule"), QString::fromUtf8("Première lettre en majuscule")});
  bOK = new QPushButton(QStringLiteral("OK"), this);
  bOK->setObjectName(QStringLiteral("bOK"));
  bOK->setEnabled(false);
  bOK->setDefault(true);
  bAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  bAnnuler->setObjectName(QStringLiteral("bAnnuler"));
  bDebug = new QPushButton(QStringLiteral("Debug"), this);
  bDebug->setObjectName(QStringLiteral("bDebug"));
  bDebug->setVisible(debug);

  auto* right = new QVBoxLayout;
  right->setSpacing(0);
  right->addWidget(tc);
  right->addWidget(lb, 1);
  auto* body = new QHBoxLayout;
  body->addWidget(tv, 1);
  body->addLayout(right, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cb);
  buttons->addStretch(1);
  buttons->addWidget(bDebug);
  buttons->addWidget(bOK);
  buttons->addWidget(bAnnuler);
  auto* column = new QVBoxLayout(this);
  column->addLayout(body, 1);
  column->addLayout(buttons);
  resize(780, 500);

  connect(tv, &QTreeWidget::currentItemChanged, this, [this] { TvChange(); });
  // A row selected without a click (a screen reader) becomes the current one too.
  connect(tv, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem*> selected = tv->selectedItems();
    if (!selected.isEmpty() && selected.front() != tv->currentItem()) tv->setCurrentItem(selected.front());
  });
  connect(tc, &QTabBar::currentChanged, this, [this] {
    if (!tc->signalsBlocked()) Change();
  });
  connect(cb, &QComboBox::currentIndexChanged, this, [this] { Change(); });
  connect(lb, &QListWidget::itemSelectionChanged, this, [this] { TextClick(); });
  connect(lb, &QListWidget::itemDoubleClicked, this, [this] {
    TextClick();
    if (bOK->isEnabled()) accept();
  });
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(bDebug, &QPushButton::clicked, this, [this] { DebugClick(); });

  TranslateWidget(this);
  tv->setAccessibleName(MLText(QStringLiteral("ChoixTextesThemes")));
  lb->setAccessibleName(MLText(QStringLiteral("ChoixTextesListe")));
  tc->setAccessibleName(MLText(QStringLiteral("ChoixTextesParties")));
  cb->setAccessibleName(MLText(QStringLiteral("ChoixTextesCasse")));

  BuildTree(library.ListeThemes(inclu, exclu));
}

void TfmChoixTextes::BuildTree(const QStringList& themes) {
  themes_ = themes;
  themes_.sort(Qt::CaseInsensitive);
  const QSignalBlocker block(tv);
  tv->clear();
  for (const QString& theme : themes_) {
    QTreeWidgetItem* parent = nullptr;
    for (const QString& part : theme.split(QLatin1Char('\\'))) {
      // Only the previous level's own children are candidates: a node of that caption elsewhere in
      // the tree is another theme.
      QTreeWidgetItem* found = nullptr;
      const int count = parent ? parent->childCount() : tv->topLevelItemCount();
      for (int i = 0; i < count && !found; ++i) {
        QTreeWidgetItem* c = parent ? parent->child(i) : tv->topLevelItem(i);
        if (c->text(0).compare(part, Qt::CaseInsensitive) == 0) found = c;
      }
      if (!found) {
        found = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tv);
        found->setText(0, part);
      }
      parent = found;
    }
  }
  tv->expandAll();
  if (tv->topLevelItemCount() > 0) tv->setCurrentItem(tv->topLevelItem(0));
  TvChange();
}

QString TfmChoixTextes::NodePath(const QTreeWidgetItem* node) {
  QString path;
  for (; node; node = node->parent()) path.prepend(QLatin1Char('\\') + node->text(0));
  return path;
}

void TfmChoixTextes::SelectPath(const QString& path) {
  const QString wanted = path.startsWith(QLatin1Char('\\')) ? path : QLatin1Char('\\') + path;
  for (int i = 0; i < tv->topLevelItemCount(); ++i)
    if (QTreeWidgetItem* hit = FindPath(tv->topLevelItem(i), wanted)) {
      tv->setCurrentItem(hit);
      tv->scrollToItem(hit);
      return;
    }
}

QString TfmChoixTextes::Theme() const {
  const QTreeWidgetItem* node = tv->currentItem();
  return node ? NodePath(node).mid(1) : QString();
}

void TfmChoixTextes::TvChange() {
  const QStringList names = library_.NomsParties(Theme());
  const int keep = tc->currentIndex();
  {
    const QSignalBlocker block(tc);
    while (tc->count() > 0) tc->removeTab(0);
    if (tv->currentItem())
      for (const QString& name : names) tc->addTab(name);
    tc->setCurrentIndex(keep >= 0 && keep < tc->count() ? keep : 0);
  }
  Change();
}

QString TfmChoixTextes::Shown(const QString& text) const {
  QString s = text;
  s.replace(QLatin1String("\\n"), QLatin1String("\n"));
  switch (cb->currentIndex()) {
    case 1:
      return s.toUpper();
    case 2:
      return s.toLower();
    case 3:
      s = s.toLower();
      if (!s.isEmpty()) s[0] = s[0].toUpper();
      return s;
    default:
      return s;
  }
}

void TfmChoixTextes::Change() {
  // The tab's number picks the part: a theme's own tab names only caption the header's parts.
  const QStringList texts = tv->currentItem() && tc->currentIndex() >= 0
                                ? library_.TextesPartie(Theme(), tc->currentIndex())
                                : QStringList();
  const QSignalBlocker block(lb);
  lb->clear();
  QListWidgetItem* chosen = nullptr;
  for (const QString& text : texts) {
    auto* item = new QListWidgetItem(Shown(text), lb);
    item->setData(kRawRole, text);
    if (!choice_.isEmpty() && TexteVersObjet(text) == choice_ && !chosen) chosen = item;
  }
  // A choice stays while its text is still listed; otherwise there is nothing to confirm.
  if (chosen) {
    lb->setCurrentItem(chosen);
  } else {
    choice_.clear();
    bOK->setEnabled(false);
  }
  ShowCaption();
}

void TfmChoixTextes::TextClick() {
  const QList<QListWidgetItem*> selected = lb->selectedItems();
  if (selected.isEmpty()) return;
  choice_ = TexteVersObjet(selected.front()->data(kRawRole).toString());
  bOK->setEnabled(true);
}

void TfmChoixTextes::ShowCaption() {
  if (!debug_) return;
  int nodes = 0;
  for (int i = 0; i < tv->topLevelItemCount(); ++i) nodes += CountNodes(tv->topLevelItem(i));
  setWindowTitle(MLText(QStringLiteral("ChoixTextesDebug"))
                     .arg(nodes)
                     .arg(library_.LineCount())
                     .arg(library_.FieldCount())
                     .arg(lb->count()));
}

void TfmChoixTextes::DebugClick() {
  const int parts = library_.PartCount();
  QString report;
  int total = 0;
  for (const QString& theme : themes_) {
    report += theme + QStringLiteral(" : ");
    int sum = 0;
    for (int i = 0; i < parts; ++i) {
      const int n = static_cast<int>(library_.TextesPartie(theme, i).size());
      report += QString::number(n) + QLatin1Char('+');
      sum += n;
    }
    report += QLatin1Char('=') + QString::number(sum) + QStringLiteral("   ");
    total += sum;
  }
  report += QStringLiteral("TOTAL = ") + QString::number(total);
  AskUser(report, akInformation, abOK);
}

void TfmChoixTextes::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // Row heights follow the wrapped width.
  lb->doItemsLayout();
}

void ChoisirTexte(QWidget* owner, const QString& lastPath, bool debug, TzunoChoixTextesResult& result,
                  const QString& exclu, const QString& inclu) {
  Count(QStringLiteral("Show_ChoixTextes"));
  result = TzunoChoixTextesResult();
  TzunoChoixTextes empty;
  TzunoChoixTextes* library = ChoixTextesCharges();
  TfmChoixTextes dialog(owner, library ? *library : empty, inclu, exclu, debug);
  dialog.SelectPath(lastPath);
  if (dialog.exec() != QDialog::Accepted || dialog.Choice().isEmpty()) return;
  result.Texte = dialog.Choice();
  result.Chemin = QLatin1Char('\\') + dialog.Theme();
  result.Ok = true;
}
