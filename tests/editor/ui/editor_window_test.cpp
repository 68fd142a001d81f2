// The editor window on the shipped installation (offscreen): opening, saving, undo, leaving, faces and
// the two editing modes.
#include "editor/ui/editor_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "catalogue/modele.h"
#include "catalogue/ui/main_window.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "editor/canvas_engine.h"
#include "editor/ui/canvas_widget.h"
#include "editor/ui/mode_dialog.h"
#include "editor/ui/property_panel.h"
#include "editor/ui/tool_column.h"
#include "model/document.h"
#include "model/object.h"
#include "model/text.h"
#include "records/album_cd.h"
#include "records/ui/album_dialog.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/ui/zuno_spin.h"
#include "shell/user_dialogs.h"

namespace {

QByteArray ReadFileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
  }
  void TearDown() override {
    editor.reset();
    installation.reset();
    qunsetenv("XDG_CACHE_HOME");
  }
  // A fresh copy of the shipped settings with some lines replaced, and the window.
  void Open(const QStringList& settings = {}) {
    home = dir.filePath("inst");
    QString error;
    installation = OpenShippedCopy(home, dir.filePath("user"), settings, &dialogs, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    Soft()->CreateUserFolders();
    editor = std::make_unique<TfmEditeur>();
    editor->AskMode = [this] {
      ++modeAsked;
      return 2;
    };
  }
  QString Shipped(const QString& rel) const { return home + "/donnees/Modeles/" + rel; }
  void Settle() {
    QTest::qWait(30);
    editor->View()->Tick();
  }
  // Selects the object at index i as a click does (a snapshot is taken).
  void Select(int i) { editor->CAD().SelectIndex(i); }

  QTemporaryDir dir;
  QString home;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  std::unique_ptr<TfmEditeur> editor;
  int modeAsked = 0;
};

TEST_F(EditorWindow, SavingADiscLabelWritesTheKindSuffixAndProposesThePlainNameAgain) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
  Settle();
  ASSERT_EQ(editor->CAD().Mdl().Gabarit, 1);
  EXPECT_EQ(editor->ProposedName(), "Foret");
  dialogs.Names = {QString("Mon CD")};
  editor->Enregistrer();
  const QString docs = Soft()->DocumentsPath;
  EXPECT_TRUE(editor->Saved);
  EXPECT_TRUE(QFile::exists(docs + "Mon CD.1.mdl"));
  EXPECT_TRUE(QFile::exists(docs + "Mon CD.1.jpg"));
  EXPECT_EQ(editor->DocName, "Mon CD.1");
  EXPECT_EQ(editor->ProposedName(), "Mon CD");
  // The same name again replaces without asking; another existing name asks, and No keeps both.
  dialogs.Names = {QString("Mon CD")};
  editor->Enregistrer();
  EXPECT_TRUE(dialogs.Questions.isEmpty());
  TzunoCADMdl other(nullptr, QRect(0, 0, 10, 10), 50, 50);
  other.Gabarit = 1;
  ASSERT_TRUE(other.SaveToFile(docs + "Autre.1.mdl"));
  const QByteArray before = ReadFileBytes(docs + "Autre.1.mdl");
  dialogs.Names = {QString("Autre")};
  dialogs.Answers = {arNo};
  editor->Enregistrer();
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_TRUE(dialogs.Questions[0].Text.contains("Autre")) << dialogs.Questions[0].Text.toStdString();
  EXPECT_EQ(dialogs.Questions[0].Buttons, abYes | abNo);
  EXPECT_FALSE(editor->Saved);
  EXPECT_EQ(ReadFileBytes(docs + "Autre.1.mdl"), before);
  EXPECT_FALSE(QFile::exists(docs + "Autre.1.jpg"));
  EXPECT_EQ(editor->DocName, "Mon CD.1");
}

TEST_F(EditorWindow, ASaveThatFailsSaysSoAndKeepsTheDocument) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
  Settle();
  const QStringList text = editor->CAD().Mdl().SaveToStrings();
  // A folder holds the name the document would take: the file cannot be written.
  ASSERT_TRUE(QDir().mkpath(Soft()->DocumentsPath + "Perdu.1.mdl"));
  dialogs.Names = {QString("Perdu")};
  dialogs.Answers = {arYes, arOK};
  editor->Enregistrer();
  EXPECT_FALSE(editor->Saved);
  ASSERT_EQ(dialogs.Questions.size(), 2);
  EXPECT_EQ(dialogs.Questions[1].Kind, akError);
  EXPECT_TRUE(dialogs.Faults.isEmpty());
  EXPECT_EQ(editor->DocName, "Foret.1");
  EXPECT_EQ(editor->CAD().Mdl().SaveToStrings(), text);
  EXPECT_TRUE(editor->isVisible());
}

TEST_F(EditorWindow, UndoStepsBackToEachSelectionChangeThenStops) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
  Settle();
  TzunoCADMdl& d = editor->CAD().Mdl();
  ASSERT_GE(d.Count(), 3);
  TzunoMenuBouton* undo = editor->Button("Annuler");
  ASSERT_NE(undo, nullptr);
  QList<int> boxes;
  for (int i = 0; i < d.Count() && boxes.size() < 3; ++i)
    if (d.Objet(i)->IsBox()) boxes << i;
  ASSERT_EQ(boxes.size(), 3);
  QList<QStringList> states;
  for (int i : boxes) {
    states << d.SaveToStrings();
    Select(i);
    static_cast<TzunoCADRect*>(d.Objet(i))->x += 5;
  }
  EXPECT_TRUE(undo->isEnabled());
  for (int i = 2; i >= 0; --i) {
    editor->Annuler();
    EXPECT_EQ(d.SaveToStrings(), states[i]) << i;
  }
  EXPECT_FALSE(undo->isEnabled());
  editor->Annuler();
  EXPECT_EQ(d.SaveToStrings(), states[0]);
}

TEST_F(EditorWindow, NewDocumentsTakeTheNextFreeName) {
  Open({"ModeEditon=0"});
  editor->NouveauDocument(0, 210, 297);
  const QString first = editor->DocName;
  EXPECT_EQ(editor->DocFile, Soft()->DocumentsPath + first + ".mdl");
  dialogs.Names = {first};
  editor->Enregistrer();
  ASSERT_TRUE(editor->Saved);
  editor->NouveauDocument(0, 100, 50);
  EXPECT_EQ(editor->DocName, first + " 1");
  EXPECT_EQ(editor->CAD().Mdl().Large, 100);
  EXPECT_EQ(editor->CAD().Mdl().Count(), 0);
}

TEST_F(EditorWindow, LeavingAsksToSaveOnlyAChangedDocument) {
  struct Case {
    bool change;
    int answer;
    bool asked, saved;
  };
  for (const Case c :
       {Case{false, arYes, false, false}, Case{true, arNo, true, false}, Case{true, arYes, true, true}}) {
    editor.reset();
    installation.reset();
    dialogs = TScriptedDialogs();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    Open({"ModeEditon=0"});
    CurrentModele().SetFile(Shipped("CD et DVD/Audio/Foret.2.mdl"));
    ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
    Settle();
    Select(0);
    if (c.change) static_cast<TzunoCADRect*>(editor->CAD().Mdl().Objet(0))->x += 3;
    QSignalSpy back(editor.get(), &TfmEditeur::Retour);
    dialogs.Answers = {c.answer};
    dialogs.Names = {QString("Forêt à moi")};
    editor->BtnRetour();
    EXPECT_EQ(dialogs.Questions.size(), c.asked ? 1 : 0) << c.change << c.answer;
    if (c.asked) EXPECT_TRUE(dialogs.Questions[0].Text.contains("Foret"));
    ASSERT_EQ(back.count(), 1);
    EXPECT_EQ(back[0][0].toBool(), c.saved);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(QFile::exists(Soft()->DocumentsPath + "Forêt à moi.1.mdl"), c.saved);
    // Only a saved document becomes the catalogue's current template.
    EXPECT_EQ(CurrentModele().FileName,
              c.saved ? Soft()->DocumentsPath + "Forêt à moi.1.mdl" : Shipped("CD et DVD/Audio/Foret.2.mdl"));
  }
}

TEST_F(EditorWindow, FacePreviewsSwitchTheEditedFace) {
  Open({"ModeEditon=0"});
  editor->NouveauDocument(0, 100, 60);
  Settle();
  TfmZunoCADMenu2* tools = editor->Tools()->Form();
  ASSERT_TRUE(!tools->pFace->isHidden());
  EXPECT_FALSE(tools->Face(1)->Picture().isNull());
  EXPECT_EQ(tools->FaceLabel(1)->palette().color(QPalette::WindowText), QColor(242, 125, 0));
  tools->Face(2)->click();
  Settle();
  EXPECT_EQ(editor->CAD().Mdl().CurrentFace, 2);
  EXPECT_EQ(tools->FaceLabel(2)->palette().color(QPalette::WindowText), QColor(242, 125, 0));
  EXPECT_EQ(tools->FaceLabel(1)->palette().color(QPalette::WindowText), QColor(Qt::black));
  // A template kind without faces of its own hides them.
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
  EXPECT_TRUE(tools->pFace->isHidden());
  EXPECT_EQ(editor->CAD().Mdl().CurrentFace, 1);
}

TEST_F(EditorWindow, TheModeComesFromTheUserFlagsOrTheQuestion) {
  struct Case {
    bool masque, avance;
    int asked;
    bool advanced;
  };
  for (const Case c : {Case{true, true, 0, true}, Case{true, false, 0, false}, Case{false, false, 1, true}}) {
    editor.reset();
    installation.reset();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    modeAsked = 0;
    Open({"ModeEditon=1"});
    Soft()->SetUserFlag("ModeEditionMasque", c.masque);
    Soft()->SetUserFlag("ModeEditionAvance", c.avance);
    ASSERT_EQ(Soft()->UserFlag("ModeEditionMasque"), c.masque) << Soft()->UserIniFile.toStdString();
    editor->NouveauDocument(0, 100, 60);
    editor->activateWindow();
    for (int i = 0; i < 50 && !editor->Active; ++i) QTest::qWait(10);
    ASSERT_TRUE(editor->Active);
    EXPECT_EQ(modeAsked, c.asked);
    EXPECT_EQ(editor->CAD().Avance, c.advanced);
    EXPECT_EQ(!editor->Tools()->Form()->pBoutons->isHidden(), c.advanced);
    // The bar's mode button switches, and leaving remembers the mode.
    editor->EditionChange();
    EXPECT_EQ(editor->CAD().Avance, !c.advanced);
    EXPECT_EQ(!editor->Tools()->Form()->pBoutons->isHidden(), !c.advanced);
    editor->BtnRetour();
    EXPECT_EQ(Soft()->UserFlag("ModeEditionAvance"), !c.advanced);
  }
}

TEST_F(EditorWindow, ToolButtonsSetTheCanvasMode) {
  Open({"ModeEditon=0"});
  editor->NouveauDocument(0, 100, 60);
  Settle();
  TfmZunoCADMenu2* tools = editor->Tools()->Form();
  ASSERT_NE(tools->ToolButton(4), nullptr);
  tools->ToolButton(4)->click();
  EXPECT_EQ(editor->CAD().Mode, 4);
  EXPECT_EQ(tools->ActiveTool(), 4);
  // Placing a text hands back to the selection tool.
  QTest::mouseClick(editor->View()->Surface(), Qt::LeftButton, {}, editor->View()->PixelOf({50, 30}));
  Settle();
  EXPECT_EQ(editor->CAD().Mdl().Count(), 1);
  EXPECT_EQ(tools->ActiveTool(), 1);
  EXPECT_TRUE(tools->ToolButton(1)->isChecked());
}

}  // namespace

namespace {

// Printing hands the document as it is now to the print dialog, through a file of its own.
TEST_F(EditorWindow, PrintHandsOverTheDocumentAsEdited) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Foret.1.mdl")));
  Settle();
  TzunoCADMdl& d = editor->CAD().Mdl();
  static_cast<TzunoCADRect*>(d.Objet(0))->x = 33;
  QSignalSpy printed(editor.get(), &TfmEditeur::Imprime);
  editor->Imprimer();
  ASSERT_EQ(printed.count(), 1);
  const QString file = printed[0][0].toString();
  EXPECT_EQ(file, QDir(Soft()->UserPath).filePath("print_tmp.mdl"));
  TzunoCADMdl copy(nullptr, QRect(0, 0, 10, 10), 10, 10);
  ASSERT_TRUE(copy.LoadFromFile(file));
  EXPECT_EQ(copy.SaveToStrings(), d.SaveToStrings());
  // The document being edited keeps its own name.
  EXPECT_EQ(editor->DocFile, Shipped("CD et DVD/Audio/Foret.1.mdl"));
}

}  // namespace

namespace {

// The label wizard's save: each label of a day takes the next number after the date.
TEST_F(EditorWindow, LabelsSavedTheSameDayTakeTheNextNumbers) {
  Open({"ModeEditon=0"});
  // The shipped picture folders are the source tree's: the labels go to folders of the test.
  Soft()->ImagesPath = dir.filePath("Images/");
  Soft()->CacheImagesPath = dir.filePath("Cache/");
  QDir().mkpath(Soft()->CacheImagesPath);
  editor->NouveauDocument(0, 50, 30);
  editor->SetSaveMode(TfmEditeur::smEtiquette);
  dialogs.Answers = {arOK, arOK};
  editor->SaveHandler();
  editor->SaveHandler();
  const QString folder = Soft()->ImagesPath + "Mes etiquettes/";
  const QString day = QDate::currentDate().toString("yyMMdd");
  for (const char* n : {"01", "02"}) {
    const QString file = folder + "eti0" + day + n + ".bmp";
    const QImage label(file);
    ASSERT_FALSE(label.isNull()) << file.toStdString();
    // 150 pixels per inch, and magenta where the paper is.
    EXPECT_EQ(label.size(), QSize(295, 177));
    EXPECT_EQ(label.pixelColor(label.width() / 2, label.height() / 2), QColor(255, 0, 255));
    EXPECT_TRUE(QFile::exists(Soft()->CacheImagesPath + "eti0" + day + n + "_thumb.jpg"));
  }
  ASSERT_EQ(dialogs.Questions.size(), 2);
  EXPECT_EQ(dialogs.Questions[0].Kind, akInformation);
  EXPECT_EQ(editor->CAD().Mdl().ColorPapier, clWhite);
  // Leaving puts the document save back.
  editor->BtnRetour();
  dialogs.Names = {std::nullopt};
  editor->SaveHandler();
  EXPECT_EQ(dialogs.Questions.size(), 2);
  EXPECT_TRUE(dialogs.Names.empty());
}

}  // namespace

namespace {

// The mode question: OK waits for a choice, and "do not show again" is stored at once.
TEST_F(EditorWindow, TheModeQuestionStoresItsBoxAtOnce) {
  Open({"ModeEditon=1"});
  TfmModeEdition dialog(editor.get());
  dialog.show();
  EXPECT_FALSE(dialog.bOK->isEnabled());
  dialog.rbAvance->click();
  EXPECT_TRUE(dialog.bOK->isEnabled());
  EXPECT_EQ(dialog.Choice(), 2);
  dialog.cbMasque->click();
  EXPECT_TRUE(Soft()->UserFlag("ModeEditionMasque"));
  dialog.cbMasque->click();
  EXPECT_FALSE(Soft()->UserFlag("ModeEditionMasque"));
  dialog.rbSimple->click();
  EXPECT_EQ(dialog.Choice(), 1);
  Shot(dialog, "mode-dialog.png");
}

}  // namespace

namespace {

// The paper wizard's save: the paper the dialog made joins the user's backgrounds; a cancelled
// dialog saves nothing.
TEST_F(EditorWindow, PapersJoinTheBackgroundsUnlessCancelled) {
  Open({"ModeEditon=0"});
  Soft()->ImagesPath = dir.filePath("Images/");
  Soft()->CacheImagesPath = dir.filePath("Cache/");
  QDir().mkpath(Soft()->CacheImagesPath);
  editor->NouveauDocument(0, 50, 30);
  editor->SetSaveMode(TfmEditeur::smFond);
  int asked = 0;
  editor->MakePaper = [&asked](TzunoCADMdl& model, QImage& bitmap) {
    EXPECT_EQ(model.Large, 50);
    bitmap = QImage(200, 100, QImage::Format_RGB888);
    bitmap.fill(Qt::darkGreen);
    return ++asked == 1 ? 0 : 1;
  };
  dialogs.Answers = {arOK};
  editor->SaveHandler();
  const QString folder = Soft()->ImagesPath + "Mes fonds/";
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(dialogs.Questions.isEmpty());
  editor->SaveHandler();
  const QString name = "pap0" + QDate::currentDate().toString("yyMMdd") + "01";
  EXPECT_EQ(QImage(folder + name + ".jpg").size(), QSize(200, 100));
  EXPECT_TRUE(QFile::exists(Soft()->CacheImagesPath + name + "_thumb.jpg"));
  ASSERT_EQ(dialogs.Questions.size(), 1);
  EXPECT_EQ(dialogs.Questions[0].Kind, akInformation);
}

}  // namespace

namespace {

// Drags a box object by its centre through the canvas, as the pointer does.
void DragBy(TzunoCAD& cad, TzunoCADRect* box, QPointF byMm) {
  const QPointF from(box->x * cad.ZoomX, box->y * cad.ZoomY);
  const QPointF to = from + QPointF(byMm.x() * cad.ZoomX, byMm.y() * cad.ZoomY);
  cad.MouseMove(from);
  cad.MouseDown(from, Qt::LeftButton);
  cad.MouseMove((from + to) / 2);
  cad.MouseMove(to);
  cad.MouseUp(to, Qt::LeftButton);
}

// Leaving asks whenever the document differs from what was last opened or saved: a drag or typing
// after a save is worth the question; drawing a template (a masked picture) changes nothing.
TEST_F(EditorWindow, LeavingAsksAboutEveryChangeSinceTheLastSave) {
  struct Case {
    const char* name;
    const char* file;
    bool save;
    std::function<void(TfmEditeur&)> change;
    bool asked;
  };
  auto logo = [](TfmEditeur& e) {
    TzunoCADMdl& d = e.CAD().Mdl();
    for (int i = d.Count() - 1; i >= 0; --i)
      if (d.Objet(i)->Name == "forme") return i;
    return -1;
  };
  const Case cases[] = {
      {"drag after a save", "Cartes de visite/Professionnelle - Bandeau.mdl", true,
       [&](TfmEditeur& e) {
         DragBy(e.CAD(), static_cast<TzunoCADRect*>(e.CAD().Mdl().Objet(logo(e))), {6, 3});
       },
       true},
      {"typing after a save", "Cartes de visite/Professionnelle - Bandeau.mdl", true,
       [](TfmEditeur& e) {
         TzunoCADMdl& d = e.CAD().Mdl();
         for (int i = 0; i < d.Count(); ++i)
           if (d.Objet(i)->Name == "texte") {
             e.CAD().SelectIndex(i);
             break;
           }
         e.Panel()->Form()->mmTexte->setPlainText("Autre texte");
       },
       true},
      {"nothing after a save", "Cartes de visite/Professionnelle - Bandeau.mdl", true, nullptr, false},
      {"a masked picture drawn", "Invitations/Mariage.mdl", false, nullptr, false},
  };
  for (const Case& c : cases) {
    editor.reset();
    installation.reset();
    dialogs = TScriptedDialogs();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    Open({"ModeEditon=0"});
    ASSERT_TRUE(editor->OuvreDocument(Shipped(c.file))) << c.name;
    Settle();
    editor->DessineFrises();
    if (c.save) {
      editor->CAD().SelectIndex(logo(*editor));
      dialogs.Names = {QString("Perte")};
      editor->Enregistrer();
      ASSERT_TRUE(editor->Saved) << c.name;
    }
    if (c.change) c.change(*editor);
    Settle();
    dialogs.Answers = {arNo};
    editor->BtnRetour();
    EXPECT_EQ(dialogs.Questions.size(), c.asked ? 1 : 0) << c.name;
  }
}

// Undo goes back to the state before an edit, whichever edit it was: each of these is undone by the
// first Undo, and a run of key nudges is one step.
TEST_F(EditorWindow, TheFirstUndoTakesBackTheLastEdit) {
  struct Case {
    const char* name;
    const char* file;
    int select;  // the object to select first, -1 none
    std::function<void(TfmEditeur&)> edit;
  };
  const Case cases[] = {
      {"delete", "Invitations/Mariage.mdl", 0, [](TfmEditeur& e) { e.Panel()->Form()->ActionClick(2); }},
      {"place a text", "Invitations/Mariage.mdl", -1,
       [](TfmEditeur& e) {
         e.Tools()->Form()->ToolButton(4)->click();
         QTest::mouseClick(e.View()->Surface(), Qt::LeftButton, {}, e.View()->PixelOf({40, 40}));
       }},
      {"choose a picture", "Invitations/Mariage.mdl", 1,
       [](TfmEditeur& e) {
         e.Panel()->Form()->ImageThumbClick(Soft()->UserImagesPath + "Coccinelle_thumb.jpg");
       }},
      {"choose a mask", "Invitations/Mariage.mdl", 1,
       [](TfmEditeur& e) { e.Panel()->Form()->MasqueThumbClick(Soft()->MasquesPath + "Formes/coeur.emf"); }},
      {"paste", "Invitations/Mariage.mdl", 0,
       [](TfmEditeur& e) {
         e.Panel()->Form()->CopyClick();
         e.Panel()->Form()->PasteClick();
       }},
      {"key nudges", "Invitations/Mariage.mdl", 0,
       [](TfmEditeur& e) {
         for (int k = 0; k < 3; ++k) e.CAD().KeyDown(Qt::Key_D, Qt::NoModifier);
       }},
  };
  for (const Case& c : cases) {
    editor.reset();
    installation.reset();
    dialogs = TScriptedDialogs();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    Open({"ModeEditon=0"});
    const QString photo = home + "/donnees/Images/Photos/Nature/photo_coccinelle.jpg";
    ASSERT_TRUE(QFile::copy(photo, Soft()->UserImagesPath + "Coccinelle.jpg"));
    ASSERT_TRUE(QFile::copy(photo, Soft()->UserImagesPath + "Coccinelle_thumb.jpg"));
    ASSERT_TRUE(editor->OuvreDocument(Shipped(c.file))) << c.name;
    Settle();
    TzunoCADMdl& d = editor->CAD().Mdl();
    if (c.select >= 0) Select(c.select);
    const QStringList before = d.SaveToStrings();
    dialogs.Answers = {arOK};
    c.edit(*editor);
    Settle();
    ASSERT_NE(d.SaveToStrings(), before) << c.name;
    editor->Annuler();
    EXPECT_EQ(d.SaveToStrings(), before) << c.name;
  }
}

// Ctrl with a letter runs the window's command, never the bare letter's nudge.
TEST_F(EditorWindow, CtrlLettersUndoSaveCopyAndPaste) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("Invitations/Mariage.mdl")));
  Settle();
  TzunoCADMdl& d = editor->CAD().Mdl();
  Select(0);
  auto* box = static_cast<TzunoCADRect*>(d.Objet(0));
  const QStringList start = d.SaveToStrings();
  const double x = box->x, y = box->y;
  editor->View()->setFocus();
  QTest::keyClick(editor->View(), Qt::Key_D, Qt::ControlModifier);
  QTest::keyClick(editor->View(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(box->x, x);
  EXPECT_EQ(box->y, y);
  // A real nudge, then Ctrl+Z takes it back.
  QTest::keyClick(editor->View(), Qt::Key_D);
  EXPECT_NE(d.SaveToStrings(), start);
  QTest::keyClick(editor->View(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(d.SaveToStrings(), start);
  // Copy and paste make a second object; Ctrl+S asks for a name and saves.
  Select(0);
  const int count = d.Count();
  QTest::keyClick(editor->View(), Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(editor->View(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(d.Count(), count + 1);
  dialogs.Names = {QString("Par le clavier")};
  QTest::keyClick(editor->View(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(editor->Saved);
  EXPECT_TRUE(QFile::exists(Soft()->DocumentsPath + "Par le clavier.mdl"));
}

// A box dropped off the page comes back to the middle, and the position section says so: the next
// panel edit keeps it there.
TEST_F(EditorWindow, ARecentredBoxShowsAndKeepsItsNewPosition) {
  Open({"ModeEditon=0", "panel_position=1"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("Invitations/Mariage.mdl")));
  Settle();
  TzunoCADMdl& d = editor->CAD().Mdl();
  Select(0);
  auto* box = static_cast<TzunoCADRect*>(d.Objet(0));
  // Checked at once: a later pointer move over the page would refresh the panel by itself.
  DragBy(editor->CAD(), box, {d.Large * 3, d.Haut * 3});
  ASSERT_DOUBLE_EQ(box->x, d.Large / 2);
  TfmZunoCADMenu* panel = editor->Panel()->Form();
  EXPECT_DOUBLE_EQ(panel->seX->Value(), d.Large / 2);
  EXPECT_DOUBLE_EQ(panel->seY->Value(), d.Haut / 2);
  panel->seEpaisseur->SetValue(panel->seEpaisseur->Value() + 0.5);
  panel->ChangeMenu(panel->seEpaisseur);
  EXPECT_DOUBLE_EQ(box->x, d.Large / 2);
  EXPECT_DOUBLE_EQ(box->y, d.Haut / 2);
}

// The preview is written before the document, so whoever sees the document sees its preview; a
// document that cannot be written leaves no new preview.
TEST_F(EditorWindow, ThePreviewIsWrittenBeforeTheDocument) {
  Open({"ModeEditon=0"});
  ASSERT_TRUE(editor->OuvreDocument(Shipped("Invitations/Mariage.mdl")));
  Settle();
  dialogs.Names = {QString("Avant")};
  editor->Enregistrer();
  ASSERT_TRUE(editor->Saved);
  const QString docs = Soft()->DocumentsPath;
  const QFileInfo preview(docs + "Avant.jpg"), document(docs + "Avant.mdl");
  ASSERT_TRUE(preview.exists());
  EXPECT_LE(preview.lastModified(), document.lastModified());
  ASSERT_TRUE(QDir().mkpath(docs + "Bloque.mdl"));
  dialogs.Names = {QString("Bloque")};
  dialogs.Answers = {arYes, arOK};
  editor->Enregistrer();
  EXPECT_FALSE(editor->Saved);
  EXPECT_FALSE(QFile::exists(docs + "Bloque.jpg"));
}

// In English the status bar and the side previews have English names, and the previews are not
// named like the bar's Back button.
TEST_F(EditorWindow, EnglishNamesAndSidePreviewsApartFromBack) {
  Open({"ModeEditon=0", "Langue=2"});
  editor->NouveauDocument(0, 100, 60);
  Settle();
  EXPECT_EQ(editor->StatusPanel(0)->accessibleName(), "Object");
  EXPECT_EQ(editor->StatusPanel(1)->accessibleName(), "Help");
  TfmZunoCADMenu2* tools = editor->Tools()->Form();
  const QString back =
      QAccessible::queryAccessibleInterface(editor->Button("Retour"))->text(QAccessible::Name);
  EXPECT_EQ(back, "Back");
  const QString side = QAccessible::queryAccessibleInterface(tools->Face(2))->text(QAccessible::Name);
  EXPECT_NE(side, back);
  EXPECT_TRUE(side.contains("Back")) << side.toStdString();
}

// A tool button switched on through its accessible toggle does what its click does.
TEST_F(EditorWindow, AToolButtonToggledByAssistiveTechnologySetsTheMode) {
  Open({"ModeEditon=0"});
  editor->NouveauDocument(0, 100, 60);
  Settle();
  QToolButton* text = editor->Tools()->Form()->ToolButton(4);
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(text);
  ASSERT_NE(acc, nullptr);
  ASSERT_NE(acc->actionInterface(), nullptr);
  ASSERT_TRUE(acc->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  acc->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(editor->CAD().Mode, 4);
  EXPECT_EQ(editor->Tools()->Form()->ActiveTool(), 4);
  // A click on the selection tool still works after it.
  editor->Tools()->Form()->ToolButton(1)->click();
  EXPECT_EQ(editor->CAD().Mode, 1);
}

}  // namespace

// With CD albums, the field popup offers their tags in an "Album CD" submenu, and the album command
// lays every text out again with the album chosen in the album window.
TEST_F(EditorWindow, TheAlbumCommandRelaysTheTextsOutWithTheChosenAlbum) {
  Open();
  TzunoAlbumCD& albums = installation->Albums();
  ASSERT_EQ(albums.AjouteAlbum(albums.AlbumLines("Quatuor Nord", "Hiver", "", "", {"Givre", "Aube"})), 1);
  ASSERT_TRUE(editor->OuvreDocument(Shipped("CD et DVD/Audio/Ocean.2.mdl")));
  Settle();
  auto shown = [this] {
    QStringList texts;
    for (const auto& o : editor->CAD().Mdl().Objets())
      if (auto* t = dynamic_cast<TzunoCADTexte*>(o.get())) texts << t->Displayed;
    return texts.join('\n');
  };
  EXPECT_TRUE(shown().contains("Les Voyageurs du Soir")) << shown().toStdString();

  QMenu* sub = nullptr;
  for (QAction* a : editor->Panel()->Form()->pmChamps->actions())
    if (a->menu() && a->text() == "Album CD") sub = a->menu();
  ASSERT_NE(sub, nullptr);
  QStringList tags;
  for (QAction* a : sub->actions()) tags << a->text();
  EXPECT_EQ(tags, QStringList({"<cdArtiste>", "<cdAlbum>", "<cdAnnée>", "<cdGenre>", "<cdTitres>"}));

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TfmAlbumCD*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->lbAlbums->setCurrentRow(1);
    dialog->bSelectionner->click();
  });
  editor->AlbumsCD();
  EXPECT_EQ(albums.Courant, 1);
  EXPECT_TRUE(shown().contains("Quatuor Nord")) << shown().toStdString();
  EXPECT_TRUE(shown().contains("Givre|Aube")) << shown().toStdString();
  EXPECT_FALSE(shown().contains("Les Voyageurs du Soir"));
}
