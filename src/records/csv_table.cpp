#include "records/csv_table.h"

#include <QAbstractItemModel>
#include <algorithm>

#include "shell/textfile.h"

namespace {

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

// The first `limit` fields of a line split at ";" (fields are kept as they stand, not trimmed).
QStringList SplitLine(const QString& line, int limit) {
  QStringList fields;
  if (limit <= 0) return fields;
  qsizetype start = 0;
  for (;;) {
    const qsizetype sep = line.indexOf(QLatin1Char(';'), start);
    if (sep < 0) {
      fields.append(line.mid(start));
      break;
    }
    fields.append(line.mid(start, sep - start));
    if (fields.size() >= limit) break;
    start = sep + 1;
  }
  return fields;
}

}  // namespace

bool SameTextAscii(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  const char16_t* p = reinterpret_cast<const char16_t*>(a.constData());
  const char16_t* q = reinterpret_cast<const char16_t*>(b.constData());
  for (qsizetype i = 0; i < a.size(); ++i)
    if (p[i] != q[i] && LowerAscii(p[i]) != LowerAscii(q[i])) return false;
  return true;
}

TzunoCSV::TzunoCSV(const QString& fileName) {
  LoadFromFile(fileName);
}

bool TzunoCSV::LoadFromFile(const QString& fileName) {
  QStringList lines;
  if (!ReadTextFile(fileName, lines)) return false;
  LoadFromStrings(lines);
  FileName = fileName;
  return true;
}

void TzunoCSV::LoadFromStrings(const QStringList& lines) {
  Cells.clear();
  if (lines.isEmpty()) return;
  // The header fixes the columns: up to its last non-empty field. A header with no name at all
  // gives a table without columns, so every look-up misses.
  const QStringList header = SplitLine(lines.front(), kMaxFields);
  int cols = 0;
  for (int i = static_cast<int>(header.size()); i > 0; --i)
    if (!header[i - 1].isEmpty()) {
      cols = i;
      break;
    }
  if (cols == 0) return;
  const qsizetype rows = std::min<qsizetype>(lines.size(), kMaxCells / cols);
  Cells.assign(static_cast<size_t>(cols), QStringList());
  for (QStringList& column : Cells) column.resize(rows);
  for (qsizetype r = 0; r < rows; ++r) {
    const QStringList fields = SplitLine(lines[r], cols);
    for (qsizetype c = 0; c < fields.size(); ++c) Cells[static_cast<size_t>(c)][r] = fields[c];
  }
}

bool TzunoCSV::SaveToFile(const QString& fileName) const {
  return WriteTextFile(fileName, SaveToStrings());
}

QStringList TzunoCSV::SaveToStrings() const {
  QStringList lines;
  const int rows = RowCount();
  lines.reserve(rows);
  for (int r = 0; r < rows; ++r) {
    QString line;
    for (int c = 0; c < ColCount(); ++c) {
      if (c > 0) line += QLatin1Char(';');
      line += Cell(c, r);
    }
    lines.append(line);
  }
  return lines;
}

void TzunoCSV::SetSize(int cols, int rows) {
  cols = std::clamp<long long>(cols, 0, kMaxCells);
  rows = cols == 0 ? 0 : std::clamp<long long>(rows, 0, kMaxCells / cols);
  Cells.resize(static_cast<size_t>(cols));
  for (QStringList& column : Cells) column.resize(rows);
}

void TzunoCSV::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  for (QStringList& column : Cells)
    if (row < column.size()) column.removeAt(row);
}

int TzunoCSV::ColIndex(const QString& name) const {
  for (int c = 0; c < ColCount(); ++c)
    if (!Cells[static_cast<size_t>(c)].isEmpty() &&
        SameTextAscii(Cells[static_cast<size_t>(c)].front(), name))
      return c;
  return -1;
}

int TzunoCSV::FindRow(int col, const QString& value) const {
  if (col < 0 || col >= ColCount()) return -1;
  const QStringList& column = Cells[static_cast<size_t>(col)];
  for (qsizetype r = 0; r < column.size(); ++r)
    if (SameTextAscii(column[r], value)) return static_cast<int>(r);
  return -1;
}

QString TzunoCSV::Lookup(const QString& name, const QString& key) const {
  const int col = ColIndex(name);
  if (col < 0) return QString();
  return Cell(col, FindRow(0, key));
}

void TzunoCSV::GetCell(int col, int row, QString& value) const {
  if (col < 0 || col >= ColCount()) return;
  value = Cell(col, row);
}

QString TzunoCSV::Cell(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0) return QString();
  const QStringList& column = Cells[static_cast<size_t>(col)];
  return row < column.size() ? column[row] : QString();
}

void TzunoCSV::SetCell(int col, int row, const QString& value) {
  if (col < 0 || col >= ColCount() || row < 0) return;
  QStringList& column = Cells[static_cast<size_t>(col)];
  if (row < column.size()) column[row] = value;
}

void TzunoCSV::ToGrid(QAbstractItemModel& grid) const {
  const int cols = ColCount(), rows = RowCount();
  auto fit = [](int have, int want, auto insert, auto remove) {
    if (have < want)
      insert(have, want - have);
    else if (have > want)
      remove(want, have - want);
  };
  fit(
      grid.columnCount(), cols, [&](int at, int n) { grid.insertColumns(at, n); },
      [&](int at, int n) { grid.removeColumns(at, n); });
  fit(
      grid.rowCount(), rows, [&](int at, int n) { grid.insertRows(at, n); },
      [&](int at, int n) { grid.removeRows(at, n); });
  for (int c = 0; c < std::min(cols, grid.columnCount()); ++c)
    for (int r = 0; r < std::min(rows, grid.rowCount()); ++r)
      grid.setData(grid.index(r, c), Cell(c, r), Qt::EditRole);
}

void TzunoCSV::FromGrid(const QAbstractItemModel& grid) {
  Cells.clear();
  SetSize(grid.columnCount(), grid.rowCount());
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r)
      Cells[static_cast<size_t>(c)][r] = grid.data(grid.index(r, c), Qt::DisplayRole).toString();
}
