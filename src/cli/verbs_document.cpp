// Verbs that read and write documents.
#include <QFileInfo>
#include <map>

#include "cli/verbs.h"
#include "model/document.h"
#include "model/encodings.h"
#include "shell/session/installation.h"

namespace cli {
namespace {

int Info(const QStringList& args, const Context& context) {
  if (args.size() != 1) return Usage();
  const QString& file = args[0];
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  context.installation->Connect(doc);
  if (!doc.LoadFromFile(file)) return Fail(QStringLiteral("cannot read %1").arg(file));
  QString o;
  o += QStringLiteral("file: ") + QFileInfo(file).absoluteFilePath() + QLatin1Char('\n');
  o += QStringLiteral("page: ") + WriteReal(doc.Large) + QStringLiteral(" x ") + WriteReal(doc.Haut) +
       QStringLiteral(" mm\n");
  o += QStringLiteral("item: ") + QString::number(doc.Gabarit);
  if (doc.Gabarit != 0) o += QLatin1Char(' ') + TzunoCADMdl::GabaritName(doc.Gabarit);
  o += QLatin1Char('\n');
  for (const QString& line : doc.Text()) {
    if (line.isEmpty()) break;
    o += QStringLiteral("header: ") + line + QLatin1Char('\n');
  }
  o += QStringLiteral("objects: ") + QString::number(doc.Count()) + QLatin1Char('\n');
  std::map<int, std::map<QString, int>> perFace;
  for (const auto& obj : doc.Objets()) ++perFace[obj->Face][obj->Name];
  for (const auto& [face, kinds] : perFace) {
    int total = 0;
    QStringList parts;
    for (const auto& [name, count] : kinds) {
      total += count;
      parts << QStringLiteral("%1 %2").arg(name).arg(count);
    }
    o += QStringLiteral("face %1: %2 (%3)\n").arg(face).arg(total).arg(parts.join(QStringLiteral(", ")));
  }
  Print(o);
  return kOk;
}

int Resave(const QStringList& args, const Context& context) {
  if (args.size() != 2) return Usage();
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  context.installation->Connect(doc);
  if (!doc.LoadFromFile(args[0])) return Fail(QStringLiteral("cannot read %1").arg(args[0]));
  if (!doc.SaveToFile(args[1])) return Fail(QStringLiteral("cannot write %1").arg(args[1]));
  return kOk;
}

const Registration info("info",
                        "FILE                 page size, item kind, header lines, objects per face and type",
                        Info);
const Registration resave("resave", "IN OUT             read a document and write it again", Resave);

}  // namespace
}  // namespace cli
