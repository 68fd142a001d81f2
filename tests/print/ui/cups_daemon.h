// A CUPS daemon of the test's own (configuration, spool and socket in a temporary folder) with one
// cups-pdf queue, for the dialogs' tests in this process. The queue is stopped, so jobs stay in it
// (nothing is written into the user's folder) and can be counted; everything ends with the object.
#pragma once

#include <cups/cups.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

class TTestCups {
 public:
  // Empty when the daemon or cups-pdf is not installed (scripts/deps.sh installs them).
  static QString Missing() {
    for (const char* f :
         {"/usr/sbin/cupsd", "/usr/lib/cups/backend/cups-pdf", "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"})
      if (!QFileInfo::exists(QString::fromLatin1(f))) return QString::fromLatin1(f);
    return QString();
  }

  // Starts the daemon with a queue of that name; Error says why when it could not.
  explicit TTestCups(const QString& queue) : queue_(queue) {
    root_ = dir_.filePath(QStringLiteral("cups"));
    for (const char* sub : {"spool", "tmp", "state", "cache", "logs", "ppd"})
      QDir().mkpath(root_ + QLatin1Char('/') + QLatin1String(sub));
    // Filters run as an unprivileged user and need to reach the folder.
    for (const QString& d : {dir_.path(), root_})
      QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    ::chmod(QFile::encodeName(root_ + QStringLiteral("/tmp")).constData(), 01777);
    socket_ = root_ + QStringLiteral("/cups.sock");
    const QByteArray r = root_.toUtf8();
    Write(QStringLiteral("cupsd.conf"),
          "Listen " + socket_.toUtf8() +
              "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    Write(QStringLiteral("cups-files.conf"),
          "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r + "/tmp\nStateDir " + r +
              "/state\nCacheDir " + r + "/cache\nErrorLog " + r + "/logs/error_log\nAccessLog " + r +
              "/logs/access_log\nPageLog " + r + "/logs/page_log\nPrintcap " + r +
              "/printcap\nSandboxing Relaxed\n");
    daemon_.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), root_ + QStringLiteral("/cupsd.conf"),
                   QStringLiteral("-s"), root_ + QStringLiteral("/cups-files.conf")});
    if (!daemon_.waitForStarted()) {
      Error = QStringLiteral("cupsd does not start");
      return;
    }
    for (int i = 0; i < 100 && !QFileInfo::exists(socket_); ++i) QThread::msleep(100);
    if (!QFileInfo::exists(socket_)) {
      Error = QString::fromUtf8(daemon_.readAllStandardError());
      return;
    }
    // This process and the tools it runs talk to this daemon only.
    qputenv("CUPS_SERVER", socket_.toUtf8());
    cupsSetServer(socket_.toUtf8().constData());
    if (!Run(QStringLiteral("lpadmin"),
             {QStringLiteral("-p"), queue_, QStringLiteral("-E"), QStringLiteral("-v"),
              QStringLiteral("cups-pdf:/"), QStringLiteral("-P"),
              QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd")}) ||
        !Run(QStringLiteral("cupsdisable"), {queue_}))
      return;
  }

  ~TTestCups() {
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.terminate();
      if (!daemon_.waitForFinished(10000)) {
        daemon_.kill();
        daemon_.waitForFinished();
      }
    }
    qunsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
  }

  // The jobs waiting in the queue.
  int Jobs() {
    QProcess p;
    p.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue_});
    p.waitForFinished(30000);
    return static_cast<int>(
        QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size());
  }

  QString Error;

 private:
  void Write(const QString& name, const QByteArray& text) {
    QFile f(root_ + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
      Error = QStringLiteral("cannot write ") + name;
  }
  bool Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
      Error = program + QStringLiteral(": ") + QString::fromUtf8(p.readAllStandardError());
      return false;
    }
    return true;
  }

  QTemporaryDir dir_;
  QString queue_, root_, socket_;
  QProcess daemon_;
};
