// The clipart chooser: a folder tree beside a grid painted from each folder's mosaic, so that a
// folder of cliparts opens from one picture instead of drawing every document.
#pragma once

#include <QDialog>
#include <memory>

class TzunoApercuTree;
class TzunoApercuModele;
class TzunoCADMdl;
class QSplitter;

class TfmCliparts : public QDialog {
  Q_OBJECT
 public:
  // root: the cliparts folder; cacheFolder: where the mosaics go, one ".bmp" per folder.
  TfmCliparts(QWidget* owner, const QString& root, const QString& cacheFolder, const QString& extension);
  ~TfmCliparts() override;

  TzunoApercuTree* Tree() const { return tree_; }
  TzunoApercuModele* Grid() const { return grid_; }
  // Shows the folder whose path below the root is `path` ("a\b"), as selecting it in the tree does.
  void ShowFolder(const QString& path);
  // The chosen template's path relative to the root; "" until a cell is clicked.
  const QString& Choice() const { return choice_; }
  // The mosaic file of a folder path below the root: cacheFolder + the path with "_" for "\" + ".bmp".
  QString MosaicFile(const QString& path) const;

 private:
  QString root_, cache_;
  TzunoApercuTree* tree_;
  TzunoApercuModele* grid_;
  QSplitter* splitter_;
  std::unique_ptr<TzunoCADMdl> model_;
  QString choice_;
};

// Runs the chooser modally; the chosen template's path relative to root, or "".
QString ChoisirClipart(QWidget* owner, const QString& root, const QString& cacheFolder,
                       const QString& extension);
