// Metafile readers and player: any bytes load or fail, enumerate with typed reads, report and play
// onto a recording canvas and onto bitmaps (one of them mirrored) without crashing, hanging or
// allocating beyond what the input can describe.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "common/lsan_suppressions.h"
#include "common/qt_app.h"
#include "render/canvas.h"
#include "render/metafile.h"
#include "render/recording_canvas.h"

inline int FuzzMetafile(const uint8_t* data, size_t size, TMetafileKind kind) {
  TMetafile mf;
  if (!mf.LoadFromData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
    return 0;
  if (mf.Kind() != kind) return 0;  // the other reader has its own target
  for (const TMetafileRecord& r : mf.Records()) {
    if (r.Offset + r.Size > size || r.ParamSize > r.Size) std::abort();
    ReadEmfHeader(r);
    ReadEmfPoint(r);
    ReadEmfPolyPoints(r);
    ReadEmfPolyPoly(r);
    ReadEmfCreatePen(r);
    ReadEmfCreateBrush(r);
    ReadEmfCreateFont(r);
    ReadEmfText(r);
  }
  MetafileReport(mf);
  TRecordingCanvas rec;
  PlayMetafile(mf, rec, 0, 0, 200, 100);
  if (rec.PathOpen() || rec.ClipRegion()) std::abort();  // playing leaves the canvas as it found it
  const QImage img = RenderMetafile(mf, 64, 48);
  if (img.isNull() || img.size() != QSize(64, 48)) std::abort();
  QImage mirrored(32, 32, QImage::Format_RGB888);
  TBitmapCanvas canvas(&mirrored);
  PlayMetafile(mf, canvas, 32, 32, 0, 0);
  return 0;
}
