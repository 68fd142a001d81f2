// A private mailto handler for tests: a desktop entry in a private XDG data folder, made the default
// for mailto links there, whose program appends each address it is given to a file. The environment
// of this process (and so of the programs it starts) points at those folders while it lives.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "common/files.h"

class TMailtoRecorder {
 public:
  TMailtoRecorder() {
    const QString root = dir_.path();
    QDir().mkpath(root + "/data/applications");
    QDir().mkpath(root + "/config");
    WriteAll(root + "/record.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + Calls().toUtf8() + "'\n");
    QFile::setPermissions(root + "/record.sh", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteAll(root + "/data/applications/lorvane-test-mail.desktop",
             "[Desktop Entry]\nType=Application\nName=Test mail\nExec=" + root.toUtf8() +
                 "/record.sh %u\nMimeType=x-scheme-handler/mailto;\n");
    WriteAll(root + "/config/mimeapps.list",
             "[Default Applications]\nx-scheme-handler/mailto=lorvane-test-mail.desktop\n");
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY", "XDG_CURRENT_DESKTOP",
                             "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "MAILER", "DESKTOP_SESSION"})
      saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
    // The desktop's mail handler is only asked inside a graphical session.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("DISPLAY", ":0");
    for (const char* name :
         {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "MAILER", "DESKTOP_SESSION"})
      qunsetenv(name);
  }
  ~TMailtoRecorder() {
    for (const auto& s : saved_) {
      if (s.set)
        qputenv(s.name, s.value);
      else
        qunsetenv(s.name);
    }
  }
  QString Calls() const { return dir_.path() + "/calls.txt"; }
  // The addresses handed over so far, in order.
  QStringList Received() const {
    QFile f(Calls());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  QTemporaryDir dir_;
  QList<Saved> saved_;
};
