#include "catalogue/ui/preview_progress.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

#include "catalogue/ui/apercu_modele.h"
#include "shell/language.h"

TzunoPreviewProgress::TzunoPreviewProgress(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  label_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  const QString name = MLText(QStringLiteral("ApercusProgression"));
  bar_->setAccessibleName(name.isEmpty() ? QStringLiteral("Aperçus") : name);
  QString cancel = MLMessage(306);
  stop_ = new QPushButton(cancel.isEmpty() ? QStringLiteral("Annuler") : cancel, this);
  stop_->setAccessibleName(stop_->text());
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(label_, 1);
  layout->addWidget(bar_, 2);
  layout->addWidget(stop_);
  connect(stop_, &QPushButton::clicked, this, &TzunoPreviewProgress::Cancel);
  hide();

  connect(&maker_, &TPreviewMaker::PreviewMade, this,
          [this](int index, const QString& modele, const QString& preview, bool ok, const QStringList&) {
            label_->setText(QFileInfo(modele).completeBaseName());
            if (!grid_ || index >= grid_->Fichiers.size()) return;
            grid_->Fichiers[index] = preview;
            if (!ok && !grid_->Erreurs.contains(preview)) grid_->Erreurs << preview;
            grid_->RedrawCell(index);
          });
  connect(&maker_, &TPreviewMaker::Progress, this, [this](int done, int total) {
    bar_->setMaximum(total);
    bar_->setValue(done);
    bar_->setFormat(QStringLiteral("%1 / %2").arg(done).arg(total));
  });
  connect(&maker_, &TPreviewMaker::Finished, this, [this](bool cancelled) {
    hide();
    delete escape_;
    escape_ = nullptr;
    emit Finished(cancelled, maker_.Errors());
  });
}

int TzunoPreviewProgress::Start(TzunoApercuModele* grid, const QStringList& modeles, int W, int H,
                                TPreviewMaker::Connector connect, int threads) {
  grid_ = grid;
  if (grid_) {
    grid_->Fichiers.clear();
    for (const QString& m : modeles) {
      const QString found = FindPreview(m);
      grid_->Fichiers << (found.isEmpty() ? PreviewPath(m) : found);
    }
    grid_->Redraw();
  }
  // A preview that passed its header check but did not decode is made again too.
  const int missing =
      maker_.Start(modeles, W, H, std::move(connect), threads, grid_ ? grid_->Unreadable() : QList<int>());
  if (missing > 0) {
    bar_->setRange(0, missing);
    bar_->setValue(0);
    bar_->setFormat(QStringLiteral("0 / %1").arg(missing));
    label_->clear();
    // Escape stops the work from anywhere in the grid's window.
    delete escape_;
    QWidget* window = grid_ ? grid_->window() : this->window();
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window, this, &TzunoPreviewProgress::Cancel,
                            Qt::WindowShortcut);
    show();
  }
  return missing;
}

void TzunoPreviewProgress::Cancel() {
  maker_.Cancel();
}

bool TzunoPreviewProgress::Running() const {
  return maker_.Running();
}
