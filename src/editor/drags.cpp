#include "editor/drags.h"

#include <cmath>
#include <vector>

#include "model/document.h"
#include "model/shapes.h"

void TSnapper::Snap(const TzunoCADMdl& doc, TzunoCADRect& box) const {
  struct Target {
    double value;
    bool vertical;  // an x target
  };
  std::vector<Target> targets{{0, true}, {doc.Large, true}};
  if (PageMiddle) targets.push_back({doc.Large / 2, true});
  targets.push_back({0, false});
  targets.push_back({doc.Haut, false});
  for (const auto& o : doc.Objets()) {
    const auto* mark = dynamic_cast<const TzunoCADRepere*>(o.get());
    if (mark && (mark->sens == 1 || mark->sens == 2)) targets.push_back({mark->position, mark->sens == 1});
  }
  for (int k = 0; k <= 4; ++k) {
    const QPointF p = box.HandlePos(k);
    for (const Target& t : targets) {
      const double d = t.value - (t.vertical ? p.x() : p.y());
      if (std::lround(std::fabs(d) * (t.vertical ? ScaleX : ScaleY)) >= 8) continue;
      (t.vertical ? box.x : box.y) += d;
    }
  }
}

namespace {

// Every box drag can restore the box it started from.
class TBoxDrag : public TDrag {
 public:
  explicit TBoxDrag(TzunoCADRect* box)
      : box_(box), x_(box->x), y_(box->y), l_(box->l), h_(box->h), r_(box->r) {
    box->StartDrag();
  }
  void Cancel() override {
    box_->x = x_;
    box_->y = y_;
    box_->l = l_;
    box_->h = h_;
    box_->r = r_;
  }
  TzunoCADObj* Object() const override { return box_; }

 protected:
  TzunoCADRect* box_;

 private:
  double x_, y_, l_, h_, r_;
};

class TMoveDrag : public TBoxDrag {
 public:
  TMoveDrag(TzunoCADRect* box, const TSnapper& snapper) : TBoxDrag(box), snapper_(snapper) {}
  void Update(QPointF, QPointF target, bool shift) override {
    box_->x = target.x();
    box_->y = target.y();
    if (!shift) snapper_.Snap(*box_->Document(), *box_);
  }

 private:
  TSnapper snapper_;
};

class TRotateDrag : public TBoxDrag {
 public:
  using TBoxDrag::TBoxDrag;
  void Update(QPointF mouse, QPointF, bool shift) override { box_->RotateTo(mouse, shift); }
};

class TResizeCenteredDrag : public TBoxDrag {
 public:
  using TBoxDrag::TBoxDrag;
  void Update(QPointF mouse, QPointF, bool shift) override { box_->ResizeCentered(mouse, shift); }
};

class TResizeAnchoredDrag : public TBoxDrag {
 public:
  using TBoxDrag::TBoxDrag;
  void Update(QPointF mouse, QPointF, bool) override { box_->ResizeAnchored(mouse); }
};

class TMarkDrag : public TDrag {
 public:
  explicit TMarkDrag(TzunoCADRepere* mark) : mark_(mark), position_(mark->position) {}
  void Update(QPointF, QPointF target, bool) override {
    mark_->position = std::round(mark_->sens == 1 ? target.x() : target.y());
    mark_->ClampRepere();
  }
  void Cancel() override { mark_->position = position_; }
  TzunoCADObj* Object() const override { return mark_; }

 private:
  TzunoCADRepere* mark_;
  double position_;
};

// A point of a line; in select mode an anchor without Shift carries the whole line.
class TLinePointDrag : public TDrag {
 public:
  TLinePointDrag(TzunoCADLigne* line, int index) : line_(line), index_(index), points_(line->Points) {}
  void Update(QPointF, QPointF target, bool shift) override {
    line_->MovePoint(index_, target, shift, !shift);
  }
  void Cancel() override { line_->Points = points_; }
  TzunoCADObj* Object() const override { return line_; }

 private:
  TzunoCADLigne* line_;
  int index_;
  QList<QPointF> points_;
};

}  // namespace

std::unique_ptr<TDrag> MakeDrag(TzunoCADObj* obj, int code, const TSnapper& snapper) {
  if (!obj || code < 0) return nullptr;
  if (obj->IsBox()) {
    auto* box = static_cast<TzunoCADRect*>(obj);
    switch (code) {
      case 0:
        return std::make_unique<TMoveDrag>(box, snapper);
      case 2:
        return std::make_unique<TRotateDrag>(box);
      case 3:
        return std::make_unique<TResizeCenteredDrag>(box);
      default:
        return code <= 8 ? std::make_unique<TResizeAnchoredDrag>(box) : nullptr;
    }
  }
  if (auto* line = dynamic_cast<TzunoCADLigne*>(obj); line && code < line->Points.size())
    return std::make_unique<TLinePointDrag>(line, code);
  if (auto* mark = dynamic_cast<TzunoCADRepere*>(obj); mark && code == 0)
    return std::make_unique<TMarkDrag>(mark);
  return nullptr;
}
