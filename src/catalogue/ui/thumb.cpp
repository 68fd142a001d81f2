#include "catalogue/ui/thumb.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "catalogue/ui/picture_accessible.h"
#include "render/fit_rect.h"
#include "render/metafile.h"
#include "render/picture_io.h"
#include "shell/language.h"

TThumbImage::TThumbImage(TzunoThumb* strip, int index, const QImage& picture, const QString& hint)
    : QWidget(strip->widget()), strip_(strip), index_(index), hint_(hint) {
  picture_ = QImage(picture.width() + 2, picture.height() + 2, QImage::Format_RGB888);
  picture_.fill(Qt::white);
  QPainter(&picture_).drawImage(1, 1, picture);
  setFixedSize(picture_.size());
  setCursor(Qt::PointingHandCursor);
  setToolTip(hint);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TThumbImage::SetFrame(const QColor& color) {
  QPainter p(&picture_);
  p.setPen(color);
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, picture_.width() - 1, picture_.height() - 1);
  update();
}

QString TThumbImage::AccessibleName() const {
  if (!hint_.isEmpty()) return hint_;
  const QString value = strip_->Values().value(index_);
  const QString name = QFileInfo(QString(value).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.left(dot) : name;
}

void TThumbImage::Press() {
  strip_->ensureWidgetVisible(this);
  strip_->Click(index_);
}

void TThumbImage::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(0, 0, picture_);
}

void TThumbImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) strip_->Click(index_);
}

TzunoThumb::TzunoThumb(QWidget* parent) : QScrollArea(parent) {
  InstallPictureAccessibility();
  setWidgetResizable(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  content_ = new QWidget;
  content_->resize(0, 0);
  setWidget(content_);
  setFocusPolicy(Qt::StrongFocus);
  const QString name = MLText(QStringLiteral("BandeVignettes"));
  setAccessibleName(name.isEmpty() ? QStringLiteral("Vignettes") : name);
}

int TzunoThumb::Columns() const {
  return ThumbWidth > 0 ? std::max(1, (width() - 10) / ThumbWidth) : 1;
}

QImage TzunoThumb::Stretched(const QImage& source, bool keepAspect) const {
  QImage out(ThumbWidth, ThumbHeight, QImage::Format_RGB888);
  if (out.isNull()) return out;
  out.fill(Qt::white);
  QRect r = out.rect();
  if (keepAspect && !FitRect(ThumbWidth, ThumbHeight, source.width(), source.height(), r)) return out;
  QPainter p(&out);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(r, source);
  return out;
}

void TzunoThumb::Add(const QImage& picture, const QString& value, const QString& hint) {
  const int n = Count(), c = Columns();
  auto* thumb = new TThumbImage(this, n, picture, hint);
  thumb->move((n % c) * (ThumbWidth + ThumbMargin + 2), (n / c) * (ThumbHeight + ThumbMargin + 2));
  thumbs_ << thumb;
  values_ << value;
  const QRect g = thumb->geometry();
  content_->resize(std::max(content_->width(), g.right() + 1), std::max(content_->height(), g.bottom() + 1));
  thumb->show();
}

void TzunoThumb::AddImage(const QString& file, const QString& value, bool keepAspect, const QString& hint) {
  const QImage img = LoadPicture(file);
  if (img.isNull()) return;
  Add(Stretched(img, keepAspect), value, hint);
}

void TzunoThumb::AddMetafile(const QString& file, const QString& value, bool keepAspect,
                             const QString& hint) {
  TMetafile mf;
  if (!mf.Load(file)) return;
  QRect r(0, 0, ThumbWidth, ThumbHeight);
  const QSize size = mf.Size();
  if (keepAspect && !FitRect(ThumbWidth, ThumbHeight, size.width(), size.height(), r)) return;
  QImage out(ThumbWidth, ThumbHeight, QImage::Format_RGB888);
  out.fill(Qt::white);
  const QImage drawn = RenderMetafile(mf, std::max(1, r.width()), std::max(1, r.height()), clWhite);
  if (drawn.isNull()) return;
  QPainter(&out).drawImage(r.topLeft(), drawn);
  Add(out, value, hint);
}

void TzunoThumb::AddMetafileFolder(const QString& folder) {
  QStringList names = QDir(folder).entryList({QStringLiteral("*.emf"), QStringLiteral("*.wmf")}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) {
    TMetafile mf;
    if (!mf.Load(QDir(folder).filePath(name))) continue;
    QRect r;
    const QSize size = mf.Size();
    if (!FitRect(ThumbWidth, ThumbHeight, size.width(), size.height(), r)) continue;
    QImage img(ThumbWidth, ThumbHeight, QImage::Format_RGB888);
    img.fill(Qt::white);
    const QImage drawn = RenderMetafile(mf, std::max(1, r.width()), std::max(1, r.height()), clWhite);
    if (drawn.isNull()) continue;
    QPainter(&img).drawImage(r.topLeft(), drawn);
    // A silhouette: whatever is not pure white turns pure black.
    for (int y = 0; y < img.height(); ++y) {
      uchar* p = img.scanLine(y);
      for (int x = 0; x < img.width(); ++x, p += 3)
        if (!(p[0] == 255 && p[1] == 255 && p[2] == 255)) p[0] = p[1] = p[2] = 0;
    }
    Add(img, name, QString());
  }
}

void TzunoThumb::AddBitmap(const QImage& bitmap, const QString& value, const QString& hint) {
  if (bitmap.isNull()) return;
  Add(bitmap.convertToFormat(QImage::Format_RGB888), value, hint);
}

void TzunoThumb::Select(int index, bool on) {
  if (TThumbImage* t = thumbs_.value(index)) t->SetFrame(on ? ColorSelection : QColor(Qt::white));
}

void TzunoThumb::SelectValue(const QString& value) {
  const int i = int(values_.indexOf(value));
  if (i < 0) return;
  Select(i, true);
  value_ = value;
}

void TzunoThumb::Clear() {
  qDeleteAll(thumbs_);
  thumbs_.clear();
  values_.clear();
  value_.clear();
  content_->resize(0, 0);
}

void TzunoThumb::Click(int index) {
  if (index < 0 || index >= Count()) return;
  for (int i = 0; i < Count(); ++i) Select(i, i == index);
  value_ = values_[index];
  setFocus(Qt::MouseFocusReason);
  if (OnThumbClick) OnThumbClick(this, index, value_);
  emit ThumbClick(index, value_);
}

void TzunoThumb::wheelEvent(QWheelEvent* event) {
  // Eight pixels per notch (120 units of angle).
  const int steps = event->angleDelta().y() / 120;
  verticalScrollBar()->setValue(verticalScrollBar()->value() - steps * 8);
  event->accept();
}
