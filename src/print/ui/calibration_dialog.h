// The printer adjustment: the way the paper goes in, then a test sheet printed in portrait and in
// landscape on which the user measures where the two reference lines landed. The offsets are kept
// per printer, paper and orientation and subtracted by every print.
#pragma once

#include <QDialog>

#include "print/papers.h"
#include "print/print_job.h"

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QStackedWidget;

class TfmPrintCalibre : public QDialog {
  Q_OBJECT

 public:
  // `printer` is the printer being adjusted, known to the settings as `printerName`; the sheets are
  // printed on `paper`.
  TfmPrintCalibre(QWidget* owner, QPrinter& printer, const QString& printerName, const TPapierInfo& paper,
                  TCalibrationStore store);

  // Counts the opening and shows the dialog for the printer and paper over the user's settings.
  static int ShowCalibration(QWidget* owner, QPrinter& printer, const QString& printerName,
                             const TPapierInfo& paper);

  void bPreSuivClick(int tag);  // 1 Previous, 2 Next
  // The printer type selected (0 to 2), or -1.
  int SelectedType() const;

  QLabel *lbTitre, *lbSousTitre;
  QStackedWidget* Pages;
  QListWidget* lbPrintType;
  QDoubleSpinBox *seX, *seY, *seX1, *seY1;
  QPushButton *bPrecedent, *bSuivant, *bAnnuler;

 private:
  bool PrintSheet(bool landscape);
  void ShowHeader();

  QPrinter& printer_;
  QString printerName_;
  TPapierInfo paper_;
  TCalibrationStore store_;
};
