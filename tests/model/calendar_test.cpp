#include "model/calendar.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <map>

#include "model/document.h"
#include "model/host.h"
#include "render/recording_canvas.h"

namespace {

// An installation whose data folder is given; everything else answers nothing.
class DataHost : public TObjectHost {
 public:
  explicit DataHost(QString dataPath) : data_(std::move(dataPath)) { SetObjectHost(this); }
  ~DataHost() override { SetObjectHost(nullptr); }
  QString ReadSoftString(const QString&) override { return QString(); }
  int ReadSoftInteger(const QString&) override { return -1; }
  QString DataPath() override { return data_; }
  QString Text(const QString&, const QString& fallback) override { return fallback; }
  void ShowMessage(const QString&) override {}
  QList<QPair<QString, QString>> ShellFolders() override { return {}; }
  QSizeF SupportSize(const QString&) override { return {}; }

 private:
  QString data_;
};

const QString kTables = QStringLiteral(LORVANE_TEST_DATA "/tables/");

// A 200 x 150 mm page at 4 pixels per millimetre.
std::unique_ptr<TzunoCADMdl> Doc(double scale = 4) {
  auto d = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 800, 600), 200, 150);
  d->PixelsPerMmX = d->PixelsPerMmY = scale;
  return d;
}

// A calendar of 70 x 70 mm (10 mm cells) whose grid starts at (25, 15) mm.
TzunoCADCal* Cal(TzunoCADMdl& d, int month, int year) {
  auto* c = static_cast<TzunoCADCal*>(d.CreateObjet(QStringLiteral("cal")));
  c->x = 60, c->y = 50, c->l = 70, c->h = 70;
  c->Mois = month, c->Annee = year;
  return c;
}

std::vector<const TCanvasCall*> Ops(const TRecordingCanvas& c, const char* op) {
  std::vector<const TCanvasCall*> out;
  for (const TCanvasCall& call : c.Calls())
    if (call.Op == QLatin1String(op)) out.push_back(&call);
  return out;
}

// Pixel box of cell (column, row) of the calendar made by Cal() at 4 pixels per millimetre.
QRect CellBox(int c, int w) {
  auto px = [](double mm) { return static_cast<int>(std::nearbyint(mm * 4)); };
  const int x1 = px(25 + 10 * c + 0.2), x2 = px(25 + 10 * (c + 1) - 0.2);
  const int y1 = px(15 + 10 * w + 70 / 300.0), y2 = px(15 + 10 * (w + 1) - 70 / 300.0);
  return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
}

using CellTexts = std::map<std::pair<int, int>, QStringList>;
QStringList At(const CellTexts& cells, int c, int w) {
  const auto it = cells.find({c, w});
  return it == cells.end() ? QStringList() : it->second;
}

// Texts drawn in each cell, found by the text's anchor point: (column, row) -> texts.
CellTexts TextsByCell(const TRecordingCanvas& rec) {
  CellTexts out;
  for (const TCanvasCall* t : Ops(rec, "TextOut")) {
    bool found = false;
    for (int c = 0; c < 7 && !found; ++c)
      for (int w = 0; w < 7 && !found; ++w)
        if (CellBox(c, w).contains(t->Args[0], t->Args[1])) {
          out[{c, w}].append(t->Text);
          found = true;
        }
    EXPECT_TRUE(found) << t->Text.toStdString() << " at " << t->Args[0] << "," << t->Args[1];
  }
  return out;
}

}  // namespace

// The background, then 49 cells column by column, inset from the grid lines and filled by category.
TEST(Calendar, GridCellsAndFills) {
  auto d = Doc();
  TzunoCADCal* cal = Cal(*d, 2, 2021);
  cal->ColorChiffres = RGBColor(200, 100, 20);
  TRecordingCanvas rec;
  cal->Draw(rec);
  const auto fills = Ops(rec, "FillRect");
  ASSERT_EQ(fills.size(), 50u);
  EXPECT_EQ(fills[0]->ToString(), QStringLiteral("FillRect 100 60 380 340"));
  EXPECT_EQ(fills[0]->Brush, (TBrush{clWhite, bsSolid}));
  EXPECT_EQ(fills[1]->ToString(), QStringLiteral("FillRect 101 61 139 99"));     // Monday initial
  EXPECT_EQ(fills[49]->ToString(), QStringLiteral("FillRect 341 301 379 339"));  // last Sunday
  for (int c = 0; c < 7; ++c)
    for (int w = 0; w < 7; ++w) {
      const TCanvasCall* f = fills[static_cast<size_t>(1 + 7 * c + w)];
      const QRect box = CellBox(c, w);
      EXPECT_EQ(f->Args, std::vector<int>({box.left(), box.top(), box.right() + 1, box.bottom() + 1}));
      const TColor want = w == 0 ? cal->ColorJours : c == 6 ? cal->ColorDimanche : RGBColor(190, 95, 19);
      EXPECT_EQ(f->Brush.Color, want) << c << "," << w;
    }
  EXPECT_TRUE(Ops(rec, "Rectangle").empty());  // cells have no outline
}

// Where the first and last days land, and every day once in reading order, for months of every
// shape: 28 days from a Monday, 31 from a Sunday, leap and century years, the ends of the range.
TEST(Calendar, DayNumbersFollowTheMonth) {
  const struct {
    int year, month, firstColumn, days, lastColumn, lastRow;
  } cases[] = {
      {2021, 2, 0, 28, 6, 4}, {2021, 8, 6, 31, 1, 6},  {2024, 2, 3, 29, 3, 5}, {1900, 2, 3, 28, 2, 5},
      {2000, 2, 1, 29, 1, 5}, {9999, 12, 2, 31, 4, 5}, {1, 1, 0, 31, 2, 5},
  };
  const QString initials[7] = {"L", "M", "M", "J", "V", "S", "D"};
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.year << "-" << k.month);
    auto d = Doc();
    TRecordingCanvas rec;
    Cal(*d, k.month, k.year)->Draw(rec);
    auto cells = TextsByCell(rec);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(At(cells, c, 0), QStringList(initials[c]));
    EXPECT_EQ(At(cells, k.firstColumn, 1), QStringList("1"));
    EXPECT_EQ(At(cells, k.lastColumn, k.lastRow), QStringList(QString::number(k.days)));
    int expected = 1;
    for (int w = 1; w < 7; ++w)
      for (int c = 0; c < 7; ++c) {
        const QStringList& t = At(cells, c, w);
        if (t.isEmpty()) continue;
        ASSERT_EQ(t.size(), 1);
        EXPECT_EQ(t[0], QString::number(expected++)) << c << "," << w;
      }
    EXPECT_EQ(expected, k.days + 1);
  }
  // February 2021 fills rows 1 to 4 exactly: rows 5 and 6 are filled cells without numbers.
  auto d = Doc();
  TRecordingCanvas rec;
  Cal(*d, 2, 2021)->Draw(rec);
  auto cells = TextsByCell(rec);
  for (int c = 0; c < 7; ++c) {
    EXPECT_TRUE(At(cells, c, 5).isEmpty());
    EXPECT_TRUE(At(cells, c, 6).isEmpty());
    EXPECT_FALSE(At(cells, c, 4).isEmpty());
  }
  EXPECT_EQ(Ops(rec, "FillRect").size(), 50u);
}

// Months outside 1-12 and years without a weekday draw the filled grid and no text at all.
TEST(Calendar, DatesWithoutAMonthDrawAnEmptyGrid) {
  DataHost host(kTables);
  const std::pair<int, int> dates[] = {{0, 2021}, {13, 2021}, {99, 2021}, {65535, 2021},
                                       {2, 0},    {2, 10000}, {2, 65535}};
  for (auto [month, year] : dates) {
    auto d = Doc();
    TzunoCADCal* cal = Cal(*d, month, year);
    cal->VoirSaints = true;
    TRecordingCanvas rec;
    cal->Draw(rec);
    EXPECT_EQ(Ops(rec, "FillRect").size(), 50u) << month << "/" << year;
    EXPECT_TRUE(Ops(rec, "TextOut").empty()) << month << "/" << year;
  }
}

// Stored heights are scaled by (l + h) / 1000 and the horizontal scale, rounded half to even.
TEST(Calendar, FontHeightsScaleWithSizeAndZoom) {
  const struct {
    double l, h, scale;
    int stored, numbers, initials;
  } cases[] = {
      {100, 80, 4, 24, 17, -8},    // 17.28 and -7.92
      {100, 80, 2.5, 24, 11, -5},  // 10.8 and -4.95
      {150, 100, 2, 26, 13, -6},   // 13.0 and -5.5 (half to even)
      {100, 80, -4, 24, 17, -8},   // a mirrored page keeps the height's meaning
  };
  for (const auto& k : cases) {
    auto d = Doc(k.scale);
    TzunoCADCal* cal = Cal(*d, 3, 2021);
    cal->l = k.l, cal->h = k.h;
    cal->FontChiffres.Height = k.stored;
    TRecordingCanvas rec;
    cal->Draw(rec);
    const auto texts = Ops(rec, "TextOut");
    ASSERT_EQ(texts.size(), 7u + 31u);
    EXPECT_EQ(texts[0]->Font.Height, k.initials) << k.l << " " << k.scale;
    EXPECT_EQ(texts[1]->Font.Height, k.numbers) << k.l << " " << k.scale;
    EXPECT_EQ(texts[1]->BkMode, bkTransparent);
  }
}

// Number corners, and the saint opposite: under a number at the top, above one at the bottom, and
// none for a position no panel offers.
TEST(Calendar, NumberCornersAndSaintPlaces) {
  DataHost host(kTables);
  const struct {
    int coin;
    char numberX, numberY;  // l left, r right, c centred / t top, b bottom, c centred
    char saintY;            // b bottom, t top, 0 none
  } cases[] = {
      {0, 'c', 'c', 'b'}, {1, 'l', 't', 'b'}, {2, 'r', 't', 'b'}, {3, 'r', 'b', 't'},
      {4, 'l', 'b', 't'}, {5, 'c', 'c', 0},   {-1, 'c', 'c', 0},  {1000, 'c', 'c', 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.coin);
    auto d = Doc();
    TzunoCADCal* cal = Cal(*d, 2, 2021);
    cal->CoinChiffres = k.coin;
    cal->VoirSaints = true;
    TRecordingCanvas rec;
    cal->Draw(rec);
    const QRect box = CellBox(6, 2);  // Sunday 14 February
    const TCanvasCall* number = nullptr;
    const TCanvasCall* saint = nullptr;
    for (const TCanvasCall* t : Ops(rec, "TextOut")) {
      if (t->Text == QLatin1String("14")) number = t;
      if (t->Text == QLatin1String("Valentin")) saint = t;
    }
    ASSERT_NE(number, nullptr);
    TRecordingCanvas measure;
    measure.SetFont(number->Font);
    const QSize e = measure.TextExtent(QStringLiteral("14"));
    const int x2 = box.right() + 1, y2 = box.bottom() + 1;
    const int wantX = k.numberX == 'l'   ? box.left()
                      : k.numberX == 'r' ? x2 - e.width()
                                         : box.left() + (box.width() - e.width()) / 2;
    const int wantY = k.numberY == 't'   ? box.top()
                      : k.numberY == 'b' ? y2 - e.height()
                                         : box.top() + (box.height() - e.height()) / 2;
    EXPECT_EQ(number->Args, std::vector<int>({wantX, wantY}));
    if (!k.saintY) {
      EXPECT_EQ(saint, nullptr);
      continue;
    }
    ASSERT_NE(saint, nullptr);
    measure.SetFont(saint->Font);
    const int saintTop =
        k.saintY == 't' ? box.top() + 1 : y2 - measure.TextHeight(QStringLiteral("Valentin"));
    EXPECT_EQ(saint->Args, std::vector<int>({box.left() + 1, saintTop}));
    EXPECT_EQ(saint->Clip, box);
    EXPECT_EQ(saint->Font.Height, static_cast<int>(std::nearbyint(cal->FontSaints.Height * 0.14 * 4)));
  }
}

// The saints' table comes from the installation's data folder, found whatever the letter case of
// its name; days without a row, calendars without a host and tables without a "saint" column
// print no saint.
TEST(Calendar, SaintsFromTheInstallationTable) {
  {
    DataHost host(kTables);
    auto d = Doc();
    TzunoCADCal* cal = Cal(*d, 2, 2021);
    TzunoCADCal* other = Cal(*d, 8, 2021);
    ASSERT_TRUE(cal->Saints && other->Saints);
    EXPECT_NE(cal->Saints.get(), other->Saints.get());
    EXPECT_EQ(cal->SaintOf(2, 2), QString::fromUtf8("Présentation"));

    TRecordingCanvas plain;
    cal->Draw(plain);
    EXPECT_EQ(Ops(plain, "TextOut").size(), 7u + 28u);  // VoirSaints is off by default

    cal->VoirSaints = true;
    TRecordingCanvas rec;
    cal->Draw(rec);
    auto cells = TextsByCell(rec);
    EXPECT_EQ(At(cells, 0, 1), QStringList({"1", "Ella"}));
    EXPECT_EQ(At(cells, 6, 2), QStringList({"14", "Valentin"}));
    EXPECT_EQ(At(cells, 6, 4), QStringList({"28", "Romain"}));
    EXPECT_EQ(At(cells, 2, 1), QStringList({"3"}));
    EXPECT_EQ(Ops(rec, "TextOut").size(), 7u + 28u + 4u);
  }
  {
    QTemporaryDir dir;
    ASSERT_TRUE(
        QFile::copy(kTables + "SaintsCalendrier.csv", dir.filePath(QStringLiteral("saintscalendrier.CSV"))));
    DataHost host(dir.path() + QLatin1Char('/'));
    auto d = Doc();
    EXPECT_EQ(Cal(*d, 8, 2021)->SaintOf(15, 8), QStringLiteral("Marie"));
  }
  {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("SaintsCalendrier.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("date;nom\r\n14/2;Valentin\r\n");
    f.close();
    DataHost host(dir.path() + QLatin1Char('/'));
    auto d = Doc();
    TzunoCADCal* cal = Cal(*d, 2, 2021);
    cal->VoirSaints = true;
    ASSERT_TRUE(cal->Saints);
    TRecordingCanvas rec;
    cal->Draw(rec);
    EXPECT_EQ(Ops(rec, "TextOut").size(), 7u + 28u);
  }
  auto d = Doc();
  TzunoCADCal* cal = Cal(*d, 2, 2021);
  EXPECT_FALSE(cal->Saints);
  cal->VoirSaints = true;
  TRecordingCanvas rec;
  cal->Draw(rec);
  EXPECT_EQ(Ops(rec, "TextOut").size(), 7u + 28u);
}

TEST(Calendar, TransparentCategoriesAreNotFilled) {
  const struct {
    bool fond, jours, dimanche, chiffres;
    size_t fills;
  } cases[] = {
      {false, false, false, false, 50}, {true, false, false, false, 49}, {false, true, false, false, 43},
      {false, false, true, false, 44},  {false, false, false, true, 14}, {true, true, true, true, 0},
  };
  for (const auto& k : cases) {
    auto d = Doc();
    TzunoCADCal* cal = Cal(*d, 2, 2021);
    cal->TranspFond = k.fond, cal->TranspJours = k.jours;
    cal->TranspDimanche = k.dimanche, cal->TranspChiffres = k.chiffres;
    TRecordingCanvas rec;
    cal->Draw(rec);
    EXPECT_EQ(Ops(rec, "FillRect").size(), k.fills);
    EXPECT_EQ(Ops(rec, "TextOut").size(), 35u);
  }
}

// Initials over a transparent first row show on whatever lies below.
TEST(Calendar, TransparentFirstRowShowsWhatLiesBelow) {
  auto d = Doc();
  TzunoCADCal* cal = Cal(*d, 2, 2021);
  cal->TranspFond = cal->TranspJours = true;
  cal->FontJours = TFont{clBlack, QStringLiteral("Arial"), 60, 0};
  QImage img(800, 600, QImage::Format_RGB888);
  img.fill(QColor(255, 0, 0));
  TBitmapCanvas canvas(&img);
  cal->Draw(canvas);
  const QRect monday = CellBox(0, 0);
  int red = 0, dark = 0;
  for (int y = monday.top(); y <= monday.bottom(); ++y)
    for (int x = monday.left(); x <= monday.right(); ++x) {
      const QColor p = img.pixelColor(x, y);
      red += p == QColor(255, 0, 0);
      dark += p.red() < 100 && p.green() < 100;
    }
  EXPECT_GT(red, monday.width() * monday.height() / 2);
  EXPECT_GT(dark, 10);  // the "L"
  EXPECT_EQ(img.pixelColor(CellBox(0, 1).topLeft() + QPoint(2, 2)),
            QColor(182, 182, 182));  // day cells are filled
}

// A rotated calendar draws upright and keeps r = 0 from then on; other faces draw nothing.
TEST(Calendar, AlwaysUprightAndOnlyOnItsFace) {
  auto d = Doc();
  TzunoCADCal* cal = Cal(*d, 2, 2021);
  TRecordingCanvas upright;
  cal->Draw(upright);
  cal->r = 45;
  TRecordingCanvas turned;
  cal->Draw(turned);
  EXPECT_EQ(turned.CallStrings(), upright.CallStrings());
  EXPECT_EQ(cal->r, 0);
  EXPECT_TRUE(cal->GetProperties().contains(QStringLiteral("r=0")));

  cal->Face = 2;
  TRecordingCanvas other;
  cal->Draw(other);
  EXPECT_TRUE(other.Calls().empty());
}

// Absurd sizes and scales draw without failing.
TEST(Calendar, HostileGeometryDraws) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const double sizes[] = {0, -70, 1e-9, 1e10, 1e300, nan, inf, -inf};
  for (double size : sizes)
    for (double scale : {0.0, 4.0, 1e300}) {
      auto d = Doc(scale);
      TzunoCADCal* cal = Cal(*d, 2, 2021);
      cal->l = size, cal->h = size;
      cal->FontChiffres.Height = std::numeric_limits<int>::max();
      cal->VoirSaints = true;
      TRecordingCanvas rec;
      cal->Draw(rec);
      QImage img(50, 50, QImage::Format_RGB888);
      TBitmapCanvas canvas(&img);
      cal->Draw(canvas);
    }
}

// The sample documents, including a year 0 and a month 99, render to pictures with content.
TEST(Calendar, SampleDocumentsRender) {
  for (const char* name :
       {"calendrier_fevrier2021", "calendrier_aout2021", "calendrier_annee0", "calendrier_mois99"}) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 280, 240), 1, 1);
    ASSERT_TRUE(
        d.LoadFromFile(QStringLiteral(LORVANE_TEST_DATA "/documents/%1.mdl").arg(QLatin1String(name))))
        << name;
    d.GabaritOnBitmaps = false;
    QImage img(280, 240, QImage::Format_RGB888);
    d.DrawBitmap(img);
    // The day cells' colour (E8E8F0) darkened by 5 % covers a point between numbers.
    EXPECT_EQ(img.pixelColor(140, 140), QColor(220, 220, 228)) << name;
  }
}
