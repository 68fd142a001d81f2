// Colour, pen, brush and font values as documents store them, with the meaning the drawing code
// gives them (pixel pen widths, GDI font heights).
#pragma once

#include <QString>
#include <cstdint>

// 32-bit colour, red in the low byte (00BBGGRR). Values with the top bit set are system colours.
using TColor = uint32_t;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorR(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int ColorG(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int ColorB(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clMagenta = 0xFF00FF;

// Pen style ordinals as stored in documents.
enum TPenStyle : int { psSolid = 0, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Brush style ordinals as stored in documents.
enum TBrushStyle : int {
  bsSolid = 0,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Styles are kept as read (an out-of-range ordinal survives a load-save cycle); drawing clamps them.
struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  int Style = psSolid;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor Color = clWhite;
  int Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A logical font. Height follows the GDI convention: negative is the character height (without
// internal leading), positive the cell height. Objects keep heights in thousandths of a millimetre
// and scale them to pixels before selecting the font into a canvas.
struct TFont {
  TColor Color = clBlack;
  QString Name = QStringLiteral("Arial");
  int Height = -11;  // 8 points at 96 dots per inch
  int Style = 0;     // TFontStyle bits
  bool operator==(const TFont&) const = default;
};
