#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/kinds.h"
#include "render/canvas.h"

namespace {

QString SavePicture(const QTemporaryDir& dir, const char* name, QRgb topLeft) {
  QImage img(40, 20, QImage::Format_RGB888);
  img.fill(qRgb(10, 200, 30));
  img.setPixel(0, 0, topLeft);
  const QString path = dir.filePath(QString::fromLatin1(name));
  img.save(path);
  return path;
}

}  // namespace

TEST(Image, LoadingAPictureSetsTheKeyColourAndResetsTheCrop) {
  QTemporaryDir dir;
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
  img->CropX1 = 10;
  img->SetFichierImage(SavePicture(dir, "cle.png", qRgb(255, 0, 255)));
  ASSERT_FALSE(img->Picture.isNull());
  EXPECT_EQ(img->Picture.format(), QImage::Format_RGB888);
  EXPECT_TRUE(img->Transparent);
  EXPECT_EQ(img->TransparentColor, clMagenta);
  EXPECT_EQ(img->CropX1, 0);

  img->SetFichierImage(SavePicture(dir, "simple.bmp", qRgb(1, 2, 3)));
  EXPECT_FALSE(img->Transparent);
  EXPECT_EQ(img->Picture.size(), QSize(40, 20));

  // A missing file only changes the stored name; the picture stays.
  img->SetFichierImage(dir.filePath(QStringLiteral("absent.jpg")));
  EXPECT_EQ(img->Picture.size(), QSize(40, 20));
  EXPECT_EQ(PropValue(img->GetProperties(), u"FichierImage"), "absent.jpg");

  // Names go through merge fields and the document's resolver.
  d.OnChampFusion = [](TzunoCADObj*, const QString& f, QString& v) {
    v = f == QLatin1String("saison") ? "cle" : "";
  };
  d.OnCheminFichier = [&dir](TzunoCADMdl*, QString& n) { n = dir.filePath(n); };
  img->SetFichierImage(QStringLiteral("<Saison>.png"));
  EXPECT_EQ(img->FichierImage, dir.filePath(QStringLiteral("cle.png")));
  EXPECT_TRUE(img->Transparent);
}

TEST(Image, DrawingsAsPicturesAndMasks) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
  const QString emf = QStringLiteral(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.emf");
  img->SetFichierImage(emf);
  EXPECT_TRUE(img->MetafilePicture.IsValid());
  EXPECT_TRUE(img->Picture.isNull());
  img->SetFichierMasque(emf);
  EXPECT_TRUE(img->MaskMetafile.IsValid());
  EXPECT_EQ(PropValue(img->GetProperties(), u"FichierMasque"), "inkscape_shapes.emf");
  img->RemoveMask();
  EXPECT_FALSE(img->MaskMetafile.IsValid());
  EXPECT_FALSE(PropFind(img->GetProperties(), u"FichierMasque", nullptr));
}

TEST(Image, UndecodablePicturesLeaveAnEmptyPictureAndThePlaceholder) {
  QTemporaryDir dir;
  const QString broken = dir.filePath(QStringLiteral("casse.jpg"));
  QFile f(broken);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\xFF\xD8\xFF\xE0 not really a picture");
  f.close();
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
  img->SetFichierImage(broken);
  EXPECT_TRUE(img->Picture.isNull());
  QImage page(100, 100, QImage::Format_RGB888);
  page.fill(Qt::white);
  img->l = img->h = 50;
  TBitmapCanvas c(&page);
  d.DrawPage(c, page.rect());                          // the placeholder, nothing else
  EXPECT_EQ(page.pixel(26, 26), qRgb(128, 128, 128));  // on its diagonal
  img->SetPicture(QImage(8, 4, QImage::Format_ARGB32));
  EXPECT_EQ(img->Picture.format(), QImage::Format_RGB888);
  EXPECT_EQ(img->Picture.size(), QSize(8, 4));
}

// Picture and mask files the resolver cannot find keep the names they were stored with, as does
// the page's support; saving the document writes them back unchanged.
TEST(Image, UnresolvedFilesKeepTheirStoredNames) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d.OnCheminFichier = [](TzunoCADMdl*, QString& name) { name.clear(); };
  d.LoadFromStrings({QStringLiteral("Large=100"), QStringLiteral("Haut=100"),
                     QStringLiteral("SupportFichier=Boite absente.emf"), QString(), QStringLiteral("Face=1"),
                     QStringLiteral("  Objet=1"), QStringLiteral("    Name=image"),
                     QStringLiteral("    FichierImage=Photos\\absente.jpg"),
                     QStringLiteral("    FichierMasque=Formes\\absent.emf"), QStringLiteral("  End"),
                     QStringLiteral("End")});
  ASSERT_EQ(d.Count(), 1);
  auto* img = static_cast<TzunoCADImage*>(d.Objet(0));
  EXPECT_FALSE(img->HasPicture());
  const QStringList saved = d.SaveToStrings();
  for (const char* line :
       {"    FichierImage=absente.jpg", "    FichierMasque=absent.emf", "SupportFichier=Boite absente.emf"})
    EXPECT_TRUE(saved.contains(QString::fromLatin1(line))) << line << "\n" << saved.join('\n').toStdString();
}

// Drawing a masked picture, turned or not, leaves the object as it was stored.
// A drawing stored turned reads back unturned, as drawing shows it; a tiled border box that is not a
// whole number of tiles keeps its size (the tiles are stretched to it): drawing the document at any size
// changes nothing stored.
TEST(Image, DrawnDrawingsAndTiledBordersKeepTheirStoredBox) {
  QTemporaryDir dir;
  const QString tiles = SavePicture(dir, "bord.png", qRgb(200, 20, 20));
  struct Case {
    const char* name;
    QString picture, bordure;
    double r, l, h;
  };
  const Case cases[] = {
      {"drawing", QStringLiteral(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.emf"),
       QStringLiteral("0,12,12,2"), 30, 40, 30},
      {"tiles", tiles, QStringLiteral("1,7,6,2"), 0, 40.3, 30.9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The stored properties, as a file holds them.
    TzunoCADMdl scratch(nullptr, QRect(0, 0, 100, 100), 100, 100);
    auto* stored = static_cast<TzunoCADImage*>(scratch.CreateObjet(QStringLiteral("image")));
    stored->SetFichierImage(c.picture);
    stored->Bordure = ReadBordure(c.bordure);
    stored->x = stored->y = 50;
    stored->l = c.l;
    stored->h = c.h;
    stored->r = c.r;
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
    QStringList props = stored->GetProperties();
    props.replaceInStrings(QRegularExpression(QStringLiteral("^FichierImage=.*")),
                           QStringLiteral("FichierImage=") + c.picture);
    img->SetProperties(props);
    ASSERT_TRUE(img->HasPicture() || img->MetafilePicture.IsValid());
    const QStringList read = img->GetProperties();
    for (int size : {37, 200, 1111}) {
      QImage page(size, size, QImage::Format_RGB888);
      d.DrawBitmap(page);
      EXPECT_EQ(img->GetProperties(), read) << size;
    }
  }
}

TEST(Image, DrawingAMaskedPictureChangesNothingStored) {
  QTemporaryDir dir;
  for (double r : {0.0, 30.0}) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
    img->SetFichierImage(SavePicture(dir, "photo.png", qRgb(10, 200, 30)));
    img->SetFichierMasque(QStringLiteral(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.emf"));
    ASSERT_TRUE(img->MaskMetafile.IsValid());
    img->x = img->y = 50;
    img->l = img->h = 40;
    img->r = r;
    const QStringList before = img->GetProperties();
    QImage page(200, 200, QImage::Format_RGB888);
    d.DrawBitmap(page);
    EXPECT_TRUE(img->CacheTransparent) << r;
    EXPECT_EQ(img->GetProperties(), before) << r;
  }
}
