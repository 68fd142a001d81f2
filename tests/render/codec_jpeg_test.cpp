#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "common/picture_fixtures.h"
#include "render/codecs.h"

namespace {

QImage Decode(const QByteArray& b, QSize atLeast = QSize()) {
  return DecodeJpeg(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size()), atLeast);
}

// Mean and largest absolute channel difference of two pictures of one size.
std::pair<double, int> Difference(const QImage& a, const QImage& b) {
  EXPECT_EQ(a.size(), b.size());
  const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
  double sum = 0;
  int worst = 0;
  for (int r = 0; r < x.height(); ++r)
    for (int i = 0; i < 3 * x.width(); ++i) {
      const int d = std::abs(int(x.constScanLine(r)[i]) - int(y.constScanLine(r)[i]));
      sum += d;
      worst = std::max(worst, d);
    }
  return {sum / (3.0 * x.width() * x.height()), worst};
}

void ExpectNear(QRgb got, QRgb want, int tolerance, const char* what) {
  EXPECT_NEAR(qRed(got), qRed(want), tolerance) << what;
  EXPECT_NEAR(qGreen(got), qGreen(want), tolerance) << what;
  EXPECT_NEAR(qBlue(got), qBlue(want), tolerance) << what;
}

QImage Gradient(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
  return img;
}

}  // namespace

TEST(JpegCodec, ColourGreyProgressiveAndCmyk) {
  const QImage grad = QImage(Fixture("grad.ppm")).convertToFormat(QImage::Format_RGB888);
  const struct {
    const char* file;
    double mean;
    int worst;
  } cases[] = {{"jpeg_grad444.jpg", 1.5, 12}, {"jpeg_grad420.jpg", 6, 60}, {"jpeg_progressive.jpg", 6, 60}};
  for (const auto& c : cases) {
    const QImage img = LoadJpeg(Fixture(c.file));
    ASSERT_EQ(img.format(), QImage::Format_RGB888) << c.file;
    const auto [mean, worst] = Difference(img, grad);
    EXPECT_LT(mean, c.mean) << c.file;
    EXPECT_LE(worst, c.worst) << c.file;
  }

  const QImage grey = LoadJpeg(Fixture("jpeg_gray.jpg"));
  ASSERT_EQ(grey.size(), grad.size());
  EXPECT_LT(Difference(grey, QImage(Fixture("grad_gray.pgm"))).first, 1.5);
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb p = grey.pixel(x, y);
      ASSERT_TRUE(qRed(p) == qGreen(p) && qRed(p) == qBlue(p)) << x << "," << y;
    }

  // Two flat 16 x 16 halves, once as YCbCr and once as Adobe (inverted) CMYK.
  for (const char* file : {"jpeg_blocks.jpg", "jpeg_cmyk.jpg"}) {
    const QImage img = LoadJpeg(Fixture(file));
    ASSERT_EQ(img.size(), QSize(32, 16)) << file;
    ExpectNear(img.pixel(4, 8), qRgb(200, 30, 40), 4, file);
    ExpectNear(img.pixel(27, 8), qRgb(20, 120, 220), 4, file);
  }
}

// DCT scaling picks the smallest n/8 that keeps the picture at least the size asked for.
TEST(JpegCodec, ScaledDecoding) {
  const QByteArray jpeg = EncodeJpeg(Gradient(400, 300));
  ASSERT_FALSE(jpeg.isEmpty());
  const struct {
    QSize atLeast, expected;
  } cases[] = {
      {QSize(), QSize(400, 300)},         {QSize(100, 75), QSize(100, 75)}, {QSize(101, 75), QSize(150, 113)},
      {QSize(50, 10), QSize(50, 38)},     {QSize(10, 76), QSize(150, 113)}, {QSize(399, 1), QSize(400, 300)},
      {QSize(800, 800), QSize(400, 300)}, {QSize(0, 50), QSize(400, 300)},
  };
  const QImage full = Decode(jpeg);
  for (const auto& c : cases) {
    const QImage img = Decode(jpeg, c.atLeast);
    EXPECT_EQ(img.size(), c.expected) << c.atLeast.width() << "x" << c.atLeast.height();
    if (img.size() != full.size() && !img.isNull()) {
      const auto [mean, worst] =
          Difference(img, full.scaled(img.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
      EXPECT_LT(mean, 3.0);
    }
  }
}

TEST(JpegCodec, EncodesBaselineAtDefaultQuality) {
  QImage src = Gradient(61, 37).convertToFormat(QImage::Format_ARGB32);  // any format is accepted
  QTemporaryDir dir;
  const QString path = dir.filePath("out.jpg");
  ASSERT_TRUE(SaveJpeg(src, path));
  const QImage back = LoadJpeg(path);
  ASSERT_EQ(back.size(), src.size());
  EXPECT_LT(Difference(back, src).first, 2.0);

  const QByteArray b = EncodeJpeg(src);
  ASSERT_TRUE(b.startsWith("\xff\xd8\xff\xe0"));  // JFIF
  EXPECT_GE(b.indexOf("\xff\xc0"), 0);            // baseline frame
  // Quality 75 halves the standard tables: the luminance DC quantiser is 16 / 2.
  const qsizetype dqt = b.indexOf("\xff\xdb");
  ASSERT_GE(dqt, 0);
  EXPECT_EQ(b[dqt + 4], char(0));  // table 0, 8-bit
  EXPECT_EQ(b[dqt + 5], char(8));

  EXPECT_TRUE(EncodeJpeg(QImage()).isEmpty());
  EXPECT_FALSE(SaveJpeg(src, dir.filePath("no/such/folder/x.jpg")));
  EXPECT_TRUE(EncodeJpeg(QImage(70000, 1, QImage::Format_RGB888)).isEmpty());  // beyond JPEG's size
}

TEST(JpegCodec, BrokenFilesGiveNull) {
  const QByteArray good = Bytes("jpeg_grad420.jpg"), prog = Bytes("jpeg_progressive.jpg");
  ASSERT_FALSE(Decode(good).isNull());
  const qsizetype sof = good.indexOf("\xff\xc0");
  ASSERT_GT(sof, 0);
  auto withSize = [&](int w, int h) {
    QByteArray b = good;
    b[sof + 5] = char(h >> 8), b[sof + 6] = char(h);
    b[sof + 7] = char(w >> 8), b[sof + 8] = char(w);
    return b;
  };
  QByteArray garbage = good.left(2);
  garbage.append(QByteArray(200, '\x5a'));
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", QByteArray()},
      {"start of image only", good.left(2)},
      {"cut in the header", good.left(150)},
      {"cut in the scan", good.left(good.size() - 300)},
      {"cut in the last rows", good.left(good.size() - 12)},
      {"cut progressive", prog.left(prog.size() / 2)},
      {"garbage after SOI", garbage},
      {"declared 60000 x 60000", withSize(60000, 60000)},
      {"declared height 0", withSize(61, 0)},
      {"a PNG", Bytes("png_rgb8.png")},
  };
  for (const auto& [what, bytes] : cases) EXPECT_TRUE(Decode(bytes).isNull()) << what;
  EXPECT_TRUE(LoadJpeg(Fixture("missing.jpg")).isNull());
  // Only the end marker missing: every scan is complete, the picture loads.
  for (const QByteArray& whole : {good, prog}) {
    ASSERT_TRUE(whole.endsWith("\xff\xd9"));
    EXPECT_EQ(Decode(whole.chopped(2)), Decode(whole));
  }
}

// Progressive files may repeat scans without end; past 1000 scans the file is refused.
TEST(JpegCodec, ScanCountIsBounded) {
  const QByteArray prog = Bytes("jpeg_progressive.jpg");
  // The first scan: its SOS header and entropy-coded data up to the next marker.
  const qsizetype sos = prog.indexOf("\xff\xda");
  ASSERT_GT(sos, 0);
  qsizetype end = sos + 2 + ((uchar(prog[sos + 2]) << 8) | uchar(prog[sos + 3]));
  while (end + 1 < prog.size() && !(uchar(prog[end]) == 0xff && uchar(prog[end + 1]) != 0 &&
                                    (uchar(prog[end + 1]) < 0xd0 || uchar(prog[end + 1]) > 0xd7)))
    ++end;
  const QByteArray scan = prog.mid(sos, end - sos);
  auto repeated = [&](int n) {
    QByteArray b = prog.left(end);
    for (int i = 1; i < n; ++i) b += scan;
    return b + prog.mid(end);
  };
  EXPECT_FALSE(Decode(repeated(900)).isNull());
  EXPECT_TRUE(Decode(repeated(1100)).isNull());
}
