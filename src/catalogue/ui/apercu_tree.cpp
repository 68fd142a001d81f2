#include "catalogue/ui/apercu_tree.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyle>

#include "catalogue/name_order.h"
#include "catalogue/native_names.h"
#include "shell/language.h"

namespace {

QString LastName(const QString& folder) {
  QString f = QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
  return f.mid(f.lastIndexOf(QLatin1Char('/')) + 1);
}

// Subfolders not beginning with ".", sorted without regard to letter case: each name and its path
// (an alias for a name that is not valid UTF-8).
QList<QPair<QString, QString>> Subfolders(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const QString& n) { return n.startsWith(QLatin1Char('.')); }),
              names.end());
  QHash<QString, QString> paths;
  for (const QString& n : names) paths.insert(n, folder + QLatin1Char('/') + n);
  for (const QString& alias : UndecodableFolders(folder)) {
    const QString n = QFileInfo(alias).fileName();
    if (!paths.contains(n)) names << n;
    paths.insert(n, alias);
  }
  SortNames(names);
  QList<QPair<QString, QString>> found;
  for (const QString& n : names) found.append({n, paths.value(n)});
  return found;
}

// One folder of the tree for assistive tools: a tree item that is the table's cell of its row.
class TTreeNodeAccessible : public QAccessibleInterface,
                            public QAccessibleTableCellInterface,
                            public QAccessibleActionInterface {
 public:
  TTreeNodeAccessible(TzunoApercuTree* tree, QTreeWidgetItem* item)
      : tree_(tree), index_(tree->IndexOfNode(item)) {}

  QTreeWidgetItem* Item() const { return isValid() ? tree_->NodeOfIndex(index_) : nullptr; }
  bool isValid() const override { return tree_ && index_.isValid(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return tree_ ? tree_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(tree_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    const QTreeWidgetItem* item = Item();
    return item && t == QAccessible::Name ? item->text(0) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = tree_->visualRect(index_);
    return QRect(tree_->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::TreeItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    const QTreeWidgetItem* item = Item();
    if (!item) {
      s.invalid = true;
      return s;
    }
    s.selectable = s.focusable = true;
    s.selected = item->isSelected();
    s.focused = tree_->hasFocus() && tree_->currentItem() == item;
    s.expandable = item->childCount() > 0;
    s.expanded = s.expandable && item->isExpanded();
    s.collapsed = s.expandable && !item->isExpanded();
    if (!tree_->viewport()->rect().intersects(tree_->visualRect(index_))) s.offscreen = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  int columnExtent() const override { return 1; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  int columnIndex() const override { return 0; }
  int rowExtent() const override { return 1; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int rowIndex() const override { return tree_ ? int(tree_->ShownNodes().indexOf(Item())) : -1; }
  bool isSelected() const override { return Item() && Item()->isSelected(); }
  QAccessibleInterface* table() const override { return parent(); }

  QStringList actionNames() const override {
    QStringList names{pressAction()};
    if (Item() && Item()->childCount() > 0) names << toggleAction();
    return names;
  }
  void doAction(const QString& name) override {
    QTreeWidgetItem* item = Item();
    if (!item) return;
    if (name == pressAction()) tree_->setCurrentItem(item);
    if (name == toggleAction()) item->setExpanded(!item->isExpanded());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<TzunoApercuTree> tree_;
  QPersistentModelIndex index_;
};

// The tree for assistive tools: one row per folder shown, no header row (the header is hidden).
class TTreeAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TTreeAccessible(TzunoApercuTree* tree) : QAccessibleWidget(tree, QAccessible::Tree) {}
  ~TTreeAccessible() override { Forget(); }

  TzunoApercuTree* Tree() const { return static_cast<TzunoApercuTree*>(widget()); }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  int childCount() const override { return int(Tree()->ShownNodes().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QTreeWidgetItem*> rows = Tree()->ShownNodes();
    return index >= 0 && index < rows.size() ? Node(rows[index]) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (auto it = ids_.constBegin(); it != ids_.constEnd(); ++it)
      if (QAccessible::accessibleInterface(*it) == child)
        return int(Tree()->ShownNodes().indexOf(static_cast<const TTreeNodeAccessible*>(child)->Item()));
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    QTreeWidgetItem* item = Tree()->itemAt(Tree()->viewport()->mapFromGlobal(QPoint(x, y)));
    return item ? Node(item) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    QTreeWidgetItem* item = Tree()->currentItem();
    return item && Tree()->hasFocus() ? Node(item) : nullptr;
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return column == 0 ? child(row) : nullptr;
  }
  int selectedCellCount() const override { return int(Tree()->selectedItems().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (QTreeWidgetItem* item : Tree()->selectedItems()) cells << Node(item);
    return cells;
  }
  QString columnDescription(int) const override { return {}; }
  int columnCount() const override { return 1; }
  QString rowDescription(int) const override { return {}; }
  int rowCount() const override { return childCount(); }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return selectedCellCount(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    QList<int> rows;
    const QList<QTreeWidgetItem*> shown = Tree()->ShownNodes();
    for (QTreeWidgetItem* item : Tree()->selectedItems())
      if (const qsizetype row = shown.indexOf(item); row >= 0) rows << int(row);
    return rows;
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override {
    const QList<QTreeWidgetItem*> shown = Tree()->ShownNodes();
    return row >= 0 && row < shown.size() && shown[row]->isSelected();
  }
  bool selectRow(int row) override {
    const QList<QTreeWidgetItem*> shown = Tree()->ShownNodes();
    if (row < 0 || row >= shown.size()) return false;
    Tree()->setCurrentItem(shown[row]);
    return true;
  }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int row) override {
    if (!isRowSelected(row)) return false;
    Tree()->clearSelection();
    return true;
  }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override { Forget(); }

 private:
  QAccessibleInterface* Node(QTreeWidgetItem* item) const {
    auto it = ids_.constFind(item);
    if (it != ids_.constEnd()) {
      auto* known = static_cast<TTreeNodeAccessible*>(QAccessible::accessibleInterface(*it));
      if (known && known->Item() == item) return known;
      QAccessible::deleteAccessibleInterface(*it);
      ids_.remove(item);
    }
    auto* node = new TTreeNodeAccessible(Tree(), item);
    ids_.insert(item, QAccessible::registerAccessibleInterface(node));
    return node;
  }
  void Forget() {
    for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    ids_.clear();
  }

  mutable QHash<const QTreeWidgetItem*, QAccessible::Id> ids_;
};

QAccessibleInterface* TreeFactory(const QString&, QObject* object) {
  if (auto* tree = qobject_cast<TzunoApercuTree*>(object)) return new TTreeAccessible(tree);
  return nullptr;
}

}  // namespace

TzunoApercuTree::TzunoApercuTree(QWidget* parent) : QTreeWidget(parent) {
  static const bool installed = (QAccessible::installFactory(TreeFactory), true);
  (void)installed;
  setHeaderHidden(true);
  setColumnCount(1);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The selection stays visible while another control has the focus.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
  const QString name = MLText(QStringLiteral("ArbreDossiers"));
  setAccessibleName(name.isEmpty() ? QStringLiteral("Dossiers") : name);
}

QTreeWidgetItem* TzunoApercuTree::FolderNode(const QString& folder, const QString& name) const {
  auto* node = new QTreeWidgetItem(QStringList{name});
  node->setData(0, Qt::UserRole, folder);
  node->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  AddChildren(node, folder);
  return node;
}

void TzunoApercuTree::AddChildren(QTreeWidgetItem* node, const QString& folder) const {
  for (const auto& [name, path] : Subfolders(folder)) node->addChild(FolderNode(path, name));
}

void TzunoApercuTree::Fill(const QString& root, const QString&) {
  setUpdatesEnabled(false);
  clear();
  QList<QTreeWidgetItem*> nodes;
  for (const auto& [name, path] : Subfolders(root)) nodes << FolderNode(path, name);
  addTopLevelItems(nodes);
  setUpdatesEnabled(true);
}

void TzunoApercuTree::AddRoot(const QString& folder, const QString&) {
  setUpdatesEnabled(false);
  addTopLevelItem(FolderNode(folder, LastName(folder)));
  setUpdatesEnabled(true);
}

void TzunoApercuTree::RefreshRoot(const QString& folder, const QString& extension) {
  // The node of that very folder, else the first of its name.
  QTreeWidgetItem* old = FindFolder(folder);
  const QString name = LastName(folder);
  for (QTreeWidgetItemIterator it(this); *it && !old; ++it)
    if ((*it)->text(0) == name) old = *it;
  delete old;
  AddRoot(folder, extension);
}

QString TzunoApercuTree::NodePath(const QTreeWidgetItem* item) {
  QStringList names;
  for (; item; item = item->parent()) names.prepend(item->text(0));
  return names.join(QLatin1Char('\\'));
}

QString TzunoApercuTree::NodeFolder(const QTreeWidgetItem* item) {
  return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* TzunoApercuTree::FindFolder(const QString& folder) const {
  const QString wanted = QDir::cleanPath(folder);
  for (QTreeWidgetItemIterator it(const_cast<TzunoApercuTree*>(this)); *it; ++it)
    if (!NodeFolder(*it).isEmpty() && QDir::cleanPath(NodeFolder(*it)) == wanted) return *it;
  return nullptr;
}

QString TzunoApercuTree::GetPathSelect() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : NodePath(selected.first());
}

void TzunoApercuTree::SetPathSelect(const QString& path) {
  for (QTreeWidgetItemIterator it(this); *it; ++it)
    if (QLatin1Char('\\') + NodePath(*it) == path) {
      setCurrentItem(*it);
      scrollToItem(*it);
      return;
    }
  clearSelection();
}

QList<QTreeWidgetItem*> TzunoApercuTree::ShownNodes() const {
  QList<QTreeWidgetItem*> shown;
  for (QTreeWidgetItemIterator it(const_cast<TzunoApercuTree*>(this)); *it; ++it) {
    bool open = !(*it)->isHidden();
    for (const QTreeWidgetItem* p = (*it)->parent(); p && open; p = p->parent()) open = p->isExpanded();
    if (open) shown << *it;
  }
  return shown;
}

void TzunoApercuTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // The item view's own event counts the hidden header as a row: this one does not.
  QAbstractItemView::currentChanged(current, previous);
  if (!QAccessible::isActive() || !current.isValid() || !hasFocus()) return;
  const qsizetype row = ShownNodes().indexOf(itemFromIndex(current));
  if (row < 0) return;
  QAccessibleEvent event(this, QAccessible::Focus);
  event.setChild(int(row));
  QAccessible::updateAccessibility(&event);
}

void TzunoApercuTree::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QAbstractItemView::selectionChanged(selected, deselected);
  if (!QAccessible::isActive()) return;
  const QList<QTreeWidgetItem*> shown = ShownNodes();
  for (const QModelIndex& index : selected.indexes()) {
    const qsizetype row = shown.indexOf(itemFromIndex(index));
    if (row < 0) continue;
    QAccessibleEvent event(this, QAccessible::SelectionAdd);
    event.setChild(int(row));
    QAccessible::updateAccessibility(&event);
  }
}
