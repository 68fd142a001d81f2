#include "online/cddb.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTimer>

#include "common/disc_image.h"
#include "online/cddb_answer.h"
#include "online/loopback_cddb.h"

namespace {

using disc_image::kId;
using disc_image::kStarts;
using disc_image::MakeDiscImage;

QByteArray Entry(const QByteArray& title) {
  QByteArray e = "# xmcd\r\nDISCID=940b0e0c\r\nDTITLE=" + title + "\r\nDYEAR=1999\r\nDGENRE=Chanson\r\n";
  for (int i = 0; i < 12; ++i)
    e += "TTITLE" + QByteArray::number(i) + "=Piste " + QByteArray::number(i + 1) + "\r\n";
  return e + "EXTD=\r\nPLAYORDER=\r\n";
}

class CddbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("LORVANE_CD_IMAGES", MakeDiscImage(dir.path()).toUtf8());
    cddb = std::make_unique<TCddb>();
    for (int i = 0; i < cddb->DriveCount(); ++i)
      if (cddb->DriveDescription(i) == "disc.cue") drive = i;
    cddb->ServerAddr = "127.0.0.1";
    cddb->ServerPort = server.Port();
    cddb->LocalCDDBPath = dir.path() + "/cache/";
    cddb->TimeoutMs = 150;
    cddb->OnStatusMessage = [this](QObject*, const QString& s) { statuses << s; };
    cddb->OnDataExchange = [this](QObject*, const QString& s) { lines << s; };
    // As the window does: the choice is returned, and the read starts later from a posted event.
    cddb->OnMatch = [this](QObject*, const QStringList& m, int& right) {
      offered = m;
      right = choice;
      readInsideMatch = true;
      cddb->Read();  // refused here
      readInsideMatch = false;
      if (choice >= 0)
        QTimer::singleShot(0, cddb.get(), [this] {
          if (cddb->WaitingForRead()) cddb->Read();
        });
    };
    server.Handler = [this](const QByteArray& cmd) {
      return cmd.startsWith("cddb+query") ? queryAnswer : readAnswer;
    };
  }
  // Looks the disc up and waits until the component is idle again.
  void Lookup() {
    ASSERT_TRUE(cddb->SelectDrive(drive));
    cddb->Query();
    ASSERT_TRUE(WaitFor([this] { return !cddb->Busy() && !cddb->WaitingForRead(); }));
    QCoreApplication::processEvents();
  }
  bool CacheWritten() const { return QDir(dir.path() + "/cache").exists(); }

  QTemporaryDir dir;
  TLoopbackCddb server;
  std::unique_ptr<TCddb> cddb;
  int drive = -1;
  int choice = 0;
  bool readInsideMatch = false;
  QStringList statuses, lines, offered;
  QByteArray queryAnswer = "200 rock 940b0e0c Les Reveurs / Nuit claire\r\n";
  QByteArray readAnswer =
      "210 rock 940b0e0c CD database entry follows\r\n" + Entry("Les Rêveurs / Nuit claire") + ".\r\n";
};

TEST_F(CddbTest, TwelveTrackImageGivesIdentifierAndQuery) {
  ASSERT_GE(drive, 0);
  ASSERT_TRUE(cddb->SelectDrive(drive));
  EXPECT_EQ(CddbDiscId(cddb->Toc()), kId);
  QString frames;
  for (int start : kStarts) frames += "+" + QString::number(start + 150);
  const QString expected = "cddb+query+" + QString(kId) + "+12" + frames + "+2832";
  choice = -1;
  Lookup();
  ASSERT_EQ(server.Targets.size(), 1);
  EXPECT_EQ(TLoopbackCddb::Cmd(server.Targets[0]), expected.toLatin1());
  EXPECT_TRUE(server.Targets[0].endsWith("&hello=user+localhost+Lorvane+0.1&proto=5"))
      << server.Targets[0].data();
  EXPECT_TRUE(server.Targets[0].startsWith("/~cddb/cddb.cgi?cmd="));
  // The request line is reported first, then each answer line.
  ASSERT_GE(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("http://127.0.0.1:" + server.Port() + "/~cddb/cddb.cgi?cmd=cddb+query"));
  EXPECT_EQ(lines[1], "200 rock 940b0e0c Les Reveurs / Nuit claire");
}

TEST_F(CddbTest, HelloEncodesBlanksAndBytes) {
  cddb->EmailUser = QString::fromUtf8("Zoé Martin@poste-1.example");
  cddb->ClientName = "Lorvane";
  cddb->ClientVersion = "2.0";
  choice = -1;
  Lookup();
  ASSERT_EQ(server.Targets.size(), 1);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines[0].endsWith("&hello=Zo%E9+Martin+poste%2D1%2Eexample+Lorvane+2%2E0&proto=5"))
      << lines[0].toStdString();
  // Percent-encoded "-" and "." reach the server as the characters themselves, which URLs define as
  // the same; "%E9" and "+" arrive as sent.
  EXPECT_TRUE(server.Targets[0].endsWith("&hello=Zo%E9+Martin+poste-1.example+Lorvane+2.0&proto=5"))
      << server.Targets[0].data();
  EXPECT_EQ(CddbEncode(QString::fromUtf8("a b+é/€")), "a+b%2B%E9%2F%80");
}

TEST_F(CddbTest, ExactMatchIsOfferedAndReadFromPostedEvent) {
  Lookup();
  EXPECT_EQ(offered, QStringList{"rock 940b0e0c Les Reveurs / Nuit claire"});
  ASSERT_EQ(server.Targets.size(), 2);
  EXPECT_EQ(TLoopbackCddb::Cmd(server.Targets[1]), "cddb+read+rock+940b0e0c");
  EXPECT_EQ(statuses, (QStringList{"Querying CD", "Found exact match",
                                   "Can't perform a CDDB READ without a successful CDDB QUERY!",
                                   "Reading CD info", "OK, CDDB database entry follows", "Entry read"}));
  EXPECT_TRUE(cddb->Entry().contains(QString::fromUtf8("DTITLE=Les Rêveurs / Nuit claire")));
  EXPECT_EQ(cddb->Entry().size(), 19);
  EXPECT_TRUE(lines.contains("TTITLE11=Piste 12"));
  EXPECT_EQ(lines.back(), ".");
}

TEST_F(CddbTest, GivingUpStopsWithoutReading) {
  choice = -1;
  Lookup();
  EXPECT_EQ(offered.size(), 1);
  EXPECT_EQ(server.Targets.size(), 1);
  EXPECT_FALSE(statuses.contains("Reading CD info"));
  cddb->Read();
  EXPECT_EQ(statuses.back(), "Can't perform a CDDB READ without a successful CDDB QUERY!");
  EXPECT_FALSE(CacheWritten());
}

TEST_F(CddbTest, AtMostHundredMatchesAreOffered) {
  queryAnswer = "211 Found inexact matches, list follows (until terminating `.')\r\n";
  for (int i = 0; i < 150; ++i)
    queryAnswer += QByteArray(i % 2 ? "jazz " : "rock ") + QByteArray::number(0x94000000 + i, 16) +
                   " Album " + QByteArray::number(i) + "\r\n";
  queryAnswer += ".\r\n";
  choice = 99;
  Lookup();
  ASSERT_EQ(offered.size(), 100);
  EXPECT_EQ(offered[99], "jazz 94000063 Album 99");
  EXPECT_TRUE(statuses.contains("Found inexact matches"));
  EXPECT_TRUE(statuses.contains("Received matches"));
  ASSERT_EQ(server.Targets.size(), 2);
  EXPECT_EQ(TLoopbackCddb::Cmd(server.Targets[1]), "cddb+read+jazz+94000063");
}

TEST_F(CddbTest, EntriesInLatin1AreReadAsLatin1AndKeptInCache) {
  readAnswer = "210 rock 940b0e0c CD database entry follows\r\n" + Entry("Les R\xeaveurs / Nuit") + ".\r\n";
  queryAnswer = "210 Found exact matches, list follows\r\nrock 940b0e0c Les Reveurs / Nuit\r\n.\r\n";
  Lookup();
  ASSERT_EQ(statuses.back(), "Entry read");
  EXPECT_TRUE(cddb->Entry().contains(QString::fromUtf8("DTITLE=Les Rêveurs / Nuit")));
  EXPECT_TRUE(QFile::exists(dir.path() + "/cache/rock/940b0e0c"));
  // A second lookup of the same disc reads the entry from the cache, not the server.
  statuses.clear();
  Lookup();
  EXPECT_EQ(server.Targets.size(), 3);
  EXPECT_EQ(statuses.back(), "Entry read");
  EXPECT_TRUE(cddb->Entry().contains(QString::fromUtf8("DTITLE=Les Rêveurs / Nuit")));
}

TEST_F(CddbTest, EveryServerFailureEndsAsStatusText) {
  const QString internal = "CDDB Component Internal Error: the HTTP request failed because of error \"";
  struct Case {
    const char* name;
    TLoopbackCddb::Mode mode;
    QByteArray query, read;
    QString last;  // the last status, or its beginning for transport failures
  };
  const QByteArray exact = "200 rock 940b0e0c A / B\r\n";
  const QByteArray huge = "210 rock 940b0e0c follows\r\n" + QByteArray(10 << 20, 'x') + "\r\n.\r\n";
  const std::vector<Case> cases = {
      {"no match", TLoopbackCddb::Mode::Answer, "202 No match for disc ID 940b0e0c.\r\n", "",
       "No match found"},
      {"query corrupt", TLoopbackCddb::Mode::Answer, "403 Database entry is corrupt\r\n", "",
       "Database entry is corrupt"},
      {"query handshake", TLoopbackCddb::Mode::Answer, "409 No handshake\r\n", "", "No handshake"},
      {"read not found", TLoopbackCddb::Mode::Answer, exact,
       "401 rock 940b0e0c No such CD entry in database\r\n", "Specified CDDB entry not found"},
      {"read corrupt", TLoopbackCddb::Mode::Answer, exact, "403 Database entry is corrupt\r\n",
       "Database entry is corrupt"},
      {"read handshake", TLoopbackCddb::Mode::Answer, exact, "409 No handshake\r\n", "No handshake"},
      {"entry without end", TLoopbackCddb::Mode::Answer, exact, "210 rock 940b0e0c\r\nDTITLE=A / B\r\n",
       "Database entry is corrupt"},
      {"matches without end", TLoopbackCddb::Mode::Answer, "211 inexact\r\nrock 940b0e0c A\r\n", "",
       internal + "The list of matches ended early\""},
      {"garbage body", TLoopbackCddb::Mode::Answer, "<html>\xff\xfe</html>\r\n", "",
       internal + "Unexpected answer: <html>\u00ff\u00fe</html>\""},
      {"huge answer", TLoopbackCddb::Mode::Answer, exact, huge, internal + "Answer too large\""},
      {"silent server", TLoopbackCddb::Mode::Silent, "", "", internal + "Connection timed out\""},
      {"not http", TLoopbackCddb::Mode::NotHttp, "", "", internal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    statuses.clear();
    server.Targets.clear();
    server.Behaviour = c.mode;
    queryAnswer = c.query;
    readAnswer = c.read;
    Lookup();
    ASSERT_FALSE(statuses.isEmpty());
    EXPECT_TRUE(statuses.back().startsWith(c.last)) << statuses.back().toStdString();
    EXPECT_TRUE(statuses.back().endsWith('"') || !c.last.startsWith(internal));
    EXPECT_FALSE(statuses.contains("Entry read"));
    EXPECT_FALSE(CacheWritten());
  }
}

TEST_F(CddbTest, RefusedConnectionAndCancel) {
  const QString port = server.Port();
  server.close();
  Lookup();
  EXPECT_TRUE(statuses.back().startsWith(
      "CDDB Component Internal Error: the HTTP request failed because of error \""));
  EXPECT_TRUE(statuses.back().endsWith('"'));

  // A request cancelled by the user ends quietly, and the component can query again.
  TLoopbackCddb silent;
  silent.Behaviour = TLoopbackCddb::Mode::Silent;
  cddb->ServerPort = silent.Port();
  cddb->TimeoutMs = 60000;
  statuses.clear();
  ASSERT_TRUE(cddb->SelectDrive(drive));
  cddb->Query();
  ASSERT_TRUE(WaitFor([&] { return silent.Targets.size() == 1; }));
  EXPECT_TRUE(cddb->Busy());
  cddb->Cancel();
  EXPECT_FALSE(cddb->Busy());
  WaitFor([] { return false; }, 50);
  EXPECT_EQ(statuses, QStringList{"Querying CD"});
}

TEST(CddbDrives, MissingImageAndBadIndexAreReported) {
  qputenv("LORVANE_CD_IMAGES", "/nonexistent/disc.cue");
  TCddb cddb;
  QStringList statuses;
  cddb.OnStatusMessage = [&](QObject*, const QString& s) { statuses << s; };
  EXPECT_FALSE(cddb.SelectDrive(cddb.DriveCount() - 1));
  EXPECT_FALSE(cddb.SelectDrive(cddb.DriveCount()));
  cddb.Query();
  EXPECT_EQ(statuses, (QStringList{"No CD in CD/DVD drive!", "No CD-ROM interface detected!",
                                   "No CD in CD/DVD drive!"}));
}

TEST(CddbAnswer, CodesLinesAndText) {
  const TCddbAnswer a = ParseCddbAnswer("210 ok\nrock 12345678 A\r\n.\r\nafter\r\n");
  EXPECT_EQ(a.Code, 210);
  EXPECT_EQ(a.Body, QStringList{"rock 12345678 A"});
  EXPECT_TRUE(a.Terminated);
  EXPECT_EQ(ParseCddbAnswer("2100 x\r\n").Code, -1);
  EXPECT_EQ(ParseCddbAnswer("").Code, -1);
  EXPECT_EQ(DecodeCddbText("caf\xc3\xa9"), QString::fromUtf8("café"));
  EXPECT_EQ(DecodeCddbText("caf\xe9"), QString::fromUtf8("café"));
  const TCddbMatch m = ParseCddbMatch("classical 0a1b2c3d Title");
  EXPECT_EQ(m.Category, "classical");
  EXPECT_EQ(m.DiscId, "0a1b2c3d");
  EXPECT_FALSE(ParseCddbMatch("nospace").Valid());
}

}  // namespace
