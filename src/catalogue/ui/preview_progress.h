// Making the missing previews of a folder without freezing the window: the grid shows every cell at
// once and paints each preview as it arrives, a bar counts them, and Escape or the button stops.
#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

#include "catalogue/previews.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;
class TzunoApercuModele;

class TzunoPreviewProgress : public QFrame {
  Q_OBJECT
 public:
  explicit TzunoPreviewProgress(QWidget* parent = nullptr);

  // Shows the templates' previews in the grid (their ".jpg" files, found beside them or in the
  // per-user cache) and makes the missing ones, W x H, off the UI thread. Returns how many are
  // missing; the widget shows itself only then. Failed templates join the grid's Erreurs.
  int Start(TzunoApercuModele* grid, const QStringList& modeles, int W, int H,
            TPreviewMaker::Connector connect = {}, int threads = 0);
  void Cancel();
  bool Running() const;
  TPreviewMaker& Maker() { return maker_; }

 signals:
  // All handled or stopped; the templates that failed.
  void Finished(bool cancelled, const QStringList& errors);

 private:
  TPreviewMaker maker_;
  TzunoApercuModele* grid_ = nullptr;
  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* stop_;
  QPointer<QShortcut> escape_;
};
