// The label-sheet layout editor: name, brand, cell size, grid, margins and gaps with the sheet's
// preview drawing the document's outline in every cell; OK writes the layouts table.
#pragma once

#include <QDialog>

#include "print/layouts.h"
#include "print/papers.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TzunoCADMdl;
class TzunoMPage;

struct TImprimerFormatResult {
  QString marque;
  QString gabarit;  // the model type the layout is made for
  bool ok = false;
};

class TfmImprimerFormat : public QDialog {
  Q_OBJECT

 public:
  // Edits the layout `nom` of `layoutsFile` on the paper `papier` (when the layout names none). A
  // new layout (`creating`) reads nothing and is appended under the name typed.
  TfmImprimerFormat(QWidget* owner, const QString& nom, const QString& papier, TzunoCADMdl& model,
                    const QString& layoutsFile, const QString& papersFile, bool creating = false);

  // Counts the opening and shows the dialog; on OK `result` holds the brand and model type.
  static void EditFormat(QWidget* owner, const QString& nom, const QString& papier,
                         TImprimerFormatResult& result, TzunoCADMdl& model, const QString& layoutsFile,
                         const QString& papersFile, bool creating = false);

  // Reads the fields into the layout and the preview.
  void Change();
  // Writes the layout into the table; false (the dialog stays) when it cannot be written or the
  // user keeps another layout of that name.
  bool bOKClick();

  const TGabaritInfo& Layout() const;
  TImprimerFormatResult Result;

  QLineEdit *eGabNom, *eMarque;
  QLabel *lPapierNom, *lbLarge, *lbHaut, *lbInterX, *lbInterY;
  QDoubleSpinBox *seLarge, *seHaut, *seX0, *seY0, *seInterX, *seInterY;
  QSpinBox *seNbreX, *seNbreY;
  QCheckBox *cbOrientation, *cbRectoVerso;
  TzunoMPage* Page;
  QPushButton *bOK, *bAnnuler;

 private:
  TzunoCADMdl& model_;
  QString opened_, layoutsFile_;
  TzunoPapiers papiers_;
  TGabaritInfo read_;  // as the table held it
  bool creating_;
  bool filling_ = false;
};
