// lorvane-cli: the headless tool that drives documents from the command line.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include "cli/verbs.h"
#include "model/encodings.h"
#include "shell/inifile.h"
#include "shell/session/installation.h"

namespace cli {

std::vector<Verb>& VerbTable() {
  static std::vector<Verb> table;
  return table;
}

void Register(const Verb& verb) {
  VerbTable().push_back(verb);
}
const std::vector<Verb>& Verbs() {
  return VerbTable();
}

int Fail(const QString& message) {
  std::fprintf(stderr, "lorvane-cli: %s\n", message.toLocal8Bit().constData());
  return kFailed;
}

int Usage() {
  QString text = QStringLiteral("usage: lorvane-cli [--home DIR] VERB ...\nverbs:\n");
  std::vector<Verb> sorted = Verbs();
  std::sort(sorted.begin(), sorted.end(), [](const Verb& a, const Verb& b) { return a.name < b.name; });
  for (const Verb& v : sorted) text += QStringLiteral("  %1 %2\n").arg(v.name, v.usage);
  std::fputs(text.toLocal8Bit().constData(), stderr);
  return kUsage;
}

void Print(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stdout);
  std::fflush(stdout);
}

bool TakeOption(QStringList& args, const QString& name, QString* value) {
  const qsizetype i = args.indexOf(name);
  if (i < 0) return true;
  if (i + 1 >= args.size()) return false;
  *value = args[i + 1];
  args.remove(i, 2);
  return true;
}

bool TakeFlag(QStringList& args, const QString& name) {
  return args.removeAll(name) > 0;
}

}  // namespace cli

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

  cli::Context context;
  if (!args.isEmpty() && args.first() == QLatin1String("--home")) {
    if (args.size() < 2) return cli::Usage();
    context.home = args[1];
    args = args.mid(2);
    if (!QFileInfo(context.home).isDir())
      return cli::Fail(QStringLiteral("no installation folder %1").arg(context.home));
  }
  if (args.isEmpty()) return cli::Usage();
  context.home = FindHome(context.home);
  // The tool opens its installation as the program does; its questions go to standard error.
  TInstallationOptions options;
  options.Arguments = args;
  options.ProgramName = QStringLiteral("lorvane-cli");
  QString error;
  const std::unique_ptr<TInstallation> installation = OpenInstallation(context.home, options, &error);
  if (!installation) return cli::Fail(error);
  context.installation = installation.get();
  const QString verb = args.takeFirst();
  // One command is one operation: the settings files are looked at once, not for every object.
  const TSettingsOperation operation;
  for (const cli::Verb& v : cli::Verbs())
    if (v.name == verb) return v.run(args, context);
  return cli::Usage();
}
