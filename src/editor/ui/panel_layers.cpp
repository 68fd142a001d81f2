#include "editor/ui/panel_layers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "editor/canvas_engine.h"
#include "model/document.h"
#include "model/object.h"
#include "shell/language.h"

namespace {

QImage LockGlyph() {
  QImage g(10, 12, QImage::Format_ARGB32);
  g.fill(Qt::transparent);
  QPainter p(&g);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1.5));
  p.drawArc(QRectF(2, 0.5, 6, 8), 0, 180 * 16);
  p.drawLine(QPointF(2, 4.5), QPointF(2, 6));
  p.drawLine(QPointF(8, 4.5), QPointF(8, 6));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 150, 40));
  p.drawRect(QRectF(0.5, 5.5, 9, 6));
  return g;
}

QImage LayerGlyph() {
  QImage g(14, 14, QImage::Format_ARGB32);
  g.fill(Qt::transparent);
  QPainter p(&g);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(70, 90, 140));
  for (int k = 1; k >= 0; --k) {
    const double dy = 4 * k;
    const QPointF diamond[4] = {{7, 1 + dy}, {13, 4 + dy}, {7, 7 + dy}, {1, 4 + dy}};
    p.setBrush(k ? QColor(160, 185, 230) : QColor(210, 225, 250));
    p.drawPolygon(diamond, 4);
  }
  return g;
}

}  // namespace

TLayerList::TLayerList(QWidget* parent) : QAbstractScrollArea(parent) {
  InstallPictureAccessibility();
  setObjectName(QStringLiteral("lbCalque"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { viewport()->update(); });
  viewport()->setMouseTracking(false);
  setFocusPolicy(Qt::StrongFocus);
  lock_ = LockGlyph();
  layer_ = LayerGlyph();
}

int TLayerList::TopRow() const {
  return verticalScrollBar()->value();
}

void TLayerList::Lister() {
  rows_.clear();
  if (cad_) {
    const TzunoCADMdl& d = cad_->Mdl();
    for (int i = 0; i < d.Count(); ++i)
      if (d.Objet(i)->Face == d.CurrentFace) rows_.prepend(i);
  }
  UpdateScroll();
  viewport()->update();
}

void TLayerList::UpdateScroll() {
  const int visible = std::max(1, viewport()->height() / kRow);
  verticalScrollBar()->setRange(0, std::max(0, int(rows_.size()) - visible));
  verticalScrollBar()->setPageStep(visible);
}

void TLayerList::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScroll();
}

bool TLayerList::RowLocked(int row) const {
  if (!cad_ || row < 0 || row >= rows_.size() || rows_[row] >= cad_->Mdl().Count()) return false;
  return !cad_->Mdl().Objet(rows_[row])->CanSelect;
}

QRect TLayerList::RowRect(int row) const {
  return QRect(0, (row - TopRow()) * kRow, viewport()->width(), kRow);
}

QString TLayerList::RowCaption(int row) const {
  if (!cad_ || row < 0 || row >= rows_.size() || rows_[row] >= cad_->Mdl().Count()) return {};
  return MLText(QStringLiteral("layer_") + cad_->Mdl().Objet(rows_[row])->Name);
}

void TLayerList::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), Qt::white);
  if (!cad_) return;
  const TzunoCADMdl& d = cad_->Mdl();
  const int top = TopRow();
  for (int row = top; row < rows_.size(); ++row) {
    const int y = (row - top) * kRow;
    if (y > viewport()->height()) break;
    if (rows_[row] >= d.Count()) continue;
    const TzunoCADObj* o = d.Objet(rows_[row]);
    const QRect r(0, y, viewport()->width(), kRow);
    p.fillRect(r, o == cad_->SelectedObj() ? QColor(255, 227, 71) : QColor(Qt::white));
    p.drawImage(2, y + 1, layer_);
    p.setPen(Qt::black);
    p.drawText(QRect(20, y, kLockX - 22, kRow), Qt::AlignLeft | Qt::AlignVCenter, RowCaption(row));
    if (o->CanSelect) {
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::black);
      p.drawEllipse(QRect(kLockX + 3, y + 6, 4, 4));
    } else {
      p.drawImage(kLockX, y + 2, lock_);
    }
  }
  // The drop bar sits on the boundary above the drop row, unless the drop changes nothing.
  if (dragRow_ >= 0 && dropRow_ >= 0 && dropRow_ != dragRow_ && dropRow_ != dragRow_ + 1) {
    const int y = (dropRow_ - top) * kRow;
    p.fillRect(QRect(0, y - 1, viewport()->width(), 2), Qt::black);
  }
}

void TLayerList::Press(QPoint pos) {
  if (pos.y() < 0) return;
  PressRow(TopRow() + pos.y() / kRow, pos.x() > kLockX);
}

void TLayerList::PressRow(int row, bool lock) {
  if (!cad_ || row < 0 || row >= rows_.size()) return;
  const int index = rows_[row];
  if (index >= cad_->Mdl().Count()) return;
  TzunoCADObj* o = cad_->Mdl().Objet(index);
  if (lock) o->CanSelect = !o->CanSelect;
  cad_->SelectIndex(index);
  QApplication::processEvents();
  dragRow_ = row;
  dropRow_ = -1;
  viewport()->update();
  // Selecting is no change of the document; locking is.
  if (lock && OnChanged) OnChanged();
}

void TLayerList::DragTo(QPoint pos) {
  if (dragRow_ < 0) return;
  dropRow_ = TopRow() + (pos.y() + kRow / 2) / kRow;
  viewport()->update();
}

void TLayerList::Drop() {
  const int from = dragRow_, to = dropRow_;
  dragRow_ = -1;
  dropRow_ = -1;
  if (from >= 0 && to >= 0 && to != from) MoveRow(from, to);
  viewport()->update();
}

void TLayerList::MoveRow(int from, int to) {
  if (!cad_ || from < 0 || from >= rows_.size()) return;
  TzunoCADMdl& d = cad_->Mdl();
  const int s = rows_[from];
  if (s >= d.Count()) return;
  int target = 0;
  if (to < rows_.size()) {
    const int t = rows_[to];
    target = t < s ? t + 1 : t;
  }
  if (target == s) return;
  d.MoveObjet(s, target);
  Lister();
  cad_->RequestRepaint();
  if (OnChanged) OnChanged();
}

void TLayerList::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  pressAt_ = e->position().toPoint();
  holding_ = true;
  Press(pressAt_);
}

void TLayerList::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton) || dragRow_ < 0) return;
  if (dropRow_ < 0 &&
      (e->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance())
    return;
  DragTo(e->position().toPoint());
}

void TLayerList::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (dropRow_ >= 0)
    Drop();
  else
    dragRow_ = -1;
  holding_ = false;
  if (OnReleased) OnReleased();
}

int TLayerList::ItemCount() const {
  return static_cast<int>(rows_.size());
}

QString TLayerList::ItemName(int i) const {
  return RowCaption(i);
}

QRect TLayerList::ItemRect(int i) const {
  return RowRect(i).translated(viewport()->pos());
}

void TLayerList::PressItem(int i) {
  PressRow(i, false);
}

bool TLayerList::ItemChecked(int i) const {
  return RowLocked(i);
}

void TLayerList::ToggleItem(int i) {
  PressRow(i, true);
}

bool TLayerList::ItemOffscreen(int i) const {
  const int top = TopRow();
  return i < top || (i - top) * kRow > viewport()->height();
}
