// The folder tree of the catalogue and the clipart chooser: folder nodes only, read-only, the
// selection kept visible while another control has the focus.
#pragma once

#include <QTreeWidget>

class TzunoApercuTree : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TzunoApercuTree(QWidget* parent = nullptr);

  // Clears the tree, then adds the subfolders of root at the top level. The extension takes no part
  // in what is shown.
  void Fill(const QString& root, const QString& extension = QString());
  // Appends a top node named after the folder's last name, its subfolders below it.
  void AddRoot(const QString& folder, const QString& extension = QString());
  // Deletes the first node (at any depth) named after the folder's last name, then AddRoot.
  void RefreshRoot(const QString& folder, const QString& extension = QString());
  // Names from the top node down to the selection joined by "\"; "" without a selection.
  QString GetPathSelect() const;
  // Selects the node whose path, written with a leading "\", equals `path`; none when none does.
  void SetPathSelect(const QString& path);
  // A node's path as GetPathSelect gives it.
  static QString NodePath(const QTreeWidgetItem* item);
  // The folder a node shows, as found on disk ("" for a node that is no folder). Names may hold "\"
  // or any other character: the folder is kept, never rebuilt from the names.
  static QString NodeFolder(const QTreeWidgetItem* item);
  // The node showing `folder`, or none.
  QTreeWidgetItem* FindFolder(const QString& folder) const;

  // The nodes a reader of the screen meets, in order: those whose parents are all expanded.
  QList<QTreeWidgetItem*> ShownNodes() const;
  QModelIndex IndexOfNode(const QTreeWidgetItem* item) const { return indexFromItem(item); }
  QTreeWidgetItem* NodeOfIndex(const QModelIndex& index) const { return itemFromIndex(index); }

 protected:
  // Assistive tools hear of the focus and the selection by row, the folders being the only rows.
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  QTreeWidgetItem* FolderNode(const QString& folder, const QString& name) const;
  void AddChildren(QTreeWidgetItem* node, const QString& folder) const;
};
