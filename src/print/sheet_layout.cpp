#include "print/sheet_layout.h"

#include <algorithm>
#include <climits>

#include "model/encodings.h"
#include "render/canvas.h"

namespace {

int ToInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

TSheetLayout::TSheetLayout() {
  selected_.fill(true);
  Gabarits.Paper = &Paper;
}

int TSheetLayout::MmToX(double x) const {
  return ToInt(RoundEven((OffsetX + x) * ScaleX));
}

int TSheetLayout::MmToY(double y) const {
  return ToInt(RoundEven((OffsetY + y) * ScaleY));
}

QPointF TSheetLayout::PixelToMm(QPointF pixel) const {
  return QPointF(ScaleX != 0 ? pixel.x() / ScaleX - OffsetX : 0,
                 ScaleY != 0 ? pixel.y() / ScaleY - OffsetY : 0);
}

QPointF TSheetLayout::CellOrigin(int column, int row) const {
  return QPointF(Layout.x0 + (column - 1) * (Layout.large + Layout.interx),
                 Layout.y0 + (row - 1) * (Layout.haut + Layout.intery));
}

// Visits cells row by row in number order, until the visitor answers false or kMaxVisited cells
// have been seen.
template <typename Visit>
void TSheetLayout::ForEachCell(const TGabaritInfo& g, int face, Visit visit) {
  const int nx = g.nbrex;
  if (nx < 1) return;
  long long number = 0;
  for (int r = 1; r <= g.nbrey; ++r) {
    for (int k = 1; k <= nx; ++k) {
      if (++number > kMaxVisited) return;
      if (!visit(SheetColumn(nx, face, k), r, static_cast<int>(number))) return;
    }
  }
}

int TSheetLayout::CellAt(double x, double y) const {
  int found = 0;
  ForEachCell(Layout, Gabarits.Face, [&](int c, int r, int number) {
    const QPointF o = CellOrigin(c, r);
    if (o.x() < x && x < o.x() + Layout.large && o.y() < y && y < o.y() + Layout.haut) found = number;
    return true;
  });
  return found;
}

bool TSheetLayout::IsSelected(int cell) const {
  if (cell > kMaxSelectable) return true;
  return cell >= 1 && selected_[static_cast<size_t>(cell)];
}

void TSheetLayout::SetSelected(int cell, bool on) {
  if (cell >= 1 && cell <= kMaxSelectable) selected_[static_cast<size_t>(cell)] = on;
}

int TSheetLayout::ClickAt(QPointF pixel) {
  if (!CellsClickable) return 0;
  const QPointF mm = PixelToMm(pixel);
  const int cell = CellAt(mm.x(), mm.y());
  if (cell < 1 || cell > kMaxSelectable) return 0;
  SetSelected(cell, !IsSelected(cell));
  return cell;
}

bool TSheetLayout::HandAt(QPointF pixel) const {
  if (!CellsClickable) return false;
  const QPointF mm = PixelToMm(pixel);
  return CellAt(mm.x(), mm.y()) > 0;
}

std::optional<QRect> TSheetLayout::Fit(QSize control) {
  const double w = Paper.large, h = Paper.haut;
  if (!(w > 0 && h > 0) || control.width() < 1 || control.height() < 1) return std::nullopt;
  const double W = control.width(), H = control.height();
  const double scale = w / h >= W / H ? (W - 1) / w : (H - 1) / h;
  ScaleX = ScaleY = scale;
  OffsetX = OffsetY = 0;
  const int iw = ToInt(RoundEven(w * scale)) + 1, ih = ToInt(RoundEven(h * scale)) + 1;
  return QRect((control.width() - iw) / 2, (control.height() - ih) / 2, iw, ih);
}

QImage TSheetLayout::Preview(QSize control, QPoint* position) {
  const std::optional<QRect> place = Fit(control);
  if (!place) return QImage();
  QImage image(place->size(), QImage::Format_RGB888);
  if (image.isNull()) return QImage();
  image.fill(Qt::white);
  {
    TBitmapCanvas canvas(&image);
    Paint(canvas, false);
  }
  if (position) *position = place->topLeft();
  return image;
}

void TSheetLayout::Paint(TCanvas& canvas, bool printing) const {
  struct Flag {
    bool& flag;
    bool old;
    ~Flag() { flag = old; }
  } const restore{onPaper_, onPaper_};
  onPaper_ = printing;
  canvas.SetBrush(TBrush{clWhite, bsSolid});
  const double w = Paper.large, h = Paper.haut;
  if (ShowShadow && !printing) {
    canvas.SetPen(TPen{clBlack, 1, psSolid});
    canvas.Rectangle(MmToX(0) + 1, MmToY(0) + 1, MmToX(w) + 1, MmToY(h) + 1);
    canvas.Rectangle(MmToX(0), MmToY(0), MmToX(w), MmToY(h));
  } else {
    canvas.SetPen(TPen{clWhite, 1, psSolid});
    canvas.Rectangle(MmToX(0), MmToY(0), MmToX(w), MmToY(h));
  }
  if (ShowPrintable && !printing && Printer) {
    canvas.SetPen(TPen{clRed, 1, psDot});
    canvas.SetBrush(TBrush{clWhite, bsClear});
    canvas.Rectangle(MmToX(Printer->OffsetX), MmToY(Printer->OffsetY),
                     MmToX(Printer->OffsetX + Printer->PrintableWidth),
                     MmToY(Printer->OffsetY + Printer->PrintableHeight));
    canvas.SetBrush(TBrush{clWhite, bsSolid});
  }
  canvas.SetPen(TPen{clBlack, 1, psSolid});
  const TGabaritInfo g = Layout;  // a cell callback may choose another layout meanwhile
  ForEachCell(g, Gabarits.Face, [&](int c, int r, int number) {
    if (!IsSelected(number)) return true;
    const double X = g.x0 + (c - 1) * (g.large + g.interx);
    const double Y = g.y0 + (r - 1) * (g.haut + g.intery);
    const int x = MmToX(X), y = MmToY(Y), right = MmToX(X + g.large), bottom = MmToY(Y + g.haut);
    if (OnDrawCell)
      OnDrawCell(canvas, number, x, y, right, bottom);
    else
      canvas.Rectangle(x, y, right, bottom);
    return true;
  });
}
