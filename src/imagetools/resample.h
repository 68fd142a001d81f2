// Filtered resampling of 24-bit pictures: a horizontal pass into a work bitmap, then a vertical pass
// into the destination, each output pixel a weighted sum of source pixels under a filter kernel.
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <vector>

using TFilterProc = float (*)(float x);

struct TFilterEntry {
  const char* Name;
  TFilterProc Filter;
  float Support;  // default radius of the kernel
};

// Kernels, evaluated in single precision.
float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float SplineFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);

// The filter table: Box, Triangle, Hermite, Bell, B-Spline, Lanczos3, Mitchell (in this order).
extern const std::array<TFilterEntry, 7> ResampleFilters;

enum TFilterIndex {
  kBoxFilter = 0,
  kTriangleFilter,
  kHermiteFilter,
  kBellFilter,
  kSplineFilter,
  kLanczos3Filter,
  kMitchellFilter
};

// Index of a filter by its table name (exact spelling), or -1.
int FilterIndex(const QString& name);

// Resamples the whole source into the destination's current width and height. The destination
// becomes 24-bit (QImage::Format_RGB888); the caller sizes it. Throws std::runtime_error
// ("Source bitmap too small") when the source is empty, leaving the destination untouched.
// Each output pixel's weights sum to 1; channel sums are clamped to 0..255, rounding halves to even.
void Stretch(const QImage& source, QImage& destination, TFilterProc filter, float support);
void Stretch(const QImage& source, QImage& destination, int filterIndex, float support);
void Stretch(const QImage& source, QImage& destination, const QString& filterName, float support);

// Stretch for a picture whose pixels of colour `key` are transparent: the other pixels average among
// themselves only, and an output pixel is the key where key pixels carry most of its weight. A key
// background thus never tints the edges of what it surrounds, and key pixels stay exact. Filters with
// negative lobes (Lanczos3, Mitchell) overshoot the coverage and lighten edges; use one without.
void StretchKeyed(const QImage& source, QImage& destination, QRgb key, int filterIndex, float support);

// One output position's contributors: source indices (already reflected into range) and weights,
// scaled so that each position's weights sum to 1.
struct TContributors {
  std::vector<int> Start;  // size n + 1: contributors of output i are [Start[i], Start[i + 1])
  std::vector<int> Index;
  std::vector<float> Weight;
};

// Scale of one axis: dst / src for a source of one pixel, else (dst - 1) / (src - 1), so that the
// first and last pixels of both line up.
float StretchScale(int src, int dst);

// Contributors for n output positions over m source positions.
TContributors BuildContributors(int n, int m, float scale, float support, TFilterProc filter);
