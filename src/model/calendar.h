// Month calendar: day initials and six rows of day numbers in a 7 x 7 grid.
#pragma once

#include "model/object.h"

class TzunoCADCal : public TzunoCADRect {
 public:
  explicit TzunoCADCal(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  int Jour = 1, Mois = 1, Annee = 2000;  // stored as read; unsigned 16-bit in files
  TFont FontChiffres, FontJours, FontSaints;
  TColor ColorChiffres = RGBColor(192, 192, 192);
  TColor ColorFond = clWhite;
  TColor ColorJours = RGBColor(144, 144, 144);
  TColor ColorDimanche = RGBColor(173, 173, 173);
  bool TranspChiffres = false, TranspFond = false, TranspJours = false, TranspDimanche = false;
  int CoinChiffres = 0;
  bool VoirSaints = false;
};

// A colour darkened by p percent (negative lightens), each component rounded half to even.
TColor Darken(TColor c, int percent);
