#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QTest>

#include "shell/ui/skin_fixture.h"
#include "shell/ui/zuno_menu.h"

namespace {

const QColor kFond(0x10, 0x20, 0x30), kItem(0xC0, 0xD0, 0xE0);

// A white panel of the given size with a name.
QWidget* Panel(const char* name, int w, int h) {
  auto* p = new QWidget;
  p->setObjectName(QString::fromLatin1(name));
  p->resize(w, h);
  return p;
}

struct MenuTest : SkinFixture {
  TzunoMenu menu;
  MenuTest() { menu.resize(220, 400); }
  // The section names neither ColorFond nor Marge: every key comes from "Menu", FontSize from
  // "defaut".
  void StandardSkin(int crantage = 0) {
    WriteSkin(
        "[defaut]\r\nFontSize=9\r\n"
        "[Menu]\r\nColorFond=102030\r\nColorItem=C0D0E0\r\nColorText=000000\r\nMarge=5\r\nTrait=2\r\n"
        "Haut=20\r\nleftText=30\r\ntopText=4\r\niconPanelLeft=3\r\niconPanelTop=2\r\nCrantagePanel=" +
        QByteArray::number(crantage) +
        "\r\n"
        "[ecranX]\r\nMarge=99\r\nHaut=50\r\n");
    menu.LoadSkin(SkinFile(), QStringLiteral("ecranX"));
  }
};

}  // namespace

TEST_F(MenuTest, SectionWithoutColorFondReadsMenuAndDefaut) {
  StandardSkin();
  EXPECT_EQ(menu.Skin().Marge, 5);
  EXPECT_EQ(menu.Skin().Haut, 20);
  EXPECT_EQ(menu.Skin().ColorFond, kFond);
  EXPECT_EQ(menu.Skin().FontSize, 9);
  EXPECT_EQ(menu.SkinFolder(), folder);
  // A section of its own is read as it is; missing keys take the defaults.
  WriteSkin("[ecranY]\r\nColorFond=FFFFFF\r\nHaut=31\r\n[Menu]\r\nMarge=5\r\n");
  menu.LoadSkin(SkinFile(), QStringLiteral("ecranY"));
  EXPECT_EQ(menu.Skin().Haut, 31);
  EXPECT_EQ(menu.Skin().Marge, 12);
  EXPECT_EQ(menu.Skin().Trait, 1);
  EXPECT_EQ(menu.Skin().ColorItem, QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(menu.Skin().FontSize, 10);
}

TEST_F(MenuTest, LayoutGeometryFoldingAndVisibility) {
  StandardSkin();
  QWidget* p1 = Panel("p1", 150, 60);
  QWidget* p2 = Panel("p2", 150, 40);
  QWidget* p3 = Panel("p3", 120, 30);
  TzunoMenuItem* a = menu.AddItem(p1, QStringLiteral("A"), true);
  TzunoMenuItem* b = menu.AddItem(p2, QStringLiteral("B"), false);
  TzunoMenuItem* c = menu.AddItem(p3, QStringLiteral("C"), true);
  menu.show();
  menu.Layout(false);
  EXPECT_EQ(a->geometry(), QRect(5, 5, 154, 20 + 60 + 6));
  EXPECT_EQ(p1->mapTo(a, QPoint(0, 0)), QPoint(2, 24));
  EXPECT_EQ(b->geometry(), QRect(5, 5 + 5 + 86, 154, 20 + 4));  // folded
  EXPECT_FALSE(p2->isVisible());
  EXPECT_EQ(c->geometry(), QRect(5, 96 + 5 + 24, 124, 20 + 30 + 6));
  EXPECT_EQ(menu.FindItem(p2), b);
  EXPECT_EQ(menu.FindItem(menu.viewport()), nullptr);

  // A click on the title bar unfolds the item and lays the menu out.
  EXPECT_EQ(b->TitleBar()->geometry(), QRect(0, 0, 154, 24));
  EXPECT_EQ(b->TitleBar()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(b->TitleBar(), Qt::LeftButton, {}, QPoint(40, 10));
  EXPECT_FALSE(b->ShownFolded());
  EXPECT_EQ(b->height(), 20 + 40 + 6);
  EXPECT_TRUE(p2->isVisible());
  EXPECT_EQ(c->y(), 96 + 5 + 66);

  // A hidden panel hides its item; the next item moves up.
  p1->hide();
  menu.Layout(false);
  EXPECT_FALSE(a->isVisible());
  EXPECT_EQ(b->y(), 5);

  // Nothing changed: nothing is placed again, unless forced.
  b->move(50, 50);
  menu.Layout(false);
  EXPECT_EQ(b->pos(), QPoint(50, 50));
  menu.Layout(true);
  EXPECT_EQ(b->pos(), QPoint(5, 5));
}

TEST_F(MenuTest, LayoutItemStacksVisibleControls) {
  StandardSkin();
  QWidget* p = Panel("p", 150, 200);
  auto* l1 = new QLabel(p);
  l1->setGeometry(7, 80, 50, 10);
  auto* hidden = new QLabel(p);
  hidden->setGeometry(0, 0, 50, 20);
  hidden->hide();
  auto* l2 = new QLabel(p);
  l2->setGeometry(9, 3, 50, 30);
  TzunoMenuItem* item = menu.AddItem(p, QStringLiteral("T"), true);
  menu.LayoutItem(item);
  EXPECT_EQ(l1->pos(), QPoint(7, 4));
  EXPECT_EQ(l2->pos(), QPoint(9, 18));
  EXPECT_EQ(hidden->pos(), QPoint(0, 0));
  EXPECT_EQ(item->ContentHeight(), 18 + 30 + 4);
  menu.show();
  menu.Layout(true);
  EXPECT_EQ(item->height(), 20 + 52 + 6);
}

TEST_F(MenuTest, TitlePictureNotchesIconsAndArrows) {
  StandardSkin(3);
  Picture(QStringLiteral("icone defaut.bmp"), {8, 8}, QColor(0, 200, 0));
  Picture(QStringLiteral("icone Own.bmp"), {8, 8}, QColor(200, 0, 200));
  TzunoMenuItem* plain = menu.AddItem(Panel("p1", 150, 40), QStringLiteral("Plain"), true);
  TzunoMenuItem* own = menu.AddItem(Panel("p2", 150, 40), QStringLiteral("Own"), false);
  menu.show();
  menu.Layout(true);
  const QImage pic = plain->Picture();
  ASSERT_EQ(pic.size(), plain->size());
  // Zigzag of amplitude 3: the pixel at distance t is |t mod 6 - 3| inside each edge.
  EXPECT_EQ(pic.pixelColor(0, 0), kFond);
  EXPECT_EQ(pic.pixelColor(1, 1), kFond);
  EXPECT_EQ(pic.pixelColor(0, 3), kItem);
  EXPECT_EQ(pic.pixelColor(3, 0), kItem);
  EXPECT_EQ(pic.pixelColor(1, 2), kItem);
  EXPECT_EQ(pic.pixelColor(pic.width() - 2, 0), kFond);
  EXPECT_EQ(pic.pixelColor(pic.width() - 4, 0), kItem);
  EXPECT_EQ(pic.pixelColor(10, 10), kItem);  // filled inside
  EXPECT_EQ(pic.pixelColor(80, pic.height() - 5), kItem);
  // Default icon, or the title's own.
  EXPECT_EQ(pic.pixelColor(5, 5), QColor(0, 200, 0));
  EXPECT_EQ(own->Picture().pixelColor(5, 5), QColor(200, 0, 200));
  // Without arrow pictures: black chevrons through x = w-20 .. w-12.
  auto blackIn = [](const QImage& img, QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (img.pixelColor(x, y) == Qt::black) return true;
    return false;
  };
  const int w = pic.width();
  EXPECT_TRUE(blackIn(pic, QRect(w - 20, 7, 9, 10)));
  EXPECT_FALSE(blackIn(pic, QRect(w - 9, 0, 9, 24)));
  // The arrow picture of the state replaces them, at (w - 20, 6).
  Picture(QStringLiteral("updown1.bmp"), {14, 14}, QColor(255, 128, 0));
  Picture(QStringLiteral("updown.bmp"), {14, 14}, QColor(0, 128, 255));
  menu.LoadSkin(SkinFile(), QStringLiteral("ecranX"));
  EXPECT_EQ(plain->Picture().pixelColor(w - 20, 6), QColor(255, 128, 0));
  EXPECT_EQ(own->Picture().pixelColor(own->width() - 7, 19), QColor(0, 128, 255));

  // A plain bar is the item colour all over.
  StandardSkin(0);
  EXPECT_EQ(plain->Picture().pixelColor(0, 0), kItem);
}

TEST_F(MenuTest, BackgroundPictureAgainstEitherEdge) {
  StandardSkin();
  Picture(QStringLiteral("bg.bmp"), {40, 40}, QColor(250, 250, 0));
  WriteSkin(
      "[m]\r\nColorFond=102030\r\nbmpFond=bg.bmp\r\nFondAlignLeft=1\r\n[n]\r\nColorFond=102030\r\nbmpFond=bg."
      "bmp\r\n");
  menu.LoadSkin(SkinFile(), QStringLiteral("m"));
  menu.show();
  const int w = menu.viewport()->width();
  QImage shot = menu.viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(w - 5, 5), QColor(250, 250, 0));
  EXPECT_EQ(shot.pixelColor(5, 5), kFond);
  menu.LoadSkin(SkinFile(), QStringLiteral("n"));
  shot = menu.viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(250, 250, 0));
  EXPECT_EQ(shot.pixelColor(w - 5, 5), kFond);
}

TEST_F(MenuTest, TitleBarIsAPressableAccessibleButton) {
  StandardSkin();
  TzunoMenuItem* item = menu.AddItem(Panel("p", 150, 40), QStringLiteral("Modèles"), true);
  menu.show();
  menu.Layout(false);
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(item->TitleBar());
  ASSERT_NE(acc, nullptr);
  EXPECT_EQ(acc->text(QAccessible::Name), QStringLiteral("Modèles"));
  ASSERT_NE(acc->actionInterface(), nullptr);
  acc->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  // The press is animated: the click follows shortly.
  EXPECT_TRUE(QTest::qWaitFor([&] { return item->ShownFolded(); }, 2000));
  item->SetTitle(QStringLiteral("Templates"));
  EXPECT_EQ(acc->text(QAccessible::Name), QStringLiteral("Templates"));
}
