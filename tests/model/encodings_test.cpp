#include "model/encodings.h"

#include <gtest/gtest.h>

#include <random>

#include "common/qt_printers.h"

namespace {
struct SeparatorGuard {
  QChar saved = DecimalSeparator();
  ~SeparatorGuard() { SetDecimalSeparator(saved); }
};
}  // namespace

TEST(Encodings, ReadRealTable) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"12,5", 12.5}, {"12.5", 12.5}, {"7", 7},    {"", 0},      {"-3,25", -3.25}, {"0,05", 0.05},
      {"-0,5", -0.5}, {"-0", 0},      {" 42", 42}, {"$FF", 255}, {"1e308", 1},     {"12abc", 12},
      {"abc", 0},     {"1.2.5", 1.5}, {"3,", 3},   {",5", 0.5},  {"210", 210},     {"-.25", -0.25},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadReal(QString::fromLatin1(c.text)), c.value) << c.text;
  // Absurd texts still give a finite number.
  EXPECT_TRUE(std::isfinite(ReadReal(QString(400, QLatin1Char('9')))));
  EXPECT_TRUE(std::isfinite(ReadReal(QStringLiteral("1,") + QString(5000, QLatin1Char('9')))));
}

TEST(Encodings, WriteRealForms) {
  SeparatorGuard guard;
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {12.5, "12,5"},  {-3.25, "-3,25"},
      {0, "0"},        {210, "210"},
      {0.00004, "0"},  {100, "100"},
      {-0.0, "0"},     {1.23456789, "1,2346"},
      {-0.00004, "0"}, {1e20, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(WriteReal(c.value), QString::fromLatin1(c.text)) << c.value;
  EXPECT_EQ(WriteReal(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(WriteReal(std::nan("")), "0");
  SetDecimalSeparator(QLatin1Char('.'));
  EXPECT_EQ(WriteReal(12.5), "12.5");
  // Halves go to the even neighbour.
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(3.5), 4);
  EXPECT_EQ(RoundEven(-2.5), -2);
}

// Whatever a value is, writing what was read gives back the same text.
TEST(Encodings, RealTextIsStableAcrossReadWrite) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mag(-12, 16);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::pow(10.0, mag(rng)) * ((rng() & 1) ? -1 : 1);
    const QString once = WriteReal(v);
    EXPECT_EQ(WriteReal(ReadReal(once)), once) << v;
  }
}

TEST(Encodings, IntegersAndBooleans) {
  EXPECT_EQ(ReadInt("42"), 42);
  EXPECT_EQ(ReadInt("-7"), -7);
  EXPECT_EQ(ReadInt("$FFFFFFFF"), -1);
  EXPECT_EQ(ReadInt("$1F"), 31);
  EXPECT_EQ(ReadInt("99999999999"), 0);
  EXPECT_EQ(ReadInt("12 "), 0);
  EXPECT_EQ(ReadInt("x"), 0);
  EXPECT_EQ(ReadIntDef("", 1), 1);
  for (const char* t : {"1", " 1", "01"}) EXPECT_TRUE(ReadBool(t)) << t;
  for (const char* t : {"", "0", "2", "true", "oui"}) EXPECT_FALSE(ReadBool(t)) << t;
}

TEST(Encodings, ColoursPensBrushes) {
  EXPECT_EQ(WriteColorRGB(RGBColor(255, 0, 0)), "FF0000");
  EXPECT_EQ(ReadColorRGB("ff8000"), RGBColor(255, 128, 0));
  EXPECT_EQ(ReadColorRGB("FF"), RGBColor(255, 0, 0));
  EXPECT_EQ(ReadColorRGB(""), 0u);
  EXPECT_EQ(WritePen(TPen{clRed, 1, psSolid}), "0000FF,1,0");
  EXPECT_EQ(WritePen(TPen{0x8000000F, 2, psDot}), "8000000F,2,2");
  EXPECT_EQ(WriteBrush(TBrush{clWhite, bsClear}), "FFFFFF,1");

  TPen p;
  ReadPen("FF0000", p);  // blue in native order, then the defaults
  EXPECT_EQ(p, (TPen{clBlue, 1, psDash}));
  ReadPen("zz,x,y", p);
  EXPECT_EQ(p, (TPen{clBlack, 1, psDash}));
  // The two colour forms swap red and blue; a property always uses one of them.
  ReadPen(WriteColorRGB(clRed) + ",1,0", p);
  EXPECT_EQ(p.Color, clBlue);

  TBrush b;
  ReadBrush("", b);
  EXPECT_EQ(b, (TBrush{clBlack, bsClear}));
  ReadBrush("00FF00,0", b);
  EXPECT_EQ(b, (TBrush{RGBColor(0, 255, 0), bsSolid}));
}

TEST(Encodings, Fonts) {
  TFont f;
  f.Style = 0;
  ReadFont("0000FF,Times New Roman,-21,", f);
  EXPECT_EQ(f.Color, clBlue);
  EXPECT_EQ(f.Name, "Times New Roman");
  EXPECT_EQ(f.Height, -21);
  EXPECT_EQ(f.Style, 0);
  EXPECT_EQ(WriteFont(f), "0000FF,Times New Roman,-21,");
  ReadFont("000000,Arial,x,bIUS", f);  // lower-case letters are not styles
  EXPECT_EQ(f.Height, 1);
  EXPECT_EQ(f.Style, fsItalic | fsUnderline | fsStrikeOut);
  ReadFont("000000,Arial,10,B", f);  // styles are only ever added
  EXPECT_EQ(f.Style, fsBold | fsItalic | fsUnderline | fsStrikeOut);
  EXPECT_EQ(WriteFont(f), "000000,Arial,10,BIUS");
}

TEST(Encodings, BordureReadsBackWhateverTheSeparator) {
  SeparatorGuard guard;
  const TBordure b{true, 12.5, 7.25, 3};
  for (QChar sep : {QLatin1Char(','), QLatin1Char('.')}) {
    SetDecimalSeparator(sep);
    EXPECT_EQ(WriteBordure(b), "1,12.5,7.25,3");
    EXPECT_EQ(ReadBordure(WriteBordure(b)), b);
  }
  // Files whose reals carry a "," fraction.
  EXPECT_EQ(ReadBordure("0,12,5,12,5,2"), (TBordure{false, 12.5, 12.5, 2}));
  EXPECT_EQ(ReadBordure("1,12,5,12,2"), (TBordure{true, 12.5, 12, 2}));
  EXPECT_EQ(ReadBordure("1,12,12,5,2"), (TBordure{true, 12, 12.5, 2}));
  EXPECT_EQ(ReadBordure("1,12,12,2"), (TBordure{true, 12, 12, 2}));
  EXPECT_EQ(ReadBordure(""), (TBordure{false, 0, 0, 0}));
}

TEST(Encodings, DisplayUnits) {
  SeparatorGuard guard;
  const double u2m = U2M();
  const QString name = UnitName();
  SetU2M(25.4);
  SetUnitName(QStringLiteral("in"));
  EXPECT_EQ(WriteMesure(50.8), "2 in");
  EXPECT_EQ(WriteMesure(10), "0,39 in");
  EXPECT_DOUBLE_EQ(UnitToMm(2), 50.8);
  EXPECT_DOUBLE_EQ(MmToUnit(50.8), 2);
  SetU2M(u2m);
  SetUnitName(name);
}

TEST(Encodings, SplitFieldsKeepsEmptyFieldsAndCapsTheCount) {
  EXPECT_EQ(SplitFields("a,,b,", QLatin1Char(',')), (QStringList{"a", "", "b", ""}));
  EXPECT_EQ(SplitFields("", QLatin1Char(',')), QStringList{""});
  EXPECT_EQ(SplitFields(QString(5000, QLatin1Char(',')), QLatin1Char(',')).size(), 1001);
}
