// Generators of the installation content. Each one owns a set of folders or files under data/ and
// re-creates them from our own drawing code and the source files kept in tools/content/sources.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

namespace content {

class Output;

struct Context {
  QString data;     // installation root (holds lorvane.ini and donnees/)
  QString donnees;  // data + "/donnees"
  QString sources;  // tools/content/sources
  Output* output = nullptr;
};

using GeneratorFunction = std::function<bool(const Context& context, QString* error)>;

struct Generator {
  QString name;
  int order = 0;  // lower runs first: pictures and drawings before the templates that use them
  QString description;
  GeneratorFunction run;
};

void Register(const Generator& generator);
const std::vector<Generator>& Generators();

struct Registration {
  Registration(const char* name, int order, const char* description, GeneratorFunction run) {
    Register(Generator{QString::fromUtf8(name), order, QString::fromUtf8(description), std::move(run)});
  }
};

// Every file a generator makes goes through here: the file is written atomically and only when its
// bytes change (unchanged files keep their times, so a second run touches nothing), and the owned
// folders lose every file no generator wrote during the run.
class Output {
 public:
  explicit Output(QString root) : root_(std::move(root)) {}

  // path is relative to the installation root, with "/" separators. Creates the folders.
  bool Write(const QString& path, const QByteArray& bytes, QString* error);
  // Registers a file written by other means (for example by a library's own save) so that the
  // clean-up keeps it.
  void Keep(const QString& path);
  // Folders (relative to the root) whose unwritten files are removed by Finish; subfolders included.
  void Own(const QString& folder);
  QString Absolute(const QString& path) const;
  // Removes stale files from the owned folders; returns the removed relative paths.
  QStringList Finish();

  int written() const { return written_; }
  int unchanged() const { return unchanged_; }

 private:
  QString root_;
  std::set<QString> kept_;
  QStringList owned_;
  int written_ = 0, unchanged_ = 0;
};

}  // namespace content
