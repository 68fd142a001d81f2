#include "editor/ui/property_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTextCursor>
#include <QToolButton>
#include <cmath>
#include <tuple>

#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/thumb.h"
#include "editor/canvas_engine.h"
#include "editor/ui/panel_layers.h"
#include "model/arbo.h"
#include "model/barcode.h"
#include "model/calendar.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/group.h"
#include "model/image.h"
#include "model/object.h"
#include "model/shapes.h"
#include "model/text.h"
#include "shell/language.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/startup_log.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/ui/zuno_spin.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kWidth = 200;   // content width of every section
constexpr int kLabelW = 100;  // caption column of the label/control rows
constexpr int kRowH = 21;
constexpr int kGap = 4;

bool Flag(const char* key) {
  return Soft() && Soft()->SoftFlag(QString::fromLatin1(key));
}

QColor ToQColor(TColor c) {
  return QColor(ColorR(c), ColorG(c), ColorB(c));
}

TColor FromQColor(const QColor& c) {
  return RGBColor(c.red(), c.green(), c.blue());
}

QString WithoutColon(QString s) {
  s.remove(QLatin1Char('&'));
  s = s.trimmed();
  if (s.endsWith(QLatin1Char(':'))) s.chop(1);
  return s.trimmed();
}

// The anchoring glyphs: a box with the kept point marked (centre, then the corners clockwise from
// the top left).
QIcon AnchorIcon(int code) {
  QImage g(16, 16, QImage::Format_ARGB32);
  g.fill(Qt::transparent);
  QPainter p(&g);
  p.setPen(QColor(90, 90, 90));
  p.drawRect(2, 2, 11, 11);
  static const QPoint kAt[5] = {{8, 8}, {3, 3}, {13, 3}, {13, 13}, {3, 13}};
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 0, 0));
  p.drawEllipse(kAt[std::clamp(code, 0, 4)], 2, 2);
  return QIcon(QPixmap::fromImage(g));
}

// Alignment glyphs: four lines flush left, centred or flush right.
QIcon AlignIcon(int alignment) {
  QImage g(16, 16, QImage::Format_ARGB32);
  g.fill(Qt::transparent);
  QPainter p(&g);
  p.setPen(QColor(40, 40, 40));
  for (int k = 0; k < 4; ++k) {
    const int w = k % 2 ? 8 : 12, y = 3 + 3 * k;
    const int x = alignment == 0 ? 2 : alignment == 1 ? 14 - w : (16 - w) / 2;
    p.drawLine(x, y, x + w - 1, y);
  }
  return QIcon(QPixmap::fromImage(g));
}

QString FontCaption(const TFont& f) {
  QString s = f.Name;
  if (f.Style & fsBold) s += QStringLiteral(", G");
  if (f.Style & fsItalic) s += QStringLiteral(", I");
  if (f.Style & fsUnderline) s += QStringLiteral(", S");
  return s;
}

void SetFontItem(QComboBox* box, const QString& name) {
  int i = box->findText(name, Qt::MatchFixedString);
  if (i < 0 && !name.isEmpty()) {
    box->addItem(name);
    i = box->count() - 1;
  }
  box->setCurrentIndex(i);
}

}  // namespace

// ------------------------------------------------------------------------------------------------

TPanelSwatch::TPanelSwatch(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
  resize(40, 18);
}

void TPanelSwatch::SetColor(TColor c) {
  color_ = c;
  update();
}

void TPanelSwatch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(color_));
  p.setPen(hasFocus() ? palette().color(QPalette::Highlight) : QColor(Qt::black));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ------------------------------------------------------------------------------------------------

TfmZunoCADMenu::TfmZunoCADMenu(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("fmZunoCADMenu"));
  Build();
  Translate();
}

TfmZunoCADMenu::~TfmZunoCADMenu() = default;

bool TfmZunoCADMenu::Advanced() const {
  return cad && cad->Avance;
}

TzunoCADObj* TfmZunoCADMenu::Selected() const {
  return cad ? cad->SelectedObj() : nullptr;
}

TzunoMenuItem* TfmZunoCADMenu::Item(QWidget* section) const {
  return menu_->FindItem(section);
}

void TfmZunoCADMenu::SetCAD(TzunoCAD* c) {
  cad = c;
  lbCalque->SetCAD(c);
  if (c && c->UserPath.isEmpty() && Soft()) c->UserPath = Soft()->UserPath;
  ImageActualise();
  UpdateSections(Selected());
  ShowValues(Selected());
}

// A caption at the left and its control at the right, on one row of the section.
static QLabel* Caption(QWidget* panel, const char* name, const QString& text, int y) {
  auto* l = new QLabel(text, panel);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(0, y, kLabelW, kRowH);
  return l;
}

static TzunoSpin* Spin(QWidget* panel, const char* name, int y, double min, double max, bool real) {
  auto* s = new TzunoSpin(panel);
  s->setObjectName(QString::fromLatin1(name));
  s->setGeometry(kLabelW, y, 90, kRowH);
  s->SetValMin(min);
  s->SetValMax(max);
  s->SetCanReal(real);
  return s;
}

static QCheckBox* Check(QWidget* panel, const char* name, const QString& text, int x, int y, int w = kWidth) {
  auto* c = new QCheckBox(text, panel);
  c->setObjectName(QString::fromLatin1(name));
  c->setGeometry(x, y, w, kRowH);
  return c;
}

static QToolButton* Tool(QWidget* panel, const char* name, const QString& text, int x, int y, int w = 22) {
  auto* b = new QToolButton(panel);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(text);
  b->setGeometry(x, y, w, 22);
  return b;
}

static TPanelSwatch* Swatch(QWidget* panel, const char* name, int x, int y) {
  auto* s = new TPanelSwatch(panel);
  s->setObjectName(QString::fromLatin1(name));
  s->setGeometry(x, y + 1, 40, kRowH - 2);
  return s;
}

static QWidget* Section(const char* name, int height) {
  auto* w = new QWidget;
  w->setObjectName(QString::fromLatin1(name));
  w->resize(kWidth, height);
  return w;
}

void TfmZunoCADMenu::Build() {
  menu_ = new TzunoMenu(this);
  menu_->setObjectName(QStringLiteral("zmMenu"));
  if (Soft()) menu_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran2_droite"));
  BuildHidden();
  BuildFormat();
  pSupport = Section("pSupport", 130);
  imSupport = new QLabel(pSupport);
  imSupport->setObjectName(QStringLiteral("imSupport"));
  imSupport->setGeometry(0, 4, kWidth, 120);
  imSupport->setAlignment(Qt::AlignCenter);
  imSupport->installEventFilter(this);
  BuildPosition();
  pCalque = Section("pCalque", 180);
  lbCalque = new TLayerList(pCalque);
  lbCalque->setGeometry(0, 4, kWidth, 172);
  lbCalque->OnChanged = [this] { Notify(2); };
  lbCalque->OnReleased = [this] {
    if (!layoutPending_) return;
    layoutPending_ = false;
    menu_->Layout(true);
  };
  BuildActions();
  BuildCouleur();
  BuildImage();
  BuildMasque();
  BuildGroupe();
  BuildTexte();
  BuildCal();
  pMirroir = Section("pMirroir", 56);
  cbMiroirH = Check(pMirroir, "cbMiroirH", QStringLiteral("Miroir horizontal"), 0, 4);
  cbMiroirV = Check(pMirroir, "cbMiroirV", QStringLiteral("Miroir vertical"), 0, 4 + kRowH + kGap);
  for (QCheckBox* c : {cbMiroirH, cbMiroirV})
    connect(c, &QCheckBox::toggled, this, [this, c] { ChangeMenu(c); });
  BuildArbo();
  BuildCodeBarre();
  Register();
}

void TfmZunoCADMenu::BuildHidden() {
  // Controls of no section: they carry their values through the show/apply cycle unseen.
  pCache = new QWidget(this);
  pCache->setObjectName(QStringLiteral("pEditeur"));
  pCache->hide();
  seZoomX = Spin(pCache, "seZoomX", 0, 0, 0, true);
  seZoomY = Spin(pCache, "seZoomY", 0, 0, 0, true);
  cbZoomAuto = Check(pCache, "cbZoomAuto", QStringLiteral("Zoom automatique"), 0, 0);
  cbIdentique = Check(pCache, "cbIdentique", QStringLiteral("Identique"), 0, 0);
  cbGrille = Check(pCache, "cbGrille", QStringLiteral("Grille Visible"), 0, 0);
  cbGrilleMagnetique = Check(pCache, "cbGrilleMagnetique", QStringLiteral("Grille magnétique"), 0, 0);
  seRectCote = Spin(pCache, "seRectCote", 0, 3, 1000, false);
  cbBordureCadre = Check(pCache, "cbBordure", QStringLiteral("Utiliser comme cadre"), 0, 0);
  lbBordureStyle = new QListWidget(pCache);
  lbBordureStyle->setObjectName(QStringLiteral("lbBordureStyle"));
  lbBordureStyle->addItems({QStringLiteral("Texture"), QStringLiteral("Tourne"),
                            QStringLiteral("Coin et coté"), QStringLiteral("Coin"), QStringLiteral("Coté")});
  seBordureL = Spin(pCache, "seBordureL", 0, 0, 0, true);
  seBordureH = Spin(pCache, "seBordureH", 0, 0, 0, true);
  cbFill = Check(pCache, "cbFill", QStringLiteral("Remplir les formes"), 0, 0);
  seRotation = Spin(pCache, "seRotation", 0, 0, 0, true);
  for (TzunoSpin* s : {seZoomX, seZoomY, seRectCote, seBordureL, seBordureH, seRotation})
    s->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
  for (QCheckBox* c : {cbZoomAuto, cbIdentique, cbGrille, cbGrilleMagnetique, cbBordureCadre, cbFill})
    connect(c, &QCheckBox::toggled, this, [this, c] { ChangeMenu(c); });
  connect(lbBordureStyle, &QListWidget::currentRowChanged, this, [this] { ChangeMenu(lbBordureStyle); });
}

void TfmZunoCADMenu::BuildFormat() {
  pModele = Section("pModele", 4 * (kRowH + kGap) + kRowH + 8);
  int y = 4;
  lbModele1 = Caption(pModele, "lbModele1", QStringLiteral("Largeur :"), y);
  seModele1 = Spin(pModele, "seModele1", y, 1, 9999, true);
  y += kRowH + kGap;
  lbModele2 = Caption(pModele, "lbModele2", QStringLiteral("Hauteur :"), y);
  seModele2 = Spin(pModele, "seModele2", y, 1, 9999, true);
  y += kRowH + kGap;
  lbModele3 = Caption(pModele, "lbModele3", QString(), y);
  seModele3 = Spin(pModele, "seModele3", y, 1, 9999, true);
  y += kRowH + kGap;
  cbProportions = Check(pModele, "cbProportions", QStringLiteral("Conserver les proportions"), 0, y);
  cbProportions->setChecked(true);
  y += kRowH + kGap;
  lbCouleurPapier = Caption(pModele, "lbCouleurPapier", QStringLiteral("Couleur du papier :"), y);
  shCouleurPapier = Swatch(pModele, "shCouleurPapier", kLabelW, y);
  named_ << qMakePair<QWidget*, QWidget*>(lbModele1, seModele1)
         << qMakePair<QWidget*, QWidget*>(lbModele2, seModele2)
         << qMakePair<QWidget*, QWidget*>(lbModele3, seModele3)
         << qMakePair<QWidget*, QWidget*>(lbCouleurPapier, shCouleurPapier);
  for (TzunoSpin* s : {seModele1, seModele2, seModele3})
    s->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
  connect(cbProportions, &QCheckBox::toggled, this, [this] { ChangeMenu(cbProportions); });
  connect(shCouleurPapier, &QAbstractButton::clicked, this, [this] { SwatchClick(shCouleurPapier); });
  // Debug: the document's merge fields to and from their professional form.
  sbPRO = Tool(pModele, "sbPRO", QStringLiteral("PRO"), 0, 0, 40);
  sbPER = Tool(pModele, "sbPER", QStringLiteral("PER"), 44, 0, 40);
  const bool debug = Soft() && Soft()->Debug;
  sbPRO->setVisible(debug);
  sbPER->setVisible(debug);
  connect(sbPRO, &QToolButton::clicked, this, [this] { ToPRO(true); });
  connect(sbPER, &QToolButton::clicked, this, [this] { ToPRO(false); });
  if (!Flag("colorpapier") && Soft()) {
    lbCouleurPapier->hide();
    shCouleurPapier->hide();
    pModele->resize(kWidth, pModele->height() - kRowH - kGap);
  }
}

void TfmZunoCADMenu::BuildPosition() {
  pPosition = Section("pPosition", 5 * (kRowH + kGap) + 4);
  const char* labels[5] = {"lbX", "lbY", "lbL", "lbH", "lbR"};
  const char* spins[5] = {"seX", "seY", "seL", "seH", "seR"};
  const QString captions[5] = {QStringLiteral("X :"), QStringLiteral("Y :"), QStringLiteral("Largeur :"),
                               QStringLiteral("Hauteur :"), QStringLiteral("Angle :")};
  QLabel** l[5] = {&lbX, &lbY, &lbL, &lbH, &lbR};
  TzunoSpin** s[5] = {&seX, &seY, &seL, &seH, &seR};
  for (int i = 0; i < 5; ++i) {
    const int y = 4 + i * (kRowH + kGap);
    *l[i] = Caption(pPosition, labels[i], captions[i], y);
    *s[i] = Spin(pPosition, spins[i], y, 0, 0, true);
    (*s[i])->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
    named_ << qMakePair<QWidget*, QWidget*>(*l[i], *s[i]);
  }
  seL->SetValMin(0.1);
  seL->SetValMax(99999);
  seH->SetValMin(0.1);
  seH->SetValMax(99999);
}

void TfmZunoCADMenu::BuildCouleur() {
  pCouleur = Section("pCouleur", 4 * (kRowH + kGap) + 4);
  int y = 4;
  lbPen = Caption(pCouleur, "lbPen", QStringLiteral("Trait :"), y);
  shPen = Swatch(pCouleur, "shPen", kLabelW, y);
  y += kRowH + kGap;
  lbEpaisseur = Caption(pCouleur, "lbEpaisseur", QStringLiteral("Epaisseur trait :"), y);
  seEpaisseur = Spin(pCouleur, "seEpaisseur", y, 0, 1000, true);
  y += kRowH + kGap;
  lbBrushStyle = Caption(pCouleur, "lbBrushStyle", QStringLiteral("Remplissage :"), y);
  cbBrushStyle = new QComboBox(pCouleur);
  cbBrushStyle->setObjectName(QStringLiteral("cbBrushStyle"));
  cbBrushStyle->setGeometry(kLabelW, y, kWidth - kLabelW, kRowH + 1);
  cbBrushStyle->addItems({QStringLiteral("Plein"), QStringLiteral("Vide"),
                          QStringLiteral("Ligne horizontale"), QStringLiteral("Ligne verticale"),
                          QStringLiteral("Diagonale 1"), QStringLiteral("Diagonale 2"),
                          QStringLiteral("Croix droite"), QStringLiteral("Croix diagonale")});
  y += kRowH + kGap;
  lbBrush = Caption(pCouleur, "lbBrush", QStringLiteral("Intérieur :"), y);
  shBrush = Swatch(pCouleur, "shBrush", kLabelW, y);
  named_ << qMakePair<QWidget*, QWidget*>(lbPen, shPen)
         << qMakePair<QWidget*, QWidget*>(lbEpaisseur, seEpaisseur)
         << qMakePair<QWidget*, QWidget*>(lbBrushStyle, cbBrushStyle)
         << qMakePair<QWidget*, QWidget*>(lbBrush, shBrush);
  seEpaisseur->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
  connect(cbBrushStyle, &QComboBox::currentIndexChanged, this, [this] { ChangeMenu(cbBrushStyle); });
  for (TPanelSwatch* s : {shPen, shBrush})
    connect(s, &QAbstractButton::clicked, this, [this, s] { SwatchClick(s); });
}

void TfmZunoCADMenu::BuildImage() {
  pImage = Section("pImage", 180);
  cbImageCode = new QComboBox(pImage);
  cbImageCode->setObjectName(QStringLiteral("cbImageCode"));
  cbImageCode->setEditable(true);
  cbImageCode->addItems({QStringLiteral("fond"), QStringLiteral("photo"), QStringLiteral("accessoire"),
                         QStringLiteral("image1"), QStringLiteral("image2"), QStringLiteral("logo")});
  cbImageCode->setGeometry(0, 0, kWidth, kRowH + 1);
  cbImageCode->setAccessibleName(QStringLiteral("Code"));
  cbImageCode->lineEdit()->setPlaceholderText(QStringLiteral("Code"));
  connect(cbImageCode, &QComboBox::currentTextChanged, this, [this] { ChangeMenu(cbImageCode); });
  amImages = new TzunoApercuModele(pImage);
  amImages->setObjectName(QStringLiteral("amImages"));
  amImages->ApercuLarge = 50;
  amImages->ApercuHaut = 50;
  amImages->AutoTaille = false;
  amImages->Marge = 4;
  amImages->setGeometry(0, 0, kWidth, 176);
  amImages->OnClickApercu = [this](TzunoApercuModele*, int, const QString& file) { ImageThumbClick(file); };
  // The grid's columns follow its width.
  connect(amImages, &TzunoApercuModele::Resized, this, [this] { ImageActualise(); });
  const bool tags = Flag("action_tag");
  cbImageCode->setVisible(tags);
  amImages->move(0, tags ? kRowH + 1 + kGap : 0);
  amImages->resize(kWidth, tags ? 176 - kRowH - 1 - kGap : 176);
}

void TfmZunoCADMenu::BuildMasque() {
  pMasque = Section("pMasque", 10);
  int y = 4;
  cbMasque = new QComboBox(pMasque);
  cbMasque->setObjectName(QStringLiteral("cbMasque"));
  cbMasque->setGeometry(0, y, kWidth, kRowH + 1);
  y += kRowH + kGap;
  jtMasque = new TzunoThumb(pMasque);
  jtMasque->setObjectName(QStringLiteral("jtMasque"));
  jtMasque->ThumbWidth = jtMasque->ThumbHeight = 50;
  jtMasque->ThumbMargin = 2;
  jtMasque->ColorSelection = QColor(255, 0, 0);
  jtMasque->setGeometry(0, y, kWidth, 112);
  y += 112 + kGap;
  cbInverser = Check(pMasque, "cbInverser", QStringLiteral("Inverser"), 0, y);
  y += kRowH + kGap;
  lbMarge = Caption(pMasque, "lbMarge", QStringLiteral("Marge :"), y);
  seMarge = Spin(pMasque, "seMarge", y, 0, 45, false);
  y += kRowH + kGap;
  lbBordure = Caption(pMasque, "lbBordure", QStringLiteral("Bordure :"), y);
  seBordure = Spin(pMasque, "seBordure", y, 0, 30, false);
  y += kRowH + kGap;
  lbMasqueCouleur = Caption(pMasque, "lbMasqueCouleur", QStringLiteral("Couleur :"), y);
  shMasqueBordure = Swatch(pMasque, "shMasqueBordure", kLabelW, y);
  y += kRowH + kGap;
  bMasque = Tool(pMasque, "bMasque", QStringLiteral("Aucun"), 0, y, 80);
  pMasque->resize(kWidth, y + 26);
  named_ << qMakePair<QWidget*, QWidget*>(lbMarge, seMarge)
         << qMakePair<QWidget*, QWidget*>(lbBordure, seBordure)
         << qMakePair<QWidget*, QWidget*>(lbMasqueCouleur, shMasqueBordure);
  cbMasque->setAccessibleName(QStringLiteral("panel_masque"));
  connect(cbMasque, &QComboBox::currentIndexChanged, this, [this] { ShowMaskCategory(); });
  jtMasque->OnThumbClick = [this](TzunoThumb*, int, const QString& value) {
    MasqueThumbClick(QDir(MasquesFolder()).filePath(cbMasque->currentText() + QLatin1Char('/') + value));
  };
  connect(cbInverser, &QCheckBox::toggled, this, [this] { ChangeMenu(cbInverser); });
  for (TzunoSpin* s : {seMarge, seBordure}) s->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
  connect(shMasqueBordure, &QAbstractButton::clicked, this, [this] { SwatchClick(shMasqueBordure); });
  connect(bMasque, &QToolButton::clicked, this, [this] { MasqueAucunClick(); });
  try {
    FillMaskCategories();
  } catch (...) {
    Log(QStringLiteral("EXCEPT : On initialise le panel des masques"));
  }
}

void TfmZunoCADMenu::BuildGroupe() {
  pGroupe = Section("pGroupe", 10);
  int y = 4;
  cbForme = new QComboBox(pGroupe);
  cbForme->setObjectName(QStringLiteral("cbForme"));
  cbForme->setGeometry(0, y, kWidth, kRowH + 1);
  jtForme = new TzunoThumb(pGroupe);
  jtForme->setObjectName(QStringLiteral("jtForme"));
  jtForme->ThumbWidth = jtForme->ThumbHeight = 50;
  jtForme->ThumbMargin = 2;
  jtForme->setGeometry(0, y + kRowH + kGap, kWidth, 112);
  lbTampon = Caption(pGroupe, "lbTampon", QStringLiteral("Couleur :"), y + kRowH + 2 * kGap + 112);
  shTampon = Swatch(pGroupe, "shTampon", kLabelW, lbTampon->y());
  named_ << qMakePair<QWidget*, QWidget*>(lbTampon, shTampon);
  connect(cbForme, &QComboBox::currentIndexChanged, this, [this] { ShowShapeCategory(); });
  jtForme->OnThumbClick = [this](TzunoThumb*, int, const QString& value) {
    const QString folder = cbForme->isHidden() ? ShapeFolder : ShapeFolder + cbForme->currentText() + '/';
    FormeThumbClick(folder + value);
  };
  connect(shTampon, &QAbstractButton::clicked, this, [this] { SwatchClick(shTampon); });
}

void TfmZunoCADMenu::BuildTexte() {
  pTexte = Section("pTexte", 180);
  // One row: style, colour, alignment, then the fields and anchoring buttons at the right.
  constexpr int kStep = 21;
  sbGras = Tool(pTexte, "sbGras", QStringLiteral("G"), 0, 4, 20);
  sbItalique = Tool(pTexte, "sbItalique", QStringLiteral("I"), kStep, 4, 20);
  sbSouligne = Tool(pTexte, "sbSouligne", QStringLiteral("S"), 2 * kStep, 4, 20);
  for (QToolButton* b : {sbGras, sbItalique, sbSouligne}) b->setCheckable(true);
  QFont f = sbGras->font();
  f.setBold(true);
  sbGras->setFont(f);
  f = sbItalique->font();
  f.setItalic(true);
  sbItalique->setFont(f);
  f = sbSouligne->font();
  f.setUnderline(true);
  sbSouligne->setFont(f);
  sbTextColor = Swatch(pTexte, "sbTextColor", 3 * kStep + 2, 4);
  sbTextColor->setGeometry(3 * kStep + 2, 5, 18, 20);
  sbGauche = Tool(pTexte, "sbGauche", QString(), 4 * kStep + 4, 4, 20);
  sbCentre = Tool(pTexte, "sbCentre", QString(), 5 * kStep + 4, 4, 20);
  sbDroite = Tool(pTexte, "sbDroite", QString(), 6 * kStep + 4, 4, 20);
  sbGauche->setIcon(AlignIcon(0));
  sbDroite->setIcon(AlignIcon(1));
  sbCentre->setIcon(AlignIcon(2));
  for (QToolButton* b : {sbGauche, sbCentre, sbDroite}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
  }
  sbTexteChamps = Tool(pTexte, "sbTexteChamps", QStringLiteral("<x>"), kWidth - 49, 4, 28);
  sbAncrage = Tool(pTexte, "sbAncrage", QString(), kWidth - 20, 4, 20);
  sbAncrage->setIcon(AnchorIcon(0));
  pmChamps = new QMenu(this);
  pmChamps->setObjectName(QStringLiteral("pmChamps"));
  pmAncrage = new QMenu(this);
  pmAncrage->setObjectName(QStringLiteral("pmAncrage"));
  const char* anchors[5] = {"Ancrage centré", "Ancrage haut gauche", "Ancrage haut droite",
                            "Ancrage bas droite", "Ancrage bas gauche"};
  for (int k = 0; k < 5; ++k) {
    QAction* a = pmAncrage->addAction(AnchorIcon(k), QString::fromUtf8(anchors[k]));
    a->setObjectName(QStringLiteral("miAncrage%1").arg(k));
    connect(a, &QAction::triggered, this, [this, k] { AncrageClick(k); });
  }
  connect(sbTexteChamps, &QToolButton::clicked, this,
          [this] { pmChamps->popup(sbTexteChamps->mapToGlobal(QPoint(0, sbTexteChamps->height()))); });
  connect(sbAncrage, &QToolButton::clicked, this,
          [this] { pmAncrage->popup(sbAncrage->mapToGlobal(QPoint(0, sbAncrage->height()))); });
  cbFont = new QComboBox(pTexte);
  cbFont->setObjectName(QStringLiteral("cbFont"));
  cbFont->addItems(QFontDatabase::families());
  cbFont->setGeometry(0, 4 + 22 + kGap, kWidth, kRowH + 1);
  mmTexte = new QPlainTextEdit(pTexte);
  mmTexte->setObjectName(QStringLiteral("mmTexte"));
  mmTexte->setLineWrapMode(QPlainTextEdit::NoWrap);
  eTexteCode = new QLineEdit(pTexte);
  eTexteCode->setObjectName(QStringLiteral("eTexteCode"));
  eTexteCode->setAccessibleName(QStringLiteral("Code"));
  eTexteCode->setPlaceholderText(QStringLiteral("Code"));
  cbTous = Check(pTexte, "cbTous", QStringLiteral("Tous"), 0, 0, 60);
  cbTous->setVisible(Soft() && Soft()->Debug);
  eTexteCode->setVisible(Flag("action_tag") || (Soft() && Soft()->Debug));
  for (QToolButton* b : {sbGras, sbItalique, sbSouligne, sbGauche, sbCentre, sbDroite})
    connect(b, &QToolButton::clicked, this, [this, b] { ChangeMenu(b); });
  connect(sbTextColor, &QAbstractButton::clicked, this, [this] { SwatchClick(sbTextColor); });
  connect(cbFont, &QComboBox::currentTextChanged, this, [this] { ChangeMenu(cbFont); });
  connect(mmTexte, &QPlainTextEdit::textChanged, this, [this] { ChangeMenu(mmTexte); });
  connect(eTexteCode, &QLineEdit::textChanged, this, [this] { ChangeMenu(eTexteCode); });
  LayoutText(true);
}

void TfmZunoCADMenu::LayoutText(bool advanced) {
  // Simple mode: the memo covers the formatting controls, so only the wording can change.
  const int top = advanced ? cbFont->y() + cbFont->height() + kGap : 4;
  int bottom = 176;
  const bool debug = Soft() && Soft()->Debug;
  if (debug) bottom -= 20;
  if (!eTexteCode->isHidden()) {
    eTexteCode->setGeometry(0, bottom - kRowH, debug ? kWidth - 64 : kWidth, kRowH);
    bottom -= kRowH + kGap;
  }
  if (debug) cbTous->setGeometry(kWidth - 60, 176 - 20, 60, 20);
  mmTexte->setGeometry(0, top, kWidth, std::max(40, bottom - top));
  mmTexte->raise();
  if (TzunoMenuItem* item = Item(pTexte)) item->SetContentHeight(180);
}

void TfmZunoCADMenu::BuildCal() {
  pCal = Section("pCal", 10);
  int y = 4;
  lbMois = Caption(pCal, "lbMois", QStringLiteral("Mois :"), y);
  seMois = Spin(pCal, "seMois", y, 1, 12, false);
  y += kRowH + kGap;
  lbAnnee = Caption(pCal, "lbAnnee", QStringLiteral("Année :"), y);
  seAnnee = Spin(pCal, "seAnnee", y, 1900, 2100, false);
  y += kRowH + kGap;
  lbCoin = Caption(pCal, "lbCoin", QStringLiteral("Chiffres :"), y);
  cbCoin = new QComboBox(pCal);
  cbCoin->setObjectName(QStringLiteral("cbCoin"));
  cbCoin->setGeometry(kLabelW, y, kWidth - kLabelW, kRowH + 1);
  cbCoin->addItems({QStringLiteral("Centré"), QStringLiteral("Haut gauche"), QStringLiteral("Haut droit"),
                    QStringLiteral("Bas droit"), QStringLiteral("Bas gauche")});
  y += kRowH + kGap;
  const char* checks[4] = {"cbJours", "cbChiffres", "cbFond", "cbDimanche"};
  const char* swatches[4] = {"shJours", "shChiffres", "shFond", "shDimanche"};
  const QString captions[4] = {QStringLiteral("Jours"), QStringLiteral("Chiffres"), QStringLiteral("Fond"),
                               QStringLiteral("Dimanche")};
  QCheckBox** c[4] = {&cbJours, &cbChiffres, &cbFond, &cbDimanche};
  TPanelSwatch** s[4] = {&shJours, &shChiffres, &shFond, &shDimanche};
  for (int i = 0; i < 4; ++i) {
    *c[i] = Check(pCal, checks[i], captions[i], 0, y, kLabelW);
    *s[i] = Swatch(pCal, swatches[i], kLabelW, y);
    named_ << qMakePair<QWidget*, QWidget*>(*c[i], *s[i]);
    QCheckBox* box = *c[i];
    TPanelSwatch* sw = *s[i];
    connect(box, &QCheckBox::toggled, this, [this, box] { ChangeMenu(box); });
    connect(sw, &QAbstractButton::clicked, this, [this, sw] { SwatchClick(sw); });
    y += kRowH + kGap;
  }
  cbSaints = Check(pCal, "cbSaints", QStringLiteral("Afficher les saints du jour"), 0, y);
  y += kRowH + kGap;
  sbJours = Tool(pCal, "sbJours", QStringLiteral("Jours"), 0, y, kWidth);
  y += 22 + kGap;
  sbChiffres = Tool(pCal, "sbChiffres", QStringLiteral("Chiffres"), 0, y, kWidth);
  y += 22 + kGap;
  sbSaints = Tool(pCal, "sbSaints", QStringLiteral("Saints"), 0, y, kWidth);
  y += 22 + kGap;
  pCal->resize(kWidth, y);
  named_ << qMakePair<QWidget*, QWidget*>(lbMois, seMois) << qMakePair<QWidget*, QWidget*>(lbAnnee, seAnnee)
         << qMakePair<QWidget*, QWidget*>(lbCoin, cbCoin);
  for (TzunoSpin* sp : {seMois, seAnnee}) sp->OnChange = [this](TzunoSpin* x) { ChangeMenu(x); };
  connect(cbCoin, &QComboBox::currentIndexChanged, this, [this] { ChangeMenu(cbCoin); });
  connect(cbSaints, &QCheckBox::toggled, this, [this] { ChangeMenu(cbSaints); });
  connect(sbJours, &QToolButton::clicked, this, [this] { FontButtonClick(0); });
  connect(sbChiffres, &QToolButton::clicked, this, [this] { FontButtonClick(1); });
  connect(sbSaints, &QToolButton::clicked, this, [this] { FontButtonClick(2); });
}

void TfmZunoCADMenu::BuildArbo() {
  pArbo = Section("pArbo", 10);
  int y = 4;
  cbArboFont = new QComboBox(pArbo);
  cbArboFont->setObjectName(QStringLiteral("cbArboFont"));
  cbArboFont->addItems(QFontDatabase::families());
  cbArboFont->setGeometry(0, y, kWidth, kRowH + 1);
  y += kRowH + kGap;
  sbArboGras = Tool(pArbo, "sbArboGras", QStringLiteral("G"), 0, y);
  sbArboItalique = Tool(pArbo, "sbArboItalique", QStringLiteral("I"), 23, y);
  sbArboSouligne = Tool(pArbo, "sbArboSouligne", QStringLiteral("S"), 46, y);
  for (QToolButton* b : {sbArboGras, sbArboItalique, sbArboSouligne}) b->setCheckable(true);
  sbArboCouleur = Swatch(pArbo, "SpeedButton5", 72, y);
  y += 22 + kGap;
  lbColonnes = Caption(pArbo, "lbColonnes", QStringLiteral("Colonnes :"), y);
  seColonnes = Spin(pArbo, "seColonnes", y, 1, 20, false);
  y += kRowH + kGap;
  lbProfondeur = Caption(pArbo, "lbProfondeur", QStringLiteral("Profondeur :"), y);
  seProfondeur = Spin(pArbo, "seProfondeur", y, 1, 100, false);
  y += kRowH + kGap;
  cbVoirFichiers = Check(pArbo, "cbVoirFichiers", QStringLiteral("Voir les fichiers"), 0, y);
  y += kRowH + kGap;
  zmlArboChoisirDossier = new TzunoMenuLabel(pArbo, QStringLiteral("Choisir le dossier à afficher"));
  zmlArboChoisirDossier->setObjectName(QStringLiteral("zmlArboChoisirDossier"));
  zmlArboChoisirDossier->setGeometry(0, y, kWidth, 18);
  y += 18 + kGap;
  pArbo->resize(kWidth, y);
  named_ << qMakePair<QWidget*, QWidget*>(lbColonnes, seColonnes)
         << qMakePair<QWidget*, QWidget*>(lbProfondeur, seProfondeur);
  connect(cbArboFont, &QComboBox::currentTextChanged, this, [this] { ChangeMenu(cbArboFont); });
  for (QToolButton* b : {sbArboGras, sbArboItalique, sbArboSouligne})
    connect(b, &QToolButton::clicked, this, [this, b] { ChangeMenu(b); });
  connect(sbArboCouleur, &QAbstractButton::clicked, this, [this] { SwatchClick(sbArboCouleur); });
  seColonnes->OnChange = [this](TzunoSpin* sp) { ChangeMenu(sp); };
  seProfondeur->OnChange = [this](TzunoSpin*) { ChangeArboMenu(); };
  connect(cbVoirFichiers, &QCheckBox::toggled, this, [this] { ChangeArboMenu(); });
  connect(zmlArboChoisirDossier, &QAbstractButton::clicked, this, [this] { ArboChoisirDossier(); });
}

void TfmZunoCADMenu::BuildCodeBarre() {
  pCodeBarre = Section("pCodeBarre", 10);
  int y = 4;
  lbCodeBarre = Caption(pCodeBarre, "lbCodeBarre", QStringLiteral("Code barre :"), y);
  eCodeBarre = new QLineEdit(QStringLiteral("1234567890123"), pCodeBarre);
  eCodeBarre->setObjectName(QStringLiteral("eCodeBarre"));
  // Wide enough for all 13 digits; the caption takes what is left.
  const int field =
      std::max(kWidth - kLabelW, eCodeBarre->fontMetrics().horizontalAdvance(QString(13, '0')) + 16);
  eCodeBarre->setGeometry(kWidth - field, y, field, kRowH);
  lbCodeBarre->resize(kWidth - field - 2, kRowH);
  eCodeBarre->setMaxLength(13);
  eCodeBarre->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eCodeBarre));
  y += kRowH + kGap;
  lbCBCouleur = Caption(pCodeBarre, "lbCBCouleur", QStringLiteral("Couleur :"), y);
  shCBCouleur = Swatch(pCodeBarre, "shCBCouleur", kLabelW, y);
  y += kRowH + kGap;
  lbCBFond = Caption(pCodeBarre, "lbCBFond", QStringLiteral("Fond :"), y);
  shCBFond = Swatch(pCodeBarre, "shCBFond", kLabelW, y);
  y += kRowH + kGap;
  cbCBTransparent = Check(pCodeBarre, "cbCBTransparent", QStringLiteral("Transparent"), 0, y);
  y += kRowH + kGap;
  pCodeBarre->resize(kWidth, y);
  named_ << qMakePair<QWidget*, QWidget*>(lbCodeBarre, eCodeBarre)
         << qMakePair<QWidget*, QWidget*>(lbCBCouleur, shCBCouleur)
         << qMakePair<QWidget*, QWidget*>(lbCBFond, shCBFond);
  connect(eCodeBarre, &QLineEdit::textChanged, this, [this] { ChangeMenu(eCodeBarre); });
  for (TPanelSwatch* s : {shCBCouleur, shCBFond})
    connect(s, &QAbstractButton::clicked, this, [this, s] { SwatchClick(s); });
  connect(cbCBTransparent, &QCheckBox::toggled, this, [this] { ChangeMenu(cbCBTransparent); });
}

void TfmZunoCADMenu::Register() {
  struct Entry {
    QWidget* panel;
    QString title;
    bool open;
  };
  const bool masks = Flag("panel_masque");
  const Entry entries[] = {
      {pModele, MLText(QStringLiteral("panel_format")), false},
      {pSupport, MLText(QStringLiteral("panel_support")), true},
      {pPosition, MLText(QStringLiteral("panel_position")), false},
      {pCalque, MLText(QStringLiteral("panel_calque")), false},
      {pAction, MLText(QStringLiteral("panel_action")), true},
      {pCouleur, MLText(QStringLiteral("panel_couleur")), true},
      {pImage, MLText(QStringLiteral("panel_image")), true},
      {masks ? pMasque : nullptr, MLText(QStringLiteral("panel_masque")), true},
      {pGroupe, MLText(QStringLiteral("panel_groupe")), true},
      {pTexte, MLText(QStringLiteral("panel_texte")), true},
      {pCal, MLText(QStringLiteral("layer_cal")), true},
      {pMirroir, MLText(QStringLiteral("panel_mirroir")), true},
      {pArbo, MLText(QStringLiteral("layer_arbo")), true},
      {pCodeBarre, MLText(QStringLiteral("layer_codebarre")), true},
  };
  for (const Entry& e : entries) {
    if (!e.panel) continue;
    e.panel->hide();
    menu_->AddItem(e.panel, e.title, e.open);
  }
  if (!masks) {
    pMasque->setParent(pCache);
    pMasque->hide();
  }
  const int line = menu_->Skin().Trait;
  menu_->setFixedWidth(menu_->verticalScrollBar()->sizeHint().width() + kWidth + 2 * line +
                       2 * menu_->Skin().Marge + 2);
  setMinimumWidth(menu_->width());
  menu_->Layout(true);
}

QList<TzunoMenuLabel*> TfmZunoCADMenu::VisibleActions() const {
  QList<TzunoMenuLabel*> out;
  for (TzunoMenuLabel* l : actions_)
    if (!l->isHidden()) out << l;
  return out;
}

void TfmZunoCADMenu::SetFieldTags(const QStringList& tags) {
  fieldTags_ = tags;
  pmChamps->clear();
  for (const QString& tag : tags) {
    QAction* a = pmChamps->addAction(tag);
    connect(a, &QAction::triggered, this, [this, tag] { ChampsClick(tag); });
  }
  sbTexteChamps->setEnabled(!tags.isEmpty());
}

void TfmZunoCADMenu::SetFieldMenus(const QList<QPair<QString, QStringList>>& menus) {
  fieldTags_.clear();
  pmChamps->clear();
  for (const auto& [caption, tags] : menus) {
    if (tags.isEmpty()) continue;
    QMenu* sub = pmChamps->addMenu(caption);
    for (const QString& tag : tags) {
      QAction* a = sub->addAction(tag);
      connect(a, &QAction::triggered, this, [this, tag] { ChampsClick(tag); });
    }
    fieldTags_ << tags;
  }
  sbTexteChamps->setEnabled(!fieldTags_.isEmpty());
}

void TfmZunoCADMenu::SetFormatCaptions(int kind) {
  captionKind_ = kind;
  if (kind >= 1) {
    // A kind's own captions for the three format spins ("DVD<kind>-<n>").
    const QString colon = MLLanguage() == 1 ? QStringLiteral(" :") : QStringLiteral(":");
    lbModele1->setText(MLText(QStringLiteral("DVD%1-1").arg(kind)) + colon);
    lbModele2->setText(MLText(QStringLiteral("DVD%1-2").arg(kind)) + colon);
    lbModele3->setText(MLText(QStringLiteral("DVD%1-3").arg(kind)) + colon);
  }
  NameControls();
}

void TfmZunoCADMenu::Translate() {
  const bool was = Updating;
  Updating = true;  // list captions replace the items
  if (MLLanguage() >= 1) TranslateWidget(this);
  Updating = was;
  SetFormatCaptions(captionKind_);
}

void TfmZunoCADMenu::NameControls() {
  for (const auto& [label, control] : named_) {
    QString text;
    if (auto* l = qobject_cast<QLabel*>(label))
      text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(label))
      text = b->text();
    control->setAccessibleName(WithoutColon(text));
    if (auto* spin = qobject_cast<TzunoSpin*>(control)) spin->Edit()->setAccessibleName(WithoutColon(text));
  }
  for (QWidget* w : findChildren<QWidget*>()) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (!b) continue;
    if (!b->toolTip().isEmpty())
      b->setAccessibleName(b->toolTip());
    else if (b->accessibleName().isEmpty() || qobject_cast<TzunoMenuLabel*>(b) || qobject_cast<QCheckBox*>(b))
      b->setAccessibleName(WithoutColon(b->text()));
  }
  cbFont->setAccessibleName(MLText(QStringLiteral("panel_texte")));
  mmTexte->setAccessibleName(MLText(QStringLiteral("panel_texte")));
  cbArboFont->setAccessibleName(MLText(QStringLiteral("panel_police")));
  lbCalque->setAccessibleName(MLText(QStringLiteral("panel_calque")));
  amImages->setAccessibleName(MLText(QStringLiteral("panel_image")));
  jtMasque->setAccessibleName(MLText(QStringLiteral("panel_masque")));
  cbMasque->setAccessibleName(MLText(QStringLiteral("panel_masque")));
  jtForme->setAccessibleName(MLText(QStringLiteral("panel_groupe")));
  cbForme->setAccessibleName(MLText(QStringLiteral("panel_groupe")));
  imSupport->setAccessibleName(MLText(QStringLiteral("panel_support")));
}

// ------------------------------------------------------------------------------------------------
// Sections for the selection

void TfmZunoCADMenu::UpdateSections(TzunoCADObj* obj) {
  Updating = true;
  ShowFormat();
  const bool adv = Advanced();
  const bool support = cad && !cad->Mdl().GetEntete(QStringLiteral("SupportFichier")).isEmpty();
  auto* image = dynamic_cast<TzunoCADImage*>(obj);
  auto* group = dynamic_cast<TzunoCADGroup*>(obj);
  pModele->setVisible(adv && !support);
  pSupport->setVisible(support);
  if (support) AfficheSupport();
  pPosition->setVisible(dynamic_cast<TzunoCADRect*>(obj) && Flag("panel_position"));
  pCalque->setVisible(adv);
  UpdateActions(obj);
  pCouleur->setVisible(
      adv && (dynamic_cast<TzunoCADRectangle*>(obj) || dynamic_cast<TzunoCADLigne*>(obj) ||
              (group && !dynamic_cast<TzunoCADPerforatrice*>(obj) && !dynamic_cast<TzunoCADTampon*>(obj))));
  pImage->setVisible(image && !amImages->Fichiers.isEmpty());
  if (Item(pMasque))
    pMasque->setVisible(image && image->HasPicture() && (adv || !image->FichierMasque.isEmpty()));
  bMasque->setVisible(adv);
  pGroupe->setVisible(group);
  pTexte->setVisible(dynamic_cast<TzunoCADTexte*>(obj));
  pCal->setVisible(dynamic_cast<TzunoCADCal*>(obj));
  pMirroir->setVisible(adv && group);
  pArbo->setVisible(dynamic_cast<TzunoCADArbo*>(obj));
  pCodeBarre->setVisible(dynamic_cast<TzunoCADCodeBarre*>(obj));
  AffichePositionControls(obj);
  if (group) {
    try {
      FillShapePanel(obj);
    } catch (...) {
      Log(QStringLiteral("EXCEPT : On initialise le panel des formes"));
    }
  }
  LayoutText(adv);
  if (adv) ListerCalque();
  Updating = false;
  // While a row of the layer list is held the sections keep their places, so the list does not move
  // under the pointer (the position section opens above it); they are laid out at the release.
  if (lbCalque->Holding())
    layoutPending_ = true;
  else
    menu_->Layout(true);
  ShowValues(obj);
}

void TfmZunoCADMenu::AffichePositionControls(TzunoCADObj* obj) {
  auto* rect = dynamic_cast<TzunoCADRect*>(obj);
  const bool angle = rect && rect->HandleEnabled[2];
  lbR->setVisible(angle);
  seR->setVisible(angle);
  const bool text = dynamic_cast<TzunoCADTexte*>(obj);
  for (QWidget* w : {static_cast<QWidget*>(lbL), static_cast<QWidget*>(seL), static_cast<QWidget*>(lbH),
                     static_cast<QWidget*>(seH)})
    w->setVisible(!text);
  // The visible rows stacked from the top, each caption on its spin's row.
  int y = 4;
  for (const auto& [label, control] : named_) {
    if (label->parentWidget() != pPosition || control->isHidden()) continue;
    label->move(0, y);
    control->move(kLabelW, y);
    y += kRowH + kGap;
  }
  if (TzunoMenuItem* item = Item(pPosition)) item->SetContentHeight(y);
}

void TfmZunoCADMenu::AfficheSupport() {
  if (!cad) return;
  TzunoCADMdl& d = cad->Mdl();
  QImage picture(imSupport->width(), imSupport->height(), QImage::Format_RGB888);
  picture.fill(Qt::white);
  d.SupportFrameColor = RGBColor(255, 0, 0);
  d.DrawApercu(picture, 4);
  d.SupportFrameColor = clWhite;
  imSupport->setPixmap(QPixmap::fromImage(picture));
}

bool TfmZunoCADMenu::eventFilter(QObject* o, QEvent* e) {
  if (o == imSupport && e->type() == QEvent::MouseButtonRelease) AfficheSupport();
  return QWidget::eventFilter(o, e);
}

void TfmZunoCADMenu::ShowFormat() {
  if (!cad) return;
  const TzunoCADMdl& d = cad->Mdl();
  auto header = [&d](const char* key) { return ReadReal(d.GetEntete(QString::fromLatin1(key))); };
  const int kind = d.Gabarit;
  double a = d.Large, b = d.Haut, c = 0;
  switch (kind) {
    case 1:
      b = header("PetitDiam");
      break;
    case 3:
      a = d.Large / 2;
      break;
    case 4:
      c = header("TailleRetour");
      a = d.Large - 2 * c;
      break;
    case 5:
      c = header("TailleTranche");
      break;
    case 6:
      c = header("TailleRabat");
      break;
    default:
      break;
  }
  seModele1->SetValue(MmToUnit(a));
  seModele2->SetValue(MmToUnit(b));
  if (kind >= 4 && kind <= 6) seModele3->SetValue(MmToUnit(c));
  lbModele3->setVisible(kind >= 4 && kind <= 6);
  seModele3->setVisible(kind >= 4 && kind <= 6);
  cbProportions->setVisible(kind == 0);
  if (kind != captionKind_) SetFormatCaptions(kind);
  shCouleurPapier->SetColor(d.ColorPapier);
  formatKind_ = kind;
  if (b > 0) ratio_ = a / b;
  int y = seModele2->y() + kRowH + kGap;
  for (QWidget* w : {static_cast<QWidget*>(seModele3), static_cast<QWidget*>(cbProportions)}) {
    if (w->isHidden()) continue;
    w->move(w->x(), y);
    y += kRowH + kGap;
  }
  lbModele3->move(0, seModele3->y());
  if (!shCouleurPapier->isHidden()) {
    // The caption is longer than the column in some languages: the swatch moves right of it.
    const int caption = std::max(kLabelW, lbCouleurPapier->sizeHint().width() + 4);
    lbCouleurPapier->setGeometry(0, y, caption, kRowH);
    shCouleurPapier->move(std::min(caption, kWidth - shCouleurPapier->width()), y + 1);
    y += kRowH + kGap;
  }
  if (!sbPRO->isHidden()) {
    sbPRO->move(sbPRO->x(), y);
    sbPER->move(sbPER->x(), y);
    y += 22 + kGap;
  }
  if (TzunoMenuItem* item = Item(pModele)) item->SetContentHeight(y);
}

void TfmZunoCADMenu::ApplyFormat(QObject* sender) {
  TzunoCADMdl& d = cad->Mdl();
  d.ColorPapier = shCouleurPapier->Color();
  if (sender != seModele1 && sender != seModele2 && sender != seModele3 && sender != cbProportions) return;
  // The proportions are those of the page before this edit began: typing a width digit by digit
  // must not take the ratio of a half-typed width.
  const bool proportional = formatKind_ == 0 && cbProportions->isChecked() && ratio_ > 0;
  if (proportional && sender == seModele1)
    seModele2->SetValue(std::round(seModele1->Value() / ratio_ * 100) / 100);
  if (proportional && sender == seModele2)
    seModele1->SetValue(std::round(seModele2->Value() * ratio_ * 100) / 100);
  const double a = UnitToMm(seModele1->Value()), b = UnitToMm(seModele2->Value()),
               c = UnitToMm(seModele3->Value());
  auto set = [&d](const char* key, double v) { d.SetEntete(QString::fromLatin1(key), WriteReal(v)); };
  switch (d.Gabarit) {
    case 0:
    case 2:
      d.Large = a;
      d.Haut = b;
      break;
    case 1:
      d.Large = d.Haut = a;
      set("GrandDiam", a);
      set("PetitDiam", b);
      break;
    case 3:
      d.Large = 2 * a;
      d.Haut = b;
      break;
    case 4:
      d.Large = a + 2 * c;
      d.Haut = b;
      set("TailleRetour", c);
      break;
    case 5:
      d.Large = a;
      d.Haut = b;
      set("TailleTranche", c);
      break;
    case 6:
      d.Large = a;
      d.Haut = b;
      set("TailleRabat", c);
      break;
    default:
      return;
  }
  if (!proportional && seModele2->Value() > 0) ratio_ = seModele1->Value() / seModele2->Value();
  cad->ApplyZoom();
}

void TfmZunoCADMenu::ShowValues(TzunoCADObj* obj) {
  const bool was = Updating;
  Updating = true;
  if (cad) {
    seZoomX->SetValue(cad->ZoomX);
    seZoomY->SetValue(cad->ZoomY);
    cbZoomAuto->setChecked(cad->AutoZoom);
    cbGrille->setChecked(false);
    cbGrilleMagnetique->setChecked(false);
    cbFill->setChecked(cad->Mdl().FillShapes);
    seRotation->SetValue(cad->Mdl().Rotation);
    shCouleurPapier->SetColor(cad->Mdl().ColorPapier);
  }
  if (obj) {
    if (auto* r = dynamic_cast<TzunoCADRect*>(obj)) {
      seX->SetValue(r->x);
      seY->SetValue(r->y);
      seL->SetValue(r->l);
      seH->SetValue(r->h);
      seR->SetValue(r->r);
    }
    shPen->SetColor(obj->Pen.Color);
    seEpaisseur->SetValue(obj->Pen.Width / 1000.0);
    shBrush->SetColor(obj->Brush.Color);
    cbBrushStyle->setCurrentIndex(
        obj->Brush.Style >= 0 && obj->Brush.Style < cbBrushStyle->count() ? obj->Brush.Style : -1);
    if (dynamic_cast<TzunoCADTampon*>(obj)) shTampon->SetColor(obj->Pen.Color);
    if (auto* r = dynamic_cast<TzunoCADRectangle*>(obj)) seRectCote->SetValue(r->Cote);
    if (auto* t = dynamic_cast<TzunoCADTexte*>(obj)) {
      const QString shown = mmTexte->toPlainText().split(QLatin1Char('\n')).join(QLatin1Char('|')).trimmed();
      if (shown != t->txt) mmTexte->setPlainText(t->txt.split(QLatin1Char('|')).join(QLatin1Char('\n')));
      Ancrage = std::clamp(t->Aligne, 0, 4);
      sbAncrage->setIcon(AnchorIcon(Ancrage));
      sbGauche->setChecked(t->Alignement == 0);
      sbDroite->setChecked(t->Alignement == 1);
      sbCentre->setChecked(t->Alignement == 2);
      sbGras->setChecked(t->Font.Style & fsBold);
      sbItalique->setChecked(t->Font.Style & fsItalic);
      sbSouligne->setChecked(t->Font.Style & fsUnderline);
      SetFontItem(cbFont, t->Font.Name);
      sbTextColor->SetColor(t->Font.Color);
      if (!eTexteCode->isHidden() && eTexteCode->text() != t->Code) eTexteCode->setText(t->Code);
    }
    if (auto* img = dynamic_cast<TzunoCADImage*>(obj)) {
      cbBordureCadre->setChecked(img->Bordure.Enabled);
      lbBordureStyle->setCurrentRow(img->Bordure.Style);
      seBordureL->SetValue(img->Bordure.Width);
      seBordureH->SetValue(img->Bordure.Height);
      cbInverser->setChecked(img->MasqueNegatif);
      seMarge->SetValue(img->MasqueMarge);
      seBordure->SetValue(img->MasqueBordure);
      shMasqueBordure->SetColor(img->MasqueBordureColor);
      if (Flag("action_tag")) cbImageCode->setCurrentText(img->Code);
    }
    if (auto* g = dynamic_cast<TzunoCADGroup*>(obj)) {
      cbMiroirH->setChecked(g->mirroirx == -1);
      cbMiroirV->setChecked(g->mirroiry == -1);
    }
    if (auto* m = dynamic_cast<TzunoCADRepere*>(obj)) {
      if (m->sens == 1) zmlRepereSens->setText(MLText(QStringLiteral("repere_horizontal")));
      if (m->sens == 2) zmlRepereSens->setText(MLText(QStringLiteral("repere_vertical")));
      if (m->sorte == 1) zmlRepereSorte->setText(MLText(QStringLiteral("repere_pliage")));
      if (m->sorte == 2) zmlRepereSorte->setText(MLText(QStringLiteral("repere_repere")));
      zmlRepereSens->setAccessibleName(zmlRepereSens->text());
      zmlRepereSorte->setAccessibleName(zmlRepereSorte->text());
    }
    if (auto* c = dynamic_cast<TzunoCADCal*>(obj)) {
      sbJours->setText(FontCaption(c->FontJours));
      sbChiffres->setText(FontCaption(c->FontChiffres));
      sbSaints->setText(FontCaption(c->FontSaints));
      shJours->SetColor(c->ColorJours);
      shChiffres->SetColor(c->ColorChiffres);
      shFond->SetColor(c->ColorFond);
      shDimanche->SetColor(c->ColorDimanche);
      cbJours->setChecked(!c->TranspJours);
      cbChiffres->setChecked(!c->TranspChiffres);
      cbFond->setChecked(!c->TranspFond);
      cbDimanche->setChecked(!c->TranspDimanche);
      shJours->setVisible(!c->TranspJours);
      shChiffres->setVisible(!c->TranspChiffres);
      shFond->setVisible(!c->TranspFond);
      shDimanche->setVisible(!c->TranspDimanche);
      cbSaints->setVisible(c->Saints != nullptr);
      cbSaints->setChecked(c->VoirSaints);
      seMois->SetValue(c->Mois);
      seAnnee->SetValue(c->Annee);
      cbCoin->setCurrentIndex(std::clamp(c->CoinChiffres, 0, 4));
    }
    if (auto* a = dynamic_cast<TzunoCADArbo*>(obj)) {
      sbArboGras->setChecked(a->Font.Style & fsBold);
      sbArboItalique->setChecked(a->Font.Style & fsItalic);
      sbArboSouligne->setChecked(a->Font.Style & fsUnderline);
      SetFontItem(cbArboFont, a->Font.Name);
      sbArboCouleur->SetColor(a->Font.Color);
      cbVoirFichiers->setChecked(a->ViewFichier);
      seProfondeur->SetValue(a->DepthMax);
      seColonnes->SetValue(a->Column);
    }
    if (auto* b = dynamic_cast<TzunoCADCodeBarre*>(obj)) {
      if (eCodeBarre->text() != b->codebarre) eCodeBarre->setText(b->codebarre);
      shCBCouleur->SetColor(b->colorBarre);
      shCBFond->SetColor(b->colorFond);
      cbCBTransparent->setChecked(b->Transparent);
    }
  }
  const bool empty = cbBrushStyle->currentIndex() == bsClear;
  lbBrush->setVisible(!empty);
  shBrush->setVisible(!empty);
  Updating = was;
}

// ------------------------------------------------------------------------------------------------
// Controls back into the document

void TfmZunoCADMenu::ChangeMenu(QObject* sender) {
  if (Updating || !cad) return;
  // One undo step for a run of changes in one control (typing, spin arrows).
  cad->TakeStep(sender);
  Updating = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool empty = cbBrushStyle->currentIndex() == bsClear;
  lbBrush->setVisible(!empty);
  shBrush->setVisible(!empty);
  TzunoCADMdl& d = cad->Mdl();
  // What the whole page shows, to tell an edit of the selection alone from one of the page.
  const auto page = [&d, this] {
    return std::make_tuple(d.Large, d.Haut, d.ColorPapier, d.Rotation, d.FillShapes, d.Gabarit, cad->ZoomX,
                           cad->ZoomY, cad->AutoZoom);
  };
  const auto pageBefore = page();
  ApplyFormat(sender);

  d.Rotation = seRotation->Value();
  d.FillShapes = cbFill->isChecked();
  if (seZoomX->Value() <= 0) seZoomX->SetValue(1);
  if (seZoomY->Value() <= 0) seZoomY->SetValue(1);
  if (cbIdentique->isChecked() && sender == seZoomX) seZoomY->SetValue(seZoomX->Value());
  if (cbIdentique->isChecked() && sender == seZoomY) seZoomX->SetValue(seZoomY->Value());
  cad->AutoZoom = cbZoomAuto->isChecked();
  cad->ZoomX = seZoomX->Value();
  cad->ZoomY = seZoomY->Value();
  cbGrille->setChecked(false);
  cbGrilleMagnetique->setChecked(false);
  d.Grid = false;
  d.MagneticGrid = false;

  TzunoCADObj* obj = Selected();
  if (auto* r = dynamic_cast<TzunoCADRect*>(obj)) {
    r->x = seX->Value();
    r->y = seY->Value();
    r->l = seL->Value();
    r->h = seH->Value();
    r->r = seR->Value();
  }
  if (obj) {
    obj->Pen.Color = shPen->Color();
    obj->Pen.Width = int(std::lround(seEpaisseur->Value() * 1000));
    obj->Brush.Color = shBrush->Color();
    if (cbBrushStyle->currentIndex() >= 0) obj->Brush.Style = cbBrushStyle->currentIndex();
  }
  if (auto* r = dynamic_cast<TzunoCADRectangle*>(obj)) r->Cote = seRectCote->ValueInt();
  if (dynamic_cast<TzunoCADTampon*>(obj)) {
    obj->Pen.Color = shTampon->Color();
    obj->Brush.Color = shTampon->Color();
  }
  if (auto* t = dynamic_cast<TzunoCADTexte*>(obj)) {
    auto format = [this](TzunoCADTexte* x) {
      x->Alignement = sbGauche->isChecked() ? 0 : sbDroite->isChecked() ? 1 : 2;
      x->Font.Style &= ~(fsBold | fsItalic | fsUnderline);
      if (sbGras->isChecked()) x->Font.Style |= fsBold;
      if (sbItalique->isChecked()) x->Font.Style |= fsItalic;
      if (sbSouligne->isChecked()) x->Font.Style |= fsUnderline;
      if (!cbFont->currentText().isEmpty()) x->Font.Name = cbFont->currentText();
      x->Font.Color = sbTextColor->Color();
    };
    format(t);
    t->Aligne = Ancrage;
    if (!eTexteCode->isHidden()) t->Code = eTexteCode->text();
    t->LayoutText(mmTexte->toPlainText().split(QLatin1Char('\n')).join(QLatin1Char('|')));
    if (Soft() && Soft()->Debug && cbTous->isChecked()) {
      for (const auto& o : d.Objets())
        if (auto* other = dynamic_cast<TzunoCADTexte*>(o.get()); other && other != t) {
          format(other);
          other->LayoutText(other->txt);
        }
    }
  }
  if (auto* img = dynamic_cast<TzunoCADImage*>(obj)) {
    const TBordure oldFrame = img->Bordure;
    const bool oldNeg = img->MasqueNegatif;
    const int oldMarge = img->MasqueMarge, oldBord = img->MasqueBordure;
    const TColor oldColor = img->MasqueBordureColor;
    img->Bordure.Enabled = cbBordureCadre->isChecked();
    if (img->Bordure.Enabled) {
      if (sender == cbBordureCadre) {
        Updating = true;
        lbBordureStyle->setCurrentRow(0);
        img->EnsurePicture();
        seBordureL->SetValue(img->PictureSize().height());
        seBordureH->SetValue(img->PictureSize().height());
      }
      img->Bordure.Style = std::max(0, lbBordureStyle->currentRow());
      img->Bordure.Width = seBordureL->Value();
      img->Bordure.Height = seBordureH->Value();
    }
    img->MasqueNegatif = cbInverser->isChecked();
    img->MasqueMarge = std::clamp(seMarge->ValueInt(), 0, 45);
    img->MasqueBordure = std::clamp(seBordure->ValueInt(), 0, 30);
    img->MasqueBordureColor = shMasqueBordure->Color();
    if (Flag("action_tag")) img->Code = cbImageCode->currentText();
    if (!(oldFrame == img->Bordure) || oldNeg != img->MasqueNegatif || oldMarge != img->MasqueMarge ||
        oldBord != img->MasqueBordure || oldColor != img->MasqueBordureColor) {
      img->Cache = QImage();
      img->CacheKey.clear();
    }
  }
  if (auto* g = dynamic_cast<TzunoCADGroup*>(obj)) {
    g->mirroirx = cbMiroirH->isChecked() ? -1 : 1;
    g->mirroiry = cbMiroirV->isChecked() ? -1 : 1;
  }
  if (auto* c = dynamic_cast<TzunoCADCal*>(obj)) {
    c->VoirSaints = cbSaints->isChecked();
    c->ColorJours = shJours->Color();
    c->ColorChiffres = shChiffres->Color();
    c->ColorFond = shFond->Color();
    c->ColorDimanche = shDimanche->Color();
    c->TranspJours = !cbJours->isChecked();
    c->TranspChiffres = !cbChiffres->isChecked();
    c->TranspFond = !cbFond->isChecked();
    c->TranspDimanche = !cbDimanche->isChecked();
    shJours->setVisible(!c->TranspJours);
    shChiffres->setVisible(!c->TranspChiffres);
    shFond->setVisible(!c->TranspFond);
    shDimanche->setVisible(!c->TranspDimanche);
    c->CoinChiffres = std::max(0, cbCoin->currentIndex());
    c->Mois = seMois->ValueInt();
    c->Annee = seAnnee->ValueInt();
  }
  if (auto* a = dynamic_cast<TzunoCADArbo*>(obj)) {
    a->Font.Style = 0;
    if (sbArboGras->isChecked()) a->Font.Style |= fsBold;
    if (sbArboItalique->isChecked()) a->Font.Style |= fsItalic;
    if (sbArboSouligne->isChecked()) a->Font.Style |= fsUnderline;
    if (!cbArboFont->currentText().isEmpty()) a->Font.Name = cbArboFont->currentText();
    a->Font.Color = sbArboCouleur->Color();
    a->ViewFichier = cbVoirFichiers->isChecked();
    a->DepthMax = seProfondeur->ValueInt();
    a->Column = seColonnes->ValueInt();
  }
  if (auto* b = dynamic_cast<TzunoCADCodeBarre*>(obj)) {
    b->codebarre = eCodeBarre->text();
    b->colorBarre = shCBCouleur->Color();
    b->colorFond = shCBFond->Color();
    b->Transparent = cbCBTransparent->isChecked();
  }
  // Typing in a section redraws only the selection's area; the page's own settings redraw it all.
  if (obj && page() == pageBefore && !(Soft() && Soft()->Debug && cbTous->isChecked()))
    cad->RequestObjectRepaint(obj);
  else
    cad->RequestRepaint();
  if (OnPanelChange) OnPanelChange(this, 0);
  QApplication::restoreOverrideCursor();
  Updating = false;
}

void TfmZunoCADMenu::ToPRO(bool pro) {
  if (!cad || !Soft()) return;
  cad->TakeStep();
  cad->Mdl().ConvertirChampsPro(
      pro, QStringLiteral("<Fonction>"),
      Soft()->DataPath + QStringLiteral("fiches_champs_%1.def").arg(Soft()->Language()));
  ChangeMenu(pro ? sbPRO : sbPER);
}

void TfmZunoCADMenu::ChangeArboMenu() {
  if (Updating) return;
  ChangeMenu(seProfondeur);
  if (auto* a = dynamic_cast<TzunoCADArbo*>(Selected())) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    a->Rebuild();
    QApplication::restoreOverrideCursor();
    cad->RequestRepaint();
  }
}

void TfmZunoCADMenu::ArboChoisirDossier() {
  auto* a = dynamic_cast<TzunoCADArbo*>(Selected());
  if (!a) return;
  QString folder = a->Path;
  if (!BrowseFolder(MLText(QStringLiteral("ArboChoisirDossier")), folder)) return;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  cad->TakeStep();
  a->Path = folder;
  ChangeMenu(zmlArboChoisirDossier);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  a->Rebuild();
  QApplication::restoreOverrideCursor();
  cad->RequestRepaint();
}

void TfmZunoCADMenu::SwatchClick(TPanelSwatch* swatch) {
  QColor c = ToQColor(swatch->Color());
  // The folder tree's colour button opens the dialog without the custom colours.
  QStringList* custom = swatch == sbArboCouleur || !Soft() ? nullptr : &Soft()->CustomColors;
  if (!AskColor(c, custom)) return;
  swatch->SetColor(FromQColor(c));
  ChangeMenu(swatch);
}

void TfmZunoCADMenu::FontButtonClick(int which) {
  auto* c = dynamic_cast<TzunoCADCal*>(Selected());
  if (!c) return;
  TFont& f = which == 0 ? c->FontJours : which == 1 ? c->FontChiffres : c->FontSaints;
  QFont q(f.Name);
  q.setBold(f.Style & fsBold);
  q.setItalic(f.Style & fsItalic);
  q.setUnderline(f.Style & fsUnderline);
  QColor colour = ToQColor(f.Color);
  if (!AskFont(q, colour)) return;
  cad->TakeStep();
  f.Name = q.family();
  f.Style = (f.Style & fsStrikeOut) | (q.bold() ? fsBold : 0) | (q.italic() ? fsItalic : 0) |
            (q.underline() ? fsUnderline : 0);
  (which == 0 ? sbJours : which == 1 ? sbChiffres : sbSaints)->setText(FontCaption(f));
  ChangeMenu(which == 0 ? sbJours : which == 1 ? sbChiffres : sbSaints);
}

void TfmZunoCADMenu::AncrageClick(int code) {
  Ancrage = std::clamp(code, 0, 4);
  sbAncrage->setIcon(AnchorIcon(Ancrage));
  ChangeMenu(sbAncrage);
}

void TfmZunoCADMenu::ChampsClick(const QString& text) {
  QTextCursor cursor = mmTexte->textCursor();
  cursor.insertText(text);
  mmTexte->setTextCursor(cursor);
  mmTexte->setFocus();
}

void TfmZunoCADMenu::ListerCalque() {
  lbCalque->Lister();
}

void TfmZunoCADMenu::CalqueSelect() {
  lbCalque->viewport()->update();
}

void TfmZunoCADMenu::Notify(int code) {
  if (OnPanelChange) OnPanelChange(this, code);
}

// ------------------------------------------------------------------------------------------------

TzunoCADMenu::TzunoCADMenu(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("zunoCADMenu"));
  form_ = new TfmZunoCADMenu(this);
  setFixedWidth(form_->Menu()->width());
}

void TzunoCADMenu::resizeEvent(QResizeEvent*) {
  form_->setGeometry(rect());
  form_->Menu()->setGeometry(form_->rect());
}
