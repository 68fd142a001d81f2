#include <gtest/gtest.h>

#include "render/canvas.h"

// A positive height is the cell height, a negative one the character height: both measure as GDI does.
TEST(GdiFont, HeightConventions) {
  QImage img(10, 10, QImage::Format_RGB888);
  TBitmapCanvas c(&img);
  for (const char* face : {"Arial", "Times New Roman"}) {
    TFont f;
    f.Name = QString::fromLatin1(face);
    f.Height = 40;
    c.SetFont(f);
    EXPECT_NEAR(c.TextHeight("Xg"), 40, 1) << face;
    f.Height = -40;
    c.SetFont(f);
    EXPECT_GT(c.TextHeight("Xg"), 42) << face;  // cell is taller than the character height
    EXPECT_GT(c.TextWidth("Hello"), c.TextWidth("Hi"));
  }
}

TEST(GdiFont, MetricCompatibleArial) {
  // Arial's advance of "0" is 0.556 em: with a 100 px character height, 556 per 10 digits.
  QImage img(10, 10, QImage::Format_RGB888);
  TBitmapCanvas c(&img);
  TFont f;
  f.Height = -100;
  c.SetFont(f);
  EXPECT_NEAR(c.TextWidth("0000000000"), 556, 10);
}
