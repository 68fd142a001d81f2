// Settings files: any bytes read, and writes keep the file readable.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>

#include "shell/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path =
      QDir::tempPath() + QStringLiteral("/lorvane-fuzz-ini-%1.ini").arg(QCoreApplication::applicationPid());
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  TIniFile ini(path);
  ini.ReadString(QStringLiteral("lorvane"), QStringLiteral("nom"));
  ini.ReadSection(QStringLiteral("User"));
  ini.WriteString(QStringLiteral("User"), QStringLiteral("cle"), QStringLiteral("a=b;c"));
  if (ini.ReadString(QStringLiteral("user"), QStringLiteral("CLE")) != QLatin1String("a=b;c"))
    __builtin_trap();
  ini.DeleteKey(QStringLiteral("User"), QStringLiteral("cle"));
  QFile::remove(path);
  return 0;
}
