#include "imagetools/resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace {

QImage Noise(int w, int h, unsigned seed) {
  QImage img(w, h, QImage::Format_RGB888);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y) {
    uchar* p = img.scanLine(y);
    for (int x = 0; x < 3 * w; ++x) p[x] = uchar(rng() & 0xff);
  }
  return img;
}

QImage Filled(int w, int h, uchar v) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(QColor(v, v, v));
  return img;
}

int Channel(const QImage& img, int x, int y, int c = 0) {
  return img.constScanLine(y)[3 * x + c];
}

// Straightforward per-pixel resampler written from the algorithm's description: contributors per
// output position, horizontal pass into byte rows, vertical pass column by column.
struct Contrib {
  int j;
  float w;
};

std::vector<std::vector<Contrib>> RefContributors(int n, int m, float s, float r, TFilterProc f) {
  std::vector<std::vector<Contrib>> out{size_t(n)};
  for (int i = 0; i < n; ++i) {
    const float c = float(i) / s;
    float width = r, g = 1.0f;
    if (s < 1.0f) width = r / s, g = 1.0f / s;
    float sum = 0.0f;
    for (int j = int(std::floor(c - width)); j <= int(std::ceil(c + width)); ++j) {
      const float w = s < 1.0f ? f((c - float(j)) / g) / g : f(c - float(j));
      if (w == 0.0f) continue;
      int k = j;
      while (k < 0 || k >= m) k = k < 0 ? -k : 2 * m - 1 - k;
      out[size_t(i)].push_back({k, w});
      sum += w;
    }
    for (Contrib& k : out[size_t(i)]) k.w /= sum;
  }
  return out;
}

uchar RefClamp(float v) {
  if (v > 255.0f) return 255;
  if (v < 0.0f) return 0;
  return uchar(std::nearbyint(v));
}

float RefScale(int src, int dst) {
  return src == 1 || dst == 1 ? float(dst) / float(src) : float(dst - 1) / float(src - 1);
}

QImage Reference(const QImage& src, int dw, int dh, TFilterProc f, float r) {
  const int sw = src.width(), sh = src.height();
  QImage work(dw, sh, QImage::Format_RGB888);
  const auto hc = RefContributors(dw, sw, RefScale(sw, dw), r, f);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < dw; ++x)
      for (int c = 0; c < 3; ++c) {
        float sum = 0.0f;
        for (const Contrib& k : hc[size_t(x)]) sum += k.w * float(Channel(src, k.j, y, c));
        work.scanLine(y)[3 * x + c] = RefClamp(sum);
      }
  QImage dst(dw, dh, QImage::Format_RGB888);
  const auto vc = RefContributors(dh, sh, RefScale(sh, dh), r, f);
  for (int x = 0; x < dw; ++x)
    for (int y = 0; y < dh; ++y)
      for (int c = 0; c < 3; ++c) {
        float sum = 0.0f;
        for (const Contrib& k : vc[size_t(y)]) sum += k.w * float(Channel(work, x, k.j, c));
        dst.scanLine(y)[3 * x + c] = RefClamp(sum);
      }
  return dst;
}

bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 3) != 0) return false;
  return true;
}

}  // namespace

TEST(ResampleFilters, TableAndKernels) {
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
  const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
  for (int i = 0; i < 7; ++i) {
    EXPECT_STREQ(ResampleFilters[size_t(i)].Name, names[i]);
    EXPECT_EQ(ResampleFilters[size_t(i)].Support, supports[i]);
    EXPECT_EQ(FilterIndex(QString::fromLatin1(names[i])), i);
    // Every kernel vanishes beyond its support.
    EXPECT_EQ(ResampleFilters[size_t(i)].Filter(supports[i] + 1e-3f), 0.0f) << names[i];
    EXPECT_EQ(ResampleFilters[size_t(i)].Filter(-supports[i] - 0.25f), 0.0f) << names[i];
  }
  EXPECT_EQ(FilterIndex("mitchell"), -1);

  struct Case {
    TFilterProc f;
    float x, expected;
  } cases[] = {
      {BoxFilter, 0.5f, 1.0f},
      {BoxFilter, -0.5f, 0.0f},
      {BoxFilter, 0.0f, 1.0f},
      {TriangleFilter, -0.25f, 0.75f},
      {HermiteFilter, 0.5f, 0.5f},
      {HermiteFilter, 0.0f, 1.0f},
      {BellFilter, 0.0f, 0.75f},
      {BellFilter, 1.0f, 0.125f},
      {BellFilter, -0.5f, 0.5f},
      {SplineFilter, 0.0f, 2.0f / 3.0f},
      {SplineFilter, 1.0f, 1.0f / 6.0f},
      {SplineFilter, -1.5f, 0.125f / 6.0f},
      {Lanczos3Filter, 0.0f, 1.0f},
      {Lanczos3Filter, 1.0f, 0.0f},
      {Lanczos3Filter, 0.5f, 0.6079271f},
      {MitchellFilter, 0.0f, 8.0f / 9.0f},
      {MitchellFilter, 1.0f, 1.0f / 18.0f},
      {MitchellFilter, -1.5f, -0.0347222f},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.f(c.x), c.expected, 2e-6f) << c.x;
}

// 200 -> 100 with Box: scale 99/199 and kernel weights of 99/199; interior columns take two source
// columns and the outer ones three (one reflected), each output's weights scaled to sum to 1.
TEST(Resample, BoxHalvingContributorsAndEdges) {
  const float s = StretchScale(200, 100);
  EXPECT_EQ(s, 99.0f / 199.0f);
  const TContributors c = BuildContributors(100, 200, s, 0.5f, BoxFilter);
  auto of = [&](int i, float weight) {
    std::vector<int> idx(c.Index.begin() + c.Start[i], c.Index.begin() + c.Start[i + 1]);
    for (int k = c.Start[i]; k < c.Start[i + 1]; ++k) EXPECT_FLOAT_EQ(c.Weight[size_t(k)], weight) << i;
    return idx;
  };
  EXPECT_EQ(of(0, 1.0f / 3.0f), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(of(50, 0.5f), (std::vector<int>{100, 101}));
  EXPECT_EQ(of(99, 1.0f / 3.0f), (std::vector<int>{198, 199, 199}));

  // Pairs of columns average: 0 and 200 give 100, the edges included.
  QImage src(200, 2, QImage::Format_RGB888);
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 2; ++y) src.setPixelColor(x, y, x % 2 ? QColor(200, 200, 200) : QColor(0, 0, 0));
  QImage dst(100, 1, QImage::Format_RGB888);
  Stretch(src, dst, kBoxFilter, 0.5f);
  EXPECT_EQ(Channel(dst, 50, 0), 100);
  EXPECT_EQ(Channel(dst, 0, 0), 133);   // 200, 0, 200
  EXPECT_EQ(Channel(dst, 99, 0), 133);  // 0, 200, 200
}

// Every filter keeps a flat colour exactly flat, edges included: halvings, odd and uneven
// reductions, enlargements, destinations of one pixel. White stays 255 (a page export is white).
TEST(Resample, FlatColoursStayExactlyFlat) {
  const struct {
    int sw, sh, dw, dh;
  } sizes[] = {
      {400, 40, 200, 20}, {1000, 30, 333, 10},  {30, 1000, 10, 333}, {7, 7, 3, 3},
      {3, 3, 7, 7},       {200, 200, 100, 100}, {13, 5, 64, 23},     {2000, 9, 7, 2},
      {37, 5, 1, 1},      {1, 1, 9, 4},         {999, 4, 1000, 4},   {64, 48, 17, 29},
  };
  const QColor colours[] = {QColor(128, 128, 128), QColor(255, 255, 255), QColor(0, 0, 0),
                            QColor(17, 200, 254)};
  for (const auto& s : sizes)
    for (int f = 0; f < 7; ++f)
      for (const QColor& colour : colours) {
        QImage src(s.sw, s.sh, QImage::Format_RGB888);
        src.fill(colour);
        QImage dst(s.dw, s.dh, QImage::Format_RGB888);
        Stretch(src, dst, f, ResampleFilters[size_t(f)].Support);
        int off = 0;
        QColor seen;
        for (int y = 0; y < s.dh; ++y)
          for (int x = 0; x < s.dw; ++x)
            if (dst.pixelColor(x, y) != colour && off++ == 0) seen = dst.pixelColor(x, y);
        EXPECT_EQ(off, 0) << ResampleFilters[size_t(f)].Name << " " << s.sw << "x" << s.sh << " -> " << s.dw
                          << "x" << s.dh << ": " << colour.name().toStdString() << " became "
                          << seen.name().toStdString();
      }
}

// Enlarging 2 -> 3 with Triangle puts the middle pixel exactly halfway: halves go to even.
TEST(Resample, HalfwaySumsRoundToEven) {
  const int pairs[][3] = {{1, 2, 2}, {2, 3, 2}, {4, 5, 4}, {5, 6, 6}};
  for (const auto& p : pairs) {
    QImage src(2, 1, QImage::Format_RGB888);
    src.fill(QColor(p[0], p[0], p[0]));
    src.setPixelColor(1, 0, QColor(p[1], p[1], p[1]));
    QImage dst(3, 1, QImage::Format_RGB888);
    Stretch(src, dst, kTriangleFilter, 1.0f);
    EXPECT_EQ(Channel(dst, 0, 0), p[0]);
    EXPECT_EQ(Channel(dst, 1, 0), p[2]) << p[0] << "," << p[1];
    EXPECT_EQ(Channel(dst, 2, 0), p[1]);
  }
}

// Mitchell's negative lobes overshoot at a hard edge: the sums clamp, they never wrap.
TEST(Resample, MitchellEdgeClampsWithoutWrapping) {
  QImage src(16, 4, QImage::Format_RGB888);
  src.fill(Qt::black);
  for (int y = 0; y < 4; ++y)
    for (int x = 8; x < 16; ++x) src.setPixelColor(x, y, Qt::white);
  QImage dst(61, 4, QImage::Format_RGB888);
  Stretch(src, dst, kMitchellFilter, 2.0f);
  // Without clamping the dark side dips below 0 and the light side rises above 255 near the edge.
  const auto con = BuildContributors(61, 16, StretchScale(16, 61), 2.0f, MitchellFilter);
  int under = 0, over = 0;
  for (int x = 0; x < 61; ++x) {
    float sum = 0;
    for (int k = con.Start[x]; k < con.Start[x + 1]; ++k)
      sum += con.Weight[size_t(k)] * (con.Index[size_t(k)] >= 8 ? 255.0f : 0.0f);
    if (sum < -0.5f) {
      ++under;
      EXPECT_EQ(Channel(dst, x, 1), 0) << x;
    }
    if (sum > 255.5f) {
      ++over;
      EXPECT_EQ(Channel(dst, x, 1), 255) << x;
    }
  }
  EXPECT_GT(under, 0);
  EXPECT_GT(over, 0);
}

TEST(Resample, EmptySourceThrowsAndLeavesDestination) {
  QImage dst(4, 3, QImage::Format_ARGB32);
  dst.fill(qRgb(1, 2, 3));
  for (const QImage& src : {QImage(), QImage(0, 5, QImage::Format_RGB888)}) {
    try {
      Stretch(src, dst, kMitchellFilter, 2.0f);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "Source bitmap too small");
    }
  }
  EXPECT_EQ(dst.format(), QImage::Format_ARGB32);
  EXPECT_EQ(dst.size(), QSize(4, 3));
  EXPECT_EQ(dst.pixel(2, 2), qRgb(1, 2, 3));
}

// A one-pixel-wide source is stretched with the scale dw / 1: every output column repeats it.
TEST(Resample, SinglePixelSourceSpreadsEvenly) {
  QImage src(1, 3, QImage::Format_RGB888);
  src.setPixelColor(0, 0, QColor(10, 20, 30));
  src.setPixelColor(0, 1, QColor(200, 100, 0));
  src.setPixelColor(0, 2, QColor(7, 77, 177));
  QImage dst(9, 3, QImage::Format_RGB32);  // takes the source's 24-bit format
  Stretch(src, dst, kTriangleFilter, 1.0f);
  EXPECT_EQ(dst.format(), QImage::Format_RGB888);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(dst.pixelColor(x, y), src.pixelColor(0, y)) << x << "," << y;
}

// Destinations of one or two pixels make kernels far wider than the source; reads stay inside it
// and a flat picture stays about flat.
TEST(Resample, TinyDestinationsFromWideKernels) {
  for (int f = 0; f < 7; ++f)
    for (QSize size : {QSize(1, 1), QSize(2, 1), QSize(1, 2)}) {
      QImage dst(size, QImage::Format_RGB888);
      Stretch(Filled(37, 5, 200), dst, f, ResampleFilters[size_t(f)].Support);
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
          EXPECT_NEAR(Channel(dst, x, y), 200, 6) << ResampleFilters[size_t(f)].Name << " " << x << "," << y;
    }
}

// The blocked, vectorised and threaded passes give exactly the per-pixel arithmetic.
TEST(Resample, MatchesPerPixelArithmetic) {
  const struct {
    int sw, sh, dw, dh;
  } sizes[] = {
      {1, 1, 7, 5}, {13, 9, 13, 9}, {17, 11, 40, 23}, {40, 23, 17, 11}, {1, 9, 6, 4},
      {9, 1, 4, 6}, {50, 30, 1, 1}, {50, 30, 2, 3},   {3, 2, 64, 1},    {1000, 703, 410, 300},
  };
  unsigned seed = 1;
  for (const auto& s : sizes) {
    const QImage src = Noise(s.sw, s.sh, seed++);
    for (int f = 0; f < 7; ++f) {
      const TFilterEntry& e = ResampleFilters[size_t(f)];
      SCOPED_TRACE(testing::Message()
                   << e.Name << " " << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh);
      QImage dst(s.dw, s.dh, QImage::Format_RGB888);
      Stretch(src, dst, f, e.Support);
      EXPECT_TRUE(SamePixels(dst, Reference(src, s.dw, s.dh, e.Filter, e.Support)));
    }
  }
  // A support other than the table's is honoured.
  const QImage src = Noise(31, 17, 99);
  QImage dst(12, 40, QImage::Format_RGB888);
  Stretch(src, dst, kLanczos3Filter, 2.0f);
  EXPECT_TRUE(SamePixels(dst, Reference(src, 12, 40, Lanczos3Filter, 2.0f)));
}

TEST(Resample, SourceMayBeTheDestination) {
  QImage img = Noise(30, 20, 5);
  const QImage expected = Reference(img, 30, 20, MitchellFilter, 2.0f);
  Stretch(img, img, kMitchellFilter, 2.0f);
  EXPECT_TRUE(SamePixels(img, expected));
}
