// The canvas widget driven by real Qt mouse events: what a drag and a handle resize store in the
// document.
#include "editor/ui/canvas_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "editor/canvas_engine.h"
#include "model/document.h"
#include "model/object.h"

namespace {

TEST(CanvasWidget, MouseDragMovesAndAHandleResizes) {
  TzunoCADView view;
  view.resize(500, 400);
  TzunoCAD& cad = view.Engine();
  cad.Mdl().Large = 120;
  cad.Mdl().Haut = 100;
  cad.Mode = 1;
  auto* box = static_cast<TzunoCADRect*>(cad.Mdl().CreateObjet(QStringLiteral("rectangle")));
  box->x = 50;
  box->y = 40;
  box->l = 30;
  box->h = 20;
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  cad.RequestRepaint();
  view.Tick();
  ASSERT_FALSE(cad.Image().isNull());
  QWidget* surface = view.Surface();

  // Drag the body by 10 mm right and 5 mm down, through intermediate positions as a hand would.
  const QPoint from = view.PixelOf({50, 40});
  QTest::mouseMove(surface, from);
  QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, from);
  for (int step = 1; step <= 5; ++step)
    QTest::mouseMove(surface, view.PixelOf({50 + 2.0 * step, 40 + 1.0 * step}));
  QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, view.PixelOf({60, 45}));
  EXPECT_EQ(cad.SelectedObj(), box);
  const double mm = 1 / cad.ZoomX;  // one pixel
  EXPECT_NEAR(box->x, 60, mm);
  EXPECT_NEAR(box->y, 45, mm);
  EXPECT_NEAR(box->l, 30, 1e-9);

  // The right-middle handle widens the box against its left side.
  const QPointF handle = box->HandlePos(6);
  const QPoint at = view.PixelOf(handle);
  QTest::mouseMove(surface, at);
  EXPECT_EQ(box->HitCode, 6);
  QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseMove(surface, view.PixelOf(handle + QPointF(5, 0)));
  QTest::mouseMove(surface, view.PixelOf(handle + QPointF(10, 0)));
  QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, view.PixelOf(handle + QPointF(10, 0)));
  EXPECT_NEAR(box->l, 40, 2 * mm);
  EXPECT_NEAR(box->x - box->l / 2, 45, 2 * mm);  // the left side stays
  EXPECT_NEAR(box->h, 20, 1e-9);
}

}  // namespace

namespace {

// Ctrl + wheel zooms around the pointer: the page point under it stays; zooming back out to the
// fitted size, or Ctrl+0, fits the page again.
TEST(CanvasWidget, CtrlWheelZoomsAroundThePointer) {
  TzunoCADView view;
  view.resize(500, 400);
  TzunoCAD& cad = view.Engine();
  cad.Mdl().Large = 120;
  cad.Mdl().Haut = 100;
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  cad.RequestRepaint();
  view.Tick();
  const double fit = cad.ZoomX;
  const QPointF mm(90, 70);
  const QPoint pointer = view.Surface()->mapTo(view.viewport(), view.PixelOf(mm));
  for (int i = 1; i <= 3; ++i) {
    QWheelEvent up(pointer, view.viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &up);
    EXPECT_FALSE(cad.AutoZoom);
    EXPECT_NEAR(cad.ZoomX, fit * std::pow(1.25, i), 1e-9);
    // The same page point is still under the pointer, within a pixel.
    const QPoint now = view.Surface()->mapTo(view.viewport(), view.PixelOf(mm));
    EXPECT_LE((now - pointer).manhattanLength(), 2) << i;
  }
  EXPECT_GT(view.Surface()->width(), view.viewport()->width());
  QWheelEvent down(pointer, view.viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, -120 * 5),
                   Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.viewport(), &down);
  EXPECT_TRUE(cad.AutoZoom);
  EXPECT_NEAR(cad.ZoomX, fit, 1e-9);
  QWheelEvent up(pointer, view.viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, 240), Qt::NoButton,
                 Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.viewport(), &up);
  ASSERT_FALSE(cad.AutoZoom);
  QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
  EXPECT_TRUE(cad.AutoZoom);
  EXPECT_NEAR(cad.ZoomX, fit, 1e-9);
}

}  // namespace

namespace {

// Objects of absurd size or far off the page are items with sane rectangles around the picture.
TEST(CanvasWidget, ItemRectanglesStaySaneForAbsurdObjects) {
  TzunoCADView view;
  view.resize(500, 400);
  TzunoCAD& cad = view.Engine();
  cad.Mdl().Large = 120;
  cad.Mdl().Haut = 100;
  struct Case {
    const char* type;
    double x, y, l, h;
  };
  const Case cases[] = {
      {"texte", 50, 50, 20, 1e12}, {"rectangle", 1e15, -1e15, 10, 10}, {"rectangle", 50, 50, 1e300, 1e300}};
  for (const Case& c : cases) {
    auto* o = static_cast<TzunoCADRect*>(cad.Mdl().CreateObjet(QString::fromLatin1(c.type)));
    o->x = c.x;
    o->y = c.y;
    o->l = c.l;
    o->h = c.h;
  }
  cad.RequestRepaint();
  view.Tick();
  const int span = 4 * (cad.Image().width() + cad.Image().height()) + 20000;
  for (int i = 0; i < view.Surface()->ItemCount(); ++i) {
    const QRect r = view.Surface()->ItemRect(i);
    EXPECT_GE(r.width(), 0) << i;
    EXPECT_GE(r.height(), 0) << i;
    EXPECT_LT(r.width(), span) << i;
    EXPECT_LT(r.height(), span) << i;
  }
}

}  // namespace
