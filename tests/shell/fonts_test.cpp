#include "shell/fonts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include "common/files.h"

namespace {

QByteArray Utf16Be(const QString& s) {
  QByteArray b;
  for (QChar c : s) b.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
  return b;
}

const QString kFont = QStringLiteral(LORVANE_TEST_DATA "/fonts/DejaVuSansMono.ttf");

// The face under a family name no system has: the names are swapped in place (same length),
// which the font loaders accept.
QByteArray Renamed(const QString& family) {
  const QString original = QStringLiteral("DejaVu Sans Mono");
  EXPECT_EQ(family.size(), original.size());
  QByteArray font = ReadAll(kFont);
  font.replace(Utf16Be(original), Utf16Be(family));
  font.replace(original.toLatin1(), family.toLatin1());
  return font;
}

}  // namespace

TEST(Fonts, PrivateFontsComeAndGoWithTheirFolder) {
  QTemporaryDir tmp;
  const QString folder = tmp.filePath(QStringLiteral("fonts"));
  WriteAll(folder + QStringLiteral("/Own.TTF"), Renamed(QStringLiteral("Zorvane One Mono")));
  WriteAll(folder + QStringLiteral("/broken.ttf"), "not a font at all");
  WriteAll(folder + QStringLiteral("/other.ttf.off"), Renamed(QStringLiteral("Zorvane Off Mono")));
  WriteAll(folder + QStringLiteral("/sub/deeper.ttf"), Renamed(QStringLiteral("Zorvane Sub Mono")));
  ASSERT_FALSE(QFontDatabase::families().contains(QStringLiteral("Zorvane One Mono")));

  TzunoFont fonts;
  fonts.InstallFonts(folder);
  fonts.InstallFonts(folder + QLatin1Char('/'));  // the same files registered a second time
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Zorvane One Mono")));
  EXPECT_TRUE(fonts.After().contains(QStringLiteral("Zorvane One Mono")));
  EXPECT_EQ(fonts.OwnFonts(), QStringList{QStringLiteral("Zorvane One Mono")});
  EXPECT_TRUE(IsTrueType(QStringLiteral("Zorvane One Mono")));
  EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("Zorvane Sub Mono")));  // no subfolders
  EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("Zorvane Off Mono")));

  QFile::remove(folder + QStringLiteral("/Own.TTF"));  // gone from the folder before exit
  fonts.RemoveFonts(folder);
  EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("Zorvane One Mono")));
  EXPECT_EQ(fonts.OwnFonts(), QStringList{QStringLiteral("Zorvane One Mono")});  // kept once known
}

TEST(Fonts, AShippedFontTheSystemAlsoHasIsStillOwn) {
  // Liberation Sans: a family the test's font configuration always has (fonts-liberation).
  ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("Liberation Sans")));
  QTemporaryDir tmp;
  WriteAll(tmp.filePath(QStringLiteral("LiberationSans-Regular.ttf")),
           ReadAll(QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf")));
  TzunoFont fonts;
  fonts.InstallFonts(tmp.path());
  EXPECT_EQ(fonts.OwnFonts(), QStringList{QStringLiteral("Liberation Sans")});
  fonts.RemoveFonts(tmp.path());
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Liberation Sans")));  // the system's stays
}

TEST(Fonts, IsTrueTypeNeedsTheFamilyItself) {
  EXPECT_TRUE(IsTrueType(QStringLiteral("DejaVu Sans")));
  EXPECT_TRUE(IsTrueType(QStringLiteral("dejavu sans")));
  EXPECT_FALSE(IsTrueType(QStringLiteral("No Such Family Anywhere")));  // substitution does not count
  EXPECT_FALSE(IsTrueType(QString()));
}

TEST(Fonts, FontListModes) {
  QTemporaryDir tmp;
  WriteAll(tmp.filePath(QStringLiteral("a.ttf")), Renamed(QStringLiteral("Zorvane Two Mono")));
  InstallFonts(tmp.path());
  const QStringList own = OwnFonts();
  ASSERT_EQ(own, QStringList{QStringLiteral("Zorvane Two Mono")});

  const TFontListItems all = FontListItems(0);
  EXPECT_TRUE(all.Highlighted.isEmpty());
  EXPECT_TRUE(all.Names.contains(QStringLiteral("Zorvane Two Mono")));
  EXPECT_TRUE(all.Names.contains(QStringLiteral("Liberation Sans")));
  QStringList platformOrder;
  for (const QString& f : QFontDatabase::families())
    if (all.Names.contains(f)) platformOrder << f;
  EXPECT_EQ(all.Names, platformOrder);

  const TFontListItems first = FontListItems(1);
  EXPECT_EQ(first.Names, own + all.Names);  // own fonts first, then again in their place
  EXPECT_EQ(first.Names.count(QStringLiteral("Zorvane Two Mono")), 2);
  EXPECT_TRUE(first.Highlighted.isEmpty());
  const TFontListItems marked = FontListItems(2);
  EXPECT_EQ(marked.Names, first.Names);
  EXPECT_EQ(marked.Highlighted, own);
  const TFontListItems only = FontListItems(3);
  EXPECT_EQ(only.Names, own);
  EXPECT_TRUE(only.Highlighted.isEmpty());

  RemoveFonts(tmp.path());
  EXPECT_FALSE(FontListItems(0).Names.contains(QStringLiteral("Zorvane Two Mono")));
}
