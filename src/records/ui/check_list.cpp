#include "records/ui/check_list.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QVBoxLayout>
#include <functional>

namespace {

// Makes the entry current when it takes the focus (click, keyboard or an assistive tool).
class TFocusWatch : public QObject {
 public:
  TFocusWatch(QObject* parent, std::function<void()> onFocus)
      : QObject(parent), onFocus_(std::move(onFocus)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    // Not when the window itself comes forward: that would move the selection by itself.
    if (e->type() == QEvent::FocusIn) {
      const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
      if (why == Qt::MouseFocusReason || why == Qt::TabFocusReason || why == Qt::BacktabFocusReason ||
          why == Qt::ShortcutFocusReason || why == Qt::OtherFocusReason)
        onFocus_();
    }
    return false;
  }

 private:
  std::function<void()> onFocus_;
};

}  // namespace

TCheckList::TCheckList(QWidget* parent) : QScrollArea(parent) {
  inner_ = new QWidget;
  inner_->setBackgroundRole(QPalette::Base);
  inner_->setAutoFillBackground(true);
  column_ = new QVBoxLayout(inner_);
  column_->setContentsMargins(4, 4, 4, 4);
  column_->setSpacing(2);
  column_->addStretch(1);
  setWidget(inner_);
  setWidgetResizable(true);
  setBackgroundRole(QPalette::Base);
}

void TCheckList::SetItems(const QStringList& texts) {
  for (QCheckBox* b : boxes_) delete b;
  boxes_.clear();
  current_ = -1;
  for (int i = 0; i < texts.size(); ++i) {
    auto* box = new QCheckBox(texts[i], inner_);
    box->setObjectName(QStringLiteral("lbFiches_%1").arg(i));
    box->setAccessibleName(texts[i]);
    column_->insertWidget(i, box);
    boxes_.push_back(box);
    connect(box, &QCheckBox::toggled, this, [this, i] { emit checkChanged(i); });
    box->installEventFilter(new TFocusWatch(box, [this, i] { setCurrentRow(i); }));
    connect(box, &QCheckBox::pressed, this, [this, i] { setCurrentRow(i); });
  }
}

QCheckBox* TCheckList::Box(int row) const {
  return row >= 0 && row < count() ? boxes_[size_t(row)] : nullptr;
}

QString TCheckList::text(int row) const {
  return Box(row) ? Box(row)->text() : QString();
}

void TCheckList::setText(int row, const QString& text) {
  if (!Box(row)) return;
  Box(row)->setText(text);
  Box(row)->setAccessibleName(text);
}

bool TCheckList::isChecked(int row) const {
  return Box(row) && Box(row)->isChecked();
}

void TCheckList::setCheckedQuietly(int row, bool on) {
  if (!Box(row)) return;
  const bool blocked = Box(row)->blockSignals(true);
  Box(row)->setChecked(on);
  Box(row)->blockSignals(blocked);
}

void TCheckList::setChecked(int row, bool on) {
  if (Box(row)) Box(row)->setChecked(on);
}

void TCheckList::setCurrentRow(int row) {
  if (row == current_ || !Box(row)) return;
  current_ = row;
  Highlight();
  ensureWidgetVisible(Box(row));
  emit currentRowChanged(row);
}

void TCheckList::Highlight() {
  // Style sheets rather than palettes: the program's skin may style the window.
  for (int i = 0; i < count(); ++i)
    boxes_[size_t(i)]->setStyleSheet(
        i == current_ ? QStringLiteral(
                            "QCheckBox { background: palette(highlight); color: palette(highlighted-text); }")
                      : QStringLiteral("QCheckBox { background: palette(base); color: palette(text); }"));
}
