#include "model/barcode.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "model/document.h"
#include "model/encodings.h"
#include "render/canvas.h"

namespace {

// Left-half patterns of number set A; set C is their complement and set B set C reversed.
constexpr const char* kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                   "0110001", "0101111", "0111011", "0110111", "0001011"};
// Sets of digits 2-7 chosen by the first digit ('B' marks set B).
constexpr const char* kParity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                     "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

QString SetC(int digit) {
  QString p = QString::fromLatin1(kSetA[digit]);
  for (QChar& c : p) c = c == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
  return p;
}

// Pixels far beyond any device, so that sums of a few coordinates cannot overflow.
constexpr long long kMaxPx = 1 << 28;
int ClampPx(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -kMaxPx, kMaxPx));
}

}  // namespace

QString Ean13Modules(const QString& code) {
  if (code.size() != 13) return QString();
  for (QChar c : code)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return QString();
  auto digit = [&](int i) { return code[i].unicode() - u'0'; };
  QString m = QStringLiteral("101");
  const char* parity = kParity[digit(0)];
  for (int i = 1; i <= 6; ++i) {
    if (parity[i - 1] == 'A') {
      m += QString::fromLatin1(kSetA[digit(i)]);
    } else {
      QString c = SetC(digit(i));
      std::reverse(c.begin(), c.end());
      m += c;
    }
  }
  m += QStringLiteral("01010");
  for (int i = 7; i <= 12; ++i) m += SetC(digit(i));
  m += QStringLiteral("101");
  return m;
}

TzunoCADCodeBarre::TzunoCADCodeBarre(TzunoCADMdl* document) : TzunoCADRect(document) {
  HandleEnabled[2] = false;
}

QStringList TzunoCADCodeBarre::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"codebarre", codebarre);
  PropAdd(p, u"colorBarre", WriteColorRGB(colorBarre));
  PropAdd(p, u"colorFond", WriteColorRGB(colorFond));
  PropAdd(p, u"Transparent", WriteBool(Transparent));
  return p;
}

void TzunoCADCodeBarre::SetProperties(const QStringList& list) {
  codebarre = PropValue(list, u"codebarre");
  colorBarre = ReadColorRGB(PropValue(list, u"colorBarre"));
  colorFond = ReadColorRGB(PropValue(list, u"colorFond"));
  Transparent = ReadBool(PropValue(list, u"Transparent"));
  TzunoCADRect::SetProperties(list);
}

void TzunoCADCodeBarre::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  const TzunoCADMdl* d = document_;
  const QString modules = Ean13Modules(codebarre);
  if (codebarre.size() != 13) {
    DrawPlaceholder(canvas, QStringLiteral("Il n'y a pas 13 chiffres"));
  } else if (modules.isEmpty()) {
    // Only a hand-edited document gets here: the panel accepts digits only.
    DrawPlaceholder(canvas, QStringLiteral("Le code n'a pas que des chiffres"));
  } else {
    // Laid out upright in the box's own pixels; a mirrored group (negative scales) mirrors where
    // bars and digits go, but the digits stay readable, as calendars do.
    const int x1 = ClampPx((x - l / 2) * d->PixelsPerMmX + d->OriginX);
    const int y1 = ClampPx((y - h / 2) * d->PixelsPerMmY + d->OriginY);
    const int w = ClampPx(l * d->PixelsPerMmX), hh = ClampPx(h * d->PixelsPerMmY);
    const bool flipX = w < 0, flipY = hh < 0;
    const int left = flipX ? x1 + w : x1, top = flipY ? y1 + hh : y1;
    const int width = std::abs(w), height = std::abs(hh);
    // Device span of an interval [a, b) of the box measured from its upright left or top edge.
    auto spanX = [&](int a, int b) {
      return flipX ? std::pair(left + width - b, left + width - a) : std::pair(left + a, left + b);
    };
    auto spanY = [&](int a, int b) {
      return flipY ? std::pair(top + height - b, top + height - a) : std::pair(top + a, top + b);
    };
    const double s = (static_cast<double>(width) + height) * 0.03 / 2;
    const double m = (width - 2 * s) / 100;  // 95 modules and five of quiet space

    TFont font{colorBarre, QStringLiteral("Arial"), std::max(1, ClampPx(m * 8)), 0};
    canvas.SetFont(font);
    const int t = canvas.TextHeight(QStringLiteral("0"));
    const double f = 0.8 * t;
    const int rs = ClampPx(s), rf = ClampPx(f);
    const int x0 = canvas.TextWidth(codebarre.left(1)) + rs;

    if (!Transparent) {
      canvas.SetPen(TPen{colorFond, 1, psSolid});
      canvas.SetBrush(TBrush{colorFond, bsSolid});
      canvas.Rectangle(left, top, left + width, top + height);
    }

    canvas.SetPen(TPen{colorBarre, 1, psSolid});
    canvas.SetBrush(TBrush{colorBarre, bsSolid});
    const int barBottom = height - rf - rs;
    for (int k = 1; k <= 95; ++k) {
      if (modules[k - 1] != QLatin1Char('1')) continue;
      const bool guard = k == 1 || k == 3 || k == 47 || k == 49 || k == 93 || k == 95;
      const auto [bx1, bx2] = spanX(ClampPx(x0 + m * k), ClampPx(x0 + m * (k + 1)));
      const auto [by1, by2] = spanY(rs, barBottom + (guard ? rf / 2 : 0));
      canvas.Rectangle(bx1, by1, bx2, by2);
    }

    canvas.SetBkMode(bkTransparent);
    const int textTop = spanY(ClampPx(height - rf - s), ClampPx(height - rf - s) + t).first;
    auto digit = [&](int at, const QString& text) {
      canvas.TextOut(spanX(at, at + canvas.TextWidth(text)).first, textTop, text);
    };
    digit(rs, codebarre.left(1));
    for (int i = 2; i <= 13; ++i) {
      const double at = i <= 7 ? (7 * (i - 2) + 5) * m : (7 * (i - 1) + 3) * m;
      digit(ClampPx(at + x0), codebarre.mid(i - 1, 1));
    }
  }
  TzunoCADRect::Draw(canvas);
}
