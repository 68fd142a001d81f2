#include "records/ui/album_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "common/files.h"
#include "common/music_fixtures.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "records/album_cd.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

// The shipped installation (skin glyphs, language file) with a base of three albums, the second
// current.
struct AlbumDialog : ::testing::Test {
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  TzunoAlbumCD* base = nullptr;

  void Open(const QStringList& settings = {}) {
    QString error;
    installation = OpenShippedCopy(dir.filePath("inst"), dir.filePath("user"), settings, &dialogs, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    base = &installation->Albums();
    // The user's own, empty base (else the installation's album comes first).
    WriteAll(base->FileName, "");
    for (const char* a : {"Alpha", "Beta", "Gamma"})
      ASSERT_GE(base->AjouteAlbum(base->AlbumLines(a, QString(a) + " album", "2001", "Pop", {"t1", "t2"})), 0);
    base->Courant = 1;
  }
  void TearDown() override {
    TfmAlbumCD::AddAlbumHook = nullptr;
    installation.reset();
  }
  QStringList List() {
    QStringList list;
    base->ListeAlbums(list);
    return list;
  }
};

}  // namespace

// Opening shows the current album; clicking another writes the fields first; "Fermer" puts back
// the album current at opening, "Sélectionner" keeps the chosen one.
TEST_F(AlbumDialog, FieldsAreWrittenBeforeAnotherAlbumAndClosingRestoresTheCurrentOne) {
  Open();
  {
    TfmAlbumCD dialog(nullptr, *base);
    dialog.show();
    EXPECT_EQ(dialog.minimumSize(), dialog.size());
    EXPECT_EQ(dialog.lbAlbums->count(), 3);
    EXPECT_EQ(dialog.lbAlbums->currentRow(), 1);
    EXPECT_EQ(dialog.eArtiste->text(), "Beta");
    EXPECT_EQ(dialog.reTitres->toPlainText(), "t1\nt2");
    EXPECT_EQ(dialog.eArtiste->toolTip(), "<cdArtiste>");

    dialog.eArtiste->setText("Bêta");
    dialog.reTitres->setPlainText("un\n\n  deux  \n");
    dialog.lbAlbums->setCurrentRow(2);
    EXPECT_EQ(base->Valeur(1, "cdartiste"), "Bêta");
    EXPECT_EQ(base->Valeur(1, "cdtitres"), "un|deux|");
    EXPECT_EQ(dialog.lbAlbums->item(1)->text(), "Bêta - Beta album");
    EXPECT_EQ(dialog.eArtiste->text(), "Gamma");
    EXPECT_EQ(base->Courant, 2);

    dialog.eAnnee->setText("1999");
    dialog.bFermer->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(base->Courant, 1);
    EXPECT_EQ(base->Valeur(2, "cdannée"), "1999");
  }
  {
    TfmAlbumCD dialog(nullptr, *base);
    dialog.show();
    dialog.lbAlbums->setCurrentRow(0);
    dialog.eGenre->setText("Jazz");
    dialog.bSelectionner->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(base->Courant, 0);
    EXPECT_EQ(base->GetValeur("cdgenre"), "Jazz");
  }
  EXPECT_TRUE(dialogs.Questions.isEmpty());
}

// Deleting asks first, never deletes the last album, and makes album 0 current; closing then
// returns to the album current at opening where it moved.
TEST_F(AlbumDialog, DeletingAsksAndKeepsTheLastAlbum) {
  Open();
  base->Courant = 2;
  TfmAlbumCD dialog(nullptr, *base);
  dialog.show();
  dialogs.Answers = {arNo, arYes};
  dialog.lbAlbums->setCurrentRow(0);
  dialog.bSupprimer->click();  // No
  EXPECT_EQ(List().size(), 3);
  dialog.bSupprimer->click();  // Yes: Alpha goes
  EXPECT_EQ(List(), QStringList({"Beta - Beta album", "Gamma - Gamma album"}));
  EXPECT_EQ(dialog.lbAlbums->count(), 2);
  EXPECT_EQ(base->Courant, 0);
  EXPECT_EQ(dialog.eArtiste->text(), "Beta");
  ASSERT_EQ(dialogs.Questions.size(), 2);
  EXPECT_EQ(dialogs.Questions[0].Text, "Etes-vous sur de vouloir supprimer cet album ?");
  EXPECT_EQ(dialogs.Questions[0].Buttons, abYes | abNo);

  dialogs.Answers = {arYes, arOK};
  dialog.bSupprimer->click();
  EXPECT_EQ(List(), QStringList({"Gamma - Gamma album"}));
  dialog.bSupprimer->click();
  EXPECT_EQ(List().size(), 1);
  EXPECT_EQ(dialogs.Questions.back().Text, "Vous ne pouvez pas supprimer le dernier Album.");
  EXPECT_EQ(dialogs.Questions.back().Kind, akInformation);
  dialog.bFermer->click();
  EXPECT_EQ(base->Courant, 0);  // Gamma, current at opening, is album 0 now
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join("; ").toStdString();
}

// "Ajouter" opens the add-album window when one is set; without it, it offers an empty album or a
// folder of music files. Each new album becomes current and is shown.
TEST_F(AlbumDialog, AddingAnAlbumShowsIt) {
  Open();
  TfmAlbumCD dialog(nullptr, *base);
  dialog.show();
  QList<int> choices = {0, 2, 2, 1};  // cancelled, a folder twice, an empty album
  dialog.NouvelAlbum = [&choices](QWidget*) { return choices.takeFirst(); };
  dialog.eArtiste->setText("Beta bis");
  dialog.bAjouter->click();
  EXPECT_EQ(base->Valeur(1, "cdartiste"), "Beta bis");  // written before adding
  EXPECT_EQ(List().size(), 3);

  const QString music = dir.filePath("music");
  QDir().mkpath(music);
  ASSERT_TRUE(music_fixtures::WriteMusic(music + "/02.mp3", {"Second", "Duo", "Ensemble", "Rock", 2, 2010}));
  ASSERT_TRUE(music_fixtures::WriteMusic(music + "/01.flac", {"Premier", "Duo", "Ensemble", "Rock", 1, 2010}));
  dialogs.Folders = {music, dir.path()};
  dialogs.Answers = {arOK};
  dialog.bAjouter->click();
  EXPECT_EQ(dialog.lbAlbums->count(), 4);
  EXPECT_EQ(dialog.lbAlbums->currentRow(), 3);
  EXPECT_EQ(dialog.eArtiste->text(), "Duo");
  EXPECT_EQ(dialog.eAlbum->text(), "Ensemble");
  EXPECT_EQ(dialog.reTitres->toPlainText(), "Premier\nSecond");
  // A folder without music: told, nothing added.
  dialog.bAjouter->click();
  EXPECT_EQ(List().size(), 4);
  EXPECT_TRUE(dialogs.Questions.back().Text.startsWith("Aucun fichier musical"));

  dialog.bAjouter->click();
  EXPECT_EQ(dialog.lbAlbums->currentRow(), 4);
  EXPECT_EQ(dialog.eArtiste->text(), "Nouvel artiste");
  EXPECT_EQ(dialog.eAlbum->text(), "Nouvel album");

  TfmAlbumCD::AddAlbumHook = [this](QWidget*) {
    base->Courant = base->AjouteAlbum({"cdArtiste=Par la fenêtre"});
    return true;
  };
  dialog.bAjouter->click();
  EXPECT_EQ(dialog.lbAlbums->count(), 6);
  EXPECT_EQ(dialog.eArtiste->text(), "Par la fenêtre");
}

// The selection mode hides "Ajouter" and "Supprimer"; "Sélectionner" and "Fermer" move left.
TEST_F(AlbumDialog, SelectionModeHidesAddAndDelete) {
  Open();
  TfmAlbumCD full(nullptr, *base), choice(nullptr, *base, true);
  full.show();
  choice.show();
  EXPECT_TRUE(choice.bAjouter->isHidden());
  EXPECT_TRUE(choice.bSupprimer->isHidden());
  EXPECT_EQ(choice.bSelectionner->x(), full.bAjouter->x());
  EXPECT_LT(choice.bFermer->x(), full.bFermer->x());
  for (QPushButton* b : {full.bAjouter, full.bSupprimer, full.bSelectionner, full.bFermer})
    EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();  // the skin's glyphs
}

// A base that cannot be read is said so and never written; an empty one gets what is typed as its
// first album.
TEST_F(AlbumDialog, UnreadableBasesAreNotWrittenAndEmptyOnesStartWithWhatIsTyped) {
  Open();
  const QString file = base->FileName;
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkpath(file));  // a folder where the file should be
  dialogs.Answers = {arOK};
  {
    TfmAlbumCD dialog(nullptr, *base);
    dialog.show();
    ASSERT_EQ(dialogs.Questions.size(), 1);
    EXPECT_EQ(dialogs.Questions[0].Kind, akError);
    EXPECT_TRUE(dialog.eArtiste->isReadOnly());
    EXPECT_FALSE(dialog.bAjouter->isEnabled());
    dialog.eArtiste->setText("x");
    dialog.bFermer->click();
  }
  EXPECT_TRUE(QFileInfo(file).isDir());
  ASSERT_TRUE(QDir(file).removeRecursively());
  base->InstalledFileName.clear();
  {
    TfmAlbumCD dialog(nullptr, *base);
    dialog.show();
    EXPECT_EQ(dialog.lbAlbums->count(), 0);
    dialog.eArtiste->setText("Premier");
    dialog.reTitres->setPlainText("a\nb");
    dialog.bFermer->click();
  }
  EXPECT_EQ(List(), QStringList({"Premier - "}));
  EXPECT_EQ(base->Valeur(0, "cdtitres"), "a|b|");
}

// The window in French and in English: captions, glyphs, nothing cut.
TEST_F(AlbumDialog, LooksRightInBothLanguages) {
  for (const char* language : {"Langue=1", "Langue=2"}) {
    installation.reset();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    Open({language});
    TfmAlbumCD dialog(nullptr, *base);
    dialog.show();
    const bool french = QString(language).endsWith('1');
    EXPECT_EQ(dialog.windowTitle(), french ? "Albums CD" : "CD albums");
    EXPECT_EQ(dialog.bSelectionner->text(), french ? "Sélectionner" : "Select");
    EXPECT_EQ(dialog.eAlbum->accessibleName(), french ? "Nom de l'album" : "Album title");
    for (QPushButton* b : {dialog.bAjouter, dialog.bSupprimer, dialog.bSelectionner, dialog.bFermer})
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
    Shot(dialog, QString("album-dialog-%1.png").arg(QString(language).right(1)));
  }
}
