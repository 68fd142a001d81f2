#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QEnterEvent>
#include <QLabel>
#include <QTest>
#include <algorithm>

#include "common/shots.h"
#include "shell/skin_names.h"
#include "shell/ui/skin_fixture.h"
#include "shell/ui/zuno_menu_barre.h"

namespace {

const QColor kNormal(10, 100, 10), kOver(10, 10, 200), kOff(120, 120, 120), kBg(240, 230, 220);

struct BarTest : SkinFixture {
  TzunoMenuBarre bar;
  void StandardSkin(bool showText = true) {
    Picture(QStringLiteral("fond.bmp"), {1000, 60}, kBg);
    Picture(QStringLiteral("fond_right.bmp"), {300, 60}, QColor(0, 0, 0));
    Picture(QStringLiteral("Btn.BMP"), {40, 30}, kNormal, true);
    Picture(QStringLiteral("Btn1.BMP"), {40, 30}, kOver);
    Picture(QStringLiteral("Btn2.BMP"), {40, 30}, kOff);
    Picture(QStringLiteral("Half.BMP"), {24, 30}, kNormal);
    WriteSkin("[ecran1]\r\nmargegauche=8\r\nmargehaut=6\r\nEcart=4\r\nShowText=" +
              QByteArray(showText ? "1" : "0") + "\r\nColor=FF0000\r\n");
    bar.LoadSkin(SkinFile(), QStringLiteral("ecran1"));
  }
  static void Enter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(w, &e);
  }
  static void Leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
  }
};

}  // namespace

TEST_F(BarTest, ButtonsArePlacedInOrderAndCallTheirHandler) {
  StandardSkin();
  EXPECT_EQ(bar.height(), 60);  // the background's height
  int calls = 0;
  QObject owner;
  TzunoMenuBouton* a = bar.AddButton(
      QStringLiteral("Nouveau"), [&] { ++calls; }, &owner, QStringLiteral("Btn"));
  TzunoMenuBouton* b = bar.AddButton(QStringLiteral("Demi"), nullptr, &owner, QStringLiteral("Half"));
  TzunoMenuBouton* c = bar.AddButton(QStringLiteral("Sans image"), nullptr, &owner, QStringLiteral("None"));
  EXPECT_EQ(a->geometry(), QRect(8, 6, 40, 30));
  EXPECT_EQ(b->geometry(), QRect(8 + 44, 6, 24, 30));
  EXPECT_EQ(c->pos(), QPoint(8 + 44 + 28, 6));
  EXPECT_EQ(a->Tag(), 1);
  EXPECT_EQ(c->Tag(), 3);
  EXPECT_EQ(bar.FindButton(QStringLiteral("half")), b);
  EXPECT_EQ(bar.FindButton(QStringLiteral("Web")), nullptr);
  bar.show();
  QTest::mouseClick(a, Qt::LeftButton);
  EXPECT_EQ(calls, 1);
  // An AT-SPI client finds it by its caption and presses it.
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(a);
  ASSERT_NE(acc, nullptr);
  EXPECT_EQ(acc->text(QAccessible::Name), QStringLiteral("Nouveau"));
  acc->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
}

TEST_F(BarTest, WithoutBackgroundTheBarIs48High) {
  WriteSkin("[ecran1]\r\nmargegauche=3\r\n");
  bar.LoadSkin(SkinFile(), QStringLiteral("ecran1"));
  EXPECT_EQ(bar.height(), 48);
  EXPECT_TRUE(bar.Background().isNull());
}

TEST_F(BarTest, ButtonStatesPicturesAndCursors) {
  StandardSkin();
  TzunoMenuBouton* a = bar.AddButton(QStringLiteral("A"), nullptr, nullptr, QStringLiteral("Btn"));
  TzunoMenuBouton* half = bar.AddButton(QStringLiteral("B"), nullptr, nullptr, QStringLiteral("Half"));
  bar.resize(800, 60);
  bar.show();
  EXPECT_EQ(a->ShownPicture().pixelColor(39, 29), kNormal);
  EXPECT_EQ(a->cursor().shape(), Qt::PointingHandCursor);
  Enter(a);
  EXPECT_EQ(a->ShownPicture().pixelColor(39, 29), kOver);
  Leave(a);
  EXPECT_EQ(a->ShownPicture().pixelColor(39, 29), kNormal);
  a->SetEnabled(false);
  EXPECT_EQ(a->ShownPicture().pixelColor(39, 29), kOff);
  EXPECT_EQ(a->cursor().shape(), Qt::ArrowCursor);
  Enter(a);
  EXPECT_EQ(a->ShownPicture().pixelColor(39, 29), kOff);
  a->SetEnabled(true);
  // No pointer-over picture: the normal one stays.
  Enter(half);
  EXPECT_EQ(half->ShownPicture().pixelColor(1, 1), kNormal);

  // The magenta corner of the normal picture lets the background through.
  Leave(a);
  const QImage shot = bar.grab().toImage();
  EXPECT_EQ(shot.pixelColor(a->x() + 2, a->y() + 2), kBg);
  EXPECT_EQ(shot.pixelColor(a->x() + 30, a->y() + 25), kNormal);
}

TEST_F(BarTest, RightPictureOnlyWhileItStartsBeyond600) {
  StandardSkin();
  bar.show();
  QLabel* right = bar.RightPicture();
  for (auto [width, visible] :
       {std::pair{900, false}, {901, true}, {1400, true}, {850, false}, {1000, true}}) {
    bar.resize(width, bar.height());
    EXPECT_EQ(right->x(), width - 300) << width;
    EXPECT_EQ(right->isVisible(), visible) << width;
  }
  // A replacement picture is placed by the same rule.
  Picture(QStringLiteral("other.bmp"), {500, 60}, QColor(1, 2, 3));
  bar.SetRightPicture(QStringLiteral("other.bmp"));
  EXPECT_EQ(right->x(), 500);
  EXPECT_FALSE(right->isVisible());
}

TEST_F(BarTest, CaptionsAreWrittenOnTheBackgroundUnderEachButton) {
  StandardSkin(true);
  bar.AddButton(QStringLiteral("Quitter"), nullptr, nullptr, QStringLiteral("Btn"));
  const QImage bg = bar.Background();
  // Dark text 18 pixels above the bottom, centred under the button (x 8 to 48), nowhere else.
  auto dark = [&](QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(bg.pixel(x, y)) < 128) ++n;
    return n;
  };
  EXPECT_GT(dark(QRect(0, 42, 60, 18)), 10);
  EXPECT_EQ(dark(QRect(0, 0, 60, 42)), 0);
  EXPECT_EQ(dark(QRect(70, 0, 900, 60)), 0);
  // Left and right halves of the caption balance around the button's centre (28).
  EXPECT_LT(std::abs(dark(QRect(0, 42, 28, 18)) - dark(QRect(28, 42, 32, 18))), 25);

  // A caption wider than its slot (button and gap: 44 pixels) gets smaller rather than run into the
  // next button's.
  TzunoMenuBarre fitted;
  fitted.LoadSkin(SkinFile(), QStringLiteral("ecran1"));
  fitted.AddButton(QStringLiteral("Imprimer"), nullptr, nullptr, QStringLiteral("Btn"));
  const QImage fbg = fitted.Background();
  int inkLeft = fbg.width(), inkRight = -1;
  for (int y = 42; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if (qGray(fbg.pixel(x, y)) < 128) inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
  EXPECT_GE(inkLeft, 8 - 2);
  EXPECT_LE(inkRight, 8 + 44);
  EXPECT_GT(inkRight - inkLeft, 25);

  TzunoMenuBarre plain;
  Picture(QStringLiteral("fond.bmp"), {1000, 60}, kBg);
  WriteSkin("[ecran1]\r\nShowText=0\r\n");
  plain.LoadSkin(SkinFile(), QStringLiteral("ecran1"));
  plain.AddButton(QStringLiteral("Quitter"), nullptr, nullptr, QStringLiteral("Btn"));
  EXPECT_EQ(plain.Background().pixelColor(20, 50), kBg);
}

TEST(SkinNames, ShippedSkinHasTheMainBarPictures) {
  const QString skin = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Skin/Classique/");
  TzunoMenuBarre bar;
  bar.LoadSkin(skin + QStringLiteral("skin.txt"), QStringLiteral("ecran1"));
  for (const QString& name : skin::MainBarButtons()) {
    TzunoMenuBouton* b = bar.AddButton(name, nullptr, nullptr, name);
    EXPECT_FALSE(b->ShownPicture().isNull()) << name.toStdString();
  }
  EXPECT_EQ(bar.height(), 76);
}

// Every bar button of the shipped skin looks unavailable when disabled: its drawing is greyed and
// has less contrast than the enabled picture, whether the skin has a disabled picture of its own or
// its name collides with another button's normal picture ("Aide" + "2.BMP" is the editor's "Aide2").
TEST(SkinNames, ShippedDisabledButtonsAreGreyed) {
  const QString skin = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Skin/Classique/");
  TzunoMenuBarre bar;
  bar.LoadSkin(skin + QStringLiteral("skin.txt"), QStringLiteral("ecran1"));
  // The spread of grey levels, and how coloured the most coloured pixel is.
  auto measure = [](const QImage& image, int* contrast, int* colour) {
    int lo = 255, hi = 0;
    *colour = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c == QColor(255, 0, 255)) continue;
        lo = std::min(lo, qGray(c.rgb()));
        hi = std::max(hi, qGray(c.rgb()));
        *colour = std::max(
            *colour, std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}));
      }
    *contrast = hi - lo;
  };
  const QStringList names = skin::MainBarButtons() + skin::EditorBarButtons();
  std::vector<TzunoMenuBouton*> buttons;
  for (const QString& name : names) buttons.push_back(bar.AddButton(name, nullptr, nullptr, name));
  bar.resize(1000, bar.height());
  bar.show();
  Shot(bar, QStringLiteral("skin-bar-enabled.png"));
  for (size_t i = 0; i < buttons.size(); ++i) {
    const QString& name = names[qsizetype(i)];
    const QImage normal = buttons[i]->ShownPicture();
    buttons[i]->SetEnabled(false);
    const QImage off = buttons[i]->ShownPicture();
    int normalContrast, normalColour, offContrast, offColour;
    measure(normal, &normalContrast, &normalColour);
    measure(off, &offContrast, &offColour);
    EXPECT_NE(off, normal) << name.toStdString();
    EXPECT_LT(offContrast * 2, normalContrast) << name.toStdString();
    EXPECT_LE(offColour, 24) << name.toStdString();
  }
  Shot(bar, QStringLiteral("skin-bar-disabled.png"));
}
