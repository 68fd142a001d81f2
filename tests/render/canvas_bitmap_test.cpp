#include <gtest/gtest.h>

#include <QPainter>

#include "render/canvas.h"

// Readable strings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

QImage White(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(Qt::white);
  return img;
}

// The bounding box of the pixels that are not white (right/bottom exclusive), and their count.
struct Ink {
  int x1 = 1 << 30, y1 = 1 << 30, x2 = -1, y2 = -1, count = 0;
};
Ink InkOf(TBitmapCanvas& c, TColor background = clWhite) {
  Ink k;
  for (int y = 0; y < c.Bitmap()->height(); ++y)
    for (int x = 0; x < c.Bitmap()->width(); ++x)
      if (c.Pixel(x, y) != background) {
        k.x1 = std::min(k.x1, x), k.y1 = std::min(k.y1, y);
        k.x2 = std::max(k.x2, x + 1), k.y2 = std::max(k.y2, y + 1);
        ++k.count;
      }
  return k;
}

QString Row(TBitmapCanvas& c, int y) {
  QString s;
  for (int x = 0; x < c.Bitmap()->width(); ++x) s += c.Pixel(x, y) == clWhite ? '.' : '#';
  return s;
}

}  // namespace

// One-pixel outlines and fills cover exactly the pixels GDI paints.
TEST(CanvasBitmap, RectangleExcludesRightAndBottom) {
  QImage img = White(20, 20);
  TBitmapCanvas c(&img);
  c.SetPen({clBlack, 1, psSolid});
  c.SetBrush({clRed, bsSolid});
  c.Rectangle(2, 3, 12, 8);
  Ink k = InkOf(c);
  EXPECT_EQ(k.x1, 2);
  EXPECT_EQ(k.y1, 3);
  EXPECT_EQ(k.x2, 12);
  EXPECT_EQ(k.y2, 8);
  EXPECT_EQ(k.count, 50);
  EXPECT_EQ(c.Pixel(2, 3), clBlack);
  EXPECT_EQ(c.Pixel(11, 7), clBlack);
  EXPECT_EQ(c.Pixel(3, 4), clRed);
  EXPECT_EQ(c.Pixel(10, 6), clRed);

  // A clear pen leaves a fill one pixel smaller; width 0 draws like width 1.
  img.fill(Qt::white);
  c.SetPen({clBlack, 1, psClear});
  c.Rectangle(2, 3, 12, 8);
  k = InkOf(c);
  EXPECT_EQ(k.x2 - k.x1, 9);
  EXPECT_EQ(k.y2 - k.y1, 4);
  img.fill(Qt::white);
  c.SetPen({clBlack, 0, psSolid});
  c.SetBrush({clWhite, bsClear});
  c.Rectangle(2, 3, 12, 8);
  k = InkOf(c);
  EXPECT_EQ(k.count, 2 * 10 + 2 * 3);
}

TEST(CanvasBitmap, LinesLeaveOutTheLastPixel) {
  QImage img = White(20, 20);
  TBitmapCanvas c(&img);
  c.MoveTo(2, 5);
  c.LineTo(10, 5);
  EXPECT_EQ(Row(c, 5), "..########..........");
  EXPECT_EQ(c.PenPos(), QPoint(10, 5));
  c.LineTo(10, 9);  // continues from the pen position
  Ink k = InkOf(c);
  EXPECT_EQ(k.count, 12);
  EXPECT_EQ(c.Pixel(10, 8), clBlack);
  EXPECT_EQ(c.Pixel(10, 9), clWhite);
}

TEST(CanvasBitmap, PenStyles) {
  QImage img = White(40, 4);
  TBitmapCanvas c(&img);
  c.SetPen({clBlack, 1, psDot});
  c.MoveTo(0, 1);
  c.LineTo(40, 1);
  EXPECT_EQ(Row(c, 1), "###...###...###...###...###...###...###.");
  c.SetPen({clBlack, 1, psDash});
  c.MoveTo(0, 2);
  c.LineTo(40, 2);
  EXPECT_EQ(Row(c, 2), "##################......################");
  // Opaque background fills the gaps.
  c.SetBkMode(bkOpaque);
  c.SetBkColor(clRed);
  c.SetPen({clBlack, 1, psDot});
  c.MoveTo(0, 3);
  c.LineTo(8, 3);
  EXPECT_EQ(c.Pixel(3, 3), clRed);
  EXPECT_EQ(c.Pixel(2, 3), clBlack);
  // A clear pen draws nothing; a wide dashed pen draws solid.
  img.fill(Qt::white);
  c.SetPen({clBlack, 5, psClear});
  c.MoveTo(0, 2);
  c.LineTo(40, 2);
  EXPECT_EQ(InkOf(c).count, 0);
  c.SetPen({clBlack, 3, psDash});
  c.SetPenEnds(pcFlat, pjMiter);
  c.MoveTo(0, 2);
  c.LineTo(40, 2);
  EXPECT_EQ(InkOf(c).count, 3 * 40);  // rows 1 to 3, flat ends
}

TEST(CanvasBitmap, WidePensAndInsideFrame) {
  QImage img = White(40, 40);
  TBitmapCanvas c(&img);
  c.SetBrush({clWhite, bsClear});
  c.SetPen({clBlack, 5, psSolid});
  c.Ellipse(10, 10, 30, 30);
  Ink k = InkOf(c);
  EXPECT_LT(k.x1, 10);  // the pen straddles the outline
  c.SetPen({clBlack, 5, psInsideFrame});
  img.fill(Qt::white);
  c.Ellipse(10, 10, 30, 30);
  k = InkOf(c);
  EXPECT_GE(k.x1, 10);
  EXPECT_LE(k.x2, 30);
  EXPECT_GE(k.y1, 10);
  EXPECT_LE(k.y2, 30);
}

TEST(CanvasBitmap, PolygonFillAndOutline) {
  QImage img = White(20, 20);
  TBitmapCanvas c(&img);
  const QPoint square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  c.SetPen({clBlack, 1, psClear});
  c.SetBrush({clBlue, bsSolid});
  c.Polygon(square);
  Ink k = InkOf(c);
  EXPECT_EQ(k.count, 100);  // fill alone: right and bottom edges excluded
  c.SetPen({clBlack, 1, psSolid});
  c.Polygon(square);
  k = InkOf(c);
  EXPECT_EQ(k.x2, 13);  // the outline reaches the closing corner
  EXPECT_EQ(k.count, 121);

  // Winding fills the inner loop of a doubly wound figure, alternate leaves it empty.
  const QPoint twice[] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}, {0, 0},
                          {4, 4}, {12, 4}, {12, 12}, {4, 12}, {4, 4}};
  c.SetPen({clBlack, 1, psClear});
  for (auto [mode, inner] : {std::pair{pfAlternate, clWhite}, std::pair{pfWinding, clBlue}}) {
    img.fill(Qt::white);
    c.SetPolyFillMode(mode);
    c.Polygon(twice);
    EXPECT_EQ(c.Pixel(8, 8), inner);
    EXPECT_EQ(c.Pixel(1, 1), clBlue);
  }
}

TEST(CanvasBitmap, HatchBrushes) {
  QImage img = White(16, 16);
  TBitmapCanvas c(&img);
  c.SetPen({clBlack, 1, psClear});
  for (int style = bsHorizontal; style <= bsDiagCross; ++style) {
    img.fill(Qt::white);
    c.SetBrush({clRed, style});
    c.FillRect(0, 0, 16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(c.Pixel(x, y), HatchCovers(style, x, y) ? clRed : clWhite) << style << " " << x << "," << y;
  }
  EXPECT_TRUE(HatchCovers(bsHorizontal, 5, 3));
  EXPECT_TRUE(HatchCovers(bsBDiagonal, 7, 0));  // "/" rises to the right
  EXPECT_TRUE(HatchCovers(bsFDiagonal, 0, 0));
  // Opaque mode paints the gaps in the background colour.
  c.SetBkMode(bkOpaque);
  c.SetBkColor(clBlue);
  c.SetBrush({clRed, bsVertical});
  c.FillRect(0, 0, 8, 8);
  EXPECT_EQ(c.Pixel(4, 0), clRed);
  EXPECT_EQ(c.Pixel(0, 0), clBlue);
}

TEST(CanvasBitmap, PathsFillThenStrokeConsumes) {
  QImage img = White(30, 30);
  TBitmapCanvas c(&img);
  c.SetPen({clBlack, 1, psSolid});
  c.SetBrush({clRed, bsSolid});
  c.BeginPath();
  c.MoveTo(5, 5);
  c.LineTo(20, 5);
  const QPoint bez[] = {{25, 10}, {25, 15}, {20, 20}};
  c.PolyBezierTo(bez);
  c.LineTo(5, 20);
  c.CloseFigure();
  c.EndPath();
  EXPECT_EQ(InkOf(c).count, 0);  // nothing drawn while building
  EXPECT_TRUE(c.FillPath());
  EXPECT_EQ(c.Pixel(10, 10), clRed);
  EXPECT_EQ(c.Pixel(5, 12), clRed);
  EXPECT_FALSE(c.StrokePath());  // the fill consumed the path: no outline
  EXPECT_NE(c.Pixel(5, 20), clBlack);

  img.fill(Qt::white);
  c.BeginPath();
  c.Rectangle(5, 5, 15, 15);
  c.EndPath();
  EXPECT_TRUE(c.StrokeAndFillPath());
  EXPECT_EQ(c.Pixel(5, 5), clBlack);
  EXPECT_EQ(c.Pixel(10, 10), clRed);
  EXPECT_FALSE(c.FillPath());
}

TEST(CanvasBitmap, TextTopLeftAndEscapement) {
  QImage img = White(200, 200);
  TBitmapCanvas c(&img);
  TFont f;
  f.Height = -30;
  f.Color = clBlack;
  c.SetFont(f);
  c.TextOut(50, 60, "HHH");
  Ink k = InkOf(c);
  const QSize ext = c.TextExtent("HHH");
  EXPECT_GE(k.x1, 50);
  EXPECT_LE(k.x2, 50 + ext.width() + 1);
  EXPECT_GE(k.y1, 60);
  EXPECT_LE(k.y2, 60 + ext.height());
  EXPECT_NEAR(k.y2 - k.y1, 21, 2);  // Arial's capitals are 0.716 of the character height

  // 90 degrees counter-clockwise: the text runs upwards from the point, cell to its right.
  img.fill(Qt::white);
  c.SetFont(f, 900);
  EXPECT_EQ(c.Escapement(), 900);
  c.TextOut(50, 150, "HHH");
  k = InkOf(c);
  EXPECT_GE(k.x1, 50);
  EXPECT_LE(k.x2, 50 + ext.height());
  EXPECT_LE(k.y2, 151);
  EXPECT_GE(k.y1, 150 - ext.width() - 1);
  c.SetFont(f);
  EXPECT_EQ(c.Escapement(), 0);  // selecting a font drops the escapement

  // Opaque background fills the text cell.
  img.fill(Qt::white);
  c.SetBkMode(bkOpaque);
  c.SetBkColor(clBlue);
  c.TextOut(10, 10, "i");
  EXPECT_EQ(c.Pixel(10, 10), clBlue);
  EXPECT_EQ(c.Pixel(10 + c.TextWidth("i") - 1, 10 + ext.height() - 1), clBlue);
  EXPECT_EQ(c.Pixel(10 + c.TextWidth("i"), 10), clWhite);

  // Clipped text stays inside its rectangle.
  img.fill(Qt::white);
  c.SetBkMode(bkTransparent);
  c.TextRect(50, 60, 60, 70, 50, 60, "HHH");
  k = InkOf(c);
  EXPECT_GT(k.count, 0);
  EXPECT_LE(k.x2, 60);
  EXPECT_LE(k.y2, 70);
}

TEST(CanvasBitmap, StretchMirrorTransparentAnd) {
  // A 2 x 1 picture: red, blue.
  QImage pic(2, 1, QImage::Format_RGB888);
  pic.setPixel(0, 0, qRgb(255, 0, 0));
  pic.setPixel(1, 0, qRgb(0, 0, 255));
  QImage img = White(10, 4);
  TBitmapCanvas c(&img);
  c.StretchDraw(0, 0, 4, 2, pic);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  EXPECT_EQ(c.Pixel(1, 1), clRed);
  EXPECT_EQ(c.Pixel(2, 0), clBlue);
  EXPECT_EQ(c.Pixel(3, 1), clBlue);
  EXPECT_EQ(c.Pixel(4, 0), clWhite);
  EXPECT_EQ(c.Pixel(0, 2), clWhite);
  // Negative extent: the same rectangle, mirrored.
  c.StretchDraw(8, 2, 4, 4, pic);
  EXPECT_EQ(c.Pixel(4, 2), clBlue);
  EXPECT_EQ(c.Pixel(7, 3), clRed);
  EXPECT_EQ(c.Pixel(8, 2), clWhite);
  // The key colour is left out.
  img.fill(Qt::white);
  c.StretchDrawTransparent(0, 0, 4, 2, pic, clBlue);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  EXPECT_EQ(c.Pixel(3, 0), clWhite);
  // AND: white leaves the surface, colour combines bitwise.
  img.fill(qRgb(0, 255, 255));
  QImage and_(2, 1, QImage::Format_RGB888);
  and_.setPixel(0, 0, qRgb(255, 255, 255));
  and_.setPixel(1, 0, qRgb(255, 0, 255));
  c.StretchBlitAnd(0, 0, 2, 1, and_);
  EXPECT_EQ(c.Pixel(0, 0), RGBColor(0, 255, 255));
  EXPECT_EQ(c.Pixel(1, 0), RGBColor(0, 0, 255));
  // A huge target only samples what is visible: the surface sits just right of its middle.
  c.StretchDraw(-1000000, -1000000, 1000000, 1000000, pic);
  EXPECT_EQ(c.Pixel(0, 0), clBlue);
  EXPECT_EQ(c.Pixel(9, 3), clBlue);
}

TEST(CanvasBitmap, PixelsScanLinesAndClip) {
  QImage img = White(8, 8);
  TBitmapCanvas c(&img);
  c.SetPixel(3, 4, RGBColor(1, 2, 3));
  EXPECT_EQ(c.Pixel(3, 4), RGBColor(1, 2, 3));
  const uint8_t* line = c.ScanLine(4);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line[9], 1);
  EXPECT_EQ(line[10], 2);
  EXPECT_EQ(line[11], 3);
  EXPECT_EQ(c.ScanLine(8), nullptr);
  EXPECT_EQ(c.Pixel(-1, 0), clInvalid);
  c.SetPixel(100, 100, clBlack);  // outside: ignored

  c.IntersectClipRect(2, 2, 5, 5);
  c.SetBrush({clBlack, bsSolid});
  c.FillRect(0, 0, 8, 8);
  c.SetPixel(6, 6, clBlack);
  EXPECT_EQ(c.Pixel(6, 6), clWhite);
  EXPECT_EQ(c.Pixel(2, 2), clBlack);
  EXPECT_EQ(c.Pixel(4, 4), clBlack);
  EXPECT_EQ(c.Pixel(5, 5), clWhite);
  c.ResetClip();
  c.FillRect(0, 0, 1, 1);
  EXPECT_EQ(c.Pixel(0, 0), clBlack);
}

TEST(CanvasBitmap, PainterCanvasDrawsOnAnyPainter) {
  QImage img(10, 10, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TPainterCanvas c(&painter);
  c.SetBrush({clRed, bsSolid});
  c.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(c.Pixel(2, 2), clInvalid);  // no pixel access through a foreign painter
  painter.end();
  EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(4, 4), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(CanvasRegion, PointInPolygonRegion) {
  const QPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  TPolygonRegion r(square);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(9, 9));
  EXPECT_FALSE(r.Contains(10, 5));
  EXPECT_FALSE(r.Contains(5, 10));
  EXPECT_FALSE(r.Contains(-1, 5));
  // A rotated quadrilateral (a diamond) agrees with what a polygon fill paints.
  const QPoint diamond[] = {{10, 0}, {20, 10}, {10, 20}, {0, 10}};
  TPolygonRegion d(diamond);
  QImage img = White(21, 21);
  TBitmapCanvas c(&img);
  c.SetPen({clBlack, 1, psClear});
  c.SetBrush({clBlack, bsSolid});
  c.Polygon(diamond);
  int mismatches = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) mismatches += d.Contains(x, y) != (c.Pixel(x, y) == clBlack);
  EXPECT_EQ(mismatches, 0);  // including centres that sit exactly on a diagonal edge
  EXPECT_TRUE(d.Contains(10, 10));
  EXPECT_FALSE(d.Contains(2, 2));
  // Self-overlapping figure: winding counts the overlap as inside, alternate does not.
  const QPoint twice[] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}, {0, 0},
                          {4, 4}, {12, 4}, {12, 12}, {4, 12}, {4, 4}};
  EXPECT_FALSE(TPolygonRegion(twice, pfAlternate).Contains(8, 8));
  EXPECT_TRUE(TPolygonRegion(twice, pfWinding).Contains(8, 8));
  EXPECT_FALSE(TPolygonRegion(std::span<const QPoint>(square, 2)).Contains(0, 0));
}
