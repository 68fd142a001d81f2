// The layer list of the property panel: one 16-pixel row per object of the current face, topmost
// first, with a lock column; rows are dragged to restack the objects.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <functional>

#include "catalogue/ui/picture_accessible.h"

class TzunoCAD;

// For assistive technologies each row is an item named by its caption, checked while locked:
// pressing selects its object, toggling locks or unlocks it.
class TLayerList : public QAbstractScrollArea, public TPictureItems {
  Q_OBJECT
 public:
  explicit TLayerList(QWidget* parent = nullptr);

  int ItemCount() const override;
  QString ItemName(int i) const override;
  QRect ItemRect(int i) const override;
  void PressItem(int i) override;
  bool ItemsCheckable() const override { return true; }
  bool ItemChecked(int i) const override;
  void ToggleItem(int i) override;
  bool ItemOffscreen(int i) const override;

  static constexpr int kRow = 16;
  static constexpr int kLockX = 150;

  void SetCAD(TzunoCAD* cad) { cad_ = cad; }
  // One row per object of the current face, the row holding the object's index; topmost first.
  void Lister();
  const QList<int>& Rows() const { return rows_; }
  int TopRow() const;
  // The row's caption: the language text of "layer_" and the object's type name.
  QString RowCaption(int row) const;
  bool RowLocked(int row) const;
  // Where the row is drawn in the viewport.
  QRect RowRect(int row) const;
  // As a click on the row, in the lock column when `lock`; assistive technologies press rows so.
  void PressRow(int row, bool lock);

  // Pointer input in viewport coordinates, as the mouse events give it.
  void Press(QPoint p);
  void DragTo(QPoint p);
  void Drop();
  int DropRow() const { return dropRow_; }
  // Moves the object of row `from` above the object of row `to` (below the last row: to the bottom).
  void MoveRow(int from, int to);

  // Called after a lock was toggled and after a drop moved an object.
  std::function<void()> OnChanged;
  // A row is held with the mouse button: whatever the press changes around the list waits for the
  // release (OnReleased), so the list stays where it is under the pointer.
  bool Holding() const { return holding_; }
  std::function<void()> OnReleased;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void UpdateScroll();
  TzunoCAD* cad_ = nullptr;
  QList<int> rows_;
  int dragRow_ = -1;
  int dropRow_ = -1;
  bool holding_ = false;
  QPoint pressAt_;
  QImage lock_, layer_;
};
