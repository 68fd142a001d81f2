// Verbs that resample pictures and make thumbnails.
#include <QFileInfo>
#include <QImage>

#include "catalogue/thumbnails.h"
#include "cli/verbs.h"
#include "imagetools/resample.h"
#include "render/codecs.h"
#include "render/picture_io.h"

namespace cli {
namespace {

bool ReadSide(const QString& text, int* value) {
  bool ok = false;
  *value = text.toInt(&ok);
  // The verbs' usage keeps its old bound; a side the decoders refuse is a failure to make the picture.
  return ok && *value > 0 && *value <= 65535;
}

bool Save(const QImage& img, const QString& file) {
  const QString ext = QFileInfo(file).suffix().toLower();
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return SaveJpeg(img, file);
  if (ext == QLatin1String("bmp")) return SaveBmp(img, file);
  if (ext == QLatin1String("png")) return img.save(file, "PNG");
  return false;
}

QString FilterNames() {
  QStringList names;
  for (const TFilterEntry& f : ResampleFilters) names << QString::fromLatin1(f.Name);
  return names.join(QStringLiteral(", "));
}

int StretchVerb(QStringList args, const Context&) {
  QString filterName = QStringLiteral("Mitchell"), supportText;
  if (!TakeOption(args, QStringLiteral("--filter"), &filterName) ||
      !TakeOption(args, QStringLiteral("--support"), &supportText))
    return Usage();
  int w, h;
  if (args.size() != 4 || !ReadSide(args[2], &w) || !ReadSide(args[3], &h)) return Usage();
  const int filter = FilterIndex(filterName);
  if (filter < 0) {
    Fail(QStringLiteral("unknown filter %1 (filters: %2)").arg(filterName, FilterNames()));
    return kUsage;
  }
  float support = ResampleFilters[size_t(filter)].Support;
  if (!supportText.isEmpty()) {
    bool ok = false;
    support = supportText.toFloat(&ok);
    if (!ok || !(support > 0.0f && support <= 64.0f)) return Usage();
  }
  const QString ext = QFileInfo(args[1]).suffix().toLower();
  if (ext != QLatin1String("png") && ext != QLatin1String("jpg") && ext != QLatin1String("jpeg") &&
      ext != QLatin1String("bmp"))
    return Fail(QStringLiteral("cannot write %1: PNG, JPEG or BMP only").arg(args[1]));
  if (qint64(w) * h > MaxPicturePixels()) return Fail(QStringLiteral("picture too large"));
  const QImage src = LoadPicture(args[0]);
  if (src.isNull()) return Fail(QStringLiteral("cannot read %1").arg(args[0]));
  QImage dst(w, h, QImage::Format_RGB888);
  if (dst.isNull()) return Fail(QStringLiteral("picture too large"));
  Stretch(src, dst, filter, support);
  if (!Save(dst, args[1])) return Fail(QStringLiteral("cannot write %1").arg(args[1]));
  return kOk;
}

int ThumbVerb(const QStringList& args, const Context&) {
  int w, h;
  if (args.size() != 4 || !ReadSide(args[2], &w) || !ReadSide(args[3], &h)) return Usage();
  bool written = false;
  const QString path = MakeThumb(args[0], args[1], w, h, &written);
  if (!written) return Fail(QStringLiteral("no thumbnail of %1 written to %2").arg(args[0], path));
  Print(path + QLatin1Char('\n'));
  return kOk;
}

const Registration stretch(
    "stretch",
    "IN OUT W H [--filter NAME] [--support R]   resample a picture into W x H (Mitchell by default)",
    StretchVerb);
const Registration thumb("thumb",
                         "PICTURE FOLDER W H   make the picture's thumbnail in FOLDER; prints its path",
                         ThumbVerb);

}  // namespace
}  // namespace cli
