// The start-up log: one line per step while the program starts, written only when logging was asked
// for, so that a start that fails on a user's machine can be diagnosed.
#pragma once

#include <QDateTime>
#include <QString>

// Where a file named after the program ("lorvane" + extension) lives: in the program's folder when
// that folder is writable, else in the per-user data folder ("lorvane/" under the platform's).
QString ProgramSideFile(const QString& programFolder, const QString& extension);

// Sets the logging switch and deletes the previous log, whether logging is on or not.
void LogStart(bool on, const QString& programFolder);
bool LogOn();
QString LogFile();  // empty before LogStart
// Appends the date and time, " : " and the message when logging is on. Each line reaches the disk
// before Log returns, so a crash loses nothing logged before it. Never fails loudly.
void Log(const QString& message);
// The date and time as a log line shows them: the locale's short date and long time.
QString LogTimeStamp(const QDateTime& when);
