// Questions to the user (message boxes) and the folder chooser, behind an interface: the windowed
// program installs the Qt dialogs, tests install a script, and a headless run without either gets
// "nothing pressed" answers.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
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
  // The file-name input box: true and the new name in `value` on OK.
  virtual bool InputName(const QString& caption, const QString& prompt, QString& value) = 0;
  // The save-file chooser with "description|pattern;pattern|…" filters, starting at `file` (a folder
  // or a proposed file); true and the chosen file in `file`, the filter's index (from 1) in *filter.
  virtual bool SaveFileName(const QString& filters, QString& file, int* filter) = 0;
  // The open-file chooser, same filters, starting in `file` (a folder); true and the file on OK.
  virtual bool OpenFileName(const QString& filters, QString& file) { return false; }
  // The colour dialog on `color`; `custom`, when given, seeds and receives the custom colours
  // ("ColorA=BBGGRR" lines). True and the colour on OK.
  virtual bool ChooseColor(QColor& color, QStringList* custom) { return false; }
  // The font dialog with the font's colour; true and both on OK.
  virtual bool ChooseFont(QFont& font, QColor& color) { return false; }
};

// The dialogs the program uses; not owned. Null (the default) answers arNone and false.
void SetUserDialogs(TUserDialogs* dialogs);
TUserDialogs* UserDialogs();
int AskUser(const QString& text, int kind, int buttons);
bool BrowseFolder(const QString& title, QString& folder);
bool AskName(const QString& caption, const QString& prompt, QString& value);
bool AskSaveFile(const QString& filters, QString& file, int* filter);
bool AskOpenFile(const QString& filters, QString& file);
bool AskColor(QColor& color, QStringList* custom);
bool AskFont(QFont& font, QColor& color);

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
  // Names to type into the input box and files to choose in the save chooser (nullopt: Cancel); a
  // chosen file takes the first filter.
  std::deque<std::optional<QString>> Names, Files;
  // Files to open, colours and fonts to choose (nullopt: Cancel); what the colour and font dialogs
  // were opened on, and the custom colours they were given.
  std::deque<std::optional<QString>> OpenFiles;
  std::deque<std::optional<QColor>> Colors;
  std::deque<std::optional<QFont>> Fonts;
  QList<QColor> ColorsShown;
  QList<QStringList> CustomShown;
  QList<QFont> FontsShown;
  // Script faults: a question with no answer left, or an answer the box does not show.
  QStringList Faults;

  int AskUser(const QString& text, int kind, int buttons) override;
  bool BrowseFolder(const QString& title, QString& folder) override;
  bool InputName(const QString& caption, const QString& prompt, QString& value) override;
  bool SaveFileName(const QString& filters, QString& file, int* filter) override;
  bool OpenFileName(const QString& filters, QString& file) override;
  bool ChooseColor(QColor& color, QStringList* custom) override;
  bool ChooseFont(QFont& font, QColor& color) override;
};

// Unattended runs of the windowed program (tests, batch sessions): no box is shown. Each question
// takes the next line of a script file as its answer and is appended to a transcript file, so a run
// never waits for a person and a test can read exactly what was said.
//
// Script lines, one per question in order: a button word ("OK", "Cancel", "Yes", "No", "Abort",
// "Retry", "Ignore"; letter case ignored) or its number; for the folder chooser an absolute folder,
// anything else cancelling it; for a list window the entry to pick. A missing or empty line closes
// the box without a button. Transcript lines: the asker, then its fields, separated by " | ", line
// breaks written as "\n": "AskUser | kind | buttons | answer | text",
// "BrowseFolder | title | folder or empty", "InputName | caption | prompt | name or empty" (a line
// "=NAME" types NAME, anything else cancels), "SaveFileName | filters | file or empty" (an absolute
// file chooses it with the first filter, "N:/file" with filter N), "OpenFileName | filters | file or
// empty" (an absolute file chooses it), and what other windows record through Record.
class TFileScriptedDialogs : public TUserDialogs {
 public:
  TFileScriptedDialogs(const QString& scriptFile, const QString& transcriptFile);

  int AskUser(const QString& text, int kind, int buttons) override;
  bool BrowseFolder(const QString& title, QString& folder) override;
  bool InputName(const QString& caption, const QString& prompt, QString& value) override;
  bool SaveFileName(const QString& filters, QString& file, int* filter) override;
  bool OpenFileName(const QString& filters, QString& file) override;

  // The next line of the script; "" when none is left.
  QString NextAnswer();
  // Appends one line to the transcript; it reaches the disk before this returns.
  void Record(const QStringList& fields);

 private:
  QStringList answers_;
  qsizetype next_ = 0;
  QString transcript_;
};

// The scripted dialogs the environment asks for: LORVANE_DIALOG_SCRIPT names the script,
// LORVANE_DIALOG_TRANSCRIPT the transcript; null when neither variable is set.
std::unique_ptr<TFileScriptedDialogs> DialogScriptFromEnvironment();
