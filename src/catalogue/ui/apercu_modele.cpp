#include "catalogue/ui/apercu_modele.h"

#include <sys/mman.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>
#include <QToolTip>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "catalogue/cache_files.h"
#include "catalogue/catalogue_folder.h"
#include "catalogue/name_order.h"
#include "model/document.h"
#include "render/codecs.h"
#include "render/fit_rect.h"
#include "render/picture_io.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kMosaicColumns = 8;

// A picture of a whole folder is tens of megabytes: asked for in huge pages where the system gives
// them, it costs a few page faults instead of thousands on its first fill.
QImage LargePicture(QSize size, QImage::Format format) {
  constexpr size_t kHuge = size_t(2) << 20;
  const qint64 bytesPerLine = qint64(size.width()) * 4;
  const qint64 bytes = bytesPerLine * size.height();
  if (format != QImage::Format_RGB32 || size.isEmpty() || bytes < qint64(8 * kHuge) ||
      bytes > (qint64(1) << 31))
    return QImage(size, format);
  const size_t rounded = (size_t(bytes) + kHuge - 1) / kHuge * kHuge;
  void* data = std::aligned_alloc(kHuge, rounded);
  if (!data) return QImage(size, format);
  madvise(data, rounded, MADV_HUGEPAGE);
  return QImage(static_cast<uchar*>(data), size.width(), size.height(), bytesPerLine, format, std::free,
                data);
}

// The 3-pixel red frame of a failed template, its pen centred on the rectangle's outline.
void ErrorFrame(QPainter& p, QRect r) {
  const QColor red(255, 0, 0);
  const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
  p.fillRect(QRect(QPoint(l - 1, t - 1), QPoint(rr + 1, t + 1)), red);
  p.fillRect(QRect(QPoint(l - 1, b - 1), QPoint(rr + 1, b + 1)), red);
  p.fillRect(QRect(QPoint(l - 1, t - 1), QPoint(l + 1, b + 1)), red);
  p.fillRect(QRect(QPoint(rr - 1, t - 1), QPoint(rr + 1, b + 1)), red);
}

QString BaseName(const QString& file) {
  QString name = QFileInfo(QString(file).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.left(dot) : name;
}

}  // namespace

TApercuImage::TApercuImage(TzunoApercuModele* grid) : QWidget(grid), grid_(grid) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TPictureItems* TApercuImage::Items() const {
  return grid_;
}

void TApercuImage::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), grid_->palette().color(QPalette::Window));
  if (!grid_->image_.isNull()) p.drawImage(grid_->left_, 0, grid_->image_);
}

void TApercuImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool over = grid_->CellAt(at.x() - grid_->left_, at.y()) >= 0;
  if (over)
    setCursor(Qt::PointingHandCursor);
  else
    unsetCursor();
}

bool TApercuImage::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int i = grid_->CellAt(help->pos().x() - grid_->left_, help->pos().y());
    const QString hint = i >= 0 ? grid_->ItemHint(i) : QString();
    if (hint.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), hint, this, grid_->ItemRect(i));
    return true;
  }
  return QWidget::event(event);
}

void TApercuImage::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  grid_->ClickAt(at.x() - grid_->left_, at.y(), event->button());
}

TzunoApercuModele::TzunoApercuModele(QWidget* parent) : QScrollArea(parent) {
  InstallPictureAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  picture_ = new TApercuImage(this);
  picture_->resize(0, 0);
  setWidget(picture_);
  // Named after the catalogue's templates panel; the owner may name it otherwise.
  QString name = MLText(QStringLiteral("panel_modele"));
  if (name.isEmpty()) name = QStringLiteral("Modèles");
  setAccessibleName(name);
  picture_->setAccessibleName(name);
}

TzunoApercuModele::~TzunoApercuModele() = default;

int TzunoApercuModele::Columns() const {
  const int pitch = ApercuLarge + Marge;
  return pitch > 0 ? std::max(1, (width() - 20) / pitch) : 1;
}

QRect TzunoApercuModele::CellRect(int i) const {
  const int c = Columns();
  return QRect((i % c) * ApercuLarge, (i / c) * ApercuHaut, ApercuLarge, ApercuHaut);
}

int TzunoApercuModele::CellAt(int x, int y) const {
  for (int i = 0; i < Fichiers.size(); ++i)
    if (CellRect(i).contains(x, y)) return i;
  return -1;
}

void TzunoApercuModele::Place() {
  // Centred, but never pushed off the left edge: a picture wider than the panel scrolls instead.
  left_ = std::max(0, (width() - image_.width() - 20) / 2);
  picture_->resize(std::max(viewport()->width(), left_ + image_.width()), image_.height());
  picture_->update();
}

TzunoApercuModele::TCellPicture TzunoApercuModele::LoadCell(const QString& file) {
  TCellPicture cell;
  cell.exists = QFileInfo(file).isFile();
  if (cell.exists) {
    cell.picture = LoadPicture(file);
    // The grid's picture is 32-bit, which paints onto it and onto the screen without conversion.
    if (!cell.picture.isNull()) cell.picture = cell.picture.convertToFormat(QImage::Format_RGB32);
  }
  return cell;
}

void TzunoApercuModele::DrawFile(int i, QPainter& p) {
  DrawCell(i, LoadCell(Fichiers[i]), p);
}

void TzunoApercuModele::DrawCell(int i, const TCellPicture& cell, QPainter& p) {
  const QString& file = Fichiers[i];
  const bool error = Erreurs.contains(file);
  const QPoint origin = CellRect(i).topLeft();
  if (!cell.exists) {
    // A failed template has no preview: its empty cell still shows the mark.
    if (error)
      ErrorFrame(p, QRect(origin + QPoint(Marge, Marge), QSize(ApercuLarge - Marge, ApercuHaut - Marge)));
    return;
  }
  const QImage& img = cell.picture;
  QRect r;
  if (img.isNull() || !FitRect(ApercuLarge, ApercuHaut, img.width(), img.height(), r)) {
    if (!unreadable_.contains(i)) unreadable_ << i;
    if (error)
      ErrorFrame(p, QRect(origin + QPoint(Marge, Marge), QSize(ApercuLarge - Marge, ApercuHaut - Marge)));
    return;
  }
  unreadable_.removeAll(i);
  r.translate(origin);
  r.setLeft(r.left() + Marge);
  r.setTop(r.top() + Marge);
  // Previews are made at the cell size and drawn as they are; a larger one is reduced into its
  // place rather than spilling over its neighbours.
  if (img.width() <= r.width() && img.height() <= r.height())
    p.drawImage(r.topLeft(), img);
  else
    p.drawImage(r, img.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  if (error) ErrorFrame(p, r);
  if (i == Courant) {
    p.setPen(QPen(QColor(255, 227, 71), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -1, -1));  // inside the cell, so redrawing the cell removes it
  }
}

void TzunoApercuModele::SetCourant(int i) {
  const int old = Courant;
  Courant = i;
  if (old != i) RedrawCell(old);
  RedrawCell(i);
}

void TzunoApercuModele::Redraw() {
  unreadable_.clear();
  if (Fichiers.isEmpty()) {
    image_ = QImage();
    Place();
    return;
  }
  if (AutoTaille) {
    const QImage first = LoadPicture(Fichiers.first());
    if (!first.isNull()) {
      ApercuLarge = first.width();
      ApercuHaut = first.height();
    }
  }
  const int c = Columns();
  const int rows = int((Fichiers.size() + c - 1) / c);
  // The same size again (a folder shown again, a refresh) reuses the memory: fresh pages of a large
  // picture cost more than drawing into them.
  const QSize size(c * ApercuLarge, rows * ApercuHaut);
  if (image_.size() != size || image_.format() != QImage::Format_RGB32 || !image_.isDetached())
    image_ = LargePicture(size, QImage::Format_RGB32);
  if (image_.isNull()) {  // absurd cell sizes
    Place();
    return;
  }
  image_.fill(palette().color(QPalette::Window));
  {
    // The pictures are decoded on every core, a batch at a time (bounded memory), and drawn here in
    // order, so that a message about a file comes on this thread and in the list's order.
    QPainter p(&image_);
    const int n = int(Fichiers.size());
    const int threads = std::max(1, QThread::idealThreadCount());
    constexpr int kBatch = 64;
    std::vector<TCellPicture> cells(kBatch);
    for (int first = 0; first < n; first += kBatch) {
      const int count = std::min(kBatch, n - first);
      std::atomic<int> next{0};
      auto decode = [&] {
        for (int k; (k = next++) < count;) cells[size_t(k)] = LoadCell(Fichiers[first + k]);
      };
      std::vector<std::thread> workers;
      for (int t = 1; t < std::min(threads, count); ++t) workers.emplace_back(decode);
      decode();
      for (std::thread& w : workers) w.join();
      for (int k = 0; k < count; ++k) DrawCell(first + k, cells[size_t(k)], p);
    }
  }
  Place();
  if (QAccessible::isActive()) {
    QAccessibleEvent e(picture_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&e);
  }
}

void TzunoApercuModele::RedrawCell(int i) {
  if (i < 0 || i >= Fichiers.size()) return;
  const QRect cell = CellRect(i);
  if (image_.isNull() || !image_.rect().contains(cell)) {
    Redraw();
    return;
  }
  if (i == 0 && AutoTaille) {
    const QImage first = LoadPicture(Fichiers.first());
    if (!first.isNull() && first.size() != QSize(ApercuLarge, ApercuHaut)) {
      Redraw();  // the cell size follows the first picture
      return;
    }
  }
  {
    QPainter p(&image_);
    p.fillRect(cell, palette().color(QPalette::Window));
    DrawFile(i, p);
  }
  picture_->update(cell.translated(left_, 0).adjusted(-2, -2, 2, 2));
}

QStringList TzunoApercuModele::MosaicTemplates() const {
  return CatalogueTemplates(Dossier);
}

bool TzunoApercuModele::BuildMosaic() {
  if (!Modele || Mosaique.isEmpty() || ApercuLarge <= 0 || ApercuHaut <= 0) return false;
  const QStringList files = MosaicTemplates();
  const int W = ApercuLarge, H = ApercuHaut;
  const int rows = std::max(1, int((files.size() + kMosaicColumns - 1) / kMosaicColumns));
  QImage mosaic(kMosaicColumns * W, rows * H, QImage::Format_RGB888);
  if (mosaic.isNull()) return false;
  mosaic.fill(Qt::white);
  QImage cell(W, H, QImage::Format_RGB888);
  for (int i = 0; i < files.size(); ++i) {
    cell.fill(Qt::white);
    try {
      // A template that cannot be read leaves its cell white.
      QRect r;
      if (Modele->LoadFromFile(files[i]) &&
          FitRect(W, H, std::llround(Modele->Large * 100), std::llround(Modele->Haut * 100), r)) {
        TBitmapCanvas canvas(&cell);
        // DrawPage keeps the document's origin (the editor's scroll): the page goes into r.
        Modele->OriginX = r.left();
        Modele->OriginY = r.top();
        Modele->DrawPage(canvas, r);
      }
    } catch (...) {
      cell.fill(Qt::white);
    }
    QPainter p(&mosaic);
    p.drawImage((i % kMosaicColumns) * W, (i / kMosaicColumns) * H, cell);
  }
  return SaveBmp(mosaic, CacheFileForWriting(Mosaique));
}

void TzunoApercuModele::PaintMosaic(const QString& file) {
  const QImage mosaic = file.isEmpty() ? QImage() : LoadPicture(file);
  if (mosaic.isNull()) return;
  const int c = Columns();
  const int rows = int((Fichiers.size() + c - 1) / c);
  image_ = QImage(c * (ApercuLarge + Marge), rows * (ApercuHaut + Marge), QImage::Format_RGB32);
  if (!image_.isNull()) {
    image_.fill(palette().color(QPalette::Window));
    QPainter p(&image_);
    for (int i = 0; i < Fichiers.size(); ++i)
      p.drawImage(CellRect(i).topLeft(), mosaic,
                  QRect((i % kMosaicColumns) * ApercuLarge, (i / kMosaicColumns) * ApercuHaut, ApercuLarge,
                        ApercuHaut));
  }
  Place();
}

void TzunoApercuModele::RedrawMosaic() {
  if (FindCacheFile(Mosaique).isEmpty() && Modele) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BuildMosaic();
    QApplication::restoreOverrideCursor();
  }
  Fichiers = MosaicTemplates();
  PaintMosaic(FindCacheFile(Mosaique));
}

void TzunoApercuModele::ClickAt(int x, int y, Qt::MouseButton button) {
  const int i = CellAt(x, y);
  if (button == Qt::RightButton && Soft() && Soft()->Debug) {
    if (i >= 0) AskUser(Fichiers[i], akInformation, abOK);
    return;
  }
  if (i < 0) return;
  const QString file = Fichiers[i];  // the handler may change the list
  if (OnClickApercu) OnClickApercu(this, i, file);
  emit ClickApercu(i, file);
}

int TzunoApercuModele::ItemCount() const {
  return int(Fichiers.size());
}
QString TzunoApercuModele::ItemName(int i) const {
  return BaseName(Fichiers.value(i));
}
QString TzunoApercuModele::ItemHint(int i) const {
  return OnHint && i >= 0 && i < Fichiers.size() ? OnHint(i) : QString();
}
QRect TzunoApercuModele::ItemRect(int i) const {
  return CellRect(i).translated(left_, 0);
}
void TzunoApercuModele::PressItem(int i) {
  if (i < 0 || i >= Fichiers.size()) return;
  const QRect r = CellRect(i);
  ensureVisible(r.center().x() + left_, r.center().y(), r.width() / 2, r.height() / 2);
  ClickAt(r.center().x(), r.center().y(), Qt::LeftButton);
}

void TzunoApercuModele::focusInEvent(QFocusEvent* event) {
  QScrollArea::focusInEvent(event);
  if (Courant < 0 && !Fichiers.isEmpty())
    SetCourant(0);
  else
    RedrawCell(Courant);
}

void TzunoApercuModele::keyPressEvent(QKeyEvent* event) {
  const int n = int(Fichiers.size());
  if (n == 0 || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QScrollArea::keyPressEvent(event);
    return;
  }
  const int c = Columns();
  const int at = Courant < 0 ? 0 : Courant;
  int next = at;
  switch (event->key()) {
    case Qt::Key_Left:
      next = at - 1;
      break;
    case Qt::Key_Right:
      next = at + 1;
      break;
    case Qt::Key_Up:
      next = at - c;
      break;
    case Qt::Key_Down:
      next = at + c;
      break;
    case Qt::Key_Home:
      next = 0;
      break;
    case Qt::Key_End:
      next = n - 1;
      break;
    case Qt::Key_PageUp:
      next = at - c * std::max(1, viewport()->height() / std::max(1, ApercuHaut));
      break;
    case Qt::Key_PageDown:
      next = at + c * std::max(1, viewport()->height() / std::max(1, ApercuHaut));
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      PressItem(at);
      return;
    default:
      QScrollArea::keyPressEvent(event);
      return;
  }
  next = std::clamp(next, 0, n - 1);
  SetCourant(next);
  const QRect r = CellRect(next);
  ensureVisible(r.center().x() + left_, r.center().y(), r.width() / 2, r.height() / 2);
  if (QAccessible::isActive()) {
    QAccessibleEvent e(picture_, QAccessible::Focus);
    e.setChild(next);
    QAccessible::updateAccessibility(&e);
  }
}

void TzunoApercuModele::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (!image_.isNull()) Place();
  emit Resized();
}
