// The library of predefined texts: wordings sorted by theme ("Fêtes\Noël") and, inside a theme, by
// the part of a letter they suit (introduction, body, conclusion). Read from a ";"-separated file
// whose first kept line names the parts; every other line is a theme and one text per part.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class TzunoChoixTextes {
 public:
  // Fields kept of a line: the theme and at most three texts.
  static constexpr int kFields = 4;

  // Replaces the library by the file's lines; a file that cannot be read leaves it empty. Every line
  // is kept, however many there are. Answers whether the file was read.
  bool Charge(const QString& fileName);
  void ChargeLignes(const QStringList& lines);

  // The themes offered: each line's theme when `inclu` is empty or one of its "|"-separated words
  // occurs in it, and none of the words of `exclu` does (letter case ignored); each theme once.
  QStringList ListeThemes(const QString& inclu, const QString& exclu) const;
  // The names of the parts: the header's, or those a theme gives itself on its first line ("#…").
  QStringList NomsParties(const QString& theme) const;
  // The texts of the theme in the part named `partie` (a header name; empty: every part), in line
  // order, each once; a name that is not a header name gives nothing.
  QStringList Textes(const QString& theme, const QString& partie) const;
  // The same for the part at `index` (0 = the first part) of the header.
  QStringList TextesPartie(const QString& theme, int index) const;
  // For every line holding `texte` in one of its parts, the texts of that line's theme in that part.
  // Line breaks ("\n" in the library, "|" or blanks in a placed text) compare as one blank.
  QStringList TextesVoisins(const QString& texte) const;

  // Lines stored, header included; parts named by the header; fields stored (4 a line).
  int LineCount() const { return static_cast<int>(lines_.size()); }
  int PartCount() const { return parts_; }
  int FieldCount() const { return kFields * LineCount(); }
  bool Loaded() const { return loaded_; }

 private:
  using Line = std::array<QString, kFields>;
  // The lines of a theme in file order (the header excluded).
  std::vector<const Line*> ThemeLines(const QString& theme) const;
  void AddTexts(QStringList& out, const QString& theme, int first, int last) const;

  std::vector<Line> lines_;
  int parts_ = 0;
  bool loaded_ = false;
};

// The program-wide library, owned by the installation; null without one.
TzunoChoixTextes* ChoixTextes();
void SetChoixTextes(TzunoChoixTextes* library);
// The program-wide library, read from the settings' TextesFile at its first use (the user's copy
// of the table exists only once start-up has copied the tables); null without one.
TzunoChoixTextes* ChoixTextesCharges();

// A text of the library as a text object holds it: its "\n" line breaks become "|".
QString TexteVersObjet(const QString& texte);
