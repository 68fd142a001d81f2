// Thumbnails of photos, cliparts and metafiles, cached as small JPEG files beside each other in a
// folder chosen by the caller, so that a folder of pictures opens without decoding photographs.
#pragma once

#include <QImage>
#include <QString>

// The thumbnail's file for `file` in `folder`: the file's name with its extension replaced by
// "_thumb.jpg" (photo.png gives photo_thumb.jpg, and so does photo.bmp).
QString ThumbPath(const QString& file, const QString& folder);

// The thumbnail of `file` as a 24-bit picture, null when the file is no picture we can read.
// PNG, JPEG and BMP (chosen by the extension) are fitted into W x H keeping their aspect, with a
// magenta top-left pixel making magenta white; anything else is read as a metafile and stretched
// over exactly W x H. Resampling uses the Mitchell filter.
QImage ThumbPicture(const QString& file, int W, int H);

// Writes ThumbPicture (file, W, H) as a JPEG to ThumbPath (file, folder) and returns that path in
// every case; callers test whether the file exists. `written`, when given, tells whether it was
// written by this call. Never throws.
QString MakeThumb(const QString& file, const QString& folder, int W, int H, bool* written = nullptr);
