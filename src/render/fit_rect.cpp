#include "render/fit_rect.h"

#include <cmath>

bool FitRect(long long W, long long H, long long w, long long h, QRect& r) {
  if (H == 0 || h == 0) return false;
  const double ratio = static_cast<double>(w) / static_cast<double>(h);
  long long fw, fh;
  if (static_cast<double>(W) / static_cast<double>(H) >= ratio) {
    fw = static_cast<long long>(std::nearbyint(static_cast<double>(H) * ratio));
    fh = H;
  } else {
    fw = W;
    fh = static_cast<long long>(std::nearbyint(static_cast<double>(W) / ratio));
  }
  const long long left = (W - fw) / 2, top = (H - fh) / 2;
  r = QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(fw), static_cast<int>(fh));
  return true;
}
