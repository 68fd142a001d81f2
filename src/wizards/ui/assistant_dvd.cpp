#include "wizards/ui/assistant_dvd.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "online/cddb.h"
#include "records/album_cd.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/user_dialogs.h"

namespace {

const QString kEntryRead = QStringLiteral("Entry read");
const QString kNoDisc = QStringLiteral("No CD in CD/DVD drive!");
const QString kTransportFailure = QStringLiteral("CDDB Component Internal Error: the HTTP request failed");

// The lookup's status texts as the user reads them: language-file keys by status.
const std::pair<const char*, const char*> kStatusKeys[] = {
    {"Querying CD", "CddbStatut1"},
    {"Found exact match", "CddbStatut2"},
    {"Found exact matches", "CddbStatut3"},
    {"Found inexact matches", "CddbStatut4"},
    {"No match found", "CddbStatut5"},
    {"OK, receiving matches", "CddbStatut6"},
    {"Received matches", "CddbStatut7"},
    {"Reading CD info", "CddbStatut8"},
    {"OK, CDDB database entry follows", "CddbStatut9"},
    {"Specified CDDB entry not found", "CddbStatut10"},
    {"Database entry is corrupt", "CddbStatut11"},
    {"No handshake", "CddbStatut12"},
    {"Selected server not an HTTP server", "CddbStatut13"},
    {"Entry read", "CddbStatut14"},
    {"No CD in CD/DVD drive!", "CddbStatut15"},
    {"No CD-ROM interface detected!", "CddbStatut16"},
};

QString ShownStatus(const QString& status) {
  for (const auto& [text, key] : kStatusKeys)
    if (status == QLatin1String(text)) {
      const QString shown = MLText(QString::fromLatin1(key));
      return shown.isEmpty() ? status : shown;
    }
  if (status.startsWith(kTransportFailure)) {
    const QString shown = MLText(QStringLiteral("CddbStatutErreur"));
    const qsizetype quote = status.indexOf('"');
    const QString cause = quote < 0 ? status : status.mid(quote + 1).chopped(1);
    return shown.isEmpty() ? status : shown + QStringLiteral(" ") + cause;
  }
  return status;
}

QString Text(const char* french) {
  return QString::fromUtf8(french);
}

QLabel* Buddy(QWidget* parent, const char* name, const char* caption, QWidget* field) {
  auto* label = new QLabel(Text(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(field);
  return label;
}

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// A caption without its accelerator and trailing colon, for accessible names.
QString NameOf(QString caption) {
  caption.remove('&');
  while (caption.endsWith(':') || caption.endsWith(' ')) caption.chop(1);
  return caption;
}

// User settings of the lookup server; the defaults are a public server.
const char* const kServerKey = "CDDBServeur";
const char* const kPathKey = "CDDBChemin";
const char* const kPortKey = "CDDBPort";

QString UserSetting(const char* key, const QString& fallback) {
  const QString value = Soft() ? Soft()->ReadUserString(QString::fromLatin1(key)) : QString();
  return value.isEmpty() ? fallback : value;
}

}  // namespace

int ChoixAlbumTrouve(QWidget* owner, const QStringList& matches) {
  QDialog dialog(owner);
  dialog.setObjectName(QStringLiteral("fmImporteTexteChoixAlbum"));
  dialog.setWindowTitle(Text("Albums disponibles"));
  auto* column = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("lbAlbums"));
  list->addItems(matches);
  column->addWidget(list);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("bOK"));
  QPushButton* cancel = buttons->addButton(Text("Annuler"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("bAnnuler"));
  ok->setEnabled(false);
  column->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  // A line chosen by a click or by assistive technologies enables OK.
  QObject::connect(list, &QListWidget::itemSelectionChanged, &dialog,
                   [list, ok] { ok->setEnabled(!list->selectedItems().isEmpty()); });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  TranslateWidget(&dialog);
  list->setAccessibleName(dialog.windowTitle());
  ok->setAccessibleName(ok->text());
  cancel->setAccessibleName(cancel->text());
  dialog.resize(520, 320);
  if (dialog.exec() != QDialog::Accepted || list->selectedItems().isEmpty()) return -1;
  return list->row(list->selectedItems().first());
}

TfmAssistantDVD::TfmAssistantDVD(QWidget* owner, int mode) : QDialog(owner), Mode(mode), cddb_(new TCddb) {
  setObjectName(QStringLiteral("fmAssistantDVD"));
  setWindowTitle(QStringLiteral("Assistant"));
  setMinimumSize(640, 480);
  images_ = new TzunoImageBase(this, Soft() ? Soft()->SkinPath : QString());
  auto* column = new QVBoxLayout(this);
  lbTitre = new QLabel(this);
  lbTitre->setObjectName(QStringLiteral("lbTitre"));
  QFont bold = lbTitre->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  lbTitre->setFont(bold);
  lbSousTitre = new QLabel(this);
  lbSousTitre->setObjectName(QStringLiteral("lbSousTitre"));
  lbSousTitre->setWordWrap(true);
  column->addWidget(lbTitre);
  column->addWidget(lbSousTitre);
  Pages = new QStackedWidget(this);
  column->addWidget(Pages, 1);
  for (int i = 0; i < pCount; ++i) Pages->addWidget(new QWidget(Pages));

  // Page 0: the audio source.
  {
    QWidget* page = Pages->widget(pSource);
    auto* row = new QHBoxLayout(page);
    const struct {
      TzunoImageBtn** button;
      const char* name;
      const char* picture;
      const char* label;
      const char* caption;
    } sources[] = {
        {&iAudioSourceCD, "iAudioSourceCD", "dvd_sourcecd", "lbSourceCD", "CD audio et Internet"},
        {&iAudioSourceMP3, "iAudioSourceMP3", "dvd_sourcemp3", "lbSourceMP3", "Fichiers de musique"},
        {&iAudioSourceAlbum, "iAudioSourceAlbum", Mode == 2 ? "dvd_new" : "dvd_sourcealbum", "lbSourceAlbum",
         "Album existant"},
    };
    row->addStretch(1);
    for (const auto& s : sources) {
      auto* cell = new QVBoxLayout;
      auto* button = new TzunoImageBtn(page);
      button->setObjectName(QString::fromLatin1(s.name));
      button->SetBase(images_);
      button->SetFileName(QString::fromLatin1(s.picture));
      button->SetGroupIndex(1);
      auto* label = new QLabel(Text(s.caption), page);
      label->setObjectName(QString::fromLatin1(s.label));
      label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      label->setWordWrap(true);
      label->setBuddy(button);
      cell->addWidget(button, 0, Qt::AlignHCenter);
      cell->addWidget(label);
      cell->addStretch(1);
      row->addLayout(cell);
      row->addStretch(1);
      *s.button = button;
      // Assistive technologies toggle the button without a click: follow its state.
      connect(button, &QAbstractButton::toggled, this, [this, button](bool on) {
        if (on)
          for (TzunoImageBtn* other : {iAudioSourceCD, iAudioSourceMP3, iAudioSourceAlbum})
            if (other && other != button && other->GetActif()) other->SetActif(false);
        AudioTypeClick();
      });
      if (s.button == &iAudioSourceAlbum) lbAlbumSource = label;
    }
  }

  // Page 1: the drive and the lookup server.
  {
    QWidget* page = Pages->widget(pDrive);
    auto* form = new QFormLayout(page);
    CbDrives = new QComboBox(page);
    CbDrives->setObjectName(QStringLiteral("CbDrives"));
    eCDDBServerAddr = Field(page, "eCDDBServerAddr");
    eCDDBServerAddr2 = Field(page, "eCDDBServerAddr2");
    eCDDBServerPort = Field(page, "eCDDBServerPort");
    eCDDBServerPort->setMaximumWidth(100);
    form->addRow(Buddy(page, "lbDrive", "Lecteur de CD :", CbDrives), CbDrives);
    form->addRow(Buddy(page, "lbServeur", "Serveur de recherche :", eCDDBServerAddr), eCDDBServerAddr);
    form->addRow(Buddy(page, "lbChemin", "Chemin :", eCDDBServerAddr2), eCDDBServerAddr2);
    form->addRow(Buddy(page, "lbPort", "Port :", eCDDBServerPort), eCDDBServerPort);
    lbEtat = new QLabel(page);
    lbEtat->setObjectName(QStringLiteral("lbEtat"));
    lbEtat->setWordWrap(true);
    bStop = new QPushButton(Text("Arrêter la recherche"), page);
    bStop->setObjectName(QStringLiteral("bStop"));
    bStop->setEnabled(false);
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(lbEtat, 1);
    stopRow->addWidget(bStop);
    form->addRow(stopRow);
    lbStatus = new QListWidget(page);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    form->addRow(Buddy(page, "lbHistorique", "Déroulement :", lbStatus), lbStatus);
    eCDDBServerAddr->setText(UserSetting(kServerKey, cddb_->ServerAddr));
    eCDDBServerAddr2->setText(UserSetting(kPathKey, cddb_->ServerAdditionalAddr));
    eCDDBServerPort->setText(UserSetting(kPortKey, cddb_->ServerPort));
    connect(CbDrives, &QComboBox::currentIndexChanged, this, [this] { CbDrivesChange(); });
    connect(bStop, &QPushButton::clicked, this, &TfmAssistantDVD::StopRecherche);
  }

  // Page 2: the entry found.
  {
    QWidget* page = Pages->widget(pResult);
    auto* form = new QFormLayout(page);
    eArtiste2 = Field(page, "eArtiste2");
    eAlbum2 = Field(page, "eAlbum2");
    eAnnee2 = Field(page, "eAnnee2");
    eGenre2 = Field(page, "eGenre2");
    mTitres2 = new QPlainTextEdit(page);
    mTitres2->setObjectName(QStringLiteral("mTitres2"));
    for (QWidget* w : {static_cast<QWidget*>(eArtiste2), static_cast<QWidget*>(eAlbum2),
                       static_cast<QWidget*>(eAnnee2), static_cast<QWidget*>(eGenre2)})
      static_cast<QLineEdit*>(w)->setReadOnly(true);
    mTitres2->setReadOnly(true);
    form->addRow(Buddy(page, "lbArtiste2", "Artiste ou auteur :", eArtiste2), eArtiste2);
    form->addRow(Buddy(page, "lbAlbum2", "Nom de l'album :", eAlbum2), eAlbum2);
    form->addRow(Buddy(page, "lbAnnee2", "Année :", eAnnee2), eAnnee2);
    form->addRow(Buddy(page, "lbGenre2", "Genre :", eGenre2), eGenre2);
    form->addRow(Buddy(page, "lbTitres2", "Titres :", mTitres2), mTitres2);
  }

  // Page 4: music files.
  {
    QWidget* page = Pages->widget(pMusic);
    auto* form = new QFormLayout(page);
    eArtiste4 = Field(page, "eArtiste4");
    eAlbum4 = Field(page, "eAlbum4");
    eAnnee4 = Field(page, "eAnnee4");
    eGenre4 = Field(page, "eGenre4");
    lbPistes4 = new QListWidget(page);
    lbPistes4->setObjectName(QStringLiteral("lbPistes4"));
    form->addRow(Buddy(page, "lbArtiste4", "Artiste ou auteur :", eArtiste4), eArtiste4);
    form->addRow(Buddy(page, "lbAlbum4", "Nom de l'album :", eAlbum4), eAlbum4);
    form->addRow(Buddy(page, "lbAnnee4", "Année :", eAnnee4), eAnnee4);
    form->addRow(Buddy(page, "lbGenre4", "Genre :", eGenre4), eGenre4);
    form->addRow(Buddy(page, "lbPistes", "Titres :", lbPistes4), lbPistes4);
    bFichiers4 = new QPushButton(Text("Ajouter des fichiers..."), page);
    bFichiers4->setObjectName(QStringLiteral("Button2"));
    bDossier4 = new QPushButton(Text("Ajouter un dossier..."), page);
    bDossier4->setObjectName(QStringLiteral("bDossier"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(bDossier4);
    row->addWidget(bFichiers4);
    form->addRow(row);
    connect(bFichiers4, &QPushButton::clicked, this, &TfmAssistantDVD::AjouteFichiers);
    connect(bDossier4, &QPushButton::clicked, this, &TfmAssistantDVD::AjouteDossier);
  }

  // The wizard's buttons; the hidden labels carry the translated captions of Next.
  auto* lSui = new QLabel(Text("Suivant >>"), this);
  lSui->setObjectName(QStringLiteral("lSui"));
  lSui->hide();
  auto* lFin = new QLabel(Text("Terminé"), this);
  lFin->setObjectName(QStringLiteral("lFin"));
  lFin->hide();
  auto* buttons = new QHBoxLayout;
  bPre = new QPushButton(Text("<< Précédent"), this);
  bPre->setObjectName(QStringLiteral("bPre"));
  bSui = new QPushButton(this);
  bSui->setObjectName(QStringLiteral("bSui"));
  bSui->setDefault(true);
  bFermer = new QPushButton(Text("Annuler"), this);
  bFermer->setObjectName(QStringLiteral("bFermer"));
  buttons->addStretch(1);
  for (QPushButton* b : {bPre, bSui, bFermer}) buttons->addWidget(b);
  column->addLayout(buttons);
  connect(bPre, &QPushButton::clicked, this, &TfmAssistantDVD::bPreClick);
  connect(bSui, &QPushButton::clicked, this, &TfmAssistantDVD::bSuiClick);
  connect(bFermer, &QPushButton::clicked, this, &TfmAssistantDVD::reject);

  // The lookup's events arrive on this thread from the event loop.
  cddb_->LocalCDDBPath = Soft() ? Soft()->UserPath + QStringLiteral("cddb/") : QString();
  if (Soft()) cddb_->ClientVersion = QStringLiteral(LORVANE_VERSION);
  cddb_->OnStatusMessage = [this](QObject*, const QString& status) { CddbStatusMessage(status); };
  cddb_->OnDataExchange = [this](QObject*, const QString& line) { Album.append(line); };
  cddb_->OnMatch = [this](QObject*, const QStringList& matches, int& rightOne) {
    CddbMatch(matches, rightOne);
  };

  TranslateWidget(this);
  if (Mode == 2) {
    const QString empty = MLText(QStringLiteral("AssistantDVD2"));
    if (!empty.isEmpty()) lbAlbumSource->setText(empty);
  }
  for (QLabel* label : findChildren<QLabel*>())
    if (label->buddy()) label->buddy()->setAccessibleName(NameOf(label->text()));
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAccessibleName(NameOf(b->text()));
  resize(720, 540);
  ShowPage(pSource);
}

TfmAssistantDVD::~TfmAssistantDVD() {
  cddb_->Cancel();
  if (reader_) {
    readerCancelled_ = true;
    reader_->wait();
  }
}

bool TfmAssistantDVD::AjouteAlbumAssistant(QWidget* owner) {
  Count(QStringLiteral("Show_AssistantDVD_AjouteAlbum"));
  TfmAssistantDVD wizard(owner, 2);
  return wizard.exec() == QDialog::Accepted;
}

void TfmAssistantDVD::ShowPage(int page) {
  Pages->setCurrentIndex(page);
  lbTitre->setText(MLText(QStringLiteral("AssistantDVDTitre%1").arg(page)));
  lbSousTitre->setText(MLText(QStringLiteral("AssistantDVDSousTitre%1").arg(page)));
  switch (page) {
    case pSource:
      bPre->setEnabled(Mode != 2);
      SetSuivant(Mode == 2 && SourceAudio == 3, SourceAudio != 0);
      break;
    case pDrive:
      bPre->setEnabled(true);
      SetSuivant(false, CbDrives->count() > 0);
      break;
    case pResult:
      bPre->setEnabled(true);
      SetSuivant(true, true);
      break;
    case pMusic:
      bPre->setEnabled(true);
      SetSuivant(Mode == 2, !titres4_.isEmpty());
      break;
    default:
      break;
  }
}

void TfmAssistantDVD::SetSuivant(bool finish, bool enabled) {
  const auto* label = findChild<QLabel*>(finish ? QStringLiteral("lFin") : QStringLiteral("lSui"));
  bSui->setText(label->text());
  bSui->setAccessibleName(NameOf(label->text()));
  bSui->setEnabled(enabled);
}

void TfmAssistantDVD::AudioTypeClick() {
  SourceAudio = iAudioSourceCD->GetActif()      ? 1
                : iAudioSourceMP3->GetActif()   ? 2
                : iAudioSourceAlbum->GetActif() ? 3
                                                : 0;
  SetSuivant(Mode == 2 && SourceAudio == 3, SourceAudio != 0);
}

void TfmAssistantDVD::CbDrivesChange() {
  if (CbDrives->currentIndex() >= 0) cddb_->SelectDrive(CbDrives->currentIndex());
}

bool TfmAssistantDVD::AddAlbum(const QStringList& lines) {
  TzunoAlbumCD* base = AlbumCD();
  const int index = base ? base->AjouteAlbum(lines) : -1;
  if (index < 0) {
    AskUser(base ? base->Erreur() : QStringLiteral("?"), akError, abOK);
    return false;
  }
  base->Courant = index;
  return true;
}

void TfmAssistantDVD::bSuiClick() {
  switch (Pages->currentIndex()) {
    case pSource:
      if (SourceAudio == 1) {
        const QSignalBlocker quiet(CbDrives);
        CbDrives->clear();
        for (int i = 0; i < cddb_->DriveCount(); ++i) CbDrives->addItem(cddb_->DriveDescription(i));
        ShowPage(pDrive);
        if (CbDrives->count() > 0) {
          CbDrives->setCurrentIndex(0);
          CbDrivesChange();
        } else {
          ShowStatus(QStringLiteral("No CD-ROM interface detected!"));
        }
      } else if (SourceAudio == 2) {
        ShowPage(pMusic);
      } else if (SourceAudio == 3 && Mode == 2 && AlbumCD()) {
        const TzunoAlbumCD& base = *AlbumCD();
        Album = {base.Cle(akArtiste) + '=' + MLText(QStringLiteral("AssistantDVD3")),
                 base.Cle(akAlbum) + '=' + MLText(QStringLiteral("AssistantDVD4"))};
        if (AddAlbum(Album)) accept();
      }
      return;
    case pDrive: {
      if (cddb_->Busy()) return;
      bool empty = false;
      const auto watch = cddb_->OnStatusMessage;
      cddb_->OnStatusMessage = [&](QObject* s, const QString& status) {
        if (status == kNoDisc) empty = true;
        watch(s, status);
      };
      const bool ok = cddb_->SelectDrive(CbDrives->currentIndex());
      cddb_->OnStatusMessage = watch;
      if (empty) {
        AskUser(MLText(QStringLiteral("AssistantDVD1")), akError, abOK);
        return;
      }
      if (!ok) return;
      cddb_->ServerAddr = eCDDBServerAddr->text().trimmed();
      cddb_->ServerAdditionalAddr = eCDDBServerAddr2->text().trimmed();
      cddb_->ServerPort = eCDDBServerPort->text().trimmed();
      cddb_->ServerType = TServerType::HTTP;
      if (Soft()) {
        Soft()->WriteUserString(QString::fromLatin1(kServerKey), cddb_->ServerAddr);
        Soft()->WriteUserString(QString::fromLatin1(kPathKey), cddb_->ServerAdditionalAddr);
        Soft()->WriteUserString(QString::fromLatin1(kPortKey), cddb_->ServerPort);
      }
      Album.clear();
      cddb_->Query();
      Busy(cddb_->Busy());
      return;
    }
    case pResult:
      if (AddAlbum(Album)) accept();
      return;
    case pMusic: {
      if (!AlbumCD()) return;
      Album = AlbumCD()->AlbumLines(eArtiste4->text().trimmed(), eAlbum4->text().trimmed(),
                                    eAnnee4->text().trimmed(), eGenre4->text().trimmed(), titres4_);
      if (AddAlbum(Album)) accept();
      return;
    }
    default:
      return;
  }
}

void TfmAssistantDVD::bPreClick() {
  switch (Pages->currentIndex()) {
    case pDrive:
    case pMusic:
      StopRecherche();
      ShowPage(pSource);
      return;
    case pResult:
      ShowPage(pDrive);
      return;
    default:
      return;
  }
}

void TfmAssistantDVD::StopRecherche() {
  cddb_->Cancel();
  if (reader_) readerCancelled_ = true;
  Busy(false);
}

void TfmAssistantDVD::reject() {
  StopRecherche();
  QDialog::reject();
}

void TfmAssistantDVD::Busy(bool busy) {
  bStop->setEnabled(busy);
  bSui->setEnabled(!busy && Pages->currentIndex() == pDrive && CbDrives->count() > 0);
  CbDrives->setEnabled(!busy);
  for (QLineEdit* e : {eCDDBServerAddr, eCDDBServerAddr2, eCDDBServerPort}) e->setEnabled(!busy);
  if (busy) {
    bStop->setFocus();
  } else if (!bSui->isEnabled()) {
    bFermer->setFocus();
  }
}

void TfmAssistantDVD::ShowStatus(const QString& status) {
  const QString shown = ShownStatus(status);
  lbEtat->setText(shown);
  lbEtat->setAccessibleName(shown);
  lbStatus->addItem(shown);
  lbStatus->scrollToBottom();
}

void TfmAssistantDVD::CddbMatch(const QStringList& matches, int& rightOne) {
  rightOne = ChoixAlbumTrouve(this, matches);
  if (rightOne < 0) {
    Busy(false);
    return;
  }
  Album.clear();
  // The read starts later, from the event loop, never inside the match event.
  QTimer::singleShot(0, this, &TfmAssistantDVD::WMRead);
}

void TfmAssistantDVD::WMRead() {
  if (cddb_->WaitingForRead()) cddb_->Read();
  Busy(cddb_->Busy());
}

void TfmAssistantDVD::CddbStatusMessage(const QString& status) {
  Statuts.append(status);
  ShowStatus(status);
  if (status == kEntryRead) {
    if (AlbumCD()) AlbumCD()->DepuisEntree(Album);
    const auto value = [this](TAlbumKey key) {
      const QString prefix = AlbumCD() ? AlbumCD()->Cle(key) + '=' : QString();
      for (const QString& line : Album)
        if (line.startsWith(prefix)) return line.mid(prefix.size());
      return QString();
    };
    eArtiste2->setText(value(akArtiste));
    eAlbum2->setText(value(akAlbum));
    eAnnee2->setText(value(akAnnee));
    eGenre2->setText(value(akGenre));
    mTitres2->setPlainText(SplitTitres(value(akTitres)).join('\n'));
    Busy(false);
    ShowPage(pResult);
    return;
  }
  if (!cddb_->Busy() && !cddb_->WaitingForRead()) Busy(false);
}

void TfmAssistantDVD::AjouteFichiers() {
  QStringList patterns;
  for (const QString& suffix : MusicFileSuffixes()) patterns << QStringLiteral("*.") + suffix;
  const QStringList files = QFileDialog::getOpenFileNames(
      this, bFichiers4->text(), QStandardPaths::writableLocation(QStandardPaths::MusicLocation),
      NameOf(findChild<QLabel*>(QStringLiteral("lbSourceMP3"))->text()) + QStringLiteral(" (") +
          patterns.join(' ') + ')');
  if (!files.isEmpty()) ReadMusic(files, QString());
}

void TfmAssistantDVD::AjouteDossier() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (BrowseFolder(NameOf(bDossier4->text()), folder)) ReadMusic({}, folder);
}

// Tags are read on a worker thread, so a large folder never stops the window; the result comes back
// to this thread.
void TfmAssistantDVD::ReadMusic(const QStringList& files, const QString& folder) {
  if (reader_) return;
  readerCancelled_ = false;
  bDossier4->setEnabled(false);
  bFichiers4->setEnabled(false);
  QPointer<TfmAssistantDVD> self(this);
  auto result = std::make_shared<TMusicAlbum>();
  reader_ = QThread::create([files, folder, result] {
    *result = folder.isEmpty() ? AlbumDepuisFichiers(files) : AlbumDepuisDossier(folder);
  });
  connect(reader_, &QThread::finished, this, [this, result] {
    reader_->deleteLater();
    reader_ = nullptr;
    bDossier4->setEnabled(true);
    bFichiers4->setEnabled(true);
    if (!readerCancelled_) MusicRead(*result);
  });
  reader_->start();
}

void TfmAssistantDVD::MusicRead(const TMusicAlbum& album) {
  // The fields keep what they hold; empty ones take the files' values.
  for (auto [edit, value] : {std::pair{eArtiste4, album.Artist}, std::pair{eAlbum4, album.Album},
                             std::pair{eAnnee4, album.Year}, std::pair{eGenre4, album.Genre}})
    if (edit->text().trimmed().isEmpty()) edit->setText(value);
  const QStringList titles = album.Titres();
  for (size_t i = 0; i < album.Tracks.size(); ++i) {
    const TMusicTrack& track = album.Tracks[i];
    const QString title = titles.value(qsizetype(i));
    if (title.trimmed().isEmpty()) continue;
    titres4_.append(title);
    const int seconds = track.DurationMs / 1000;
    lbPistes4->addItem(seconds > 0 ? QStringLiteral("%1 (%2:%3)")
                                         .arg(title)
                                         .arg(seconds / 60)
                                         .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                   : title);
  }
  SetSuivant(Mode == 2, !titres4_.isEmpty());
}
