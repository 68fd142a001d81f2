// The verb that fills a template for batch work: pictures and texts by code, the support, the page
// size and the personal or professional form of address fields.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>

#include "catalogue/thumbnails.h"
#include "cli/verbs.h"
#include "model/document.h"
#include "model/image.h"
#include "render/metafile.h"
#include "render/picture_io.h"
#include "shell/paths.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace cli {
namespace {

struct CodeValue {
  QString code, value;
};

// Repeated "--name CODE=VALUE" options, in order. False on a value without "=" or without a code.
bool TakeCodeValues(QStringList& args, const QString& name, QList<CodeValue>* out) {
  for (;;) {
    QString option;
    const qsizetype before = args.size();
    if (!TakeOption(args, name, &option)) return false;
    if (args.size() == before) return true;
    const qsizetype eq = option.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    out->append({option.left(eq), option.mid(eq + 1)});
  }
}

// A positive size in millimetres, with "." or ",".
bool ReadSize(QString text, double* value) {
  bool ok = false;
  *value = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  return ok && std::isfinite(*value) && *value > 0;
}

QByteArray FileDigest(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash h(QCryptographicHash::Sha256);
  h.addData(&f);
  return h.result();
}

bool ReadablePicture(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == QLatin1String("emf") || ext == QLatin1String("wmf")) return TMetafile().Load(path);
  return !LoadPicture(path).isNull();
}

// A picture for the images of one code. Documents store pictures by file name and find them in the
// installation's picture folders, so a picture from elsewhere is added to the user's pictures, as
// the editor adds a personal picture.
struct Picture {
  QString code, name;
  QString addFrom;  // the file to add to the user's pictures; empty when they can find it already
};

// Files and folders made on the way, removed again unless kept.
struct TUndoFiles {
  QStringList files, folders;
  // Notes the folders of `path` that do not exist yet, deepest first.
  void Folders(const QString& path) {
    for (QString d = QDir::cleanPath(path); !d.isEmpty() && !QFileInfo::exists(d);
         d = QFileInfo(d).absolutePath()) {
      if (!folders.contains(d)) folders << d;
      if (QFileInfo(d).absolutePath() == d) break;
    }
  }
  void Keep() {
    files.clear();
    folders.clear();
  }
  ~TUndoFiles() {
    for (const QString& f : files) QFile::remove(f);
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& d : folders) QDir().rmdir(d);
  }
};

int Fill(QStringList args, const Context& context) {
  QList<CodeValue> images, texts;
  QString support;
  if (!TakeCodeValues(args, QStringLiteral("--image"), &images) ||
      !TakeCodeValues(args, QStringLiteral("--text"), &texts) ||
      !TakeOption(args, QStringLiteral("--support"), &support))
    return Usage();
  double resizeW = 0, resizeH = 0;
  if (const qsizetype i = args.indexOf(QStringLiteral("--resize")); i >= 0) {
    if (i + 2 >= args.size() || !ReadSize(args[i + 1], &resizeW) || !ReadSize(args[i + 2], &resizeH))
      return Usage();
    args.remove(i, 3);
  }
  const bool pro = TakeFlag(args, QStringLiteral("--pro"));
  const bool perso = TakeFlag(args, QStringLiteral("--perso"));
  if ((pro && perso) || args.size() != 2 || args[0].startsWith(QLatin1String("--")) ||
      args[1].startsWith(QLatin1String("--")))
    return Usage();
  const QString in = args[0], out = args[1];
  const TInstallation& installation = *context.installation;
  const TSoft& soft = installation.Soft();

  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  installation.Connect(doc);
  if (!doc.LoadFromFile(in)) return Fail(QStringLiteral("cannot read %1").arg(in));

  // Every picture is checked before anything changes; the user's pictures change last.
  QList<Picture> pictures;
  QHash<QString, QByteArray> added;  // file name, content: two files of one name cannot both be added
  for (const CodeValue& im : images) {
    const bool coded = std::any_of(doc.Objets().begin(), doc.Objets().end(), [&](const auto& o) {
      return o->Code == im.code && dynamic_cast<const TzunoCADImage*>(o.get());
    });
    if (!coded) return Fail(QStringLiteral("%1 has no image with the code %2").arg(in, im.code));
    const QFileInfo given(im.value);
    if (!given.isFile()) {
      // A name the installation's picture folders know.
      if (installation.ResolveFile(im.value).isEmpty())
        return Fail(QStringLiteral("no picture %1").arg(im.value));
      pictures.append({im.code, im.value, QString()});
      continue;
    }
    const QString path = given.absoluteFilePath();
    if (!ReadablePicture(path)) return Fail(QStringLiteral("cannot read the picture %1").arg(im.value));
    const QString found = installation.ResolveFile(given.fileName()).section(QLatin1Char('|'), 0, 0);
    if (!found.isEmpty() && FileDigest(found) != FileDigest(path))
      return Fail(QStringLiteral(
                      "the pictures already hold another %1 (%2), which the document would show: rename %3")
                      .arg(given.fileName(), found, im.value));
    const QByteArray digest = FileDigest(path);
    if (added.contains(given.fileName()) && added.value(given.fileName()) != digest)
      return Fail(QStringLiteral("two different pictures are named %1").arg(given.fileName()));
    added.insert(given.fileName(), digest);
    pictures.append({im.code, given.fileName(), found.isEmpty() ? path : QString()});
  }

  for (const CodeValue& t : texts)
    if (!doc.SetTexteParCode(t.code, t.value, t.code))
      return Fail(QStringLiteral("%1 has no text with the code %2").arg(in, t.code));
  if (pro || perso) {
    const QString table =
        ResolvePath(soft.DataPath + QStringLiteral("fiches_champs_%1.def").arg(soft.Language()));
    if (table.isEmpty()) return Fail(QStringLiteral("the installation has no address field table"));
    doc.ConvertirChampsPro(pro, QString(), table);
  }
  if (!support.isEmpty()) {
    if (support.endsWith(QLatin1String(".emf"), Qt::CaseInsensitive)) support.chop(4);
    if (!doc.SetSupport(support, true)) return Fail(QStringLiteral("no support %1").arg(support));
  }
  if (resizeW > 0) doc.Redimensionner(resizeH, resizeW);

  // Pictures last: each box takes the shape of its picture at the final page size. What is added
  // to the user's pictures is taken back when the output cannot be written, so a failure changes
  // nothing.
  TUndoFiles made;
  for (const Picture& p : pictures) {
    if (!p.addFrom.isEmpty()) {
      const QString target = soft.UserImagesPath + p.name;
      if (!QFileInfo::exists(target)) {
        made.Folders(soft.UserImagesPath);
        if (!QDir().mkpath(soft.UserImagesPath) || !QFile::copy(p.addFrom, target))
          return Fail(QStringLiteral("cannot add %1 to %2").arg(p.addFrom, soft.UserImagesPath));
        made.files << target;
        const QString thumb = ThumbPath(target, soft.UserImagesPath);
        if (!QFileInfo::exists(thumb)) {
          made.Folders(QFileInfo(thumb).absolutePath());
          made.files << thumb;
        }
      }
      MakeThumb(target, soft.UserImagesPath, 50, 50);
    }
    doc.RemplaceImageParCode(p.code, p.name, true);
  }

  if (!doc.SaveToFile(out)) return Fail(QStringLiteral("cannot write %1").arg(out));
  made.Keep();
  return kOk;
}

const Registration fill(
    "fill",
    "IN.mdl OUT.mdl [--image CODE=FILE]... [--text CODE=TEXT]... [--support NAME] [--resize W H] [--pro | "
    "--perso]   "
    "fill a template: pictures (fitted, added to the user's pictures) and texts by code, the support, the "
    "page size "
    "in mm, address fields in their professional or personal form; a code that matches nothing fails",
    [](const QStringList& a, const Context& c) { return Fill(a, c); });

}  // namespace
}  // namespace cli
