// The catalogue window: the program's main window, alive from start-up to exit. A skinned button bar
// on top, the folding side menu with the category tree on the left, and the grid of the chosen
// category's template previews.
#pragma once

#include <QMainWindow>
#include <QTimer>

class TzunoApercuModele;
class TzunoApercuTree;
class TzunoMenu;
class TzunoMenuBarre;
class TzunoPreviewProgress;
class QTreeWidgetItem;

class TfmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;

  // Whether the window may close now: without Debug the user confirms (message 108).
  bool FormCloseQuery();

  // Bar handlers.
  void About();
  void SiteWeb();
  void Aide();
  void BtnQuitter();

  // Shows the templates of a folder in the grid, making missing previews in the background.
  void AfficheDossier(const QString& folder);

  TzunoMenuBarre* Bar() const { return bar_; }
  TzunoMenu* Menu() const { return menu_; }
  TzunoApercuTree* Tree() const { return tree_; }
  TzunoApercuModele* Grid() const { return grid_; }

 signals:
  // The window closed; the program's loop ends.
  void Closed();
  // The window was painted for the first time.
  void FirstPaint();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void CategorieChange(QTreeWidgetItem* node);

  TzunoMenuBarre* bar_ = nullptr;
  TzunoMenu* menu_ = nullptr;
  TzunoApercuTree* tree_ = nullptr;
  TzunoApercuModele* grid_ = nullptr;
  TzunoPreviewProgress* progress_ = nullptr;
  QTimer minutes_;
  bool firstShow_ = true;
  bool painted_ = false;
  bool changing_ = false;
};
