#include "shell/ui/zuno_image_btn.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/skin_names.h"
#include "shell/ui/skin_ui.h"

TzunoImageBtn::TzunoImageBtn(QWidget* parent) : QAbstractButton(parent) {
  // Checkable so that assistive technologies see the state; the state itself is ours.
  setCheckable(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

void TzunoImageBtn::SetBase(TzunoImageBase* base) {
  base_ = base;
  update();
}

void TzunoImageBtn::SetFileName(const QString& name) {
  fileName_ = name;
  updateGeometry();
  update();
}

QString TzunoImageBtn::PictureFile() const {
  if (!base_ || fileName_.isEmpty()) return {};
  QString dir = base_->path();
  if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir + skin::ToggleButtonFile(fileName_, GetActif());
}

QSize TzunoImageBtn::sizeHint() const {
  if (base_ && !fileName_.isEmpty()) {
    const QImage pic = skinui::LoadSkinPicture(base_->path(), skin::ToggleButtonFile(fileName_, GetActif()));
    if (!pic.isNull()) return pic.size();
  }
  return {64, 64};
}

void TzunoImageBtn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QImage pic;
  if (base_ && !fileName_.isEmpty()) {
    const QString file = skin::ToggleButtonFile(fileName_, GetActif());
    pic = skinui::LoadSkinPicture(base_->path(), file);
    if (pic.isNull()) skinui::LogMissingPicture(QStringLiteral("debug_Btn.log"), file);
  }
  if (!pic.isNull()) {
    p.drawImage(0, 0, pic);
  } else {
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(GetActif() ? palette().color(QPalette::Highlight) : palette().color(QPalette::Button));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (hasFocus()) {
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void TzunoImageBtn::SetEtat(TzunoEtat e) {
  etat_ = e;
  syncing_ = true;
  setChecked(e == eActif);
  syncing_ = false;
  update();
}

void TzunoImageBtn::SetActif(bool on) {
  SetEtat(on ? eActif : eInactif);
}

void TzunoImageBtn::Invert() {
  SetEtat(GetActif() ? eInactif : eActif);
  if (groupIndex_ == 0 || !GetActif() || !parentWidget()) return;
  for (TzunoImageBtn* other : parentWidget()->findChildren<TzunoImageBtn*>(Qt::FindDirectChildrenOnly))
    if (other != this && other->groupIndex_ == groupIndex_) other->SetEtat(eInactif);
}

void TzunoImageBtn::mousePressEvent(QMouseEvent* e) {
  pressSeen_ = false;
  if (e->button() == Qt::LeftButton) {
    pressSeen_ = true;
    if (e->modifiers() == Qt::NoModifier) Invert();
  }
  QAbstractButton::mousePressEvent(e);
}

void TzunoImageBtn::mouseReleaseEvent(QMouseEvent* e) {
  QAbstractButton::mouseReleaseEvent(e);
  pressSeen_ = false;
}

void TzunoImageBtn::nextCheckState() {
  // A click by mouse was decided at the press; keyboard and assistive clicks toggle here.
  if (pressSeen_) {
    pressSeen_ = false;
    return;
  }
  Invert();
}

void TzunoImageBtn::checkStateSet() {
  if (syncing_) return;
  etat_ = isChecked() ? eActif : eInactif;
  update();
}

bool TzunoImageBtn::event(QEvent* e) {
  // A picture-only button is named by its hint when it has no caption.
  if (e->type() == QEvent::ToolTipChange && text().isEmpty()) setAccessibleName(toolTip());
  return QAbstractButton::event(e);
}
