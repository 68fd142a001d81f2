#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "catalogue/cache_files.h"
#include "catalogue/catalogue_folder.h"
#include "catalogue/modele.h"
#include "catalogue/previews.h"
#include "shell/settings.h"

namespace {

bool Make(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
}

// An installation's templates and a user's documents side by side, with a lookalike of each root.
class CatalogueFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    d_ = dir_.path() + QLatin1Char('/');
    previous_ = Soft();
    soft_ =
        std::make_unique<TSoft>(d_ + "install/lorvane.ini", TSoftOptions{d_ + "install", d_ + "appdata", {}});
    soft_->ExePath = d_ + "install/";
    soft_->ModelesPath = d_ + "install/Modeles/";
    soft_->UserPath = d_ + "user/";
    soft_->DocumentsPath = d_ + "user/Mes documents/";
    SetSoft(soft_.get());
  }
  void TearDown() override { SetSoft(previous_); }

  QTemporaryDir dir_;
  QString d_;
  TSoft* previous_ = nullptr;
  std::unique_ptr<TSoft> soft_;
};

TEST_F(CatalogueFiles, SetFileDescribesTemplatesAndDocumentsAndClearsAnythingElse) {
  const QString modeles = d_ + "install/Modeles/", documents = d_ + "user/Mes documents/";
  for (const QString& f :
       {modeles + "CD et DVD/Audio/Foret.1.mdl", modeles + "Carte.mdl", documents + "Vacances/Recto.mdl",
        d_ + "other/x.mdl", d_ + "install/Modeles2/x.mdl", d_ + "user2/Mes documents/x.mdl",
        d_ + "user/Variantes/v.mdl"})
    ASSERT_TRUE(Make(f));
  const struct {
    QString path;
    QString root, category, relativeFolder, title;
    bool document;
  } cases[] = {
      {modeles + "CD et DVD/Audio/Foret.1.mdl", modeles, "CD et DVD/Audio", "CD et DVD/Audio/", "Foret.1",
       false},
      {modeles + "Carte.mdl", modeles, "", "", "Carte", false},
      // Not clean as given: resolved first.
      {d_ + "install/Modeles/../Modeles/./Carte.mdl", modeles, "", "", "Carte", false},
      {documents + "Vacances/Recto.mdl", documents, "Vacances", "Vacances/", "Recto", true},
      // The user's own files outside the documents stay placed below the user folder.
      {d_ + "user/Variantes/v.mdl", d_ + "user/", "Variantes", "Variantes/", "v", true},
      // Outside both roots, missing, a folder whose name merely begins like a root's, nothing.
      {d_ + "other/x.mdl", "", "", "", "", false},
      {modeles + "CD et DVD/Audio/Absent.mdl", "", "", "", "", false},
      {d_ + "install/Modeles2/x.mdl", "", "", "", "", false},
      {d_ + "user2/Mes documents/x.mdl", "", "", "", "", false},
      {"", "", "", "", "", false},
  };
  TModele m;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    m.SetFile(modeles + "Carte.mdl");  // the previous description must not survive
    m.SetFile(c.path);
    EXPECT_EQ(m.Root, c.root);
    EXPECT_EQ(m.Category, c.category);
    EXPECT_EQ(m.RelativeFolder, c.relativeFolder);
    EXPECT_EQ(m.Title, c.title);
    EXPECT_EQ(m.IsDocument, c.document);
    if (c.root.isEmpty()) {
      EXPECT_TRUE(m.FileName.isEmpty());
      EXPECT_TRUE(m.Folder.isEmpty());
    } else {
      EXPECT_EQ(m.FileName, QDir::cleanPath(c.path));
      EXPECT_EQ(m.Root + m.RelativeName, m.FileName);
      EXPECT_EQ(m.Folder + m.Title + m.Extension, m.FileName);
    }
  }
}

TEST_F(CatalogueFiles, SetFolderKeepsOnlyTheFolderOfItsFirstTemplate) {
  const QString audio = d_ + "install/Modeles/CD et DVD/Audio/";
  for (const char* f : {"b.mdl", "a.mdl", "a.jpg", "Sub/0.mdl"}) ASSERT_TRUE(Make(audio + f));
  TModele m;
  m.SetFolder(audio);
  EXPECT_TRUE(m.FileName.isEmpty());
  EXPECT_TRUE(m.RelativeName.isEmpty());
  EXPECT_EQ(m.Folder, audio);
  EXPECT_EQ(m.Category, "CD et DVD/Audio");
  EXPECT_EQ(m.Title, "a");

  const QString empty = d_ + "install/Modeles/Vide/";
  ASSERT_TRUE(Make(empty + "notes.txt"));
  m.SetFolder(empty);
  EXPECT_TRUE(m.Folder.isEmpty());
  EXPECT_TRUE(m.Category.isEmpty());
  EXPECT_TRUE(m.Root.isEmpty());
}

TEST_F(CatalogueFiles, CatalogueTemplatesShowsTheChosenSheetVariants) {
  const QString v = d_ + "v/", plain = d_ + "plain/";
  for (const char* f : {"a.1.mdl", "a.2.mdl", "a.4.mdl", "a.1.jpg"}) ASSERT_TRUE(Make(v + f));
  for (const char* f : {"y.mdl", "x.mdl", "x.jpg"}) ASSERT_TRUE(Make(plain + f));
  const std::array<bool, 6> oneAndFour{true, false, false, true, false, false};
  const struct {
    QString folder;
    const std::array<bool, 6>* gabarit;
    QStringList expected;
    bool gabaritCase;
  } cases[] = {
      {v, &oneAndFour, {v + "a.1.mdl", v + "a.4.mdl"}, true},
      {v, nullptr, {v + "a.1.mdl", v + "a.2.mdl", v + "a.4.mdl"}, false},
      {plain, &oneAndFour, {plain + "x.mdl", plain + "y.mdl"}, false},
      {d_ + "missing/", &oneAndFour, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder.toStdString());
    bool gabaritCase = !c.gabaritCase;
    EXPECT_EQ(CatalogueTemplates(c.folder, c.gabarit, &gabaritCase), c.expected);
    EXPECT_EQ(gabaritCase, c.gabaritCase);
  }
}

TEST_F(CatalogueFiles, SheetVariantsAndNeighbours) {
  const QString v = d_ + "v/";
  for (const char* f : {"a.1.mdl", "a.2.mdl", "a.4.mdl", "a.1.jpg", "b.mdl"}) ASSERT_TRUE(Make(v + f));
  const QStringList three{v + "a.1.mdl", v + "a.2.mdl", v + "a.4.mdl"};
  EXPECT_EQ(SheetVariants(v + "a.1.jpg"), three);
  EXPECT_EQ(SheetVariants(v + "a.4.mdl"), three);

  const struct {
    QString current;
    int step;
    QString expected;
  } cases[] = {
      {v + "a.1.mdl", 1, v + "a.2.mdl"},  {v + "b.mdl", 1, v + "a.1.mdl"},
      {v + "a.1.mdl", -1, v + "b.mdl"},   {v + "a.4.mdl", -1, v + "a.2.mdl"},
      {v + "gone.mdl", 1, v + "a.1.mdl"}, {v + "gone.mdl", -1, v + "b.mdl"},
      {d_ + "missing/a.mdl", 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.current + " " + QString::number(c.step)).toStdString());
    EXPECT_EQ(NeighbourTemplate(c.current, c.step), c.expected);
  }
}

TEST_F(CatalogueFiles, DeleteTemplateRemovesItsPreviewsToo) {
  QStandardPaths::setTestModeEnabled(true);
  const QString modele = d_ + "install/Modeles/Cartes/x.mdl";
  ASSERT_TRUE(Make(modele));
  ASSERT_TRUE(Make(PreviewPath(modele)));
  const QString cached = UserCacheFile(PreviewPath(modele));
  ASSERT_TRUE(cached.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
  ASSERT_TRUE(Make(cached));
  ASSERT_TRUE(Make(d_ + "install/Modeles/Cartes/y.mdl"));
  EXPECT_TRUE(DeleteTemplate(modele));
  EXPECT_FALSE(QFileInfo::exists(modele));
  EXPECT_FALSE(QFileInfo::exists(PreviewPath(modele)));
  EXPECT_FALSE(QFileInfo::exists(cached));
  EXPECT_TRUE(QFileInfo::exists(d_ + "install/Modeles/Cartes/y.mdl"));
}

TEST_F(CatalogueFiles, RenameAlbumNeverMergesOrLosesAnAlbum) {
  const QString docs = d_ + "user/Mes documents/";
  ASSERT_TRUE(Make(docs + "Noel/a.mdl"));
  ASSERT_TRUE(Make(docs + "Ete/b.mdl"));
  ASSERT_TRUE(QDir().mkpath(docs + "noel"));  // an empty album that differs only by case
  ASSERT_TRUE(Make(docs + "fichier"));
  for (const QString& name : {QString("Ete"), QString("noel"), QString("fichier"), QString(""), QString("  "),
                              QString("a/b"), QString(".."), QString(".")}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(RenameAlbum(docs, "Noel", name));
    EXPECT_TRUE(QFileInfo::exists(docs + "Noel/a.mdl"));
  }
  EXPECT_TRUE(QFileInfo::exists(docs + "Ete/b.mdl"));
  EXPECT_FALSE(QFileInfo::exists(docs + "Ete/a.mdl"));
  EXPECT_TRUE(QFileInfo(docs + "noel").isDir());
  EXPECT_FALSE(RenameAlbum(docs, "Absent", "Autre"));

  EXPECT_TRUE(RenameAlbum(docs, "Noel", "Noel 2026"));
  EXPECT_TRUE(QFileInfo::exists(docs + "Noel 2026/a.mdl"));
  EXPECT_FALSE(QFileInfo::exists(docs + "Noel"));
}

TEST_F(CatalogueFiles, DeleteAlbumKeepsAFolderWithForeignFiles) {
  const QString docs = d_ + "user/Mes documents/";
  for (const char* f : {"A/x.mdl", "A/x.jpg", "A/x.db", "A/notes.txt", "B/y.mdl", "B/y.jpg"})
    ASSERT_TRUE(Make(docs + f));
  EXPECT_FALSE(DeleteAlbum(docs, "A"));
  EXPECT_TRUE(QFileInfo::exists(docs + "A/notes.txt"));
  for (const char* f : {"A/x.mdl", "A/x.jpg", "A/x.db"}) EXPECT_FALSE(QFileInfo::exists(docs + f)) << f;
  EXPECT_TRUE(DeleteAlbum(docs, "B"));
  EXPECT_FALSE(QFileInfo::exists(docs + "B"));
  // A name that leaves the documents folder deletes nothing.
  EXPECT_FALSE(DeleteAlbum(docs + "A/", ".."));
  EXPECT_TRUE(QFileInfo::exists(docs + "A/notes.txt"));
}

TEST(CatalogueFileSizes, PictureSize150RoundsEachSide) {
  const struct {
    double w, h;
    QSize expected;
  } cases[] = {{25.4, 50.8, {150, 300}}, {120, 120, {709, 709}}, {210, 297, {1240, 1754}}, {0, 10, {0, 59}}};
  for (const auto& c : cases) EXPECT_EQ(PictureSize150(c.w, c.h), c.expected) << c.w << " x " << c.h;
}

}  // namespace
