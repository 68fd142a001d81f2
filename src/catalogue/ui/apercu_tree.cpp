#include "catalogue/ui/apercu_tree.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

#include "catalogue/name_order.h"
#include "shell/language.h"

namespace {

QString LastName(const QString& folder) {
  QString f = QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
  return f.mid(f.lastIndexOf(QLatin1Char('/')) + 1);
}

// Subfolders not beginning with ".", sorted without regard to letter case.
QStringList Subfolders(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const QString& n) { return n.startsWith(QLatin1Char('.')); }),
              names.end());
  SortNames(names);
  return names;
}

}  // namespace

TzunoApercuTree::TzunoApercuTree(QWidget* parent) : QTreeWidget(parent) {
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
  for (const QString& name : Subfolders(folder))
    node->addChild(FolderNode(folder + QLatin1Char('/') + name, name));
}

void TzunoApercuTree::Fill(const QString& root, const QString&) {
  setUpdatesEnabled(false);
  clear();
  QList<QTreeWidgetItem*> nodes;
  for (const QString& name : Subfolders(root)) nodes << FolderNode(root + QLatin1Char('/') + name, name);
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
