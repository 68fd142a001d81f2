#include "shell/ui/zuno_menu_label.h"

#include <QEnterEvent>
#include <QPainter>

#include "shell/ui/skin_ui.h"

TzunoMenuLabel::TzunoMenuLabel(QWidget* parent, const QString& caption) : QAbstractButton(parent) {
  setText(caption);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
  resize(100, 16);
}

void TzunoMenuLabel::SetGlyph(const QImage& glyph) {
  glyph_ = glyph;
  update();
}

void TzunoMenuLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  int textLeft = 0;
  if (!glyph_.isNull()) {
    p.drawPixmap(0, (height() - glyph_.height()) / 2, skinui::KeyedPixmap(glyph_));
    textLeft = glyph_.width() + 4;
  }
  QFont f = font();
  f.setUnderline(over_);
  p.setFont(f);
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  const QRect r(textLeft, 0, std::max(0, width() - textLeft), height());
  p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
  if (hasFocus()) {
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TzunoMenuLabel::enterEvent(QEnterEvent* e) {
  over_ = true;
  update();
  QAbstractButton::enterEvent(e);
}

void TzunoMenuLabel::leaveEvent(QEvent* e) {
  over_ = false;
  update();
  QAbstractButton::leaveEvent(e);
}
