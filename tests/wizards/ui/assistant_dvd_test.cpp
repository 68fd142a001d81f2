// The wizard's add-album mode on the shipped installation: an album looked up from a disc image on a
// loopback server, made from a folder of music files, or made empty; lookup failures leave the album
// base untouched and the wizard on its drive page.
#include "wizards/ui/assistant_dvd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "common/disc_image.h"
#include "common/music_fixtures.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "online/cddb.h"
#include "online/loopback_cddb.h"
#include "records/album_cd.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/user_dialogs.h"

void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

const QByteArray kEntry =
    "210 rock 940b0e0c CD database entry follows\r\n# xmcd\r\nDISCID=940b0e0c\r\n"
    "DTITLE=Les R\xeaveurs / Nuit claire\r\nDYEAR=1999\r\nDGENRE=Chanson\r\nTTITLE0=Aube\r\nTTITLE1=Midi\r\n"
    "TTITLE2=\r\nTTITLE3=Ignored\r\nEXTD=\r\nPLAYORDER=\r\n.\r\n";

class AssistantDVD : public ::testing::Test {
 protected:
  // A fresh installation copy, album base and wizard in the language.
  void Open(const char* language) {
    installation.reset();
    holder = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(holder->isValid());
    dir.setPath(holder->path());
    qputenv("LORVANE_CD_IMAGES", disc_image::MakeDiscImage(dir.path()).toUtf8());
    QString error;
    installation = OpenShippedCopy(dir.path() + "/home", dir.path() + "/user", {language}, &dialogs, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    albums = TzunoAlbumCD();
    albums.FileName = dir.path() + "/albums.def";
    SetAlbumCD(&albums);
    server.Handler = [this](const QByteArray& cmd) {
      return cmd.startsWith("cddb+query") ? queryAnswer : readAnswer;
    };
    wizard = std::make_unique<TfmAssistantDVD>(nullptr, 2);
    wizard->Cddb().TimeoutMs = 300;
    wizard->show();
    language_ = QString::fromLatin1(language).right(1);
  }
  void TearDown() override {
    wizard.reset();
    SetAlbumCD(nullptr);
  }
  int Page() const { return wizard->Pages->currentIndex(); }
  void Shot(const char* name) {
    ::Shot(*wizard, QStringLiteral("assistant_dvd_%1_%2.png").arg(name, language_));
  }

  // Source page → drive page with the loopback server typed in.
  void ToDrivePage() {
    wizard->iAudioSourceCD->click();
    ASSERT_TRUE(wizard->bSui->isEnabled());
    wizard->bSui->click();
    ASSERT_EQ(Page(), TfmAssistantDVD::pDrive);
    ASSERT_GE(wizard->CbDrives->findText("disc.cue"), 0);
    wizard->CbDrives->setCurrentIndex(wizard->CbDrives->findText("disc.cue"));
    wizard->eCDDBServerAddr->setText("127.0.0.1");
    wizard->eCDDBServerPort->setText(server.Port());
  }
  // Answers the album choice when it shows with the row, or cancels it (-1).
  void ChooseWhenAsked(int row) {
    auto* poll = new QTimer(wizard.get());
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll, row] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || dialog->objectName() != "fmImporteTexteChoixAlbum") return;
      poll->deleteLater();
      auto* list = dialog->findChild<QListWidget*>("lbAlbums");
      offered = list->count();
      if (row < 0) return dialog->reject();
      list->setCurrentRow(row);
      dialog->findChild<QPushButton*>("bOK")->click();
    });
    poll->start(5);
  }
  bool Idle() { return !wizard->Cddb().Busy() && !wizard->Cddb().WaitingForRead(); }

  std::unique_ptr<QTemporaryDir> holder;
  QDir dir;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  TzunoAlbumCD albums;
  TLoopbackCddb server;
  std::unique_ptr<TfmAssistantDVD> wizard;
  QByteArray queryAnswer =
      "210 Found exact matches\r\nrock 940b0e0c Les Reveurs / Nuit claire\r\n"
      "jazz 940b0e0c Autre / Disque\r\n.\r\n";
  QByteArray readAnswer = kEntry;
  int offered = 0;
  QString language_;
};

TEST_F(AssistantDVD, LooksAlbumUpChoosesAndAddsIt) {
  for (const char* language : {"Langue=1", "Langue=2"}) {
    SCOPED_TRACE(language);
    TearDown();
    Open(language);
    albums.AjouteAlbum({"cdArtiste=Ancien"});
    Shot("source");
    ToDrivePage();
    ChooseWhenAsked(0);
    wizard->bSui->click();
    EXPECT_TRUE(wizard->bStop->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return Page() == TfmAssistantDVD::pResult; }));
    EXPECT_EQ(offered, 2);
    EXPECT_EQ(TLoopbackCddb::Cmd(server.Targets.back()), "cddb+read+rock+940b0e0c");
    EXPECT_EQ(wizard->eArtiste2->text(), "Les Rêveurs");
    EXPECT_EQ(wizard->eAlbum2->text(), "Nuit claire");
    EXPECT_EQ(wizard->mTitres2->toPlainText(), "Aube\nMidi");
    EXPECT_FALSE(wizard->bStop->isEnabled());
    Shot("result");
    wizard->bPre->click();
    Shot("drive");
    wizard->bSui->click();  // looks up again; the entry now comes from the cache
    ChooseWhenAsked(0);
    ASSERT_TRUE(WaitFor([&] { return Page() == TfmAssistantDVD::pResult; }));
    EXPECT_EQ(albums.Count(), 1);  // nothing written before Finish
    wizard->bSui->click();
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    ASSERT_EQ(albums.Count(), 2);
    EXPECT_EQ(albums.Courant, 1);
    EXPECT_EQ(albums.GetValeur("cdArtiste"), "Les Rêveurs");
    EXPECT_EQ(albums.GetValeur("cdAlbum"), "Nuit claire");
    EXPECT_EQ(albums.GetValeur("cdAnnée"), "1999");
    EXPECT_EQ(albums.GetValeur("cdTitres"), "Aube|Midi|");
    // The server settings typed are kept for the next time.
    EXPECT_EQ(Soft()->ReadUserString("CDDBServeur"), "127.0.0.1");
  }
}

TEST_F(AssistantDVD, LookupFailuresStayOnDrivePageAndWriteNothing) {
  Open("Langue=2");
  ToDrivePage();
  struct Case {
    const char* name;
    TLoopbackCddb::Mode mode;
    QByteArray query, read;
    int choice;
  };
  const QByteArray exact = "200 rock 940b0e0c A / B\r\n";
  const std::vector<Case> cases = {
      {"no match", TLoopbackCddb::Mode::Answer, "202 No match\r\n", "", 0},
      {"handshake", TLoopbackCddb::Mode::Answer, "409 No handshake\r\n", "", 0},
      {"not found", TLoopbackCddb::Mode::Answer, exact, "401 not found\r\n", 0},
      {"corrupt", TLoopbackCddb::Mode::Answer, exact, "403 corrupt\r\n", 0},
      {"choice cancelled", TLoopbackCddb::Mode::Answer, exact, kEntry, -1},
      {"garbage", TLoopbackCddb::Mode::NotHttp, "", "", 0},
      {"silent", TLoopbackCddb::Mode::Silent, "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.Behaviour = c.mode;
    queryAnswer = c.query;
    readAnswer = c.read;
    wizard->Statuts.clear();
    if (c.query.startsWith("200")) ChooseWhenAsked(c.choice);
    wizard->bSui->click();
    ASSERT_TRUE(WaitFor([&] { return Idle() && wizard->bSui->isEnabled(); }));
    EXPECT_EQ(Page(), TfmAssistantDVD::pDrive);
    EXPECT_FALSE(wizard->Statuts.contains("Entry read"));
    EXPECT_FALSE(QFile::exists(albums.FileName));
    EXPECT_FALSE(wizard->findChild<QLabel*>("lbEtat")->text().isEmpty());
  }
  Shot("drive_failed");

  // The user stops a lookup that does not answer; the wizard can look up again at once.
  server.Behaviour = TLoopbackCddb::Mode::Silent;
  wizard->Cddb().TimeoutMs = 60000;
  wizard->bSui->click();
  ASSERT_TRUE(WaitFor([&] { return !server.Targets.isEmpty(); }));
  ASSERT_TRUE(wizard->bStop->isEnabled());
  wizard->bStop->click();
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(wizard->bSui->isEnabled());
  EXPECT_FALSE(wizard->bStop->isEnabled());
  // Cancel on the wizard during a lookup closes it with nothing added.
  wizard->bSui->click();
  wizard->bFermer->click();
  EXPECT_EQ(wizard->result(), QDialog::Rejected);
  EXPECT_FALSE(QFile::exists(albums.FileName));
}

TEST_F(AssistantDVD, EmptyDriveShowsTheMessageAndStays) {
  Open("Langue=1");
  QFile::remove(dir.path() + "/disc.bin");
  QFile::remove(dir.path() + "/disc.cue");
  ToDrivePage();
  dialogs.Answers.push_back(arOK);
  wizard->bSui->click();
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(
      dialogs.Questions[0].Text,
      QString::fromUtf8("Il n'y a pas de disque dans ce lecteur. Insérez le CD audio puis recommencez."));
  EXPECT_EQ(Page(), TfmAssistantDVD::pDrive);
  EXPECT_TRUE(server.Targets.isEmpty());
}

TEST_F(AssistantDVD, AlbumFromFolderOfMusicFiles) {
  for (const char* language : {"Langue=1", "Langue=2"}) {
    SCOPED_TRACE(language);
    TearDown();
    Open(language);
    const QString folder = dir.path() + "/musique";
    QDir().mkpath(folder);
    using music_fixtures::Tags;
    ASSERT_TRUE(
        music_fixtures::WriteMusic(folder + "/b.mp3", Tags{"Deuxième", "Zoé", "Été", "Pop", 2, 2001}, 65));
    ASSERT_TRUE(
        music_fixtures::WriteMusic(folder + "/a.flac", Tags{"Premier", "Zoé", "Été", "Pop", 1, 2001}));
    ASSERT_TRUE(music_fixtures::WriteMusic(folder + "/c.ogg", Tags{"Troisième", "", "", "", 3, 0}));
    wizard->iAudioSourceMP3->click();
    wizard->bSui->click();
    ASSERT_EQ(Page(), TfmAssistantDVD::pMusic);
    EXPECT_FALSE(wizard->bSui->isEnabled());
    wizard->eArtiste4->setText("Typed artist");  // a field the user filled keeps its value
    dialogs.Folders.push_back(folder);
    wizard->bDossier4->click();
    ASSERT_TRUE(WaitFor([&] { return wizard->lbPistes4->count() == 3; }));
    EXPECT_TRUE(wizard->lbPistes4->item(1)->text().startsWith("Deuxième (1:0"));  // and its length
    EXPECT_EQ(wizard->eAlbum4->text(), "Été");
    EXPECT_TRUE(wizard->bSui->isEnabled());
    Shot("music");
    wizard->bSui->click();
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(albums.GetValeur("cdArtiste"), "Typed artist");
    EXPECT_EQ(albums.GetValeur("cdTitres"), "Premier|Deuxième|Troisième|");
    EXPECT_EQ(albums.GetValeur("cdAnnée"), "2001");
  }
}

TEST_F(AssistantDVD, EmptyAlbumIsAddedAndMadeCurrent) {
  Open("Langue=2");
  albums.AjouteAlbum({"cdArtiste=First"});
  wizard->iAudioSourceCD->click();
  // Assistive technologies toggle a source without clicking it; the others go off.
  wizard->iAudioSourceAlbum->toggle();
  EXPECT_FALSE(wizard->iAudioSourceCD->GetActif());
  EXPECT_EQ(wizard->SourceAudio, 3);
  EXPECT_EQ(wizard->bSui->text(), "Finish");
  wizard->bSui->click();
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  EXPECT_EQ(albums.Count(), 2);
  EXPECT_EQ(albums.Courant, 1);
  EXPECT_EQ(albums.GetValeur("cdArtiste"), "New artist");
  EXPECT_EQ(albums.GetValeur("cdAlbum"), "New album");
}

}  // namespace
