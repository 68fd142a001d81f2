#include <gtest/gtest.h>

#include <QAccessible>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "catalogue/ui/apercu_tree.h"
#include "catalogue/ui/thumb.h"
#include "render/codecs.h"

namespace {

QStringList Children(const QTreeWidgetItem* node) {
  QStringList names;
  for (int i = 0; i < node->childCount(); ++i) names << node->child(i)->text(0);
  return names;
}
QStringList TopLevel(const QTreeWidget& tree) {
  QStringList names;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) names << tree.topLevelItem(i)->text(0);
  return names;
}

TEST(ApercuTree, ShowsSortedFoldersAndSelectsByPath) {
  QTemporaryDir dir;
  const QString root = dir.filePath("Modeles");
  for (const char* f : {"b", "A", ".cache", "c/z", "c/Y", "c/.git", "A/x", "c/Fleurs", "c/Fêtes"})
    QDir().mkpath(root + "/" + QString::fromUtf8(f));
  QFile(root + "/f.mdl").open(QIODevice::WriteOnly);
  TzunoApercuTree tree;
  tree.Fill(root, ".mdl");
  EXPECT_EQ(TopLevel(tree), QStringList({"A", "b", "c"}));
  EXPECT_EQ(Children(tree.topLevelItem(2)), QStringList({"Fêtes", "Fleurs", "Y", "z"}));
  EXPECT_EQ(Children(tree.topLevelItem(0)), QStringList({"x"}));

  EXPECT_EQ(tree.GetPathSelect(), QString());
  tree.SetPathSelect("\\c\\z");
  EXPECT_EQ(tree.GetPathSelect(), QStringLiteral("c\\z"));
  tree.SetPathSelect("c\\z");  // without the leading "\": matches nothing
  EXPECT_EQ(tree.GetPathSelect(), QString());

  // Another root appended below, then refreshed after a folder appeared in it.
  const QString docs = dir.filePath("Documents");
  QDir().mkpath(docs + "/Cartes");
  tree.AddRoot(docs + "/", ".mdl");
  EXPECT_EQ(TopLevel(tree), QStringList({"A", "b", "c", "Documents"}));
  EXPECT_EQ(Children(tree.topLevelItem(3)), QStringList({"Cartes"}));
  QDir().mkpath(docs + "/Albums");
  tree.RefreshRoot(docs, ".mdl");
  EXPECT_EQ(TopLevel(tree), QStringList({"A", "b", "c", "Documents"}));
  EXPECT_EQ(Children(tree.topLevelItem(3)), QStringList({"Albums", "Cartes"}));
  tree.SetPathSelect("\\Documents\\Albums");
  EXPECT_EQ(tree.GetPathSelect(), QStringLiteral("Documents\\Albums"));
  // Filling again starts afresh.
  tree.Fill(root + "/c");
  EXPECT_EQ(TopLevel(tree), QStringList({"Fêtes", "Fleurs", "Y", "z"}));
}

// Screen readers see the folders as rows, the first row being the first folder: the hidden header is
// no row of its own. Selecting a row through the table chooses that folder.
TEST(ApercuTree, AssistiveToolsSeeOneRowPerFolderAndNoHeader) {
  QTemporaryDir dir;
  const QString root = dir.filePath("Modeles");
  for (const char* f : {"A/x", "b"}) QDir().mkpath(root + "/" + f);
  TzunoApercuTree tree;
  tree.Fill(root);
  tree.expandAll();
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&tree);
  ASSERT_TRUE(a);
  QStringList rows;
  for (int i = 0; i < a->childCount(); ++i) rows << a->child(i)->text(QAccessible::Name);
  EXPECT_EQ(rows, QStringList({"A", "x", "b"}));
  QAccessibleTableInterface* table = a->tableInterface();
  ASSERT_TRUE(table);
  EXPECT_EQ(table->rowCount(), 3);
  ASSERT_TRUE(a->child(2)->tableCellInterface());
  EXPECT_EQ(a->child(2)->tableCellInterface()->rowIndex(), 2);
  table->selectRow(a->child(1)->tableCellInterface()->rowIndex());
  EXPECT_EQ(tree.GetPathSelect(), QStringLiteral("A\\x"));
}

QImage Solid(QSize size, QColor colour) {
  QImage img(size, QImage::Format_RGB888);
  img.fill(colour);
  return img;
}

// The one-pixel frame around a thumbnail's picture, as one colour or invalid when mixed.
QColor Frame(const TThumbImage* t) {
  const QImage& p = t->Picture();
  const QColor c = p.pixelColor(0, 0);
  for (int x = 0; x < p.width(); ++x)
    if (p.pixelColor(x, 0) != c || p.pixelColor(x, p.height() - 1) != c) return {};
  for (int y = 0; y < p.height(); ++y)
    if (p.pixelColor(0, y) != c || p.pixelColor(p.width() - 1, y) != c) return {};
  return c;
}

TEST(Thumb, LaysOutAndSelectsThumbnails) {
  TzunoThumb strip;
  strip.resize(150, 200);
  strip.ColorSelection = QColor(0, 0, 255);
  ASSERT_EQ(strip.Columns(), 2);  // (150 - 10) div 64
  for (int i = 0; i < 3; ++i)
    strip.AddBitmap(Solid({64, 64}, Qt::gray), QStringLiteral("v%1").arg(i), "hint");
  ASSERT_EQ(strip.Count(), 3);
  EXPECT_EQ(strip.Thumb(0)->geometry(), QRect(0, 0, 66, 66));
  EXPECT_EQ(strip.Thumb(1)->geometry(), QRect(70, 0, 66, 66));
  EXPECT_EQ(strip.Thumb(2)->geometry(), QRect(0, 70, 66, 66));
  EXPECT_EQ(strip.Values(), QStringList({"v0", "v1", "v2"}));

  QList<std::pair<int, QString>> clicks;
  strip.OnThumbClick = [&](TzunoThumb*, int i, const QString& v) { clicks << std::make_pair(i, v); };
  strip.show();
  QTest::mouseClick(strip.Thumb(1), Qt::LeftButton);
  ASSERT_EQ(clicks.size(), 1);
  EXPECT_EQ(clicks[0], std::make_pair(1, QStringLiteral("v1")));
  EXPECT_EQ(strip.Value(), QStringLiteral("v1"));
  EXPECT_EQ(Frame(strip.Thumb(1)), QColor(0, 0, 255));
  EXPECT_EQ(Frame(strip.Thumb(0)), QColor(Qt::white));
  EXPECT_EQ(strip.Thumb(1)->Picture().pixelColor(1, 1), QColor(Qt::gray));  // the picture is untouched
  // SelectValue leaves the others as they are; a click unselects them.
  strip.SelectValue("v2");
  EXPECT_EQ(Frame(strip.Thumb(2)), QColor(0, 0, 255));
  EXPECT_EQ(Frame(strip.Thumb(1)), QColor(0, 0, 255));
  EXPECT_EQ(strip.Value(), QStringLiteral("v2"));
  QTest::mouseClick(strip.Thumb(0), Qt::LeftButton);
  EXPECT_EQ(Frame(strip.Thumb(0)), QColor(0, 0, 255));
  EXPECT_EQ(Frame(strip.Thumb(1)), QColor(Qt::white));
  EXPECT_EQ(Frame(strip.Thumb(2)), QColor(Qt::white));

  // Assistive technologies find each thumbnail by its hint and press it.
  QAccessibleInterface* thumb = QAccessible::queryAccessibleInterface(strip.Thumb(2));
  ASSERT_NE(thumb, nullptr);
  EXPECT_EQ(thumb->text(QAccessible::Name), QStringLiteral("hint"));
  EXPECT_EQ(thumb->role(), QAccessible::Button);
  ASSERT_NE(thumb->actionInterface(), nullptr);
  thumb->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks.last(), std::make_pair(2, QStringLiteral("v2")));

  strip.Clear();
  EXPECT_EQ(strip.Count(), 0);
  EXPECT_TRUE(strip.Values().isEmpty());
  strip.AddBitmap(Solid({64, 64}, Qt::gray), "again", "");
  EXPECT_EQ(strip.Thumb(0)->geometry().topLeft(), QPoint(0, 0));
}

TEST(Thumb, PicturesKeepOrLoseTheirAspect) {
  QTemporaryDir dir;
  const QString wide = dir.filePath("wide.png");
  Solid({200, 50}, Qt::red).save(wide, "PNG");
  QFile(dir.filePath("bad.png")).open(QIODevice::WriteOnly);
  TzunoThumb strip;
  strip.resize(300, 200);
  strip.AddImage(dir.filePath("bad.png"), "bad", true, "");
  strip.AddImage(dir.filePath("missing.jpg"), "missing", true, "");
  EXPECT_EQ(strip.Count(), 0);
  strip.AddImage(wide, "kept", true, "");
  strip.AddImage(wide, "stretched", false, "");
  ASSERT_EQ(strip.Count(), 2);
  // Kept: a 64 x 16 band in the middle; stretched: all of it. (Picture coordinates are 1 off.)
  const QImage& kept = strip.Thumb(0)->Picture();
  EXPECT_EQ(kept.pixelColor(33, 1 + 32), QColor(Qt::red));
  EXPECT_EQ(kept.pixelColor(33, 1 + 10), QColor(Qt::white));
  EXPECT_EQ(strip.Thumb(1)->Picture().pixelColor(33, 1 + 10), QColor(Qt::red));
}

TEST(Thumb, MetafileFolderGivesSilhouettes) {
  const QString folder = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Formes/Etoiles");
  const QStringList files =
      QDir(folder).entryList({"*.emf", "*.wmf"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  ASSERT_FALSE(files.isEmpty());
  TzunoThumb strip;
  strip.resize(300, 200);
  strip.ThumbWidth = strip.ThumbHeight = 48;
  strip.AddMetafileFolder(folder);
  ASSERT_EQ(strip.Values(), files);
  for (int i = 0; i < strip.Count(); ++i) {
    const QImage& p = strip.Thumb(i)->Picture();
    int black = 0, other = 0;
    for (int y = 1; y <= 48; ++y)
      for (int x = 1; x <= 48; ++x) {
        const QColor c = p.pixelColor(x, y);
        if (c == QColor(Qt::black))
          ++black;
        else if (c != QColor(Qt::white))
          ++other;
      }
    EXPECT_EQ(other, 0) << files[i].toStdString();
    EXPECT_GT(black, 48 * 48 / 20) << files[i].toStdString();
    EXPECT_LT(black, 48 * 48) << files[i].toStdString();
    // Named for assistive technologies by the file's base name (silhouettes have no hint).
    EXPECT_EQ(strip.Thumb(i)->AccessibleName(), QFileInfo(files[i]).completeBaseName());
  }
}

TEST(Thumb, WheelScrollsEightPixelsPerNotch) {
  TzunoThumb strip;
  strip.resize(150, 100);
  for (int i = 0; i < 20; ++i) strip.AddBitmap(Solid({64, 64}, Qt::gray), QString::number(i), "");
  strip.show();
  ASSERT_GT(strip.verticalScrollBar()->maximum(), 24);
  QWheelEvent down(QPointF(10, 10), strip.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -240),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(strip.viewport(), &down);
  EXPECT_EQ(strip.verticalScrollBar()->value(), 16);
  QWheelEvent up(QPointF(10, 10), strip.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(strip.viewport(), &up);
  EXPECT_EQ(strip.verticalScrollBar()->value(), 8);
}

}  // namespace
