#include "render/emf_device.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "render/metafile.h"

namespace {

// 4 pixels per millimetre: 0.04 pixel per device unit.
constexpr double kScale = 0.04;

QImage Direct(QSizeF mm, const std::function<void(QPainter&)>& draw) {
  QImage img(int(mm.width() * 100 * kScale), int(mm.height() * 100 * kScale), QImage::Format_RGB888);
  img.fill(Qt::white);
  QPainter p(&img);
  p.scale(kScale, kScale);
  draw(p);
  return img;
}

QImage Played(const QByteArray& emf, QSize size) {
  TMetafile mf;
  EXPECT_TRUE(mf.LoadFromData(emf));
  return RenderMetafile(mf, size.width(), size.height()).convertToFormat(QImage::Format_RGB888);
}

// Share of pixels whose colours differ clearly; edges of anti-aliased or rounded shapes differ a little.
double Mismatch(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1;
  int bad = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor c = a.pixelColor(x, y), d = b.pixelColor(x, y);
      if (std::max({std::abs(c.red() - d.red()), std::abs(c.green() - d.green()),
                    std::abs(c.blue() - d.blue())}) > 80)
        ++bad;
    }
  return double(bad) / (a.width() * a.height());
}

int Records(const QByteArray& emf, uint32_t type) {
  TMetafile mf;
  mf.LoadFromData(emf);
  int n = 0;
  for (const auto& r : mf.Records()) n += r.Type == type;
  return n;
}

void Scene(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 30));
  p.drawRect(QRectF(500, 500, 3000, 2000));
  // Odd-even star: its centre stays empty.
  QPolygonF star;
  for (int i = 0; i < 5; ++i) {
    const double a = (-90 + i * 144) * M_PI / 180;
    star << QPointF(6500 + 2000 * std::cos(a), 3000 + 2000 * std::sin(a));
  }
  p.setBrush(QColor(20, 120, 220));
  p.drawPolygon(star, Qt::OddEvenFill);
  // Thick outline with round caps, dashed line, turned ellipse.
  p.setPen(QPen(QColor(0, 140, 0), 150, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(500, 4000), QPointF(3000, 5500), QPointF(4500, 4200)}));
  p.setPen(QPen(Qt::black, 80, Qt::DashLine, Qt::FlatCap));
  p.drawLine(QPointF(500, 5800), QPointF(9500, 5800));
  p.save();
  p.translate(8000, 1000);
  p.rotate(30);
  p.setPen(QPen(QColor(120, 0, 160), 60));
  p.setBrush(QColor(250, 200, 0));
  p.drawEllipse(QRectF(-800, -400, 1600, 800));
  p.restore();
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(900);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QPointF(5200, 5300), QStringLiteral("Aq8"));
  QImage chequer(4, 4, QImage::Format_RGB888);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      chequer.setPixelColor(x, y, (x + y) % 2 ? QColor(255, 140, 0) : QColor(0, 0, 90));
  p.drawImage(QRectF(3700, 2800, 1200, 1200), chequer);
  // A turned picture lands upright in its bounding box, turned in its pixels.
  p.translate(9000, 4000);
  p.rotate(45);
  p.drawImage(QRectF(-500, -500, 1000, 1000), chequer.scaled(40, 40));
}

}  // namespace

TEST(EmfDevice, PlayedSceneMatchesDirectPainting) {
  const QSizeF mm(100, 60);
  const QByteArray emf = RecordEmf(mm, Scene);
  ASSERT_FALSE(emf.isEmpty());
  const QImage direct = Direct(mm, Scene);
  const QImage played = Played(emf, direct.size());
  EXPECT_LT(Mismatch(direct, played), 0.02);
  // Inside shapes the colours are exact; the odd-even star keeps its hole.
  EXPECT_EQ(played.pixelColor(80, 60), QColor(200, 30, 30));
  EXPECT_EQ(played.pixelColor(260, 120), QColor(Qt::white));
  EXPECT_EQ(played.pixelColor(260, 60), QColor(20, 120, 220));
  // The turned picture reaches the tips of its diamond and leaves the box's corners white.
  EXPECT_NE(played.pixelColor(384, 160), QColor(Qt::white));
  EXPECT_NE(played.pixelColor(360, 136), QColor(Qt::white));
  EXPECT_EQ(played.pixelColor(384, 136), QColor(Qt::white));
  // Text is outlines, no font is needed to play it; the picture is one DIB.
  EXPECT_EQ(Records(emf, EMR_EXTTEXTOUTW), 0);
  EXPECT_EQ(Records(emf, EMR_STRETCHDIBITS), 2);
}

TEST(EmfDevice, FrameIsTheDrawingSizeInHundredthsOfMillimetre) {
  const QByteArray emf =
      RecordEmf(QSizeF(120, 80.5), [](QPainter& p) { p.fillRect(QRectF(0, 0, 12000, 8050), Qt::black); });
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(emf));
  EXPECT_EQ(mf.Frame(), QRect(QPoint(0, 0), QPoint(12000, 8050)));
  // Logical units are the same hundredths: a full-size fill covers the whole played picture.
  const QImage img = RenderMetafile(mf, 240, 161);
  EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(238, 159), QColor(Qt::black));
}

int Distance(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(EmfDevice, TranslucentPaintMixesWithWhatLiesBelow) {
  struct Case {
    const char* what;
    std::function<void(QPainter&)> paint;
    QPoint probe;
    QColor expected;
  };
  const std::vector<Case> cases = {
      {"half black over white",
       [](QPainter& p) { p.fillRect(QRectF(0, 0, 1000, 1000), QColor(0, 0, 0, 128)); },
       {10, 10},
       QColor(127, 127, 127)},
      {"opacity over white",
       [](QPainter& p) {
         p.setOpacity(0.25);
         p.fillRect(QRectF(0, 0, 1000, 1000), Qt::blue);
       },
       {10, 10},
       QColor(191, 191, 255)},
      {"half white over red",
       [](QPainter& p) {
         p.fillRect(QRectF(0, 0, 500, 1000), Qt::red);
         p.fillRect(QRectF(100, 0, 300, 1000), QColor(255, 255, 255, 128));
       },
       {5, 10},
       QColor(255, 127, 127)},
      {"picture with alpha over green",
       [](QPainter& p) {
         p.fillRect(QRectF(0, 0, 1000, 1000), Qt::green);
         QImage hole(8, 8, QImage::Format_ARGB32);
         hole.fill(QColor(0, 0, 255, 0));
         p.drawImage(QRectF(0, 0, 1000, 1000), hole);
       },
       {10, 10},
       QColor(0, 255, 0)},
      {"faint paint over stripes is left out",
       [](QPainter& p) {
         for (int x = 0; x < 1000; x += 200) p.fillRect(QRectF(x, 0, 100, 1000), Qt::black);
         p.fillRect(QRectF(0, 0, 1000, 1000), QColor(255, 0, 0, 80));
       },
       {1, 10},
       QColor(0, 0, 0)},
  };
  for (const Case& c : cases) {
    const QColor got = Played(RecordEmf(QSizeF(10, 10), c.paint), QSize(20, 20)).pixelColor(c.probe);
    EXPECT_LE(Distance(got, c.expected), 3) << c.what << " " << got.name().toStdString();
  }
  // Fully transparent paint writes no drawing at all.
  const QByteArray none = RecordEmf(QSizeF(10, 10), [](QPainter& p) {
    p.setPen(QColor(0, 0, 0, 0));
    p.setBrush(QColor(255, 0, 0, 0));
    p.drawRect(QRectF(0, 0, 500, 500));
  });
  EXPECT_EQ(Records(none, EMR_FILLPATH) + Records(none, EMR_STROKEPATH), 0);
}

TEST(EmfDevice, GradientsFillInBands) {
  // Linear, turned by the brush's own transform; radial, box-relative.
  auto linear = [](QPainter& p) {
    QLinearGradient g(0, 0, 0, 1000);  // downwards, turned to run left to right
    g.setColorAt(0, Qt::red);
    g.setColorAt(1, Qt::blue);
    QBrush b(g);
    b.setTransform(QTransform().translate(1000, 0).rotate(90));
    p.setPen(Qt::NoPen);
    p.setBrush(b);
    p.drawRect(QRectF(0, 0, 1000, 1000));
  };
  auto radial = [](QPainter& p) {
    QRadialGradient g(0.5, 0.5, 0.5);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(QRectF(0, 0, 1000, 1000));
  };
  for (const auto& draw : {std::function<void(QPainter&)>(linear), std::function<void(QPainter&)>(radial)}) {
    const QByteArray emf = RecordEmf(QSizeF(10, 10), draw);
    EXPECT_GT(Records(emf, EMR_FILLPATH), 10);
    const QImage direct = Direct(QSizeF(10, 10), draw), played = Played(emf, direct.size());
    double worst = 0;
    for (int y = 2; y < direct.height(); y += 5)
      for (int x = 2; x < direct.width(); x += 5)
        worst = std::max(worst, double(Distance(direct.pixelColor(x, y), played.pixelColor(x, y))));
    EXPECT_LT(worst, 60);
  }
}

TEST(EmfDevice, ClipIsAppliedToFills) {
  auto draw = [](QPainter& p) {
    p.setClipRect(QRectF(0, 0, 500, 1000));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(0, 0, 1000, 1000));
  };
  const QImage img = Played(RecordEmf(QSizeF(10, 10), draw), QSize(100, 100));
  EXPECT_EQ(img.pixelColor(30, 50), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(70, 50), QColor(Qt::white));
}

TEST(EmfDevice, LongPathsAreCutForTheImporter) {
  // A 2000-sided polygon: its outline goes in several paths and its fill is thinned, so that no
  // path holds more than the importer's point limit.
  const QByteArray emf = RecordEmf(QSizeF(50, 50), [](QPainter& p) {
    p.setPen(QPen(Qt::black, 100));
    p.setBrush(Qt::yellow);
    QPolygonF poly;
    for (int i = 0; i < 2000; ++i)
      poly << QPointF(2500 + 2000 * std::cos(i * 2 * M_PI / 2000),
                      2500 + 2000 * std::sin(i * 2 * M_PI / 2000));
    p.drawPolygon(poly);
  });
  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromData(emf));
  int points = 0, maxPoints = 0;
  for (const auto& r : mf.Records()) {
    if (r.Type == EMR_BEGINPATH) points = 0;
    if (r.Type == EMR_MOVETOEX || r.Type == EMR_LINETO) points += 3;
    if (r.Type == EMR_POLYLINETO16 || r.Type == EMR_POLYLINETO)
      points += 3 * int(ReadEmfPolyPoints(r)->size());
    maxPoints = std::max(maxPoints, points);
  }
  EXPECT_LE(maxPoints, 1000);
  EXPECT_GT(Records(emf, EMR_STROKEPATH), 1);
  // Stroke pieces join up: the ring is closed all around, and the thinned fill still fills it.
  const QImage img = Played(emf, QSize(200, 200));
  for (int deg = 0; deg < 360; deg += 7) {
    const double a = deg * M_PI / 180;
    EXPECT_EQ(img.pixelColor(int(100 + 80 * std::cos(a)), int(100 + 80 * std::sin(a))), QColor(Qt::black))
        << deg;
    EXPECT_EQ(img.pixelColor(int(100 + 76 * std::cos(a)), int(100 + 76 * std::sin(a))), QColor(Qt::yellow))
        << deg;
  }
}

TEST(EmfDevice, BadSizeGivesNothing) {
  for (QSizeF s : {QSizeF(0, 10), QSizeF(-5, 10), QSizeF(10, qQNaN()), QSizeF(1e9, 1)})
    EXPECT_TRUE(RecordEmf(s, [](QPainter& p) { p.drawLine(0, 0, 10, 10); }).isEmpty());
}
