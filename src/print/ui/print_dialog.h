// The print dialog: printer and paper on the first page; brand, layout, cells and options with the
// sheet's preview on the last; printing with the printer's stored calibration. The preview and the
// printer draw through the same sheet and cell painter.
#pragma once

#include <QDialog>
#include <memory>

#include "print/papers.h"
#include "print/print_job.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TCellPainter;
class TRecordStream;
class TzunoCADMdl;
class TzunoMPage;

class TfmPrint : public QDialog {
  Q_OBJECT

 public:
  // The name the printer that writes a PDF file keeps its calibration under. It is always listed
  // (as PdfFileRow), it asks for the file when printing and has nothing to calibrate.
  static const QString kPdfPrinter;
  // The file printer's row in the printer list.
  static QString PdfFileRow();

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

  // The name the selected printer's calibration is stored under.
  QString SelectedPrinter() const;
  // The system queue selected; empty for the PDF file.
  QString SelectedQueue() const;
  bool PdfFileSelected() const;
  // The records file merged into the print, one record per cell; empty for none. False, with a
  // message shown, when the file cannot be read or holds no record (the previous choice stays).
  bool SetRecordsFile(const QString& file);
  const QString& RecordsFile() const { return recordsFile_; }
  int RecordCount() const { return recordCount_; }
  // Copies, start cell, records: what the print run does.
  TRunOptions Run() const;
  void bFichesClick();
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
  QSpinBox *seCopies, *seDebut;
  QLabel *lFichier, *lNbFiches;
  QPushButton *bFiches, *bSansFiches;

 protected:
  void done(int result) override;

 private:
  void MakeCurrent();
  void ApplyOptions();
  void ShowHeader();
  void ShowPlan();
  bool DoPrint();
  // Every sheet of the print on the printer set up, with the calibration of `store`.
  bool PrintSheets(const TCalibrationStore& store, const QString& title, QString* error,
                   const std::function<bool()>& cancelled);
  // The preview's run restarts at the first cell of the first sheet (and the first record).
  void RestartPreview();
  void ShowRecords();

  std::unique_ptr<TzunoCADMdl> mdl_;
  std::unique_ptr<TCellPainter> cells_;
  std::unique_ptr<QPrinter> printer_;
  TzunoPapiers papiers_;
  TPapierInfo paper_;  // the selected paper as the table gives it (portrait)
  bool landscape_ = false;
  bool filling_ = false;
  QString fileName_;
  QString recordsFile_;
  int recordCount_ = 0;
  QStringList askedFields_;
  // What the preview shows of the first sheet; destroyed in reverse order of making.
  std::unique_ptr<TRecordStream> previewRecords_;
  std::unique_ptr<TRecordFeed> previewFeed_;
  std::unique_ptr<TRunCells> previewRun_;
};
