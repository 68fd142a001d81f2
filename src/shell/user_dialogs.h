// Questions to the user (message boxes) and the folder chooser, behind an interface: the windowed
// program installs the Qt dialogs, tests install a script, and a headless run without either gets
// "nothing pressed" answers.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

// Message box kinds.
enum TAskKind { akWarning = 0, akError = 1, akInformation = 2, akQuestion = 3 };
// Buttons asked for (a set).
enum TAskButton { abYes = 1, abNo = 2, abOK = 4, abCancel = 8, abAbort = 16, abRetry = 32, abIgnore = 64 };
// The answer: the button pressed, or arNone when the box was closed some other way.
enum TAskResult {
  arOK = 1,
  arCancel = 2,
  arAbort = 3,
  arRetry = 4,
  arIgnore = 5,
  arYes = 6,
  arNo = 7,
  arNone = 8
};

// The buttons a box shows for a set of asked buttons, in the order shown (TAskResult values). Yes or
// No gives Yes/No (with Cancel when Cancel is asked too); else Abort or Ignore gives
// Abort/Retry/Ignore; else Retry gives Retry/Cancel; else Cancel gives OK/Cancel; else OK alone.
QList<TAskResult> AskBoxButtons(int buttons);
// The answer for a pressed button: itself when the box shows it, else arNone.
TAskResult AskAnswer(int buttons, int pressed);
// The folder a chooser starts in: the given one when it exists, else "".
QString BrowseStart(const QString& folder);

class TUserDialogs {
 public:
  virtual ~TUserDialogs() = default;
  // A message box captioned with the application's title; the button pressed (TAskResult).
  virtual int AskUser(const QString& text, int kind, int buttons) = 0;
  // The folder chooser (folders only) with the title, starting in BrowseStart(folder); true and the
  // chosen folder in `folder` on OK, false and `folder` untouched otherwise.
  virtual bool BrowseFolder(const QString& title, QString& folder) = 0;
};

// The dialogs the program uses; not owned. Null (the default) answers arNone and false.
void SetUserDialogs(TUserDialogs* dialogs);
TUserDialogs* UserDialogs();
int AskUser(const QString& text, int kind, int buttons);
bool BrowseFolder(const QString& title, QString& folder);

// Answers from a script, and a record of what was asked: for tests and unattended runs.
class TScriptedDialogs : public TUserDialogs {
 public:
  struct Question {
    QString Text;
    int Kind;
    int Buttons;
  };
  struct Browse {
    QString Title;
    QString Start;  // where the chooser started
  };
  // The next answers, in order: the button to press, and the folder to choose (nullopt: Cancel).
  std::deque<int> Answers;
  std::deque<std::optional<QString>> Folders;
  QList<Question> Questions;
  QList<Browse> Browses;
  // Script faults: a question with no answer left, or an answer the box does not show.
  QStringList Faults;

  int AskUser(const QString& text, int kind, int buttons) override;
  bool BrowseFolder(const QString& title, QString& folder) override;
};
