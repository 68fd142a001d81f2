#include <gtest/gtest.h>

#include "render/recording_canvas.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

// Paths keep exact points and kinds; drawing calls inside a path add figures instead of drawing.
TEST(CanvasRecording, PathsRecordPointsAndKinds) {
  TRecordingCanvas c;
  c.SetPen({clRed, 3, psSolid});
  c.SetBrush({clBlue, bsBDiagonal});
  c.BeginPath();
  c.MoveTo(0, 0);
  c.LineTo(10, 0);
  const QPoint bez[] = {{12, 2}, {12, 8}, {10, 10}};
  c.PolyBezierTo(bez);
  c.CloseFigure();
  c.Rectangle(20, 20, 30, 25);
  c.TextOut(0, 0, "ignored");
  c.EndPath();
  EXPECT_TRUE(c.Calls().empty());
  EXPECT_TRUE(c.StrokeAndFillPath());
  ASSERT_EQ(c.Calls().size(), 1u);
  const TCanvasCall& call = c.Calls()[0];
  EXPECT_EQ(call.ToString(), "StrokeAndFillPath 0,0 10,0 12,2 12,8 10,10 20,20 20,24 29,24 29,20");
  EXPECT_EQ(call.Counts,
            (std::vector<int>{ptMoveTo, ptLineTo, ptBezierTo, ptBezierTo, ptBezierTo | ptCloseFigure,
                              ptMoveTo, ptLineTo, ptLineTo, ptLineTo | ptCloseFigure}));
  EXPECT_EQ(call.Pen, (TPen{clRed, 3, psSolid}));
  EXPECT_EQ(call.Brush, (TBrush{clBlue, bsBDiagonal}));
  EXPECT_FALSE(c.FillPath());  // consumed
  EXPECT_EQ(c.PenPos(), QPoint(10, 10));

  // An unfinished path draws nothing; aborting it forgets it.
  c.BeginPath();
  c.LineTo(5, 5);
  EXPECT_FALSE(c.FillPath());
  c.AbortPath();
  EXPECT_FALSE(c.PathOpen());
  EXPECT_FALSE(c.StrokePath());
}

TEST(CanvasRecording, CallsKeepCoordinatesAndState) {
  TRecordingCanvas c;
  TFont f;
  f.Height = -20;
  c.SetFont(f, -900);
  c.SetBkMode(bkOpaque);
  c.TextOut(5, 6, "Hi");
  c.IntersectClipRect(0, 0, 50, 40);
  c.StretchDrawTransparent(10, 10, 0, 20, QImage(4, 4, QImage::Format_RGB888), clMagenta);
  c.Rectangle(8, 9, 2, 3);  // corners in any order, as GDI accepts them
  const QPoint tooFew[] = {{1, 1}};
  c.Polygon(tooFew);  // nothing to draw
  const QPoint pts[] = {{0, 0}, {4, 0}, {4, 4}, {9, 9}, {9, 12}, {12, 12}};
  const int counts[] = {3, 3};
  c.PolyPolygon(pts, counts);
  EXPECT_EQ(c.CallStrings(), QStringList({"TextOut 5 6 \"Hi\"", "StretchDraw 10 10 0 20", "Rectangle 2 3 8 9",
                                          "PolyPolygon 0,0 4,0 4,4 9,9 9,12 12,12"}));
  EXPECT_EQ(c.Calls()[0].Escapement, -900);
  EXPECT_EQ(c.Calls()[0].BkMode, bkOpaque);
  EXPECT_FALSE(c.Calls()[0].Clip);
  EXPECT_EQ(c.Calls()[1].Key, clMagenta);
  EXPECT_EQ(c.Calls()[1].ImageSize, QSize(4, 4));
  EXPECT_EQ(c.Calls()[1].Clip, QRect(0, 0, 50, 40));
  EXPECT_EQ(c.Calls()[3].Counts, (std::vector<int>{3, 3}));
}
