// Writes enhanced metafiles record by record, for our own drawings and for tests.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTransform>
#include <span>
#include <vector>

#include "render/gdi_types.h"
#include "render/metafile.h"

class TEmfWriter {
 public:
  // A picture whose frame is `frame` in 0.01 mm (left, top, right, bottom, inclusive), recorded for a
  // reference device of 96 pixels per inch.
  explicit TEmfWriter(QRect frame);

  // Points that fit in 16 bits are written in the short record forms, as GDI does; switch off to
  // always write the 32-bit forms.
  void SetShortPoints(bool on) { shortPoints_ = on; }

  void SetMapMode(int mode) { Write32(EMR_SETMAPMODE, {uint32_t(mode)}); }
  void SetWindowOrg(int x, int y) { Write32(EMR_SETWINDOWORGEX, {uint32_t(x), uint32_t(y)}); }
  void SetWindowExt(int cx, int cy) { Write32(EMR_SETWINDOWEXTEX, {uint32_t(cx), uint32_t(cy)}); }
  void SetViewportOrg(int x, int y) { Write32(EMR_SETVIEWPORTORGEX, {uint32_t(x), uint32_t(y)}); }
  void SetViewportExt(int cx, int cy) { Write32(EMR_SETVIEWPORTEXTEX, {uint32_t(cx), uint32_t(cy)}); }
  void SetWorldTransform(const QTransform& t);
  // mode 1 identity, 2 left-multiply, 3 right-multiply, 4 set.
  void ModifyWorldTransform(const QTransform& t, int mode);
  void SaveDC() { Write32(EMR_SAVEDC, {}); }
  void RestoreDC(int level) { Write32(EMR_RESTOREDC, {uint32_t(level)}); }
  void SetBkMode(int mode) { Write32(EMR_SETBKMODE, {uint32_t(mode)}); }
  void SetBkColor(TColor c) { Write32(EMR_SETBKCOLOR, {c}); }
  void SetTextColor(TColor c) { Write32(EMR_SETTEXTCOLOR, {c}); }
  void SetTextAlign(uint32_t align) { Write32(EMR_SETTEXTALIGN, {align}); }
  void SetPolyFillMode(int mode) { Write32(EMR_SETPOLYFILLMODE, {uint32_t(mode)}); }
  void SetArcDirection(int dir) { Write32(EMR_SETARCDIRECTION, {uint32_t(dir)}); }

  // Objects answer their handle for SelectObject and DeleteObject; stock objects are selected with
  // kStockObject | index.
  uint32_t CreatePen(uint32_t style, int width, TColor color);
  uint32_t ExtCreatePen(uint32_t style, int width, TColor color);
  uint32_t CreateBrush(uint32_t style, TColor color, uint32_t hatch = 0);
  uint32_t CreateFont(const TLogFont& font);
  void SelectObject(uint32_t handle) { Write32(EMR_SELECTOBJECT, {handle}); }
  void DeleteObject(uint32_t handle);

  void MoveTo(int x, int y) { Write32(EMR_MOVETOEX, {uint32_t(x), uint32_t(y)}); }
  void LineTo(int x, int y) { Write32(EMR_LINETO, {uint32_t(x), uint32_t(y)}); }
  void Rectangle(int l, int t, int r, int b) { WriteBox(EMR_RECTANGLE, l, t, r, b, {}); }
  void Ellipse(int l, int t, int r, int b) { WriteBox(EMR_ELLIPSE, l, t, r, b, {}); }
  void RoundRect(int l, int t, int r, int b, int w, int h) {
    WriteBox(EMR_ROUNDRECT, l, t, r, b, {uint32_t(w), uint32_t(h)});
  }
  void Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    WriteArc(EMR_ARC, l, t, r, b, xs, ys, xe, ye);
  }
  void Chord(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    WriteArc(EMR_CHORD, l, t, r, b, xs, ys, xe, ye);
  }
  void Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    WriteArc(EMR_PIE, l, t, r, b, xs, ys, xe, ye);
  }
  void Polygon(std::span<const QPoint> pts) { WritePoly(EMR_POLYGON, EMR_POLYGON16, pts); }
  void Polyline(std::span<const QPoint> pts) { WritePoly(EMR_POLYLINE, EMR_POLYLINE16, pts); }
  void PolyBezier(std::span<const QPoint> pts) { WritePoly(EMR_POLYBEZIER, EMR_POLYBEZIER16, pts); }
  void PolyBezierTo(std::span<const QPoint> pts) { WritePoly(EMR_POLYBEZIERTO, EMR_POLYBEZIERTO16, pts); }
  void PolylineTo(std::span<const QPoint> pts) { WritePoly(EMR_POLYLINETO, EMR_POLYLINETO16, pts); }
  void PolyPolygon(std::span<const QPoint> pts, std::span<const int> counts);

  void BeginPath() { Write32(EMR_BEGINPATH, {}); }
  void EndPath() { Write32(EMR_ENDPATH, {}); }
  void CloseFigure() { Write32(EMR_CLOSEFIGURE, {}); }
  void AbortPath() { Write32(EMR_ABORTPATH, {}); }
  void FillPath() { WriteBoundsOnly(EMR_FILLPATH); }
  void StrokePath() { WriteBoundsOnly(EMR_STROKEPATH); }
  void StrokeAndFillPath() { WriteBoundsOnly(EMR_STROKEANDFILLPATH); }
  void IntersectClipRect(int l, int t, int r, int b) { WriteBox(EMR_INTERSECTCLIPRECT, l, t, r, b, {}); }

  // Text at (x, y) in the selected font; `dx` gives each character's advance in logical units.
  void TextOut(int x, int y, const QString& text, std::span<const int> dx = {});
  // The picture as a 24-bit DIB stretched into (x, y, w, h) logical units.
  void StretchDIBits(int x, int y, int w, int h, const QImage& image, uint32_t rop = 0x00CC0020);

  // The finished file (header, records, end record). The writer can go on and finish again.
  QByteArray Finish() const;
  bool Save(const QString& fileName) const;

 private:
  void Begin(uint32_t type);
  void End();
  void Put32(uint32_t v);
  void Put16(uint16_t v);
  void Write32(uint32_t type, std::initializer_list<uint32_t> values);
  void WriteBox(uint32_t type, int l, int t, int r, int b, std::initializer_list<uint32_t> extra);
  void WriteArc(uint32_t type, int l, int t, int r, int b, int xs, int ys, int xe, int ye);
  void WritePoly(uint32_t type, uint32_t shortType, std::span<const QPoint> pts);
  void WriteBoundsOnly(uint32_t type);
  uint32_t NewHandle();

  QRect frame_;
  bool shortPoints_ = true;
  QByteArray body_;
  int recordStart_ = -1;
  uint32_t records_ = 0;
  std::vector<bool> handles_{true};  // handle 0 is the metafile itself
};
