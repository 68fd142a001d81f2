// Small text, file and tree helpers used all over the program: listing files and folders,
// splitting and joining "|" texts, replacing, and paths of tree nodes.
#pragma once

#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

// Appends folder + name of every file whose name ends with one of the "|"-separated suffixes
// (letter case ignored; a file matching two suffixes is appended twice; no suffix at all matches
// every file). With allLevels every subfolder is walked too, depth first in directory enumeration
// order: a subfolder's files come where the subfolder comes among its folder's entries. Names
// beginning with "." are skipped; a folder reached twice through links is walked once. A missing or
// unreadable folder adds nothing. Not sorted.
void FindFiles(QStringList& list, const QString& folder, const QString& suffixes, bool allLevels);

// Appends the folder (ending with "/"), then each subfolder as folder + name + "/", followed with
// allLevels by its own subfolders. Names beginning with "." are skipped; links back up the tree
// are not followed twice.
void AddFolderTree(QStringList& list, const QString& folder, bool allLevels);

// The parts of a text between separators, at most 1001: the last one holds the rest of the text.
struct TSplitText {
  QStringList Parts;
  int LastNonEmpty = -1;  // index of the last non-empty part, -1 when all are empty
};
TSplitText SplitText(const QString& separator, const QString& text);
inline constexpr int kMaxSplitParts = 1001;

// The strings joined by "|".
QString JoinText(const QStringList& parts);

// Replaces the first occurrence of old, from the start of the text, until none is left, so that
// occurrences a replacement brings together are replaced too ("aab", "ab", "b" gives "b"). When
// new contains old that would never end: every occurrence is then replaced once, left to right.
QString ReplaceAll(const QString& text, const QString& oldText, const QString& newText);

// A tree as the helpers see it: nodes with a name, a parent and ordered children.
class TTreeNode {
 public:
  virtual ~TTreeNode() = default;
  virtual QString NodeName() const = 0;
  virtual const TTreeNode* NodeParent() const = 0;  // null for a top node
  virtual qsizetype NodeCount() const = 0;
  virtual const TTreeNode* NodeChild(qsizetype index) const = 0;
};

// "\" followed by the names from the top node down to the node, joined by "\"; "" for none.
QString NodePath(const TTreeNode* node);
// The first node, in tree order (each node before its children), whose path is the path; null when
// none.
const TTreeNode* FindNode(const QList<const TTreeNode*>& topNodes, const QString& path);

// The same for item models (tree widgets, standard item models): names are the display texts.
QString NodePath(const QModelIndex& node);
QModelIndex FindNode(const QAbstractItemModel& model, const QString& path);

bool FolderExists(const QString& folder);
// Creates the folder with every missing parent; true when it exists afterwards.
bool MakeFolders(const QString& folder);
