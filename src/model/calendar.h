// Month calendar: day initials and six rows of day numbers in a 7 x 7 grid.
#pragma once

#include <memory>

#include "model/object.h"
#include "records/csv_table.h"

class TzunoCADCal : public TzunoCADRect {
 public:
  explicit TzunoCADCal(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  // Always upright: a rotation is undone at each drawing.
  void Draw(TCanvas& canvas) override;

  // Name of the saints' table in the installation data folder.
  static constexpr const char* kSaintsFile = "SaintsCalendrier.csv";
  // Saint of a day from the table ("day/month" in the first column, the name in "saint"); empty
  // without a table or a row.
  QString SaintOf(int day, int month) const;

  int Jour = 1, Mois = 1, Annee = 2000;  // stored as read; unsigned 16-bit in files
  TFont FontChiffres, FontJours, FontSaints;
  TColor ColorChiffres = RGBColor(192, 192, 192);
  TColor ColorFond = clWhite;
  TColor ColorJours = RGBColor(144, 144, 144);
  TColor ColorDimanche = RGBColor(173, 173, 173);
  bool TranspChiffres = false, TranspFond = false, TranspJours = false, TranspDimanche = false;
  int CoinChiffres = 0;
  bool VoirSaints = false;
  // This calendar's own copy of the saints' table; null when the installation has none.
  std::unique_ptr<TzunoCSV> Saints;
};

// Column of the first day of a month (Monday 0 ... Sunday 6) and its number of days; false for a
// month outside 1-12 or a year outside 1-9999, which the calendar shows without numbers.
bool MonthLayout(int year, int month, int& firstColumn, int& days);

// A colour darkened by p percent (negative lightens), each component rounded half to even.
TColor Darken(TColor c, int percent);
