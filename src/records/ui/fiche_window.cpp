#include "records/ui/fiche_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "records/fiches.h"
#include "records/vcard.h"
#include "render/codecs.h"
#include "render/picture_io.h"
#include "shell/card_picture.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/shell_folders.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

// The property that carries a field control's tag ("<Nom>"), as the form's design gives it.
constexpr char kHint[] = "Hint";
// A card picture is kept at most this many pixels wide or high: enough for print at card sizes.
constexpr int kMaxPicture = 1600;

QString KeyOf(const QString& tag) {
  return tag.size() >= 2 ? tag.mid(1, tag.size() - 2) : QString();
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

// The field controls and their labels, with what placing them needs.
struct TChamp {
  QWidget* control = nullptr;
  QLabel* label = nullptr;
  int page = 0;
  int width = 100;
  int height = 0;  // 0: the control's own height
};

}  // namespace

struct TfmFiche::TChamps {
  std::vector<TChamp> list;
};

TfmFiche::TfmFiche(QWidget* owner, TzunoFiches& fiches, const QString& userPath)
    : QDialog(owner), champs_(std::make_unique<TChamps>()), fiches_(fiches), userPath_(userPath) {
  setObjectName(QStringLiteral("fmFiche"));
  setWindowTitle(QString::fromUtf8("Répertoire"));
  resize(760, 520);
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  column->addLayout(row, 1);

  lbPers = new QListWidget(this);
  lbPers->setObjectName(QStringLiteral("lbPers"));
  lbPers->setAccessibleName(QStringLiteral("Fiches"));
  lbPers->setUniformItemSizes(true);
  lbPers->setFixedWidth(220);
  connect(lbPers, &QListWidget::currentRowChanged, this, [this](int r) {
    if (r >= 0) lbPersClick(r);
  });
  row->addWidget(lbPers);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  const char* pages[] = {"tsPersonnel", "tsProfessionnel"};
  const char* captions[] = {"Personnel", "Professionnel"};
  for (int i = 0; i < 2; ++i) {
    auto* box = new QScrollArea(PageControl1);
    box->setObjectName(QStringLiteral("ScrollBox%1").arg(i));
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollBox%1Contenu").arg(i));
    box->setWidget(content);
    box->setWidgetResizable(false);
    // The page's own colour behind the fields.
    box->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QString::fromLatin1(pages[i]));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 10, 12, 0);
    pageLayout->addWidget(box);
    PageControl1->addTab(page, QString::fromLatin1(captions[i]));
    ScrollBox[i] = box;
  }

  // The card's photo and logo: shown, chosen from a picture file, removed.
  tsMedia = new QWidget(PageControl1);
  tsMedia->setObjectName(QStringLiteral("tsMedia"));
  auto* media = new QHBoxLayout(tsMedia);
  auto picture = [this, media](bool logo, QLabel** image, QPushButton** choose, QPushButton** remove) {
    auto* group = new QGroupBox(logo ? QStringLiteral("Logo") : QStringLiteral("Photo"), tsMedia);
    group->setObjectName(logo ? QStringLiteral("gbLogo") : QStringLiteral("gbPhoto"));
    auto* g = new QVBoxLayout(group);
    *image = new QLabel(group);
    (*image)->setObjectName(logo ? QStringLiteral("imgLogo") : QStringLiteral("imgPhoto"));
    (*image)->setAlignment(Qt::AlignCenter);
    (*image)->setMinimumSize(180, 180);
    (*image)->setFrameShape(QFrame::StyledPanel);
    (*image)->setWordWrap(true);
    g->addWidget(*image, 1);
    *choose = Button(group, logo ? "sbLogo" : "sbPhoto",
                     logo ? QStringLiteral("Choisir le logo...") : QStringLiteral("Choisir la photo..."));
    *remove = Button(group, logo ? "sbRetireLogo" : "sbRetirePhoto",
                     logo ? QStringLiteral("Retirer le logo") : QStringLiteral("Retirer la photo"));
    g->addWidget(*choose);
    g->addWidget(*remove);
    media->addWidget(group);
    connect(*choose, &QPushButton::clicked, this, [this, logo] {
      QString file;
      if (AskOpenFile(
              MLText(QStringLiteral("FicheImagesFiltre")) + QStringLiteral("|*.jpg;*.jpeg;*.png;*.bmp"),
              file))
        ChoisitImage(logo, file);
    });
    connect(*remove, &QPushButton::clicked, this, [this, logo] { RetireImage(logo); });
  };
  picture(false, &imgPhoto, &sbPhoto, &sbRetirePhoto);
  picture(true, &imgLogo, &sbLogo, &sbRetireLogo);
  PageControl1->addTab(tsMedia, QStringLiteral("Photo et logo"));
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (shown_) PlaceChamps();
  });
  row->addWidget(PageControl1, 1);

  auto* buttons = new QHBoxLayout;
  sbAdd = Button(this, "sbAdd", QStringLiteral("Ajouter"));
  sbSupprime = Button(this, "sbSupprime", QStringLiteral("Supprimer"));
  pnCommandes = new QWidget(this);
  pnCommandes->setObjectName(QStringLiteral("pnCommandes"));
  auto* commands = new QHBoxLayout(pnCommandes);
  commands->setContentsMargins(0, 0, 0, 0);
  sbImporter = Button(pnCommandes, "sbImporter", QStringLiteral("Importer..."));
  commands->addWidget(sbImporter);
  connect(sbImporter, &QPushButton::clicked, this, [this] {
    QString file = Soft() ? Soft()->ReadUserString(QStringLiteral("VCardPath")) : QString();
    if (file.isEmpty()) file = ShellFolder(QStringLiteral("Personal"));
    if (!AskOpenFile(MLText(QStringLiteral("VCardFiltre")) + QStringLiteral("|*.vcf;*.vcard"), file)) return;
    if (Soft()) Soft()->WriteUserString(QStringLiteral("VCardPath"), QFileInfo(file).absolutePath() + '/');
    ImporteVCard(file);
  });
  sbSauve = Button(this, "sbSauve", QStringLiteral("Sauver"));
  sbClose = Button(this, "sbClose", QStringLiteral("Fermer"));
  buttons->addWidget(sbAdd);
  buttons->addWidget(sbSupprime);
  buttons->addWidget(pnCommandes);
  buttons->addStretch(1);
  buttons->addWidget(sbSauve);
  buttons->addWidget(sbClose);
  column->addLayout(buttons);
  connect(sbAdd, &QPushButton::clicked, this, &TfmFiche::sbAddClick);
  connect(sbSupprime, &QPushButton::clicked, this, &TfmFiche::sbSupprimeClick);
  connect(sbSauve, &QPushButton::clicked, this, &TfmFiche::sbSauveClick);
  connect(sbClose, &QPushButton::clicked, this, &TfmFiche::sbCloseClick);
  sbSauve->setEnabled(false);

  TranslateWidget(this);
  for (QPushButton* b :
       {sbPhoto, sbLogo, sbRetirePhoto, sbRetireLogo, sbAdd, sbSupprime, sbImporter, sbSauve, sbClose})
    b->setAccessibleName(b->text());
  if (TSoft* soft = Soft())
    definitionFile_ = soft->DataPath + QStringLiteral("fiches_champs_%1.def").arg(soft->Language());
}

TfmFiche::~TfmFiche() = default;

void TfmFiche::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TfmFiche::FormShow() {
  if (TSoft* soft = Soft()) {
    const struct {
      QPushButton* button;
      const char* file;
    } glyphs[] = {{sbAdd, "btn_fic_add.bmp"},
                  {sbSupprime, "btn_fic_del.bmp"},
                  {sbSauve, "btn_fic_save.bmp"},
                  {sbClose, "btn_fic_close.bmp"}};
    for (const auto& g : glyphs) {
      const QImage picture = skinui::LoadSkinPicture(soft->SkinPath, QString::fromLatin1(g.file));
      if (!picture.isNull()) {
        g.button->setIcon(QIcon(skinui::KeyedPixmap(picture)));
        g.button->setIconSize(picture.size());
      }
    }
  }
  CreeChamps(definitionFile_);
  PageControl1->setCurrentIndex(0);
  RefreshList();
  SelectCurrent();
}

void TfmFiche::CreeChamps(const QString& definitionFile) {
  std::vector<TChamp>& champs = champs_->list;
  for (TChamp& c : champs) {
    delete c.control;
    delete c.label;
  }
  champs.clear();
  for (const TFicheChamp& def : ReadFicheChamps(definitionFile)) {
    QWidget* content = ScrollBox[def.Page]->widget();
    TChamp c;
    c.page = def.Page;
    c.width = def.Width;
    if (def.Kind == QLatin1String("TEdit")) {
      auto* edit = new QLineEdit(content);
      connect(edit, &QLineEdit::textChanged, this, &TfmFiche::cb100Change);
      c.control = edit;
    } else if (def.Kind == QLatin1String("TComboBox")) {
      auto* combo = new QComboBox(content);
      combo->setEditable(true);
      combo->addItems(def.Items);
      combo->setCurrentIndex(-1);
      connect(combo, &QComboBox::currentTextChanged, this, &TfmFiche::cb100Change);
      c.control = combo;
    } else if (def.Kind == QLatin1String("TMemo")) {
      auto* memo = new QPlainTextEdit(content);
      memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      memo->setTabChangesFocus(true);
      // The memo's default height: four lines of text.
      const int base = memo->fontMetrics().lineSpacing() * 4 + 2 * memo->frameWidth() + 8;
      c.height = def.Height * base / 100;
      connect(memo, &QPlainTextEdit::textChanged, this, &TfmFiche::cb100Change);
      c.control = memo;
    }
    c.label = new QLabel(def.Label, content);
    c.label->setObjectName(QStringLiteral("lb") + def.Key);
    if (c.control) {
      c.control->setObjectName(QStringLiteral("e") + def.Key);
      c.control->setProperty(kHint, def.Tag);
      c.control->setToolTip(def.Tag);
      c.control->setAccessibleName(def.Label);
      c.label->setBuddy(c.control);
    }
    champs.push_back(c);
  }
  // Tab order follows the fields' order on each page.
  QWidget* previous[2] = {nullptr, nullptr};
  for (const TChamp& c : champs) {
    if (!c.control) continue;
    if (previous[c.page]) setTabOrder(previous[c.page], c.control);
    previous[c.page] = c.control;
  }
  PlaceChamps();
  for (TChamp& c : champs) {
    if (c.control) c.control->show();
    c.label->show();
  }
}

void TfmFiche::PlaceChamps() {
  int position[2] = {0, 0};
  // The pages share one size, but only the page on show has it: a hidden page keeps the size it
  // had when it was last shown. Room is kept for the scroll bar a long page needs.
  const QWidget* page = PageControl1->currentWidget();
  const QMargins margins = ScrollBox[0]->parentWidget()->layout()->contentsMargins();
  const int common = page->width() - margins.left() - margins.right() - ScrollBox[0]->frameWidth() * 2 -
                     ScrollBox[0]->verticalScrollBar()->sizeHint().width();
  const int width[2] = {common, common};
  for (const TChamp& c : champs_->list) {
    const int w = width[c.page];
    const int l = w / 3;
    int& top = position[c.page];
    const QFontMetrics fm = c.label->fontMetrics();
    const int textWidth = fm.horizontalAdvance(c.label->text());
    const int textHeight = fm.height();
    int h = 0;
    if (c.control) {
      h = c.height > 0 ? c.height : c.control->sizeHint().height();
      c.control->setGeometry(l, top, c.width * (w - l) / 100, h);
    }
    c.label->setGeometry(l - textWidth - 5, top + h / 2 - textHeight / 2, textWidth, textHeight);
    top += h + 4;
  }
  for (int i = 0; i < 2; ++i) ScrollBox[i]->widget()->resize(std::max(1, width[i]), position[i]);
}

void TfmFiche::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (shown_) PlaceChamps();
}

void TfmFiche::VersFormulaire(int index) {
  const TzunoFiche* card = fiches_.Item(index);
  if (!card) return;
  fiches_.Remplissage = true;
  for (QWidget* w : findChildren<QWidget*>()) {
    const QString tag = w->property(kHint).toString();
    if (tag.isEmpty()) continue;
    const QString value = card->Value(KeyOf(tag));
    if (auto* edit = qobject_cast<QLineEdit*>(w))
      edit->setText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
      combo->setCurrentText(value);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
      memo->setPlainText(value.isEmpty() ? QString() : value.split(QLatin1Char('|')).join(QLatin1Char('\n')));
  }
  fiches_.Remplissage = false;
  fiches_.Modifie = false;
  sbSauve->setEnabled(false);
  ShowImages();
}

void TfmFiche::DepuisFormulaire(int index) {
  TzunoFiche* card = fiches_.Item(index);
  if (!card) return;
  for (QWidget* w : findChildren<QWidget*>()) {
    const QString tag = w->property(kHint).toString();
    if (tag.isEmpty()) continue;
    QString value;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
      value = edit->text();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
      value = combo->currentText();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
      value = memo->toPlainText().split(QLatin1Char('\n')).join(QLatin1Char('|'));
    else
      continue;
    card->SetValue(KeyOf(tag), value);
  }
  fiches_.Remplissage = false;
  fiches_.Modifie = false;
  sbSauve->setEnabled(false);
}

void TfmFiche::RefreshList() {
  const QSignalBlocker block(lbPers);
  lbPers->clear();
  QStringList names;
  names.reserve(fiches_.Count());
  for (int i = 0; i < fiches_.Count(); ++i) names.append(fiches_.NomPre(*fiches_.Item(i)));
  lbPers->addItems(names);
}

void TfmFiche::Recharge() {
  RefreshList();
  SelectCurrent();
}

void TfmFiche::SelectCurrent() {
  const int current = fiches_.Current();
  {
    const QSignalBlocker block(lbPers);
    lbPers->setCurrentRow(current);
  }
  if (current < 0) return;
  nameAtSelection_ = fiches_.NomPre(*fiches_.Item(current));
  VersFormulaire(current);
}

void TfmFiche::AskSave() {
  if (fiches_.Modifie && AskUser(MLMessage(581), akInformation, abYes | abNo) == arYes) sbSauveClick();
}

void TfmFiche::lbPersClick(int row) {
  if (row < 0 || row >= fiches_.Count() || row == fiches_.Current()) return;
  AskSave();
  fiches_.SetCurrent(row);
  SelectCurrent();
}

void TfmFiche::cb100Change() {
  if (fiches_.Remplissage) return;
  fiches_.Modifie = true;
  sbSauve->setEnabled(true);
}

void TfmFiche::sbSauveClick() {
  const int current = fiches_.Current();
  if (current < 0) return;
  DepuisFormulaire(current);
  const QString name = fiches_.NomPre(*fiches_.Item(current));
  if (name != nameAtSelection_) {
    for (bool logo : {false, true})
      QFile::rename(userPath_ + CardPictureName(nameAtSelection_, logo),
                    userPath_ + CardPictureName(name, logo));
    nameAtSelection_ = name;
  }
  for (int i = 0; i < lbPers->count() && i < fiches_.Count(); ++i)
    lbPers->item(i)->setText(fiches_.NomPre(*fiches_.Item(i)));
}

void TfmFiche::sbAddClick() {
  const QString blank = MLMessage(503);
  for (int i = 0; i < fiches_.Count(); ++i)
    if (fiches_.NomPre(*fiches_.Item(i)) == blank) {
      AskUser(MLMessage(580), akInformation, abOK);
      return;
    }
  // The edits of the shown card would be replaced by the new card's fields.
  AskSave();
  const int index = fiches_.Ajoute(MLMessage(501), MLMessage(502));
  RefreshList();
  fiches_.SetCurrent(index);
  SelectCurrent();
}

void TfmFiche::sbSupprimeClick() {
  if (fiches_.Count() < 2) {
    AskUser(MLMessage(583), akInformation, abOK);
    return;
  }
  if (AskUser(MLMessage(582), akQuestion, abYes | abNo) != arYes) return;
  fiches_.Supprime(fiches_.Current());
  RefreshList();
  fiches_.SetCurrent(0);
  SelectCurrent();
}

void TfmFiche::sbCloseClick() {
  AskSave();
  fiches_.Modifie = false;
  accept();
}

void TfmFiche::reject() {
  sbCloseClick();
}

void TfmFiche::ChoisitImage(bool logo, const QString& pictureFile) {
  const TzunoFiche* card = fiches_.CurrentCard();
  if (!card) return;
  QImage picture = LoadPicture(pictureFile);
  if (picture.isNull()) {
    AskUser(MLText(QStringLiteral("CAD_TXT_IMG3")).replace(QLatin1String("%s"), pictureFile), akWarning,
            abOK);
    return;
  }
  if (picture.width() > kMaxPicture || picture.height() > kMaxPicture)
    picture = picture.scaled(kMaxPicture, kMaxPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  const QString file = logo ? fiches_.LogoFile(userPath_, *card) : fiches_.PhotoFile(userPath_, *card);
  QDir().mkpath(userPath_);
  if (!SaveBmp(picture, file))
    AskUser(MLText(QStringLiteral("FicheImageNonEnregistree")).replace(QLatin1String("%s"), file), akError,
            abOK);
  ShowImages();
}

void TfmFiche::ImporteVCard(const QString& fileName) {
  AskSave();
  TVCardImport import;
  const QString name = QFileInfo(fileName).fileName();
  if (!ReadVCardFile(fileName, import, nullptr)) {
    AskUser(MLText(QStringLiteral("VCardIllisible")).replace(QLatin1String("%s"), name), akWarning, abOK);
    return;
  }
  if (import.Contacts.empty() && import.Skipped == 0) {
    AskUser(MLText(QStringLiteral("VCardAucun")).replace(QLatin1String("%s"), name), akWarning, abOK);
    return;
  }
  int photos = 0;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int added = AjouteContacts(fiches_, import, userPath_, &photos);
  QApplication::restoreOverrideCursor();
  RefreshList();
  SelectCurrent();
  VersFormulaire(fiches_.Current());
  ShowImages();
  QStringList report = {
      MLText(QStringLiteral("VCardImportes")).replace(QLatin1String("%d"), QString::number(added))};
  if (import.Truncated)
    report << MLText(QStringLiteral("VCardLimite"))
                  .replace(QLatin1String("%d"), QString::number(TVCardLimits::kMaxContacts));
  else if (import.Skipped > 0)
    report << MLText(QStringLiteral("VCardSansNom"))
                  .replace(QLatin1String("%d"), QString::number(import.Skipped));
  if (import.PhotosDropped + photos > 0)
    report << MLText(QStringLiteral("VCardPhotos"))
                  .replace(QLatin1String("%d"), QString::number(import.PhotosDropped + photos));
  AskUser(report.join(QLatin1Char('\n')), akInformation, abOK);
}

void TfmFiche::RetireImage(bool logo) {
  const TzunoFiche* card = fiches_.CurrentCard();
  if (!card) return;
  QFile::remove(logo ? fiches_.LogoFile(userPath_, *card) : fiches_.PhotoFile(userPath_, *card));
  ShowImages();
}

void TfmFiche::ShowImages() {
  const TzunoFiche* card = fiches_.CurrentCard();
  const struct {
    QLabel* image;
    QPushButton* remove;
    bool logo;
  } pictures[] = {{imgPhoto, sbRetirePhoto, false}, {imgLogo, sbRetireLogo, true}};
  for (const auto& p : pictures) {
    const QString file =
        card ? (p.logo ? fiches_.LogoFile(userPath_, *card) : fiches_.PhotoFile(userPath_, *card))
             : QString();
    const QImage picture = file.isEmpty() ? QImage() : LoadPicture(file);
    if (picture.isNull()) {
      p.image->setPixmap(QPixmap());
      p.image->setText(MLText(p.logo ? QStringLiteral("FicheSansLogo") : QStringLiteral("FicheSansPhoto")));
    } else {
      // Shrunk to the box when bigger, never enlarged.
      const QSize box = p.image->minimumSize();
      p.image->setPixmap(
          QPixmap::fromImage(picture.width() <= box.width() && picture.height() <= box.height()
                                 ? picture
                                 : picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    p.remove->setEnabled(!picture.isNull());
  }
}

bool ShowRepertoire(QWidget* owner) {
  TzunoFiches* fiches = Fiches();
  TSoft* soft = Soft();
  if (!fiches || !soft) return false;
  Count(QStringLiteral("Show_Fiche"));
  TfmFiche form(owner, *fiches, soft->UserPath);
  const bool ok = form.exec() == QDialog::Accepted;
  fiches->WriteCurrent(*soft);
  // Written now rather than only when the program ends, so no edit is lost on a crash.
  if (!fiches->Store(*soft))
    AskUser(MLText(QStringLiteral("FichesNonEnregistrees")).replace(QLatin1String("%s"), soft->FichesFile),
            akError, abOK);
  return ok;
}
