#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/picture_fixtures.h"
#include "render/codecs.h"

namespace {

QImage Decode(const QByteArray& b) {
  return DecodeBmp(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size()));
}

// A BMP with a 40-byte header built field by field.
struct Bmp {
  int32_t width = 4, height = 2;
  uint16_t bpp = 8;
  uint32_t compression = 0, colorsUsed = 0;
  std::vector<QRgb> palette;
  std::vector<uint32_t> masks;  // written after the header
  QByteArray pixels;
  bool zeroOffset = false;

  QByteArray bytes() const {
    QByteArray b;
    auto u16 = [&](uint32_t v) { b.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xffff), u16(v >> 16); };
    const uint32_t offset = 54 + uint32_t(masks.size()) * 4 + uint32_t(palette.size()) * 4;
    b.append("BM");
    u32(offset + uint32_t(pixels.size()));
    u32(0);
    u32(zeroOffset ? 0 : offset);
    u32(40), u32(uint32_t(width)), u32(uint32_t(height)), u16(1), u16(bpp), u32(compression);
    u32(uint32_t(pixels.size())), u32(2835), u32(2835), u32(colorsUsed), u32(0);
    for (uint32_t m : masks) u32(m);
    for (QRgb c : palette)
      b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    return b + pixels;
  }
};

QByteArray Hex(const char* s) {
  return QByteArray::fromHex(s);
}

const QRgb R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255), K = qRgb(0, 0, 0),
           W = qRgb(255, 255, 255);

void ExpectPixels(const QImage& img, int width, const std::vector<QRgb>& expected, const char* what) {
  ASSERT_FALSE(img.isNull()) << what;
  ASSERT_EQ(img.width(), width) << what;
  ASSERT_EQ(img.width() * img.height(), int(expected.size())) << what;
  for (int i = 0; i < int(expected.size()); ++i)
    EXPECT_EQ(img.pixel(i % width, i / width), expected[size_t(i)]) << what << " pixel " << i;
}

}  // namespace

TEST(BmpCodec, WrittenFilesOfEveryCommonKind) {
  const struct {
    const char* file;
    const char* source;
  } cases[] = {
      {"bmp_rgb24.bmp", "rgb.ppm"},   {"bmp_v5_rgb24.bmp", "rgb.ppm"},  {"bmp_rgb32.bmp", "rgb.ppm"},
      {"bmp_pal1.bmp", "two.ppm"},    {"bmp_pal4.bmp", "rgb.ppm"},      {"bmp_pal8.bmp", "grad64.ppm"},
      {"bmp_rle8.bmp", "grad64.ppm"}, {"bmp_os2_rgb24.bmp", "rgb.ppm"}, {"bmp_os2_pal4.bmp", "rgb.ppm"},
  };
  for (const auto& c : cases) {
    const QImage img = LoadBmp(Fixture(c.file));
    ASSERT_FALSE(img.isNull()) << c.file;
    EXPECT_EQ(img.format(), QImage::Format_RGB888);
    EXPECT_EQ(img, Source(c.source)) << c.file;
  }
  // 5- and 6-bit channels widen to 0..255; the writer truncated 85 and 170 to 5 bits (one step = 8).
  const QImage rgb = Source("rgb.ppm");
  for (const char* file : {"bmp_rgb555.bmp", "bmp_rgb565.bmp"}) {
    const QImage img = LoadBmp(Fixture(file));
    ASSERT_EQ(img.size(), rgb.size()) << file;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const QRgb a = img.pixel(x, y), e = rgb.pixel(x, y);
        EXPECT_NEAR(qRed(a), qRed(e), 8) << file;
        EXPECT_NEAR(qGreen(a), qGreen(e), 8) << file;
        EXPECT_NEAR(qBlue(a), qBlue(e), 8) << file;
      }
    EXPECT_EQ(img.pixel(3, 0), qRgb(255, 0, 255)) << file;
  }
  // 32 bits with an alpha mask: the colour channels are taken, alpha is ignored.
  ExpectPixels(LoadBmp(Fixture("bmp_argb32.bmp")), 4,
               {R, B, K, qRgb(255, 0, 255), R, G, qRgb(85, 170, 255), W}, "argb32");
}

TEST(BmpCodec, HandMadeLayouts) {
  {  // top-down 24 bits (negative height)
    Bmp b;
    b.width = 1, b.height = -2, b.bpp = 24;
    b.pixels =
        Hex("0000ff00"
            "ff000000");  // red row first, blue row second
    ExpectPixels(Decode(b.bytes()), 1, {R, B}, "top-down");
  }
  {  // 2-bit palette; colorsUsed 2 leaves index 3 outside the palette: black
    Bmp b;
    b.width = 4, b.height = 1, b.bpp = 2, b.colorsUsed = 2;
    b.palette = {G, B};
    b.pixels = Hex("1b000000");  // indices 0 1 2 3
    ExpectPixels(Decode(b.bytes()), 4, {G, B, K, K}, "2-bit");
  }
  {  // 16 bits without masks: 5-5-5
    Bmp b;
    b.width = 2, b.height = 1, b.bpp = 16;
    b.pixels = Hex("007c1f00");  // 0x7c00 red, 0x001f blue
    ExpectPixels(Decode(b.bytes()), 2, {R, B}, "16-bit");
  }
  {  // 32-bit bit fields after a 40-byte header, red in the low byte; a zero data offset is tolerated
    Bmp b;
    b.width = 2, b.height = 1, b.bpp = 32, b.compression = 3, b.zeroOffset = true;
    b.masks = {0x000000ff, 0x0000ff00, 0x00ff0000};
    b.pixels =
        Hex("ff000000"
            "0000ff00");
    ExpectPixels(Decode(b.bytes()), 2, {R, B}, "bitfields");
  }
  {  // RLE8: runs, absolute mode with padding, delta, end of line, skipped pixels take entry 0
    Bmp b;
    b.width = 5, b.height = 3, b.compression = 1;
    b.palette = {W, R, G, B};
    b.pixels =
        Hex("0301"
            "000302030200"
            "0000"  // row 0: R R R, then 2 3 2 (padded), EOL
            "00020101"
            "0203"
            "0000"  // row 1: delta (1,1) -> row 2, col 1: B B, EOL
            "0001");
    ExpectPixels(Decode(b.bytes()), 5, {W, B, B, W, W, W, W, W, W, W, R, R, R, G, B}, "RLE8");
  }
  {  // RLE4: runs alternate nibbles, odd absolute runs are padded, overlong runs are clipped
    Bmp b;
    b.width = 4, b.height = 2, b.bpp = 4, b.compression = 2;
    b.palette = {W, R, G, B};
    b.pixels =
        Hex("0312"
            "00033230"
            "0000"  // row 0: 1 2 1, absolute 3 -> 1 2 1 3
            "ff23"
            "0001");  // row 1: 255 pixels of 2 3, clipped to 4
    ExpectPixels(Decode(b.bytes()), 4, {G, B, G, B, R, G, R, B}, "RLE4");
  }
}

TEST(BmpCodec, BrokenFilesGiveNull) {
  Bmp ok;
  ok.width = 3, ok.height = 2, ok.bpp = 24;
  ok.pixels = QByteArray(24, '\x40');
  ASSERT_FALSE(Decode(ok.bytes()).isNull());
  {  // the last row may lack its padding, not its pixels
    Bmp b = ok;
    b.pixels.chop(3);
    EXPECT_FALSE(Decode(b.bytes()).isNull());
    b.pixels.chop(1);
    EXPECT_TRUE(Decode(b.bytes()).isNull());
  }
  auto with = [&](auto change) {
    Bmp b = ok;
    change(b);
    return b.bytes();
  };
  QByteArray smallHeader = ok.bytes();
  smallHeader[14] = 8;
  QByteArray notBm = ok.bytes();
  notBm[1] = 'A';
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", QByteArray()},
      {"file header only", ok.bytes().left(14)},
      {"not BM", notBm},
      {"header size 8", smallHeader},
      {"7 bits", with([](Bmp& b) { b.bpp = 7; })},
      {"embedded JPEG", with([](Bmp& b) { b.compression = 4; })},
      {"RLE8 at 24 bits", with([](Bmp& b) { b.compression = 1; })},
      {"width 0", with([](Bmp& b) { b.width = 0; })},
      {"height 0", with([](Bmp& b) { b.height = 0; })},
      {"width -3", with([](Bmp& b) { b.width = -3; })},
      {"width 70000", with([](Bmp& b) { b.width = 70000; })},
      {"20000 x 20000", with([](Bmp& b) { b.width = 20000, b.height = 20000; })},
      {"height INT_MIN", with([](Bmp& b) { b.height = INT32_MIN; })},
      {"split mask", with([](Bmp& b) {
         b.bpp = 32, b.compression = 3, b.masks = {0xf0f, 0xf0, 0xf0000};
       })},
      {"RLE without end", with([](Bmp& b) { b.bpp = 8, b.compression = 1, b.pixels = Hex("0301"); })},
      {"RLE absolute run cut", with([](Bmp& b) { b.bpp = 8, b.compression = 1, b.pixels = Hex("000501"); })},
      {"a PNG", Bytes("png_rgb8.png")},
  };
  for (const auto& [what, bytes] : cases) EXPECT_TRUE(Decode(bytes).isNull()) << what;
}

TEST(BmpCodec, WritesBottomUp24Bit) {
  const QImage rgb = Source("rgb.ppm");  // 5 wide: rows padded to 16 bytes
  const QByteArray b = EncodeBmp(rgb);
  ASSERT_EQ(b.size(), 54 + 16 * 3);
  EXPECT_TRUE(b.startsWith("BM"));
  EXPECT_EQ(b[28], char(24));
  EXPECT_EQ(b[30], char(0));  // uncompressed
  // Pixel rows match another writer's byte for byte.
  EXPECT_EQ(b.mid(54), Bytes("bmp_rgb24.bmp").mid(54));
  EXPECT_EQ(Decode(b), rgb);

  QTemporaryDir dir;
  QImage argb(7, 3, QImage::Format_ARGB32);
  argb.fill(qRgb(1, 2, 3));
  ASSERT_TRUE(SaveBmp(argb, dir.filePath("x.bmp")));
  EXPECT_EQ(LoadBmp(dir.filePath("x.bmp")), argb.convertToFormat(QImage::Format_RGB888));
  EXPECT_TRUE(EncodeBmp(QImage()).isEmpty());
  EXPECT_FALSE(SaveBmp(argb, dir.filePath("no/such/x.bmp")));
}
