#include <gtest/gtest.h>

#include <numbers>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/kinds.h"
#include "render/recording_canvas.h"

namespace {

struct TextFixture : ::testing::Test {
  TzunoCADMdl doc{nullptr, QRect(0, 0, 400, 400), 100, 100};  // 4 pixels per millimetre
  TzunoCADTexte* New(const QString& text, int aligne = 0) {
    auto* t = static_cast<TzunoCADTexte*>(doc.CreateObjet(QStringLiteral("texte")));
    t->Font = TFont{clBlack, QStringLiteral("Arial"), 5000, 0};
    t->Aligne = aligne;
    t->x = 50;
    t->y = 50;
    t->l = t->h = 0;
    t->LayoutText(text);
    return t;
  }
};

}  // namespace

TEST_F(TextFixture, BoxIsMeasuredFromTheTextAndScaledFont) {
  TzunoCADTexte* t = New(QStringLiteral("  Bonjour|monde|  "));
  EXPECT_EQ(t->txt, "Bonjour|monde|");    // blanks go, line breaks stay
  EXPECT_EQ(t->ScaledFont().Height, 20);  // 5 mm at 4 px/mm
  TCanvas& c = doc.MeasureCanvas();
  c.SetFont(t->ScaledFont());
  EXPECT_DOUBLE_EQ(t->l, c.TextWidth(QStringLiteral("Bonjour")) / 4.0);
  EXPECT_DOUBLE_EQ(t->h, 2 * c.TextHeight(QStringLiteral("monde")) / 4.0);
  EXPECT_NEAR(t->h, 10, 0.5);  // two cells of 5 mm
  EXPECT_EQ(New(QString())->MeasureBlock(c), QSize(0, 0));
}

TEST_F(TextFixture, AnchorCornerStaysWhenTheTextGrows) {
  for (int aligne = 0; aligne <= 4; ++aligne) {
    TzunoCADTexte* t = New(QStringLiteral("court"), aligne);
    t->r = 30;
    const int handle = aligne == 0 ? 0 : aligne;
    const QPointF before = t->HandlePos(handle);
    t->LayoutText(QStringLiteral("un texte beaucoup plus long|et deux lignes"));
    const QPointF after = t->HandlePos(handle);
    EXPECT_NEAR(before.x(), after.x(), 1e-9) << aligne;
    EXPECT_NEAR(before.y(), after.y(), 1e-9) << aligne;
  }
}

TEST_F(TextFixture, MergeFieldsInTheDisplayedText) {
  doc.OnChampFusion = [](TzunoCADObj*, const QString& f, QString& v) {
    if (f == QLatin1String("nom")) v = QStringLiteral("Lune");
  };
  TzunoCADTexte* t = New(QStringLiteral("Bonjour <Nom>"));
  EXPECT_EQ(t->Displayed, "Bonjour Lune");
  EXPECT_EQ(t->txt, "Bonjour <Nom>");
  EXPECT_EQ(PropValue(t->GetProperties(), u"txt"), "Bonjour <Nom>");
}

TEST_F(TextFixture, WordWrap) {
  TzunoCADTexte* t = New(QStringLiteral("x"));
  TCanvas& c = doc.MeasureCanvas();
  c.SetFont(t->ScaledFont());
  const double oneWord = (c.TextWidth(QStringLiteral("trois")) + 1) / 4.0;
  EXPECT_EQ(t->WordWrap(QStringLiteral("un deux trois"), oneWord), "un|deux|trois");
  EXPECT_EQ(t->WordWrap(QStringLiteral("un deux trois"), 1000), "un deux trois");
  EXPECT_EQ(t->WordWrap(QStringLiteral("anticonstitutionnellement"), 1), "anticonstitutionnellement");
  EXPECT_EQ(t->WordWrap(QStringLiteral("a  b"), 1000), "a  b");
}

TEST_F(TextFixture, WrapperCodesAndStoredBox) {
  TzunoCADTexte* t = New(QStringLiteral("<Texte2>"));
  const QStringList p = t->GetProperties();
  EXPECT_EQ(PropValue(p, u"Code"), "texte2");
  EXPECT_EQ(PropValue(p, u"l"), "0");
  EXPECT_EQ(PropValue(p, u"h"), "0");
  EXPECT_EQ(t->Displayed, "");  // unfilled placeholder fields show nothing
}

TEST_F(TextFixture, EditorDragsRefitTheFont) {
  TzunoCADTexte* t = New(QStringLiteral("Bonjour"));
  const double l0 = t->l;
  // Handle 3 twice as far from the centre: about twice the font.
  t->ResizeCentered(QPointF(t->x + l0, t->y + t->h), false);
  EXPECT_NEAR(t->Font.Height, 10000, 1500);
  EXPECT_NEAR(t->l, 2 * l0, 3);
  // Handle 6 re-wraps to the new width and keeps the font.
  TzunoCADTexte* w = New(QStringLiteral("un deux trois quatre"));
  const int height = w->Font.Height;
  w->ResizeAnchored(QPointF(w->x + 6, w->y));
  EXPECT_TRUE(w->txt.contains(QLatin1Char('|')));
  EXPECT_EQ(w->Font.Height, height);
  // An empty text cannot make FitFont grow for ever.
  TzunoCADTexte* e = New(QString());
  e->l = 50;
  e->FitFont(doc.MeasureCanvas());
  EXPECT_LE(doc.MeasureCanvas().Font().Height, 20001);
}

TEST_F(TextFixture, DrawingRotatesAndAlignsEachLine) {
  TzunoCADTexte* t = New(QStringLiteral("une longue ligne|court|encore une ligne"));
  t->Alignement = 1;  // right
  for (double angle : {0.0, 30.0, 90.0}) {
    t->r = angle;
    TRecordingCanvas rec;
    t->Draw(rec);
    std::vector<const TCanvasCall*> texts;
    for (const TCanvasCall& c : rec.Calls())
      if (c.Op == QLatin1String("TextOut")) texts.push_back(&c);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->Escapement, static_cast<int>(-angle * 10));
    // The end of the short line and of the widest line lie on the block's right edge: both are
    // their start plus their width along the turned baseline direction.
    const double a = angle * std::numbers::pi / 180;
    auto end = [&](const TCanvasCall* c) {
      const double w = rec.Calls().empty() ? 0 : [&] {
        TCanvas& m = doc.MeasureCanvas();
        m.SetFont(t->ScaledFont());
        return static_cast<double>(m.TextWidth(c->Text));
      }();
      return QPointF(c->Args[0] + w * std::cos(a), c->Args[1] + w * std::sin(a));
    };
    const QPointF e0 = end(texts[0]), e1 = end(texts[1]);
    // Project on the baseline direction: equal projections mean the same right edge.
    const double p0 = e0.x() * std::cos(a) + e0.y() * std::sin(a),
                 p1 = e1.x() * std::cos(a) + e1.y() * std::sin(a);
    EXPECT_NEAR(p0, p1, 1.5) << angle;
  }
}

// Opening, showing and saving a document, over and over at different scales, leaves every text
// where it was: the same file each time, the anchor corner in place, the same pixels at a scale.
TEST(TextAnchor, OpenDrawSaveCyclesKeepEveryText) {
  TzunoCADMdl doc(nullptr, QRect(0, 0, 400, 400), 100, 100);
  const char* texts[] = {"Bonjour", "un texte|sur deux lignes, plus longue", "iiii WWWW 1234"};
  const int heights[] = {2500, 4300, 7100};
  std::vector<QPointF> anchors;
  int k = 0;
  for (int aligne = 0; aligne <= 4; ++aligne) {
    for (double angle : {0.0, 30.0, 90.0, 212.5}) {
      auto* t = static_cast<TzunoCADTexte*>(doc.CreateObjet(QStringLiteral("texte")));
      t->Font = TFont{clBlack, k % 2 ? QStringLiteral("DejaVu Sans") : QStringLiteral("Liberation Serif"),
                      heights[k % 3], 0};
      t->Aligne = aligne;
      t->r = angle;
      t->x = 20 + 15 * (k % 5);
      t->y = 10 + 4 * k;
      t->LayoutText(QString::fromLatin1(texts[k % 3]));
      anchors.push_back(t->HandlePos(aligne));
      ++k;
    }
  }
  const QStringList saved = doc.SaveToStrings();
  auto drawn = [](TzunoCADMdl& d, int px) {
    TRecordingCanvas rec;
    d.DrawDirect(rec, QRect(0, 0, px, px));
    return rec.CallStrings();
  };
  QStringList firstAt400;
  QStringList text = saved;
  for (int px : {400, 170, 1250, 333, 400, 100, 2000, 400}) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    d.LoadFromStrings(text);
    ASSERT_EQ(d.Count(), static_cast<int>(anchors.size()));
    const QStringList calls = drawn(d, px);
    if (px == 400 && firstAt400.isEmpty())
      firstAt400 = calls;
    else if (px == 400)
      EXPECT_EQ(calls, firstAt400);
    for (int i = 0; i < d.Count(); ++i) {
      auto* t = static_cast<TzunoCADTexte*>(d.Objet(i));
      const QPointF a = t->HandlePos(t->Aligne);
      EXPECT_NEAR(a.x(), anchors[i].x(), 1e-3) << i << " at " << px;
      EXPECT_NEAR(a.y(), anchors[i].y(), 1e-3) << i << " at " << px;
    }
    text = d.SaveToStrings();
    EXPECT_EQ(text, saved) << "after drawing at " << px << " pixels";
  }
}
