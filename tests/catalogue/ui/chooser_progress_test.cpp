#include <gtest/gtest.h>

#include <QEventLoop>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "catalogue/fixtures.h"
#include "catalogue/previews.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/apercu_tree.h"
#include "catalogue/ui/clipart_chooser.h"
#include "catalogue/ui/preview_progress.h"
#include "render/picture_io.h"
#include "shell/user_dialogs.h"

namespace {

TEST(ClipartChooser, ShowsAFolderFromItsMosaicAndReturnsTheRelativePath) {
  QTemporaryDir dir;
  const QString root = dir.filePath("Cliparts/");
  QDir().mkpath(root + "Animaux/Chats");
  QDir().mkpath(root + "Fleurs");
  ASSERT_TRUE(fixtures::WriteTemplate(root + "Animaux/Chats/noir.mdl", "000000"));
  ASSERT_TRUE(fixtures::WriteTemplate(root + "Animaux/Chats/roux.mdl", "0080FF"));
  const QString cache = dir.filePath("cache/Cliparts/");
  TfmCliparts form(nullptr, root, cache, ".mdl");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Cliparts"));
  EXPECT_EQ(form.objectName(), QStringLiteral("fmCliparts"));
  form.show();
  EXPECT_EQ(form.findChild<QSplitter*>()->sizes().value(0), 150);
  EXPECT_EQ(form.Grid()->ApercuLarge, 120);
  EXPECT_FALSE(form.Grid()->AutoTaille);
  ASSERT_EQ(form.Tree()->topLevelItemCount(), 2);

  // Selecting a folder in the tree shows its mosaic, named after its path below the root.
  form.Tree()->SetPathSelect("\\Animaux\\Chats");
  EXPECT_EQ(form.Grid()->Mosaique, cache + "Animaux_Chats.bmp");
  EXPECT_TRUE(QFileInfo::exists(cache + "Animaux_Chats.bmp"));
  ASSERT_EQ(form.Grid()->Fichiers.size(), 2);
  EXPECT_EQ(form.Grid()->Image().pixelColor(form.Grid()->CellRect(1).center()), QColor(255, 128, 0));

  form.Grid()->PressItem(1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Choice(), QStringLiteral("Animaux/Chats/roux.mdl"));
}

class PreviewProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (int i = 0; i < 6; ++i) {
      modeles << dir.filePath(QStringLiteral("t%1.mdl").arg(i, 3, 10, QLatin1Char('0')));
      if (i == 2)
        ASSERT_TRUE(fixtures::WriteBrokenTemplate(modeles.last()));
      else
        ASSERT_TRUE(fixtures::WriteTemplate(modeles.last(), "0000FF"));
    }
    window.resize(600, 400);
    grid = new TzunoApercuModele(&window);
    grid->resize(600, 340);
    grid->ApercuLarge = grid->ApercuHaut = 60;
    progress = new TzunoPreviewProgress(&window);
    progress->move(0, 340);
    window.show();
  }
  bool Run(bool* cancelled, const std::function<void()>& whileRunning = {}) {
    QEventLoop loop;
    bool finished = false;
    QObject::connect(progress, &TzunoPreviewProgress::Finished, &loop, [&](bool c, const QStringList& e) {
      finished = true;
      *cancelled = c;
      errors = e;
      loop.quit();
    });
    if (whileRunning) QTimer::singleShot(0, whileRunning);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return finished;
  }

  QTemporaryDir dir;
  QStringList modeles, errors;
  QWidget window;
  TzunoApercuModele* grid;
  TzunoPreviewProgress* progress;
};

TEST_F(PreviewProgress, CellsFillAsPreviewsArriveAndFailuresAreFramed) {
  ASSERT_EQ(progress->Start(grid, modeles, 60, 60, {}, 2), 6);
  EXPECT_TRUE(progress->isVisible());
  bool cancelled = true;
  ASSERT_TRUE(Run(&cancelled));
  EXPECT_FALSE(cancelled);
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(errors, QStringList{modeles[2]});
  ASSERT_EQ(grid->Fichiers.size(), 6);
  EXPECT_EQ(grid->Fichiers[0], PreviewPath(modeles[0]));
  EXPECT_TRUE(grid->Erreurs.contains(PreviewPath(modeles[2])));
  const QImage& img = grid->Image();
  const QColor painted = img.pixelColor(grid->CellRect(5).center());
  EXPECT_GT(painted.red(), 200);
  EXPECT_LT(painted.blue(), 60);
  EXPECT_EQ(img.pixelColor(grid->CellRect(2).topLeft() + QPoint(1, 30)), QColor(255, 0, 0));
}

// A preview older than its template (a save stopped before writing it) or one that cannot be read is
// made again when its folder is shown, without a message box; a good one is left alone.
TEST_F(PreviewProgress, StaleAndDamagedPreviewsAreMadeAgainWithoutAMessage) {
  bool cancelled = true;
  ASSERT_EQ(progress->Start(grid, modeles, 60, 60, {}, 2), 6);
  ASSERT_TRUE(Run(&cancelled));
  const QString good = PreviewPath(modeles[4]);
  const QDateTime goodTime = QFileInfo(good).lastModified();
  QFile jpeg(good);
  ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
  const QByteArray bytes = jpeg.readAll();
  jpeg.close();
  auto write = [](const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
  };
  // Older by an hour than its template.
  QFile old(PreviewPath(modeles[0]));
  ASSERT_TRUE(old.open(QIODevice::ReadWrite));
  ASSERT_TRUE(old.setFileTime(QFileInfo(modeles[0]).lastModified().addSecs(-3600),
                              QFileDevice::FileModificationTime));
  old.close();
  ASSERT_TRUE(write(PreviewPath(modeles[1]), "not a picture"));
  ASSERT_TRUE(write(PreviewPath(modeles[3]), bytes.left(40)));
  ASSERT_TRUE(write(PreviewPath(modeles[5]), QByteArray()));

  TScriptedDialogs dialogs;
  SetUserDialogs(&dialogs);
  EXPECT_EQ(progress->Start(grid, modeles, 60, 60, {}, 2), 5);  // the four and the broken template
  ASSERT_TRUE(Run(&cancelled));
  SetUserDialogs(nullptr);
  EXPECT_TRUE(dialogs.Questions.isEmpty()) << dialogs.Questions.value(0).Text.toStdString();
  for (int i : {0, 1, 3, 5}) {
    EXPECT_FALSE(LoadPicture(PreviewPath(modeles[i])).isNull()) << i;
    EXPECT_EQ(FindPreview(modeles[i]), PreviewPath(modeles[i])) << i;
    EXPECT_FALSE(grid->Erreurs.contains(PreviewPath(modeles[i]))) << i;
    EXPECT_GT(grid->Image().pixelColor(grid->CellRect(i).center()).red(), 200) << i;
  }
  EXPECT_EQ(QFileInfo(good).lastModified(), goodTime);
}

TEST_F(PreviewProgress, EscapeStopsTheWork) {
  modeles.clear();
  for (int i = 0; i < 150; ++i) {
    modeles << dir.filePath(QStringLiteral("m%1.mdl").arg(i, 3, 10, QLatin1Char('0')));
    ASSERT_TRUE(fixtures::WriteTemplate(modeles.last(), "00FF00", 200, 200));
  }
  const int total = int(modeles.size());
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_EQ(progress->Start(grid, modeles, 160, 160, {}, 1), total);
  bool cancelled = false;
  ASSERT_TRUE(Run(&cancelled, [&] { QTest::keyClick(&window, Qt::Key_Escape); }));
  EXPECT_TRUE(cancelled);
  EXPECT_LT(progress->Maker().Done(), total);
  int written = 0;
  for (const QString& m : modeles) written += QFileInfo::exists(PreviewPath(m));
  EXPECT_EQ(written, progress->Maker().Done());
}

}  // namespace
