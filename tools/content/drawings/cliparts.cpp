// Cliparts: public-domain SVG drawings kept in sources/cliparts/<category>/, turned into EMF drawings
// under donnees/Cliparts/<category>/. Each one is played back and compared with QtSvg's own
// rendering, so a drawing the conversion spoils stops the run. Beside each drawing a document of the
// same name holds it as line objects, which is what the clipart chooser lists and shows.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "common/generator.h"
#include "drawings/svg_to_emf.h"
#include "model/document.h"
#include "model/import_metafile.h"

namespace {

constexpr double kLongSideMm = 100;
// Share of clearly different pixels allowed between the played EMF and QtSvg's picture.
constexpr double kMaxMismatch = 0.05;

bool ReadFile(const QString& path, QByteArray* bytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  *bytes = f.readAll();
  return true;
}

// The drawing imported as the program imports metafiles, saved as a document; it must read back
// and save to the same bytes.
bool AsDocument(const QByteArray& emf, QByteArray* mdl, QString* why) {
  QTemporaryDir temp;
  const QString drawing = temp.filePath(QStringLiteral("clipart.emf"));
  const QString first = temp.filePath(QStringLiteral("a.mdl")),
                second = temp.filePath(QStringLiteral("b.mdl"));
  QFile f(drawing);
  if (!temp.isValid() || !f.open(QIODevice::WriteOnly) || f.write(emf) != emf.size()) {
    *why = QStringLiteral("cannot write a temporary file");
    return false;
  }
  f.close();
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  if (!ImportMetafile(&doc, drawing) || !doc.SaveToFile(first) || !ReadFile(first, mdl)) {
    *why = QStringLiteral("the drawing does not import as a document");
    return false;
  }
  TzunoCADMdl check(nullptr, QRect(0, 0, 100, 100), 100, 100);
  QByteArray again;
  if (!check.LoadFromFile(first) || !check.SaveToFile(second) || !ReadFile(second, &again) || again != *mdl) {
    *why = QStringLiteral("the document does not read back as written");
    return false;
  }
  return true;
}

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Cliparts");
  const QDir sources(context.sources + QStringLiteral("/cliparts"));
  QStringList files;
  QDirIterator it(sources.path(), {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << sources.relativeFilePath(it.next());
  std::sort(files.begin(), files.end());
  if (files.isEmpty()) {
    *error = QStringLiteral("no SVG drawings in %1").arg(sources.path());
    return false;
  }
  qint64 total = 0;
  for (const QString& relative : files) {
    QFile f(sources.filePath(relative));
    if (!f.open(QIODevice::ReadOnly)) {
      *error = QStringLiteral("cannot read %1").arg(relative);
      return false;
    }
    const QByteArray svg = f.readAll();
    content::SvgDrawing drawing;
    QString why;
    if (!content::SvgToEmf(svg, kLongSideMm, &drawing, &why)) {
      *error = QStringLiteral("%1: %2").arg(relative, why);
      return false;
    }
    const QImage reference = content::RasterSvg(svg, 200);
    const double mismatch =
        content::PictureMismatch(reference, content::PlayEmf(drawing.emf, reference.size()));
    if (mismatch > kMaxMismatch) {
      *error = QStringLiteral("%1: the EMF differs from the SVG on %2 % of its pixels")
                   .arg(relative)
                   .arg(mismatch * 100, 0, 'f', 1);
      return false;
    }
    const QString base = root + QLatin1Char('/') + relative.chopped(4);
    QByteArray mdl;
    if (!AsDocument(drawing.emf, &mdl, &why)) {
      *error = QStringLiteral("%1: %2").arg(relative, why);
      return false;
    }
    if (!context.output->Write(base + QStringLiteral(".emf"), drawing.emf, error) ||
        !context.output->Write(base + QStringLiteral(".mdl"), mdl, error))
      return false;
    total += drawing.emf.size() + mdl.size();
  }
  std::printf("cliparts: %d drawings with their documents, %lld bytes\n", int(files.size()), total);
  // Claimed only now: a failed run leaves the previous files in place.
  context.output->Own(root);
  return true;
}

content::Registration r("cliparts", 10, "EMF cliparts converted from the public-domain SVG drawings", Run);

}  // namespace
