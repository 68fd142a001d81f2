// The papers table: sheet sizes by paper identifier. The file is read again by every call, so edits
// made by the format editor are seen at once.
#pragma once

#include <QString>
#include <QStringList>

#include "records/csv_table.h"

struct TPapierInfo {
  QString nom;       // display name
  QString papier;    // identifier, the key of layouts and calibration
  double large = 0;  // mm
  double haut = 0;   // mm
};

class TzunoPapiers {
 public:
  // Appends, in table order, the identifier of every paper offered to edition `soft` (a paper whose
  // edition cell is empty or equals it; every paper when `soft` is empty), skipping identifiers
  // already in the list.
  void ListPapiers(QStringList& list, const QString& soft);
  // The first data row with that identifier; empty names and zero sizes when none.
  void GetPapierInfo(const QString& papier, TPapierInfo& info);
  QString NomFromPapier(const QString& papier);
  QString PapierFromNom(const QString& nom);

  // Empty: every operation does nothing. A missing file keeps what was last read.
  QString FileName;

 private:
  bool Reload();
  int DataRow(const char* column, const QString& value) const;
  TzunoCSV table_;
};

// Case-insensitive (ASCII letters) substring test.
bool ContainsTextAscii(const QString& text, const QString& part);
