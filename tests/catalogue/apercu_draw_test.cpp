#include "catalogue/apercu_draw.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "catalogue/fixtures.h"
#include "model/document.h"
#include "render/canvas.h"
#include "render/codecs.h"

namespace {

const QColor kRed(255, 0, 0), kWhite(255, 255, 255), kBack(153, 204, 255), kGreen(0, 255, 0);

// A page of 100 x 50 mm whose left half is red and right half empty, so that each copy of a frieze
// shows where it starts and where the next one begins.
bool WriteHalfRed(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) &&
         f.write(
             "Version=1.2\r\nLarge=100\r\nHaut=50\r\n\r\nFace=1\r\n  Objet=1\r\n    Name=rectangle\r\n"
             "    Face=1\r\n    CanSelect=1\r\n    Pen=0000FF,0,0\r\n    Brush=0000FF,0\r\n    x=25\r\n"
             "    y=25\r\n    l=50\r\n    h=50\r\n    r=0\r\n  End\r\n") > 0;
}

class ApercuDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    d_ = dir_.path() + QLatin1Char('/');
  }
  // Loads a template into the document.
  void Load(const QString& file) { ASSERT_TRUE(doc_.LoadFromFile(file)); }

  QTemporaryDir dir_;
  QString d_;
  TzunoCADMdl doc_{nullptr, QRect(0, 0, 100, 100), 100, 100};
};

TEST_F(ApercuDraw, OneFaceFillsTheViewAndTwoFacesShareIt) {
  ASSERT_TRUE(fixtures::WriteTemplate(d_ + "a.mdl", "0000FF", 60, 40));
  const struct {
    bool twoFaces;
    QSize view;
    int mode;
    QSize recto, verso;
  } cases[] = {
      {false, {300, 200}, 1, {300, 200}, {}},
      {true, {300, 200}, 3, {300, 100}, {300, 100}},
      {true, {300, 201}, 3, {300, 100}, {300, 101}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.view.height() + (c.twoFaces ? 1000 : 0));
    Load(d_ + "a.mdl");
    if (c.twoFaces) doc_.DupliquerFace(1, 2);
    const TApercuFaces faces = DessineApercu(doc_, c.view, {});
    EXPECT_EQ(faces.FaceMode, c.mode);
    EXPECT_EQ(faces.Recto.size(), c.recto);
    EXPECT_EQ(faces.Verso.isNull(), !c.twoFaces);
    if (c.twoFaces) {
      EXPECT_EQ(faces.Verso.size(), c.verso);
    }
    // The page sits in the middle on the preview background.
    EXPECT_EQ(faces.Recto.pixelColor(0, 0), kBack);
    EXPECT_EQ(faces.Recto.pixelColor(c.recto.width() / 2, c.recto.height() / 2), kRed);
    if (c.twoFaces) {
      EXPECT_EQ(faces.Verso.pixelColor(c.verso.width() / 2, c.verso.height() / 2), kRed);
    }
  }
}

TEST_F(ApercuDraw, RestoresTheDocumentsSettingsAndAlwaysDrawsSmoothed) {
  ASSERT_TRUE(fixtures::WriteTemplate(d_ + "a.mdl", "0000FF", 60, 40));
  Load(d_ + "a.mdl");
  doc_.DupliquerFace(1, 2);
  const QImage smoothed = DessineApercu(doc_, {301, 203}, {}).Recto;

  doc_.Quality = 9;
  doc_.CurrentFace = 2;
  doc_.StencilView = 2;
  doc_.PreviewBackColor = RGBColor(1, 2, 3);
  doc_.ThumbFrameColor = RGBColor(4, 5, 6);
  TApercuOptions options;
  options.PaperMode = 1;
  const TApercuFaces faces = DessineApercu(doc_, {301, 203}, options);
  EXPECT_EQ(faces.Recto, smoothed);
  EXPECT_EQ(doc_.Quality, 9);
  EXPECT_EQ(doc_.CurrentFace, 2);
  EXPECT_EQ(doc_.StencilView, 0);
  EXPECT_EQ(doc_.PreviewBackColor, clWhite);
  EXPECT_EQ(doc_.ThumbFrameColor, clWhite);
}

TEST_F(ApercuDraw, SheetLayoutBadgeAtTheTopRightOfTheRecto) {
  ASSERT_TRUE(fixtures::WriteTemplate(d_ + "a.mdl", "0000FF", 60, 40));
  QImage badge(20, 10, QImage::Format_RGB888);
  badge.fill(kGreen);
  ASSERT_TRUE(SaveBmp(badge, d_ + "dvd_20.bmp"));
  TApercuOptions options;
  options.SkinPath = d_;
  const QSize view(300, 200);
  for (int code : {0, 2, 3}) {  // none, shown, its picture missing
    SCOPED_TRACE(code);
    Load(d_ + "a.mdl");
    doc_.Gabarit = code;
    const QImage recto = DessineApercu(doc_, view, options).Recto;
    ASSERT_EQ(recto.size(), view);
    const QColor corner = code == 2 ? kGreen : kBack;
    EXPECT_EQ(recto.pixelColor(299, 0), corner);
    EXPECT_EQ(recto.pixelColor(280, 9), corner);
    EXPECT_EQ(recto.pixelColor(279, 0), kBack);
    EXPECT_EQ(recto.pixelColor(299, 10), kBack);
  }
}

// The rows where two pictures of one size differ, as [first, last]; {-1, -1} when they are equal.
std::pair<int, int> DifferingRows(const QImage& a, const QImage& b) {
  std::pair<int, int> rows{-1, -1};
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        if (rows.first < 0) rows.first = y;
        rows.second = y;
        break;
      }
  return rows;
}

TEST_F(ApercuDraw, CaptionsNameBothFaces) {
  ASSERT_TRUE(fixtures::WriteTemplate(d_ + "a.mdl", "0000FF", 60, 40));
  Load(d_ + "a.mdl");
  doc_.DupliquerFace(1, 2);
  const TApercuFaces plain = DessineApercu(doc_, {300, 300}, {});
  TApercuOptions options;
  options.RectoCaption = "Recto";
  options.VersoCaption = "Verso";
  const TApercuFaces faces = DessineApercu(doc_, {300, 300}, options);
  // Just below the recto's top and just above the verso's bottom, nowhere else.
  const auto recto = DifferingRows(plain.Recto, faces.Recto), verso = DifferingRows(plain.Verso, faces.Verso);
  EXPECT_GE(recto.first, 3);
  EXPECT_LE(recto.second, 25);
  EXPECT_GE(verso.first, 150 - 25);
  EXPECT_LE(verso.second, 150 - 4);
  // A single face has no captions.
  doc_.SupprimerFace(2);
  EXPECT_EQ(DessineApercu(doc_, {300, 300}, options).Recto, DessineApercu(doc_, {300, 300}, {}).Recto);
}

// Pixels along the band's middle row: whether each is red.
struct Probe {
  int x;
  bool red;
};

TEST_F(ApercuDraw, FriezeRepeatsTheTemplateAlongTheBand) {
  ASSERT_TRUE(WriteHalfRed(d_ + "half.mdl"));
  // Band 40 high: a copy is 80 wide, its red half 40.
  const struct {
    double friseX;
    int width;
    std::vector<Probe> probes;
  } cases[] = {
      // Gap 20, five copies from -40: red 60-100, 160-200, 260-300, 360-400.
      {25,
       400,
       {{2, false},
        {58, false},
        {62, true},
        {98, true},
        {102, false},
        {158, false},
        {162, true},
        {262, true},
        {305, false},
        {362, true},
        {398, true}}},
      // Overlap 20 (step 60), seven copies from -20: red 40-80, 100-140, 160-200, 220-260, 280-320, 340-380.
      {-25,
       400,
       {{2, true},
        {18, true},
        {22, false},
        {38, false},
        {42, true},
        {78, true},
        {82, false},
        {102, true},
        {162, true},
        {202, false},
        {222, true},
        {258, true},
        {262, false},
        {342, true},
        {378, true},
        {382, false},
        {398, false}}},
      // 330 / 60 / 2 = 2.75 gives three copies a side: the last starts at 305.
      {-25, 330, {{2, false}, {7, true}, {43, true}, {50, false}, {290, false}, {307, true}, {328, true}}},
      // 300 / 60 / 2 = 2.5 gives two (halves to even): nothing after 270.
      {-25, 300, {{2, true}, {28, true}, {32, false}, {52, true}, {268, true}, {272, false}, {295, false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString("%1 in %2").arg(c.friseX).arg(c.width).toStdString());
    Load(d_ + "half.mdl");
    doc_.FriseX = c.friseX;
    QImage image(c.width, 120, QImage::Format_RGB888);
    image.fill(kGreen);
    TBitmapCanvas canvas(&image);
    DessineFriseModele(doc_, canvas, QRect(0, 40, c.width, 40));
    for (const Probe& p : c.probes) {
      EXPECT_EQ(image.pixelColor(p.x, 60), p.red ? kRed : kWhite) << "x " << p.x;
      EXPECT_EQ(image.pixelColor(p.x, 20), kGreen) << "above, x " << p.x;
      // As high as the band.
      if (p.red) {
        EXPECT_EQ(image.pixelColor(p.x, 41), kRed) << "x " << p.x;
        EXPECT_EQ(image.pixelColor(p.x, 78), kRed) << "x " << p.x;
        EXPECT_EQ(image.pixelColor(p.x, 82), kGreen) << "x " << p.x;
      }
    }
  }
}

TEST_F(ApercuDraw, CutOutStencilFriezeStandsOnTheHighlight) {
  ASSERT_TRUE(WriteHalfRed(d_ + "half.mdl"));
  Load(d_ + "half.mdl");
  doc_.FriseX = 25;
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    QImage image(400, 120, QImage::Format_RGB888);
    image.fill(kGreen);
    TBitmapCanvas canvas(&image);
    doc_.StencilView = mode;
    DessineFriseModele(doc_, canvas, QRect(0, 40, 400, 40));
    EXPECT_EQ(doc_.StencilView, 0);
    const QColor band = mode == 1 ? kBack : kWhite, outside = mode == 1 ? kBack : kGreen;
    EXPECT_EQ(image.pixelColor(130, 60), band);  // between two copies
    EXPECT_EQ(image.pixelColor(130, 22), outside);
    EXPECT_EQ(image.pixelColor(130, 98), outside);
    EXPECT_EQ(image.pixelColor(130, 18), kGreen);
    EXPECT_EQ(image.pixelColor(130, 102), kGreen);
  }
}

TEST_F(ApercuDraw, FriezeViewCentresAQuarterHighBand) {
  ASSERT_TRUE(WriteHalfRed(d_ + "half.mdl"));
  Load(d_ + "half.mdl");
  doc_.FriseX = 0;
  doc_.DupliquerFace(1, 2);
  TApercuOptions options;
  options.Frieze = true;
  // Band 42 high from (170 - 42) div 2 = 64; a copy 84 wide from (400 - 84) div 2 = 158.
  const TApercuFaces faces = DessineApercu(doc_, {400, 170}, options);
  ASSERT_EQ(faces.Recto.size(), QSize(400, 170));
  EXPECT_TRUE(faces.Verso.isNull());
  for (const Probe& p : {Probe{65, true}, Probe{104, true}, Probe{62, false}, Probe{108, false}})
    EXPECT_EQ(faces.Recto.pixelColor(180, p.x), p.red ? kRed : kWhite) << "y " << p.x;
  EXPECT_EQ(faces.Recto.pixelColor(156, 85), kWhite);
  EXPECT_EQ(faces.Recto.pixelColor(160, 85), kRed);
  EXPECT_EQ(faces.Recto.pixelColor(198, 85), kRed);
  EXPECT_EQ(faces.Recto.pixelColor(202, 85), kWhite);
}

}  // namespace
