#include "catalogue/ui/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "catalogue/cache_files.h"
#include "catalogue/fixtures.h"
#include "catalogue/modele.h"
#include "catalogue/previews.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/apercu_tree.h"
#include "catalogue/ui/preview_progress.h"
#include "common/shipped_installation.h"
#include "model/document.h"
#include "render/codecs.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_image_btn.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/user_dialogs.h"

namespace {

// A two-face page: a red recto and a blue verso.
bool WriteTwoFaces(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  QString text = QStringLiteral("Version=1.2\r\nLarge=120\r\nHaut=120\r\n\r\n");
  for (int face = 1; face <= 2; ++face)
    text += QStringLiteral(
                "Face=%1\r\n  Objet=%1\r\n    Name=rectangle\r\n    Face=%1\r\n    CanSelect=1\r\n"
                "    Pen=%2,0,0\r\n    Brush=%2,0\r\n    x=60\r\n    y=60\r\n    l=120\r\n    h=120\r\n"
                "    r=0\r\n  End\r\nEnd\r\n\r\n")
                .arg(face)
                .arg(face == 1 ? "0000FF" : "FF0000");
  return f.write(text.toLatin1()) > 0;
}

// The shipped installation with its own settings file, per-user folders, cache and template folder,
// so that a test may change settings and files freely.
class CatalogueWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
  }
  void TearDown() override {
    window.reset();
    installation.reset();
    qunsetenv("XDG_CACHE_HOME");
  }

  // Each call opens a fresh installation of its own.
  void Open(const QStringList& args = {}, const QStringList& settings = {}) {
    window.reset();
    installation.reset();
    dialogs = TScriptedDialogs();
    const QString run = dir.filePath(QString("run%1/").arg(++runs));
    home = run + "inst";
    QString error;
    installation = OpenShippedCopy(home, run + "user", settings, &dialogs, &error, args);
    ASSERT_TRUE(installation) << error.toStdString();
    modeles = run + "Modeles/";
    QDir().mkpath(modeles);
    Soft()->ModelesPath = modeles;
  }

  void Show() {
    window = std::make_unique<TfmMain>();
    window->resize(1200, 900);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  // Waits for the previews being made.
  void Settle() {
    for (int i = 0; i < 500 && window->Progress()->Running(); ++i) QTest::qWait(10);
    QTest::qWait(20);
  }

  void ShowFolder(const QString& folder) {
    window->AfficheDossier(folder);
    Settle();
  }

  QTemporaryDir dir;
  int runs = 0;
  QString home, modeles;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  std::unique_ptr<TfmMain> window;
};

TEST_F(CatalogueWindow, FolderWithoutPreviewsGetsThemAndMarksTheBrokenTemplate) {
  Open();
  QDir().mkpath(modeles + "Cartes");
  for (int i = 0; i < 12; ++i)
    ASSERT_TRUE(fixtures::WriteTemplate(modeles + QString("Cartes/c%1.mdl").arg(i, 2, 10, QChar('0')),
                                        "00FF00", 400, 400));
  ASSERT_TRUE(fixtures::WriteBrokenTemplate(modeles + "Cartes/zz-broken.mdl"));
  Show();
  window->Tree()->Fill(QDir::cleanPath(modeles));
  window->Tree()->SetPathSelect("\\Cartes");
  // The grid shows every cell at once and the bar counts the previews being made.
  EXPECT_EQ(window->Grid()->Fichiers.size(), 13);
  EXPECT_TRUE(window->Progress()->isVisible());
  Settle();
  EXPECT_FALSE(window->Progress()->isVisible());
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(QFileInfo::exists(modeles + QString("Cartes/c%1.jpg").arg(i, 2, 10, QChar('0'))));
  ASSERT_EQ(window->Grid()->Erreurs.size(), 1);
  EXPECT_TRUE(window->Bugged().value(0).endsWith("zz-broken.mdl"));
  // Choosing the broken one shows an empty view rather than failing.
  window->Grid()->PressItem(12);
  EXPECT_TRUE(window->ShowingTemplate());
}

TEST_F(CatalogueWindow, SheetVariantsFollowTheGabaritButtonsAndSwitchTheView) {
  Open();
  QDir().mkpath(modeles + "CD");
  for (const char* name : {"a.1.mdl", "a.2.mdl", "a.4.mdl"})
    ASSERT_TRUE(fixtures::WriteTemplate(modeles + "CD/" + name, "0000FF"));
  // Buttons 1 and 4 on, the others off.
  QDir().mkpath(Soft()->UserPath);
  for (int k = 1; k <= 6; ++k) Soft()->SetUserFlag(QString("gabarit%1_actif").arg(k), k == 1 || k == 4);
  ASSERT_TRUE(Soft()->UserFlag("gabarit4_actif"));
  ASSERT_FALSE(Soft()->UserFlag("gabarit2_actif"));
  Show();
  ShowFolder(modeles + "CD");
  ASSERT_EQ(window->ShownTemplates().size(), 2);
  EXPECT_TRUE(window->ShownTemplates()[1].endsWith("a.4.mdl"));
  EXPECT_TRUE(window->GabaritItem()->isVisible());

  window->AfficheModele(modeles + "CD/a.1.jpg");
  EXPECT_EQ(CurrentModele().Title, "a.1");
  EXPECT_EQ(window->SheetGrid()->Fichiers.size(), 3);
  EXPECT_TRUE(window->SheetPanel()->isVisible());
  EXPECT_FALSE(window->GabaritItem()->isVisible());
  EXPECT_EQ(window->SheetGrid()->Courant, 0);  // the variant shown is framed
  window->SheetGrid()->PressItem(2);
  EXPECT_EQ(CurrentModele().Title, "a.4");
  EXPECT_EQ(window->SheetGrid()->Courant, 2);

  // Turning button 2 on lists a.2 too, and the state is kept for the next run.
  auto* two = window->findChild<TzunoImageBtn*>("dvd_2");
  ASSERT_TRUE(two);
  window->Action(101);
  two->click();
  Settle();
  EXPECT_EQ(window->ShownTemplates().size(), 3);
  window.reset();
  EXPECT_TRUE(Soft()->UserFlag("gabarit2_actif"));
  EXPECT_FALSE(Soft()->UserFlag("gabarit3_actif"));
}

// Assistive tools toggle a button without clicking it: the grid follows all the same.
TEST_F(CatalogueWindow, SheetButtonsToggledByAssistiveToolsChangeTheGrid) {
  Open();
  QDir().mkpath(modeles + "CD");
  for (const char* name : {"a.1.mdl", "a.2.mdl", "a.4.mdl"})
    ASSERT_TRUE(fixtures::WriteTemplate(modeles + "CD/" + name, "0000FF"));
  QDir().mkpath(Soft()->UserPath);
  for (int k = 1; k <= 6; ++k) Soft()->SetUserFlag(QString("gabarit%1_actif").arg(k), k == 1 || k == 4);
  Show();
  ShowFolder(modeles + "CD");
  ASSERT_EQ(window->ShownTemplates().size(), 2);
  auto* two = window->findChild<TzunoImageBtn*>("dvd_2");
  ASSERT_TRUE(two);
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(two);
  ASSERT_TRUE(button && button->actionInterface());
  ASSERT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  Settle();
  EXPECT_EQ(window->ShownTemplates().size(), 3);
  button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  Settle();
  EXPECT_EQ(window->ShownTemplates().size(), 2);
  // A click still counts once.
  two->click();
  Settle();
  EXPECT_EQ(window->ShownTemplates().size(), 3);
}

// The grid takes the keyboard: arrows move the frame over the cells, Enter opens the framed one;
// cells tell the template's name and size.
TEST_F(CatalogueWindow, TheGridIsUsedFromTheKeyboardAndTellsSizes) {
  Open();
  QDir().mkpath(modeles + "Cartes");
  for (const char* name : {"a", "b", "c", "d", "e"})
    ASSERT_TRUE(fixtures::WriteTemplate(modeles + "Cartes/" + name + ".mdl", "00FF00", 85, 55));
  Show();
  window->resize(3 * (Soft()->ReadSoftInteger("ApercuLarge") + 4) + 600, 900);
  ShowFolder(modeles + "Cartes");
  TzunoApercuModele* grid = window->Grid();
  EXPECT_NE(grid->focusPolicy() & Qt::TabFocus, 0);
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }));
  EXPECT_EQ(grid->Courant, 0);
  const int columns = grid->Columns();
  ASSERT_GE(columns, 2);
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_EQ(grid->Courant, 1);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(grid->Courant, std::min(4, 1 + columns));
  QTest::keyClick(grid, Qt::Key_Home);
  QTest::keyClick(grid, Qt::Key_Right);
  QTest::keyClick(grid, Qt::Key_Right);
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_TRUE(window->ShowingTemplate());
  EXPECT_EQ(CurrentModele().Title, "c");
  // Back to the grid, the frame stands on the template just seen.
  window->Action(101);
  Settle();
  EXPECT_EQ(grid->Courant, 2);

  EXPECT_EQ(grid->ItemHint(1), QString("b\n85 × 55 mm"));
  QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(grid->widget());
  ASSERT_TRUE(cells && cells->childCount() == 5);
  EXPECT_EQ(cells->child(3)->text(QAccessible::Description), QString("d\n85 × 55 mm"));
}

TEST_F(CatalogueWindow, SearchFindsTemplatesOfEveryCategoryAndEmptyDocumentsSayWhatToDo) {
  for (const int language : {1, 2}) {
    Open({}, {QString("Langue=%1").arg(language)});
    for (const char* path : {"Cartes/Anniversaire.mdl", "Cartes/Noel.mdl",
                             "CD/Audio/Élégant anniversaire.mdl", "CD/Audio/Rock.mdl"}) {
      QDir().mkpath(QFileInfo(modeles + path).path());
      ASSERT_TRUE(fixtures::WriteTemplate(modeles + path, "0000FF"));
    }
    QDir(Soft()->DocumentsPath).removeRecursively();
    QDir().mkpath(Soft()->DocumentsPath);
    Show();
    QLineEdit* search = window->SearchField();
    ASSERT_TRUE(search);
    EXPECT_EQ(search->accessibleName(), language == 1 ? "Rechercher un modèle" : "Search templates");
    window->Recherche("ANNIV");
    Settle();
    EXPECT_EQ(window->ShownTemplates(), (QStringList{modeles + "Cartes/Anniversaire.mdl",
                                                     modeles + "CD/Audio/Élégant anniversaire.mdl"}));
    window->Recherche("elegant");
    Settle();
    EXPECT_EQ(window->ShownTemplates().size(), 1);
    window->Recherche("introuvable");
    Settle();
    EXPECT_TRUE(window->ShownTemplates().isEmpty());
    EXPECT_FALSE(window->EmptyHint().isEmpty());

    // An empty documents folder says how to make a document.
    window->AfficheDossier(Soft()->DocumentsPath);
    Settle();
    EXPECT_TRUE(window->EmptyHint().contains(language == 1 ? "Nouveau" : "New"))
        << window->EmptyHint().toStdString();
    // A document in an album is a document all the same.
    QDir().mkpath(Soft()->DocumentsPath + "Album");
    ASSERT_TRUE(fixtures::WriteTemplate(Soft()->DocumentsPath + "Album/sien.mdl", "0000FF"));
    window->AfficheDossier(Soft()->DocumentsPath);
    Settle();
    EXPECT_TRUE(window->EmptyHint().isEmpty());
    QDir(Soft()->DocumentsPath + "Album").removeRecursively();
    ASSERT_TRUE(fixtures::WriteTemplate(Soft()->DocumentsPath + "mien.mdl", "0000FF"));
    window->AfficheDossier(Soft()->DocumentsPath);
    Settle();
    EXPECT_TRUE(window->EmptyHint().isEmpty());
  }
}

// At 1366 x 768 the sheet layout buttons below the tree stay inside the side menu's visible part.
TEST_F(CatalogueWindow, SheetButtonsStayInSightOnASmallScreen) {
  Open();
  QDir().mkpath(modeles + "CD");
  for (const char* name : {"a.1.mdl", "a.2.mdl"})
    ASSERT_TRUE(fixtures::WriteTemplate(modeles + "CD/" + name, "0000FF"));
  Show();
  window->resize(1366, 768 - 30);
  QTest::qWait(20);
  ShowFolder(modeles + "CD");
  ASSERT_TRUE(window->GabaritItem()->isVisible());
  for (int k = 1; k <= 6; ++k) {
    auto* button = window->findChild<TzunoImageBtn*>(QString("dvd_%1").arg(k));
    ASSERT_TRUE(button && button->isVisible());
    const QRect inMenu(button->mapTo(window->Menu()->viewport(), QPoint(0, 0)), button->size());
    EXPECT_TRUE(window->Menu()->viewport()->rect().contains(inMenu))
        << k << " " << inMenu.y() << "+" << inMenu.height() << " in " << window->Menu()->viewport()->height();
  }
  // A taller window gives the tree the room again.
  const int small = window->Tree()->height();
  window->resize(1366, 1000);
  QTest::qWait(20);
  EXPECT_GT(window->Tree()->height(), small);
}

TEST_F(CatalogueWindow, TemplateViewShowsBothFacesAndStepsAround) {
  Open();
  QDir().mkpath(modeles + "Cartes");
  ASSERT_TRUE(WriteTwoFaces(modeles + "Cartes/a.mdl"));
  ASSERT_TRUE(fixtures::WriteTemplate(modeles + "Cartes/b.mdl", "00FF00"));
  ASSERT_TRUE(fixtures::WriteTemplate(modeles + "Cartes/c.mdl", "00FF00"));
  Show();
  ShowFolder(modeles + "Cartes");
  window->Grid()->PressItem(0);
  ASSERT_TRUE(window->ShowingTemplate());
  EXPECT_TRUE(window->Verso()->isVisible());
  EXPECT_TRUE(window->ActionItem()->isVisible());
  // Recto above verso, red above blue.
  const QImage recto = window->Recto()->Picture(), verso = window->Verso()->Picture();
  EXPECT_EQ(recto.pixelColor(recto.width() / 2, recto.height() / 2), QColor(255, 0, 0));
  EXPECT_EQ(verso.pixelColor(verso.width() / 2, verso.height() / 2), QColor(0, 0, 255));
  EXPECT_LT(window->Recto()->geometry().bottom(), window->Verso()->geometry().top());

  window->Action(105);  // next
  EXPECT_EQ(CurrentModele().Title, "b");
  EXPECT_FALSE(window->Verso()->isVisible());
  window->Action(105);
  window->Action(105);  // after the last comes the first
  EXPECT_EQ(CurrentModele().Title, "a");
  window->Action(104);  // before the first comes the last
  EXPECT_EQ(CurrentModele().Title, "c");

  // An installed template cannot be deleted from here; the editor gets it on a click.
  EXPECT_FALSE(window->findChild<TzunoMenuLabel*>("LabelSupprimer")->isVisible());
  QSignalSpy open(window.get(), &TfmMain::OuvreDocument);
  window->Recto()->click();
  ASSERT_EQ(open.size(), 1);
  EXPECT_EQ(open[0][0].toString(), modeles + "Cartes/c.mdl");
  EXPECT_FALSE(window->isVisible());
}

TEST_F(CatalogueWindow, DocumentsNodeListsThousandsAndDeletesAfterAsking) {
  Open();
  const QString docs = Soft()->DocumentsPath;
  QDir().mkpath(docs);
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "seed.mdl", "0000FF"));
  {
    TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
    ASSERT_TRUE(MakePreview(d, docs + "seed.mdl", 160, 160));
  }
  for (int i = 0; i < 1000; ++i) {
    const QString base = docs + QString("doc%1").arg(i, 4, 10, QChar('0'));
    ASSERT_TRUE(QFile::copy(docs + "seed.mdl", base + ".mdl"));
    ASSERT_TRUE(QFile::copy(docs + "seed.jpg", base + ".jpg"));
  }
  Show();
  window->Tree()->SetPathSelect("\\" + Soft()->DocumentsName);
  Settle();
  EXPECT_EQ(window->Grid()->Fichiers.size(), 1001);
  EXPECT_EQ(window->ShownFolder(), QDir::cleanPath(docs));
  EXPECT_FALSE(window->Progress()->isVisible());

  window->Grid()->PressItem(0);
  EXPECT_TRUE(CurrentModele().IsDocument);
  EXPECT_TRUE(window->findChild<TzunoMenuLabel*>("LabelSupprimer")->isVisible());
  dialogs.Answers = {arCancel, arOK};
  window->Action(103);
  EXPECT_TRUE(QFileInfo::exists(docs + "doc0000.mdl"));
  window->Action(103);
  EXPECT_FALSE(QFileInfo::exists(docs + "doc0000.mdl"));
  EXPECT_FALSE(QFileInfo::exists(docs + "doc0000.jpg"));
  ASSERT_EQ(dialogs.Questions.size(), 2);
  EXPECT_TRUE(dialogs.Questions[0].Text.contains("doc0000"));
  Settle();
  EXPECT_FALSE(window->ShowingTemplate());
  EXPECT_EQ(window->Grid()->Fichiers.size(), 1000);
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(CatalogueWindow, AlbumsAreRenamedAndDeletedWithoutLosingOthers) {
  Open();
  const QString docs = Soft()->DocumentsPath;
  QDir().mkpath(docs + "Vacances");
  QDir().mkpath(docs + "Noel");
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "Vacances/plage.mdl", "00FF00"));
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "Noel/sapin.mdl", "00FF00"));
  QFile other(docs + "Noel/notes.txt");
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  Show();
  const QString top = "\\" + Soft()->DocumentsName;
  window->Tree()->SetPathSelect(top + "\\Vacances");
  Settle();
  EXPECT_TRUE(window->AlbumItem()->isVisible());

  // A name already taken is refused and both albums stay whole.
  dialogs.Names = {QString("Noel"), QString("Ete")};
  dialogs.Answers = {arOK};
  window->Action(501);
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0].Text, QString("Le nom n'est pas valide."));
  EXPECT_TRUE(QFileInfo::exists(docs + "Vacances/plage.mdl"));
  EXPECT_TRUE(QFileInfo::exists(docs + "Noel/sapin.mdl"));
  window->Action(501);
  EXPECT_TRUE(QFileInfo::exists(docs + "Ete/plage.mdl"));
  EXPECT_EQ(window->Tree()->GetPathSelect(), Soft()->DocumentsName + "\\Ete");

  // Deleting an album holding a file of another kind removes the documents and keeps that file.
  window->Tree()->SetPathSelect(top + "\\Noel");
  Settle();
  dialogs.Answers = {arYes, arOK};
  window->Action(502);
  EXPECT_FALSE(QFileInfo::exists(docs + "Noel/sapin.mdl"));
  EXPECT_TRUE(QFileInfo::exists(docs + "Noel/notes.txt"));
  // The album stays, and the user is told why.
  ASSERT_EQ(dialogs.Questions.size(), 3);
  EXPECT_TRUE(dialogs.Questions[2].Text.contains("Noel")) << dialogs.Questions[2].Text.toStdString();
  EXPECT_TRUE(dialogs.Questions[2].Text.contains("autres fichiers"))
      << dialogs.Questions[2].Text.toStdString();
  EXPECT_EQ(window->Tree()->GetPathSelect(), Soft()->DocumentsName + "\\Noel");
  EXPECT_TRUE(window->ShownTemplates().isEmpty());
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(CatalogueWindow, ARenamedAlbumShowsItsDocumentsAtTheirNewPlace) {
  for (const int language : {1, 2}) {
    Open({}, {QString("Langue=%1").arg(language)});
    const QString docs = Soft()->DocumentsPath;
    QDir().mkpath(docs + "Vacances");
    ASSERT_TRUE(fixtures::WriteTemplate(docs + "Vacances/plage.mdl", "00FF00"));
    Show();
    window->Tree()->SetPathSelect("\\" + Soft()->DocumentsName + "\\Vacances");
    Settle();
    dialogs.Names = {QString("Ete")};
    window->Action(501);
    Settle();
    ASSERT_EQ(window->ShownTemplates(), QStringList{docs + "Ete/plage.mdl"});
    EXPECT_TRUE(window->Grid()->Fichiers.value(0).startsWith(docs + "Ete/"));
    window->Grid()->PressItem(0);
    EXPECT_EQ(CurrentModele().FileName, docs + "Ete/plage.mdl");
    // Its texts are those of the window's language.
    const QString invalid = language == 1 ? "Le nom n'est pas valide." : "The name is not valid.";
    dialogs.Names = {QString("a/b")};
    dialogs.Answers = {arOK};
    window->Tree()->SetPathSelect("\\" + Soft()->DocumentsName + "\\Ete");
    window->Action(501);
    ASSERT_EQ(dialogs.Questions.size(), 1);
    EXPECT_EQ(dialogs.Questions[0].Text, invalid);
    EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
  }
}

TEST_F(CatalogueWindow, AlbumsWhoseNamesHoldABackslashAreTheirOwnFolders) {
  Open();
  const QString docs = Soft()->DocumentsPath;
  // "a\b/x" and "a/b/x" give the same node names joined with "\".
  for (const char* album : {"a\\b/x", "a/b/x"}) {
    QDir().mkpath(docs + album);
    ASSERT_TRUE(fixtures::WriteTemplate(docs + album + "/Profond.mdl", "00FF00"));
  }
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "a\\b/x/Autre.mdl", "0000FF"));
  Show();
  QTreeWidgetItem* node = window->Tree()->FindFolder(docs + "a\\b/x");
  ASSERT_NE(node, nullptr);
  window->Tree()->setCurrentItem(node);
  Settle();
  EXPECT_EQ(window->ShownTemplates(), (QStringList{docs + "a\\b/x/Autre.mdl", docs + "a\\b/x/Profond.mdl"}));
  dialogs.Answers = {arYes};
  window->Action(502);
  EXPECT_FALSE(QFileInfo::exists(docs + "a\\b/x"));
  EXPECT_TRUE(QFileInfo::exists(docs + "a/b/x/Profond.mdl"));
  EXPECT_EQ(window->Tree()->FindFolder(docs + "a\\b/x"), nullptr);
  ASSERT_NE(window->Tree()->FindFolder(docs + "a/b/x"), nullptr);
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

// Names written in a legacy encoding (not valid UTF-8) are shown, read as Windows-1252, and open.
TEST_F(CatalogueWindow, NamesThatAreNotUtf8AreShownAndOpen) {
  Open();
  const QString docs = Soft()->DocumentsPath;
  QDir().mkpath(docs);
  const QByteArray native = QFile::encodeName(docs);
  ASSERT_EQ(::mkdir((native + "Ch\xe9ri").constData(), 0755), 0);
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "plage.mdl", "00FF00"));
  ASSERT_EQ(::rename((native + "plage.mdl").constData(), (native + "Ch\xe9ri/plage.mdl").constData()), 0);
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "ete.mdl", "0000FF", 80, 40));
  ASSERT_EQ(::rename((native + "ete.mdl").constData(), (native + "\xe9t\xe9.mdl").constData()), 0);
  QFile original(QFile::decodeName(native + "Ch\xe9ri/plage.mdl"));
  Show();

  QTreeWidgetItem* album = nullptr;
  for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it)
    if ((*it)->text(0) == QString("Chéri")) album = *it;
  ASSERT_NE(album, nullptr);
  window->Tree()->setCurrentItem(album);
  Settle();
  ASSERT_EQ(window->ShownTemplates().size(), 1);
  EXPECT_TRUE(window->ShownTemplates()[0].endsWith("/Chéri/plage.mdl"));
  EXPECT_TRUE(window->Grid()->Erreurs.isEmpty());

  window->AfficheDossier(docs);
  Settle();
  QString ete;
  for (const QString& m : window->ShownTemplates())
    if (m.endsWith("/été.mdl")) ete = m;
  ASSERT_FALSE(ete.isEmpty()) << window->ShownTemplates().join(", ").toStdString();
  window->Grid()->PressItem(int(window->ShownTemplates().indexOf(ete)));
  EXPECT_EQ(CurrentModele().Title, QString("été"));
  EXPECT_TRUE(CurrentModele().IsDocument);
  EXPECT_EQ(window->PreviewModel()->Large, 80);
  QSignalSpy open(window.get(), &TfmMain::OuvreDocument);
  window->Recto()->click();
  ASSERT_EQ(open.size(), 1);
  TzunoCADMdl read(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ASSERT_TRUE(read.LoadFromFile(open[0][0].toString()));
  EXPECT_EQ(read.Large, 80);

  // Deleting it deletes the real file.
  window->show();
  dialogs.Answers = {arOK};
  window->Action(103);
  EXPECT_NE(::access((native + "\xe9t\xe9.mdl").constData(), F_OK), 0);
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(CatalogueWindow, ReadOnlyInstallationWritesPreviewsToTheUserCache) {
  Open();
  QDir().mkpath(modeles + "Cartes");
  ASSERT_TRUE(fixtures::WriteTemplate(modeles + "Cartes/a.mdl", "0000FF"));
  if (!fixtures::MakeReadOnly(modeles + "Cartes", true)) {
    fixtures::MakeReadOnly(modeles + "Cartes", false);
    GTEST_SKIP() << "no way to make a folder read-only here";
  }
  Show();
  ShowFolder(modeles + "Cartes");
  fixtures::MakeReadOnly(modeles + "Cartes", false);
  EXPECT_FALSE(QFileInfo::exists(modeles + "Cartes/a.jpg"));
  const QString preview = window->Grid()->Fichiers.value(0);
  EXPECT_EQ(preview, UserCacheFile(modeles + "Cartes/a.jpg"));
  EXPECT_TRUE(QFileInfo::exists(preview));
  EXPECT_TRUE(window->Grid()->Erreurs.isEmpty());
  // The template view finds the template behind the cached preview.
  window->Grid()->PressItem(0);
  EXPECT_EQ(CurrentModele().FileName, modeles + "Cartes/a.mdl");
}

TEST_F(CatalogueWindow, UserFolderOfTheSameNameWins) {
  Open();
  QDir().mkpath(modeles + "Cartes");
  ASSERT_TRUE(fixtures::WriteTemplate(modeles + "Cartes/installee.mdl", "0000FF"));
  QDir().mkpath(Soft()->UserPath + "Cartes");
  ASSERT_TRUE(fixtures::WriteTemplate(Soft()->UserPath + "Cartes/perso.mdl", "0000FF"));
  Show();
  window->Tree()->Fill(QDir::cleanPath(modeles));
  window->Tree()->SetPathSelect("\\Cartes");
  Settle();
  ASSERT_EQ(window->ShownTemplates().size(), 1);
  EXPECT_TRUE(window->ShownTemplates()[0].endsWith("perso.mdl"));
}

TEST_F(CatalogueWindow, NewDocumentTakesTheSettingsSizeOrItsDefault) {
  struct Case {
    const char *large, *haut;
    double w, h;
  } cases[] = {{"210", "297", 210, 297}, {"abc", "", 200, 150}};
  for (const Case& c : cases) {
    Open({}, {QString("nouveau_large=") + c.large, QString("nouveau_haut=") + c.haut});
    Show();
    QSignalSpy made(window.get(), &TfmMain::NouveauDocument);
    // Every wizard flag is on in this installation, but no wizard window exists yet.
    window->Nouveau();
    ASSERT_EQ(made.size(), 1) << c.large;
    EXPECT_EQ(made[0][0].toInt(), 0);
    EXPECT_EQ(made[0][1].toDouble(), c.w);
    EXPECT_EQ(made[0][2].toDouble(), c.h);
    EXPECT_FALSE(window->isVisible());
  }
  // A registered wizard is started instead.
  int started = 0;
  window->Wizards["wizard_dvd"] = [&] { ++started; };
  QSignalSpy made(window.get(), &TfmMain::NouveauDocument);
  window->Nouveau();
  EXPECT_EQ(started, 1);
  EXPECT_EQ(made.size(), 0);
}

TEST_F(CatalogueWindow, ClosingAsksOnlyWithoutDebug) {
  for (const bool debug : {false, true}) {
    Open(debug ? QStringList{"debug"} : QStringList{});
    Show();
    dialogs.Answers = {arCancel};
    window->close();
    EXPECT_EQ(window->isVisible(), !debug);
    EXPECT_EQ(dialogs.Questions.size(), debug ? 0 : 1);
  }
}

TEST_F(CatalogueWindow, SavesADocumentAsAPictureAt150PixelsPerInch) {
  Open();
  const QString docs = Soft()->DocumentsPath;
  QDir().mkpath(docs);
  ASSERT_TRUE(fixtures::WriteTemplate(docs + "carte.mdl", "0000FF", 254, 127));
  Show();
  window->AfficheModele(docs + "carte.mdl");
  const QString out = dir.filePath("carte.jpeg");
  dialogs.Files = {out, out};
  dialogs.Answers = {arNo};
  window->Action(113);
  // The name takes the filter's extension; 254 x 127 mm at 150 ppi is 1500 x 750 pixels.
  const QImage saved = LoadJpeg(dir.filePath("carte.jpg"));
  EXPECT_EQ(saved.size(), QSize(1500, 750));
  const qint64 stamp = QFileInfo(dir.filePath("carte.jpg")).lastModified().toMSecsSinceEpoch();
  // Saving again asks before replacing; No keeps the file.
  window->Action(113);
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_TRUE(dialogs.Questions[0].Text.contains("carte.jpg"));
  EXPECT_EQ(QFileInfo(dir.filePath("carte.jpg")).lastModified().toMSecsSinceEpoch(), stamp);
}

}  // namespace

namespace {

TEST_F(CatalogueWindow, EveryWindowLineReachesItsControlInEnglish) {
  Open({}, {"Langue=2"});
  Show();
  QFile tra(home + "/lorvane.tra");
  ASSERT_TRUE(tra.open(QIODevice::ReadOnly));
  int lines = 0;
  TQtMLWindow ml(window.get());
  for (const QByteArray& line : tra.readAll().split('\n')) {
    if (!line.startsWith("fmMain.")) continue;
    ++lines;
    const QString component = QString::fromLatin1(line).section(';', 0, 0).section('.', 1, 1);
    EXPECT_TRUE(ml.HasComponent(component)) << component.toStdString();
  }
  EXPECT_GE(lines, 10);
  EXPECT_EQ(window->findChild<TzunoMenuLabel*>("LabelRetourMosaique")->text(), "Back to all templates");
  EXPECT_EQ(window->findChild<TzunoImageBtn*>("dvd_3")->accessibleName(), "Booklet");
  EXPECT_EQ(window->Recto()->accessibleName(), "Front");
}

}  // namespace
