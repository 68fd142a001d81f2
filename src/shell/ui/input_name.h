// The file-name input box (window fmInputFichier): a prompt, an edit box that takes only the
// characters of a file name, OK (only with a name) and Cancel.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TInputNameDialog : public QDialog {
  Q_OBJECT
 public:
  TInputNameDialog(const QString& caption, const QString& prompt, const QString& value,
                   QWidget* parent = nullptr);
  QString Value() const;
  QLineEdit* Edit() const { return edit_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // Letters A-Z and a-z, digits, backspace, space, "-", "_" and à ç è é ë ì ï ò ö ù ü ÿ.
  static bool AcceptsKey(QChar c);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void FilterInserted(const QString& now);
  QLabel* prompt_;
  QString shown_;  // the text shown before the latest edit
  QLineEdit* edit_;
  QPushButton *ok_, *cancel_;
};

// True and the new value when the user confirms with OK.
bool InputName(const QString& caption, const QString& prompt, QString& value, QWidget* parent = nullptr);
