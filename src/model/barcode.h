// EAN-13 barcode with its digits.
#pragma once

#include "model/object.h"

class TzunoCADCodeBarre : public TzunoCADRect {
 public:
  explicit TzunoCADCodeBarre(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  // Always upright, whatever the object's or the document's rotation.
  void Draw(TCanvas& canvas) override;

  QString codebarre = QStringLiteral("5901234123457");
  TColor colorFond = clWhite;
  TColor colorBarre = clBlack;
  bool Transparent = false;
};

// The 95 modules of an EAN-13 code ('1' a bar), guard patterns included; empty unless the code is
// exactly 13 digits. The check digit is encoded as given, right or wrong.
QString Ean13Modules(const QString& code);
