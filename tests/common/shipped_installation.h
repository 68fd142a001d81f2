// The shipped installation copied for one test: the data folder linked, the language file copied,
// the settings file copied with some of its lines replaced ("Key=value"), and per-user folders of
// its own, so a test may change settings and files freely.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

#include "shell/session/installation.h"

// Null, with the reason in *error, when the copy cannot be made or opened.
inline std::unique_ptr<TInstallation> OpenShippedCopy(const QString& home, const QString& user,
                                                      const QStringList& settings, TUserDialogs* dialogs,
                                                      QString* error, const QStringList& args = {}) {
  const QString data = QStringLiteral(LORVANE_SOURCE_DATA);
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return std::unique_ptr<TInstallation>();
  };
  QDir().mkpath(home);
  if (!QFile::link(data + "/donnees", home + "/donnees")) return fail("cannot link the data folder");
  if (!QFile::copy(data + "/lorvane.tra", home + "/lorvane.tra"))
    return fail("cannot copy the language file");
  QFile in(data + "/lorvane.ini");
  if (!in.open(QIODevice::ReadOnly)) return fail("cannot read the settings");
  QByteArray ini = in.readAll();
  for (const QString& line : settings) {
    const QByteArray key = line.section('=', 0, 0).toLatin1() + "=";
    const qsizetype at = ini.indexOf("\n" + key);
    if (at < 0) return fail("no setting " + line);
    const qsizetype end = ini.indexOf("\r\n", at + 1);
    ini.replace(at + 1, end - at - 1, line.toLatin1());
  }
  QFile out(home + "/lorvane.ini");
  if (!out.open(QIODevice::WriteOnly) || out.write(ini) != ini.size())
    return fail("cannot write the settings");
  out.close();
  TInstallationOptions options;
  options.AppDataPath = user;
  options.Arguments = args;
  options.Dialogs = dialogs;
  options.Fonts = false;
  auto installation = OpenInstallation(home, options);
  if (!installation) return fail("the installation does not open");
  return installation;
}
