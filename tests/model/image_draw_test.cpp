#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/host.h"
#include "model/kinds.h"
#include "render/codecs.h"
#include "render/emf_writer.h"
#include "render/picture_io.h"
#include "render/recording_canvas.h"

namespace {

// Columns alternately black and white, one pixel each.
QImage Stripes(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < 3 * w; ++x) p[x] = (x / 3) % 2 ? 255 : 0;
  }
  return img;
}

// Lowest and highest red value away from the two outer pixels of each side, and the mean.
struct Spread {
  int lo = 255, hi = 0;
  double mean = 0;
};
Spread Inner(const QImage& img) {
  Spread s;
  long long sum = 0, n = 0;
  for (int y = 2; y < img.height() - 2; ++y)
    for (int x = 2; x < img.width() - 2; ++x, ++n) {
      const int v = qRed(img.pixel(x, y));
      s.lo = std::min(s.lo, v), s.hi = std::max(s.hi, v), sum += v;
    }
  s.mean = n ? double(sum) / double(n) : 0;
  return s;
}

// Largest difference of one channel between two pictures of one size, away from the two outer
// pixels of each side (mirrored at the edge, the last stripe of a whole picture counts twice).
int MaxDifference(const QImage& a, const QImage& b) {
  int most = 0;
  for (int y = 2; y < a.height() - 2; ++y)
    for (int x = 6; x < 3 * (a.width() - 2); ++x)
      most = std::max(most, std::abs(int(a.constScanLine(y)[x]) - int(b.constScanLine(y)[x])));
  return most;
}

// Language texts as "KEY|fallback", so that tests see which entry a label comes from.
struct KeyHost : TObjectHost {
  KeyHost() { SetObjectHost(this); }
  ~KeyHost() override { SetObjectHost(nullptr); }
  QString ReadSoftString(const QString&) override { return QString(); }
  int ReadSoftInteger(const QString&) override { return -1; }
  QString DataPath() override { return QString(); }
  QString Text(const QString& key, const QString& fallback) override {
    return key + QLatin1Char('|') + fallback;
  }
  void ShowMessage(const QString&) override {}
  QList<QPair<QString, QString>> ShellFolders() override { return {}; }
  QSizeF SupportSize(const QString&) override { return QSizeF(); }
};

QString Label(TzunoCADImage* img) {
  TRecordingCanvas rec;
  img->Draw(rec);
  for (const TCanvasCall& c : rec.Calls())
    if (c.Op == QLatin1String("TextOut")) return c.Text;
  return QString();
}

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

// The border is whole tiles (drawn stretched to the box); the box keeps its stored size.
TEST_F(ImageFixture, BorderTilesAreWholeAndTheBoxKept) {
  Columns(40, 20);  // corner tile 20 x 20 and an edge tile beside it
  img->Bordure = TBordure{true, 12, 12, 2};
  img->l = 50;
  img->h = 30;
  img->RebuildCache();
  EXPECT_DOUBLE_EQ(img->l, 50);
  EXPECT_DOUBLE_EQ(img->h, 30);
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
  // Transparent in the drawing; the object's own setting is no business of drawing.
  EXPECT_TRUE(img->CacheTransparent);
  EXPECT_EQ(img->CacheKeyColor, clMagenta);
  EXPECT_FALSE(img->Transparent);
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

// A file that is there but cannot be decoded says so; a missing one is still "not found".
TEST_F(ImageFixture, UnreadableFilesAreNotCalledMissing) {
  QTemporaryDir dir;
  const QString jpg = dir.filePath(QStringLiteral("casse.jpg")),
                emf = dir.filePath(QStringLiteral("casse.emf"));
  const QString absent = dir.filePath(QStringLiteral("absent.png"));
  for (const QString& path : {jpg, emf}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xFF\xD8\xFF\xE0 not really a picture");
  }
  img->l = img->h = 50;
  img->SetFichierImage(jpg);
  EXPECT_TRUE(img->PictureUnreadable());
  EXPECT_EQ(Label(img), QStringLiteral("\"%1\" illisible").arg(jpg));  // built-in text
  {
    KeyHost host;
    EXPECT_EQ(Label(img), QStringLiteral("CAD_TXT_IMG3|\"%1\" illisible").arg(jpg));
    img->SetFichierImage(absent);
    EXPECT_EQ(Label(img), QString::fromUtf8("CAD_TXT_IMG2|\"%1\" non trouvé").arg(absent));
    img->SetFichierImage(emf);  // a drawing that cannot be read
    EXPECT_EQ(Label(img), QStringLiteral("CAD_TXT_IMG3|\"%1\" illisible").arg(emf));
    img->SetPicture(Stripes(8, 8));
    EXPECT_FALSE(img->PictureUnreadable());
    EXPECT_EQ(Label(img), QString());
  }
}

// One-pixel stripes reduced 3 to 4 times become their mid grey, whether the picture is held in
// memory or let go and read again smaller (a JPEG decoded at a fraction of its size): both give
// nearly the same pixels. Reductions under 2 pick pixels, identically on both paths.
TEST_F(ImageFixture, ReductionsLookTheSameAtEveryFileSize) {
  QTemporaryDir dir;
  const QImage stripes = Stripes(2400, 1600);  // 11.5 MB decoded: let go after reading
  JpegOptions fine;
  fine.quality = 95;
  const QString jpg = dir.filePath(QStringLiteral("rayures.jpg")),
                png = dir.filePath(QStringLiteral("rayures.png"));
  ASSERT_TRUE(WritePictureFile(jpg, EncodeJpeg(stripes, fine)));
  ASSERT_TRUE(stripes.save(png));
  auto* held = static_cast<TzunoCADImage*>(doc.CreateObjet(QStringLiteral("image")));
  for (const QString& path : {jpg, png}) {
    img->SetFichierImage(path);
    held->SetPicture(LoadPicture(path));
    ASSERT_TRUE(img->HasPicture());
    for (double ratio : {3.0, 3.5, 4.0, 8.0, 1.5}) {
      SCOPED_TRACE(testing::Message() << path.toStdString() << " / " << ratio);
      for (TzunoCADImage* o : {img, held}) {
        o->l = 2400 / ratio;
        o->h = 1600 / ratio;
        o->RebuildCache();
      }
      EXPECT_TRUE(img->Picture.isNull());
      EXPECT_FALSE(held->Picture.isNull());
      ASSERT_EQ(img->Cache.size(), QSize(int(std::lround(2400 / ratio)), int(std::lround(1600 / ratio))));
      ASSERT_EQ(held->Cache.size(), img->Cache.size());
      if (ratio < 2) {
        EXPECT_TRUE(img->Cache == held->Cache);
        continue;
      }
      for (TzunoCADImage* o : {img, held}) {
        const Spread s = Inner(o->Cache);
        EXPECT_NEAR(s.mean, 127.5, 3) << (o == img ? "read again" : "held");
        EXPECT_GE(s.lo, 118) << (o == img ? "read again" : "held");
        EXPECT_LE(s.hi, 137) << (o == img ? "read again" : "held");
      }
      EXPECT_LE(MaxDifference(img->Cache, held->Cache), 3);
    }
  }

  // A small file stays in memory and is reduced the same way.
  const QString small = dir.filePath(QStringLiteral("petit.png"));
  ASSERT_TRUE(Stripes(1200, 800).save(small));
  img->SetFichierImage(small);
  img->l = 400;
  img->h = 800 / 3.0;
  img->RebuildCache();
  EXPECT_FALSE(img->Picture.isNull());
  const Spread s = Inner(img->Cache);
  EXPECT_GE(s.lo, 118);
  EXPECT_LE(s.hi, 137);
}

// An averaged picture with a key colour keeps its transparent pixels exact and its edges untinted.
TEST_F(ImageFixture, AveragedKeyColourDoesNotTintEdges) {
  QImage art(300, 300, QImage::Format_RGB888);
  art.fill(qRgb(255, 0, 255));
  for (int y = 100; y < 200; ++y)
    for (int x = 77; x < 211; ++x) art.setPixel(x, y, qRgb(0, 0, 200));
  img->SetPicture(art);
  img->Transparent = true;
  img->TransparentColor = clMagenta;
  img->l = img->h = 100;
  img->RebuildCache();
  ASSERT_EQ(img->Cache.size(), QSize(100, 100));
  int key = 0, blue = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const QRgb p = img->Cache.pixel(x, y);
      if (p == qRgb(255, 0, 255)) {
        ++key;
        continue;
      }
      ++blue;
      EXPECT_LE(qRed(p) + qGreen(p), 2) << x << "," << y;
      EXPECT_NEAR(qBlue(p), 200, 2) << x << "," << y;
    }
  EXPECT_NEAR(blue, 45 * 33, 150);  // about the square's share
  EXPECT_GT(key, 5000);
}
