// PNG through libpng. Every colour type and depth is expanded to 8-bit RGB or RGBA; alpha is
// flattened onto white. Errors leave through longjmp to ReadInto, whose frame holds only trivially
// destructible locals; buffers live in the caller's state.
//
// Memory: the declared size is believed only as far as the file's compressed data could fill it,
// and the picture is the only full-size buffer (interlaced passes are spread into it row by row).
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "render/codecs.h"

namespace {

struct Source {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void ReadData(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (length > src->size - src->pos) png_error(png, "truncated");
  std::memcpy(out, src->data + src->pos, length);
  src->pos += length;
}

// libpng's own handlers print to stderr; a broken file is an ordinary outcome here.
[[noreturn]] void Error(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void Warning(png_structp, png_const_charp) {}

struct ReadState {
  QImage image;
  std::vector<png_byte> row;  // one decoded row (of a pass) before it is placed
};

// Deflate turns at most 1032 bytes out of each byte it reads (a 258-byte match costs two bits).
constexpr uint64_t kMaxInflateRatio = 1032;

// Whether `size` bytes of file can hold the filtered rows of a w x h picture of `bitsPerPixel`.
// Only a lower bound of the rows is counted (no filter bytes, no interlacing overhead), so no
// well-formed file is refused.
bool CanHold(size_t size, png_uint_32 w, png_uint_32 h, int bitsPerPixel) {
  const uint64_t rowBytes = (uint64_t(w) * uint64_t(bitsPerPixel) + 7) / 8;
  return rowBytes * h <= uint64_t(size) * kMaxInflateRatio;
}

// Composites one RGBA pixel onto white into an RGB pixel.
inline void Flatten(const png_byte* in, uchar* out) {
  const unsigned a = in[3], back = 255u * (255u - a) + 127u;
  out[0] = uchar((in[0] * a + back) / 255u);
  out[1] = uchar((in[1] * a + back) / 255u);
  out[2] = uchar((in[2] * a + back) / 255u);
}

bool Prepare(ReadState* state, png_uint_32 w, png_uint_32 h, size_t rowBytes) {
  if (w == 0 || h == 0 || w > png_uint_32(kMaxPictureSide) || h > png_uint_32(kMaxPictureSide) ||
      qint64(w) * qint64(h) > MaxPicturePixels())
    return false;
  try {
    state->row.resize(rowBytes);
  } catch (const std::bad_alloc&) {
    return false;
  }
  state->image = QImage(int(w), int(h), QImage::Format_RGB888);
  return !state->image.isNull();
}

bool ReadInto(ReadState* state, const uint8_t* data, size_t size) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  Source src{data, size, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &src, ReadData);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  // libpng allocates a chunk's buffer from its declared length before reading it, and only warns
  // about a length over the cap: the variable-length chunks we never use are skipped unread
  // instead, so a few bytes declaring a 2 GB text chunk cost nothing.
  png_set_chunk_malloc_max(png, 8 << 20);
  static const png_byte kSkipped[] = "sPLT\0iCCP\0tEXt\0zTXt\0iTXt\0eXIf\0pCAL\0sCAL\0hIST\0";
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Lets fuzzed inputs get past the checksums to the decoding itself.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  // Chunks we never use are not even buffered.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, int(sizeof kSkipped / 5));
  png_read_info(png, info);

  png_uint_32 w = 0, h = 0;
  int depth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
  if (!CanHold(size, w, h, depth * png_get_channels(png, info))) png_error(png, "more pixels than data");
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  // No interlace handling: libpng then hands out each pass's own rows, which are placed here, so
  // that no second full-size buffer is needed.
  png_read_update_info(png, info);

  const int channels = png_get_channels(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  if ((channels != 3 && channels != 4) || png_get_bit_depth(png, info) != 8 ||
      rowBytes != size_t(w) * size_t(channels))
    png_error(png, "unexpected layout");
  if (!Prepare(state, w, h, rowBytes)) png_error(png, "too large");

  const bool adam7 = interlace == PNG_INTERLACE_ADAM7;
  const int passes = adam7 ? PNG_INTERLACE_ADAM7_PASSES : 1;
  for (int pass = 0; pass < passes; ++pass) {
    png_uint_32 x0 = 0, dx = 1, y0 = 0, dy = 1;
    if (adam7) {
      if (PNG_PASS_COLS(w, pass) == 0 || PNG_PASS_ROWS(h, pass) == 0) continue;  // libpng skips it too
      x0 = PNG_PASS_START_COL(pass), dx = PNG_PASS_COL_OFFSET(pass);
      y0 = PNG_PASS_START_ROW(pass), dy = PNG_PASS_ROW_OFFSET(pass);
    }
    for (png_uint_32 y = y0; y < h; y += dy) {
      png_read_row(png, state->row.data(), nullptr);
      const png_byte* in = state->row.data();
      uchar* out = state->image.scanLine(int(y)) + 3 * size_t(x0);
      for (png_uint_32 x = x0; x < w; x += dx, in += channels, out += 3 * size_t(dx)) {
        if (channels == 4) {
          Flatten(in, out);
        } else {
          out[0] = in[0], out[1] = in[1], out[2] = in[2];
        }
      }
    }
  }

  png_uint_32 resX = 0, resY = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER && resX > 0 && resY > 0 &&
      resX < 1000000 && resY < 1000000) {
    state->image.setDotsPerMeterX(int(resX));
    state->image.setDotsPerMeterY(int(resY));
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

QImage DecodePng(const uint8_t* data, size_t size) {
  if (!data) return QImage();
  ReadState state;
  if (!ReadInto(&state, data, size)) return QImage();
  return std::move(state.image);
}

QImage LoadPng(const QString& path) {
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes)) return QImage();
  return DecodePng(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}
