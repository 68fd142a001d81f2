#include "shell/user_dialogs.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "shell/shell_folders.h"

TEST(AskUser, TheBoxShownForEachButtonSet) {
  using L = QList<TAskResult>;
  const struct {
    int buttons;
    L shown;
  } cases[] = {
      {abYes | abNo | abCancel, {arYes, arNo, arCancel}},
      {abYes | abNo, {arYes, arNo}},
      {abYes, {arYes, arNo}},
      {abNo | abCancel, {arYes, arNo, arCancel}},
      {abOK | abCancel, {arOK, arCancel}},
      {abCancel, {arOK, arCancel}},
      {abOK, {arOK}},
      {0, {arOK}},
      {abAbort | abRetry | abIgnore, {arAbort, arRetry, arIgnore}},
      {abIgnore, {arAbort, arRetry, arIgnore}},
      {abRetry, {arRetry, arCancel}},
      {abRetry | abCancel, {arRetry, arCancel}},
      {abOK | abYes | abNo, {arYes, arNo}},
  };
  for (const auto& c : cases) EXPECT_EQ(AskBoxButtons(c.buttons), c.shown) << c.buttons;
  EXPECT_EQ(AskAnswer(abOK | abCancel, arCancel), arCancel);
  EXPECT_EQ(AskAnswer(abOK | abCancel, arYes), arNone);  // not on that box
  EXPECT_EQ(AskAnswer(abYes | abNo, 0), arNone);
}

TEST(AskUser, ScriptedAnswersAndWhatWasAsked) {
  EXPECT_EQ(AskUser(QStringLiteral("nobody to ask"), akQuestion, abYes | abNo), arNone);
  QString folder = QStringLiteral("/x");
  EXPECT_FALSE(BrowseFolder(QStringLiteral("t"), folder));
  EXPECT_EQ(folder, "/x");

  TScriptedDialogs script;
  SetUserDialogs(&script);
  script.Answers = {arNo, arOK, arYes};
  EXPECT_EQ(AskUser(QStringLiteral("Replace?"), akQuestion, abYes | abNo | abCancel), arNo);
  EXPECT_EQ(AskUser(QStringLiteral("Delete?"), akInformation, abOK | abCancel), arOK);
  EXPECT_EQ(AskUser(QStringLiteral("Retry?"), akError, abRetry), arNone);  // Yes is not on that box
  EXPECT_EQ(AskUser(QStringLiteral("More?"), akWarning, abOK), arNone);    // nothing scripted
  ASSERT_EQ(script.Questions.size(), 4);
  EXPECT_EQ(script.Questions[1].Text, "Delete?");
  EXPECT_EQ(script.Questions[1].Kind, akInformation);
  EXPECT_EQ(script.Questions[1].Buttons, abOK | abCancel);
  EXPECT_EQ(script.Faults.size(), 2);

  QTemporaryDir tmp;
  script.Folders = {tmp.path() + QStringLiteral("/chosen"), std::nullopt};
  folder = tmp.path();
  EXPECT_TRUE(BrowseFolder(QStringLiteral("Pictures"), folder));
  EXPECT_EQ(folder, tmp.path() + "/chosen");
  EXPECT_FALSE(BrowseFolder(QStringLiteral("Again"), folder));  // cancelled: folder untouched
  EXPECT_EQ(folder, tmp.path() + "/chosen");
  ASSERT_EQ(script.Browses.size(), 2);
  EXPECT_EQ(script.Browses[0].Start, tmp.path());  // an existing folder is preselected
  EXPECT_EQ(script.Browses[1].Start, "");          // a missing one is not
  SetUserDialogs(nullptr);
}

TEST(ShellFolder, UserFoldersEndWithASlash) {
  QStandardPaths::setTestModeEnabled(true);
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(ShellFolder(QStringLiteral("Personal")), docs + "/");
  EXPECT_EQ(ShellFolder(QStringLiteral("my pictures")),
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + "/");
  EXPECT_EQ(ShellFolder(QStringLiteral("AppData")),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/");
  EXPECT_EQ(ShellFolder(QStringLiteral("No Such Folder")), "");
  EXPECT_EQ(ShellFolder(QString()), "");
  QStandardPaths::setTestModeEnabled(false);
}

namespace {

class OpenedFiles : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

}  // namespace

TEST(ShellOpen, HandsExistingFilesToTheDesktop) {
  QTemporaryDir tmp;
  QDir().mkpath(tmp.filePath(QStringLiteral("Docs")));
  QFile f(tmp.filePath(QStringLiteral("Docs/Guide.pdf")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  OpenedFiles opened;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
  EXPECT_FALSE(ShellOpen(tmp.filePath(QStringLiteral("Docs/missing.pdf"))));
  EXPECT_FALSE(ShellOpen(tmp.filePath(QStringLiteral("Docs"))));  // a folder is not a file
  EXPECT_FALSE(ShellOpen(QString()));
  EXPECT_TRUE(opened.urls.isEmpty());
  // A reference written on Windows: "\" and another letter case.
  EXPECT_TRUE(ShellOpen(tmp.path() + QStringLiteral("\\docs\\GUIDE.PDF")));
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(opened.urls.size(), 1);
  EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(tmp.filePath(QStringLiteral("Docs/Guide.pdf"))));
}

#include "user_dialogs_test.moc"
