// The address book: cards of key=value lines that business cards, letterheads and envelopes read
// through their merge fields ("<Nom>", "<Ville>", "logo"…), and the field definitions that shape
// the address-book form.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

class TSoft;

// One card: lines "key=value" in their order. A field whose value is empty has no line; "|" stands
// for each line break of a multi-line value. Keys compare without regard to letter case.
class TzunoFiche {
 public:
  TzunoFiche() = default;
  explicit TzunoFiche(const QStringList& lines);

  QStringList Lines() const;
  int LineCount() const;
  // The value of `key`, empty when the card has no such line.
  QString Value(QStringView key) const;
  // Replaces the line of `key` in place, or appends one; an empty value removes the line. A line
  // break in the value becomes "|".
  void SetValue(const QString& key, const QString& value);

 private:
  friend class TzunoFiches;
  // The lines joined with "\n": one allocation per card keeps a big address book small.
  QString text_;
};

// What loading a card file found: enough to tell the user when the file was not read whole.
struct TFichesLoad {
  bool Read = false;     // the file could be opened and was not too big
  int Cards = 0;         // cards read
  int SkippedLines = 0;  // lines that are neither a section, a key=value line nor empty
  int CutValues = 0;     // values longer than the limit, cut
  bool Utf8 = false;     // UTF-8 text without a byte-order mark, read as UTF-8
  bool TooBig = false;   // the file is bigger than kMaxFileSize and was not read
  // True when something of the file is not in the collection as it was read.
  bool Damaged() const { return SkippedLines > 0 || CutValues > 0 || TooBig; }
};

class TzunoFiches {
 public:
  // Longest value a card line keeps; longer ones are cut on reading.
  static constexpr int kMaxValue = 2047;
  // A card file bigger than this is not read (a real one is a few kilobytes per card).
  static constexpr qint64 kMaxFileSize = 512LL * 1024 * 1024;

  TzunoFiches();
  ~TzunoFiches();
  TzunoFiches(const TzunoFiches&) = delete;
  TzunoFiches& operator=(const TzunoFiches&) = delete;

  int Count() const { return static_cast<int>(cards_.size()); }
  // The card at `index`; the first card for an index past the end; null when there is no card or
  // the index is negative.
  TzunoFiche* Item(int index);
  const TzunoFiche* Item(int index) const;

  // Every section of the file is one card, in file order, whatever its name. Answers false and
  // keeps the collection when the file cannot be read. Clears Modifie.
  bool LoadFromFile(const QString& fileName, TFichesLoad* report = nullptr);
  void LoadFromStrings(const QStringList& lines, TFichesLoad* report = nullptr);
  // "[i]", the card's lines and an empty line per card, CR LF; Windows-1252, or UTF-8 with a
  // byte-order mark when a character needs it. The old file is replaced atomically.
  bool SaveToFile(const QString& fileName);
  // True when the cards differ from what was last loaded or saved.
  bool Changed() const;

  // The program's card file (the settings' FichesFile). Open reads it, or the installed copy while
  // the user has none; when the file exists but was not read whole, `message` says so. Store
  // writes it when the cards changed; a file that was not read whole is first copied beside itself
  // as NAME.damaged-DATE, so nothing of it is lost.
  bool Open(const TSoft& soft, QString* message = nullptr);
  bool Store(const TSoft& soft);

  // The card's value for `name`; "NomPre" (any case) gives the display name. Empty for no card.
  QString GetChamp(const TzunoFiche* card, const QString& name) const;
  // CleNom value, a blank, ClePrenom value.
  QString NomPre(const TzunoFiche& card) const;
  // A new card holding only the two name fields; cards are then sorted by display name without
  // regard to case. Answers the index of the first card whose two names equal the given ones
  // exactly, -1 when none. The current card stays the same card.
  int Ajoute(const QString& nom, const QString& prenom);
  // Whole cards added at once and sorted in as Ajoute sorts (an import of thousands sorts once).
  // The current card stays the same card.
  void AjouteCartes(std::vector<std::unique_ptr<TzunoFiche>> cards);
  // Removes the card when the index is inside the collection.
  void Supprime(int index);

 private:
  // Sorts the cards by display name without regard to case, keeping the current card.
  void Trie();

 public:
  // CleNom and ClePrenom from the language file's "fmFiche.e101.Hint" and "fmFiche.e102.Hint"
  // (their angle brackets removed); unchanged when an entry is missing.
  void ReadKeysFromLanguage();

  // The current card, program-wide: -1 only when there is no card.
  int Current() const;
  void SetCurrent(int index);
  TzunoFiche* CurrentCard() { return Item(Current()); }
  // The current card's value for `name` (see GetChamp).
  QString Champ(const QString& name) const { return GetChamp(Item(Current()), name); }
  // The user key "idxFiche" (missing or -1 gives 0) and back.
  void ReadCurrent(const TSoft& soft);
  void WriteCurrent(TSoft& soft) const;

  // The card's picture in the user folder: display name + " photo.bmp" or " logo.bmp".
  QString PhotoFile(const QString& userPath, const TzunoFiche& card) const;
  QString LogoFile(const QString& userPath, const TzunoFiche& card) const;

  QString CleNom = QStringLiteral("Nom");
  QString ClePrenom = QStringLiteral("Prenom");
  // Set when the user edits a field in the form; Remplissage while the form's controls are filled.
  bool Modifie = false;
  bool Remplissage = false;

 private:
  size_t Digest() const;
  std::vector<std::unique_ptr<TzunoFiche>> cards_;
  int current_ = 0;
  size_t saved_ = 0;  // Digest() when last loaded or saved
  bool keepOriginal_ = false;
};

// The program-wide collection, null until an installation provides one.
TzunoFiches* Fiches();
void SetFiches(TzunoFiches* fiches);

// One line of the field-definition file: a control of the address-book form.
struct TFicheChamp {
  int Page = 0;  // 0 personal, 1 professional
  QString Kind;  // "TEdit", "TComboBox", "TMemo"; anything else makes only a label
  QString Tag;   // "<Nom>"
  QString Key;   // "Nom": the tag without its first and last character
  QString Label;
  int Width = 100;    // percent of the space right of the label column
  int Height = 100;   // memo: percent of its default height
  QStringList Items;  // combo box entries
};

// The lines of the field-definition file after its header, in order. Lines of another page than
// 0 or 1 are left out; a missing file gives none.
std::vector<TFicheChamp> ReadFicheChamps(const QString& fileName);
