// The editing canvas as a widget: Qt's mouse, wheel and key events go to the editing engine, which
// renders the page; the widget only paints the engine's picture and scrolls over it when zoomed in.
#pragma once

#include <QScrollArea>
#include <QTimer>
#include <memory>

#include "catalogue/ui/picture_accessible.h"

class TzunoCAD;
class TzunoCADView;

// The page picture inside the scrolled area; its mouse input is the canvas's. For assistive
// technologies the objects of the shown face are its items, topmost first; pressing one selects it.
class TzunoCADSurface : public QWidget, public TPictureItems {
  Q_OBJECT
 public:
  explicit TzunoCADSurface(TzunoCADView* view);

  int ItemCount() const override;
  QString ItemName(int i) const override;
  // What a text shows, its merge fields filled (its name tells what was typed).
  QString ItemHint(int i) const override;
  QRect ItemRect(int i) const override;
  void PressItem(int i) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Document indexes of the items, topmost first.
  QList<int> Items() const;
  TzunoCADView* view_;
};

class TzunoCADView : public QScrollArea {
  Q_OBJECT
 public:
  explicit TzunoCADView(QWidget* parent = nullptr);
  ~TzunoCADView() override;

  TzunoCAD& Engine() { return *engine_; }
  TzunoCADSurface* Surface() const { return surface_; }
  // Renders now when a repaint is pending (the 10 ms tick does it otherwise).
  void Tick();
  // The surface pixel of a page point in millimetres.
  QPoint PixelOf(QPointF mm) const;
  // Zooms by a factor keeping the page point under a viewport position where it is; a zoom at or
  // below the one that fits the page goes back to fitting it.
  void ZoomAt(double factor, QPointF viewportPos);
  // Fits the page again (automatic zoom).
  void ZoomToFit();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // Ctrl + wheel zooms around the pointer; the wheel alone scrolls.
  void wheelEvent(QWheelEvent* event) override;

 private:
  friend class TzunoCADSurface;
  QPointF EnginePixel(QPointF surfacePos) const;
  void FollowPointer();

  std::unique_ptr<TzunoCAD> engine_;
  TzunoCADSurface* surface_;
  QTimer tick_;
};
