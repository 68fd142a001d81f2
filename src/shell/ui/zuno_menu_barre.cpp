#include "shell/ui/zuno_menu_barre.h"

#include <QEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "shell/inifile.h"
#include "shell/skin_names.h"
#include "shell/skin_pictures.h"
#include "shell/ui/skin_ui.h"

namespace {
// A button without pictures stays usable: a plain rectangle of this size with its caption.
constexpr int kPlainButtonSide = 48;
}  // namespace

TzunoMenuBouton::TzunoMenuBouton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::TabFocus);
  UpdateCursor();
}

void TzunoMenuBouton::SetPictures(const QImage& normal, const QImage& over, const QImage& disabled) {
  normal_ = normal;
  over_image_ = over;
  // A disabled button must look it: without a picture of its own, or with one that is the normal
  // picture again (skin names collide: "Aide" + "2.BMP" is the editor's "Aide2"), it is greyed here.
  disabled_ = disabled.isNull() || disabled == normal ? DisabledSkinPicture(normal) : disabled;
  resize(sizeHint());
  update();
}

QSize TzunoMenuBouton::sizeHint() const {
  if (!normal_.isNull()) return normal_.size();
  return {kPlainButtonSide, kPlainButtonSide};
}

void TzunoMenuBouton::SetEnabled(bool on) {
  setEnabled(on);
  update();
}

const QImage& TzunoMenuBouton::ShownPicture() const {
  if (!isEnabled() && !disabled_.isNull()) return disabled_;
  if (isEnabled() && over_ && !over_image_.isNull()) return over_image_;
  return normal_;
}

void TzunoMenuBouton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QImage& shown = ShownPicture();
  if (!shown.isNull()) {
    p.drawPixmap(0, 0, skinui::KeyedPixmap(shown));
  } else {
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(palette().color(QPalette::Button));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
  }
  if (hasFocus()) {
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TzunoMenuBouton::enterEvent(QEnterEvent* e) {
  over_ = true;
  update();
  QAbstractButton::enterEvent(e);
}

void TzunoMenuBouton::leaveEvent(QEvent* e) {
  over_ = false;
  update();
  QAbstractButton::leaveEvent(e);
}

void TzunoMenuBouton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    UpdateCursor();
    update();
  }
  QAbstractButton::changeEvent(e);
}

void TzunoMenuBouton::UpdateCursor() {
  setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// ---------------------------------------------------------------------------------------------

TzunoMenuBarre::TzunoMenuBarre(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("zunoMenuBarre"));
  right_ = new QLabel(this);
  right_->setObjectName(QStringLiteral("fond_right"));
  right_->hide();
  setFixedHeight(48);
}

QSize TzunoMenuBarre::sizeHint() const {
  return {std::max(background_.width(), position_ + margeGauche_), height()};
}

QString TzunoMenuBarre::PathOf(const QString& file) const {
  if (QFileInfo(file).isAbsolute()) return file;
  return folder_ + file;
}

void TzunoMenuBarre::LoadSkin(const QString& file, const QString& section) {
  folder_ = skinui::FolderOf(file);
  const TIniFile ini(file);
  const QString fond = ini.ReadString(section, QStringLiteral("fond"), QStringLiteral("fond.bmp"));
  if (skinui::SkinFileExists(folder_, fond)) SetBackground(fond);
  const QString right =
      ini.ReadString(section, QStringLiteral("fond_right"), QStringLiteral("fond_right.bmp"));
  if (skinui::SkinFileExists(folder_, right)) SetRightPicture(right);
  margeGauche_ = ini.ReadInteger(section, QStringLiteral("margegauche"), 0);
  margeHaut_ = ini.ReadInteger(section, QStringLiteral("margehaut"), 0);
  ecart_ = ini.ReadInteger(section, QStringLiteral("Ecart"), 0);
  showText_ = ini.ReadInteger(section, QStringLiteral("ShowText"), 0) != 0;
  const QString color = ini.ReadString(section, QStringLiteral("Color"));
  if (!color.isEmpty()) color_ = skinui::ReadColorRGB(color);
  update();
}

void TzunoMenuBarre::SetBackground(const QString& file) {
  const QString path = PathOf(file);
  const QImage picture = skinui::LoadSkinPicture(skinui::FolderOf(path), QFileInfo(path).fileName());
  if (picture.isNull()) return;
  background_ = picture.convertToFormat(QImage::Format_RGB32);
  setFixedHeight(background_.height());
  // A new background carries the captions too.
  for (TzunoMenuBouton* b : buttons_) WriteCaption(b);
  PlaceRight();
  update();
}

void TzunoMenuBarre::SetRightPicture(const QString& file) {
  const QString path = PathOf(file);
  const QImage picture = skinui::LoadSkinPicture(skinui::FolderOf(path), QFileInfo(path).fileName());
  if (picture.isNull()) return;
  right_->setPixmap(QPixmap::fromImage(picture));
  right_->resize(picture.size());
  PlaceRight();
}

void TzunoMenuBarre::PlaceRight() {
  const QPixmap pm = right_->pixmap();
  if (pm.isNull()) return;
  right_->move(width() - pm.width(), 0);
  right_->setVisible(right_->x() > 600);
}

void TzunoMenuBarre::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  PlaceRight();
}

TzunoMenuBouton* TzunoMenuBarre::AddButton(const QString& caption, std::function<void()> handler,
                                           QObject* owner, const QString& name) {
  auto* b = new TzunoMenuBouton(this);
  b->setObjectName(name);
  b->setText(caption);
  const QStringList files = skin::BarButtonFiles(name);
  b->SetPictures(skinui::LoadSkinPicture(folder_, files[0]), skinui::LoadSkinPicture(folder_, files[1]),
                 skinui::LoadSkinPicture(folder_, files[2]));
  b->move(margeGauche_ + position_, margeHaut_);
  b->SetTag(int(buttons_.size()) + 1);
  if (handler) connect(b, &QAbstractButton::clicked, owner ? owner : this, [handler] { handler(); });
  buttons_.push_back(b);
  WriteCaption(b);
  position_ += b->width() + ecart_;
  b->show();
  right_->raise();
  return b;
}

void TzunoMenuBarre::WriteCaption(TzunoMenuBouton* b) {
  if (!showText_ || background_.isNull() || b->text().isEmpty()) return;
  QPainter p(&background_);
  // "Myriad" when the machine has it, else a humanist sans of the installation's fonts.
  QFont font;
  font.setFamilies({QStringLiteral("Myriad"), QStringLiteral("Myriad Pro"), QStringLiteral("Lato"),
                    QStringLiteral("Liberation Sans")});
  font.setPointSize(10);
  // A caption wider than its button's slot would run into the next one: smaller, down to 7 points.
  const int slot = b->width() + ecart_;
  while (font.pointSize() > 7 && QFontMetrics(font, &background_).horizontalAdvance(b->text()) > slot)
    font.setPointSize(font.pointSize() - 1);
  p.setFont(font);
  p.setPen(Qt::black);
  const int w = p.fontMetrics().horizontalAdvance(b->text());
  const int left = b->x() + (b->width() - w) / 2;
  p.drawText(QRect(left, background_.height() - 18, w + 1, 18), Qt::AlignLeft | Qt::AlignTop, b->text());
  update();
}

TzunoMenuBouton* TzunoMenuBarre::FindButton(const QString& name) const {
  for (TzunoMenuBouton* b : buttons_)
    if (b->objectName().compare(name, Qt::CaseInsensitive) == 0) return b;
  return nullptr;
}

void TzunoMenuBarre::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color_.isValid() ? color_ : palette().color(QPalette::Window));
  if (!background_.isNull()) p.drawImage(0, 0, background_);
}
