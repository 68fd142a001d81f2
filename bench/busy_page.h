// The page the editing benchmarks work on: 120 x 120 mm, 190 small filled boxes in a grid and some
// photos over them.
#pragma once

#include <QImage>

#include "model/document.h"
#include "model/image.h"
#include "model/object.h"

inline void FillBusyPage(TzunoCADMdl& d, const QImage& photo, int photos) {
  d.Large = 120;
  d.Haut = 120;
  for (int i = 0; i < 190; ++i) {
    auto* b = static_cast<TzunoCADRect*>(d.CreateObjet(QStringLiteral("rectangle")));
    b->x = 5 + (i % 19) * 6;
    b->y = 5 + (i / 19) * 11;
    b->l = 5;
    b->h = 8;
    b->Brush = TBrush{RGBColor(40 + i % 200, 120, 200), bsSolid};
  }
  for (int i = 0; i < photos; ++i) {
    auto* img = static_cast<TzunoCADImage*>(d.CreateObjet(QStringLiteral("image")));
    img->SetPicture(photo);
    img->x = 15 + (i % 5) * 22;
    img->y = 30 + (i / 5) * 50;
    img->l = 40;
    img->h = 30;
    img->RebuildCache();
  }
}
