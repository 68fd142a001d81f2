#include "records/csv_table.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include "common/files.h"

namespace {

QStringList Column(const TzunoCSV& t, int c) {
  return t.Cells.at(static_cast<size_t>(c));
}

}  // namespace

// The header fixes the columns; every line gives exactly that many cells.
TEST(CsvTable, HeaderFixesColumnsAndLinesAreCutOrPadded) {
  const struct {
    const char* header;
    int cols;
  } headers[] = {
      {"a;b;;", 2}, {"a;;b", 3}, {"a", 1}, {";;x", 3}, {"a;b; ", 3}, {";;", 0}, {"", 0},
  };
  for (const auto& h : headers) {
    TzunoCSV t;
    t.LoadFromStrings({QString::fromLatin1(h.header), QStringLiteral("1;2;3;4")});
    EXPECT_EQ(t.ColCount(), h.cols) << h.header;
    EXPECT_EQ(t.RowCount(), h.cols == 0 ? 0 : 2) << h.header;
  }

  TzunoCSV t;
  t.LoadFromStrings({QStringLiteral("nom;;prix"), QStringLiteral("a;b;c;d"), QStringLiteral("seul"),
                     QString(), QStringLiteral(" x ; y")});
  ASSERT_EQ(t.ColCount(), 3);
  EXPECT_EQ(Column(t, 0), QStringList({"nom", "a", "seul", "", " x "}));
  EXPECT_EQ(Column(t, 1), QStringList({"", "b", "", "", " y"}));  // fields are not trimmed
  EXPECT_EQ(Column(t, 2), QStringList({"prix", "c", "", "", ""}));
  EXPECT_EQ(t.ColIndex(QString()), 1);  // the empty name of the middle column
}

// A line is cut after its 1001st field, so a longer header still gives 1001 columns.
TEST(CsvTable, LongLinesKeepTheirFirst1001Fields) {
  QStringList names;
  for (int i = 0; i < 1500; ++i) names.append(QStringLiteral("c%1").arg(i));
  TzunoCSV t;
  t.LoadFromStrings({names.join(QLatin1Char(';')), names.join(QLatin1Char(';'))});
  ASSERT_EQ(t.ColCount(), TzunoCSV::kMaxFields);
  EXPECT_EQ(t.Cell(1000, 1), QStringLiteral("c1000"));
  EXPECT_EQ(t.ColIndex(QStringLiteral("c1001")), -1);
}

// A table stops growing at kMaxCells: the lines beyond are dropped instead of exhausting memory.
TEST(CsvTable, HugeTablesStopAtTheCellLimit) {
  QStringList names;
  for (int i = 0; i < TzunoCSV::kMaxFields; ++i) names.append(QStringLiteral("c"));
  QStringList lines{names.join(QLatin1Char(';'))};
  const int limitRows = static_cast<int>(TzunoCSV::kMaxCells / TzunoCSV::kMaxFields);
  for (int i = 0; i < limitRows + 50; ++i) lines.append(QString::number(i));
  TzunoCSV t;
  t.LoadFromStrings(lines);
  EXPECT_EQ(t.RowCount(), limitRows);
  EXPECT_EQ(t.Cell(0, limitRows - 1), QString::number(limitRows - 2));
  t.SetSize(10, 1'000'000'000);
  EXPECT_EQ(t.RowCount(), TzunoCSV::kMaxCells / 10);
}

// CR LF, lone CR and lone LF all end lines; a final break adds no row; an empty line is a row.
TEST(CsvTable, LoadsFilesWithAnyLineEndAndEncoding) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.csv"));
  WriteAll(path, "date;saint\r\n1/1;Marie\r2/1;Basile\n\n14/7;Camille\r\n");
  TzunoCSV t(path);
  EXPECT_EQ(t.FileName, path);
  EXPECT_EQ(Column(t, 0), QStringList({"date", "1/1", "2/1", "", "14/7"}));
  EXPECT_EQ(t.Lookup(QStringLiteral("saint"), QStringLiteral("14/7")), QStringLiteral("Camille"));

  WriteAll(path, "nom;ville\r\nH\xE9l\xE8ne;S\xE8te\r\n");  // Windows-1252
  ASSERT_TRUE(t.LoadFromFile(path));
  EXPECT_EQ(t.Cell(0, 1), QString::fromUtf8("Hélène"));
  WriteAll(path, "\xEF\xBB\xBFnom;ville\r\n\xC5\x81\xC3\xB3\x64\xC5\xBA;x\r\n");  // UTF-8 with BOM
  ASSERT_TRUE(t.LoadFromFile(path));
  EXPECT_EQ(t.Cell(0, 1), QString::fromUtf8("Łódź"));
  EXPECT_EQ(t.ColIndex(QStringLiteral("nom")), 0);  // the mark is not part of the first name
}

// A missing file changes nothing; an empty one, or one whose header names nothing, empties the table.
TEST(CsvTable, MissingFilesKeepTheTableAndEmptyOnesClearIt) {
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("a.csv")), empty = dir.filePath(QStringLiteral("e.csv"));
  WriteAll(a, "papier;large\r\nA4;210\r\n");
  TzunoCSV t(a);
  EXPECT_FALSE(t.LoadFromFile(dir.filePath(QStringLiteral("absent.csv"))));
  EXPECT_FALSE(t.LoadFromFile(dir.path()));  // a folder is not a table
  EXPECT_EQ(t.FileName, a);
  EXPECT_EQ(t.Lookup(QStringLiteral("large"), QStringLiteral("A4")), QStringLiteral("210"));

  for (const QByteArray& bytes : {QByteArray(), QByteArray(";;;\r\nA4;210\r\n"), QByteArray("\r\n")}) {
    WriteAll(empty, bytes);
    TzunoCSV u(a);
    ASSERT_TRUE(u.LoadFromFile(empty));
    EXPECT_EQ(u.FileName, empty);
    EXPECT_EQ(u.ColCount(), 0);
    EXPECT_EQ(u.RowCount(), 0);
    EXPECT_EQ(u.FindRowBy(QStringLiteral("papier"), QStringLiteral("A4")), -1);
    EXPECT_EQ(u.Lookup(QStringLiteral("large"), QStringLiteral("A4")), QString());
  }
  TzunoCSV never(dir.filePath(QStringLiteral("absent.csv")));
  EXPECT_TRUE(never.FileName.isEmpty());
  EXPECT_EQ(never.FindRow(0, QString()), -1);
}

// Searches include the header row and ignore the case of ASCII letters only.
TEST(CsvTable, SearchesAndLookups) {
  TzunoCSV t;
  t.LoadFromStrings({QStringLiteral("papier;Large;papier"), QStringLiteral("A4;210;x"),
                     QString::fromUtf8("été;1;y"), QStringLiteral("a4;99;z")});
  EXPECT_EQ(t.FindRowBy(QStringLiteral("papier"), QStringLiteral("papier")), 0);
  EXPECT_EQ(t.FindRowBy(QStringLiteral("PAPIER"), QStringLiteral("a4")), 1);  // first match wins
  EXPECT_EQ(t.ColIndex(QStringLiteral("LARGE")), 1);
  EXPECT_EQ(t.ColIndex(QStringLiteral("papier")), 0);     // the first of two equal names
  EXPECT_EQ(t.FindRow(0, QString::fromUtf8("ÉTÉ")), -1);  // accented letters keep their case
  EXPECT_EQ(t.FindRow(0, QString::fromUtf8("été")), 2);
  EXPECT_EQ(t.FindRow(0, QStringLiteral("A4 ")), -1);
  for (int col : {-1, 3, 1000}) EXPECT_EQ(t.FindRow(col, QStringLiteral("A4")), -1) << col;
  EXPECT_EQ(t.FindRowBy(QStringLiteral("absent"), QStringLiteral("A4")), -1);
  EXPECT_EQ(t.Lookup(QStringLiteral("large"), QStringLiteral("a4")), QStringLiteral("210"));
  EXPECT_EQ(t.Lookup(QStringLiteral("large"), QStringLiteral("A5")), QString());
  EXPECT_EQ(t.Lookup(QStringLiteral("absent"), QStringLiteral("A4")), QString());
}

TEST(CsvTable, CellAccessOutsideTheTable) {
  TzunoCSV t;
  t.LoadFromStrings({QStringLiteral("a;b"), QStringLiteral("1;2")});
  QString v = QStringLiteral("avant");
  t.GetCell(1, 1, v);
  EXPECT_EQ(v, QStringLiteral("2"));
  v = QStringLiteral("avant");
  t.GetCell(0, 2, v);
  EXPECT_EQ(v, QString());  // row outside: empty
  for (auto [c, r] : {std::pair{2, 0}, {-1, 0}, {5, 99}}) {
    v = QStringLiteral("avant");
    t.GetCell(c, r, v);
    EXPECT_EQ(v, QStringLiteral("avant")) << c;  // column outside: unchanged
  }
  t.SetCell(2, 0, QStringLiteral("x"));
  t.SetCell(0, 2, QStringLiteral("x"));
  t.SetCell(-1, -1, QStringLiteral("x"));
  EXPECT_EQ(t.ColCount(), 2);
  EXPECT_EQ(t.RowCount(), 2);
  t.SetCell(0, 1, QStringLiteral("un"));
  EXPECT_EQ(t.Cell(0, 1), QStringLiteral("un"));
}

TEST(CsvTable, ResizingAndDeletingRows) {
  TzunoCSV t;
  t.LoadFromStrings(
      {QStringLiteral("a;b"), QStringLiteral("1;2"), QStringLiteral("3;4"), QStringLiteral("5;6")});
  t.DeleteRow(1);
  EXPECT_EQ(Column(t, 0), QStringList({"a", "3", "5"}));
  EXPECT_EQ(Column(t, 1), QStringList({"b", "4", "6"}));
  for (int row : {-1, 3, 100}) t.DeleteRow(row);
  EXPECT_EQ(t.RowCount(), 3);

  t.SetSize(3, 4);
  EXPECT_EQ(Column(t, 0), QStringList({"a", "3", "5", ""}));
  EXPECT_EQ(Column(t, 2), QStringList({"", "", "", ""}));
  t.SetSize(1, 2);
  EXPECT_EQ(t.Cells, TCells({{"a", "3"}}));
  t.SetSize(0, 5);
  EXPECT_EQ(t.RowCount(), 0);
  t.SetSize(-3, -3);
  EXPECT_EQ(t.ColCount(), 0);
  t.DeleteRow(0);
}

// Lines are written with ";" between cells and CR LF after each, the last one included; a header
// whose last name is empty loses that column on the next load.
TEST(CsvTable, SavesExactBytesAndReloads) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.csv"));
  TzunoCSV t;
  t.LoadFromStrings({QStringLiteral("nom;;prix"), QString::fromUtf8("café;;2"), QStringLiteral("x")});
  ASSERT_TRUE(t.SaveToFile(path));
  EXPECT_EQ(ReadAll(path), QByteArray("nom;;prix\r\ncaf\xE9;;2\r\nx;;\r\n"));
  TzunoCSV back(path);
  EXPECT_EQ(back.Cells, t.Cells);

  t.SetCell(2, 0, QString());
  ASSERT_TRUE(t.SaveToFile(path));
  EXPECT_EQ(ReadAll(path), QByteArray("nom;;\r\ncaf\xE9;;2\r\nx;;\r\n"));
  back.LoadFromFile(path);
  EXPECT_EQ(back.ColCount(), 1);
  EXPECT_EQ(back.Cells, TCells({{"nom", QString::fromUtf8("café"), "x"}}));

  // A file that cannot be written is reported and the old one stays whole.
  EXPECT_FALSE(t.SaveToFile(dir.filePath(QStringLiteral("absent/t.csv"))));
  TzunoCSV empty;
  ASSERT_TRUE(empty.SaveToFile(path));
  EXPECT_EQ(ReadAll(path), QByteArray());
}

TEST(CsvTable, GridRoundTrip) {
  TzunoCSV t;
  t.LoadFromStrings({QStringLiteral("a;b;c"), QStringLiteral("1;2;3"), QStringLiteral("4;5")});
  QStandardItemModel grid(10, 1);  // bigger and narrower than the table: resized to it
  t.ToGrid(grid);
  ASSERT_EQ(grid.columnCount(), 3);
  ASSERT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(grid.data(grid.index(1, 2)).toString(), QStringLiteral("3"));
  EXPECT_EQ(grid.data(grid.index(2, 2)).toString(), QString());
  grid.setData(grid.index(2, 2), QStringLiteral("6"));
  grid.insertRow(3);
  TzunoCSV u;
  u.FromGrid(grid);
  EXPECT_EQ(u.Cells, TCells({{"a", "1", "4", ""}, {"b", "2", "5", ""}, {"c", "3", "6", ""}}));
}
