#include <gtest/gtest.h>

#include "render/canvas.h"
#include "render/metafile.h"
#include "render/recording_canvas.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

// Builds a WMF in memory: optional placeable header, the standard header, records of 16-bit words.
class TWmfBuilder {
 public:
  void Record(uint16_t function, std::initializer_list<int> words) {
    QByteArray r;
    Put32(r, uint32_t(3 + words.size()));
    Put16(r, function);
    for (int w : words) Put16(r, uint16_t(w));
    body_ += r;
  }
  void RawRecord(uint16_t function, const QByteArray& params) {
    QByteArray r;
    Put32(r, uint32_t(3 + params.size() / 2));
    Put16(r, function);
    body_ += r + params;
  }
  QByteArray Build(std::optional<QRect> placeable, int inch = 1440) const {
    QByteArray out;
    if (placeable) {
      Put32(out, 0x9AC6CDD7);
      Put16(out, 0);
      for (int v : {placeable->left(), placeable->top(), placeable->right(), placeable->bottom()})
        Put16(out, uint16_t(v));
      Put16(out, uint16_t(inch));
      Put32(out, 0);
      Put16(out, 0);  // checksum, not checked
    }
    QByteArray body = body_;
    Put32(body, 3);
    Put16(body, 0);  // META_EOF
    Put16(out, 1);
    Put16(out, 9);
    Put16(out, 0x300);
    Put32(out, uint32_t((18 + body.size()) / 2));
    Put16(out, 8);
    Put32(out, 20);
    Put16(out, 0);
    return out + body;
  }
  static void Put16(QByteArray& b, uint16_t v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
  static void Put32(QByteArray& b, uint32_t v) {
    Put16(b, uint16_t(v & 0xFFFF)), Put16(b, uint16_t(v >> 16));
  }

 private:
  QByteArray body_;
};

}  // namespace

TEST(MetafileWmf, PlaceableFileMapsItsBoxToTheTarget) {
  TWmfBuilder b;
  b.Record(0x02FC, {0, 0x00FF, 0x0000, 0});  // CREATEBRUSHINDIRECT solid red -> object 0
  b.Record(0x02FA, {5, 0, 0, 0, 0});         // CREATEPENINDIRECT null pen -> object 1
  b.Record(0x012D, {0});                     // SELECTOBJECT brush
  b.Record(0x012D, {1});                     // SELECTOBJECT pen
  b.Record(0x041B, {500, 1000, 0, 0});       // RECTANGLE bottom, right, top, left
  b.Record(0x01F0, {0});                     // DELETEOBJECT 0: the slot is reused
  b.Record(0x02FC, {0, 0x0000, 0x00FF, 0});  // blue -> object 0 again
  b.Record(0x012D, {0});
  b.Record(0x0324, {3, 1000, 0, 2000, 0, 2000, 1000});                       // POLYGON
  b.Record(0x0213, {1000, 2000});                                            // LINETO y, x
  const QByteArray data = b.Build(QRect(QPoint(0, 0), QPoint(2000, 1000)));  // 1440 per inch

  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(data));
  EXPECT_EQ(mf.Kind(), TMetafileKind::Wmf);
  EXPECT_TRUE(mf.WmfPlaceable());
  EXPECT_EQ(mf.Size(), QSize(133, 67));  // 2000 x 1000 twips at 96 dpi
  EXPECT_EQ(mf.Records().size(), 11u);
  EXPECT_EQ(MetafileRecordName(TMetafileKind::Wmf, mf.Records()[8].Type), "META_POLYGON");

  TRecordingCanvas rec;
  ASSERT_TRUE(PlayMetafile(mf, rec, 0, 0, 200, 100));
  EXPECT_EQ(rec.CallStrings(),
            QStringList({"Rectangle 0 0 100 50", "Polygon 100,0 200,0 200,100", "LineTo 0,0 200,100"}));
  EXPECT_EQ(rec.Calls()[0].Brush, (TBrush{clRed, bsSolid}));
  EXPECT_EQ(rec.Calls()[0].Pen.Style, psClear);
  EXPECT_EQ(rec.Calls()[1].Brush, (TBrush{clBlue, bsSolid}));

  QImage img = RenderMetafile(mf, 200, 100);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(50, 25), clRed);
  EXPECT_EQ(c.Pixel(190, 50), clBlue);
  EXPECT_EQ(c.Pixel(50, 75), clWhite);
}

TEST(MetafileWmf, WindowRecordsGiveSizeWithoutPlaceableHeader) {
  TWmfBuilder b;
  b.Record(0x020B, {-100, -200});                             // SETWINDOWORG y, x
  b.Record(0x020C, {200, 400});                               // SETWINDOWEXT y, x
  b.Record(0x0418, {100, 200, -100, -200});                   // ELLIPSE over the whole window
  b.Record(0x0817, {0, 200, 0, -200, 100, 200, -100, -200});  // ARC from the left end to the right end
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(b.Build(std::nullopt)));
  EXPECT_FALSE(mf.WmfPlaceable());
  EXPECT_EQ(mf.WmfWindow(), QRect(-200, -100, 400, 200));
  EXPECT_EQ(mf.Size(), QSize(400, 200));
  TRecordingCanvas rec;
  PlayMetafile(mf, rec, 0, 0, 800, 400);
  EXPECT_EQ(rec.CallStrings(), QStringList({"Ellipse 0 0 800 400", "Arc 0 0 800 400 0,200 800,200"}));
}

TEST(MetafileWmf, TextAndDibs) {
  TWmfBuilder b;
  // CREATEFONTINDIRECT: height -20, weight 400, face "Arial".
  QByteArray font;
  for (int v : {-20, 0, 0, 0, 400}) TWmfBuilder::Put16(font, uint16_t(v));
  font += QByteArray(8, '\0') + QByteArray("Arial", 5) + QByteArray(3, '\0');
  b.RawRecord(0x02FB, font);
  b.Record(0x012D, {0});
  b.Record(0x0209, {0x00FF, 0});  // SETTEXTCOLOR red
  QByteArray text;
  TWmfBuilder::Put16(text, 3);
  text += QByteArray("Caf\xE9", 4);  // three characters padded to four bytes... plus é
  TWmfBuilder::Put16(text, 10);      // y
  TWmfBuilder::Put16(text, 20);      // x
  b.RawRecord(0x0521, text);
  // STRETCHDIB of a 1 x 1 24-bit green DIB into (0, 50)–(100, 100).
  QByteArray dib;
  TWmfBuilder::Put32(dib, 0x00CC0020);
  for (int v : {0, 1, 1, 0, 0, 50, 100, 50, 0}) TWmfBuilder::Put16(dib, uint16_t(v));
  for (uint32_t v : {40u, 1u, 1u}) TWmfBuilder::Put32(dib, v);
  TWmfBuilder::Put16(dib, 1);
  TWmfBuilder::Put16(dib, 24);
  for (int i = 0; i < 6; ++i) TWmfBuilder::Put32(dib, 0);
  dib += QByteArray("\x00\xFF\x00\x00", 4);
  b.RawRecord(0x0F43, dib);
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(b.Build(QRect(QPoint(0, 0), QPoint(100, 100)), 96)));
  TRecordingCanvas rec;
  PlayMetafile(mf, rec, 0, 0, 100, 100);
  ASSERT_EQ(rec.Calls().size(), 2u);
  EXPECT_EQ(rec.Calls()[0].ToString(), "TextOut 20 10 \"Caf\"");
  EXPECT_EQ(rec.Calls()[0].Font.Color, clRed);
  EXPECT_EQ(rec.Calls()[0].Font.Height, -20);
  EXPECT_EQ(rec.Calls()[1].ToString(), "StretchDraw 0 50 100 100");
  QImage img = RenderMetafile(mf, 100, 100);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(50, 75), RGBColor(0, 255, 0));
}

TEST(MetafileWmf, DrawingProgramExportPlays) {
  TMetafile mf;
  ASSERT_TRUE(mf.Load(LORVANE_TEST_DATA "/metafiles/inkscape_shapes.wmf"));
  EXPECT_TRUE(mf.WmfPlaceable());
  EXPECT_NEAR(mf.Size().width(), 378, 2);
  QImage img = RenderMetafile(mf, 400, 240);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(100, 70), clRed);
  EXPECT_EQ(c.Pixel(300, 72), clBlue);
  EXPECT_EQ(c.Pixel(340, 200), RGBColor(0, 255, 0));
  EXPECT_EQ(c.Pixel(200, 120), clWhite);
}

TEST(MetafileWmf, DrawingProgramTextPlays) {
  TMetafile mf;
  ASSERT_TRUE(mf.Load(LORVANE_TEST_DATA "/metafiles/libreoffice_text.wmf"));
  TRecordingCanvas rec;
  PlayMetafile(mf, rec, 0, 0, 430, 128);
  QStringList texts;
  for (const TCanvasCall& c : rec.Calls())
    if (c.Op == "TextOut") texts << c.Text;
  EXPECT_EQ(texts, QStringList({"Lorvane"}));
  QImage img = RenderMetafile(mf, 430, 128);
  TBitmapCanvas c(&img);
  EXPECT_EQ(c.Pixel(5, 5), RGBColor(255, 255, 0));
  int black = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 430; ++x) black += c.Pixel(x, y) == clBlack;
  EXPECT_GT(black, 1000);
}

TEST(MetafileWmf, MalformedInputFailsCleanly) {
  TMetafile mf;
  TWmfBuilder b;
  b.Record(0x0324, {30000, 1, 2});  // POLYGON claiming 30000 points
  b.Record(0x012D, {65535});        // SELECTOBJECT of a missing object
  b.Record(0x0127, {-5});           // RESTOREDC with nothing saved
  b.Record(0x041B, {10, 10, 0, 0});
  QByteArray data = b.Build(QRect(QPoint(0, 0), QPoint(10, 10)));
  ASSERT_TRUE(mf.LoadFromData(data));
  TRecordingCanvas rec;
  PlayMetafile(mf, rec, 0, 0, 10, 10);
  EXPECT_EQ(rec.CallStrings(), QStringList({"Rectangle 0 0 10 10"}));
  // A header of the wrong kind, a truncated header.
  QByteArray wrong = data;
  wrong[22] = 7;
  EXPECT_FALSE(mf.LoadFromData(wrong));
  EXPECT_FALSE(mf.LoadFromData(data.left(30)));
  // A record whose size runs past the end ends the list.
  QByteArray cut = data;
  cut[22 + 18] = char(0xFF);
  cut[22 + 19] = char(0x7F);
  ASSERT_TRUE(mf.LoadFromData(cut));
  EXPECT_TRUE(mf.Records().empty());
}

// A created object takes the lowest free index of the object table, however the indices were freed
// (twice, out of order); a full table of 65,536 objects ignores further creates.
TEST(MetafileWmf, ObjectsTakeTheLowestFreeIndex) {
  auto pen = [](TWmfBuilder& b, int red) { b.Record(0x02FA, {0, 1, 0, red, 0}); };  // CREATEPENINDIRECT
  auto drawWith = [](TWmfBuilder& b, int index) {
    b.Record(0x012D, {index});  // SELECTOBJECT
    b.Record(0x0213, {0, 10});  // LINETO y, x
  };
  auto redsDrawn = [](const TWmfBuilder& b) {
    TMetafile mf;
    EXPECT_TRUE(mf.LoadFromData(b.Build(QRect(QPoint(0, 0), QPoint(10, 10)), 96)));
    TRecordingCanvas rec;
    PlayMetafile(mf, rec, 0, 0, 10, 10);
    std::vector<int> reds;
    for (const TCanvasCall& c : rec.Calls()) reds.push_back(ColorR(c.Pen.Color));
    return reds;
  };

  TWmfBuilder b;
  for (int red : {1, 2, 3, 4}) pen(b, red);  // indices 0 to 3
  b.Record(0x01F0, {2});                     // DELETEOBJECT
  b.Record(0x01F0, {0});
  b.Record(0x01F0, {2});                  // already free
  for (int red : {5, 6, 7}) pen(b, red);  // into 0, then 2, then a new index 4
  for (int i = 0; i < 5; ++i) drawWith(b, i);
  EXPECT_EQ(redsDrawn(b), (std::vector<int>{5, 2, 6, 4, 7}));

  TWmfBuilder full;
  for (int i = 0; i < 65536; ++i) pen(full, i % 200 + 1);
  pen(full, 250);  // no room
  full.Record(0x01F0, {700});
  pen(full, 251);  // into 700
  pen(full, 252);  // no room
  for (int i : {699, 700, 65535}) drawWith(full, i);
  EXPECT_EQ(redsDrawn(full), (std::vector<int>{699 % 200 + 1, 251, 65535 % 200 + 1}));
}
