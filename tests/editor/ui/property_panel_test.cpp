// The property panel on a real canvas and the shipped installation: what its sections show for a
// selection, what its controls write into the document, the layer list and the editing actions.
#include "editor/ui/property_panel.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/thumb.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "editor/canvas_engine.h"
#include "editor/ui/canvas_widget.h"
#include "editor/ui/panel_layers.h"
#include "model/arbo.h"
#include "model/barcode.h"
#include "model/calendar.h"
#include "model/document.h"
#include "model/group.h"
#include "model/image.h"
#include "model/object.h"
#include "model/shapes.h"
#include "model/text.h"
#include "records/ui/choix_textes.h"
#include "shell/language.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/ui/zuno_spin.h"
#include "shell/user_dialogs.h"

namespace {}  // namespace

void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

// The shipped installation with per-test settings and user folders; a canvas and the panel wired
// as the editor window wires them.
class PropertyPanel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override {
    host.reset();
    installation.reset();
  }

  void Open(const QStringList& settings = {}) {
    home = dir.filePath("inst");
    QString error;
    installation = OpenShippedCopy(home, dir.filePath("user"), settings, &dialogs, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    Soft()->CreateUserFolders();

    host = std::make_unique<QWidget>();
    host->resize(900, 700);
    view = new TzunoCADView(host.get());
    view->setGeometry(0, 0, 600, 700);
    panel = new TzunoCADMenu(host.get());
    panel->setGeometry(600, 0, panel->width(), 700);
    form = panel->Form();
    cad().Mdl().Large = 120;
    cad().Mdl().Haut = 100;
    cad().OnObjSelect = [this](TzunoCAD*, TzunoCADObj* o) { panel->UpdateSections(o); };
    cad().OnChange = [this](TzunoCAD*, TzunoCADObj* o) { panel->ShowValues(o); };
    form->OnPanelChange = [this](TfmZunoCADMenu*, int) { ++panelChanges; };
    panel->SetCAD(&cad());
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    cad().RequestRepaint();
    view->Tick();
  }

  TzunoCAD& cad() { return view->Engine(); }

  template <class T>
  T* Add(const char* type, double x, double y, double l, double h, int face = 1) {
    auto* o = dynamic_cast<T*>(cad().Mdl().CreateObjet(QString::fromLatin1(type)));
    EXPECT_TRUE(o);
    if (auto* r = dynamic_cast<TzunoCADRect*>(static_cast<TzunoCADObj*>(o))) {
      r->x = x;
      r->y = y;
      r->l = l;
      r->h = h;
    }
    o->Face = face;
    return o;
  }

  void Select(TzunoCADObj* o) { cad().SelectObj(o); }

  static void Type(TzunoSpin* spin, const QString& text) {
    spin->Edit()->selectAll();
    QTest::keyClicks(spin->Edit(), text);
  }

  QStringList VisibleSections() const {
    QStringList out;
    for (QWidget* w : {form->pModele, form->pSupport, form->pPosition, form->pCalque, form->pAction,
                       form->pCouleur, form->pImage, form->pMasque, form->pGroupe, form->pTexte, form->pCal,
                       form->pMirroir, form->pArbo, form->pCodeBarre})
      if (!w->isHidden()) out << w->objectName();
    return out;
  }

  QStringList VisibleActions() const {
    QStringList out;
    for (TzunoMenuLabel* l : form->VisibleActions()) out << l->objectName();
    return out;
  }

  QString Clipboard() const { return Soft()->UserPath + "CopyPaste.def"; }

  QTemporaryDir dir;
  QString home;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  std::unique_ptr<QWidget> host;
  TzunoCADView* view = nullptr;
  TzunoCADMenu* panel = nullptr;
  TfmZunoCADMenu* form = nullptr;
  int panelChanges = 0;
};

TEST_F(PropertyPanel, SectionsFollowTheSelectionAndTheMode) {
  Open();
  auto* text = Add<TzunoCADTexte>("texte", 60, 30, 40, 10);
  text->LayoutText("Bonjour");
  auto* box = Add<TzunoCADRectangle>("rectangle", 60, 70, 30, 20);
  struct Case {
    const char* what;
    bool advanced;
    TzunoCADObj* selection;
    QStringList sections;
  };
  const Case cases[] = {
      {"text, advanced", true, text, {"pModele", "pPosition", "pCalque", "pAction", "pTexte"}},
      {"nothing, advanced", true, nullptr, {"pModele", "pCalque", "pAction"}},
      {"rectangle, advanced", true, box, {"pModele", "pPosition", "pCalque", "pAction", "pCouleur"}},
      {"rectangle, simple", false, box, {"pPosition"}},
      // The text library is offered in both modes.
      {"text, simple", false, text, {"pPosition", "pAction", "pTexte"}},
  };
  for (const Case& c : cases) {
    cad().Avance = c.advanced;
    Select(c.selection);
    form->UpdateSections(c.selection);
    EXPECT_EQ(VisibleSections(), c.sections) << c.what;
  }
  // A document on a support shows the support instead of the page format.
  cad().Avance = true;
  cad().Mdl().SetEntete("SupportFichier", "Textile\\sweat_DR.mdl");
  form->UpdateSections(nullptr);
  EXPECT_EQ(VisibleSections(), QStringList({"pSupport", "pCalque", "pAction"}));
  EXPECT_FALSE(form->imSupport->pixmap().isNull());
  cad().Mdl().SetEntete("SupportFichier", "");
  // A text has no width and height to type; the angle shows as its rotate handle does.
  Select(text);
  form->UpdateSections(text);
  EXPECT_TRUE(form->seL->isHidden());
  EXPECT_TRUE(form->seH->isHidden());
  EXPECT_FALSE(form->seX->isHidden());
  EXPECT_FALSE(form->seR->isHidden());
  // In simple mode the memo covers the formatting row; in advanced mode it starts below the fonts.
  cad().Avance = false;
  form->UpdateSections(text);
  EXPECT_LE(form->mmTexte->y(), form->sbGras->y());
  cad().Avance = true;
  form->UpdateSections(text);
  EXPECT_GT(form->mmTexte->y(), form->cbFont->y());
}

TEST_F(PropertyPanel, FillingTheControlsNeverWritesBack) {
  Open();
  auto* a = Add<TzunoCADRectangle>("rectangle", 10, 20, 30, 40);
  auto* b = Add<TzunoCADRectangle>("rectangle", 70, 80, 15, 25);
  a->Pen.Width = 2000;
  b->Pen.Width = 500;
  Select(a);
  Select(b);
  Select(a);
  EXPECT_EQ(panelChanges, 0);
  EXPECT_EQ(QPointF(a->x, a->y), QPointF(10, 20));
  EXPECT_EQ(QPointF(b->x, b->y), QPointF(70, 80));
  EXPECT_EQ(QSizeF(b->l, b->h), QSizeF(15, 25));
  EXPECT_EQ(b->Pen.Width, 500);
  EXPECT_EQ(form->seY->Value(), 20);
  EXPECT_EQ(form->seEpaisseur->Edit()->text(), "2");
}

TEST_F(PropertyPanel, TypingWritesThroughTheControls) {
  Open();
  auto* box = Add<TzunoCADRectangle>("rectangle", 60, 50, 30, 20);
  Select(box);
  // A pen width in millimetres is stored in thousandths.
  Type(form->seEpaisseur, "0,35");
  EXPECT_EQ(box->Pen.Width, 350);
  Type(form->seX, "42,5");
  EXPECT_EQ(box->x, 42.5);
  EXPECT_GT(panelChanges, 0);
  // A colour chosen in the dialog, seeded with the user's custom colours.
  Soft()->CustomColors = {"ColorA=0000FF"};
  dialogs.Colors.push_back(QColor(0, 128, 255));
  form->shPen->click();
  EXPECT_EQ(box->Pen.Color, RGBColor(0, 128, 255));
  ASSERT_EQ(dialogs.CustomShown.size(), 1);
  EXPECT_EQ(dialogs.CustomShown[0], QStringList{"ColorA=0000FF"});
  // Cancelling changes nothing.
  dialogs.Colors.push_back(std::nullopt);
  form->shBrush->click();
  EXPECT_EQ(box->Brush.Color, clWhite);
  // An empty brush hides its colour.
  form->cbBrushStyle->setCurrentIndex(bsClear);
  EXPECT_EQ(box->Brush.Style, bsClear);
  EXPECT_TRUE(form->shBrush->isHidden());
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(PropertyPanel, MemoLinesBecomeTheTextParts) {
  Open();
  auto* text = Add<TzunoCADTexte>("texte", 60, 30, 40, 10);
  text->Font.Height = 5000;
  text->LayoutText("Un");
  Select(text);
  EXPECT_EQ(form->mmTexte->toPlainText(), "Un");
  const double oneLine = text->h;
  form->mmTexte->setFocus();
  form->mmTexte->moveCursor(QTextCursor::End);
  QTest::keyClick(form->mmTexte, Qt::Key_Return);
  QTest::keyClicks(form->mmTexte, "Deux");
  EXPECT_EQ(text->txt, "Un|Deux");
  EXPECT_GT(text->h, 1.5 * oneLine);
  // Showing the same text again leaves the memo and its caret alone.
  const int caret = form->mmTexte->textCursor().position();
  form->ShowValues(text);
  EXPECT_EQ(form->mmTexte->textCursor().position(), caret);
  // A merge field goes in at the caret.
  form->SetFieldTags({"<Nom>", "<Date>"});
  form->ChampsClick("<Nom>");
  EXPECT_EQ(text->txt, "Un|Deux<Nom>");
  EXPECT_TRUE(form->mmTexte->hasFocus());
  // Anchoring from the popup: the bottom-right corner stays put when the text grows.
  form->AncrageClick(3);
  EXPECT_EQ(text->Aligne, 3);
  const QPointF corner(text->x + text->l / 2, text->y + text->h / 2);
  QTest::keyClicks(form->mmTexte, " et trois");
  EXPECT_NEAR(text->x + text->l / 2, corner.x(), 0.5);
  EXPECT_NEAR(text->y + text->h / 2, corner.y(), 0.5);
}

TEST_F(PropertyPanel, PageFormatByKind) {
  Open();
  cad().Avance = true;
  TzunoCADMdl& d = cad().Mdl();
  // A free page keeps its proportions, shown with two decimals.
  d.Gabarit = 0;
  d.Large = 90;
  d.Haut = 70;
  form->UpdateSections(nullptr);
  EXPECT_FALSE(form->cbProportions->isHidden());
  EXPECT_TRUE(form->seModele3->isHidden());
  Type(form->seModele1, "100");
  EXPECT_EQ(form->seModele2->Edit()->text(), "77,78");
  EXPECT_DOUBLE_EQ(d.Large, 100);
  EXPECT_DOUBLE_EQ(d.Haut, 77.78);
  // Returns: the first spin is the width between them.
  d.Gabarit = 4;
  d.Large = 300;
  d.Haut = 120;
  d.SetEntete("TailleRetour", "15");
  form->UpdateSections(nullptr);
  EXPECT_TRUE(form->cbProportions->isHidden());
  EXPECT_FALSE(form->seModele3->isHidden());
  EXPECT_EQ(form->seModele1->Value(), 270);
  Type(form->seModele1, "280");
  EXPECT_DOUBLE_EQ(d.Large, 310);
  EXPECT_DOUBLE_EQ(d.Haut, 120);
  // Every change switches the grids off.
  d.Grid = d.MagneticGrid = true;
  Type(form->seModele3, "20");
  EXPECT_DOUBLE_EQ(d.Large, 320);
  EXPECT_EQ(d.GetEntete("TailleRetour").toDouble(), 20);
  EXPECT_FALSE(d.Grid);
  EXPECT_FALSE(d.MagneticGrid);
}

TEST_F(PropertyPanel, CalendarPartsAndFonts) {
  Open();
  auto* cal = Add<TzunoCADCal>("cal", 60, 50, 80, 60);
  Select(cal);
  ASSERT_FALSE(form->pCal->isHidden());
  EXPECT_TRUE(form->cbFond->isChecked());
  form->cbFond->click();
  EXPECT_TRUE(cal->TranspFond);
  EXPECT_TRUE(form->shFond->isHidden());
  EXPECT_FALSE(cal->TranspJours);
  form->cbFond->click();
  EXPECT_FALSE(cal->TranspFond);
  EXPECT_FALSE(form->shFond->isHidden());
  Type(form->seMois, "7");
  EXPECT_EQ(cal->Mois, 7);
  QFont chosen("DejaVu Sans");
  chosen.setBold(true);
  dialogs.Fonts.push_back(chosen);
  form->sbChiffres->click();
  EXPECT_EQ(cal->FontChiffres.Name, "DejaVu Sans");
  EXPECT_EQ(cal->FontChiffres.Style, fsBold);
  EXPECT_EQ(form->sbChiffres->text(), "DejaVu Sans, G");
  // A long name fits the button; the tooltip holds it whole.
  QFont wide("Liberation Sans Narrow Condensed Extra Long Family Name");
  wide.setItalic(true);
  dialogs.Fonts.push_back(wide);
  form->sbSaints->click();
  const QString whole = QStringLiteral("Liberation Sans Narrow Condensed Extra Long Family Name, I");
  EXPECT_EQ(form->sbSaints->toolTip(), whole);
  EXPECT_LE(form->sbSaints->fontMetrics().horizontalAdvance(form->sbSaints->text()), form->sbSaints->width());
  EXPECT_TRUE(form->sbSaints->text().endsWith(QStringLiteral(", I")));
}

TEST_F(PropertyPanel, LayerListDragAndPadlock) {
  Open();
  auto* bottom = Add<TzunoCADRectangle>("rectangle", 20, 20, 10, 10);
  auto* middle = Add<TzunoCADTexte>("texte", 40, 40, 10, 10);
  auto* top = Add<TzunoCADImage>("image", 60, 60, 10, 10);
  Add<TzunoCADRectangle>("rectangle", 60, 60, 10, 10, 2);  // another face: no row
  form->UpdateSections(nullptr);
  TLayerList* list = form->lbCalque;
  ASSERT_EQ(list->Rows(), QList<int>({2, 1, 0}));
  EXPECT_EQ(list->RowCaption(0), "Image");
  QWidget* vp = list->viewport();
  auto rowPoint = [](int row, int x = 40) { return QPoint(x, row * TLayerList::kRow + 8); };

  // The top row dragged below the last row goes to the bottom of the drawing order.
  QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(0));
  EXPECT_EQ(cad().SelectedObj(), top);
  EXPECT_EQ(panelChanges, 0);  // selecting changes nothing
  QTest::mouseMove(vp, rowPoint(1));
  QTest::mouseMove(vp, QPoint(40, 3 * TLayerList::kRow + 6));
  EXPECT_EQ(list->DropRow(), 3);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(40, 3 * TLayerList::kRow + 6));
  EXPECT_EQ(cad().Mdl().IndexOf(top), 0);
  EXPECT_EQ(cad().Mdl().IndexOf(bottom), 1);
  EXPECT_EQ(cad().Mdl().IndexOf(middle), 2);
  EXPECT_EQ(list->Rows(), QList<int>({2, 1, 0}));
  EXPECT_EQ(panelChanges, 1);

  // Dropped on the row above another: just above that object.
  QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(2));  // top, now last
  QTest::mouseMove(vp, rowPoint(1));
  QTest::mouseMove(vp, QPoint(40, TLayerList::kRow + 2));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(40, TLayerList::kRow + 2));
  EXPECT_EQ(cad().Mdl().IndexOf(top), 1);
  EXPECT_EQ(cad().Mdl().IndexOf(bottom), 0);
  // Dragged down onto the last row: between it and the row above, not under it.
  QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(0));  // middle, topmost
  QTest::mouseMove(vp, rowPoint(1));
  QTest::mouseMove(vp, QPoint(40, 2 * TLayerList::kRow + 2));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(40, 2 * TLayerList::kRow + 2));
  EXPECT_EQ(cad().Mdl().IndexOf(bottom), 0);
  EXPECT_EQ(cad().Mdl().IndexOf(middle), 1);
  EXPECT_EQ(cad().Mdl().IndexOf(top), 2);

  // The padlock column locks and unlocks.
  const int row = int(list->Rows().indexOf(cad().Mdl().IndexOf(middle)));
  QTest::mouseClick(vp, Qt::LeftButton, {}, rowPoint(row, TLayerList::kLockX + 5));
  EXPECT_FALSE(middle->CanSelect);
  cad().SelectObj(nullptr);
  const QPointF at(cad().MmToPixelX(middle->x), cad().MmToPixelY(middle->y));
  cad().MouseMove(at);
  cad().MouseDown(at, Qt::LeftButton);
  cad().MouseUp(at, Qt::LeftButton);
  EXPECT_NE(cad().SelectedObj(), middle);
  QTest::mouseClick(vp, Qt::LeftButton, {}, rowPoint(row, TLayerList::kLockX + 5));
  EXPECT_TRUE(middle->CanSelect);

  // Assistive technologies see the rows, press them and toggle their locks.
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(list);
  ASSERT_TRUE(access);
  ASSERT_EQ(access->childCount(), 3);
  QAccessibleInterface* first = access->child(0);
  EXPECT_EQ(first->text(QAccessible::Name), list->RowCaption(0));
  TzunoCADObj* firstObj = cad().Mdl().Objet(list->Rows()[0]);
  first->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(cad().SelectedObj(), firstObj);
  first->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(firstObj->CanSelect);
  EXPECT_TRUE(first->state().checked);
}

// Pressing a row selects its object, which opens the position section above the list: the list
// stays under the pointer until the button is let go, so the drag lands where the pointer shows.
TEST_F(PropertyPanel, TheLayerListStaysUnderThePointerWhileARowIsHeld) {
  Open({"panel_position=1"});
  auto* bottom = Add<TzunoCADRectangle>("rectangle", 20, 20, 10, 10);
  auto* middle = Add<TzunoCADRectangle>("rectangle", 40, 40, 10, 10);
  auto* top = Add<TzunoCADRectangle>("rectangle", 60, 60, 10, 10);
  form->UpdateSections(nullptr);
  form->Item(form->pCalque)->SetFolded(false);
  form->Menu()->Layout(true);
  ASSERT_TRUE(form->pPosition->isHidden());
  TLayerList* list = form->lbCalque;
  QWidget* vp = list->viewport();
  const QPoint at = vp->mapToGlobal(QPoint());
  auto rowPoint = [](int row) { return QPoint(40, row * TLayerList::kRow + 8); };
  QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(0));
  EXPECT_EQ(cad().SelectedObj(), top);
  EXPECT_EQ(vp->mapToGlobal(QPoint()), at);
  QTest::mouseMove(vp, rowPoint(1));
  QTest::mouseMove(vp, QPoint(40, 2 * TLayerList::kRow + 2));
  EXPECT_EQ(list->DropRow(), 2);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(40, 2 * TLayerList::kRow + 2));
  // Between the middle and the bottom object, and now the position section shows.
  EXPECT_EQ(cad().Mdl().IndexOf(bottom), 0);
  EXPECT_EQ(cad().Mdl().IndexOf(top), 1);
  EXPECT_EQ(cad().Mdl().IndexOf(middle), 2);
  EXPECT_FALSE(form->Item(form->pPosition)->isHidden());
}

// Captions and fields show their whole text, in French and in English: the paper colour's caption,
// the barcode's 13 digits.
TEST_F(PropertyPanel, CaptionsAndTheBarcodeFieldAreNotCut) {
  for (const char* language : {"Langue=1", "Langue=2"}) {
    host.reset();
    installation.reset();
    QDir(dir.filePath("inst")).removeRecursively();
    QDir(dir.filePath("user")).removeRecursively();
    Open({language, "colorpapier=1"});
    form->Translate();
    form->UpdateSections(nullptr);
    EXPECT_FALSE(form->lbCouleurPapier->isHidden()) << language;
    EXPECT_GE(form->lbCouleurPapier->width(), form->lbCouleurPapier->sizeHint().width()) << language;
    EXPECT_LE(form->lbCouleurPapier->geometry().right(), form->shCouleurPapier->x()) << language;
    QLineEdit* code = form->eCodeBarre;
    code->setText("1234567890123");
    const int room = code->contentsRect().width() - 4;
    EXPECT_GE(room, code->fontMetrics().horizontalAdvance("1234567890123")) << language;
    EXPECT_GE(form->lbCodeBarre->width(), form->lbCodeBarre->sizeHint().width()) << language;
    Shot(*form, QString("panel-format-%1.png").arg(QString(language).right(1)));
  }
}

TEST_F(PropertyPanel, ActionsOfferedForTheSelection) {
  Open();
  cad().Avance = true;
  // Nothing selected on an empty one-sided page: no action, no section.
  QFile::remove(Clipboard());
  form->UpdateSections(nullptr);
  EXPECT_EQ(VisibleActions(), QStringList());
  EXPECT_TRUE(form->pAction->isHidden());

  auto* box = Add<TzunoCADRectangle>("rectangle", 60, 50, 30, 20);
  box->r = 30;
  Add<TzunoCADRectangle>("rectangle", 60, 50, 30, 20, 2);
  Select(box);
  EXPECT_EQ(VisibleActions(), QStringList({"zmlDupliquer", "zmlCopier", "zmlSupprimer", "zmlRedresser"}));
  form->zmlCopier->click();
  EXPECT_TRUE(QFile::exists(Clipboard()));
  EXPECT_FALSE(form->zmlColler->isHidden());
  Select(nullptr);
  EXPECT_EQ(VisibleActions(), QStringList({"zmlColler", "zmlToutCopierAutreFace", "zmlEffacerCetteFace"}));
  // Labels stack from the top, 4 pixels apart.
  const QList<TzunoMenuLabel*> shown = form->VisibleActions();
  EXPECT_EQ(shown[0]->y(), 4);
  EXPECT_EQ(shown[1]->y(), shown[0]->y() + shown[0]->height() + 4);

  // Straightening: the angle goes to 0, stays 0 through the next change, and the label goes.
  Select(box);
  const int changes = panelChanges;
  form->zmlRedresser->click();
  EXPECT_EQ(box->r, 0);
  EXPECT_GT(panelChanges, changes);  // the editor learns that the document changed
  Type(form->seX, "50");
  EXPECT_EQ(box->r, 0);
  Select(nullptr);
  Select(box);
  EXPECT_TRUE(form->zmlRedresser->isHidden());

  // Simple mode offers no editing command for a box.
  cad().Avance = false;
  form->UpdateSections(box);
  EXPECT_EQ(VisibleActions(), QStringList());
}

TEST_F(PropertyPanel, ConfirmedCommands) {
  Open();
  cad().Avance = true;
  TzunoCADMdl& d = cad().Mdl();
  auto* box = Add<TzunoCADRectangle>("rectangle", 60, 50, 30, 20);
  Add<TzunoCADRectangle>("rectangle", 30, 30, 10, 10);
  Add<TzunoCADTexte>("texte", 30, 30, 10, 10, 2);

  // Delete: Cancel keeps the object, OK removes it.
  Select(box);
  dialogs.Answers = {arCancel, arOK};
  form->zmlSupprimer->click();
  EXPECT_EQ(d.IndexOf(box), 0);
  form->zmlSupprimer->click();
  EXPECT_EQ(d.Count(), 2);
  EXPECT_EQ(cad().SelectedObj(), nullptr);
  ASSERT_EQ(dialogs.Questions.size(), 2);
  EXPECT_EQ(dialogs.Questions[0].Text, MLMessage(410));
  EXPECT_EQ(dialogs.Questions[0].Buttons, abOK | abCancel);

  // Copy this face to the other one, twice: the copies add up.
  form->UpdateSections(nullptr);
  dialogs.Answers = {arOK, arOK, arCancel};
  form->zmlToutCopierAutreFace->click();
  EXPECT_EQ(d.CountFace(2), 2);
  form->zmlToutCopierAutreFace->click();
  EXPECT_EQ(d.CountFace(2), 3);
  EXPECT_EQ(d.CountFace(1), 1);
  // Erasing the face, refused, then accepted.
  form->zmlEffacerCetteFace->click();
  EXPECT_EQ(d.CountFace(1), 1);
  dialogs.Answers = {arOK};
  form->zmlEffacerCetteFace->click();
  EXPECT_EQ(d.CountFace(1), 0);
  EXPECT_EQ(d.CountFace(2), 3);
  EXPECT_TRUE(form->zmlEffacerCetteFace->isHidden());
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(PropertyPanel, TextFromTheLibrary) {
  Open();
  Soft()->CopyTablesToUser();
  Soft()->WriteUserString("ChoixTextesPath", "\\Anniversaire\\Enfant");
  cad().Avance = false;  // offered in the simple editor too
  auto* text = Add<TzunoCADTexte>("texte", 60, 30, 40, 10);
  text->LayoutText("Un texte assez large pour quelques mots");
  Select(text);
  EXPECT_EQ(VisibleActions(), QStringList({"zmlChoisirTexteBase"}));
  const double width = text->l;
  const int steps = cad().SnapshotCount();
  const int changes = panelChanges;

  // Another theme, its second part, its first text.
  auto choose = [](bool ok) {
    QTimer::singleShot(0, [ok] {
      auto* f = qobject_cast<TfmChoixTextes*>(QApplication::activeModalWidget());
      ASSERT_TRUE(f);
      EXPECT_EQ(f->Theme(), "Anniversaire\\Enfant");
      f->SelectPath("\\Anniversaire\\Adulte");
      f->tc->setCurrentIndex(1);
      f->lb->setCurrentRow(0);
      (ok ? f->bOK : f->bAnnuler)->click();
    });
  };
  choose(false);
  form->zmlChoisirTexteBase->click();
  EXPECT_EQ(text->txt, "Un texte assez large pour quelques mots");
  EXPECT_EQ(Soft()->ReadUserString("ChoixTextesPath"), "\\Anniversaire\\Enfant");
  EXPECT_EQ(cad().SnapshotCount(), steps);

  choose(true);
  form->zmlChoisirTexteBase->click();
  const QString chosen = "Les années passent, mais ton sourire ne prend pas une ride.";
  // Wrapped to the text's width, shown in the memo, the editor told, the theme remembered.
  EXPECT_EQ(text->txt, text->WordWrap(chosen, width));
  EXPECT_TRUE(text->txt.contains('|'));
  EXPECT_EQ(QString(text->txt).replace('|', ' '), chosen);
  EXPECT_EQ(form->mmTexte->toPlainText(), QString(text->txt).replace('|', '\n'));
  EXPECT_GT(panelChanges, changes);
  EXPECT_EQ(Soft()->ReadUserString("ChoixTextesPath"), "\\Anniversaire\\Adulte");
  // One undo step takes it back.
  EXPECT_EQ(cad().SnapshotCount(), steps + 1);
  EXPECT_TRUE(cad().Undo());
  auto* back = dynamic_cast<TzunoCADTexte*>(cad().Mdl().Objet(0));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->txt, "Un texte assez large pour quelques mots");

  // Not offered without the installation's flag.
  Soft()->WriteSoftString("action_basetextes", "0");
  Select(nullptr);
  Select(back);
  EXPECT_TRUE(form->zmlChoisirTexteBase->isHidden());
}

TEST_F(PropertyPanel, PersonalPicturesAndTheChooser) {
  Open();
  cad().Avance = true;
  auto picture = [this](const char* name, QColor corner) {
    QImage img(40, 30, QImage::Format_RGB888);
    img.fill(QColor(20, 120, 40));
    img.setPixelColor(0, 0, corner);
    const QString file = dir.filePath(QString("pics/") + name);
    QDir().mkpath(dir.filePath("pics"));
    EXPECT_TRUE(img.save(file));
    return file;
  };
  const QString plain = picture("vert.png", QColor(20, 120, 40));
  const QString keyed = picture("cle.png", QColor(255, 0, 255));
  auto* img = Add<TzunoCADImage>("image", 60, 50, 40, 30);
  Select(img);
  EXPECT_FALSE(form->zmlChargerImagePersonnelle->isHidden());
  EXPECT_TRUE(form->pImage->isHidden());  // no picture of mine yet

  struct Case {
    QString file;
    bool transparent;
  };
  for (const Case& c : {Case{plain, false}, Case{keyed, true}}) {
    img->Transparent = false;
    dialogs.OpenFiles.push_back(c.file);
    form->zmlChargerImagePersonnelle->click();
    const QString copy = Soft()->UserImagesPath + QFileInfo(c.file).fileName();
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(ReferenceName(img->FichierImage), copy);
    EXPECT_EQ(img->Transparent, c.transparent) << c.file.toStdString();
    EXPECT_EQ(Soft()->ReadUserString("MesImagesPath"), dir.filePath("pics") + "/");
  }
  EXPECT_EQ(form->amImages->Fichiers.size(), 2);
  EXPECT_FALSE(form->pImage->isHidden());
  // Mine now: it can leave my pictures, after a question.
  EXPECT_FALSE(form->zmlSupprimerMesImages->isHidden());
  EXPECT_TRUE(form->zmlAjouterMesImages->isHidden());

  // A thumbnail click loads that picture.
  const int cell = int(form->amImages->Fichiers.indexOf(Soft()->UserImagesPath + "vert_thumb.jpg"));
  ASSERT_GE(cell, 0);
  form->amImages->PressItem(cell);
  EXPECT_EQ(ReferenceName(img->FichierImage), Soft()->UserImagesPath + "vert.png");

  dialogs.Answers = {arOK};
  form->zmlSupprimerMesImages->click();
  EXPECT_FALSE(QFile::exists(Soft()->UserImagesPath + "vert.png"));
  EXPECT_FALSE(QFile::exists(Soft()->UserImagesPath + "vert_thumb.jpg"));
  EXPECT_EQ(form->amImages->Fichiers.size(), 1);
  EXPECT_TRUE(form->zmlSupprimerMesImages->isHidden());
  EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
}

TEST_F(PropertyPanel, ControlsReachTheirObjects) {
  Open();
  cad().Avance = true;
  auto* group = Add<TzunoCADGroup>("groupe", 60, 50, 30, 30);
  auto* code = Add<TzunoCADCodeBarre>("codebarre", 60, 50, 40, 20);
  auto* tree = Add<TzunoCADArbo>("arbo", 60, 50, 40, 40);
  auto* mark = Add<TzunoCADRepere>("repere", 0, 0, 0, 0);
  mark->sens = 1;
  mark->sorte = 1;
  mark->position = 30;
  struct Case {
    const char* what;
    TzunoCADObj* obj;
    QWidget* section;
    std::function<void()> act;
    std::function<bool()> done;
  };
  const Case cases[] = {
      {"horizontal mirror", group, form->pMirroir, [this] { form->cbMiroirH->click(); },
       [group] { return group->mirroirx == -1 && group->mirroiry == 1; }},
      {"barcode digits only", code, form->pCodeBarre,
       [this] {
         form->eCodeBarre->clear();
         QTest::keyClicks(form->eCodeBarre, "40x12345678901234");
       },
       [code] { return code->codebarre == "4012345678901"; }},
      {"barcode transparent", code, form->pCodeBarre, [this] { form->cbCBTransparent->click(); },
       [code] { return code->Transparent; }},
      {"tree columns", tree, form->pArbo, [this] { Type(form->seColonnes, "3"); },
       [tree] { return tree->Column == 3; }},
      {"tree bold", tree, form->pArbo, [this] { form->sbArboGras->click(); },
       [tree] { return tree->Font.Style == fsBold; }},
      {"mark direction", mark, form->pAction, [this] { form->zmlRepereSens->click(); },
       [this, mark] { return mark->sens == 2 && form->zmlRepereSens->text() == MLText("repere_vertical"); }},
      {"mark kind", mark, form->pAction, [this] { form->zmlRepereSorte->click(); },
       [this, mark] { return mark->sorte == 2 && form->zmlRepereSorte->text() == MLText("repere_repere"); }},
  };
  for (const Case& c : cases) {
    Select(c.obj);
    EXPECT_FALSE(c.section->isHidden()) << c.what;
    c.act();
    EXPECT_TRUE(c.done()) << c.what;
  }
}

TEST_F(PropertyPanel, MasksAndShapesFromTheInstallation) {
  Open();
  cad().Avance = true;
  QImage pic(40, 30, QImage::Format_RGB888);
  pic.fill(QColor(200, 60, 60));
  const QString file = dir.filePath("photo.png");
  ASSERT_TRUE(pic.save(file));
  auto* img = Add<TzunoCADImage>("image", 60, 50, 40, 30);
  img->SetFichierImage(file);
  Select(img);
  ASSERT_FALSE(form->pMasque->isHidden());
  ASSERT_GT(form->cbMasque->count(), 0);
  ASSERT_GT(form->jtMasque->Count(), 0);
  form->jtMasque->Click(0);
  const QString mask = ReferenceName(img->FichierMasque);
  EXPECT_TRUE(mask.startsWith(Soft()->MasquesPath)) << mask.toStdString();
  EXPECT_TRUE(QFileInfo(mask).isFile());
  form->bMasque->click();
  EXPECT_TRUE(img->FichierMasque.isEmpty());
  // Simple mode offers masks only to a picture that has one.
  cad().Avance = false;
  form->UpdateSections(img);
  EXPECT_TRUE(form->pMasque->isHidden());
  cad().Avance = true;

  // A shape: the shape folder's categories, and a thumbnail gives the group its drawing.
  auto* group = Add<TzunoCADGroup>("groupe", 60, 50, 30, 30);
  Select(group);
  ASSERT_FALSE(form->pGroupe->isHidden());
  EXPECT_EQ(form->Item(form->pGroupe)->Title(), MLText("layer_groupe"));
  EXPECT_FALSE(form->cbForme->isHidden());
  EXPECT_TRUE(form->shTampon->isHidden());
  ASSERT_GT(form->jtForme->Count(), 0);
  form->jtForme->Click(0);
  EXPECT_TRUE(QFileInfo(ReferenceName(cad().Mdl().ResoudreFichier(group->FichierMdl))).isFile());
  ASSERT_TRUE(group->Nested());
  EXPECT_GT(group->Nested()->Count(), 0);
  // A stamp: a folder without categories, and its colour.
  auto* stamp = Add<TzunoCADTampon>("tampon", 30, 30, 20, 20);
  Select(stamp);
  EXPECT_EQ(form->Item(form->pGroupe)->Title(), MLText("layer_tampon"));
  EXPECT_TRUE(form->cbForme->isHidden());
  EXPECT_GT(form->jtForme->Count(), 0);
  EXPECT_FALSE(form->shTampon->isHidden());
  dialogs.Colors.push_back(QColor(0, 0, 255));
  form->shTampon->click();
  EXPECT_EQ(stamp->Pen.Color, RGBColor(0, 0, 255));
  EXPECT_EQ(stamp->Brush.Color, RGBColor(0, 0, 255));
}

TEST_F(PropertyPanel, WindowLinesReachTheirControlsInEnglish) {
  Open({"Langue=2"});
  form->Translate();
  QFile tra(home + "/lorvane.tra");
  ASSERT_TRUE(tra.open(QIODevice::ReadOnly));
  TQtMLWindow ml(form);
  int lines = 0;
  for (const QByteArray& line : tra.readAll().split('\n')) {
    if (!line.startsWith("fmZunoCADMenu.")) continue;
    ++lines;
    const QString component = QString::fromUtf8(line).section(';', 0, 0).section('.', 1, 1);
    EXPECT_TRUE(ml.HasComponent(component)) << component.toStdString();
  }
  EXPECT_GE(lines, 30);
  EXPECT_EQ(form->zmlToutCopierAutreFace->text(), "Copy everything to the other side");
  EXPECT_EQ(form->seEpaisseur->accessibleName(), "Line width");
  EXPECT_EQ(form->sbGras->accessibleName(), "Bold");
  // Every control a person can reach has a name.
  for (QWidget* w : form->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                         qobject_cast<TLayerList*>(w) || qobject_cast<TzunoApercuModele*>(w);
    // The controls of no section are never shown.
    if (!control || form->pCache->isAncestorOf(w) || w->objectName().startsWith("qt_") ||
        w->parentWidget()->inherits("QComboBox") || w->objectName().startsWith("title_"))
      continue;
    if (qobject_cast<QToolButton*>(w) && qobject_cast<TzunoSpin*>(w->parentWidget())) continue;
    EXPECT_FALSE(w->accessibleName().isEmpty())
        << w->objectName().toStdString() << " " << w->metaObject()->className();
  }
}

}  // namespace
