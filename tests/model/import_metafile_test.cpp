#include "model/import_metafile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/group.h"
#include "model/kinds.h"
#include "render/emf_writer.h"
#include "render/metafile.h"
#include "render/recording_canvas.h"

namespace {

constexpr int MM_ANISOTROPIC = 8;
constexpr TColor kGreen = RGBColor(0, 128, 0);

TzunoCADLigne* LineAt(TzunoCADMdl& d, int i) {
  EXPECT_EQ(d.Objet(i)->Name, "ligne");
  return static_cast<TzunoCADLigne*>(d.Objet(i));
}

// Two paths, pens and brushes around them, and records that are not imported.
QByteArray KnownPaths() {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(12000, 12000)));
  w.SelectObject(w.CreatePen(0, 700, clBlue));  // before any path: no line takes it
  w.BeginPath();
  w.MoveTo(1000, 2000);
  w.LineTo(3000, 2000);
  const QPoint poly[] = {{3000, 4000}, {1000, 4000}};
  w.PolylineTo(poly);
  w.MoveTo(500, 500);  // inside a path: one more straight segment
  w.CloseFigure();
  w.EndPath();
  w.SelectObject(w.CreatePen(0, 350, clRed));  // the current line takes colour and width ÷ 35
  w.StrokePath();
  w.SelectObject(w.CreateBrush(2, kGreen, 3));
  w.BeginPath();
  w.MoveTo(0, 0);
  const QPoint bez[] = {{100, 200}, {300, 400}, {500, 600}};
  w.PolyBezierTo(bez);  // control and anchor points taken as they are
  w.EndPath();
  w.FillPath();
  w.Rectangle(0, 0, 500, 500);
  w.Ellipse(0, 0, 500, 500);
  w.TextOut(100, 100, QStringLiteral("pas importé"));
  return w.Finish();
}

bool Write(const QString& path, const QByteArray& data) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

}  // namespace

TEST(ImportMetafile, PathsBecomeLines) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("chemins.emf"));
  ASSERT_TRUE(Write(file, KnownPaths()));
  TzunoCADMdl d(nullptr, QRect(), 10, 10);
  // A resolved name may carry a checksum after "|".
  ASSERT_TRUE(ImportMetafile(&d, file + QStringLiteral("|0badf00d")));
  EXPECT_EQ(d.Large, 120);  // the frame, in hundredths of a millimetre
  EXPECT_EQ(d.Haut, 120);
  ASSERT_EQ(d.Count(), 2);

  TzunoCADLigne* a = LineAt(d, 0);
  EXPECT_EQ(a->Face, 1);
  EXPECT_EQ(a->Points, (QList<QPointF>{{10, 20},
                                       {10, 20},
                                       {30, 20},
                                       {30, 20},
                                       {30, 20},
                                       {30, 40},
                                       {30, 40},
                                       {30, 40},
                                       {10, 40},
                                       {10, 40},
                                       {10, 40},
                                       {5, 5},
                                       {5, 5}}));
  EXPECT_EQ(a->SegmentCount(), 4);
  EXPECT_EQ(a->Pen.Color, clRed);
  EXPECT_EQ(a->Pen.Width, 10);
  EXPECT_EQ(a->Brush, TzunoCADLigne(nullptr).Brush);  // never filled

  TzunoCADLigne* b = LineAt(d, 1);
  EXPECT_EQ(b->Points, (QList<QPointF>{{0, 0}, {1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(b->Pen, TzunoCADLigne(nullptr).Pen);  // the pen was made before this path
  EXPECT_EQ(b->Brush, (TBrush{kGreen, 2}));       // the record's style number as it is
}

// Drawings beyond 16-bit coordinates write their points in the 32-bit records; none may be lost.
TEST(ImportMetafile, LargeDrawingsKeepTheirPoints) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("grand.emf"));
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(60000, 40000)));
  w.BeginPath();
  w.MoveTo(0, 0);
  const QPoint poly[] = {{50000, 0}, {50000, 30000}};
  w.PolylineTo(poly);
  const QPoint bez[] = {{40000, 35000}, {20000, 35000}, {0, 30000}};
  w.PolyBezierTo(bez);
  w.EndPath();
  w.StrokePath();
  ASSERT_TRUE(Write(file, w.Finish()));
  TzunoCADMdl d(nullptr, QRect(), 10, 10);
  ASSERT_TRUE(ImportMetafile(&d, file));
  ASSERT_EQ(d.Count(), 1);
  EXPECT_EQ(LineAt(d, 0)->Points.size(), 10);
  EXPECT_EQ(LineAt(d, 0)->Points.last(), QPointF(0, 300));
}

TEST(ImportMetafile, FilesThatAreNotDrawings) {
  QTemporaryDir dir;
  TzunoCADMdl d(nullptr, QRect(), 10, 20);
  const QString garbage = dir.filePath(QStringLiteral("faux.emf"));
  ASSERT_TRUE(Write(garbage, QByteArray(200, '\x01')));
  // A Windows metafile has no paths to give.
  const QString wmf = dir.filePath(QStringLiteral("vieux.wmf"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(LORVANE_TEST_DATA "/metafiles/libreoffice_text.wmf"), wmf));
  for (const QString& name :
       {QString(), dir.filePath(QStringLiteral("absent.emf")), garbage, wmf, dir.path()}) {
    EXPECT_FALSE(ImportMetafile(&d, name)) << name.toStdString();
  }
  EXPECT_EQ(d.Count(), 0);
  EXPECT_EQ(d.Large, 10);
  EXPECT_EQ(d.Haut, 20);
}

// A drawing whose logical units are hundredths of a millimetre: played, and imported as lines and
// drawn, it covers the same pixels.
TEST(ImportMetafile, ImportedDrawingMatchesThePlayedPicture) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 5000)));
  w.SetMapMode(MM_ANISOTROPIC);
  w.SetWindowExt(10000, 5000);
  w.SetViewportExt(378, 189);
  w.SelectObject(kStockObject | NULL_PEN);
  w.SelectObject(w.CreateBrush(0, clRed));
  w.BeginPath();
  w.MoveTo(1000, 1000);
  w.LineTo(4000, 1000);
  w.LineTo(4000, 4000);
  w.CloseFigure();
  w.EndPath();
  w.FillPath();
  w.SelectObject(w.CreateBrush(0, clBlue));
  w.BeginPath();
  w.MoveTo(6000, 4000);
  const QPoint arch[] = {{6000, 0}, {9000, 0}, {9000, 4000}};
  w.PolyBezierTo(arch);
  w.EndPath();
  w.FillPath();
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("dessin.emf"));
  ASSERT_TRUE(w.Save(file));

  TMetafile mf;
  ASSERT_TRUE(mf.Load(file));
  const QImage played = RenderMetafile(mf, 200, 100);  // 2 pixels per millimetre
  TzunoCADMdl d(nullptr, QRect(), 1, 1);
  ASSERT_TRUE(ImportMetafile(&d, file));
  d.Quality = 7;
  d.GabaritOnBitmaps = false;
  QImage drawn(200, 100, QImage::Format_RGB888);
  d.DrawBitmap(drawn);
  const struct {
    int x, y;
    QRgb colour;
  } samples[] = {
      {50, 30, qRgb(255, 0, 0)},                                      // inside the triangle
      {75, 60, qRgb(255, 0, 0)},      {30, 60, qRgb(255, 255, 255)},  // beyond its closing edge
      {150, 30, qRgb(0, 0, 255)},                                     // inside the arch
      {130, 20, qRgb(255, 255, 255)},                                 // above its shoulder
      {150, 90, qRgb(255, 255, 255)},
  };
  for (const auto& s : samples) {
    EXPECT_EQ(played.pixel(s.x, s.y), s.colour) << "played " << s.x << "," << s.y;
    EXPECT_EQ(drawn.pixel(s.x, s.y), s.colour) << "imported " << s.x << "," << s.y;
  }
}

// A group naming a drawing shows its paths as lines, in place of whatever it held.
TEST(ImportMetafile, GroupsShowDrawings) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Forme.EMF"));
  ASSERT_TRUE(Write(file, KnownPaths()));
  TzunoCADMdl d(nullptr, QRect(), 100, 100);
  d.PixelsPerMmX = d.PixelsPerMmY = 1;
  auto* g = static_cast<TzunoCADGroup*>(d.CreateObjet(QStringLiteral("groupe")));
  g->Nested()->CreateObjet(QStringLiteral("rectangle"));
  g->SetProperties({QStringLiteral("FichierMdl=") + file, QStringLiteral("x=50"), QStringLiteral("y=50"),
                    QStringLiteral("l=60"), QStringLiteral("h=60"), QStringLiteral("CanSelect=1")});
  ASSERT_EQ(g->Nested()->Count(), 2);
  EXPECT_EQ(g->Nested()->Objet(0)->Name, "ligne");
  EXPECT_EQ(g->Nested()->Large, 120);
  EXPECT_EQ(PropValue(g->GetProperties(), u"FichierMdl"), "Forme.EMF");

  TRecordingCanvas rec;
  g->Draw(rec);
  QStringList ops;
  for (const TCanvasCall& c : rec.Calls()) ops << c.Op;
  EXPECT_EQ(ops, QStringList({"StrokePath", "FillPath", "StrokePath"}));
  // Half scale into a box whose corner is at 20 mm: the first point (10, 20) lands at (25, 30).
  EXPECT_EQ(rec.Calls()[0].Points.front(), QPoint(25, 30));
}
