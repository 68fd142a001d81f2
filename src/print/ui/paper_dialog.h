// The decorative paper maker: the document repeated as a motif over a sheet, with its size, quality,
// spacing and shifts, and a preview that zooms by halves.
#pragma once

#include <QDialog>
#include <QImage>

#include "print/decor_paper.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TzunoCADMdl;

class TfmPapier : public QDialog {
  Q_OBJECT

 public:
  TfmPapier(QWidget* owner, TzunoCADMdl& model);

  // Counts the opening and shows the dialog for the document; on OK (1) `bitmap` holds the paper.
  static int ShowPapier(QWidget* owner, TzunoCADMdl& model, QImage& bitmap);

  int Dpi() const;
  // The motif again when its size or quality changed, then the sheet and its preview.
  void Rebuild();
  // 1 to 16: the preview shows the paper at 1/Zoom of its size.
  int Zoom() const { return zoom_; }
  void SetZoom(int z);
  const QImage& Paper() const { return paper_; }

  QDoubleSpinBox *ueLarge, *ueHaut, *ueMdlLarge, *ueMdlHaut;
  QComboBox* cbDPI;
  QSpinBox *ueHorz, *ueVert, *ueDecHorz, *ueDecVert;
  QLabel* Apercu;
  QScrollArea* Defile;
  QProgressBar* Progression;
  QPushButton *bZoomPlus, *bZoomMoins, *bOK, *bAnnuler;

 private:
  void ShowPreview();

  TzunoCADMdl& model_;
  QImage motif_, paper_;
  double motifLarge_ = 0, motifHaut_ = 0;
  int motifDpi_ = 0;
  int zoom_ = 1;
  bool filling_ = true;
};
