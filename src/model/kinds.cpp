#include "model/kinds.h"

#include "model/document.h"

const char* const kObjectTypeNames[14] = {"rect",         "rectangle", "texte", "image", "groupe",
                                          "perforatrice", "tampon",    "cadre", "cal",   "forme",
                                          "codebarre",    "arbo",      "ligne", "repere"};

std::unique_ptr<TzunoCADObj> MakeObjectKind(TzunoCADMdl* d, const QString& n) {
  std::unique_ptr<TzunoCADObj> o;
  if (n == QLatin1String("rect"))
    o = std::make_unique<TzunoCADRect>(d);
  else if (n == QLatin1String("rectangle"))
    o = std::make_unique<TzunoCADRectangle>(d);
  else if (n == QLatin1String("texte"))
    o = std::make_unique<TzunoCADTexte>(d);
  else if (n == QLatin1String("image"))
    o = std::make_unique<TzunoCADImage>(d);
  else if (n == QLatin1String("groupe"))
    o = std::make_unique<TzunoCADGroup>(d);
  else if (n == QLatin1String("perforatrice"))
    o = std::make_unique<TzunoCADPerforatrice>(d);
  else if (n == QLatin1String("tampon"))
    o = std::make_unique<TzunoCADTampon>(d);
  else if (n == QLatin1String("cadre"))
    o = std::make_unique<TzunoCADCadre>(d);
  else if (n == QLatin1String("cal"))
    o = std::make_unique<TzunoCADCal>(d);
  else if (n == QLatin1String("forme"))
    o = std::make_unique<TzunoCADForme>(d);
  else if (n == QLatin1String("codebarre"))
    o = std::make_unique<TzunoCADCodeBarre>(d);
  else if (n == QLatin1String("arbo"))
    o = std::make_unique<TzunoCADArbo>(d);
  else if (n == QLatin1String("ligne"))
    o = std::make_unique<TzunoCADLigne>(d);
  else if (n == QLatin1String("repere"))
    o = std::make_unique<TzunoCADRepere>(d);
  else
    return nullptr;
  o->Name = n;
  if (o->IsBox() && n != QLatin1String("rect")) {
    auto* b = static_cast<TzunoCADRect*>(o.get());
    b->x = d->Large / 2;
    b->y = d->Haut / 2;
    if (b->l == 0) b->l = 1;
    if (b->h == 0) b->h = 1;
  }
  return o;
}
