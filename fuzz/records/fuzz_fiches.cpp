// Card files from arbitrary bytes: reading never fails, every card keeps key=value lines within the
// value limit, and what is saved reads back to the same cards.
#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "records/fiches.h"
#include "shell/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList lines;
  DecodeTextLines(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), lines);
  TzunoFiches f;
  TFichesLoad load;
  f.LoadFromStrings(lines, &load);
  if (load.Cards != f.Count()) std::abort();
  QStringList all;
  for (int i = 0; i < f.Count(); ++i) {
    const TzunoFiche* card = f.Item(i);
    for (const QString& line : card->Lines()) {
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      if (eq <= 0 || line.size() - eq - 1 > TzunoFiches::kMaxValue || line.size() == eq + 1) std::abort();
      // The first line of a key is what the card answers for it.
      if (card->Value(QStringView(line).left(eq)).isEmpty()) std::abort();
    }
    all << QStringLiteral("[x]") << card->Lines();
  }
  TzunoFiches back;
  back.LoadFromStrings(all);
  if (back.Count() != f.Count()) std::abort();
  for (int i = 0; i < f.Count(); ++i)
    if (back.Item(i)->Lines() != f.Item(i)->Lines()) std::abort();
  if (f.Count() > 0) {
    // Adding and removing keep the collection whole and the current card inside it.
    f.SetCurrent(static_cast<int>(size % static_cast<size_t>(f.Count())));
    const int at = f.Ajoute(f.Item(0)->Value(f.CleNom), QStringLiteral("x"));
    if (at < 0 || at >= f.Count() || f.Current() < 0 || f.Current() >= f.Count()) std::abort();
    f.Supprime(f.Current());
    if (f.Current() < 0 || f.Current() >= f.Count()) std::abort();
    (void)f.Champ(QStringLiteral("NomPre"));
  }
  return 0;
}
