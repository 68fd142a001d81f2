// The installation session every program opens, and the tool resolving files exactly as it does.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"
#include "common/files.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/user_dialogs.h"

namespace {

// An installation with a few pictures, and a per-user folder of its own.
struct SessionFixture : ::testing::Test {
  QTemporaryDir dir;
  QString home, appData;
  void SetUp() override {
    home = dir.filePath(QStringLiteral("home"));
    appData = dir.filePath(QStringLiteral("appdata"));
    WriteAll(home + "/lorvane.ini",
             "[lorvane]\r\ncode=donnees\r\nnom=N\r\nsociete=S\r\nDecimalSeparator=.\r\nu2m=10\r\n"
             "mode_tampon=1\r\npath_tampon=Tampons\\\r\ntampon_modele_defaut=absent.emf\r\n");
    WriteAll(home + "/lorvane.tra", "10;Mes documents;My documents\r\n");
    QImage picture(4, 4, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    QDir().mkpath(home + "/donnees/Images/Fonds");
    QDir().mkpath(home + "/donnees/Prioritaire");
    ASSERT_TRUE(picture.save(home + "/donnees/Images/Fonds/Mer.JPG", "JPG"));
    ASSERT_TRUE(picture.save(home + "/donnees/Prioritaire/fond.png", "PNG"));
  }
  QString Digest(const QString& file) {
    return QString::fromLatin1(QCryptographicHash::hash(ReadAll(file), QCryptographicHash::Md5).toHex());
  }
};

}  // namespace

// Found, found without regard to case, stored with backslashes, missing, and lying beside the
// document (which the program does not look at): the tool and a session resolve them alike, and the
// message about a missing default drawing reaches the user in both.
TEST_F(SessionFixture, TheToolResolvesAsTheProgram) {
  const QString doc = dir.filePath(QStringLiteral("docs/carte.mdl"));
  QImage other(4, 4, QImage::Format_RGB888);
  other.fill(Qt::red);
  QDir().mkpath(dir.filePath(QStringLiteral("docs")));
  ASSERT_TRUE(other.save(dir.filePath(QStringLiteral("docs/beside.png")), "PNG"));
  QByteArray text = "Version=1.2\r\nLarge=100\r\nHaut=100\r\n\r\nFace=1\r\n";
  int n = 0;
  for (const char* name : {"fond.png", "mer.jpg", "C:\\Anciens\\Mer.JPG|0123", "absent.png", "beside.png"}) {
    ++n;
    text += "  Objet=" + QByteArray::number(n) + "\r\n    Name=image\r\n    Code=i" + QByteArray::number(n) +
            "\r\n    x=10\r\n    y=10\r\n    l=5\r\n    h=5\r\n    FichierImage=" + name +
            "\r\n  End\r\n  \r\n";
  }
  text +=
      "  Objet=6\r\n    Name=tampon\r\n    x=50\r\n    y=50\r\n    l=20\r\n    h=20\r\n  End\r\n  "
      "\r\nEnd\r\n\r\n";
  WriteAll(doc, text);

  qputenv("XDG_DATA_HOME", appData.toLocal8Bit());
  const QString out = dir.filePath(QStringLiteral("docs/out.mdl"));
  const CliRun run = Cli({QStringLiteral("--home"), home, QStringLiteral("resave"), doc, out});
  qunsetenv("XDG_DATA_HOME");
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  QStringList byTool;
  ASSERT_TRUE(ReadTextFile(out, byTool));

  TScriptedDialogs dialogs;
  dialogs.Answers = {arOK, arOK};
  TInstallationOptions options;
  options.AppDataPath = appData;
  options.Dialogs = &dialogs;
  options.Fonts = false;
  QString error;
  const auto installation = OpenInstallation(home, options, &error);
  ASSERT_TRUE(installation) << error.toStdString();
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  installation->Connect(d);
  ASSERT_TRUE(d.LoadFromFile(doc));
  const QStringList bySession = d.SaveToStrings();
  EXPECT_EQ(byTool, bySession);

  // Found pictures are stored with the digest of the file found; the others are not found at all.
  const QString fond = home + "/donnees/Prioritaire/fond.png", mer = home + "/donnees/Images/Fonds/Mer.JPG";
  const QString beside = dir.filePath(QStringLiteral("docs/beside.png"));
  const struct {
    const char* name;
    QString resolved;
  } cases[] = {{"fond.png", fond + '|' + Digest(fond)},
               {"mer.jpg", mer + '|' + Digest(mer)},
               {"C:\\Anciens\\Mer.JPG|0123", mer + '|' + Digest(mer)},
               {"absent.png", ""},
               {"beside.png", ""}};
  const QString written = byTool.join('\n');
  for (const auto& c : cases) {
    EXPECT_EQ(installation->ResolveFile(QString::fromLatin1(c.name)), c.resolved) << c.name;
    if (!c.resolved.isEmpty()) {
      EXPECT_TRUE(written.contains(c.resolved.section('|', 1))) << c.name;
    }
  }
  EXPECT_FALSE(written.contains(Digest(beside)));

  ASSERT_FALSE(dialogs.Questions.isEmpty());
  const QString message = dialogs.Questions.first().Text;
  EXPECT_TRUE(message.contains(QStringLiteral("absent.emf"))) << message.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("lorvane-cli: ") + message)) << run.err.toStdString();
}

// The session owns what it sets: one at a time, and its end puts back what was there before.
TEST_F(SessionFixture, OwnsWhatItSets) {
  const QChar separator = DecimalSeparator();
  TInstallationOptions options;
  options.AppDataPath = appData;
  options.Fonts = false;
  {
    QString error;
    const auto installation = OpenInstallation(home, options, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    EXPECT_EQ(Soft(), &installation->Soft());
    EXPECT_NE(ObjectHost(), nullptr);
    EXPECT_NE(UserDialogs(), nullptr);
    EXPECT_EQ(WriteReal(1.5), "1.5");
    EXPECT_EQ(U2M(), 10);
    EXPECT_EQ(installation->Soft().DataPath, home + "/donnees/");
    EXPECT_FALSE(OpenInstallation(home, options, &error));
    EXPECT_FALSE(error.isEmpty());
  }
  EXPECT_EQ(Soft(), nullptr);
  EXPECT_EQ(ObjectHost(), nullptr);
  EXPECT_EQ(UserDialogs(), nullptr);
  EXPECT_EQ(DecimalSeparator(), separator);

  // The program's own messages for a missing settings or language file.
  QString error;
  EXPECT_FALSE(OpenInstallation(dir.filePath(QStringLiteral("nowhere")), options, &error));
  EXPECT_EQ(error, QStringLiteral("Not found : ") + dir.filePath(QStringLiteral("nowhere/lorvane.ini")));
  QFile::remove(home + "/lorvane.tra");
  EXPECT_FALSE(OpenInstallation(home, options, &error));
  EXPECT_EQ(error, QStringLiteral("Not found : lorvane.tra"));
  // A failed opening leaves nothing open.
  WriteAll(home + "/lorvane.tra", "");
  EXPECT_TRUE(OpenInstallation(home, options, &error));
}
