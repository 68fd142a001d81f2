// A decorative paper: the document repeated in a grid over a large picture, the editor's background.
#pragma once

#include <QImage>
#include <functional>

class TzunoCADMdl;

// How the motif is laid: spacing in percent of the motif's size (negative = overlapping), and the
// shift of every second row across and of every second column down, in percent of the step.
struct TPaperGrid {
  int Horz = 0, Vert = 0;        // -75 to 75
  int DecHorz = 0, DecVert = 0;  // -75 to 75
};

// Pixels of a length at a resolution, to the nearest integer.
int PaperPixels(double mm, int dpi);

// The document drawn over a picture of the motif's size at `dpi`; magenta (255, 0, 255) marks what
// the document leaves uncovered and is made transparent.
QImage MakeMotif(TzunoCADMdl& model, double largeMm, double hautMm, int dpi);

// The sheet at `dpi`, white, with the motif laid in the grid. `progress` is told each motif laid and
// the count; answering false stops the laying.
QImage MakePaper(const QImage& motif, double largeMm, double hautMm, int dpi, const TPaperGrid& grid,
                 const std::function<bool(int done, int total)>& progress = nullptr);
