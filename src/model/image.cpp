#include "model/image.h"

#include <QFileInfo>

#include "model/document.h"
#include "render/picture_io.h"

QString FileNamePart(const QString& path) {
  const qsizetype bar = path.indexOf(QLatin1Char('|'));
  const QStringView file = bar < 0 ? QStringView(path) : QStringView(path).left(bar);
  qsizetype cut = -1;
  for (qsizetype i = 0; i < file.size(); ++i)
    if (file[i] == QLatin1Char('\\') || file[i] == QLatin1Char('/') || file[i] == QLatin1Char(':')) cut = i;
  return path.mid(cut + 1);
}

TzunoCADImage::TzunoCADImage(TzunoCADMdl* document) : TzunoCADRect(document) {}

QStringList TzunoCADImage::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  if (!FichierImage.isEmpty()) PropAdd(p, u"FichierImage", FileNamePart(FichierImage));
  if (!FichierMasque.isEmpty()) PropAdd(p, u"FichierMasque", FileNamePart(FichierMasque));
  PropAdd(p, u"Bordure", WriteBordure(Bordure));
  if (Transparent) PropAdd(p, u"Transparent", QStringLiteral("1"));
  PropAdd(p, u"TransparentColor", WriteColorRGB(TransparentColor));
  if (MasqueNegatif) PropAdd(p, u"MasqueNegatif", QStringLiteral("1"));
  if (MasqueMarge != 0) PropAdd(p, u"MasqueMarge", WriteInt(MasqueMarge));
  if (MasqueBordure != 0) PropAdd(p, u"MasqueBordure", WriteInt(MasqueBordure));
  if (MasqueBordureColor != clMagenta) PropAdd(p, u"MasqueBordureColor", WriteColorRGB(MasqueBordureColor));
  if (CropX1 != 0) PropAdd(p, u"CropX1", WriteInt(CropX1));
  if (CropY1 != 0) PropAdd(p, u"CropY1", WriteInt(CropY1));
  if (CropX2 != 0) PropAdd(p, u"CropX2", WriteInt(CropX2));
  if (CropY2 != 0) PropAdd(p, u"CropY2", WriteInt(CropY2));
  return p;
}

void TzunoCADImage::SetProperties(const QStringList& list) {
  SetFichierImage(PropValue(list, u"FichierImage"));
  SetFichierMasque(PropValue(list, u"FichierMasque"));
  Bordure = ReadBordure(PropValue(list, u"Bordure"));
  Transparent = ReadBool(PropValue(list, u"Transparent"));
  QString v;
  TransparentColor = PropFind(list, u"TransparentColor", &v) ? ReadColorRGB(v) : clMagenta;
  MasqueBordureColor = PropFind(list, u"MasqueBordureColor", &v) ? ReadColorRGB(v) : clMagenta;
  MasqueNegatif = ReadBool(PropValue(list, u"MasqueNegatif"));
  MasqueMarge = ReadInt(PropValue(list, u"MasqueMarge"));
  MasqueBordure = ReadInt(PropValue(list, u"MasqueBordure"));
  // Crop values follow the picture load, which resets them.
  CropX1 = ReadInt(PropValue(list, u"CropX1"));
  CropY1 = ReadInt(PropValue(list, u"CropY1"));
  CropX2 = ReadInt(PropValue(list, u"CropX2"));
  CropY2 = ReadInt(PropValue(list, u"CropY2"));
  TzunoCADRect::SetProperties(list);
}

void TzunoCADImage::SetFichierImage(const QString& name) {
  const QString n = document_ ? document_->ResoudreFichier(document_->SubstituteFields(this, name)) : name;
  if (name == FichierImage) return;
  FichierImage = n;
  const QString path = n.section(QLatin1Char('|'), 0, 0);
  if (path.isEmpty() || !QFileInfo::exists(path)) return;
  LoadPictureFile(path);
}

namespace {
bool IsMetafileName(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toUpper();
  return ext == QLatin1String("WMF") || ext == QLatin1String("EMF");
}
}  // namespace

void TzunoCADImage::LoadPictureFile(const QString& path) {
  Picture = QImage();
  MetafilePicture.Clear();
  Cache = QImage();
  CacheKey.clear();
  if (IsMetafileName(path)) {
    MetafilePicture.Load(path);
    return;
  }
  Picture = LoadPicture(path);
  CropX1 = CropY1 = CropX2 = CropY2 = 0;
  // A magenta top-left pixel marks a picture whose magenta parts are transparent.
  Transparent = !Picture.isNull() && Picture.pixel(0, 0) == qRgb(255, 0, 255);
  if (Transparent) TransparentColor = clMagenta;
}

void TzunoCADImage::SetFichierMasque(const QString& name) {
  const QString n = document_ ? document_->ResoudreFichier(document_->SubstituteFields(this, name)) : name;
  if (n != FichierMasque) FichierMasque = n;
  const QString path = n.section(QLatin1Char('|'), 0, 0);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return;
  MaskRaster = QImage();
  Cache = QImage();
  CacheKey.clear();
  if (IsMetafileName(path)) {
    TMetafile m;
    if (m.Load(path)) MaskMetafile = m;
  } else {
    MaskRaster = LoadPicture(path);
  }
}

void TzunoCADImage::RemoveMask() {
  SetFichierMasque(QString());
  Cache = QImage();
  CacheKey.clear();
  MaskMetafile.Clear();
  MaskRaster = QImage();
}

void TzunoCADImage::RetireSuffixes() {
  FichierImage = FichierImage.section(QLatin1Char('|'), 0, 0);
  FichierMasque = FichierMasque.section(QLatin1Char('|'), 0, 0);
}
