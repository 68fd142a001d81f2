#include "print/ui/calibration_dialog.h"

#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "print/ui/dialog_parts.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kTypes = 3;
constexpr int kLineStep = 16, kTextLeft = 70;

QImage SkinPicture(const QString& name) {
  return Soft() ? skinui::LoadSkinPicture(Soft()->SkinPath, name) : QImage();
}

// A printer type: its picture from the skin, then its lines, the first in bold.
class TPrintTypeDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect r = option.rect;
    p->save();
    p->fillRect(r, Qt::white);
    const QImage picture = SkinPicture(QStringLiteral("ImprimerCalibre%1.bmp").arg(index.row()));
    if (!picture.isNull()) p->drawImage(r.left() + 4, r.top() + 4, picture);
    const QStringList lines = index.data().toString().split(QLatin1Char('|'));
    QFont font = option.font;
    for (int i = 0; i < lines.size(); ++i) {
      font.setBold(i == 0);
      p->setFont(font);
      p->setPen(Qt::black);
      p->drawText(QRect(r.left() + kTextLeft, r.top() + kLineStep * i, r.width() - kTextLeft, kLineStep + 4),
                  Qt::AlignLeft | Qt::AlignTop, lines[i]);
    }
    if (option.state & QStyle::State_Selected) {
      p->setPen(QPen(option.palette.highlight().color(), 2));
      p->setBrush(Qt::NoBrush);
      p->drawRect(r.adjusted(1, 1, -1, -1));
    }
    p->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int lines = static_cast<int>(index.data().toString().count(QLatin1Char('|'))) + 1;
    const QImage picture = SkinPicture(QStringLiteral("ImprimerCalibre%1.bmp").arg(index.row()));
    return QSize(option.rect.width(), std::max(lines * kLineStep + 8, picture.height() + 8));
  }
};

QDoubleSpinBox* Measure(QWidget* parent, const char* name) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(-300, 300);
  spin->setDecimals(1);
  spin->setSingleStep(0.5);
  spin->setSuffix(QStringLiteral(" mm"));
  return spin;
}

// A measure page: the picture of the skin when there is one, and the two distances.
QWidget* MeasurePage(QWidget* parent, const QString& picture, QDoubleSpinBox* x, const char* xLabel,
                     QDoubleSpinBox* y, const char* yLabel) {
  auto* page = new QWidget(parent);
  auto* column = new QVBoxLayout(page);
  const QPixmap image = QPixmap::fromImage(SkinPicture(picture));
  if (!image.isNull()) {
    auto* shown = new QLabel(page);
    shown->setPixmap(image.height() > 280 ? image.scaledToHeight(280, Qt::SmoothTransformation) : image);
    shown->setAlignment(Qt::AlignCenter);
    column->addWidget(shown, 1);
  }
  auto* form = new QFormLayout;
  for (auto [spin, name, text] :
       {std::tuple{x, xLabel, "Dimension entre la gauche de la feuille et le trait vertical :"},
        std::tuple{y, yLabel, "Dimension entre le haut de la feuille et le trait horizontal :"}}) {
    auto* label = new QLabel(QString::fromUtf8(text), page);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setBuddy(spin);
    form->addRow(label, spin);
  }
  column->addLayout(form);
  column->addStretch(image.isNull() ? 1 : 0);
  return page;
}

}  // namespace

TfmPrintCalibre::TfmPrintCalibre(QWidget* owner, QPrinter& printer, const QString& printerName,
                                 const TPapierInfo& paper, TCalibrationStore store)
    : QDialog(owner), printer_(printer), printerName_(printerName), paper_(paper), store_(std::move(store)) {
  setObjectName(QStringLiteral("fmPrintCalibre"));
  setMinimumSize(600, 500);
  auto* column = new QVBoxLayout(this);
  DialogHeader(this, column, &lbTitre, &lbSousTitre);
  lbTitre->setText(QString::fromUtf8("Réglage de l'imprimante"));
  Pages = new QStackedWidget(this);
  column->addWidget(Pages, 1);

  lbPrintType = new QListWidget(Pages);
  lbPrintType->setObjectName(QStringLiteral("lbPrintType"));
  lbPrintType->setItemDelegate(new TPrintTypeDelegate(lbPrintType));
  for (int t = 0; t < kTypes; ++t) lbPrintType->addItem(MLText(QStringLiteral("ImprimanteType%1").arg(t)));
  Pages->addWidget(lbPrintType);
  seX = Measure(this, "seX");
  seY = Measure(this, "seY");
  seX1 = Measure(this, "seX1");
  seY1 = Measure(this, "seY1");
  Pages->addWidget(MeasurePage(Pages, QStringLiteral("calibre_portrait.jpg"), seX, "lbX", seY, "lbY"));
  Pages->addWidget(MeasurePage(Pages, QStringLiteral("calibre_paysage.jpg"), seX1, "lbX1", seY1, "lbY1"));

  auto* buttons = new QHBoxLayout;
  bPrecedent = new QPushButton(QString::fromUtf8("<< Précédent"), this);
  bPrecedent->setObjectName(QStringLiteral("bPrecedent"));
  bSuivant = new QPushButton(this);
  bSuivant->setObjectName(QStringLiteral("bSuivant"));
  bSuivant->setDefault(true);
  bAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  bAnnuler->setObjectName(QStringLiteral("bAnnuler"));
  buttons->addStretch(1);
  for (QPushButton* b : {bPrecedent, bSuivant, bAnnuler}) buttons->addWidget(b);
  column->addLayout(buttons);

  connect(bPrecedent, &QPushButton::clicked, this, [this] { bPreSuivClick(1); });
  connect(bSuivant, &QPushButton::clicked, this, [this] { bPreSuivClick(2); });
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);
  // The type is the row selected, by a click or by assistive technologies; focus alone makes a row
  // current without choosing it.
  connect(lbPrintType, &QListWidget::itemSelectionChanged, this, [this] {
    const int type = SelectedType();
    if (type >= 0 && lbPrintType->currentRow() != type) lbPrintType->setCurrentRow(type);
    if (Pages->currentIndex() == 0) bSuivant->setEnabled(type >= 0);
  });
  connect(lbPrintType, &QListWidget::itemDoubleClicked, this, [this] { bPreSuivClick(2); });

  TranslateWidget(this);
  setWindowTitle(printerName_ + QStringLiteral(" - ") + paper_.papier);
  const int type = store_.Type(printerName_, paper_.papier);
  if (type >= 0 && type < kTypes) lbPrintType->setCurrentRow(type);
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) l->buddy()->setAccessibleName(NameOf(l->text()));
  lbPrintType->setAccessibleName(NameOf(lbTitre->text()));
  Pages->setCurrentIndex(0);
  ShowHeader();
}

int TfmPrintCalibre::ShowCalibration(QWidget* owner, QPrinter& printer, const QString& printerName,
                                     const TPapierInfo& paper) {
  Count(QStringLiteral("Show_PrintCalibre"));
  TSoft* soft = Soft();
  if (!soft) return 0;
  TfmPrintCalibre dialog(owner, printer, printerName, paper, TCalibrationStore::ForUser(*soft));
  return dialog.exec();
}

bool TfmPrintCalibre::PrintSheet(bool landscape) {
  if (Soft() && Soft()->Debug) return true;  // no paper spent while debugging
  if (printer_.outputFormat() == QPrinter::PdfFormat) {
    QString file = (Soft() ? Soft()->DocumentsPath : QString()) + QStringLiteral("calibration.pdf");
    if (!AskSaveFile(QStringLiteral("PDF|*.pdf"), file, nullptr)) return false;
    printer_.setOutputFileName(file);
  }
  QString error;
  const QString title = Soft() && !Soft()->Nom.isEmpty() ? Soft()->Nom : QStringLiteral("Lorvane");
  if (PrintCalibrationSheet(printer_, paper_, landscape, title, &error)) return true;
  AskUser(MLMessage(652), akError, abOK);
  return false;
}

void TfmPrintCalibre::bPreSuivClick(int tag) {
  const int page = Pages->currentIndex();
  const int type = SelectedType();
  if (tag == 1) {
    if (page > 0) Pages->setCurrentIndex(page - 1);
  } else if (page == 0) {
    if (type < 0 || !PrintSheet(false)) return;
    const QPointF m = store_.Measures(printerName_, paper_.papier, false);
    seX->setValue(m.x());
    seY->setValue(m.y());
    Pages->setCurrentIndex(1);
  } else if (page == 1) {
    store_.StoreMeasures(printerName_, paper_.papier, type, false, seX->value(), seY->value());
    if (!PrintSheet(true)) return;
    const QPointF m = store_.Measures(printerName_, paper_.papier, true);
    seX1->setValue(m.x());
    seY1->setValue(m.y());
    Pages->setCurrentIndex(2);
  } else {
    store_.StoreMeasures(printerName_, paper_.papier, type, true, seX1->value(), seY1->value());
    accept();
    return;
  }
  ShowHeader();
}

void TfmPrintCalibre::ShowHeader() {
  const int page = Pages->currentIndex();
  lbSousTitre->setText(MLMessage(630 + page));
  bSuivant->setText(MLMessage(page == 2 ? 626 : 600));
  bSuivant->setAccessibleName(bSuivant->text());
  bSuivant->setEnabled(page > 0 || SelectedType() >= 0);
  bPrecedent->setEnabled(page > 0);
  bPrecedent->setAccessibleName(NameOf(bPrecedent->text()));
  bAnnuler->setAccessibleName(bAnnuler->text());
}

int TfmPrintCalibre::SelectedType() const {
  const QList<QListWidgetItem*> chosen = lbPrintType->selectedItems();
  return chosen.isEmpty() ? -1 : lbPrintType->row(chosen.first());
}
