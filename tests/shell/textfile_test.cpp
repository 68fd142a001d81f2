#include "shell/textfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "common/files.h"

namespace {

void SetAge(const QString& path, int seconds) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  ASSERT_TRUE(
      f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime));
}

}  // namespace

// A save killed at its rename leaves a complete temporary file beside the document; the next save
// of that document removes its own such files and nothing else.
TEST(TextFile, SaveRemovesItsOwnLeftoversOnly) {
  QTemporaryDir dir;
  const QString doc = dir.filePath(QStringLiteral("carte.mdl"));
  WriteAll(doc, "Version=1.2\r\n");
  const QString leftover = doc + QStringLiteral(".saving-AbC123");
  const QString held = doc + QStringLiteral(".saving-XyZ789");   // a save still writing it
  const QString fresh = doc + QStringLiteral(".saving-Fresh1");  // just created by another save
  const QStringList others = {doc + QStringLiteral(".backup"),
                              doc + QStringLiteral(".saving-abc12"),
                              doc + QStringLiteral(".saving-abcdef.mdl"),
                              doc + QStringLiteral(".saving-ab_d12"),
                              dir.filePath(QStringLiteral("autre.mdl.saving-AbC123")),
                              dir.filePath(QStringLiteral("Carte.mdl.saving-AbC123"))};
  for (const QString& f : QStringList{leftover, held, fresh} + others) WriteAll(f, "Version=1.2\r\n");
  for (const QString& f : QStringList{leftover, held} + others) SetAge(f, 3600);
  const int lock = ::open(QFile::encodeName(held).constData(), O_RDONLY);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);

  EXPECT_EQ(SaveLeftovers(doc).size(), 3);
  ASSERT_TRUE(WriteTextFile(doc, {QStringLiteral("Version=1.2"), QStringLiteral("Large=10")}));
  ::close(lock);
  EXPECT_EQ(ReadAll(doc), "Version=1.2\r\nLarge=10\r\n");
  EXPECT_FALSE(QFileInfo::exists(leftover));
  EXPECT_TRUE(QFileInfo::exists(held));
  EXPECT_TRUE(QFileInfo::exists(fresh));
  for (const QString& f : others) EXPECT_TRUE(QFileInfo::exists(f)) << f.toStdString();
  // The save itself leaves nothing behind.
  EXPECT_EQ(SaveLeftovers(doc).size(), 2);
}

TEST(TextFile, SaveKeepsTheFileModeAndFailsWithoutItsFolder) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("User.ini"));
  WriteAll(file, "[User]\r\n");
  ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
  ASSERT_TRUE(WriteTextFile(file, {QStringLiteral("[User]"), QStringLiteral("idxFiche=2")}));
  struct stat st;
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_FALSE(WriteTextFile(dir.filePath(QStringLiteral("absent/x.mdl")), {QStringLiteral("x")}));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("User.ini")});
}

// A symbolic link planted at a file's name is replaced by the new file: the file it leads to keeps
// its content and its mode, whatever writes the name.
TEST(TextFile, SaveReplacesALinkNotItsTarget) {
  QTemporaryDir dir;
  const QString outside = dir.filePath(QStringLiteral("secret"));
  const QString ownFolder = dir.filePath(QStringLiteral("user/"));
  const struct {
    const char* name;
    std::function<bool(const QString&)> save;
  } writers[] = {
      {"User.ini", [](const QString& f) { return WriteTextFile(f, {QStringLiteral("[User]")}); }},
      {"CopyPaste.def",
       [](const QString& f) {
         TTextFileWriter w;
         w.Add(QStringLiteral("Objet"));
         return w.Commit(f);
       }},
      {"photo.jpg", [](const QString& f) { return WriteFileAtomically(f, "JPEG"); }},
  };
  for (const auto& w : writers) {
    WriteAll(outside, "keep me");
    ASSERT_EQ(::chmod(QFile::encodeName(outside).constData(), 0600), 0);
    const QString name = ownFolder + QLatin1String(w.name);
    QDir().mkpath(ownFolder);
    ASSERT_TRUE(QFile::link(outside, name));
    ASSERT_TRUE(w.save(name)) << w.name;
    EXPECT_EQ(ReadAll(outside), "keep me") << w.name;
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(outside).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << w.name;
    ASSERT_EQ(::lstat(QFile::encodeName(name).constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << w.name;
    EXPECT_FALSE(ReadAll(name).isEmpty()) << w.name;
  }
  // A dangling link is replaced too; a folder at the name is not written over.
  const QString dangling = ownFolder + QStringLiteral("print_tmp.mdl");
  ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere/x")), dangling));
  EXPECT_TRUE(WriteTextFile(dangling, {QStringLiteral("Version=1.2")}));
  EXPECT_EQ(ReadAll(dangling), "Version=1.2\r\n");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
  QDir().mkpath(ownFolder + QStringLiteral("folder.csv"));
  EXPECT_FALSE(WriteFileAtomically(ownFolder + QStringLiteral("folder.csv"), "x"));
  EXPECT_TRUE(SaveLeftovers(ownFolder + QStringLiteral("folder.csv")).isEmpty());
}

// A write the disk cannot hold fails and leaves the old file whole, with no temporary file behind.
TEST(TextFile, FullDiskLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("papiers_gab.csv"));
  WriteAll(file, "Nom;Large\r\nA4;210\r\n");
  // A file limit stands in for a full disk: writes past it fail with EFBIG.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct sigaction quiet = {}, previous;
  quiet.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &quiet, &previous);
  struct rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = WriteFileAtomically(file, QByteArray(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadAll(file), "Nom;Large\r\nA4;210\r\n");
  EXPECT_TRUE(SaveLeftovers(file).isEmpty());
}

// The writer decides the encoding as it goes: a character without a Windows-1252 form late in the
// text turns the whole file into UTF-8 with a byte-order mark.
TEST(TextFile, EncodingChosenForTheWholeFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("t.mdl"));
  ASSERT_TRUE(WriteTextFile(file, {QString::fromUtf8("élève €"), QStringLiteral("x")}));
  EXPECT_EQ(ReadAll(file), QByteArray("\xE9l\xE8ve \x80\r\nx\r\n"));
  ASSERT_TRUE(
      WriteTextFile(file, {QString::fromUtf8("élève €"), QString::fromUtf8("日本"), QStringLiteral("x")}));
  EXPECT_EQ(ReadAll(file),
            QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("élève €\r\n日本\r\nx\r\n").toUtf8());
}

// Lines read in place are the lines ReadTextFile gives, in both encodings and every line end.
TEST(TextFile, LinesInPlaceMatchTheStringList) {
  QTemporaryDir dir;
  const QByteArray cases[] = {"",
                              "a",
                              "a\r\nb\r\n",
                              "a\nb\rc\r\n\r\nd",
                              "\r\n\r\n",
                              "x\x80y\xE9\r\n  \r\n",
                              "\xEF\xBB\xBF"
                              "\xC3\xA9t\xC3\xA9\r\n\xE6\x97\xA5\nfin"};
  for (const QByteArray& bytes : cases) {
    const QString file = dir.filePath(QStringLiteral("t.txt"));
    WriteAll(file, bytes);
    QStringList expected;
    ASSERT_TRUE(ReadTextFile(file, expected));
    TTextLines lines;
    ASSERT_TRUE(lines.Read(file));
    QStringList got;
    for (qsizetype i = 0; i < lines.size(); ++i) got << lines.Line(i);
    EXPECT_EQ(got, expected) << bytes.toHex().toStdString();
    EXPECT_EQ(lines.Wide(), bytes.startsWith("\xEF\xBB\xBF"));
  }
  TTextLines none;
  EXPECT_FALSE(none.Read(dir.filePath(QStringLiteral("absent.txt"))));
  EXPECT_FALSE(none.Read(dir.path()));
}
