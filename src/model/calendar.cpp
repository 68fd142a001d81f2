#include "model/calendar.h"

#include <QDate>
#include <algorithm>

#include "model/encodings.h"

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
