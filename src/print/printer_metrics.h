// Where a printer can put ink on the paper, and its resolution.
#pragma once

class QPrinter;

struct TPrinterMetrics {
  double OffsetX = 0, OffsetY = 0;                 // mm from the paper's corner to the printable area
  double PrintableWidth = 0, PrintableHeight = 0;  // mm
  double PixelsPerMmX = 0, PixelsPerMmY = 0;       // device pixels per mm
  int DpiX = 0, DpiY = 0;
};

// Reads the printer as it is set up (paper, orientation, margins, resolution); never changes it. The
// printable area is the rectangle a painter on the printer draws in (its page rectangle), so a
// painter's origin sits at (OffsetX, OffsetY) on the paper.
TPrinterMetrics GetPrinterMetrics(const QPrinter& printer);
