// Settings files in the private-profile style: sections and key=value lines, keys and sections
// without regard to letter case, Windows-1252. Reads see the file as it is on disk (see
// TSettingsOperation for how often the disk is looked at) and every write updates the file at once.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>

// One operation of the program (a command of the tool, an event of the windows, a document read):
// while one is open, a settings file is looked at on disk at most once, at the first read that
// needs it, and later reads answer from memory. Objects ask the settings as they are built, so a
// document of many objects would otherwise look at the file for every object. Operations nest;
// the outermost one counts. Outside any operation every read looks at the file. The file's own
// writes are always seen at once.
class TSettingsOperation {
 public:
  TSettingsOperation();
  ~TSettingsOperation();
  TSettingsOperation(const TSettingsOperation&) = delete;
  TSettingsOperation& operator=(const TSettingsOperation&) = delete;
};

class TIniFile {
 public:
  explicit TIniFile(const QString& fileName) : fileName_(fileName) {}
  const QString& FileName() const { return fileName_; }

  QString ReadString(const QString& section, const QString& key, const QString& def = QString()) const;
  // The value as a decimal integer, or def when absent or not a number.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  bool ValueExists(const QString& section, const QString& key) const;
  // False when the file cannot be written (its folder missing, no rights).
  bool WriteString(const QString& section, const QString& key, const QString& value);
  bool DeleteKey(const QString& section, const QString& key);
  QStringList ReadSection(const QString& section) const;  // the keys, in file order

 private:
  // Lines of the file, re-read only when the file changed.
  const QStringList& Lines() const;
  // Index range [first, end) of a section's lines after its header; first = -1 when absent.
  void FindSection(const QStringList& lines, const QString& section, qsizetype* first, qsizetype* end) const;
  bool Save(const QStringList& lines);

  QString fileName_;
  mutable QStringList lines_;
  // Values of the first section of each name, the first line of each key winning; keys lower case.
  mutable QHash<QString, QHash<QString, QString>> values_;
  // What the file was when read: size (-1 absent, -2 never read), modification time in
  // nanoseconds, file identity.
  mutable int64_t size_ = -2, stampNs_ = 0;
  mutable uint64_t device_ = 0, inode_ = 0;
  // The operation in which the file was last looked at (0: none).
  mutable uint64_t checkedIn_ = 0;
};
