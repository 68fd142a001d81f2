#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/host.h"
#include "model/kinds.h"
#include "model/soft_host.h"
#include "render/recording_canvas.h"
#include "shell/shell_folders.h"

namespace {

void Touch(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
}

struct ArboFixture : ::testing::Test {
  QTemporaryDir dir;
  TzunoCADMdl doc{nullptr, QRect(0, 0, 100, 100), 100, 100};
  TzunoCADArbo* tree = static_cast<TzunoCADArbo*>(doc.CreateObjet(QStringLiteral("arbo")));
  ArboFixture() {
    QDir d(dir.path());
    for (const char* f : {"c.txt", "a.TXT", "b.jpg"}) Touch(dir.filePath(QString::fromLatin1(f)));
    d.mkdir(QStringLiteral("B"));
    d.mkdir(QStringLiteral("A"));
    d.mkdir(QStringLiteral(".cache"));
    Touch(dir.filePath(QStringLiteral("A/un.png")));
    Touch(dir.filePath(QStringLiteral("B/deux")));
    tree->Path = dir.path() + QLatin1Char('/');
    tree->ViewFichier = true;
  }
  QStringList Names() const {
    QStringList n;
    for (const auto& e : tree->Entries) n << QStringLiteral("%1:%2").arg(e.Depth).arg(e.Name);
    return n;
  }
};

}  // namespace

TEST_F(ArboFixture, FilesFirstThenEachFolderWithItsContent) {
  tree->DepthMax = 2;
  tree->Rebuild();
  EXPECT_EQ(Names(), (QStringList{"1:a.TXT", "1:b.jpg", "1:c.txt", "1:A", "2:un.png", "1:B", "2:deux"}));
  // .TXT and .txt share one icon; folders and extension-less files share another.
  EXPECT_EQ(tree->Entries[0].Icon, tree->Entries[2].Icon);
  EXPECT_EQ(tree->Entries[3].Icon, tree->Entries[6].Icon);
  EXPECT_EQ(tree->IconKeys.size(), 4);
  tree->DepthMax = 1;
  tree->Rebuild();
  EXPECT_EQ(Names(), (QStringList{"1:a.TXT", "1:b.jpg", "1:c.txt", "1:A", "1:B"}));
}

TEST_F(ArboFixture, ColumnsAndPlaceholder) {
  tree->DepthMax = 2;
  tree->Column = 2;
  tree->x = 70;
  tree->y = 50;
  tree->l = 120;
  tree->h = 64;
  doc.PixelsPerMmX = doc.PixelsPerMmY = 1;
  TRecordingCanvas rec;
  tree->Draw(rec);
  std::vector<const TCanvasCall*> icons;
  for (const TCanvasCall& c : rec.Calls())
    if (c.Op == QLatin1String("StretchDraw")) icons.push_back(&c);
  ASSERT_EQ(icons.size(), 7u);
  // Four rows per column (64 px: 16 each); the fifth entry opens the second column at the top.
  EXPECT_EQ(icons[4]->Args[1], 18);
  EXPECT_EQ(icons[4]->Args[0], 10 + 60 + 16 * 2);  // second column, depth 2
  EXPECT_EQ(icons[1]->Args[1], 18 + 16);

  tree->Path = dir.filePath(QStringLiteral("absent/"));
  tree->Rebuild();
  rec.Clear();
  tree->Draw(rec);
  int lines = 0;
  for (const TCanvasCall& c : rec.Calls()) lines += c.Op == QLatin1String("LineTo");
  EXPECT_EQ(lines, 6);  // the crossed box
}

TEST_F(ArboFixture, HugeFoldersStopAtTheEntryLimit) {
  QDir(dir.path()).mkdir(QStringLiteral("many"));
  for (int i = 0; i < 3000; ++i) Touch(dir.filePath(QStringLiteral("many/f%1.dat").arg(i)));
  tree->DepthMax = 5;
  tree->Rebuild();
  EXPECT_EQ(tree->Entries.size(), static_cast<size_t>(TzunoCADArbo::kMaxEntries));
}

TEST_F(ArboFixture, SpecialFoldersAreStoredByName) {
  struct Host : TObjectHost {
    QString folder;
    QString ReadSoftString(const QString&) override { return {}; }
    int ReadSoftInteger(const QString&) override { return -1; }
    QString DataPath() override { return {}; }
    QString Text(const QString&, const QString& f) override { return f; }
    void ShowMessage(const QString&) override {}
    QList<QPair<QString, QString>> ShellFolders() override { return {{QStringLiteral("Personal"), folder}}; }
    QSizeF SupportSize(const QString&) override { return {}; }
  } host;
  host.folder = dir.path();
  SetObjectHost(&host);
  EXPECT_EQ(PropValue(tree->GetProperties(), u"Path"), "[Personal]");
  host.folder = QStringLiteral("/home/autre/Documents");
  tree->SetProperties({QStringLiteral("Path=[Personal]")});
  EXPECT_EQ(tree->Path, "/home/autre/Documents/");
  SetObjectHost(nullptr);
}

TEST_F(ArboFixture, EntriesTooDeepForTheirColumnAreSkipped) {
  tree->DepthMax = 2;
  tree->Column = 2;
  tree->x = 50;
  tree->y = 50;
  tree->l = 80;  // 40 px columns: a depth-2 icon would end 8 px past the right edge
  tree->h = 64;
  doc.PixelsPerMmX = doc.PixelsPerMmY = 1;
  TRecordingCanvas rec;
  tree->Draw(rec);
  int icons = 0;
  for (const TCanvasCall& c : rec.Calls()) icons += c.Op == QLatin1String("StretchDraw");
  EXPECT_EQ(icons, 5);
}

// Names sort as the user's language sorts them, numbers by value, whatever the letter case; in the C
// locale too.
TEST_F(ArboFixture, NamesInLanguageOrderWithNumbersByValue) {
  QTemporaryDir d;
  for (const char* n : {"Zoo", "écoles", "Élan", "img10", "img9", "abc", "Img2"})
    QDir(d.path()).mkdir(QString::fromUtf8(n));
  Touch(d.filePath(QStringLiteral("photo10.jpg")));
  Touch(d.filePath(QStringLiteral("photo9.jpg")));
  Touch(d.filePath(QString::fromUtf8("Été.txt")));
  tree->Path = d.path() + QLatin1Char('/');
  tree->DepthMax = 1;
  const QStringList expected = QString::fromUtf8(
                                   "1:Été.txt 1:photo9.jpg 1:photo10.jpg 1:abc 1:écoles 1:Élan 1:Img2 "
                                   "1:img9 1:img10 1:Zoo")
                                   .split(QLatin1Char(' '));
  const QLocale before;
  for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
    QLocale::setDefault(locale);
    tree->Rebuild();
    EXPECT_EQ(Names(), expected) << locale.name().toStdString();
  }
  QLocale::setDefault(before);
}

// Every special folder the settings know is one a tree path can be stored by.
TEST(ArboFolders, EverySpecialFolderIsStoredByName) {
  TSoftHost host;
  SetObjectHost(&host);
  int named = 0;
  for (const QString& name : ShellFolderNames()) {
    const QString folder = ShellFolder(name);
    if (folder.isEmpty()) continue;
    const QString stored = EncodeSpecialFolder(folder);
    ASSERT_TRUE(stored.startsWith(QLatin1Char('['))) << name.toStdString();
    EXPECT_EQ(DecodeSpecialFolder(stored), folder) << name.toStdString();
    named += stored == QLatin1Char('[') + name + QLatin1Char(']');
  }
  EXPECT_GE(named, 8);  // two names may share one folder; the first is the one written
  EXPECT_EQ(EncodeSpecialFolder(ShellFolder(QStringLiteral("my music"))), "[My Music]");
  SetObjectHost(nullptr);
}
