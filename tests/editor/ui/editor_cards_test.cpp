// The editor and the address book: the address-card button lays the document's texts out again with
// the card's new values, and the field menu offers the book's fields page by page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "common/shipped_installation.h"
#include "editor/canvas_engine.h"
#include "editor/ui/canvas_widget.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/property_panel.h"
#include "model/document.h"
#include "model/text.h"
#include "records/ui/fiche_window.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

TEST(EditorCards, AddressCardButtonRelaysTheTextsAndTheFieldMenuFollowsTheBook) {
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  QString error;
  auto installation = OpenShippedCopy(dir.filePath("inst"), dir.filePath("user"),
                                      {"ModeEditon=0", "AlbumCD=0"}, &dialogs, &error);
  ASSERT_TRUE(installation) << error.toStdString();
  Soft()->CreateUserFolders();
  TfmEditeur editor;
  editor.AskMode = [] { return 2; };
  ASSERT_TRUE(
      editor.OuvreDocument(dir.filePath("inst") + QString::fromUtf8("/donnees/Modeles/Cartes de visite/"
                                                                    "Personnelle - Centrée.mdl")));
  auto shown = [&editor] {
    QStringList out;
    for (const auto& o : editor.CAD().Mdl().Objets())
      if (auto* t = dynamic_cast<TzunoCADTexte*>(o.get())) out << t->Displayed;
    return out.join('\n');
  };
  EXPECT_TRUE(shown().contains("Martin")) << shown().toStdString();

  // The surname changed and saved in the book, which is then closed.
  QTimer::singleShot(0, [] {
    auto* form = qobject_cast<TfmFiche*>(QApplication::activeModalWidget());
    ASSERT_TRUE(form);
    form->findChild<QLineEdit*>("eNom")->setText("Durand");
    form->sbSauve->click();
    form->sbClose->click();
  });
  editor.FicheChange();
  EXPECT_TRUE(shown().contains("Durand")) << shown().toStdString();
  EXPECT_FALSE(shown().contains("Martin"));

  // One submenu per page of the book, then the date fields.
  QMenu* menu = editor.Panel()->Form()->pmChamps;
  const QList<QAction*> entries = menu->actions();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0]->text(), MLText("fmFiche.tsPersonnel.Caption"));
  EXPECT_EQ(entries[1]->text(), MLText("fmFiche.tsProfessionnel.Caption"));
  EXPECT_EQ(entries[2]->text(), MLMessage(420));
  ASSERT_TRUE(entries[0]->menu());
  EXPECT_EQ(entries[0]->menu()->actions().value(1)->text(), "<Nom>");
  EXPECT_EQ(entries[1]->menu()->actions().value(0)->text(), QString::fromUtf8("<Société>"));
  EXPECT_EQ(entries[2]->menu()->actions().value(0)->text(), "<Date>");
}
