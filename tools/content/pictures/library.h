// The picture library of the installation: every picture, the folder under donnees/Images it goes
// to and how to draw it. File names are unique over the whole library, since documents store bare
// names and thumbnails of every folder share one cache folder.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace pictures {

struct Picture {
  QString folder;  // relative to donnees/Images, "/" separated
  QString name;    // file name; ".jpg" pictures are JPEG, ".png" cut-outs keyed on magenta
  std::function<QImage()> draw;
};

using Library = std::vector<Picture>;

void AddBackgrounds(Library& library);
void AddMaterials(Library& library);  // textures and papers
void AddCutouts(Library& library);    // labels, ribbons, border tile sets and photo frames
void AddPhotos(Library& library, const QString& sources);  // sources: tools/content/sources

}  // namespace pictures
