#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/language.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/ui/zuno_menu_label.h"

namespace {

// A small real window with one component of each translated kind.
struct TestWindow : QWidget {
  QLabel* label = new QLabel(QStringLiteral("built-in"), this);
  QPushButton* button = new QPushButton(QStringLiteral("built-in"), this);
  QGroupBox* group = new QGroupBox(this);
  QListWidget* list = new QListWidget(this);
  QComboBox* combo = new QComboBox(this);
  QPlainTextEdit* memo = new QPlainTextEdit(this);
  TzunoMenuLabel* zml = new TzunoMenuLabel(this);
  TzunoImageBtn* picture = new TzunoImageBtn(this);
  QAction* action = new QAction(this);
  QTabWidget* tabs = new QTabWidget(this);
  QWidget* page = new QWidget;
  explicit TestWindow(const char* name) {
    setObjectName(QString::fromLatin1(name));
    label->setObjectName(QStringLiteral("Label1"));
    button->setObjectName(QStringLiteral("btnOK"));
    group->setObjectName(QStringLiteral("rgSens"));
    auto* layout = new QVBoxLayout(group);
    auto* r = new QRadioButton(QStringLiteral("x"), group);
    layout->addWidget(r);
    list->setObjectName(QStringLiteral("lbChoix"));
    list->addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo->setObjectName(QStringLiteral("cbUnite"));
    combo->addItems({QStringLiteral("mm"), QStringLiteral("cm")});
    combo->setCurrentIndex(1);
    memo->setObjectName(QStringLiteral("mAide"));
    zml->setObjectName(QStringLiteral("zmlCopier"));
    picture->setObjectName(QStringLiteral("ibDvd"));
    action->setObjectName(QStringLiteral("miOuvrir"));
    tabs->setObjectName(QStringLiteral("pcPages"));
    page->setObjectName(QStringLiteral("tsGeneral"));
    tabs->addTab(page, QStringLiteral("built-in"));
  }
};

struct TranslationTest : ::testing::Test {
  ~TranslationTest() override {
    MLFree();
    MLSetLanguage(1);
    MLSetDebug(false);
  }
  void Load(int language) {
    ASSERT_TRUE(MLCreateFromLines({
        QStringLiteral("fmTest.Caption;Essai;Test"),
        QStringLiteral("fmTest.Hint;Aide;Help"),
        QStringLiteral("fmTest.label1.Caption;Étiquette;Label"),  // names without regard to case
        QStringLiteral("fmTest.btnOK.Caption;Valider;Confirm"),
        QStringLiteral("fmTest.btnOK.Hint;Valide le choix;Confirms the choice"),
        QStringLiteral("fmTest.rgSens.Caption;Sens;Direction"),
        QStringLiteral("fmTest.rgSens.R 0;Portrait;Portrait"),
        QStringLiteral("fmTest.rgSens.R 1;Paysage;Landscape"),
        QStringLiteral("fmTest.lbChoix.L 3;Quatre;Four"),
        QStringLiteral("fmTest.cbUnite.C 0;millimètres;millimetres"),
        QStringLiteral("fmTest.cbUnite.C x;premier;first"),
        QStringLiteral("fmTest.mAide.M 1;deuxième;second"),
        QStringLiteral("fmTest.zmlCopier.ZMLCaption;Copier;Copy"),
        QStringLiteral("fmTest.zmlCopier.ZMLHint;Copie l'objet;Copies the object"),
        QStringLiteral("fmTest.Label1.ZMLCaption;ignoré;ignored"),  // wrong kind of component
        QStringLiteral("fmTest.ibDvd.Hint;Boîtier DVD;DVD case"),
        QStringLiteral("fmTest.miOuvrir.MCaption;Ouvrir;Open"),
        QStringLiteral("fmTest.miOuvrir.MHint;Ouvre un fichier;Opens a file"),
        QStringLiteral("fmTest.tsGeneral.Caption;Général;General"),
        QStringLiteral("fmTestX.btnOK.Caption;autre fenêtre;other window"),
        QStringLiteral("fmTest.absent.Caption;rien;nothing"),
    }));
    MLSetLanguage(language);
  }
};

}  // namespace

TEST_F(TranslationTest, AppliesEveryKindOfLineToARealWindow) {
  Load(2);
  TestWindow w("fmTest");
  TranslateWidget(&w);
  EXPECT_EQ(w.windowTitle(), "Test");
  EXPECT_EQ(w.toolTip(), "Help");
  EXPECT_EQ(w.label->text(), "Label");
  EXPECT_EQ(w.button->text(), "Confirm");
  EXPECT_EQ(w.button->toolTip(), "Confirms the choice");
  EXPECT_EQ(w.group->title(), "Direction");
  const QList<QRadioButton*> radios = w.group->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 2);
  EXPECT_EQ(radios[0]->text(), "Portrait");
  EXPECT_EQ(radios[1]->text(), "Landscape");
  ASSERT_EQ(w.list->count(), 4);
  EXPECT_EQ(w.list->item(1)->text(), "b");
  EXPECT_EQ(w.list->item(2)->text(), "");
  EXPECT_EQ(w.list->item(3)->text(), "Four");
  // "x" is no number and counts as 0, after the first line for item 0.
  EXPECT_EQ(w.combo->itemText(0), "first");
  EXPECT_EQ(w.combo->currentIndex(), 1);
  EXPECT_EQ(w.memo->toPlainText(), "\nsecond");
  EXPECT_EQ(w.zml->text(), "Copy");
  EXPECT_EQ(w.zml->toolTip(), "Copies the object");
  EXPECT_EQ(w.picture->toolTip(), "DVD case");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(w.picture)->text(QAccessible::Name), "DVD case");
  EXPECT_EQ(w.action->text(), "Open");
  EXPECT_EQ(w.action->toolTip(), "Opens a file");
  EXPECT_EQ(w.tabs->tabText(0), "General");
}

TEST_F(TranslationTest, SecondInstancesShareTheLinesAndLanguageZeroKeepsBuiltIns) {
  Load(1);
  TestWindow second("fmTest_2");
  TranslateWidget(&second);
  EXPECT_EQ(second.button->text(), "Valider");
  EXPECT_EQ(second.label->text(), QStringLiteral("Étiquette"));
  TestWindow other("fmTestY");
  TranslateWidget(&other);
  EXPECT_EQ(other.button->text(), "built-in");
  MLSetLanguage(0);
  TestWindow untouched("fmTest");
  TranslateWidget(&untouched);
  EXPECT_EQ(untouched.button->text(), "built-in");
  EXPECT_EQ(untouched.windowTitle(), "");
}
