// The decorative paper: the motif's step and overlap, the shift of every second row and column,
// and the dialog's sizes, quality and zoom.
#include "print/ui/paper_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "model/document.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

// A transparent motif of a 40 mm square at 75 dpi with a red dot in its top-left corner.
QImage Dot() {
  const int side = PaperPixels(40, 75);
  QImage motif(side, side, QImage::Format_ARGB32);
  motif.fill(Qt::transparent);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) motif.setPixelColor(x, y, Qt::red);
  return motif;
}

bool Red(const QImage& sheet, int x, int y) {
  return sheet.pixelColor(x, y) == QColor(Qt::red);
}

TEST(DecorPaper, StepsOverlapsAndShifts) {
  EXPECT_EQ(PaperPixels(40, 75), 118);
  struct Case {
    TPaperGrid grid;
    QList<QPoint> dots, blank;
  };
  const Case cases[] = {
      // -10 %: a 106-pixel step for a 118-pixel motif, neighbours overlapping by 12 pixels.
      {{-10, 0, 0, 0}, {{0, 0}, {106, 0}, {212, 0}, {0, 118}, {106, 236}}, {{118, 0}, {0, 106}}},
      // Every second row shifted by half a step.
      {{0, 0, 50, 0}, {{0, 0}, {118, 0}, {59, 118}, {177, 118}, {0, 236}}, {{0, 118}, {118, 118}}},
      // Every second column shifted down by a quarter of a step.
      {{0, 0, 0, 25}, {{0, 0}, {118, 29}, {236, 0}, {118, 147}}, {{118, 0}}},
      // A negative shift: the row before the first still covers the left edge.
      {{0, 0, -50, 0}, {{59, 118}, {177, 118}}, {{0, 118}}},
  };
  const QImage motif = Dot();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.grid.Horz << " " << c.grid.DecHorz << " " << c.grid.DecVert);
    const QImage sheet = MakePaper(motif, 100, 100, 75, c.grid);
    ASSERT_EQ(sheet.size(), QSize(295, 295));
    for (QPoint p : c.dots) EXPECT_TRUE(Red(sheet, p.x(), p.y())) << p.x() << "," << p.y();
    for (QPoint p : c.blank) EXPECT_EQ(sheet.pixelColor(p), QColor(Qt::white)) << p.x() << "," << p.y();
  }
  // The laying can be counted and stopped.
  int told = 0, total = 0;
  MakePaper(motif, 100, 100, 75, {}, [&](int done, int all) {
    told = done;
    total = all;
    return done < 3;
  });
  EXPECT_EQ(told, 3);
  EXPECT_EQ(total, (295 / 118 + 3) * (295 / 118 + 3));
}

TEST(DecorPaper, TheDialogMakesTheSheetAtTheChosenQuality) {
  QTemporaryDir home;
  TScriptedDialogs dialogs;
  TInstallationOptions options;
  options.AppDataPath = home.path();
  options.Dialogs = &dialogs;
  auto installation = OpenInstallation(QStringLiteral(LORVANE_SOURCE_DATA), options);
  ASSERT_TRUE(installation);
  TzunoCADMdl model(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ASSERT_TRUE(model.LoadFromFile(QStringLiteral(LORVANE_TEST_DATA "/print/carte_85x54.mdl")));
  TfmPapier dialog(nullptr, model);
  EXPECT_DOUBLE_EQ(dialog.ueLarge->value(), 210);
  EXPECT_DOUBLE_EQ(dialog.ueMdlLarge->value(), 85);
  EXPECT_DOUBLE_EQ(dialog.ueMdlHaut->value(), 54);
  EXPECT_EQ(dialog.Dpi(), 75);
  EXPECT_EQ(dialog.Paper().size(), QSize(620, 877));
  // The document is the motif: the sheet's top-left corner holds the card, not white paper alone.
  const QImage motif = MakeMotif(model, 85, 54, 75);
  ASSERT_EQ(motif.size(), QSize(251, 159));
  bool drawn = false;
  for (int y = 0; y < 159 && !drawn; y += 4)
    for (int x = 0; x < 251 && !drawn; x += 4)
      drawn = dialog.Paper().pixelColor(x, y) != QColor(Qt::white) && qAlpha(motif.pixel(x, y)) == 255;
  EXPECT_TRUE(drawn);

  // Zoom by halves between 1 and 16.
  EXPECT_FALSE(dialog.bZoomPlus->isEnabled());
  for (int i = 0; i < 5; ++i) dialog.bZoomMoins->click();
  EXPECT_EQ(dialog.Zoom(), 16);
  EXPECT_FALSE(dialog.bZoomMoins->isEnabled());
  EXPECT_EQ(dialog.Apercu->width(), 620 / 16);
  dialog.bZoomPlus->click();
  EXPECT_EQ(dialog.Zoom(), 8);

  dialog.cbDPI->setCurrentIndex(1);
  dialog.ueHaut->setValue(100);
  EXPECT_EQ(dialog.Paper().size(), QSize(1240, 591));
  QImage out;
  QTimer::singleShot(0, [&] {
    if (auto* shown = qobject_cast<TfmPapier*>(QApplication::activeModalWidget())) shown->bOK->click();
  });
  EXPECT_EQ(TfmPapier::ShowPapier(nullptr, model, out), 1);
  EXPECT_EQ(out.size(), QSize(620, 877));  // a new dialog starts again at 75 dpi on A4
}

}  // namespace
