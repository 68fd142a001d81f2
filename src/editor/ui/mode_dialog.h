// The choice between the simple and the advanced editor, asked when the editor opens unless the user
// ticked "Ne plus afficher cet écran".
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

class TfmModeEdition : public QDialog {
  Q_OBJECT
 public:
  explicit TfmModeEdition(QWidget* owner = nullptr);
  // 2 when "Mode avancé" was chosen, 1 otherwise.
  int Choice() const;
  // Runs the dialog modally and returns its choice.
  static int Ask(QWidget* owner);

  QRadioButton *rbSimple, *rbAvance;
  QCheckBox* cbMasque;
  QPushButton* bOK;
};
