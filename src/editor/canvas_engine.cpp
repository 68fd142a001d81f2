#include "editor/canvas_engine.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstring>

#include "model/group.h"
#include "model/image.h"
#include "model/shapes.h"
#include "model/text.h"
#include "render/canvas.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/textfile.h"
#include "shell/user_dialogs.h"

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

// The merge key of key nudges: a run of them is one undo step.
const char kNudge = 0;

}  // namespace

TzunoCAD::TzunoCAD(QSize control)
    : mdl_(std::make_unique<TzunoCADMdl>(this, QRect(QPoint(0, 0), control), 21, 29.7)), control_(control) {
  mdl_->DeferHighlights = true;
  ApplyZoom();
}

TzunoCAD::~TzunoCAD() {
  // The document tells no one while it is destroyed; drop our pointers first.
  drag_.reset();
  hover_ = selected_ = nullptr;
  mdl_.reset();
}

void TzunoCAD::ForgetObjects() {
  DropLayers();
  drag_.reset();
  hover_ = selected_ = nullptr;
}

void TzunoCAD::ObjetSupprime(TzunoCADMdl*, TzunoCADObj* obj) {
  DropLayers();
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
  lastPartial_ = false;
  const bool whole = wholePending_;
  TzunoCADObj* const only = whole ? nullptr : objectPending_;
  wholePending_ = false;
  objectPending_ = nullptr;
  TzunoCADMdl& d = *mdl_;
  if (d.Large <= 0 || d.Haut <= 0) {
    DropLayers();
    return;
  }
  // A drag redraws its object whatever else was asked: nothing else changes while the button is down.
  TzunoCADObj* const layered = (DragLayers && drag_) ? drag_->Object() : only;
  if (layered && RenderLayerFrame(layered)) {
    lastPartial_ = true;
    return;
  }
  d.OriginX = d.OriginY = 0;
  ApplyZoom();
  const int w = static_cast<int>(std::lround(d.Large * ZoomX)),
            h = static_cast<int>(std::lround(d.Haut * ZoomY));
  if (w <= 0 || h <= 0) {
    DropLayers();
    return;
  }
  if (image_.size() != QSize(w, h)) {
    image_ = QImage(w, h, QImage::Format_RGB888);
    // Kept beside the page so that a drag's first frame does not wait for fresh memory.
    below_ = QImage(w, h, QImage::Format_RGB888);
    below_.fill(Qt::white);
  }
  const QRect page(0, 0, w, h);
  // The page is edited in its own frame: a page rotation is for output only, so what is drawn here
  // is exactly where the pointer maps (X / zoom, Y / zoom).
  const double rotation = d.Rotation;
  d.Rotation = 0;
  const int dragged = (layered && DragLayers) ? d.IndexOf(layered) : -1;
  if (dragged >= 0) {
    // The first frame of a drag or an edit keeps what lies under the object for the next ones.
    {
      TBitmapCanvas under(&below_);
      d.DrawPageBase(under, page);
      for (int i = 0; i < dragged; ++i) d.Objet(i)->Draw(under);
    }
    for (int y = 0; y < h; ++y)
      std::memcpy(image_.scanLine(y), below_.constScanLine(y), static_cast<size_t>(w) * 3);
    TBitmapCanvas canvas(&image_);
    for (int i = dragged; i < d.Count(); ++i) d.Objet(i)->Draw(canvas);
    d.DrawHighlights(canvas);
    d.DrawGabaritApres(canvas, page, false);
    layerObj_ = layered;
    layerIndex_ = dragged;
    bool known = false;
    layerBounds_ = PaintBounds(layerObj_, &known);
    if (!known) DropLayers();
  } else {
    DropLayers();
    TBitmapCanvas canvas(&image_);
    canvas.SetPen(TPen{clWhite, 1, psSolid});
    canvas.SetBrush(TBrush{clWhite, bsSolid});
    d.DrawPage(canvas, page);
  }
  d.Rotation = rotation;
  changed_ = image_.rect();
  // Hit tests between renders use the same scale as the pointer mapping.
  SyncScales();
}

void TzunoCAD::DropLayers() {
  layerObj_ = nullptr;
  layerIndex_ = -1;
  layerBounds_ = QRect();
}

bool TzunoCAD::RenderLayerFrame(TzunoCADObj* obj) {
  TzunoCADMdl& d = *mdl_;
  if (!DragLayers || !obj || obj != layerObj_) return false;
  if (layerIndex_ >= d.Count() || d.Objet(layerIndex_) != layerObj_) return false;
  // Anything that moves the page under the layers (zoom, size) needs the whole page again.
  const double zx = ZoomX, zy = ZoomY;
  ApplyZoom();
  const int w = static_cast<int>(std::lround(d.Large * ZoomX)),
            h = static_cast<int>(std::lround(d.Haut * ZoomY));
  if (zx != ZoomX || zy != ZoomY || image_.size() != QSize(w, h) || below_.size() != image_.size())
    return false;
  bool known = false;
  const QRect now = PaintBounds(layerObj_, &known);
  if (!known) return false;
  const QRect area = (layerBounds_ | now) & image_.rect();
  layerBounds_ = now;
  changed_ = area;
  if (area.isEmpty()) return true;
  const int bytes = area.width() * 3;
  for (int y = area.top(); y <= area.bottom(); ++y)
    std::memcpy(image_.scanLine(y) + area.left() * 3, below_.constScanLine(y) + area.left() * 3,
                static_cast<size_t>(bytes));
  const double rotation = d.Rotation;
  d.Rotation = 0;
  d.OriginX = d.OriginY = 0;
  d.ShowFrames = true;
  {
    TBitmapCanvas canvas(&image_);
    canvas.SetClipRegion(QRegion(area));
    for (int i = layerIndex_; i < d.Count(); ++i) {
      TzunoCADObj* o = d.Objet(i);
      bool bounded = false;
      const QRect r = (o == layerObj_) ? now : PaintBounds(o, &bounded);
      if (o == layerObj_ || !bounded || r.intersects(area)) o->Draw(canvas);
    }
    d.DrawHighlights(canvas);
    d.DrawGabaritApres(canvas, QRect(0, 0, w, h), false);
  }
  d.Rotation = rotation;
  SyncScales();
  return true;
}

QRect TzunoCAD::PaintBounds(TzunoCADObj* obj, bool* known) const {
  *known = false;
  if (!obj) return QRect();
  if (!obj->OnCurrentFace()) {
    *known = true;
    return QRect();
  }
  const TzunoCADMdl& d = *mdl_;
  QList<QPointF> points;
  double margin = 0;
  auto* text = dynamic_cast<TzunoCADTexte*>(obj);
  auto* image = dynamic_cast<TzunoCADImage*>(obj);
  if (auto* line = dynamic_cast<TzunoCADLigne*>(obj)) {
    points = line->Points;
  } else if (dynamic_cast<TzunoCADRectangle*>(obj) || text ||
             (image && (image->HasPicture() || image->MetafilePicture.IsValid()))) {
    auto* box = static_cast<TzunoCADRect*>(obj);
    for (int k = 1; k <= 8; ++k) points.append(box->HandlePos(k));
    // Glyphs may reach past the measured box (italics, accents).
    if (text) margin = std::ceil(std::fabs(box->h * ZoomY) / 2);
  } else {
    return QRect();
  }
  if (points.isEmpty()) {
    *known = true;
    return QRect();
  }
  // Worked out in reals and cut to a band round the picture: an object of absurd size or far off
  // the page must not overflow the rectangle's integers.
  const double t = d.Rotation * 3.14159265358979323846 / 180.0;
  double x1 = HUGE_VAL, y1 = HUGE_VAL, x2 = -HUGE_VAL, y2 = -HUGE_VAL;
  for (const QPointF& p : points) {
    const double u = p.x() * d.PixelsPerMmX, v = p.y() * d.PixelsPerMmY;
    const double px = u * std::cos(t) - v * std::sin(t) + d.OriginX,
                 py = u * std::sin(t) + v * std::cos(t) + d.OriginY;
    x1 = std::min(x1, px);
    x2 = std::max(x2, px);
    y1 = std::min(y1, py);
    y2 = std::max(y2, py);
  }
  // Handles reach 4 pixels past their point; a pen half its width past the outline.
  const TPen pen = obj->DevicePen();
  margin += 6 + std::max(0, pen.Width);
  const double band = 4096;
  auto cut = [](double v, double lo, double hi) { return v >= lo ? (v <= hi ? v : hi) : lo; };
  const double w = image_.width(), h = image_.height();
  const int left = static_cast<int>(std::floor(cut(x1 - margin, -band, w + band))),
            top = static_cast<int>(std::floor(cut(y1 - margin, -band, h + band))),
            right = static_cast<int>(std::ceil(cut(x2 + margin, -band, w + band))),
            bottom = static_cast<int>(std::ceil(cut(y2 + margin, -band, h + band)));
  *known = true;
  return QRect(QPoint(left, top), QPoint(right, bottom));
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
  Count(QStringLiteral("Mode") + typeName);
  TakeStep();
  // Sizing the new object before the button is released belongs to this step.
  dragStepped_ = true;
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

void TzunoCAD::PlaceMark() {
  Count(QStringLiteral("Moderepere"));
  TakeStep();
  dragStepped_ = true;
  auto* mark = static_cast<TzunoCADRepere*>(mdl_->CreateObjet(QStringLiteral("repere")));
  Mode = 1;
  if (!mark) return;
  mark->Face = mdl_->CurrentFace;
  mark->sens = 1;
  mark->sorte = 1;
  mark->CanSelect = true;
  mark->Selected = true;
  mark->position = std::round(MouseMm.x());
  mark->HitCode = mark->HitTest(MouseMm);
  hover_ = mark;
  selected_ = nullptr;
  Moved = true;
  Raise(OnAddSupp, mark);
}

void TzunoCAD::LineClick(Qt::MouseButton button) {
  auto* line = dynamic_cast<TzunoCADLigne*>(selected_);
  if (!line) {
    Count(QStringLiteral("Modeligne"));
    TakeStep();
    line = static_cast<TzunoCADLigne*>(mdl_->CreateObjet(QStringLiteral("ligne")));
    if (!line) return;
    line->Face = mdl_->CurrentFace;
    line->Selected = true;
    selected_ = line;
    line->AddPoint(MouseMm);
    line->HitCode = line->AddPoint(MouseMm);
  } else if (!line->Points.isEmpty()) {
    const int last = static_cast<int>(line->Points.size()) - 1;
    line->MovePoint(last, MouseMm, ShiftDown, false);
    if (!ShiftDown && last >= 3) {
      // Nearly vertical or horizontal segments become exactly so.
      QPointF& end = line->Points[last];
      const QPointF prev = line->Points[last - 3];
      if (std::fabs(end.x() - prev.x()) * ZoomX < 8) end.setX(prev.x());
      if (std::fabs(end.y() - prev.y()) * ZoomY < 8) end.setY(prev.y());
    }
    if (button == Qt::RightButton) {
      line->HitCode = line->AddPoint(MouseMm);
    } else if (button == Qt::LeftButton) {
      Mode = 1;
      Moved = true;
      // The finished line stays selected through the selection step that follows.
      hover_ = line;
      line->HitCode = -1;
      Raise(OnAddSupp, line);
      Raise(OnObjSelect, line);
    }
  }
  RequestRepaint();
  Raise(OnChange, selected_);
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
    auto* line = dynamic_cast<TzunoCADLigne*>(selected_);
    if (selected_->IsBox()) {
      auto* box = static_cast<TzunoCADRect*>(selected_);
      DragOffset = QPointF(box->x, box->y) - MouseMm;
    } else if (line && selected_->HitCode >= 0 && selected_->HitCode < line->Points.size()) {
      DragOffset = line->Points[selected_->HitCode] - MouseMm;
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
    dragStepped_ = false;
  }
  if (Debug && button == Qt::RightButton && selected_ && selected_->IsBox() &&
      image_.rect().contains(pixel.toPoint())) {
    // Colour picking for checking templates: the rendered pixel becomes the text or pen colour.
    const QRgb c = image_.pixel(pixel.toPoint());
    const TColor colour = RGBColor(qRed(c), qGreen(c), qBlue(c));
    if (auto* text = dynamic_cast<TzunoCADTexte*>(selected_))
      text->Font.Color = colour;
    else
      selected_->Pen.Color = colour;
    RequestRepaint();
    Raise(OnChange, selected_);
  }
  const QString placed = PlacedType(Mode);
  if (!placed.isEmpty())
    Place(placed);
  else if (Mode == 7)
    PlaceMark();
  else if (Mode == 3)
    LineClick(button);
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
    if (!dragStepped_) {
      // The object is still where the press found it: the drag's undo step.
      dragStepped_ = true;
      TakeStep();
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
  // A picture resized by a handle is drawn again at its new size (drags may show its old cache).
  auto* image = dynamic_cast<TzunoCADImage*>(selected_);
  if (image && drag_ && image->HitCode > 0) image->RebuildCache();
  drag_.reset();
  // Whatever ended up entirely off the page comes back to its centre, and the panel shows where.
  const bool recentred = selected_ && mdl_->CountHorsPage(true) > 0;
  if (Adding) {
    Adding = false;
    Raise(OnAddEnd, selected_);
  }
  RequestRepaint();
  if (recentred) Raise(OnChange, selected_);
  // A later right click must not report this press's move again.
  if (Moved) Raise(OnObjMoved, selected_);
  Moved = false;
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

void TzunoCAD::KeyUp(Qt::KeyboardModifiers modifiers) {
  ShiftDown = modifiers & Qt::ShiftModifier;
  Ctrl = modifiers & Qt::ControlModifier;
}

void TzunoCAD::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  KeyUp(modifiers);
  if (!selected_) return;
  // Ctrl with a letter is a command of the window (undo, save, copy, paste), never a nudge.
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return;
  const bool pad = modifiers & Qt::KeypadModifier;
  if (key == Qt::Key_F1 && Debug) {
    // For checking templates: the object as stored, and the segment count of each line a group holds.
    QStringList lines = selected_->GetProperties();
    if (auto* group = dynamic_cast<TzunoCADGroup*>(selected_); group && group->Nested())
      for (const auto& o : group->Nested()->Objets())
        if (auto* line = dynamic_cast<TzunoCADLigne*>(o.get()))
          lines << QString::number(line->SegmentCount());
    AskUser(lines.join(QLatin1Char('\n')), akInformation, abOK);
    return;
  }
  if (key == Qt::Key_Delete) {
    const QString asked = MLText(QStringLiteral("SupprimerObjet"));
    const QString text =
        asked.isEmpty() ? QStringLiteral("Etes-vous sûr de vouloir supprimer cet objet ?") : asked;
    if (AskUser(text, akInformation, abOK | abCancel) == arOK) DeleteSelected();
    return;
  }
  if (key == Qt::Key_Insert) {
    DuplicateSelected();
    return;
  }
  if (!selected_->IsBox()) return;
  auto* box = static_cast<TzunoCADRect*>(selected_);
  switch (key) {
    case Qt::Key_Z:
    case Qt::Key_S:
    case Qt::Key_Q:
    case Qt::Key_D:
    case Qt::Key_A:
    case Qt::Key_E:
      break;
    case Qt::Key_8:
    case Qt::Key_2:
    case Qt::Key_4:
    case Qt::Key_6:
    case Qt::Key_7:
    case Qt::Key_9:
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_Slash:
      if (!pad) return;
      break;
    default:
      return;
  }
  TakeStep(&kNudge);
  const double step = ShiftDown ? 10 : 1;
  // A step lands on a whole number.
  auto stepped = [step](double& v, double sign) { v = std::round(v + sign * step); };
  switch (key) {
    case Qt::Key_Z:
      stepped(box->y, -1);
      break;
    case Qt::Key_S:
      stepped(box->y, 1);
      break;
    case Qt::Key_Q:
      stepped(box->x, -1);
      break;
    case Qt::Key_D:
      stepped(box->x, 1);
      break;
    case Qt::Key_A:
      stepped(box->r, -1);
      break;
    case Qt::Key_E:
      stepped(box->r, 1);
      break;
    case Qt::Key_8:
    case Qt::Key_2:
    case Qt::Key_4:
    case Qt::Key_6:
    case Qt::Key_7:
    case Qt::Key_9:
      if (!pad) return;
      if (key == Qt::Key_8 || key == Qt::Key_2) stepped(box->y, key == Qt::Key_8 ? -1 : 1);
      if (key == Qt::Key_4 || key == Qt::Key_6) stepped(box->x, key == Qt::Key_4 ? -1 : 1);
      if (key == Qt::Key_7 || key == Qt::Key_9) stepped(box->r, key == Qt::Key_7 ? -1 : 1);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
      if (!pad) return;
      box->l = key == Qt::Key_Plus ? box->l * 1.1 : box->l / 1.1;
      box->h = key == Qt::Key_Plus ? box->h * 1.1 : box->h / 1.1;
      break;
    case Qt::Key_Slash:
      if (!pad) return;
      box->r = 0;
      break;
    default:
      return;
  }
  // Only the selected box moved: its area is drawn again over the page kept beneath it.
  RequestObjectRepaint(selected_);
  Raise(OnChange, selected_);
  Raise(OnObjMoved, selected_);
}

void TzunoCAD::DeleteSelected() {
  if (!selected_) return;
  TakeStep();
  auto* line = dynamic_cast<TzunoCADLigne*>(selected_);
  if (line && line->HitCode >= 0 && line->HitCode % 3 == 0) {
    line->DeleteAnchor(line->HitCode);
  } else {
    drag_.reset();
    mdl_->DeleteObjet(selected_);
    selected_ = hover_ = nullptr;
    Raise(OnAddSupp, nullptr);
    Raise(OnObjSelect, nullptr);
  }
  Raise(OnAddSupp, selected_);
  RequestRepaint();
  Raise(OnChange, selected_);
}

void TzunoCAD::DuplicateSelected() {
  if (!selected_) return;
  TakeStep();
  auto* line = dynamic_cast<TzunoCADLigne*>(selected_);
  const QPointF offset(10 / ZoomX, 10 / ZoomY);
  if (selected_->IsBox()) {
    auto* copy = static_cast<TzunoCADRect*>(mdl_->CloneObjet(selected_));
    if (copy) {
      copy->x += offset.x();
      copy->y += offset.y();
      copy->Selected = false;
      copy->HitCode = -1;
    }
  } else if (line && line->HitCode == -1) {
    auto* copy = static_cast<TzunoCADLigne*>(mdl_->CloneObjet(line));
    if (copy && !copy->Points.isEmpty()) {
      copy->MovePoint(0, copy->Points[0] + offset, false, true);
      copy->Selected = false;
    }
  } else if (line && line->HitCode % 3 == 0) {
    line->SplitSegment(line->HitCode);
  }
  Raise(OnAddSupp, selected_);
  RequestRepaint();
  Raise(OnChange, selected_);
}

void TzunoCAD::PushSnapshot() {
  snapshots_.push_back(mdl_->SaveToStrings());
}

void TzunoCAD::PushSnapshotIfChanged() {
  stepKey_ = nullptr;
  QStringList now = mdl_->SaveToStrings();
  if (snapshots_.empty() || snapshots_.back() != now) snapshots_.push_back(std::move(now));
}

void TzunoCAD::TakeStep(const void* mergeKey) {
  if (Restoring) return;
  if (mergeKey && mergeKey == stepKey_) return;
  QStringList now = mdl_->SaveToStrings();
  if (snapshots_.empty() || snapshots_.back() != now) snapshots_.push_back(std::move(now));
  stepKey_ = mergeKey;
  Raise(OnStep, selected_);
}

bool TzunoCAD::Undo() {
  if (snapshots_.empty()) return false;
  const QStringList now = mdl_->SaveToStrings();
  while (!snapshots_.empty() && snapshots_.back() == now) snapshots_.pop_back();
  if (snapshots_.empty()) return false;
  RestoreSnapshot(SnapshotCount() - 1);
  return true;
}

void TzunoCAD::RestoreSnapshot(int i) {
  if (i < 0 || i >= SnapshotCount()) return;
  Restoring = true;
  stepKey_ = nullptr;
  drag_.reset();
  mdl_->ClearObjets();
  const QStringList lines = snapshots_[static_cast<size_t>(i)];
  snapshots_.erase(snapshots_.begin() + i, snapshots_.end());
  mdl_->LoadFromStrings(lines);
  SyncScales();
  selected_ = hover_ = nullptr;
  Mode = 1;
  Raise(OnAddSupp, nullptr);
  Raise(OnObjSelect, nullptr);
  RequestRepaint();
  Raise(OnChange, nullptr);
  Restoring = false;
}

bool TzunoCAD::CopySelected(TzunoCADObj* obj) {
  if (!obj || UserPath.isEmpty()) return false;
  return WriteTextFile(QDir(UserPath).filePath(QStringLiteral("CopyPaste.def")), obj->GetProperties());
}

TzunoCADObj* TzunoCAD::PasteObject() {
  if (UserPath.isEmpty()) return nullptr;
  QStringList lines;
  const QString file = QDir(UserPath).filePath(QStringLiteral("CopyPaste.def"));
  if (!QFileInfo(file).isFile() || !ReadTextFile(file, lines)) return nullptr;
  TakeStep();
  TzunoCADObj* obj = mdl_->CreateObjet(PropValue(lines, u"Name"));
  if (!obj) return nullptr;
  obj->SetProperties(lines);
  obj->Face = mdl_->CurrentFace;
  obj->CanSelect = true;
  obj->Selected = false;
  obj->HitCode = -1;
  Raise(OnAddSupp, obj);
  RequestRepaint();
  Raise(OnChange, selected_);
  return obj;
}

void TzunoCAD::MakeBackground(TzunoCADImage* img) {
  if (!img) return;
  TakeStep();
  const TzunoCADMdl& d = *mdl_;
  img->x = d.Large / 2;
  img->y = d.Haut / 2;
  img->l = d.Large;
  img->h = d.Haut;
  img->r = 0;
  img->CanSelect = false;
  MoveLayer(d.IndexOf(img), 0, false);
  img->RebuildCache();
  RequestRepaint();
  Raise(OnLayerChange, img);
  Raise(OnChange, selected_);
}

TzunoCADImage* TzunoCAD::FindBackground() const {
  return FindBackgroundImage(*mdl_);
}

void TzunoCAD::SetPaperImage(const QString& fileName) {
  TakeStep();
  if (TzunoCADImage* img = FindBackground()) {
    img->SetFichierImage(fileName);
    RequestRepaint();
    Raise(OnChange, selected_);
    return;
  }
  auto* img = static_cast<TzunoCADImage*>(mdl_->CreateObjet(QStringLiteral("image")));
  if (!img) return;
  img->Face = mdl_->CurrentFace;
  img->SetFichierImage(fileName);
  MakeBackground(img);
  Raise(OnAddSupp, img);
}
