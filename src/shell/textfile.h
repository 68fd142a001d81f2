// Text files as the program stores them: Windows-1252 with CR LF, or UTF-8 with a byte-order mark
// when a character has no Windows-1252 form.
#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

// Reads a file as lines: Windows-1252, or UTF-8 after a byte-order mark; CR LF, LF or CR.
bool ReadTextFile(const QString& fileName, QStringList& lines);
void DecodeTextLines(const QByteArray& bytes, QStringList& lines);
// Windows-1252 text of bytes (no line splitting).
QString Decode1252(const char* data, qsizetype size);
inline QString Decode1252(QLatin1StringView bytes) {
  return Decode1252(bytes.data(), bytes.size());
}
// Writes lines with CR LF in Windows-1252, or in UTF-8 with a byte-order mark when needed. The old
// file is replaced atomically (see TTextFileWriter).
bool WriteTextFile(const QString& fileName, const QStringList& lines);

// A text file's lines without a string for each line: the file's bytes and where each line lies.
// Large documents are read this way. A Windows-1252 file stays in its bytes (Narrow lines); a file
// with a UTF-8 byte-order mark is decoded first (Wide lines).
class TTextLines {
 public:
  // False when the file cannot be read (missing, a folder, 4 GB or more).
  bool Read(const QString& fileName);
  bool Wide() const { return wide_; }
  qsizetype size() const { return starts_.empty() ? 0 : qsizetype(starts_.size()) - 1; }
  QLatin1StringView Narrow(qsizetype i) const {
    const uint32_t from = starts_[size_t(i)];
    return QLatin1StringView(bytes_.constData() + from, End(bytes_.constData(), i) - from);
  }
  QStringView WideLine(qsizetype i) const {
    const uint32_t from = starts_[size_t(i)];
    return QStringView(text_).mid(from, End(reinterpret_cast<const char16_t*>(text_.constData()), i) - from);
  }
  // The line as text, whatever the file's encoding.
  QString Line(qsizetype i) const { return wide_ ? WideLine(i).toString() : Decode1252(Narrow(i)); }

 private:
  bool wide_ = false;
  QByteArray bytes_;
  QString text_;
  // Where each line starts, and after the last one the end of the text: a line ends where the next
  // starts, less its line end.
  std::vector<uint32_t> starts_;
  template <class Char>
  uint32_t End(const Char* text, qsizetype i) const {
    uint32_t end = starts_[size_t(i) + 1];
    if (end > starts_[size_t(i)] && (text[end - 1] == '\n' || text[end - 1] == '\r')) {
      --end;
      if (text[end] == '\n' && end > starts_[size_t(i)] && text[end - 1] == '\r') --end;
    }
    return end;
  }
};

// Builds a text file line by line, as WriteTextFile writes it, without keeping the lines: each is
// encoded as it comes (Windows-1252 until a character needs UTF-8, then the whole file as UTF-8).
// Commit replaces the file atomically: the text goes to a temporary file beside it, named
// NAME.saving-XXXXXX and locked while it is written, which is then synced and renamed over the file
// (a symbolic link at the name is replaced, not followed). A save that was killed leaves such a
// file; the next save of the same file removes those leftovers that no writer holds any more.
class TTextFileWriter {
 public:
  void Add(QStringView line);
  // A line made of two parts (an indent and the text), without joining them first.
  void Add(QStringView indent, QStringView line);
  // mode, when 0 or more, is the new file's mode (else it keeps the old file's).
  bool Commit(const QString& fileName, int mode = -1);

 private:
  QByteArray out_;
  bool utf8_ = false;
};

// Replaces the file's contents atomically, as TTextFileWriter::Commit does: a temporary file beside
// it, every write and the close checked, synced, then renamed over the name. A symbolic link at the
// name is replaced by the file, never written through. The new file keeps the old file's mode, or
// takes mode when it is 0 or more. False (the old file left as it was) on any failure.
bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, int mode = -1);

// The temporary files that saves of this file left beside it: the exact NAME.saving-XXXXXX names.
QStringList SaveLeftovers(const QString& fileName);
