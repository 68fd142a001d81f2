#include "model/soft_host.h"

#include <QStandardPaths>

#include "model/document.h"
#include "model/encodings.h"
#include "records/csv_table.h"
#include "shell/language.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/shell_folders.h"

QString TSoftHost::ReadSoftString(const QString& key) {
  return Soft() ? Soft()->ReadSoftString(key) : QString();
}
int TSoftHost::ReadSoftInteger(const QString& key) {
  return Soft() ? Soft()->ReadSoftInteger(key) : -1;
}
QString TSoftHost::DataPath() {
  return Soft() ? Soft()->DataPath : QString();
}

QString TSoftHost::Text(const QString& key, const QString& fallback) {
  const QString t = MLText(key);
  return t.isEmpty() ? fallback : t;
}

void TSoftHost::ShowMessage(const QString& text) {
  if (OnMessage) OnMessage(text);
}

QList<QPair<QString, QString>> TSoftHost::ShellFolders() {
  QList<QPair<QString, QString>> folders;
  for (const QString& name : ShellFolderNames()) {
    QString path = ShellFolder(name);
    path.chop(1);  // the trailing "/"
    if (!path.isEmpty()) folders.append({name, path});
  }
  return folders;
}

QSizeF SupportSize(const TSoft& soft, const QString& support) {
  const QString file = ResolvePath(soft.SupportsFile);
  if (file.isEmpty()) return QSizeF(0, 0);
  const TzunoCSV table(file);
  return QSizeF(ReadReal(table.Lookup(QStringLiteral("mmlarge"), support)),
                ReadReal(table.Lookup(QStringLiteral("mmhaut"), support)));
}

QSizeF TSoftHost::SupportSize(const QString& support) {
  return Soft() ? ::SupportSize(*Soft(), support) : QSizeF(0, 0);
}

void ConnectToSoft(TzunoCADMdl& document) {
  document.OnCheminFichier = [](TzunoCADMdl*, QString& name) {
    if (Soft()) name = Soft()->FindImageFile(name);
  };
  document.OnChampFusion = [](TzunoCADObj*, const QString& field, QString& value) {
    if (Soft()) value = Soft()->FieldValue(field);
  };
}
