#include "print/ui/print_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QVBoxLayout>

#include "model/document.h"
#include "model/image.h"
#include "model/soft_host.h"
#include "print/print_job.h"
#include "print/record_stream.h"
#include "print/ui/calibration_dialog.h"
#include "print/ui/dialog_parts.h"
#include "print/ui/format_dialog.h"
#include "print/ui/mpage.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

const QString TfmPrint::kPdfPrinter = kPdfFilePrinter;

QString TfmPrint::PdfFileRow() {
  return MLText(QStringLiteral("ImprimanteFichierPdf"));
}

namespace {

// Rows of the printer list: the name shown, the name its calibration is stored under, the queue.
constexpr int kQueueRole = Qt::UserRole + 1;

bool Flag(const char* key) {
  return Soft() && Soft()->SoftFlag(QString::fromLatin1(key));
}

QCheckBox* Box(QWidget* parent, const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  return box;
}

// A generic printer and a sheet of paper, for rows without a picture of their own.
QPixmap PrinterIcon() {
  QPixmap icon(40, 32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(Qt::white);
  p.drawRect(10, 2, 20, 10);
  p.setBrush(QColor(200, 200, 200));
  p.drawRoundedRect(3, 11, 34, 13, 3, 3);
  p.setBrush(Qt::white);
  p.drawRect(10, 19, 20, 11);
  return icon;
}

// The PDF file: a page with its corner folded, marked PDF.
QPixmap FileIcon() {
  QPixmap icon(40, 32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1.5));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{10, 1}, {25, 1}, {31, 7}, {31, 31}, {10, 31}}));
  p.drawPolyline(QPolygonF({{25, 1}, {25, 7}, {31, 7}}));
  p.fillRect(QRectF(4, 15, 24, 10), QColor(190, 30, 30));
  QFont font = p.font();
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(4, 15, 24, 10), Qt::AlignCenter, QStringLiteral("PDF"));
  return icon;
}

QPixmap PaperIcon() {
  QPixmap icon(16, 20);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setPen(QColor(60, 60, 60));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygon({{1, 1}, {10, 1}, {14, 5}, {14, 18}, {1, 18}}));
  p.drawLine(10, 1, 10, 5);
  p.drawLine(10, 5, 14, 5);
  return icon;
}

// Printer rows: the picture of the way the paper goes in once calibrated for the selected paper,
// else the generic printer; paper rows: a sheet and the paper's name.
class TRowDelegate : public QStyledItemDelegate {
 public:
  TRowDelegate(TfmPrint* dialog, bool printers)
      : QStyledItemDelegate(dialog), dialog_(dialog), printers_(printers) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect r = option.rect;
    p->save();
    p->fillRect(r, option.state & QStyle::State_Selected ? option.palette.highlight() : QBrush(Qt::white));
    p->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color() : Qt::black);
    p->setFont(option.font);
    const QString text = index.data().toString();
    if (printers_) {
      // A file has no paper feed: its row never shows how paper goes in.
      const bool file = index.data(kQueueRole).toString().isEmpty();
      p->drawPixmap(r.left() + 4, r.top() + 4, file ? FileIcon() : Icon(index.data(Qt::UserRole).toString()));
      p->drawText(QRect(r.left() + 60, r.top(), r.width() - 60, r.height()), Qt::AlignVCenter, text);
    } else {
      p->drawPixmap(r.left() + 3, r.top() + 3, PaperIcon());
      p->drawText(QRect(r.left() + 25, r.top(), r.width() - 25, r.height()), Qt::AlignVCenter, text);
    }
    p->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int text = option.fontMetrics.height();
    const int width = option.fontMetrics.horizontalAdvance(index.data().toString()) + (printers_ ? 64 : 29);
    if (printers_) return QSize(width, std::max(RowPicture() + 8, text));
    return QSize(width, std::max(PaperIcon().height() + 6, text));
  }

 private:
  QPixmap Icon(const QString& printer) const {
    TSoft* soft = Soft();
    const int type = soft ? TCalibrationStore::ForUser(*soft).Type(printer, dialog_->SelectedPapier()) : -1;
    if (type >= 0) {
      const QImage picture =
          skinui::LoadSkinPicture(soft->SkinPath, QStringLiteral("ImprimerCalibre%1.bmp").arg(type));
      if (!picture.isNull()) return QPixmap::fromImage(picture);
    }
    return PrinterIcon();
  }

  // One height for every printer row, whichever picture it shows.
  static int RowPicture() {
    int h = PrinterIcon().height();
    if (TSoft* soft = Soft())
      for (int t = 0; t < 3; ++t)
        h = std::max(
            h,
            skinui::LoadSkinPicture(soft->SkinPath, QStringLiteral("ImprimerCalibre%1.bmp").arg(t)).height());
    return h;
  }

  TfmPrint* dialog_;
  bool printers_;
};

QString WithNumber(const QString& text, int n) {
  QString s = text;
  return s.replace(QStringLiteral("%d"), QString::number(n));
}

// Rows chosen by selecting them (as assistive technologies do) become current, as a click makes them.
void FollowSelection(QListWidget* list) {
  QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (!chosen.isEmpty() && chosen.first() != list->currentItem()) list->setCurrentItem(chosen.first());
  });
}

QSpinBox* Number(QWidget* parent, const char* name, int max) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(1, max);
  return spin;
}

}  // namespace

TfmPrint::TfmPrint(QWidget* owner, const QString& fileName)
    : QDialog(owner),
      mdl_(std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100)),
      fileName_(fileName) {
  setObjectName(QStringLiteral("fmPrint"));
  setWindowTitle(QStringLiteral("Impression"));
  setMinimumSize(640, 480);
  // Room for the layout names and a preview of the sheet large enough to pick cells on.
  resize(820, 600);
  ConnectToSoft(*mdl_);
  {
    // The fields the document asks for as it is read: a records file must fill at least one of them.
    const auto settings = mdl_->OnChampFusion;
    mdl_->OnChampFusion = [this, settings](TzunoCADObj* sender, const QString& name, QString& value) {
      if (!askedFields_.contains(name, Qt::CaseInsensitive) && askedFields_.size() < 1000)
        askedFields_ << name;
      if (settings) settings(sender, name, value);
    };
    mdl_->LoadFromFile(fileName);
    mdl_->OnChampFusion = settings;
  }
  cells_ = std::make_unique<TCellPainter>(*mdl_);

  auto* column = new QVBoxLayout(this);
  // The header: title and explanation of the page on the skin's panel.
  DialogHeader(this, column, &lbTitre, &lbSousTitre);
  Pages = new QStackedWidget(this);
  column->addWidget(Pages, 1);

  // Page 0: printer and paper.
  auto* first = new QWidget(Pages);
  first->setObjectName(QStringLiteral("tsImprimante"));
  auto* firstColumn = new QVBoxLayout(first);
  auto* lists = new QHBoxLayout;
  lbPrinters = new QListWidget(first);
  lbPrinters->setObjectName(QStringLiteral("lbPrinters"));
  lbPapiers = new QListWidget(first);
  lbPapiers->setObjectName(QStringLiteral("lbPapiers"));
  lbPrinters->setItemDelegate(new TRowDelegate(this, true));
  lbPapiers->setItemDelegate(new TRowDelegate(this, false));
  auto* printerColumn = new QVBoxLayout;
  printerColumn->addWidget(Caption(first, "lbImprimante", QStringLiteral("Imprimante :"), lbPrinters));
  printerColumn->addWidget(lbPrinters, 1);
  auto* paperColumn = new QVBoxLayout;
  paperColumn->addWidget(Caption(first, "lbPapier", QStringLiteral("Papier :"), lbPapiers));
  paperColumn->addWidget(lbPapiers, 1);
  lists->addLayout(printerColumn, 1);
  lists->addLayout(paperColumn, 1);
  firstColumn->addLayout(lists, 1);
  lbPasDePapier = new QLabel(QString::fromUtf8("Il n'y a aucun papier de disponible."), first);
  lbPasDePapier->setObjectName(QStringLiteral("lbPasDePapier"));
  Panel4 =
      new QLabel(QString::fromUtf8("Vous n'avez pas encore calibré votre imprimante pour ce papier afin que "
                                   "l'impression soit correcte."),
                 first);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel5 = new QLabel(QString::fromUtf8("Ce modèle ne correspond pas à ce format de papier."), first);
  Panel5->setObjectName(QStringLiteral("Panel5"));
  lResX = new QLabel(first);
  lResX->setObjectName(QStringLiteral("lResX"));
  lResY = new QLabel(first);
  lResY->setObjectName(QStringLiteral("lResY"));
  Button2 = new QPushButton(QStringLiteral("Calibrer l'imprimante"), first);
  Button2->setObjectName(QStringLiteral("Button2"));
  bProperty = new QPushButton(QString::fromUtf8("Propriétés de l'imprimante"), first);
  bProperty->setObjectName(QStringLiteral("bProperty"));
  for (QLabel* l : {lbPasDePapier, Panel4, Panel5, lResX, lResY}) {
    l->setWordWrap(true);
    firstColumn->addWidget(l);
    if (l == Panel4) {
      auto* printerButtons = new QHBoxLayout;
      printerButtons->addWidget(Button2);
      printerButtons->addWidget(bProperty);
      printerButtons->addStretch(1);
      firstColumn->addLayout(printerButtons);
    }
  }
  Pages->addWidget(first);

  // Page 2: brand, layout, options and the preview.
  auto* last = new QWidget(Pages);
  last->setObjectName(QStringLiteral("tsFormat"));
  auto* lastRow = new QHBoxLayout(last);
  auto* left = new QVBoxLayout;
  cbMarques = new QComboBox(last);
  cbMarques->setObjectName(QStringLiteral("cbMarques"));
  lbGabarits = new QListWidget(last);
  lbGabarits->setObjectName(QStringLiteral("lbGabarits"));
  left->addWidget(Caption(last, "lbMarque", QStringLiteral("Marque :"), cbMarques));
  left->addWidget(cbMarques);
  left->addWidget(Caption(last, "lbFormat", QStringLiteral("Format :"), lbGabarits));
  left->addWidget(lbGabarits, 1);
  auto* formatButtons = new QHBoxLayout;
  bModif = new QPushButton(QStringLiteral("Modifier le format"), last);
  bModif->setObjectName(QStringLiteral("bModif"));
  bNew = new QPushButton(QStringLiteral("Nouveau format"), last);
  bNew->setObjectName(QStringLiteral("bNew"));
  bPlan = new QPushButton(QStringLiteral("Plan de montage"), last);
  bPlan->setObjectName(QStringLiteral("bPlan"));
  formatButtons->addWidget(bModif);
  formatButtons->addWidget(bNew);
  formatButtons->addWidget(bPlan);
  formatButtons->addStretch(1);
  left->addLayout(formatButtons);
  cbCadreGabarit = Box(last, "cbCadreGabarit", QStringLiteral("Imprimer le gabarit de la feuille"), false);
  cbNotRectInRect =
      Box(last, "cbNotRectInRect", QString::fromUtf8("Etirer le modèle dans le gabarit"), false);
  cbCadreModele = Box(last, "cbCadreModele", QString::fromUtf8("Imprimer le cadre du modèle"), false);
  cbColorPapier = Box(last, "cbColorPapier", QStringLiteral("Imprimer la couleur du papier"), true);
  cbImageFond = Box(last, "cbImageFond", QStringLiteral("Imprimer l'image de fond"), true);
  cbFaceVisible = Box(last, "cbFaceVisible", QStringLiteral("Imprimer le verso"), false);
  cbNoEchec = Box(last, "cbNoEchec", QString::fromUtf8("Mode sans échec"), true);
  for (QCheckBox* b :
       {cbCadreGabarit, cbNotRectInRect, cbCadreModele, cbColorPapier, cbImageFond, cbFaceVisible, cbNoEchec})
    left->addWidget(b);
  // Copies, the first cell of a partly used sheet, and a records file merged one record per cell.
  seCopies = Number(last, "seCopies", 999);
  seCopies->setToolTip(
      QStringLiteral("Sans fichier d'adresses : nombre de feuilles. Avec : étiquettes par fiche"));
  seDebut = Number(last, "seDebut", 1);
  seDebut->setToolTip(QStringLiteral("Les cases avant celle-ci restent vides sur la première feuille"));
  auto* counts = new QHBoxLayout;
  counts->addWidget(Caption(last, "lbCopies", QStringLiteral("Copies :"), seCopies));
  counts->addWidget(seCopies);
  counts->addSpacing(12);
  counts->addWidget(Caption(last, "lbDebut", QString::fromUtf8("Commencer à la case :"), seDebut));
  counts->addWidget(seDebut);
  counts->addStretch(1);
  left->addLayout(counts);
  bFiches = new QPushButton(QString::fromUtf8("Fichier d'adresses..."), last);
  bFiches->setObjectName(QStringLiteral("bFiches"));
  bSansFiches = new QPushButton(QStringLiteral("Sans fichier"), last);
  bSansFiches->setObjectName(QStringLiteral("bSansFiches"));
  auto* records = new QHBoxLayout;
  records->addWidget(bFiches);
  records->addWidget(bSansFiches);
  records->addStretch(1);
  left->addLayout(records);
  lFichier = new QLabel(last);
  lFichier->setObjectName(QStringLiteral("lFichier"));
  lFichier->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lNbFiches = new QLabel(last);
  lNbFiches->setObjectName(QStringLiteral("lNbFiches"));
  for (QLabel* l : {lFichier, lNbFiches}) {
    l->setWordWrap(true);
    left->addWidget(l);
  }
  lastRow->addLayout(left, 2);
  Page = new TzunoMPage(last);
  Page->setObjectName(QStringLiteral("Page"));
  Page->setMinimumSize(220, 300);
  Page->setToolTip(QStringLiteral("Cliquez sur une case pour ne pas l'imprimer"));
  lastRow->addWidget(Page, 3);
  Pages->addWidget(last);

  auto* buttons = new QHBoxLayout;
  bPrecedent = new QPushButton(QStringLiteral("<< Précédent"), this);
  bPrecedent->setObjectName(QStringLiteral("bPrecedent"));
  bSuivant = new QPushButton(this);
  bSuivant->setObjectName(QStringLiteral("bSuivant"));
  bSuivant->setDefault(true);
  bAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  bAnnuler->setObjectName(QStringLiteral("bAnnuler"));
  buttons->addStretch(1);
  buttons->addWidget(bPrecedent);
  buttons->addWidget(bSuivant);
  buttons->addWidget(bAnnuler);
  column->addLayout(buttons);

  TSoft* soft = Soft();
  // The printers the system lists, then the PDF file; the system's default is selected. A queue may
  // bear the file printer's name (cups-pdf's default "PDF"): the file's row is named apart, and each
  // row keeps its calibration under a name of its own.
  const QString current = QPrinterInfo::defaultPrinterName();
  QListWidgetItem* chosen = nullptr;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    auto* item = new QListWidgetItem(name, lbPrinters);
    item->setData(Qt::UserRole, QueueCalibrationName(name));
    item->setData(kQueueRole, name);
    if (name == current && !current.isEmpty()) chosen = item;
  }
  auto* file = new QListWidgetItem(PdfFileRow(), lbPrinters);
  file->setData(Qt::UserRole, kPdfFilePrinter);
  lbPrinters->setCurrentItem(chosen ? chosen : file);
  if (soft) {
    papiers_.FileName = TableFile(*soft, soft->PapiersDimFile);
    Page->Sheet().Gabarits.FileName = TableFile(*soft, soft->PapiersGabFile);
    QStringList papers;
    papiers_.ListPapiers(papers, soft->Code);
    for (const QString& p : papers) {
      auto* item = new QListWidgetItem(papiers_.NomFromPapier(p), lbPapiers);
      item->setData(Qt::UserRole, p);
    }
    if (soft->Debug) UseDebugLog(*cells_, soft->UserPath);
  }
  lbPasDePapier->setVisible(lbPapiers->count() == 0);
  if (lbPapiers->count() > 0) {
    // The paper of the layout the document is made for, or of the nearest one.
    const QString papier =
        soft ? ChooseLayout(Page->Sheet().Gabarits, mdl_->GetEntete(QStringLiteral("PapierDefaut")),
                            mdl_->Gabarit != 0 ? TzunoCADMdl::GabaritName(mdl_->Gabarit) : QString(),
                            soft->Code, QString(), soft->ReadUserString(QStringLiteral("PrintMarques")),
                            mdl_->Large, mdl_->Haut)
                   .papier
             : QString();
    int row = 0;
    for (int r = 0; r < lbPapiers->count(); ++r)
      if (!papier.isEmpty() && SameTextAscii(lbPapiers->item(r)->data(Qt::UserRole).toString(), papier))
        row = r;
    lbPapiers->setCurrentRow(row);
  }

  if (!Flag("print_calibre")) {
    Panel4->hide();
    Button2->hide();
  }
  cbNoEchec->setVisible(Flag("print_noechec"));
  // T-shirt transfers print mirrored; with one category at a time, so does the T-shirt category.
  Miroir = Flag("print_mirroir") || (Flag("TreeCategorie") && soft &&
                                     QDir::fromNativeSeparators(soft->ModelesPath).endsWith("Tshirt/"));
  if (Miroir)
    for (QCheckBox* b : {cbCadreGabarit, cbNotRectInRect, cbCadreModele, cbNoEchec}) b->hide();

  // Showing: the verso box only for a document with a back face; outline and stretch only for a
  // free page; paper colour and background only when the document has them.
  if (mdl_->MaxFace() <= 1) {
    cbFaceVisible->setChecked(false);
    cbFaceVisible->hide();
  } else if (mdl_->CountFace(1) == 0) {
    cbFaceVisible->setChecked(true);  // nothing on the recto: the verso is what there is to print
  }
  if (mdl_->Gabarit != 0)
    for (QCheckBox* b : {cbCadreGabarit, cbNotRectInRect}) {
      b->setChecked(false);
      b->hide();
    }
  cbColorPapier->setVisible(Flag("colorpapier") && mdl_->ColorPapier != clWhite);
  cbImageFond->setVisible(Flag("colorpapier") && FindBackgroundImage(*mdl_) != nullptr);
  Page->Sheet().CellsClickable = true;
  // On paper the print run decides which cells are drawn; the preview follows the same run over the
  // first sheet.
  Page->Sheet().OnDrawCell = [this](TCanvas& canvas, int cell, int x, int y, int right, int bottom) {
    const bool paper = Page->Sheet().PaintingOnPaper();
    if (!paper && previewRun_ && !previewRun_->Take(cell)) return;
    cells_->DrawCell(canvas, x, y, right, bottom, paper);
  };
  Page->OnRefresh = [this] { RestartPreview(); };

  for (QListWidget* list : {lbPrinters, lbPapiers, lbGabarits}) FollowSelection(list);
  connect(lbPrinters, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) CalibreInfo();
  });
  connect(lbPapiers, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) CalibreInfo();
  });
  connect(cbMarques, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) cbMarquesChange();
  });
  connect(lbGabarits, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) lbGabaritsClick();
  });
  for (QCheckBox* b : {cbFaceVisible, cbNoEchec})
    connect(b, &QCheckBox::toggled, this, [this] { lbGabaritsClick(); });
  for (QCheckBox* b : {cbCadreGabarit, cbNotRectInRect, cbCadreModele, cbColorPapier, cbImageFond})
    connect(b, &QCheckBox::toggled, this, [this] { cbCadreGabaritClick(); });
  connect(Button2, &QPushButton::clicked, this, &TfmPrint::Button2Click);
  connect(seCopies, &QSpinBox::valueChanged, this, [this] { Page->Refresh(); });
  connect(seDebut, &QSpinBox::valueChanged, this, [this] { Page->Refresh(); });
  connect(bFiches, &QPushButton::clicked, this, &TfmPrint::bFichesClick);
  connect(bSansFiches, &QPushButton::clicked, this, [this] { SetRecordsFile(QString()); });
  connect(bModif, &QPushButton::clicked, this, [this] { EditFormat(false); });
  connect(bNew, &QPushButton::clicked, this, [this] { EditFormat(true); });
  connect(bPlan, &QPushButton::clicked, this, &TfmPrint::bPlanClick);
  connect(bProperty, &QPushButton::clicked, this, &TfmPrint::bPropertyClick);
  connect(bPrecedent, &QPushButton::clicked, this, [this] { bPreSuivClick(1); });
  connect(bSuivant, &QPushButton::clicked, this, [this] { bPreSuivClick(2); });
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);

  TranslateWidget(this);
  ShowRecords();
  CalibreInfo();
  Pages->setCurrentIndex(0);
  ShowHeader();
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) b->setAccessibleName(NameOf(b->text()));
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) l->buddy()->setAccessibleName(NameOf(l->text()));
  Page->setAccessibleName(Page->toolTip());
  for (QSpinBox* spin : {seCopies, seDebut}) spin->setAccessibleDescription(spin->toolTip());
}

TfmPrint::~TfmPrint() = default;

int TfmPrint::ShowPrintDialog(QWidget* owner, const QString& fileName) {
  Count(QStringLiteral("Show_Print"));
  TfmPrint dialog(owner, fileName);
  dialog.exec();
  return 1;
}

QString TfmPrint::SelectedPrinter() const {
  const QListWidgetItem* item = lbPrinters->currentItem();
  return item ? item->data(Qt::UserRole).toString() : QString();
}

QString TfmPrint::SelectedQueue() const {
  const QListWidgetItem* item = lbPrinters->currentItem();
  return item ? item->data(kQueueRole).toString() : QString();
}

bool TfmPrint::PdfFileSelected() const {
  return SelectedQueue().isEmpty();
}

QString TfmPrint::SelectedPapier() const {
  const QListWidgetItem* item = lbPapiers->currentItem();
  return item ? item->data(Qt::UserRole).toString() : QString();
}

QString TfmPrint::SelectedFormat() const {
  const QListWidgetItem* item = lbGabarits->currentItem();
  return item ? item->text() : QString();
}

void TfmPrint::MakeCurrent() {
  const QString name = SelectedQueue();
  const bool pdf = name.isEmpty();
  // The same printer keeps what its set-up dialog changed.
  const bool same = printer_ && (pdf ? printer_->outputFormat() == QPrinter::PdfFormat
                                     : printer_->outputFormat() == QPrinter::NativeFormat &&
                                           printer_->printerName() == name);
  if (!same && pdf) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
  } else if (!same) {
    printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
  }
  if (paper_.large > 0 && paper_.haut > 0) SetPrinterPaper(*printer_, paper_, landscape_);
}

void TfmPrint::CalibreInfo() {
  TSoft* soft = Soft();
  lbPrinters->viewport()->update();  // the pictures of calibrated printers follow the paper
  // A file has no paper feed to calibrate.
  const bool calibrable = Flag("print_calibre") && !PdfFileSelected();
  if (Flag("print_calibre")) Button2->setVisible(calibrable);
  if (soft)
    Panel4->setVisible(calibrable &&
                       !TCalibrationStore::ForUser(*soft).Calibrated(SelectedPrinter(), SelectedPapier()));
  MakeCurrent();
  const TPrinterMetrics m = GetPrinterMetrics(*printer_);
  Page->Sheet().Printer = m;
  lResX->setText(WithNumber(MLMessage(650), m.DpiX));
  lResY->setText(WithNumber(MLMessage(651), m.DpiY));
  FillMarques(soft ? soft->ReadUserString(QStringLiteral("PrintMarques")) : QString());
  bSuivant->setEnabled(cbMarques->count() > 0);
  Panel5->setVisible(cbMarques->count() == 0);
}

void TfmPrint::FillMarques(QString marque) {
  TSoft* soft = Soft();
  // The brand of the document's own layout on this paper, else of the nearest one; the brand last
  // used when it has one as near.
  const QString kind = mdl_->Gabarit != 0 ? TzunoCADMdl::GabaritName(mdl_->Gabarit) : QString();
  const TLayoutChoice choice =
      ChooseLayout(Page->Sheet().Gabarits, mdl_->GetEntete(QStringLiteral("PapierDefaut")), kind,
                   soft ? soft->Code : QString(), SelectedPapier(), marque, mdl_->Large, mdl_->Haut);
  if (!choice.marque.isEmpty()) marque = choice.marque;
  if (marque.isEmpty() && soft) marque = soft->ReadSoftString(QStringLiteral("PrintMarques_start"));
  QStringList brands;
  Page->Sheet().Gabarits.ListMarques(brands, SelectedPapier(), kind, soft ? soft->Code : QString());
  filling_ = true;
  cbMarques->clear();
  cbMarques->addItems(brands);
  const int at = static_cast<int>(brands.indexOf(marque));
  cbMarques->setCurrentIndex(brands.isEmpty() ? -1 : std::max(at, 0));
  filling_ = false;
  cbMarquesChange();
}

void TfmPrint::cbMarquesChange() {
  TSoft* soft = Soft();
  QStringList formats;
  const QString kind = mdl_->Gabarit != 0 ? TzunoCADMdl::GabaritName(mdl_->Gabarit) : QString();
  if (cbMarques->currentIndex() >= 0)
    Page->Sheet().Gabarits.ListFormats(formats, SelectedPapier(), cbMarques->currentText(), kind,
                                       soft ? soft->Code : QString());
  const QString chosen =
      ChooseFormat(Page->Sheet().Gabarits, formats, mdl_->GetEntete(QStringLiteral("PapierDefaut")),
                   mdl_->Large, mdl_->Haut);
  bModif->setEnabled(false);
  filling_ = true;
  lbGabarits->clear();
  lbGabarits->addItems(formats);
  const int at = static_cast<int>(formats.indexOf(chosen));
  lbGabarits->setCurrentRow(at);
  filling_ = false;
  lbGabaritsClick();
}

void TfmPrint::lbGabaritsClick() {
  const QString name = SelectedFormat();
  if (name.isEmpty()) return;
  TSheetLayout& sheet = Page->Sheet();
  // The orientation first, so the verso's columns are mirrored across the paper as printed.
  TGabaritInfo layout;
  sheet.Gabarits.Face = 1;
  sheet.Gabarits.GetGabaritInfo(name, layout);
  papiers_.GetPapierInfo(SelectedPapier(), paper_);
  landscape_ = layout.orientation == 1;
  TPapierInfo printed = paper_;
  if (landscape_) std::swap(printed.large, printed.haut);
  sheet.Paper = printed;
  sheet.Gabarits.Face = cbFaceVisible->isChecked() ? 2 : 1;
  sheet.Gabarits.GetGabaritInfo(name, layout);
  sheet.Layout = layout;
  if (printer_ && paper_.large > 0 && paper_.haut > 0) {
    SetPrinterPaper(*printer_, paper_, landscape_);
    sheet.Printer = GetPrinterMetrics(*printer_);
  }
  bModif->setEnabled(true);
  // The first cell of a partly used sheet lies on the sheet.
  const long long count = static_cast<long long>(std::max(layout.nbrex, 0)) * std::max(layout.nbrey, 0);
  seDebut->setMaximum(static_cast<int>(std::clamp<long long>(count, 1, TSheetLayout::kMaxSelectable)));
  ShowPlan();
  ApplyOptions();
  Page->Refresh();
}

QString TfmPrint::PlanFile() const {
  TSoft* soft = Soft();
  const QString format = SelectedFormat();
  if (!soft || format.isEmpty()) return {};
  return soft->ExePath + QStringLiteral("plan/") + format + QStringLiteral(".pdf");
}

void TfmPrint::ShowPlan() {
  const QString file = PlanFile();
  bPlan->setVisible(Pages->currentIndex() == 1 && !file.isEmpty() && QFileInfo::exists(file));
}

void TfmPrint::bPlanClick() {
  const QString file = PlanFile();
  if (!file.isEmpty() && QFileInfo::exists(file)) QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TfmPrint::bPropertyClick() {
  MakeCurrent();
  QPrintDialog setup(printer_.get(), this);
  setup.setObjectName(QStringLiteral("dlgProprietes"));
  if (setup.exec() != QDialog::Accepted) return;
  // The set-up may have chosen another printer of the system.
  if (printer_->outputFormat() == QPrinter::NativeFormat) {
    const QList<QListWidgetItem*> found = lbPrinters->findItems(printer_->printerName(), Qt::MatchExactly);
    if (!found.isEmpty()) {
      filling_ = true;
      lbPrinters->setCurrentItem(found.first());
      filling_ = false;
    }
  }
  CalibreInfo();
}

void TfmPrint::Button2Click() {
  MakeCurrent();
  TPapierInfo paper;
  papiers_.GetPapierInfo(SelectedPapier(), paper);
  if (paper.large > 0 && paper.haut > 0)
    TfmPrintCalibre::ShowCalibration(this, *printer_, SelectedPrinter(), paper);
  lbPrinters->viewport()->update();
  CalibreInfo();
}

void TfmPrint::EditFormat(bool creating) {
  TSoft* soft = Soft();
  if (!soft) return;
  // Edits go to the user's copy of the table, made whole from the installation's the first time.
  const QString target = soft->PapiersGabFile;
  const QString source = TableFile(*soft, target);
  if (source != target && !QFile::copy(source, target)) {
    AskUser(MLText(QStringLiteral("ErreurEnregistrement")).replace(QStringLiteral("%s"), target), akError,
            abOK);
    return;
  }
  Page->Sheet().Gabarits.FileName = target;
  TImprimerFormatResult result;
  TfmImprimerFormat::EditFormat(this, creating ? MLMessage(301) : SelectedFormat(), SelectedPapier(), result,
                                *mdl_, target, papiers_.FileName, creating);
  if (result.ok) FillMarques(result.marque);
}

void TfmPrint::cbCadreGabaritClick() {
  cbCadreModele->setEnabled(!cbNotRectInRect->isChecked());
  if (cbNotRectInRect->isChecked()) cbCadreModele->setChecked(false);
  ApplyOptions();
  Page->Refresh();
}

void TfmPrint::ApplyOptions() {
  TCellOptions& o = cells_->Options;
  o.CadreGabarit = cbCadreGabarit->isChecked();
  o.NotRectInRect = cbNotRectInRect->isChecked();
  o.CadreModele = cbCadreModele->isChecked();
  o.ColorPapier = cbColorPapier->isChecked();
  o.ImageFond = cbImageFond->isChecked();
  o.NoEchec = cbNoEchec->isChecked();
  o.Miroir = Miroir;
  o.Face = Page->Sheet().Gabarits.Face;
}

void TfmPrint::ShowHeader() {
  const bool last = Pages->currentIndex() == 1;
  lbTitre->setText(MLMessage(last ? 614 : 610));
  lbSousTitre->setText(MLMessage(last ? 615 : 611));
  bSuivant->setText(MLMessage(last ? 603 : 600));
  bPrecedent->setEnabled(last);
  bSuivant->setAccessibleName(bSuivant->text());
  ShowPlan();
}

void TfmPrint::bPreSuivClick(int tag) {
  if (tag == 1) {
    Pages->setCurrentIndex(0);
  } else if (Pages->currentIndex() == 0) {
    if (!Panel4->isHidden() && Flag("print_calibre_confirme") &&
        AskUser(MLMessage(654), akInformation, abYes | abNo) != arYes)
      return;
    MakeCurrent();
    FillMarques(Soft() ? Soft()->ReadUserString(QStringLiteral("PrintMarques")) : QString());
    Pages->setCurrentIndex(1);
  } else {
    if (SelectedFormat().isEmpty()) {
      AskUser(MLMessage(653), akWarning, abOK);
      return;
    }
    Count(QStringLiteral("Imprime"));
    bSuivant->setEnabled(false);
    if (DoPrint()) {
      accept();
      return;
    }
    bSuivant->setEnabled(true);
  }
  ShowHeader();
}

bool TfmPrint::DoPrint() {
  ApplyOptions();
  if (PdfFileSelected()) {
    QString file = (Soft() ? Soft()->DocumentsPath : QString()) + QStringLiteral("impression.pdf");
    if (!AskSaveFile(QStringLiteral("PDF|*.pdf"), file, nullptr)) return false;
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(file);
  } else if (QPrinterInfo::printerInfo(SelectedQueue()).isNull()) {
    AskUser(MLMessage(652), akError, abOK);  // the printer went away meanwhile
    return false;
  }
  SetPrinterPaper(*printer_, paper_, landscape_);
  TSoft* soft = Soft();
  const TCalibrationStore store =
      soft ? TCalibrationStore::ForUser(*soft)
           : TCalibrationStore([](const QString&) { return QString(); },
                               [](const QString&, const QString&) { return false; });
  QString error;
  const QString title = soft && !soft->Nom.isEmpty() ? soft->Nom : QStringLiteral("Lorvane");
  // A progress bar by cells; events are served between cells, so the window stays alive and the
  // print can be cancelled.
  const TSheetLayout& sheet = Page->Sheet();
  const long long cells = std::min<long long>(
      static_cast<long long>(std::max(sheet.Layout.nbrex, 0)) * std::max(sheet.Layout.nbrey, 0),
      TSheetLayout::kMaxVisited);
  int total = 0;
  for (int c = 1; c <= cells; ++c) total += sheet.IsSelected(c) ? 1 : 0;
  // Cells are counted as visited, blank or not, on every sheet the run takes.
  const TRunOptions run = Run();
  if (total > 0) {
    const long long labels = recordsFile_.isEmpty() ? 0 : static_cast<long long>(recordCount_) * run.Copies;
    const long long sheets =
        recordsFile_.isEmpty() ? run.Copies : (labels + run.StartCell - 1 + total - 1) / total;
    total = static_cast<int>(std::min<long long>(total * std::max<long long>(sheets, 1), 1 << 30));
  }
  QProgressDialog progress(MLText(QStringLiteral("ImpressionEnCours")), bAnnuler->text(), 0, total, this);
  progress.setObjectName(QStringLiteral("pbImpression"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  int started = 0;
  const auto cancelled = [&] {
    progress.setValue(started++);
    QCoreApplication::processEvents();
    return progress.wasCanceled();
  };
  const bool ok = PrintSheets(store, title, &error, cancelled);
  const bool stopped = progress.wasCanceled();
  progress.reset();
  if (stopped) return false;  // a PDF file keeps what it held
  if (!ok) {
    AskUser(MLMessage(652), akError, abOK);
    return false;
  }
  return true;
}

void TfmPrint::done(int result) {
  if (TSoft* soft = Soft()) {
    if (cbMarques->currentIndex() >= 0)
      soft->WriteUserString(QStringLiteral("PrintMarques"), cbMarques->currentText());
    if (!SelectedFormat().isEmpty()) soft->WriteUserString(QStringLiteral("PrintGabarits"), SelectedFormat());
  }
  QDialog::done(result);
}

TRunOptions TfmPrint::Run() const {
  TRunOptions run;
  run.Copies = seCopies->value();
  run.StartCell = seDebut->value();
  return run;
}

bool TfmPrint::PrintSheets(const TCalibrationStore& store, const QString& title, QString* error,
                           const std::function<bool()>& cancelled) {
  TSheetLayout& sheet = Page->Sheet();
  // The preview's run steps aside while the print runs its own over the whole file.
  previewRun_.reset();
  previewFeed_.reset();
  previewRecords_.reset();
  TRecordStream records;
  std::unique_ptr<TRecordFeed> feed;
  if (!recordsFile_.isEmpty()) {
    if (!records.Open(recordsFile_, error)) {
      Page->Refresh();
      return false;
    }
    feed = std::make_unique<TRecordFeed>(*mdl_, fileName_, records);
  }
  const bool landscape = printer_->pageLayout().orientation() == QPageLayout::Landscape;
  bool ok;
  {
    TPrintJob job(*printer_, sheet, *cells_);
    job.Cancelled = cancelled;
    ok = job.Begin(title, store.Offsets(SelectedPrinter(), sheet.Paper.papier, landscape));
    if (ok) ok = PrintRun(job, sheet, *cells_, Run(), feed.get());
    if (!job.End()) ok = false;
    if (!ok && error) *error = job.Error;
  }
  feed.reset();
  Page->Refresh();
  return ok;
}

void TfmPrint::RestartPreview() {
  previewRun_.reset();
  previewFeed_.reset();
  previewRecords_.reset();
  if (!recordsFile_.isEmpty()) {
    previewRecords_ = std::make_unique<TRecordStream>();
    if (previewRecords_->Open(recordsFile_, nullptr))
      previewFeed_ = std::make_unique<TRecordFeed>(*mdl_, fileName_, *previewRecords_);
    else
      previewRecords_.reset();
  }
  previewRun_ = std::make_unique<TRunCells>(Run(), previewFeed_.get());
  previewRun_->NextSheet();
}

bool TfmPrint::SetRecordsFile(const QString& file) {
  int count = 0;
  if (!file.isEmpty()) {
    TRecordStream records;
    QStringList row;
    if (records.Open(file, nullptr))
      while (records.Next(row)) ++count;
    if (count == 0) {
      AskUser(MLText(QStringLiteral("FichesIllisibles")).replace(QStringLiteral("%s"), file), akError, abOK);
      return false;
    }
    // A header that names none of the document's fields would print the same label on every cell.
    bool used = false;
    for (const QString& name : askedFields_) used = used || records.FieldIndex(name) >= 0;
    if (!used) {
      const QString none = QStringLiteral("-");
      AskUser(MLText(QStringLiteral("FichesSansChamp"))
                  .replace(QLatin1Char('|'), QLatin1Char('\n'))
                  .replace(QStringLiteral("%1"), QFileInfo(file).fileName())
                  .replace(QStringLiteral("%2"), askedFields_.isEmpty()
                                                     ? none
                                                     : QStringLiteral("<") +
                                                           askedFields_.join(QStringLiteral(">, <")) +
                                                           QStringLiteral(">"))
                  .replace(QStringLiteral("%3"), records.Fields().join(QStringLiteral(", "))),
              akError, abOK);
      return false;
    }
  }
  const bool had = !recordsFile_.isEmpty();
  recordsFile_ = file;
  recordCount_ = count;
  if (had && file.isEmpty()) {
    // The document's texts still hold the last record merged: read it again as it is.
    previewRun_.reset();
    previewFeed_.reset();
    previewRecords_.reset();
    mdl_->LoadFromFile(fileName_);
  }
  ShowRecords();
  Page->Refresh();
  return true;
}

void TfmPrint::bFichesClick() {
  QString file = recordsFile_.isEmpty() && Soft() ? Soft()->DocumentsPath : recordsFile_;
  if (!AskOpenFile(MLText(QStringLiteral("FichesFiltre")) + QStringLiteral("|*.csv;*.txt;*.tsv"), file))
    return;
  SetRecordsFile(file);
}

void TfmPrint::ShowRecords() {
  const bool merging = !recordsFile_.isEmpty();
  lFichier->setText(merging ? QFileInfo(recordsFile_).fileName() : MLText(QStringLiteral("FichesAucun")));
  lFichier->setToolTip(recordsFile_);
  lNbFiches->setText(merging ? WithNumber(MLText(QStringLiteral("FichesNombre")), recordCount_) : QString());
  lNbFiches->setVisible(merging);
  bSansFiches->setEnabled(merging);
}
