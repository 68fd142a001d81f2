#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "cli/cli_runner.h"
#include "common/files.h"
#include "common/qt_printers.h"

namespace {

const QString kSample = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Modeles/Exemples/disque.mdl");

}  // namespace

TEST(Cli, InfoDescribesTheDocument) {
  const CliRun r =
      Cli({QStringLiteral("--home"), QStringLiteral(LORVANE_SOURCE_DATA), QStringLiteral("info"), kSample});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  for (const char* line : {"page: 120 x 120 mm\n", "item: 1 CD\n", "header: GrandDiam=118\n", "objects: 4\n",
                           "face 1: 3 (rectangle 1, texte 2)\n", "face 2: 1 (image 1)\n"})
    EXPECT_TRUE(r.out.contains(QString::fromLatin1(line))) << line << "\n" << r.out.toStdString();
}

TEST(Cli, ExitStatuses) {
  QTemporaryDir dir;
  EXPECT_EQ(Cli({}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("frobnicate"), kSample}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("info")}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("resave"), kSample}).code, 2);
  EXPECT_EQ(Cli({QStringLiteral("--home")}).code, 2);
  const CliRun missing = Cli({QStringLiteral("info"), dir.filePath(QStringLiteral("absent.mdl"))});
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(missing.err.contains(QStringLiteral("absent.mdl")));
  EXPECT_EQ(Cli({QStringLiteral("resave"), kSample, dir.filePath(QStringLiteral("no/dir/x.mdl"))}).code, 1);
  EXPECT_EQ(
      Cli({QStringLiteral("--home"), dir.filePath(QStringLiteral("nohome")), QStringLiteral("info"), kSample})
          .code,
      1);
}

// Every document we ship or keep as test input: the second resave gives the bytes of the first.
TEST(Cli, ResaveTwiceIsStable) {
  QTemporaryDir dir;
  QStringList files;
  for (const char* root : {LORVANE_SOURCE_DATA, LORVANE_TEST_DATA, LORVANE_FUZZ_CORPUS}) {
    QDirIterator it(QString::fromUtf8(root), {QStringLiteral("*.mdl")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
  }
  ASSERT_FALSE(files.isEmpty());
  for (const QString& f : files) {
    const QString a = dir.filePath(QStringLiteral("a.mdl")), b = dir.filePath(QStringLiteral("b.mdl"));
    ASSERT_EQ(Cli({QStringLiteral("resave"), f, a}).code, 0) << f.toStdString();
    ASSERT_EQ(Cli({QStringLiteral("resave"), a, b}).code, 0) << f.toStdString();
    EXPECT_EQ(ReadAll(a), ReadAll(b)) << f.toStdString();
  }
}
