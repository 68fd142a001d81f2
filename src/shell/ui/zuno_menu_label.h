// A clickable label of a side-menu panel: a glyph at the left and a word-wrapped caption that is
// underlined while the pointer is over it.
#pragma once

#include <QAbstractButton>
#include <QImage>

class TzunoMenuLabel : public QAbstractButton {
  Q_OBJECT
  // Set through the language file ("ZMLCaption", "ZMLHint").
  Q_PROPERTY(QString ZMLCaption READ text WRITE setText)
  Q_PROPERTY(QString ZMLHint READ toolTip WRITE setToolTip)

 public:
  explicit TzunoMenuLabel(QWidget* parent = nullptr, const QString& caption = QString());

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }
  const QImage& Glyph() const { return glyph_; }
  void SetGlyph(const QImage& glyph);
  bool PointerOver() const { return over_; }
  QSize sizeHint() const override { return {100, 16}; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  QImage glyph_;
  bool over_ = false;
};
