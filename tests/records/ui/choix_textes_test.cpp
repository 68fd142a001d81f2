// The text library window on the shipped installation: the theme tree, the tabs, the list and what
// a choice returns; pictures of it in both languages.
#include "records/ui/choix_textes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "common/shipped_installation.h"
#include "common/shots.h"
#include "records/text_library.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

static void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace {

// Captions of the tree, a child's indented by two blanks per level.
QStringList Tree(const QTreeWidget& tv) {
  QStringList out;
  std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* node, int level) {
    out << QString(2 * level, QLatin1Char(' ')) + node->text(0) +
               (node->isExpanded() || !node->childCount() ? "" : "+");
    for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), level + 1);
  };
  for (int i = 0; i < tv.topLevelItemCount(); ++i) walk(tv.topLevelItem(i), 0);
  return out;
}

QStringList Tabs(const QTabBar& tc) {
  QStringList out;
  for (int i = 0; i < tc.count(); ++i) out << tc.tabText(i);
  return out;
}

QStringList Shown(const QListWidget& lb) {
  QStringList out;
  for (int i = 0; i < lb.count(); ++i) out << lb.item(i)->text();
  return out;
}

TzunoChoixTextes Library(const QStringList& lines) {
  TzunoChoixTextes t;
  t.ChargeLignes(lines);
  return t;
}

const QStringList kLines = {
    "Thème;Introduction;Texte;Conclusion",
    "Noël;Noël seul;;",
    "Fêtes\\Pâques;Joyeuses Pâques;Des oeufs\\npartout;A bientôt",
    "Fêtes\\Noël;Joyeux Noël;Paix et joie.;Bises",
    "Fêtes\\Noël\\Enfants;Petit Papa Noël;;",
    "Pensées;#Amour;#Amitié",
    "Pensées;L'amour;L'amitié;La sagesse",
};

TEST(ChoixTextes, TreeOfThemes) {
  const TzunoChoixTextes t = Library(kLines);
  TfmChoixTextes f(nullptr, t, "", "", false);
  // Sorted, fully expanded, one node a level shared by the themes below it; a theme named like a
  // node elsewhere in the tree ("Noël") is its own node.
  EXPECT_EQ(Tree(*f.tv), QStringList({"Fêtes", "  Noël", "    Enfants", "  Pâques", "Noël", "Pensées"}));
  // The top node is selected: a theme without lines of its own shows the header's tabs and no text.
  EXPECT_EQ(f.Theme(), "Fêtes");
  EXPECT_EQ(Tabs(*f.tc), QStringList({"Introduction", "Texte", "Conclusion"}));
  EXPECT_EQ(f.lb->count(), 0);

  struct Case {
    const char* path;
    const char* theme;
    QStringList tab0;
  };
  const Case cases[] = {
      {"\\Fêtes\\Noël", "Fêtes\\Noël", {"Joyeux Noël"}},
      {"Noël", "Noël", {"Noël seul"}},
      {"\\fêtes\\noël\\enfants", "Fêtes\\Noël\\Enfants", {"Petit Papa Noël"}},
      // A path that no longer exists leaves the selection where it was.
      {"\\Anniversaire", "Fêtes\\Noël\\Enfants", {"Petit Papa Noël"}},
  };
  for (const Case& c : cases) {
    f.SelectPath(c.path);
    EXPECT_EQ(f.Theme(), c.theme) << c.path;
    EXPECT_EQ(Shown(*f.lb), c.tab0) << c.path;
  }
  // Filters reach the tree.
  TfmChoixTextes g(nullptr, t, "Fêtes", "Pâques", false);
  EXPECT_EQ(Tree(*g.tv), QStringList({"Fêtes", "  Noël", "    Enfants"}));
}

TEST(ChoixTextes, TabsListAndChoice) {
  const TzunoChoixTextes t = Library(kLines);
  TfmChoixTextes f(nullptr, t, "", "", false);
  f.show();
  f.SelectPath("\\Fêtes\\Pâques");
  f.tc->setCurrentIndex(2);
  EXPECT_EQ(Shown(*f.lb), QStringList({"A bientôt"}));
  // The tab number stays when the next theme has as many tabs; a theme's own names caption them.
  f.SelectPath("\\Pensées");
  EXPECT_EQ(Tabs(*f.tc), QStringList({"Amour", "Amitié"}));
  EXPECT_EQ(f.tc->currentIndex(), 0);
  f.tc->setCurrentIndex(1);
  EXPECT_EQ(Shown(*f.lb), QStringList({"L'amitié"}));

  // "\n" is a line break on screen and "|" in the choice; the case combo changes only the screen.
  f.SelectPath("\\Fêtes\\Pâques");
  EXPECT_EQ(f.tc->currentIndex(), 1);
  ASSERT_EQ(f.lb->count(), 1);
  EXPECT_EQ(f.lb->item(0)->text(), "Des oeufs\npartout");
  EXPECT_FALSE(f.bOK->isEnabled());
  f.lb->setCurrentRow(0);
  EXPECT_TRUE(f.bOK->isEnabled());
  EXPECT_EQ(f.Choice(), "Des oeufs|partout");
  const QRect two = f.lb->visualItemRect(f.lb->item(0));
  f.cb->setCurrentIndex(1);
  EXPECT_EQ(f.lb->item(0)->text(), "DES OEUFS\nPARTOUT");
  EXPECT_EQ(f.Choice(), "Des oeufs|partout");
  EXPECT_TRUE(f.bOK->isEnabled());
  f.cb->setCurrentIndex(3);
  EXPECT_EQ(f.lb->item(0)->text(), "Des oeufs\npartout");
  f.SelectPath("\\Pensées");
  f.cb->setCurrentIndex(2);
  EXPECT_EQ(f.lb->item(0)->text(), "l'amitié");
  // The row of two lines is taller than a row of one.
  EXPECT_GT(two.height(), f.lb->visualItemRect(f.lb->item(0)).height() * 3 / 2);
  // Another theme drops a choice it does not list.
  EXPECT_TRUE(f.Choice().isEmpty());
  EXPECT_FALSE(f.bOK->isEnabled());
}

// A modal window, driven once it is up.
void WhenShown(std::function<void(TfmChoixTextes&)> act) {
  QTimer::singleShot(0, [act] {
    auto* f = qobject_cast<TfmChoixTextes*>(QApplication::activeModalWidget());
    ASSERT_TRUE(f);
    act(*f);
  });
}

class ChoixTextesShipped : public ::testing::Test {
 protected:
  void Open(const QString& language, const QStringList& more = {}) {
    ASSERT_TRUE(dir.isValid());
    QString error;
    installation = OpenShippedCopy(dir.filePath("inst" + language), dir.filePath("user" + language),
                                   QStringList{"Langue=" + language} + more, &dialogs, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    Soft()->CreateUserFolders();
    Soft()->CopyTablesToUser();
  }
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
};

TEST_F(ChoixTextesShipped, ChoosingReturnsTheTextAndItsTheme) {
  Open("1");
  TzunoChoixTextesResult result;
  WhenShown([](TfmChoixTextes& f) {
    // The window opens on the last path, the library read from the user's copy of the table.
    EXPECT_EQ(f.Theme(), "Anniversaire\\Enfant");
    f.tc->setCurrentIndex(2);
    f.lb->setCurrentRow(1);
    f.bOK->click();
  });
  ChoisirTexte(nullptr, "\\Anniversaire\\Enfant", false, result, "", "");
  EXPECT_TRUE(result.Ok);
  EXPECT_EQ(result.Texte, "Profite bien de ta fête !");
  EXPECT_EQ(result.Chemin, "\\Anniversaire\\Enfant");
  ASSERT_TRUE(ChoixTextes());
  EXPECT_EQ(ChoixTextes()->LineCount(), 89);

  // Cancel returns nothing, even after a click.
  WhenShown([](TfmChoixTextes& f) {
    f.lb->setCurrentRow(0);
    f.bAnnuler->click();
  });
  ChoisirTexte(nullptr, "\\Anniversaire\\Enfant", false, result, "", "");
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(result.Texte.isEmpty());
}

TEST_F(ChoixTextesShipped, DebugCaptionAndReport) {
  Open("1");
  TzunoChoixTextes* t = ChoixTextesCharges();
  ASSERT_TRUE(t);
  TfmChoixTextes f(nullptr, *t, "Fêtes", "", true);
  EXPECT_FALSE(f.bDebug->isHidden());
  f.SelectPath("\\Fêtes\\Noël");
  // "Fêtes" with its three children; 89 lines of 4 fields; 4 texts in the first part of "Noël".
  EXPECT_EQ(f.windowTitle(),
            "Il y a 4 catégories, 89 lignes et 356 textes prédéfinis.Il y a 4 ligne dans cette "
            "catégorie.");
  dialogs.Answers = {arOK};
  f.bDebug->click();
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0].Text,
            "Fêtes\\Nouvel An : 4+4+4+=12   Fêtes\\Noël : 4+4+4+=12   Fêtes\\Pâques : 3+3+3+=9   TOTAL = 33");
}

TEST_F(ChoixTextesShipped, PicturesInBothLanguages) {
  for (const char* language : {"1", "2"}) {
    installation.reset();
    Open(language);
    TfmChoixTextes f(nullptr, *ChoixTextesCharges(), "", "", false);
    f.SelectPath(language == QLatin1String("1") ? "\\Mariage\\Faire-part" : "\\Wedding\\Announcement");
    f.tc->setCurrentIndex(1);
    f.lb->setCurrentRow(1);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.windowTitle(), MLText("fmChoixTextes.Caption"));
    EXPECT_EQ(f.bAnnuler->text(), language == QLatin1String("1") ? "Annuler" : "Cancel");
    EXPECT_EQ(f.cb->itemText(1), MLText("fmChoixTextes.cb.C 1"));
    for (QWidget* w : std::initializer_list<QWidget*>{f.tv, f.lb, f.tc, f.cb, f.bOK, f.bAnnuler})
      EXPECT_FALSE(w->accessibleName().isEmpty() &&
                   (!qobject_cast<QPushButton*>(w) || qobject_cast<QPushButton*>(w)->text().isEmpty()))
          << w->objectName().toStdString();
    EXPECT_GT(f.lb->count(), 0);
    Shot(f, QStringLiteral("choix_textes_%1.png").arg(language));
  }
}

}  // namespace
