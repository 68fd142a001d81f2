// File references as documents and tables store them ("\" or "/", names in any letter case),
// resolved on this file system.
#pragma once

#include <QString>

// "\" separators become "/".
QString NormaliseSeparators(const QString& path);

// The real name of an entry of a folder, matched exactly first and then without regard to letter
// case; empty when the folder has no such entry. Folder listings are cached and re-read when the
// folder changes.
QString FindInFolder(const QString& folder, const QString& name);

// The path as it exists: as spelled when it does, else with each component matched without regard
// to letter case; empty when it cannot be found.
QString ResolvePath(const QString& path);
