// Settings files in the private-profile style: sections and key=value lines, keys and sections
// without regard to letter case, Windows-1252. Every read sees the file as it is on disk and every
// write updates the file at once.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

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
  // Lines of the file, re-read only when its size or time changed.
  const QStringList& Lines() const;
  // Index range [first, end) of a section's lines after its header; first = -1 when absent.
  void FindSection(const QStringList& lines, const QString& section, qsizetype* first, qsizetype* end) const;
  bool Save(const QStringList& lines);

  QString fileName_;
  mutable QStringList lines_;
  mutable QDateTime stamp_;
  mutable qint64 size_ = -2;
};
