// The canvas widget driven by real Qt mouse events: what a drag and a handle resize store in the
// document.
#include "editor/ui/canvas_widget.h"

#include <gtest/gtest.h>

#include <QTest>

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
