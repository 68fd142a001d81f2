#include "shell/ui/skin_ui.h"

#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "model/encodings.h"
#include "render/gdi_types.h"
#include "render/picture_io.h"
#include "shell/inifile.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace skinui {

namespace {
QString Resolve(const QString& folder, const QString& name) {
  if (folder.isEmpty() || name.isEmpty()) return {};
  QString dir = folder;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return ResolvePath(dir + name);
}
}  // namespace

QImage LoadSkinPicture(const QString& folder, const QString& name) {
  const QString path = Resolve(folder, name);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return {};
  return LoadPicture(path);
}

bool SkinFileExists(const QString& folder, const QString& name) {
  const QString path = Resolve(folder, name);
  return !path.isEmpty() && QFileInfo(path).isFile();
}

QString FolderOf(const QString& file) {
  QString dir = QFileInfo(file).absolutePath();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

QColor ReadColorRGB(const QString& text) {
  const TColor c = ::ReadColorRGB(text);
  return QColor(ColorR(c), ColorG(c), ColorB(c));
}

QPixmap KeyedPixmap(const QImage& picture) {
  if (picture.isNull()) return {};
  QPixmap pixmap = QPixmap::fromImage(picture);
  const QColor magenta(255, 0, 255);
  if (picture.pixelColor(0, 0) == magenta) pixmap.setMask(pixmap.createMaskFromColor(magenta));
  return pixmap;
}

void LogMissingPicture(const QString& logName, const QString& name) {
  TSoft* soft = Soft();
  if (!soft || !soft->Debug) return;
  QString folder = soft->ExePath;
  if (folder.isEmpty() || !QFileInfo(folder).isWritable()) folder = soft->UserPath;
  if (folder.isEmpty()) return;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  const QString log = folder + logName;
  // Painting asks again and again; the file is looked at once per name and log.
  static QSet<QString> done;
  const QString id = log + QLatin1Char('\n') + name;
  if (done.contains(id)) return;
  done.insert(id);
  QStringList lines;
  if (QFileInfo::exists(log) && !ReadTextFile(log, lines)) return;
  if (lines.contains(name)) return;
  lines.append(name);
  WriteTextFile(log, lines);
}

QString ReadSkinKey(const TIniFile& ini, const QString& section, const QString& key,
                    const QString& fallbackSection) {
  const QString v = ini.ReadString(section, key);
  if (!v.isEmpty() || fallbackSection.isEmpty()) return v;
  return ini.ReadString(fallbackSection, key);
}

}  // namespace skinui
