#include "render/metafile.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "render/canvas.h"

namespace {

constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qint64 kMaxFileSize = 512ll << 20;

uint16_t Le16(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

const char* const kEmfNames[] = {
    nullptr,
    "EMR_HEADER",
    "EMR_POLYBEZIER",
    "EMR_POLYGON",
    "EMR_POLYLINE",
    "EMR_POLYBEZIERTO",
    "EMR_POLYLINETO",
    "EMR_POLYPOLYLINE",
    "EMR_POLYPOLYGON",
    "EMR_SETWINDOWEXTEX",
    "EMR_SETWINDOWORGEX",
    "EMR_SETVIEWPORTEXTEX",
    "EMR_SETVIEWPORTORGEX",
    "EMR_SETBRUSHORGEX",
    "EMR_EOF",
    "EMR_SETPIXELV",
    "EMR_SETMAPPERFLAGS",
    "EMR_SETMAPMODE",
    "EMR_SETBKMODE",
    "EMR_SETPOLYFILLMODE",
    "EMR_SETROP2",
    "EMR_SETSTRETCHBLTMODE",
    "EMR_SETTEXTALIGN",
    "EMR_SETCOLORADJUSTMENT",
    "EMR_SETTEXTCOLOR",
    "EMR_SETBKCOLOR",
    "EMR_OFFSETCLIPRGN",
    "EMR_MOVETOEX",
    "EMR_SETMETARGN",
    "EMR_EXCLUDECLIPRECT",
    "EMR_INTERSECTCLIPRECT",
    "EMR_SCALEVIEWPORTEXTEX",
    "EMR_SCALEWINDOWEXTEX",
    "EMR_SAVEDC",
    "EMR_RESTOREDC",
    "EMR_SETWORLDTRANSFORM",
    "EMR_MODIFYWORLDTRANSFORM",
    "EMR_SELECTOBJECT",
    "EMR_CREATEPEN",
    "EMR_CREATEBRUSHINDIRECT",
    "EMR_DELETEOBJECT",
    "EMR_ANGLEARC",
    "EMR_ELLIPSE",
    "EMR_RECTANGLE",
    "EMR_ROUNDRECT",
    "EMR_ARC",
    "EMR_CHORD",
    "EMR_PIE",
    "EMR_SELECTPALETTE",
    "EMR_CREATEPALETTE",
    "EMR_SETPALETTEENTRIES",
    "EMR_RESIZEPALETTE",
    "EMR_REALIZEPALETTE",
    "EMR_EXTFLOODFILL",
    "EMR_LINETO",
    "EMR_ARCTO",
    "EMR_POLYDRAW",
    "EMR_SETARCDIRECTION",
    "EMR_SETMITERLIMIT",
    "EMR_BEGINPATH",
    "EMR_ENDPATH",
    "EMR_CLOSEFIGURE",
    "EMR_FILLPATH",
    "EMR_STROKEANDFILLPATH",
    "EMR_STROKEPATH",
    "EMR_FLATTENPATH",
    "EMR_WIDENPATH",
    "EMR_SELECTCLIPPATH",
    "EMR_ABORTPATH",
    nullptr,
    "EMR_GDICOMMENT",
    "EMR_FILLRGN",
    "EMR_FRAMERGN",
    "EMR_INVERTRGN",
    "EMR_PAINTRGN",
    "EMR_EXTSELECTCLIPRGN",
    "EMR_BITBLT",
    "EMR_STRETCHBLT",
    "EMR_MASKBLT",
    "EMR_PLGBLT",
    "EMR_SETDIBITSTODEVICE",
    "EMR_STRETCHDIBITS",
    "EMR_EXTCREATEFONTINDIRECTW",
    "EMR_EXTTEXTOUTA",
    "EMR_EXTTEXTOUTW",
    "EMR_POLYBEZIER16",
    "EMR_POLYGON16",
    "EMR_POLYLINE16",
    "EMR_POLYBEZIERTO16",
    "EMR_POLYLINETO16",
    "EMR_POLYPOLYLINE16",
    "EMR_POLYPOLYGON16",
    "EMR_POLYDRAW16",
    "EMR_CREATEMONOBRUSH",
    "EMR_CREATEDIBPATTERNBRUSHPT",
    "EMR_EXTCREATEPEN",
    "EMR_POLYTEXTOUTA",
    "EMR_POLYTEXTOUTW",
    "EMR_SETICMMODE",
    "EMR_CREATECOLORSPACE",
    "EMR_SETCOLORSPACE",
    "EMR_DELETECOLORSPACE",
    "EMR_GLSRECORD",
    "EMR_GLSBOUNDEDRECORD",
    "EMR_PIXELFORMAT",
    "EMR_DRAWESCAPE",
    "EMR_EXTESCAPE",
    nullptr,
    "EMR_SMALLTEXTOUT",
    "EMR_FORCEUFIMAPPING",
    "EMR_NAMEDESCAPE",
    "EMR_COLORCORRECTPALETTE",
    "EMR_SETICMPROFILEA",
    "EMR_SETICMPROFILEW",
    "EMR_ALPHABLEND",
    "EMR_SETLAYOUT",
    "EMR_TRANSPARENTBLT",
    nullptr,
    "EMR_GRADIENTFILL",
    "EMR_SETLINKEDUFIS",
    "EMR_SETTEXTJUSTIFICATION",
    "EMR_COLORMATCHTOTARGETW",
    "EMR_CREATECOLORSPACEW",
};

const QHash<uint32_t, const char*>& WmfNames() {
  static const QHash<uint32_t, const char*> names = {
      {0x0000, "META_EOF"},
      {0x001E, "META_SAVEDC"},
      {0x0035, "META_REALIZEPALETTE"},
      {0x0037, "META_SETPALENTRIES"},
      {0x0102, "META_SETBKMODE"},
      {0x0103, "META_SETMAPMODE"},
      {0x0104, "META_SETROP2"},
      {0x0105, "META_SETRELABS"},
      {0x0106, "META_SETPOLYFILLMODE"},
      {0x0107, "META_SETSTRETCHBLTMODE"},
      {0x0108, "META_SETTEXTCHAREXTRA"},
      {0x0127, "META_RESTOREDC"},
      {0x012A, "META_INVERTREGION"},
      {0x012B, "META_PAINTREGION"},
      {0x012C, "META_SELECTCLIPREGION"},
      {0x012D, "META_SELECTOBJECT"},
      {0x012E, "META_SETTEXTALIGN"},
      {0x0139, "META_RESIZEPALETTE"},
      {0x0142, "META_DIBCREATEPATTERNBRUSH"},
      {0x014C, "META_SETLAYOUT"},
      {0x01F0, "META_DELETEOBJECT"},
      {0x01F9, "META_CREATEPATTERNBRUSH"},
      {0x0201, "META_SETBKCOLOR"},
      {0x0209, "META_SETTEXTCOLOR"},
      {0x020A, "META_SETTEXTJUSTIFICATION"},
      {0x020B, "META_SETWINDOWORG"},
      {0x020C, "META_SETWINDOWEXT"},
      {0x020D, "META_SETVIEWPORTORG"},
      {0x020E, "META_SETVIEWPORTEXT"},
      {0x020F, "META_OFFSETWINDOWORG"},
      {0x0211, "META_OFFSETVIEWPORTORG"},
      {0x0213, "META_LINETO"},
      {0x0214, "META_MOVETO"},
      {0x0220, "META_OFFSETCLIPRGN"},
      {0x0228, "META_FILLREGION"},
      {0x0231, "META_SETMAPPERFLAGS"},
      {0x0234, "META_SELECTPALETTE"},
      {0x02FA, "META_CREATEPENINDIRECT"},
      {0x02FB, "META_CREATEFONTINDIRECT"},
      {0x02FC, "META_CREATEBRUSHINDIRECT"},
      {0x0324, "META_POLYGON"},
      {0x0325, "META_POLYLINE"},
      {0x0410, "META_SCALEWINDOWEXT"},
      {0x0412, "META_SCALEVIEWPORTEXT"},
      {0x0415, "META_EXCLUDECLIPRECT"},
      {0x0416, "META_INTERSECTCLIPRECT"},
      {0x0418, "META_ELLIPSE"},
      {0x0419, "META_FLOODFILL"},
      {0x0429, "META_FRAMEREGION"},
      {0x0436, "META_ANIMATEPALETTE"},
      {0x041B, "META_RECTANGLE"},
      {0x041F, "META_SETPIXEL"},
      {0x0521, "META_TEXTOUT"},
      {0x0538, "META_POLYPOLYGON"},
      {0x0548, "META_EXTFLOODFILL"},
      {0x061C, "META_ROUNDRECT"},
      {0x061D, "META_PATBLT"},
      {0x0626, "META_ESCAPE"},
      {0x06FF, "META_CREATEREGION"},
      {0x0817, "META_ARC"},
      {0x081A, "META_PIE"},
      {0x0830, "META_CHORD"},
      {0x0922, "META_BITBLT"},
      {0x0940, "META_DIBBITBLT"},
      {0x0A32, "META_EXTTEXTOUT"},
      {0x0B23, "META_STRETCHBLT"},
      {0x0B41, "META_DIBSTRETCHBLT"},
      {0x0D33, "META_SETDIBTODEV"},
      {0x0F43, "META_STRETCHDIB"},
      {0x00F7, "META_CREATEPALETTE"},
  };
  return names;
}

QRect RectFromEdges(int l, int t, int r, int b) {
  return QRect(QPoint(l, t), QPoint(r, b));
}

// UTF-16 text of `chars` code units at a byte offset of the record, stopping at a terminating zero.
QString Utf16At(const TMetafileRecord& r, uint32_t offset, uint32_t chars) {
  if (!r.Has(offset, uint64_t(chars) * 2)) return {};
  QString s;
  s.reserve(int(chars));
  for (uint32_t i = 0; i < chars; ++i) {
    const uint16_t c = r.U16(offset + 2 * i);
    s.append(QChar(c));
  }
  return s;
}

}  // namespace

// --- records ---------------------------------------------------------------------------------------

uint8_t TMetafileRecord::U8(uint32_t offset) const {
  return Has(offset, 1) ? Params[offset] : 0;
}
uint16_t TMetafileRecord::U16(uint32_t offset) const {
  return Has(offset, 2) ? Le16(Params + offset) : 0;
}
uint32_t TMetafileRecord::U32(uint32_t offset) const {
  return Has(offset, 4) ? Le32(Params + offset) : 0;
}
float TMetafileRecord::F32(uint32_t offset) const {
  const uint32_t bits = U32(offset);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

QString MetafileRecordName(TMetafileKind kind, uint32_t type) {
  if (kind == TMetafileKind::Wmf) {
    auto it = WmfNames().constFind(type);
    if (it != WmfNames().constEnd()) return QString::fromLatin1(*it);
    return QStringLiteral("META_#%1").arg(type, 4, 16, QLatin1Char('0'));
  }
  if (type < std::size(kEmfNames) && kEmfNames[type]) return QString::fromLatin1(kEmfNames[type]);
  return QStringLiteral("EMR_#%1").arg(type);
}

// --- typed EMF views -------------------------------------------------------------------------------
// Parameter offsets below are from the end of the 8-byte type/size prefix.

std::optional<TEmfHeader> ReadEmfHeader(const TMetafileRecord& r) {
  if (r.Type != EMR_HEADER || !r.Has(0, 80) || r.U32(32) != kEmfSignature) return std::nullopt;
  TEmfHeader h;
  h.Bounds = RectFromEdges(r.I32(0), r.I32(4), r.I32(8), r.I32(12));
  h.Frame = RectFromEdges(r.I32(16), r.I32(20), r.I32(24), r.I32(28));
  h.Version = r.U32(36);
  h.Bytes = r.U32(40);
  h.RecordCount = r.U32(44);
  h.Handles = r.U16(48);
  const uint32_t descChars = r.U32(52), descOffset = r.U32(56);
  h.DevicePixels = QSize(r.I32(64), r.I32(68));
  h.DeviceMillimetres = QSize(r.I32(72), r.I32(76));
  if (descChars > 0 && descOffset >= 8 && descChars < (1u << 20))
    h.Description = Utf16At(r, descOffset - 8, descChars);
  return h;
}

std::optional<QPoint> ReadEmfPoint(const TMetafileRecord& r) {
  switch (r.Type) {
    case EMR_MOVETOEX:
    case EMR_LINETO:
    case EMR_SETWINDOWORGEX:
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETBRUSHORGEX:
      break;
    default:
      return std::nullopt;
  }
  if (!r.Has(0, 8)) return std::nullopt;
  return QPoint(r.I32(0), r.I32(4));
}

std::optional<std::vector<QPoint>> ReadEmfPolyPoints(const TMetafileRecord& r) {
  bool small;
  switch (r.Type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
      small = false;
      break;
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
      small = true;
      break;
    default:
      return std::nullopt;
  }
  const uint32_t count = r.U32(16);
  const uint32_t each = small ? 4 : 8;
  if (!r.Has(20, uint64_t(count) * each)) return std::nullopt;
  std::vector<QPoint> pts(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = 20 + i * each;
    pts[i] = small ? QPoint(r.I16(at), r.I16(at + 2)) : QPoint(r.I32(at), r.I32(at + 4));
  }
  return pts;
}

std::optional<TEmfPolyPoly> ReadEmfPolyPoly(const TMetafileRecord& r) {
  bool small;
  switch (r.Type) {
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
      small = false;
      break;
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
      small = true;
      break;
    default:
      return std::nullopt;
  }
  const uint32_t polys = r.U32(16), total = r.U32(20);
  const uint32_t each = small ? 4 : 8;
  if (!r.Has(24, uint64_t(polys) * 4)) return std::nullopt;
  const uint64_t pointsAt = 24 + uint64_t(polys) * 4;
  if (!r.Has(pointsAt, uint64_t(total) * each)) return std::nullopt;
  TEmfPolyPoly pp;
  uint64_t sum = 0;
  for (uint32_t i = 0; i < polys; ++i) {
    const uint32_t c = r.U32(24 + 4 * i);
    sum += c;
    if (sum > total) return std::nullopt;
    pp.Counts.push_back(int(c));
  }
  pp.Points.resize(total);
  for (uint32_t i = 0; i < total; ++i) {
    const uint32_t at = uint32_t(pointsAt) + i * each;
    pp.Points[i] = small ? QPoint(r.I16(at), r.I16(at + 2)) : QPoint(r.I32(at), r.I32(at + 4));
  }
  return pp;
}

std::optional<TEmfPen> ReadEmfCreatePen(const TMetafileRecord& r) {
  TEmfPen p;
  if (r.Type == EMR_CREATEPEN) {
    if (!r.Has(0, 20)) return std::nullopt;
    p.Handle = r.U32(0);
    p.Style = r.U32(4);
    p.Width = r.I32(8);
    p.Color = r.U32(16) & 0xFFFFFF;
    return p;
  }
  if (r.Type == EMR_EXTCREATEPEN) {
    if (!r.Has(0, 44)) return std::nullopt;
    p.Handle = r.U32(0);
    p.Style = r.U32(20);
    p.Width = int(std::min<uint32_t>(r.U32(24), 0x7FFFFFFF));
    p.BrushStyle = r.U32(28);
    p.Color = r.U32(32) & 0xFFFFFF;
    p.Hatch = r.U32(36);
    const uint32_t n = r.U32(40);
    if (n > 0 && n <= 16 && r.Has(44, uint64_t(n) * 4))
      for (uint32_t i = 0; i < n; ++i) p.Dashes.push_back(r.U32(44 + 4 * i));
    return p;
  }
  return std::nullopt;
}

std::optional<TEmfBrush> ReadEmfCreateBrush(const TMetafileRecord& r) {
  if (r.Type != EMR_CREATEBRUSHINDIRECT || !r.Has(0, 16)) return std::nullopt;
  TEmfBrush b;
  b.Handle = r.U32(0);
  b.Style = r.U32(4);
  b.Color = r.U32(8) & 0xFFFFFF;
  b.Hatch = r.U32(12);
  return b;
}

std::optional<TEmfFont> ReadEmfCreateFont(const TMetafileRecord& r) {
  if (r.Type != EMR_EXTCREATEFONTINDIRECTW || !r.Has(0, 4 + 28)) return std::nullopt;
  TEmfFont f;
  f.Handle = r.U32(0);
  f.Font.Height = r.I32(4);
  f.Font.Width = r.I32(8);
  f.Font.Escapement = r.I32(12);
  f.Font.Orientation = r.I32(16);
  f.Font.Weight = r.I32(20);
  f.Font.Italic = r.U8(24) != 0;
  f.Font.Underline = r.U8(25) != 0;
  f.Font.StrikeOut = r.U8(26) != 0;
  f.Font.CharSet = r.U8(27);
  const uint32_t avail = std::min<uint32_t>(32, r.ParamSize > 32 ? (r.ParamSize - 32) / 2 : 0);
  QString face = Utf16At(r, 32, avail);
  const int nul = face.indexOf(QChar(0));
  f.Font.FaceName = nul >= 0 ? face.left(nul) : face;
  return f;
}

std::optional<TEmfText> ReadEmfText(const TMetafileRecord& r) {
  const bool wide = r.Type == EMR_EXTTEXTOUTW;
  if ((!wide && r.Type != EMR_EXTTEXTOUTA) || !r.Has(0, 48)) return std::nullopt;
  TEmfText t;
  t.Reference = QPoint(r.I32(28), r.I32(32));
  const uint32_t chars = r.U32(36), offString = r.U32(40);
  t.Options = r.U32(44);
  t.Left = r.I32(48), t.Top = r.I32(52), t.Right = r.I32(56), t.Bottom = r.I32(60);
  const uint32_t offDx = r.U32(64);
  if (chars > (1u << 20) || offString < 8) return std::nullopt;
  const uint32_t at = offString - 8;
  if (wide) {
    if (!r.Has(at, uint64_t(chars) * 2)) return std::nullopt;
    t.Text = Utf16At(r, at, chars);
  } else {
    if (!r.Has(at, chars)) return std::nullopt;
    t.Text = QString::fromLatin1(reinterpret_cast<const char*>(r.Params + at), int(chars));
  }
  if (offDx >= 8 && r.Has(offDx - 8, uint64_t(chars) * 4)) {
    // ETO_PDY (0x2000) stores an x and a y advance per character.
    const bool pdy = t.Options & 0x2000;
    if (!pdy || r.Has(offDx - 8, uint64_t(chars) * 8))
      for (uint32_t i = 0; i < chars; ++i) t.Dx.push_back(r.I32(offDx - 8 + (pdy ? 8 : 4) * i));
  }
  return t;
}

// --- metafile --------------------------------------------------------------------------------------

bool TMetafile::Load(const QString& fileName) {
  Clear();
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFileSize) return false;
  return LoadFromData(f.readAll());
}

bool TMetafile::LoadFromData(const QByteArray& data) {
  Clear();
  data_ = std::make_shared<const QByteArray>(data);
  if (ParseEmf() || ParseWmf()) return true;
  Clear();
  return false;
}

void TMetafile::Clear() {
  data_.reset();
  kind_ = TMetafileKind::None;
  records_.clear();
  frame_ = bounds_ = wmfWindow_ = QRect();
  emfHeader_ = TEmfHeader();
  wmfPlaceable_ = false;
}

QByteArray TMetafile::Data() const {
  return data_ ? *data_ : QByteArray();
}

void TMetafile::Enumerate(const std::function<bool(const TMetafileRecord&)>& visit) const {
  for (const TMetafileRecord& r : records_)
    if (!visit(r)) return;
}

QSize TMetafile::Size() const {
  if (kind_ == TMetafileKind::None) return QSize();
  // The frame is inclusive in 0.01 mm; 2540 hundredths of a millimetre per inch.
  return QSize(int(std::lround((int64_t(frame_.right()) - frame_.left()) * 96.0 / 2540)),
               int(std::lround((int64_t(frame_.bottom()) - frame_.top()) * 96.0 / 2540)));
}

bool TMetafile::ParseEmf() {
  const auto* base = reinterpret_cast<const uint8_t*>(data_->constData());
  const uint32_t size = uint32_t(data_->size());
  if (size < 88 || Le32(base) != EMR_HEADER) return false;
  uint32_t at = 0;
  while (at + 8 <= size) {
    const uint32_t type = Le32(base + at), len = Le32(base + at + 4);
    if (len < 8 || len > size - at) break;  // a truncated last record ends the file
    TMetafileRecord r;
    r.Type = type;
    r.Offset = at;
    r.Size = len;
    r.Params = base + at + 8;
    r.ParamSize = len - 8;
    records_.push_back(r);
    at += len;
    if (type == EMR_EOF) break;
  }
  if (records_.empty()) return false;
  auto header = ReadEmfHeader(records_.front());
  if (!header) {
    records_.clear();
    return false;
  }
  emfHeader_ = *header;
  bounds_ = header->Bounds;
  frame_ = header->Frame;
  kind_ = TMetafileKind::Emf;
  return true;
}

bool TMetafile::ParseWmf() {
  const auto* base = reinterpret_cast<const uint8_t*>(data_->constData());
  const uint32_t size = uint32_t(data_->size());
  uint32_t at = 0;
  int inch = 0;
  if (size >= 22 && Le32(base) == kPlaceableKey) {
    const auto s16 = [&](uint32_t o) { return int(int16_t(Le16(base + o))); };
    const int l = s16(6), t = s16(8), r = s16(10), b = s16(12);
    wmfWindow_ = QRect(std::min(l, r), std::min(t, b), std::abs(r - l), std::abs(b - t));
    inch = Le16(base + 14);
    wmfPlaceable_ = true;
    at = 22;
  }
  if (size < at + 18) return false;
  const uint16_t type = Le16(base + at), headerWords = Le16(base + at + 2);
  if ((type != 1 && type != 2) || headerWords != 9) return false;
  at += 18;
  while (at + 6 <= size) {
    const uint32_t words = Le32(base + at);
    const uint16_t function = Le16(base + at + 4);
    if (words < 3 || words > (size - at) / 2) break;
    TMetafileRecord r;
    r.Type = function;
    r.Offset = at;
    r.Size = words * 2;
    r.Params = base + at + 6;
    r.ParamSize = words * 2 - 6;
    records_.push_back(r);
    at += words * 2;
    if (function == 0) break;
  }
  if (!wmfPlaceable_) {
    // Without a placeable header the picture is what the first window origin and extent say.
    QPoint org;
    QSize ext;
    for (const TMetafileRecord& r : records_) {
      if (r.Type == 0x020B && r.Has(0, 4)) org = QPoint(r.I16(2), r.I16(0));
      if (r.Type == 0x020C && r.Has(0, 4)) {
        ext = QSize(r.I16(2), r.I16(0));
        break;
      }
    }
    if (ext.width() != 0 && ext.height() != 0)
      wmfWindow_ = QRect(org, QSize(std::abs(ext.width()), std::abs(ext.height())));
  }
  kind_ = TMetafileKind::Wmf;
  bounds_ = wmfWindow_;
  if (wmfPlaceable_ && inch > 0) {
    frame_ = QRect(0, 0, int(std::lround(wmfWindow_.width() * 2540.0 / inch)) + 1,
                   int(std::lround(wmfWindow_.height() * 2540.0 / inch)) + 1);
  } else if (!wmfWindow_.isEmpty()) {
    // Logical units taken as pixels at 96 per inch.
    frame_ = QRect(0, 0, int(std::lround(wmfWindow_.width() * 2540.0 / 96)) + 1,
                   int(std::lround(wmfWindow_.height() * 2540.0 / 96)) + 1);
  }
  return true;
}

// --- reports and renderings ------------------------------------------------------------------------

QImage RenderMetafile(const TMetafile& metafile, int width, int height, TColor background) {
  if (!metafile.IsValid() || width <= 0 || height <= 0 || int64_t(width) * height > (1ll << 28))
    return QImage();
  QImage img(width, height, QImage::Format_RGB888);
  if (img.isNull()) return img;
  img.fill(QColor(ColorR(background), ColorG(background), ColorB(background)));
  TBitmapCanvas canvas(&img);
  PlayMetafile(metafile, canvas, 0, 0, width, height);
  return img;
}

QString MetafileReport(const TMetafile& metafile) {
  if (!metafile.IsValid()) return QStringLiteral("not a metafile\n");
  QStringList lines;
  const bool emf = metafile.Kind() == TMetafileKind::Emf;
  const QRect f = metafile.Frame(), b = metafile.Bounds();
  lines << QStringLiteral("kind: %1")
               .arg(emf                       ? QStringLiteral("EMF")
                    : metafile.WmfPlaceable() ? QStringLiteral("WMF (placeable)")
                                              : QStringLiteral("WMF"));
  lines << QStringLiteral("size: %1 x %2 pixels").arg(metafile.Size().width()).arg(metafile.Size().height());
  lines << QStringLiteral("frame: %1 %2 %3 %4 (0.01 mm)")
               .arg(f.left())
               .arg(f.top())
               .arg(f.right())
               .arg(f.bottom());
  lines << QStringLiteral("bounds: %1 %2 %3 %4").arg(b.left()).arg(b.top()).arg(b.right()).arg(b.bottom());
  if (emf && !metafile.EmfHeader().Description.isEmpty())
    lines << QStringLiteral("description: %1")
                 .arg(QString(metafile.EmfHeader().Description).replace(QChar(0), QLatin1Char('|')));
  lines << QStringLiteral("records: %1").arg(metafile.Records().size());
  QMap<QString, int> counts;
  for (const TMetafileRecord& r : metafile.Records()) ++counts[MetafileRecordName(metafile.Kind(), r.Type)];
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    lines << QStringLiteral("  %1 %2").arg(it.key()).arg(it.value());
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// --- device-independent bitmaps --------------------------------------------------------------------

QImage DecodeDib(const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize) {
  if (!info || infoSize < 12) return QImage();
  const uint32_t hs = Le32(info);
  int width, height, bitCount;
  uint32_t compression = 0, colorsUsed = 0;
  bool core = false;
  if (hs == 12) {
    core = true;
    width = Le16(info + 4);
    height = int16_t(Le16(info + 6));
    bitCount = Le16(info + 10);
  } else if (hs >= 40 && hs <= infoSize) {
    width = int32_t(Le32(info + 4));
    height = int32_t(Le32(info + 8));
    bitCount = Le16(info + 14);
    compression = Le32(info + 16);
    colorsUsed = Le32(info + 32);
  } else {
    return QImage();
  }
  if (compression == 4 || compression == 5) {  // embedded JPEG or PNG
    if (!bits || bitsSize == 0) return QImage();
    QImage img = QImage::fromData(bits, int(std::min<uint32_t>(bitsSize, 0x7FFFFFFF)));
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
  }
  const bool topDown = height < 0;
  if (height == INT32_MIN) return QImage();
  height = std::abs(height);
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768 || int64_t(width) * height > (1ll << 24))
    return QImage();
  if (compression != 0 && compression != 3) return QImage();  // run-length DIBs are not read
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return QImage();
  const int64_t stride = ((int64_t(width) * bitCount + 31) / 32) * 4;
  if (!bits || int64_t(bitsSize) < stride * height) return QImage();

  // Colour table and channel masks.
  std::vector<QRgb> palette;
  uint32_t masks[3] = {0, 0, 0};
  uint32_t tableAt = hs;
  if (compression == 3) {
    // The masks follow a plain info header and are part of the larger ones, at the same place.
    if (infoSize < 52) return QImage();
    if (hs == 40) tableAt = 52;
    masks[0] = Le32(info + 40), masks[1] = Le32(info + 44), masks[2] = Le32(info + 48);
  } else if (bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bitCount == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  if (bitCount <= 8) {
    uint32_t n = colorsUsed ? std::min<uint32_t>(colorsUsed, 1u << bitCount) : (1u << bitCount);
    const uint32_t entry = core ? 3 : 4;
    n = std::min<uint32_t>(n, infoSize > tableAt ? (infoSize - tableAt) / entry : 0);
    for (uint32_t i = 0; i < n; ++i) {
      const uint8_t* e = info + tableAt + i * entry;
      palette.push_back(qRgb(e[2], e[1], e[0]));
    }
    palette.resize(size_t(1) << bitCount, qRgb(0, 0, 0));
  }
  auto channel = [](uint32_t v, uint32_t mask) -> int {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint32_t m = mask >> shift;
    return int(uint64_t((v >> shift) & m) * 255 / m);
  };

  QImage img(width, height, QImage::Format_RGB32);
  if (img.isNull()) return img;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = bits + stride * (topDown ? y : height - 1 - y);
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      switch (bitCount) {
        case 1:
          out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
          break;
        case 4:
          out[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
          break;
        case 8:
          out[x] = palette[row[x]];
          break;
        case 16: {
          const uint32_t v = Le16(row + 2 * x);
          out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
          break;
        }
        case 24:
          out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
          break;
        case 32: {
          const uint32_t v = Le32(row + 4 * x);
          out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
          break;
        }
      }
    }
  }
  return img;
}
