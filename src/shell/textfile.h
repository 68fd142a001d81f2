// Text files as the program stores them: Windows-1252 with CR LF, or UTF-8 with a byte-order mark
// when a character has no Windows-1252 form.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads a file as lines: Windows-1252, or UTF-8 after a byte-order mark; CR LF, LF or CR.
bool ReadTextFile(const QString& fileName, QStringList& lines);
void DecodeTextLines(const QByteArray& bytes, QStringList& lines);
// Windows-1252 text of bytes (no line splitting).
QString Decode1252(const char* data, qsizetype size);
// Writes lines with CR LF in Windows-1252, or in UTF-8 with a byte-order mark when needed. The old
// file is replaced atomically.
bool WriteTextFile(const QString& fileName, const QStringList& lines);
