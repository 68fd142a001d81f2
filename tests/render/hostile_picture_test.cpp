// Picture files that declare far more pixels than they hold: no decoder allocates for pixels the
// file cannot deliver, and none accepts a picture above the limits.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "common/picture_fixtures.h"
#include "render/codecs.h"

#define LORVANE_ALLOC_METER_DEFINE
#include "render/alloc_meter.h"

namespace {

using Decoder = QImage (*)(const uint8_t*, size_t);

QImage DecodeJpegWhole(const uint8_t* data, size_t size) {
  return DecodeJpeg(data, size);
}

QImage Decode(const QByteArray& b, Decoder decode) {
  return decode(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size()));
}

void Be32(QByteArray& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.append(char(v >> (8 * i)));
}
void Le16(QByteArray& b, uint32_t v) {
  b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void Le32(QByteArray& b, uint32_t v) {
  Le16(b, v & 0xffff), Le16(b, v >> 16);
}

QByteArray Deflate(const QByteArray& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  QByteArray out(qsizetype(size), '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()),
            uLong(raw.size()), 9);
  out.resize(qsizetype(size));
  return out;
}

QByteArray Chunk(const char* type, const QByteArray& body) {
  QByteArray c;
  Be32(c, uint32_t(body.size()));
  const QByteArray typed = QByteArray(type, 4) + body;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()));
  c += typed;
  Be32(c, uint32_t(crc));
  return c;
}

// A PNG whose image data is `raw` (filtered rows, or anything) deflated.
QByteArray Png(uint32_t w, uint32_t h, int depth, int colorType, bool interlaced, const QByteArray& raw) {
  QByteArray ihdr;
  Be32(ihdr, w), Be32(ihdr, h);
  ihdr.append(char(depth)).append(char(colorType)).append('\0').append('\0').append(char(interlaced ? 1 : 0));
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", Deflate(raw)) +
         Chunk("IEND", QByteArray());
}

// A BMP with a 40-byte header, a palette of 16 greys (black to white) for 4 and 8 bits, then `pixels`.
QByteArray Bmp(int32_t w, int32_t h, int bpp, uint32_t compression, const QByteArray& pixels) {
  const uint32_t colours = bpp <= 8 ? 16 : 0, offset = 54 + 4 * colours;
  QByteArray b("BM");
  Le32(b, offset + uint32_t(pixels.size())), Le32(b, 0), Le32(b, offset);
  Le32(b, 40), Le32(b, uint32_t(w)), Le32(b, uint32_t(h)), Le16(b, 1), Le16(b, uint32_t(bpp)),
      Le32(b, compression);
  Le32(b, uint32_t(pixels.size())), Le32(b, 2835), Le32(b, 2835), Le32(b, colours), Le32(b, 0);
  for (uint32_t i = 0; i < colours; ++i) b.append(3, char(i * 17)).append('\0');
  return b + pixels;
}

// A JPEG with its frame header's size replaced.
QByteArray Resized(QByteArray jpeg, int w, int h) {
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
    const uchar m = uchar(jpeg[i + 1]);
    if (uchar(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC1 || m == 0xC2)) {
      jpeg[i + 5] = char(h >> 8), jpeg[i + 6] = char(h), jpeg[i + 7] = char(w >> 8), jpeg[i + 8] = char(w);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

QImage Flat(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(c);
  return img;
}

struct Case {
  const char* what;
  QByteArray bytes;
  Decoder decode;
};

// Decodes and answers the highest number of bytes held meanwhile.
size_t PeakOf(const Case& c, QImage* out = nullptr) {
  alloc_meter::Reset();
  QImage img = c.decode(reinterpret_cast<const uint8_t*>(c.bytes.constData()), size_t(c.bytes.size()));
  const size_t peak = alloc_meter::PeakSinceReset();
  if (out) *out = img;
  return peak;
}

}  // namespace

// Files under 1 KB declaring pictures of 11585 x 11585 (over the pixel limit) and 9999 x 9999
// (within it): nothing near the declared size is allocated, and no picture comes out.
TEST(HostilePictures, SmallFilesAllocateLittleWhateverTheyDeclare) {
  if (!alloc_meter::Active()) GTEST_SKIP() << "the sanitizer's allocator counts for itself";
  const QByteArray baseline = EncodeJpeg(Flat(16, 16, qRgb(200, 100, 50)));
  const QByteArray progressive = Bytes("jpeg_progressive.jpg");
  const QByteArray zeros(200000, '\0');
  const QByteArray endOfBitmap("\0\1", 2);
  std::vector<Case> cases;
  for (int side : {11585, 9999}) {
    cases.push_back({"PNG RGB", Png(side, side, 8, 2, false, zeros), DecodePng});
    cases.push_back({"PNG RGBA interlaced", Png(side, side, 8, 6, true, zeros), DecodePng});
    cases.push_back({"PNG grey 1 bit", Png(side, side, 1, 0, false, zeros), DecodePng});
    cases.push_back({"BMP 24 bits", Bmp(side, side, 24, 0, QByteArray()), DecodeBmp});
    cases.push_back({"BMP RLE8", Bmp(side, side, 8, 1, endOfBitmap), DecodeBmp});
    cases.push_back({"BMP RLE4", Bmp(side, side, 4, 2, endOfBitmap), DecodeBmp});
    cases.push_back({"JPEG baseline", Resized(baseline, side, side), DecodeJpegWhole});
    cases.push_back({"JPEG progressive", Resized(progressive, side, side), DecodeJpegWhole});
  }
  for (const Case& c : cases) {
    ASSERT_LT(c.bytes.size(), 1024) << c.what;
    QImage img;
    const size_t peak = PeakOf(c, &img);
    EXPECT_LT(peak, size_t(64) << 20) << c.what << " declaring " << c.bytes.size() << " bytes";
    EXPECT_TRUE(img.isNull()) << c.what;
  }
}

// The data bounds never refuse a real file, however compressible: a flat picture written as tightly
// as each format allows still decodes.
TEST(HostilePictures, CompressibleFilesStillDecode) {
  // Deflate's best case: 2000 x 2000 at 1 bit, all zero.
  const QByteArray rows(2000 * (1 + 250), '\0');
  const QImage png = Decode(Png(2000, 2000, 1, 0, false, rows), DecodePng);
  ASSERT_EQ(png.size(), QSize(2000, 2000));
  EXPECT_EQ(png.pixel(1999, 1999), qRgb(0, 0, 0));
  // A run-length BMP stopping at once: up to a megapixel of the first palette colour.
  EXPECT_EQ(Decode(Bmp(1024, 1024, 8, 1, QByteArray("\0\1", 2)), DecodeBmp).size(), QSize(1024, 1024));
  EXPECT_TRUE(Decode(Bmp(2048, 1024, 8, 1, QByteArray("\0\1", 2)), DecodeBmp).isNull());
  // Run-length rows as an encoder writes them: runs of 255 then an end of line.
  QByteArray rle;
  for (int y = 0; y < 2000; ++y) {
    for (int x = 0; x < 3000; x += 255) rle.append(char(std::min(255, 3000 - x))).append('\x08');
    rle.append('\0').append('\0');
  }
  rle.append('\0').append('\1');
  const QImage bmp = Decode(Bmp(3000, 2000, 8, 1, rle), DecodeBmp);
  ASSERT_EQ(bmp.size(), QSize(3000, 2000));
  EXPECT_EQ(bmp.pixel(2999, 0), qRgb(136, 136, 136));
  // A flat JPEG with optimised Huffman tables.
  JpegOptions tight;
  tight.optimize = true;
  tight.quality = 10;
  EXPECT_EQ(Decode(EncodeJpeg(Flat(2048, 2048, qRgb(255, 255, 255)), tight), DecodeJpegWhole).size(),
            QSize(2048, 2048));
}

// No picture wider or higher than 32,767 pixels, complete as it may be.
TEST(HostilePictures, SidesAboveTheLimitAreRefused) {
  for (int w : {32767, 32768}) {
    const bool fits = w <= 32767;
    const QByteArray bgr(qsizetype(w) * 3 + 1, '\x40');
    EXPECT_EQ(!Decode(Bmp(w, 1, 24, 0, bgr), DecodeBmp).isNull(), fits) << w;
    EXPECT_EQ(!Decode(Png(w, 1, 8, 2, false, QByteArray(1 + 3 * w, '\0')), DecodePng).isNull(), fits) << w;
    EXPECT_EQ(!Decode(EncodeJpeg(Flat(w, 8, qRgb(10, 20, 30))), DecodeJpegWhole).isNull(), fits) << w;
    EXPECT_EQ(!Decode(EncodeJpeg(Flat(8, w, qRgb(10, 20, 30))), DecodeJpegWhole).isNull(), fits) << w;
  }
}
