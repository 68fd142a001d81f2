#include "catalogue/ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "catalogue/apercu_draw.h"
#include "catalogue/catalogue_folder.h"
#include "catalogue/modele.h"
#include "catalogue/name_order.h"
#include "catalogue/previews.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/apercu_tree.h"
#include "catalogue/ui/preview_progress.h"
#include "model/document.h"
#include "model/soft_host.h"
#include "print/ui/print_dialog.h"
#include "records/album_cd.h"
#include "records/fiches.h"
#include "records/ui/album_dialog.h"
#include "records/ui/fiche_window.h"
#include "records/ui/mailing_window.h"
#include "shell/counters.h"
#include "shell/help.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/shell_folders.h"
#include "shell/startup_log.h"
#include "shell/ui/about_box.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kTemplatesWidth = 220;

bool Debugging() {
  return Soft() && Soft()->Debug;
}

bool Flag(const char* key) {
  return Soft() && Soft()->SoftFlag(QString::fromLatin1(key));
}

int SoftInt(const char* key, int fallback) {
  if (!Soft()) return fallback;
  const int v = Soft()->ReadSoftInteger(QString::fromLatin1(key));
  return v > 0 ? v : fallback;
}

// A whole decimal setting, else the fallback ("abc", "", "12.5" all give it).
int SoftWhole(const char* key, int fallback) {
  if (!Soft()) return fallback;
  bool ok = false;
  const int v = Soft()->ReadSoftString(QString::fromLatin1(key)).trimmed().toInt(&ok);
  return ok ? v : fallback;
}

QString WithoutSlash(QString folder) {
  while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
  return folder;
}

bool SameFolder(const QString& a, const QString& b) {
  return !a.isEmpty() && !b.isEmpty() && QDir::cleanPath(a) == QDir::cleanPath(b);
}

// "a/b/c.jpg" or "a/b/c.mdl" as the template "a/b/c.mdl".
QString TemplateOf(const QString& file) {
  QString f = file;
  const qsizetype dot = f.lastIndexOf(QLatin1Char('.'));
  const qsizetype slash = f.lastIndexOf(QLatin1Char('/'));
  if (dot > slash) f.truncate(dot);
  return f + QStringLiteral(".mdl");
}

// Letter case and accents set aside, for the search.
QString Folded(const QString& text) {
  const QString d = text.normalized(QString::NormalizationForm_D);
  QString out;
  out.reserve(d.size());
  for (const QChar c : d)
    if (!c.isMark()) out += c.toCaseFolded();
  return out;
}

// A size as a document stores it: "120", "120.5" or "120,5" (the decimal separator of the machine
// that wrote it).
double StoredNumber(QString value) {
  bool ok = false;
  const double v = value.replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
  return ok ? v : 0;
}

QString Millimetres(double v) {
  return QString::number(std::round(v * 10) / 10, 'f', std::fmod(std::round(v * 10), 10) == 0 ? 0 : 1);
}

// The hourglass for the length of a handler.
class TBusy {
 public:
  TBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusy() { QApplication::restoreOverrideCursor(); }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;
};

// Names of the sheet layouts k = 1 … 6, for the gabarit buttons' hints.
const char* const kLayoutHints[6] = {"Etiquette de disque", "Jaquette",   "Livret", "Feuillet",
                                     "Jaquette DVD",        "Pochette CD"};

}  // namespace

// A side-menu item shows while its panel does.
// A plain panel of one colour.
static void Paint(QWidget* w, const QColor& colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, colour);
  w->setPalette(pal);
}

static void ShowItem(TzunoMenuItem* item, bool on) {
  if (item) item->Panel()->setVisible(on);
}

// ------------------------------------------------------------------------------------------------
// A face of the large view

TApercuFace::TApercuFace(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void TApercuFace::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void TApercuFace::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!picture_.isNull()) p.drawImage(0, 0, picture_);
  if (hasFocus()) {
    p.setPen(QPen(QColor(255, 227, 71), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

// ------------------------------------------------------------------------------------------------
// Creation

QString TfmMain::BuggedName() {
  return QStringLiteral("Modèles buggés");
}

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmMain"));
  setWindowTitle(QApplication::applicationDisplayName());
  setAccessibleName(windowTitle());
  Log(QStringLiteral("TfmMain.FormCreate Start"));
  FormCreate();
  Log(QStringLiteral("TfmMain.FormCreate End"));
}

TfmMain::~TfmMain() {
  FormDestroy();
}

void TfmMain::Block(int number, bool logOk, const std::function<void()>& work) {
  try {
    work();
    if (logOk) Log(QStringLiteral("OK : CreateMain%1").arg(number));
  } catch (...) {
    Log(QStringLiteral("EXCEPT : CreateMain%1").arg(number));
  }
}

void TfmMain::FormCreate() {
  TSoft* soft = Soft();
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  // 1 to 3: the decimal separator and the display unit are the installation's, set when it opened.
  Block(2, false, [soft] {
    if (!soft) return;
    soft->CreateUserFolders();
    soft->CopyTablesToUser();
    // The cards were read before the tables reached the user folder: read the user's copy now.
    if (TzunoFiches* fiches = Fiches(); fiches && !fiches->Changed()) {
      fiches->Open(*soft);
      fiches->ReadCurrent(*soft);
    }
  });
  // 4, 5: the album key names are loaded again, now telling the user of a missing one; the address
  // cards, text library and albums belong to their own windows; what the catalogue
  // itself keeps is the variants' return template and the caption.
  Block(5, false, [this, soft] {
    if (soft) retour_ = soft->ReadUserString(QStringLiteral("modele_VarianteRetour"));
    if (TzunoAlbumCD* albums = AlbumCD()) albums->ChargeCles();
    const QString nom = soft ? soft->ReadSoftString(QStringLiteral("nom")) : QString();
    if (!nom.isEmpty()) setWindowTitle(nom);
    setAccessibleName(windowTitle());
  });
  Block(6, true, [this, column, central] {
    bar_ = new TzunoMenuBarre(central);
    bar_->setObjectName(QStringLiteral("MenuBarre"));
    CreateBar();
    column->addWidget(bar_);
  });

  auto* body = new QWidget(central);
  auto* row = new QHBoxLayout(body);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  column->addWidget(body, 1);
  left_ = new QWidget(body);
  left_->setObjectName(QStringLiteral("PanelGauche"));
  auto* leftColumn = new QVBoxLayout(left_);
  leftColumn->setContentsMargins(0, 0, 0, 0);
  leftColumn->setSpacing(0);
  row->addWidget(left_);

  Block(7, true, [this, leftColumn] {
    menu_ = new TzunoMenu(left_);
    menu_->setObjectName(QStringLiteral("MenuGauche"));
    leftColumn->addWidget(menu_, 1);
    menu_->installEventFilter(this);
    CreateMenu();
  });
  Block(8, true, [this] { CreateGabaritItem(); });
  Block(9, true, [this, leftColumn] {
    CreateMascot();
    if (mascot_) leftColumn->addWidget(mascot_);
  });
  Block(10, true, [this] { menu_->Layout(true); });
  Block(11, true, [this] {
    try {
      CreateTree();
    } catch (...) {
      // The tree's creation fails silently.
    }
  });
  Block(12, true, [this] {
    if (!tree_) return;
    const int top = search_       ? search_->geometry().bottom() + 4
                    : categories_ ? categories_->geometry().bottom() + 4
                                  : 4;
    tree_->setGeometry(0, top, kTemplatesWidth, templatesPanel_->height() - top);
    tree_->setFrameShape(QFrame::NoFrame);
    tree_->setStyleSheet(QStringLiteral("QTreeWidget { background: white; }"));
  });
  Block(13, false, [this] {
    apercu_ = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
    apercu_->PreviewBackColor = RGBColor(153, 204, 255);
    ConnectToSoft(*apercu_);
  });

  auto* right = new QWidget(body);
  auto* rightColumn = new QVBoxLayout(right);
  rightColumn->setContentsMargins(0, 0, 0, 0);
  rightColumn->setSpacing(0);
  views_ = new QStackedWidget(right);
  views_->setObjectName(QStringLiteral("Vues"));
  rightColumn->addWidget(views_, 1);
  progress_ = new TzunoPreviewProgress(right);
  rightColumn->addWidget(progress_);
  row->addWidget(right, 1);

  Block(14, true, [this, body, row] {
    if (!Flag("panel_gabarit")) return;
    (void)body;
    CreateSheetPanel();
    row->addWidget(sheetPanel_);
  });
  Block(15, false, [this] { CreateTemplateView(); });
  Block(16, true, [this] { CreateGrid(); });
  Block(17, false, [this] {
    for (QRadioButton* mode : modes_)
      connect(mode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) DessineApercu();
      });
    connect(frieze_, &QCheckBox::toggled, this, [this] { DessineApercu(); });
    modes_[0]->setChecked(true);
  });
  Block(18, true, [this] { FillTree(); });
  // 19: the maintenance menu comes with the maintenance commands.

  if (soft) {
    for (const char* key : {"BrowseImagePath", "ChoixTextesPath"}) {
      const QString k = QString::fromLatin1(key);
      if (soft->ReadUserString(k).isEmpty()) soft->WriteUserString(k, soft->ReadSoftString(k));
    }
  }

  minutes_.setInterval(60000);
  connect(&minutes_, &QTimer::timeout, this, [] { Count(QStringLiteral("MinuteUtilisation")); });
  // Resizing the large view draws it again once the size settles.
  redraw_.setSingleShot(true);
  redraw_.setInterval(30);
  connect(&redraw_, &QTimer::timeout, this, [this] {
    if (ShowingTemplate()) DessineApercu();
  });
  TranslateWidget(this);
  resize(1024, 740);
}

void TfmMain::CreateBar() {
  if (Soft()) bar_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran1"));
  struct Button {
    const char *key, *name;
    void (TfmMain::*handler)();
  };
  const Button buttons[] = {
      {"btn_nouveau", "Nouveau", &TfmMain::Nouveau}, {"btn_fiche", "Fiche", &TfmMain::Fiche},
      {"btn_infos", "Infos", &TfmMain::About},       {"btn_web", "Web", &TfmMain::SiteWeb},
      {"btn_aide", "Aide", &TfmMain::Aide},          {"btn_quitter", "Quitter", &TfmMain::BtnQuitter}};
  for (const Button& b : buttons) {
    auto handler = b.handler;
    TzunoMenuBouton* button = bar_->AddButton(
        MLText(QString::fromLatin1(b.key)),
        [this, handler] {
          if (handler) (this->*handler)();
        },
        this, QString::fromLatin1(b.name));
    // The address cards open a window of their own, which comes with it.
    if (!handler) button->SetEnabled(false);
  }
}

TzunoMenuLabel* TfmMain::AddEntry(QWidget* panel, const QString& name, const QString& caption, int tag) {
  auto* label = new TzunoMenuLabel(panel, caption);
  label->setObjectName(name);
  label->resize(kTemplatesWidth - 8, 18);
  connect(label, &QAbstractButton::clicked, this, [this, tag] { Action(tag); });
  return label;
}

void TfmMain::CreateMenu() {
  if (Soft()) menu_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran1_gauche"));
  templatesPanel_ = new QWidget;
  templatesPanel_->setObjectName(QStringLiteral("PanelModele"));
  templatesPanel_->resize(kTemplatesWidth, 420);
  const int line = menu_->Skin().Trait;
  const int width =
      menu_->verticalScrollBar()->sizeHint().width() + kTemplatesWidth + 2 * line + menu_->Skin().Marge + 2;
  menu_->setFixedWidth(width);
  left_->setFixedWidth(width);
  templatesItem_ = menu_->AddItem(templatesPanel_, MLText(QStringLiteral("panel_modele")), true);

  auto* actions = new QWidget;
  actions->setObjectName(QStringLiteral("PanelAction"));
  actions->resize(kTemplatesWidth, 10);
  AddEntry(actions, QStringLiteral("LabelRetourMosaique"), QStringLiteral("Retour en mosaïque"), 101);
  AddEntry(actions, QStringLiteral("LabelModelePrecedent"), QStringLiteral("Modèle précédent"), 104);
  AddEntry(actions, QStringLiteral("LabelModeleSuivant"), QStringLiteral("Modèle suivant"), 105);
  AddEntry(actions, QStringLiteral("LabelOuvrir"), QStringLiteral("Modifier ce modèle"), 106);
  AddEntry(actions, QStringLiteral("LabelImprimer"), QStringLiteral("Imprimer ce modèle"), 102);
  AddEntry(actions, QStringLiteral("LabelEnvoyerMail"), QStringLiteral("Envoyer par mail"), 107);
  pictureEntry_ = AddEntry(actions, QStringLiteral("LabelEnregistrerImage"),
                           QStringLiteral("Enregister sous forme d'image"), 113);
  deleteEntry_ =
      AddEntry(actions, QStringLiteral("LabelSupprimer"), QStringLiteral("Supprimer ce modèle"), 103);
  actionItem_ = menu_->AddItem(actions, MLText(QStringLiteral("panel_action")), true);
  menu_->LayoutItem(actionItem_);
  ShowItem(actionItem_, false);

  if (Flag("panel_album")) {
    auto* album = new QWidget;
    album->setObjectName(QStringLiteral("PanelAlbum"));
    album->resize(kTemplatesWidth, 10);
    AddEntry(album, QStringLiteral("LabelRenommerAlbum"), QStringLiteral("Renomer l'album"), 501);
    AddEntry(album, QStringLiteral("LabelSupprimerAlbum"), QStringLiteral("Supprimer l'album"), 502);
    albumItem_ = menu_->AddItem(album, MLText(QStringLiteral("panel_album")), true);
    menu_->LayoutItem(albumItem_);
    ShowItem(albumItem_, false);
  }
  auto* back = new QWidget;
  back->setObjectName(QStringLiteral("PanelRetour"));
  back->resize(kTemplatesWidth, 10);
  AddEntry(back, QStringLiteral("LabelRetourOrigine"), QStringLiteral("Retour au modèle d'origine"), 110);
  returnItem_ = menu_->AddItem(back, MLMessage(13), true);
  menu_->LayoutItem(returnItem_);
  ShowItem(returnItem_, false);
}

void TfmMain::CreateGabaritItem() {
  if (!Flag("panel_gabarit")) return;
  TSoft& soft = *Soft();
  bool any = false;
  for (int k = 1; k <= 6; ++k) any = any || soft.UserFlag(QStringLiteral("gabarit%1_actif").arg(k));
  for (int k = 1; k <= 6; ++k) {
    const QString key = QStringLiteral("gabarit%1_actif").arg(k);
    if (!any) soft.SetUserFlag(key, gabaritOn_[k - 1]);
    gabaritOn_[k - 1] = soft.UserFlag(key);
  }
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("PanelGabarit"));
  auto* base = new TzunoImageBase(panel, soft.SkinPath);
  const int size = 64, gap = 6;
  for (int k = 1; k <= 6; ++k) {
    auto* button = new TzunoImageBtn(panel);
    button->setObjectName(QStringLiteral("dvd_%1").arg(k));
    button->SetBase(base);
    button->SetFileName(QStringLiteral("dvd_%1").arg(k));
    button->SetActif(gabaritOn_[k - 1]);
    button->setToolTip(QString::fromUtf8(kLayoutHints[k - 1]));
    button->setAccessibleName(button->toolTip());
    const QSize hint = button->sizeHint().isValid() ? button->sizeHint() : QSize(size, size);
    button->setGeometry(4 + ((k - 1) % 3) * (size + gap), 4 + ((k - 1) / 3) * (size + gap), hint.width(),
                        hint.height());
    // Every way of switching it (a click, the keyboard, an assistive tool's toggle) toggles it.
    connect(button, &QAbstractButton::toggled, this, [this, k] { Action(400 + k); });
    gabaritButtons_[k - 1] = button;
  }
  panel->resize(kTemplatesWidth, 8 + 2 * size + gap);
  gabaritItem_ = menu_->AddItem(panel, MLText(QStringLiteral("panel_gabarit")), true);
  gabaritItem_->SetContentHeight(panel->height());
  ShowItem(gabaritItem_, false);
}

void TfmMain::CreateMascot() {
  if (!Flag("LutinetMan") || !Soft()) return;
  // The animated mascot belongs to the editor; the catalogue shows the skin's picture in its place.
  const QImage picture = skinui::LoadSkinPicture(Soft()->SkinPath, QStringLiteral("PanelPerso.bmp"));
  if (picture.isNull()) return;
  auto* label = new QLabel(left_);
  label->setObjectName(QStringLiteral("PanelPerso"));
  label->setFixedSize(left_->width(), left_->width());
  label->setPixmap(
      QPixmap::fromImage(picture.scaled(label->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  label->setAccessibleName(QStringLiteral("PanelPerso"));
  mascot_ = label;
}

void TfmMain::CreateTree() {
  if (Flag("TreeCategorie")) {
    categories_ = new QComboBox(templatesPanel_);
    categories_->setObjectName(QStringLiteral("ComboCategorie"));
    categories_->setGeometry(0, 4, kTemplatesWidth, 24);
    QStringList names =
        QDir(Soft()->DataPath + QStringLiteral("Modeles/")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    SortNames(names);
    categories_->addItems(names);
    categories_->setAccessibleName(MLText(QStringLiteral("panel_modele")));
  }
  search_ = new QLineEdit(templatesPanel_);
  search_->setObjectName(QStringLiteral("RechercheModele"));
  search_->setGeometry(0, categories_ ? categories_->geometry().bottom() + 4 : 4, kTemplatesWidth, 24);
  search_->setPlaceholderText(MLText(QStringLiteral("RechercheModele")));
  search_->setAccessibleName(MLText(QStringLiteral("RechercheModele")));
  search_->setClearButtonEnabled(true);
  searchDelay_.setSingleShot(true);
  searchDelay_.setInterval(250);
  connect(search_, &QLineEdit::textChanged, this, [this] { searchDelay_.start(); });
  connect(&searchDelay_, &QTimer::timeout, this, [this] { Recherche(search_->text()); });
  tree_ = new TzunoApercuTree(templatesPanel_);
  tree_->setObjectName(QStringLiteral("TreeModeles"));
  tree_->setAccessibleName(MLText(QStringLiteral("panel_modele")));
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TfmMain::CreateSheetPanel() {
  sheetPanel_ = new QFrame;
  sheetPanel_->setObjectName(QStringLiteral("PanelFormats"));
  sheetPanel_->setFixedWidth(220);
  Paint(sheetPanel_, Qt::black);
  auto* row = new QHBoxLayout(sheetPanel_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  auto* stripe = new QFrame(sheetPanel_);
  stripe->setFixedWidth(2);
  Paint(stripe, QColor(255, 227, 71));
  row->addWidget(stripe);
  sheets_ = new TzunoApercuModele(sheetPanel_);
  sheets_->setObjectName(QStringLiteral("ApercuFormats"));
  sheets_->setAccessibleName(MLText(QStringLiteral("panel_gabarit")));
  sheets_->ApercuLarge = 164;
  sheets_->ApercuHaut = 124;
  sheets_->Marge = 2;
  sheets_->AutoTaille = false;
  sheets_->setFrameShape(QFrame::NoFrame);
  sheets_->setStyleSheet(QStringLiteral("background: black"));
  sheets_->OnHint = [this](int index) { return TemplateHint(variants_.value(index)); };
  sheets_->OnClickApercu = [this](TzunoApercuModele*, int index, const QString&) {
    if (index < 0 || index >= variants_.size()) return;
    sheets_->SetCourant(index);
    AfficheGabarit(variants_[index]);
  };
  row->addWidget(sheets_, 1);
  sheetPanel_->hide();
}

void TfmMain::CreateTemplateView() {
  templatePage_ = new QWidget;
  templatePage_->setObjectName(QStringLiteral("PanelApercu"));
  Paint(templatePage_, Qt::white);
  auto* column = new QVBoxLayout(templatePage_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  auto* modes = new QWidget(templatePage_);
  modes->setObjectName(QStringLiteral("PanelVue"));
  auto* modeRow = new QHBoxLayout(modes);
  modeRow->setContentsMargins(8, 4, 8, 4);
  auto* group = new QButtonGroup(modes);
  const char* names[3] = {"PochoirColore", "PochoirDecoupe", "PochoirImprimer"};
  const char* captions[3] = {"Pochoir coloré", "Pochoir découpé", "Pochoir à imprimer"};
  for (int i = 0; i < 3; ++i) {
    modes_[i] = new QRadioButton(QString::fromUtf8(captions[i]), modes);
    modes_[i]->setObjectName(QString::fromLatin1(names[i]));
    group->addButton(modes_[i], i);
    modeRow->addWidget(modes_[i]);
  }
  frieze_ = new QCheckBox(QStringLiteral("Voir en frise"), modes);
  frieze_->setObjectName(QStringLiteral("VoirFrise"));
  modeRow->addWidget(frieze_);
  modeRow->addStretch(1);
  column->addWidget(modes);
  faces_ = new QWidget(templatePage_);
  faces_->setObjectName(QStringLiteral("PanelFaces"));
  faces_->installEventFilter(this);
  column->addWidget(faces_, 1);
  recto_ = new TApercuFace(faces_);
  recto_->setObjectName(QStringLiteral("ImageRecto"));
  verso_ = new TApercuFace(faces_);
  verso_->setObjectName(QStringLiteral("ImageVerso"));
  recto_->setAccessibleName(MLMessage(101));
  verso_->setAccessibleName(MLMessage(102));
  connect(recto_, &QAbstractButton::clicked, this, &TfmMain::PreviewClick);
  connect(verso_, &QAbstractButton::clicked, this, &TfmMain::PreviewClick);
  views_->addWidget(templatePage_);
}

void TfmMain::CreateGrid() {
  gridPage_ = new QWidget;
  auto* column = new QVBoxLayout(gridPage_);
  column->setContentsMargins(0, 0, 0, 0);
  grid_ = new TzunoApercuModele(gridPage_);
  grid_->setObjectName(QStringLiteral("Apercu"));
  grid_->setAccessibleName(MLText(QStringLiteral("panel_modele")));
  grid_->ApercuLarge = SoftInt("ApercuLarge", 100) + 4;
  grid_->ApercuHaut = SoftInt("ApercuHaut", 100) + 4;
  grid_->Marge = 2;
  grid_->AutoTaille = false;
  grid_->setStyleSheet(QStringLiteral("background: white"));
  grid_->setFrameShape(QFrame::NoFrame);
  grid_->OnClickApercu = [this](TzunoApercuModele*, int index, const QString& file) {
    AfficheModele(index >= 0 && index < modeles_.size() ? modeles_[index] : file);
  };
  grid_->OnHint = [this](int index) { return TemplateHint(modeles_.value(index)); };
  emptyHint_ = new QLabel(gridPage_);
  emptyHint_->setObjectName(QStringLiteral("LabelVide"));
  emptyHint_->setWordWrap(true);
  emptyHint_->setStyleSheet(QStringLiteral("QLabel { background: white; padding: 24px; font-size: 12pt; }"));
  emptyHint_->hide();
  column->addWidget(emptyHint_);
  column->addWidget(grid_, 1);
  views_->insertWidget(0, gridPage_);
  views_->setCurrentWidget(gridPage_);
  // The grid's width follows the window's once the layout has placed it.
  connect(grid_, &TzunoApercuModele::Resized, this, &TfmMain::FormResize);
  connect(progress_, &TzunoPreviewProgress::Finished, this, [this](bool, const QStringList& errors) {
    for (const QString& e : errors)
      if (!bugged_.contains(e)) bugged_ << e;
  });
}

void TfmMain::AttachTree() {
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* node, QTreeWidgetItem*) { CategorieChange(node); });
  // Assistive technologies select a row without making it current.
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem*> chosen = tree_->selectedItems();
    if (!chosen.isEmpty() && chosen.first() != tree_->currentItem()) CategorieChange(chosen.first());
  });
}

void TfmMain::DetachTree() {
  disconnect(tree_, &QTreeWidget::currentItemChanged, this, nullptr);
  disconnect(tree_, &QTreeWidget::itemSelectionChanged, this, nullptr);
}

void TfmMain::FillTree() {
  if (!tree_ || !Soft()) return;
  TSoft& soft = *Soft();
  DetachTree();
  if (categories_) {
    const QString start = soft.ReadSoftString(QStringLiteral("path_modele_categorie"));
    const int index = categories_->findText(start);
    categories_->setCurrentIndex(index >= 0 ? index : 0);
    if (categories_->count() > 0)
      soft.ModelesPath =
          soft.DataPath + QStringLiteral("Modeles/") + categories_->currentText() + QLatin1Char('/');
    connect(categories_, &QComboBox::currentIndexChanged, this, &TfmMain::ChangeModeleCategorie);
  }
  tree_->Fill(WithoutSlash(soft.ModelesPath));
  tree_->AddRoot(WithoutSlash(soft.DocumentsPath));
  if (!categories_ && soft.Debug) tree_->insertTopLevelItem(0, new QTreeWidgetItem({BuggedName()}));
  tree_->expandAll();
  AttachTree();
}

void TfmMain::FormShow() {
  Count(QStringLiteral("NbreLancement"));
  Count(QStringLiteral("MinuteUtilisation"));
  minutes_.start();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().left(), y());
  if (!tree_) return;
  // The start category, a path of node names beginning with "\", else the first node.
  const QString start = Soft() ? Soft()->ReadSoftString(QStringLiteral("path_modele_start")) : QString();
  tree_->SetPathSelect(start);
  if (!tree_->currentItem() && tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

void TfmMain::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  if (progress_) progress_->Cancel();
  if (Soft() && Flag("panel_gabarit") && gabaritButtons_[0])
    for (int k = 1; k <= 6; ++k)
      Soft()->SetUserFlag(QStringLiteral("gabarit%1_actif").arg(k), gabaritButtons_[k - 1]->GetActif());
}

// ------------------------------------------------------------------------------------------------
// Folders and templates

QString TfmMain::DocumentsFolder() const {
  return Soft() ? WithoutSlash(Soft()->DocumentsPath) : QString();
}

bool TfmMain::ShowingTemplate() const {
  return views_ && views_->currentWidget() == templatePage_;
}

void TfmMain::CategorieChange(QTreeWidgetItem* node) {
  if (changing_ || !node || !Soft()) return;
  changing_ = true;
  tree_->setCurrentItem(node);
  // A folder chosen ends a search.
  if (search_ && !search_->text().isEmpty()) {
    const QSignalBlocker quiet(search_);
    search_->clear();
    searchDelay_.stop();
  }
  const QString path = TzunoApercuTree::NodePath(node);
  // The names from the top down are folder names (a name may hold "\\"): joined with "/" they give the
  // same folder below the user's folder, which wins; else the node's own folder.
  QStringList names;
  for (const QTreeWidgetItem* n = node; n; n = n->parent()) names.prepend(n->text(0));
  const QString relative = names.join(QLatin1Char('/'));
  const QString own = TzunoApercuTree::NodeFolder(node);
  if (QFileInfo(Soft()->UserPath + relative).isDir())
    AfficheDossier(Soft()->UserPath + relative);
  else if (!own.isEmpty() && QFileInfo(own).isDir())
    AfficheDossier(own);
  else if (QFileInfo(Soft()->ModelesPath + relative).isDir())
    AfficheDossier(Soft()->ModelesPath + relative);
  else if (Debugging() && path == BuggedName())
    AfficheDossier(BuggedName());
  changing_ = false;
}

void TfmMain::AfficheDossier(const QString& given) {
  if (!Soft()) return;
  TSoft& soft = *Soft();
  const QString folder = WithoutSlash(given);
  if (Debugging()) setWindowTitle(folder);
  TBusy busy;
  const QString shown = CurrentModele().FileName;
  CurrentModele().SetFile(QString());
  const bool bugged = folder == BuggedName();
  if (!bugged && !QFileInfo(folder).isDir()) return;

  bool gabaritCase = false;
  QStringList list;
  if (bugged) {
    list = bugged_;
    SortNames(list);
  } else if (SameFolder(folder, soft.DocumentsPath) || !Flag("panel_gabarit")) {
    list = CatalogueTemplates(folder);
  } else {
    list = CatalogueTemplates(folder, &gabaritOn_, &gabaritCase);
  }
  // Back from a template, the keyboard's frame stands on it.
  grid_->Courant = int(list.indexOf(shown));
  ShowList(folder, list, gabaritCase);
  // The user has no document at all (none in an album either): how to make one.
  bool none = SameFolder(folder, soft.DocumentsPath) && list.isEmpty();
  if (none) {
    QDirIterator it(folder, {QStringLiteral("*.mdl")}, QDir::Files, QDirIterator::Subdirectories);
    none = !it.hasNext();
  }
  emptyHint_->setText(none ? MLText(QStringLiteral("DocumentsVide")) : QString());
  emptyHint_->setVisible(!emptyHint_->text().isEmpty());
}

void TfmMain::ShowList(const QString& folder, const QStringList& list, bool gabaritCase) {
  TSoft& soft = *Soft();
  folder_ = folder;
  modeles_ = list;
  progress_->Start(grid_, list, SoftInt("ApercuLarge", 100), SoftInt("ApercuHaut", 100));
  grid_->verticalScrollBar()->setValue(0);

  views_->setCurrentWidget(gridPage_);
  if (sheetPanel_) sheetPanel_->hide();
  if (actionItem_) ShowItem(actionItem_, false);
  if (gabaritItem_) ShowItem(gabaritItem_, gabaritCase);
  // On a screen of 768 lines or fewer the picture would push the menu's items out of sight.
  if (mascot_) mascot_->setVisible(height() > 768);
  if (returnItem_)
    ShowItem(returnItem_, Flag("panel_variantes") && SameFolder(folder, soft.VariantesPath) &&
                              !retour_.isEmpty() && QFileInfo(retour_).isFile());
  if (albumItem_) {
    const QString docs = QDir::cleanPath(soft.DocumentsPath) + QLatin1Char('/');
    ShowItem(albumItem_, !folder.isEmpty() && QDir::cleanPath(folder).startsWith(docs));
  }
  if (templatesItem_) templatesItem_->SetFolded(false);
  LayoutMenu();
}

void TfmMain::Recherche(const QString& text) {
  if (!Soft() || !grid_) return;
  const QString wanted = Folded(text.trimmed());
  if (wanted.isEmpty()) {
    emptyHint_->hide();
    if (tree_ && tree_->currentItem())
      CategorieChange(tree_->currentItem());
    else if (!folder_.isEmpty())
      AfficheDossier(folder_);
    return;
  }
  TBusy busy;
  CurrentModele().SetFile(QString());
  // Every category's folders, then the user's documents; each folder as the grid would show it.
  QStringList found;
  for (const QString& root : {WithoutSlash(Soft()->ModelesPath), DocumentsFolder()}) {
    QStringList folders{root};
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) folders << it.next();
    for (const QString& folder : folders) {
      if (QFileInfo(folder).fileName().startsWith(QLatin1Char('.'))) continue;
      const QStringList all = Flag("panel_gabarit") && !SameFolder(folder, Soft()->DocumentsPath)
                                  ? CatalogueTemplates(folder, &gabaritOn_)
                                  : CatalogueTemplates(folder);
      for (const QString& m : all)
        if (Folded(QFileInfo(m).completeBaseName()).contains(wanted) && !found.contains(m)) found << m;
    }
  }
  // By name, as the user searched; the folder decides between equal names.
  std::stable_sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
    const QString na = Folded(QFileInfo(a).completeBaseName()), nb = Folded(QFileInfo(b).completeBaseName());
    return na != nb ? na < nb : a < b;
  });
  grid_->Courant = -1;
  ShowList(QString(), found, false);
  emptyHint_->setText(found.isEmpty() ? MLText(QStringLiteral("RechercheAucun")) : QString());
  emptyHint_->setVisible(found.isEmpty());
}

QString TfmMain::TemplateHint(const QString& modele) {
  if (modele.isEmpty()) return {};
  const QString name = QFileInfo(modele).completeBaseName();
  QFile file(modele);
  if (!file.open(QIODevice::ReadOnly)) return name;
  // The size leads the file, before the first face.
  double large = 0, haut = 0;
  for (int i = 0; i < 200 && !file.atEnd() && (large <= 0 || haut <= 0); ++i) {
    const QByteArray line = file.readLine(4096).trimmed();
    if (line.startsWith("Face=")) break;
    if (line.startsWith("Large=")) large = StoredNumber(QString::fromLatin1(line.mid(6)));
    if (line.startsWith("Haut=")) haut = StoredNumber(QString::fromLatin1(line.mid(5)));
  }
  if (large <= 0 || haut <= 0) return name;
  return QStringLiteral("%1\n%2 × %3 mm").arg(name, Millimetres(large), Millimetres(haut));
}

QString TfmMain::EmptyHint() const {
  return emptyHint_ && emptyHint_->isVisibleTo(gridPage_) ? emptyHint_->text() : QString();
}

void TfmMain::FitTemplatesPanel() {
  if (!menu_ || !templatesItem_ || !templatesPanel_ || templatesItem_->Folded()) return;
  const TzunoMenuSkin& skin = menu_->Skin();
  int used = skin.Marge;
  for (TzunoMenuItem* item : menu_->Items()) {
    if (item->Panel()->isHidden()) continue;
    used += skin.Marge;
    if (item == templatesItem_) {
      used += skin.Haut + 3 * skin.Trait;
      continue;
    }
    used += item->Folded() ? skin.Haut + 2 * skin.Trait : skin.Haut + item->ContentHeight() + 3 * skin.Trait;
  }
  // Never so short that the tree shows only a few rows; the menu scrolls below that.
  const int height = std::max(200, menu_->contentsRect().height() - used);
  if (height == templatesItem_->ContentHeight()) return;
  templatesItem_->SetContentHeight(height);
  templatesPanel_->resize(templatesPanel_->width(), height);
  if (tree_) tree_->resize(tree_->width(), std::max(40, height - tree_->y()));
}

void TfmMain::LayoutMenu() {
  if (!menu_) return;
  FitTemplatesPanel();
  menu_->Layout(true);
}

void TfmMain::AfficheModele(const QString& file) {
  if (!Soft() || !apercu_) return;
  if (Debugging()) setWindowTitle(file);
  TBusy busy;
  const QString modele = TemplateOf(file);
  CurrentModele().SetFile(modele);
  apercu_->LoadFromFile(modele);
  views_->setCurrentWidget(templatePage_);

  variants_.clear();
  if (sheets_) {
    variants_ = SheetVariants(modele);
    if (!variants_.isEmpty()) {
      sheets_->Fichiers.clear();
      for (const QString& v : variants_) {
        QString preview = FindPreview(v);
        // A variant without a preview gets one now: at most six small pictures.
        if (preview.isEmpty()) {
          TzunoCADMdl maker(nullptr, QRect(0, 0, 100, 100), 100, 100);
          ConnectToSoft(maker);
          MakePreview(maker, v, SoftInt("ApercuLarge", 100), SoftInt("ApercuHaut", 100), &preview);
        }
        sheets_->Fichiers << (preview.isEmpty() ? PreviewPath(v) : preview);
      }
      sheets_->Courant = int(variants_.indexOf(modele));
      sheetPanel_->show();
      sheets_->Redraw();
    } else {
      sheetPanel_->hide();
    }
  }
  DessineApercu();

  const TModele& current = CurrentModele();
  if (actionItem_) ShowItem(actionItem_, true);
  if (!Debugging() && deleteEntry_) deleteEntry_->setVisible(current.IsDocument);
  if (pictureEntry_) pictureEntry_->setVisible(current.IsDocument && Flag("action_saveimage"));
  if (actionItem_) menu_->LayoutItem(actionItem_);
  if (albumItem_) ShowItem(albumItem_, false);
  if (returnItem_) ShowItem(returnItem_, false);
  if (gabaritItem_) ShowItem(gabaritItem_, false);
  if (templatesItem_) templatesItem_->SetFolded(true);
  if (mascot_ && height() <= 768) mascot_->hide();
  LayoutMenu();
}

void TfmMain::AfficheGabarit(const QString& file) {
  if (!apercu_) return;
  const QString modele = TemplateOf(file);
  CurrentModele().SetFile(modele);
  apercu_->LoadFromFile(modele);
  DessineApercu();
}

void TfmMain::DessineApercu() {
  if (!apercu_ || !faces_ || !Soft()) return;
  TApercuOptions options;
  options.PaperMode = modes_[1] && modes_[1]->isChecked() ? 1 : modes_[2] && modes_[2]->isChecked() ? 2 : 0;
  options.Frieze = frieze_ && frieze_->isChecked();
  options.SkinPath = Soft()->SkinPath;
  options.RectoCaption = MLMessage(101);
  options.VersoCaption = MLMessage(102);
  const TApercuFaces drawn = ::DessineApercu(*apercu_, faces_->size(), options);
  faceMode_ = drawn.FaceMode;
  recto_->SetPicture(drawn.Recto);
  verso_->SetPicture(drawn.Verso);
  // What a screen reader says the view shows.
  recto_->setAccessibleDescription(CurrentModele().Title);
  verso_->setAccessibleDescription(CurrentModele().Title);
  const QString hint = TemplateHint(CurrentModele().FileName);
  recto_->setToolTip(hint);
  verso_->setToolTip(hint);
  PlaceFaces();
}

void TfmMain::PlaceFaces() {
  const QSize view = faces_->size();
  if (faceMode_ == 3) {
    const int top = view.height() / 2;
    recto_->setGeometry(0, 0, view.width(), top);
    verso_->setGeometry(0, top, view.width(), view.height() - top);
    verso_->show();
  } else {
    recto_->setGeometry(0, 0, view.width(), view.height());
    verso_->hide();
  }
}

void TfmMain::PreviewClick() {
  const QString file = CurrentModele().FileName;
  if (file.isEmpty()) return;
  // Hidden first: an editor that cannot open the file shows the catalogue again.
  hide();
  emit OuvreDocument(file);
}

void TfmMain::SelectNodeQuietly(const QString& path) {
  changing_ = true;
  tree_->SetPathSelect(path);
  changing_ = false;
}

void TfmMain::SelectDocumentsNode() {
  if (!Soft() || !tree_) return;
  tree_->SetPathSelect(QStringLiteral("\\") + Soft()->DocumentsName);
  // Selecting the node it already is on shows nothing new: show the folder anyway.
  if (folder_ != DocumentsFolder() || ShowingTemplate()) AfficheDossier(Soft()->DocumentsPath);
}

void TfmMain::ActualiseEtSelectionne() {
  if (!Soft() || !tree_) return;
  changing_ = true;
  tree_->RefreshRoot(DocumentsFolder());
  tree_->expandAll();
  changing_ = false;
  if (CurrentModele().IsDocument) SelectDocumentsNode();
}

void TfmMain::BrowseModelePath() {
  AfficheDossier(CurrentModele().Folder);
  changing_ = true;
  tree_->setCurrentItem(nullptr);
  tree_->clearSelection();
  changing_ = false;
}

void TfmMain::AssistantModeleFin() {
  if (!Soft()) return;
  CurrentModele().SetFolder(Soft()->VariantesPath);
  tree_->SetPathSelect(QStringLiteral("\\") + Soft()->DocumentsName + QStringLiteral("\\") + MLMessage(13));
}

void TfmMain::ChangeModeleCategorie() {
  if (!categories_ || !Soft()) return;
  try {
    TBusy busy;
    TSoft& soft = *Soft();
    DetachTree();
    soft.ModelesPath =
        soft.DataPath + QStringLiteral("Modeles/") + categories_->currentText() + QLatin1Char('/');
    tree_->Fill(WithoutSlash(soft.ModelesPath));
    tree_->AddRoot(DocumentsFolder());
    if (Flag("TreeFullExpand")) tree_->expandAll();
    AttachTree();
    if (tree_->topLevelItemCount() > 0) CategorieChange(tree_->topLevelItem(0));
    tree_->repaint();
  } catch (...) {
  }
}

// ------------------------------------------------------------------------------------------------
// Actions

void TfmMain::Action(int tag) {
  if (!Soft()) return;
  TModele& current = CurrentModele();
  switch (tag) {
    case 101:
      Count(QStringLiteral("Menu1RetourMosaique"));
      AfficheDossier(current.Folder);
      break;
    case 102:
      Count(QStringLiteral("Menu1Imprimer"));
      if (!current.FileName.isEmpty()) TfmPrint::ShowPrintDialog(this, current.FileName);
      break;
    case 103:
      if (current.FileName.isEmpty()) break;
      if (Debugging()) {
        const QString folder = current.Folder;
        DeleteTemplate(current.FileName);
        AfficheDossier(folder);
        break;
      }
      if (AskUser(MLMessage(103).replace(QStringLiteral("%s"), current.Title), akInformation,
                  abOK | abCancel) != arOK)
        break;
      Count(QStringLiteral("Menu1SupprimerModele"));
      DeleteTemplate(current.FileName);
      changing_ = true;
      tree_->RefreshRoot(DocumentsFolder());
      tree_->expandAll();
      changing_ = false;
      SelectDocumentsNode();
      break;
    case 104:
    case 105: {
      Count(tag == 104 ? QStringLiteral("Menu1ModelePrecedent") : QStringLiteral("Menu1ModeleSuivant"));
      const QString next = NeighbourTemplate(current.FileName, tag == 104 ? -1 : 1);
      if (!next.isEmpty()) AfficheModele(next);
      break;
    }
    case 106:
      PreviewClick();
      break;
    case 107:
      if (apercu_ && !current.FileName.isEmpty()) TfmMailingModele::ShowMailing(this, *apercu_);
      break;
    case 110: {
      current.SetFile(retour_);
      if (current.FileName.isEmpty()) break;
      SelectNodeQuietly(QStringLiteral("\\") +
                        QString(current.Category).replace(QLatin1Char('/'), QLatin1Char('\\')));
      AfficheModele(current.FileName);
      break;
    }
    case 113:
      EnregistrerImage();
      break;
    case 401:
    case 402:
    case 403:
    case 404:
    case 405:
    case 406:
      gabaritOn_[tag - 401] = gabaritButtons_[tag - 401] && gabaritButtons_[tag - 401]->GetActif();
      if (tree_->currentItem())
        CategorieChange(tree_->currentItem());
      else if (!folder_.isEmpty())
        AfficheDossier(folder_);
      break;
    case 501:
      RenomeAlbumSelect();
      break;
    case 502:
      SupprimeAlbumSelect();
      break;
    default:
      break;
  }
}

void TfmMain::EnregistrerImage() {
  if (!apercu_) return;
  QString file = ShellFolder(QStringLiteral("My Pictures"));
  int filter = 1;
  if (!AskSaveFile(QStringLiteral("*.jpeg;*.jpg|*.jpeg;*.jpg|*.bmp|*.bmp"), file, &filter)) return;
  const bool bmp = filter == 2;
  const QFileInfo chosen(file);
  const QString name = chosen.path() + QLatin1Char('/') + chosen.completeBaseName() +
                       (bmp ? QStringLiteral(".bmp") : QStringLiteral(".jpg"));
  if (QFileInfo::exists(name) &&
      AskUser(MLMessage(304).replace(QStringLiteral("%s"), name), akQuestion, abYes | abNo) != arYes)
    return;
  const QSize size = PictureSize150(apercu_->Large, apercu_->Haut);
  const bool ok = bmp ? apercu_->ExportBmp(name, size.width(), size.height(), clWhite)
                      : apercu_->ExportJpeg(name, size.width(), size.height(), clWhite);
  if (!ok) AskUser(QStringLiteral("Erreur : ") + name, akError, abOK);
}

QString TfmMain::AlbumOfNode(const QTreeWidgetItem* node) const {
  if (!node || !node->parent() || !Soft()) return {};
  // The node's own folder, when it lies below the documents folder.
  const QString folder = QDir::cleanPath(TzunoApercuTree::NodeFolder(node));
  const QString docs = DocumentsFolder() + QLatin1Char('/');
  return folder.startsWith(docs) && folder.size() > docs.size() ? folder : QString();
}

void TfmMain::RenomeAlbumSelect() {
  QTreeWidgetItem* node = tree_ ? tree_->currentItem() : nullptr;
  const QString album = AlbumOfNode(node);
  if (album.isEmpty()) return;
  const QFileInfo info(album);
  const QString oldName = info.fileName();
  QString name = node->text(0);
  if (!AskName(MLText(QStringLiteral("AlbumRenommerTitre")), MLText(QStringLiteral("AlbumRenommerQuestion")),
               name))
    return;
  if (name == node->text(0)) return;
  const QString parent = info.path() + QLatin1Char('/');
  if (!RenameAlbum(parent, oldName, name)) {
    AskUser(MLText(QStringLiteral("AlbumNomInvalide")), akError, abOK);
    return;
  }
  const QString moved = parent + name;
  // The documents node is read again (the new name takes its place in the order) and the renamed
  // album is shown: the grid held the old paths.
  changing_ = true;
  tree_->RefreshRoot(DocumentsFolder());
  tree_->expandAll();
  if (QTreeWidgetItem* renamed = tree_->FindFolder(moved)) tree_->setCurrentItem(renamed);
  changing_ = false;
  AfficheDossier(moved);
}

void TfmMain::SupprimeAlbumSelect() {
  QTreeWidgetItem* node = tree_ ? tree_->currentItem() : nullptr;
  const QString album = AlbumOfNode(node);
  if (album.isEmpty()) return;
  const QString question =
      MLText(QStringLiteral("AlbumSupprimerQuestion")).replace(QStringLiteral("%s"), node->text(0));
  if (AskUser(question, akQuestion, abYes | abNo) != arYes) return;
  const QFileInfo info(album);
  if (!DeleteAlbum(info.path() + QLatin1Char('/'), info.fileName())) {
    // Files of other kinds (or subfolders) keep the folder: say so, and show what is left.
    AskUser(MLText(QStringLiteral("AlbumNonVide")).replace(QStringLiteral("%s"), node->text(0)), akWarning,
            abOK);
    AfficheDossier(album);
    return;
  }
  changing_ = true;
  delete node;
  changing_ = false;
  SelectDocumentsNode();
}

// ------------------------------------------------------------------------------------------------
// The bar

void TfmMain::Nouveau() {
  Count(QStringLiteral("Bouton1Nouveau"));
  QStringList on;
  for (const char* key : {"wizard_dvd", "wizard_dimension", "wizard_modele", "wizard_support", "wizard_scrap",
                          "wizard_album"}) {
    const QString k = QString::fromLatin1(key);
    if (Flag(key) && Wizards.count(k)) on << k;
  }
  if (on.isEmpty()) {
    const int large = SoftWhole("nouveau_large", 200), haut = SoftWhole("nouveau_haut", 150);
    hide();
    emit NouveauDocument(0, large, haut);
    return;
  }
  QString key = on.first();
  // With several, the wizard chooser answers which one (it registers itself as "wizard_choix").
  if (on.size() > 1 && Wizards.count(QStringLiteral("wizard_choix"))) {
    Wizards[QStringLiteral("wizard_choix")]();
    return;
  }
  Wizards[key]();
}

void TfmMain::Fiche() {
  Count(QStringLiteral("Bouton1Fiche"));
  // With CD albums the user says which records to edit: the address book or the albums.
  if (Soft() && Soft()->SoftFlag(QStringLiteral("AlbumCD"))) {
    const int source = ChoixSourceDonnees(this);
    if (source == 2)
      ShowAlbumsCD(this);
    else if (source != 1 || !ShowRepertoire(this))
      return;
  } else if (!ShowRepertoire(this)) {
    return;
  }
  // The preview shows the records' new values.
  const QString modele = CurrentModele().FileName;
  if (apercu_ && !modele.isEmpty() && views_ && views_->currentWidget() == templatePage_) {
    apercu_->LoadFromFile(modele);
    DessineApercu();
  }
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
    AskUser(HelpMissingMessage(soft), akWarning, abOK);
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

void TfmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (mascot_ && height() <= 768) mascot_->hide();
  if (mascot_ && height() > 768 && !ShowingTemplate()) mascot_->show();
  FormResize();
}

void TfmMain::FormResize() {
  // Redrawing decodes every preview: only a change in the number of columns needs it, the grid
  // places its picture itself otherwise.
  if (!grid_ || grid_->Columns() == columns_) return;
  columns_ = grid_->Columns();
  grid_->Redraw();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  if (menu_ && watched == menu_ && event->type() == QEvent::Resize) {
    const int before = templatesItem_ ? templatesItem_->ContentHeight() : 0;
    FitTemplatesPanel();
    if (templatesItem_ && templatesItem_->ContentHeight() != before) menu_->Layout(true);
  }
  if (watched == faces_ && event->type() == QEvent::Resize) {
    if (ShowingTemplate()) {
      PlaceFaces();
      redraw_.start();
    }
  }
  return QMainWindow::eventFilter(watched, event);
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
