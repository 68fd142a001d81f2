#include "model/image.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <numbers>
#include <optional>

#include "imagetools/resample.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "render/canvas.h"
#include "render/fit_rect.h"
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
  // A drawing is never turned: settled on reading, so that drawing an untouched document leaves it as
  // read.
  if (MetafilePicture.IsValid()) r = 0;
}

void TzunoCADImage::SetFichierImage(const QString& name) {
  QString n = document_ ? document_->ResoudreFichier(document_->SubstituteFields(this, name)) : name;
  // A file that cannot be found keeps its stored name, so that saving does not lose it.
  if (n.isEmpty()) n = name;
  if (name == FichierImage) return;
  FichierImage = n;
  const QString path = n.section(QLatin1Char('|'), 0, 0);
  if (path.isEmpty() || !QFileInfo::exists(path)) {
    pictureUnreadable_ = false;  // the placeholder, if any, now names a missing file
    return;
  }
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
  pictureFile_.clear();
  pictureReleased_ = false;
  MetafilePicture.Clear();
  Cache = QImage();
  CacheKey.clear();
  if (IsMetafileName(path)) {
    MetafilePicture.Load(path);
    pictureUnreadable_ = !MetafilePicture.IsValid();
    return;
  }
  Picture = LoadPicture(path);
  pictureUnreadable_ = Picture.isNull();
  if (!Picture.isNull()) {
    pictureFile_ = path;
    pictureSize_ = Picture.size();
  }
  CropX1 = CropY1 = CropX2 = CropY2 = 0;
  // A magenta top-left pixel marks a picture whose magenta parts are transparent.
  Transparent = !Picture.isNull() && Picture.pixel(0, 0) == qRgb(255, 0, 255);
  if (Transparent) TransparentColor = clMagenta;
  // Reading a document of many photos would otherwise hold every one decoded until it is drawn.
  ReleaseLargePicture();
}

void TzunoCADImage::SetFichierMasque(const QString& name) {
  QString n = document_ ? document_->ResoudreFichier(document_->SubstituteFields(this, name)) : name;
  if (n.isEmpty()) n = name;
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

void TzunoCADImage::SetPicture(const QImage& picture) {
  Picture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB888);
  pictureFile_.clear();
  pictureReleased_ = false;
  pictureUnreadable_ = false;
  Cache = QImage();
  CacheKey.clear();
}

void TzunoCADImage::RetireSuffixes() {
  FichierImage = FichierImage.section(QLatin1Char('|'), 0, 0);
  FichierMasque = FichierMasque.section(QLatin1Char('|'), 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Drawing

namespace {

int Nearest(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -1000000, 1000000));
}

// Largest picture side the cache may take, against absurd boxes.
constexpr int kMaxCacheSide = 16384;

QImage NewImage(int w, int h, QRgb fill) {
  if (w <= 0 || h <= 0 || w > kMaxCacheSide || h > kMaxCacheSide) return QImage();
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(fill);
  return img;
}

QRgb ToRgb(TColor c) {
  return qRgb(ColorR(c), ColorG(c), ColorB(c));
}

// Nearest-neighbour rotation by `degrees` clockwise onto a background.
QImage Rotate(const QImage& b, double degrees, QRgb background) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360;
  const double t = a * std::numbers::pi / 180, cs = std::cos(t), sn = std::sin(t);
  const int W = b.width(), H = b.height();
  QImage out = NewImage(Nearest(std::fabs(W * cs) + std::fabs(H * sn)),
                        Nearest(std::fabs(W * sn) + std::fabs(H * cs)), background);
  if (out.isNull()) return out;
  const int cxT = out.width() / 2, cyT = out.height() / 2;
  const int cxS = W / 2 - (cs < 0 ? 1 : 0), cyS = H / 2 - (sn < 0 ? 1 : 0);
  for (int j = 0; j < out.height(); ++j) {
    uchar* dst = out.scanLine(j);
    const double dy = j - cyT;
    for (int i = 0; i < out.width(); ++i) {
      const double dx = i - cxT;
      const long long sx = RoundEven(dx * cs - dy * sn) + cxS;
      const long long sy = RoundEven(dx * sn + dy * cs) + cyS;
      if (sx < 0 || sy < 0 || sx >= W || sy >= H) continue;
      const uchar* src = b.constScanLine(static_cast<int>(sy)) + sx * 3;
      dst[i * 3] = src[0];
      dst[i * 3 + 1] = src[1];
      dst[i * 3 + 2] = src[2];
    }
  }
  return out;
}

// Reductions by 2 or more average, so that fine patterns (a screened print, a fabric) become their
// tone rather than moiré; smaller ones pick the nearest pixels and stay sharp. The choice follows the
// picture's own size, not the size a JPEG was decoded at, so a large picture read again smaller
// looks like a small one held whole.
bool Averages(QSize own, QSize target) {
  return own.width() >= 2 * target.width() || own.height() >= 2 * target.height();
}

// What to ask of a JPEG decoder for a picture of size own averaged down to target: a size the
// decoder reaches by halving (1/2, 1/4, 1/8, its fast scales; the others are slower than a whole
// decode) and still at least twice the target, so that the final averaging, not decoding by
// blocks, sets how fine patterns come out. Empty (decode whole) when no halving leaves that much.
QSize DecodeSizeFor(QSize own, QSize target) {
  QSize best;
  for (int d = 2; d <= 8; d *= 2) {
    const QSize scaled((own.width() + d - 1) / d, (own.height() + d - 1) / d);
    if (scaled.width() < 2 * target.width() || scaled.height() < 2 * target.height()) break;
    best = scaled;
  }
  return best;
}

// The picture at the target size; pixels of the key colour stay exact and do not tint their
// neighbours (their filter has no negative lobes, which would lighten the edges). Null when the
// reduction fails.
QImage Reduce(const QImage& source, QSize target, bool average, std::optional<TColor> key) {
  if (source.size() == target) return source.convertToFormat(QImage::Format_RGB888);
  if (!average)
    return source.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB888);
  try {
    QImage out(target, QImage::Format_RGB888);
    if (key)
      StretchKeyed(source, out, ToRgb(*key), kBellFilter, ResampleFilters[kBellFilter].Support);
    else
      Stretch(source, out, kMitchellFilter, ResampleFilters[kMitchellFilter].Support);
    return out;
  } catch (const std::exception&) {
    return QImage();
  }
}

// The picture turned clockwise by quarter turns.
QImage Quarter(const QImage& img, int quarters) {
  if (quarters == 0) return img;
  return img.transformed(QTransform().rotate(90.0 * quarters), Qt::FastTransformation)
      .convertToFormat(QImage::Format_RGB888);
}

}  // namespace

QSize TzunoCADImage::TargetSize() const {
  const int e = std::abs(Nearest(l * document_->PixelsPerMmX)),
            g = std::abs(Nearest(h * document_->PixelsPerMmY));
  const QSize own = PictureSize();
  if (own.width() >= e && own.height() >= g) return QSize(e, g);
  QRect fit;
  if (!FitRect(static_cast<long long>(own.width()) * 100, static_cast<long long>(own.height()) * 100,
               static_cast<long long>(e) * 100, static_cast<long long>(g) * 100, fit))
    return QSize(0, 0);
  return QSize(fit.width() / 100, fit.height() / 100);
}

QString TzunoCADImage::MakeCacheKey(QSize target) const {
  return QString::number(target.width()) + QString::number(target.height()) + WriteReal(r);
}

bool TzunoCADImage::TileCounts(double sx, double sy, int* nx, int* ny) const {
  const double A = Bordure.Width, T = Bordure.Height;
  if (!(A > 0 && T > 0 && sx > 0 && sy > 0)) return false;
  const int wb = Nearest(l * sx), hb = Nearest(h * sy);
  const double cols = std::floor((wb + 1) / (A * sx)), rows = std::floor((hb + 1) / (T * sy));
  if (!(cols < 1000 && rows < 1000)) return false;  // tiles too small to mean anything
  *nx = std::max(2, static_cast<int>(cols));
  *ny = std::max(2, static_cast<int>(rows));
  return true;
}

QImage TzunoCADImage::TileBorder() {
  const double sx = std::fabs(document_->PixelsPerMmX), sy = std::fabs(document_->PixelsPerMmY);
  int nx = 0, ny = 0;
  if (Picture.isNull() || !TileCounts(sx, sy, &nx, &ny)) return QImage();
  const double A = Bordure.Width, T = Bordure.Height;
  // Whole tiles, drawn stretched to the box: the box keeps the size the document gives it.
  QImage b = NewImage(Nearest(nx * A * sx), Nearest(ny * T * sy), qRgb(255, 255, 255));
  if (b.isNull()) return b;
  const int P = Picture.height();
  const QImage corner = Picture.copy(0, 0, std::min(P, Picture.width()), P);
  const QImage edge = Picture.width() > P ? Picture.copy(P, 0, std::min(P, Picture.width() - P), P) : corner;
  QImage tiles[9];
  for (int q = 0; q < 4; ++q) {
    tiles[1 + q] = Quarter(corner, q);
    tiles[5 + q] = Quarter(edge, q);
  }
  TBitmapCanvas c(&b);
  const int C = nx - 1, K = ny - 1, s = Bordure.Style;
  for (int k = 0; k <= K; ++k) {
    for (int col = 0; col <= C; ++col) {
      const bool top = k == 0, bottom = k == K, left = col == 0, right = col == C;
      if (!(top || bottom || left || right)) continue;
      const bool cornerCell = (top || bottom) && (left || right);
      int tile = 0;
      if (s == 0) {
        tile = 1;
      } else if (cornerCell) {
        if (s >= 1 && s <= 3) tile = top ? (left ? 1 : 2) : (right ? 3 : 4);
      } else if (s == 1) {
        tile = top ? 1 : right ? 2 : bottom ? 3 : 4;
      } else if (s == 2 || s == 4) {
        tile = top ? 5 : right ? 6 : bottom ? 7 : 8;
      }
      if (tile == 0 || tiles[tile].isNull()) continue;
      c.StretchDraw(Nearest(col * A * sx), Nearest(k * T * sy), Nearest((col + 1) * A * sx),
                    Nearest((k + 1) * T * sy), tiles[tile]);
    }
  }
  return b;
}

void TzunoCADImage::ApplyMask(QImage& b) const {
  const int W = b.width(), H = b.height();
  const double m = MasqueMarge;
  const int x1 = Nearest(m * W / 200), y1 = Nearest(m * H / 200);
  const int x2 = Nearest(W - m * W / 200), y2 = Nearest(H - m * H / 200);
  QImage first = NewImage(W, H, qRgb(255, 255, 255));
  if (first.isNull()) return;
  {
    TBitmapCanvas c(&first);
    PlayMetafile(MaskMetafile, c, x1, y1, x2, y2);
  }
  int g = static_cast<int>((W + H) / 2.0 * MasqueBordure / 100.0);
  if (MasqueNegatif) g = -g;
  QImage second;
  if (g > 0) {
    second = NewImage(W, H, qRgb(255, 255, 255));
    TBitmapCanvas c(&second);
    PlayMetafile(MaskMetafile, c, x1 + g, y1 + g, x2 - g, y2 - g);
  }
  const uchar band[3] = {static_cast<uchar>(ColorR(MasqueBordureColor)),
                         static_cast<uchar>(ColorG(MasqueBordureColor)),
                         static_cast<uchar>(ColorB(MasqueBordureColor))};
  for (int y = 0; y < H; ++y) {
    uchar* p = b.scanLine(y);
    const uchar* m1 = first.constScanLine(y);
    const uchar* m2 = second.isNull() ? nullptr : second.constScanLine(y);
    for (int x = 0; x < W; ++x, p += 3) {
      const bool white1 = m1[x * 3] == 255 && m1[x * 3 + 1] == 255 && m1[x * 3 + 2] == 255;
      if (white1 != MasqueNegatif) {
        p[0] = 255;
        p[1] = 0;
        p[2] = 255;
      } else if (m2) {
        const bool white2 = m2[x * 3] == 255 && m2[x * 3 + 1] == 255 && m2[x * 3 + 2] == 255;
        if (white2 != MasqueNegatif) std::copy(band, band + 3, p);
      }
    }
  }
}

bool TzunoCADImage::EnsurePicture() {
  if (!Picture.isNull()) return true;
  if (!pictureReleased_) return false;
  QImage again = LoadPicture(pictureFile_);
  // The file changed or went away since: keep what is shown rather than lose the picture.
  if (again.isNull() || again.size() != pictureSize_) return false;
  Picture = again.convertToFormat(QImage::Format_RGB888);
  pictureReleased_ = false;
  return true;
}

void TzunoCADImage::ReleaseLargePicture() {
  if (!pictureFile_.isEmpty() && Picture.sizeInBytes() > kReleaseBytes) {
    Picture = QImage();
    pictureReleased_ = true;
  }
}

void TzunoCADImage::RebuildCache() {
  const bool cropped = CropX1 || CropY1 || CropX2 || CropY2;
  const QSize target = TargetSize();
  // A let-go picture shown whole and averaged down is read again smaller when it is a JPEG, then
  // averaged as a picture held whole would be. Crops and tile borders need the picture itself.
  QImage reduced;
  if (Picture.isNull() && pictureReleased_ && !cropped && !Bordure.Enabled) {
    if (target.isEmpty()) {  // nothing to show: no need to read the file
      Cache = QImage();
      CacheKey.clear();
      return;
    }
    const bool average = Averages(pictureSize_, target);
    reduced = LoadPicture(pictureFile_, average ? DecodeSizeFor(pictureSize_, target) : QSize());
    const QSize own = pictureSize_;
    const bool sameShape = !reduced.isNull() && reduced.width() <= own.width() &&
                           reduced.height() <= own.height() &&
                           std::llabs(static_cast<long long>(reduced.width()) * own.height() -
                                      static_cast<long long>(reduced.height()) * own.width()) <=
                               std::max(own.width(), own.height());
    if (!sameShape) return;  // the file changed or went away: keep what is shown
  } else if (!EnsurePicture()) {
    if (!pictureReleased_) {
      Cache = QImage();
      CacheKey.clear();
    }
    return;
  }
  Cache = QImage();
  CacheKey.clear();
  // A drawing mask cuts the picture to magenta, transparent in the cache only: drawing leaves the
  // object's own transparency (and so the document) as it was.
  const bool masked = MaskMetafile.IsValid();
  const bool transparent = Transparent || masked;
  const TColor keyColour = masked ? clMagenta : TransparentColor;
  QImage b;
  if (Bordure.Enabled) {
    b = TileBorder();
  } else {
    QImage source = reduced.isNull() ? Picture : reduced;
    if (cropped) {
      const int W = Picture.width(), H = Picture.height();
      const QRect crop(QPoint(Nearest(CropX1 * W / 100.0), Nearest(CropY1 * H / 100.0)),
                       QPoint(Nearest(W - CropX2 * W / 100.0) - 1, Nearest(H - CropY2 * H / 100.0) - 1));
      source = crop.isValid() ? Picture.copy(crop) : QImage();
    }
    if (!source.isNull() && target.width() > 0 && target.height() > 0) {
      const QSize own = reduced.isNull() ? source.size() : pictureSize_;
      const std::optional<TColor> key = Transparent ? std::optional(TransparentColor) : std::nullopt;
      b = Reduce(source, target, Averages(own, target), key);
    }
  }
  ReleaseLargePicture();
  if (b.isNull()) return;
  if (masked) ApplyMask(b);
  if (r != 0) {
    const TColor background = transparent ? keyColour : clMagenta;
    Cache = Rotate(b, r, ToRgb(background));
    CacheKeyColor = background;
    CacheTransparent = true;
  } else {
    Cache = b;
    CacheKeyColor = keyColour;
    CacheTransparent = transparent;
  }
  CacheKey = MakeCacheKey(target);
}

void TzunoCADImage::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  TzunoCADMdl* d = document_;
  if (MetafilePicture.IsValid()) {
    r = 0;
    PlayMetafile(MetafilePicture, canvas, d->MmToPxX(x - l / 2), d->MmToPxY(y - h / 2), d->MmToPxX(x + l / 2),
                 d->MmToPxY(y + h / 2));
  } else if (HasPicture()) {
    const double t = r * std::numbers::pi / 180;
    const double hw = (std::fabs(l * std::cos(t)) + std::fabs(h * std::sin(t))) / 2;
    const double hh = (std::fabs(l * std::sin(t)) + std::fabs(h * std::cos(t))) / 2;
    const bool wireframe = Dragging && d->WireframeDrag;
    if (Cache.isNull())
      RebuildCache();
    else if (d->RefreshImages && !wireframe && HitCode <= 0 && MakeCacheKey(TargetSize()) != CacheKey)
      RebuildCache();
    if (wireframe) {
      DrawPlaceholder(canvas, QString());
    } else if (!Cache.isNull()) {
      const int x1 = d->MmToPxX(x - hw), y1 = d->MmToPxY(y - hh), x2 = d->MmToPxX(x + hw),
                y2 = d->MmToPxY(y + hh);
      if (CacheTransparent)
        canvas.StretchDrawTransparent(x1, y1, x2, y2, Cache, CacheKeyColor);
      else
        canvas.StretchDraw(x1, y1, x2, y2, Cache);
    }
  } else if (d->DrawPlaceholders) {
    QString label;
    // The name as the user knows it, without the resolver's suffix.
    const QString shown = FichierImage.section(QLatin1Char('|'), 0, 0);
    if (FichierImage.isEmpty())
      label = HostText(QStringLiteral("CAD_TXT_IMG1"), QStringLiteral("Pas d'image"));
    else if (pictureUnreadable_)
      label = HostText(QStringLiteral("CAD_TXT_IMG3"), QStringLiteral("\"%s\" illisible"))
                  .replace(QLatin1String("%s"), shown);
    else
      label = HostText(QStringLiteral("CAD_TXT_IMG2"), QString::fromUtf8("\"%s\" non trouvé"))
                  .replace(QLatin1String("%s"), shown);
    DrawPlaceholder(canvas, label);
  }
  HandleEnabled[2] = HasPicture();
  TzunoCADRect::Draw(canvas);
}

void TzunoCADImage::ResizeCentered(QPointF p, bool shift) {
  TzunoCADRect::ResizeCentered(p, shift);
  if (!shift) return;
  const QSize own = PictureSize();
  if (HasPicture() && !Bordure.Enabled && own.height() > 0) {
    l = h * own.width() / own.height();
  } else if (MetafilePicture.IsValid() && MetafilePicture.Frame().height() > 0) {
    l = h * MetafilePicture.Frame().width() / MetafilePicture.Frame().height();
  }
}

TzunoCADImage* FindBackgroundImage(const TzunoCADMdl& document) {
  for (const auto& o : document.Objets()) {
    auto* img = dynamic_cast<TzunoCADImage*>(o.get());
    if (img && img->l == document.Large && img->h == document.Haut && img->x == document.Large / 2 &&
        img->y == document.Haut / 2 && img->r == 0 && !img->CanSelect)
      return img;
  }
  return nullptr;
}
