// Decodes arbitrary bytes as BMP: the decoder must return a picture or a null image, never crash,
// hang or allocate beyond the pixel limit.
#include <cstdlib>

#include "render/codecs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Keeps each input fast and within the fuzzer's memory budget.
  SetMaxPicturePixels(4 << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QImage img = DecodeBmp(data, size);
  if (!img.isNull() && img.format() != QImage::Format_RGB888) std::abort();
  return 0;
}
