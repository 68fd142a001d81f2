#include "shell/ui/input_name.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/language.h"

TInputNameDialog::TInputNameDialog(const QString& caption, const QString& prompt, const QString& value,
                                   QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("fmInputFichier"));
  setWindowTitle(caption);
  prompt_ = new QLabel(prompt, this);
  prompt_->setObjectName(QStringLiteral("Label1"));
  prompt_->setWordWrap(true);
  edit_ = new QLineEdit(value, this);
  edit_->setObjectName(QStringLiteral("Edit1"));
  edit_->setMinimumWidth(260);
  edit_->setAccessibleName(prompt);
  prompt_->setBuddy(edit_);
  edit_->installEventFilter(this);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("btnOK"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(MLMessage(306), this);
  cancel_->setObjectName(QStringLiteral("btnCancel"));
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(edit_, &QLineEdit::textChanged, this, [this] {
    // The box's own text: a filtered edit has replaced the one this signal announces.
    shown_ = edit_->text();
    ok_->setEnabled(!shown_.isEmpty());
  });
  // Whatever reaches the box other than by a typed key (a paste, a drop) keeps only the characters
  // a key could have typed; the proposed name itself stays as given.
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& t) { FilterInserted(t); });
  ok_->setEnabled(!value.isEmpty());
  shown_ = value;
  // The proposed name is selected: typing replaces it.
  edit_->selectAll();
  edit_->setFocus();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  setLayout(layout);
}

QString TInputNameDialog::Value() const {
  return edit_->text();
}

bool TInputNameDialog::AcceptsKey(QChar c) {
  const char16_t u = c.unicode();
  if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) return true;
  if (u == '\b' || u == ' ' || u == '-' || u == '_') return true;
  static const char16_t accented[] = {224, 231, 232, 233, 235, 236, 239, 242, 246, 249, 252, 255};
  for (char16_t a : accented)
    if (u == a) return true;
  return false;
}

bool TInputNameDialog::eventFilter(QObject* o, QEvent* e) {
  if (o != edit_ || e->type() != QEvent::KeyPress) return false;
  auto* k = static_cast<QKeyEvent*>(e);
  if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
    if (ok_->isEnabled()) ok_->click();
    return true;
  }
  // Select all, copy, cut, paste and undo work as in any box (a paste is filtered when it lands).
  for (QKeySequence::StandardKey key : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                        QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
    if (k->matches(key)) return false;
  const QString t = k->text();
  // Keys without a character (arrows, Delete, Home) edit as usual; Escape cancels.
  if (t.isEmpty() || k->key() == Qt::Key_Escape) return false;
  for (QChar c : t)
    if (!AcceptsKey(c)) return true;
  return false;
}

void TInputNameDialog::FilterInserted(const QString& now) {
  // An edit is announced before the change of text: shown_ still holds what it replaced.
  const QString before = shown_;
  // The inserted part lies between what the text kept at its start and at its end.
  qsizetype head = 0;
  while (head < before.size() && head < now.size() && before[head] == now[head]) ++head;
  qsizetype tail = 0;
  while (tail < before.size() - head && tail < now.size() - head &&
         before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const QString inserted = now.mid(head, now.size() - head - tail);
  QString kept;
  for (QChar c : inserted)
    if (c != QLatin1Char('\b') && AcceptsKey(c)) kept += c;
  if (kept == inserted) return;
  edit_->setText(now.left(head) + kept + now.right(tail));
  // After the box has finished the edit it announced, which moves the cursor too.
  const int cursor = static_cast<int>(head + kept.size());
  QMetaObject::invokeMethod(
      this, [this, cursor] { edit_->setCursorPosition(cursor); }, Qt::QueuedConnection);
}

bool InputName(const QString& caption, const QString& prompt, QString& value, QWidget* parent) {
  TInputNameDialog dialog(caption, prompt, value, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  value = dialog.Value();
  return true;
}
