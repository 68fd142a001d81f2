// The window that picks the installation settings file when the installation holds several.
#pragma once

#include <QString>

class TFileScriptedDialogs;

// Lists the ".ini" files of `folder` (names without ".ini", in directory order) and returns the
// clicked one's path, or "" when the window is closed without a click. With `script`, nothing is
// shown: the script's next answer names the entry.
QString ChooseSettingsFile(const QString& folder, TFileScriptedDialogs* script);
