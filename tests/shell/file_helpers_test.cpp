#include "shell/file_helpers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/qt_printers.h"
#include "render/fit_rect.h"

namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// Paths relative to the root, for readable expectations.
QStringList Relative(const QStringList& paths, const QString& root) {
  QStringList out;
  for (const QString& p : paths) out << (p.startsWith(root) ? p.mid(root.size()) : QStringLiteral("!") + p);
  return out;
}

struct TreeFixture : ::testing::Test {
  QTemporaryDir tmp;
  QString root;
  TreeFixture() { root = tmp.path() + QStringLiteral("/"); }
  QStringList Find(const QString& suffixes, bool all, const QString& folder = QString()) {
    QStringList list;
    FindFiles(list, folder.isEmpty() ? root : folder, suffixes, all);
    QStringList rel = Relative(list, root);
    rel.sort();
    return rel;
  }
};

}  // namespace

TEST_F(TreeFixture, FindFilesMatchesSuffixesWithoutRegardToCase) {
  for (const char* f :
       {"a.1.mdl", "a.11.mdl", "B.MDL", "c.csv", "d.def", "e.mdl.bak", ".hidden.mdl", "noext"})
    Touch(root + QLatin1String(f));
  Touch(root + QStringLiteral(".git/x.mdl"));
  Touch(root + QStringLiteral("sub/deep/f.mdl"));
  Touch(root + QStringLiteral("sub/g.Csv"));
  QDir().mkpath(root + QStringLiteral("folder.mdl"));  // a folder is never a file

  const struct {
    const char* suffixes;
    bool all;
    QStringList expected;
  } cases[] = {
      {".1.mdl", false, {"a.1.mdl"}},
      {".mdl", false, {"B.MDL", "a.1.mdl", "a.11.mdl"}},
      {".def|.csv", true, {"c.csv", "d.def", "sub/g.Csv"}},
      {".mdl", true, {"B.MDL", "a.1.mdl", "a.11.mdl", "sub/deep/f.mdl"}},
      // Both suffixes match: listed twice.
      {".mdl|l", false, {"B.MDL", "B.MDL", "a.1.mdl", "a.1.mdl", "a.11.mdl", "a.11.mdl"}},
      {"", false, {"B.MDL", "a.1.mdl", "a.11.mdl", "c.csv", "d.def", "e.mdl.bak", "noext"}},
      // A stray separator does not turn the filter into "everything".
      {".csv|", true, {"c.csv", "sub/g.Csv"}},
  };
  for (const auto& c : cases) {
    QStringList expected = c.expected;
    expected.sort();
    EXPECT_EQ(Find(QString::fromLatin1(c.suffixes), c.all), expected) << c.suffixes << " all=" << c.all;
  }
}

// Depth first in the order the folders enumerate their entries: a subfolder's files come where the
// subfolder comes among its folder's entries, not after the folder's own files.
TEST_F(TreeFixture, FindFilesWalksDepthFirstInEnumerationOrder) {
  for (int i = 0; i < 6; ++i) {
    Touch(root + QStringLiteral("f%1.mdl").arg(i));
    Touch(root + QStringLiteral("d%1/g.mdl").arg(i));
    Touch(root + QStringLiteral("d%1/e%1/h.mdl").arg(i));
    Touch(root + QStringLiteral("d%1/k.mdl").arg(i));
  }
  // The same walk, written with the standard library's directory iterator.
  std::function<void(const std::filesystem::path&, QStringList&)> walk = [&](const std::filesystem::path& dir,
                                                                             QStringList& out) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const QString path = QString::fromStdString(entry.path().string());
      if (entry.is_directory())
        walk(entry.path(), out);
      else
        out << path;
    }
  };
  QStringList expected{QStringLiteral("kept")};
  walk(std::filesystem::path(tmp.path().toStdString()), expected);
  // The fixture means something only when some folder comes before some file (whole-name matches).
  const QStringList top = Relative(expected.mid(1), root);
  const qsizetype firstFolder = top.indexOf(QRegularExpression(QStringLiteral("d.*")));
  ASSERT_GE(firstFolder, 0);
  ASSERT_LT(firstFolder, top.lastIndexOf(QRegularExpression(QStringLiteral("f.*"))))
      << "every file enumerated before every folder: " << top.join(',').toStdString();

  QStringList list{QStringLiteral("kept")};
  FindFiles(list, tmp.path(), QStringLiteral(".mdl"), true);  // no final "/" given
  EXPECT_EQ(list, expected);

  QStringList none;
  FindFiles(none, root + QStringLiteral("missing"), QString(), true);
  FindFiles(none, root + QStringLiteral("f0.mdl"), QString(), true);  // a file, not a folder
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(TreeFixture, LinksBackUpTheTreeAreWalkedOnce) {
  Touch(root + QStringLiteral("a/one.mdl"));
  Touch(root + QStringLiteral("b/two.mdl"));
  ASSERT_TRUE(QFile::link(root, root + QStringLiteral("a/up")));             // loop to the root
  ASSERT_TRUE(QFile::link(root + "a", root + QStringLiteral("a/self")));     // loop to itself
  ASSERT_TRUE(QFile::link(root + "b", root + QStringLiteral("b-link")));     // a second way in
  ASSERT_TRUE(QFile::link(root + "gone", root + QStringLiteral("broken")));  // leads nowhere
  EXPECT_EQ(Find(".mdl", true), (QStringList{"a/one.mdl", "b/two.mdl"}));

  QStringList folders;
  AddFolderTree(folders, root, true);
  EXPECT_EQ(folders.size(), 3) << folders.join(',').toStdString();  // root, a/, and b/ or b-link/
  EXPECT_EQ(folders.first(), root);
  if (geteuid() != 0) {  // the superuser reads every folder
    Touch(root + QStringLiteral("locked/three.mdl"));
    QFile::setPermissions(root + QStringLiteral("locked"), QFileDevice::Permissions());
    EXPECT_EQ(Find(".mdl", true), (QStringList{"a/one.mdl", "b/two.mdl"}));
    QFile::setPermissions(root + QStringLiteral("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
}

TEST_F(TreeFixture, AddFolderTreeListsEachFolderBeforeItsSubfolders) {
  for (const char* d : {"a/a1/a11", "a/a2", "b", ".hidden/h", "a/.cache"})
    QDir().mkpath(root + QLatin1String(d));
  Touch(root + QStringLiteral("file.txt"));

  QStringList one{QStringLiteral("kept")};
  AddFolderTree(one, tmp.path(), false);
  ASSERT_EQ(one.size(), 4);
  EXPECT_EQ(one[1], root);
  QStringList direct = Relative(one.mid(2), root);
  direct.sort();
  EXPECT_EQ(direct, (QStringList{"a/", "b/"}));

  QStringList all;
  AddFolderTree(all, root, true);
  const QStringList rel = Relative(all, root);
  ASSERT_EQ(rel.size(), 6) << rel.join(',').toStdString();
  EXPECT_EQ(rel[0], "");
  const qsizetype a = rel.indexOf("a/"), a1 = rel.indexOf("a/a1/"), a11 = rel.indexOf("a/a1/a11/"),
                  a2 = rel.indexOf("a/a2/"), b = rel.indexOf("b/");
  ASSERT_TRUE(a > 0 && a1 > 0 && a11 > 0 && a2 > 0 && b > 0) << rel.join(',').toStdString();
  EXPECT_EQ(a11, a1 + 1);  // a folder's own subfolders follow it at once
  EXPECT_TRUE(a < a1 && a < a2);
  EXPECT_TRUE(b < a || b > std::max(a11, a2));  // b is not inside a's subtree
}

TEST(SplitText, PartsBetweenSeparatorsUpTo1001) {
  const struct {
    const char* sep;
    const char* text;
    QStringList parts;
    int last;
  } cases[] = {
      {"|", "a|b|c", {"a", "b", "c"}, 2},
      {"|", "a||c|", {"a", "", "c", ""}, 2},
      {"|", "", {""}, -1},
      {"|", "||", {"", "", ""}, -1},
      {";", "no separator", {"no separator"}, 0},
      {"::", "x::y:z::", {"x", "y:z", ""}, 1},
      {"", "a|b", {"a|b"}, 0},
  };
  for (const auto& c : cases) {
    const TSplitText s = SplitText(QString::fromLatin1(c.sep), QString::fromLatin1(c.text));
    EXPECT_EQ(s.Parts, c.parts) << c.text;
    EXPECT_EQ(s.LastNonEmpty, c.last) << c.text;
  }

  QStringList many;
  for (int i = 0; i < 1200; ++i) many << QString::number(i);
  const TSplitText s = SplitText(QStringLiteral("|"), JoinText(many));
  ASSERT_EQ(s.Parts.size(), 1001);
  EXPECT_EQ(s.Parts[999], "999");
  EXPECT_EQ(s.Parts[1000], JoinText(many.mid(1000)));  // the last part holds the rest
  EXPECT_EQ(s.LastNonEmpty, 1000);
  EXPECT_EQ(JoinText(SplitText(QStringLiteral("|"), QStringLiteral("a||b|")).Parts), "a||b|");
}

TEST(ReplaceAll, ReplacesUntilNoneIsLeft) {
  const struct {
    const char *text, *oldText, *newText, *expected;
  } cases[] = {
      {"a-b-c", "-", "+", "a+b+c"},
      {"aab", "ab", "b", "b"},               // each replacement makes the next occurrence
      {"a\\\\\\\\b", "\\\\", "\\", "a\\b"},  // doubled separators collapse completely
      {"xyz", "q", "r", "xyz"},
      {"abc", "", "z", "abc"},
      {"", "a", "b", ""},
      {"aXa", "a", "aa", "aaXaa"},  // new holds old: replaced once each, no endless loop
      {"abab", "ab", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceAll(QString::fromLatin1(c.text), QString::fromLatin1(c.oldText),
                         QString::fromLatin1(c.newText)),
              QString::fromLatin1(c.expected))
        << c.text << " " << c.oldText << " " << c.newText;

  // "ab" -> "bba" doubles the text for every leading "a": it must still end, and soon.
  const QString blowUp = QString(40, QLatin1Char('a')) + QLatin1Char('b');
  EXPECT_EQ(ReplaceAll(blowUp, QStringLiteral("ab"), QStringLiteral("bba")),
            QString(blowUp).replace(QStringLiteral("ab"), QStringLiteral("bba")));

  // Many occurrences in a long text stay linear.
  const QString big = QStringLiteral("ab,").repeated(200000);
  EXPECT_EQ(ReplaceAll(big, QStringLiteral("ab,"), QStringLiteral("c")),
            QStringLiteral("c").repeated(200000));
}

namespace {

class Node : public TTreeNode {
 public:
  Node(const QString& name, Node* parent = nullptr) : name_(name), parent_(parent) {}
  Node* Add(const QString& name) {
    children_.push_back(std::make_unique<Node>(name, this));
    return children_.back().get();
  }
  QString NodeName() const override { return name_; }
  const TTreeNode* NodeParent() const override { return parent_; }
  qsizetype NodeCount() const override { return static_cast<qsizetype>(children_.size()); }
  const TTreeNode* NodeChild(qsizetype i) const override { return children_[static_cast<size_t>(i)].get(); }

 private:
  QString name_;
  Node* parent_;
  std::vector<std::unique_ptr<Node>> children_;
};

}  // namespace

TEST(TreePaths, NodePathAndFindNode) {
  Node cd(QStringLiteral("CD")), cards(QStringLiteral("Cartes"));
  Node* labels = cd.Add(QStringLiteral("Labels"));
  Node* round = labels->Add(QStringLiteral("Rond"));
  Node* slash = cd.Add(QStringLiteral("Labels\\Rond"));  // a name holding the separator
  Node* second = cards.Add(QStringLiteral("Rond"));
  const QList<const TTreeNode*> tops{&cd, &cards};

  EXPECT_EQ(NodePath(&cd), "\\CD");
  EXPECT_EQ(NodePath(round), "\\CD\\Labels\\Rond");
  EXPECT_EQ(NodePath(static_cast<const TTreeNode*>(nullptr)), "");
  // The first node in tree order wins when two have the same path.
  EXPECT_EQ(FindNode(tops, QStringLiteral("\\CD\\Labels\\Rond")), round);
  EXPECT_EQ(NodePath(slash), NodePath(round));
  EXPECT_EQ(FindNode(tops, QStringLiteral("\\Cartes\\Rond")), second);
  EXPECT_EQ(FindNode(tops, QStringLiteral("\\Cartes")), &cards);
  for (const char* missing : {"", "\\", "CD", "\\cd", "\\CD\\", "\\CD\\Labels\\Rond\\x", "\\Cartes\\Ron"})
    EXPECT_EQ(FindNode(tops, QString::fromLatin1(missing)), nullptr) << missing;

  // The same on an item model.
  QStandardItemModel model;
  auto* m1 = new QStandardItem(QStringLiteral("CD"));
  auto* m2 = new QStandardItem(QStringLiteral("Labels"));
  auto* m3 = new QStandardItem(QStringLiteral("Rond"));
  m2->appendRow(m3);
  m1->appendRow(m2);
  model.appendRow(m1);
  model.appendRow(new QStandardItem(QStringLiteral("CD")));  // a later node with the same path
  EXPECT_EQ(NodePath(m3->index()), "\\CD\\Labels\\Rond");
  EXPECT_EQ(FindNode(model, QStringLiteral("\\CD\\Labels\\Rond")), m3->index());
  EXPECT_EQ(FindNode(model, QStringLiteral("\\CD")), m1->index());
  EXPECT_FALSE(FindNode(model, QStringLiteral("\\CD\\Rond")).isValid());
}

TEST_F(TreeFixture, MakeFoldersCreatesEveryMissingParent) {
  const QString deep = root + QStringLiteral("a/b/c/");
  EXPECT_FALSE(FolderExists(deep));
  EXPECT_TRUE(MakeFolders(deep));
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_TRUE(MakeFolders(deep));  // already there
  Touch(root + QStringLiteral("file"));
  EXPECT_FALSE(FolderExists(root + QStringLiteral("file")));
  EXPECT_FALSE(MakeFolders(root + QStringLiteral("file/sub")));
  EXPECT_FALSE(MakeFolders(QString()));
  EXPECT_FALSE(FolderExists(QString()));
}

TEST(FitRect, CentresThePictureAspectInTheBox) {
  const struct {
    long long W, H, w, h;
    QRect expected;
  } cases[] = {
      {120, 120, 400, 100, QRect(0, 45, 120, 30)},
      {120, 120, 100, 400, QRect(45, 0, 30, 120)},
      {200, 100, 200, 100, QRect(0, 0, 200, 100)},
      {10, 10, 5, 2, QRect(0, 3, 10, 4)},  // 10 / 2.5 = 4
      {7, 10, 2, 1, QRect(0, 3, 7, 4)},    // 3.5 rounds to the even 4
      {9, 10, 2, 1, QRect(0, 3, 9, 4)},    // 4.5 rounds to the even 4
  };
  for (const auto& c : cases) {
    QRect r(-1, -1, 0, 0);
    EXPECT_TRUE(FitRect(c.W, c.H, c.w, c.h, r));
    EXPECT_EQ(r, c.expected) << c.W << "x" << c.H << " " << c.w << "x" << c.h;
  }
  QRect kept(1, 2, 3, 4);
  EXPECT_FALSE(FitRect(120, 0, 400, 100, kept));
  EXPECT_FALSE(FitRect(120, 120, 400, 0, kept));
  EXPECT_EQ(kept, QRect(1, 2, 3, 4));
}
