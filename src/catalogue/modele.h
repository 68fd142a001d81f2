// What the catalogue shows now: the template or user document whose file is current, described by
// its place in the installation's templates or the user's documents.
#pragma once

#include <QString>

struct TModele {
  QString FileName;        // full path of the ".mdl"; empty when nothing is current
  QString RelativeName;    // FileName without Root
  QString Folder;          // folder of FileName, ending with "/"
  QString Root;            // ModelesPath for a template, DocumentsPath for a user document
  QString RelativeFolder;  // folder part of RelativeName, ending with "/" ("" at the root)
  QString Category;        // RelativeFolder without its final "/" ("CD et DVD/Audio")
  QString Extension;       // ".mdl"
  QString Title;           // file name without folder and extension ("Foret.1")
  bool IsDocument = false;

  // Describes an existing file below UserPath (a user document, root DocumentsPath) or below
  // ModelesPath; anything else, a missing file or "" clears every field.
  void SetFile(const QString& path);
  // The first template of the folder in the catalogue's name order (no subfolders), then forgets
  // the file so that only its folder and category remain; a folder without one clears everything.
  void SetFolder(const QString& folder);
  void Clear() { *this = TModele(); }
};

// The one description the catalogue, the editor and the wizards share.
TModele& CurrentModele();
