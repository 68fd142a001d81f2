// The user's standard folders and handing files to the desktop.
#pragma once

#include <QString>
#include <QStringList>

// The per-user folder a settings value names ("AppData", "Personal", "My Pictures", "Desktop",
// "My Music", "My Video", "Fonts", "Templates", "Cache"; letter case ignored), ending with "/";
// "" for an unknown name or a folder the platform does not have.
QString ShellFolder(const QString& name);
// Those names as documents spell them, in the order a path inside one of them is named by.
QStringList ShellFolderNames();

// Opens an existing file with the program the desktop associates with it. False when the file does
// not exist or the desktop refused it.
bool ShellOpen(const QString& file);
