// Scenarios on the editing engine: synthetic pointer calls in picture pixels, results in millimetres.
#include "editor/canvas_engine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>

#include "common/qt_printers.h"
#include "model/image.h"
#include "model/shapes.h"
#include "model/text.h"
#include "shell/counters.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/user_dialogs.h"

namespace {

struct Engine {
  TzunoCAD cad{QSize(400, 300)};
  QStringList events;

  explicit Engine(double large = 120, double haut = 120) {
    cad.Mdl().Large = large;
    cad.Mdl().Haut = haut;
    cad.Mode = 1;
    cad.ApplyZoom();
    auto log = [this](const char* name) {
      return [this, name](TzunoCAD*, TzunoCADObj* o) {
        // Objects by their code, read when the event fires.
        events << QString::fromLatin1(name) + QLatin1Char('(') + (o ? o->Code : QString()) + QLatin1Char(')');
      };
    };
    cad.OnObjSelect = log("select");
    cad.OnAddStart = log("addstart");
    cad.OnAddEnd = log("addend");
    cad.OnObjMoved = log("moved");
    cad.OnLayerChange = log("layer");
  }
  TzunoCADRect* Box(const QString& code, double x, double y, double l, double h, double r = 0) {
    auto* b = static_cast<TzunoCADRect*>(cad.Mdl().CreateObjet(QStringLiteral("rectangle")));
    b->Code = code;
    b->x = x;
    b->y = y;
    b->l = l;
    b->h = h;
    b->r = r;
    return b;
  }
  QPointF Px(QPointF mm) const { return QPointF(mm.x() * cad.ZoomX, mm.y() * cad.ZoomY); }
  void Hover(QPointF mm) { cad.MouseMove(Px(mm)); }
  void Click(QPointF mm) {
    cad.MouseDown(Px(mm), Qt::LeftButton);
    cad.MouseUp(Px(mm), Qt::LeftButton);
  }
  // Hover, press, move through the points, release.
  void Drag(QPointF from, std::initializer_list<QPointF> path, bool shift = false) {
    cad.MouseMove(Px(from), shift);
    cad.MouseDown(Px(from), Qt::LeftButton, shift);
    for (QPointF p : path) cad.MouseMove(Px(p), shift);
    cad.MouseUp(Px(*(path.end() - 1)), Qt::LeftButton, shift);
  }
};

TEST(CanvasEngine, AutomaticZoomFitsThePageAndCentresIt) {
  struct Case {
    double large, haut;
    QSize control;
    double zoom;
    QSize image;
    QPoint pos;
  };
  const Case cases[] = {
      {120, 120, {400, 300}, 280.0 / 120, {280, 280}, {60, 10}},
      {210, 100, {400, 300}, 380.0 / 210, {380, 181}, {10, 59}},
      // A control no larger than its margin keeps the previous zoom.
      {120, 120, {20, 20}, 10, {1200, 1200}, {0, 0}},
  };
  for (const Case& c : cases) {
    TzunoCAD cad(c.control);
    cad.Mdl().Large = c.large;
    cad.Mdl().Haut = c.haut;
    cad.ZoomX = cad.ZoomY = 10;
    cad.RequestRepaint();
    cad.RequestRepaint();
    EXPECT_TRUE(cad.Tick());
    EXPECT_FALSE(cad.Tick()) << "requests between two ticks render once";
    EXPECT_DOUBLE_EQ(cad.ZoomX, c.zoom) << c.large << "x" << c.haut;
    EXPECT_DOUBLE_EQ(cad.ZoomY, c.zoom);
    EXPECT_EQ(cad.Image().size(), c.image);
    EXPECT_EQ(cad.ImagePos(), c.pos);
    EXPECT_EQ(cad.MmToPixelX(c.large), c.image.width());
  }
}

TEST(CanvasEngine, TopmostObjectWinsHoverAndSelection) {
  Engine e;
  TzunoCADRect* low = e.Box("low", 40, 40, 40, 40);
  TzunoCADRect* up = e.Box("up", 60, 60, 40, 40);
  struct Case {
    QPointF at;
    TzunoCADObj* hover;
    int code;
  };
  const Case cases[] = {
      {{70, 70}, up, 0},            // the overlap
      {low->HandlePos(3), up, 0},   // a handle of the lower one under the upper body
      {up->HandlePos(6), up, 6},    // a handle beats the body of its own object
      {low->HandlePos(5), low, 5},  // the lower one's handle in the clear
      {{30, 30}, low, 0},          {{110, 10}, nullptr, -1},
  };
  for (const Case& c : cases) {
    e.Hover(c.at);
    EXPECT_EQ(e.cad.HoverObj(), c.hover) << c.at.x() << "," << c.at.y();
    if (c.hover) {
      EXPECT_EQ(c.hover->HitCode, c.code);
    }
    EXPECT_EQ(low == c.hover ? -1 : low->HitCode, -1) << "only the hovered object keeps a code";
  }
  e.Hover({70, 70});
  e.Click({70, 70});
  EXPECT_EQ(e.cad.SelectedObj(), up);
  EXPECT_TRUE(up->Selected);
  EXPECT_FALSE(low->Selected);
  EXPECT_EQ(e.events, QStringList{"select(up)"});
  // An object on another face is invisible to the pointer.
  up->Face = 2;
  e.Hover({55, 55});
  EXPECT_EQ(e.cad.HoverObj(), low);
  EXPECT_EQ(e.cad.PointerShape(), low->Cursor);
  auto* mark = static_cast<TzunoCADRepere*>(e.cad.Mdl().CreateObjet(QStringLiteral("repere")));
  mark->position = 100;
  e.Hover({100, 110});
  EXPECT_EQ(e.cad.PointerShape(), TzunoCADRepere::kCursorHSplit);
  e.Hover({110, 110});
  EXPECT_EQ(e.cad.PointerShape(), 0);
}

TEST(CanvasEngine, SimpleModeClicksWalkDownTheStack) {
  Engine e;
  e.cad.Avance = false;
  TzunoCADRect* b = e.Box("bottom", 60, 60, 30, 30);
  TzunoCADRect* m = e.Box("middle", 60, 60, 30, 30);
  TzunoCADRect* t = e.Box("top", 60, 60, 30, 30);
  e.Hover({60, 60});
  for (TzunoCADRect* expected : {t, m, b, b}) {
    e.Click({60, 60});
    EXPECT_EQ(e.cad.SelectedObj(), expected) << expected->Code.toStdString();
  }
  e.Hover({61, 61});
  e.Click({61, 61});
  EXPECT_EQ(e.cad.SelectedObj(), t);
  // Nothing moves in simple mode.
  e.Drag({61, 61}, {{80, 80}});
  EXPECT_DOUBLE_EQ(t->x, 60);
  EXPECT_DOUBLE_EQ(m->x, 60);
}

TEST(CanvasEngine, MovedBoxSnapsToEdgesAndMarksUnlessShift) {
  struct Case {
    const char* name;
    double px;  // distance in pixels from the left border (or the mark) after the move
    bool shift;
    bool mark;
    bool snapped;
  };
  const Case cases[] = {
      {"7 px from the border", 7, false, false, true},  {"-7 px, past the border", -7, false, false, true},
      {"7 px with Shift", 7, true, false, false},       {"9 px", 9, false, false, false},
      {"7 px from a guide mark", 7, false, true, true}, {"9 px from a guide mark", 9, false, true, false},
  };
  for (const Case& c : cases) {
    Engine e;
    double edge = 0;
    if (c.mark) {
      auto* mark = static_cast<TzunoCADRepere*>(e.cad.Mdl().CreateObjet(QStringLiteral("repere")));
      mark->sens = 1;
      mark->position = edge = 50;
    }
    TzunoCADRect* box = e.Box("box", 80, 60, 20, 20);
    const double cx = edge + 10 + c.px / e.cad.ZoomX;
    // Grab off-centre so the offset taken at button-down matters.
    e.Drag({83, 61}, {{70, 60}, {cx + 3, 61}}, c.shift);
    EXPECT_NEAR(box->x, c.snapped ? edge + 10 : cx, 1e-9) << c.name;
    EXPECT_NEAR(box->y, 60, 1e-9) << c.name;
  }
}

TEST(CanvasEngine, MagneticGridMovesByWholeMillimetres) {
  Engine e;
  e.cad.Mdl().MagneticGrid = true;
  TzunoCADRect* box = e.Box("box", 60, 60, 20, 20);
  e.Drag({60, 60}, {{70.3, 74.6}});
  EXPECT_DOUBLE_EQ(box->x, 70);
  EXPECT_DOUBLE_EQ(box->y, 75);
}

TEST(CanvasEngine, RotateHandleStepsBy22AndAHalfDegreesWithShift) {
  struct Case {
    double turn;
    bool shift;
    double r;
  };
  const Case cases[] = {{30, false, 30}, {30, true, 22.5}, {40, true, 45}, {-100, true, -90}, {-10, true, 0}};
  for (const Case& c : cases) {
    Engine e;
    TzunoCADRect* box = e.Box("box", 60, 60, 40, 20);
    const QPointF grip = box->HandlePos(2);
    e.Drag(grip, {RotatePoint(QPointF(60, 60), grip, c.turn)}, c.shift);
    EXPECT_NEAR(std::remainder(box->r - c.r, 360), 0, 1e-9) << c.turn << (c.shift ? " with Shift" : "");
    EXPECT_NEAR(box->l, 40, 1e-9);
    EXPECT_NEAR(box->h, 20, 1e-9);
    EXPECT_DOUBLE_EQ(box->x, 60);
  }
}

TEST(CanvasEngine, LeftMiddleHandleOfATurnedBoxKeepsTheRightMiddlePoint) {
  Engine e;
  TzunoCADRect* box = e.Box("box", 60, 60, 40, 20, 90);
  const QPointF grip = box->HandlePos(8), fixed = box->HandlePos(6);
  const QPointF outward = (grip - QPointF(60, 60)) / 4;  // 5 mm further out along the box's x axis
  e.Drag(grip, {grip + outward});
  EXPECT_NEAR(box->l, 45, 1e-9);
  EXPECT_NEAR(box->h, 20, 1e-9);
  EXPECT_DOUBLE_EQ(box->r, 90);
  EXPECT_NEAR(box->HandlePos(6).x(), fixed.x(), 1e-9);
  EXPECT_NEAR(box->HandlePos(6).y(), fixed.y(), 1e-9);
}

TEST(CanvasEngine, CancelledDragPutsTheBoxBack) {
  Engine e;
  TzunoCADRect* box = e.Box("box", 60, 60, 40, 20);
  const QPointF grip = box->HandlePos(3);
  e.Hover(grip);
  e.cad.MouseDown(e.Px(grip), Qt::LeftButton);
  e.cad.MouseMove(e.Px(grip + QPointF(10, 10)));
  EXPECT_NEAR(box->l, 60, 1e-9);
  e.cad.CancelDrag();
  EXPECT_DOUBLE_EQ(box->l, 40);
  EXPECT_DOUBLE_EQ(box->h, 20);
  EXPECT_FALSE(e.cad.Dragging());
}

TEST(CanvasEngine, ObjectDraggedOffThePageReturnsToItsCentre) {
  Engine e;
  TzunoCADRect* box = e.Box("box", 60, 60, 10, 10);
  e.Drag({60, 60}, {{150, 60}, {200, 200}}, true);
  EXPECT_DOUBLE_EQ(box->x, 60);
  EXPECT_DOUBLE_EQ(box->y, 60);
  e.cad.MouseDown(e.Px({60, 60}), Qt::RightButton);
  e.cad.MouseUp(e.Px({60, 60}), Qt::RightButton);
  EXPECT_EQ(e.events, (QStringList{"select(box)", "moved(box)"}));
  // Partly on the page stays where it was left.
  e.Drag({60, 60}, {{122, 60}}, true);
  EXPECT_DOUBLE_EQ(box->x, 122);
}

TEST(CanvasEngine, PlacementGrowsAroundTheClick) {
  QTemporaryDir tmp;
  {
    QFile ini(tmp.filePath(QStringLiteral("lorvane.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[lorvane]\r\nStats=1\r\n");
  }
  TSoft soft(tmp.filePath(QStringLiteral("lorvane.ini")),
             TSoftOptions{tmp.path(), tmp.filePath(QStringLiteral("user")), {}});
  SetSoft(&soft);
  Engine e;
  e.cad.OnAddStart = [&e](TzunoCAD*, TzunoCADObj* o) {
    o->Code = "cal";
    e.events << "addstart(cal)";
  };
  e.cad.Mode = 9;
  e.cad.MouseDown(e.Px({50, 40}), Qt::LeftButton);
  ASSERT_EQ(e.cad.Mdl().Count(), 1);
  auto* cal = static_cast<TzunoCADRect*>(e.cad.Mdl().Objet(0));
  EXPECT_EQ(e.cad.Mode, 1);
  EXPECT_EQ(e.cad.SelectedObj(), cal);
  EXPECT_DOUBLE_EQ(cal->x, 50);
  EXPECT_DOUBLE_EQ(cal->y, 40);
  e.cad.MouseMove(e.Px({80, 60}));
  EXPECT_DOUBLE_EQ(cal->x, 50);
  EXPECT_DOUBLE_EQ(cal->y, 40);
  EXPECT_NEAR(cal->l, 60, 1e-9);
  EXPECT_NEAR(cal->h, 40, 1e-9);
  e.cad.MouseUp(e.Px({80, 60}), Qt::LeftButton);
  EXPECT_EQ(e.events, (QStringList{"addstart(cal)", "select(cal)", "addend(cal)", "moved(cal)"}));
  EXPECT_EQ(CounterValue(QStringLiteral("Modecal")), 1);
  SetSoft(nullptr);
}

TEST(CanvasEngine, FreedObjectsAreNeverKept) {
  enum Which { kSelected, kHovered, kDragged, kReload };
  for (Which w : {kSelected, kHovered, kDragged, kReload}) {
    Engine e;
    TzunoCADRect* a = e.Box("a", 30, 30, 20, 20);
    TzunoCADRect* b = e.Box("b", 90, 90, 20, 20);
    e.Hover({30, 30});
    e.Click({30, 30});
    e.Hover({90, 90});
    ASSERT_EQ(e.cad.SelectedObj(), a);
    ASSERT_EQ(e.cad.HoverObj(), b);
    if (w == kDragged) {
      e.cad.MouseDown(e.Px({90, 90}), Qt::LeftButton);
      e.cad.MouseMove(e.Px({95, 90}));
      ASSERT_TRUE(e.cad.Dragging());
    }
    if (w == kReload) {
      const QStringList saved = e.cad.Mdl().SaveToStrings();
      e.cad.Mdl().ClearObjets();
      e.cad.Mdl().LoadFromStrings(saved);
      // The reloaded copy is found again at once, before any render.
      e.Hover({30, 30});
      EXPECT_EQ(e.cad.HoverObj(), e.cad.Mdl().Objet(0));
      e.Hover({60, 60});
    } else {
      e.cad.Mdl().DeleteObjet(w == kSelected ? a : b);
    }
    // Who is still pointed at after the deletion.
    const TzunoCADObj* selected = w == kHovered ? a : nullptr;
    const TzunoCADObj* hovered = w == kSelected ? b : nullptr;
    EXPECT_EQ(e.cad.SelectedObj(), selected) << w;
    EXPECT_EQ(e.cad.HoverObj(), hovered) << w;
    EXPECT_FALSE(e.cad.Dragging());
    // The pointer carries on over the page without touching freed memory.
    e.cad.MouseMove(e.Px({100, 90}));
    e.cad.MouseUp(e.Px({100, 90}), Qt::LeftButton);
    e.cad.RequestRepaint();
    e.cad.Tick();
  }
}

TEST(CanvasEngine, MoveLayerReordersTheDrawing) {
  struct Case {
    int i, how, to;
    const char* order;
  };
  const Case cases[] = {{2, 0, 0, "cabd"}, {2, 1, 1, "acbd"}, {2, 2, 3, "abdc"},
                        {1, 3, 3, "acdb"}, {0, 1, 0, "abcd"}, {3, 2, 3, "abcd"}};
  for (const Case& c : cases) {
    Engine e;
    for (const char* code : {"a", "b", "c", "d"}) e.Box(code, 10, 10, 5, 5);
    EXPECT_EQ(e.cad.MoveLayer(c.i, c.how, true), c.to);
    QString order;
    for (int k = 0; k < e.cad.Mdl().Count(); ++k) order += e.cad.Mdl().Objet(k)->Code;
    EXPECT_EQ(order.toStdString(), c.order) << c.i << " how " << c.how;
    EXPECT_EQ(e.events.size(), 1);
  }
}

TEST(CanvasEngine, SelectIndexRaisesOnlyOnChange) {
  Engine e;
  e.Box("a", 10, 10, 5, 5);
  TzunoCADRect* b = e.Box("b", 20, 20, 5, 5);
  e.cad.SelectIndex(1);
  e.cad.SelectObj(b);
  e.cad.SelectIndex(7);
  e.cad.SelectIndex(-1);
  EXPECT_EQ(e.events, (QStringList{"select(b)", "select()"}));
  EXPECT_FALSE(b->Selected);
}

}  // namespace

namespace {

TEST(CanvasEngine, EditingKeysStepTheSelectedBox) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    double x, y, r, l, h;
  };
  const Qt::KeyboardModifiers pad = Qt::KeypadModifier, none = Qt::NoModifier;
  const Case cases[] = {
      {Qt::Key_Z, none, 50.4, 39, 10.5, 20, 10},
      {Qt::Key_S, Qt::ShiftModifier, 50.4, 50, 10.5, 20, 10},
      {Qt::Key_Q, none, 49, 40.4, 10.5, 20, 10},
      {Qt::Key_6, pad, 51, 40.4, 10.5, 20, 10},
      {Qt::Key_6, none, 50.4, 40.4, 10.5, 20, 10},  // the top-row 6 is no editing key
      {Qt::Key_A, none, 50.4, 40.4, 10, 20, 10},
      {Qt::Key_9, pad | Qt::ShiftModifier, 50.4, 40.4, 21, 20, 10},
      {Qt::Key_Plus, pad, 50.4, 40.4, 10.5, 22, 11},
      {Qt::Key_Minus, pad, 50.4, 40.4, 10.5, 20 / 1.1, 10 / 1.1},
      {Qt::Key_Slash, pad, 50.4, 40.4, 0, 20, 10},
  };
  for (const Case& c : cases) {
    Engine e;
    TzunoCADRect* box = e.Box("box", 50.4, 40.4, 20, 10, 10.5);
    e.cad.SelectObj(box);
    e.events.clear();
    e.cad.KeyDown(c.key, c.mods);
    EXPECT_NEAR(box->x, c.x, 1e-9) << c.key;
    EXPECT_NEAR(box->y, c.y, 1e-9) << c.key;
    EXPECT_NEAR(box->r, c.r, 1e-9) << c.key;
    EXPECT_NEAR(box->l, c.l, 1e-9) << c.key;
    EXPECT_NEAR(box->h, c.h, 1e-9) << c.key;
    const bool edited = c.x != 50.4 || c.y != 40.4 || c.r != 10.5 || c.l != 20;
    EXPECT_EQ(e.events, edited ? QStringList{"moved(box)"} : QStringList{}) << c.key;
  }
}

TEST(CanvasEngine, DeleteAsksFirst) {
  for (int answer : {arCancel, arOK}) {
    TScriptedDialogs script;
    script.Answers = {answer};
    SetUserDialogs(&script);
    Engine e;
    TzunoCADRect* box = e.Box("box", 50, 50, 20, 10);
    e.Hover({50, 50});
    e.Click({50, 50});
    e.events.clear();
    e.cad.KeyDown(Qt::Key_Delete, Qt::NoModifier);
    SetUserDialogs(nullptr);
    ASSERT_EQ(script.Questions.size(), 1);
    EXPECT_EQ(script.Questions[0].Buttons, abOK | abCancel);
    EXPECT_TRUE(script.Questions[0].Text.contains(QStringLiteral("supprimer cet objet")));
    if (answer == arCancel) {
      EXPECT_EQ(e.cad.Mdl().Count(), 1);
      EXPECT_EQ(e.cad.SelectedObj(), box);
      EXPECT_TRUE(e.events.isEmpty());
    } else {
      EXPECT_EQ(e.cad.Mdl().Count(), 0);
      EXPECT_EQ(e.cad.SelectedObj(), nullptr);
      EXPECT_EQ(e.cad.HoverObj(), nullptr);
      EXPECT_EQ(e.events, QStringList{"select()"});
    }
  }
}

TEST(CanvasEngine, InsertCopiesTheBoxTenPixelsAway) {
  Engine e;
  TzunoCADRect* box = e.Box("box", 50, 50, 20, 10, 30);
  e.cad.SelectObj(box);
  e.cad.KeyDown(Qt::Key_Insert, Qt::NoModifier);
  ASSERT_EQ(e.cad.Mdl().Count(), 2);
  auto* copy = static_cast<TzunoCADRect*>(e.cad.Mdl().Objet(1));
  EXPECT_NEAR(copy->x, 50 + 10 / e.cad.ZoomX, 1e-9);
  EXPECT_NEAR(copy->y, 50 + 10 / e.cad.ZoomY, 1e-9);
  EXPECT_DOUBLE_EQ(copy->r, 30);
  EXPECT_EQ(e.cad.SelectedObj(), box);
  EXPECT_FALSE(copy->Selected);
}

TEST(CanvasEngine, RestoringASnapshotDropsItAndLaterOnes) {
  Engine e;
  TzunoCADRect* box = e.Box("box", 50, 50, 20, 10);
  e.cad.PushSnapshot();
  box->x = 70;
  e.cad.PushSnapshot();
  e.Box("other", 10, 10, 5, 5);
  e.cad.PushSnapshot();
  e.Hover({70, 50});
  e.Click({70, 50});
  e.cad.RestoreSnapshot(5);
  EXPECT_EQ(e.cad.SnapshotCount(), 3);
  e.events.clear();
  e.cad.RestoreSnapshot(1);
  EXPECT_EQ(e.cad.SnapshotCount(), 1);
  EXPECT_EQ(e.cad.SelectedObj(), nullptr);
  EXPECT_EQ(e.events, QStringList{"select()"});
  ASSERT_EQ(e.cad.Mdl().Count(), 1);
  auto* restored = static_cast<TzunoCADRect*>(e.cad.Mdl().Objet(0));
  EXPECT_DOUBLE_EQ(restored->x, 70);
  // The restored object is under the pointer at once.
  e.Hover({70, 50});
  EXPECT_EQ(e.cad.HoverObj(), restored);
}

}  // namespace

namespace {

TEST(CanvasEngine, DraggedLineAnchorCarriesTheLineUnlessShift) {
  for (bool shift : {false, true}) {
    Engine e;
    auto* line = static_cast<TzunoCADLigne*>(e.cad.Mdl().CreateObjet(QStringLiteral("ligne")));
    line->AddPoint({20, 20});
    line->AddPoint({60, 20});
    const QList<QPointF> before = line->Points;
    // Grabbed slightly off the anchor: the offset taken at button-down keeps it from jumping.
    e.Drag({60.5, 20.5}, {{70.5, 30.5}}, shift);
    ASSERT_EQ(e.cad.SelectedObj(), line);
    EXPECT_NEAR(line->Points[3].x(), 70, 1e-9);
    EXPECT_NEAR(line->Points[3].y(), 30, 1e-9);
    const QPointF first = shift ? QPointF(20, 20) : QPointF(30, 30);
    EXPECT_NEAR(line->Points[0].x(), first.x(), 1e-9) << shift;
    EXPECT_NEAR(line->Points[0].y(), first.y(), 1e-9) << shift;
    e.cad.KeyDown(Qt::Key_Z, Qt::NoModifier);
    EXPECT_EQ(line->Points[3], QPointF(70, 30)) << "editing keys leave lines alone";
    EXPECT_EQ(before.size(), line->Points.size());
  }
}

}  // namespace

namespace {

TEST(CanvasEngine, PasteInAnotherDocumentKeepsThePosition) {
  QTemporaryDir user;
  Engine from, to;
  from.cad.UserPath = to.cad.UserPath = user.path();
  TzunoCADRect* box = from.Box("box", 33.5, 44.25, 20, 10, 15);
  box->Face = 2;
  to.cad.Mdl().CurrentFace = 2;
  EXPECT_EQ(to.cad.PasteObject(), nullptr) << "no clipboard file yet";
  ASSERT_TRUE(from.cad.CopySelected(box));
  from.cad.Mdl().DeleteObjet(box);
  to.cad.Mdl().CurrentFace = 1;
  auto* pasted = dynamic_cast<TzunoCADRect*>(to.cad.PasteObject());
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(to.cad.Mdl().Count(), 1);
  EXPECT_DOUBLE_EQ(pasted->x, 33.5);
  EXPECT_DOUBLE_EQ(pasted->y, 44.25);
  EXPECT_DOUBLE_EQ(pasted->r, 15);
  EXPECT_EQ(pasted->Face, 1);
  to.Hover({33.5, 44.25});
  EXPECT_EQ(to.cad.HoverObj(), pasted);
  // A type the factory does not know creates nothing.
  QStringList lines = pasted->GetProperties();
  for (QString& line : lines)
    if (line.startsWith(QStringLiteral("Name="))) line = QStringLiteral("Name=inconnu");
  ASSERT_TRUE(WriteTextFile(QDir(user.path()).filePath(QStringLiteral("CopyPaste.def")), lines));
  EXPECT_EQ(to.cad.PasteObject(), nullptr);
  EXPECT_EQ(to.cad.Mdl().Count(), 1);
}

TEST(CanvasEngine, PlacedGuideMarkFollowsTheDragOnWholeMillimetres) {
  Engine e;
  e.cad.Mode = 7;
  e.cad.MouseDown(e.Px({40.3, 50}), Qt::LeftButton);
  ASSERT_EQ(e.cad.Mdl().Count(), 1);
  auto* mark = dynamic_cast<TzunoCADRepere*>(e.cad.Mdl().Objet(0));
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(e.cad.Mode, 1);
  EXPECT_DOUBLE_EQ(mark->position, 40);
  EXPECT_EQ(e.cad.SelectedObj(), mark);
  e.cad.MouseMove(e.Px({57.8, 50}));
  EXPECT_DOUBLE_EQ(mark->position, 58);
  e.cad.MouseMove(e.Px({-30, 50}));
  EXPECT_GT(mark->position, 0) << "kept inside the page";
  e.cad.MouseUp(e.Px({-30, 50}), Qt::LeftButton);
}

TEST(CanvasEngine, DrawnLineSegmentsSnapStraightUnlessShift) {
  struct Case {
    QPointF second;  // where the left click ending the line lands
    bool shift;
    QPointF end;
  };
  const Case cases[] = {
      {{60, 22}, false, {60, 20}},  // under 8 pixels off the horizontal
      {{60, 22}, true, {60, 22}},
      {{60, 25}, false, {60, 25}},  // 11.7 pixels
      {{21, 70}, false, {20, 70}},
  };
  for (const Case& c : cases) {
    Engine e;
    e.cad.Mode = 3;
    e.cad.MouseDown(e.Px({20, 20}), Qt::LeftButton);
    e.cad.MouseUp(e.Px({20, 20}), Qt::LeftButton);
    auto* line = dynamic_cast<TzunoCADLigne*>(e.cad.SelectedObj());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(e.cad.Mode, 3);
    e.events.clear();
    e.cad.MouseDown(e.Px(c.second), Qt::LeftButton, c.shift);
    e.cad.MouseUp(e.Px(c.second), Qt::LeftButton, c.shift);
    EXPECT_EQ(e.cad.Mode, 1);
    ASSERT_EQ(line->Points.size(), 4);
    EXPECT_NEAR(line->Points[3].x(), c.end.x(), 1e-9) << c.second.x() << "," << c.second.y();
    EXPECT_NEAR(line->Points[3].y(), c.end.y(), 1e-9) << c.second.x() << "," << c.second.y();
    EXPECT_EQ(e.cad.SelectedObj(), line) << "the finished line stays selected";
    EXPECT_EQ(e.events.first(), "select()");
  }
}

}  // namespace

namespace {

TEST(CanvasEngine, PictureResizedByAHandleIsRedrawnAtItsNewSizeOnRelease) {
  Engine e;
  auto* img = static_cast<TzunoCADImage*>(e.cad.Mdl().CreateObjet(QStringLiteral("image")));
  QImage picture(800, 600, QImage::Format_RGB888);
  picture.fill(Qt::darkGreen);
  img->SetPicture(picture);
  img->x = 60;
  img->y = 60;
  img->l = 20;
  img->h = 15;
  img->RebuildCache();
  const QSize before = img->Cache.size();
  e.Drag(img->HandlePos(3), {{80, 75}});
  EXPECT_NEAR(img->l, 40, 1e-9);
  EXPECT_NE(img->TargetSize(), before);
  EXPECT_EQ(img->Cache.size(), img->TargetSize());
}

}  // namespace

namespace {

TEST(CanvasEngine, DebugRightClickPicksTheRenderedColour) {
  for (bool debug : {false, true}) {
    Engine e;
    e.cad.Debug = debug;
    e.cad.Mdl().ColorPapier = RGBColor(10, 200, 30);
    TzunoCADRect* box = e.Box("box", 60, 60, 20, 20);
    auto* text = static_cast<TzunoCADTexte*>(e.cad.Mdl().CreateObjet(QStringLiteral("texte")));
    e.cad.RequestRepaint();
    e.cad.Tick();
    for (TzunoCADRect* target : {box, static_cast<TzunoCADRect*>(text)}) {
      e.cad.SelectObj(target);
      e.cad.MouseDown(e.Px({5, 115}), Qt::RightButton);
      e.cad.MouseUp(e.Px({5, 115}), Qt::RightButton);
    }
    EXPECT_EQ(box->Pen.Color, debug ? RGBColor(10, 200, 30) : clBlack) << debug;
    EXPECT_EQ(text->Font.Color, debug ? RGBColor(10, 200, 30) : clBlack) << debug;
  }
}

}  // namespace

namespace {

TEST(CanvasEngine, LineKeysWorkOnTheHitAnchor) {
  struct Case {
    const char* name;
    int hit;  // the selected line's hit code
    int key;
    int points;         // afterwards
    int lines;          // objects in the document afterwards
    QPointF newAnchor;  // point 3 afterwards
  };
  const Case cases[] = {
      {"Delete removes the middle anchor", 3, Qt::Key_Delete, 4, 1, {80, 20}},
      {"Delete of the last anchor", 6, Qt::Key_Delete, 4, 1, {50, 20}},
      {"Insert splits the segment after the anchor", 0, Qt::Key_Insert, 10, 1, {35, 20}},
      {"Insert on a control point changes nothing", 1, Qt::Key_Insert, 7, 1, {50, 20}},
      {"Insert without a hit copies the line", -1, Qt::Key_Insert, 7, 2, {50, 20}},
  };
  for (const Case& c : cases) {
    TScriptedDialogs script;
    script.Answers = {arOK};
    SetUserDialogs(&script);
    Engine e;
    auto* line = static_cast<TzunoCADLigne*>(e.cad.Mdl().CreateObjet(QStringLiteral("ligne")));
    for (QPointF p : {QPointF(20, 20), QPointF(50, 20), QPointF(80, 20)}) line->AddPoint(p);
    e.cad.SelectObj(line);
    line->HitCode = c.hit;
    e.cad.KeyDown(c.key, Qt::NoModifier);
    SetUserDialogs(nullptr);
    EXPECT_EQ(line->Points.size(), c.points) << c.name;
    EXPECT_EQ(e.cad.Mdl().Count(), c.lines) << c.name;
    EXPECT_EQ(e.cad.SelectedObj(), line) << c.name;
    if (line->Points.size() > 3) {
      EXPECT_EQ(line->Points[3], c.newAnchor) << c.name;
    }
    if (c.lines == 2) {
      auto* copy = static_cast<TzunoCADLigne*>(e.cad.Mdl().Objet(1));
      EXPECT_NEAR(copy->Points[0].x(), 20 + 10 / e.cad.ZoomX, 1e-9);
      EXPECT_NEAR(copy->Points[6].y(), 20 + 10 / e.cad.ZoomY, 1e-9);
    }
  }
}

TEST(CanvasEngine, PointerMovesArrivingDuringAMoveAreIgnored) {
  Engine e;
  e.Box("a", 30, 30, 20, 20);
  TzunoCADRect* b = e.Box("b", 90, 90, 20, 20);
  int nested = 0;
  e.cad.OnChange = [&](TzunoCAD* cad, TzunoCADObj*) {
    if (nested++ == 0) cad->MouseMove(e.Px({30, 30}));
  };
  e.Hover({90, 90});
  EXPECT_EQ(e.cad.HoverObj(), b);
  EXPECT_EQ(nested, 1);
}

}  // namespace

namespace {

TEST(CanvasEngine, ARotatedPageIsEditedInItsOwnFrame) {
  Engine e;
  e.cad.Mdl().Rotation = 90;
  TzunoCADRect* box = e.Box("box", 30, 40, 20, 20);
  box->Brush = TBrush{RGBColor(200, 0, 0), bsSolid};
  e.cad.RequestRepaint();
  e.cad.Tick();
  const QPoint at = e.Px({30, 40}).toPoint();
  EXPECT_EQ(e.cad.Image().pixel(at), qRgb(200, 0, 0)) << "drawn where the pointer maps";
  e.Hover({30, 40});
  EXPECT_EQ(e.cad.HoverObj(), box);
  EXPECT_DOUBLE_EQ(e.cad.Mdl().Rotation, 90) << "kept for output";
}

}  // namespace

namespace {

TEST(CanvasEngine, PaperImageIsOneUnselectableBackgroundAtTheBottom) {
  QTemporaryDir dir;
  const QString first = dir.filePath(QStringLiteral("a.png")), second = dir.filePath(QStringLiteral("b.png"));
  QImage picture(40, 30, QImage::Format_RGB888);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(first));
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(second));
  Engine e(120, 90);
  TzunoCADRect* box = e.Box("box", 60, 45, 20, 20);
  e.cad.Mdl().CurrentFace = 2;
  EXPECT_EQ(e.cad.FindBackground(), nullptr);
  e.cad.SetPaperImage(first);
  ASSERT_EQ(e.cad.Mdl().Count(), 2);
  TzunoCADImage* paper = e.cad.FindBackground();
  ASSERT_NE(paper, nullptr);
  EXPECT_EQ(e.cad.Mdl().Objet(0), paper);
  EXPECT_EQ(paper->Face, 2);
  EXPECT_EQ(paper->FichierImage, first);
  EXPECT_EQ(e.events, QStringList{"layer()"});
  // A second picture replaces the first in the same object.
  e.cad.SetPaperImage(second);
  EXPECT_EQ(e.cad.Mdl().Count(), 2);
  EXPECT_EQ(e.cad.FindBackground(), paper);
  EXPECT_EQ(paper->FichierImage, second);
  // The pointer finds what lies above the paper, never the paper.
  e.cad.Mdl().CurrentFace = 2;
  e.Hover({10, 10});
  EXPECT_EQ(e.cad.HoverObj(), nullptr);
  box->Face = 2;
  e.Hover({60, 45});
  EXPECT_EQ(e.cad.HoverObj(), box);
  // Moved away from the page centre it is no longer the background.
  paper->x += 1;
  EXPECT_EQ(e.cad.FindBackground(), nullptr);
}

}  // namespace

namespace {

// Frames and handles come after every object: a later, filled object never hides the handles of the
// selected one below it.
TEST(CanvasEngine, HandlesOfTheSelectionShowAboveLaterObjects) {
  Engine e;
  TzunoCADRect* low = e.Box("low", 40, 40, 40, 40);
  TzunoCADRect* up = e.Box("up", 60, 60, 40, 40);
  up->Brush = TBrush{RGBColor(0, 255, 0), bsSolid};
  e.cad.SelectObj(low);
  e.cad.RequestRepaint();
  ASSERT_TRUE(e.cad.Tick());
  // Handle 3 of the lower box lies inside the upper one: its centre is painted in the selection colour.
  const QPointF at = e.Px(low->HandlePos(3));
  EXPECT_EQ(e.cad.Image().pixelColor(int(std::lround(at.x())), int(std::lround(at.y()))), QColor(255, 0, 0));
  // The upper box still covers what lies beneath it.
  EXPECT_EQ(
      e.cad.Image().pixelColor(int(std::lround(e.Px({75, 75}).x())), int(std::lround(e.Px({75, 75}).y()))),
      QColor(0, 255, 0));
}

}  // namespace

namespace {

// While a drag is on, only the area the object leaves and enters is drawn again, over a kept
// picture of what lies beneath it: every frame must equal drawing the whole page.
TEST(CanvasEngine, DragFramesMatchDrawingTheWholePage) {
  struct Scene {
    Engine e{120, 90};
    std::vector<TzunoCADObj*> dragged;
    Scene() {
      e.cad.SetControlSize(QSize(500, 400));
      e.cad.ApplyZoom();
      TzunoCADRect* under = e.Box("under", 50, 45, 60, 40);
      under->Brush = TBrush{RGBColor(250, 220, 0), bsSolid};
      TzunoCADRect* box = e.Box("box", 40, 40, 20, 14, 30);
      box->Brush = TBrush{RGBColor(0, 120, 255), bsSolid};
      box->Pen.Width = 800;
      auto* img = static_cast<TzunoCADImage*>(e.cad.Mdl().CreateObjet(QStringLiteral("image")));
      QImage picture(300, 200, QImage::Format_RGB888);
      picture.fill(Qt::darkGreen);
      for (int y = 0; y < 200; y += 5) picture.setPixelColor(y, y, Qt::white);
      img->SetPicture(picture);
      img->x = 70;
      img->y = 50;
      img->l = 30;
      img->h = 20;
      img->r = 20;
      img->RebuildCache();
      auto* text = static_cast<TzunoCADTexte*>(e.cad.Mdl().CreateObjet(QStringLiteral("texte")));
      text->x = 60;
      text->y = 30;
      text->LayoutText(QStringLiteral("Bonjour|à tous"));
      auto* line = static_cast<TzunoCADLigne*>(e.cad.Mdl().CreateObjet(QStringLiteral("ligne")));
      line->Pen.Width = 500;
      line->AddPoint({20, 70});
      line->AddPoint({100, 20});
      TzunoCADRect* top = e.Box("top", 90, 70, 15, 15);
      top->Brush = TBrush{RGBColor(200, 0, 0), bsDiagCross};
      dragged = {box, img, text, top};
    }
  };
  Scene layered, whole;
  whole.e.cad.DragLayers = false;
  for (size_t k = 0; k < layered.dragged.size(); ++k) {
    const QPointF from(static_cast<TzunoCADRect*>(layered.dragged[k])->x,
                       static_cast<TzunoCADRect*>(layered.dragged[k])->y);
    for (Scene* s : {&layered, &whole}) {
      s->e.cad.MouseMove(s->e.Px(from));
      s->e.cad.MouseDown(s->e.Px(from), Qt::LeftButton);
      s->e.cad.RequestRepaint();
      s->e.cad.Tick();
    }
    for (int step = 1; step <= 6; ++step) {
      const QPointF to = from + QPointF(step * 3.7, step * -2.3 + (step % 2) * 5);
      for (Scene* s : {&layered, &whole}) {
        s->e.cad.MouseMove(s->e.Px(to));
        ASSERT_TRUE(s->e.cad.Tick());
      }
      EXPECT_TRUE(layered.e.cad.LastRenderPartial()) << k << " " << step;
      EXPECT_TRUE(layered.e.cad.Image() == whole.e.cad.Image()) << "object " << k << " step " << step;
    }
    for (Scene* s : {&layered, &whole}) {
      s->e.cad.MouseUp(s->e.Px(from), Qt::LeftButton);
      s->e.cad.Tick();
    }
    EXPECT_FALSE(layered.e.cad.LastRenderPartial());
    EXPECT_TRUE(layered.e.cad.Image() == whole.e.cad.Image()) << "object " << k << " released";
  }
}

}  // namespace

namespace {

// F1 lists the selected object as stored, for checking templates; only in debug mode.
TEST(CanvasEngine, F1ShowsTheSelectedObjectInDebugMode) {
  for (bool debug : {false, true}) {
    TScriptedDialogs script;
    SetUserDialogs(&script);
    Engine e;
    e.cad.Debug = debug;
    TzunoCADRect* box = e.Box("carte", 50, 50, 20, 10);
    e.cad.SelectObj(box);
    e.cad.KeyDown(Qt::Key_F1, Qt::NoModifier);
    SetUserDialogs(nullptr);
    ASSERT_EQ(script.Questions.size(), debug ? 1 : 0);
    if (debug) {
      EXPECT_TRUE(script.Questions[0].Text.split(QLatin1Char('\n')).contains(QStringLiteral("Code=carte")))
          << script.Questions[0].Text.toStdString();
      EXPECT_EQ(script.Questions[0].Buttons, abOK);
    }
  }
}

}  // namespace

namespace {

// Editing one object's own properties (typing its words, its colour) redraws only its area over the
// kept page beneath it; the page must equal drawing it whole, and any other request draws it whole.
TEST(CanvasEngine, ObjectEditFramesMatchDrawingTheWholePage) {
  struct Scene {
    Engine e{120, 90};
    TzunoCADTexte* text = nullptr;
    TzunoCADRect* top = nullptr;
    Scene() {
      TzunoCADRect* under = e.Box("under", 50, 45, 60, 40);
      under->Brush = TBrush{RGBColor(250, 220, 0), bsSolid};
      text = static_cast<TzunoCADTexte*>(e.cad.Mdl().CreateObjet(QStringLiteral("texte")));
      text->x = 55;
      text->y = 40;
      text->LayoutText(QStringLiteral("Un"));
      top = e.Box("top", 62, 42, 12, 12);
      top->Brush = TBrush{RGBColor(200, 0, 0), bsDiagCross};
      e.cad.SelectObj(text);
      e.cad.RequestRepaint();
      e.cad.Tick();
    }
  };
  Scene layered, whole;
  whole.e.cad.DragLayers = false;
  const QStringList words = {"Un peu", "Un peu plus long|sur deux lignes", "Court", "", "Fin"};
  for (qsizetype i = 0; i < words.size(); ++i) {
    for (Scene* s : {&layered, &whole}) {
      s->text->LayoutText(words[i]);
      s->text->Font.Color = i % 2 ? RGBColor(0, 0, 200) : clBlack;
      s->e.cad.RequestObjectRepaint(s->text);
      ASSERT_TRUE(s->e.cad.Tick());
    }
    // The first edit draws the whole page and keeps the layers; the next ones only the text's area.
    EXPECT_EQ(layered.e.cad.LastRenderPartial(), i > 0) << i;
    EXPECT_TRUE(layered.e.cad.Image() == whole.e.cad.Image()) << "edit " << i;
  }
  // A change of another object comes with a whole-page request, which wins.
  for (Scene* s : {&layered, &whole}) {
    s->top->x = 30;
    s->e.cad.RequestRepaint();
    s->e.cad.RequestObjectRepaint(s->text);
    ASSERT_TRUE(s->e.cad.Tick());
  }
  EXPECT_FALSE(layered.e.cad.LastRenderPartial());
  EXPECT_TRUE(layered.e.cad.Image() == whole.e.cad.Image());
}

}  // namespace
