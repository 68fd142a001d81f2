#include "print/ui/format_dialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "model/document.h"
#include "model/encodings.h"
#include "print/print_job.h"
#include "print/ui/dialog_parts.h"
#include "print/ui/mpage.h"
#include "records/csv_table.h"
#include "render/canvas.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/textfile.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

const char* const kColumns[] = {"nom",  "marque", "papier", "gabarit",    "soft",
                                "x0",   "y0",     "interx", "intery",     "large",
                                "haut", "nbrex",  "nbrey",  "rectoverso", "orientation"};

QDoubleSpinBox* Length(QWidget* parent, const char* name, double minMm, double maxMm) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setDecimals(2);
  spin->setRange(MmToUnit(minMm), MmToUnit(maxMm));
  spin->setSuffix(QLatin1Char(' ') + UnitName());
  return spin;
}

QSpinBox* Count(QWidget* parent, const char* name, int max) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(1, max);
  return spin;
}

bool IsCD(const QString& gabarit) {
  return SameTextAscii(gabarit, QStringLiteral("CD"));
}

// The first data row (never the header) whose name is `nom`, other than `except`; -1 when none.
int DataRow(const TzunoCSV& table, const QString& nom, int except = -1) {
  const int col = table.ColIndex(QStringLiteral("nom"));
  if (col < 0 || nom.isEmpty()) return -1;
  for (int r = 1; r < table.RowCount(); ++r)
    if (r != except && SameTextAscii(table.Cell(col, r), nom)) return r;
  return -1;
}

}  // namespace

TfmImprimerFormat::TfmImprimerFormat(QWidget* owner, const QString& nom, const QString& papier,
                                     TzunoCADMdl& model, const QString& layoutsFile,
                                     const QString& papersFile, bool creating)
    : QDialog(owner), model_(model), opened_(nom), layoutsFile_(layoutsFile), creating_(creating) {
  setObjectName(QStringLiteral("fmImprimerFormat"));
  setWindowTitle(QStringLiteral("Format"));
  setMinimumSize(700, 460);
  papiers_.FileName = papersFile;

  auto* row = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* title = new QLabel(QString::fromUtf8("Paramétrage du format"), this);
  title->setObjectName(QStringLiteral("lbTitre"));
  QFont big = title->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  title->setFont(big);
  left->addWidget(title);
  auto* form = new QFormLayout;
  eGabNom = new QLineEdit(this);
  eGabNom->setObjectName(QStringLiteral("eGabNom"));
  eGabNom->setMinimumWidth(220);
  eMarque = new QLineEdit(this);
  eMarque->setObjectName(QStringLiteral("eMarque"));
  lPapierNom = new QLabel(this);
  lPapierNom->setObjectName(QStringLiteral("lPapierNom"));
  seLarge = Length(this, "seLarge", 1, 1000);
  seHaut = Length(this, "seHaut", 1, 1000);
  seNbreX = Count(this, "seNbreX", 10);
  seNbreY = Count(this, "seNbreY", 20);
  seX0 = Length(this, "seX0", 0, 300);
  seY0 = Length(this, "seY0", 0, 300);
  seInterX = Length(this, "seInterX", 0, 300);
  seInterY = Length(this, "seInterY", 0, 300);
  lbLarge = Caption(this, "lbLarge", QStringLiteral("Largeur :"), seLarge);
  lbHaut = Caption(this, "lbHaut", QStringLiteral("Hauteur :"), seHaut);
  lbInterX = Caption(this, "lbInterX", QStringLiteral("Espace horizontal :"), seInterX);
  lbInterY = Caption(this, "lbInterY", QStringLiteral("Espace vertical :"), seInterY);
  form->addRow(Caption(this, "lbGabNom", QStringLiteral("Nom :"), eGabNom), eGabNom);
  form->addRow(Caption(this, "lbMarque", QStringLiteral("Marque :"), eMarque), eMarque);
  form->addRow(Caption(this, "lbPapier", QStringLiteral("Papier :"), lPapierNom), lPapierNom);
  form->addRow(lbLarge, seLarge);
  form->addRow(lbHaut, seHaut);
  form->addRow(Caption(this, "lbNbreX", QStringLiteral("Colonnes :"), seNbreX), seNbreX);
  form->addRow(Caption(this, "lbNbreY", QStringLiteral("Lignes :"), seNbreY), seNbreY);
  form->addRow(Caption(this, "lbX0", QStringLiteral("Marge gauche :"), seX0), seX0);
  form->addRow(Caption(this, "lbY0", QStringLiteral("Marge haute :"), seY0), seY0);
  form->addRow(lbInterX, seInterX);
  form->addRow(lbInterY, seInterY);
  left->addLayout(form);
  cbOrientation = new QCheckBox(QStringLiteral("Impression horizontale"), this);
  cbOrientation->setObjectName(QStringLiteral("cbOrientation"));
  cbRectoVerso = new QCheckBox(QStringLiteral("Impression recto verso"), this);
  cbRectoVerso->setObjectName(QStringLiteral("cbRectoVerso"));
  left->addWidget(cbOrientation);
  left->addWidget(cbRectoVerso);
  left->addStretch(1);
  left->addLayout(OkCancelRow(this, &bOK, &bAnnuler));
  row->addLayout(left, 2);
  Page = new TzunoMPage(this);
  Page->setObjectName(QStringLiteral("Page"));
  Page->setMinimumSize(240, 320);
  row->addWidget(Page, 3);

  // The cells show where the document's outline falls, as it would print.
  Page->Sheet().OnDrawCell = [this](TCanvas& canvas, int, int x, int y, int right, int bottom) {
    canvas.SetPen(TPen{RGBColor(192, 192, 192), 1, psSolid});
    canvas.SetBrush(TBrush{clWhite, bsClear});
    canvas.Rectangle(x, y, right, bottom);
    if (!(model_.Large > 0 && model_.Haut > 0) || right <= x || bottom <= y) return;
    const QRect target =
        TCellPainter::TargetRect(QRect(x, y, right - x, bottom - y), model_.Large, model_.Haut);
    model_.DrawGabaritApres(canvas, target, false);
  };

  // The layout as the table holds it; a new one or a name not in the table leaves zeros, which the
  // fields raise to their minimum.
  TGabaritInfo info;
  if (!creating_) {
    Page->Sheet().Gabarits.FileName = layoutsFile_;
    Page->Sheet().Gabarits.GetGabaritInfo(opened_, info);
  }
  if (info.nbrex < 1 || info.nbrey < 1) {
    const QString soft = info.soft;
    info = TGabaritInfo();
    info.soft = soft;
  }
  read_ = info;
  if (read_.papier.isEmpty()) read_.papier = papier;

  filling_ = true;
  eGabNom->setText(opened_);
  eMarque->setText(read_.marque);
  lPapierNom->setText(papiers_.NomFromPapier(read_.papier));
  if (IsCD(read_.gabarit)) {
    lbLarge->setText(MLText(QStringLiteral("ImprimerFormat1")));
    lbHaut->setText(MLText(QStringLiteral("ImprimerFormat2")));
  }
  seLarge->setValue(MmToUnit(read_.large));
  seHaut->setValue(
      MmToUnit(IsCD(read_.gabarit) ? ReadReal(model_.GetEntete(QStringLiteral("PetitDiam"))) : read_.haut));
  seNbreX->setValue(read_.nbrex);
  seNbreY->setValue(read_.nbrey);
  seX0->setValue(MmToUnit(read_.x0));
  seY0->setValue(MmToUnit(read_.y0));
  seInterX->setValue(MmToUnit(read_.interx));
  seInterY->setValue(MmToUnit(read_.intery));
  cbOrientation->setChecked(read_.orientation == 1);
  cbRectoVerso->setChecked(read_.rectoverso);
  filling_ = false;

  for (QLineEdit* e : {eGabNom, eMarque}) connect(e, &QLineEdit::textChanged, this, [this] { Change(); });
  for (QDoubleSpinBox* s : {seLarge, seHaut, seX0, seY0, seInterX, seInterY})
    connect(s, &QDoubleSpinBox::valueChanged, this, [this] { Change(); });
  for (QSpinBox* s : {seNbreX, seNbreY}) connect(s, &QSpinBox::valueChanged, this, [this] { Change(); });
  for (QCheckBox* b : {cbOrientation, cbRectoVerso})
    connect(b, &QCheckBox::toggled, this, [this] { Change(); });
  connect(bOK, &QPushButton::clicked, this, [this] {
    if (bOKClick()) accept();
  });
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);

  TranslateWidget(this);
  if (IsCD(read_.gabarit)) {  // the translation must not undo the disc's captions
    lbLarge->setText(MLText(QStringLiteral("ImprimerFormat1")));
    lbHaut->setText(MLText(QStringLiteral("ImprimerFormat2")));
  }
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) l->buddy()->setAccessibleName(NameOf(l->text()));
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) b->setAccessibleName(b->text());
  Page->setAccessibleName(title->text());
  Change();
}

void TfmImprimerFormat::EditFormat(QWidget* owner, const QString& nom, const QString& papier,
                                   TImprimerFormatResult& result, TzunoCADMdl& model,
                                   const QString& layoutsFile, const QString& papersFile, bool creating) {
  ::Count(QStringLiteral("Show_ImprimerFormat"));
  TfmImprimerFormat dialog(owner, nom, papier, model, layoutsFile, papersFile, creating);
  dialog.exec();
  result = dialog.Result;
}

const TGabaritInfo& TfmImprimerFormat::Layout() const {
  return Page->Sheet().Layout;
}

void TfmImprimerFormat::Change() {
  if (filling_) return;
  const bool columns = seNbreX->value() > 1, rows = seNbreY->value() > 1;
  seInterX->setVisible(columns);
  lbInterX->setVisible(columns);
  seInterY->setVisible(rows);
  lbInterY->setVisible(rows);

  TPapierInfo paper;
  papiers_.GetPapierInfo(papiers_.PapierFromNom(lPapierNom->text()), paper);
  if (paper.papier.isEmpty()) papiers_.GetPapierInfo(read_.papier, paper);
  TGabaritInfo& g = Page->Sheet().Layout;
  g = read_;
  g.orientation = cbOrientation->isChecked() ? 1 : 0;
  if (g.orientation == 1) std::swap(paper.large, paper.haut);
  Page->Sheet().Paper = paper;
  g.nom = eGabNom->text().trimmed();
  g.marque = eMarque->text().trimmed();
  if (!paper.papier.isEmpty()) g.papier = paper.papier;
  g.x0 = UnitToMm(seX0->value());
  g.y0 = UnitToMm(seY0->value());
  g.interx = UnitToMm(seInterX->value());
  g.intery = UnitToMm(seInterY->value());
  g.large = UnitToMm(seLarge->value());
  if (IsCD(read_.gabarit)) {
    // A disc has one diameter; the second field is its hole, which the outline draws.
    g.haut = g.large;
    model_.SetEntete(QStringLiteral("PetitDiam"), WriteReal(UnitToMm(seHaut->value())));
  } else {
    g.haut = UnitToMm(seHaut->value());
  }
  g.nbrex = seNbreX->value();
  g.nbrey = seNbreY->value();
  g.rectoverso = cbRectoVerso->isChecked();
  Page->Refresh();
  bOK->setEnabled(!g.nom.isEmpty() && !g.marque.isEmpty());
}

bool TfmImprimerFormat::bOKClick() {
  Change();
  const TGabaritInfo& g = Page->Sheet().Layout;
  if (g.nom.isEmpty() || g.marque.isEmpty()) return false;
  TzunoCSV table;
  QStringList lines;
  if (QFileInfo::exists(layoutsFile_) && !ReadTextFile(layoutsFile_, lines)) {
    AskUser(MLText(QStringLiteral("ErreurLecture")).replace(QStringLiteral("%s"), layoutsFile_), akError,
            abOK);
    return false;
  }
  table.LoadFromStrings(lines);
  // Fields past the header's columns are the user's too (notes, columns of a newer table): the table
  // drops them, so each row's surplus is kept aside and written back after its cells.
  QList<QStringList> surplus(table.RowCount());
  for (int r = 0; r < table.RowCount() && r < lines.size(); ++r) {
    QStringList fields = lines[r].split(QLatin1Char(';'));
    if (fields.size() > table.ColCount()) surplus[r] = fields.mid(table.ColCount());
  }
  // A table without some column gets it, so the row is whole.
  for (const char* c : kColumns)
    if (table.ColIndex(QString::fromLatin1(c)) < 0) {
      const int col = table.ColCount();
      table.SetSize(col + 1, std::max(table.RowCount(), 1));
      table.SetCell(col, 0, QString::fromLatin1(c));
    }
  int row = creating_ ? -1 : DataRow(table, opened_);
  const int other = DataRow(table, g.nom, row);
  if (other >= 0) {
    // Another layout has that name: lookups would only ever find one of the two.
    if (AskUser(MLText(QStringLiteral("FormatExiste")).replace(QStringLiteral("%s"), g.nom), akQuestion,
                abYes | abNo) != arYes)
      return false;
    int kept = other;
    if (row >= 0) {
      table.DeleteRow(row);
      // The surplus goes with the layout edited, not with the one it replaces.
      surplus[other] = surplus[row];
      surplus.removeAt(row);
      if (row < other) --kept;
    }
    row = kept;
  } else if (row < 0) {
    row = table.RowCount();
    table.SetSize(table.ColCount(), row + 1);
    table.SetCell(table.ColIndex(QStringLiteral("soft")), row, read_.soft);
  } else {
    table.SetCell(table.ColIndex(QStringLiteral("soft")), row, read_.soft);
  }
  const auto set = [&](const char* column, const QString& value) {
    table.SetCell(table.ColIndex(QString::fromLatin1(column)), row, value);
  };
  set("nom", g.nom);
  set("papier", g.papier);
  set("marque", g.marque);
  set("large", WriteReal(g.large));
  set("haut", WriteReal(g.haut));
  set("nbrex", WriteInt(g.nbrex));
  set("nbrey", WriteInt(g.nbrey));
  set("interx", WriteReal(g.interx));
  set("intery", WriteReal(g.intery));
  set("x0", WriteReal(g.x0));
  set("y0", WriteReal(g.y0));
  set("orientation", WriteBool(g.orientation == 1));
  set("rectoverso", WriteBool(g.rectoverso));
  QStringList out = table.SaveToStrings();
  for (int r = 0; r < out.size() && r < surplus.size(); ++r)
    if (!surplus[r].isEmpty()) out[r] += QLatin1Char(';') + surplus[r].join(QLatin1Char(';'));
  if (!WriteTextFile(layoutsFile_, out)) {
    AskUser(MLText(QStringLiteral("ErreurEnregistrement")).replace(QStringLiteral("%s"), layoutsFile_),
            akError, abOK);
    return false;
  }
  Result.marque = g.marque;
  Result.gabarit = table.Cell(table.ColIndex(QStringLiteral("gabarit")), row);
  Result.ok = true;
  return true;
}
