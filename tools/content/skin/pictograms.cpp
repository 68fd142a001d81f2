#include "skin/pictograms.h"

#include <QPainterPath>
#include <cmath>
#include <functional>
#include <map>

namespace content::skin {

namespace {

// Drawing context on the 24-unit grid.
struct G {
  QPainter& p;
  const Ink& ink;
  qreal w = 1.8;  // stroke width in grid units

  QPen Pen(const QColor& c, qreal width = -1) const {
    QPen pen(c, width < 0 ? w : width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
  }
  void Stroke(const QPainterPath& path, bool accent = false) {
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(accent ? ink.accent : ink.line));
    p.drawPath(path);
  }
  void Fill(const QPainterPath& path, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
  }
  void Paper(const QPainterPath& path, bool accent = false) {
    Fill(path, ink.fill);
    Stroke(path, accent);
  }
  void Line(qreal x1, qreal y1, qreal x2, qreal y2, bool accent = false) {
    p.setPen(Pen(accent ? ink.accent : ink.line));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  }
  void Dot(qreal x, qreal y, qreal r, bool accent = false) {
    p.setPen(Qt::NoPen);
    p.setBrush(accent ? ink.accent : ink.line);
    p.drawEllipse(QPointF(x, y), r, r);
  }
  static QPainterPath Rect(qreal x, qreal y, qreal wd, qreal ht, qreal r = 1.5) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, wd, ht), r, r);
    return path;
  }
  static QPainterPath Circle(qreal x, qreal y, qreal r) {
    QPainterPath path;
    path.addEllipse(QPointF(x, y), r, r);
    return path;
  }
  static QPainterPath Poly(std::initializer_list<QPointF> pts, bool close) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : pts) {
      if (first)
        path.moveTo(pt);
      else
        path.lineTo(pt);
      first = false;
    }
    if (close) path.closeSubpath();
    return path;
  }
  void Text(const QString& s, const QRectF& r, qreal size, bool accent = false, bool bold = true) {
    QFont f(QStringLiteral("Lato"));
    f.setPixelSize(1);  // scaled below: fonts take integer pixel sizes
    f.setBold(bold);
    p.save();
    const qreal k = size;
    p.translate(r.center());
    p.scale(k / 10.0, k / 10.0);
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(accent ? ink.accent : ink.line);
    const QRectF box(-r.width() * 5 / k, -r.height() * 5 / k, r.width() * 10 / k, r.height() * 10 / k);
    p.drawText(box, Qt::AlignCenter, s);
    p.restore();
  }
};

void Page(G& g, qreal x = 5, qreal y = 3, qreal w = 14, qreal h = 18) {
  QPainterPath path;
  path.moveTo(x, y + 1.5);
  path.quadTo(x, y, x + 1.5, y);
  path.lineTo(x + w - 4, y);
  path.lineTo(x + w, y + 4);
  path.lineTo(x + w, y + h - 1.5);
  path.quadTo(x + w, y + h, x + w - 1.5, y + h);
  path.lineTo(x + 1.5, y + h);
  path.quadTo(x, y + h, x, y + h - 1.5);
  path.closeSubpath();
  g.Paper(path);
  g.Stroke(G::Poly({{x + w - 4, y}, {x + w - 4, y + 4}, {x + w, y + 4}}, false));
}

void Disc(G& g, qreal cx = 12, qreal cy = 12, qreal r = 9) {
  g.Paper(G::Circle(cx, cy, r));
  g.Stroke(G::Circle(cx, cy, r * 0.3), true);
  QPainterPath arc;
  arc.arcMoveTo(QRectF(cx - r * 0.65, cy - r * 0.65, r * 1.3, r * 1.3), 100);
  arc.arcTo(QRectF(cx - r * 0.65, cy - r * 0.65, r * 1.3, r * 1.3), 100, 60);
  g.p.save();
  g.w *= 0.7;
  g.Stroke(arc);
  g.w /= 0.7;
  g.p.restore();
}

void Plus(G& g, qreal cx, qreal cy, qreal r, bool accent = true) {
  g.Line(cx - r, cy, cx + r, cy, accent);
  g.Line(cx, cy - r, cx, cy + r, accent);
}

void Note(G& g, qreal x, qreal y, qreal s) {
  // An eighth note: head at the bottom left, stem and flag.
  g.Fill(G::Circle(x, y + 6 * s, 2.2 * s), g.ink.line);
  g.Line(x + 2 * s, y + 6 * s, x + 2 * s, y - 4 * s);
  QPainterPath flag;
  flag.moveTo(x + 2 * s, y - 4 * s);
  flag.cubicTo(x + 5 * s, y - 3 * s, x + 6 * s, y - 1 * s, x + 5 * s, y + 1.5 * s);
  g.Stroke(flag, true);
}

void Folder(G& g, qreal x, qreal y, qreal w, qreal h, bool accent = false) {
  QPainterPath path;
  path.moveTo(x, y + 2);
  path.lineTo(x, y + h);
  path.lineTo(x + w, y + h);
  path.lineTo(x + w, y + 3.5);
  path.lineTo(x + w * 0.45, y + 3.5);
  path.lineTo(x + w * 0.35, y + 1.5);
  path.lineTo(x + 1, y + 1.5);
  path.closeSubpath();
  g.Paper(path, accent);
}

void Person(G& g, qreal cx, qreal cy, qreal s) {
  g.Stroke(G::Circle(cx, cy - 2.2 * s, 2.1 * s));
  QPainterPath body;
  body.moveTo(cx - 4 * s, cy + 5 * s);
  body.cubicTo(cx - 4 * s, cy + 1 * s, cx + 4 * s, cy + 1 * s, cx + 4 * s, cy + 5 * s);
  g.Stroke(body);
}

void Picture(G& g, qreal x, qreal y, qreal w, qreal h) {
  g.Paper(G::Rect(x, y, w, h));
  g.Stroke(G::Poly({{x + 1.5, y + h - 1.5},
                    {x + w * 0.38, y + h * 0.45},
                    {x + w * 0.6, y + h * 0.72},
                    {x + w * 0.75, y + h * 0.58},
                    {x + w - 1.5, y + h - 1.5}},
                   false));
  g.Dot(x + w * 0.72, y + h * 0.3, 1.4, true);
}

void Arrow(G& g, qreal x1, qreal y1, qreal x2, qreal y2, bool accent = false, qreal head = 3.5) {
  g.Line(x1, y1, x2, y2, accent);
  const qreal a = std::atan2(y2 - y1, x2 - x1);
  const qreal s = 0.6;
  g.Stroke(G::Poly({{x2 - head * std::cos(a - s), y2 - head * std::sin(a - s)},
                    {x2, y2},
                    {x2 - head * std::cos(a + s), y2 - head * std::sin(a + s)}},
                   false),
           accent);
}

void Tag(G& g, qreal x, qreal y, qreal w, qreal h) {
  QPainterPath path;
  path.moveTo(x + 4, y);
  path.lineTo(x + w, y);
  path.lineTo(x + w, y + h);
  path.lineTo(x + 4, y + h);
  path.lineTo(x, y + h / 2);
  path.closeSubpath();
  g.Paper(path);
  g.Stroke(G::Circle(x + 4.5, y + h / 2, 1.1), true);
}

void Printer(G& g) {
  g.Paper(G::Rect(7, 3, 10, 6, 0.8));
  g.Paper(G::Rect(3, 9, 18, 8, 2));
  g.Paper(G::Rect(7, 14, 10, 7, 0.8));
  g.Line(9, 17, 15, 17, true);
  g.Dot(18, 12, 0.9, true);
}

void Shirt(G& g) {
  g.Paper(G::Poly({{8, 3},
                   {4, 5.5},
                   {2, 10},
                   {5.5, 11.5},
                   {6.5, 9.5},
                   {6.5, 21},
                   {17.5, 21},
                   {17.5, 9.5},
                   {18.5, 11.5},
                   {22, 10},
                   {20, 5.5},
                   {16, 3},
                   {14, 4.5},
                   {10, 4.5}},
                  true));
  g.Stroke(G::Circle(12, 13, 2.5), true);
}

void Calendar(G& g) {
  g.Paper(G::Rect(3, 5, 18, 16, 2));
  g.Line(3, 10, 21, 10);
  g.Line(8, 3, 8, 7, true);
  g.Line(16, 3, 16, 7, true);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) g.Dot(7 + c * 3.4, 13.5 + r * 4, 0.9, r == 1 && c == 2);
}

void Sliders(G& g) {
  g.Line(4, 7, 20, 7);
  g.Line(4, 12, 20, 12);
  g.Line(4, 17, 20, 17);
  g.Paper(G::Circle(9, 7, 2));
  g.Paper(G::Circle(15, 12, 2), true);
  g.Paper(G::Circle(7, 17, 2));
}

void Layers(G& g) {
  g.Paper(G::Poly({{12, 14}, {21, 17}, {12, 21}, {3, 17}}, true));
  g.Paper(G::Poly({{12, 9}, {21, 12.5}, {12, 16}, {3, 12.5}}, true));
  g.Paper(G::Poly({{12, 3}, {21, 7}, {12, 11}, {3, 7}}, true), true);
}

void Wand(G& g) {
  g.Line(4, 20, 15, 9);
  g.Line(13, 7, 17, 11, true);
  auto spark = [&](qreal x, qreal y, qreal r) {
    g.Line(x - r, y, x + r, y, true);
    g.Line(x, y - r, x, y + r, true);
  };
  spark(18, 4.5, 2);
  spark(8, 5, 1.5);
  spark(20, 14, 1.5);
}

void Trash(G& g, bool accent = false) {
  g.Line(4, 6, 20, 6);
  g.Stroke(G::Poly({{9, 6}, {10, 3.5}, {14, 3.5}, {15, 6}}, false));
  g.Paper(G::Poly({{6, 6}, {7, 21}, {17, 21}, {18, 6}}, false));
  g.Line(10, 10, 10, 17, accent);
  g.Line(14, 10, 14, 17, accent);
}

void Copies(G& g) {
  g.Paper(G::Rect(8, 3, 12, 14));
  g.Paper(G::Rect(4, 7, 12, 14), true);
}

void Cross(G& g, qreal cx, qreal cy, qreal r, bool accent = true) {
  g.Line(cx - r, cy - r, cx + r, cy + r, accent);
  g.Line(cx - r, cy + r, cx + r, cy - r, accent);
}

void CheckMark(G& g, qreal cx, qreal cy, qreal s, bool accent = true) {
  g.Stroke(G::Poly({{cx - 4 * s, cy}, {cx - 1.2 * s, cy + 3 * s}, {cx + 4.5 * s, cy - 3.5 * s}}, false),
           accent);
}

// Case items and sheet layouts (1 to 6).
void CaseItem(G& g, int n) {
  switch (n) {
    case 1:  // disc label
      Disc(g);
      break;
    case 2:  // tray card: the back of the case with its two spines
      g.Paper(G::Rect(3, 5, 18, 14, 1));
      g.Line(5.5, 5, 5.5, 19, true);
      g.Line(18.5, 5, 18.5, 19, true);
      g.Line(8.5, 10, 15.5, 10);
      g.Line(8.5, 13, 15.5, 13);
      break;
    case 3:  // booklet: two open pages
      g.Paper(G::Poly({{12, 6}, {3, 4}, {3, 19}, {12, 21}}, true));
      g.Paper(G::Poly({{12, 6}, {21, 4}, {21, 19}, {12, 21}}, true));
      g.Line(12, 6, 12, 21, true);
      break;
    case 4:  // leaflet with returns: one panel folded back
      g.Paper(G::Rect(3, 5, 13, 14, 1));
      g.Paper(G::Poly({{16, 5}, {21, 7}, {21, 17}, {16, 19}}, true), true);
      g.Line(6, 10, 13, 10);
      g.Line(6, 13, 11, 13);
      break;
    case 5:  // DVD cover: tall case with its spine
      g.Paper(G::Rect(4, 2, 16, 20, 1.5));
      g.Line(8, 2, 8, 22, true);
      g.Stroke(G::Circle(14, 12, 3.5));
      break;
    default:  // sleeve with flaps
      g.Paper(G::Rect(4, 4, 16, 16, 1));
      g.Stroke(G::Poly({{4, 4}, {12, 10}, {20, 4}}, false), true);
      g.Stroke(G::Circle(12, 14.5, 3));
      break;
  }
}

using Draw = std::function<void(G&)>;

const std::map<QString, Draw>& Table() {
  static const std::map<QString, Draw> table = {
      // Button bars.
      {"new",
       [](G& g) {
         Page(g);
         Plus(g, 12, 13.5, 3);
       }},
      {"card",
       [](G& g) {
         g.Paper(G::Rect(2.5, 5, 19, 14, 2));
         Person(g, 8, 12, 0.9);
         g.Line(13, 10, 18.5, 10, true);
         g.Line(13, 14, 17, 14);
       }},
      {"info",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         g.Line(12, 11, 12, 17, true);
         g.Dot(12, 7.5, 1.2, true);
       }},
      {"web",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         QPainterPath meridian;
         meridian.addEllipse(QRectF(8, 3, 8, 18));
         g.Stroke(meridian, true);
         g.Line(3, 12, 21, 12);
         g.Line(4.5, 7.5, 19.5, 7.5);
         g.Line(4.5, 16.5, 19.5, 16.5);
       }},
      {"help",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         QPainterPath q;
         q.moveTo(9, 9.5);
         q.cubicTo(9, 6, 15, 6, 15, 9.5);
         q.cubicTo(15, 12, 12, 11.5, 12, 14);
         g.Stroke(q, true);
         g.Dot(12, 17.3, 1.2, true);
       }},
      {"quit",
       [](G& g) {
         QPainterPath arc;
         arc.arcMoveTo(QRectF(4, 4, 16, 16), 120);
         arc.arcTo(QRectF(4, 4, 16, 16), 120, 300);
         g.Stroke(arc);
         g.Line(12, 2.5, 12, 11, true);
       }},
      {"advanced", [](G& g) { Sliders(g); }},
      {"simple",
       [](G& g) {
         g.Line(4, 12, 20, 12);
         g.Paper(G::Circle(12, 12, 3), true);
       }},
      {"undo",
       [](G& g) {
         QPainterPath path;
         path.moveTo(5, 9);
         path.lineTo(15, 9);
         path.cubicTo(22, 9, 22, 20, 15, 20);
         path.lineTo(9, 20);
         g.Stroke(path);
         g.Stroke(G::Poly({{9, 4.5}, {4.5, 9}, {9, 13.5}}, false), true);
       }},
      {"save",
       [](G& g) {
         g.Paper(G::Poly({{4, 3}, {17, 3}, {21, 7}, {21, 21}, {4, 21}}, true));
         g.Paper(G::Rect(8, 3, 8, 5, 0.5));
         g.Paper(G::Rect(7, 13, 11, 8, 0.5), true);
       }},
      {"print", [](G& g) { Printer(g); }},
      {"back",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         Arrow(g, 17, 12, 7, 12, true);
       }},
      {"printer-top",
       [](G& g) {
         g.Paper(G::Poly({{7, 1.5}, {17, 1.5}, {17, 10}, {7, 10}}, true), true);
         Arrow(g, 12, 3.5, 12, 8.5, true, 2);
         g.Paper(G::Rect(3, 9, 18, 9, 2));
         g.Paper(G::Rect(7, 16, 10, 6, 0.8));
       }},
      {"printer-front",
       [](G& g) {
         g.Paper(G::Rect(3, 5, 18, 10, 2));
         g.Paper(G::Poly({{5, 15}, {19, 15}, {22, 21}, {2, 21}}, true), true);
         Arrow(g, 12, 20, 12, 16, true, 2);
         g.Dot(17.5, 8.5, 0.9, true);
       }},
      {"printer-laser",
       [](G& g) {
         g.Paper(G::Rect(3, 4, 18, 14, 2));
         g.Line(3, 9, 21, 9);
         g.Paper(G::Rect(6, 18, 12, 3.5, 0.8), true);
         g.Line(7, 13.5, 12, 13.5, true);
       }},
      // Editor tools.
      {"select",
       [](G& g) {
         g.Paper(G::Poly({{6, 3}, {6, 19}, {10, 15}, {13, 21.5}, {15.5, 20.5}, {12.5, 14}, {18, 14}}, true));
         g.Dot(6, 3, 1.1, true);
       }},
      {"text",
       [](G& g) {
         g.Line(5, 5, 19, 5);
         g.Line(5, 5, 5, 7.5);
         g.Line(19, 5, 19, 7.5);
         g.Line(12, 5, 12, 20);
         g.Line(9, 20, 15, 20, true);
       }},
      {"shape",
       [](G& g) {
         g.Paper(G::Rect(3, 10, 10, 10, 1));
         g.Paper(G::Circle(15, 9, 6), true);
       }},
      {"image", [](G& g) { Picture(g, 3, 4, 18, 16); }},
      {"line",
       [](G& g) {
         g.Line(5, 19, 19, 5);
         g.Paper(G::Rect(3, 17, 4, 4, 0.8), true);
         g.Paper(G::Rect(17, 3, 4, 4, 0.8), true);
       }},
      {"mark",
       [](G& g) {
         g.Stroke(G::Circle(12, 12, 6));
         g.Line(12, 2, 12, 22, true);
         g.Line(2, 12, 22, 12, true);
       }},
      {"tree",
       [](G& g) {
         Folder(g, 3, 2, 9, 6, true);
         g.Line(6, 9, 6, 19);
         g.Line(6, 13, 11, 13);
         g.Line(6, 19, 11, 19);
         Folder(g, 12, 10, 9, 5);
         g.Paper(G::Rect(12, 16.5, 8, 5, 0.8));
       }},
      {"calendar", [](G& g) { Calendar(g); }},
      {"barcode",
       [](G& g) {
         const qreal xs[] = {4, 6, 9, 10.5, 13, 16, 17.5, 20};
         const qreal ws[] = {1.2, 0.6, 1.6, 0.6, 1.2, 0.6, 1.2, 1};
         for (int i = 0; i < 8; ++i) {
           g.p.setPen(Qt::NoPen);
           g.p.setBrush(i == 4 ? g.ink.accent : g.ink.line);
           g.p.drawRect(QRectF(xs[i], 4, ws[i], i == 0 || i == 7 ? 16 : 14));
         }
       }},
      {"background",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 18, 18, 2));
         for (int i = 0; i < 4; ++i) g.Line(3.5 + i * 5, 20.5, 20.5, 3.5 + i * 5, i == 1);
       }},
      {"ribbon",
       [](G& g) {
         QPainterPath band;
         band.moveTo(2, 8);
         band.cubicTo(8, 4, 14, 12, 22, 7);
         band.lineTo(22, 14);
         band.cubicTo(14, 19, 8, 11, 2, 15);
         band.closeSubpath();
         g.Paper(band, true);
       }},
      {"punch",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 18, 18, 2));
         QPen pen = g.Pen(g.ink.accent, 1.5);
         pen.setDashPattern({1.5, 1.6});
         g.p.setPen(pen);
         g.p.setBrush(Qt::NoBrush);
         g.p.drawEllipse(QPointF(12, 12), 5.5, 5.5);
       }},
      {"stamp",
       [](G& g) {
         g.Paper(G::Rect(4, 15, 16, 5, 1));
         g.Paper(G::Poly({{9, 15}, {10, 10}, {14, 10}, {15, 15}}, true));
         g.Paper(G::Circle(12, 6.5, 3.5), true);
         g.Line(3, 22, 21, 22);
       }},
      {"label", [](G& g) { Tag(g, 2, 6, 20, 12); }},
      {"frame",
       [](G& g) {
         g.Paper(G::Rect(2.5, 2.5, 19, 19, 1));
         g.Stroke(G::Rect(6.5, 6.5, 11, 11, 0.5), true);
         g.Line(2.5, 2.5, 6.5, 6.5);
         g.Line(21.5, 2.5, 17.5, 6.5);
         g.Line(2.5, 21.5, 6.5, 17.5);
         g.Line(21.5, 21.5, 17.5, 17.5);
       }},
      // Side-menu titles.
      {"templates",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 8, 8, 1.2), true);
         g.Paper(G::Rect(13, 3, 8, 8, 1.2));
         g.Paper(G::Rect(3, 13, 8, 8, 1.2));
         g.Paper(G::Rect(13, 13, 8, 8, 1.2));
       }},
      {"actions",
       [](G& g) {
         g.Paper(G::Poly({{13, 2}, {5, 13.5}, {11, 13.5}, {10, 22}, {19, 10}, {13, 10}}, true), true);
       }},
      {"variants", [](G& g) { Copies(g); }},
      {"album",
       [](G& g) {
         g.Paper(G::Rect(4, 3, 15, 18, 1.2));
         g.Line(7, 3, 7, 21, true);
         Disc(g, 13.5, 12, 4);
       }},
      {"sheets",
       [](G& g) {
         g.Paper(G::Rect(4, 2.5, 16, 19, 1));
         for (int r = 0; r < 3; ++r)
           for (int c = 0; c < 2; ++c)
             g.Stroke(G::Rect(6.5 + c * 6, 5 + r * 5.5, 5, 3.8, 0.8), r == 0 && c == 0);
       }},
      {"palette",
       [](G& g) {
         QPainterPath path;
         path.moveTo(12, 3);
         path.cubicTo(4, 3, 2, 10, 3.5, 14);
         path.cubicTo(5, 18, 9, 21, 13, 21);
         path.cubicTo(16, 21, 15, 17, 17, 16);
         path.cubicTo(19, 15, 21.5, 16, 21.5, 12);
         path.cubicTo(21.5, 7, 18, 3, 12, 3);
         g.Paper(path);
         g.Dot(8, 9, 1.5, true);
         g.Dot(12.5, 7, 1.5);
         g.Dot(16.5, 9.5, 1.5, true);
         g.Dot(7.5, 14, 1.5);
       }},
      {"pageformat",
       [](G& g) {
         Page(g, 7, 3, 13, 17);
         Arrow(g, 3, 20, 3, 5, true, 2.5);
         Arrow(g, 3, 5, 3, 20, true, 2.5);
       }},
      {"shapes",
       [](G& g) {
         g.Paper(G::Poly({{12, 2.5},
                          {14.6, 8.4},
                          {21, 9},
                          {16.2, 13.2},
                          {17.6, 19.5},
                          {12, 16.2},
                          {6.4, 19.5},
                          {7.8, 13.2},
                          {3, 9},
                          {9.4, 8.4}},
                         true),
                 true);
       }},
      {"layers", [](G& g) { Layers(g); }},
      {"position",
       [](G& g) {
         Arrow(g, 12, 12, 12, 3, false, 3);
         Arrow(g, 12, 12, 12, 21, false, 3);
         Arrow(g, 12, 12, 3, 12, false, 3);
         Arrow(g, 12, 12, 21, 12, false, 3);
         g.Dot(12, 12, 2, true);
       }},
      {"tshirt", [](G& g) { Shirt(g); }},
      {"mirror",
       [](G& g) {
         g.Paper(G::Poly({{10, 5}, {10, 19}, {3, 19}}, true));
         g.Paper(G::Poly({{14, 5}, {14, 19}, {21, 19}}, true), true);
         QPen pen = g.Pen(g.ink.line, 1.2);
         pen.setDashPattern({1.5, 1.5});
         g.p.setPen(pen);
         g.p.drawLine(QPointF(12, 2), QPointF(12, 22));
       }},
      {"tools",
       [](G& g) {
         g.Paper(G::Poly({{4, 20}, {5, 15}, {16, 4}, {20, 8}, {9, 19}}, true));
         g.Line(14, 6, 18, 10, true);
       }},
      {"faces",
       [](G& g) {
         g.Paper(G::Rect(3, 5, 11, 15, 1));
         g.Paper(G::Rect(10, 3, 11, 15, 1), true);
       }},
      {"mask",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 18, 18, 2));
         g.Fill(G::Circle(12, 12, 6), g.ink.accent);
         g.Stroke(G::Circle(12, 12, 6));
       }},
      {"paper",
       [](G& g) {
         Page(g);
         g.Line(8, 11, 16, 11);
         g.Line(8, 14.5, 16, 14.5, true);
         g.Line(8, 18, 13, 18);
       }},
      {"effects", [](G& g) { Wand(g); }},
      {"list",
       [](G& g) {
         for (int i = 0; i < 3; ++i) {
           g.Dot(5, 6 + i * 6, 1.3, i == 0);
           g.Line(9, 6 + i * 6, 20, 6 + i * 6);
         }
       }},
      {"settings", [](G& g) { Sliders(g); }},
      {"generic",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 18, 18, 3));
         g.Dot(12, 12, 2.5, true);
       }},
      // Action labels.
      {"duplicate",
       [](G& g) {
         Copies(g);
         Plus(g, 10, 14, 2.5);
       }},
      {"copy", [](G& g) { Copies(g); }},
      {"paste",
       [](G& g) {
         g.Paper(G::Rect(4, 4, 14, 17, 1.5));
         g.Paper(G::Rect(8, 2.5, 6, 3.5, 1), true);
         g.Paper(G::Rect(11, 10, 10, 12, 1));
       }},
      {"delete", [](G& g) { Trash(g, true); }},
      {"removepicture",
       [](G& g) {
         Picture(g, 2, 3, 15, 13);
         g.Fill(G::Circle(17.5, 17.5, 5), g.ink.fill);
         g.Line(14.5, 17.5, 20.5, 17.5, true);
       }},
      {"addpicture",
       [](G& g) {
         Picture(g, 2, 3, 15, 13);
         g.Fill(G::Circle(17.5, 17.5, 5), g.ink.fill);
         Plus(g, 17.5, 17.5, 3);
       }},
      {"library",
       [](G& g) {
         g.Paper(G::Rect(3, 4, 4, 16, 0.8));
         g.Paper(G::Rect(8, 4, 4, 16, 0.8), true);
         g.Paper(G::Poly({{13, 5.5}, {16.8, 4.5}, {20.8, 19}, {17, 20}}, true));
       }},
      {"disc", [](G& g) { Disc(g); }},
      {"folder", [](G& g) { Folder(g, 2.5, 4, 19, 16, true); }},
      {"scanner",
       [](G& g) {
         g.Paper(G::Rect(2.5, 11, 19, 8, 1.5));
         g.Paper(G::Poly({{4, 11}, {16, 4}, {17.5, 6.5}, {7.5, 11}}, true));
         g.Line(5, 15, 19, 15, true);
       }},
      {"backgroundpicture",
       [](G& g) {
         g.Paper(G::Rect(2.5, 2.5, 19, 19, 1.5));
         Picture(g, 6, 6, 12, 10);
       }},
      {"straighten",
       [](G& g) {
         g.p.save();
         g.p.translate(12, 12);
         g.p.rotate(-15);
         g.p.translate(-12, -12);
         g.Paper(G::Rect(6, 6, 12, 12, 1));
         g.p.restore();
         QPainterPath arc;
         arc.arcMoveTo(QRectF(2, 2, 20, 20), 30);
         arc.arcTo(QRectF(2, 2, 20, 20), 30, 60);
         g.Stroke(arc, true);
       }},
      {"copyface",
       [](G& g) {
         g.Paper(G::Rect(2.5, 4, 8, 15, 1));
         g.Paper(G::Rect(13.5, 4, 8, 15, 1));
         Arrow(g, 5.5, 11.5, 18, 11.5, true, 2.5);
       }},
      {"eraseface",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 14, 18, 1.2));
         g.Paper(G::Poly({{12, 20}, {18, 13}, {22, 17}, {18, 21}}, true), true);
       }},
      {"quote",
       [](G& g) {
         g.Paper(G::Rect(2.5, 4, 19, 14, 2));
         g.Paper(G::Poly({{7, 18}, {7, 22}, {11, 18}}, false));
         g.Text(QStringLiteral("\u201C\u201D"), QRectF(4, 4, 16, 14), 13, true);
       }},
      {"dropper",
       [](G& g) {
         g.Paper(G::Poly({{4, 20}, {4.5, 17}, {13, 8.5}, {15.5, 11}, {7, 19.5}}, true));
         g.Paper(G::Rect(14, 3.5, 6, 6, 3), true);
         g.Line(11.5, 7, 17, 12.5);
       }},
      {"rotate",
       [](G& g) {
         QPainterPath arc;
         arc.arcMoveTo(QRectF(4, 4, 16, 16), 90);
         arc.arcTo(QRectF(4, 4, 16, 16), 90, 270);
         g.Stroke(arc);
         g.Stroke(G::Poly({{10, 1.5}, {12.5, 4}, {10, 6.5}}, false), true);
       }},
      {"fold",
       [](G& g) {
         g.Paper(G::Poly({{3, 4}, {12, 6}, {12, 21}, {3, 19}}, true));
         g.Paper(G::Poly({{12, 6}, {21, 4}, {21, 19}, {12, 21}}, true));
         QPen pen = g.Pen(g.ink.accent, 1.5);
         pen.setDashPattern({1.5, 1.5});
         g.p.setPen(pen);
         g.p.drawLine(QPointF(12, 2), QPointF(12, 23));
       }},
      {"crop",
       [](G& g) {
         g.Stroke(G::Poly({{6, 2}, {6, 18}, {22, 18}}, false));
         g.Stroke(G::Poly({{2, 6}, {18, 6}, {18, 22}}, false), true);
       }},
      {"border",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 18, 18, 1));
         QPen pen = g.Pen(g.ink.accent, 2.2);
         pen.setDashPattern({1, 1});
         g.p.setPen(pen);
         g.p.setBrush(Qt::NoBrush);
         g.p.drawRect(QRectF(5.5, 5.5, 13, 13));
       }},
      {"erase",
       [](G& g) {
         Picture(g, 2, 3, 15, 13);
         g.Fill(G::Circle(17.5, 17.5, 5), g.ink.fill);
         Cross(g, 17.5, 17.5, 2.5);
       }},
      {"eraseall",
       [](G& g) {
         g.Paper(G::Rect(6, 2, 14, 11, 1));
         Picture(g, 2, 6, 14, 11);
         g.Fill(G::Circle(17.5, 18, 5), g.ink.fill);
         Cross(g, 17.5, 18, 2.5);
       }},
      {"web-go",
       [](G& g) {
         g.Paper(G::Circle(11, 12, 8));
         g.Line(3, 12, 19, 12);
         QPainterPath meridian;
         meridian.addEllipse(QRectF(7.5, 4, 7, 16));
         g.Stroke(meridian);
         Arrow(g, 14, 18, 22, 18, true, 2.5);
       }},
      {"add",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         Plus(g, 12, 12, 4.5);
       }},
      {"remove",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         g.Line(7.5, 12, 16.5, 12, true);
       }},
      {"close",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         Cross(g, 12, 12, 3.5);
       }},
      {"check",
       [](G& g) {
         g.Paper(G::Circle(12, 12, 9));
         CheckMark(g, 12, 12, 1.1);
       }},
      // Wizards and choosers.
      {"ruler",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 13, 17, 1));
         g.Paper(G::Poly({{18, 3}, {22, 3}, {22, 21}, {18, 21}}, true), true);
         for (int i = 0; i < 5; ++i) g.Line(18, 6 + i * 3.5, i % 2 ? 19.5 : 20.5, 6 + i * 3.5);
       }},
      {"cardwand",
       [](G& g) {
         g.Paper(G::Rect(2.5, 6, 14, 15, 1.5));
         g.Line(5.5, 16, 13.5, 16);
         g.Line(5.5, 12.5, 10.5, 12.5);
         g.Line(13, 11, 20, 4, true);
         g.Line(19.5, 9, 21.5, 9, true);
         g.Line(20.5, 8, 20.5, 10, true);
       }},
      {"scrap",
       [](G& g) {
         g.p.save();
         g.p.translate(9, 12);
         g.p.rotate(-10);
         g.Paper(G::Rect(-7, -7, 12, 13, 0.8));
         g.p.restore();
         g.p.save();
         g.p.translate(15, 12);
         g.p.rotate(8);
         Picture(g, -6, -7, 12, 13);
         g.p.restore();
         g.Paper(G::Rect(9, 2, 6, 3, 0.5), true);
       }},
      {"landscape", [](G& g) { Picture(g, 2, 4, 20, 16); }},
      {"book",
       [](G& g) {
         g.Paper(G::Poly({{12, 6}, {3, 4}, {3, 19}, {12, 21}}, true));
         g.Paper(G::Poly({{12, 6}, {21, 4}, {21, 19}, {12, 21}}, true));
         g.Line(15, 9, 18.5, 8.2, true);
         g.Line(15, 12.5, 18.5, 11.7);
         g.Line(5.5, 8.2, 9, 9);
       }},
      {"glossary",
       [](G& g) {
         g.Paper(G::Rect(4, 3, 16, 18, 1.5));
         g.Line(7, 3, 7, 21, true);
         g.Text(QStringLiteral("A-Z"), QRectF(7.5, 6, 12, 12), 7);
       }},
      {"video",
       [](G& g) {
         g.Paper(G::Rect(2.5, 4, 19, 16, 2.5));
         g.Fill(G::Poly({{10, 8.5}, {16, 12}, {10, 15.5}}, true), g.ink.accent);
       }},
      {"demo",
       [](G& g) {
         g.Paper(G::Rect(2.5, 3, 19, 13, 1.5));
         g.Line(12, 16, 12, 20);
         g.Line(8, 21, 16, 21);
         g.Fill(G::Poly({{10, 6.5}, {15, 9.5}, {10, 12.5}}, true), g.ink.accent);
       }},
      {"audio",
       [](G& g) {
         Disc(g, 10, 12, 8);
         g.Fill(G::Circle(18.5, 17, 4.8), g.ink.fill);
         Note(g, 17, 14.5, 0.75);
       }},
      {"datadisc",
       [](G& g) {
         Disc(g, 10, 12, 8);
         g.Fill(G::Rect(13, 12.5, 10, 9), g.ink.fill);
         Folder(g, 13.5, 13, 9, 8, true);
       }},
      {"blankdisc",
       [](G& g) {
         Disc(g);
         Plus(g, 19, 19, 2.5);
       }},
      {"cdsource",
       [](G& g) {
         Disc(g, 10, 12, 8);
         g.Fill(G::Circle(18, 17.5, 5), g.ink.fill);
         g.Stroke(G::Circle(18, 17.5, 4), true);
         g.Line(14, 17.5, 22, 17.5, true);
       }},
      {"mp3",
       [](G& g) {
         Page(g);
         Note(g, 10.5, 12.5, 0.75);
       }},
      {"albumlist",
       [](G& g) {
         Disc(g, 7, 7, 4.5);
         g.Line(13.5, 7, 21, 7);
         Disc(g, 7, 17, 4.5);
         g.Line(13.5, 17, 21, 17, true);
       }},
      {"newalbum",
       [](G& g) {
         g.Paper(G::Rect(3, 3, 14, 18, 1.2));
         Disc(g, 10, 12, 4.5);
         g.Fill(G::Circle(18.5, 18.5, 4.5), g.ink.fill);
         Plus(g, 18.5, 18.5, 2.8);
       }},
      {"case1", [](G& g) { CaseItem(g, 1); }},
      {"case2", [](G& g) { CaseItem(g, 2); }},
      {"case3", [](G& g) { CaseItem(g, 3); }},
      {"case4", [](G& g) { CaseItem(g, 4); }},
      {"case5", [](G& g) { CaseItem(g, 5); }},
      {"case6", [](G& g) { CaseItem(g, 6); }},
  };
  return table;
}

}  // namespace

bool HasPictogram(const QString& id) {
  return Table().count(id) > 0;
}

void DrawPictogram(QPainter& p, const QString& id, const QRectF& box, const Ink& ink) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(box.topLeft());
  p.scale(box.width() / 24.0, box.height() / 24.0);
  G g{p, ink};
  // Thin lines at small sizes blur; keep strokes near 1.5 device pixels or more.
  const qreal devicePerUnit = box.width() / 24.0;
  if (devicePerUnit * g.w < 1.5) g.w = 1.5 / devicePerUnit;
  const auto it = Table().find(id);
  if (it != Table().end()) {
    it->second(g);
  } else {
    QPen pen(ink.line, 1, Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 18, 18));
  }
  p.restore();
}

}  // namespace content::skin
