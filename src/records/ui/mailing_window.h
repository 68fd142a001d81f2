// The mailing window: the card sent by e-mail to ticked people of the address book, one mail each,
// the document and the message personalised with each recipient's card.
#pragma once

#include <QDialog>
#include <QList>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TCheckList;
class TMailSender;
class TzunoCADMdl;

class TfmMailingModele : public QDialog {
  Q_OBJECT

 public:
  TfmMailingModele(QWidget* owner, TzunoCADMdl& document);
  ~TfmMailingModele() override;

  // Counts the opening, shows the window modally and puts the current card back afterwards.
  static int ShowMailing(QWidget* owner, TzunoCADMdl& document);

  void FormShow();
  // The selected entry's card becomes current and both faces are previewed with its values.
  void ImageAffiche();
  void lbFichesClickCheck();
  // Sends one mail per ticked entry, in list order; returns at once, the sending goes on with the
  // window's events (progress, outcome of each recipient, cancel).
  void bOKClick();
  bool Sending() const { return sending_; }
  // The outcome shown for an entry after a send ("" before).
  QString Outcome(int entry) const;

  QWidget* Panel2;
  QLabel *lbTitre, *lbSousTitre, *lbListe, *lbObjet, *lbMessage, *lbEnvoi;
  TCheckList* lbFiches;
  QLabel *Image1, *Image2;
  QLineEdit* Edit1;
  QPlainTextEdit* Memo1;
  QCheckBox* CheckBox1;
  QProgressBar* Progression;
  QPushButton *bServeur, *bOK, *bCancel;

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void SendNext();
  void SendDone();
  void ShowRoute();
  QString EntryText(int card) const;
  void SetOutcome(int entry, const QString& text);

  TzunoCADMdl& document_;
  std::unique_ptr<TMailSender> sender_;
  bool shown_ = false;
  bool sending_ = false;
  bool stop_ = false;
  QList<int> queue_;
  int position_ = 0;
  int failures_ = 0;
  QStringList outcomes_;
};
