// Helpers the skinned widgets share: skin pictures read by the project's own codecs, skin colours,
// the magenta transparency key and the diagnostic lists of missing pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

class TIniFile;

namespace skinui {

// The folder's picture of that name (letter case ignored), 24-bit; null when absent or unreadable.
QImage LoadSkinPicture(const QString& folder, const QString& name);
// True when the folder holds a file of that name (letter case ignored).
bool SkinFileExists(const QString& folder, const QString& name);
// The folder of a file, ending with "/".
QString FolderOf(const QString& file);

// "RRGGBB" (red first); missing digits read as 0, empty text is black.
QColor ReadColorRGB(const QString& text);

// A picture whose top-left pixel is magenta (255, 0, 255) is drawn with every magenta pixel
// transparent; any other picture is drawn as it is.
QPixmap KeyedPixmap(const QImage& picture);

// Appends the name as one line of the diagnostic log file ("debug_skin.log", "debug_Btn.log")
// unless the log already lists it; does nothing outside Debug. The file sits in the installation
// folder when it is writable, else in the per-user folder.
void LogMissingPicture(const QString& logName, const QString& name);

// Reads a skin section: first the section, then the fallback section when it has no value.
QString ReadSkinKey(const TIniFile& ini, const QString& section, const QString& key,
                    const QString& fallbackSection = QString());

}  // namespace skinui
