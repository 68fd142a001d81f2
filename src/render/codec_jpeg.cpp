// JPEG through libjpeg-turbo. Errors leave through longjmp back to the decoding function, whose
// frame holds only trivially destructible locals; the picture lives in the caller's state.
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "render/codecs.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings are quiet, except that a scan whose data runs out is refused: a picture is whole or
// null. A file that only lacks its end marker (the data ran out between segments) still loads.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

// Progressive files can hold any number of scans, each costing a full pass over the picture.
constexpr int kMaxScans = 1000;

void Progress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    ErrorExit(cinfo);
}

void InstallErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
}

int DotsPerMeter(unsigned unit, unsigned density) {
  if (density == 0) return 0;
  if (unit == 1) return int(density / 0.0254 + 0.5);
  if (unit == 2) return int(density * 100);
  return 0;
}

// Whether `size` bytes can describe the declared picture. Huffman coding spends at least one bit on
// every 8 x 8 block of a component it codes, and a file whose data runs out is refused, so a
// picture needs at least a bit per block of its least sampled component. Arithmetic coding may by
// rule pad a short scan with zeros; the same floor keeps it from describing gigapixels in a few
// bytes.
bool CanHold(const jpeg_decompress_struct& cinfo, size_t size) {
  uint64_t fewest = UINT64_MAX;
  for (int i = 0; i < cinfo.num_components; ++i) {
    const jpeg_component_info& c = cinfo.comp_info[i];
    fewest = std::min<uint64_t>(fewest, uint64_t(c.width_in_blocks) * c.height_in_blocks);
  }
  return cinfo.num_components > 0 && fewest <= uint64_t(size) * 8;
}

struct DecodeState {
  QImage image;
  bool cmyk = false;
  bool adobe = false;
};

bool AllocatePicture(DecodeState* state, JDIMENSION w, JDIMENSION h) {
  if (w == 0 || h == 0 || w > JDIMENSION(kMaxPictureSide) || h > JDIMENSION(kMaxPictureSide)) return false;
  if (qint64(w) * qint64(h) > MaxPicturePixels()) return false;
  state->image = QImage(int(w), int(h), QImage::Format_RGB888);
  return !state->image.isNull();
}

uchar* Row(DecodeState* state, JDIMENSION y) {
  return state->image.scanLine(int(y));
}

bool DecodeInto(DecodeState* state, const uint8_t* data, size_t size, QSize atLeast) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
  JSAMPLE* volatile cmykRow = nullptr;
  cinfo.err = &err.pub;
  InstallErrorManager(err);
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::free(cmykRow);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  // Virtual arrays (progressive coefficients) may not grow past a few bytes per allowed pixel.
  cinfo.mem->max_memory_to_use = long(std::min<qint64>(MaxPicturePixels() * 8, 0x7fffffff));
  progress.progress_monitor = Progress;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);

  // The declared size is what the decoder works through and what progressive files keep whole in
  // memory, even when DCT scaling shrinks the output: it is held to the limits as it stands.
  if (cinfo.image_width > JDIMENSION(kMaxPictureSide) || cinfo.image_height > JDIMENSION(kMaxPictureSide) ||
      qint64(cinfo.image_width) * cinfo.image_height > MaxPicturePixels() || !CanHold(cinfo, size))
    ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  cinfo.scale_denom = 8;
  cinfo.scale_num = 8;
  if (atLeast.width() > 0 && atLeast.height() > 0) {
    for (unsigned num = 1; num < 8; ++num) {
      cinfo.scale_num = num;
      jpeg_calc_output_dimensions(&cinfo);
      if (cinfo.output_width >= JDIMENSION(atLeast.width()) &&
          cinfo.output_height >= JDIMENSION(atLeast.height()))
        break;
      cinfo.scale_num = 8;
    }
  }
  jpeg_calc_output_dimensions(&cinfo);
  if (!AllocatePicture(state, cinfo.output_width, cinfo.output_height))
    ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
  state->cmyk = cmyk;
  state->adobe = cinfo.saw_Adobe_marker;

  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != (cmyk ? 4 : 3)) ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
  if (cmyk) {
    cmykRow = static_cast<JSAMPLE*>(std::malloc(size_t(cinfo.output_width) * 4));
    if (!cmykRow) ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION y = cinfo.output_scanline;
    JSAMPROW row = cmyk ? cmykRow : Row(state, y);
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    if (cmyk) {
      // Adobe writes CMYK inverted (255 = no ink); other writers store plain ink amounts.
      // Each channel is (255 - ink) x (255 - black ink) / 255.
      uchar* out = Row(state, y);
      const JSAMPLE* in = cmykRow;
      const unsigned flip = state->adobe ? 0u : 255u;
      for (JDIMENSION x = 0; x < cinfo.output_width; ++x, in += 4, out += 3) {
        const unsigned paperK = in[3] ^ flip;
        out[0] = uchar(((in[0] ^ flip) * paperK + 127) / 255);
        out[1] = uchar(((in[1] ^ flip) * paperK + 127) / 255);
        out[2] = uchar(((in[2] ^ flip) * paperK + 127) / 255);
      }
    }
  }
  const int dpmX = DotsPerMeter(cinfo.density_unit, cinfo.X_density);
  const int dpmY = DotsPerMeter(cinfo.density_unit, cinfo.Y_density);
  if (dpmX > 0 && dpmY > 0) {
    state->image.setDotsPerMeterX(dpmX);
    state->image.setDotsPerMeterY(dpmY);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::free(cmykRow);
  return true;
}

bool EncodeInto(const QImage* rgb, const JpegOptions& options, unsigned char** buffer, unsigned long* size) {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  cinfo.err = &err.pub;
  InstallErrorManager(err);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = JDIMENSION(rgb->width());
  cinfo.image_height = JDIMENSION(rgb->height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  cinfo.optimize_coding = options.optimize ? TRUE : FALSE;
  if (options.dotsPerInch > 0) {
    cinfo.density_unit = 1;
    cinfo.X_density = cinfo.Y_density = UINT16(options.dotsPerInch);
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb->constScanLine(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const uint8_t* data, size_t size, QSize atLeast) {
  if (!data || size == 0 || size > 0xffffffffu) return QImage();
  DecodeState state;
  if (!DecodeInto(&state, data, size, atLeast)) return QImage();
  return std::move(state.image);
}

QImage LoadJpeg(const QString& path, QSize atLeast) {
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes)) return QImage();
  return DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), atLeast);
}

QByteArray EncodeJpeg(const QImage& image, const JpegOptions& options) {
  if (image.isNull()) return QByteArray();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  QByteArray out;
  if (EncodeInto(&rgb, options, &buffer, &size) && buffer)
    out = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
  std::free(buffer);
  return out;
}

bool SaveJpeg(const QImage& image, const QString& path) {
  const QByteArray bytes = EncodeJpeg(image);
  return !bytes.isEmpty() && WritePictureFile(path, bytes);
}
