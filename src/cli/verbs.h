// Verbs of lorvane-cli. Each verb registers itself from its own source file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TInstallation;

namespace cli {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

struct Context {
  QString home;  // installation folder, empty when not given
  // The open installation; documents get its resolvers through Connect.
  const TInstallation* installation = nullptr;
};

using VerbFunction = std::function<int(const QStringList& args, const Context& context)>;

struct Verb {
  QString name;
  QString usage;  // arguments and a short description, for the usage text
  VerbFunction run;
};

// Adds a verb; used through static Registration objects.
void Register(const Verb& verb);
const std::vector<Verb>& Verbs();

struct Registration {
  Registration(const char* name, const char* usage, VerbFunction run) {
    Register(Verb{QString::fromLatin1(name), QString::fromLatin1(usage), std::move(run)});
  }
};

// Writes "lorvane-cli: message" to stderr and returns kFailed.
int Fail(const QString& message);
// Prints the usage text to stderr and returns kUsage.
int Usage();
// Standard output as UTF-8 text.
void Print(const QString& text);

// Options of the form "--name value" and "--flag" are taken out of args; the rest stays in order.
// Returns false when an option needs a value that is missing.
bool TakeOption(QStringList& args, const QString& name, QString* value);
bool TakeFlag(QStringList& args, const QString& name);

}  // namespace cli
