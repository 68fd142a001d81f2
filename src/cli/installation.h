// The installation the tool works on: its folder, settings and language file.
#pragma once

#include <QString>

namespace cli {

// The installation folder: --home, else LORVANE_HOME, else the installed share/lorvane, else the
// source tree's data/ folder.
QString FindHome(const QString& given);

// Creates the settings object for an installation, loads its language file and computes its paths.
// Objects then read settings and texts through it.
void OpenInstallation(const QString& home);

}  // namespace cli
