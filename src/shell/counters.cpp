#include "shell/counters.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

#include "shell/inifile.h"
#include "shell/settings.h"
#include "shell/startup_log.h"

namespace {

const QString kSection = QStringLiteral("Lorvane");

// A name that an ini line can hold as its key.
bool UsableName(const QString& name) {
  return !name.trimmed().isEmpty() && !name.contains(QLatin1Char('=')) && !name.contains(QLatin1Char('\n')) &&
         !name.contains(QLatin1Char('\r')) && !name.startsWith(QLatin1Char('[')) &&
         !name.startsWith(QLatin1Char(';'));
}

}  // namespace

QString StatisticsFile() {
  const TSoft* soft = Soft();
  return soft ? ProgramSideFile(soft->ExePath, QStringLiteral(".sta")) : QString();
}

qint64 CounterValue(const QString& name) {
  const QString file = StatisticsFile();
  if (file.isEmpty() || !UsableName(name)) return 0;
  bool ok = false;
  const qint64 v = TIniFile(file).ReadString(kSection, name).trimmed().toLongLong(&ok);
  return ok ? v : 0;
}

void Count(const QString& name) {
  const TSoft* soft = Soft();
  if (!soft || !soft->SoftFlag(QStringLiteral("Stats")) || !UsableName(name)) return;
  const QString file = StatisticsFile();
  QDir().mkpath(QFileInfo(file).absolutePath());
  const qint64 v = CounterValue(name);
  if (v == std::numeric_limits<qint64>::max()) return;
  TIniFile(file).WriteString(kSection, name, QString::number(v + 1));
}
