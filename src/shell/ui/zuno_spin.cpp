#include "shell/ui/zuno_spin.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>

namespace {
constexpr int kHeight = 21;
constexpr int kButtonWidth = 14;
}  // namespace

TzunoSpin::TzunoSpin(QWidget* parent) : QWidget(parent) {
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("edit"));
  edit_->installEventFilter(this);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  up_->setAccessibleName(QStringLiteral("+"));
  down_->setAccessibleName(QStringLiteral("-"));
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  connect(up_, &QToolButton::clicked, this, [this] { SetValue(value_ + 1); });
  connect(down_, &QToolButton::clicked, this, [this] { SetValue(value_ - 1); });
  connect(edit_, &QLineEdit::textChanged, this, &TzunoSpin::TextChanged);
  setFocusProxy(edit_);
  setFixedHeight(kHeight);
  resize(80, kHeight);
  setting_ = true;
  edit_->setText(Format(value_));
  setting_ = false;
}

QString TzunoSpin::Format(double v) {
  QString s = QString::number(std::round(v * 10000.0) / 10000.0, 'f', 4);
  while (s.endsWith(QLatin1Char('0'))) s.chop(1);
  if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  if (s == QLatin1String("-0")) s = QStringLiteral("0");
  return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

int TzunoSpin::ValueInt() const {
  return int(std::lround(value_));
}

void TzunoSpin::SetValue(double v) {
  Apply(v, false);
}

void TzunoSpin::Apply(double v, bool fromText) {
  if (setting_) return;
  setting_ = true;
  bool bound = false;
  if (valMin_ != 0 || valMax_ != 0) {
    if (v < valMin_) {
      v = valMin_;
      bound = true;
    } else if (v > valMax_) {
      v = valMax_;
      bound = true;
    }
  }
  value_ = v;
  if (!fromText || bound) {
    edit_->setText(Format(v));
    SetInvalid(false);
  }
  if (OnChange) OnChange(this);
  emit changed();
  setting_ = false;
}

void TzunoSpin::TextChanged(const QString& text) {
  if (setting_) return;
  if (text.isEmpty()) {
    SetInvalid(false);
    Apply(0, true);
    return;
  }
  QString t = text;
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) {
    SetInvalid(true);
    return;
  }
  SetInvalid(false);
  Apply(std::round(v * 10000.0) / 10000.0, true);
}

void TzunoSpin::SetInvalid(bool on) {
  invalid_ = on;
  QPalette pal = edit_->palette();
  pal.setColor(QPalette::Text, on ? QColor(Qt::red) : palette().color(QPalette::Text));
  edit_->setPalette(pal);
}

void TzunoSpin::changeEvent(QEvent* e) {
  if (e->type() == QEvent::PaletteChange) SetInvalid(invalid_);
  QWidget::changeEvent(e);
}

void TzunoSpin::resizeEvent(QResizeEvent*) {
  const int editWidth = std::max(0, width() - kButtonWidth);
  edit_->setGeometry(0, 0, editWidth, kHeight);
  up_->setGeometry(editWidth, 0, kButtonWidth, kHeight / 2);
  down_->setGeometry(editWidth, kHeight / 2, kButtonWidth, kHeight - kHeight / 2);
}

bool TzunoSpin::eventFilter(QObject* o, QEvent* e) {
  if (o != edit_ || e->type() != QEvent::KeyPress) return false;
  auto* k = static_cast<QKeyEvent*>(e);
  if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
    SetValue(value_ + (k->key() == Qt::Key_Up ? 1 : -1));
    return true;
  }
  const QString t = k->text();
  // Keys without a character (arrows, Delete, Home) edit as usual.
  if (t.isEmpty() || k->key() == Qt::Key_Backspace) return false;
  QChar c = t.at(0);
  if (t.size() != 1) return true;
  if (c == QLatin1Char('.')) c = QLatin1Char(',');
  const QString text = edit_->text();
  bool accept = c.isDigit() && c.unicode() < 128;
  if (c == QLatin1Char(',')) accept = canReal_ && !text.contains(QLatin1Char(','));
  if (c == QLatin1Char('-')) accept = !text.contains(QLatin1Char('-')) && edit_->cursorPosition() == 0;
  if (accept) edit_->insert(QString(c));
  return true;
}
