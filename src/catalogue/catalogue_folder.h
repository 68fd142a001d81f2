// The catalogue's file rules, without windows: which templates a folder shows, a template's sheet
// variants, stepping through a folder, deleting templates, and the user's albums.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <array>

// The templates a folder shows, in the catalogue's name order, full paths. When `gabarit` is given
// and the folder holds a file ending ".1.mdl", only the variants k whose (*gabarit)[k-1] is on
// (files ending "." + k + ".mdl") are listed and *gabaritCase becomes true; otherwise every ".mdl"
// of the folder (no subfolders). A missing folder gives an empty list.
QStringList CatalogueTemplates(const QString& folder, const std::array<bool, 6>* gabarit = nullptr,
                               bool* gabaritCase = nullptr);

// The sheet variants of a template given by its preview or template file ("a.2.jpg" or "a.2.mdl"):
// for k from 1 to 6 the template base + "." + k + ".mdl" of the same folder, when it exists. Each
// entry is the variant's ".mdl" path.
QStringList SheetVariants(const QString& file);

// The template `step` places after `current` (-1 before) among the ".mdl" files of its folder in the
// catalogue's name order, wrapping around at both ends; "" when the folder holds none. A current file
// no longer listed counts as being before the first.
QString NeighbourTemplate(const QString& current, int step);

// Deletes a template and its preview (beside it and in the per-user cache). True when the template
// is gone afterwards.
bool DeleteTemplate(const QString& modele);

// Renames the album folder `oldName` of documentsPath (ending "/") to `newName`. False, changing
// nothing, when the new name is empty, holds a path separator, is "." or "..", names an existing
// file or folder, or the move fails.
bool RenameAlbum(const QString& documentsPath, const QString& oldName, const QString& newName);

// Deletes the ".mdl", ".jpg" and ".db" files of the album (no subfolders), then removes its folder,
// which stays when other files remain. True when the folder is gone.
bool DeleteAlbum(const QString& documentsPath, const QString& name);

// The largest picture of a page of w x h mm at 150 pixels per inch (each side rounded to the nearest
// integer), as the catalogue saves a document as a picture.
QSize PictureSize150(double largeMm, double hautMm);
