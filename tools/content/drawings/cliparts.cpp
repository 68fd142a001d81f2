// Cliparts: public-domain SVG drawings kept in sources/cliparts/<category>/, turned into EMF drawings
// under donnees/Cliparts/<category>/. Each one is played back and compared with QtSvg's own
// rendering, so a drawing the conversion spoils stops the run.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "common/generator.h"
#include "drawings/svg_to_emf.h"

namespace {

constexpr double kLongSideMm = 100;
// Share of clearly different pixels allowed between the played EMF and QtSvg's picture.
constexpr double kMaxMismatch = 0.05;

bool Run(const content::Context& context, QString* error) {
  const QString root = QStringLiteral("donnees/Cliparts");
  context.output->Own(root);
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
    const double mismatch = content::PictureMismatch(reference, content::PlayEmf(drawing.emf, reference.size()));
    if (mismatch > kMaxMismatch) {
      *error = QStringLiteral("%1: the EMF differs from the SVG on %2 % of its pixels").arg(relative).arg(mismatch * 100, 0, 'f', 1);
      return false;
    }
    const QString target = root + QLatin1Char('/') + relative.chopped(4) + QStringLiteral(".emf");
    if (!context.output->Write(target, drawing.emf, error)) return false;
    total += drawing.emf.size();
  }
  std::printf("cliparts: %d drawings, %lld bytes\n", int(files.size()), total);
  return true;
}

content::Registration r("cliparts", 10, "EMF cliparts converted from the public-domain SVG drawings", Run);

}  // namespace
