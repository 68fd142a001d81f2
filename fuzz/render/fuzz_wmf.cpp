// Windows metafiles, with and without the placeable header.
#include "metafile_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzMetafile(data, size, TMetafileKind::Wmf);
}
