// Turns the paths of an enhanced metafile into line objects of a document.
#pragma once

#include <QString>

class TzunoCADMdl;

// The page takes the metafile's frame; each path becomes a line on face 1. False when the file
// (cut at "|") does not exist or is not an enhanced metafile.
bool ImportMetafile(TzunoCADMdl* document, const QString& fileName);
