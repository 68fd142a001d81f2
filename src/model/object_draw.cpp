// What every object draws besides its content: handle marks, selection frames, placeholders.
#include <cmath>

#include "model/document.h"
#include "model/encodings.h"
#include "render/canvas.h"

namespace {

TColor HandleColor(const TzunoCADMdl* doc, int kind) {
  if (const TDocumentEditor* e = doc->Editor())
    return kind == 0 ? e->HoverColor() : kind == 1 ? e->HotHandleColor() : e->SelectColor();
  return kind == 1 ? clBlue : clRed;
}

}  // namespace

bool TzunoCADObj::OnCurrentFace() const {
  return Visible && Face == document_->CurrentFace;
}

TPen TzunoCADObj::DevicePen() const {
  TPen p = Pen;
  const double scale = (std::fabs(document_->PixelsPerMmX) + std::fabs(document_->PixelsPerMmY)) / 2;
  p.Width = static_cast<int>(std::clamp<long long>(RoundEven(Pen.Width / 1000.0 * scale), 0, 100000));
  return p;
}

TColor TzunoCADObj::StateColor() const {
  if (const TDocumentEditor* e = document_->Editor()) return Selected ? e->SelectColor() : e->HoverColor();
  return Selected ? clRed : clBlue;
}

void TzunoCADObj::DrawRoundHandle(TCanvas& canvas, QPointF p, int kind) {
  const QPoint c = document_->MmToPx(p);
  canvas.SetPen(TPen{clBlack, 1, psSolid});
  canvas.SetBrush(TBrush{HandleColor(document_, kind), bsSolid});
  canvas.Ellipse(c.x() - 4, c.y() - 4, c.x() + 4, c.y() + 4);
}

void TzunoCADObj::DrawSquareHandle(TCanvas& canvas, QPointF p, int kind) {
  const QPoint c = document_->MmToPx(p);
  canvas.SetPen(TPen{clBlack, 1, psSolid});
  canvas.SetBrush(TBrush{HandleColor(document_, kind), bsSolid});
  canvas.Rectangle(c.x() - 3, c.y() - 3, c.x() + 3, c.y() + 3);
}

void TzunoCADObj::DrawSegment(TCanvas& canvas, QPointF from, QPointF to) {
  const QPoint a = document_->MmToPx(from), b = document_->MmToPx(to);
  canvas.MoveTo(a.x(), a.y());
  canvas.LineTo(b.x(), b.y());
}

void TzunoCADRect::Draw(TCanvas& canvas) {
  if (!document_->DeferHighlights) DrawHighlight(canvas);
}

void TzunoCADRect::DrawHighlight(TCanvas& canvas) {
  DrawSelection(canvas);
  for (int k = 1; k <= 8; ++k) DrawHandle(canvas, k);
}

void TzunoCADRect::DrawSelection(TCanvas& canvas) {
  const TzunoCADMdl* d = document_;
  if (!d->ShowFrames) return;
  if (!(d->ShowAllFrames || (d->ShowHandles && (Selected || HitCode != -1)))) return;
  canvas.SetPen(TPen{StateColor(), 1, psDot});
  canvas.SetBrush(TBrush{clWhite, bsClear});
  const QPoint c[4] = {d->MmToPx(HandlePos(1)), d->MmToPx(HandlePos(2)), d->MmToPx(HandlePos(3)),
                       d->MmToPx(HandlePos(4))};
  canvas.MoveTo(c[0].x(), c[0].y());
  for (int i = 1; i <= 4; ++i) canvas.LineTo(c[i % 4].x(), c[i % 4].y());
}

void TzunoCADRect::DrawHandle(TCanvas& canvas, int k) {
  const TzunoCADMdl* d = document_;
  const TDocumentEditor* e = d->Editor();
  if (!e || !e->ModeAvance() || !d->ShowHandles || k < 1 || k > 8 || !HandleEnabled[k]) return;
  int kind;
  if (k == HitCode)
    kind = 1;
  else if (Selected)
    kind = 2;
  else if (HitCode != -1)
    kind = 0;
  else
    return;
  if (k == 2 || k == 3)
    DrawRoundHandle(canvas, HandlePos(k), kind);
  else
    DrawSquareHandle(canvas, HandlePos(k), kind);
}

void TzunoCADRect::DrawPlaceholder(TCanvas& canvas, const QString& label) {
  const TzunoCADMdl* d = document_;
  const TColor grey = RGBColor(128, 128, 128);
  canvas.SetPen(TPen{grey, 1, psSolid});
  canvas.SetBrush(TBrush{clWhite, bsClear});
  const QPoint c[4] = {d->MmToPx(HandlePos(1)), d->MmToPx(HandlePos(2)), d->MmToPx(HandlePos(3)),
                       d->MmToPx(HandlePos(4))};
  canvas.MoveTo(c[0].x(), c[0].y());
  for (int i = 1; i <= 4; ++i) canvas.LineTo(c[i % 4].x(), c[i % 4].y());
  canvas.MoveTo(c[0].x(), c[0].y());
  canvas.LineTo(c[2].x(), c[2].y());
  canvas.MoveTo(c[1].x(), c[1].y());
  canvas.LineTo(c[3].x(), c[3].y());
  if (label.isEmpty()) return;
  canvas.SetFont(TFont{grey, QStringLiteral("Arial"), -11, 0});  // 8 points
  canvas.SetBkMode(bkTransparent);
  const QSize e = canvas.TextExtent(label);
  const QPoint centre = d->MmToPx(QPointF(x, y));
  canvas.TextOut(centre.x() - e.width() / 2, centre.y() - e.height() / 2, label);
}
