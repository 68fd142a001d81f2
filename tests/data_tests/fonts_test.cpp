#include "shell/fonts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QRawFont>
#include <QSet>

// The shipped fonts load as TrueType faces and give families of different kinds.
TEST(ShippedFonts, SixOrMoreTrueTypeFamilies) {
  const QDir folder(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/fonts"));
  const QStringList files = folder.entryList({QStringLiteral("*.ttf")}, QDir::Files);
  QSet<QString> families;
  for (const QString& f : files) {
    const int id = QFontDatabase::addApplicationFont(folder.filePath(f));
    ASSERT_GE(id, 0) << f.toStdString();
    for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
      families.insert(family);
      EXPECT_TRUE(IsTrueType(family)) << family.toStdString();
    }
  }
  EXPECT_GE(families.size(), 6);
  // Each family's licence travels with it (one file per source package).
  EXPECT_GE(folder.entryList({QStringLiteral("LICENSE-*.txt")}, QDir::Files).size(), 6);
}

// Tests see the installation's faces and the Liberation families the setup installs, nothing that merely
// happens to be on the machine, so every measure holds on a fresh one.
TEST(ShippedFonts, TestsSeeOnlyTheProjectsFonts) {
  QSet<QString> expected{QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Sans Narrow"),
                         QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Mono")};
  const QSet<QString> generic{QStringLiteral("Serif"), QStringLiteral("Sans Serif"),
                              QStringLiteral("Monospace")};
  const QDir folder(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/fonts"));
  for (const QString& f : folder.entryList({QStringLiteral("*.ttf")}, QDir::Files))
    expected << QRawFont(folder.filePath(f), 12).familyName();
  const QStringList seen = QFontDatabase::families();
  for (const QString& family : seen)
    EXPECT_TRUE(expected.contains(family) || generic.contains(family)) << family.toStdString();
  for (const QString& family : expected) EXPECT_TRUE(seen.contains(family)) << family.toStdString();
}
