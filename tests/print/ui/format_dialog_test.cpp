// The layout editor over a small table: a rename overwrites its own row, a new layout is appended, a
// name taken by another layout asks first, a disc keeps one diameter, and the print dialog's buttons.
#include "print/ui/format_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "model/document.h"
#include "model/encodings.h"
#include "print/ui/mpage.h"
#include "print/ui/print_dialog.h"
#include "print/ui/print_session.h"
#include "records/csv_table.h"
#include "shell/language.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/user_dialogs.h"

namespace {

const QString kPapers = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/papiers_dim.csv");

class FormatEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    TInstallationOptions options;
    options.AppDataPath = home.path();
    options.Dialogs = &dialogs;
    installation = OpenInstallation(QStringLiteral(LORVANE_SOURCE_DATA), options);
    ASSERT_TRUE(installation);
    installation->Soft().CreateUserFolders();
    layouts = home.filePath(QStringLiteral("gab.csv"));
    TzunoCSV t;
    t.LoadFromStrings(
        {"nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;"
         "orientation",
         "Cartes;M1;A4;;;10;10;5;5;60;40;3;2;0;0", "Disque;M1;A4;CD;;20;20;0;10;117;117;1;2;0;0",
         "Autre;M2;A4;;donnees;0;0;0;0;210;297;1;1;0;0"});
    ASSERT_TRUE(t.SaveToFile(layouts));
    model.LoadFromFile(kCard);
  }

  TzunoCSV Table() const { return TzunoCSV(layouts); }
  static QString At(const TzunoCSV& t, int row, const char* column) {
    return t.Cell(t.ColIndex(QString::fromLatin1(column)), row);
  }

  QTemporaryDir home;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
  QString layouts;
  TzunoCADMdl model{nullptr, QRect(0, 0, 100, 100), 100, 100};
};

TEST_F(FormatEditor, ARenameOverwritesItsOwnRowWithTheFieldValues) {
  TfmImprimerFormat dialog(nullptr, QStringLiteral("Cartes"), QStringLiteral("A4"), model, layouts, kPapers);
  dialog.show();
  EXPECT_EQ(dialog.eMarque->text(), QStringLiteral("M1"));
  EXPECT_DOUBLE_EQ(dialog.seLarge->value(), 60);
  EXPECT_EQ(dialog.seNbreX->value(), 3);
  EXPECT_FALSE(dialog.lPapierNom->text().isEmpty());
  EXPECT_FALSE(dialog.seInterX->isHidden());
  // The preview follows the fields.
  dialog.seNbreY->setValue(1);
  EXPECT_TRUE(dialog.seInterY->isHidden());
  EXPECT_EQ(dialog.Layout().nbrey, 1);
  dialog.seX0->setValue(12.5);
  EXPECT_DOUBLE_EQ(dialog.Layout().x0, 12.5);
  dialog.cbOrientation->setChecked(true);
  EXPECT_DOUBLE_EQ(dialog.Page->Sheet().Paper.large, 297);
  dialog.eGabNom->setText(QStringLiteral("Cartes bis"));
  dialog.bOK->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.Result.ok);
  EXPECT_EQ(dialog.Result.marque, QStringLiteral("M1"));

  const TzunoCSV t = Table();
  ASSERT_EQ(t.RowCount(), 4);
  EXPECT_EQ(At(t, 1, "nom"), QStringLiteral("Cartes bis"));
  EXPECT_EQ(At(t, 1, "nbrey"), QStringLiteral("1"));
  EXPECT_DOUBLE_EQ(ReadReal(At(t, 1, "x0")), 12.5);
  EXPECT_EQ(At(t, 1, "orientation"), QStringLiteral("1"));
  EXPECT_EQ(At(t, 1, "large"), QStringLiteral("60"));
  EXPECT_EQ(At(t, 2, "nom"), QStringLiteral("Disque"));
  EXPECT_EQ(At(t, 3, "soft"), QStringLiteral("donnees"));
}

TEST_F(FormatEditor, ANewLayoutIsAppendedAndATakenNameAsksFirst) {
  {
    TfmImprimerFormat dialog(nullptr, MLMessage(301), QStringLiteral("A4"), model, layouts, kPapers, true);
    dialog.show();
    // Nothing read: every field at its minimum, one cell, no gaps offered.
    EXPECT_DOUBLE_EQ(dialog.seLarge->value(), 1);
    EXPECT_EQ(dialog.seNbreX->value(), 1);
    EXPECT_TRUE(dialog.seInterX->isHidden());
    EXPECT_FALSE(dialog.bOK->isEnabled());  // no brand yet
    dialog.eGabNom->setText(QStringLiteral("Neuf"));
    dialog.eMarque->setText(QStringLiteral("M3"));
    ASSERT_TRUE(dialog.bOK->isEnabled());
    dialog.seLarge->setValue(50);
    dialog.seHaut->setValue(30);
    dialog.bOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  TzunoCSV t = Table();
  ASSERT_EQ(t.RowCount(), 5);
  EXPECT_EQ(At(t, 4, "nom"), QStringLiteral("Neuf"));
  EXPECT_EQ(At(t, 4, "papier"), QStringLiteral("A4"));
  EXPECT_EQ(At(t, 4, "haut"), QStringLiteral("30"));
  EXPECT_TRUE(At(t, 4, "gabarit").isEmpty());

  // A new layout under the name of another: No keeps the table, Yes replaces that one row.
  TfmImprimerFormat twin(nullptr, MLMessage(301), QStringLiteral("A4"), model, layouts, kPapers, true);
  twin.show();
  twin.eGabNom->setText(QStringLiteral("autre"));
  twin.eMarque->setText(QStringLiteral("M4"));
  dialogs.Answers = {arNo, arYes};
  twin.bOK->click();
  EXPECT_NE(twin.result(), QDialog::Accepted);
  EXPECT_EQ(Table().SaveToStrings(), t.SaveToStrings());
  twin.bOK->click();
  EXPECT_EQ(twin.result(), QDialog::Accepted);
  ASSERT_EQ(dialogs.Questions.size(), 2);
  t = Table();
  ASSERT_EQ(t.RowCount(), 5);
  EXPECT_EQ(At(t, 3, "nom"), QStringLiteral("autre"));
  EXPECT_EQ(At(t, 3, "marque"), QStringLiteral("M4"));

  // A rename onto another layout's name leaves one row of that name.
  TfmImprimerFormat rename(nullptr, QStringLiteral("Cartes"), QStringLiteral("A4"), model, layouts, kPapers);
  rename.eGabNom->setText(QStringLiteral("Neuf"));
  dialogs.Answers = {arYes};
  rename.bOK->click();
  t = Table();
  ASSERT_EQ(t.RowCount(), 4);
  EXPECT_EQ(At(t, 1, "nom"), QStringLiteral("Disque"));
  EXPECT_EQ(At(t, 3, "nom"), QStringLiteral("Neuf"));
  EXPECT_EQ(At(t, 3, "marque"), QStringLiteral("M1"));
  EXPECT_EQ(At(t, 3, "nbrex"), QStringLiteral("3"));
}

// Fields past the header's columns (a note, a column a newer table adds) survive a save, on the edited
// row and on the others, also when a rename removes a row above them.
TEST_F(FormatEditor, FieldsPastTheNamedColumnsAreKept) {
  QFile file(layouts);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;orientation;\r\n"
      "Cartes;M1;A4;;;10;10;5;5;60;40;3;2;0;0;note cartes;7\r\n"
      "Disque;M1;A4;CD;;20;20;0;10;117;117;1;2;0;0\r\n"
      "Autre;M2;A4;;donnees;0;0;0;0;210;297;1;1;0;0;;note autre\r\n");
  file.close();
  struct Case {
    const char* opened;
    const char* name;
    int rows;
  };
  for (const Case& c : {Case{"Cartes", "Cartes", 4}, Case{"Disque", "Cartes", 3}}) {
    SCOPED_TRACE(c.opened);
    TfmImprimerFormat dialog(nullptr, QString::fromLatin1(c.opened), QStringLiteral("A4"), model, layouts,
                             kPapers);
    dialog.eGabNom->setText(QString::fromLatin1(c.name));
    dialog.seX0->setValue(12);
    dialogs.Answers = {arYes};
    dialog.bOK->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(layouts, lines));
    ASSERT_EQ(lines.size(), c.rows);
    EXPECT_TRUE(lines[0].endsWith(QLatin1String("orientation;"))) << lines[0].toStdString();
    EXPECT_TRUE(lines.last().endsWith(QLatin1String(";0;0;;note autre"))) << lines.last().toStdString();
    const QString edited = lines.filter(QRegularExpression(QStringLiteral("^Cartes;"))).value(0);
    EXPECT_TRUE(edited.contains(QLatin1String(";12;"))) << edited.toStdString();
    EXPECT_EQ(edited.endsWith(QLatin1String(";note cartes;7")), c.rows == 4) << edited.toStdString();
  }
}

TEST_F(FormatEditor, ADiscKeepsOneDiameterAndShowsItsHole) {
  model.SetEntete(QStringLiteral("PetitDiam"), QStringLiteral("41"));
  TfmImprimerFormat dialog(nullptr, QStringLiteral("Disque"), QStringLiteral("A4"), model, layouts, kPapers);
  dialog.show();
  EXPECT_EQ(dialog.lbLarge->text(), MLText(QStringLiteral("ImprimerFormat1")));
  EXPECT_EQ(dialog.lbHaut->text(), MLText(QStringLiteral("ImprimerFormat2")));
  EXPECT_DOUBLE_EQ(dialog.seHaut->value(), 41);
  dialog.seLarge->setValue(120);
  dialog.seHaut->setValue(15);
  EXPECT_DOUBLE_EQ(dialog.Layout().haut, 120);
  EXPECT_DOUBLE_EQ(ReadReal(model.GetEntete(QStringLiteral("PetitDiam"))), 15);
  dialog.bOK->click();
  EXPECT_EQ(dialog.Result.gabarit, QStringLiteral("CD"));
  const TzunoCSV t = Table();
  EXPECT_EQ(At(t, 2, "large"), QStringLiteral("120"));
  EXPECT_EQ(At(t, 2, "haut"), QStringLiteral("120"));
  EXPECT_EQ(At(t, 2, "gabarit"), QStringLiteral("CD"));
}

TEST_F(FormatEditor, ThePrintDialogEditsTheUsersCopyAndListsTheNewBrand) {
  TfmPrint print(nullptr, kCard);
  print.show();
  const QList<QListWidgetItem*> pdf = print.lbPrinters->findItems(TfmPrint::PdfFileRow(), Qt::MatchExactly);
  ASSERT_FALSE(pdf.isEmpty());
  print.lbPrinters->setCurrentItem(pdf.first());
  print.bSuivant->click();
  ASSERT_EQ(print.Pages->currentIndex(), 1);
  ASSERT_TRUE(print.bModif->isEnabled());
  const QString edited = print.SelectedFormat();
  QString opened;
  QTimer::singleShot(0, [&] {
    auto* dialog = print.findChild<TfmImprimerFormat*>();
    if (!dialog) return;
    opened = dialog->eGabNom->text();
    dialog->eMarque->setText(QStringLiteral("Ma marque"));
    dialog->bOK->click();
  });
  print.bModif->click();
  EXPECT_EQ(opened, edited);
  EXPECT_EQ(print.cbMarques->currentText(), QStringLiteral("Ma marque"));
  EXPECT_EQ(print.SelectedFormat(), edited);
  // The installation's table is left alone.
  const TzunoCSV user(Soft()->PapiersGabFile);
  EXPECT_GE(user.FindRowBy(QStringLiteral("marque"), QStringLiteral("Ma marque")), 1);
  const TzunoCSV shipped(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/papiers_gab.csv"));
  EXPECT_LT(shipped.FindRowBy(QStringLiteral("marque"), QStringLiteral("Ma marque")), 0);
}

}  // namespace
