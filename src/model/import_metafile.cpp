#include "model/import_metafile.h"

#include <QFileInfo>

#include "model/document.h"
#include "model/shapes.h"
#include "render/metafile.h"

bool ImportMetafile(TzunoCADMdl* document, const QString& fileName) {
  const QString path = fileName.section(QLatin1Char('|'), 0, 0);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  TMetafile mf;
  if (!mf.Load(path) || mf.Kind() != TMetafileKind::Emf) return false;
  TzunoCADLigne* line = nullptr;
  TBrush sharedBrush;
  // Logical coordinates in hundredths are taken as millimetres.
  auto mm = [](QPoint p) { return QPointF(p.x() / 100.0, p.y() / 100.0); };
  for (const TMetafileRecord& r : mf.Records()) {
    switch (r.Type) {
      case EMR_HEADER:
        if (auto h = ReadEmfHeader(r)) {
          document->Large = h->Frame.right() / 100.0;
          document->Haut = h->Frame.bottom() / 100.0;
        }
        break;
      case EMR_BEGINPATH:
        line = static_cast<TzunoCADLigne*>(document->CreateObjet(QStringLiteral("ligne")));
        line->Face = 1;
        break;
      case EMR_MOVETOEX:
      case EMR_LINETO:
        if (line)
          if (auto p = ReadEmfPoint(r)) line->AddPoint(mm(*p));
        break;
      // The 32-bit forms carry the same points for drawings too large for 16-bit coordinates.
      case EMR_POLYLINETO:
      case EMR_POLYLINETO16:
        if (line)
          if (auto pts = ReadEmfPolyPoints(r))
            for (QPoint p : *pts) line->AddPoint(mm(p));
        break;
      case EMR_POLYBEZIERTO:
      case EMR_POLYBEZIERTO16:
        if (line)
          if (auto pts = ReadEmfPolyPoints(r))
            for (QPoint p : *pts)
              if (line->Points.size() < kMaxPoints) line->Points.append(mm(p));
        break;
      case EMR_CREATEPEN:
        if (line)
          if (auto pen = ReadEmfCreatePen(r)) {
            line->Pen.Color = pen->Color;
            line->Pen.Width = pen->Width / 35;
          }
        break;
      case EMR_CREATEBRUSHINDIRECT:
        if (auto b = ReadEmfCreateBrush(r)) {
          sharedBrush.Color = b->Color;
          sharedBrush.Style = static_cast<int>(b->Style);
        }
        break;
      case EMR_FILLPATH:
        if (line) line->Brush = sharedBrush;
        break;
      default:
        break;
    }
  }
  return true;
}
