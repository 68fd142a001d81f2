// Contacts from arbitrary bytes: reading never fails, every card line is one "key=value" line of a
// known key within the card's value limit, and photos stay within theirs.
#include <QByteArray>
#include <QSet>
#include <cstdint>
#include <cstdlib>

#include "records/vcard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QSet<QString> keys = {
      "Civilité", "Nom",     "Prénom", "Adresse",     "Code",    "Ville",    "Pays",       "Tél",
      "Portable", "Fax",     "Email",  "Web",         "Société", "Fonction", "AdressePRO", "CodePRO",
      "VillePRO", "PaysPRO", "TélPRO", "PortablePRO", "FaxPRO",  "EmailPRO", "WebPRO"};
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const TVCardImport in = ReadVCards(bytes, 50);
  if (in.Contacts.size() > 50) std::abort();
  for (const TVCardContact& c : in.Contacts) {
    if (c.Value(QStringLiteral("Nom")).isEmpty() && c.Value(QStringLiteral("Prénom")).isEmpty()) std::abort();
    if (c.Photo.size() > TVCardLimits::kMaxPhotoBytes) std::abort();
    QSet<QString> seen;
    for (const QString& line : c.Lines) {
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      if (eq <= 0 || !keys.contains(line.left(eq)) || seen.contains(line.left(eq))) std::abort();
      seen.insert(line.left(eq));
      const QString value = line.mid(eq + 1);
      if (value.isEmpty() || value.size() > TVCardLimits::kMaxValueChars) std::abort();
      for (QChar ch : value)
        if (ch.unicode() < 0x20) std::abort();
    }
  }
  return 0;
}
