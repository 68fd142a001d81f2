#include "shell/ui/zuno_menu.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "shell/inifile.h"
#include "shell/skin_names.h"
#include "shell/ui/layout_ops.h"
#include "shell/ui/skin_ui.h"

namespace {

// The scrolled surface: the menu colour and the background picture behind the items.
class TzunoMenuContent : public QWidget {
 public:
  explicit TzunoMenuContent(TzunoMenu* menu) : QWidget(nullptr), menu_(menu) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), menu_->Skin().ColorFond);
    const QImage& bg = menu_->Background();
    if (bg.isNull()) return;
    // The picture covers the visible menu; it sits against the right edge when asked.
    const int x = menu_->Skin().FondAlignLeft ? menu_->viewport()->width() - bg.width() : 0;
    p.drawImage(x, 0, bg);
  }

 private:
  TzunoMenu* menu_;
};

// Four-connected fill of the region of the seed's colour.
void FloodFill(QImage& img, QPoint seed, QColor color) {
  if (!img.rect().contains(seed)) return;
  const QRgb from = img.pixel(seed), to = color.rgb();
  if (from == to) return;
  std::vector<QPoint> stack{seed};
  while (!stack.empty()) {
    QPoint pt = stack.back();
    stack.pop_back();
    int x = pt.x();
    const int y = pt.y();
    if (img.pixel(x, y) != from) continue;
    while (x > 0 && img.pixel(x - 1, y) == from) --x;
    bool up = false, down = false;
    for (; x < img.width() && img.pixel(x, y) == from; ++x) {
      img.setPixel(x, y, to);
      if (y > 0) {
        const bool f = img.pixel(x, y - 1) == from;
        if (f && !up) stack.emplace_back(x, y - 1);
        up = f;
      }
      if (y + 1 < img.height()) {
        const bool f = img.pixel(x, y + 1) == from;
        if (f && !down) stack.emplace_back(x, y + 1);
        down = f;
      }
    }
  }
}

}  // namespace

TzunoMenuTitle::TzunoMenuTitle(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

// ---------------------------------------------------------------------------------------------

TzunoMenuItem::TzunoMenuItem(TzunoMenu* menu, QWidget* panel, const QString& title, bool unfolded)
    : QWidget(menu->content_), menu_(menu), panel_(panel), title_(title) {
  setObjectName(QStringLiteral("item_") + panel->objectName());
  holder_ = new QWidget(this);
  panel->setParent(holder_);
  panel->move(0, 0);
  // Content panels are white and flat.
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, Qt::white);
  panel->setPalette(pal);
  if (auto* frame = qobject_cast<QFrame*>(panel)) frame->setFrameShape(QFrame::NoFrame);
  contentHeight_ = panel->height();
  folded_ = !unfolded;
  shownFolded_ = folded_;
  titleBar_ = new TzunoMenuTitle(this);
  titleBar_->setText(title);
  titleBar_->setObjectName(QStringLiteral("title_") + panel->objectName());
  connect(titleBar_, &QAbstractButton::clicked, this, [this] {
    folded_ = !folded_;
    menu_->Layout(false);
  });
}

void TzunoMenuItem::SetTitle(const QString& text) {
  title_ = text;
  titleBar_->setText(text);
  picture_ = QImage();
  update();
}

void TzunoMenuItem::Place(int left, int top, bool shownFolded) {
  const TzunoMenuSkin& s = menu_->Skin();
  shownFolded_ = shownFolded;
  const int w = panel_->width() + 2 * s.Trait;
  const int h = shownFolded ? s.Haut + 2 * s.Trait : s.Haut + contentHeight_ + 3 * s.Trait;
  holder_->setGeometry(s.Trait, s.Haut + 2 * s.Trait, panel_->width(), contentHeight_);
  panel_->resize(panel_->width(), contentHeight_);
  holder_->setVisible(!shownFolded);
  titleBar_->setGeometry(0, 0, w, s.Haut + 2 * s.Trait);
  setGeometry(left, top, w, h);
}

void TzunoMenuItem::resizeEvent(QResizeEvent*) {
  if (picture_.size() != size()) picture_ = QImage();
}

const QImage& TzunoMenuItem::Picture() {
  if (picture_.isNull() || picture_.size() != size()) BuildPicture();
  return picture_;
}

void TzunoMenuItem::BuildPicture() {
  const TzunoMenuSkin& s = menu_->Skin();
  const QString& folder = menu_->SkinFolder();
  const int w = std::max(1, width()), h = std::max(1, height());
  picture_ = QImage(w, h, QImage::Format_RGB32);
  const int b = s.CrantagePanel;
  if (b > 0) {
    // Notched border: a zigzag of amplitude b and period 2b along the four edges, filled inside.
    picture_.fill(s.ColorFond);
    const QRgb c = s.ColorItem.rgb();
    auto set = [&](int x, int y) {
      if (x >= 0 && y >= 0 && x < w && y < h) picture_.setPixel(x, y, c);
    };
    for (int t = 0; t < w; ++t) {
      const int d = std::abs(t % (2 * b) - b);
      set(t, d);
      set(t, h - 1 - d);
    }
    for (int t = 0; t < h; ++t) {
      const int d = std::abs(t % (2 * b) - b);
      set(d, t);
      set(w - 1 - d, t);
    }
    FloodFill(picture_, QPoint(10, 10), s.ColorItem);
  } else {
    picture_.fill(s.ColorItem);
  }
  QPainter p(&picture_);
  QImage icon = skinui::LoadSkinPicture(folder, skin::MenuIconFile(title_));
  if (icon.isNull()) icon = skinui::LoadSkinPicture(folder, skin::DefaultMenuIconFile());
  if (icon.isNull()) icon = skinui::LoadSkinPicture(folder, s.iconPanelName);
  if (!icon.isNull()) p.drawPixmap(s.iconPanelLeft, s.iconPanelTop, skinui::KeyedPixmap(icon));
  QFont font = QApplication::font();
  font.setBold(true);
  font.setPointSize(std::max(1, s.FontSize));
  p.setFont(font);
  p.setPen(s.ColorText);
  p.drawText(QRect(s.leftText, s.topText, std::max(1, w - s.leftText), h), Qt::AlignLeft | Qt::AlignTop,
             title_);
  const bool unfolded = !shownFolded_;
  const QImage arrow = skinui::LoadSkinPicture(folder, skin::ArrowFile(unfolded));
  if (!arrow.isNull()) {
    p.drawPixmap(w - 20, 6, skinui::KeyedPixmap(arrow));
  } else {
    // Two chevrons through x = w-20, w-16, w-12 at heights 15 and 10, 2 pixels of rise.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 2));
    for (int y : {15, 10}) {
      const int tip = unfolded ? y - 2 : y + 2;
      const QPoint pts[3] = {{w - 20, y}, {w - 16, tip}, {w - 12, y}};
      p.drawPolyline(pts, 3);
    }
  }
}

void TzunoMenuItem::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Picture());
}

// ---------------------------------------------------------------------------------------------

TzunoMenu::TzunoMenu(QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWidgetResizable(false);
  content_ = new TzunoMenuContent(this);
  setWidget(content_);
  FitContent();
}

void TzunoMenu::LoadSkin(const QString& file, const QString& section) {
  folder_ = skinui::FolderOf(file);
  const TIniFile ini(file);
  const QString sec =
      ini.ValueExists(section, QStringLiteral("ColorFond")) ? section : QStringLiteral("Menu");
  auto str = [&](const char* key, const QString& def) {
    return ini.ReadString(sec, QString::fromLatin1(key), def);
  };
  auto num = [&](const char* key, int def) { return ini.ReadInteger(sec, QString::fromLatin1(key), def); };
  TzunoMenuSkin s;
  s.ColorFond = skinui::ReadColorRGB(str("ColorFond", QStringLiteral("F0F0F0")));
  s.ColorItem = skinui::ReadColorRGB(str("ColorItem", QStringLiteral("F0F0F0")));
  s.ColorText = skinui::ReadColorRGB(str("ColorText", QStringLiteral("000000")));
  s.Marge = num("Marge", 12);
  s.Trait = num("Trait", 1);
  s.Haut = num("Haut", 20);
  s.CrantagePanel = num("CrantagePanel", 0);
  s.leftText = num("leftText", 10);
  s.topText = num("topText", 5);
  s.iconPanelName = str("iconPanelName", QString());
  s.iconPanelLeft = num("iconPanelLeft", 0);
  s.iconPanelTop = num("iconPanelTop", 0);
  s.FondAlignLeft = num("FondAlignLeft", 0) != 0;
  s.bmpFond = str("bmpFond", QStringLiteral("xxx.yyy"));
  bool ok = false;
  const int size =
      skinui::ReadSkinKey(ini, sec, QStringLiteral("FontSize"), QStringLiteral("defaut")).toInt(&ok);
  s.FontSize = ok ? size : 10;
  skin_ = s;
  background_ = skinui::LoadSkinPicture(folder_, s.bmpFond);
  for (TzunoMenuItem* item : items_) item->picture_ = QImage();
  Layout(true);
  content_->update();
}

TzunoMenuItem* TzunoMenu::AddItem(QWidget* panel, const QString& title, bool unfolded) {
  auto* item = new TzunoMenuItem(this, panel, title, unfolded);
  items_.push_back(item);
  LabelGlyphs(panel, folder_);
  item->show();
  return item;
}

TzunoMenuItem* TzunoMenu::FindItem(QWidget* panel) const {
  for (TzunoMenuItem* item : items_)
    if (item->panel_ == panel) return item;
  return nullptr;
}

void TzunoMenu::LayoutItem(TzunoMenuItem* item) {
  if (!item) return;
  int top = 4;
  for (QObject* o : item->panel_->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || w->isHidden()) continue;
    w->move(w->x(), top);
    top += w->height() + 4;
  }
  item->contentHeight_ = top;
}

void TzunoMenu::Layout(bool force) {
  bool changed = force;
  for (TzunoMenuItem* item : items_)
    if (item->panel_->isHidden() == item->shownVisible_ || item->folded_ != item->shownFolded_)
      changed = true;
  if (!changed) return;
  verticalScrollBar()->setValue(0);
  int bottom = 0;
  for (TzunoMenuItem* item : items_) {
    const bool visible = !item->panel_->isHidden();
    item->shownVisible_ = visible;
    if (!visible) {
      item->hide();
      continue;
    }
    item->Place(skin_.Marge, skin_.Marge + bottom, item->folded_);
    item->picture_ = QImage();
    item->show();
    item->update();
    bottom = item->y() + item->height();
  }
  FitContent();
}

void TzunoMenu::FitContent() {
  int right = 0, bottom = 0;
  for (TzunoMenuItem* item : items_) {
    if (item->isHidden()) continue;
    right = std::max(right, item->x() + item->width());
    bottom = std::max(bottom, item->y() + item->height() + skin_.Marge);
  }
  content_->resize(std::max(viewport()->width(), right), std::max(viewport()->height(), bottom));
  content_->update();
}

void TzunoMenu::resizeEvent(QResizeEvent* e) {
  QScrollArea::resizeEvent(e);
  FitContent();
  Layout(false);
}
