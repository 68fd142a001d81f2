#include "records/ui/album_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "records/album_cd.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

std::function<bool(QWidget*)> TfmAlbumCD::AddAlbumHook;

namespace {

// A language text with its "%s" replaced.
QString Message(const char* key, const QString& arg = QString()) {
  QString text = MLText(QString::fromLatin1(key));
  return arg.isNull() ? text : text.replace(QStringLiteral("%s"), arg);
}

QString NameOf(const QString& caption) {
  QString name = caption;
  name.remove(QLatin1Char('&'));
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  return name.trimmed();
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const char* glyph) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  if (Soft()) {
    const QImage picture = skinui::LoadSkinPicture(Soft()->SkinPath, QString::fromLatin1(glyph) + ".bmp");
    if (!picture.isNull()) {
      b->setIcon(skinui::KeyedPixmap(picture));
      b->setIconSize(picture.size());
    }
  }
  return b;
}

}  // namespace

QStringList TfmAlbumCD::Tags(const TzunoAlbumCD& base) {
  QStringList tags;
  for (const QString& key : base.Cles)
    if (!key.isEmpty()) tags << QLatin1Char('<') + key + QLatin1Char('>');
  return tags;
}

TfmAlbumCD::TfmAlbumCD(QWidget* owner, TzunoAlbumCD& base, bool selection) : QDialog(owner), base_(base) {
  setObjectName(QStringLiteral("fmAlbumCD"));
  setWindowTitle(QStringLiteral("Albums CD"));
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  column->addLayout(row, 1);

  auto* left = new QVBoxLayout;
  auto* lbListe = new QLabel(QStringLiteral("Albums :"), this);
  lbListe->setObjectName(QStringLiteral("lbListe"));
  lbAlbums = new QListWidget(this);
  lbAlbums->setObjectName(QStringLiteral("lbAlbums"));
  lbAlbums->setMinimumWidth(230);
  lbListe->setBuddy(lbAlbums);
  left->addWidget(lbListe);
  left->addWidget(lbAlbums, 1);
  row->addLayout(left, 2);

  auto* grid = new QGridLayout;
  struct Field {
    QLineEdit** edit;
    const char *name, *label, *caption;
    TAlbumKey key;
  } fields[] = {
      {&eArtiste, "eArtiste", "lbArtiste", "Artiste ou auteur :", akArtiste},
      {&eAlbum, "eAlbum", "lbAlbum", "Nom de l'album :", akAlbum},
      {&eAnnee, "eAnnee", "lbAnnee", "Année :", akAnnee},
      {&eGenre, "eGenre", "lbGenre", "Genre :", akGenre},
  };
  QList<QLabel*> captions;
  int r = 0;
  for (const Field& f : fields) {
    auto* caption = new QLabel(QString::fromUtf8(f.caption), this);
    caption->setObjectName(QString::fromLatin1(f.label));
    *f.edit = new QLineEdit(this);
    (*f.edit)->setObjectName(QString::fromLatin1(f.name));
    (*f.edit)->setToolTip(QLatin1Char('<') + base.Cle(f.key) + QLatin1Char('>'));
    caption->setBuddy(*f.edit);
    grid->addWidget(caption, r, 0);
    grid->addWidget(*f.edit, r++, 1);
    captions << caption;
  }
  eAnnee->setMaxLength(16);
  auto* lbTitres = new QLabel(QStringLiteral("Titres (un par ligne) :"), this);
  lbTitres->setObjectName(QStringLiteral("lbTitres"));
  reTitres = new QPlainTextEdit(this);
  reTitres->setObjectName(QStringLiteral("reTitres"));
  reTitres->setToolTip(QLatin1Char('<') + base.Cle(akTitres) + QLatin1Char('>'));
  reTitres->setTabChangesFocus(true);
  lbTitres->setBuddy(reTitres);
  captions << lbTitres;
  grid->addWidget(lbTitres, r++, 0, 1, 2);
  grid->addWidget(reTitres, r, 0, 1, 2);
  grid->setRowStretch(r, 1);
  row->addLayout(grid, 3);

  // The commands from the left: hidden ones leave no gap.
  auto* buttons = new QHBoxLayout;
  bAjouter = Button(this, "bAjouter", QStringLiteral("Ajouter"), "btn_album_add");
  bSupprimer = Button(this, "bSupprimer", QStringLiteral("Supprimer"), "btn_album_del");
  bSelectionner = Button(this, "bSelectionner", QString::fromUtf8("Sélectionner"), "btn_album_select");
  bFermer = Button(this, "bFermer", QStringLiteral("Fermer"), "btn_album_close");
  for (QPushButton* b : {bAjouter, bSupprimer, bSelectionner, bFermer}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  column->addLayout(buttons);
  bSelectionner->setDefault(true);
  if (selection) {
    bAjouter->hide();
    bSupprimer->hide();
  }

  // The selection, not the current row: assistive technologies select rows without moving the
  // current one.
  lbAlbums->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(lbAlbums, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = lbAlbums->selectedItems();
    const int row = selected.isEmpty() ? -1 : lbAlbums->row(selected.front());
    if (row >= 0 && row != base_.Courant) lbAlbumsClick(row);
  });
  connect(bAjouter, &QPushButton::clicked, this, &TfmAlbumCD::bAjouterClick);
  connect(bSupprimer, &QPushButton::clicked, this, &TfmAlbumCD::bSupprimerClick);
  connect(bSelectionner, &QPushButton::clicked, this, &TfmAlbumCD::bSelectionnerClick);
  connect(bFermer, &QPushButton::clicked, this, &TfmAlbumCD::bFermerClick);

  TranslateWidget(this);
  // Fields are named by their captions, as translated.
  lbAlbums->setAccessibleName(NameOf(lbListe->text()));
  for (QLabel* c : captions) c->buddy()->setAccessibleName(NameOf(c->text()));
  resize(720, 440);
}

void TfmAlbumCD::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  setMinimumSize(size());
  ouverture_ = base_.Courant;
  if (!base_.Lisible()) Refuser();
  Remplir();
}

void TfmAlbumCD::Refuser() {
  readOnly_ = true;
  AskUser(Message("AlbumCDIllisible", base_.FileName), akError, abOK);
  for (QWidget* w : {static_cast<QWidget*>(bAjouter), static_cast<QWidget*>(bSupprimer)})
    w->setEnabled(false);
  for (QLineEdit* e : {eArtiste, eAlbum, eAnnee, eGenre}) e->setReadOnly(true);
  reTitres->setReadOnly(true);
}

void TfmAlbumCD::Remplir() {
  QStringList list;
  base_.ListeAlbums(list);
  {
    const QSignalBlocker quiet(lbAlbums);
    lbAlbums->clear();
    lbAlbums->addItems(list);
    if (base_.Courant >= list.size()) base_.Courant = 0;
    lbAlbums->setCurrentRow(list.isEmpty() ? -1 : base_.Courant);
  }
  Afficher();
}

void TfmAlbumCD::Afficher() {
  eArtiste->setText(base_.GetValeur(base_.Cle(akArtiste)));
  eAlbum->setText(base_.GetValeur(base_.Cle(akAlbum)));
  eAnnee->setText(base_.GetValeur(base_.Cle(akAnnee)));
  eGenre->setText(base_.GetValeur(base_.Cle(akGenre)));
  reTitres->setPlainText(SplitTitres(base_.GetValeur(base_.Cle(akTitres))).join(QLatin1Char('\n')));
}

bool TfmAlbumCD::Ecrire() {
  if (readOnly_) return true;
  const QString artiste = eArtiste->text(), album = eAlbum->text(), annee = eAnnee->text(),
                genre = eGenre->text();
  const QStringList titres = reTitres->toPlainText().split(QLatin1Char('\n'));
  const QString stored = base_.GetValeur(base_.Cle(akTitres));
  // Nothing typed changes nothing: the file is left as it is.
  if (artiste.trimmed() == base_.GetValeur(base_.Cle(akArtiste)) &&
      album.trimmed() == base_.GetValeur(base_.Cle(akAlbum)) &&
      annee.trimmed() == base_.GetValeur(base_.Cle(akAnnee)) &&
      genre.trimmed() == base_.GetValeur(base_.Cle(akGenre)) && JoinTitres(titres) == stored &&
      base_.Courant < base_.Count())
    return true;
  bool ok;
  if (base_.Courant >= base_.Count()) {
    // An empty base: what is typed becomes its first album.
    const int index = base_.AjouteAlbum(
        base_.AlbumLines(artiste.trimmed(), album.trimmed(), annee.trimmed(), genre.trimmed(), titres));
    ok = index >= 0;
    if (ok) base_.Courant = index;
  } else {
    ok = base_.EcritAlbum(base_.Courant, artiste, titres, genre, annee, album);
  }
  if (!ok) AskUser(Message("AlbumCDEcriture", base_.FileName), akError, abOK);
  return ok;
}

void TfmAlbumCD::lbAlbumsClick(int row) {
  Ecrire();
  base_.Courant = row;
  QStringList list;
  base_.ListeAlbums(list);
  // The written album's entry follows its new artist and title.
  for (int i = 0; i < list.size() && i < lbAlbums->count(); ++i)
    if (lbAlbums->item(i)->text() != list[i]) lbAlbums->item(i)->setText(list[i]);
  Afficher();
}

void TfmAlbumCD::bAjouterClick() {
  if (readOnly_) return;
  Ecrire();
  if (AddAlbumHook) {
    if (AddAlbumHook(this)) Remplir();
    return;
  }
  const int source = NouvelAlbum ? NouvelAlbum(this) : ChoixNouvelAlbum(this);
  if ((source == 1 && AjouteAlbumVide(base_)) || (source == 2 && AjouteAlbumDossier(this, base_))) Remplir();
}

void TfmAlbumCD::bSupprimerClick() {
  if (readOnly_) return;
  if (base_.Count() < 2) {
    AskUser(Message("AlbumCDDernier"), akInformation, abOK);
    return;
  }
  if (AskUser(Message("AlbumCDSupprimer"), akQuestion, abYes | abNo) != arYes) return;
  const int row = base_.Courant;  // the selected album
  if (!base_.SupprimeAlbum(row)) {
    AskUser(Message("AlbumCDEcriture", base_.FileName), akError, abOK);
    return;
  }
  base_.Courant = 0;
  if (ouverture_ == row)
    ouverture_ = 0;
  else if (ouverture_ > row)
    --ouverture_;  // the album current at opening moved up
  Remplir();
}

void TfmAlbumCD::bSelectionnerClick() {
  Ecrire();
  accept();
}

void TfmAlbumCD::bFermerClick() {
  Ecrire();
  base_.Courant = ouverture_ < base_.Count() ? ouverture_ : 0;
  QDialog::reject();
}

void TfmAlbumCD::reject() {
  bFermerClick();
}

bool ShowAlbumsCD(QWidget* owner) {
  Count(QStringLiteral("Show_AlbumCD"));
  if (!AlbumCD()) return false;
  TfmAlbumCD dialog(owner, *AlbumCD());
  return dialog.exec() == QDialog::Accepted;
}

bool ChoixAlbum(QWidget* owner) {
  Count(QStringLiteral("Show_AlbumCD_SelectionAlbum"));
  if (!AlbumCD()) return false;
  TfmAlbumCD dialog(owner, *AlbumCD(), true);
  return dialog.exec() == QDialog::Accepted;
}

bool AjouteAlbumVide(TzunoAlbumCD& base) {
  const int index =
      base.AjouteAlbum({base.Cle(akArtiste) + QLatin1Char('=') + MLText(QStringLiteral("AssistantDVD3")),
                        base.Cle(akAlbum) + QLatin1Char('=') + MLText(QStringLiteral("AssistantDVD4"))});
  if (index < 0) {
    AskUser(Message("AlbumCDEcriture", base.FileName), akError, abOK);
    return false;
  }
  base.Courant = index;
  return true;
}

bool AjouteAlbumDossier(QWidget* owner, TzunoAlbumCD& base) {
  QString folder = Soft() ? Soft()->ReadUserString(QStringLiteral("AlbumMusiquePath")) : QString();
  if (!BrowseFolder(Message("AlbumCDDossier"), folder)) return false;
  if (Soft()) Soft()->WriteUserString(QStringLiteral("AlbumMusiquePath"), folder);
  const TMusicAlbum album = AlbumDepuisDossier(folder);
  if (album.Tracks.empty()) {
    AskUser(Message("AlbumCDAucunFichier", QDir::toNativeSeparators(folder)), akInformation, abOK);
    return false;
  }
  const int index = base.AjouteAlbum(album.AlbumLines(base));
  if (index < 0) {
    AskUser(Message("AlbumCDEcriture", base.FileName), akError, abOK);
    return false;
  }
  base.Courant = index;
  return true;
}

namespace {

// A question answered by one of a few choices: 1 for the first, 2 for the second…, 0 when
// cancelled. OK is enabled once a choice is made.
int Choix(QWidget* owner, const char* name, const QString& title, const QString& question,
          const QList<QPair<const char*, QString>>& choices) {
  QDialog dialog(owner);
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowTitle(title);
  auto* column = new QVBoxLayout(&dialog);
  auto* label = new QLabel(question, &dialog);
  label->setObjectName(QStringLiteral("lbQuestion"));
  column->addWidget(label);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* ok = box->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("bOK"));
  ok->setEnabled(false);
  QList<QRadioButton*> radios;
  for (const auto& [object, caption] : choices) {
    auto* radio = new QRadioButton(caption, &dialog);
    radio->setObjectName(QString::fromLatin1(object));
    QObject::connect(radio, &QRadioButton::toggled, ok, [ok] { ok->setEnabled(true); });
    column->addWidget(radio);
    radios << radio;
  }
  column->addStretch(1);
  column->addWidget(box);
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  TranslateWidget(&dialog);
  dialog.setMinimumWidth(340);
  if (dialog.exec() != QDialog::Accepted) return 0;
  for (int i = 0; i < radios.size(); ++i)
    if (radios[i]->isChecked()) return i + 1;
  return 0;
}

}  // namespace

int ChoixSourceDonnees(QWidget* owner) {
  Count(QStringLiteral("Show_AssistantDVD_ChoixFicheAlbum"));
  return Choix(owner, "fmChoixSource", QString::fromUtf8("Données"),
               QString::fromUtf8("Quelles données voulez-vous modifier ?"),
               {{"iRepertoire", QString::fromUtf8("Répertoire")}, {"iAlbumCD", QStringLiteral("Album CD")}});
}

int ChoixNouvelAlbum(QWidget* owner) {
  return Choix(owner, "fmNouvelAlbum", QStringLiteral("Ajouter un album"),
               QStringLiteral("D'où vient le nouvel album ?"),
               {{"iVide", QStringLiteral("Nouvel album vide")},
                {"iDossier", QStringLiteral("Depuis un dossier de musique...")}});
}
