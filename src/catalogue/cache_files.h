// Files the program writes inside the installation tree to save work later (template previews,
// mosaics, thumbnails). The tree may be read-only (a system install): such a file then goes to the
// same relative path under the per-user cache folder, and every reader looks there as well.
#pragma once

#include <QString>

// The per-user copy of `path`: its path below the installation folder (the settings' ExePath), or
// its absolute path for a file outside it, under QStandardPaths::CacheLocation.
QString UserCacheFile(const QString& path);

// `path` when it exists, else its per-user copy when that exists, else "".
QString FindCacheFile(const QString& path);

// Where to write `path`: itself when its folder exists or can be made and a file can be created
// there, else the per-user copy (its folder made).
QString CacheFileForWriting(const QString& path);

// Whether a file can be created in `folder` (tried, since permission bits say nothing for root and
// nothing about read-only mounts).
bool FolderWritable(const QString& folder);
