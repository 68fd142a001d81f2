// The program's private fonts: the ".ttf" files shipped in its data folder are usable by this process
// while it runs (never installed for the system), and font lists can show them first or alone.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class TzunoFont {
 public:
  // Registers every ".ttf" file directly in the folder (letter case ignored) for this process.
  // Files that cannot be registered are left out.
  void InstallFonts(const QString& folder);
  // Unregisters every font registered from the folder, however many times it was registered.
  void RemoveFonts(const QString& folder);
  // The families the program's font files provide, in the platform's order; computed at the first
  // call after an installation and kept.
  QStringList OwnFonts();
  // The platform's families before and after the last installation.
  const QStringList& Before() const { return before_; }
  const QStringList& After() const { return after_; }

 private:
  struct Registered {
    QString folder;  // absolute, without the final "/"
    int id;
  };
  QStringList before_, after_;
  QStringList own_;
  bool ownKnown_ = false;
  QList<Registered> registered_;
};

// The process's font manager.
TzunoFont& FontManager();
void InstallFonts(const QString& folder);
void RemoveFonts(const QString& folder);
QStringList OwnFonts();

// True when the platform has the family as an outline font in the TrueType/OpenType format (bitmap
// and Type 1 fonts are not). A family the platform would only substitute is not.
bool IsTrueType(const QString& name);

// What a font list shows in each mode.
//   0: every TrueType family of the platform, in the platform's order
//   1: the program's own fonts, then every TrueType family (own fonts appear twice)
//   2: as 1, with the own fonts highlighted
//   3: only the program's own fonts
struct TFontListItems {
  QStringList Names;
  QStringList Highlighted;  // names drawn on the highlight colour
};
TFontListItems FontListItems(int mode);
inline constexpr int kFontListSampleSize = 12;  // points; also the item height
inline const QColor kFontListHighlight{192, 192, 192};
