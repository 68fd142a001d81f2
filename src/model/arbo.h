// The content of a folder as an indented tree of names with file-type icons.
#pragma once

#include <QImage>
#include <vector>

#include "model/object.h"

class QCollator;

class TzunoCADArbo : public TzunoCADRect {
 public:
  explicit TzunoCADArbo(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  void Draw(TCanvas& canvas) override;
  // Lists the folder again from the disk.
  void Rebuild();

  struct Entry {
    int Depth;
    QString Name;
    int Icon;
  };
  static constexpr int kMaxEntries = 1001;
  std::vector<QImage> Icons;  // 32 x 32, one per file-type key
  QStringList IconKeys;       // upper-case extension with its dot, "" for folders
  std::vector<Entry> Entries;
  double LineWidth = 1000;  // thousandths of a row unit
  double RowUnit = 1;       // pixels, a sixteenth of a row

  QString Path;  // ends with a separator
  int DepthMax = 2;
  int Column = 1;
  TFont Font;
  int TextSize = 50;
  bool ViewFichier = false;

 private:
  void List(const QString& folder, int level, const QCollator& collator);
  void AddEntry(const QString& path, const QString& name, int level, bool folder);
};

// A 32 x 32 picture of a file type: the icon theme's icon for the file's type, or a drawn one.
QImage FileTypeIcon(const QString& path, bool folder);

// A path inside one of the user's special folders as "[name]", and back; anything else unchanged.
QString EncodeSpecialFolder(const QString& path);
QString DecodeSpecialFolder(const QString& stored);
