#include "model/object.h"

#include <cmath>
#include <numbers>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"

namespace {

bool NameIs(const QString& line, QStringView key) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return false;
  return QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0;
}

constexpr double kDeg = std::numbers::pi / 180.0;

}  // namespace

bool PropFind(const QStringList& list, QStringView key, QString* value) {
  for (const QString& line : list) {
    if (line.size() > key.size() && line[key.size()] == QLatin1Char('=') && NameIs(line, key)) {
      if (value) *value = line.mid(key.size() + 1);
      return true;
    }
  }
  return false;
}

QString PropValue(const QStringList& list, QStringView key) {
  QString v;
  PropFind(list, key, &v);
  return v;
}

QPointF RotatePoint(QPointF c, QPointF p, double degrees) {
  const double t = degrees * kDeg;
  const double dx = p.x() - c.x(), dy = p.y() - c.y();
  const double cs = std::cos(t), sn = std::sin(t);
  return QPointF(c.x() + dx * cs - dy * sn, c.y() + dx * sn + dy * cs);
}

bool PointInPolygon(const QPoint* pts, int n, QPoint p) {
  bool inside = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    const QPoint a = pts[j], b = pts[i];
    if ((a.y() > p.y()) != (b.y() > p.y())) {
      // p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y), without division
      const long long dy = static_cast<long long>(b.y()) - a.y();
      const long long lhs = (static_cast<long long>(p.x()) - a.x()) * dy;
      const long long rhs = (static_cast<long long>(p.y()) - a.y()) * (static_cast<long long>(b.x()) - a.x());
      if (dy > 0 ? lhs < rhs : lhs > rhs) inside = !inside;
    }
  }
  return inside;
}

// ---------------------------------------------------------------------------------------------

TzunoCADObj::TzunoCADObj(TzunoCADMdl* document) : document_(document) {}

TCanvas& TzunoCADObj::MeasureCanvas() const {
  return document_->MeasureCanvas();
}

QStringList TzunoCADObj::GetProperties() {
  QStringList p;
  p.reserve(16);
  PropAdd(p, u"Name", Name);
  PropAdd(p, u"Face", WriteInt(Face));
  if (Tag != 0) PropAdd(p, u"Tag", WriteInt(Tag));
  if (!Code.isEmpty()) PropAdd(p, u"Code", Code);
  PropAdd(p, u"CanSelect", WriteBool(CanSelect));
  PropAdd(p, u"Pen", WritePen(Pen));
  PropAdd(p, u"Brush", WriteBrush(Brush));
  return p;
}

void TzunoCADObj::SetProperties(const QStringList& list) {
  Face = ReadInt(PropValue(list, u"Face"));
  if (Face == 0) Face = 1;
  Tag = ReadInt(PropValue(list, u"Tag"));
  Code = PropValue(list, u"Code");
  CanSelect = ReadBool(PropValue(list, u"CanSelect"));
  ReadPen(PropValue(list, u"Pen"), Pen);
  ReadBrush(PropValue(list, u"Brush"), Brush);
}

// ---------------------------------------------------------------------------------------------

TzunoCADRect::TzunoCADRect(TzunoCADMdl* document) : TzunoCADObj(document) {
  HandleEnabled.fill(true);
  HandleEnabled[0] = false;
  HandleEnabled[1] = false;
  HandleEnabled[4] = false;
  if (TObjectHost* host = ObjectHost())
    MinDim = ReadReal(host->ReadSoftString(QStringLiteral("rect_dim_min")));
}

QStringList TzunoCADRect::GetProperties() {
  QStringList p = TzunoCADObj::GetProperties();
  PropAdd(p, u"x", WriteReal(x));
  PropAdd(p, u"y", WriteReal(y));
  PropAdd(p, u"l", WriteReal(l));
  PropAdd(p, u"h", WriteReal(h));
  PropAdd(p, u"r", WriteReal(r));
  return p;
}

void TzunoCADRect::SetProperties(const QStringList& list) {
  TzunoCADObj::SetProperties(list);
  x = ReadReal(PropValue(list, u"x"));
  y = ReadReal(PropValue(list, u"y"));
  l = ReadReal(PropValue(list, u"l"));
  h = ReadReal(PropValue(list, u"h"));
  r = ReadReal(PropValue(list, u"r"));
}

QPointF TzunoCADRect::HandlePos(int k) const {
  const double left = x - l / 2, right = x + l / 2, top = y - h / 2, bottom = y + h / 2;
  double px, py;
  switch (k) {
    case 1:
      px = left;
      py = top;
      break;
    case 2:
      px = right;
      py = top;
      break;
    case 3:
      px = right;
      py = bottom;
      break;
    case 4:
      px = left;
      py = bottom;
      break;
    case 5:
      px = x;
      py = top;
      break;
    case 6:
      px = right;
      py = y;
      break;
    case 7:
      px = x;
      py = bottom;
      break;
    case 8:
      px = left;
      py = y;
      break;
    default:
      return QPointF(x, y);
  }
  return RotateAround(QPointF(px, py));
}

QPointF TzunoCADRect::RotateAround(QPointF p) const {
  return RotatePoint(QPointF(x, y), p, r);
}

int TzunoCADRect::HitTest(QPointF p) {
  if (!CanSelect) return -1;
  const double tx = std::fabs(document_->PxToMmX(3)), ty = std::fabs(document_->PxToMmY(3));
  int result = -1;
  for (int k = 1; k <= 8; ++k) {
    if (!HandleEnabled[k]) continue;
    const QPointF hp = HandlePos(k);
    if (std::fabs(hp.x() - p.x()) < tx && std::fabs(hp.y() - p.y()) < ty) result = k;
  }
  if (result != -1) return result;
  QPoint quad[4];
  for (int k = 1; k <= 4; ++k) {
    const QPointF hp = HandlePos(k);
    quad[k - 1] =
        QPoint(static_cast<int>(RoundEven(hp.x() * 100)), static_cast<int>(RoundEven(hp.y() * 100)));
  }
  const QPoint q(static_cast<int>(RoundEven(p.x() * 100)), static_cast<int>(RoundEven(p.y() * 100)));
  return PointInPolygon(quad, 4, q) ? 0 : -1;
}

QPointF TzunoCADRect::LocalOffset(QPointF p, QPointF centre) const {
  const double dx = p.x() - centre.x(), dy = p.y() - centre.y();
  const double t = r * kDeg, cs = std::cos(t), sn = std::sin(t);
  return QPointF(dx * cs + dy * sn, -dx * sn + dy * cs);
}

void TzunoCADRect::ClampToMinimum() {
  if (l < MinDim) l = MinDim;
  if (h < MinDim) h = MinDim;
}

void TzunoCADRect::StartDrag() {
  AnchorX = x;
  AnchorY = y;
  StartL = l;
  StartH = h;
}

void TzunoCADRect::RotateTo(QPointF p, bool shift) {
  const double dx = p.x() - x, dy = p.y() - y;
  const double a = std::atan2(l, h) / kDeg;  // corner angle; atan(l / h) for a non-empty box
  if (dy > 0)
    r = 180 - (a + std::atan(dx / dy) / kDeg);
  else if (dy < 0)
    r = -(a + std::atan(dx / dy) / kDeg);
  else if (dx > 0)
    r = 90 - a;
  else
    r = -90 - a;
  if (shift) r = std::round(r / 22.5) * 22.5;
  const double g = 2 * std::sqrt(dx * dx + dy * dy);
  if (g > 0) {
    if (l == 0 && h == 0) {
      l = h = g / std::numbers::sqrt2;
    } else if (h == 0) {
      l = g;
    } else if (l == 0) {
      h = g;
    } else {
      const double k = l / h;
      h = std::sqrt(g * g / (k * k + 1));
      l = std::sqrt(g * g / (1 / (k * k) + 1));
    }
  }
  ClampToMinimum();
}

void TzunoCADRect::ResizeCentered(QPointF p, bool shift) {
  const QPointF uv = LocalOffset(p, QPointF(x, y));
  l = 2 * uv.x();
  h = 2 * uv.y();
  ClampToMinimum();
}

void TzunoCADRect::ResizeAnchored(QPointF p) {
  const QPointF uv = LocalOffset(p, QPointF(AnchorX, AnchorY));
  const double u = uv.x(), v = uv.y(), l0 = StartL, h0 = StartH;
  double nl = l, nh = h;
  // Fixed point per handle, as signs of the half sizes.
  double fx = 0, fy = 0;
  switch (HitCode) {
    case 1:
      nl = l0 / 2 - u;
      nh = h0 / 2 - v;
      fx = 1;
      fy = 1;
      break;
    case 4:
      nl = l0 / 2 - u;
      nh = h0 / 2 + v;
      fx = 1;
      fy = -1;
      break;
    case 5:
      nh = h0 / 2 - v;
      fy = 1;
      break;
    case 6:
      nl = l0 / 2 + u;
      fx = -1;
      break;
    case 7:
      nh = h0 / 2 + v;
      fy = -1;
      break;
    case 8:
      nl = l0 / 2 - u;
      fx = 1;
      break;
    default:
      return;
  }
  if (fx != 0) nl = std::max(nl, std::fabs(document_->PxToMmX(5)));
  if (fy != 0) nh = std::max(nh, std::fabs(document_->PxToMmY(5)));
  const QPointF before(fx * l0 / 2, fy * h0 / 2), after(fx * nl / 2, fy * nh / 2);
  const QPointF o(0, 0);
  const QPointF rb = RotatePoint(o, before, r), ra = RotatePoint(o, after, r);
  x = AnchorX + rb.x() - ra.x();
  y = AnchorY + rb.y() - ra.y();
  l = nl;
  h = nh;
}
