// Lookup answers from arbitrary bytes, through the component as if a server had sent them: the first
// byte says query or read answer and which match to choose. Every answer ends in a status text, at
// most 100 matches are offered, and entry lines never hold a line break.
#include <QByteArray>
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "online/cddb.h"
#include "online/cddb_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  const bool read = data[0] & 1;
  const int choice = int(data[0] >> 1) - 8;
  const QByteArray body(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

  // One component for the whole run, as a window keeps one; each answer starts from its own state.
  static TCddb cddb;
  cddb.Cancel();
  int statuses = 0;
  cddb.OnStatusMessage = [&](QObject*, const QString&) { ++statuses; };
  cddb.OnMatch = [&](QObject*, const QStringList& matches, int& right) {
    if (matches.isEmpty() || matches.size() > 100) std::abort();
    right = choice;
  };
  cddb.HandleAnswer(body, read);
  if (statuses == 0) std::abort();
  for (const QString& line : cddb.Entry())
    if (line.contains('\n')) std::abort();
  if (cddb.WaitingForRead() && read) std::abort();

  const TCddbAnswer answer = ParseCddbAnswer(body);
  if (answer.Code >= 1000) std::abort();
  for (const QString& line : answer.Body) (void)ParseCddbMatch(line);
  return 0;
}
