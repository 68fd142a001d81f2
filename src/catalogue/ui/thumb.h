// The thumbnail strip of the wizards and panels: small pictures in rows, one selectable at a time
// by clicking, each with a value (what choosing it means) and a hint.
#pragma once

#include <QColor>
#include <QImage>
#include <QScrollArea>
#include <QStringList>
#include <functional>

class TzunoThumb;

// One thumbnail: a picture of (ThumbWidth + 2) x (ThumbHeight + 2) with its frame of one pixel.
class TThumbImage : public QWidget {
  Q_OBJECT
 public:
  TThumbImage(TzunoThumb* strip, int index, const QImage& picture, const QString& hint);
  const QImage& Picture() const { return picture_; }
  void SetFrame(const QColor& color);
  // Hint, else the value's base name: what assistive technologies call it.
  QString AccessibleName() const;
  // As a click with the left button.
  void Press();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TzunoThumb* strip_;
  int index_;
  QImage picture_;
  QString hint_;
};

class TzunoThumb : public QScrollArea {
  Q_OBJECT
 public:
  explicit TzunoThumb(QWidget* parent = nullptr);

  int ThumbWidth = 64;
  int ThumbHeight = 64;
  int ThumbMargin = 4;
  QColor ColorSelection = QColor(255, 0, 0);
  // A thumbnail was clicked: the strip, its index and its value.
  std::function<void(TzunoThumb* sender, int index, const QString& value)> OnThumbClick;

  // Every metafile (".emf", ".wmf") of the folder as a black silhouette on white; values are the file
  // names, hints empty.
  void AddMetafileFolder(const QString& folder);
  void AddMetafile(const QString& file, const QString& value, bool keepAspect, const QString& hint);
  // PNG, JPEG or BMP; a file that does not load adds nothing.
  void AddImage(const QString& file, const QString& value, bool keepAspect, const QString& hint);
  void AddBitmap(const QImage& bitmap, const QString& value, const QString& hint);
  void Select(int index, bool on);
  void SelectValue(const QString& value);
  void Clear();

  int Count() const { return int(thumbs_.size()); }
  TThumbImage* Thumb(int i) const { return thumbs_.value(i); }
  const QStringList& Values() const { return values_; }
  // The value of the selected thumbnail ("" before any).
  const QString& Value() const { return value_; }
  // Columns for the current width: (width - 10) div ThumbWidth, at least 1.
  int Columns() const;

  void Click(int index);

 signals:
  void ThumbClick(int index, const QString& value);

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  // A picture of ThumbWidth x ThumbHeight: `source` stretched into the fitted rectangle (keepAspect)
  // or over all of it, on white.
  QImage Stretched(const QImage& source, bool keepAspect) const;
  void Add(const QImage& picture, const QString& value, const QString& hint);

  QWidget* content_;
  QList<TThumbImage*> thumbs_;
  QStringList values_;
  QString value_;
};
