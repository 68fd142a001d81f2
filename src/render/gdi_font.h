// The one place where GDI font heights become Qt fonts, so that a text measures and draws at the
// same size on every device.
#pragma once

#include <QFont>

#include "render/gdi_types.h"

// Qt font for a logical font whose height is in device pixels (GDI sign convention).
QFont QFontFromGdi(const TFont& font);

// Cell height (ascent + descent) of a font per pixel of em size, for the family and style given.
double GdiCellRatio(const QString& family, int style);
