#include <gtest/gtest.h>

#include <QFile>

#include "render/canvas.h"
#include "render/emf_writer.h"
#include "render/metafile.h"
#include "render/recording_canvas.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr int MM_ANISOTROPIC = 8;
constexpr TColor kGreen = RGBColor(0, 128, 0);

QByteArray Le32(uint32_t v) {
  const char c[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  return QByteArray(c, 4);
}
QByteArray Record(uint32_t type, std::initializer_list<uint32_t> params, uint32_t sizeOverride = 0) {
  QByteArray r = Le32(type) + Le32(sizeOverride ? sizeOverride : uint32_t(8 + 4 * params.size()));
  for (uint32_t v : params) r += Le32(v);
  return r;
}
// Raw records spliced in before the end record of a written file.
QByteArray Splice(const QByteArray& file, const QByteArray& records) {
  return file.left(file.size() - 20) + records + file.right(20);
}

// A 100 x 50 mm picture whose logical units are 0.01 mm, the way drawing programs write them.
TEmfWriter HundredthsWriter() {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 5000)));
  w.SetMapMode(MM_ANISOTROPIC);
  w.SetWindowOrg(0, 0);
  w.SetWindowExt(10000, 5000);
  w.SetViewportOrg(0, 0);
  w.SetViewportExt(378, 189);  // 96 dpi reference pixels for 100 x 50 mm
  return w;
}

TMetafile Read(const QByteArray& data) {
  TMetafile mf;
  EXPECT_TRUE(mf.LoadFromData(data));
  return mf;
}

}  // namespace

// What an importer needs: header frame, path records, pens and brushes, each with typed access.
TEST(MetafileEmf, WrittenRecordsEnumerateWithTypedAccess) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(12000, 12000)));
  const uint32_t pen = w.CreatePen(0, 350, RGBColor(10, 20, 30));
  const uint32_t brush = w.CreateBrush(2, RGBColor(200, 0, 0), 3);
  w.SelectObject(pen);
  w.SelectObject(brush);
  w.BeginPath();
  w.MoveTo(100, 200);
  w.LineTo(1100, 200);
  const QPoint line[] = {{1100, 1200}, {100, 1200}};
  w.PolylineTo(line);
  const QPoint bez[] = {{200, 300}, {400, 500}, {600, 700}};
  w.PolyBezierTo(bez);
  w.CloseFigure();
  w.EndPath();
  w.FillPath();
  const QPoint far[] = {{100000, 5}};
  w.PolylineTo(far);  // does not fit 16 bits: the 32-bit form

  TMetafile mf = Read(w.Finish());
  ASSERT_EQ(mf.Kind(), TMetafileKind::Emf);
  EXPECT_EQ(mf.Frame(), QRect(QPoint(0, 0), QPoint(12000, 12000)));
  EXPECT_EQ(mf.Size(), QSize(454, 454));  // 120 mm at 96 dpi

  QStringList names;
  mf.Enumerate([&](const TMetafileRecord& r) {
    names << MetafileRecordName(TMetafileKind::Emf, r.Type);
    return true;
  });
  EXPECT_EQ(names, QStringList({"EMR_HEADER", "EMR_CREATEPEN", "EMR_CREATEBRUSHINDIRECT", "EMR_SELECTOBJECT",
                                "EMR_SELECTOBJECT", "EMR_BEGINPATH", "EMR_MOVETOEX", "EMR_LINETO",
                                "EMR_POLYLINETO16", "EMR_POLYBEZIERTO16", "EMR_CLOSEFIGURE", "EMR_ENDPATH",
                                "EMR_FILLPATH", "EMR_POLYLINETO", "EMR_EOF"}));
  const auto& recs = mf.Records();
  auto header = ReadEmfHeader(recs[0]);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->Frame.right(), 12000);
  EXPECT_EQ(header->RecordCount, 15u);
  auto p = ReadEmfCreatePen(recs[1]);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Color, RGBColor(10, 20, 30));
  EXPECT_EQ(p->Width, 350);
  auto b = ReadEmfCreateBrush(recs[2]);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Color, RGBColor(200, 0, 0));
  EXPECT_EQ(b->Style, 2u);
  EXPECT_EQ(b->Hatch, 3u);
  EXPECT_EQ(ReadEmfPoint(recs[6]), QPoint(100, 200));
  EXPECT_EQ(ReadEmfPoint(recs[7]), QPoint(1100, 200));
  EXPECT_EQ(ReadEmfPolyPoints(recs[8]), (std::vector<QPoint>{{1100, 1200}, {100, 1200}}));
  EXPECT_EQ(ReadEmfPolyPoints(recs[9]), (std::vector<QPoint>{{200, 300}, {400, 500}, {600, 700}}));
  EXPECT_EQ(ReadEmfPolyPoints(recs[13]), (std::vector<QPoint>{{100000, 5}}));
  // A typed read of the wrong record type answers nothing.
  EXPECT_FALSE(ReadEmfCreatePen(recs[2]));
  EXPECT_FALSE(ReadEmfPoint(recs[8]));
}

// Our own file, read back and played, gives the expected pixels.
TEST(MetafileEmf, WrittenPicturePlaysToExpectedPixels) {
  TEmfWriter w = HundredthsWriter();
  w.SelectObject(kStockObject | NULL_PEN);
  w.SelectObject(w.CreateBrush(0, clRed));
  w.Rectangle(1000, 1000, 4000, 3000);  // 10..40 mm x 10..30 mm
  w.SelectObject(kStockObject | BLACK_PEN);
  w.SelectObject(w.CreateBrush(0, clBlue));
  w.BeginPath();
  w.MoveTo(6000, 1000);
  w.LineTo(9000, 1000);
  w.LineTo(9000, 4000);
  w.CloseFigure();
  w.EndPath();
  w.FillPath();

  QImage img = RenderMetafile(Read(w.Finish()), 200, 100);  // 2 pixels per millimetre
  ASSERT_FALSE(img.isNull());
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(25, 25), clRed);
  EXPECT_EQ(c.Pixel(21, 21), clRed);
  EXPECT_EQ(c.Pixel(18, 18), clWhite);
  EXPECT_EQ(c.Pixel(50, 40), clRed);
  EXPECT_EQ(c.Pixel(82, 40), clWhite);
  EXPECT_EQ(c.Pixel(25, 62), clWhite);
  EXPECT_EQ(c.Pixel(175, 30), clBlue);   // inside the triangle
  EXPECT_EQ(c.Pixel(130, 70), clWhite);  // below its diagonal
  EXPECT_EQ(c.Pixel(122, 20), clBlue);
}

// Exact device coordinates for the mapping: window/viewport, frame to target, mirrored targets,
// world transforms, saved and restored state.
TEST(MetafileEmf, MappingGivesExactDeviceCoordinates) {
  TEmfWriter w = HundredthsWriter();
  w.Rectangle(1000, 1000, 4000, 3000);
  w.SaveDC();
  w.SetWorldTransform(QTransform().translate(5000, 2500).rotate(90));
  w.Rectangle(0, 0, 1000, 500);
  w.RestoreDC(-1);
  w.Ellipse(0, 0, 10000, 5000);
  const QPoint tri[] = {{0, 0}, {5000, 0}, {5000, 5000}};
  w.Polygon(tri);
  TMetafile mf = Read(w.Finish());

  TRecordingCanvas rec;
  rec.SetPen({kGreen, 7, psDot});
  ASSERT_TRUE(PlayMetafile(mf, rec, 0, 0, 200, 100));
  EXPECT_EQ(rec.CallStrings(), QStringList({"Rectangle 20 20 80 60", "Polygon 100,50 100,70 90,70 90,50",
                                            "Ellipse 0 0 200 100", "Polygon 0,0 100,0 100,100"}));
  // Stock pen and brush of a fresh device context.
  EXPECT_EQ(rec.Calls()[0].Pen, (TPen{clBlack, 1, psSolid}));
  EXPECT_EQ(rec.Calls()[0].Brush, (TBrush{clWhite, bsSolid}));
  // The canvas gets its own state back.
  EXPECT_EQ(rec.Pen(), (TPen{kGreen, 7, psDot}));

  rec.Clear();
  PlayMetafile(mf, rec, 400, 10, 200, 110);  // mirrored left to right, moved
  EXPECT_EQ(rec.CallStrings().first(), "Rectangle 320 30 380 70");
  EXPECT_EQ(rec.CallStrings()[3], "Polygon 400,10 300,10 300,110");

  // The reference device's pixel pitch does not matter: only frame to target.
  rec.Clear();
  PlayMetafile(mf, rec, 0, 0, 1000, 500);
  EXPECT_EQ(rec.CallStrings().first(), "Rectangle 100 100 400 300");
}

TEST(MetafileEmf, PensBrushesFontsAndText) {
  TEmfWriter w = HundredthsWriter();
  w.SelectObject(w.CreatePen(1 /* PS_DASH */, 0, clRed));
  w.SelectObject(w.CreateBrush(2 /* hatched */, clBlue, 5 /* diagonal cross */));
  w.Rectangle(0, 0, 1000, 1000);
  const uint32_t wide = w.CreatePen(0, 100, clBlack);  // 1 mm
  w.SelectObject(wide);
  w.SelectObject(kStockObject | NULL_BRUSH);
  w.Rectangle(0, 0, 1000, 1000);
  w.SelectObject(kStockObject | BLACK_PEN);
  w.DeleteObject(wide);
  w.SelectObject(w.ExtCreatePen(0x10000 | 0x200 /* geometric, flat ends */, 200, clRed));
  w.MoveTo(0, 0);
  w.LineTo(1000, 0);
  TLogFont lf;
  lf.Height = -500;  // 5 mm character height
  lf.Weight = 700;
  lf.Escapement = 900;
  lf.FaceName = "Arial";
  w.SelectObject(w.CreateFont(lf));
  w.SetTextColor(clBlue);
  w.SetBkMode(1);
  w.TextOut(2000, 3000, "Hi");
  w.SetTextAlign(6 | 24);  // centred on the baseline
  w.TextOut(2000, 3000, "Hi");

  TRecordingCanvas rec;
  PlayMetafile(Read(w.Finish()), rec, 0, 0, 400, 200);  // 4 pixels per millimetre
  const auto& calls = rec.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].Pen, (TPen{clRed, 1, psDash}));
  EXPECT_EQ(calls[0].Brush, (TBrush{clBlue, bsDiagCross}));
  EXPECT_EQ(calls[0].BkMode, bkOpaque);  // a fresh device context paints hatch and dash gaps
  EXPECT_EQ(calls[1].Pen, (TPen{clBlack, 4, psSolid}));
  EXPECT_EQ(calls[1].Brush.Style, bsClear);
  EXPECT_EQ(calls[2].Pen, (TPen{clRed, 8, psSolid}));
  EXPECT_EQ(calls[3].ToString(), "TextOut 80 120 \"Hi\"");
  EXPECT_EQ(calls[3].Font.Height, -20);
  EXPECT_EQ(calls[3].Font.Style, fsBold);
  EXPECT_EQ(calls[3].Font.Color, clBlue);
  EXPECT_EQ(calls[3].Escapement, 900);
  EXPECT_EQ(calls[3].BkMode, bkTransparent);
  // Centred on the baseline and turned by 90 degrees: the top-left moves up by half the width and
  // left by the ascent.
  TBitmapCanvas measure(nullptr);
  TFont f = calls[3].Font;
  measure.SetFont(f);
  const int width = measure.TextWidth("Hi"), ascent = measure.TextAscent();
  EXPECT_NEAR(calls[4].Args[0], 80 - ascent, 1);
  EXPECT_NEAR(calls[4].Args[1], 120 + width / 2, 1);
}

TEST(MetafileEmf, BitmapsPlayMirroredAndCombined) {
  QImage pic(2, 2, QImage::Format_RGB888);
  pic.setPixel(0, 0, qRgb(255, 0, 0));
  pic.setPixel(1, 0, qRgb(0, 255, 0));
  pic.setPixel(0, 1, qRgb(0, 0, 255));
  pic.setPixel(1, 1, qRgb(255, 255, 255));
  TEmfWriter w = HundredthsWriter();
  w.StretchDIBits(0, 0, 5000, 5000, pic);
  w.StretchDIBits(10000, 0, -5000, 5000, pic);  // negative extent: mirrored
  TMetafile mf = Read(w.Finish());
  QImage img = RenderMetafile(mf, 200, 100);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(10, 10), clRed);
  EXPECT_EQ(c.Pixel(90, 10), RGBColor(0, 255, 0));
  EXPECT_EQ(c.Pixel(10, 90), clBlue);
  EXPECT_EQ(c.Pixel(110, 10), RGBColor(0, 255, 0));
  EXPECT_EQ(c.Pixel(190, 10), clRed);

  // SRCAND keeps what is under white.
  TEmfWriter a = HundredthsWriter();
  a.SelectObject(kStockObject | NULL_PEN);
  a.SelectObject(kStockObject | BLACK_BRUSH);
  a.Rectangle(0, 0, 10000, 2500);
  a.StretchDIBits(0, 0, 5000, 5000, pic, 0x008800C6);
  img = RenderMetafile(Read(a.Finish()), 200, 100);
  EXPECT_EQ(c.Pixel(90, 90), clWhite);  // white on white
  EXPECT_EQ(c.Pixel(90, 10), clBlack);  // green AND black
  EXPECT_EQ(c.Pixel(10, 90), clBlue);   // blue AND white
}

TEST(MetafileEmf, ReportCountsRecordsByName) {
  TEmfWriter w = HundredthsWriter();
  w.Rectangle(0, 0, 10, 10);
  w.Rectangle(0, 0, 20, 20);
  TMetafile mf = Read(w.Finish());
  const QString report = MetafileReport(mf);
  EXPECT_TRUE(report.contains("kind: EMF")) << report.toStdString();
  EXPECT_TRUE(report.contains("size: 378 x 189 pixels"));
  EXPECT_TRUE(report.contains("frame: 0 0 10000 5000 (0.01 mm)"));
  EXPECT_TRUE(report.contains("  EMR_RECTANGLE 2\n"));
  EXPECT_TRUE(report.contains("  EMR_SETMAPMODE 1\n"));
  EXPECT_TRUE(report.contains("records: 9"));
}

// Hostile and broken input: a clear failure or a partial picture, never a crash.
TEST(MetafileEmf, MalformedInputFailsCleanly) {
  TEmfWriter w = HundredthsWriter();
  const QByteArray good = w.Finish();
  TMetafile mf;
  EXPECT_FALSE(mf.LoadFromData(QByteArray()));
  EXPECT_FALSE(mf.LoadFromData(good.left(60)));  // header cut short
  QByteArray badSig = good;
  badSig[40] = 'X';
  EXPECT_FALSE(mf.LoadFromData(badSig));
  EXPECT_FALSE(mf.Load("/nonexistent/file.emf"));
  EXPECT_FALSE(mf.IsValid());
  EXPECT_FALSE(PlayMetafile(mf, *std::make_unique<TRecordingCanvas>(), 0, 0, 10, 10));

  // Unknown records are skipped; a polygon claiming more points than it holds draws nothing; a record
  // whose size runs past the end stops the enumeration there.
  const QByteArray records = Record(9999, {1, 2, 3}) + Record(EMR_POLYGON16, {0, 0, 0, 0, 1000, 0, 0}) +
                             Record(EMR_RECTANGLE, {0, 0, 100, 100}) +
                             Record(EMR_RECTANGLE, {0, 0, 5, 5}, 0x7FFFFFF0);
  ASSERT_TRUE(mf.LoadFromData(Splice(good, records)));
  TRecordingCanvas rec;
  EXPECT_TRUE(PlayMetafile(mf, rec, 0, 0, 10000, 5000));
  EXPECT_EQ(rec.CallStrings(), QStringList({"Rectangle 0 0 100 100"}));
  EXPECT_EQ(mf.Records().back().Type, uint32_t(EMR_RECTANGLE));
  EXPECT_TRUE(MetafileReport(mf).contains("EMR_#9999 1"));

  // Absurd mapping values and object indices do not reach the canvas as garbage.
  const QByteArray wild = Record(EMR_SETWINDOWEXTEX, {1, 1}) + Record(EMR_SELECTOBJECT, {0x7FFFFFFF}) +
                          Record(EMR_RESTOREDC, {uint32_t(-100)}) +
                          Record(EMR_RECTANGLE, {0, 0, 0x7FFFFFFF, 5});
  ASSERT_TRUE(mf.LoadFromData(Splice(good, wild)));
  rec.Clear();
  PlayMetafile(mf, rec, 0, 0, 100, 100);
  ASSERT_EQ(rec.Calls().size(), 1u);
  EXPECT_LE(rec.Calls()[0].Args[2], 1 << 24);
}

// Files written by a drawing program: paths with Béziers, extended pens, world transforms.
TEST(MetafileEmf, DrawingProgramExportPlays) {
  TMetafile mf;
  ASSERT_TRUE(mf.Load(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.emf"));
  EXPECT_EQ(mf.Frame(), QRect(QPoint(0, 0), QPoint(10099, 6099)));
  EXPECT_EQ(mf.Size(), QSize(382, 231));
  int beziers = 0;
  for (const TMetafileRecord& r : mf.Records())
    if (r.Type == EMR_POLYBEZIERTO || r.Type == EMR_POLYBEZIERTO16)
      beziers += int(ReadEmfPolyPoints(r)->size());
  EXPECT_GT(beziers, 0);
  // 100 x 60 mm drawn at 4 pixels per millimetre: red box 5..45 x 5..30 mm outlined in black, blue
  // ellipse centred at (75, 18), green wave closed at x = 90 mm.
  QImage img = RenderMetafile(mf, 400, 240);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(100, 70), clRed);
  EXPECT_EQ(c.Pixel(20, 70), clBlack);  // 1 mm outline around x = 5 mm
  EXPECT_EQ(c.Pixel(12, 70), clWhite);
  EXPECT_EQ(c.Pixel(300, 72), clBlue);
  EXPECT_EQ(c.Pixel(300, 10), clWhite);
  EXPECT_EQ(c.Pixel(340, 200), RGBColor(0, 255, 0));
  EXPECT_EQ(c.Pixel(200, 120), clWhite);

  TMetafile text;
  ASSERT_TRUE(text.Load(LORVANE_TEST_DATA "/metafiles/inkscape_text.emf"));
  img = RenderMetafile(text, 240, 80);
  TBitmapCanvas t(&img);
  int black = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 240; ++x) black += t.Pixel(x, y) == clBlack;
  EXPECT_GT(black, 500);  // the glyph outlines were filled
  EXPECT_EQ(t.Pixel(2, 2), RGBColor(255, 255, 0));
}

// Text records as a drawing program writes them: a font, an aligned reference point and advances.
TEST(MetafileEmf, DrawingProgramTextPlays) {
  TMetafile mf;
  ASSERT_TRUE(mf.Load(LORVANE_TEST_DATA "/metafiles/libreoffice_text.emf"));
  QString text;
  for (const TMetafileRecord& r : mf.Records())
    if (auto t = ReadEmfText(r)) text += t->Text;
  EXPECT_EQ(text, "Lorvane");
  // 57 x 17 mm at 7.5 pixels per millimetre: the word sits in the left part of the yellow box.
  QImage img = RenderMetafile(mf, 430, 128);
  TBitmapCanvas c(&img);
  int black = 0, x1 = 1000, x2 = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 430; ++x)
      if (c.Pixel(x, y) == clBlack) ++black, x1 = std::min(x1, x), x2 = std::max(x2, x);
  EXPECT_GT(black, 1000);
  EXPECT_NEAR(x1, 35, 8);
  EXPECT_NEAR(x2, 290, 15);
  EXPECT_EQ(c.Pixel(5, 5), RGBColor(255, 255, 0));

  TMetafile shapes;
  ASSERT_TRUE(shapes.Load(LORVANE_TEST_DATA "/metafiles/libreoffice_shapes.emf"));
  img = RenderMetafile(shapes, 354, 203);
  TBitmapCanvas s(&img);
  EXPECT_EQ(s.Pixel(90, 50), clRed);
  EXPECT_EQ(s.Pixel(270, 55), clBlue);
}
