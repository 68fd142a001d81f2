// Verbs that draw documents into pictures.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>

#include "cli/verbs.h"
#include "model/document.h"
#include "model/encodings.h"
#include "render/canvas.h"
#include "render/codecs.h"
#include "shell/session/installation.h"

namespace cli {
namespace {

bool ReadInteger(const QString& text, int* value) {
  bool ok = false;
  *value = text.toInt(&ok);
  return ok;
}

// Merge fields given as repeated "--field NAME=VALUE" options; names compare without case.
bool TakeFields(QStringList& args, QHash<QString, QString>* fields) {
  for (;;) {
    QString field;
    const qsizetype before = args.size();
    if (!TakeOption(args, QStringLiteral("--field"), &field)) return false;
    if (args.size() == before) return true;
    const qsizetype eq = field.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    fields->insert(field.left(eq).toLower(), field.mid(eq + 1));
  }
}

// Loads a document with the program's resolvers in place (pictures and fields are used while objects
// are read); fields given on the command line come first.
bool Load(TzunoCADMdl& doc, const QString& file, const QHash<QString, QString>& fields,
          const Context& context) {
  context.installation->Connect(doc);
  doc.OnChampFusion = [fields, settings = doc.OnChampFusion](TzunoCADObj* sender, const QString& name,
                                                             QString& value) {
    if (fields.contains(name))
      value = fields.value(name);
    else
      settings(sender, name, value);
  };
  return doc.LoadFromFile(file);
}

bool SaveImage(const QImage& img, const QString& file) {
  const QString ext = QFileInfo(file).suffix().toLower();
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return SaveJpeg(img, file);
  if (ext == QLatin1String("bmp")) return SaveBmp(img, file);
  if (ext == QLatin1String("png")) return img.save(file, "PNG");
  return false;
}

int Page(QStringList args, const Context& context) {
  QString face, stencil;
  if (!TakeOption(args, QStringLiteral("--face"), &face) ||
      !TakeOption(args, QStringLiteral("--stencil"), &stencil))
    return Usage();
  const bool grid = TakeFlag(args, QStringLiteral("--grid"));
  QHash<QString, QString> fields;
  if (!TakeFields(args, &fields)) return Usage();
  int w, h, f = 1, s = 0;
  if (args.size() != 4 || !ReadInteger(args[2], &w) || !ReadInteger(args[3], &h) || w <= 0 || h <= 0 ||
      (!face.isEmpty() && !ReadInteger(face, &f)) ||
      (!stencil.isEmpty() && (!ReadInteger(stencil, &s) || s < 0 || s > 2)))
    return Usage();
  if (static_cast<long long>(w) * h > 400000000LL) return Fail(QStringLiteral("picture too large"));
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  if (!Load(doc, args[0], fields, context)) return Fail(QStringLiteral("cannot read %1").arg(args[0]));
  if (!(doc.Large > 0 && doc.Haut > 0)) return Fail(QStringLiteral("%1 has no page size").arg(args[0]));
  doc.CurrentFace = f;
  doc.Grid = grid;
  doc.StencilView = s;
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(Qt::white);
  TBitmapCanvas canvas(&img);
  doc.DrawPage(canvas, QRect(0, 0, w, h));
  if (!SaveImage(img, args[1])) return Fail(QStringLiteral("cannot write %1").arg(args[1]));
  return kOk;
}

int Export(QStringList args, const Context& context) {
  QString face, quality, frame;
  if (!TakeOption(args, QStringLiteral("--face"), &face) ||
      !TakeOption(args, QStringLiteral("--quality"), &quality) ||
      !TakeOption(args, QStringLiteral("--frame"), &frame))
    return Usage();
  const bool support = TakeFlag(args, QStringLiteral("--support"));
  QHash<QString, QString> fields;
  if (!TakeFields(args, &fields)) return Usage();
  int w, h, f = 1, q = 0;
  if (args.size() != 4 || !ReadInteger(args[2], &w) || !ReadInteger(args[3], &h) || w <= 0 || h <= 0 ||
      (!face.isEmpty() && !ReadInteger(face, &f)) || (!quality.isEmpty() && !ReadInteger(quality, &q)))
    return Usage();
  if (static_cast<long long>(w) * h > 400000000LL) return Fail(QStringLiteral("picture too large"));
  const QString ext = QFileInfo(args[1]).suffix().toLower();
  if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") && ext != QLatin1String("jpeg") &&
      ext != QLatin1String("png"))
    return Fail(QStringLiteral("%1: the picture must be .bmp, .jpg or .png").arg(args[1]));
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  if (!Load(doc, args[0], fields, context)) return Fail(QStringLiteral("cannot read %1").arg(args[0]));
  doc.CurrentFace = f;
  if (!quality.isEmpty()) doc.Quality = q;
  const TColor frameColor = frame.isEmpty() ? clWhite : ReadColorRGB(frame);
  if (!frame.isEmpty()) doc.GabaritOnBitmaps = false;  // a frame replaces the item's outline
  bool ok;
  if (ext == QLatin1String("png")) {
    const QImage img = doc.ExportImage(w, h, frameColor, support);
    ok = !img.isNull() && img.save(args[1], "PNG");
  } else if (ext == QLatin1String("bmp")) {
    ok = doc.ExportBmp(args[1], w, h, frameColor);
  } else {
    ok = support ? doc.ExportJpegSupport(args[1], w, h, frameColor)
                 : doc.ExportJpeg(args[1], w, h, frameColor);
  }
  if (!ok) return Fail(QStringLiteral("cannot export %1 to %2").arg(args[0], args[1]));
  return kOk;
}

const Registration page("page",
                        "IN.mdl OUT.png W H [--face N] [--grid] [--stencil 0|1|2] [--field NAME=VALUE]...   "
                        "the page as the editor shows it",
                        [](const QStringList& a, const Context& c) { return Page(a, c); });
const Registration exportVerb("export",
                              "IN.mdl OUT.(bmp|jpg|png) MAXW MAXH [--frame RRGGBB] [--support] [--face N] "
                              "[--quality Q] [--field NAME=VALUE]...   an export",
                              [](const QStringList& a, const Context& c) { return Export(a, c); });

}  // namespace
}  // namespace cli
