#include "catalogue/previews.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <thread>

#include "catalogue/cache_files.h"
#include "catalogue/fixtures.h"
#include "model/host.h"
#include "render/codecs.h"
#include "render/picture_io.h"
#include "shell/paths.h"

namespace {

// Runs the event loop until the maker finishes (or 60 s pass).
bool WaitFinished(TPreviewMaker& maker, bool* cancelled = nullptr) {
  QEventLoop loop;
  bool finished = false;
  QObject::connect(&maker, &TPreviewMaker::Finished, &loop, [&](bool c) {
    finished = true;
    if (cancelled) *cancelled = c;
    loop.quit();
  });
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  if (maker.Running() || !finished) loop.exec();
  maker.Wait();
  return finished;
}

TEST(Previews, PreviewPathReplacesTheLastExtension) {
  const struct {
    const char* modele;
    const char* preview;
  } cases[] = {{"/a/b/Foret.2.mdl", "/a/b/Foret.2.jpg"},
               {"/a/b.c/Carte", "/a/b.c/Carte.jpg"},
               {"x.MDL", "x.jpg"},
               {"C:\\m\\a.1.mdl", "C:\\m\\a.1.jpg"}};
  for (const auto& c : cases)
    EXPECT_EQ(PreviewPath(QString::fromUtf8(c.modele)), QString::fromUtf8(c.preview));
}

// The maker writes the missing previews beside their templates on workers, leaves existing ones
// alone, reports a template that cannot be drawn, and delivers its signals on the owner's thread.
TEST(Previews, MakesMissingPreviewsOffTheUiThread) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString d = dir.path() + QLatin1Char('/');
  ASSERT_TRUE(fixtures::WriteTemplate(d + "wide.mdl", "0000FF", 100, 50));
  ASSERT_TRUE(fixtures::WriteTemplate(d + "tall.mdl", "00FF00", 40, 80));
  ASSERT_TRUE(fixtures::WriteBrokenTemplate(d + "broken.mdl"));
  ASSERT_TRUE(fixtures::WriteTemplate(d + "kept.mdl", "FF0000"));
  // A readable preview as new as its template is left alone (it is green, the template red).
  QImage green(30, 30, QImage::Format_RGB888);
  green.fill(Qt::green);
  ASSERT_TRUE(SaveJpeg(green, d + "kept.jpg"));
  const QStringList modeles{d + "wide.mdl", d + "kept.mdl", d + "broken.mdl", d + "tall.mdl"};

  TPreviewMaker maker;
  QList<int> indexes;
  QList<std::pair<int, int>> progress;
  bool onOwnerThread = true;
  QObject::connect(&maker, &TPreviewMaker::PreviewMade, &maker,
                   [&](int index, const QString&, const QString&, bool, const QStringList&) {
                     indexes << index;
                     onOwnerThread = onOwnerThread && QThread::currentThread() == qApp->thread();
                   });
  QObject::connect(&maker, &TPreviewMaker::Progress, &maker,
                   [&](int done, int total) { progress << std::make_pair(done, total); });
  EXPECT_EQ(maker.Start(modeles, 120, 90, {}, 2), 3);
  bool cancelled = true;
  ASSERT_TRUE(WaitFinished(maker, &cancelled));
  EXPECT_FALSE(cancelled);
  EXPECT_TRUE(onOwnerThread);
  std::sort(indexes.begin(), indexes.end());
  EXPECT_EQ(indexes, (QList<int>{0, 2, 3}));
  ASSERT_EQ(progress.size(), 3);
  EXPECT_EQ(progress.last(), std::make_pair(3, 3));

  EXPECT_EQ(maker.Errors(), QStringList{d + "broken.mdl"});
  EXPECT_FALSE(QFileInfo::exists(d + "broken.jpg"));
  // Fitted into 120 x 90 with the page's aspect, drawn in the page's colour.
  const QImage wide = LoadPicture(d + "wide.jpg"), tall = LoadPicture(d + "tall.jpg");
  ASSERT_FALSE(wide.isNull());
  ASSERT_FALSE(tall.isNull());
  EXPECT_EQ(wide.size(), QSize(120, 60));
  EXPECT_EQ(tall.size(), QSize(45, 90));
  const QColor middle = wide.pixelColor(60, 30);
  EXPECT_GT(middle.red(), 200);
  EXPECT_LT(middle.green(), 60);
  EXPECT_EQ(LoadPicture(d + "kept.jpg").size(), QSize(30, 30));
  // Nothing missing the second time.
  EXPECT_EQ(maker.Start(modeles.mid(0, 2) + modeles.mid(3), 120, 90), 0);
  EXPECT_TRUE(WaitFinished(maker));
}

// Cancel stops the maker after the template being drawn: no further preview is written.
TEST(Previews, CancelStopsAfterTheCurrentTemplate) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QStringList modeles;
  for (int i = 0; i < 30; ++i) {
    modeles << dir.filePath(QStringLiteral("t%1.mdl").arg(i));
    ASSERT_TRUE(fixtures::WriteTemplate(modeles.last(), "808080"));
  }
  TPreviewMaker maker;
  // Cancelled from the worker, as soon as the first one is made (Escape comes from the UI thread;
  // the flag is the same).
  QObject::connect(
      &maker, &TPreviewMaker::PreviewMade, &maker, [&] { maker.Cancel(); }, Qt::DirectConnection);
  ASSERT_EQ(maker.Start(modeles, 64, 64, {}, 1), 30);
  bool cancelled = false;
  ASSERT_TRUE(WaitFinished(maker, &cancelled));
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(maker.Done(), 1);
  EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.jpg")}).size(), 1);
}

// A read-only template folder (a system install) gets its previews in the per-user cache, where the
// next reader finds them.
TEST(Previews, ReadOnlyFolderGetsItsPreviewsInTheUserCache) {
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath(QStringLiteral("Modeles"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString modele = folder + QStringLiteral("/carte.mdl");
  ASSERT_TRUE(fixtures::WriteTemplate(modele, "0000FF"));
  if (!fixtures::MakeReadOnly(folder, true)) {
    fixtures::MakeReadOnly(folder, false);
    GTEST_SKIP() << "no way to make a folder read-only here";
  }
  TPreviewMaker maker;
  QString made;
  QObject::connect(&maker, &TPreviewMaker::PreviewMade, &maker,
                   [&](int, const QString&, const QString& preview, bool ok, const QStringList&) {
                     if (ok) made = preview;
                   });
  EXPECT_EQ(maker.Start({modele}, 80, 80, {}, 1), 1);
  EXPECT_TRUE(WaitFinished(maker));
  const QString copy = UserCacheFile(PreviewPath(modele));
  EXPECT_EQ(made, copy);
  EXPECT_TRUE(copy.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
  EXPECT_FALSE(QFileInfo::exists(PreviewPath(modele)));
  EXPECT_FALSE(LoadPicture(copy).isNull());
  EXPECT_EQ(FindPreview(modele), copy);
  EXPECT_EQ(maker.Start({modele}, 80, 80, {}, 1), 0);  // found in the cache: nothing to make
  WaitFinished(maker);
  fixtures::MakeReadOnly(folder, false);
  QFile::remove(copy);
}

// Objects' messages raised on a worker that catches them never reach the host (whose message boxes
// belong to the UI thread); elsewhere they still do.
TEST(Previews, WorkersCatchObjectMessages) {
  struct Host : TObjectHost {
    QStringList shown;
    QString ReadSoftString(const QString&) override { return {}; }
    int ReadSoftInteger(const QString&) override { return -1; }
    QString DataPath() override { return {}; }
    QString Text(const QString&, const QString& fallback) override { return fallback; }
    void ShowMessage(const QString& text) override { shown << text; }
    QList<QPair<QString, QString>> ShellFolders() override { return {}; }
    QSizeF SupportSize(const QString&) override { return {}; }
  } host;
  TObjectHost* before = ObjectHost();
  SetObjectHost(&host);
  QStringList caught;
  std::thread worker([&] {
    TMessageCatcher catcher([&](const QString& text) { caught << text; });
    HostMessage(QStringLiteral("from the worker"));
  });
  worker.join();
  HostMessage(QStringLiteral("from the UI"));
  SetObjectHost(before);
  EXPECT_EQ(caught, QStringList{"from the worker"});
  EXPECT_EQ(host.shown, QStringList{"from the UI"});
}

// Files are resolved on workers while the UI thread resolves others: the folder listings they share
// must not be torn.
TEST(Previews, FolderListingsAreSharedSafelyBetweenThreads) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QStringList folders;
  for (int i = 0; i < 300; ++i) {
    folders << dir.filePath(QStringLiteral("f%1").arg(i));
    QDir().mkpath(folders.last());
    QFile(folders.last() + QStringLiteral("/Name.TXT")).open(QIODevice::WriteOnly);
  }
  auto resolve = [&](int from, int step, int* found) {
    for (int round = 0; round < 8; ++round)
      for (int i = from; i >= 0 && i < folders.size(); i += step)
        if (FindInFolder(folders[i], QStringLiteral("name.txt")) == QLatin1String("Name.TXT")) ++*found;
  };
  int a = 0, b = 0;
  std::thread worker(resolve, 0, 1, &a);
  resolve(int(folders.size()) - 1, -1, &b);
  worker.join();
  EXPECT_EQ(a, 8 * 300);
  EXPECT_EQ(b, 8 * 300);
}

}  // namespace
