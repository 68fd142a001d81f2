#include "model/calendar.h"

#include <QDate>
#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "render/canvas.h"
#include "shell/paths.h"

TColor Darken(TColor c, int percent) {
  auto comp = [percent](int v) {
    return static_cast<int>(std::clamp<long long>(RoundEven(v * (100.0 - percent) / 100.0), 0, 255));
  };
  return RGBColor(comp(ColorR(c)), comp(ColorG(c)), comp(ColorB(c)));
}

TzunoCADCal::TzunoCADCal(TzunoCADMdl* document) : TzunoCADRect(document) {
  const QDate today = QDate::currentDate();
  Jour = today.day();
  Mois = today.month();
  Annee = today.year();
  FontChiffres.Height = 24;
  if (TObjectHost* host = ObjectHost()) {
    const QString file = ResolvePath(host->DataPath() + QLatin1String(kSaintsFile));
    if (!file.isEmpty()) {
      auto table = std::make_unique<TzunoCSV>();
      if (table->LoadFromFile(file)) Saints = std::move(table);
    }
  }
}

QStringList TzunoCADCal::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"FontChiffres", WriteFont(FontChiffres));
  PropAdd(p, u"FontJours", WriteFont(FontJours));
  PropAdd(p, u"FontSaints", WriteFont(FontSaints));
  PropAdd(p, u"Name", Name);
  PropAdd(p, u"Jour", WriteInt(Jour));
  PropAdd(p, u"Mois", WriteInt(Mois));
  PropAdd(p, u"Annee", WriteInt(Annee));
  PropAdd(p, u"ColorFond", WriteColorRGB(ColorFond));
  PropAdd(p, u"ColorJours", WriteColorRGB(ColorJours));
  PropAdd(p, u"ColorDimanche", WriteColorRGB(ColorDimanche));
  PropAdd(p, u"ColorChiffres", WriteColorRGB(ColorChiffres));
  PropAdd(p, u"TranspFond", WriteBool(TranspFond));
  PropAdd(p, u"TranspJours", WriteBool(TranspJours));
  PropAdd(p, u"TranspDimanche", WriteBool(TranspDimanche));
  PropAdd(p, u"TranspChiffres", WriteBool(TranspChiffres));
  PropAdd(p, u"VoirSaints", WriteBool(VoirSaints));
  PropAdd(p, u"CoinChiffres", WriteInt(CoinChiffres));
  return p;
}

void TzunoCADCal::SetProperties(const QStringList& list) {
  const QString oldFont = PropValue(list, u"Font");
  if (!oldFont.isEmpty()) {
    // Older documents: one font and one cell colour for everything.
    ReadFont(oldFont, FontChiffres);
    ReadFont(oldFont, FontJours);
    ReadFont(oldFont, FontSaints);
    FontChiffres.Height = 32;
    FontJours.Height = 32;
    const TColor cell = ReadColorRGB(PropValue(list, u"ColorCase"));
    ColorChiffres = Darken(cell, 5);
    ColorJours = Darken(cell, 25);
    ColorDimanche = Darken(cell, 10);
    TranspChiffres = false;
    TranspFond = true;
    TranspJours = false;
    TranspDimanche = false;
  } else {
    ReadFont(PropValue(list, u"FontChiffres"), FontChiffres);
    ReadFont(PropValue(list, u"FontJours"), FontJours);
    ReadFont(PropValue(list, u"FontSaints"), FontSaints);
    ColorChiffres = ReadColorRGB(PropValue(list, u"ColorChiffres"));
    ColorJours = ReadColorRGB(PropValue(list, u"ColorJours"));
    ColorDimanche = ReadColorRGB(PropValue(list, u"ColorDimanche"));
    TranspChiffres = ReadBool(PropValue(list, u"TranspChiffres"));
    TranspFond = ReadBool(PropValue(list, u"TranspFond"));
    TranspJours = ReadBool(PropValue(list, u"TranspJours"));
    TranspDimanche = ReadBool(PropValue(list, u"TranspDimanche"));
  }
  // Unsigned 16-bit fields in the file format.
  Jour = ReadInt(PropValue(list, u"Jour")) & 0xFFFF;
  Mois = ReadInt(PropValue(list, u"Mois")) & 0xFFFF;
  Annee = ReadInt(PropValue(list, u"Annee")) & 0xFFFF;
  ColorFond = ReadColorRGB(PropValue(list, u"ColorFond"));
  VoirSaints = ReadBool(PropValue(list, u"VoirSaints"));
  CoinChiffres = ReadInt(PropValue(list, u"CoinChiffres"));
  TzunoCADRect::SetProperties(list);
}

bool MonthLayout(int year, int month, int& firstColumn, int& days) {
  if (month < 1 || month > 12 || year < 1 || year > 9999) return false;
  const QDate first(year, month, 1);
  firstColumn = first.dayOfWeek() - 1;
  days = first.daysInMonth();
  return true;
}

QString TzunoCADCal::SaintOf(int day, int month) const {
  if (!Saints) return QString();
  return Saints->Lookup(QStringLiteral("saint"), QStringLiteral("%1/%2").arg(day).arg(month));
}

namespace {

// Pixels far beyond any device, so that sums of a few coordinates cannot overflow.
constexpr long long kMaxPx = 1 << 28;
int ClampPx(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -kMaxPx, kMaxPx));
}

}  // namespace

void TzunoCADCal::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  r = 0;
  const TzunoCADMdl* d = document_;
  // The document's mapping, bounded for absurd sizes.
  auto pxX = [d](double mm) { return ClampPx(mm * d->PixelsPerMmX + d->OriginX); };
  auto pxY = [d](double mm) { return ClampPx(mm * d->PixelsPerMmY + d->OriginY); };
  const double cw = l / 7, ch = h / 7;
  const double gx = x - l / 2, gy = y - h / 2;

  if (!TranspFond) {
    canvas.SetBrush(TBrush{ColorFond, bsSolid});
    canvas.FillRect(pxX(gx), pxY(gy), pxX(gx + l), pxY(gy + h));
  }

  int first = 0, days = 0;
  const bool dated = MonthLayout(Annee, Mois, first, days);
  // Fonts grow with the calendar: stored heights are for a calendar whose width plus height is 1 m.
  auto scaled = [&](TFont f) {
    f.Height = ClampPx(f.Height * (l + h) / 1000.0 * std::fabs(d->PixelsPerMmX));
    return f;
  };
  const TFont numbers = scaled(FontChiffres), initials = scaled(FontJours), saints = scaled(FontSaints);
  const bool withSaints = dated && VoirSaints && Saints && CoinChiffres >= 0 && CoinChiffres <= 4;
  static const char16_t kInitials[7] = {u'L', u'M', u'M', u'J', u'V', u'S', u'D'};
  const TColor dayFill = Darken(ColorChiffres, 5);
  canvas.SetBkMode(bkTransparent);

  for (int c = 0; c < 7; ++c) {
    for (int w = 0; w < 7; ++w) {
      const int x1 = pxX(gx + c * cw + l / 350), x2 = pxX(gx + (c + 1) * cw - l / 350);
      const int y1 = pxY(gy + w * ch + h / 300), y2 = pxY(gy + (w + 1) * ch - h / 300);
      const bool sunday = c == 6 && w > 0;
      const bool transparent = w == 0 ? TranspJours : sunday ? TranspDimanche : TranspChiffres;
      if (!transparent) {
        canvas.SetBrush(TBrush{w == 0 ? ColorJours : sunday ? ColorDimanche : dayFill, bsSolid});
        canvas.FillRect(x1, y1, x2, y2);
      }
      if (!dated) continue;

      if (w == 0) {
        canvas.SetFont(initials);
        const QString text = QString(QChar(kInitials[c]));
        const QSize e = canvas.TextExtent(text);
        canvas.TextOut(x1 + (x2 - x1 - e.width()) / 2, y1 + (y2 - y1 - e.height()) / 2, text);
        continue;
      }
      const int day = 7 * w + c - first - 6;
      if (day <= 0 || day > days) continue;
      canvas.SetFont(numbers);
      const QString text = QString::number(day);
      const QSize e = canvas.TextExtent(text);
      int tx, ty;
      switch (CoinChiffres) {
        case 1:
          tx = x1, ty = y1;
          break;
        case 2:
          tx = x2 - e.width(), ty = y1;
          break;
        case 3:
          tx = x2 - e.width(), ty = y2 - e.height();
          break;
        case 4:
          tx = x1, ty = y2 - e.height();
          break;
        default:  // 0, and positions no panel offers
          tx = x1 + (x2 - x1 - e.width()) / 2, ty = y1 + (y2 - y1 - e.height()) / 2;
      }
      canvas.TextOut(tx, ty, text);

      if (!withSaints) continue;
      const QString saint = SaintOf(day, Mois);
      if (saint.isEmpty()) continue;
      canvas.SetFont(saints);
      // Opposite the number vertically, so the two never overlap in a tall cell.
      if (CoinChiffres <= 2)
        canvas.TextRect(x1, y1, x2, y2, x1 + 1, y2 - canvas.TextHeight(saint), saint);
      else
        canvas.TextRect(x1, y1, x2, y2, x1 + 1, y1 + 1, saint);
    }
  }
  TzunoCADRect::Draw(canvas);
}
