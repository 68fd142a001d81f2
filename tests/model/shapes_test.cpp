#include <gtest/gtest.h>

#include <map>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/group.h"
#include "model/kinds.h"
#include "render/recording_canvas.h"

namespace {

constexpr TColor kYellow = RGBColor(255, 255, 0);

struct Editor : TDocumentEditor {
  bool ctrl = false;
  void ForgetObjects() override {}
  bool CtrlDown() const override { return ctrl; }
};

// A 100 x 50 mm page at `scale` pixels per millimetre.
std::unique_ptr<TzunoCADMdl> Doc(double scale = 2, TDocumentEditor* editor = nullptr) {
  auto d = std::make_unique<TzunoCADMdl>(editor, QRect(0, 0, 200, 100), 100, 50);
  d->PixelsPerMmX = d->PixelsPerMmY = scale;
  return d;
}

template <class T>
T* Make(TzunoCADMdl& d, const char* type) {
  return static_cast<T*>(d.CreateObjet(QString::fromLatin1(type)));
}

std::vector<const TCanvasCall*> Ops(const TRecordingCanvas& c, const char* op) {
  std::vector<const TCanvasCall*> out;
  for (const TCanvasCall& call : c.Calls())
    if (call.Op == QLatin1String(op)) out.push_back(&call);
  return out;
}

std::vector<QPoint> Pts(std::initializer_list<QPoint> l) {
  return l;
}

TzunoCADLigne* Line(TzunoCADMdl& d, std::initializer_list<QPointF> pts) {
  auto* line = Make<TzunoCADLigne>(d, "ligne");
  line->Points = QList<QPointF>(pts);
  return line;
}

}  // namespace

// Corner counts: triangle, rectangle, regular polygons, ellipse, and counts that make no polygon.
TEST(Shapes, RectangleCornersForEveryCount) {
  auto d = Doc();
  auto* rc = Make<TzunoCADRectangle>(*d, "rectangle");
  rc->x = 50, rc->y = 40, rc->l = 20, rc->h = 10;
  const std::vector<QPoint> rect = Pts({{80, 70}, {120, 70}, {120, 90}, {80, 90}});
  const struct {
    int cote;
    double r;
    std::vector<QPoint> corners;  // empty: only the count is checked
    size_t count;
  } cases[] = {
      {3, 0, Pts({{100, 70}, {120, 90}, {80, 90}}), 3},
      {3, 90, Pts({{110, 80}, {90, 100}, {90, 60}}), 3},  // turned clockwise about the centre
      {4, 0, rect, 4},
      // Hexagon: corners on the left and right ends of the horizontal axis, closed.
      {6, 0, Pts({{120, 80}, {110, 89}, {90, 89}, {80, 80}, {90, 71}, {110, 71}, {120, 80}}), 7},
      {999, 0, {}, 51},
      {1000000000, 0, {}, TzunoCADRectangle::kMaxCorners + 1},
      {0, 0, rect, 4},
      {2, 0, rect, 4},
      {-7, 0, rect, 4},
  };
  for (const auto& c : cases) {
    rc->Cote = c.cote;
    rc->r = c.r;
    TRecordingCanvas rec;
    rc->Draw(rec);
    const auto polys = Ops(rec, "Polygon");
    ASSERT_EQ(polys.size(), 1u) << c.cote;
    EXPECT_EQ(polys[0]->Points.size(), c.count) << c.cote;
    if (!c.corners.empty()) {
      EXPECT_EQ(polys[0]->Points, c.corners) << c.cote;
    }
    if (c.cote == 999) {
      EXPECT_EQ(polys[0]->Points.front(), QPoint(120, 80));
      EXPECT_EQ(polys[0]->Points[25], QPoint(80, 80));  // half way round: the left end
    }
  }
}

TEST(Shapes, RectanglePenBrushAndMirroring) {
  auto d = Doc();
  auto* rc = Make<TzunoCADRectangle>(*d, "rectangle");
  rc->x = 50, rc->y = 40, rc->l = 20, rc->h = 10;
  rc->Pen = TPen{clRed, 1250, psDash};
  rc->Brush = TBrush{clBlue, bsSolid};
  TRecordingCanvas rec;
  rc->Draw(rec);
  EXPECT_EQ(rec.Calls()[0].Pen, (TPen{clRed, 2, psDash}));  // 2.5 pixels: halves go to even
  EXPECT_EQ(rec.Calls()[0].Brush, (TBrush{clBlue, bsSolid}));

  // Mirrored drawing keeps the pen width; without filled shapes the brush is clear.
  d->PixelsPerMmX = -2;
  d->FillShapes = false;
  rec.Clear();
  rc->Draw(rec);
  EXPECT_EQ(rec.Calls()[0].Pen.Width, 2);
  EXPECT_EQ(rec.Calls()[0].Brush.Style, bsClear);
  EXPECT_EQ(rec.Calls()[0].Points, Pts({{-80, 70}, {-120, 70}, {-120, 90}, {-80, 90}}));

  // Other faces and hidden objects draw nothing.
  rc->Face = 2;
  rec.Clear();
  rc->Draw(rec);
  EXPECT_TRUE(rec.Calls().empty());
}

// Filled lines are filled, then outlined with a path built again; clear ones are only stroked.
TEST(Shapes, LineFillAndOutline) {
  auto d = Doc();
  auto* line = Line(*d, {{10, 10}, {15, 0}, {25, 0}, {30, 10}});
  const std::vector<QPoint> px = Pts({{20, 20}, {30, 0}, {50, 0}, {60, 20}});
  const struct {
    TBrush brush;
    bool fillShapes;
    int stencil;
    QStringList ops;
    TBrush fill;
  } cases[] = {
      {{clRed, bsSolid}, true, 0, {"FillPath", "StrokePath"}, {clRed, bsSolid}},
      {{clRed, bsClear}, true, 0, {"StrokePath"}, {}},
      {{clRed, bsSolid}, false, 0, {"StrokePath"}, {}},
      {{clRed, bsSolid}, true, 1, {"FillPath", "StrokePath"}, {clWhite, bsSolid}},
      {{clRed, bsClear}, true, 2, {"FillPath", "StrokePath"}, {clBlack, bsBDiagonal}},
  };
  for (const auto& c : cases) {
    line->Brush = c.brush;
    d->FillShapes = c.fillShapes;
    d->StencilView = c.stencil;
    TRecordingCanvas rec;
    line->Draw(rec);
    QStringList ops;
    for (const TCanvasCall& call : rec.Calls()) {
      ops << call.Op;
      EXPECT_EQ(call.Points, px) << call.Op.toStdString();
      EXPECT_EQ(call.Counts, (std::vector<int>{ptMoveTo, ptBezierTo, ptBezierTo, ptBezierTo}));
    }
    EXPECT_EQ(ops, c.ops) << c.stencil;
    if (ops.first() == "FillPath") {
      EXPECT_EQ(rec.Calls()[0].Brush, c.fill) << c.stencil;
    }
  }
  // A lone point, or none, has no segment to draw.
  for (int n : {0, 1}) {
    line->Points = QList<QPointF>(n, QPointF(1, 1));
    TRecordingCanvas rec;
    line->Draw(rec);
    EXPECT_TRUE(rec.Calls().empty());
  }
}

// Handle marks: dotted arms and squares on control points when selected, circles on anchors.
TEST(Shapes, LineHandleMarks) {
  Editor editor;
  auto d = Doc(2, &editor);
  auto* line = Line(*d, {{0, 0}, {5, 0}, {15, 0}, {20, 0}, {25, 0}, {35, 0}, {40, 0}});
  auto marks = [&](const char* op) {
    TRecordingCanvas rec;
    line->Draw(rec);
    std::vector<std::pair<QPoint, TColor>> out;  // centre and fill
    for (const TCanvasCall* c : Ops(rec, op))
      out.emplace_back(QPoint((c->Args[0] + c->Args[2]) / 2, (c->Args[1] + c->Args[3]) / 2), c->Brush.Color);
    return std::make_pair(out, rec);
  };
  using Marks = std::vector<std::pair<QPoint, TColor>>;

  line->Selected = true;
  line->HitCode = 2;
  auto [squares, rec] = marks("Rectangle");
  EXPECT_EQ(squares, (Marks{{{10, 0}, clRed}, {{30, 0}, kYellow}, {{50, 0}, clRed}, {{70, 0}, clRed}}));
  const auto arms = Ops(rec, "LineTo");
  ASSERT_EQ(arms.size(), 4u);
  EXPECT_EQ(arms[0]->Pen, (TPen{clRed, 1, psDot}));
  EXPECT_EQ(arms[1]->Points, Pts({{30, 0}, {40, 0}}));
  EXPECT_EQ(arms[3]->Points, Pts({{70, 0}, {80, 0}}));
  EXPECT_EQ(Ops(rec, "Rectangle")[0]->Args, (std::vector<int>{7, -3, 13, 3}));
  EXPECT_EQ(marks("Ellipse").first, (Marks{{{0, 0}, clRed}, {{40, 0}, clRed}, {{80, 0}, clRed}}));
  EXPECT_EQ(Ops(marks("Ellipse").second, "Ellipse")[0]->Args, (std::vector<int>{-4, -4, 4, 4}));

  // Hovered over anchor 3: circles only, that one hot.
  line->Selected = false;
  line->HitCode = 3;
  EXPECT_TRUE(marks("Rectangle").first.empty());
  EXPECT_EQ(marks("Ellipse").first, (Marks{{{0, 0}, clBlue}, {{40, 0}, kYellow}, {{80, 0}, clBlue}}));

  // Neither: no marks; and none at all in output drawing.
  line->HitCode = -1;
  EXPECT_TRUE(marks("Ellipse").first.empty());
  line->Selected = true;
  d->ShowHandles = false;
  EXPECT_TRUE(marks("Ellipse").first.empty());
  EXPECT_TRUE(marks("Rectangle").first.empty());
  EXPECT_TRUE(Ops(marks("Ellipse").second, "LineTo").empty());
}

// Inside groups, lines and rectangles follow the nested mapping: mirrored by negative scales and
// turned with the group's rotation.
TEST(Shapes, NestedLinesAndRectanglesTurnAndMirrorWithTheGroup) {
  auto d = Doc();
  auto* g = Make<TzunoCADGroup>(*d, "groupe");
  g->x = 50, g->y = 40, g->l = 20, g->h = 10;
  TzunoCADMdl* n = g->Nested();
  n->Large = 20;
  n->Haut = 10;
  Line(*n, {{0, 0}, {0, 0}, {20, 0}, {20, 0}});
  auto* rc = Make<TzunoCADRectangle>(*n, "rectangle");
  rc->x = 10, rc->y = 5, rc->l = 20, rc->h = 10;
  const struct {
    int mirror;
    double r;
    std::vector<QPoint> line, rect;
  } cases[] = {
      {1, 0, Pts({{80, 70}, {80, 70}, {120, 70}, {120, 70}}),
       Pts({{80, 70}, {120, 70}, {120, 90}, {80, 90}})},
      // Anchored at the top-right corner and drawn leftwards.
      {-1, 0, Pts({{120, 70}, {120, 70}, {80, 70}, {80, 70}}),
       Pts({{120, 70}, {80, 70}, {80, 90}, {120, 90}})},
      // A quarter turn: the top edge runs down the page from the turned top-left corner.
      {1, 90, Pts({{110, 60}, {110, 60}, {110, 100}, {110, 100}}),
       Pts({{110, 60}, {110, 100}, {90, 100}, {90, 60}})},
  };
  for (const auto& c : cases) {
    g->mirroirx = c.mirror;
    g->r = c.r;
    TRecordingCanvas rec;
    g->Draw(rec);
    const auto strokes = Ops(rec, "StrokePath");
    const auto polys = Ops(rec, "Polygon");
    ASSERT_EQ(strokes.size(), 1u);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(strokes[0]->Points, c.line) << c.mirror << " " << c.r;
    EXPECT_EQ(polys[0]->Points, c.rect) << c.mirror << " " << c.r;
  }
}

TEST(Shapes, ShapeSpaceStretchedIntoTheTurnedBox) {
  auto d = Doc();
  auto* f = Make<TzunoCADForme>(*d, "forme");
  f->SetProperties({"p=0;0|0;0|1;1|1;1|", "FormeLarge=0", "FormeHaut=0", "x=50", "y=40", "l=20", "h=10",
                    "Brush=FF0000,0", "CanSelect=1"});
  TRecordingCanvas rec;
  f->Draw(rec);
  // An empty shape space counts as one unit, and stays so.
  EXPECT_EQ(PropValue(f->GetProperties(), u"FormeLarge"), "1");
  EXPECT_EQ(PropValue(f->GetProperties(), u"FormeHaut"), "1");
  // A filled shape shows no outline: the fill consumed the path.
  ASSERT_EQ(rec.Calls().size(), 1u);
  EXPECT_EQ(rec.Calls()[0].Op, "FillPath");
  EXPECT_EQ(rec.Calls()[0].Points, Pts({{80, 70}, {80, 70}, {120, 90}, {120, 90}}));

  f->r = 90;
  f->Brush.Style = bsClear;
  f->FormeLarge = 2;  // the far corner is now the middle of the box's bottom edge
  rec.Clear();
  f->Draw(rec);
  ASSERT_EQ(rec.Calls().size(), 1u);
  EXPECT_EQ(rec.Calls()[0].Op, "StrokePath");
  EXPECT_EQ(rec.Calls()[0].Points, Pts({{110, 60}, {110, 60}, {90, 80}, {90, 80}}));
}

TEST(Shapes, GuideMarksShowOnlyInTheEditor) {
  auto d = Doc();
  d->CurrentFace = 1;
  auto* m = Make<TzunoCADRepere>(*d, "repere");
  m->position = 30;
  auto draw = [&] {
    TRecordingCanvas rec;
    m->Draw(rec);
    return rec;
  };
  const struct {
    int sens, sorte, face;
    TPen pen;  // Width 0: nothing drawn
    std::vector<QPoint> points;
  } cases[] = {
      {1, 1, 1, {clBlue, 1, psSolid}, Pts({{60, 0}, {60, 100}})},
      {2, 1, 1, {clBlue, 1, psSolid}, Pts({{0, 60}, {200, 60}})},
      {1, 1, 2, {clBlue, 0, psSolid}, {}},  // a guide of the other face
      {1, 2, 1, {clBlack, 1, psDashDot}, Pts({{60, 0}, {60, 100}})},
      {1, 2, 2, {RGBColor(128, 128, 128), 1, psDash}, Pts({{60, 0}, {60, 100}})},
  };
  for (const auto& c : cases) {
    m->sens = c.sens;
    m->sorte = c.sorte;
    m->Face = c.face;
    const TRecordingCanvas rec = draw();
    if (c.pen.Width == 0) {
      EXPECT_TRUE(rec.Calls().empty());
      continue;
    }
    ASSERT_EQ(rec.Calls().size(), 1u) << c.sens << c.sorte << c.face;
    EXPECT_EQ(rec.Calls()[0].Pen, c.pen) << c.sens << c.sorte << c.face;
    EXPECT_EQ(rec.Calls()[0].Points, c.points) << c.sens << c.sorte << c.face;
  }

  // Never in output: direct drawing and bitmaps leave the page blank.
  m->Face = 1;
  TRecordingCanvas rec;
  d->DrawDirect(rec, QRect(0, 0, 200, 100));
  EXPECT_TRUE(rec.Calls().empty());
  d->Quality = 7;
  d->GabaritOnBitmaps = false;
  QImage bmp(100, 50, QImage::Format_RGB888);
  bmp.fill(Qt::black);
  d->DrawBitmap(bmp);
  for (int y = 0; y < bmp.height(); ++y)
    for (int x = 0; x < bmp.width(); ++x) ASSERT_EQ(bmp.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
  m->Visible = false;
  EXPECT_TRUE(draw().Calls().empty());
}

// A selected mark is red and labelled with its position, the label kept inside the page.
TEST(Shapes, SelectedGuideMarkLabel) {
  auto d = Doc();
  auto* m = Make<TzunoCADRepere>(*d, "repere");
  m->Selected = true;
  const struct {
    int sens;
    double position;
    bool flipped;
  } cases[] = {{1, 30, false}, {1, 99, true}, {2, 20, false}, {2, 49, true}};
  for (const auto& c : cases) {
    m->sens = c.sens;
    m->position = c.position;
    TRecordingCanvas rec;
    m->Draw(rec);
    ASSERT_EQ(Ops(rec, "LineTo").size(), 1u);
    EXPECT_EQ(Ops(rec, "LineTo")[0]->Pen.Color, clRed);
    const auto box = Ops(rec, "FillRect");
    const auto text = Ops(rec, "TextOut");
    ASSERT_EQ(box.size(), 1u);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0]->Text, WriteMesure(c.position));
    EXPECT_EQ(box[0]->Brush, (TBrush{clWhite, bsSolid}));
    const int left = box[0]->Args[0], top = box[0]->Args[1];
    const int tw = box[0]->Args[2] - left - 4, th = box[0]->Args[3] - top - 4;
    EXPECT_GT(tw, 0);
    EXPECT_EQ(text[0]->Args, (std::vector<int>{left + 2, top + 2}));
    const int at = static_cast<int>(c.position * 2);
    if (c.sens == 1) {
      EXPECT_EQ(top, 10);
      EXPECT_EQ(left, c.flipped ? at - tw - 3 : at) << c.position;
    } else {
      EXPECT_EQ(left, 10);
      EXPECT_EQ(top, c.flipped ? at - th - 3 : at) << c.position;
    }
  }
}

// Lines are picked by their points within 3 pixels per axis: anchors, or control points with Ctrl;
// a selected line falls back to the other kind; the lowest index wins.
TEST(Shapes, LineHitTest) {
  Editor editor;
  auto d = Doc(2, &editor);  // 3 pixels are 1.5 mm
  auto* line = Line(*d, {{10, 10}, {11, 10}, {29, 10}, {30, 10}, {31, 10}, {40, 20}, {10, 10}});
  const struct {
    QPointF p;
    bool ctrl, selected;
    int hit;
  } cases[] = {
      {{10.5, 10}, false, false, 0},  // the closing anchor 6 is there too: the lower index wins
      {{10.5, 10}, true, false, 1},
      {{11.45, 11.45}, false, false, 0},
      {{11.5, 10}, false, false, -1},  // exactly 3 pixels from anchor 0; control 1 is not searched
      {{11.5, 10}, false, true, 1},    // selected: the control points as well
      {{31.2, 10}, true, false, 4},
      {{33, 10}, true, false, -1},
      {{9, 10}, true, false, -1},
      {{9, 10}, true, true, 0},     // nothing among the controls within reach: the anchors
      {{20, 10}, false, true, -1},  // no body
  };
  for (const auto& c : cases) {
    line->Selected = c.selected;
    EXPECT_EQ(line->HitTest(c.p, c.ctrl), c.hit) << c.p.x() << "," << c.p.y() << " ctrl " << c.ctrl;
    editor.ctrl = c.ctrl;
    EXPECT_EQ(line->HitTest(c.p), c.hit) << "through the editor's keys";
  }
  line->CanSelect = false;
  EXPECT_EQ(line->HitTest(QPointF(10, 10), false), -1);
}

TEST(Shapes, GuideMarkHitTestAndClamp) {
  auto d = Doc(2);
  auto* m = Make<TzunoCADRepere>(*d, "repere");
  m->position = 30;
  m->sens = 1;
  EXPECT_EQ(m->HitTest(QPointF(50, 5)), -1);
  EXPECT_EQ(m->Cursor, -21);
  EXPECT_EQ(m->HitTest(QPointF(30.7, 5)), 0);  // 1.4 pixels
  EXPECT_EQ(m->Cursor, TzunoCADRepere::kCursorHSplit);
  EXPECT_EQ(m->HitTest(QPointF(29.3, 99)), 0);
  EXPECT_EQ(m->HitTest(QPointF(30.75, 5)), -1);  // 1.5 pixels round to 2
  m->sens = 2;
  EXPECT_EQ(m->HitTest(QPointF(30.7, 5)), -1);
  EXPECT_EQ(m->HitTest(QPointF(80, 30.7)), 0);
  EXPECT_EQ(m->Cursor, TzunoCADRepere::kCursorVSplit);
  m->CanSelect = false;
  EXPECT_EQ(m->HitTest(QPointF(80, 30)), -1);

  // 5 pixels from the start, 6 from the end; clamped values on whole millimetres.
  d->PixelsPerMmX = 3;  // x from 5/3 mm to 98 mm
  d->PixelsPerMmY = 5;  // y from 1 mm to 48.8 mm
  const struct {
    int sens;
    double in, out;
  } clamps[] = {{1, 0, 2},     {1, -1e9, 2}, {1, 1.5, 2},     {1, 50.4, 50.4}, {1, 98, 98}, {1, 99, 98},
                {1, 1e12, 98}, {2, -3, 1},   {2, 48.5, 48.5}, {2, 49.5, 49},   {3, -5, -5}};
  for (const auto& c : clamps) {
    m->sens = c.sens;
    m->position = c.in;
    m->ClampRepere();
    EXPECT_EQ(m->position, c.out) << c.sens << " " << c.in;
  }
}

TEST(Shapes, DeleteAnchorAndSplitSegment) {
  auto d = Doc(2);
  auto xs = [](const TzunoCADLigne* l) {
    std::vector<double> v;
    for (const QPointF& p : l->Points) v.push_back(p.x());
    return v;
  };
  auto* line = Make<TzunoCADLigne>(*d, "ligne");
  const struct {
    int index;
    bool done;
    std::vector<double> left;
  } deletions[] = {
      {0, true, {3, 4, 5, 6, 7, 8, 9}},
      {3, true, {0, 1, 5, 6, 7, 8, 9}},  // the neighbouring segments join
      {9, true, {0, 1, 2, 3, 4, 5, 6}},
      {2, false, {}},
      {12, false, {}},
      {-3, false, {}},
  };
  for (const auto& c : deletions) {
    line->Points.clear();
    for (int i = 0; i < 10; ++i) line->Points.append(QPointF(i, 0));
    EXPECT_EQ(line->DeleteAnchor(c.index), c.done) << c.index;
    if (c.done)
      EXPECT_EQ(xs(line), c.left) << c.index;
    else
      EXPECT_EQ(line->Points.size(), 10) << c.index;
  }
  line->Points = {QPointF(1, 1), QPointF(2, 2)};
  EXPECT_FALSE(line->DeleteAnchor(0));
  EXPECT_EQ(line->Points.size(), 2);

  // Split in the middle: the new anchor half way, its controls on it, the outer controls kept.
  line->Points = {QPointF(0, 0), QPointF(5, 8), QPointF(25, 8), QPointF(30, 0)};
  EXPECT_EQ(line->SplitSegment(0), 3);
  EXPECT_EQ(line->Points, (QList<QPointF>{{0, 0}, {5, 8}, {15, 0}, {15, 0}, {15, 0}, {25, 8}, {30, 0}}));
  // After the last anchor: a straight segment 20 pixels to the right.
  EXPECT_EQ(line->SplitSegment(6), 9);
  EXPECT_EQ(line->Points.mid(6), (QList<QPointF>{{30, 0}, {30, 0}, {40, 0}, {40, 0}}));
  EXPECT_EQ(line->SplitSegment(4), -1);
  // A loose tail after the last anchor gives way to the new segment.
  line->Points = {QPointF(0, 0), QPointF(0, 0), QPointF(3, 0), QPointF(3, 0), QPointF(7, 7)};
  EXPECT_EQ(line->SplitSegment(3), 6);
  EXPECT_EQ(line->Points.size(), 7);
  EXPECT_EQ(line->Points[6], QPointF(13, 0));
  // A full line takes no more points.
  line->Points = QList<QPointF>(kMaxPoints, QPointF(1, 1));
  EXPECT_EQ(line->SplitSegment(0), -1);
  EXPECT_EQ(line->SplitSegment(999), -1);
  EXPECT_EQ(line->Points.size(), kMaxPoints);
}

TEST(Shapes, MovePoint) {
  auto d = Doc(2);
  auto* line = Make<TzunoCADLigne>(*d, "ligne");
  const QList<QPointF> start{{0, 0}, {5, 0}, {15, 0}, {20, 0}, {25, 0}, {35, 0}, {40, 0}};
  const struct {
    const char* what;
    int index;
    QPointF target;
    bool shift, wholeLine;
    std::map<int, QPointF> changed;  // every other point stays
  } cases[] = {
      {"control mirrors its opposite", 4, {25, 5}, false, true, {{4, {25, 5}}, {2, {15, -5}}}},
      {"and the other way", 2, {15, 5}, false, true, {{2, {15, 5}}, {4, {25, -5}}}},
      {"shift keeps the opposite", 4, {25, 5}, true, true, {{4, {25, 5}}}},
      {"first control has no opposite", 1, {5, 5}, false, true, {{1, {5, 5}}}},
      {"last control has no opposite", 5, {35, 5}, false, true, {{5, {35, 5}}}},
      {"folds onto its anchor within 4 pixels", 4, {21, 1}, false, true, {{4, {20, 0}}}},
      {"exactly 4 pixels still folds", 4, {22, 0}, false, true, {{4, {20, 0}}}},
      {"5 pixels do not", 4, {22.5, 0}, false, true, {{4, {22.5, 0}}, {2, {17.5, 0}}}},
      {"anchor alone takes its controls",
       3,
       {20, 10},
       false,
       false,
       {{2, {15, 10}}, {3, {20, 10}}, {4, {25, 10}}}},
      {"first anchor alone", 0, {1, 1}, true, false, {{0, {1, 1}}, {1, {6, 1}}}},
      {"out of range", 7, {9, 9}, false, true, {}},
  };
  for (const auto& c : cases) {
    line->Points = start;
    line->MovePoint(c.index, c.target, c.shift, c.wholeLine);
    for (int i = 0; i < start.size(); ++i) {
      const auto it = c.changed.find(i);
      EXPECT_EQ(line->Points[i], it == c.changed.end() ? start[i] : it->second) << c.what << ": point " << i;
    }
  }
  // In select mode without shift, dragging an anchor moves the whole line.
  line->Points = start;
  line->MovePoint(3, QPointF(20, 10), false, true);
  for (int i = 0; i < start.size(); ++i) EXPECT_EQ(line->Points[i], start[i] + QPointF(0, 10));
}

// Hostile values draw on a real bitmap without overflow and in bounded time.
TEST(Shapes, AbsurdValuesDrawSafely) {
  for (const char* v : {"1e308", "-1e308", "1e-300", "0", "2147483647", "-2147483649", "1e9"}) {
    auto d = Doc();
    d->Quality = 7;
    d->GabaritOnBitmaps = false;
    const QString p = QStringLiteral("%1;%1|%1;0|0;%1|%1;%1|").arg(v);
    for (const char* kind : {"rectangle", "ligne", "forme", "repere"}) {
      TzunoCADObj* o = d->CreateObjet(QString::fromLatin1(kind));
      o->SetProperties(
          {QStringLiteral("Face=1"), QStringLiteral("CanSelect=1"), QStringLiteral("Pen=000000,%1,2").arg(v),
           QStringLiteral("Brush=0000FF,0"), QStringLiteral("x=%1").arg(v), QStringLiteral("y=5"),
           QStringLiteral("l=%1").arg(v), QStringLiteral("h=%1").arg(v), QStringLiteral("r=%1").arg(v),
           QStringLiteral("Cote=%1").arg(v), QStringLiteral("p=") + p, QStringLiteral("FormeLarge=%1").arg(v),
           QStringLiteral("FormeHaut=%1").arg(v), QStringLiteral("position=%1").arg(v),
           QStringLiteral("sens=1"), QStringLiteral("sorte=2")});
      o->Selected = true;
      o->HitCode = 0;
    }
    QImage bmp(200, 100, QImage::Format_RGB888);
    d->DrawBitmap(bmp);
    TBitmapCanvas c(&bmp);
    d->DrawPage(c, QRect(0, 0, 200, 100));
    for (const auto& o : d->Objets()) o->HitTest(QPointF(5, 5));
    auto* mark = static_cast<TzunoCADRepere*>(d->Objet(3));
    mark->ClampRepere();
    EXPECT_TRUE(std::isfinite(mark->position)) << v;
  }
}
