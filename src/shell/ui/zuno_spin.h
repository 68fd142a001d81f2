// A numeric entry of 21 pixels high: an edit box and a small up/down button. Text that does not
// read as a number turns red and leaves the value as it was.
#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

class TzunoSpin : public QWidget {
  Q_OBJECT
  Q_PROPERTY(double Value READ Value WRITE SetValue)
  Q_PROPERTY(int ValueInt READ ValueInt WRITE SetValueInt)
  Q_PROPERTY(double ValMin READ ValMin WRITE SetValMin)
  Q_PROPERTY(double ValMax READ ValMax WRITE SetValMax)
  Q_PROPERTY(bool CanReal READ CanReal WRITE SetCanReal)

 public:
  explicit TzunoSpin(QWidget* parent = nullptr);

  double Value() const { return value_; }
  // Clamps to the bounds (when either is not 0), shows the value and calls OnChange.
  void SetValue(double v);
  int ValueInt() const;
  void SetValueInt(int v) { SetValue(v); }
  double ValMin() const { return valMin_; }
  void SetValMin(double v) { valMin_ = v; }
  double ValMax() const { return valMax_; }
  void SetValMax(double v) { valMax_ = v; }
  bool CanReal() const { return canReal_; }
  void SetCanReal(bool on) { canReal_ = on; }
  std::function<void(TzunoSpin*)> OnChange;

  QLineEdit* Edit() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  // True while the text does not read as a number (shown in red).
  bool Invalid() const { return invalid_; }
  // The value as the edit box shows it: at most four decimals, "," before them.
  static QString Format(double v);
  QSize sizeHint() const override { return {80, 21}; }

 signals:
  void changed();

 protected:
  void resizeEvent(QResizeEvent*) override;
  bool eventFilter(QObject* o, QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  // Sets the value; when typing, the text is rewritten only if a bound replaced the value.
  void Apply(double v, bool fromText);
  void TextChanged(const QString& text);
  void SetInvalid(bool on);
  QLineEdit* edit_;
  QToolButton *up_, *down_;
  double value_ = 123.456;
  double valMin_ = 0, valMax_ = 0;
  bool canReal_ = true;
  bool setting_ = false;
  bool invalid_ = false;
};
