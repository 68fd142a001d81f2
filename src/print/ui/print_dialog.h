// The print dialog: printer and paper on the first page; brand, layout, cells and options with the
// sheet's preview on the last; printing with the printer's stored calibration. The preview and the
// printer draw through the same sheet and cell painter.
#pragma once

#include <QDialog>
#include <memory>

#include "print/papers.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QStackedWidget;
class TCellPainter;
class TzunoCADMdl;
class TzunoMPage;

class TfmPrint : public QDialog {
  Q_OBJECT

 public:
  // The printer that writes a PDF file; always listed, it asks for the file when printing.
  static const QString kPdfPrinter;

  TfmPrint(QWidget* owner, const QString& fileName);
  ~TfmPrint() override;

  // Counts the opening, shows the dialog for the document file and returns 1.
  static int ShowPrintDialog(QWidget* owner, const QString& fileName);

  // Handlers as the form names them.
  void CalibreInfo();
  void FillMarques(QString marque);
  void cbMarquesChange();
  void lbGabaritsClick();
  void cbCadreGabaritClick();
  void bPreSuivClick(int tag);     // 1 Previous, 2 Next
  void Button2Click();             // calibrate
  void EditFormat(bool creating);  // bModif, bNew
  void bPlanClick();
  void bPropertyClick();
  // The mounting plan of the selected layout in the installation's "plan" folder.
  QString PlanFile() const;

  QString SelectedPrinter() const;
  QString SelectedPapier() const;
  QString SelectedFormat() const;
  TzunoCADMdl& Model() { return *mdl_; }
  // The selected printer as it is set up.
  QPrinter* Printer() const { return printer_.get(); }
  bool Miroir = false;

  QLabel *lbTitre, *lbSousTitre;
  QStackedWidget* Pages;
  QListWidget *lbPrinters, *lbPapiers, *lbGabarits;
  QLabel *Panel4, *Panel5, *lbPasDePapier, *lResX, *lResY;
  QComboBox* cbMarques;
  TzunoMPage* Page;
  QCheckBox *cbCadreGabarit, *cbNotRectInRect, *cbCadreModele, *cbColorPapier, *cbImageFond, *cbFaceVisible,
      *cbNoEchec;
  QPushButton *Button2, *bProperty, *bModif, *bNew, *bPlan, *bPrecedent, *bSuivant, *bAnnuler;

 protected:
  void done(int result) override;

 private:
  void MakeCurrent();
  void ApplyOptions();
  void ShowHeader();
  void ShowPlan();
  bool DoPrint();

  std::unique_ptr<TzunoCADMdl> mdl_;
  std::unique_ptr<TCellPainter> cells_;
  std::unique_ptr<QPrinter> printer_;
  TzunoPapiers papiers_;
  TPapierInfo paper_;  // the selected paper as the table gives it (portrait)
  bool landscape_ = false;
  bool filling_ = false;
};
