// The system font configuration library keeps caches it never frees; they are not ours to fix.
#pragma once

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
