// Drawing that hostile input must not turn into huge allocations or endless work: giant text from a
// metafile's mapping, and clip paths far taller than any surface.
#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include "render/canvas.h"
#include "render/emf_writer.h"
#include "render/metafile.h"
#include "render/recording_canvas.h"

namespace {

// A paint device whose engine notes how each drawing call arrives: text items (whose glyphs the
// engine rasterises at the font's size, through its glyph cache) or plain paths.
class TEngineLog : public QPaintDevice {
 public:
  struct Engine : QPaintEngine {
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath& path) override { paths += path.isEmpty() ? 0 : 1; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override {
      largestTextPixels = std::max(largestTextPixels, item.font().pixelSize());
      ++texts;
    }
    Type type() const override { return QPaintEngine::User; }
    int texts = 0, paths = 0, largestTextPixels = 0;
  };

  TEngineLog(int w, int h) : w_(w), h_(h) {}
  QPaintEngine* paintEngine() const override { return &engine; }
  mutable Engine engine;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return w_;
      case PdmHeight:
        return h_;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  int w_, h_;
};

// A 10 x 10 mm picture whose anisotropic mapping stretches y a thousandfold: its one line of text
// in a -400 unit font asks for the largest font the player makes (20,000 pixels), turned by 45°.
QByteArray GiantTextEmf(int fontHeight, int stretch = 1000) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(1000, 1000)));
  w.SetMapMode(8);  // MM_ANISOTROPIC
  w.SetWindowExt(1, 1);
  w.SetViewportExt(1, stretch);
  TLogFont lf;
  lf.Height = fontHeight;
  lf.Escapement = lf.Orientation = 450;
  lf.FaceName = "Arial";
  w.SelectObject(w.CreateFont(lf));
  w.TextOut(0, 0, "WWWW");
  return w.Finish();
}

// Pixels of `img` that are not white.
int Ink(const QImage& img, QRect* bounds = nullptr) {
  int n = 0;
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n, box |= QRect(x, y, 1, 1);
  if (bounds) *bounds = box;
  return n;
}

}  // namespace

TEST(HostileDrawing, GiantTextReachesThePaintEngineAsOutlines) {
  const QByteArray giant = GiantTextEmf(-400);
  ASSERT_LT(giant.size(), 400);  // a few hundred bytes, as the file that asked for 2.2 GB
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(giant));
  TEngineLog device(64, 48);
  {
    QPainter painter(&device);
    TPainterCanvas canvas(&painter);
    ASSERT_TRUE(PlayMetafile(mf, canvas, 0, 0, 64, 48));
  }
  EXPECT_EQ(device.engine.texts, 0) << "largest text item: " << device.engine.largestTextPixels << " px";
  EXPECT_GT(device.engine.paths, 0);

  // Text of ordinary size still goes to the engine as text, hinted by the font engine.
  TMetafile small;
  ASSERT_TRUE(small.LoadFromData(GiantTextEmf(-12, 1)));  // about 15 pixels after the mapping
  TEngineLog other(64, 48);
  {
    QPainter painter(&other);
    TPainterCanvas canvas(&painter);
    PlayMetafile(small, canvas, 0, 0, 64, 48);
  }
  EXPECT_GT(other.engine.texts, 0);
  EXPECT_LE(other.engine.largestTextPixels, 256);
}

// Outlined text lands where the font engine would have put it, at the same size.
TEST(HostileDrawing, OutlinedTextMatchesTheFontsOwnDrawing) {
  for (int size : {300, 900}) {
    QImage ours(size * 3, size * 2, QImage::Format_RGB888), theirs = ours;
    ours.fill(Qt::white), theirs.fill(Qt::white);
    TBitmapCanvas c(&ours);
    TFont f;
    f.Name = "DejaVu Sans";
    f.Height = -size;
    c.SetFont(f);
    c.TextOut(10, 20, "Hg");
    {
      QPainter p(&theirs);
      QFont q("DejaVu Sans");
      q.setPixelSize(size);
      q.setKerning(false);
      p.setFont(q);
      p.setPen(Qt::black);
      p.drawText(QPointF(10, 20 + c.TextAscent()), "Hg");
    }
    QRect a, b;
    const int inkOurs = Ink(ours, &a), inkTheirs = Ink(theirs, &b);
    ASSERT_GT(inkTheirs, size * size / 20) << size;
    EXPECT_NEAR(inkOurs, inkTheirs, inkTheirs / 100) << size;
    EXPECT_LE((a.topLeft() - b.topLeft()).manhattanLength(), 2) << size;
    EXPECT_LE((a.bottomRight() - b.bottomRight()).manhattanLength(), 2) << size;
  }
}

// A clip path much taller than the surface clips to its inside on the surface (Qt gives up on
// polygons over 100,000 scan lines, leaving an empty region and leaking its tables).
TEST(HostileDrawing, TallClipPathClipsToItsInside) {
  QImage img(100, 100, QImage::Format_RGB888);
  img.fill(Qt::white);
  TBitmapCanvas c(&img);
  c.BeginPath();
  const QPoint tall[] = {{40, 0}, {50, 400000}, {60, 0}};
  c.Polygon(tall);
  c.EndPath();
  ASSERT_TRUE(c.SelectClipPath());
  c.SetBrush({clRed, bsSolid});
  c.FillRect(0, 0, 100, 100);
  for (int y : {0, 50, 99}) {
    EXPECT_EQ(c.Pixel(39, y), clWhite) << y;
    EXPECT_EQ(c.Pixel(40, y), clRed) << y;
    EXPECT_EQ(c.Pixel(59, y), clRed) << y;
    EXPECT_EQ(c.Pixel(60, y), clWhite) << y;
  }
  // On a surface without a size of its own the region stops at a 65,536-pixel box.
  TRecordingCanvas rec;
  rec.BeginPath();
  const QPoint huge[] = {{-(1 << 24), -(1 << 24)}, {1 << 24, -(1 << 24)}, {0, 1 << 24}};
  rec.Polygon(huge);
  rec.EndPath();
  ASSERT_TRUE(rec.SelectClipPath());
  ASSERT_TRUE(rec.ClipRegion());
  EXPECT_EQ(rec.ClipRegion()->boundingRect(), rec.Surface());
}

// A clip path admits exactly the pixels its fill paints, under either fill rule.
TEST(HostileDrawing, ClipPathAdmitsThePixelsItsFillPaints) {
  const QPoint star[] = {{20, 1}, {32, 38}, {1, 15}, {39, 15}, {8, 38}};
  const QPoint ring[] = {{2, 2},   {37, 2},  {37, 37}, {2, 37},  {2, 2},
                         {10, 10}, {29, 10}, {29, 29}, {10, 29}, {10, 10}};
  for (TPolyFillMode mode : {pfAlternate, pfWinding}) {
    for (std::span<const QPoint> shape : {std::span<const QPoint>(star), std::span<const QPoint>(ring)}) {
      QImage filled(40, 40, QImage::Format_RGB888), clipped = filled;
      filled.fill(Qt::white), clipped.fill(Qt::white);
      TBitmapCanvas f(&filled), k(&clipped);
      for (TBitmapCanvas* c : {&f, &k}) {
        c->SetPolyFillMode(mode);
        c->SetBrush({clBlack, bsSolid});
        c->BeginPath();
        c->Polygon(shape);
        c->CloseFigure();
        c->EndPath();
      }
      f.FillPath();
      ASSERT_TRUE(k.SelectClipPath());
      k.FillRect(0, 0, 40, 40);
      int differ = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) differ += f.Pixel(x, y) != k.Pixel(x, y);
      EXPECT_EQ(differ, 0) << "mode " << mode << ", " << shape.size() << " corners";
      EXPECT_GT(Ink(filled), 200);
    }
  }
}

// A clip region of many rectangles, overlapping and scattered, admits exactly their union.
TEST(HostileDrawing, ClipRegionOfManyRectanglesIsTheirUnion) {
  auto put = [](QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char(v >> (8 * i)));
  };
  std::vector<QRect> rects = {QRect(10, 10, 30, 20), QRect(30, 20, 30, 30), QRect(60, 20, 5, 5)};
  for (int i = 0; i < 20000; ++i)
    rects.emplace_back(int(i * 7919LL % 190), int(100 + i * 104729LL % 90), 2, 1);
  QByteArray params;
  put(params, uint32_t(32 + 16 * rects.size())), put(params, 5);  // RGN_COPY
  put(params, 32), put(params, 1), put(params, uint32_t(rects.size())),
      put(params, uint32_t(16 * rects.size()));
  for (int i = 0; i < 4; ++i) put(params, 0);
  for (const QRect& r : rects)
    for (int v : {r.left(), r.top(), r.right() + 1, r.bottom() + 1}) put(params, uint32_t(v));
  QByteArray record;
  put(record, 75), put(record, uint32_t(8 + params.size()));
  record += params;

  TEmfWriter w(QRect(QPoint(0, 0), QPoint(5291, 5291)));  // 200 x 200 reference pixels
  w.SelectObject(kStockObject | NULL_PEN);
  w.SelectObject(w.CreateBrush(0, clRed));
  QByteArray data = w.Finish();
  data.insert(data.size() - 20, record);
  w.Rectangle(0, 0, 200, 200);
  QByteArray rect = w.Finish();
  rect = rect.mid(rect.size() - 20 - 24, 24);  // the rectangle record alone
  data.insert(data.size() - 20, rect);
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(data));
  QImage img(200, 200, QImage::Format_RGB888);
  img.fill(Qt::white);
  TBitmapCanvas c(&img);
  ASSERT_TRUE(PlayMetafile(mf, c, 0, 0, 200, 200));
  QRegion expected;
  for (const QRect& r : rects) expected += r;
  int differ = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) differ += (c.Pixel(x, y) == clRed) != expected.contains(QPoint(x, y));
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(c.Pixel(35, 25), clRed);
  EXPECT_EQ(c.Pixel(45, 15), clWhite);
}
