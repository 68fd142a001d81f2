#include "editor/ui/canvas_widget.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "editor/canvas_engine.h"
#include "model/image.h"
#include "model/text.h"
#include "shell/language.h"
#include "shell/settings.h"

namespace {

// The pointer shapes objects ask for, by the numbers documents use.
Qt::CursorShape ShapeOf(int16_t cursor) {
  switch (cursor) {
    case -21:
      return Qt::PointingHandCursor;
    case -14:
      return Qt::SplitHCursor;
    case -15:
      return Qt::SplitVCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace

TzunoCADSurface::TzunoCADSurface(TzunoCADView* view) : QWidget(view), view_(view) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  InstallPictureAccessibility();
}

QList<int> TzunoCADSurface::Items() const {
  QList<int> items;
  const TzunoCADMdl& d = view_->engine_->Mdl();
  for (int i = d.Count() - 1; i >= 0; --i)
    if (d.Objet(i)->OnCurrentFace()) items << i;
  return items;
}

int TzunoCADSurface::ItemCount() const {
  return static_cast<int>(Items().size());
}

QString TzunoCADSurface::ItemName(int i) const {
  const QList<int> items = Items();
  if (i < 0 || i >= items.size()) return QString();
  TzunoCADObj* o = view_->engine_->Mdl().Objet(items[i]);
  QString name = MLText(QStringLiteral("layer_") + o->Name);
  if (name.isEmpty()) name = o->Name;
  // What tells objects of a kind apart: a text's words, a picture's file, else its code.
  QString detail;
  if (auto* text = dynamic_cast<TzunoCADTexte*>(o))
    detail = text->txt.section(QLatin1Char('|'), 0, 0).trimmed();
  else if (auto* image = dynamic_cast<TzunoCADImage*>(o))
    detail = QFileInfo(ReferenceName(image->FichierImage)).completeBaseName();
  if (detail.isEmpty()) detail = o->Code;
  return detail.isEmpty() ? name : name + QStringLiteral(" : ") + detail;
}

QString TzunoCADSurface::ItemHint(int i) const {
  const QList<int> items = Items();
  if (i < 0 || i >= items.size()) return QString();
  auto* text = dynamic_cast<TzunoCADTexte*>(view_->engine_->Mdl().Objet(items[i]));
  return text ? QString(text->Displayed).replace(QLatin1Char('|'), QLatin1Char('\n')) : QString();
}

QRect TzunoCADSurface::ItemRect(int i) const {
  const QList<int> items = Items();
  if (i < 0 || i >= items.size()) return QRect();
  bool known = false;
  const QRect r = view_->engine_->PaintBounds(view_->engine_->Mdl().Objet(items[i]), &known);
  return known ? r.translated(view_->engine_->ImagePos())
               : QRect(view_->engine_->ImagePos(), view_->engine_->Image().size());
}

void TzunoCADSurface::PressItem(int i) {
  const QList<int> items = Items();
  if (i < 0 || i >= items.size()) return;
  view_->engine_->SelectIndex(items[i]);
  view_->Tick();
}

void TzunoCADSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const TzunoCAD& engine = *view_->engine_;
  const QRect page(engine.ImagePos(), engine.Image().size());
  for (const QRect& r : QRegion(event->rect()).subtracted(QRegion(page)))
    p.fillRect(r, QColor(233, 237, 242));
  // Only the asked part: during a drag that is the small area the object moved through.
  const QRect target = event->rect() & page;
  if (!target.isEmpty()) p.drawImage(target, engine.Image(), target.translated(-engine.ImagePos()));
}

void TzunoCADSurface::mousePressEvent(QMouseEvent* event) {
  view_->setFocus(Qt::MouseFocusReason);
  view_->engine_->MouseDown(view_->EnginePixel(event->position()), event->button(),
                            event->modifiers() & Qt::ShiftModifier);
  view_->Tick();
}

void TzunoCADSurface::mouseMoveEvent(QMouseEvent* event) {
  view_->engine_->MouseMove(view_->EnginePixel(event->position()), event->modifiers() & Qt::ShiftModifier);
  view_->FollowPointer();
}

void TzunoCADSurface::mouseReleaseEvent(QMouseEvent* event) {
  view_->engine_->MouseUp(view_->EnginePixel(event->position()), event->button(),
                          event->modifiers() & Qt::ShiftModifier);
  view_->Tick();
}

TzunoCADView::TzunoCADView(QWidget* parent) : QScrollArea(parent), engine_(std::make_unique<TzunoCAD>()) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  surface_ = new TzunoCADSurface(this);
  setWidget(surface_);
  setWidgetResizable(false);
  if (Soft()) engine_->UserPath = Soft()->UserPath;
  // Requests gather between ticks: a drag paints at most once per tick however fast the pointer moves.
  tick_.setInterval(10);
  connect(&tick_, &QTimer::timeout, this, &TzunoCADView::Tick);
  tick_.start();
}

TzunoCADView::~TzunoCADView() = default;

void TzunoCADView::Tick() {
  if (!engine_->Tick()) return;
  const QSize view = viewport()->size();
  const QPoint pos = engine_->ImagePos();
  const QSize needed(std::max(view.width(), pos.x() + engine_->Image().width()),
                     std::max(view.height(), pos.y() + engine_->Image().height()));
  if (surface_->size() != needed) {
    surface_->resize(needed);
    surface_->update();
  } else {
    surface_->update(engine_->LastRenderPartial() ? engine_->ChangedArea().translated(pos)
                                                  : surface_->rect());
  }
}

QPointF TzunoCADView::EnginePixel(QPointF surfacePos) const {
  return surfacePos - QPointF(engine_->ImagePos());
}

QPoint TzunoCADView::PixelOf(QPointF mm) const {
  return engine_->ImagePos() + QPoint(engine_->MmToPixelX(mm.x()), engine_->MmToPixelY(mm.y()));
}

void TzunoCADView::FollowPointer() {
  surface_->setCursor(ShapeOf(engine_->PointerShape()));
}

void TzunoCADView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  engine_->SetControlSize(viewport()->size());
  engine_->RequestRepaint();
  Tick();
}

void TzunoCADView::keyPressEvent(QKeyEvent* event) {
  if ((event->modifiers() & Qt::ControlModifier) && event->key() == Qt::Key_0) {
    ZoomToFit();
    return;
  }
  engine_->KeyDown(event->key(), event->modifiers());
  Tick();
}

void TzunoCADView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QScrollArea::wheelEvent(event);
    return;
  }
  event->accept();
  const int steps = event->angleDelta().y() / 120;
  if (steps != 0) ZoomAt(std::pow(1.25, steps), event->position());
}

void TzunoCADView::ZoomAt(double factor, QPointF viewportPos) {
  TzunoCAD& c = *engine_;
  const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  const QPointF mm = c.PixelToMm(viewportPos + scroll - QPointF(c.ImagePos()));
  // The zoom that fits the page, as the automatic zoom computes it.
  const double zoom = c.ZoomX;
  c.AutoZoom = true;
  c.ApplyZoom();
  const double fit = c.ZoomX;
  const double wanted = std::min(zoom * factor, 200.0);
  if (wanted <= fit * 1.0001) {
    ZoomToFit();
    return;
  }
  c.AutoZoom = false;
  c.ZoomX = c.ZoomY = wanted;
  c.ApplyZoom();
  c.RequestRepaint();
  Tick();
  // The same page point under the pointer again.
  const QPointF at = QPointF(c.ImagePos()) + QPointF(mm.x() * c.ZoomX, mm.y() * c.ZoomY) - viewportPos;
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(at.x())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(at.y())));
  if (c.OnChange) c.OnChange(&c, c.SelectedObj());
}

void TzunoCADView::ZoomToFit() {
  TzunoCAD& c = *engine_;
  c.AutoZoom = true;
  c.ApplyZoom();
  c.RequestRepaint();
  Tick();
  if (c.OnChange) c.OnChange(&c, c.SelectedObj());
}

void TzunoCADView::keyReleaseEvent(QKeyEvent* event) {
  engine_->KeyUp(event->modifiers());
}
