// The rows of a mailing file read one at a time, so a file of any length prints in flat memory.
// The first line names the fields; values may be quoted ("a;b", "say ""hi""", line breaks inside).
// Lines end at CR LF, LF or a lone CR. A file that starts with a byte-order mark is read in that
// encoding (UTF-8 or UTF-16); otherwise each line is UTF-8 when valid, else Windows-1252.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

class TRecordStream {
 public:
  // What a row may hold. A file beyond these limits is refused with a message rather than cut, so
  // no value is ever dropped silently and a file without line ends cannot exhaust memory.
  static constexpr int kMaxFields = 1000;
  static constexpr qsizetype kMaxFieldLength = 1 << 20;  // characters
  static constexpr qsizetype kMaxLineLength = 1 << 24;   // bytes of one line

  // Opens the file and reads its header line. The separator is the one of ";", "," and tab that the
  // header holds most often (";" when none). False, with a message, when the file cannot be read or
  // names no field.
  bool Open(const QString& fileName, QString* error);
  // Field names as the header gives them.
  const QStringList& Fields() const { return fields_; }
  // Index of a field by name without regard to case; -1 when absent.
  int FieldIndex(const QString& name) const { return index_.value(name.toLower(), -1); }
  // The next row that is not blank; false at the end of the file or on an error (Error() tells).
  bool Next(QStringList& row);
  // Whether no row follows (reads ahead one row); true also when reading failed (Error() tells).
  bool AtEnd();
  // Why reading stopped before the end of the file; empty when it did not.
  const QString& Error() const { return error_; }

 private:
  enum class TEncoding { PerLine, Utf8, Utf16 };
  bool ReadRow(QStringList& row);
  // The next line without its line end; false at the end of the file or on an error.
  bool ReadLine(QString& line);
  template <typename Buffer>
  bool TakeLine(Buffer& buffer, Buffer& line);
  bool Refill();
  // Stops reading with that reason, at the line read last unless `line` is given.
  void Fail(const QString& why, long long line = -1);

  QFile file_;
  QString name_;
  TEncoding encoding_ = TEncoding::PerLine;
  QStringDecoder utf16_;
  QByteArray bytes_;  // read ahead, per-line and UTF-8 files
  QString text_;      // read ahead, UTF-16 files
  qsizetype pos_ = 0;
  bool eof_ = false;
  long long lineNumber_ = 0;
  QChar separator_ = QLatin1Char(';');
  QStringList fields_;
  QHash<QString, int> index_;
  QStringList ahead_;
  bool hasAhead_ = false;
  QString error_;
};
