// Files and folders whose names are not valid UTF-8 (made by another system in a legacy encoding):
// the platform's listings leave them out and a path of such a name cannot be spelled in a QString.
// Each is reached through an alias instead: a symbolic link in the per-user cache, named after the
// name read as Windows-1252, pointing at the real bytes. Nothing is changed in the user's folders.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The aliases of the entries of `folder` whose names are not valid UTF-8: its subfolders (not those
// beginning with "."), or its files whose names end with `suffix` (letter case ignored). Made when
// missing.
QStringList UndecodableFolders(const QString& folder);
QStringList UndecodableFiles(const QString& folder, const QByteArray& suffix);

// Whether `path` lies in an alias (the alias itself or below it).
bool IsAliasPath(const QString& path);
// The real path behind a path in an alias, as bytes; empty when it is none.
QByteArray AliasTarget(const QString& path);
