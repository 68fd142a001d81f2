#include "model/arbo.h"

#include "model/encodings.h"
#include "model/host.h"

QString EncodeSpecialFolder(const QString& path) {
  TObjectHost* host = ObjectHost();
  if (!host) return path;
  for (const auto& [name, folder] : host->ShellFolders()) {
    if (folder.isEmpty()) continue;
    if (path == folder + QLatin1Char('/') || path == folder + QLatin1Char('\\'))
      return QLatin1Char('[') + name + QLatin1Char(']');
  }
  return path;
}

QString DecodeSpecialFolder(const QString& stored) {
  if (!stored.startsWith(QLatin1Char('['))) return stored;
  const QString name = stored.mid(1, stored.size() - 2);
  TObjectHost* host = ObjectHost();
  if (!host) return stored;
  for (const auto& [n, folder] : host->ShellFolders())
    if (n.compare(name, Qt::CaseInsensitive) == 0) return folder + QLatin1Char('/');
  return stored;  // an unknown special folder stays as written and lists nothing
}

TzunoCADArbo::TzunoCADArbo(TzunoCADMdl* document) : TzunoCADRect(document) {
  HandleEnabled[2] = false;
}

QStringList TzunoCADArbo::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"Path", EncodeSpecialFolder(Path));
  PropAdd(p, u"DepthMax", WriteInt(DepthMax));
  PropAdd(p, u"Column", WriteInt(Column));
  PropAdd(p, u"ViewFichier", WriteBool(ViewFichier));
  PropAdd(p, u"Font", WriteFont(Font));
  return p;
}

void TzunoCADArbo::SetProperties(const QStringList& list) {
  Path = DecodeSpecialFolder(PropValue(list, u"Path"));
  DepthMax = ReadInt(PropValue(list, u"DepthMax"));
  Column = ReadInt(PropValue(list, u"Column"));
  ViewFichier = ReadBool(PropValue(list, u"ViewFichier"));
  ReadFont(PropValue(list, u"Font"), Font);
  TzunoCADRect::SetProperties(list);
}
