#include "model/encodings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "shell/file_helpers.h"

namespace {

QChar g_decimalSeparator = QLatin1Char(',');
double g_u2m = 1.0;
QString g_unitName;

// Leading-blank-tolerant integer scan: optional sign, decimal digits, or hexadecimal after "$".
// Returns the value of the leading digits; `complete` tells whether the whole text was consumed
// and at least one digit was read; `negative` whether a minus sign was seen.
struct IntScan {
  double value = 0;
  bool complete = false;
  bool negative = false;
  bool any = false;
  bool hex = false;
};

IntScan ScanInt(QStringView s) {
  IntScan r;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t'))) ++i;
  if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
    r.negative = s[i] == QLatin1Char('-');
    ++i;
  }
  if (i < n && s[i] == QLatin1Char('$')) {
    r.hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == QLatin1Char('0') &&
             (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
    r.hex = true;
    i += 2;
  }
  for (; i < n; ++i) {
    const char16_t c = s[i].unicode();
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (r.hex && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (r.hex && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      break;
    r.value = r.value * (r.hex ? 16 : 10) + d;
    r.any = true;
  }
  r.complete = r.any && i == n;
  return r;
}

// Nearest double to a well-formed decimal text, whatever the C locale says about separators.
double ParseDecimal(const QString& s) {
  QByteArray b = s.trimmed().toLatin1();
  const char* first = b.constData();
  const char* last = first + b.size();
  if (first != last && *first == '+') ++first;
  double v = 0;
  const auto res = std::from_chars(first, last, v);
  if (res.ec == std::errc::result_out_of_range) return 0;
  return v;
}

QString FormatFixed4(long long n) {
  // n is the value times 10000.
  const bool neg = n < 0;
  unsigned long long a = neg ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
  QString out = QString::number(a / 10000);
  unsigned frac = static_cast<unsigned>(a % 10000);
  if (frac != 0) {
    QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
    while (f.endsWith(QLatin1Char('0'))) f.chop(1);
    out += g_decimalSeparator;
    out += f;
  }
  if (neg) out.prepend(QLatin1Char('-'));
  return out;
}

int HexByte(QStringView s) {
  if (s.isEmpty()) return 0;
  IntScan r = ScanInt(QString(QLatin1Char('$')) + s.toString());
  return r.complete ? static_cast<int>(r.value) : 0;
}

QString Field(const QStringList& f, int i) {
  return i < f.size() ? f[i] : QString();
}

// Hexadecimal colour text as pens and brushes store it; anything malformed is black.
TColor ReadNativeColor(const QString& s) {
  if (s.isEmpty()) return 0;
  IntScan r = ScanInt(QString(QLatin1Char('$')) + s);
  if (!r.complete || r.negative || r.value > 4294967295.0) return 0;
  return static_cast<TColor>(r.value);
}

}  // namespace

QChar DecimalSeparator() {
  return g_decimalSeparator;
}
void SetDecimalSeparator(QChar sep) {
  g_decimalSeparator = sep;
}
double U2M() {
  return g_u2m;
}
void SetU2M(double mmPerUnit) {
  g_u2m = mmPerUnit;
}
QString UnitName() {
  return g_unitName;
}
void SetUnitName(const QString& name) {
  g_unitName = name;
}

long long RoundEven(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (r >= 9.2e18) return std::numeric_limits<long long>::max();
  if (r <= -9.2e18) return std::numeric_limits<long long>::min();
  return static_cast<long long>(r);
}

QString WriteInt(long long v) {
  return QString::number(v);
}
QString WriteBool(bool v) {
  return v ? QStringLiteral("1") : QStringLiteral("0");
}

QString WriteReal(double v) {
  if (!std::isfinite(v)) return QStringLiteral("0");
  if (std::fabs(v) >= 9e14) {
    // No fraction digit is meaningful at this magnitude; print the integer value exactly.
    QString s = QString::number(std::nearbyint(v), 'f', 0);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
  }
  return FormatFixed4(static_cast<long long>(std::nearbyint(v * 10000.0)));
}

QString WriteColorRGB(TColor c) {
  return QString::asprintf("%02X%02X%02X", ColorR(c), ColorG(c), ColorB(c));
}

QString WritePen(const TPen& p) {
  return QString::asprintf("%06X,%d,%d", p.Color, p.Width, p.Style);
}

QString WriteBrush(const TBrush& b) {
  return QString::asprintf("%06X,%d", b.Color, b.Style);
}

QString WriteFont(const TFont& f) {
  QString s = WriteColorRGB(f.Color) + QLatin1Char(',') + f.Name + QLatin1Char(',') +
              QString::number(f.Height) + QLatin1Char(',');
  if (f.Style & fsBold) s += QLatin1Char('B');
  if (f.Style & fsItalic) s += QLatin1Char('I');
  if (f.Style & fsUnderline) s += QLatin1Char('U');
  if (f.Style & fsStrikeOut) s += QLatin1Char('S');
  return s;
}

QString WriteMesure(double mm) {
  const double v = mm / g_u2m;
  const double rounded = static_cast<double>(RoundEven(v * 100.0)) / 100.0;
  return WriteReal(rounded) + QLatin1Char(' ') + g_unitName;
}

int ReadIntDef(const QString& s, int def) {
  IntScan r = ScanInt(s);
  if (!r.complete) return def;
  if (r.hex) {
    if (r.value > 4294967295.0) return def;
    uint32_t u = static_cast<uint32_t>(r.value);
    int32_t v = static_cast<int32_t>(u);
    return r.negative ? static_cast<int>(0u - u) : v;
  }
  const double v = r.negative ? -r.value : r.value;
  if (v > 2147483647.0 || v < -2147483648.0) return def;
  return static_cast<int>(v);
}

int ReadInt(const QString& s) {
  return ReadIntDef(s, 0);
}
bool ReadBool(const QString& s) {
  return ReadInt(s) == 1;
}

double ReadReal(const QString& text) {
  if (text.isEmpty()) return 0;
  QString s = text;
  s.replace(QLatin1Char(','), QLatin1Char('.'));
  const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
  const QStringView intPart = dot < 0 ? QStringView(s) : QStringView(s).left(dot);
  const IntScan ip = ScanInt(intPart);
  double result;
  if (dot < 0) {
    if (ip.complete && !ip.hex) {
      result = ParseDecimal(s);  // exact for long digit strings
    } else {
      result = ip.negative ? -ip.value : ip.value;
    }
  } else {
    const QStringView fracPart = QStringView(s).mid(dot + 1);
    const IntScan fp = ScanInt(fracPart);
    const QStringView lead = intPart.trimmed();
    const bool intOk = !ip.hex && (ip.complete || lead.isEmpty() || lead == u"-" || lead == u"+");
    const bool fracOk =
        fp.complete && !fp.hex && !fp.negative && fracPart[0] != QLatin1Char('+') && fracPart[0].isDigit();
    if (intOk && fracOk) {
      // Well-formed decimal: the nearest double, so that writing it back gives the same text.
      result = ParseDecimal(s);
    } else {
      const double f =
          fracPart.size() > 300 ? 0.0 : fp.value / std::pow(10.0, static_cast<double>(fracPart.size()));
      result = ip.value + f;
      if (ip.negative) result = -result;
    }
  }
  return std::isfinite(result) ? result : 0.0;
}

TColor ReadColorRGB(const QString& s) {
  const QStringView v(s);
  const int r = HexByte(v.mid(0, 2));
  const int g = s.size() > 2 ? HexByte(v.mid(2, 2)) : 0;
  const int b = s.size() > 4 ? HexByte(v.mid(4, 2)) : 0;
  return RGBColor(r, g, b);
}

void ReadPen(const QString& s, TPen& p) {
  const QStringList f = SplitFields(s, QLatin1Char(','));
  p.Color = ReadNativeColor(Field(f, 0));
  p.Width = ReadIntDef(Field(f, 1), 1);
  p.Style = ReadIntDef(Field(f, 2), 1);
}

void ReadBrush(const QString& s, TBrush& b) {
  const QStringList f = SplitFields(s, QLatin1Char(','));
  b.Color = ReadNativeColor(Field(f, 0));
  b.Style = ReadIntDef(Field(f, 1), 1);
}

void ReadFont(const QString& s, TFont& font) {
  const QStringList f = SplitFields(s, QLatin1Char(','));
  font.Color = ReadColorRGB(Field(f, 0));
  font.Name = Field(f, 1);
  font.Height = ReadIntDef(Field(f, 2), 1);
  const QString st = Field(f, 3);
  if (st.contains(QLatin1Char('B'))) font.Style |= fsBold;
  if (st.contains(QLatin1Char('I'))) font.Style |= fsItalic;
  if (st.contains(QLatin1Char('U'))) font.Style |= fsUnderline;
  if (st.contains(QLatin1Char('S'))) font.Style |= fsStrikeOut;
}

TBordure ReadBordure(const QString& s) {
  const QStringList f = SplitFields(s, QLatin1Char(','));
  TBordure b;
  b.Enabled = Field(f, 0) == QLatin1String("1");
  if (f.size() == 6) {
    // Written with "," as decimal separator: each real spans two fields.
    b.Width = ReadReal(f[1] + QLatin1Char('.') + f[2]);
    b.Height = ReadReal(f[3] + QLatin1Char('.') + f[4]);
    b.Style = ReadInt(f[5]);
  } else if (f.size() == 5) {
    // One of the two reals carried a "," fraction; tiles are usually square, so take the reading
    // that makes them closest.
    const double a1 = ReadReal(f[1] + QLatin1Char('.') + f[2]), t1 = ReadReal(f[3]);
    const double a2 = ReadReal(f[1]), t2 = ReadReal(f[2] + QLatin1Char('.') + f[3]);
    if (std::fabs(a1 - t1) <= std::fabs(a2 - t2)) {
      b.Width = a1;
      b.Height = t1;
    } else {
      b.Width = a2;
      b.Height = t2;
    }
    b.Style = ReadInt(f[4]);
  } else {
    b.Width = ReadReal(Field(f, 1));
    b.Height = ReadReal(Field(f, 2));
    b.Style = ReadInt(Field(f, 3));
  }
  return b;
}

QString WriteBordure(const TBordure& b) {
  // The reals go out with "." whatever the process separator, so the four fields stay apart.
  QString w = WriteReal(b.Width), h = WriteReal(b.Height);
  w.replace(g_decimalSeparator, QLatin1Char('.'));
  h.replace(g_decimalSeparator, QLatin1Char('.'));
  return (b.Enabled ? QStringLiteral("1,") : QStringLiteral("0,")) + w + QLatin1Char(',') + h +
         QLatin1Char(',') + QString::number(b.Style);
}

double UnitToMm(double x) {
  return x * g_u2m;
}
double MmToUnit(double x) {
  return x / g_u2m;
}

QStringList SplitFields(const QString& s, QChar sep) {
  return SplitText(QString(sep), s).Parts;
}
