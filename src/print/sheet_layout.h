// A paper with its label-sheet cells, laid out in device pixels and painted on any canvas. The print
// dialog's preview widget and the print pass share it: the preview paints it into a bitmap, the print
// pass onto the printer's canvas, so both put every cell at the same place.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <array>
#include <functional>
#include <optional>

#include "print/layouts.h"
#include "print/papers.h"
#include "print/printer_metrics.h"

class TCanvas;

class TSheetLayout {
 public:
  // Cells that can be switched off; cells past this number are always drawn.
  static constexpr int kMaxSelectable = 1000;
  // Cells visited at most, so a hand-edited layout of absurd counts cannot stall a paint.
  static constexpr long long kMaxVisited = 65536;

  // Draws cell number `cell` whose device rectangle runs from (x, y) to (right, bottom), the right
  // and bottom edges excluded.
  using TDrawCell = std::function<void(TCanvas& canvas, int cell, int x, int y, int right, int bottom)>;

  TSheetLayout();
  TSheetLayout(const TSheetLayout&) = delete;
  TSheetLayout& operator=(const TSheetLayout&) = delete;

  // Device pixel of a length in mm: nearest integer, halves to even.
  int MmToX(double x) const;
  int MmToY(double y) const;
  // The sheet point (mm) under a device pixel.
  QPointF PixelToMm(QPointF pixel) const;

  // The cell strictly inside which the point (mm) lies, the last one in row order when cells overlap;
  // 0 on a border, in a gap or off the grid.
  int CellAt(double x, double y) const;
  // Top-left corner (mm) of cell (column, row), both counted from 1.
  QPointF CellOrigin(int column, int row) const;
  // The column, counted from the left of the sheet as it lies in the printer, that holds the k-th
  // cell of a row. The back face (Face 2) numbers its columns as the sheet is turned, from the right,
  // so each cell of the back lies behind the cell of the same number on the front.
  static int SheetColumn(int nbrex, int face, int k) { return face == 2 ? nbrex + 1 - k : k; }

  // Flags of cells 1 to kMaxSelectable, all on at creation; a new layout keeps them.
  bool IsSelected(int cell) const;
  void SetSelected(int cell, bool on);
  // A click at a device pixel: toggles the cell under it when cells are clickable. Answers the cell
  // toggled, or 0.
  int ClickAt(QPointF pixel);
  // Whether the pointer over that device pixel shows the pointing hand (a click would toggle a cell).
  bool HandAt(QPointF pixel) const;

  // Fits the whole paper into a control of that size with one scale for both axes and no offset;
  // answers where the preview image goes in the control (its size is one pixel more than the paper
  // so the right and bottom edges show). Nothing changes, and nullopt comes back, for a paper or a
  // control without area.
  std::optional<QRect> Fit(QSize control);
  // Fit, then the sheet painted on a 24-bit picture of the fitted size; `position` gets where it
  // goes in the control. A null picture when Fit changes nothing.
  QImage Preview(QSize control, QPoint* position = nullptr);

  // The sheet, the printer's printable area and the selected cells. When printing, the shadow and
  // the printable area are left out and the sheet is not outlined.
  void Paint(TCanvas& canvas, bool printing) const;
  // Whether the paint under way is the printer's, for cell callbacks shared by preview and paper.
  bool PaintingOnPaper() const { return onPaper_; }

  TPapierInfo Paper{QStringLiteral("A4"), QString(), 210, 297};
  TzunoGabarits Gabarits;  // reads layouts against Paper
  TGabaritInfo Layout;
  bool ShowPrintable = true;
  bool ShowShadow = true;
  bool CellsClickable = false;
  // The current printer's area, outlined on screen when known.
  std::optional<TPrinterMetrics> Printer;
  double ScaleX = 1, ScaleY = 1;    // device pixels per mm
  double OffsetX = 0, OffsetY = 0;  // mm
  TDrawCell OnDrawCell;             // unset: cells are outlined

 private:
  // Visits cells in number order; the visitor gets the sheet column, the row and the number.
  template <typename Visit>
  static void ForEachCell(const TGabaritInfo& g, int face, Visit visit);
  std::array<bool, kMaxSelectable + 1> selected_;
  mutable bool onPaper_ = false;
};
