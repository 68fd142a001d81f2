#include "print/papers.h"

#include "model/encodings.h"

namespace {

QString LowerAscii(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return out;
}

}  // namespace

bool ContainsTextAscii(const QString& text, const QString& part) {
  return LowerAscii(text).contains(LowerAscii(part));
}

bool TzunoPapiers::Reload() {
  if (FileName.isEmpty()) return false;
  table_.LoadFromFile(FileName);
  return true;
}

// Row 0 names the columns: a value equal to a column name must not find it.
int TzunoPapiers::DataRow(const char* column, const QString& value) const {
  const int col = table_.ColIndex(QString::fromLatin1(column));
  if (col < 0) return -1;
  for (int r = 1; r < table_.RowCount(); ++r)
    if (SameTextAscii(table_.Cell(col, r), value)) return r;
  return -1;
}

void TzunoPapiers::ListPapiers(QStringList& list, const QString& soft) {
  if (!Reload()) return;
  const int cPapier = table_.ColIndex(QStringLiteral("papier"));
  const int cSoft = table_.ColIndex(QStringLiteral("soft"));
  if (cPapier < 0) return;
  for (int r = 1; r < table_.RowCount(); ++r) {
    const QString rowSoft = table_.Cell(cSoft, r);
    if (!soft.isEmpty() && !rowSoft.isEmpty() && !SameTextAscii(rowSoft, soft)) continue;
    const QString papier = table_.Cell(cPapier, r);
    bool known = false;
    for (const QString& s : list) known = known || SameTextAscii(s, papier);
    if (!known) list << papier;
  }
}

void TzunoPapiers::GetPapierInfo(const QString& papier, TPapierInfo& info) {
  info = TPapierInfo();
  if (!Reload()) return;
  const int r = DataRow("papier", papier);
  if (r < 0) return;
  info.nom = table_.Cell(table_.ColIndex(QStringLiteral("nom")), r);
  info.papier = table_.Cell(table_.ColIndex(QStringLiteral("papier")), r);
  info.large = ReadReal(table_.Cell(table_.ColIndex(QStringLiteral("large")), r));
  info.haut = ReadReal(table_.Cell(table_.ColIndex(QStringLiteral("haut")), r));
}

QString TzunoPapiers::NomFromPapier(const QString& papier) {
  if (!Reload()) return QString();
  const int r = DataRow("papier", papier);
  return r < 0 ? QString() : table_.Cell(table_.ColIndex(QStringLiteral("nom")), r);
}

QString TzunoPapiers::PapierFromNom(const QString& nom) {
  if (!Reload()) return QString();
  const int r = DataRow("nom", nom);
  return r < 0 ? QString() : table_.Cell(table_.ColIndex(QStringLiteral("papier")), r);
}
