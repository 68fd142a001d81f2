// Where an address card's pictures live.
#pragma once

#include <QString>

// The file name of a card's picture in the user folder: the card's display name and " logo.bmp"
// or " photo.bmp". A "/" or "\\" of the name becomes "_", so a name never points outside the folder.
QString CardPictureName(const QString& displayName, bool logo);
