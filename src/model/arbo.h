// The content of a folder as an indented tree of names with file-type icons.
#pragma once

#include "model/object.h"

class TzunoCADArbo : public TzunoCADRect {
 public:
  explicit TzunoCADArbo(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  QString Path;  // ends with a separator
  int DepthMax = 2;
  int Column = 1;
  TFont Font;
  int TextSize = 50;
  bool ViewFichier = false;
};

// A path inside one of the user's special folders as "[name]", and back; anything else unchanged.
QString EncodeSpecialFolder(const QString& path);
QString DecodeSpecialFolder(const QString& stored);
