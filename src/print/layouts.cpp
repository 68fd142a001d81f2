#include "print/layouts.h"

#include <QFileInfo>
#include <cmath>

#include "model/encodings.h"

QString TzunoGabarits::Cell(const char* column, int row) const {
  return table_.Cell(table_.ColIndex(QString::fromLatin1(column)), row);
}

bool TzunoGabarits::Passes(int row, const QString& papier, const QString& marque, const QString& gabarit,
                           const QString& soft) const {
  if (!papier.isEmpty() && !SameTextAscii(Cell("papier", row), papier)) return false;
  if (!marque.isEmpty() && !SameTextAscii(Cell("marque", row), marque)) return false;
  if (!gabarit.isEmpty() && !SameTextAscii(Cell("gabarit", row), gabarit)) return false;
  if (soft.isEmpty()) return true;
  const QString rowSoft = Cell("soft", row);
  return rowSoft.isEmpty() || ContainsTextAscii(rowSoft, soft);
}

void TzunoGabarits::ListMarques(QStringList& list, const QString& papier, const QString& gabarit,
                                const QString& soft) {
  if (!FileName.isEmpty()) table_.LoadFromFile(FileName);
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (!Passes(r, papier, QString(), gabarit, soft)) continue;
    const QString marque = Cell("marque", r);
    if (marque.isEmpty()) continue;
    bool known = false;
    for (const QString& s : list) known = known || SameTextAscii(s, marque);
    if (!known) list << marque;
  }
}

void TzunoGabarits::ListFormats(QStringList& list, const QString& papier, const QString& marque,
                                const QString& gabarit, const QString& soft) {
  if (!FileName.isEmpty()) table_.LoadFromFile(FileName);
  for (int r = 1; r < table_.RowCount(); ++r)
    if (Passes(r, papier, marque, gabarit, soft)) list << Cell("nom", r);
}

void TzunoGabarits::Fill(int r, TGabaritInfo& info) const {
  info.x0 = ReadReal(Cell("x0", r));
  info.y0 = ReadReal(Cell("y0", r));
  info.interx = ReadReal(Cell("interx", r));
  info.intery = ReadReal(Cell("intery", r));
  info.large = ReadReal(Cell("large", r));
  info.haut = ReadReal(Cell("haut", r));
  info.nbrex = ReadInt(Cell("nbrex", r));
  info.nbrey = ReadInt(Cell("nbrey", r));
  info.rectoverso = ReadBool(Cell("rectoverso", r));
  info.orientation = ReadInt(Cell("orientation", r));
  info.gabarit = Cell("gabarit", r);
  info.soft = Cell("soft", r);
  info.nom = Cell("nom", r);
  info.marque = Cell("marque", r);
  info.papier = Cell("papier", r);
}

QList<TGabaritInfo> TzunoGabarits::Rows() {
  QList<TGabaritInfo> rows;
  if (FileName.isEmpty() || !QFileInfo(FileName).isFile() || !table_.LoadFromFile(FileName)) return rows;
  rows.resize(std::max(table_.RowCount() - 1, 0));
  for (int r = 1; r < table_.RowCount(); ++r) Fill(r, rows[r - 1]);
  return rows;
}

void TzunoGabarits::GetGabaritInfo(const QString& nom, TGabaritInfo& info) {
  LastName = nom;
  info.nbrex = 0;
  info.nbrey = 0;
  bool found = false;
  if (!nom.isEmpty() && !FileName.isEmpty() && QFileInfo(FileName).isFile() &&
      table_.LoadFromFile(FileName)) {
    const int cNom = table_.ColIndex(QStringLiteral("nom"));
    for (int r = 1; cNom >= 0 && r < table_.RowCount(); ++r) {
      if (!SameTextAscii(table_.Cell(cNom, r), nom)) continue;
      Fill(r, info);
      found = true;
      break;
    }
  }
  // Only a layout just read is mirrored: mirroring stale values again would flip them back.
  if (found && Face == 2) {
    const double w = Paper ? Paper->large : 0;
    info.x0 = w - info.nbrex * info.large - (info.nbrex - 1) * info.interx - info.x0;
  }
}

QString LayoutProblem(const TGabaritInfo& g) {
  const QString name =
      g.nom.isEmpty() ? QStringLiteral("the layout") : QStringLiteral("the layout %1").arg(g.nom);
  if (g.nbrex < 1 || g.nbrey < 1)
    return QStringLiteral("%1 has %2 x %3 cells").arg(name).arg(g.nbrex).arg(g.nbrey);
  if (!(std::isfinite(g.large) && std::isfinite(g.haut) && g.large > 0 && g.haut > 0))
    return QStringLiteral("%1 has cells of %2 x %3 mm").arg(name, WriteReal(g.large), WriteReal(g.haut));
  for (double v : {g.x0, g.y0, g.interx, g.intery})
    if (!std::isfinite(v)) return QStringLiteral("%1 holds a position that is not a number").arg(name);
  return QString();
}
