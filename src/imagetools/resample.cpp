#include "imagetools/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    const size_t first = c.Weight.size();
    float sum = 0.0f;
    for (int j = lo; j <= hi; ++j) {
      const float w = reducing ? filter((center - float(j)) / g) / g : filter(center - float(j));
      if (w == 0.0f) continue;
      c.Index.push_back(Reflect(j, m));
      c.Weight.push_back(w);
      sum += w;
    }
    // The kernel's own sum drifts with the position (a reduced box takes two or three whole
    // pixels, edges take reflected ones): scaled to 1, a flat colour stays exactly flat.
    if (sum > 0.0f)
      for (size_t k = first; k < c.Weight.size(); ++k) c.Weight[k] /= sum;
  }
  c.Start.push_back(int(c.Index.size()));
  return c;
}

// ---- passes ----------------------------------------------------------------------------------

namespace {

// Channel sum to byte: clamped, then rounded to nearest with halves to even. Adding and removing
// 1.5 * 2^23 rounds in the FPU's default mode (ties to even) and vectorises, unlike lrintf.
inline uint8_t ClampChannel(float v) {
  // Written as min/max selects so that they vectorise (minps/maxps); sums are never NaN.
  v = v < 255.0f ? v : 255.0f;
  v = v > 0.0f ? v : 0.0f;
  constexpr float kRound = 12582912.0f;
  return uint8_t(int((v + kRound) - kRound));
}

// ClampChannel over n values. SSE2's conversion rounds in the same default mode, so both paths
// give identical bytes.
void ClampRow(const float* __restrict in, uint8_t* __restrict out, qsizetype n) {
  qsizetype i = 0;
#if defined(__SSE2__)
  const __m128 lo = _mm_setzero_ps(), hi = _mm_set1_ps(255.0f);
  for (; i + 8 <= n; i += 8) {
    const __m128 a = _mm_max_ps(_mm_min_ps(_mm_loadu_ps(in + i), hi), lo);
    const __m128 b = _mm_max_ps(_mm_min_ps(_mm_loadu_ps(in + i + 4), hi), lo);
    const __m128i w = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(w, w));
  }
#endif
  for (; i < n; ++i) out[i] = ClampChannel(in[i]);
}

// Rows transposed per block in the horizontal pass: the sum for one output pixel then runs over
// kRows rows at once in contiguous memory, keeping each pixel's own summation order.
constexpr int kRows = 8;
constexpr int kLane = 3 * kRows;

// t[e * kRows + r] = rows[r][e] for e < len: eight rows side by side, as floats.
void TransposeRows(const uchar* const* rows, int len, float* __restrict t) {
  int e = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; e + 8 <= len; e += 8) {
    __m128i v[kRows];  // row r: 8 values as 16-bit
    for (int r = 0; r < kRows; ++r)
      v[r] = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[r] + e)), zero);
    // 8 x 8 transpose of 16-bit values.
    const __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
    const __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
    const __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
    const __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    const __m128i c[8] = {_mm_unpacklo_epi64(b0, b4), _mm_unpackhi_epi64(b0, b4), _mm_unpacklo_epi64(b1, b5),
                          _mm_unpackhi_epi64(b1, b5), _mm_unpacklo_epi64(b2, b6), _mm_unpackhi_epi64(b2, b6),
                          _mm_unpacklo_epi64(b3, b7), _mm_unpackhi_epi64(b3, b7)};
    float* d = t + qsizetype(e) * kRows;
    for (int i = 0; i < 8; ++i, d += kRows) {
      _mm_storeu_ps(d, _mm_cvtepi32_ps(_mm_unpacklo_epi16(c[i], zero)));
      _mm_storeu_ps(d + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(c[i], zero)));
    }
  }
#endif
  for (; e < len; ++e) {
    float* d = t + qsizetype(e) * kRows;
    for (int r = 0; r < kRows; ++r) d[r] = float(rows[r][e]);
  }
}

// acc[e] = sum over the contributors, in order, of weight * t[index * kLane + e].
void SumLanes(const float* __restrict t, const int* __restrict index, const float* __restrict weight,
              int count, float* __restrict acc) {
#if defined(__SSE2__)
  __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0;
  for (int k = 0; k < count; ++k) {
    const __m128 w = _mm_set1_ps(weight[k]);
    const float* b = t + qsizetype(index[k]) * kLane;
    a0 = _mm_add_ps(a0, _mm_mul_ps(w, _mm_loadu_ps(b)));
    a1 = _mm_add_ps(a1, _mm_mul_ps(w, _mm_loadu_ps(b + 4)));
    a2 = _mm_add_ps(a2, _mm_mul_ps(w, _mm_loadu_ps(b + 8)));
    a3 = _mm_add_ps(a3, _mm_mul_ps(w, _mm_loadu_ps(b + 12)));
    a4 = _mm_add_ps(a4, _mm_mul_ps(w, _mm_loadu_ps(b + 16)));
    a5 = _mm_add_ps(a5, _mm_mul_ps(w, _mm_loadu_ps(b + 20)));
  }
  _mm_storeu_ps(acc, a0), _mm_storeu_ps(acc + 4, a1), _mm_storeu_ps(acc + 8, a2);
  _mm_storeu_ps(acc + 12, a3), _mm_storeu_ps(acc + 16, a4), _mm_storeu_ps(acc + 20, a5);
#else
  for (int e = 0; e < kLane; ++e) acc[e] = 0.0f;
  for (int k = 0; k < count; ++k) {
    const float w = weight[k];
    const float* b = t + qsizetype(index[k]) * kLane;
    for (int e = 0; e < kLane; ++e) acc[e] += w * b[e];
  }
#endif
}

void HorizontalBlock(const uchar* srcBits, qsizetype srcStride, int sw, int y0, int y1,
                     const TContributors& con, int dw, uint8_t* __restrict work, float* __restrict t) {
  // Local copies: byte stores into the work bitmap could otherwise alias the vectors' pointers.
  const int* __restrict start = con.Start.data();
  const int* __restrict index = con.Index.data();
  const float* __restrict weight = con.Weight.data();
  const int len = 3 * sw;
  for (int yb = y0; yb < y1; yb += kRows) {
    const int rows = std::min(kRows, y1 - yb);
    const uchar* rp[kRows];
    for (int r = 0; r < kRows; ++r) rp[r] = srcBits + qsizetype(yb + std::min(r, rows - 1)) * srcStride;
    TransposeRows(rp, len, t);
    for (int x = 0; x < dw; ++x) {
      float acc[kLane];
      SumLanes(t, index + start[x], weight + start[x], start[x + 1] - start[x], acc);
      uint8_t px[kLane];
      ClampRow(acc, px, kLane);
      uint8_t* out = work + (qsizetype(yb) * dw + x) * 3;
      for (int r = 0; r < rows; ++r, out += qsizetype(dw) * 3) {
        out[0] = px[r];
        out[1] = px[kRows + r];
        out[2] = px[2 * kRows + r];
      }
    }
  }
}

constexpr int kStrip = 32;

// acc[e] = sum over the contributors, in order, of weight * work[index * stride + e], e < kStrip.
void SumStrip(const uint8_t* work, qsizetype stride, const int* __restrict index,
              const float* __restrict weight, int count, float* __restrict acc) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  __m128 a[8];
  for (__m128& v : a) v = _mm_setzero_ps();
  for (int k = 0; k < count; ++k) {
    const __m128 w = _mm_set1_ps(weight[k]);
    const uint8_t* row = work + qsizetype(index[k]) * stride;
    for (int h = 0; h < 2; ++h) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16 * h));
      const __m128i lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
      a[4 * h + 0] = _mm_add_ps(a[4 * h + 0], _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero))));
      a[4 * h + 1] = _mm_add_ps(a[4 * h + 1], _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero))));
      a[4 * h + 2] = _mm_add_ps(a[4 * h + 2], _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero))));
      a[4 * h + 3] = _mm_add_ps(a[4 * h + 3], _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero))));
    }
  }
  for (int i = 0; i < 8; ++i) _mm_storeu_ps(acc + 4 * i, a[i]);
#else
  for (int e = 0; e < kStrip; ++e) acc[e] = 0.0f;
  for (int k = 0; k < count; ++k) {
    const float w = weight[k];
    const uint8_t* row = work + qsizetype(index[k]) * stride;
    for (int e = 0; e < kStrip; ++e) acc[e] += w * float(row[e]);
  }
#endif
}

// Output rows y0..y1-1. Columns go in strips of kStrip values so that the sums stay in registers
// while the contributor rows stream past; each value still sums its contributors in order.
void VerticalRows(const uint8_t* work, int dw, int y0, int y1, const TContributors& con,
                  uchar* __restrict dstBits, qsizetype dstStride) {
  const int* __restrict start = con.Start.data();
  const int* __restrict index = con.Index.data();
  const float* __restrict weight = con.Weight.data();
  const qsizetype len = qsizetype(dw) * 3;
  for (int y = y0; y < y1; ++y) {
    uchar* out = dstBits + qsizetype(y) * dstStride;
    qsizetype e0 = 0;
    for (; e0 + kStrip <= len; e0 += kStrip) {
      float acc[kStrip];
      SumStrip(work + e0, len, index + start[y], weight + start[y], start[y + 1] - start[y], acc);
      ClampRow(acc, out + e0, kStrip);
    }
    if (e0 < len) {
      float acc[kStrip] = {};
      const int n = int(len - e0);
      for (int k = start[y]; k < start[y + 1]; ++k) {
        const float w = weight[k];
        const uint8_t* row = work + qsizetype(index[k]) * len + e0;
        for (int e = 0; e < n; ++e) acc[e] += w * float(row[e]);
      }
      ClampRow(acc, out + e0, n);
    }
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
  if (source.width() <= 0 || source.height() <= 0) throw std::runtime_error("Source bitmap too small");
  const QImage src =
      source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
  const int sw = src.width(), sh = src.height();
  const int dw = destination.width(), dh = destination.height();
  if (destination.format() != QImage::Format_RGB888) destination = QImage(dw, dh, QImage::Format_RGB888);
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
    uchar* bits = destination.bits();
    const qsizetype stride = destination.bytesPerLine();
    ParallelRanges(threads, dh, 1, [&](unsigned, int y0, int y1) {
      VerticalRows(work.data(), dw, y0, y1, con, bits, stride);
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

void StretchKeyed(const QImage& source, QImage& destination, QRgb key, int filterIndex, float support) {
  if (source.width() <= 0 || source.height() <= 0) throw std::runtime_error("Source bitmap too small");
  const QImage src =
      source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
  const int sw = src.width(), sh = src.height(), dw = destination.width(), dh = destination.height();
  if (dw <= 0 || dh <= 0) return Stretch(src, destination, filterIndex, support);
  const uchar kr = uchar(qRed(key)), kg = uchar(qGreen(key)), kb = uchar(qBlue(key));
  // Colours with the key's pixels black (premultiplied), and their coverage: 255 where opaque.
  QImage colour(sw, sh, QImage::Format_RGB888), cover(sw, sh, QImage::Format_RGB888);
  bool keyed = false;
  for (int y = 0; y < sh; ++y) {
    const uchar* in = src.constScanLine(y);
    uchar* c = colour.scanLine(y);
    uchar* a = cover.scanLine(y);
    for (int x = 0; x < 3 * sw; x += 3) {
      const bool transparent = in[x] == kr && in[x + 1] == kg && in[x + 2] == kb;
      keyed |= transparent;
      for (int k = 0; k < 3; ++k) {
        c[x + k] = transparent ? 0 : in[x + k];
        a[x + k] = transparent ? 0 : 255;
      }
    }
  }
  if (!keyed) {
    Stretch(src, destination, filterIndex, support);
    return;
  }
  QImage colourOut(dw, dh, QImage::Format_RGB888), coverOut(dw, dh, QImage::Format_RGB888);
  Stretch(colour, colourOut, filterIndex, support);
  Stretch(cover, coverOut, filterIndex, support);
  destination = QImage(dw, dh, QImage::Format_RGB888);
  for (int y = 0; y < dh; ++y) {
    const uchar* c = colourOut.constScanLine(y);
    const uchar* a = coverOut.constScanLine(y);
    uchar* out = destination.scanLine(y);
    for (int x = 0; x < 3 * dw; x += 3) {
      const unsigned alpha = a[x];
      if (alpha < 128) {
        out[x] = kr, out[x + 1] = kg, out[x + 2] = kb;
        continue;
      }
      for (int k = 0; k < 3; ++k) out[x + k] = uchar(std::min(255u, (c[x + k] * 255u + alpha / 2) / alpha));
    }
  }
}
