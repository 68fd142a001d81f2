#include "catalogue/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "catalogue/name_order.h"
#include "catalogue/previews.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/apercu_tree.h"
#include "catalogue/ui/preview_progress.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/startup_log.h"
#include "shell/ui/about_box.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/user_dialogs.h"

namespace {

bool Debugging() {
  return Soft() && Soft()->Debug;
}

int SoftInt(const char* key, int fallback) {
  if (!Soft()) return fallback;
  const int v = Soft()->ReadSoftInteger(QString::fromLatin1(key));
  return v > 0 ? v : fallback;
}

// The templates of a folder (no subfolders), sorted without regard to letter case.
QStringList FolderTemplates(const QString& folder) {
  QDir dir(folder);
  QStringList files = dir.entryList({QStringLiteral("*.mdl")}, QDir::Files);
  // The tree's and the mosaic's order, so a folder reads the same everywhere.
  SortNames(files);
  for (QString& f : files) f = dir.filePath(f);
  return files;
}

}  // namespace

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmMain"));
  setWindowTitle(QApplication::applicationDisplayName());
  setAccessibleName(windowTitle());
  Log(QStringLiteral("TfmMain.FormCreate Start"));
  FormCreate();
  Log(QStringLiteral("TfmMain.FormCreate End"));
}

TfmMain::~TfmMain() = default;

void TfmMain::FormCreate() {
  TSoft* soft = Soft();
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  // The button bar.
  bar_ = new TzunoMenuBarre(central);
  bar_->setObjectName(QStringLiteral("MenuBarre"));
  if (soft) bar_->LoadSkin(soft->SkinFile, QStringLiteral("ecran1"));
  struct Button {
    const char *key, *name;
    void (TfmMain::*handler)();
  };
  const Button buttons[] = {
      {"btn_nouveau", "Nouveau", nullptr},     {"btn_fiche", "Fiche", nullptr},
      {"btn_infos", "Infos", &TfmMain::About}, {"btn_web", "Web", &TfmMain::SiteWeb},
      {"btn_aide", "Aide", &TfmMain::Aide},    {"btn_quitter", "Quitter", &TfmMain::BtnQuitter}};
  for (const Button& b : buttons) {
    auto handler = b.handler;
    TzunoMenuBouton* button = bar_->AddButton(
        MLText(QString::fromLatin1(b.key)),
        [this, handler] {
          if (handler) (this->*handler)();
        },
        this, QString::fromLatin1(b.name));
    // New documents and the address cards open windows of their own, which come with them.
    if (!handler) button->SetEnabled(false);
  }
  column->addWidget(bar_);
  Log(QStringLiteral("OK : CreateMain6"));

  auto* body = new QWidget(central);
  auto* row = new QHBoxLayout(body);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  column->addWidget(body, 1);

  // The side menu with the templates panel.
  menu_ = new TzunoMenu(body);
  menu_->setObjectName(QStringLiteral("MenuGauche"));
  if (soft) menu_->LoadSkin(soft->SkinFile, QStringLiteral("ecran1_gauche"));
  auto* templates = new QWidget;
  templates->setObjectName(QStringLiteral("PanelModele"));
  templates->resize(220, 420);
  tree_ = new TzunoApercuTree(templates);
  tree_->setObjectName(QStringLiteral("TreeModeles"));
  tree_->setAccessibleName(MLText(QStringLiteral("panel_modele")));
  tree_->setGeometry(0, 4, 220, 412);
  const int line = menu_->Skin().Trait;
  menu_->setFixedWidth(menu_->verticalScrollBar()->sizeHint().width() + templates->width() + 2 * line +
                       menu_->Skin().Marge + 2);
  menu_->AddItem(templates, MLText(QStringLiteral("panel_modele")), true);
  menu_->Layout(true);
  row->addWidget(menu_);
  Log(QStringLiteral("OK : CreateMain7"));

  // The grid of template previews.
  auto* right = new QWidget(body);
  auto* rightColumn = new QVBoxLayout(right);
  rightColumn->setContentsMargins(0, 0, 0, 0);
  rightColumn->setSpacing(0);
  grid_ = new TzunoApercuModele(right);
  grid_->setObjectName(QStringLiteral("Apercu"));
  grid_->ApercuLarge = SoftInt("ApercuLarge", 100) + 4;
  grid_->ApercuHaut = SoftInt("ApercuHaut", 100) + 4;
  grid_->Marge = 2;
  grid_->AutoTaille = false;
  grid_->setStyleSheet(QStringLiteral("background: white"));
  grid_->setFrameShape(QFrame::NoFrame);
  progress_ = new TzunoPreviewProgress(right);
  rightColumn->addWidget(grid_, 1);
  rightColumn->addWidget(progress_);
  row->addWidget(right, 1);
  Log(QStringLiteral("OK : CreateMain16"));

  // The category tree.
  if (soft) tree_->Fill(soft->ModelesPath);
  tree_->expandAll();
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* node, QTreeWidgetItem*) { CategorieChange(node); });
  Log(QStringLiteral("OK : CreateMain18"));

  minutes_.setInterval(60000);
  connect(&minutes_, &QTimer::timeout, this, [] { Count(QStringLiteral("MinuteUtilisation")); });
  TranslateWidget(this);
  resize(1024, 740);
}

void TfmMain::FormShow() {
  Count(QStringLiteral("NbreLancement"));
  Count(QStringLiteral("MinuteUtilisation"));
  minutes_.start();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().left(), y());
  // The start category, a path of node names beginning with "\", else the first node.
  const QString start = Soft() ? Soft()->ReadSoftString(QStringLiteral("path_modele_start")) : QString();
  tree_->SetPathSelect(start);
  if (!tree_->currentItem() && tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

void TfmMain::CategorieChange(QTreeWidgetItem* node) {
  if (changing_ || !node || !Soft()) return;
  changing_ = true;
  const QString path = TzunoApercuTree::NodePath(node).replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString folder = Soft()->ModelesPath + path;
  if (QFileInfo(folder).isDir()) AfficheDossier(folder);
  changing_ = false;
}

void TfmMain::AfficheDossier(const QString& folder) {
  if (Debugging()) setWindowTitle(folder);
  const QStringList modeles = FolderTemplates(folder);
  progress_->Start(grid_, modeles, SoftInt("ApercuLarge", 100), SoftInt("ApercuHaut", 100));
  grid_->verticalScrollBar()->setValue(0);
}

void TfmMain::About() {
  Count(QStringLiteral("Bouton1About"));
  ShowAbout(this);
}

void TfmMain::SiteWeb() {
  Count(QStringLiteral("Bouton1SiteWeb"));
  if (Debugging() || !Soft()) return;
  const QString web = Soft()->ReadSoftString(QStringLiteral("web"));
  if (!web.isEmpty()) QDesktopServices::openUrl(QUrl(web));
}

void TfmMain::Aide() {
  Count(QStringLiteral("Bouton1Stats"));
  if (!Soft()) return;
  TSoft& soft = *Soft();
  const QString pdf = soft.ReadSoftString(QStringLiteral("aide_pdf"));
  const QString file = soft.ExePath + pdf;
  if (!pdf.isEmpty() && QFileInfo(file).isFile()) {
    Count(QStringLiteral("AidePdf"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  } else if (Debugging()) {
    resize(width() == 1024 ? QSize(800, 600) : QSize(1024, 768));
  } else {
    AskUser(MLMessage(107).replace(QStringLiteral("%s"), file), akWarning, abOK);
  }
}

void TfmMain::BtnQuitter() {
  Count(QStringLiteral("Bouton1Quitter"));
  close();
}

bool TfmMain::FormCloseQuery() {
  if (Debugging()) return true;
  const QString text = MLMessage(108).replace(QStringLiteral("%s"), windowTitle());
  return AskUser(text, akQuestion, abOK | abCancel) == arOK;
}

void TfmMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  progress_->Cancel();
  event->accept();
  emit Closed();
}

void TfmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  FormShow();
}

bool TfmMain::event(QEvent* e) {
  const bool result = QMainWindow::event(e);
  if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest) {
    if (!painted_) {
      painted_ = true;
      emit FirstPaint();
    }
  }
  return result;
}
