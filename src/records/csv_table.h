// ";"-separated tables: papers, layouts, formats, supports, saints' days. The first line names the
// columns and is kept as row 0; there is no quoting, so a value never holds ";" or a line break.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QAbstractItemModel;

// Columns of rows: a cell is Cells[column][row]. Every column has the same number of rows.
using TCells = std::vector<QStringList>;

class TzunoCSV {
 public:
  // Fields a line is split into at most; the rest of a longer line is ignored.
  static constexpr int kMaxFields = 1001;
  // A table never holds more cells than this: the lines of a bigger file beyond it are dropped,
  // so a hostile file cannot exhaust memory (real tables hold a few thousand cells).
  static constexpr long long kMaxCells = 4'000'000;

  TzunoCSV() = default;
  // An empty table, then LoadFromFile.
  explicit TzunoCSV(const QString& fileName);

  // Replaces the table by the file's content when the file can be read; otherwise keeps the
  // current content. Answers whether the file was read.
  bool LoadFromFile(const QString& fileName);
  void LoadFromStrings(const QStringList& lines);
  // Rows joined with ";", every line ended by CR LF. The old file is replaced whole or left as it
  // was; answers whether it was written.
  bool SaveToFile(const QString& fileName) const;
  // The lines SaveToFile writes, without their line ends.
  QStringList SaveToStrings() const;

  int ColCount() const { return static_cast<int>(Cells.size()); }
  int RowCount() const { return Cells.empty() ? 0 : static_cast<int>(Cells.front().size()); }
  // Existing cells keep their values, new cells are empty. Without columns there are no rows.
  void SetSize(int cols, int rows);
  void DeleteRow(int row);

  // Searches compare ASCII letters without regard to case and look at the header row too.
  int ColIndex(const QString& name) const;
  int FindRow(int col, const QString& value) const;
  int FindRowBy(const QString& name, const QString& value) const { return FindRow(ColIndex(name), value); }
  // The cell of column `name` on the first row whose first cell is `key`; empty when none.
  QString Lookup(const QString& name, const QString& key) const;

  // A row outside the table gives the empty string; a column outside it leaves `value` alone.
  void GetCell(int col, int row, QString& value) const;
  // The cell's text, empty outside the table.
  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& value);

  // Copies into a grid (columns, rows and sizes) and back. Cells are the grid's display texts.
  void ToGrid(QAbstractItemModel& grid) const;
  void FromGrid(const QAbstractItemModel& grid);

  QString FileName;
  TCells Cells;
};

// Equality ignoring the case of ASCII letters only.
bool SameTextAscii(const QString& a, const QString& b);
