// Tables from arbitrary bytes: loading never fails, the shape stays rectangular, and what is saved
// reads back to the same cells.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "records/csv_table.h"
#include "shell/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList lines;
  DecodeTextLines(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), lines);
  TzunoCSV t;
  t.LoadFromStrings(lines);
  if (t.ColCount() > TzunoCSV::kMaxFields) std::abort();
  if (static_cast<long long>(t.ColCount()) * t.RowCount() > TzunoCSV::kMaxCells) std::abort();
  for (const QStringList& column : t.Cells)
    if (column.size() != t.RowCount()) std::abort();
  if (t.ColCount() > 0 && t.Cell(t.ColCount() - 1, 0).isEmpty()) std::abort();

  TzunoCSV back;
  back.LoadFromStrings(t.SaveToStrings());
  if (back.Cells != t.Cells) std::abort();

  // Look-ups with names and keys taken from the table itself must find a row at or before theirs.
  for (int c = 0; c < t.ColCount() && c < 8; ++c) {
    const int col = t.ColIndex(t.Cell(c, 0));
    if (col < 0 || col > c) std::abort();
    for (int r = 0; r < t.RowCount() && r < 8; ++r) {
      const int row = t.FindRow(c, t.Cell(c, r));
      if (row < 0 || row > r) std::abort();
      (void)t.Lookup(t.Cell(c, 0), t.Cell(0, r));
    }
  }
  if (t.RowCount() > 1) {
    const int rows = t.RowCount();
    t.DeleteRow(static_cast<int>(size % static_cast<size_t>(rows)));
    if (t.RowCount() != rows - 1) std::abort();
  }
  t.SetSize(static_cast<int>(size % 7), static_cast<int>(size % 11));
  for (const QStringList& column : t.Cells)
    if (column.size() != t.RowCount()) std::abort();
  return 0;
}
