#include "catalogue/ui/apercu_modele.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "catalogue/cache_files.h"
#include "catalogue/fixtures.h"
#include "model/document.h"
#include "render/picture_io.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

QString Solid(const QTemporaryDir& dir, const QString& name, QColor colour, QSize size = QSize(100, 100)) {
  QImage img(size, QImage::Format_RGB888);
  img.fill(colour);
  const QString path = dir.filePath(name);
  img.save(path, "PNG");
  return path;
}

bool Near(QColor a, QColor b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

struct FileStamp {
  ino_t inode = 0;
  timespec mtime{};
  bool operator==(const FileStamp& o) const {
    return inode == o.inode && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
  }
};
FileStamp Stamp(const QString& path) {
  struct stat st {};
  FileStamp s;
  if (::stat(QFile::encodeName(path).constData(), &st) == 0) s = {st.st_ino, st.st_mtim};
  return s;
}

// A grid wide enough for three 100-pixel columns.
TEST(ApercuModele, FailedTemplatesAreFramedInRed) {
  QTemporaryDir dir;
  const QString a = Solid(dir, "a.png", Qt::blue), b = Solid(dir, "b.png", Qt::green);
  const QString c = dir.filePath("c.jpg");  // a failed template keeps no preview
  TzunoApercuModele grid;
  grid.resize(340, 300);
  grid.Fichiers = {a, b, c};
  grid.Erreurs = {b, c};
  grid.Redraw();
  const QImage& img = grid.Image();
  ASSERT_EQ(img.size(), QSize(300, 100));
  const QColor red(255, 0, 0), panel = grid.palette().color(QPalette::Window);
  // b's frame: three pixels centred on its outline, the picture inside untouched.
  for (int x : {99, 100, 101, 198, 199, 200}) EXPECT_EQ(img.pixelColor(x, 50), red) << x;
  for (int y : {0, 1, 98, 99}) EXPECT_EQ(img.pixelColor(150, y), red) << y;
  EXPECT_EQ(img.pixelColor(102, 50), QColor(Qt::green));
  EXPECT_EQ(img.pixelColor(150, 50), QColor(Qt::green));
  // a is not framed.
  EXPECT_EQ(img.pixelColor(50, 50), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(50, 1), QColor(Qt::blue));
  // c has no picture, but its cell is marked.
  EXPECT_EQ(img.pixelColor(250, 1), red);
  EXPECT_EQ(img.pixelColor(250, 50), panel);
}

TEST(ApercuModele, CellsFollowTheWidthAndTheMargin) {
  QTemporaryDir dir;
  const QString f = Solid(dir, "f.png", Qt::white, QSize(164, 164));
  const struct {
    int width, cell, margin, columns;
  } cases[] = {{150, 164, 0, 1}, {40, 100, 0, 1},  {350, 100, 10, 3},
               {340, 100, 0, 3}, {339, 100, 0, 3}, {319, 100, 0, 2}};
  for (const auto& c : cases) {
    TzunoApercuModele grid;
    grid.resize(c.width, 400);
    grid.ApercuLarge = grid.ApercuHaut = c.cell;
    grid.Marge = c.margin;
    EXPECT_EQ(grid.Columns(), c.columns) << c.width << " " << c.cell;
  }
  // 164-pixel cells in a grid 150 pixels wide: one column, cells stacked, the picture never pushed
  // off the left edge.
  TzunoApercuModele grid;
  grid.resize(150, 300);
  grid.Fichiers = {f, f, f};
  grid.Redraw();
  EXPECT_EQ(grid.ApercuLarge, 164);
  EXPECT_EQ(grid.Image().size(), QSize(164, 3 * 164));
  EXPECT_EQ(grid.CellRect(1), QRect(0, 164, 164, 164));
  EXPECT_EQ(grid.ImageLeft(), 0);
  const struct {
    int x, y, cell;
  } hits[] = {{0, 0, 0},     {163, 163, 0}, {10, 164, 1}, {163, 491, 2},
              {164, 10, -1}, {10, 492, -1}, {-1, 5, -1}};
  for (const auto& h : hits) EXPECT_EQ(grid.CellAt(h.x, h.y), h.cell) << h.x << "," << h.y;
  // The margin insets the picture but does not shift the cells.
  grid.resize(370, 300);
  grid.Marge = 10;
  grid.AutoTaille = false;
  grid.ApercuLarge = grid.ApercuHaut = 100;
  EXPECT_EQ(grid.Columns(), 3);
  EXPECT_EQ(grid.CellRect(4), QRect(100, 100, 100, 100));
  // Centred in the panel, less the scroll bar's room.
  grid.Fichiers = {Solid(dir, "s.png", Qt::red)};
  grid.Redraw();
  EXPECT_EQ(grid.ImageLeft(), (370 - 300 - 20) / 2);
  EXPECT_EQ(grid.Image().pixelColor(5, 5), grid.palette().color(QPalette::Window));
  EXPECT_EQ(grid.Image().pixelColor(10, 10), QColor(Qt::red));
}

// Previews are drawn as they are when they fit; one larger than its cell (cells of a fixed size) is
// reduced into it instead of covering its neighbours.
TEST(ApercuModele, LargerPicturesStayInTheirCells) {
  QTemporaryDir dir;
  const QString big = Solid(dir, "big.png", Qt::red, QSize(200, 100)),
                small = Solid(dir, "small.png", Qt::blue, {40, 40});
  TzunoApercuModele grid;
  grid.resize(340, 300);
  grid.AutoTaille = false;
  grid.Fichiers = {big, small};
  grid.Redraw();
  const QImage& img = grid.Image();
  const QColor panel = grid.palette().color(QPalette::Window);
  EXPECT_EQ(img.pixelColor(50, 10), panel);
  EXPECT_EQ(img.pixelColor(50, 50), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(99, 50), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(100, 50), panel);  // the next cell: its own picture only
  EXPECT_EQ(img.pixelColor(139, 39), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(141, 41), panel);  // a smaller one is not enlarged
}

TEST(ApercuModele, ClicksAndAssistiveTechnologiesReachTheCells) {
  QTemporaryDir dir;
  const QString a = Solid(dir, "Etoile.png", Qt::blue), b = Solid(dir, "Lune.png", Qt::green);
  TzunoApercuModele grid;
  grid.resize(340, 300);
  grid.Fichiers = {a, b};
  grid.Redraw();
  grid.show();
  QList<std::pair<int, QString>> clicks;
  grid.OnClickApercu = [&](TzunoApercuModele*, int i, const QString& file) {
    clicks << std::make_pair(i, file);
  };

  QWidget* picture = grid.widget();
  const QPoint inB(grid.ImageLeft() + 150, 40), outside(grid.ImageLeft() + 250, 40);
  for (QPoint at : {inB, outside}) {
    QMouseEvent press(QEvent::MouseButtonPress, at, picture->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &press);
  }
  ASSERT_EQ(clicks.size(), 1);
  EXPECT_EQ(clicks[0], std::make_pair(1, b));

  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picture);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->text(QAccessible::Name).isEmpty());
  ASSERT_EQ(list->childCount(), 2);
  QAccessibleInterface* cell = list->child(0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Etoile"));
  EXPECT_EQ(cell->rect().size(), QSize(100, 100));
  EXPECT_EQ(list->indexOfChild(cell), 0);
  ASSERT_NE(cell->actionInterface(), nullptr);
  ASSERT_EQ(cell->actionInterface()->actionNames().value(0), QAccessibleActionInterface::pressAction());
  cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_EQ(clicks.size(), 2);
  EXPECT_EQ(clicks[1], std::make_pair(0, a));
  // Fewer files: the cell beyond the list is gone.
  grid.Fichiers = {b};
  grid.Redraw();
  EXPECT_EQ(list->childCount(), 1);
  EXPECT_EQ(list->child(1), nullptr);
}

TEST(ApercuModele, DebugRightClickShowsTheCellsFile) {
  QTemporaryDir home;
  TScriptedDialogs dialogs;
  dialogs.Answers = {arOK};
  TInstallationOptions options;
  options.AppDataPath = home.path();
  options.Arguments = {QStringLiteral("debug")};
  options.Dialogs = &dialogs;
  auto installation = OpenInstallation(QStringLiteral(LORVANE_SOURCE_DATA), options);
  ASSERT_TRUE(installation);
  ASSERT_TRUE(installation->Soft().Debug);
  QTemporaryDir dir;
  const QString a = Solid(dir, "a.png", Qt::blue);
  TzunoApercuModele grid;
  grid.resize(340, 300);
  grid.Fichiers = {a};
  grid.Redraw();
  int clicks = 0;
  grid.OnClickApercu = [&](TzunoApercuModele*, int, const QString&) { ++clicks; };
  grid.ClickAt(50, 50, Qt::RightButton);
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0].Text, a);
  EXPECT_EQ(clicks, 0);
  grid.ClickAt(50, 50, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

class Mosaic : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folder = dir.filePath("Animaux") + QLatin1Char('/');
    QDir().mkpath(folder);
    // Sorted without regard to case: b-broken sits between the two pages.
    ASSERT_TRUE(fixtures::WriteTemplate(folder + "A-rouge.mdl", "0000FF"));
    ASSERT_TRUE(fixtures::WriteBrokenTemplate(folder + "b-broken.mdl"));
    ASSERT_TRUE(fixtures::WriteTemplate(folder + "C-vert.mdl", "00FF00", 50, 25));
    grid.resize(200, 300);
    grid.ApercuLarge = grid.ApercuHaut = 40;
    grid.AutoTaille = false;
    grid.Modele = &model;
    grid.Dossier = folder;
    grid.Mosaique = dir.filePath("cache/Animaux.bmp");
  }
  QColor CellMiddle(int i) const {
    const QRect r = grid.CellRect(i);
    return grid.Image().pixelColor(r.center());
  }

  QTemporaryDir dir;
  QString folder;
  TzunoCADMdl model{nullptr, QRect(0, 0, 100, 100), 100, 100};
  TzunoApercuModele grid;
};

TEST_F(Mosaic, IsBuiltOnceAndPaintedFromItsFile) {
  grid.RedrawMosaic();
  ASSERT_TRUE(QFileInfo::exists(grid.Mosaique));
  EXPECT_EQ(grid.Fichiers,
            QStringList({folder + "A-rouge.mdl", folder + "b-broken.mdl", folder + "C-vert.mdl"}));
  const QImage mosaic = LoadPicture(grid.Mosaique);
  ASSERT_EQ(mosaic.size(), QSize(8 * 40, 40));
  // The broken template leaves a white cell, the others their page.
  for (int y = 0; y < 40; ++y)
    for (int x = 40; x < 80; ++x) ASSERT_EQ(mosaic.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
  EXPECT_TRUE(Near(mosaic.pixelColor(20, 20), Qt::red));
  EXPECT_TRUE(Near(mosaic.pixelColor(100, 20), Qt::green));
  EXPECT_EQ(mosaic.pixelColor(100, 5), QColor(Qt::white));  // the half-height page is centred
  // The grid: (200 - 20) div 40 = 4 columns, one row.
  EXPECT_EQ(grid.Image().size(), QSize(160, 40));
  EXPECT_TRUE(Near(CellMiddle(0), Qt::red));
  EXPECT_EQ(CellMiddle(1), QColor(Qt::white));

  // Shown again: painted from the file, not drawn; a template changed since does not show.
  const FileStamp before = Stamp(grid.Mosaique);
  ASSERT_TRUE(fixtures::WriteTemplate(folder + "A-rouge.mdl", "FF0000"));
  grid.RedrawMosaic();
  EXPECT_EQ(Stamp(grid.Mosaique), before);
  EXPECT_TRUE(Near(CellMiddle(0), Qt::red));
  // Deleting the mosaic forces the rebuild.
  ASSERT_TRUE(QFile::remove(grid.Mosaique));
  grid.RedrawMosaic();
  EXPECT_TRUE(Near(CellMiddle(0), Qt::blue));
}

TEST_F(Mosaic, ReadOnlyCacheFolderSendsTheMosaicToTheUserCache) {
  QStandardPaths::setTestModeEnabled(true);
  const QString cache = dir.filePath("cache");
  QDir().mkpath(cache);
  if (!fixtures::MakeReadOnly(cache, true)) {
    fixtures::MakeReadOnly(cache, false);
    GTEST_SKIP() << "no way to make a folder read-only here";
  }
  grid.RedrawMosaic();
  const QString copy = UserCacheFile(grid.Mosaique);
  EXPECT_FALSE(QFileInfo::exists(grid.Mosaique));
  EXPECT_TRUE(QFileInfo::exists(copy));
  EXPECT_TRUE(Near(CellMiddle(0), Qt::red));
  // The copy is what the next showing reads.
  const FileStamp before = Stamp(copy);
  grid.RedrawMosaic();
  EXPECT_EQ(Stamp(copy), before);
  fixtures::MakeReadOnly(cache, false);
  QFile::remove(copy);
}

}  // namespace
