#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "shell/textfile.h"
#include "shell/ui/about_box.h"
#include "shell/ui/input_name.h"
#include "shell/ui/layout_ops.h"
#include "shell/ui/skin_fixture.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/ui/zuno_menu_label.h"

using ToggleTest = SkinFixture;

namespace {
// Key presses carrying each character, accented ones included (QTest knows only ASCII keys).
void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown, Qt::NoModifier,
                    QString(c));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &release);
  }
}
}  // namespace
using LayoutTest = SkinFixture;

TEST_F(ToggleTest, GroupsActLikeRadioButtonsAndClickFires) {
  QWidget window;
  TzunoImageBase base(&window, folder);
  Picture(QStringLiteral("dvd_10.bmp"), {20, 20}, QColor(0, 0, 255));
  Picture(QStringLiteral("dvd_11.bmp"), {20, 20}, QColor(255, 255, 0));
  TzunoImageBtn* g1[3];
  for (auto*& b : g1) {
    b = new TzunoImageBtn(&window);
    b->SetBase(&base);
    b->SetFileName(QStringLiteral("dvd_1"));
    b->SetGroupIndex(1);
    b->resize(20, 20);
  }
  auto* other = new TzunoImageBtn(&window);
  other->SetGroupIndex(2);
  other->SetActif(true);
  auto* free = new TzunoImageBtn(&window);
  free->SetActif(true);
  int clicks = 0;
  QObject::connect(g1[0], &QAbstractButton::clicked, [&] { ++clicks; });
  window.show();

  QTest::mouseClick(g1[0], Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(g1[0]->GetActif());
  EXPECT_EQ(g1[0]->PictureFile(), folder + "dvd_11.bmp");
  EXPECT_EQ(g1[0]->grab().toImage().pixelColor(10, 10), QColor(255, 255, 0));
  QTest::mouseClick(g1[1], Qt::LeftButton);
  EXPECT_TRUE(g1[1]->GetActif());
  EXPECT_FALSE(g1[0]->GetActif());
  EXPECT_TRUE(other->GetActif());
  EXPECT_TRUE(free->GetActif());
  // Pressing the active one makes it inactive; nothing else changes.
  QTest::mouseClick(g1[1], Qt::LeftButton);
  EXPECT_FALSE(g1[1]->GetActif());
  EXPECT_EQ(g1[1]->grab().toImage().pixelColor(10, 10), QColor(0, 0, 255));
  // With a modifier key the state stays, the click still fires.
  QTest::mouseClick(g1[0], Qt::LeftButton, Qt::ControlModifier);
  EXPECT_FALSE(g1[0]->GetActif());
  EXPECT_EQ(clicks, 2);
  // Keyboard and assistive presses toggle too, and report the state.
  g1[2]->click();
  EXPECT_TRUE(g1[2]->GetActif());
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(g1[0]);
  ASSERT_NE(acc, nullptr);
  ASSERT_NE(acc->actionInterface(), nullptr);
  acc->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(QTest::qWaitFor([&] { return g1[0]->GetActif(); }, 2000));
  EXPECT_FALSE(g1[2]->GetActif());
  EXPECT_TRUE(acc->state().checked);
  // A picture-only button is named by its hint.
  g1[0]->setToolTip(QStringLiteral("Boîtier"));
  EXPECT_EQ(acc->text(QAccessible::Name), QStringLiteral("Boîtier"));
}

TEST_F(ToggleTest, MissingPictureIsAPlainRectangleListedOnceWithDebug) {
  TSoft& soft = Settings(true);
  QWidget window;
  TzunoImageBase base(&window, folder);
  auto* b = new TzunoImageBtn(&window);
  b->SetBase(&base);
  b->SetFileName(QStringLiteral("absent_"));
  b->resize(30, 30);
  auto* noBase = new TzunoImageBtn(&window);
  noBase->resize(30, 30);
  window.show();
  for (int i = 0; i < 3; ++i) b->grab();
  b->SetActif(true);
  b->grab();
  const QImage plain = noBase->grab().toImage();
  EXPECT_EQ(plain.pixelColor(0, 0), plain.pixelColor(29, 29));  // the frame
  QStringList lines;
  ASSERT_TRUE(ReadTextFile(soft.ExePath + "debug_Btn.log", lines));
  EXPECT_EQ(lines, QStringList({"absent_0.bmp", "absent_1.bmp"}));
}

TEST_F(ToggleTest, ClickableLabelGlyphUnderlineAndGlyphLog) {
  TSoft& soft = Settings(true);
  Picture(QStringLiteral("zmlCopier.png"), {10, 10}, QColor(0, 0, 0));
  QWidget panel;
  panel.resize(200, 100);
  auto* copy = new TzunoMenuLabel(&panel, QStringLiteral("Copier"));
  copy->setObjectName(QStringLiteral("zmlCopier"));
  auto* paste = new TzunoMenuLabel(&panel, QStringLiteral("Coller"));
  paste->setObjectName(QStringLiteral("zmlColler"));
  EXPECT_EQ(copy->size(), QSize(100, 16));
  LabelGlyphs(&panel);
  LabelGlyphs(&panel);
  EXPECT_EQ(copy->Glyph().size(), QSize(10, 10));
  EXPECT_TRUE(paste->Glyph().isNull());
  QStringList lines;
  ASSERT_TRUE(ReadTextFile(soft.ExePath + "debug_skin.log", lines));
  EXPECT_EQ(lines, QStringList({"zmlColler.png"}));

  panel.show();
  copy->resize(100, 20);
  // Glyph centred at the left, caption 4 pixels right of it.
  QImage shot = copy->grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 10), QColor(0, 0, 0));
  auto ink = [&](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 14; x < img.width(); ++x)
        if (qGray(img.pixel(x, y)) < 100) ++n;
    return n;
  };
  const int plain = ink(shot);
  EXPECT_GT(plain, 20);
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(copy, &enter);
  EXPECT_TRUE(copy->PointerOver());
  EXPECT_GT(ink(copy->grab().toImage()), plain + 15);  // the underline
  EXPECT_EQ(copy->cursor().shape(), Qt::PointingHandCursor);
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(copy);
  EXPECT_EQ(acc->text(QAccessible::Name), QStringLiteral("Copier"));
  EXPECT_NE(acc->actionInterface(), nullptr);
}

TEST(InputNameBox, KeysOkAndEnter) {
  ASSERT_TRUE(MLCreateFromLines({QStringLiteral("306;Annuler;Cancel")}));
  MLSetLanguage(2);
  TInputNameDialog dialog(QStringLiteral("Enregistrer"), QStringLiteral("Nom du fichier"), QString());
  MLSetLanguage(1);
  MLFree();
  EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enregistrer"));
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.show();
  TypeText(dialog.Edit(), QStringLiteral("Été 2024/x.y:z*_-é à ÿç?É"));
  // Capital accented letters are not in the list.
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("té 2024xyz_-é à ÿç"));
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  QTest::keyClick(dialog.Edit(), Qt::Key_Backspace);
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("té 2024xyz_-é à ÿ"));
  dialog.Edit()->clear();
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  QTest::keyClick(dialog.Edit(), Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());  // Enter without a name does nothing
  QTest::keyClicks(dialog.Edit(), QStringLiteral("a"));
  QTest::keyClick(dialog.Edit(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Value(), QStringLiteral("a"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.Edit())->text(QAccessible::Name),
            QStringLiteral("Nom du fichier"));
}

// The proposed name is selected, so typing replaces it; select all, copy and paste work, and what
// is pasted keeps only what could have been typed.
TEST(InputNameBox, ProposedNameSelectedAndClipboardKeys) {
  TInputNameDialog dialog(QStringLiteral("Enregistrer"), QStringLiteral("Nom du fichier"),
                          QStringLiteral("Nouveau document"));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.Edit()->selectedText(), QStringLiteral("Nouveau document"));
  TypeText(dialog.Edit(), QStringLiteral("Mon affiche"));
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("Mon affiche"));
  QTest::keyClick(dialog.Edit(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(dialog.Edit()->selectedText(), QStringLiteral("Mon affiche"));
  QTest::keyClick(dialog.Edit(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Mon affiche"));
  QTest::keyClick(dialog.Edit(), Qt::Key_End);
  QTest::keyClick(dialog.Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("Mon afficheMon affiche"));
  // A pasted name loses the characters a key could not type, and only those.
  QGuiApplication::clipboard()->setText(QStringLiteral(" 2/3:x*y?\n"));
  QTest::keyClick(dialog.Edit(), Qt::Key_Home);
  QTest::keyClick(dialog.Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral(" 23xyMon afficheMon affiche"));
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.Edit()->cursorPosition(), 5);
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

// A proposed name with characters a key could not type keeps them until the user changes them.
TEST(InputNameBox, AProposedNameIsKeptAsGiven) {
  TInputNameDialog dialog(QStringLiteral("Enregistrer"), QStringLiteral("Nom"), QStringLiteral("Forêt"));
  dialog.show();
  QTest::keyClick(dialog.Edit(), Qt::Key_End);
  TypeText(dialog.Edit(), QStringLiteral(" 2"));
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("Forêt 2"));
}

TEST(AboutBox, WebLinkCutBeforeTheQuestionMarkOpensTheWholeAddress) {
  TSoftOptions none;
  QCoreApplication::setApplicationVersion(QStringLiteral("2.5.1"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Lorvane"));
  TSoft soft(QStringLiteral("/nonexistent/lorvane.ini"), none);
  soft.Web = QStringLiteral("https://example.invalid/start?from=about&x=1");
  SetSoft(&soft);
  TzunoAboutDialog about;
  SetSoft(nullptr);
  EXPECT_EQ(about.windowTitle(), QStringLiteral("A propos"));
  EXPECT_EQ(about.TitleLabel()->text(), QStringLiteral("Lorvane"));
  EXPECT_EQ(about.WebLink()->text(), QStringLiteral("https://example.invalid/start"));
  EXPECT_TRUE(about.VersionLabel()->text().endsWith(QStringLiteral(" - 2.5.1")));
  EXPECT_EQ(about.VersionLabel()->text().size(), 10 + 3 + 5);
  QUrl opened;
  about.OpenUrl = [&](const QUrl& u) {
    opened = u;
    return true;
  };
  about.show();
  QTest::mouseClick(about.WebLink(), Qt::LeftButton);
  EXPECT_EQ(opened, QUrl(QStringLiteral("https://example.invalid/start?from=about&x=1")));
}

TEST(LayoutOps, CentreRowsSpreadsEachRow) {
  QWidget panel;
  panel.resize(300, 100);
  QWidget* a = new QWidget(&panel);
  QWidget* b = new QWidget(&panel);
  QWidget* c = new QWidget(&panel);
  QWidget* hidden = new QWidget(&panel);
  a->setGeometry(0, 10, 40, 20);
  b->setGeometry(200, 10, 60, 20);
  c->setGeometry(5, 50, 31, 20);
  hidden->setGeometry(7, 10, 10, 10);
  hidden->hide();
  CentreRows(&panel);
  // Two in the row at 10: centres at 75 and 225; one at 50: centre 150.
  EXPECT_EQ(a->pos(), QPoint(150 - 75 - 20, 10));
  EXPECT_EQ(b->pos(), QPoint(300 - 75 - 30, 10));
  EXPECT_EQ(c->pos(), QPoint(300 - 150 - 15, 50));
  EXPECT_EQ(hidden->pos(), QPoint(7, 10));
}

TEST_F(LayoutTest, SkinPanelAndFlatPages) {
  Settings(false);
  QImage panelPic(16, 16, QImage::Format_RGB888);
  panelPic.fill(QColor(30, 60, 90));
  panelPic.setPixelColor(0, 0, QColor(200, 210, 220));
  QDir().mkpath(folder);
  ASSERT_TRUE(SaveBmp(panelPic, folder + "panel.bmp"));
  QWidget panel;
  panel.resize(400, 50);
  auto* title = new QLabel(QStringLiteral("Titre"), &panel);
  SkinPanel(&panel);
  SkinPanel(&panel);  // once per panel
  EXPECT_EQ(title->text(), QStringLiteral("Titre"));
  EXPECT_EQ(panel.findChildren<QLabel*>().size(), 2);
  auto* pic = panel.findChild<QLabel*>(QStringLiteral("skinPanelPicture"));
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(pic->geometry(), QRect(400 - 48 - 1, 1, 48, 48));
  EXPECT_EQ(panel.palette().color(QPalette::Window), QColor(200, 210, 220));
  QWidget bare;
  soft->WriteSoftString(QStringLiteral("skin_panel"), QStringLiteral("none.bmp"));
  SkinPanel(&bare);
  EXPECT_EQ(bare.findChild<QLabel*>(), nullptr);

  QWidget window;
  window.resize(500, 400);
  auto* tabs = new QTabWidget(&window);
  tabs->setGeometry(10, 10, 300, 200);
  auto* page = new QWidget;
  tabs->addTab(page, QStringLiteral("Un"));
  tabs->addTab(new QWidget, QStringLiteral("Deux"));
  window.show();
  const QPoint offset = page->mapTo(tabs, QPoint(0, 0));
  const QSize pageSize = page->size();
  ASSERT_GT(offset.y(), 0);
  FlatPages(&window);
  QCoreApplication::processEvents();
  EXPECT_FALSE(tabs->tabBar()->isVisible());
  EXPECT_EQ(page->mapTo(&window, QPoint(0, 0)), QPoint(10, 10));
  EXPECT_EQ(page->size(), pageSize);
  EXPECT_EQ(window.size(), QSize(500 - 2 * offset.x(), 400 + offset.y()));
}
