#include "imagetools/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <thread>

// ---- kernels ---------------------------------------------------------------------------------

float BoxFilter(float x) {
  return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleFilter(float x) {
  const float a = std::fabs(x);
  return a < 1.0f ? 1.0f - a : 0.0f;
}

float HermiteFilter(float x) {
  const float a = std::fabs(x);
  return a < 1.0f ? (2.0f * a - 3.0f) * (a * a) + 1.0f : 0.0f;
}

float BellFilter(float x) {
  const float a = std::fabs(x);
  if (a < 0.5f) return 0.75f - a * a;
  if (a < 1.5f) {
    const float t = a - 1.5f;
    return 0.5f * (t * t);
  }
  return 0.0f;
}

float SplineFilter(float x) {
  const float a = std::fabs(x);
  if (a < 1.0f) {
    const float a2 = a * a;
    return 0.5f * (a2 * a) - a2 + 2.0f / 3.0f;
  }
  if (a < 2.0f) {
    const float t = 2.0f - a;
    return (t * t * t) / 6.0f;
  }
  return 0.0f;
}

static float Sinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = x * std::numbers::pi_v<float>;
  return std::sin(px) / px;
}

float Lanczos3Filter(float x) {
  return std::fabs(x) < 3.0f ? Sinc(x) * Sinc(x / 3.0f) : 0.0f;
}

float MitchellFilter(float x) {
  const float a = std::fabs(x);
  const float a2 = a * a;
  const float a3 = a2 * a;
  if (a < 1.0f) return (7.0f * a3 - 12.0f * a2 + 16.0f / 3.0f) / 6.0f;
  if (a < 2.0f) return (-(7.0f / 3.0f) * a3 + 12.0f * a2 - 20.0f * a + 32.0f / 3.0f) / 6.0f;
  return 0.0f;
}

const std::array<TFilterEntry, 7> ResampleFilters = {{
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"B-Spline", SplineFilter, 2.0f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
}};

int FilterIndex(const QString& name) {
  for (size_t i = 0; i < ResampleFilters.size(); ++i)
    if (name == QLatin1String(ResampleFilters[i].Name)) return int(i);
  return -1;
}

// ---- contributors ----------------------------------------------------------------------------

float StretchScale(int src, int dst) {
  // A single destination pixel would give (1 - 1) / (src - 1) = 0 and divide by zero later; it is
  // treated like a single source pixel.
  if (src == 1 || dst == 1) return float(dst) / float(src);
  return float(dst - 1) / float(src - 1);
}

// Mirrors an index into 0..m-1: -1 reads 1, m reads m - 1. Very wide kernels over short lines can
// land beyond the far edge after one mirror, so mirroring repeats until the index is inside.
static int Reflect(int j, int m) {
  while (j < 0 || j >= m) j = j < 0 ? -j : 2 * m - 1 - j;
  return j;
}

TContributors BuildContributors(int n, int m, float scale, float support, TFilterProc filter) {
  TContributors c;
  c.Start.reserve(size_t(n) + 1);
  const bool reducing = scale < 1.0f;
  const float width = reducing ? support / scale : support;
  const float g = 1.0f / scale;
  c.Index.reserve(size_t(n) * size_t(2.0f * width + 1.0f));
  c.Weight.reserve(c.Index.capacity());
  for (int i = 0; i < n; ++i) {
    c.Start.push_back(int(c.Index.size()));
    const float center = float(i) / scale;
    const int lo = int(std::floor(center - width));
    const int hi = int(std::ceil(center + width));
    for (int j = lo; j <= hi; ++j) {
      const float w = reducing ? filter((center - float(j)) / g) / g : filter(center - float(j));
      if (w == 0.0f) continue;
      c.Index.push_back(Reflect(j, m));
      c.Weight.push_back(w);
    }
  }
  c.Start.push_back(int(c.Index.size()));
  return c;
}

// ---- passes ----------------------------------------------------------------------------------

namespace {

// Channel sum to byte: clamped, then rounded to nearest with halves to even. Adding and removing
// 1.5 * 2^23 rounds in the FPU's default mode (ties to even) and vectorises, unlike lrintf.
inline uint8_t ClampChannel(float v) {
  v = v > 255.0f ? 255.0f : v;
  v = v < 0.0f ? 0.0f : v;
  constexpr float kRound = 12582912.0f;
  return uint8_t(int((v + kRound) - kRound));
}

// Rows transposed per block in the horizontal pass: the sum for one output pixel then runs over
// kRows rows at once in contiguous memory, keeping each pixel's own summation order.
constexpr int kRows = 8;
constexpr int kLane = 3 * kRows;

void HorizontalBlock(const uchar* srcBits, qsizetype srcStride, int sw, int y0, int y1,
                     const TContributors& con, int dw, uint8_t* work, float* t) {
  for (int yb = y0; yb < y1; yb += kRows) {
    const int rows = std::min(kRows, y1 - yb);
    for (int r = 0; r < kRows; ++r) {
      if (r < rows) {
        const uchar* p = srcBits + qsizetype(yb + r) * srcStride;
        for (int e = 0; e < 3 * sw; ++e) t[qsizetype(e) * kRows + r] = float(p[e]);
      } else {
        for (int e = 0; e < 3 * sw; ++e) t[qsizetype(e) * kRows + r] = 0.0f;
      }
    }
    for (int x = 0; x < dw; ++x) {
      float acc[kLane] = {};
      for (int k = con.Start[x]; k < con.Start[x + 1]; ++k) {
        const float w = con.Weight[k];
        const float* b = t + qsizetype(con.Index[k]) * kLane;
        for (int e = 0; e < kLane; ++e) acc[e] += w * b[e];
      }
      for (int r = 0; r < rows; ++r) {
        uint8_t* out = work + (qsizetype(yb + r) * dw + x) * 3;
        out[0] = ClampChannel(acc[0 * kRows + r]);
        out[1] = ClampChannel(acc[1 * kRows + r]);
        out[2] = ClampChannel(acc[2 * kRows + r]);
      }
    }
  }
}

void VerticalRows(const uint8_t* work, int dw, int y0, int y1, const TContributors& con,
                  uchar* dstBits, qsizetype dstStride, float* acc) {
  const qsizetype len = qsizetype(dw) * 3;
  for (int y = y0; y < y1; ++y) {
    std::fill(acc, acc + len, 0.0f);
    for (int k = con.Start[y]; k < con.Start[y + 1]; ++k) {
      const float w = con.Weight[k];
      const uint8_t* row = work + qsizetype(con.Index[k]) * len;
      for (qsizetype e = 0; e < len; ++e) acc[e] += w * float(row[e]);
    }
    uchar* out = dstBits + qsizetype(y) * dstStride;
    for (qsizetype e = 0; e < len; ++e) out[e] = ClampChannel(acc[e]);
  }
}

// Threads worth using for `count` items of `granule` each, costing `cost` multiply-adds in all.
unsigned PlanThreads(int count, double cost, int granule) {
  if (cost < 4e6) return 1;
  const unsigned hw = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  return std::max(1u, std::min<unsigned>(hw, unsigned((count + granule - 1) / granule)));
}

// Runs run(slot, begin, end) over contiguous ranges of [0, count), one per thread; the calling
// thread takes slot 0.
template <class F>
void ParallelRanges(unsigned threads, int count, int granule, F run) {
  if (threads <= 1) {
    run(0u, 0, count);
    return;
  }
  const int per = ((count + int(threads) - 1) / int(threads) + granule - 1) / granule * granule;
  std::vector<std::thread> pool;
  for (unsigned i = 1; i < threads; ++i) {
    const int begin = std::min(count, int(i) * per), end = std::min(count, begin + per);
    if (begin < end) pool.emplace_back(run, i, begin, end);
  }
  run(0u, 0, std::min(count, per));
  for (auto& th : pool) th.join();
}

}  // namespace

void Stretch(const QImage& source, QImage& destination, TFilterProc filter, float support) {
  if (source.width() <= 0 || source.height() <= 0)
    throw std::runtime_error("Source bitmap too small");
  const QImage src =
      source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
  const int sw = src.width(), sh = src.height();
  const int dw = destination.width(), dh = destination.height();
  if (destination.format() != QImage::Format_RGB888)
    destination = QImage(dw, dh, QImage::Format_RGB888);
  if (dw <= 0 || dh <= 0) return;

  // The work bitmap holds the horizontal pass's bytes: the vertical pass reads rounded values.
  std::vector<uint8_t> work(size_t(dw) * 3 * size_t(sh));
  {
    const TContributors con = BuildContributors(dw, sw, StretchScale(sw, dw), support, filter);
    const unsigned threads = PlanThreads(sh, double(con.Index.size()) * 3.0 * sh, kRows);
    std::vector<std::vector<float>> buffers(threads, std::vector<float>(size_t(sw) * kLane));
    const uchar* bits = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    ParallelRanges(threads, sh, kRows, [&](unsigned slot, int y0, int y1) {
      HorizontalBlock(bits, stride, sw, y0, y1, con, dw, work.data(), buffers[slot].data());
    });
  }
  {
    const TContributors con = BuildContributors(dh, sh, StretchScale(sh, dh), support, filter);
    const unsigned threads = PlanThreads(dh, double(con.Index.size()) * 3.0 * dw, 1);
    std::vector<std::vector<float>> buffers(threads, std::vector<float>(size_t(dw) * 3));
    uchar* bits = destination.bits();
    const qsizetype stride = destination.bytesPerLine();
    ParallelRanges(threads, dh, 1, [&](unsigned slot, int y0, int y1) {
      VerticalRows(work.data(), dw, y0, y1, con, bits, stride, buffers[slot].data());
    });
  }
}

void Stretch(const QImage& source, QImage& destination, int filterIndex, float support) {
  if (filterIndex < 0 || filterIndex >= int(ResampleFilters.size()))
    throw std::invalid_argument("unknown resampling filter");
  Stretch(source, destination, ResampleFilters[size_t(filterIndex)].Filter, support);
}

void Stretch(const QImage& source, QImage& destination, const QString& filterName, float support) {
  Stretch(source, destination, FilterIndex(filterName), support);
}
