// The real program started on small installations: each way start-up can stop says exactly what the
// user reads and ends with a failure status; a good start runs until it is asked to end and then
// shuts down completely.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "common/qt_printers.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA);

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An installation beside the shipped one: its own settings, language file and splash, the shipped
// data folder, and its own per-user folders.
class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    home_ = dir_.path() + QStringLiteral("/inst");
    ASSERT_TRUE(QDir().mkpath(home_));
    ASSERT_TRUE(QFile::link(kData + QStringLiteral("/donnees"), home_ + QStringLiteral("/donnees")));
    ini_ = Read(kData + QStringLiteral("/lorvane.ini"));
    Write(home_ + QStringLiteral("/lorvane.ini"), ini_);
    ASSERT_TRUE(QFile::copy(kData + QStringLiteral("/lorvane.tra"), home_ + QStringLiteral("/lorvane.tra")));
    ASSERT_TRUE(QFile::copy(kData + QStringLiteral("/logo.bmp"), home_ + QStringLiteral("/logo.bmp")));
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char* v : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
      env.insert(QString::fromLatin1(v), dir_.path() + QStringLiteral("/user/") + QString::fromLatin1(v));
    env.insert(QStringLiteral("LORVANE_DIALOG_SCRIPT"), dir_.path() + QStringLiteral("/script"));
    env.insert(QStringLiteral("LORVANE_DIALOG_TRANSCRIPT"), transcript());
    return env;
  }

  void Start(const QStringList& args, const QByteArray& script = {}) {
    Write(dir_.path() + QStringLiteral("/script"), script);
    QProcessEnvironment env = Environment();
    env.insert(QStringLiteral("LORVANE_SCREENSHOT_DIR"), shots());
    process_.setProcessEnvironment(env);
    process_.start(QStringLiteral(LORVANE_PROGRAM), QStringList{QStringLiteral("--home"), home_} + args);
    ASSERT_TRUE(process_.waitForStarted());
  }

  // Runs to its end on its own; the exit status.
  int Run(const QStringList& args, const QByteArray& script = {}) {
    Start(args, script);
    if (!process_.waitForFinished(60000)) {
      process_.kill();
      ADD_FAILURE() << "the program did not end";
      return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  // Waits until the log shows the message loop, then asks the program to end as a session would.
  int RunUntilLoopThenEnd(const QStringList& args, const QByteArray& script = {}) {
    Start(args, script);
    for (int i = 0; i < 600 && !Log().contains("Run"); ++i) QThread::msleep(50);
    EXPECT_TRUE(Log().contains("Run")) << Log().toStdString();
    ::kill(pid_t(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(30000)) {
      process_.kill();
      ADD_FAILURE() << "the program did not end";
      return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  QString transcript() const { return dir_.path() + QStringLiteral("/transcript"); }
  QString shots() const { return dir_.path() + QStringLiteral("/shots"); }
  // The windows showing once the loop runs, by object name, from the pictures the program saves of
  // its visible windows on SIGUSR1.
  QStringList ShowingWindows() {
    for (int i = 0; i < 600 && !Log().contains("Run"); ++i) QThread::msleep(50);
    QThread::msleep(500);
    ::kill(pid_t(process_.processId()), SIGUSR1);
    QStringList names;
    for (int i = 0; i < 200 && names.isEmpty(); ++i) {
      QThread::msleep(50);
      names = QDir(shots()).entryList({QStringLiteral("*.png")}, QDir::Files);
    }
    for (QString& n : names) n = n.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0);
    return names;
  }
  // Asks the program to end as a session would; its exit status.
  int End() {
    ::kill(pid_t(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(30000)) {
      process_.kill();
      return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QStringList Said() const {
    QStringList lines = QString::fromUtf8(Read(transcript())).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
  }
  QByteArray Log() const { return Read(home_ + QStringLiteral("/lorvane.log")); }
  // The labels of the log, without their time stamps.
  QStringList LogLabels() const {
    QStringList labels;
    for (const QString& line : QString::fromLatin1(Log()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
      labels << line.trimmed().section(QStringLiteral(" : "), 1);
    return labels;
  }
  void SetIni(const QByteArray& bytes) { Write(home_ + QStringLiteral("/lorvane.ini"), bytes); }

  QTemporaryDir dir_;
  QString home_;
  QByteArray ini_;
  QProcess process_;
};

// "AskUser | kind | buttons | answer | text" of an error box with OK, closed without a button.
QString ErrorBox(const QString& text) {
  return QStringLiteral("AskUser | 1 | 4 | 8 | ") + text;
}

TEST_F(Startup, MissingFilesStopWithTheirLiteralMessages) {
  QFile::remove(home_ + QStringLiteral("/lorvane.tra"));
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Said(), QStringList{ErrorBox(QStringLiteral("Not found : lorvane.tra"))});

  QFile::remove(home_ + QStringLiteral("/lorvane.ini"));
  QFile::remove(transcript());
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Said(),
            QStringList{ErrorBox(QStringLiteral("Not found : ") + home_ + QStringLiteral("/lorvane.ini"))});
}

TEST_F(Startup, AFailedInstallationCheckStopsUnlessDebug) {
  SetIni(QByteArray(ini_).replace("ApercuLarge=160\r\n", ""));
  const QString report = ErrorBox(QStringLiteral("ERREUR : \\nIniVar MANQUANT : ApercuLarge"));
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Said(), QStringList{report});
  EXPECT_TRUE(Log().isEmpty()) << "no logging without debug or Ctrl";

  QFile::remove(transcript());
  EXPECT_EQ(RunUntilLoopThenEnd({QStringLiteral("debug")}), 0);
  EXPECT_EQ(Said(), QStringList{report});
  EXPECT_EQ(LogLabels(), (QStringList{"Initialize",
                                      "MLCreate",
                                      "SoftInitialise",
                                      "Printer",
                                      "ShowLogo",
                                      "InstallFonts",
                                      "FormMain",
                                      "TfmMain.FormCreate Start",
                                      "OK : CreateMain6",
                                      "OK : CreateMain7",
                                      "OK : CreateMain8",
                                      "OK : CreateMain9",
                                      "OK : CreateMain10",
                                      "OK : CreateMain11",
                                      "OK : CreateMain12",
                                      "OK : CreateMain14",
                                      "OK : CreateMain16",
                                      "OK : CreateMain18",
                                      "TfmMain.FormCreate End",
                                      "FormEditeur",
                                      "CreateEditeurStart",
                                      "CreateEditeurStart2",
                                      "CreateEditeurStart3",
                                      "CreateEditeurStart4",
                                      "CreateEditeurStart5",
                                      "CreateEditeurStart6",
                                      "CreateEditeurStart7",
                                      "CreateEditeurStart8",
                                      "CreateEditeurFin",
                                      "FreeLogo",
                                      "Run",
                                      "MLFree",
                                      "DesinstallFont",
                                      "Soft.Free",
                                      "DONE"}));
}

TEST_F(Startup, TheChooserFolderPicksTheSettingsFile) {
  // The folder wins over a lorvane.ini beside it.
  const QString folder = home_ + QStringLiteral("/lorvane/");
  ASSERT_TRUE(QDir().mkpath(folder));
  Write(folder + QStringLiteral("good.ini"), ini_);
  Write(folder + QStringLiteral("broken.INI"), QByteArray(ini_).replace("ApercuHaut=160\r\n", ""));
  Write(folder + QStringLiteral("notes.txt"), "not settings");

  EXPECT_EQ(Run({}, "broken\n"), 1);
  const QStringList said = Said();
  ASSERT_EQ(said.size(), 2) << said.join('\n').toStdString();
  EXPECT_TRUE(said[0].startsWith(QStringLiteral("fmChoixSoft | ")));
  QStringList listed = said[0].section(QStringLiteral(" | "), 1, 1).split(QStringLiteral(", "));
  listed.sort();
  EXPECT_EQ(listed, (QStringList{"broken", "good"}));
  EXPECT_TRUE(said[0].endsWith(QStringLiteral(" | broken")));
  EXPECT_EQ(said[1], ErrorBox(QStringLiteral("ERREUR : \\nIniVar MANQUANT : ApercuHaut")));

  // Closing the chooser without a click names no file.
  QFile::remove(transcript());
  EXPECT_EQ(Run({}, "\n"), 1);
  ASSERT_EQ(Said().size(), 2);
  EXPECT_EQ(Said()[1], ErrorBox(QStringLiteral("Not found : ")));

  // The good one starts.
  QFile::remove(transcript());
  EXPECT_EQ(RunUntilLoopThenEnd({QStringLiteral("debug")}, "good\n"), 0);
  EXPECT_EQ(Said().size(), 1);
}

TEST_F(Startup, SwitchesThatEndAfterTheCheck) {
  EXPECT_EQ(Run({QStringLiteral("copy_cliparts"), dir_.path()}), 0);
  EXPECT_TRUE(Said().isEmpty());

  EXPECT_EQ(Run({QStringLiteral("install_tscc"), dir_.path()}), 1);
  EXPECT_EQ(Said(), QStringList{ErrorBox(QLatin1Char('"') + dir_.path() +
                                         QStringLiteral("/Codec/TSCC.exe\" not found."))});
}

TEST_F(Startup, AMissingSplashPictureIsSkippedSilently) {
  QFile::remove(home_ + QStringLiteral("/logo.bmp"));
  EXPECT_EQ(RunUntilLoopThenEnd({QStringLiteral("debug")}), 0);
  EXPECT_TRUE(Said().isEmpty()) << Said().join('\n').toStdString();
  EXPECT_EQ(LogLabels().last(), QStringLiteral("DONE"));
}

TEST_F(Startup, AFileArgumentOpensInTheEditorRelativePathsToo) {
  // As the desktop entry passes it: a path relative to where the program was started.
  const QString work = dir_.path() + QStringLiteral("/travail");
  ASSERT_TRUE(QDir().mkpath(work));
  ASSERT_TRUE(QFile::copy(kData + QStringLiteral("/donnees/Modeles/CD et DVD/Audio/Foret.1.mdl"),
                          work + QStringLiteral("/Mon disque.mdl")));
  process_.setWorkingDirectory(work);
  Start({QStringLiteral("debug"), QStringLiteral("Mon disque.mdl")});
  EXPECT_EQ(ShowingWindows(), QStringList{QStringLiteral("fmEditeur")});
  EXPECT_EQ(End(), 0);
  // The editor asks its mode, as it does for any document; nothing else is said.
  ASSERT_EQ(Said().size(), 1) << Said().join('\n').toStdString();
  EXPECT_TRUE(Said()[0].startsWith(QStringLiteral("fmModeEdition | ")));
}

TEST_F(Startup, AMissingFileArgumentIsNamedAndTheCatalogueShows) {
  const QString work = dir_.path() + QStringLiteral("/travail");
  ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/dossier.mdl")));
  process_.setWorkingDirectory(work);
  // A missing file, and a folder where a file is expected.
  const struct {
    const char* given;
    const char* message;
  } cases[] = {{"absent.mdl", "Le fichier \"%1/absent.mdl\" est introuvable."},
               {"dossier.mdl", "Le fichier \"%1/dossier.mdl\" ne peut pas être lu."}};
  for (const auto& c : cases) {
    QFile::remove(transcript());
    QDir(shots()).removeRecursively();
    QFile::remove(home_ + QStringLiteral("/lorvane.log"));
    Start({QStringLiteral("debug"), QString::fromUtf8(c.given)});
    EXPECT_EQ(ShowingWindows(), QStringList{QStringLiteral("fmMain")}) << c.given;
    EXPECT_EQ(End(), 0);
    EXPECT_EQ(Said(), QStringList{ErrorBox(QString::fromUtf8(c.message).arg(work))}) << c.given;
  }
}

}  // namespace
