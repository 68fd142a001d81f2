// lorvane-cli: the headless tool that drives documents from the command line.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "model/document.h"
#include "model/encodings.h"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

QTextStream& Out() {
  static QTextStream s(stdout);
  return s;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "lorvane-cli: %s\n", message.toLocal8Bit().constData());
  return kFailed;
}

int Usage() {
  std::fprintf(stderr,
               "usage: lorvane-cli [--home DIR] VERB ...\n"
               "verbs:\n"
               "  info FILE          page size, item kind, header keys, objects per face and type\n"
               "  resave IN OUT      read a document and write it again\n");
  return kUsage;
}

int Info(const QString& file) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  if (!doc.LoadFromFile(file)) return Fail(QStringLiteral("cannot read %1").arg(file));
  QTextStream& o = Out();
  o << "file: " << QFileInfo(file).absoluteFilePath() << '\n';
  o << "page: " << WriteReal(doc.Large) << " x " << WriteReal(doc.Haut) << " mm\n";
  o << "item: " << doc.Gabarit;
  if (doc.Gabarit != 0) o << ' ' << TzunoCADMdl::GabaritName(doc.Gabarit);
  o << '\n';
  for (const QString& line : doc.Text()) {
    if (line.isEmpty()) break;
    o << "header: " << line << '\n';
  }
  o << "objects: " << doc.Count() << '\n';
  std::map<int, std::map<QString, int>> perFace;
  for (const auto& obj : doc.Objets()) ++perFace[obj->Face][obj->Name];
  for (const auto& [face, kinds] : perFace) {
    int total = 0;
    QStringList parts;
    for (const auto& [name, count] : kinds) {
      total += count;
      parts << QStringLiteral("%1 %2").arg(name).arg(count);
    }
    o << "face " << face << ": " << total << " (" << parts.join(QStringLiteral(", ")) << ")\n";
  }
  o.flush();
  return kOk;
}

int Resave(const QString& in, const QString& out) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
  if (!doc.LoadFromFile(in)) return Fail(QStringLiteral("cannot read %1").arg(in));
  if (!doc.SaveToFile(out)) return Fail(QStringLiteral("cannot write %1").arg(out));
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  // A command-line tool never needs a display; fonts are measured off-screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt warns on every start without one; a private folder of our own keeps stderr for real errors.
    const QString dir = QDir::tempPath() + QStringLiteral("/lorvane-runtime-") + QString::number(getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
  }
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  SetDecimalSeparator(QLatin1Char(','));

  QString home;
  if (!args.isEmpty() && args.first() == QLatin1String("--home")) {
    if (args.size() < 2) return Usage();
    home = args[1];
    args = args.mid(2);
    if (!QFileInfo(home).isDir()) return Fail(QStringLiteral("no installation folder %1").arg(home));
  }
  if (args.isEmpty()) return Usage();
  const QString verb = args.takeFirst();
  if (verb == QLatin1String("info") && args.size() == 1) return Info(args[0]);
  if (verb == QLatin1String("resave") && args.size() == 2) return Resave(args[0], args[1]);
  return Usage();
}
