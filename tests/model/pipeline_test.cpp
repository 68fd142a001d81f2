#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/kinds.h"
#include "render/picture_io.h"
#include "render/recording_canvas.h"

namespace {

// Box reduction weights are not normalised: interior pixels come out about 0.8 % darker.
bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
         std::abs(qBlue(a) - qBlue(b)) <= 3;
}

QImage White(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(Qt::white);
  return img;
}

// Counts the recorded calls of one operation.
int CountOps(const TRecordingCanvas& c, const char* op) {
  int n = 0;
  for (const TCanvasCall& call : c.Calls()) n += call.Op == QLatin1String(op);
  return n;
}

}  // namespace

TEST(Pipeline, DiscOverlayIsCachedPerSize) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 120, 120);
  d.Gabarit = 1;
  d.SetEntete(QStringLiteral("PetitDiam"), QStringLiteral("22"));
  d.ColorPapier = RGBColor(255, 0, 0);  // a red page shows where the overlay leaves the design visible
  QImage page = White(480, 480);
  TBitmapCanvas c(&page);
  d.DrawPage(c, QRect(0, 0, 480, 480));
  EXPECT_EQ(page.pixel(2, 2), qRgb(255, 255, 255));      // corner outside the disc
  EXPECT_EQ(page.pixel(240, 240), qRgb(255, 255, 255));  // the hole (22 mm = 88 px)
  EXPECT_EQ(page.pixel(240, 60), qRgb(255, 0, 0));       // on the disc: the design
  EXPECT_EQ(page.pixel(240, 0), qRgb(0, 0, 0));          // disc outline
  EXPECT_EQ(page.pixel(240, 240 - 44), qRgb(0, 0, 0));   // hole outline
  const qint64 key = d.OverlayCache().cacheKey();
  d.DrawPage(c, QRect(0, 0, 480, 480));
  EXPECT_EQ(d.OverlayCache().cacheKey(), key);  // same size: not rebuilt
  QImage small = White(240, 240);
  TBitmapCanvas cs(&small);
  d.DrawPage(cs, QRect(0, 0, 240, 240));
  EXPECT_NE(d.OverlayCache().cacheKey(), key);
  EXPECT_EQ(d.OverlayKey(), "1240240");
}

TEST(Pipeline, DrawDirectMapsIntoTheRectangle) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 120, 120);
  auto* r = static_cast<TzunoCADRect*>(d.CreateObjet(QStringLiteral("rect")));
  r->x = 60;
  r->y = 30;
  r->Selected = true;
  d.ShowAllFrames = true;
  TRecordingCanvas rec;
  d.DrawDirect(rec, QRect(100, 50, 480, 480));
  EXPECT_EQ(d.MmToPxX(60), 340);
  EXPECT_EQ(d.MmToPxY(30), 50 + 120);
  EXPECT_TRUE(d.ShowHandles);
  // Only the frame is drawn (all frames on): no handles while drawing for output.
  EXPECT_EQ(CountOps(rec, "Ellipse") + CountOps(rec, "Rectangle"), 0);
  EXPECT_EQ(CountOps(rec, "LineTo"), 4);
}

TEST(Pipeline, FoldLinesOfADvdCover) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 272, 183);
  d.Gabarit = 5;
  d.SetEntete(QStringLiteral("TailleTranche"), QStringLiteral("14"));
  for (int face : {1, 2}) {
    d.CurrentFace = face;
    TRecordingCanvas rec;
    d.PixelsPerMmX = d.PixelsPerMmY = 1;
    d.OriginX = d.OriginY = 0;
    d.DrawPliures(rec);
    ASSERT_EQ(CountOps(rec, "LineTo"), 2);
    const auto& calls = rec.Calls();
    EXPECT_EQ(calls[0].ToString(), "LineTo 129,0 129,183");
    EXPECT_EQ(calls[1].ToString(), "LineTo 143,0 143,183");
    EXPECT_EQ(calls[0].Pen.Style, face == 1 ? psDashDot : psDash);
  }
}

TEST(Pipeline, BitmapsAndExports) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 150, 100);
  d.ColorPapier = RGBColor(0, 0, 255);
  QImage bmp = White(100, 100);
  d.DrawBitmap(bmp);
  EXPECT_DOUBLE_EQ(d.PixelsPerMmX, 100.0 / 150);  // the overlay ran at the bitmap's own size
  EXPECT_TRUE(Near(bmp.pixel(50, 50), qRgb(0, 0, 255)));
  EXPECT_EQ(bmp.pixel(0, 0), qRgb(0, 0, 0));  // the page outline of an item without overlay

  QTemporaryDir dir;
  const QString jpg = dir.filePath(QStringLiteral("a.jpg")), bmpFile = dir.filePath(QStringLiteral("a.bmp"));
  ASSERT_TRUE(d.ExportJpeg(jpg, 300, 300, clWhite));
  EXPECT_EQ(LoadPicture(jpg).size(), QSize(300, 200));
  d.GabaritOnBitmaps = false;
  ASSERT_TRUE(d.ExportBmp(bmpFile, 90, 300, RGBColor(0, 255, 0)));
  const QImage back = LoadPicture(bmpFile);
  EXPECT_EQ(back.size(), QSize(90, 60));
  EXPECT_EQ(back.pixel(0, 0), qRgb(0, 255, 0));  // the frame
  EXPECT_TRUE(Near(back.pixel(45, 30), qRgb(0, 0, 255)));
  EXPECT_FALSE(d.ExportJpeg(dir.filePath(QStringLiteral("no/such/dir.jpg")), 300, 300, clWhite));
  d.Large = 0;
  EXPECT_FALSE(d.ExportJpeg(jpg, 300, 300, clWhite));
}

TEST(Pipeline, PreviewIsCentredWithItsMargin) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 200, 100);
  d.ColorPapier = RGBColor(0, 128, 0);
  d.PreviewBackColor = RGBColor(200, 200, 200);
  QImage img = White(200, 200);
  d.DrawApercuSimple(img, 10);
  // 180 x 180 inside, a 2:1 page gives 180 x 90 centred, then shifted by half the margin.
  EXPECT_EQ(img.pixel(5, 5), qRgb(200, 200, 200));
  EXPECT_TRUE(Near(img.pixel(100, 100), qRgb(0, 128, 0)));
  EXPECT_EQ(img.pixel(100, 50), qRgb(200, 200, 200));
}

// The disc overlay's circle and hole fill their boxes as the canvas's rectangles do: the disc from
// the first pixel to the last one, the hole from (W - d) / 2 to (W + d) / 2 - 1, mirror images about
// the middle.
TEST(Pipeline, DiscOverlayFillsItsBoxAsRectanglesDo) {
  for (const auto [w, h] : {std::pair(480, 480), std::pair(301, 301), std::pair(480, 360)}) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 120, 120.0 * h / w);
    d.Gabarit = 1;
    d.SetEntete(QStringLiteral("PetitDiam"), QStringLiteral("22"));
    d.ColorPapier = RGBColor(255, 0, 0);  // the design shows red through the disc
    QImage page = White(w, h);
    TBitmapCanvas c(&page);
    d.DrawPage(c, QRect(0, 0, w, h));
    auto row = [&](int y) {
      QString s;
      for (int x = 0; x < w; ++x) {
        const QRgb p = page.pixel(x, y);
        s += p == qRgb(0, 0, 0) ? 'k' : p == qRgb(255, 255, 255) ? '.' : p == qRgb(255, 0, 0) ? 'r' : '?';
      }
      return s;
    };
    for (int y = 0; y < h; ++y) {
      const QString r = row(y);
      QString mirrored = r;
      std::reverse(mirrored.begin(), mirrored.end());
      ASSERT_EQ(r.toStdString(), mirrored.toStdString()) << w << " row " << y;
      ASSERT_EQ(r.toStdString(), row(h - 1 - y).toStdString()) << w << " row " << y;
    }
    const int hole = d.MmToPxX(22), a = (w - hole) / 2, b = (w + hole) / 2 - 1;
    const QString expected =
        "k" + QString(a - 1, 'r') + "k" + QString(b - a - 1, '.') + "k" + QString(w - 2 - b, 'r') + "k";
    EXPECT_EQ(row((h - 1) / 2).toStdString(), expected.toStdString()) << w;
    const QString middle = [&] {
      QString s;
      for (int y = 0; y < h; ++y) s += page.pixel((w - 1) / 2, y) == qRgb(0, 0, 0) ? 'k' : '-';
      return s;
    }();
    EXPECT_TRUE(middle.startsWith('k') && middle.endsWith('k')) << w;
  }
}
