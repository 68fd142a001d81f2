// The rows of a mailing file read one at a time, so a file of any length prints in flat memory.
// The first line names the fields; values may be quoted ("a;b", "say ""hi""", line breaks inside).
#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

class TRecordStream {
 public:
  // A row holds at most this many fields and a field this many characters; the rest is dropped,
  // so a file without line ends cannot exhaust memory.
  static constexpr int kMaxFields = 1000;
  static constexpr qsizetype kMaxFieldLength = 1 << 16;

  // Opens the file and reads its header line. The separator is the one of ";", "," and tab that the
  // header holds most often (";" when none). False, with a message, when the file cannot be read or
  // names no field.
  bool Open(const QString& fileName, QString* error);
  // Field names as the header gives them.
  const QStringList& Fields() const { return fields_; }
  // Index of a field by name without regard to case; -1 when absent.
  int FieldIndex(const QString& name) const { return index_.value(name.toLower(), -1); }
  // The next row that is not blank; false at the end of the file.
  bool Next(QStringList& row);
  // Whether another row follows (reads ahead one row).
  bool AtEnd();

 private:
  bool ReadRow(QStringList& row);
  QString ReadLine(bool* eof);
  QFile file_;
  QChar separator_ = QLatin1Char(';');
  QStringList fields_;
  QHash<QString, int> index_;
  QStringList ahead_;
  bool hasAhead_ = false;
};
