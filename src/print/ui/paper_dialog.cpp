#include "print/ui/paper_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/document.h"
#include "model/encodings.h"
#include "print/ui/dialog_parts.h"
#include "shell/counters.h"
#include "shell/ui/window_translation.h"

namespace {

constexpr int kDpi[] = {75, 150, 300};

QDoubleSpinBox* Length(QWidget* parent, const char* name, double minMm, double maxMm, double mm) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setDecimals(1);
  spin->setRange(MmToUnit(minMm), MmToUnit(maxMm));
  spin->setSuffix(QLatin1Char(' ') + UnitName());
  spin->setValue(MmToUnit(mm));
  return spin;
}

QSpinBox* Percent(QWidget* parent, const char* name) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(-75, 75);
  spin->setSuffix(QStringLiteral(" %"));
  return spin;
}

// A group of two fields, each with its caption.
QGroupBox* Pair(QWidget* parent, const char* name, const QString& title, QWidget* first,
                const char* firstName, const QString& firstText, QWidget* second, const char* secondName,
                const QString& secondText) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QString::fromLatin1(name));
  auto* form = new QFormLayout(group);
  form->addRow(Caption(group, firstName, firstText, first), first);
  form->addRow(Caption(group, secondName, secondText, second), second);
  return group;
}

}  // namespace

TfmPapier::TfmPapier(QWidget* owner, TzunoCADMdl& model) : QDialog(owner), model_(model) {
  setObjectName(QStringLiteral("fmPapier"));
  setWindowTitle(QStringLiteral("Papier"));
  setMinimumSize(760, 540);
  auto* row = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* title = new QLabel(QString::fromUtf8("Création d'un papier"), this);
  title->setObjectName(QStringLiteral("lbTitre"));
  QFont big = title->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  title->setFont(big);
  left->addWidget(title);

  ueLarge = Length(this, "ueLarge", 50, 300, 210);
  ueHaut = Length(this, "ueHaut", 50, 300, 297);
  ueMdlLarge = Length(this, "ueMdlLarge", 20, 200, std::clamp(model.Large, 20.0, 200.0));
  ueMdlHaut = Length(this, "ueMdlHaut", 20, 200, std::clamp(model.Haut, 20.0, 200.0));
  cbDPI = new QComboBox(this);
  cbDPI->setObjectName(QStringLiteral("cbDPI"));
  cbDPI->addItems({QStringLiteral("Moyenne (75 dpi)"), QStringLiteral("Bonne (150 dpi)"),
                   QStringLiteral("Maximale (300 dpi)")});
  cbDPI->setCurrentIndex(0);
  ueHorz = Percent(this, "ueHorz");
  ueVert = Percent(this, "ueVert");
  ueDecHorz = Percent(this, "ueDecHorz");
  ueDecVert = Percent(this, "ueDecVert");
  left->addWidget(Pair(this, "gbFeuille", QStringLiteral("Feuille"), ueLarge, "lbLarge",
                       QStringLiteral("Largeur :"), ueHaut, "lbHaut", QStringLiteral("Hauteur :")));
  left->addWidget(Pair(this, "gbMotif", QStringLiteral("Motif"), ueMdlLarge, "lbMdlLarge",
                       QStringLiteral("Largeur :"), ueMdlHaut, "lbMdlHaut", QStringLiteral("Hauteur :")));
  auto* quality = new QFormLayout;
  quality->addRow(Caption(this, "lbDPI", QString::fromUtf8("Qualité :"), cbDPI), cbDPI);
  left->addLayout(quality);
  left->addWidget(Pair(this, "gbSuperposition", QStringLiteral("Superposition du motif"), ueHorz, "lbHorz",
                       QStringLiteral("Horizontale :"), ueVert, "lbVert", QStringLiteral("Verticale :")));
  left->addWidget(Pair(this, "gbDecalage", QString::fromUtf8("Décalage du motif"), ueDecHorz, "lbDecHorz",
                       QStringLiteral("Lignes impaires :"), ueDecVert, "lbDecVert",
                       QStringLiteral("Colonnes impaires :")));
  left->addStretch(1);
  Progression = new QProgressBar(this);
  Progression->setObjectName(QStringLiteral("Progression"));
  Progression->setTextVisible(false);
  left->addWidget(Progression);
  left->addLayout(OkCancelRow(this, &bOK, &bAnnuler));
  row->addLayout(left, 0);

  auto* right = new QVBoxLayout;
  auto* zoom = new QHBoxLayout;
  bZoomPlus = new QPushButton(QStringLiteral("+"), this);
  bZoomPlus->setObjectName(QStringLiteral("bZoomPlus"));
  bZoomPlus->setToolTip(QStringLiteral("Agrandir l'aperçu"));
  bZoomMoins = new QPushButton(QString::fromUtf8("−"), this);
  bZoomMoins->setObjectName(QStringLiteral("bZoomMoins"));
  bZoomMoins->setToolTip(QString::fromUtf8("Réduire l'aperçu"));
  zoom->addWidget(bZoomPlus);
  zoom->addWidget(bZoomMoins);
  zoom->addStretch(1);
  right->addLayout(zoom);
  Defile = new QScrollArea(this);
  Defile->setObjectName(QStringLiteral("Defile"));
  Apercu = new QLabel(Defile);
  Apercu->setObjectName(QStringLiteral("Apercu"));
  Defile->setWidget(Apercu);
  Defile->setAlignment(Qt::AlignCenter);
  right->addWidget(Defile, 1);
  row->addLayout(right, 1);

  for (QDoubleSpinBox* s : {ueLarge, ueHaut, ueMdlLarge, ueMdlHaut})
    connect(s, &QDoubleSpinBox::valueChanged, this, [this] { Rebuild(); });
  for (QSpinBox* s : {ueHorz, ueVert, ueDecHorz, ueDecVert})
    connect(s, &QSpinBox::valueChanged, this, [this] { Rebuild(); });
  connect(cbDPI, &QComboBox::currentIndexChanged, this, [this] { Rebuild(); });
  connect(bZoomPlus, &QPushButton::clicked, this, [this] { SetZoom(zoom_ / 2); });
  connect(bZoomMoins, &QPushButton::clicked, this, [this] { SetZoom(zoom_ * 2); });
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);

  TranslateWidget(this);
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) {
      auto* group = qobject_cast<QGroupBox*>(l->parentWidget());
      l->buddy()->setAccessibleName(
          NameOf((group ? group->title() + QStringLiteral(" - ") : QString()) + l->text()));
    }
  for (QPushButton* b : findChildren<QPushButton*>())
    b->setAccessibleName(b->toolTip().isEmpty() ? b->text() : b->toolTip());
  Defile->setAccessibleName(NameOf(title->text()));
  filling_ = false;
  Rebuild();
}

int TfmPapier::ShowPapier(QWidget* owner, TzunoCADMdl& model, QImage& bitmap) {
  Count(QStringLiteral("Show_Papier"));
  TfmPapier dialog(owner, model);
  if (dialog.exec() != QDialog::Accepted) return 0;
  bitmap = dialog.Paper();
  return 1;
}

int TfmPapier::Dpi() const {
  return kDpi[std::clamp(cbDPI->currentIndex(), 0, 2)];
}

void TfmPapier::Rebuild() {
  if (filling_) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const double large = UnitToMm(ueMdlLarge->value()), haut = UnitToMm(ueMdlHaut->value());
  if (motif_.isNull() || large != motifLarge_ || haut != motifHaut_ || Dpi() != motifDpi_) {
    motif_ = MakeMotif(model_, large, haut, Dpi());
    motifLarge_ = large;
    motifHaut_ = haut;
    motifDpi_ = Dpi();
  }
  TPaperGrid grid;
  grid.Horz = ueHorz->value();
  grid.Vert = ueVert->value();
  grid.DecHorz = ueDecHorz->value();
  grid.DecVert = ueDecVert->value();
  Progression->setValue(0);
  paper_ = MakePaper(motif_, UnitToMm(ueLarge->value()), UnitToMm(ueHaut->value()), Dpi(), grid,
                     [this](int done, int total) {
                       Progression->setMaximum(total);
                       Progression->setValue(done);
                       return true;
                     });
  QApplication::restoreOverrideCursor();
  ShowPreview();
}

void TfmPapier::SetZoom(int z) {
  zoom_ = std::clamp(z, 1, 16);
  bZoomPlus->setEnabled(zoom_ > 1);
  bZoomMoins->setEnabled(zoom_ < 16);
  ShowPreview();
}

void TfmPapier::ShowPreview() {
  if (paper_.isNull()) return;
  const QSize size(std::max(1, paper_.width() / zoom_), std::max(1, paper_.height() / zoom_));
  Apercu->setPixmap(QPixmap::fromImage(paper_.scaled(
      size, Qt::IgnoreAspectRatio, zoom_ > 1 ? Qt::SmoothTransformation : Qt::FastTransformation)));
  Apercu->resize(size);
  bZoomPlus->setEnabled(zoom_ > 1);
  bZoomMoins->setEnabled(zoom_ < 16);
}
