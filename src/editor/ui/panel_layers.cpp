#include "editor/ui/panel_layers.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
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

namespace {

// A row of the list for assistive technologies: named by its caption, checked while locked; pressing
// selects its object, toggling locks or unlocks it.
class TLayerRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TLayerRowAccessible(TLayerList* list, QAccessibleInterface* parent, int row)
      : list_(list), parent_(parent), row_(row) {}

  bool isValid() const override { return list_ && row_ < list_->Rows().size(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent_->window(); }
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return isValid() && t == QAccessible::Name ? list_->RowCaption(row_) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return QRect();
    const QRect r = list_->RowRect(row_);
    return QRect(list_->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.selectable = true;
    s.checkable = true;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.checked = list_->RowLocked(row_);
    const int top = list_->TopRow();
    s.offscreen = row_ < top || (row_ - top) * TLayerList::kRow > list_->viewport()->height();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
  void doAction(const QString& name) override {
    if (!isValid()) return;
    if (name == pressAction()) list_->PressRow(row_, false);
    if (name == toggleAction()) list_->PressRow(row_, true);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<TLayerList> list_;
  QAccessibleInterface* parent_;
  int row_;
};

class TLayerListAccessible : public QAccessibleWidget {
 public:
  explicit TLayerListAccessible(TLayerList* list) : QAccessibleWidget(list, QAccessible::List) {}
  ~TLayerListAccessible() override {
    for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
  }
  TLayerList* List() const { return static_cast<TLayerList*>(widget()); }
  int childCount() const override { return int(List()->Rows().size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    auto it = ids_.constFind(index);
    if (it != ids_.constEnd()) return QAccessible::accessibleInterface(*it);
    auto* row = new TLayerRowAccessible(List(), const_cast<TLayerListAccessible*>(this), index);
    ids_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (auto it = ids_.constBegin(); it != ids_.constEnd(); ++it)
      if (QAccessible::accessibleInterface(*it) == child) return it.key();
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = List()->viewport()->mapFromGlobal(QPoint(x, y));
    const int row = List()->TopRow() + p.y() / TLayerList::kRow;
    return p.y() >= 0 && row < childCount() ? child(row) : nullptr;
  }

 private:
  mutable QHash<int, QAccessible::Id> ids_;
};

QAccessibleInterface* LayerFactory(const QString&, QObject* object) {
  if (auto* list = qobject_cast<TLayerList*>(object)) return new TLayerListAccessible(list);
  return nullptr;
}

}  // namespace

TLayerList::TLayerList(QWidget* parent) : QAbstractScrollArea(parent) {
  static const bool factory = [] {
    QAccessible::installFactory(LayerFactory);
    return true;
  }();
  (void)factory;
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
}
