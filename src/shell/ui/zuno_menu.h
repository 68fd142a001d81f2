// The folding side menu: a scrolling column of items, each a title bar painted from the skin above
// a panel of controls; a click on the title bar folds or unfolds the item.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QScrollArea>
#include <QString>
#include <vector>

class TzunoMenu;

// The values of a side-menu section of the skin file.
struct TzunoMenuSkin {
  QColor ColorFond{0xF0, 0xF0, 0xF0};
  QColor ColorItem{0xF0, 0xF0, 0xF0};
  QColor ColorText{0, 0, 0};
  int Marge = 12;
  int Trait = 1;
  int Haut = 20;
  int CrantagePanel = 0;
  int leftText = 10, topText = 5;
  QString iconPanelName;
  int iconPanelLeft = 0, iconPanelTop = 0;
  bool FondAlignLeft = false;
  QString bmpFond = QStringLiteral("xxx.yyy");
  int FontSize = 10;
};

// The title bar of an item as one pressable control over the painted picture (pointer, click,
// keyboard and assistive technologies).
class TzunoMenuTitle : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TzunoMenuTitle(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override {}
};

class TzunoMenuItem : public QWidget {
  Q_OBJECT
 public:
  TzunoMenuItem(TzunoMenu* menu, QWidget* panel, const QString& title, bool unfolded);

  QWidget* Panel() const { return panel_; }
  QString Title() const { return title_; }
  void SetTitle(const QString& text);
  int ContentHeight() const { return contentHeight_; }
  void SetContentHeight(int h) { contentHeight_ = h; }
  // Requested state: laid out by the next TzunoMenu::Layout.
  bool Folded() const { return folded_; }
  void SetFolded(bool folded) { folded_ = folded; }
  // State the item shows now.
  bool ShownFolded() const { return shownFolded_; }
  TzunoMenuTitle* TitleBar() const { return titleBar_; }
  // The full-size picture the title bar is painted on (built when the size or title changes).
  const QImage& Picture();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  friend class TzunoMenu;
  void Place(int left, int top, bool shownFolded);
  void BuildPicture();

  TzunoMenu* menu_;
  QWidget* holder_;  // hidden while folded, so folded controls take no focus
  QWidget* panel_;
  TzunoMenuTitle* titleBar_;
  QString title_;
  int contentHeight_ = 0;
  bool folded_ = false, shownFolded_ = false, shownVisible_ = false;
  QImage picture_;
};

class TzunoMenu : public QScrollArea {
  Q_OBJECT
 public:
  explicit TzunoMenu(QWidget* parent = nullptr);

  // Reads a side-menu section; the skin folder is the file's folder. A section without "ColorFond"
  // is read from section "Menu" instead.
  void LoadSkin(const QString& file, const QString& section);
  const TzunoMenuSkin& Skin() const { return skin_; }
  const QString& SkinFolder() const { return folder_; }
  const QImage& Background() const { return background_; }

  // Wraps the panel into a new item at the end.
  TzunoMenuItem* AddItem(QWidget* panel, const QString& title, bool unfolded);
  TzunoMenuItem* FindItem(QWidget* panel) const;
  const std::vector<TzunoMenuItem*>& Items() const { return items_; }
  // Stacks the visible controls of the item's panel from top 4, 4 pixels apart.
  void LayoutItem(TzunoMenuItem* item);
  // Places every item; does nothing unless forced or an item's visibility or folding changed.
  void Layout(bool force);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  friend class TzunoMenuItem;
  void FitContent();
  QWidget* content_;
  TzunoMenuSkin skin_;
  QString folder_;
  QImage background_;
  std::vector<TzunoMenuItem*> items_;
};
