#include "model/barcode.h"

#include "model/encodings.h"

TzunoCADCodeBarre::TzunoCADCodeBarre(TzunoCADMdl* document) : TzunoCADRect(document) {
  HandleEnabled[2] = false;
}

QStringList TzunoCADCodeBarre::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"codebarre", codebarre);
  PropAdd(p, u"colorBarre", WriteColorRGB(colorBarre));
  PropAdd(p, u"colorFond", WriteColorRGB(colorFond));
  PropAdd(p, u"Transparent", WriteBool(Transparent));
  return p;
}

void TzunoCADCodeBarre::SetProperties(const QStringList& list) {
  codebarre = PropValue(list, u"codebarre");
  colorBarre = ReadColorRGB(PropValue(list, u"colorBarre"));
  colorFond = ReadColorRGB(PropValue(list, u"colorFond"));
  Transparent = ReadBool(PropValue(list, u"Transparent"));
  TzunoCADRect::SetProperties(list);
}
