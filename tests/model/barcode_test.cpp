#include "model/barcode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/document.h"
#include "render/recording_canvas.h"

namespace {

// EAN-13 number sets as the GS1 tables print them, written out in full so that the decoder below
// does not share the drawing code's derivation of sets B and C.
const char* const kA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                            "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const kB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                            "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const kC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                            "1001110", "1010000", "1000100", "1001000", "1110100"};
const char* const kFirst[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

// The 13 digits of 95 modules, or empty when they are not an EAN-13 symbol.
QString DecodeModules(const QString& m) {
  if (m.size() != 95 || m.left(3) != "101" || m.mid(45, 5) != "01010" || m.right(3) != "101") return {};
  QString digits, parity;
  for (int i = 0; i < 6; ++i) {
    const QString chunk = m.mid(3 + 7 * i, 7);
    int found = -1;
    for (int dgt = 0; dgt < 10; ++dgt) {
      if (chunk == kA[dgt])
        found = dgt, parity += 'A';
      else if (chunk == kB[dgt])
        found = dgt, parity += 'B';
    }
    if (found < 0) return {};
    digits += QString::number(found);
  }
  for (int i = 0; i < 6; ++i) {
    const QString chunk = m.mid(50 + 7 * i, 7);
    int found = -1;
    for (int dgt = 0; dgt < 10; ++dgt)
      if (chunk == kC[dgt]) found = dgt;
    if (found < 0) return {};
    digits += QString::number(found);
  }
  for (int first = 0; first < 10; ++first)
    if (parity == kFirst[first]) return QString::number(first) + digits;
  return {};
}

// Reads the bars along one pixel row: dark runs and light runs turned into module counts.
QString ScanRow(const QImage& img, int y) {
  int first = -1, last = -1;
  for (int x = 0; x < img.width(); ++x)
    if (qGray(img.pixel(x, y)) < 128) {
      if (first < 0) first = x;
      last = x;
    }
  if (first < 0) return {};
  const double module = (last - first + 1) / 95.0;
  QString modules;
  int x = first;
  while (x <= last) {
    const bool dark = qGray(img.pixel(x, y)) < 128;
    int end = x;
    while (end <= last && (qGray(img.pixel(end, y)) < 128) == dark) ++end;
    const int count = static_cast<int>(std::lround((end - x) / module));
    modules += QString(std::max(count, 1), dark ? QLatin1Char('1') : QLatin1Char('0'));
    x = end;
  }
  return DecodeModules(modules);
}

std::unique_ptr<TzunoCADMdl> Doc(double scale = 4) {
  auto d = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 600, 400), 150, 100);
  d->PixelsPerMmX = d->PixelsPerMmY = scale;
  return d;
}

// A barcode of 100 x 50 mm with its top-left corner at (10, 15) mm.
TzunoCADCodeBarre* Bar(TzunoCADMdl& d, const QString& code) {
  auto* b = static_cast<TzunoCADCodeBarre*>(d.CreateObjet(QStringLiteral("codebarre")));
  b->x = 60, b->y = 40, b->l = 100, b->h = 50;
  b->codebarre = code;
  return b;
}

std::vector<const TCanvasCall*> Ops(const TRecordingCanvas& c, const char* op) {
  std::vector<const TCanvasCall*> out;
  for (const TCanvasCall& call : c.Calls())
    if (call.Op == QLatin1String(op)) out.push_back(&call);
  return out;
}

int Round(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

// Bars read back to the digits drawn, for every first digit (every parity pattern), at two sizes,
// with a wrong check digit too.
TEST(Barcode, BarsDecodeToTheSameDigits) {
  const char* codes[] = {"0012345678905", "1234567890128", "2109876543210", "3000000000000",
                         "4006381333931", "5901234123457", "6999999999999", "7123456789012",
                         "8765432109876", "9780201379624", "5901234123450"};
  for (double scale : {4.0, 2.5}) {
    for (const char* code : codes) {
      auto d = Doc(scale);
      TzunoCADCodeBarre* bar = Bar(*d, QString::fromLatin1(code));
      QImage img(600, 400, QImage::Format_RGB888);
      img.fill(Qt::white);
      TBitmapCanvas canvas(&img);
      bar->Draw(canvas);
      EXPECT_EQ(ScanRow(img, Round(40 * scale)), QString::fromLatin1(code)) << scale;
      EXPECT_EQ(Ean13Modules(QString::fromLatin1(code)).size(), 95);

      TRecordingCanvas rec;
      bar->Draw(rec);
      QString shown;
      int previousX = std::numeric_limits<int>::min();
      for (const TCanvasCall* t : Ops(rec, "TextOut")) {
        shown += t->Text;
        EXPECT_GT(t->Args[0], previousX);
        previousX = t->Args[0];
      }
      EXPECT_EQ(shown, QString::fromLatin1(code));
    }
  }
}

// A 400 x 200 pixel barcode: margin 9, module 3.82, font height 31; bars from x0 + 3.82 to
// x0 + 3.82 x 96; guard bars longer by half the digit band; digits on the bars' bottom line.
TEST(Barcode, ExactLayoutOfBarsAndDigits) {
  auto d = Doc();
  TzunoCADCodeBarre* bar = Bar(*d, QStringLiteral("5901234123457"));
  bar->colorBarre = RGBColor(0, 0, 128);
  bar->colorFond = RGBColor(255, 255, 0);
  TRecordingCanvas rec;
  bar->Draw(rec);
  const int left = 40, top = 60;
  const double m = 3.82;
  TRecordingCanvas measure;
  measure.SetFont(TFont{clBlack, QStringLiteral("Arial"), 31, 0});
  const int x0 = measure.TextWidth(QStringLiteral("5")) + 9;
  const int f = Round(0.8 * measure.TextHeight(QStringLiteral("0")));
  const int bottom = top + 200 - f - 9;

  const auto rects = Ops(rec, "Rectangle");
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0]->Args, std::vector<int>({40, 60, 440, 260}));
  EXPECT_EQ(rects[0]->Brush, (TBrush{bar->colorFond, bsSolid}));
  EXPECT_EQ(rects[0]->Pen.Color, bar->colorFond);
  const QString modules = Ean13Modules(bar->codebarre);
  std::vector<std::vector<int>> want;
  for (int k = 1; k <= 95; ++k) {
    if (modules[k - 1] != QLatin1Char('1')) continue;
    const bool guard = k == 1 || k == 3 || k == 47 || k == 49 || k == 93 || k == 95;
    want.push_back(
        {left + Round(x0 + m * k), top + 9, left + Round(x0 + m * (k + 1)), bottom + (guard ? f / 2 : 0)});
  }
  ASSERT_EQ(rects.size(), want.size() + 1);
  for (size_t i = 1; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i]->Args, want[i - 1]) << i;
    EXPECT_EQ(rects[i]->Brush, (TBrush{bar->colorBarre, bsSolid}));
    EXPECT_EQ(rects[i]->Pen.Color, bar->colorBarre);
  }
  EXPECT_EQ(rects[1]->Args[0], left + Round(x0 + 3.82));
  EXPECT_EQ(rects.back()->Args[2], left + Round(x0 + 3.82 * 96));

  const auto texts = Ops(rec, "TextOut");
  ASSERT_EQ(texts.size(), 13u);
  const int textTop = top + Round(200 - f - 9.0);
  EXPECT_EQ(texts[0]->Args, std::vector<int>({left + 9, textTop}));
  EXPECT_EQ(texts[1]->Args,
            std::vector<int>({left + Round(5 * m + x0), textTop}));  // one module into digit 2
  EXPECT_EQ(texts[6]->Args, std::vector<int>({left + Round(40 * m + x0), textTop}));
  EXPECT_EQ(texts[7]->Args,
            std::vector<int>({left + Round(52 * m + x0), textTop}));  // after the centre guard
  EXPECT_EQ(texts[12]->Args, std::vector<int>({left + Round(87 * m + x0), textTop}));
  for (const TCanvasCall* t : texts) {
    EXPECT_EQ(t->Font, (TFont{bar->colorBarre, QStringLiteral("Arial"), 31, 0}));
    EXPECT_EQ(t->BkMode, bkTransparent);
  }
}

// Codes that are not 13 digits draw the grey crossed box with a label, and no bars.
TEST(Barcode, PlaceholdersForCodesThatCannotBeEncoded) {
  const QString notThirteen = QStringLiteral("Il n'y a pas 13 chiffres");
  const QString notDigits = QStringLiteral("Le code n'a pas que des chiffres");
  const struct {
    QString code, label;
  } cases[] = {
      {"590123412345", notThirteen},
      {"", notThirteen},
      {"59012341234570", notThirteen},
      {"ABCDEFGHIJKLM", notDigits},
      {"590123412345X", notDigits},
      {"59012341234 7", notDigits},
      {QString::fromUtf8("５９０１２３４１２３４５７"), notDigits},  // digits, but not ASCII ones
  };
  for (const auto& k : cases) {
    auto d = Doc();
    TzunoCADCodeBarre* bar = Bar(*d, k.code);
    EXPECT_TRUE(Ean13Modules(k.code).isEmpty());
    TRecordingCanvas rec;
    bar->Draw(rec);
    EXPECT_TRUE(Ops(rec, "Rectangle").empty()) << k.code.toStdString();
    const auto lines = Ops(rec, "LineTo");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0]->Pen.Color, RGBColor(128, 128, 128));
    const auto texts = Ops(rec, "TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->Text, k.label);
  }
  // A thirteenth digit brings the bars back at the next drawing.
  auto d = Doc();
  TzunoCADCodeBarre* bar = Bar(*d, QStringLiteral("590123412345"));
  bar->codebarre += QLatin1Char('7');
  TRecordingCanvas rec;
  bar->Draw(rec);
  EXPECT_GT(Ops(rec, "Rectangle").size(), 20u);
}

// Transparent barcodes paint bars and digits only: the background shows between the bars.
TEST(Barcode, TransparentLeavesTheBackground) {
  for (bool transparent : {false, true}) {
    auto d = Doc();
    TzunoCADCodeBarre* bar = Bar(*d, QStringLiteral("4006381333931"));
    bar->Transparent = transparent;
    QImage img(600, 400, QImage::Format_RGB888);
    img.fill(QColor(255, 0, 0));
    TBitmapCanvas canvas(&img);
    bar->Draw(canvas);
    int red = 0, white = 0;
    for (int x = 40; x < 440; ++x) {
      const QColor p = img.pixelColor(x, 160);
      red += p == QColor(255, 0, 0);
      white += p == QColor(255, 255, 255);
    }
    EXPECT_EQ(red > 100, transparent);
    EXPECT_EQ(white > 100, !transparent);
    if (transparent) {
      EXPECT_EQ(ScanRow(img, 160), QString());  // red reads as dark: no quiet zone
    }
  }
}

// Neither the object's rotation nor the document's turns the bars.
TEST(Barcode, AlwaysUpright) {
  auto d = Doc();
  TzunoCADCodeBarre* bar = Bar(*d, QStringLiteral("5901234123457"));
  TRecordingCanvas upright;
  bar->Draw(upright);
  bar->r = 45;
  d->Rotation = 30;
  TRecordingCanvas turned;
  bar->Draw(turned);
  EXPECT_EQ(turned.CallStrings(), upright.CallStrings());
  EXPECT_EQ(bar->r, 45);  // kept for the selection frame
  EXPECT_FALSE(bar->HandleEnabled[2]);

  bar->Visible = false;
  TRecordingCanvas hidden;
  bar->Draw(hidden);
  EXPECT_TRUE(hidden.Calls().empty());
}

TEST(Barcode, HostileGeometryDraws) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (double size : {0.0, -50.0, 1e-9, 1e10, -1e10, 1e300, nan, inf, -inf})
    for (double scale : {0.0, 4.0, 1e300})
      for (const char* code : {"5901234123457", "ABCDEFGHIJKLM"}) {
        auto d = Doc(scale);
        TzunoCADCodeBarre* bar = Bar(*d, QString::fromLatin1(code));
        bar->l = size, bar->h = size / 2;
        TRecordingCanvas rec;
        bar->Draw(rec);
        QImage img(50, 50, QImage::Format_RGB888);
        TBitmapCanvas canvas(&img);
        bar->Draw(canvas);
      }
}

// The sample documents through the export rendering: the bars survive the smoothing reduction,
// and the hostile codes show their placeholders.
TEST(Barcode, SampleDocumentsRender) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 480, 240), 1, 1);
  ASSERT_TRUE(d.LoadFromFile(QStringLiteral(LORVANE_TEST_DATA "/documents/codebarre.mdl")));
  QImage img(480, 240, QImage::Format_RGB888);
  d.GabaritOnBitmaps = false;  // no page outline across the scanned row
  d.DrawBitmap(img);
  EXPECT_EQ(ScanRow(img, 100), QStringLiteral("5901234123457"));

  TzunoCADMdl bad(nullptr, QRect(0, 0, 480, 480), 1, 1);
  ASSERT_TRUE(bad.LoadFromFile(QStringLiteral(LORVANE_TEST_DATA "/documents/codebarre_invalide.mdl")));
  QImage img2(480, 480, QImage::Format_RGB888);
  bad.GabaritOnBitmaps = false;
  bad.DrawBitmap(img2);
  // Both diagonals of both boxes cross their centres (60, 30) and (60, 90) mm.
  for (QPoint c : {QPoint(240, 120), QPoint(240, 360)}) {
    int grey = 0;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx) grey += qGray(img2.pixel(c + QPoint(dx, dy))) < 230;
    EXPECT_GT(grey, 0) << c.y();
  }
}

// In a mirrored group the bars are the mirror image of the upright ones, pixel for pixel, and the
// digits keep their font, stay readable and sit under their mirrored bars.
TEST(Barcode, MirroredBarsWithUprightDigits) {
  auto drawUpright = Doc();
  TzunoCADCodeBarre* upright = Bar(*drawUpright, QStringLiteral("5901234123457"));
  QImage plain(600, 400, QImage::Format_RGB888);
  plain.fill(Qt::white);
  TBitmapCanvas pc(&plain);
  upright->Draw(pc);
  TRecordingCanvas plainRec;
  upright->Draw(plainRec);
  const auto plainTexts = Ops(plainRec, "TextOut");
  ASSERT_EQ(plainTexts.size(), 13u);
  TRecordingCanvas measure;
  measure.SetFont(plainTexts[0]->Font);

  for (const auto [mx, my] : {std::pair(-1, 1), std::pair(1, -1), std::pair(-1, -1)}) {
    auto d = Doc();
    d->PixelsPerMmX = 4 * mx;
    d->PixelsPerMmY = 4 * my;
    d->OriginX = mx < 0 ? 600 : 0;  // device x = 600 - upright x
    d->OriginY = my < 0 ? 400 : 0;
    TzunoCADCodeBarre* bar = Bar(*d, QStringLiteral("5901234123457"));
    QImage img(600, 400, QImage::Format_RGB888);
    img.fill(Qt::white);
    TBitmapCanvas c(&img);
    bar->Draw(c);
    // A row through the bars, away from the digits.
    const int row = 160, mirroredRow = my < 0 ? 399 - row : row;
    for (int x = 0; x < 600; ++x)
      ASSERT_EQ(img.pixel(mx < 0 ? 599 - x : x, mirroredRow), plain.pixel(x, row)) << mx << my << " x " << x;
    TRecordingCanvas rec;
    bar->Draw(rec);
    const auto texts = Ops(rec, "TextOut");
    ASSERT_EQ(texts.size(), 13u);
    for (size_t i = 0; i < texts.size(); ++i) {
      const TCanvasCall& t = *texts[i];
      const TCanvasCall& p = *plainTexts[i];
      EXPECT_EQ(t.Text, p.Text);
      EXPECT_EQ(t.Font.Height, p.Font.Height);
      const QSize e = measure.TextExtent(t.Text);
      EXPECT_EQ(t.Args[0], mx < 0 ? 600 - p.Args[0] - e.width() : p.Args[0]) << i;
      EXPECT_EQ(t.Args[1], my < 0 ? 400 - p.Args[1] - measure.TextHeight(QStringLiteral("0")) : p.Args[1])
          << i;
    }
  }
}
