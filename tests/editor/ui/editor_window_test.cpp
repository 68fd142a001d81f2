// The editor window on the shipped installation (offscreen): opening, saving, undo, leaving, faces and
// the two editing modes.
#include "editor/ui/editor_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "catalogue/modele.h"
#include "catalogue/ui/main_window.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "editor/canvas_engine.h"
#include "editor/ui/canvas_widget.h"
#include "editor/ui/mode_dialog.h"
#include "editor/ui/tool_column.h"
#include "model/document.h"
#include "model/object.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
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
