// Verbs that describe and play metafiles.
#include <QFileInfo>
#include <QImage>

#include "cli/verbs.h"
#include "render/codecs.h"
#include "render/metafile.h"

namespace cli {
namespace {

bool ReadSide(const QString& text, int* value) {
  bool ok = false;
  *value = text.toInt(&ok);
  // The verbs' usage keeps its old bound; a side the decoders refuse is a failure to make the picture.
  return ok && *value > 0 && *value <= 65535;
}

bool LoadMetafile(const QString& file, TMetafile& mf, int* failure) {
  if (!QFileInfo(file).isFile()) {
    *failure = Fail(QStringLiteral("cannot read %1").arg(file));
    return false;
  }
  if (!mf.Load(file)) {
    *failure = Fail(QStringLiteral("%1 is not a metafile").arg(file));
    return false;
  }
  return true;
}

int InfoVerb(const QStringList& args, const Context&) {
  if (args.size() != 1) return Usage();
  TMetafile mf;
  int failure;
  if (!LoadMetafile(args[0], mf, &failure)) return failure;
  Print(MetafileReport(mf));
  return kOk;
}

int RenderVerb(const QStringList& args, const Context&) {
  int w, h;
  if (args.size() != 4 || !ReadSide(args[2], &w) || !ReadSide(args[3], &h)) return Usage();
  if (QFileInfo(args[1]).suffix().toLower() != QLatin1String("png"))
    return Fail(QStringLiteral("cannot write %1: PNG only").arg(args[1]));
  if (w > kMaxPictureSide || h > kMaxPictureSide || qint64(w) * h > MaxPicturePixels())
    return Fail(QStringLiteral("picture too large"));
  TMetafile mf;
  int failure;
  if (!LoadMetafile(args[0], mf, &failure)) return failure;
  const QImage img = RenderMetafile(mf, w, h, clWhite);
  if (img.isNull()) return Fail(QStringLiteral("cannot render %1").arg(args[0]));
  if (!img.save(args[1], "PNG")) return Fail(QStringLiteral("cannot write %1").arg(args[1]));
  return kOk;
}

const Registration info("metafile-info",
                        "FILE       metafile kind, size, frame, bounds and record counts by type", InfoVerb);
const Registration render("metafile-render",
                          "FILE OUT.png W H   play a metafile stretched into W x H on white", RenderVerb);

}  // namespace
}  // namespace cli
