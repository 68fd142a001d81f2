// What one press-and-move does to the selected object: each kind of drag is its own small object
// that remembers the state at button-down so it can be cancelled.
#pragma once

#include <QPointF>
#include <memory>

class TzunoCADObj;
class TzunoCADRect;
class TzunoCADRepere;
class TzunoCADMdl;

// Page edges and guide marks a moved box is pulled onto.
struct TSnapper {
  // Pixels per millimetre on each axis and the page centre line (debug builds of the editor).
  double ScaleX = 1, ScaleY = 1;
  bool PageMiddle = false;
  // Moves the box's centre so that its centre or a corner lands on a page edge or a guide mark
  // closer than 8 pixels (rounded); adjustments of the five points add up.
  void Snap(const TzunoCADMdl& doc, TzunoCADRect& box) const;
};

class TDrag {
 public:
  virtual ~TDrag() = default;
  // mouse: pointer in millimetres; target: pointer plus the offset taken at button-down.
  virtual void Update(QPointF mouse, QPointF target, bool shift) = 0;
  // Puts the object back as it was at button-down.
  virtual void Cancel() = 0;
  virtual TzunoCADObj* Object() const = 0;
};

// The drag for an object grabbed at hit code `code`; null when the object cannot be dragged so.
std::unique_ptr<TDrag> MakeDrag(TzunoCADObj* obj, int code, const TSnapper& snapper);
