#include "model/text.h"

#include <cmath>
#include <numbers>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "render/canvas.h"

namespace {
// Heights beyond this no longer change the measured width (fonts are capped when realised).
constexpr int kMaxFitHeight = 20000;
// Files hold the centre of a text's box, but an anchored text is placed by its corner, and its box
// changes with the scale it is drawn at. The centre is written and read with the box measured at
// this one scale, so reading finds the corner that was saved, whatever the text was drawn at since.
constexpr double kReferencePxPerMm = 10;
}  // namespace

QStringList TextLines(const QString& displayed) {
  QStringList lines = displayed.split(QLatin1Char('|'));
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

TzunoCADTexte::TzunoCADTexte(TzunoCADMdl* document) : TzunoCADRect(document) {
  HandleEnabled.fill(false);
  HandleEnabled[2] = HandleEnabled[3] = HandleEnabled[6] = true;
  l = 8;
  h = 2;
  Font.Name = QStringLiteral("Times New Roman");
  Font.Height = 12;
  txt = HostText(QStringLiteral("CAD_TXT_DEFAUT"), QStringLiteral("Texte"));
  Displayed = txt;
}

QStringList TzunoCADTexte::GetProperties() {
  if (txt == QLatin1String("<Texte1>"))
    Code = QStringLiteral("texte1");
  else if (txt == QLatin1String("<Texte2>"))
    Code = QStringLiteral("texte2");
  else if (txt == QLatin1String("<Texte3>"))
    Code = QStringLiteral("texte3");
  QStringList p = TzunoCADRect::GetProperties();
  const QPointF centre = AnchorHandle() == 0 ? QPointF(x, y) : StoredCentre();
  // The box is measured from the text, never stored.
  for (QString& line : p) {
    if (line.startsWith(QLatin1String("x=")))
      line = QStringLiteral("x=") + WriteReal(centre.x());
    else if (line.startsWith(QLatin1String("y=")))
      line = QStringLiteral("y=") + WriteReal(centre.y());
    else if (line.startsWith(QLatin1String("l=")))
      line = QStringLiteral("l=0");
    else if (line.startsWith(QLatin1String("h=")))
      line = QStringLiteral("h=0");
  }
  PropAdd(p, u"Font", WriteFont(Font));
  PropAdd(p, u"Aligne", WriteInt(Aligne));
  PropAdd(p, u"Alignement", WriteInt(Alignement));
  PropAdd(p, u"txt", txt);
  return p;
}

void TzunoCADTexte::SetProperties(const QStringList& list) {
  ReadFont(PropValue(list, u"Font"), Font);
  Aligne = ReadInt(PropValue(list, u"Aligne"));
  Alignement = ReadInt(PropValue(list, u"Alignement"));
  txt = PropValue(list, u"txt");
  TzunoCADRect::SetProperties(list);
  RefX = x;
  RefY = y;
  RefL = l;
  RefH = h;
  RefFontHeight = Font.Height;
  // Laid out at the reference scale: the stored centre belongs to that box. A stored box (written
  // elsewhere) places the anchor corner itself, which then stays.
  const int anchor = AnchorHandle();
  const bool storedBox = !(l == 0 && h == 0);
  const QPointF a = HandlePos(anchor);
  txt = txt.trimmed();
  Displayed = document_->SubstituteFields(this, txt);
  const QSize s = MeasureBlockAt(MeasureCanvas(), kReferencePxPerMm);
  l = s.width() / kReferencePxPerMm;
  h = s.height() / kReferencePxPerMm;
  if (anchor != 0 && storedBox) {
    const QPointF c = a - CornerOffset(anchor, l, h);
    x = c.x();
    y = c.y();
  }
}

QPointF TzunoCADTexte::CornerOffset(int k, double boxL, double boxH) const {
  const double sx = (k == 2 || k == 3) ? 0.5 : -0.5, sy = (k == 3 || k == 4) ? 0.5 : -0.5;
  if (k < 1 || k > 4) return QPointF();
  return RotatePoint(QPointF(), QPointF(sx * boxL, sy * boxH), r);
}

QPointF TzunoCADTexte::StoredCentre() {
  const int anchor = AnchorHandle();
  if (anchor == 0) return QPointF(x, y);
  const QSize s = MeasureBlockAt(MeasureCanvas(), kReferencePxPerMm);
  return HandlePos(anchor) -
         CornerOffset(anchor, s.width() / kReferencePxPerMm, s.height() / kReferencePxPerMm);
}

TFont TzunoCADTexte::ScaledFont() const {
  return ScaledFontAt(document_->PixelsPerMmX);
}

TFont TzunoCADTexte::ScaledFontAt(double pxPerMm) const {
  TFont f = Font;
  // Mirrored groups give negative scales; the letters keep their size and direction.
  f.Height = static_cast<int>(RoundEven(Font.Height * std::fabs(pxPerMm) / 1000.0));
  return f;
}

QSize TzunoCADTexte::MeasureBlock(TCanvas& canvas) {
  return MeasureBlockAt(canvas, document_->PixelsPerMmX);
}

QSize TzunoCADTexte::MeasureBlockAt(TCanvas& canvas, double pxPerMm) {
  const QStringList lines = TextLines(Displayed);
  if (lines.isEmpty()) return QSize(0, 0);
  canvas.SetFont(ScaledFontAt(pxPerMm));
  int w = 0, hh = 0;
  for (const QString& line : lines) {
    const QSize e = canvas.TextExtent(line.trimmed());
    w = std::max(w, e.width());
    hh += e.height();
  }
  return QSize(w, hh);
}

void TzunoCADTexte::LayoutText(const QString& text) {
  const int anchor = AnchorHandle();
  const QPointF a = HandlePos(anchor);
  txt = text.trimmed();
  Displayed = document_->SubstituteFields(this, txt);
  const QSize s = MeasureBlock(MeasureCanvas());
  l = document_->PxToMmX(s.width());
  h = document_->PxToMmY(s.height());
  if (anchor != 0) {
    const QPointF b = HandlePos(anchor);
    x += a.x() - b.x();
    y += a.y() - b.y();
  }
}

QString TzunoCADTexte::WordWrap(const QString& text, double width) {
  TCanvas& c = MeasureCanvas();
  c.SetFont(ScaledFont());
  const QStringList words = text.split(QLatin1Char(' '));
  QString result;
  QString line = words.value(0);
  for (qsizetype i = 1; i < words.size(); ++i) {
    const QString candidate = line + QLatin1Char(' ') + words[i];
    if (document_->PxToMmX(c.TextWidth(candidate)) >= width) {
      result += line + QLatin1Char('|');
      line = words[i];
    } else {
      line = candidate;
    }
  }
  return result + line;
}

void TzunoCADTexte::FitFont(TCanvas& canvas) {
  QString widest;
  int widestPx = -1;
  for (const QString& line : TextLines(Displayed)) {
    const int w = canvas.TextWidth(line.trimmed());
    if (w > widestPx) {
      widestPx = w;
      widest = line.trimmed();
    }
  }
  TFont f = canvas.Font();
  f.Height = 1;
  canvas.SetFont(f);
  auto widthMm = [&] { return document_->PxToMmX(canvas.TextWidth(widest)); };
  // An empty line never widens: without the cap the height would grow for ever.
  while (!widest.isEmpty() && widthMm() < l && f.Height < kMaxFitHeight) {
    f.Height += 10;
    canvas.SetFont(f);
  }
  while (widthMm() > l && f.Height > 1) {
    f.Height -= 1;
    canvas.SetFont(f);
  }
}

void TzunoCADTexte::FitAfterDrag() {
  TCanvas& c = MeasureCanvas();
  c.SetFont(ScaledFont());
  FitFont(c);
  if (document_->PixelsPerMmX != 0)
    Font.Height = static_cast<int>(RoundEven(c.Font().Height * 1000.0 / document_->PixelsPerMmX));
  const QSize s = MeasureBlock(c);
  l = document_->PxToMmX(s.width());
  h = document_->PxToMmY(s.height());
}

void TzunoCADTexte::RotateTo(QPointF p, bool shift) {
  TzunoCADRect::RotateTo(p, shift);
  FitAfterDrag();
}

void TzunoCADTexte::ResizeCentered(QPointF p, bool shift) {
  TzunoCADRect::ResizeCentered(p, shift);
  FitAfterDrag();
}

void TzunoCADTexte::ResizeAnchored(QPointF p) {
  // Handle 6 sets the wrapping width; the font stays.
  TzunoCADRect::ResizeCentered(p, false);
  QString flat = txt;
  flat.replace(QLatin1Char('|'), QLatin1Char(' '));
  LayoutText(WordWrap(flat, l));
}

void TzunoCADTexte::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  TzunoCADMdl* d = document_;
  QSize block = MeasureBlock(canvas);
  // The box follows the scale: re-lay the text when its width rounds differently here.
  if (RoundEven(l * d->PixelsPerMmX) != block.width()) {
    LayoutText(txt);
    block = MeasureBlock(canvas);
  }
  const QStringList lines = TextLines(Displayed);
  const qsizetype n = lines.size();
  const double W = block.width(), H = block.height();
  const double step = (n == 0 || d->PixelsPerMmY <= 0) ? 0.0 : H / n / d->PixelsPerMmY;
  const TFont saved = canvas.Font();
  const int savedEscapement = canvas.Escapement();
  canvas.SetFont(ScaledFont(), static_cast<int>(RoundEven(r * -10)));
  canvas.SetBkMode(bkTransparent);
  canvas.SetBrush(TBrush{clWhite, bsClear});
  const double t = r * std::numbers::pi / 180;
  const double cx = W * std::cos(t) - H * std::sin(t), cy = W * std::sin(t) + H * std::cos(t);
  for (qsizetype i = 0; i < n; ++i) {
    const QString line = lines[i].trimmed();
    double dx = 0;
    if (Alignement == 1 || Alignement == 2) {
      dx = d->PixelsPerMmX == 0 ? 0 : (W - canvas.TextWidth(line)) / d->PixelsPerMmX;
      if (Alignement == 2) dx /= 2;
    }
    const QPointF p = RotateAround(QPointF(x + dx, y + static_cast<double>(i) * step));
    canvas.TextOut(static_cast<int>(RoundEven(d->MmToPxX(p.x()) - cx / 2)),
                   static_cast<int>(RoundEven(d->MmToPxY(p.y()) - cy / 2)), line);
  }
  canvas.SetFont(saved, savedEscapement);
  TzunoCADRect::Draw(canvas);
  if (d->ShowHandles && (Selected || HitCode != -1) && Aligne >= 1 && Aligne <= 4) {
    canvas.SetPen(TPen{StateColor(), 1, psSolid});
    auto edge = [&](int a, int b) { DrawSegment(canvas, HandlePos(a), HandlePos(b)); };
    if (Aligne == 1 || Aligne == 2) edge(1, 2);
    if (Aligne == 2 || Aligne == 3) edge(2, 3);
    if (Aligne == 3 || Aligne == 4) edge(3, 4);
    if (Aligne == 1 || Aligne == 4) edge(4, 1);
  }
}
