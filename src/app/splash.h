// The picture shown while the windows are made.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class TLogo : public QWidget {
 public:
  // Shows `file` centred on the screen at once; null when the file is missing or no picture.
  static QPointer<TLogo> Show(const QString& file);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  explicit TLogo(QImage picture);
  QImage picture_;
};
