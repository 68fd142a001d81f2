// Runs lorvane-cli as a separate process and keeps what it said.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun {
  int code = -1;  // -1 when the tool crashed or hung
  QString out, err;
};

inline CliRun Cli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(LORVANE_CLI), args);
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
