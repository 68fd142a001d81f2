// The interactive drawing surface without widgets: owns one document, shows it at a zoom into an
// off-screen picture, and turns pointer input (in picture pixels) into hover, selection and drags.
// A widget forwards its events here and calls Tick() from a 10 ms timer.
#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

#include "editor/drags.h"
#include "model/document.h"

class TzunoCADImage;

class TzunoCAD : public TDocumentEditor {
 public:
  using ObjEvent = std::function<void(TzunoCAD* sender, TzunoCADObj* obj)>;

  explicit TzunoCAD(QSize control = QSize(400, 300));
  ~TzunoCAD() override;
  TzunoCAD(const TzunoCAD&) = delete;
  TzunoCAD& operator=(const TzunoCAD&) = delete;

  TzunoCADMdl& Mdl() { return *mdl_; }

  // The document tells us before it frees objects.
  void ForgetObjects() override;
  void ObjetSupprime(TzunoCADMdl* document, TzunoCADObj* obj) override;
  TColor HoverColor() const override { return HoverColour; }
  TColor SelectColor() const override { return SelectColour; }
  TColor HotHandleColor() const override { return HotHandleColour; }
  bool ModeAvance() const override { return Avance; }
  bool CtrlDown() const override { return Ctrl; }

  // Size of the visible area the page is fitted into and centred in.
  void SetControlSize(QSize size);
  QSize ControlSize() const { return control_; }

  // Repaints are coalesced: requests only set a flag, the next tick renders once.
  void RequestRepaint() { repaintPending_ = wholePending_ = true; }
  // A repaint for a change of this object alone (its own properties edited): the page under it is
  // kept as a picture and only its area is drawn again, unless something asks for the whole page.
  void RequestObjectRepaint(TzunoCADObj* obj) {
    repaintPending_ = true;
    if (!obj) wholePending_ = true;
    if (!wholePending_ && objectPending_ && objectPending_ != obj) wholePending_ = true;
    objectPending_ = obj;
  }
  bool RepaintPending() const { return repaintPending_; }
  // Renders when a repaint is pending; returns whether it did.
  bool Tick();
  // The rendered page and where it sits in the control.
  const QImage& Image() const { return image_; }
  QPoint ImagePos() const;
  // Recomputes the zoom (automatic fit) and hands the scales to the document.
  void ApplyZoom();

  int MmToPixelX(double mm) const;
  int MmToPixelY(double mm) const;
  // A picture pixel as a page point in millimetres.
  QPointF PixelToMm(QPointF pixel) const;

  // Pointer input, in picture pixels. `shift` is the Shift key during the event.
  void MouseDown(QPointF pixel, Qt::MouseButton button, bool shift = false);
  void MouseMove(QPointF pixel, bool shift = false);
  void MouseUp(QPointF pixel, Qt::MouseButton button, bool shift = false);
  // Abandons a drag in progress, putting the object back.
  void CancelDrag();

  // Key presses on the control: Qt key codes, the keypad flag telling numeric-pad keys apart.
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  void KeyUp(Qt::KeyboardModifiers modifiers);
  // Removes the selection (or the hit anchor of a selected line) without asking.
  void DeleteSelected();
  // A copy offset by 10 pixels right and down, or a split segment of a line at its hit anchor.
  void DuplicateSelected();

  // The clipboard is the file "CopyPaste.def" in UserPath, shared by every editor and kept between
  // runs. Copying writes the object's property lines; pasting creates an object of the type its
  // "Name" line names at the copied position on the current face. Without UserPath both do nothing.
  bool CopySelected(TzunoCADObj* obj);
  TzunoCADObj* PasteObject();
  QString UserPath;

  // The undo history: the document's text, oldest first.
  void PushSnapshot();
  // Pushes only when the document differs from the newest snapshot (the text is made once).
  void PushSnapshotIfChanged();
  // The undo step an edit takes before it changes anything. Edits continued under the same key
  // (typing in one field, spin arrows, key nudges) share the step the first of them took; any other
  // step, a selection change or an undo ends the run. Raises OnStep.
  void TakeStep(const void* mergeKey = nullptr);
  void ClearSnapshots() {
    snapshots_.clear();
    stepKey_ = nullptr;
  }
  // Reloads snapshot i and drops it with every later one; ignored out of range.
  void RestoreSnapshot(int i);
  // Goes back to the newest snapshot that differs from the document (steps taken after an edit, by
  // the selection change it raised, hold what is already shown); false when none is left.
  bool Undo();
  int SnapshotCount() const { return static_cast<int>(snapshots_.size()); }
  bool Restoring = false;

  void SelectIndex(int i);
  void SelectObj(TzunoCADObj* obj);
  // how: 0 to the bottom, 1 one down, 2 one up, 3 to the top. Returns the new index.
  int MoveLayer(int i, int how, bool notify);

  // The page background: an image the size of the page at its centre, unturned, not selectable and
  // drawn first. SetPaperImage loads a picture into it, creating it when there is none.
  void MakeBackground(TzunoCADImage* img);
  TzunoCADImage* FindBackground() const;
  void SetPaperImage(const QString& fileName);

  TzunoCADObj* HoverObj() const { return hover_; }
  // The pointer shape to show: the hovered object's, else the default (0).
  int16_t PointerShape() const { return hover_ ? hover_->Cursor : 0; }
  TzunoCADObj* SelectedObj() const { return selected_; }
  bool Dragging() const { return drag_ != nullptr; }

  int Margin = 20;
  double ZoomX = 10, ZoomY = 10;
  bool AutoZoom = true;
  int Mode = 0;
  QPointF MouseMm;
  QPointF DragOffset;
  bool ButtonDown = false;
  bool Moved = false;
  bool ShiftDown = false;
  bool Ctrl = false;
  bool Adding = false;
  bool Avance = true;
  // The page centre line also attracts moved objects.
  bool Debug = false;
  TColor HoverColour = RGBColor(0, 0, 255);
  TColor SelectColour = RGBColor(255, 0, 0);
  TColor HotHandleColour = RGBColor(255, 255, 0);

  // While an object is dragged, the paper and the objects under it are kept as a picture and only
  // the area the object leaves and enters is drawn again. Off, every tick draws the whole page.
  bool DragLayers = true;
  // How the last render went: the whole page, or only the dragged object's area.
  bool LastRenderPartial() const { return lastPartial_; }
  // Picture pixels an object may paint (frames and handles included); null when not known.
  QRect PaintBounds(TzunoCADObj* obj, bool* known) const;
  // The part of the picture the last render changed (all of it after a whole-page render).
  QRect ChangedArea() const { return changed_; }

  ObjEvent OnObjSelect, OnChange, OnAddSupp, OnLayerChange, OnObjMoved, OnAddStart, OnAddEnd;
  // An undo step was taken before an edit.
  ObjEvent OnStep;

 private:
  void Render();
  void SyncScales();
  void Hover();
  void Place(const QString& typeName);
  void PlaceMark();
  void LineClick(Qt::MouseButton button);
  void SelectionStep();
  void Raise(const ObjEvent& event, TzunoCADObj* obj);
  // Draws only what the layered object changed; false when that cannot be done exactly.
  bool RenderLayerFrame(TzunoCADObj* obj);
  void DropLayers();

  std::unique_ptr<TzunoCADMdl> mdl_;
  QSize control_;
  QImage image_;
  bool repaintPending_ = false, wholePending_ = false;
  TzunoCADObj* objectPending_ = nullptr;
  bool inMouseMove_ = false;
  TzunoCADObj* hover_ = nullptr;
  TzunoCADObj* selected_ = nullptr;
  std::unique_ptr<TDrag> drag_;
  std::vector<QStringList> snapshots_;
  const void* stepKey_ = nullptr;
  // The drag of this press has taken its undo step.
  bool dragStepped_ = false;
  // The drag layers: the page with every object under the dragged one, and where that object
  // painted in the last frame.
  QImage below_;
  TzunoCADObj* layerObj_ = nullptr;
  int layerIndex_ = -1;
  QRect layerBounds_;
  bool lastPartial_ = false;
  QRect changed_;
};
