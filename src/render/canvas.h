// Drawing surface with GDI meaning. Documents measure text on the canvas of their work bitmap.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

#include "render/gdi_types.h"

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // The current logical font; its height is in device pixels (GDI sign convention).
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);

  // Width and height in pixels of a text in the current font (GDI text extent: the advance width
  // and the cell height).
  virtual QSize TextExtent(const QString& text);
  int TextWidth(const QString& text) { return TextExtent(text).width(); }
  int TextHeight(const QString& text) { return TextExtent(text).height(); }

 protected:
  virtual void FontChanged() {}

 private:
  TFont font_;
  struct Metrics;
  std::shared_ptr<Metrics> metrics_;
};

// A canvas over a 24-bit bitmap.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(QImage* bitmap) : bitmap_(bitmap) {}
  QImage* Bitmap() const { return bitmap_; }

 private:
  QImage* bitmap_;
};
