#include "catalogue/ui/clipart_chooser.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QSplitter>

#include "catalogue/cache_files.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/apercu_tree.h"
#include "model/document.h"
#include "model/soft_host.h"

namespace {

QString WithSlash(QString folder) {
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace

TfmCliparts::TfmCliparts(QWidget* owner, const QString& root, const QString& cacheFolder,
                         const QString& extension)
    : QDialog(owner), root_(WithSlash(root)), cache_(WithSlash(cacheFolder)) {
  setObjectName(QStringLiteral("fmCliparts"));
  setWindowTitle(QStringLiteral("Cliparts"));
  setAccessibleName(QStringLiteral("Cliparts"));
  resize(760, 480);
  model_ = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ConnectToSoft(*model_);

  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::Base, Qt::white);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  tree_ = new TzunoApercuTree(splitter_);
  tree_->setFrameShape(QFrame::NoFrame);
  tree_->setPalette(white);
  grid_ = new TzunoApercuModele(splitter_);
  grid_->setPalette(white);
  grid_->setAutoFillBackground(true);
  grid_->viewport()->setPalette(white);
  grid_->ApercuLarge = 120;
  grid_->ApercuHaut = 120;
  grid_->AutoTaille = false;
  grid_->Modele = model_.get();
  splitter_->addWidget(tree_);
  splitter_->addWidget(grid_);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({150, width() - 150});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  tree_->Fill(root_.chopped(root_.isEmpty() ? 0 : 1), extension);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) ShowFolder(TzunoApercuTree::NodePath(item));
  });
  connect(grid_, &TzunoApercuModele::Resized, this, [this] {
    if (!grid_->Mosaique.isEmpty()) grid_->PaintMosaic(FindCacheFile(grid_->Mosaique));
  });
  grid_->OnClickApercu = [this](TzunoApercuModele*, int, const QString& file) {
    choice_ = file.startsWith(root_) ? file.mid(root_.size()) : file;
    accept();
  };
}

TfmCliparts::~TfmCliparts() {
  grid_->Modele = nullptr;
}

QString TfmCliparts::MosaicFile(const QString& path) const {
  QString name = path;
  name.replace(QLatin1Char('\\'), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
  return cache_ + name + QStringLiteral(".bmp");
}

void TfmCliparts::ShowFolder(const QString& path) {
  grid_->Mosaique = MosaicFile(path);
  grid_->Dossier = root_ + QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')) + QLatin1Char('/');
  grid_->RedrawMosaic();
  grid_->verticalScrollBar()->setValue(0);
}

QString ChoisirClipart(QWidget* owner, const QString& root, const QString& cacheFolder,
                       const QString& extension) {
  TfmCliparts form(owner, root, cacheFolder, extension);
  return form.exec() == QDialog::Accepted ? form.Choice() : QString();
}
