// Verbs about the installation: its check and its language file.
#include "cli/verbs.h"
#include "shell/language.h"
#include "shell/settings.h"

namespace cli {
namespace {

int Check(const QStringList& args, const Context& context) {
  if (!args.isEmpty()) return Usage();
  const QString report = Soft()->CheckInstallation();
  if (report.isEmpty()) {
    Print(QStringLiteral("installation %1: no problem found\n").arg(context.home));
    return kOk;
  }
  QString text = report;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  Print(QStringLiteral("ERREUR : ") + text + QLatin1Char('\n'));
  return kFailed;
}

int Text(const QStringList& args, const Context&) {
  if (args.size() != 1) return Usage();
  bool number = false;
  const int n = args[0].toInt(&number);
  QString text = number ? MLMessage(n) : MLText(args[0]);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  Print(text + QLatin1Char('\n'));
  return kOk;
}

const Registration check("check",
                         "                     the installation check; exit 1 when it finds problems", Check);
const Registration text("text", "N|KEY                message N or the text of KEY in the selected language",
                        Text);

}  // namespace
}  // namespace cli
