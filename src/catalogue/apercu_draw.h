// The catalogue's large view of one template: its faces drawn into the view's pictures, or the
// frieze a stencil makes when repeated along a band.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class TCanvas;
class TzunoCADMdl;

struct TApercuFaces {
  QImage Recto;      // the recto picture (the whole view in mode 1, its top half in mode 3)
  QImage Verso;      // null in mode 1
  int FaceMode = 1;  // 1 recto only, 3 recto above verso
};

struct TApercuOptions {
  int PaperMode = 0;     // StencilView while drawing: 0 coloured, 1 cut out, 2 to print
  bool Frieze = false;   // "Voir en frise": the frieze view instead of the faces
  QString SkinPath;      // ends with "/": the sheet-layout badge "dvd_<code>0.bmp" is found here
  QString RectoCaption;  // written centred 3 px below the recto's top in mode 3
  QString VersoCaption;  // written centred 3 px above the verso's bottom in mode 3
};

// Draws the document into pictures for a view of `view` pixels: the faces (mode 3 when the document
// has more than one face) or the frieze band. The document's colours, quality, paper mode and
// current face are restored afterwards.
TApercuFaces DessineApercu(TzunoCADMdl& document, QSize view, const TApercuOptions& options);

// The template repeated side by side along `band` (its left edge at 0) of the canvas, as a stencil
// frieze is: copies as high as the band, FriseX percent apart (negative overlaps), the cut-out
// stencil's highlight behind them. The paper mode is set back to 0.
void DessineFriseModele(TzunoCADMdl& document, TCanvas& canvas, QRect band);
