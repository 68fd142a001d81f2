// A lookup server on the loopback interface for tests: it answers each HTTP request with what the
// test's handler returns, and can also stay silent, send bytes that are not HTTP, or send a huge body.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <functional>

class TLoopbackCddb : public QTcpServer {
 public:
  enum class Mode { Answer, Silent, NotHttp };
  // The handler gets the request's "cmd" value as sent (still encoded) and returns the answer body.
  std::function<QByteArray(const QByteArray& cmd)> Handler;
  Mode Behaviour = Mode::Answer;
  QList<QByteArray> Targets;  // request targets received, in order

  TLoopbackCddb() {
    listen(QHostAddress::LocalHost);
    QObject::connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
          *buffer += socket->readAll();
          if (!buffer->contains("\r\n\r\n")) return;
          const QByteArray line = buffer->left(buffer->indexOf("\r\n"));
          buffer->clear();
          const QList<QByteArray> parts = line.split(' ');
          const QByteArray target = parts.size() > 1 ? parts[1] : QByteArray();
          Targets.append(target);
          Reply(socket, target);
        });
      }
    });
  }
  QString Port() const { return QString::number(serverPort()); }

  static QByteArray Cmd(const QByteArray& target) {
    const qsizetype from = target.indexOf("cmd=");
    if (from < 0) return {};
    const qsizetype to = target.indexOf('&', from);
    return target.mid(from + 4, to < 0 ? -1 : to - from - 4);
  }

 private:
  void Reply(QTcpSocket* socket, const QByteArray& target) {
    if (Behaviour == Mode::Silent) return;
    if (Behaviour == Mode::NotHttp) {
      static const char kGarbage[] = "\x01\xfe garbage \x00\x7f\r\n\r\n";
      socket->write(QByteArray(kGarbage, sizeof kGarbage - 1));
      socket->disconnectFromHost();
      return;
    }
    const QByteArray body = Handler ? Handler(Cmd(target)) : QByteArray();
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n");
    socket->write(body);
    socket->disconnectFromHost();
  }
};

// Runs the event loop until `done` holds or `ms` pass; true when it held.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}
