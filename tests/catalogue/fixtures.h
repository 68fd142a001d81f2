// Small templates and folders for the catalogue's tests.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

namespace fixtures {

// A page of w x h mm filled with one colour (given as the documents store it, BGR hex "0000FF" = red).
inline bool WriteTemplate(const QString& path, const QString& bgr, int w = 50, int h = 50) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  const QString text =
      QStringLiteral(
          "Version=1.2\r\nLarge=%1\r\nHaut=%2\r\n\r\nFace=1\r\n  Objet=1\r\n    Name=rectangle\r\n"
          "    Face=1\r\n    CanSelect=1\r\n    Pen=%3,0,0\r\n    Brush=%3,0\r\n    x=%4\r\n"
          "    y=%5\r\n    l=%1\r\n    h=%2\r\n    r=0\r\n  End\r\n")
          .arg(w)
          .arg(h)
          .arg(bgr)
          .arg(w / 2.0)
          .arg(h / 2.0);
  return f.write(text.toLatin1()) > 0;
}

// A template file that holds no page: it cannot be drawn.
inline bool WriteBrokenTemplate(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write("not a document\r\n") > 0;
}

// Makes a folder refuse new files: no write permission, and for root (whom permissions do not stop)
// the immutable flag. False when neither works here.
inline bool MakeReadOnly(const QString& folder, bool on) {
  QFile::setPermissions(
      folder,
      on ? QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
         : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (geteuid() == 0) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
      int flags = 0;
      if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
      }
      ::close(fd);
    }
  }
  if (!on) return true;
  QTemporaryFile probe(folder + QStringLiteral("/probe-XXXXXX"));
  return !probe.open();
}

}  // namespace fixtures
