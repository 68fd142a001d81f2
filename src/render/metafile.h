// Enhanced metafiles (EMF) and Windows metafiles (WMF, with or without the placeable header): reading,
// record-by-record enumeration with typed access to the records, playing onto a canvas stretched into
// a rectangle, and the reports and renderings the command-line tool shows.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "render/gdi_types.h"

class TCanvas;

enum class TMetafileKind { None, Emf, Wmf };

// EMF record types (the ones this program reads or writes by name).
enum TEmfRecordType : uint32_t {
  EMR_HEADER = 1,
  EMR_POLYBEZIER = 2,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_POLYBEZIERTO = 5,
  EMR_POLYLINETO = 6,
  EMR_POLYPOLYLINE = 7,
  EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12,
  EMR_SETBRUSHORGEX = 13,
  EMR_EOF = 14,
  EMR_SETPIXELV = 15,
  EMR_SETMAPPERFLAGS = 16,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19,
  EMR_SETROP2 = 20,
  EMR_SETSTRETCHBLTMODE = 21,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_SETBKCOLOR = 25,
  EMR_OFFSETCLIPRGN = 26,
  EMR_MOVETOEX = 27,
  EMR_EXCLUDECLIPRECT = 29,
  EMR_INTERSECTCLIPRECT = 30,
  EMR_SCALEVIEWPORTEXTEX = 31,
  EMR_SCALEWINDOWEXTEX = 32,
  EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34,
  EMR_SETWORLDTRANSFORM = 35,
  EMR_MODIFYWORLDTRANSFORM = 36,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ANGLEARC = 41,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_ROUNDRECT = 44,
  EMR_ARC = 45,
  EMR_CHORD = 46,
  EMR_PIE = 47,
  EMR_SELECTPALETTE = 48,
  EMR_LINETO = 54,
  EMR_ARCTO = 55,
  EMR_POLYDRAW = 56,
  EMR_SETARCDIRECTION = 57,
  EMR_SETMITERLIMIT = 58,
  EMR_BEGINPATH = 59,
  EMR_ENDPATH = 60,
  EMR_CLOSEFIGURE = 61,
  EMR_FILLPATH = 62,
  EMR_STROKEANDFILLPATH = 63,
  EMR_STROKEPATH = 64,
  EMR_FLATTENPATH = 65,
  EMR_WIDENPATH = 66,
  EMR_SELECTCLIPPATH = 67,
  EMR_ABORTPATH = 68,
  EMR_GDICOMMENT = 70,
  EMR_EXTSELECTCLIPRGN = 75,
  EMR_BITBLT = 76,
  EMR_STRETCHBLT = 77,
  EMR_SETDIBITSTODEVICE = 80,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTA = 83,
  EMR_EXTTEXTOUTW = 84,
  EMR_POLYBEZIER16 = 85,
  EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87,
  EMR_POLYBEZIERTO16 = 88,
  EMR_POLYLINETO16 = 89,
  EMR_POLYPOLYLINE16 = 90,
  EMR_POLYPOLYGON16 = 91,
  EMR_POLYDRAW16 = 92,
  EMR_CREATEMONOBRUSH = 93,
  EMR_CREATEDIBPATTERNBRUSHPT = 94,
  EMR_EXTCREATEPEN = 95,
  EMR_SETICMMODE = 98,
  EMR_SETLAYOUT = 115,
};

// Stock objects, selected with the top bit set on the object index.
constexpr uint32_t kStockObject = 0x80000000;
enum TStockObject : uint32_t {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH,
  GRAY_BRUSH,
  DKGRAY_BRUSH,
  BLACK_BRUSH,
  NULL_BRUSH,
  WHITE_PEN,
  BLACK_PEN,
  NULL_PEN,
  OEM_FIXED_FONT = 10,
  ANSI_FIXED_FONT,
  ANSI_VAR_FONT,
  SYSTEM_FONT,
  DEVICE_DEFAULT_FONT,
  DEFAULT_PALETTE,
  SYSTEM_FIXED_FONT,
  DEFAULT_GUI_FONT,
  DC_BRUSH,
  DC_PEN,
};

// One record: its type (EMF record type or WMF function number) and its parameter bytes (what
// follows the type and size fields). Reads past the end give 0, never more than the record holds.
struct TMetafileRecord {
  uint32_t Type = 0;
  uint32_t Offset = 0;  // of the record in the file
  uint32_t Size = 0;    // of the whole record in bytes
  const uint8_t* Params = nullptr;
  uint32_t ParamSize = 0;

  bool Has(uint64_t offset, uint64_t count) const { return offset + count <= ParamSize; }
  uint8_t U8(uint32_t offset) const;
  uint16_t U16(uint32_t offset) const;
  int16_t I16(uint32_t offset) const { return int16_t(U16(offset)); }
  uint32_t U32(uint32_t offset) const;
  int32_t I32(uint32_t offset) const { return int32_t(U32(offset)); }
  float F32(uint32_t offset) const;
};

// Typed views of EMF records. Each answers nullopt when the record has another type or is too short.
struct TEmfHeader {
  QRect Bounds;  // inclusive, reference device pixels
  QRect Frame;   // inclusive, 0.01 mm
  uint32_t Version = 0, Bytes = 0, RecordCount = 0;
  uint16_t Handles = 0;
  QSize DevicePixels, DeviceMillimetres;
  QString Description;
};
struct TEmfPen {
  uint32_t Handle = 0;
  uint32_t Style = 0;  // PS_* bits
  int Width = 0;       // logical units
  TColor Color = 0;
  uint32_t BrushStyle = 0, Hatch = 0;  // extended pens
  std::vector<uint32_t> Dashes;        // extended pens with user styles
};
struct TEmfBrush {
  uint32_t Handle = 0;
  uint32_t Style = 0;  // BS_*: 0 solid, 1 null, 2 hatched, 3 pattern, 5/6 DIB pattern
  TColor Color = 0;
  uint32_t Hatch = 0;  // HS_*
};
struct TLogFont {
  int Height = 0, Width = 0, Escapement = 0, Orientation = 0, Weight = 400;
  bool Italic = false, Underline = false, StrikeOut = false;
  uint8_t CharSet = 0;
  QString FaceName;
};
struct TEmfFont {
  uint32_t Handle = 0;
  TLogFont Font;
};
struct TEmfText {
  QPoint Reference;
  QString Text;
  uint32_t Options = 0;                          // ETO_*
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // opaquing / clipping rectangle
  std::vector<int> Dx;                           // advances in logical units, empty when absent
};
struct TEmfPolyPoly {
  std::vector<int> Counts;
  std::vector<QPoint> Points;
};

std::optional<TEmfHeader> ReadEmfHeader(const TMetafileRecord& r);
// MOVETOEX, LINETO, SETWINDOWORGEX, SETWINDOWEXTEX, SETVIEWPORTORGEX, SETVIEWPORTEXTEX, SETBRUSHORGEX.
std::optional<QPoint> ReadEmfPoint(const TMetafileRecord& r);
// POLYBEZIER, POLYGON, POLYLINE, POLYBEZIERTO, POLYLINETO and their 16-bit forms.
std::optional<std::vector<QPoint>> ReadEmfPolyPoints(const TMetafileRecord& r);
// POLYPOLYLINE, POLYPOLYGON and their 16-bit forms.
std::optional<TEmfPolyPoly> ReadEmfPolyPoly(const TMetafileRecord& r);
// CREATEPEN and EXTCREATEPEN.
std::optional<TEmfPen> ReadEmfCreatePen(const TMetafileRecord& r);
std::optional<TEmfBrush> ReadEmfCreateBrush(const TMetafileRecord& r);
std::optional<TEmfFont> ReadEmfCreateFont(const TMetafileRecord& r);
std::optional<TEmfText> ReadEmfText(const TMetafileRecord& r);  // EXTTEXTOUTA and EXTTEXTOUTW

// The name of a record type ("EMR_LINETO", "META_POLYGON"), or "EMR_#123" for an unknown one.
QString MetafileRecordName(TMetafileKind kind, uint32_t type);

// A metafile held in memory. Copies share the data.
class TMetafile {
 public:
  bool Load(const QString& fileName);
  bool LoadFromData(const QByteArray& data);
  void Clear();

  bool IsValid() const { return kind_ != TMetafileKind::None; }
  TMetafileKind Kind() const { return kind_; }
  QByteArray Data() const;

  const std::vector<TMetafileRecord>& Records() const { return records_; }
  // Calls `visit` for each record in order until it returns false.
  void Enumerate(const std::function<bool(const TMetafileRecord&)>& visit) const;

  // The picture's frame in 0.01 mm (inclusive, as stored) and the bounds of its drawing in
  // reference pixels (EMF) or logical units (WMF).
  QRect Frame() const { return frame_; }
  QRect Bounds() const { return bounds_; }
  // The picture's size in pixels at 96 dots per inch.
  QSize Size() const;
  // Header of an EMF (empty for WMF).
  const TEmfHeader& EmfHeader() const { return emfHeader_; }
  // For a WMF: the logical rectangle the picture covers, and whether a placeable header gave it.
  QRect WmfWindow() const { return wmfWindow_; }
  bool WmfPlaceable() const { return wmfPlaceable_; }

 private:
  bool ParseEmf();
  bool ParseWmf();

  std::shared_ptr<const QByteArray> data_;
  TMetafileKind kind_ = TMetafileKind::None;
  std::vector<TMetafileRecord> records_;
  QRect frame_, bounds_;
  TEmfHeader emfHeader_;
  QRect wmfWindow_;
  bool wmfPlaceable_ = false;
};

// Plays the metafile onto the canvas, its frame stretched to the rectangle (x1, y1)–(x2, y2) in device
// pixels; x2 < x1 or y2 < y1 mirrors. The canvas's drawing state is restored afterwards. Unknown and
// malformed records are skipped. Returns false for an empty metafile.
bool PlayMetafile(const TMetafile& metafile, TCanvas& canvas, int x1, int y1, int x2, int y2);

// The metafile stretched over a 24-bit picture of w × h filled with the background first.
QImage RenderMetafile(const TMetafile& metafile, int width, int height, TColor background = clWhite);

// A text report: kind, size in pixels, frame and bounds, then the count of each record type by name.
QString MetafileReport(const TMetafile& metafile);

// A device-independent bitmap (info header, optional colour table, bits) as a picture; null when the
// bitmap is malformed, unsupported or larger than the bytes given can hold.
QImage DecodeDib(const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize);
