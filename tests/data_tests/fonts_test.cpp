#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QSet>

#include "shell/fonts.h"

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
