// The editor's left column: the tool buttons (canvas modes and the picture commands) and the two face
// previews, each a folding section of the skinned side menu.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QLabel;
class QToolButton;
class TApercuFace;
class TzunoMenu;
class TzunoMenuItem;

class TfmZunoCADMenu2 : public QWidget {
  Q_OBJECT
 public:
  explicit TfmZunoCADMenu2(QWidget* parent = nullptr);

  struct Tool {
    const char* name;
    int tag;
    const char* caption;
    const char* flag;  // null: always shown
  };
  static const std::vector<Tool>& Tools();

  // Marks the button of a tag active (its "a" picture, the others "n").
  void SetActiveTool(int tag);
  int ActiveTool() const { return active_; }
  QToolButton* ToolButton(int tag) const;
  TApercuFace* Face(int face) const { return faces_[face == 2 ? 1 : 0]; }
  QLabel* FaceLabel(int face) const { return labels_[face == 2 ? 1 : 0]; }

  QWidget *pBoutons, *pFace;
  TzunoMenuItem *itemBoutons = nullptr, *itemFace = nullptr;
  TzunoMenu* Menu() const { return menu_; }
  std::function<void(int tag)> OnTool;
  std::function<void(int face)> OnFace;

 private:
  void Glyphs();
  TzunoMenu* menu_;
  std::vector<std::pair<int, QToolButton*>> buttons_;
  std::array<TApercuFace*, 2> faces_{};
  std::array<QLabel*, 2> labels_{};
  int active_ = 1;
  bool glyphing_ = false;
  QToolButton* toggledBy_ = nullptr;
};

// The column as the window places it: as wide as the tool panel, the scroll bar and the margins.
class TzunoCADMenu2 : public QWidget {
  Q_OBJECT
 public:
  explicit TzunoCADMenu2(QWidget* parent = nullptr);
  TfmZunoCADMenu2* Form() const { return form_; }

 private:
  TfmZunoCADMenu2* form_;
};
