// The template grid: one picture holding a cell per file (previews of templates, or the cells of a
// folder's mosaic), inside a scrolling panel. One control for the whole grid, not one per cell.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <QStringList>
#include <functional>

#include "catalogue/ui/picture_accessible.h"

class TzunoCADMdl;
class TzunoApercuModele;

// The picture of the grid, placed inside the panel's scrolled area at the grid's left offset.
class TApercuImage : public QWidget {
  Q_OBJECT
 public:
  explicit TApercuImage(TzunoApercuModele* grid);
  TPictureItems* Items() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  TzunoApercuModele* grid_;
};

class TzunoApercuModele : public QScrollArea, public TPictureItems {
  Q_OBJECT
 public:
  explicit TzunoApercuModele(QWidget* parent = nullptr);
  ~TzunoApercuModele() override;

  // Cell width and height in pixels.
  int ApercuLarge = 100;
  int ApercuHaut = 100;
  // The picture files, one per cell, in order.
  QStringList Fichiers;
  // Files framed in red (templates that failed).
  QStringList Erreurs;
  // The cell framed in yellow as the one shown elsewhere (-1: none).
  int Courant = -1;
  // Cell margin in pixels.
  int Marge = 0;
  // The cell size follows the first picture at every Redraw.
  bool AutoTaille = true;
  // Mosaic mode: the model that renders the templates (not owned), their folder and the mosaic file.
  TzunoCADMdl* Modele = nullptr;
  QString Dossier, Mosaique;
  // A cell was clicked: the grid, the cell's index and its file.
  std::function<void(TzunoApercuModele* sender, int index, const QString& file)> OnClickApercu;
  // What a cell's tooltip and its accessible description tell (none: nothing).
  std::function<QString(int index)> OnHint;

  // The picture holding every cell.
  const QImage& Image() const { return image_; }
  // Columns for the current width: (width - 20) div (ApercuLarge + Marge), at least 1.
  int Columns() const;
  QRect CellRect(int i) const;
  // The first cell containing the point of the picture, or -1.
  int CellAt(int x, int y) const;
  // Where the picture's left edge sits in the panel.
  int ImageLeft() const { return left_; }

  void Redraw();
  // Cells whose file exists but did not load at the last Redraw (a damaged preview; no message box:
  // the owner makes it again).
  const QList<int>& Unreadable() const { return unreadable_; }
  // Paints file i into its cell again (its preview arrived since the last Redraw).
  void RedrawCell(int i);
  // Moves the yellow frame to cell i.
  void SetCourant(int i);
  void RedrawMosaic();
  void PaintMosaic(const QString& file);
  // Renders every template of Dossier into the mosaic file (or its per-user copy when its folder is
  // read-only). False when there is no model or the file cannot be written.
  bool BuildMosaic();
  // The sorted ".mdl" files of Dossier (no subfolders), as the mosaic orders them.
  QStringList MosaicTemplates() const;

  // What a click on the picture at (x, y) does: the Debug message or OnClickApercu.
  void ClickAt(int x, int y, Qt::MouseButton button);

  // TPictureItems: the cells for assistive technologies.
  int ItemCount() const override;
  QString ItemName(int i) const override;
  QString ItemHint(int i) const override;
  QRect ItemRect(int i) const override;
  void PressItem(int i) override;

 signals:
  void ClickApercu(int index, const QString& file);
  // The panel was resized (the clipart chooser repaints its mosaic).
  void Resized();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Arrows move the yellow frame, Enter opens the framed cell.
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  friend class TApercuImage;
  struct TCellPicture {
    bool exists = false;
    QImage picture;  // null when the file does not load
  };
  static TCellPicture LoadCell(const QString& file);
  void DrawFile(int i, QPainter& painter);
  void DrawCell(int i, const TCellPicture& cell, QPainter& painter);
  void Place();

  QImage image_;
  QList<int> unreadable_;
  int left_ = 0;
  TApercuImage* picture_;
};
