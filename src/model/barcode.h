// EAN-13 barcode with its digits.
#pragma once

#include "model/object.h"

class TzunoCADCodeBarre : public TzunoCADRect {
 public:
  explicit TzunoCADCodeBarre(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  QString codebarre = QStringLiteral("5901234123457");
  TColor colorFond = clWhite;
  TColor colorBarre = clBlack;
  bool Transparent = false;
};
