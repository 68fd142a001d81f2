// Plays EMF and WMF records onto a canvas. The player keeps its own device context (mapping, objects,
// colours, clip) and maps every logical coordinate to the canvas's device pixels before drawing, so the
// canvas only ever sees integer device coordinates, as on a GDI device.
#include <QStringDecoder>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <queue>

#include "render/canvas.h"
#include "render/metafile.h"

namespace {

enum {
  MM_TEXT = 1,
  MM_LOMETRIC,
  MM_HIMETRIC,
  MM_LOENGLISH,
  MM_HIENGLISH,
  MM_TWIPS,
  MM_ISOTROPIC,
  MM_ANISOTROPIC
};
enum : uint32_t { ETO_OPAQUE = 2, ETO_CLIPPED = 4 };
enum : uint32_t { TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24 };
enum : uint32_t { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2 };
enum : uint32_t {
  PS_STYLE_MASK = 0xF,
  PS_NULL = 5,
  PS_USERSTYLE = 7,
  PS_ALTERNATE = 8,
  PS_ENDCAP_MASK = 0xF00,
  PS_ENDCAP_SQUARE = 0x100,
  PS_ENDCAP_FLAT = 0x200,
  PS_JOIN_MASK = 0xF000,
  PS_JOIN_BEVEL = 0x1000,
  PS_JOIN_MITER = 0x2000,
  PS_GEOMETRIC = 0x10000
};

constexpr size_t kMaxObjects = 65536;
constexpr size_t kMaxSavedStates = 4096;
constexpr double kMaxCoord = 1 << 24;  // device coordinates beyond this are clamped

struct TObject {
  enum Kind { None, Pen, Brush, Font, Other } kind = None;
  TEmfPen pen;
  TEmfBrush brush;
  TLogFont font;
};

TEmfPen StockPen(TColor c, uint32_t style = 0) {
  TEmfPen p;
  p.Color = c;
  p.Style = style;
  return p;
}
TEmfBrush StockBrush(TColor c, uint32_t style = BS_SOLID) {
  TEmfBrush b;
  b.Color = c;
  b.Style = style;
  return b;
}

struct TDc {
  int mapMode = MM_TEXT;
  QPointF winOrg, vpOrg;
  QSizeF winExt{1, 1}, vpExt{1, 1};
  QTransform world;
  TEmfPen pen = StockPen(clBlack);
  TEmfBrush brush = StockBrush(clWhite);
  TLogFont font;
  int bkMode = bkOpaque;
  TColor bkColor = clWhite, textColor = clBlack;
  int fillMode = pfAlternate;
  uint32_t textAlign = 0;
  int arcDirection = adCounterClockwise;
  std::optional<QRegion> clip;
};

// The canvas state a playback changes, restored at its end.
struct TCanvasState {
  explicit TCanvasState(TCanvas& c)
      : canvas(c),
        pen(c.Pen()),
        brush(c.Brush()),
        font(c.Font()),
        escapement(c.Escapement()),
        bkMode(c.BkMode()),
        bkColor(c.BkColor()),
        fillMode(c.PolyFillMode()),
        arc(c.ArcDirection()),
        cap(c.PenCap()),
        join(c.PenJoin()),
        clip(c.ClipRegion()),
        pos(c.PenPos()) {}
  ~TCanvasState() {
    if (canvas.PathOpen()) canvas.AbortPath();
    canvas.SetPen(pen);
    canvas.SetBrush(brush);
    canvas.SetFont(font, escapement);
    canvas.SetBkMode(bkMode);
    canvas.SetBkColor(bkColor);
    canvas.SetPolyFillMode(fillMode);
    canvas.SetArcDirection(arc);
    canvas.SetPenEnds(cap, join);
    canvas.SetClipRegion(clip);
    canvas.MoveTo(pos.x(), pos.y());
  }
  TCanvas& canvas;
  TPen pen;
  TBrush brush;
  TFont font;
  int escapement;
  TBkMode bkMode;
  TColor bkColor;
  TPolyFillMode fillMode;
  TArcDirection arc;
  TPenCap cap;
  TPenJoin join;
  std::optional<QRegion> clip;
  QPoint pos;
};

TColor AverageColour(const QImage& img) {
  if (img.isNull()) return clBlack;
  uint64_t r = 0, g = 0, b = 0, n = 0;
  const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x, ++n) r += qRed(line[x]), g += qGreen(line[x]), b += qBlue(line[x]);
  }
  return n ? RGBColor(int(r / n), int(g / n), int(b / n)) : clBlack;
}

// Size of a packed DIB's info part (header, masks and colour table), 0 when malformed.
uint32_t DibInfoSize(const uint8_t* p, uint32_t avail) {
  if (avail < 12) return 0;
  const uint32_t hs =
      uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  if (hs == 12) {
    const int bits = p[10] | (p[11] << 8);
    const uint32_t size = 12 + (bits <= 8 ? 3u << bits : 0);
    return size <= avail ? size : 0;
  }
  if (hs < 40 || hs > avail) return 0;
  const int bits = p[14] | (p[15] << 8);
  const uint32_t compression =
      uint32_t(p[16]) | (uint32_t(p[17]) << 8) | (uint32_t(p[18]) << 16) | (uint32_t(p[19]) << 24);
  uint32_t used =
      uint32_t(p[32]) | (uint32_t(p[33]) << 8) | (uint32_t(p[34]) << 16) | (uint32_t(p[35]) << 24);
  if (bits <= 8)
    used = used ? std::min<uint32_t>(used, 1u << bits) : (1u << bits);
  else
    used = std::min<uint32_t>(used, 256);
  uint64_t size = uint64_t(hs) + uint64_t(used) * 4 + ((compression == 3 && hs == 40) ? 12 : 0);
  return size <= avail ? uint32_t(size) : 0;
}

bool DibBottomUp(const uint8_t* p, uint32_t avail) {
  if (avail >= 12 && p[0] == 12) return int16_t(p[6] | (p[7] << 8)) > 0;
  if (avail < 12) return true;
  return int32_t(uint32_t(p[8]) | (uint32_t(p[9]) << 8) | (uint32_t(p[10]) << 16) | (uint32_t(p[11]) << 24)) >
         0;
}

TBlitOp BlitOpFor(uint32_t rop, bool* known) {
  *known = true;
  switch (rop) {
    case 0x008800C6:
      return TBlitOp::And;  // SRCAND
    case 0x00EE0086:
      return TBlitOp::Or;  // SRCPAINT
    case 0x00660046:
      return TBlitOp::Xor;  // SRCINVERT
    case 0x00CC0020:
      return TBlitOp::Copy;  // SRCCOPY
    default:
      *known = false;
      return TBlitOp::Copy;
  }
}

class TPlayer {
 public:
  TPlayer(const TMetafile& mf, TCanvas& canvas, int x1, int y1, int x2, int y2)
      : mf_(mf), c_(canvas), x1_(Near(x1)), y1_(Near(y1)), x2_(Near(x2)), y2_(Near(y2)) {}

  bool Play() {
    if (!mf_.IsValid() || x1_ == x2_ || y1_ == y2_) return false;
    TCanvasState saved(c_);
    initialClip_ = c_.ClipRegion();
    dc_.clip = initialClip_;
    c_.BeginPath();  // start from a clean path
    c_.AbortPath();
    if (mf_.Kind() == TMetafileKind::Emf) {
      SetUpEmf();
      for (const TMetafileRecord& r : mf_.Records()) PlayEmf(r);
    } else {
      SetUpWmf();
      for (const TMetafileRecord& r : mf_.Records()) PlayWmf(r);
    }
    return true;
  }

 private:
  // --- mapping -------------------------------------------------------------------------------------

  void SetUpEmf() {
    const TEmfHeader& h = mf_.EmfHeader();
    double ppmX = 96 / 25.4, ppmY = 96 / 25.4;  // reference pixels per millimetre
    if (h.DevicePixels.width() > 0 && h.DeviceMillimetres.width() > 0)
      ppmX = double(h.DevicePixels.width()) / h.DeviceMillimetres.width();
    if (h.DevicePixels.height() > 0 && h.DeviceMillimetres.height() > 0)
      ppmY = double(h.DevicePixels.height()) / h.DeviceMillimetres.height();
    refPpmX_ = ppmX, refPpmY_ = ppmY;
    double l = h.Frame.left() / 100.0 * ppmX, r = h.Frame.right() / 100.0 * ppmX;
    double t = h.Frame.top() / 100.0 * ppmY, b = h.Frame.bottom() / 100.0 * ppmY;
    if (!(r > l) || !(b > t)) {
      l = h.Bounds.left(), r = h.Bounds.right() + 1.0, t = h.Bounds.top(), b = h.Bounds.bottom() + 1.0;
    }
    if (!(r > l)) r = l + 1;
    if (!(b > t)) b = t + 1;
    const double sx = (x2_ - x1_) / (r - l), sy = (y2_ - y1_) / (b - t);
    frame_ = QTransform(sx, 0, 0, sy, x1_ - l * sx, y1_ - t * sy);
  }

  void SetUpWmf() {
    QRect w = mf_.WmfWindow();
    if (w.isEmpty()) w = QRect(0, 0, std::abs(x2_ - x1_), std::abs(y2_ - y1_));  // unknown size: 1:1
    dc_.mapMode = MM_ANISOTROPIC;
    dc_.winOrg = w.topLeft();
    dc_.winExt = QSizeF(w.width(), w.height());
    frame_ = QTransform();
  }

  QTransform Page() const {
    if (mf_.Kind() == TMetafileKind::Wmf) {
      // The window is stretched over the target rectangle whatever the mapping mode says.
      const double ww = dc_.winExt.width() ? dc_.winExt.width() : 1,
                   wh = dc_.winExt.height() ? dc_.winExt.height() : 1;
      const double sx = (x2_ - x1_) / ww, sy = (y2_ - y1_) / wh;
      return QTransform(sx, 0, 0, sy, x1_ - dc_.winOrg.x() * sx, y1_ - dc_.winOrg.y() * sy);
    }
    double sx = 1, sy = 1;
    auto metric = [&](double mmPerUnit) {
      sx = mmPerUnit * refPpmX_;
      sy = -mmPerUnit * refPpmY_;
    };
    switch (dc_.mapMode) {
      case MM_LOMETRIC:
        metric(0.1);
        break;
      case MM_HIMETRIC:
        metric(0.01);
        break;
      case MM_LOENGLISH:
        metric(0.254);
        break;
      case MM_HIENGLISH:
        metric(0.0254);
        break;
      case MM_TWIPS:
        metric(25.4 / 1440);
        break;
      case MM_ISOTROPIC:
      case MM_ANISOTROPIC: {
        const double ww = dc_.winExt.width() ? dc_.winExt.width() : 1,
                     wh = dc_.winExt.height() ? dc_.winExt.height() : 1;
        sx = dc_.vpExt.width() / ww;
        sy = dc_.vpExt.height() / wh;
        if (dc_.mapMode == MM_ISOTROPIC) {
          const double m = std::min(std::abs(sx), std::abs(sy));
          sx = std::copysign(m, sx);
          sy = std::copysign(m, sy);
        }
        break;
      }
      default:
        break;
    }
    return QTransform(sx, 0, 0, sy, dc_.vpOrg.x() - dc_.winOrg.x() * sx, dc_.vpOrg.y() - dc_.winOrg.y() * sy);
  }

  QTransform Full() const { return dc_.world * Page() * frame_; }

  static int Near(int v) { return std::clamp(v, -(1 << 29), 1 << 29); }
  static int Clamp(double v) {
    if (!std::isfinite(v)) return 0;
    return int(std::lround(std::clamp(v, -kMaxCoord, kMaxCoord)));
  }
  QPoint Map(const QTransform& t, QPointF p) const {
    const QPointF q = t.map(p);
    return QPoint(Clamp(q.x()), Clamp(q.y()));
  }
  QPoint Map(QPointF p) const { return Map(Full(), p); }
  std::vector<QPoint> MapAll(const std::vector<QPoint>& pts) const {
    const QTransform t = Full();
    std::vector<QPoint> out(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) out[i] = Map(t, pts[i]);
    return out;
  }
  static bool AxisAligned(const QTransform& t) { return t.m12() == 0 && t.m21() == 0; }
  static double MeanScale(const QTransform& t) {
    return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
  }

  // --- state onto the canvas ----------------------------------------------------------------------

  void ApplyPen() {
    const TEmfPen& p = dc_.pen;
    uint32_t style = p.Style & PS_STYLE_MASK;
    int canvasStyle = style <= psInsideFrame  ? int(style)
                      : style == PS_USERSTYLE ? psDash
                      : style == PS_ALTERNATE ? psDot
                                              : psSolid;
    int width = 1;
    // Extended cosmetic pens are one pixel; other widths are logical units.
    const bool cosmetic = p.Handle == kExtMarker && !(p.Style & PS_GEOMETRIC);
    if (!cosmetic && p.Width > 0) width = std::max(1, Clamp(p.Width * MeanScale(Full())));
    width = std::min(width, 1 << 16);
    c_.SetPen({p.Color, width, canvasStyle});
    const uint32_t cap = p.Style & PS_ENDCAP_MASK, join = p.Style & PS_JOIN_MASK;
    c_.SetPenEnds(cap == PS_ENDCAP_FLAT     ? pcFlat
                  : cap == PS_ENDCAP_SQUARE ? pcSquare
                                            : pcRound,
                  join == PS_JOIN_MITER   ? pjMiter
                  : join == PS_JOIN_BEVEL ? pjBevel
                                          : pjRound);
  }

  void ApplyBrush() {
    const TEmfBrush& b = dc_.brush;
    int style = bsSolid;
    if (b.Style == BS_NULL)
      style = bsClear;
    else if (b.Style == BS_HATCHED)
      style = b.Hatch <= 5 ? bsHorizontal + int(b.Hatch) : bsSolid;
    c_.SetBrush({b.Color, style});
  }

  void Prepare() {
    ApplyPen();
    ApplyBrush();
    c_.SetBkMode(dc_.bkMode == bkTransparent ? bkTransparent : bkOpaque);
    c_.SetBkColor(dc_.bkColor);
    c_.SetPolyFillMode(dc_.fillMode == pfWinding ? pfWinding : pfAlternate);
    // A mirrored target mirrors the arcs' turning direction along with everything else.
    const bool flip = frame_.m11() * frame_.m22() < 0;
    const bool cw = (dc_.arcDirection == adClockwise) != flip;
    c_.SetArcDirection(cw ? adClockwise : adCounterClockwise);
    c_.SetClipRegion(dc_.clip);
  }

  // --- figures -------------------------------------------------------------------------------------

  // A closed or open figure given as Bézier points (start + 3 per segment) in device pixels, drawn
  // through the path machinery so rotated shapes keep their outline and fill.
  void DrawBezierFigure(const std::vector<QPoint>& pts, bool closed, bool fill,
                        std::optional<QPoint> lead = {}) {
    if (pts.size() < 4) return;
    const bool inPath = c_.PathOpen();
    if (!inPath) c_.BeginPath();
    if (lead) {
      c_.MoveTo(lead->x(), lead->y());
      c_.LineTo(pts[0].x(), pts[0].y());
    } else {
      c_.MoveTo(pts[0].x(), pts[0].y());
    }
    c_.PolyBezierTo(std::span<const QPoint>(pts).subspan(1));
    if (closed) c_.CloseFigure();
    if (inPath) return;
    c_.EndPath();
    if (fill)
      c_.StrokeAndFillPath();
    else
      c_.StrokePath();
  }

  std::vector<QPoint> MapBeziers(const std::vector<QPointF>& pts, const QTransform& t) const {
    std::vector<QPoint> out(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) out[i] = Map(t, pts[i]);
    return out;
  }

  void DrawRectangle(QRect r) {  // r from logical left, top, right, bottom via QRect(QPoint, QPoint)
    Prepare();
    const QTransform t = Full();
    if (AxisAligned(t)) {
      const QPoint a = Map(t, QPointF(r.left(), r.top())), b = Map(t, QPointF(r.right(), r.bottom()));
      c_.Rectangle(a.x(), a.y(), b.x(), b.y());
      return;
    }
    const QPoint pts[4] = {Map(t, QPointF(r.left(), r.top())), Map(t, QPointF(r.right(), r.top())),
                           Map(t, QPointF(r.right(), r.bottom())), Map(t, QPointF(r.left(), r.bottom()))};
    c_.Polygon(pts);
  }

  void DrawEllipse(QRect r) {
    Prepare();
    const QTransform t = Full();
    if (AxisAligned(t)) {
      const QPoint a = Map(t, QPointF(r.left(), r.top())), b = Map(t, QPointF(r.right(), r.bottom()));
      c_.Ellipse(a.x(), a.y(), b.x(), b.y());
      return;
    }
    const QRectF box(QPointF(r.left(), r.top()), QPointF(r.right(), r.bottom()));
    const QPointF s(box.right(), box.center().y());
    DrawBezierFigure(MapBeziers(EllipseArcBeziers(box.normalized(), s, s, false), t), true, true);
  }

  void DrawRoundRect(QRect r, QSize corner) {
    Prepare();
    const QTransform t = Full();
    if (AxisAligned(t)) {
      const QPoint a = Map(t, QPointF(r.left(), r.top())), b = Map(t, QPointF(r.right(), r.bottom()));
      c_.RoundRect(a.x(), a.y(), b.x(), b.y(), Clamp(corner.width() * std::abs(t.m11())),
                   Clamp(corner.height() * std::abs(t.m22())));
      return;
    }
    DrawRectangle(r);  // rotated rounded corners are rare; keep the outline
  }

  // kind 0 arc, 1 chord, 2 pie, 3 arc-to (line from the current position, position moves to the end).
  void DrawArc(int kind, QRect r, QPoint start, QPoint end) {
    Prepare();
    const QTransform t = Full();
    if (AxisAligned(t) && kind != 3) {
      const QPoint a = Map(t, QPointF(r.left(), r.top())), b = Map(t, QPointF(r.right(), r.bottom()));
      const QPoint s = Map(t, start), e = Map(t, end);
      if (kind == 0)
        c_.Arc(a.x(), a.y(), b.x(), b.y(), s.x(), s.y(), e.x(), e.y());
      else if (kind == 1)
        c_.Chord(a.x(), a.y(), b.x(), b.y(), s.x(), s.y(), e.x(), e.y());
      else
        c_.Pie(a.x(), a.y(), b.x(), b.y(), s.x(), s.y(), e.x(), e.y());
      return;
    }
    // In logical space: turning direction as seen after the mapping.
    const bool deviceCw = c_.ArcDirection() == adClockwise;
    const bool logicalCw = (t.m11() * t.m22() - t.m12() * t.m21() < 0) != deviceCw;
    const QRectF box = QRectF(QPointF(r.left(), r.top()), QPointF(r.right(), r.bottom())).normalized();
    auto bez = EllipseArcBeziers(box, start, end, logicalCw);
    if (bez.empty()) return;
    std::vector<QPoint> pts = MapBeziers(bez, t);
    if (kind == 3) {
      c_.LineTo(pts[0].x(), pts[0].y());
      c_.PolyBezierTo(std::span<const QPoint>(pts).subspan(1));
      return;
    }
    if (kind == 2) {
      DrawBezierFigure(pts, true, true, Map(t, box.center()));
    } else {
      DrawBezierFigure(pts, kind == 1, kind == 1);
    }
  }

  void DrawPoly(uint32_t emrKind, const std::vector<QPoint>& logical) {
    Prepare();
    const std::vector<QPoint> pts = MapAll(logical);
    switch (emrKind) {
      case EMR_POLYGON:
        c_.Polygon(pts);
        break;
      case EMR_POLYLINE:
        c_.Polyline(pts);
        break;
      case EMR_POLYBEZIER:
        c_.PolyBezier(pts);
        break;
      case EMR_POLYBEZIERTO:
        c_.PolyBezierTo(pts);
        break;
      case EMR_POLYLINETO:
        c_.PolylineTo(pts);
        break;
    }
  }

  void DrawPolyPoly(bool polygon, const std::vector<QPoint>& logical, const std::vector<int>& counts) {
    Prepare();
    const std::vector<QPoint> pts = MapAll(logical);
    if (polygon) {
      c_.PolyPolygon(pts, counts);
      return;
    }
    size_t at = 0;
    for (int n : counts) {
      if (n < 0 || size_t(n) > pts.size() - at) break;
      c_.Polyline(std::span<const QPoint>(pts).subspan(at, n));
      at += n;
    }
  }

  void MoveTo(QPoint p) {
    const QPoint d = Map(p);
    c_.MoveTo(d.x(), d.y());
  }
  void LineTo(QPoint p) {
    Prepare();
    const QPoint d = Map(p);
    c_.LineTo(d.x(), d.y());
  }

  void FillDeviceRect(QRect logical, TColor colour) {
    const QTransform t = Full();
    const QPoint a = Map(t, QPointF(logical.left(), logical.top())),
                 b = Map(t, QPointF(logical.right(), logical.bottom()));
    c_.SetClipRegion(dc_.clip);
    const TBrush keep = c_.Brush();
    c_.SetBrush({colour, bsSolid});
    c_.FillRect(a.x(), a.y(), b.x(), b.y());
    c_.SetBrush(keep);
  }

  // --- text ----------------------------------------------------------------------------------------

  void DrawText(QPoint reference, const QString& text, uint32_t options, QRect rect,
                const std::vector<int>& dx) {
    Prepare();
    const QTransform t = Full();
    const bool hasRect = rect.left() != rect.right() || rect.top() != rect.bottom();
    if ((options & ETO_OPAQUE) && hasRect) FillDeviceRect(rect, dc_.bkColor);
    if (text.isEmpty()) return;

    const TLogFont& lf = dc_.font;
    const double sy = std::hypot(t.m21(), t.m22()), sx = std::hypot(t.m11(), t.m12());
    TFont font;
    font.Name = lf.FaceName.isEmpty() ? QStringLiteral("Arial") : lf.FaceName;
    font.Color = dc_.textColor;
    font.Height = std::clamp(Clamp(lf.Height * sy), -20000, 20000);
    font.Style = (lf.Weight >= 600 ? fsBold : 0) | (lf.Italic ? fsItalic : 0) |
                 (lf.Underline ? fsUnderline : 0) | (lf.StrikeOut ? fsStrikeOut : 0);
    // The world transform's turn adds to the font's escapement.
    const double turn = std::atan2(-dc_.world.m12(), dc_.world.m11()) * 1800 / std::numbers::pi;
    int esc = lf.Escapement + int(std::lround(std::isfinite(turn) ? turn : 0));
    esc %= 3600;
    c_.SetFont(font, esc);

    QPointF anchor = (dc_.textAlign & TA_UPDATECP) ? QPointF(c_.PenPos()) : t.map(QPointF(reference));
    std::vector<double> advances;
    double width = 0;
    if (dx.size() == size_t(text.size())) {
      for (int d : dx) advances.push_back(d * sx), width += d * sx;
    } else {
      width = c_.TextWidth(text);
    }
    const int height = c_.TextHeight(text);
    double ox = 0, oy = 0;
    if ((dc_.textAlign & TA_CENTER) == TA_CENTER)
      ox = -width / 2;
    else if (dc_.textAlign & TA_RIGHT)
      ox = -width;
    if ((dc_.textAlign & TA_BASELINE) == TA_BASELINE)
      oy = -c_.TextAscent();
    else if (dc_.textAlign & TA_BOTTOM)
      oy = -height;
    const double a = esc / 10.0 * std::numbers::pi / 180;
    const double ca = std::cos(a), sa = std::sin(a);
    auto place = [&](double u, double v) {  // text-frame offset to device point (counter-clockwise turn)
      return QPointF(anchor.x() + u * ca + v * sa, anchor.y() - u * sa + v * ca);
    };

    std::optional<QRegion> keep = c_.ClipRegion();
    if ((options & ETO_CLIPPED) && hasRect) {
      const QPoint p1 = Map(t, QPointF(rect.left(), rect.top())),
                   p2 = Map(t, QPointF(rect.right(), rect.bottom()));
      c_.IntersectClipRect(p1.x(), p1.y(), p2.x(), p2.y());
    }
    if (advances.empty()) {
      const QPointF p = place(ox, oy);
      c_.TextOut(Clamp(p.x()), Clamp(p.y()), text);
    } else {
      double u = ox;
      for (int i = 0; i < text.size(); ++i) {
        const QPointF p = place(u, oy);
        int n = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) n = 2;
        c_.TextOut(Clamp(p.x()), Clamp(p.y()), text.mid(i, n));
        for (int k = 0; k < n; ++k) u += advances[i + k];
        i += n - 1;
      }
    }
    c_.SetClipRegion(keep);
    if (dc_.textAlign & TA_UPDATECP) {
      // The position moves past the text for left alignment and back over it for right alignment.
      const double move = (dc_.textAlign & TA_CENTER) == TA_CENTER ? 0
                          : (dc_.textAlign & TA_RIGHT)             ? -width
                                                                   : width;
      const QPointF moved = place(move, 0);
      c_.MoveTo(Clamp(moved.x()), Clamp(moved.y()));
    }
  }

  // --- bitmaps -------------------------------------------------------------------------------------

  void DrawDib(const TMetafileRecord& r, uint32_t infoAt, uint32_t infoSize, uint32_t bitsAt,
               uint32_t bitsSize, QRectF dest, QRectF src, uint32_t rop, bool stretchDibits) {
    if (!r.Has(infoAt, infoSize) || !r.Has(bitsAt, bitsSize) || infoSize == 0) return;
    QImage img = DecodeDib(r.Params + infoAt, infoSize, r.Params + bitsAt, bitsSize);
    if (img.isNull()) return;
    if (src.width() > 0 && src.height() > 0 && src != QRectF(img.rect())) {
      QRectF s = src;
      if (stretchDibits && DibBottomUp(r.Params + infoAt, infoSize))
        s.moveTop(img.height() - src.top() - src.height());  // rows counted from the bottom
      s &= QRectF(img.rect());
      const QRect whole = s.toAlignedRect() & img.rect();
      if (whole.isEmpty()) return;
      img = img.copy(whole);
    }
    bool known;
    const TBlitOp op = BlitOpFor(rop, &known);
    Prepare();
    const QTransform t = Full();
    const QPoint a = Map(t, dest.topLeft());
    const QPoint b = Map(t, dest.bottomRight());
    c_.StretchBlit(a.x(), a.y(), b.x(), b.y(), img, op);
  }

  // dest: x, y, width, height in logical units (a QRectF so that no sum overflows).
  void PatternBlit(QRectF dest, uint32_t rop) {
    TColor colour;
    if (rop == 0x00F00021) {  // PATCOPY: the brush
      if (dc_.brush.Style == BS_NULL) return;
      Prepare();
      const QTransform t = Full();
      const QPoint a = Map(t, dest.topLeft()), b = Map(t, dest.bottomRight());
      c_.FillRect(a.x(), a.y(), b.x(), b.y());
      return;
    }
    if (rop == 0x00000042)
      colour = clBlack;
    else if (rop == 0x00FF0062)
      colour = clWhite;
    else
      return;
    const QPoint a = Map(Full(), dest.topLeft()), b = Map(Full(), dest.bottomRight());
    c_.SetClipRegion(dc_.clip);
    const TBrush keep = c_.Brush();
    c_.SetBrush({colour, bsSolid});
    c_.FillRect(a.x(), a.y(), b.x(), b.y());
    c_.SetBrush(keep);
  }

  // --- objects and state ---------------------------------------------------------------------------

  TObject* Slot(uint32_t index) {
    if (index >= kMaxObjects) return nullptr;
    if (index >= objects_.size()) objects_.resize(index + 1);
    return &objects_[index];
  }

  void SelectStock(uint32_t which) {
    switch (which) {
      case WHITE_BRUSH:
        dc_.brush = StockBrush(clWhite);
        break;
      case LTGRAY_BRUSH:
        dc_.brush = StockBrush(RGBColor(192, 192, 192));
        break;
      case GRAY_BRUSH:
        dc_.brush = StockBrush(RGBColor(128, 128, 128));
        break;
      case DKGRAY_BRUSH:
        dc_.brush = StockBrush(RGBColor(64, 64, 64));
        break;
      case BLACK_BRUSH:
        dc_.brush = StockBrush(clBlack);
        break;
      case NULL_BRUSH:
        dc_.brush = StockBrush(clBlack, BS_NULL);
        break;
      case DC_BRUSH:
        dc_.brush = StockBrush(clWhite);
        break;
      case WHITE_PEN:
        dc_.pen = StockPen(clWhite);
        break;
      case BLACK_PEN:
      case DC_PEN:
        dc_.pen = StockPen(clBlack);
        break;
      case NULL_PEN:
        dc_.pen = StockPen(clBlack, PS_NULL);
        break;
      case OEM_FIXED_FONT:
      case ANSI_FIXED_FONT:
      case SYSTEM_FIXED_FONT:
        dc_.font = TLogFont();
        dc_.font.FaceName = QStringLiteral("Courier New");
        break;
      case ANSI_VAR_FONT:
      case SYSTEM_FONT:
      case DEVICE_DEFAULT_FONT:
      case DEFAULT_GUI_FONT:
        dc_.font = TLogFont();
        break;
      default:
        break;
    }
  }

  void Select(const TObject* o) {
    if (!o) return;
    if (o->kind == TObject::Pen)
      dc_.pen = o->pen;
    else if (o->kind == TObject::Brush)
      dc_.brush = o->brush;
    else if (o->kind == TObject::Font)
      dc_.font = o->font;
  }

  void Save() {
    if (saved_.size() < kMaxSavedStates)
      saved_.push_back(dc_);
    else
      ++overflowSaves_;
  }
  void Restore(int n) {
    // Negative: that many levels back; positive: the absolute level.
    if (overflowSaves_ > 0 && n == -1) {
      --overflowSaves_;
      return;
    }
    size_t target;
    if (n < 0) {
      if (size_t(-int64_t(n)) > saved_.size()) return;
      target = saved_.size() - size_t(-int64_t(n));
    } else {
      if (n == 0 || size_t(n) > saved_.size()) return;
      target = size_t(n) - 1;
    }
    dc_ = saved_[target];
    saved_.resize(target);
  }

  void IntersectClip(QRect logical, bool exclude) {
    const QTransform t = Full();
    const QPoint a = Map(t, QPointF(logical.left(), logical.top())),
                 b = Map(t, QPointF(logical.right(), logical.bottom()));
    const QRegion r(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                          QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1)));
    if (exclude) {
      const QRegion all =
          dc_.clip ? *dc_.clip
                   : QRegion(QRect(-int(kMaxCoord), -int(kMaxCoord), 2 * int(kMaxCoord), 2 * int(kMaxCoord)));
      dc_.clip = all.subtracted(r);
    } else {
      dc_.clip = dc_.clip ? dc_.clip->intersected(r) : r;
    }
  }

  // --- EMF records ---------------------------------------------------------------------------------

  static QRect EmfRect(const TMetafileRecord& r, uint32_t at) {
    return QRect(QPoint(r.I32(at), r.I32(at + 4)), QPoint(r.I32(at + 8), r.I32(at + 12)));
  }
  static bool FiniteXform(const TMetafileRecord& r, QTransform* out) {
    float v[6];
    for (int i = 0; i < 6; ++i) {
      v[i] = r.F32(4 * i);
      if (!std::isfinite(v[i]) || std::abs(v[i]) > 1e9f) return false;
    }
    *out = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
    return true;
  }

  void PlayEmf(const TMetafileRecord& r) {
    switch (r.Type) {
      case EMR_SETMAPMODE:
        dc_.mapMode = int(r.U32(0));
        break;
      case EMR_SETWINDOWORGEX:
        dc_.winOrg = QPointF(r.I32(0), r.I32(4));
        break;
      case EMR_SETWINDOWEXTEX:
        if (r.I32(0) && r.I32(4)) dc_.winExt = QSizeF(r.I32(0), r.I32(4));
        break;
      case EMR_SETVIEWPORTORGEX:
        dc_.vpOrg = QPointF(r.I32(0), r.I32(4));
        break;
      case EMR_SETVIEWPORTEXTEX:
        if (r.I32(0) && r.I32(4)) dc_.vpExt = QSizeF(r.I32(0), r.I32(4));
        break;
      case EMR_SCALEVIEWPORTEXTEX:
      case EMR_SCALEWINDOWEXTEX: {
        const int xn = r.I32(0), xd = r.I32(4), yn = r.I32(8), yd = r.I32(12);
        if (!xn || !xd || !yn || !yd) break;
        QSizeF& e = r.Type == EMR_SCALEVIEWPORTEXTEX ? dc_.vpExt : dc_.winExt;
        e = QSizeF(e.width() * xn / xd, e.height() * yn / yd);
        break;
      }
      case EMR_SETWORLDTRANSFORM: {
        QTransform x;
        if (r.Has(0, 24) && FiniteXform(r, &x)) dc_.world = x;
        break;
      }
      case EMR_MODIFYWORLDTRANSFORM: {
        QTransform x;
        if (!r.Has(0, 28)) break;
        const uint32_t mode = r.U32(24);
        if (mode == 1) {
          dc_.world = QTransform();
          break;
        }
        if (!FiniteXform(r, &x)) break;
        if (mode == 2)
          dc_.world = x * dc_.world;
        else if (mode == 3)
          dc_.world = dc_.world * x;
        else if (mode == 4)
          dc_.world = x;
        break;
      }
      case EMR_SAVEDC:
        Save();
        break;
      case EMR_RESTOREDC:
        Restore(r.I32(0));
        break;
      case EMR_SETBKMODE:
        dc_.bkMode = r.U32(0) == 1 ? bkTransparent : bkOpaque;
        break;
      case EMR_SETBKCOLOR:
        dc_.bkColor = r.U32(0) & 0xFFFFFF;
        break;
      case EMR_SETTEXTCOLOR:
        dc_.textColor = r.U32(0) & 0xFFFFFF;
        break;
      case EMR_SETTEXTALIGN:
        dc_.textAlign = r.U32(0);
        break;
      case EMR_SETPOLYFILLMODE:
        dc_.fillMode = r.U32(0) == 2 ? pfWinding : pfAlternate;
        break;
      case EMR_SETARCDIRECTION:
        dc_.arcDirection = r.U32(0) == 2 ? adClockwise : adCounterClockwise;
        break;

      case EMR_CREATEPEN:
      case EMR_EXTCREATEPEN: {
        auto p = ReadEmfCreatePen(r);
        if (!p) break;
        if (TObject* o = Slot(p->Handle)) {
          o->kind = TObject::Pen;
          o->pen = *p;
          o->pen.Handle = r.Type == EMR_EXTCREATEPEN ? kExtMarker : 0;
          if (r.Type == EMR_EXTCREATEPEN && p->BrushStyle == BS_NULL) o->pen.Style = PS_NULL;
        }
        break;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        auto b = ReadEmfCreateBrush(r);
        if (!b) break;
        if (TObject* o = Slot(b->Handle)) {
          o->kind = TObject::Brush;
          o->brush = *b;
        }
        break;
      }
      case EMR_CREATEDIBPATTERNBRUSHPT:
      case EMR_CREATEMONOBRUSH: {
        const uint32_t offBmi = r.U32(8), cbBmi = r.U32(12), offBits = r.U32(16), cbBits = r.U32(20);
        TObject* o = Slot(r.U32(0));
        if (!o) break;
        o->kind = TObject::Brush;
        o->brush = StockBrush(clGray);
        if (offBmi >= 8 && offBits >= 8 && r.Has(offBmi - 8, cbBmi) && r.Has(offBits - 8, cbBits))
          o->brush.Color =
              AverageColour(DecodeDib(r.Params + offBmi - 8, cbBmi, r.Params + offBits - 8, cbBits));
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        auto f = ReadEmfCreateFont(r);
        if (!f) break;
        if (TObject* o = Slot(f->Handle)) {
          o->kind = TObject::Font;
          o->font = f->Font;
        }
        break;
      }
      case EMR_SELECTOBJECT: {
        const uint32_t h = r.U32(0);
        if (h & kStockObject)
          SelectStock(h & ~kStockObject);
        else if (h < objects_.size())
          Select(&objects_[h]);
        break;
      }
      case EMR_DELETEOBJECT: {
        const uint32_t h = r.U32(0);
        if (h < objects_.size()) objects_[h] = TObject();
        break;
      }

      case EMR_MOVETOEX:
        MoveTo(QPoint(r.I32(0), r.I32(4)));
        break;
      case EMR_LINETO:
        LineTo(QPoint(r.I32(0), r.I32(4)));
        break;
      case EMR_POLYGON:
      case EMR_POLYGON16:
      case EMR_POLYLINE:
      case EMR_POLYLINE16:
      case EMR_POLYBEZIER:
      case EMR_POLYBEZIER16:
      case EMR_POLYBEZIERTO:
      case EMR_POLYBEZIERTO16:
      case EMR_POLYLINETO:
      case EMR_POLYLINETO16: {
        auto pts = ReadEmfPolyPoints(r);
        if (!pts) break;
        static const std::pair<uint32_t, uint32_t> kWide[] = {{EMR_POLYGON16, EMR_POLYGON},
                                                              {EMR_POLYLINE16, EMR_POLYLINE},
                                                              {EMR_POLYBEZIER16, EMR_POLYBEZIER},
                                                              {EMR_POLYBEZIERTO16, EMR_POLYBEZIERTO},
                                                              {EMR_POLYLINETO16, EMR_POLYLINETO}};
        uint32_t kind = r.Type;
        for (auto [small, wide] : kWide)
          if (kind == small) kind = wide;
        DrawPoly(kind, *pts);
        break;
      }
      case EMR_POLYPOLYGON:
      case EMR_POLYPOLYGON16:
      case EMR_POLYPOLYLINE:
      case EMR_POLYPOLYLINE16: {
        auto pp = ReadEmfPolyPoly(r);
        if (pp)
          DrawPolyPoly(r.Type == EMR_POLYPOLYGON || r.Type == EMR_POLYPOLYGON16, pp->Points, pp->Counts);
        break;
      }
      case EMR_POLYDRAW:
      case EMR_POLYDRAW16:
        PlayPolyDraw(r, r.Type == EMR_POLYDRAW16);
        break;
      case EMR_RECTANGLE:
        if (r.Has(0, 16)) DrawRectangle(EmfRect(r, 0));
        break;
      case EMR_ELLIPSE:
        if (r.Has(0, 16)) DrawEllipse(EmfRect(r, 0));
        break;
      case EMR_ROUNDRECT:
        if (r.Has(0, 24)) DrawRoundRect(EmfRect(r, 0), QSize(r.I32(16), r.I32(20)));
        break;
      case EMR_ARC:
      case EMR_CHORD:
      case EMR_PIE:
      case EMR_ARCTO:
        if (r.Has(0, 32))
          DrawArc(r.Type == EMR_ARC     ? 0
                  : r.Type == EMR_CHORD ? 1
                  : r.Type == EMR_PIE   ? 2
                                        : 3,
                  EmfRect(r, 0), QPoint(r.I32(16), r.I32(20)), QPoint(r.I32(24), r.I32(28)));
        break;
      case EMR_ANGLEARC: {
        if (!r.Has(0, 20)) break;
        const double cx = r.I32(0), cy = r.I32(4), rad = r.U32(8);
        const double a0 = r.F32(12), sweep = r.F32(16);
        if (!std::isfinite(a0) || !std::isfinite(sweep) || rad > 1e8) break;
        // The box must stay in device coordinates; an arc beyond them could not show anyway.
        constexpr double kDeviceMax = 2147483647.0;
        if (std::abs(cx) + rad > kDeviceMax || std::abs(cy) + rad > kDeviceMax) break;
        const double s = a0 * std::numbers::pi / 180,
                     e = (a0 + std::clamp(sweep, -3600.0, 3600.0)) * std::numbers::pi / 180;
        const QRect box(QPoint(int(cx - rad), int(cy - rad)), QPoint(int(cx + rad), int(cy + rad)));
        const QPoint sp(int(std::lround(cx + rad * std::cos(s))), int(std::lround(cy - rad * std::sin(s))));
        const QPoint ep(int(std::lround(cx + rad * std::cos(e))), int(std::lround(cy - rad * std::sin(e))));
        const int keep = dc_.arcDirection;
        dc_.arcDirection = sweep < 0 ? adClockwise : adCounterClockwise;
        DrawArc(3, box, sp, ep);
        dc_.arcDirection = keep;
        break;
      }
      case EMR_SETPIXELV: {
        if (!r.Has(0, 12)) break;
        Prepare();
        const QPoint p = Map(QPointF(r.I32(0), r.I32(4)));
        c_.SetPixel(p.x(), p.y(), r.U32(8) & 0xFFFFFF);
        break;
      }

      case EMR_BEGINPATH:
        c_.BeginPath();
        break;
      case EMR_ENDPATH:
        c_.EndPath();
        break;
      case EMR_CLOSEFIGURE:
        c_.CloseFigure();
        break;
      case EMR_ABORTPATH:
        c_.AbortPath();
        break;
      case EMR_FILLPATH:
        Prepare();
        c_.FillPath();
        break;
      case EMR_STROKEPATH:
        Prepare();
        c_.StrokePath();
        break;
      case EMR_STROKEANDFILLPATH:
        Prepare();
        c_.StrokeAndFillPath();
        break;
      case EMR_SELECTCLIPPATH:
        Prepare();
        if (c_.SelectClipPath()) dc_.clip = c_.ClipRegion();
        break;

      case EMR_INTERSECTCLIPRECT:
        if (r.Has(0, 16)) IntersectClip(EmfRect(r, 0), false);
        break;
      case EMR_EXCLUDECLIPRECT:
        if (r.Has(0, 16)) IntersectClip(EmfRect(r, 0), true);
        break;
      case EMR_EXTSELECTCLIPRGN:
        PlayClipRegion(r);
        break;

      case EMR_EXTTEXTOUTA:
      case EMR_EXTTEXTOUTW: {
        auto t = ReadEmfText(r);
        if (t)
          DrawText(t->Reference, t->Text, t->Options,
                   QRect(QPoint(t->Left, t->Top), QPoint(t->Right, t->Bottom)), t->Dx);
        break;
      }

      case EMR_STRETCHDIBITS: {
        if (!r.Has(0, 72)) break;
        const uint32_t offBmi = r.U32(40), cbBmi = r.U32(44), offBits = r.U32(48), cbBits = r.U32(52);
        if (offBmi < 8 || offBits < 8) break;
        DrawDib(r, offBmi - 8, cbBmi, offBits - 8, cbBits, QRectF(r.I32(16), r.I32(20), r.I32(64), r.I32(68)),
                QRectF(r.I32(24), r.I32(28), r.I32(32), r.I32(36)), r.U32(60), true);
        break;
      }
      case EMR_SETDIBITSTODEVICE: {
        if (!r.Has(0, 68)) break;
        const uint32_t offBmi = r.U32(40), cbBmi = r.U32(44), offBits = r.U32(48), cbBits = r.U32(52);
        if (offBmi < 8 || offBits < 8) break;
        const QRectF src(r.I32(24), r.I32(28), r.I32(32), r.I32(36));
        DrawDib(r, offBmi - 8, cbBmi, offBits - 8, cbBits,
                QRectF(r.I32(16), r.I32(20), src.width(), src.height()), src, 0x00CC0020, true);
        break;
      }
      case EMR_BITBLT:
      case EMR_STRETCHBLT: {
        if (!r.Has(0, 92)) break;
        const QRectF dest(r.I32(16), r.I32(20), r.I32(24), r.I32(28));
        const uint32_t rop = r.U32(32);
        const uint32_t offBmi = r.U32(76), cbBmi = r.U32(80), offBits = r.U32(84), cbBits = r.U32(88);
        if (cbBmi == 0 || offBmi < 8 || offBits < 8) {
          PatternBlit(dest, rop);
          break;
        }
        QRectF src(r.I32(36), r.I32(40), dest.width(), dest.height());
        if (r.Type == EMR_STRETCHBLT && r.Has(92, 8)) src.setSize(QSizeF(r.I32(92), r.I32(96)));
        DrawDib(r, offBmi - 8, cbBmi, offBits - 8, cbBits, dest, src, rop, false);
        break;
      }
      default:
        break;  // everything else does not draw (comments, palettes, colour management…)
    }
  }

  void PlayPolyDraw(const TMetafileRecord& r, bool small) {
    const uint32_t n = r.U32(16);
    const uint32_t each = small ? 4 : 8;
    if (!r.Has(20, uint64_t(n) * (each + 1))) return;
    Prepare();
    const QTransform t = Full();
    QPoint figureStart = c_.PenPos();
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t at = 20 + i * each;
      const QPoint p = Map(t, small ? QPointF(r.I16(at), r.I16(at + 2)) : QPointF(r.I32(at), r.I32(at + 4)));
      const uint8_t type = r.U8(20 + n * each + i);
      switch (type & ~ptCloseFigure) {
        case ptMoveTo:
          c_.MoveTo(p.x(), p.y());
          figureStart = p;
          break;
        case ptLineTo:
          c_.LineTo(p.x(), p.y());
          break;
        case ptBezierTo: {
          if (i + 2 >= n) return;
          QPoint pts[3] = {p, QPoint(), QPoint()};
          for (int k = 1; k < 3; ++k) {
            const uint32_t a2 = 20 + (i + k) * each;
            pts[k] = Map(t, small ? QPointF(r.I16(a2), r.I16(a2 + 2)) : QPointF(r.I32(a2), r.I32(a2 + 4)));
          }
          c_.PolyBezierTo(pts);
          i += 2;
          break;
        }
        default:
          break;
      }
      if (type & ptCloseFigure) {
        if (c_.PathOpen())
          c_.CloseFigure();
        else
          c_.LineTo(figureStart.x(), figureStart.y());
      }
    }
  }

  void PlayClipRegion(const TMetafileRecord& r) {
    const uint32_t cb = r.U32(0), mode = r.U32(4);
    if (mode == 5 && cb == 0) {  // RGN_COPY without region: back to the default clip
      dc_.clip = initialClip_;
      return;
    }
    if (!r.Has(8, 32) || !r.Has(8, cb)) return;
    const uint32_t count = r.U32(16);
    if (!r.Has(40, uint64_t(count) * 16)) return;
    // Region rectangles are in the reference device's pixels. They are united in one sweep: one by
    // one, each union costs as much as the region built so far.
    QList<QPolygonF> rects;
    for (uint32_t i = 0; i < count && i < 100000; ++i) {
      const uint32_t at = 40 + 16 * i;
      const QPoint a = Map(frame_, QPointF(r.I32(at), r.I32(at + 4)));
      const QPoint b = Map(frame_, QPointF(r.I32(at + 8), r.I32(at + 12)));
      const QRectF box(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                       QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
      rects.append(QPolygonF(box));  // all turning the same way: the winding rule unites them
    }
    const QRegion region = RegionFromPolygons(rects, true, c_.Surface());
    const QRegion base = initialClip_ ? *initialClip_ : region;
    switch (mode) {
      case 1:
        dc_.clip = dc_.clip ? dc_.clip->intersected(region) : region;
        break;  // AND
      case 2:
        if (dc_.clip) dc_.clip = dc_.clip->united(region);
        break;  // OR
      case 3:
        if (dc_.clip) dc_.clip = dc_.clip->xored(region);
        break;  // XOR
      case 4:
        if (dc_.clip) dc_.clip = dc_.clip->subtracted(region);
        break;  // DIFF
      case 5:
        dc_.clip = base.intersected(region);
        break;  // COPY
      default:
        break;
    }
  }

  // --- WMF records ---------------------------------------------------------------------------------

  static QRect WmfBox(const TMetafileRecord& r, uint32_t at) {  // bottom, right, top, left
    return QRect(QPoint(r.I16(at + 6), r.I16(at + 4)), QPoint(r.I16(at + 2), r.I16(at)));
  }
  static std::vector<QPoint> WmfPoints(const TMetafileRecord& r, uint32_t at, uint32_t n) {
    std::vector<QPoint> pts;
    if (!r.Has(at, uint64_t(n) * 4)) return pts;
    pts.resize(n);
    for (uint32_t i = 0; i < n; ++i) pts[i] = QPoint(r.I16(at + 4 * i), r.I16(at + 4 * i + 2));
    return pts;
  }
  QString WmfString(const TMetafileRecord& r, uint32_t at, uint32_t n) {
    if (!r.Has(at, n)) return {};
    QStringDecoder dec("windows-1252");
    QString s = dec.decode(QByteArrayView(r.Params + at, n));
    return dec.hasError() ? QString::fromLatin1(reinterpret_cast<const char*>(r.Params + at), int(n)) : s;
  }

  // A WMF object takes the lowest free index of the table. Freed indices wait in a min-heap, so a
  // create costs no scan of the table however full it is.
  TObject* NewWmfObject() {
    if (!freeWmf_.empty()) {
      const uint32_t i = freeWmf_.top();
      freeWmf_.pop();
      return &objects_[i];
    }
    if (objects_.size() >= kMaxObjects) return nullptr;
    objects_.emplace_back();
    return &objects_.back();
  }
  void DeleteWmfObject(uint16_t i) {
    if (i >= objects_.size() || objects_[i].kind == TObject::None) return;
    objects_[i] = TObject();
    freeWmf_.push(i);
  }

  void WmfDib(const TMetafileRecord& r, uint32_t dibAt, QRectF dest, QRectF src, uint32_t rop) {
    if (!r.Has(dibAt, 12)) return;
    const uint32_t avail = r.ParamSize - dibAt;
    const uint32_t info = DibInfoSize(r.Params + dibAt, avail);
    if (!info) return;
    DrawDib(r, dibAt, info, dibAt + info, avail - info, dest, src, rop, true);
  }

  void PlayWmf(const TMetafileRecord& r) {
    switch (r.Type) {
      case 0x0103:
        dc_.mapMode = r.U16(0);
        break;  // SETMAPMODE
      case 0x020B:
        dc_.winOrg = QPointF(r.I16(2), r.I16(0));
        break;      // SETWINDOWORG
      case 0x020C:  // SETWINDOWEXT
        if (r.I16(0) && r.I16(2)) dc_.winExt = QSizeF(r.I16(2), r.I16(0));
        break;
      case 0x020F:
        dc_.winOrg += QPointF(r.I16(2), r.I16(0));
        break;        // OFFSETWINDOWORG
      case 0x0410: {  // SCALEWINDOWEXT
        const int yd = r.I16(0), yn = r.I16(2), xd = r.I16(4), xn = r.I16(6);
        if (xd && yd && xn && yn)
          dc_.winExt = QSizeF(dc_.winExt.width() * xn / xd, dc_.winExt.height() * yn / yd);
        break;
      }
      case 0x001E:
        Save();
        break;  // SAVEDC
      case 0x0127:
        Restore(r.I16(0));
        break;  // RESTOREDC
      case 0x0102:
        dc_.bkMode = r.U16(0) == 1 ? bkTransparent : bkOpaque;
        break;  // SETBKMODE
      case 0x0201:
        dc_.bkColor = r.U32(0) & 0xFFFFFF;
        break;  // SETBKCOLOR
      case 0x0209:
        dc_.textColor = r.U32(0) & 0xFFFFFF;
        break;  // SETTEXTCOLOR
      case 0x012E:
        dc_.textAlign = r.U16(0);
        break;  // SETTEXTALIGN
      case 0x0106:
        dc_.fillMode = r.U16(0) == 2 ? pfWinding : pfAlternate;
        break;  // SETPOLYFILLMODE

      case 0x02FA: {  // CREATEPENINDIRECT
        TObject* o = NewWmfObject();
        if (!o) break;
        o->kind = TObject::Pen;
        o->pen = StockPen(r.U32(6) & 0xFFFFFF, r.U16(0));
        o->pen.Width = r.I16(2);
        break;
      }
      case 0x02FC: {  // CREATEBRUSHINDIRECT
        TObject* o = NewWmfObject();
        if (!o) break;
        o->kind = TObject::Brush;
        o->brush = StockBrush(r.U32(2) & 0xFFFFFF, r.U16(0));
        o->brush.Hatch = r.U16(6);
        break;
      }
      case 0x0142: {  // DIBCREATEPATTERNBRUSH
        TObject* o = NewWmfObject();
        if (!o) break;
        o->kind = TObject::Brush;
        o->brush = StockBrush(clGray);
        if (r.Has(4, 12)) {
          const uint32_t avail = r.ParamSize - 4, info = DibInfoSize(r.Params + 4, avail);
          if (info)
            o->brush.Color = AverageColour(DecodeDib(r.Params + 4, info, r.Params + 4 + info, avail - info));
        }
        break;
      }
      case 0x02FB: {  // CREATEFONTINDIRECT
        TObject* o = NewWmfObject();
        if (!o) break;
        o->kind = TObject::Font;
        TLogFont& f = o->font;
        f.Height = r.I16(0);
        f.Width = r.I16(2);
        f.Escapement = r.I16(4);
        f.Orientation = r.I16(6);
        f.Weight = r.I16(8);
        f.Italic = r.U8(10), f.Underline = r.U8(11), f.StrikeOut = r.U8(12), f.CharSet = r.U8(13);
        if (r.ParamSize > 18) {
          const uint32_t n = std::min<uint32_t>(32, r.ParamSize - 18);
          uint32_t len = 0;
          while (len < n && r.U8(18 + len)) ++len;
          f.FaceName = WmfString(r, 18, len);
        }
        break;
      }
      case 0x00F7:
      case 0x01F9:
      case 0x06FF: {  // palette, pattern, region
        if (TObject* o = NewWmfObject()) o->kind = TObject::Other;
        break;
      }
      case 0x012D: {  // SELECTOBJECT
        const uint16_t i = r.U16(0);
        if (i < objects_.size()) Select(&objects_[i]);
        break;
      }
      case 0x01F0:
        DeleteWmfObject(r.U16(0));
        break;  // DELETEOBJECT

      case 0x0214:
        MoveTo(QPoint(r.I16(2), r.I16(0)));
        break;  // MOVETO
      case 0x0213:
        LineTo(QPoint(r.I16(2), r.I16(0)));
        break;  // LINETO
      case 0x0324:
      case 0x0325: {  // POLYGON, POLYLINE
        const int n = r.I16(0);
        if (n <= 0) break;
        auto pts = WmfPoints(r, 2, uint32_t(n));
        if (!pts.empty()) DrawPoly(r.Type == 0x0324 ? EMR_POLYGON : EMR_POLYLINE, pts);
        break;
      }
      case 0x0538: {  // POLYPOLYGON
        const uint32_t polys = r.U16(0);
        if (!r.Has(2, uint64_t(polys) * 2)) break;
        std::vector<int> counts;
        uint32_t total = 0;
        for (uint32_t i = 0; i < polys; ++i) counts.push_back(r.U16(2 + 2 * i)), total += counts.back();
        auto pts = WmfPoints(r, 2 + 2 * polys, total);
        if (pts.size() == total) DrawPolyPoly(true, pts, counts);
        break;
      }
      case 0x041B:
        if (r.Has(0, 8)) DrawRectangle(WmfBox(r, 0));
        break;  // RECTANGLE
      case 0x0418:
        if (r.Has(0, 8)) DrawEllipse(WmfBox(r, 0));
        break;      // ELLIPSE
      case 0x061C:  // ROUNDRECT
        if (r.Has(0, 12)) DrawRoundRect(WmfBox(r, 4), QSize(r.I16(2), r.I16(0)));
        break;
      case 0x0817:
      case 0x081A:
      case 0x0830:  // ARC, PIE, CHORD
        if (r.Has(0, 16))
          DrawArc(r.Type == 0x0817   ? 0
                  : r.Type == 0x0830 ? 1
                                     : 2,
                  WmfBox(r, 8), QPoint(r.I16(6), r.I16(4)), QPoint(r.I16(2), r.I16(0)));
        break;
      case 0x041F: {  // SETPIXEL
        if (!r.Has(0, 8)) break;
        Prepare();
        const QPoint p = Map(QPointF(r.I16(6), r.I16(4)));
        c_.SetPixel(p.x(), p.y(), r.U32(0) & 0xFFFFFF);
        break;
      }
      case 0x0416:
        if (r.Has(0, 8)) IntersectClip(WmfBox(r, 0), false);
        break;  // INTERSECTCLIPRECT
      case 0x0415:
        if (r.Has(0, 8)) IntersectClip(WmfBox(r, 0), true);
        break;  // EXCLUDECLIPRECT
      case 0x012C:
        if (r.U16(0) == 0) dc_.clip = initialClip_;
        break;  // SELECTCLIPREGION (none)

      case 0x0521: {  // TEXTOUT
        const uint32_t n = r.U16(0);
        const uint32_t after = 2 + ((n + 1) & ~1u);
        if (!r.Has(after, 4)) break;
        DrawText(QPoint(r.I16(after + 2), r.I16(after)), WmfString(r, 2, n), 0, QRect(), {});
        break;
      }
      case 0x0A32: {  // EXTTEXTOUT
        if (!r.Has(0, 8)) break;
        const QPoint ref(r.I16(2), r.I16(0));
        const uint32_t n = uint16_t(r.I16(4)), opts = r.U16(6);
        uint32_t at = 8;
        QRect rect;
        if (opts & (ETO_OPAQUE | ETO_CLIPPED)) {
          if (!r.Has(8, 8)) break;
          rect = QRect(QPoint(r.I16(8), r.I16(10)), QPoint(r.I16(12), r.I16(14)));
          at = 16;
        }
        const QString text = WmfString(r, at, n);
        std::vector<int> dx;
        const uint32_t dxAt = at + ((n + 1) & ~1u);
        if (r.Has(dxAt, uint64_t(n) * 2))
          for (uint32_t i = 0; i < n; ++i) dx.push_back(r.I16(dxAt + 2 * i));
        if (dx.size() != size_t(text.size())) dx.clear();
        DrawText(ref, text, opts, rect, dx);
        break;
      }

      case 0x061D: {  // PATBLT
        if (!r.Has(0, 12)) break;
        PatternBlit(QRectF(r.I16(10), r.I16(8), r.I16(6), r.I16(4)), r.U32(0));
        break;
      }
      case 0x0F43: {  // STRETCHDIB
        if (!r.Has(0, 22)) break;
        WmfDib(r, 22, QRectF(r.I16(20), r.I16(18), r.I16(16), r.I16(14)),
               QRectF(r.I16(12), r.I16(10), r.I16(8), r.I16(6)), r.U32(0));
        break;
      }
      case 0x0B41: {              // DIBSTRETCHBLT
        if (r.ParamSize == 22) {  // no bitmap: a pattern operation
          PatternBlit(QRectF(r.I16(20), r.I16(18), r.I16(16), r.I16(14)), r.U32(0));
          break;
        }
        if (!r.Has(0, 20)) break;
        WmfDib(r, 20, QRectF(r.I16(18), r.I16(16), r.I16(14), r.I16(12)),
               QRectF(r.I16(10), r.I16(8), r.I16(6), r.I16(4)), r.U32(0));
        break;
      }
      case 0x0940: {  // DIBBITBLT
        if (r.ParamSize == 18) {
          PatternBlit(QRectF(r.I16(16), r.I16(14), r.I16(12), r.I16(10)), r.U32(0));
          break;
        }
        if (!r.Has(0, 16)) break;
        const QRectF dest(r.I16(14), r.I16(12), r.I16(10), r.I16(8));
        WmfDib(r, 16, dest, QRectF(r.I16(6), r.I16(4), dest.width(), dest.height()), r.U32(0));
        break;
      }
      default:
        break;
    }
  }

  static constexpr uint32_t kExtMarker = 0xFFFFFFFE;  // in a selected pen's handle: an extended pen

  const TMetafile& mf_;
  TCanvas& c_;
  int x1_, y1_, x2_, y2_;
  double refPpmX_ = 96 / 25.4, refPpmY_ = 96 / 25.4;
  QTransform frame_;
  TDc dc_;
  std::vector<TDc> saved_;
  size_t overflowSaves_ = 0;
  std::vector<TObject> objects_;
  std::priority_queue<uint32_t, std::vector<uint32_t>, std::greater<>> freeWmf_;  // free WMF indices
  std::optional<QRegion> initialClip_;
};

}  // namespace

bool PlayMetafile(const TMetafile& metafile, TCanvas& canvas, int x1, int y1, int x2, int y2) {
  TPlayer player(metafile, canvas, x1, y1, x2, y2);
  return player.Play();
}
