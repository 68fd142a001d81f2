#include "cli/installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "model/encodings.h"
#include "model/soft_host.h"
#include "shell/language.h"
#include "shell/settings.h"

namespace cli {

QString FindHome(const QString& given) {
  if (!given.isEmpty()) return QFileInfo(given).absoluteFilePath();
  const QString env = qEnvironmentVariable("LORVANE_HOME");
  if (!env.isEmpty()) return QFileInfo(env).absoluteFilePath();
  const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/lorvane");
  if (QFileInfo(installed).isDir()) return QFileInfo(installed).canonicalFilePath();
  return QStringLiteral(LORVANE_SOURCE_DATA);
}

void OpenInstallation(const QString& home) {
  static TSoftHost host;
  host.OnMessage = [](const QString& text) {
    std::fprintf(stderr, "lorvane-cli: %s\n", text.toLocal8Bit().constData());
  };
  const QStringList args = QCoreApplication::arguments().mid(1);
  static TSoft* soft = nullptr;
  delete soft;
  soft = new TSoft(home + QStringLiteral("/lorvane.ini"), TSoftOptions{home, QString(), args});
  MLFree();
  MLSetProgramFolder(home);
  MLCreate(QStringLiteral("lorvane.tra"));
  MLSetLanguage(soft->Language());
  MLSetDebug(soft->ReadSoftString(QStringLiteral("DebugTrad")) == QLatin1String("1"));
  soft->InitialisePaths();
  // As the main window does: the settings choose the separator and the display unit.
  SetDecimalSeparator(QLatin1Char(','));
  const QString sep = soft->ReadSoftString(QStringLiteral("DecimalSeparator"));
  if (!sep.isEmpty()) SetDecimalSeparator(sep[0]);
  const double u2m = ReadReal(soft->ReadSoftString(QStringLiteral("u2m")));
  if (u2m > 0) SetU2M(u2m);
  SetUnitName(soft->ReadSoftString(QStringLiteral("UnitName")));
  SetSoft(soft);
  SetObjectHost(&host);
}

}  // namespace cli
