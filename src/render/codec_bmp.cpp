// BMP reader and writer. Every field is read through bounds checks; the declared size is checked
// against the picture limits before any pixel memory is allocated.
#include <QFile>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "render/codecs.h"

namespace {

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Bytes {
  const uint8_t* data;
  size_t size;
  bool has(size_t off, size_t len) const { return off <= size && len <= size - off; }
  uint32_t u16(size_t off) const { return has(off, 2) ? uint32_t(data[off] | data[off + 1] << 8) : 0; }
  uint32_t u32(size_t off) const {
    return has(off, 4) ? uint32_t(data[off]) | uint32_t(data[off + 1]) << 8 | uint32_t(data[off + 2]) << 16 |
                             uint32_t(data[off + 3]) << 24
                       : 0;
  }
};

// One colour channel of a bit-field pixel, widened or narrowed to 8 bits.
struct Channel {
  int shift = 0;
  int bits = 0;  // 0: the channel is absent and reads as 0
  bool init(uint32_t mask) {
    if (mask == 0) return true;
    shift = std::countr_zero(mask);
    const uint32_t m = mask >> shift;
    if ((m & (m + 1)) != 0) return false;  // not one contiguous run of bits
    bits = std::popcount(m);
    return true;
  }
  uint8_t get(uint32_t px) const {
    if (bits == 0) return 0;
    const uint32_t v = (px >> shift) & ((bits >= 32 ? 0 : (1u << bits)) - 1u);
    if (bits >= 8) return uint8_t(v >> (bits - 8));
    const uint32_t max = (1u << bits) - 1u;
    return uint8_t((v * 255u + max / 2) / max);
  }
};

struct Header {
  int64_t width = 0, height = 0;
  bool topDown = false;
  uint32_t bpp = 0, compression = kRgb, colorsUsed = 0;
  int32_t xppm = 0, yppm = 0;
  bool core = false;
  size_t paletteCount = 0;  // entries declared (they may be missing from the file)
  size_t paletteOffset = 0, dataOffset = 0;
  Channel red, green, blue;
};

bool ReadHeader(const Bytes& b, Header& h) {
  if (!b.has(0, 18) || b.data[0] != 'B' || b.data[1] != 'M') return false;
  const uint32_t hdrSize = b.u32(14);
  if (hdrSize < 12 || hdrSize > 1024 || !b.has(14, hdrSize)) return false;
  auto field = [&](size_t off, size_t len) -> uint32_t {  // fields past a short header read as 0
    if (off + len > 14 + size_t(hdrSize)) return 0;
    return len == 2 ? b.u16(off) : b.u32(off);
  };
  if (hdrSize == 12) {
    h.core = true;
    h.width = b.u16(18);
    h.height = b.u16(20);
    h.bpp = b.u16(24);
  } else {
    h.width = int32_t(field(18, 4));
    const int32_t height = int32_t(field(22, 4));
    h.topDown = height < 0;
    h.height = h.topDown ? -int64_t(height) : int64_t(height);
    h.bpp = field(28, 2);
    h.compression = field(30, 4);
    h.xppm = int32_t(field(38, 4));
    h.yppm = int32_t(field(42, 4));
    h.colorsUsed = field(46, 4);
    // OS/2 2.x headers number their compressions differently: 3 and 4 are Huffman and RLE24.
    if (hdrSize == 64 && h.compression >= 3) return false;
  }
  h.paletteOffset = 14 + size_t(hdrSize);

  const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
  switch (h.compression) {
    case kRgb:
      break;
    case kRle8:
      if (h.bpp != 8) return false;
      break;
    case kRle4:
      if (h.bpp != 4) return false;
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (h.bpp != 16 && h.bpp != 32) return false;
      break;
    default:
      return false;  // embedded JPEG or PNG, or unknown
  }
  if (h.bpp != 1 && h.bpp != 2 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
    return false;

  uint32_t masks[3] = {0, 0, 0};
  if (fields) {
    // The masks sit right after the 40-byte part of the header, inside it or following it.
    if (!b.has(54, 12)) return false;
    masks[0] = b.u32(54), masks[1] = b.u32(58), masks[2] = b.u32(62);
    if (hdrSize < 52) h.paletteOffset += h.compression == kAlphaBitFields ? 16 : 12;
  } else if (h.bpp == 16) {
    masks[0] = 0x7c00, masks[1] = 0x03e0, masks[2] = 0x001f;
  } else if (h.bpp == 32) {
    masks[0] = 0xff0000, masks[1] = 0xff00, masks[2] = 0xff;
  }
  if (!h.red.init(masks[0]) || !h.green.init(masks[1]) || !h.blue.init(masks[2])) return false;

  if (h.width <= 0 || h.height <= 0 || h.width > kMaxPictureSide || h.height > kMaxPictureSide ||
      h.width * h.height > MaxPicturePixels())
    return false;

  if (h.bpp <= 8) {
    h.paletteCount = size_t(1) << h.bpp;
    if (!h.core && h.colorsUsed > 0 && h.colorsUsed < h.paletteCount) h.paletteCount = h.colorsUsed;
  }

  // Files written with a wrong data offset are common; fall back to the end of the palette.
  const uint32_t off = b.u32(10);
  h.dataOffset = off >= h.paletteOffset && off < b.size ? off : 0;
  return true;
}

std::array<uint32_t, 256> ReadPalette(const Bytes& b, const Header& h) {
  std::array<uint32_t, 256> pal{};  // missing entries are black
  const size_t entry = h.core ? 3 : 4;
  const size_t end = h.dataOffset ? h.dataOffset : b.size;
  for (size_t i = 0; i < h.paletteCount; ++i) {
    const size_t p = h.paletteOffset + i * entry;
    if (p + 3 > end || !b.has(p, 3)) break;
    pal[i] = uint32_t(b.data[p + 2]) << 16 | uint32_t(b.data[p + 1]) << 8 | b.data[p];
  }
  return pal;
}

inline void Put(uchar* out, uint32_t rgb) {
  out[0] = uchar(rgb >> 16);
  out[1] = uchar(rgb >> 8);
  out[2] = uchar(rgb);
}

// Bytes of uncompressed rows; the last row may lack its padding.
uint64_t RowBytes(const Header& h) {
  return (uint64_t(h.width) * h.bpp + 31) / 32 * 4;
}
uint64_t PixelBytes(const Header& h) {
  return RowBytes(h) * uint64_t(h.height - 1) + (uint64_t(h.width) * h.bpp + 7) / 8;
}

// A run-length stream can stand for a whole picture in a few codes (end of bitmap, skips), which
// leave the pixels they pass over at the first palette colour. Its declared size is believed up to
// this many pixels per byte of stream (runs alone give at most 128), and always up to a megapixel.
constexpr int64_t kRlePixelsPerByte = 4096;
constexpr int64_t kRleFreePixels = int64_t(1) << 20;

// Whether the file holds enough data for the pixels it declares, checked before allocating them.
bool CanHold(const Bytes& b, const Header& h, size_t off) {
  if (off > b.size) return false;
  const uint64_t avail = b.size - off;
  if (h.compression == kRle8 || h.compression == kRle4)
    return h.width * h.height <= std::max<int64_t>(kRleFreePixels, int64_t(avail) * kRlePixelsPerByte);
  return PixelBytes(h) <= avail;
}

bool DecodeRows(const Bytes& b, const Header& h, const std::array<uint32_t, 256>& pal, size_t off,
                QImage& img) {
  const int w = int(h.width), height = int(h.height);
  const uint64_t stride = RowBytes(h);
  if (off > b.size || PixelBytes(h) > b.size - off) return false;
  for (int row = 0; row < height; ++row) {
    const uint8_t* p = b.data + off + stride * uint64_t(row);
    uchar* out = img.scanLine(h.topDown ? row : height - 1 - row);
    switch (h.bpp) {
      case 1:
      case 2:
      case 4:
      case 8: {
        const unsigned per = 8 / h.bpp, mask = (1u << h.bpp) - 1u;
        for (int x = 0; x < w; ++x, out += 3) {
          const unsigned shift = 8 - h.bpp * (x % per + 1);
          Put(out, pal[(p[x / per] >> shift) & mask]);
        }
        break;
      }
      case 16:
        for (int x = 0; x < w; ++x, out += 3) {
          const uint32_t px = uint32_t(p[2 * x]) | uint32_t(p[2 * x + 1]) << 8;
          out[0] = h.red.get(px), out[1] = h.green.get(px), out[2] = h.blue.get(px);
        }
        break;
      case 24:
        for (int x = 0; x < w; ++x, out += 3, p += 3) out[0] = p[2], out[1] = p[1], out[2] = p[0];
        break;
      case 32:
        for (int x = 0; x < w; ++x, out += 3, p += 4) {
          const uint32_t px =
              uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
          out[0] = h.red.get(px), out[1] = h.green.get(px), out[2] = h.blue.get(px);
        }
        break;
    }
  }
  return true;
}

// Run-length data (RLE8, RLE4) straight into the picture; pixels the stream skips keep palette
// colour 0. The stream must end with its end-of-bitmap code or fill every row.
bool DecodeRle(const Bytes& b, const Header& h, const std::array<uint32_t, 256>& pal, size_t off,
               QImage& img) {
  const int64_t w = h.width, height = h.height;
  uchar* const bits = img.bits();
  const qsizetype bpl = img.bytesPerLine();
  for (int64_t row = 0; row < height; ++row) {
    uchar* out = bits + row * bpl;
    for (int64_t i = 0; i < w; ++i, out += 3) Put(out, pal[0]);
  }
  const bool four = h.compression == kRle4;
  int64_t x = 0, y = 0;
  size_t p = off;
  bool done = false;
  auto set = [&](uint8_t v) {
    if (x < w && y < height) Put(bits + (h.topDown ? y : height - 1 - y) * bpl + 3 * x, pal[v]);
    ++x;
  };
  while (!done && y < height) {
    if (!b.has(p, 2)) return false;
    const unsigned count = b.data[p], value = b.data[p + 1];
    p += 2;
    if (count > 0) {
      const unsigned n = unsigned(std::min<int64_t>(count, std::max<int64_t>(0, w - x)));
      for (unsigned i = 0; i < n; ++i) set(four ? uint8_t(i & 1 ? value & 15 : value >> 4) : uint8_t(value));
      x += count - n;
      continue;
    }
    switch (value) {
      case 0:
        x = 0, ++y;
        break;
      case 1:
        done = true;
        break;
      case 2:
        if (!b.has(p, 2)) return false;
        x += b.data[p], y += b.data[p + 1];
        p += 2;
        break;
      default: {
        const size_t bytes = four ? (value + 1) / 2 : value;
        if (!b.has(p, bytes)) return false;
        for (unsigned i = 0; i < value; ++i)
          set(four ? uint8_t(i & 1 ? b.data[p + i / 2] & 15 : b.data[p + i / 2] >> 4) : b.data[p + i]);
        p += bytes + (bytes & 1);  // absolute runs are padded to 16 bits
        break;
      }
    }
  }
  return true;
}

void PutU16(QByteArray& a, qsizetype at, uint32_t v) {
  a[at] = char(v & 0xff);
  a[at + 1] = char((v >> 8) & 0xff);
}
void PutU32(QByteArray& a, qsizetype at, uint32_t v) {
  PutU16(a, at, v & 0xffff);
  PutU16(a, at + 2, v >> 16);
}

}  // namespace

QImage DecodeBmp(const uint8_t* data, size_t size) {
  if (!data) return QImage();
  const Bytes b{data, size};
  Header h;
  if (!ReadHeader(b, h)) return QImage();
  const auto pal = ReadPalette(b, h);
  const size_t off = h.dataOffset ? h.dataOffset : h.paletteOffset + h.paletteCount * (h.core ? 3 : 4);
  if (!CanHold(b, h, off)) return QImage();
  QImage img(int(h.width), int(h.height), QImage::Format_RGB888);
  if (img.isNull()) return QImage();
  const bool ok = h.compression == kRle8 || h.compression == kRle4 ? DecodeRle(b, h, pal, off, img)
                                                                   : DecodeRows(b, h, pal, off, img);
  if (!ok) return QImage();
  if (h.xppm > 0 && h.yppm > 0 && h.xppm < 1000000 && h.yppm < 1000000) {
    img.setDotsPerMeterX(h.xppm);
    img.setDotsPerMeterY(h.yppm);
  }
  return img;
}

QImage LoadBmp(const QString& path) {
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes)) return QImage();
  return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

QByteArray EncodeBmp(const QImage& image) {
  if (image.isNull()) return QByteArray();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const int w = rgb.width(), h = rgb.height();
  const qint64 stride = (qint64(w) * 3 + 3) & ~qint64(3);
  const qint64 total = 54 + stride * h;
  if (total > 0x7fffffff) return QByteArray();
  QByteArray out(qsizetype(total), '\0');
  out[0] = 'B', out[1] = 'M';
  PutU32(out, 2, uint32_t(total));
  PutU32(out, 10, 54);
  PutU32(out, 14, 40);
  PutU32(out, 18, uint32_t(w));
  PutU32(out, 22, uint32_t(h));
  PutU16(out, 26, 1);
  PutU16(out, 28, 24);
  PutU32(out, 34, uint32_t(stride * h));
  PutU32(out, 38, uint32_t(std::max(0, rgb.dotsPerMeterX())));
  PutU32(out, 42, uint32_t(std::max(0, rgb.dotsPerMeterY())));
  char* bits = out.data() + 54;
  for (int y = 0; y < h; ++y) {
    const uchar* in = rgb.constScanLine(h - 1 - y);
    char* o = bits + stride * y;
    for (int x = 0; x < w; ++x, in += 3, o += 3) o[0] = char(in[2]), o[1] = char(in[1]), o[2] = char(in[0]);
  }
  return out;
}

bool SaveBmp(const QImage& image, const QString& path) {
  const QByteArray bytes = EncodeBmp(image);
  return !bytes.isEmpty() && WritePictureFile(path, bytes);
}
