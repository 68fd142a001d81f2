// A block of text lines in one font, placed by its centre or a corner, laid out from its text.
#pragma once

#include <QSize>

#include "model/object.h"

class TzunoCADTexte : public TzunoCADRect {
 public:
  explicit TzunoCADTexte(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  void RotateTo(QPointF p, bool shift) override;
  void ResizeCentered(QPointF p, bool shift) override;
  void ResizeAnchored(QPointF p) override;
  void Draw(TCanvas& canvas) override;

  // Sets the text, substitutes merge fields and measures the box; the anchor corner stays put.
  void LayoutText(const QString& text);
  // Breaks a text into "|"-separated lines no wider than `width` millimetres.
  QString WordWrap(const QString& text, double width);
  // Pixel size of the displayed text on a canvas, in the object's font at the document's scale.
  QSize MeasureBlock(TCanvas& canvas);
  // Sets the canvas font height so that the widest line fills the box width.
  void FitFont(TCanvas& canvas);
  // The object's font with its height scaled to pixels at the document's horizontal scale.
  TFont ScaledFont() const;
  // The same at a given scale in pixels per millimetre.
  TFont ScaledFontAt(double pxPerMm) const;
  QSize MeasureBlockAt(TCanvas& canvas, double pxPerMm);
  // The centre that files store: the box around the anchor corner as measured at the reference scale.
  QPointF StoredCentre();

  double RefX = 0, RefY = 0, RefL = 0, RefH = 0;
  int RefFontHeight = 0;
  QString Displayed;
  QString txt;
  TFont Font;  // height in thousandths of a millimetre, cell height
  int Aligne = 0;
  int Alignement = 2;

 private:
  void FitAfterDrag();
  // Handle of the anchor corner, 0 for a centred text.
  int AnchorHandle() const { return Aligne >= 1 && Aligne <= 4 ? Aligne : 0; }
  // From the box centre to handle k of a box l x h turned by r.
  QPointF CornerOffset(int k, double boxL, double boxH) const;
};

// The lines of a displayed text up to its last non-empty one.
QStringList TextLines(const QString& displayed);
