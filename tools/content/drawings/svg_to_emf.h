// SVG drawings turned into our EMF drawings: QtSvg plays the SVG into the EMF paint device.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace content {

struct SvgDrawing {
  QByteArray emf;
  QSizeF sizeMm;  // the SVG's proportions, its longer side `longSideMm`
};

// False with a message when the SVG cannot be read or draws nothing.
bool SvgToEmf(const QByteArray& svg, double longSideMm, SvgDrawing* out, QString* error);

// The SVG drawn by QtSvg on white, `width` pixels wide at the SVG's proportions.
QImage RasterSvg(const QByteArray& svg, int width);
// The EMF played by our player into a picture of the given size.
QImage PlayEmf(const QByteArray& emf, QSize size);
// Share of pixels that differ clearly between two pictures of one size (1 when sizes differ).
double PictureMismatch(const QImage& a, const QImage& b);
// Share of pixels that are not white.
double InkCoverage(const QImage& image);

}  // namespace content
