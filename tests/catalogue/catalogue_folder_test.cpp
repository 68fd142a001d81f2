#include "catalogue/catalogue_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "catalogue/fixtures.h"
#include "catalogue/modele.h"
#include "shell/settings.h"

namespace {

QString Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  return path;
}

// A settings object whose template and user folders lie in a temporary folder.
struct Roots {
  QTemporaryDir dir;
  std::unique_ptr<TSoft> soft;
  Roots() {
    soft = std::make_unique<TSoft>(QString(), TSoftOptions{dir.path(), dir.path(), {}});
    soft->ModelesPath = dir.filePath("Modeles/");
    soft->UserPath = dir.filePath("User/");
    soft->DocumentsPath = dir.filePath("User/Mes documents/");
    SetSoft(soft.get());
  }
  ~Roots() { SetSoft(nullptr); }
};

TEST(Modele, DescribesTemplatesAndDocumentsByTheirRoot) {
  Roots r;
  const QString t = Touch(r.soft->ModelesPath + "CD/Jaquettes/Foret.2.mdl");
  const QString d = Touch(r.soft->DocumentsPath + "Vacances/plage.mdl");
  const QString lookalike = Touch(r.dir.filePath("Modeles2/x.mdl"));
  TModele m;
  m.SetFile(t);
  EXPECT_EQ(m.Root, r.soft->ModelesPath);
  EXPECT_EQ(m.RelativeName, "CD/Jaquettes/Foret.2.mdl");
  EXPECT_EQ(m.RelativeFolder, "CD/Jaquettes/");
  EXPECT_EQ(m.Category, "CD/Jaquettes");
  EXPECT_EQ(m.Title, "Foret.2");
  EXPECT_EQ(m.Folder, r.soft->ModelesPath + "CD/Jaquettes/");
  EXPECT_FALSE(m.IsDocument);
  m.SetFile(d);
  EXPECT_TRUE(m.IsDocument);
  EXPECT_EQ(m.Root, r.soft->DocumentsPath);
  EXPECT_EQ(m.Category, "Vacances");
  // Outside both roots, missing, or nothing: everything is cleared.
  for (const QString& other : {lookalike, r.soft->ModelesPath + "CD/none.mdl", QString()}) {
    m.SetFile(t);
    m.SetFile(other);
    EXPECT_TRUE(m.FileName.isEmpty() && m.Folder.isEmpty() && m.Root.isEmpty()) << other.toStdString();
  }
  // A folder keeps its category only; an empty one clears it.
  m.SetFolder(r.soft->ModelesPath + "CD/Jaquettes");
  EXPECT_TRUE(m.FileName.isEmpty());
  EXPECT_EQ(m.Category, "CD/Jaquettes");
  QDir().mkpath(r.soft->ModelesPath + "Vide");
  m.SetFolder(r.soft->ModelesPath + "Vide");
  EXPECT_TRUE(m.Category.isEmpty() && m.Folder.isEmpty());
}

TEST(CatalogueFolder, SheetVariantsAndStepping) {
  QTemporaryDir dir;
  for (const char* f : {"a.1.mdl", "a.2.mdl", "a.4.mdl", "b.mdl"}) Touch(dir.filePath(f));
  const std::array<bool, 6> on = {true, false, false, true, false, false};
  bool gabarit = false;
  const QStringList shown = CatalogueTemplates(dir.path(), &on, &gabarit);
  EXPECT_TRUE(gabarit);
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown[0].endsWith("a.1.mdl") && shown[1].endsWith("a.4.mdl"));
  EXPECT_EQ(CatalogueTemplates(dir.path()).size(), 4);
  EXPECT_TRUE(CatalogueTemplates(dir.filePath("none"), &on, &gabarit).isEmpty());
  EXPECT_EQ(SheetVariants(dir.filePath("a.1.jpg")).size(), 3);
  EXPECT_TRUE(SheetVariants(dir.filePath("a.2.mdl")).last().endsWith("a.4.mdl"));
  // Stepping wraps around at both ends.
  EXPECT_TRUE(NeighbourTemplate(dir.filePath("b.mdl"), 1).endsWith("a.1.mdl"));
  EXPECT_TRUE(NeighbourTemplate(dir.filePath("a.1.mdl"), -1).endsWith("b.mdl"));
  EXPECT_TRUE(NeighbourTemplate(dir.filePath("a.2.mdl"), 1).endsWith("a.4.mdl"));
  EXPECT_EQ(PictureSize150(254, 127), QSize(1500, 750));
}

TEST(CatalogueFolder, AlbumsAreNeverMovedOntoAnother) {
  QTemporaryDir dir;
  const QString docs = dir.path() + "/";
  Touch(docs + "A/x.mdl");
  Touch(docs + "B/y.mdl");
  for (const QString& bad : {QString("B"), QString(""), QString(".."), QString("c/d")})
    EXPECT_FALSE(RenameAlbum(docs, "A", bad)) << bad.toStdString();
  EXPECT_TRUE(QFileInfo::exists(docs + "A/x.mdl") && QFileInfo::exists(docs + "B/y.mdl"));
  EXPECT_TRUE(RenameAlbum(docs, "A", "C"));
  EXPECT_TRUE(QFileInfo::exists(docs + "C/x.mdl"));
  Touch(docs + "C/x.jpg");
  Touch(docs + "C/x.db");
  EXPECT_TRUE(DeleteAlbum(docs, "C"));
  Touch(docs + "B/keep.txt");
  EXPECT_FALSE(DeleteAlbum(docs, "B"));
  EXPECT_TRUE(QFileInfo::exists(docs + "B/keep.txt"));
  EXPECT_FALSE(QFileInfo::exists(docs + "B/y.mdl"));
}

}  // namespace
