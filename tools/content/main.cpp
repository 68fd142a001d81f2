// lorvane-content: re-creates the generated content of the installation tree.
//   lorvane-content [--data DIR] [--only NAME[,NAME...]] [--list]
// Exit 0 when every generator succeeded, 1 when one failed, 2 on bad arguments.
#include <QDir>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>

#include "common/generator.h"
#include "shell/inifile.h"
#include "shell/session/installation.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: lorvane-content [--data DIR] [--only NAME[,NAME...]] [--list]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The shipped content must come out the same on every machine: only the project's fonts are seen.
  qputenv("FONTCONFIG_FILE", LORVANE_FONTS_CONF);
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString data = QStringLiteral(LORVANE_SOURCE_DATA);
  QStringList only;
  bool list = false;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--data") && i + 1 < args.size()) {
      data = args[++i];
    } else if (args[i] == QLatin1String("--only") && i + 1 < args.size()) {
      only = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (args[i] == QLatin1String("--list")) {
      list = true;
    } else {
      return Usage();
    }
  }
  const auto& generators = content::Generators();
  if (list) {
    for (const auto& g : generators)
      std::printf("%s\t%s\n", qUtf8Printable(g.name), qUtf8Printable(g.description));
    return 0;
  }
  for (const QString& name : only) {
    if (std::none_of(generators.begin(), generators.end(), [&](const auto& g) { return g.name == name; })) {
      std::fprintf(stderr, "lorvane-content: no generator named %s\n", qUtf8Printable(name));
      return 2;
    }
  }
  data = QDir(data).absolutePath();
  content::Output output(data);
  content::Context context{data, data + QStringLiteral("/donnees"), QStringLiteral(LORVANE_CONTENT_SOURCES),
                           &output};
  // Templates are laid out and previewed through the installation as the program opens it, fonts
  // included: drawings and pictures with text depend on the installation's faces only.
  TInstallationOptions options;
  options.ProgramName = QStringLiteral("lorvane-content");
  QString openError;
  const std::unique_ptr<TInstallation> installation = OpenInstallation(data, options, &openError);
  if (!installation) {
    std::fprintf(stderr, "lorvane-content: %s\n", qUtf8Printable(openError));
    return 1;
  }
  int failures = 0;
  for (const auto& g : generators) {
    if (!only.isEmpty() && !only.contains(g.name)) continue;
    // A generator's run is one operation on the settings.
    const TSettingsOperation operation;
    QString error;
    if (!g.run(context, &error)) {
      std::fprintf(stderr, "lorvane-content: %s: %s\n", qUtf8Printable(g.name), qUtf8Printable(error));
      ++failures;
    }
  }
  // After a failure the owned folders may miss files that were not made this time, and a partial
  // run does not know what the other generators write into shared folders: remove nothing then.
  const QStringList removed = failures || !only.isEmpty() ? QStringList() : output.Finish();
  for (const QString& r : removed) std::printf("removed %s\n", qUtf8Printable(r));
  std::printf("%d written, %d unchanged, %d removed\n", output.written(), output.unchanged(),
              int(removed.size()));
  return failures ? 1 : 0;
}
