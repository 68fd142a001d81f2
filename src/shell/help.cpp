#include "shell/help.h"

#include <QFileInfo>

#include "shell/language.h"
#include "shell/settings.h"

namespace {

QString NamedHelp(const TSoft& soft) {
  return soft.ReadSoftString(QStringLiteral("aide_pdf")).trimmed();
}

}  // namespace

QString HelpFile(const TSoft& soft) {
  const QString name = NamedHelp(soft);
  if (name.isEmpty()) return QString();
  const QString file = soft.ExePath + name;
  return QFileInfo(file).isFile() ? file : QString();
}

QString HelpMissingMessage(const TSoft& soft) {
  const QString name = NamedHelp(soft);
  if (name.isEmpty()) return MLText(QStringLiteral("AideAbsente"));
  return MLMessage(107).replace(QStringLiteral("%s"), QFileInfo(soft.ExePath + name).absoluteFilePath());
}
