// Language files: every caption and message of the program, by number, by key or by window path,
// in up to fifty languages side by side.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Folder that relative language-file names are taken from (the installation folder).
void MLSetProgramFolder(const QString& folder);

// Loads the file once; false when it does not exist or a file is already loaded.
bool MLCreate(const QString& fileName);
void MLFree();
// Loads lines already in memory, as MLCreate does with a file's lines.
bool MLCreateFromLines(const QStringList& lines);
// Text of the selected language: by message number, by key (letter case ignored).
QString MLMessage(int number);
QString MLText(const QString& key);

// Selected language (1 to 50) and the translation-debugging switch.
void MLSetLanguage(int language);
int MLLanguage();
void MLSetDebug(bool on);
bool MLDebug();

// A window as the translation sees it: its name, its own caption and hint, and its components'
// text properties and lists. Windows of the user interface implement it.
class TMLWindow {
 public:
  virtual ~TMLWindow() = default;
  virtual QString Name() const = 0;
  // "Caption" or "Hint" of the window itself.
  virtual void SetWindowText(const QString& property, const QString& value) = 0;
  virtual bool HasComponent(const QString& name) const = 0;
  // "Caption", "Hint", "MCaption", "MHint", "ZMLCaption", "ZMLHint"; false when the component has
  // no such property.
  virtual bool SetComponentText(const QString& component, const QString& property, const QString& value) = 0;
  // Items of a list ('L' list box, 'C' combo box, 'M' multi-line edit, 'R' radio group); nothing
  // when the component is not a list of that kind.
  virtual std::optional<QStringList> ListItems(const QString& component, QChar kind) = 0;
  virtual void SetListItems(const QString& component, QChar kind, const QStringList& items) = 0;
};

// Translates a window from the lines of its name (a name with "_" uses the part before it). Does
// nothing when the selected language is below 1.
void MLTranslateWindow(TMLWindow& window);
