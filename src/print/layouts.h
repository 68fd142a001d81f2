// The label-sheet layouts table: for each brand and format, the grid of cells on a paper. Read
// again by every call, like the papers table.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "print/papers.h"
#include "records/csv_table.h"

// Lengths in mm from the sheet's top-left corner. Cell (c, r), both from 1, spans x0 + (c - 1) *
// (large + interx) plus large across and y0 + (r - 1) * (haut + intery) plus haut down; its number is
// c + (r - 1) * nbrex.
struct TGabaritInfo {
  double x0 = 0, y0 = 0;
  double interx = 0, intery = 0;
  double large = 0, haut = 0;
  int32_t nbrex = 0, nbrey = 0;
  bool rectoverso = false;
  int32_t orientation = 0;  // 1 = landscape
  QString gabarit;          // model type the layout is made for, or empty
  QString soft;             // editions, one code after another; empty = every edition
  QString nom, marque, papier;
};

// Why a layout cannot print (no cells, sizes zero, negative or not numbers); empty when it can.
QString LayoutProblem(const TGabaritInfo& layout);

class TzunoGabarits {
 public:
  // Rows pass when every non-empty argument matches: paper and model type equal, the row's edition
  // cell empty or containing `soft`. Brands are appended once each, never empty.
  void ListMarques(QStringList& list, const QString& papier, const QString& gabarit, const QString& soft);
  // Names of the passing rows of that brand, in table order, duplicates kept.
  void ListFormats(QStringList& list, const QString& papier, const QString& marque, const QString& gabarit,
                   const QString& soft);
  // Fills `info` from the row named `nom` (only the counts are reset when none matches). On the back
  // side (Face 2) the columns are mirrored across the width of *Paper, so a two-sided sheet prints
  // its verso where the recto's columns fall when turned over.
  void GetGabaritInfo(const QString& nom, TGabaritInfo& info);
  // Every layout of the table, read once, in table order (recto positions).
  QList<TGabaritInfo> Rows();

  QString FileName;
  // The paper of the sheet that owns this reader (not owned; read at each call). Null counts as width 0.
  const TPapierInfo* Paper = nullptr;
  QString LastName;
  int Face = 1;  // 1 recto, 2 verso

 private:
  bool Passes(int row, const QString& papier, const QString& marque, const QString& gabarit,
              const QString& soft) const;
  QString Cell(const char* column, int row) const;
  void Fill(int row, TGabaritInfo& info) const;
  TzunoCSV table_;
};
