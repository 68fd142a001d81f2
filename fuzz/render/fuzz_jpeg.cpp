// Decodes arbitrary bytes as JPEG: the decoder must return a picture or a null image, never crash,
// hang or allocate beyond the pixel limit.
#include <cstdlib>

#include "render/codecs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Keeps each input fast and within the fuzzer's memory budget.
  SetMaxPicturePixels(4 << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QImage img = DecodeJpeg(data, size);
  if (!img.isNull() && img.format() != QImage::Format_RGB888) std::abort();
  // The scaled path too, with a target taken from the input.
  if (size > 2) DecodeJpeg(data, size, QSize(data[size - 1] + 1, data[size - 2] + 1));
  return 0;
}
