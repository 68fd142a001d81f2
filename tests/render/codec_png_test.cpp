#include <gtest/gtest.h>
#include <zlib.h>

#include <QFile>

#include "common/picture_fixtures.h"
#include "render/codecs.h"

namespace {

QImage Decode(const QByteArray& b) {
  return DecodePng(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size()));
}

// Reference pixels: the lossless source pictures the fixtures were made from.
// Rewrites a chunk's CRC after its body was edited (offset of the chunk's length field).
void FixCrc(QByteArray& b, int at) {
  const uint32_t len = uint32_t(uchar(b[at])) << 24 | uint32_t(uchar(b[at + 1])) << 16 |
                       uint32_t(uchar(b[at + 2])) << 8 | uchar(b[at + 3]);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(b.constData() + at + 4), uInt(len + 4));
  for (int i = 0; i < 4; ++i) b[at + 8 + int(len) + i] = char(crc >> (24 - 8 * i));
}

void PutBE32(QByteArray& b, int at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (24 - 8 * i));
}

}  // namespace

TEST(PngCodec, OpaqueColourTypesAndDepths) {
  const struct {
    const char* file;
    const char* source;
  } cases[] = {
      {"png_gray1.png", "bw.pgm"},   {"png_gray2.png", "gray.pgm"},  {"png_gray4.png", "gray.pgm"},
      {"png_gray8.png", "gray.pgm"}, {"png_gray16.png", "gray.pgm"}, {"png_rgb8.png", "rgb.ppm"},
      {"png_rgb16.png", "rgb.ppm"},  {"png_pal1.png", "two.ppm"},    {"png_pal2.png", "two.ppm"},
      {"png_pal4.png", "rgb.ppm"},   {"png_pal8.png", "rgb.ppm"},    {"png_rgb8_interlaced.png", "grad.ppm"},
  };
  for (const auto& c : cases) {
    const QImage img = LoadPng(Fixture(c.file));
    ASSERT_FALSE(img.isNull()) << c.file;
    EXPECT_EQ(img.format(), QImage::Format_RGB888) << c.file;
    EXPECT_EQ(img, Source(c.source)) << c.file;
  }
}

// Transparency of every kind is flattened onto white; opaque magenta stays magenta.
TEST(PngCodec, AlphaFlattenedOntoWhite) {
  const QRgb W = qRgb(255, 255, 255);
  // rgba.pam: red, transparent blue, black at alpha 51, magenta / red at alpha 102, green,
  // transparent, white at alpha 128.
  const std::vector<QRgb> rgba = {
      qRgb(255, 0, 0), W, qRgb(204, 204, 204), qRgb(255, 0, 255), qRgb(255, 153, 153), qRgb(0, 255, 0), W, W};
  // ga.pam: black at alpha 51, white, transparent grey, opaque grey 170.
  const std::vector<QRgb> graya = {qRgb(204, 204, 204), W, W, qRgb(170, 170, 170)};
  // key.pam: transparent pixels share one colour, written as a tRNS key.
  const std::vector<QRgb> key = {qRgb(255, 0, 0), W, qRgb(0, 255, 0), W, qRgb(16, 32, 48), qRgb(255, 0, 255)};
  const struct {
    const char* file;
    int width;
    const std::vector<QRgb>* expected;
  } cases[] = {
      {"png_rgba8.png", 4, &rgba},     {"png_rgba16.png", 4, &rgba},  {"png_rgba8_interlaced.png", 4, &rgba},
      {"png_pal_alpha.png", 4, &rgba}, {"png_graya8.png", 4, &graya}, {"png_graya16.png", 4, &graya},
      {"png_rgb_trns.png", 3, &key},   {"png_pal_trns.png", 3, &key},
  };
  for (const auto& c : cases) {
    const QImage img = LoadPng(Fixture(c.file));
    ASSERT_FALSE(img.isNull()) << c.file;
    EXPECT_EQ(img.format(), QImage::Format_RGB888);
    ASSERT_EQ(img.width() * img.height(), int(c.expected->size())) << c.file;
    for (int i = 0; i < int(c.expected->size()); ++i)
      EXPECT_EQ(img.pixel(i % c.width, i / c.width), (*c.expected)[size_t(i)]) << c.file << " pixel " << i;
  }
  const QImage grey = LoadPng(Fixture("png_gray_trns.png"));  // 85, transparent 170, 0
  ASSERT_EQ(grey.size(), QSize(3, 1));
  EXPECT_EQ(grey.pixel(0, 0), qRgb(85, 85, 85));
  EXPECT_EQ(grey.pixel(1, 0), W);
  EXPECT_EQ(grey.pixel(2, 0), qRgb(0, 0, 0));
}

TEST(PngCodec, BrokenFilesGiveNull) {
  const QByteArray good = Bytes("png_rgb8_interlaced.png");
  ASSERT_FALSE(Decode(good).isNull());
  constexpr int kIhdr = 8;  // offset of the IHDR chunk
  const int idat = int(good.indexOf("IDAT")) - 4;
  ASSERT_GT(idat, 0);

  std::vector<std::pair<const char*, QByteArray>> cases;
  cases.emplace_back("empty", QByteArray());
  cases.emplace_back("signature only", good.left(8));
  cases.emplace_back("cut in the header", good.left(20));
  const int idatLength = (uchar(good[idat + 2]) << 8) | uchar(good[idat + 3]);
  ASSERT_GT(idatLength, 100);
  cases.emplace_back("cut in the image data", good.left(idat + 8 + idatLength / 2));
  cases.emplace_back("cut before the image data", good.left(idat));
  QByteArray b = good;
  b[kIhdr + 10] = char(b[kIhdr + 10] ^ 1);  // width changed, CRC left stale
  cases.emplace_back("IHDR CRC", b);
  b = good;
  b[idat + 20] = char(b[idat + 20] ^ 0x55);
  cases.emplace_back("IDAT CRC", b);
  b = good;
  b[idat + 20] = char(b[idat + 20] ^ 0x55);
  FixCrc(b, idat);
  cases.emplace_back("corrupt deflate data", b);
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{100000, 10}, {20000, 20000}, {0, 37}, {61, 0}}) {
    b = good;
    PutBE32(b, kIhdr + 8, w);
    PutBE32(b, kIhdr + 12, h);
    FixCrc(b, kIhdr);
    cases.emplace_back("declared size", b);
  }
  b = good;
  b[kIhdr + 16] = 4;  // RGB cannot have 4-bit samples
  FixCrc(b, kIhdr);
  cases.emplace_back("bad depth", b);
  cases.emplace_back("not a PNG", Bytes("bmp_rgb24.bmp"));

  for (const auto& [what, bytes] : cases) EXPECT_TRUE(Decode(bytes).isNull()) << what;
  EXPECT_TRUE(LoadPng(Fixture("missing.png")).isNull());
}
