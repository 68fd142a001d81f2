// A photo, clipart or drawing in a rotated box, with crop, mask, key colour and tile border.
#pragma once

#include <QImage>

#include "model/encodings.h"
#include "model/object.h"
#include "render/metafile.h"

class TzunoCADImage : public TzunoCADRect {
 public:
  explicit TzunoCADImage(TzunoCADMdl* document);

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;

  // Sets the picture's file; merge fields and the document's resolver apply to the name.
  void SetFichierImage(const QString& name);
  void SetFichierMasque(const QString& name);
  // The editor's "no mask": forgets the mask file and the mask itself.
  void RemoveMask();
  // Replaces the raster picture by a 24-bit copy of the given one (the crop dialog).
  void SetPicture(const QImage& picture);
  // Cuts the resolver's "|" suffix from the stored file names.
  void RetireSuffixes();

  void Draw(TCanvas& canvas) override;
  void ResizeCentered(QPointF p, bool shift) override;
  // Pixel size of the cached picture: the display size, never beyond the picture's own resolution.
  QSize TargetSize() const;
  void RebuildCache();
  // Reads a let-go picture again; call before using Picture directly. False when there is none.
  bool EnsurePicture();
  bool HasPicture() const { return !Picture.isNull() || pictureReleased_; }
  QSize PictureSize() const { return Picture.isNull() && pictureReleased_ ? pictureSize_ : Picture.size(); }
  // The picture's file exists but could not be decoded (the placeholder says so).
  bool PictureUnreadable() const { return pictureUnreadable_; }
  // Pictures above this many bytes are let go after building the cache.
  static constexpr qsizetype kReleaseBytes = 8 * 1024 * 1024;

  QString CacheKey;
  QString FichierImage;
  QString FichierMasque;
  // 24-bit raster picture. A large picture read from a file is let go once its cache is built and
  // read again when the cache must be rebuilt: a page of photos would otherwise hold every photo
  // decoded at full size. HasPicture and PictureSize stay true to it meanwhile.
  QImage Picture;
  TMetafile MetafilePicture;  // or a drawing; never both
  TMetafile MaskMetafile;     // only a drawing mask takes effect
  QImage MaskRaster;
  bool MasqueNegatif = false;
  int MasqueMarge = 0;
  int MasqueBordure = 0;
  TColor MasqueBordureColor = clGray;
  int CropX1 = 0, CropY1 = 0, CropX2 = 0, CropY2 = 0;
  QImage Cache;
  TColor CacheKeyColor = clMagenta;  // transparent colour of the cache
  bool CacheTransparent = false;
  TBordure Bordure;
  bool Transparent = false;
  TColor TransparentColor = clMagenta;

 private:
  void LoadPictureFile(const QString& path);
  void ReleaseLargePicture();
  QString pictureFile_;  // the file Picture was read from; empty for pictures set in memory
  QSize pictureSize_;
  bool pictureReleased_ = false;
  bool pictureUnreadable_ = false;
  QString MakeCacheKey(QSize target) const;
  QImage TileBorder();
  // The whole number (at least 2) of border tiles across and down the box at that resolution.
  bool TileCounts(double pixelsPerMmX, double pixelsPerMmY, int* nx, int* ny) const;
  void ApplyMask(QImage& b) const;
};

// The page's background picture: the image object that covers the whole page, unturned and not
// selectable; null when there is none.
TzunoCADImage* FindBackgroundImage(const TzunoCADMdl& document);

// File name without its folder ("\" or "/"), keeping anything after a "|" suffix.
QString FileNamePart(const QString& path);
