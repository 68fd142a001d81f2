// The user's outgoing mail server: with one set, mails leave directly instead of through the
// desktop's mail program.
#pragma once

#include <QDialog>

#include "records/smtp_settings.h"

class QComboBox;
class QLineEdit;
class QSpinBox;
class QPushButton;

class TfmServeurMail : public QDialog {
  Q_OBJECT

 public:
  TfmServeurMail(QWidget* owner, const TSmtpSettings& settings);
  TSmtpSettings Settings() const;
  // Shows the dialog on the settings file; true when it was saved.
  static bool ShowServeurMail(QWidget* owner);

  QLineEdit *edServeur, *edUtilisateur, *edMotDePasse, *edAdresse, *edNom;
  QSpinBox* sePort;
  QComboBox* cbSecurite;
  QPushButton *bOK, *bAnnuler;

 private:
  TSmtpSettings base_;
};
