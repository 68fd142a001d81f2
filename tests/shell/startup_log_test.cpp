#include "shell/startup_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "common/files.h"
#include "shell/counters.h"
#include "shell/settings.h"

namespace {

// Per-user folders of the test mode, so that fallbacks never touch the real home.
struct UserFolders : ::testing::Test {
  UserFolders() { QStandardPaths::setTestModeEnabled(true); }
  ~UserFolders() override {
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lorvane"))
        .removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
    LogStart(false, QString());
  }
  QTemporaryDir tmp;
};

}  // namespace

TEST_F(UserFolders, LogWritesStampedLinesOnlyWhenOn) {
  const QString log = tmp.filePath(QStringLiteral("lorvane.log"));
  WriteAll(log, "from the previous run\n");
  LogStart(true, tmp.path());
  EXPECT_EQ(LogFile(), log);
  EXPECT_FALSE(QFile::exists(log));  // the old log goes at start

  const QDateTime before = QDateTime::currentDateTime();
  Log(QStringLiteral("Initialize"));
  Log(QStringLiteral("EXCEPT : FormMain é"));
  const QDateTime after = QDateTime::currentDateTime();
  const QStringList lines = QString::fromUtf8(ReadAll(log)).split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[2], "");
  for (int i = 0; i < 2; ++i) {
    const QString stamp = lines[i].section(QStringLiteral(" : "), 0, 0);
    EXPECT_TRUE(stamp == LogTimeStamp(before) || stamp == LogTimeStamp(after)) << lines[i].toStdString();
  }
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" : Initialize")));
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" : EXCEPT : FormMain é")));

  // Seconds are shown; the time zone is not.
  const QString stamp = LogTimeStamp(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
  EXPECT_TRUE(stamp.contains(QStringLiteral("07:09"))) << stamp.toStdString();
  EXPECT_FALSE(stamp.contains(QStringLiteral("UTC")) || stamp.contains(QStringLiteral("GMT")))
      << stamp.toStdString();
}

// A link planted at the log's name once logging has started is not appended through.
TEST_F(UserFolders, LogDoesNotWriteThroughALink) {
  const QString log = tmp.filePath(QStringLiteral("lorvane.log"));
  const QString outside = tmp.filePath(QStringLiteral("outside.txt"));
  WriteAll(outside, "keep me");
  LogStart(true, tmp.path());
  ASSERT_TRUE(QFile::link(outside, log));
  Log(QStringLiteral("Initialize"));
  EXPECT_EQ(ReadAll(outside), "keep me");
  EXPECT_FALSE(QFileInfo(log).isSymLink());
  EXPECT_TRUE(ReadAll(log).endsWith(" : Initialize\n"));
}

TEST_F(UserFolders, StartingTwiceWithoutLoggingLeavesNoLog) {
  const QString log = tmp.filePath(QStringLiteral("lorvane.log"));
  LogStart(true, tmp.path());
  Log(QStringLiteral("first run"));
  ASSERT_TRUE(QFile::exists(log));
  for (int run = 0; run < 2; ++run) {
    LogStart(false, tmp.path());
    Log(QStringLiteral("not written"));
    EXPECT_FALSE(LogOn());
    EXPECT_FALSE(QFile::exists(log));
  }
}

TEST_F(UserFolders, FilesBesideTheProgramMoveToTheUserFolderWhenItCannotHoldThem) {
  EXPECT_EQ(ProgramSideFile(tmp.path(), QStringLiteral(".sta")), tmp.filePath(QStringLiteral("lorvane.sta")));
  const QString user =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lorvane/");
  EXPECT_EQ(ProgramSideFile(tmp.filePath(QStringLiteral("missing")), QStringLiteral(".log")),
            user + "lorvane.log");
  if (geteuid() != 0) {  // the superuser writes anywhere
    const QString ro = tmp.filePath(QStringLiteral("readonly"));
    QDir().mkpath(ro);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ProgramSideFile(ro, QStringLiteral(".log")), user + "lorvane.log");
  }
  // The log goes there too, its folder made when needed.
  LogStart(true, tmp.filePath(QStringLiteral("missing")));
  Log(QStringLiteral("step"));
  EXPECT_TRUE(ReadAll(user + "lorvane.log").endsWith(" : step\n"));
}

namespace {

struct Counters : UserFolders {
  std::unique_ptr<TSoft> soft;
  void Make(const QByteArray& ini) {
    WriteAll(tmp.filePath(QStringLiteral("lorvane.ini")), ini);
    soft = std::make_unique<TSoft>(tmp.filePath(QStringLiteral("lorvane.ini")),
                                   TSoftOptions{tmp.path(), tmp.filePath(QStringLiteral("user")), {}});
    SetSoft(soft.get());
  }
  ~Counters() override { SetSoft(nullptr); }
  QString Sta() const { return tmp.filePath(QStringLiteral("lorvane.sta")); }
};

}  // namespace

TEST_F(Counters, CountOnlyWithSettingsAndStats) {
  Count(QStringLiteral("NbreLancement"));  // no settings object yet
  EXPECT_EQ(StatisticsFile(), "");
  Make("[lorvane]\r\nStats=0\r\n");
  EXPECT_EQ(StatisticsFile(), Sta());
  Count(QStringLiteral("NbreLancement"));
  EXPECT_FALSE(QFile::exists(Sta()));
}

TEST_F(Counters, AnAbsentCounterBecomesOneAndOthersAreKept) {
  Make("[lorvane]\r\nStats=1\r\n");
  WriteAll(Sta(), "[Lorvane]\r\nMinuteUtilisation=41\r\nBouton1Fiche=oops\r\n[Autre]\r\nNbreLancement=7\r\n");
  Count(QStringLiteral("NbreLancement"));
  Count(QStringLiteral("MinuteUtilisation"));
  Count(QStringLiteral("Bouton1Fiche"));  // not a number: counted from 0
  Count(QStringLiteral("Show_About"));
  Count(QStringLiteral("Show_About"));
  Count(QStringLiteral("Quillory a=b"));  // cannot be an ini key: not counted, nothing broken
  Count(QString());
  EXPECT_EQ(CounterValue(QStringLiteral("NbreLancement")), 1);
  EXPECT_EQ(CounterValue(QStringLiteral("minuteutilisation")), 42);
  EXPECT_EQ(CounterValue(QStringLiteral("Bouton1Fiche")), 1);
  EXPECT_EQ(CounterValue(QStringLiteral("Show_About")), 2);
  const QString text = QString::fromLatin1(ReadAll(Sta()));
  EXPECT_TRUE(text.contains(QStringLiteral("[Autre]\r\nNbreLancement=7\r\n"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Quillory")));
}
