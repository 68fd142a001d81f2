#include "app/splash.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "render/picture_io.h"

TLogo::TLogo(QImage picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(std::move(picture)) {
  setObjectName(QStringLiteral("Logo"));
  setAttribute(Qt::WA_DeleteOnClose);
  // The application closes with its main window, never because a splash went away.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(picture_.size());
}

QPointer<TLogo> TLogo::Show(const QString& file) {
  if (!QFileInfo(file).isFile()) return nullptr;
  QImage picture = LoadPicture(file);
  if (picture.isNull()) return nullptr;
  QPointer<TLogo> logo = new TLogo(std::move(picture));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    logo->move(screen->geometry().center() - logo->rect().center());
  logo->show();
  logo->repaint();
  // Goes when the loop runs three seconds later, or when start-up removes it first.
  QTimer::singleShot(3000, logo.data(), [logo] {
    if (logo) logo->close();
  });
  return logo;
}

void TLogo::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}
