#include "shell/file_helpers.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <functional>
#include <vector>

namespace {

QString WithSlash(const QString& folder) {
  return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Walks a folder tree depth first in directory enumeration order: each entry in turn, a file to onFile,
// a subfolder (path ending with "/") to onFolder and then, with allLevels, walked before the next entry.
// A folder's entries are read before any is visited, so one directory is open at a time and deep
// trees do not run out of handles; each real folder is reached once, so links back up the tree end.
void WalkTree(const QString& folder, bool allLevels, const std::function<void(const QString&)>& onFile,
              const std::function<void(const QString&)>& onFolder) {
  if (!QFileInfo(folder).isDir()) return;
  QSet<QString> seen;
  struct Level {
    QString path;
    std::vector<std::pair<QString, bool>> entries;  // name, is a folder
    size_t next = 0;
  };
  auto open = [](const QString& path) {
    Level level{path, {}, 0};
    QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
      it.next();
      const QString name = it.fileName();
      if (!name.startsWith(QLatin1Char('.'))) level.entries.emplace_back(name, it.fileInfo().isDir());
    }
    return level;
  };
  const QString top = WithSlash(folder);
  seen.insert(QFileInfo(top).canonicalFilePath());
  std::vector<Level> stack;
  stack.push_back(open(top));
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next >= level.entries.size()) {
      stack.pop_back();
      continue;
    }
    const auto& [name, isFolder] = level.entries[level.next++];
    const QString path = level.path + name;
    if (!isFolder) {
      if (onFile) onFile(path);
      continue;
    }
    const QString real = QFileInfo(path).canonicalFilePath();
    if (real.isEmpty() || seen.contains(real)) continue;
    seen.insert(real);
    const QString sub = path + QLatin1Char('/');
    if (onFolder) onFolder(sub);
    if (allLevels) stack.push_back(open(sub));  // `level` is not used past this point
  }
}

}  // namespace

void FindFiles(QStringList& list, const QString& folder, const QString& suffixes, bool allLevels) {
  QStringList wanted;
  for (const QString& s : suffixes.split(QLatin1Char('|')))
    if (!s.isEmpty()) wanted << s;
  WalkTree(
      folder, allLevels,
      [&](const QString& path) {
        if (wanted.isEmpty()) {
          list << path;
          return;
        }
        const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        for (const QString& s : wanted)
          if (name.endsWith(s, Qt::CaseInsensitive)) list << path;
      },
      nullptr);
}

void AddFolderTree(QStringList& list, const QString& folder, bool allLevels) {
  if (folder.isEmpty()) return;
  list << WithSlash(folder);
  WalkTree(folder, allLevels, nullptr, [&](const QString& sub) { list << sub; });
}

TSplitText SplitText(const QString& separator, const QString& text) {
  TSplitText r;
  qsizetype start = 0;
  while (true) {
    const qsizetype p =
        separator.isEmpty() || r.Parts.size() == kMaxSplitParts - 1 ? -1 : text.indexOf(separator, start);
    r.Parts << (p < 0 ? text.mid(start) : text.mid(start, p - start));
    if (!r.Parts.last().isEmpty()) r.LastNonEmpty = static_cast<int>(r.Parts.size() - 1);
    if (p < 0) break;
    start = p + separator.size();
  }
  return r;
}

QString JoinText(const QStringList& parts) {
  return parts.join(QLatin1Char('|'));
}

QString ReplaceAll(const QString& text, const QString& oldText, const QString& newText) {
  if (oldText.isEmpty()) return text;
  if (newText.contains(oldText)) return QString(text).replace(oldText, newText);
  // Characters go from the input to the output one by one; the output never holds old, so the first
  // occurrence is the one that ends first. A replacement goes back to the input to be read again.
  // Some pairs grow the text without end in practice (old "ab", new "bba" doubles it per "a"): past a
  // generous budget every occurrence is replaced once instead.
  const qsizetype budget = 16 * (text.size() + newText.size()) + (1 << 20);
  std::vector<QChar> input(text.rbegin(), text.rend());
  QString out;
  out.reserve(text.size());
  qsizetype steps = 0;
  while (!input.empty()) {
    out.append(input.back());
    input.pop_back();
    if (out.size() < oldText.size() || !out.endsWith(oldText)) continue;
    out.chop(oldText.size());
    input.insert(input.end(), newText.rbegin(), newText.rend());
    if (++steps > budget || out.size() + static_cast<qsizetype>(input.size()) > budget)
      return QString(text).replace(oldText, newText);
  }
  return out;
}

QString NodePath(const TTreeNode* node) {
  QStringList names;
  for (; node; node = node->NodeParent()) names.prepend(node->NodeName());
  return names.isEmpty() ? QString() : QLatin1Char('\\') + names.join(QLatin1Char('\\'));
}

const TTreeNode* FindNode(const QList<const TTreeNode*>& topNodes, const QString& path) {
  // Only nodes whose path begins the wanted one can lead to it.
  std::vector<std::pair<const TTreeNode*, QString>> pending;
  for (qsizetype i = topNodes.size() - 1; i >= 0; --i)
    if (topNodes[i]) pending.emplace_back(topNodes[i], QLatin1Char('\\') + topNodes[i]->NodeName());
  while (!pending.empty()) {
    auto [node, nodePath] = std::move(pending.back());
    pending.pop_back();
    if (nodePath == path) return node;
    if (!path.startsWith(nodePath + QLatin1Char('\\'))) continue;
    for (qsizetype i = node->NodeCount() - 1; i >= 0; --i)
      if (const TTreeNode* child = node->NodeChild(i))
        pending.emplace_back(child, nodePath + QLatin1Char('\\') + child->NodeName());
  }
  return nullptr;
}

QString NodePath(const QModelIndex& node) {
  QStringList names;
  for (QModelIndex i = node; i.isValid(); i = i.parent()) names.prepend(i.data(Qt::DisplayRole).toString());
  return names.isEmpty() ? QString() : QLatin1Char('\\') + names.join(QLatin1Char('\\'));
}

QModelIndex FindNode(const QAbstractItemModel& model, const QString& path) {
  std::vector<std::pair<QModelIndex, QString>> pending;
  const auto pushChildren = [&](const QModelIndex& parent, const QString& parentPath) {
    for (int r = model.rowCount(parent) - 1; r >= 0; --r) {
      const QModelIndex child = model.index(r, 0, parent);
      pending.emplace_back(child, parentPath + QLatin1Char('\\') + child.data(Qt::DisplayRole).toString());
    }
  };
  pushChildren(QModelIndex(), QString());
  while (!pending.empty()) {
    auto [node, nodePath] = std::move(pending.back());
    pending.pop_back();
    if (nodePath == path) return node;
    if (path.startsWith(nodePath + QLatin1Char('\\'))) pushChildren(node, nodePath);
  }
  return QModelIndex();
}

bool FolderExists(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool MakeFolders(const QString& folder) {
  if (folder.isEmpty()) return false;
  QDir().mkpath(folder);
  return QFileInfo(folder).isDir();
}
