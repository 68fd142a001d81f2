#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/kinds.h"
#include "render/emf_writer.h"
#include "render/recording_canvas.h"

namespace {

struct ImageFixture : ::testing::Test {
  TzunoCADMdl doc{nullptr, QRect(0, 0, 100, 100), 100, 100};
  TzunoCADImage* img = static_cast<TzunoCADImage*>(doc.CreateObjet(QStringLiteral("image")));
  ImageFixture() { doc.PixelsPerMmX = doc.PixelsPerMmY = 1; }
  // A picture whose column index is readable from its red channel.
  void Columns(int w, int h) {
    img->Picture = QImage(w, h, QImage::Format_RGB888);
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y) img->Picture.setPixel(x, y, qRgb(x * 255 / (w - 1), 100, 100));
  }
};

}  // namespace

TEST_F(ImageFixture, CropKeepsTheMiddleColumns) {
  Columns(1000, 500);
  img->CropX1 = 10;
  img->CropX2 = 10;
  img->l = 800;
  img->h = 500;
  img->RebuildCache();
  ASSERT_EQ(img->Cache.size(), QSize(800, 500));
  EXPECT_EQ(qRed(img->Cache.pixel(0, 0)), 100 * 255 / 999);
  EXPECT_EQ(qRed(img->Cache.pixel(799, 0)), 899 * 255 / 999);
  EXPECT_EQ(img->CacheKey, "8005000");
}

TEST_F(ImageFixture, NeverEnlargedAndRebuiltOnlyWhenTheKeyChanges) {
  Columns(100, 50);
  img->l = 400;
  img->h = 100;  // 4:1 box: the cache keeps the aspect inside the picture
  EXPECT_EQ(img->TargetSize(), QSize(100, 25));
  img->l = 60;
  img->h = 30;
  EXPECT_EQ(img->TargetSize(), QSize(60, 30));
  TRecordingCanvas rec;
  img->Draw(rec);
  const qint64 first = img->Cache.cacheKey();
  img->Draw(rec);
  EXPECT_EQ(img->Cache.cacheKey(), first);
  img->l = 50;
  img->Draw(rec);
  EXPECT_NE(img->Cache.cacheKey(), first);
}

TEST_F(ImageFixture, RotationLeavesTransparentCorners) {
  Columns(100, 60);
  img->l = 100;
  img->h = 60;
  img->r = 30;
  img->x = img->y = 50;
  img->RebuildCache();
  EXPECT_TRUE(img->CacheTransparent);
  EXPECT_EQ(img->CacheKeyColor, clMagenta);
  EXPECT_EQ(img->Cache.pixel(0, 0), qRgb(255, 0, 255));
  EXPECT_EQ(img->Cache.width(), 117);  // |100 cos 30| + |60 sin 30|
  EXPECT_NE(img->Cache.pixel(img->Cache.width() / 2, img->Cache.height() / 2), qRgb(255, 0, 255));
  TRecordingCanvas rec;
  img->Draw(rec);
  ASSERT_FALSE(rec.Calls().empty());
  const TCanvasCall& c = rec.Calls().front();
  EXPECT_EQ(c.Op, "StretchDraw");
  EXPECT_EQ(c.Key, std::optional<TColor>(clMagenta));
  // The bounding box of the turned box, around the centre.
  EXPECT_EQ(c.Args, (std::vector<int>{-8, -1, 108, 101}));  // 116.0 x 102.0 around (50, 50)
}

TEST_F(ImageFixture, BorderTilesSnapTheBox) {
  Columns(40, 20);  // corner tile 20 x 20 and an edge tile beside it
  img->Bordure = TBordure{true, 12, 12, 2};
  img->l = 50;
  img->h = 30;
  img->RebuildCache();
  EXPECT_DOUBLE_EQ(img->l, 48);
  EXPECT_DOUBLE_EQ(img->h, 24);
  EXPECT_EQ(img->Cache.size(), QSize(48, 24));
  // Hostile tile sizes give no cache rather than millions of tiles.
  img->Bordure = TBordure{true, 0, 12, 2};
  img->RebuildCache();
  EXPECT_TRUE(img->Cache.isNull());
}

TEST_F(ImageFixture, MaskCutsOutsideTheShapeAndNegativeHasNoBand) {
  QTemporaryDir dir;
  const QString emf = dir.filePath(QStringLiteral("rond.emf"));
  {
    TEmfWriter w(QRect(QPoint(0, 0), QPoint(2645, 2645)));  // 100 pixels at 96 per inch
    w.SelectObject(w.CreateBrush(0, clBlack));
    w.Ellipse(0, 0, 100, 100);
    ASSERT_TRUE(w.Save(emf));
  }
  Columns(100, 100);
  img->l = img->h = 100;
  img->SetFichierMasque(emf);
  ASSERT_TRUE(img->MaskMetafile.IsValid());
  img->MasqueBordure = 10;
  img->MasqueBordureColor = RGBColor(0, 0, 255);
  img->RebuildCache();
  EXPECT_TRUE(img->Transparent);
  EXPECT_EQ(img->Cache.pixel(1, 1), qRgb(255, 0, 255));  // outside the disc
  EXPECT_EQ(img->Cache.pixel(50, 3), qRgb(0, 0, 255));   // the band along the edge
  EXPECT_EQ(qGreen(img->Cache.pixel(50, 50)), 100);      // the picture inside
  img->MasqueNegatif = true;
  img->RebuildCache();
  EXPECT_EQ(img->Cache.pixel(50, 50), qRgb(255, 0, 255));
  EXPECT_NE(img->Cache.pixel(50, 3), qRgb(0, 0, 255));
}

TEST_F(ImageFixture, PlaceholdersAndMetafilePictures) {
  TRecordingCanvas rec;
  img->FichierImage = QStringLiteral("ete.jpg");
  img->Draw(rec);
  bool labelled = false;
  for (const TCanvasCall& c : rec.Calls()) labelled |= c.Text == QString::fromUtf8("\"ete.jpg\" non trouvé");
  EXPECT_TRUE(labelled);
  doc.DrawPlaceholders = false;
  rec.Clear();
  img->Draw(rec);
  EXPECT_TRUE(rec.Calls().empty());
  img->SetFichierImage(QStringLiteral(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.emf"));
  img->r = 45;
  img->l = img->h = 40;
  rec.Clear();
  img->Draw(rec);
  EXPECT_EQ(img->r, 0);
  EXPECT_FALSE(img->HandleEnabled[2]);
  EXPECT_FALSE(rec.Calls().empty());
}

// Large pictures from files are let go once cached and read again for the next cache; a file that
// went away meanwhile keeps the last cache instead of losing the picture.
TEST_F(ImageFixture, LargePicturesAreReadAgainWhenTheCacheChanges) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("grand.bmp"));
  QImage big(2200, 1400, QImage::Format_RGB888);  // 9.2 MB decoded
  for (int x = 0; x < big.width(); ++x)
    for (int y = 0; y < big.height(); ++y) big.setPixel(x, y, qRgb(x * 255 / (big.width() - 1), 40, 40));
  ASSERT_TRUE(big.save(path));
  img->SetFichierImage(path);
  EXPECT_TRUE(img->Picture.isNull());  // not held while the document is read
  EXPECT_EQ(img->PictureSize(), QSize(2200, 1400));
  img->l = 220;
  img->h = 140;
  TRecordingCanvas rec;
  img->Draw(rec);
  ASSERT_EQ(img->Cache.size(), QSize(220, 140));
  EXPECT_TRUE(img->Picture.isNull());
  EXPECT_TRUE(img->HasPicture());
  EXPECT_EQ(img->PictureSize(), QSize(2200, 1400));
  EXPECT_EQ(img->TargetSize(), QSize(220, 140));

  img->l = 1100;  // a larger view needs the picture again
  img->h = 700;
  img->Draw(rec);
  ASSERT_EQ(img->Cache.size(), QSize(1100, 700));
  EXPECT_GE(qRed(img->Cache.pixel(1099, 0)), 250);
  EXPECT_LE(qRed(img->Cache.pixel(0, 0)), 2);
  EXPECT_TRUE(img->Picture.isNull());

  ASSERT_TRUE(QFile::remove(path));
  img->l = 550;
  img->h = 350;
  img->Draw(rec);
  EXPECT_EQ(img->Cache.size(), QSize(1100, 700));
  EXPECT_TRUE(img->HasPicture());
  EXPECT_TRUE(img->EnsurePicture() == false);

  // Pictures set in memory have no file to read again: they stay.
  img->SetPicture(big);
  img->Draw(rec);
  EXPECT_FALSE(img->Picture.isNull());
}
