#include "editor/canvas_engine.h"

#include <cmath>

#include "render/canvas.h"

namespace {

// Type placed by each placement mode; empty for the others.
QString PlacedType(int mode) {
  switch (mode) {
    case 2:
      return QStringLiteral("rectangle");
    case 4:
      return QStringLiteral("texte");
    case 5:
      return QStringLiteral("image");
    case 6:
      return QStringLiteral("groupe");
    case 8:
      return QStringLiteral("arbo");
    case 9:
      return QStringLiteral("cal");
    case 10:
      return QStringLiteral("codebarre");
    case 11:
      return QStringLiteral("perforatrice");
    case 12:
      return QStringLiteral("tampon");
    case 13:
      return QStringLiteral("cadre");
    default:
      return QString();
  }
}

}  // namespace

TzunoCAD::TzunoCAD(QSize control)
    : mdl_(std::make_unique<TzunoCADMdl>(this, QRect(QPoint(0, 0), control), 21, 29.7)), control_(control) {
  ApplyZoom();
}

TzunoCAD::~TzunoCAD() {
  // The document tells no one while it is destroyed; drop our pointers first.
  drag_.reset();
  hover_ = selected_ = nullptr;
  mdl_.reset();
}

void TzunoCAD::ForgetObjects() {
  drag_.reset();
  hover_ = selected_ = nullptr;
}

void TzunoCAD::ObjetSupprime(TzunoCADMdl*, TzunoCADObj* obj) {
  if (drag_ && drag_->Object() == obj) drag_.reset();
  if (hover_ == obj) hover_ = nullptr;
  if (selected_ == obj) selected_ = nullptr;
}

void TzunoCAD::SetControlSize(QSize size) {
  control_ = size;
  RequestRepaint();
}

void TzunoCAD::ApplyZoom() {
  TzunoCADMdl& d = *mdl_;
  if (AutoZoom && d.Large > 0 && d.Haut > 0 && control_.width() > 0 && control_.height() > 0) {
    double zoom;
    if (d.Large / d.Haut >= double(control_.width()) / control_.height())
      zoom = (control_.width() - Margin) / d.Large;
    else
      zoom = (control_.height() - Margin) / d.Haut;
    // A control smaller than its margin keeps the last usable zoom.
    if (zoom > 0) ZoomX = ZoomY = zoom;
  }
  SyncScales();
}

bool TzunoCAD::Tick() {
  if (!repaintPending_) return false;
  repaintPending_ = false;
  Render();
  return true;
}

void TzunoCAD::Render() {
  TzunoCADMdl& d = *mdl_;
  if (d.Large <= 0 || d.Haut <= 0) return;
  d.OriginX = d.OriginY = 0;
  ApplyZoom();
  const int w = static_cast<int>(std::lround(d.Large * ZoomX)),
            h = static_cast<int>(std::lround(d.Haut * ZoomY));
  if (w <= 0 || h <= 0) return;
  if (image_.size() != QSize(w, h)) image_ = QImage(w, h, QImage::Format_RGB888);
  TBitmapCanvas canvas(&image_);
  canvas.SetPen(TPen{clWhite, 1, psSolid});
  canvas.SetBrush(TBrush{clWhite, bsSolid});
  d.DrawPage(canvas, QRect(0, 0, w, h));
  // Hit tests between renders use the same scale as the pointer mapping.
  SyncScales();
}

QPoint TzunoCAD::ImagePos() const {
  return QPoint(image_.width() < control_.width() ? (control_.width() - image_.width()) / 2 : 0,
                image_.height() < control_.height() ? (control_.height() - image_.height()) / 2 : 0);
}

int TzunoCAD::MmToPixelX(double mm) const {
  return static_cast<int>(std::lround(mm * ZoomX));
}
int TzunoCAD::MmToPixelY(double mm) const {
  return static_cast<int>(std::lround(mm * ZoomY));
}

QPointF TzunoCAD::PixelToMm(QPointF pixel) const {
  return QPointF(ZoomX != 0 ? pixel.x() / ZoomX : 0, ZoomY != 0 ? pixel.y() / ZoomY : 0);
}

void TzunoCAD::Raise(const ObjEvent& event, TzunoCADObj* obj) {
  if (event) event(this, obj);
}

void TzunoCAD::Hover() {
  TzunoCADObj* const before = hover_;
  const int beforeCode = before ? before->HitCode : -1;
  hover_ = nullptr;
  const TzunoCADMdl& d = *mdl_;
  for (int i = d.Count() - 1; i >= 0; --i) {
    TzunoCADObj* o = d.Objet(i);
    if (o->Face != d.CurrentFace) continue;
    o->HitCode = -1;
    if (hover_) continue;
    const int code = o->HitTest(MouseMm);
    if (code != -1) {
      o->HitCode = code;
      hover_ = o;
    }
  }
  if (hover_ != before || (hover_ && hover_->HitCode != beforeCode)) {
    RequestRepaint();
    Raise(OnChange, selected_);
  }
}

void TzunoCAD::Place(const QString& typeName) {
  TzunoCADObj* o = mdl_->CreateObjet(typeName);
  Mode = 1;
  if (!o) return;
  if (o->IsBox()) {
    auto* box = static_cast<TzunoCADRect*>(o);
    box->x = MouseMm.x();
    box->y = MouseMm.y();
  }
  o->Face = mdl_->CurrentFace;
  o->Selected = true;
  o->HitCode = 3;
  selected_ = nullptr;
  hover_ = o;
  Moved = true;
  Raise(OnAddSupp, o);
  Raise(OnAddStart, o);
  Adding = true;
}

void TzunoCAD::SelectionStep() {
  TzunoCADObj* const before = selected_;
  for (const auto& o : mdl_->Objets()) o->Selected = false;
  const TzunoCADMdl& d = *mdl_;
  if (!Avance && hover_ && hover_ == before) {
    // Clicking the selected object again reaches the one below it.
    for (int i = d.IndexOf(hover_) - 1; i >= 0; --i) {
      TzunoCADObj* o = d.Objet(i);
      if (o->Face != d.CurrentFace || o->HitTest(MouseMm) != 0) continue;
      hover_->HitCode = -1;
      hover_ = o;
      o->HitCode = 0;
      break;
    }
  }
  selected_ = hover_;
  if (selected_) {
    selected_->Selected = true;
    if (selected_->IsBox()) {
      auto* box = static_cast<TzunoCADRect*>(selected_);
      DragOffset = QPointF(box->x, box->y) - MouseMm;
    } else {
      DragOffset = QPointF();
    }
  }
  if (selected_ != before) {
    RequestRepaint();
    Raise(OnObjSelect, selected_);
    Raise(OnChange, selected_);
  }
}

void TzunoCAD::SyncScales() {
  // Reading a document resets its scales; hit tests must use ours.
  mdl_->PixelsPerMmX = ZoomX;
  mdl_->PixelsPerMmY = ZoomY;
}

void TzunoCAD::MouseDown(QPointF pixel, Qt::MouseButton button, bool shift) {
  SyncScales();
  ShiftDown = shift;
  MouseMm = PixelToMm(pixel);
  drag_.reset();
  if (button == Qt::LeftButton) {
    ButtonDown = true;
    Moved = false;
  }
  const QString placed = PlacedType(Mode);
  if (!placed.isEmpty()) Place(placed);
  if (Mode != 1) return;
  SelectionStep();
  if (button == Qt::LeftButton && selected_) {
    for (const auto& o : mdl_->Objets()) o->Dragging = true;
    if (Avance) {
      TSnapper snapper{ZoomX, ZoomY, Debug};
      drag_ = MakeDrag(selected_, selected_->HitCode, snapper);
    }
  }
}

void TzunoCAD::MouseMove(QPointF pixel, bool shift) {
  if (inMouseMove_) return;
  inMouseMove_ = true;
  SyncScales();
  ShiftDown = shift;
  MouseMm = PixelToMm(pixel);
  if (Mode == 1 && !ButtonDown) {
    Hover();
  } else if (Mode == 1 && drag_) {
    QPointF target = DragOffset + MouseMm;
    if (mdl_->MagneticGrid) {
      MouseMm = QPointF(std::round(MouseMm.x()), std::round(MouseMm.y()));
      target = QPointF(std::round(target.x()), std::round(target.y()));
    }
    drag_->Update(MouseMm, target, ShiftDown);
    RequestRepaint();
    Moved = true;
    Raise(OnChange, selected_);
  }
  inMouseMove_ = false;
}

void TzunoCAD::MouseUp(QPointF pixel, Qt::MouseButton button, bool shift) {
  ShiftDown = shift;
  MouseMm = PixelToMm(pixel);
  if (Mode == 1)
    for (const auto& o : mdl_->Objets()) o->Dragging = false;
  drag_.reset();
  // Whatever ended up entirely off the page comes back to its centre.
  if (selected_) mdl_->CountHorsPage(true);
  if (Adding) {
    Adding = false;
    Raise(OnAddEnd, selected_);
  }
  RequestRepaint();
  if (Moved) Raise(OnObjMoved, selected_);
  if (button == Qt::LeftButton) ButtonDown = false;
}

void TzunoCAD::CancelDrag() {
  if (!drag_) return;
  drag_->Cancel();
  drag_.reset();
  Moved = false;
  RequestRepaint();
  Raise(OnChange, selected_);
}

void TzunoCAD::SelectIndex(int i) {
  const int before = selected_ ? mdl_->IndexOf(selected_) : -1;
  for (const auto& o : mdl_->Objets()) o->Selected = false;
  selected_ = nullptr;
  if (i >= 0 && i < mdl_->Count()) {
    selected_ = mdl_->Objet(i);
    selected_->Selected = true;
  } else {
    i = -1;
  }
  RequestRepaint();
  if (i != before) {
    Raise(OnObjSelect, selected_);
    Raise(OnChange, selected_);
  }
}

void TzunoCAD::SelectObj(TzunoCADObj* obj) {
  SelectIndex(obj ? mdl_->IndexOf(obj) : -1);
}

int TzunoCAD::MoveLayer(int i, int how, bool notify) {
  const int n = mdl_->Count();
  if (i < 0 || i >= n) return i;
  int to = i;
  switch (how) {
    case 0:
      to = 0;
      break;
    case 1:
      to = std::max(0, i - 1);
      break;
    case 2:
      to = std::min(n - 1, i + 1);
      break;
    case 3:
      to = n - 1;
      break;
    default:
      return i;
  }
  TzunoCADObj* moved = mdl_->Objet(i);
  mdl_->MoveObjet(i, to);
  RequestRepaint();
  if (notify) {
    Raise(OnLayerChange, moved);
    Raise(OnChange, selected_);
  }
  return to;
}
