// A paint device that records what a QPainter draws as enhanced-metafile records, so drawings made
// with Qt (our own shapes, SVG pictures) become EMF files that both the metafile player and the
// document importer read.
//
// One device unit is 0.01 mm (2540 dots per inch): the frame is the drawing size and the logical
// coordinates are hundredths of a millimetre, which is what the importer expects. Everything is
// written already transformed; no world transform is recorded.
//
// Approximations, since EMF has no alpha, gradients or anti-aliasing:
// - linear and radial gradients fill as bands of one colour each (up to 16, as many as the colour
//   change calls for; repeat and reflect spreads are drawn as pad); conical gradients, texture
//   brushes and pens with a gradient take one colour, the average of the stops or of the
//   texture's pixels; dense patterns become their colour mixed with white;
// - partial transparency (colour alpha, painter opacity) is mixed with the average colour already
//   recorded under the shape (kept in a small picture of the drawing so far); fully transparent
//   paint is dropped, and so is faint paint (alpha below 0.6) over a much varied backdrop, which
//   painted solid would hide what it shades;
// - clipping is applied to fills and strokes by path intersection (curves become short lines there,
//   kept within 0.03 mm); pictures are clipped to the clip's bounding box only;
// - pictures are written as 24-bit DIBs with their transparency flattened onto what lies below;
//   turned pictures are drawn upright into their bounding box after being turned in memory;
// - text is written as filled glyph outlines, so no font is needed to play the file.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class TEmfPaintEngine;

class TEmfDevice : public QPaintDevice {
 public:
  explicit TEmfDevice(QSizeF sizeMm);
  ~TEmfDevice() override;

  QPaintEngine* paintEngine() const override;
  // The device size in hundredths of a millimetre.
  QSize Units() const { return units_; }

  // The metafile recorded so far (the painter may still be active).
  QByteArray Finish() const;
  bool Save(const QString& fileName) const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  QSize units_;
  std::unique_ptr<TEmfPaintEngine> engine_;
};

// Records `draw` on a device of `sizeMm`; the painter's coordinates are hundredths of a millimetre.
// Empty when the size is not positive or the painter could not start.
QByteArray RecordEmf(QSizeF sizeMm, const std::function<void(QPainter&)>& draw);
