// A loopback SMTP server for tests: it takes mails on a free port of 127.0.0.1, plain or with
// STARTTLS (a throwaway certificate of the test data), checks AUTH PLAIN/LOGIN against one user, and
// keeps what each session sent. It runs on the thread that made it: tests wait with events running.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QString>
#include <QStringList>
#include <QTcpServer>

struct TReceivedMail {
  QByteArray From;
  QList<QByteArray> To;
  QByteArray Data;  // the message text, dot-stuffing undone
  QByteArray User;  // the authenticated user, empty without AUTH
  bool Encrypted = false;
};

class TTestSmtpServer : public QTcpServer {
 public:
  // Certificate and key in PEM; empty: no STARTTLS offered.
  explicit TTestSmtpServer(const QString& certFile = QString(), const QString& keyFile = QString()) {
    if (!certFile.isEmpty()) {
      QFile c(certFile), k(keyFile);
      if (c.open(QIODevice::ReadOnly) && k.open(QIODevice::ReadOnly)) {
        cert_ = QSslCertificate(c.readAll(), QSsl::Pem);
        key_ = QSslKey(k.readAll(), QSsl::Rsa, QSsl::Pem);
      }
    }
    listen(QHostAddress::LocalHost, 0);
  }

  QList<TReceivedMail> Mails;
  // Sessions that asked for AUTH with a wrong password, and those that quit.
  int BadLogins = 0;
  QByteArray User = "user", Password = "secret";
  // Recipients refused with 550.
  QStringList Refused;
  // When set, the server greets no one (a server that hangs).
  bool Silent = false;
  bool RequireTls = false;

 protected:
  void incomingConnection(qintptr handle) override {
    auto* s = new QSslSocket(this);
    s->setSocketDescriptor(handle);
    if (!cert_.isNull()) {
      QSslConfiguration conf = s->sslConfiguration();
      conf.setLocalCertificate(cert_);
      conf.setPrivateKey(key_);
      s->setSslConfiguration(conf);
    }
    auto* st = new Session{};
    QObject::connect(s, &QObject::destroyed, [st] { delete st; });
    QObject::connect(s, &QIODevice::readyRead, s, [this, s, st] { Read(s, *st); });
    QObject::connect(s, &QAbstractSocket::disconnected, s, &QObject::deleteLater);
    if (!Silent) s->write("220 test ESMTP\r\n");
  }

 private:
  struct Session {
    bool inData = false;
    int authStep = 0;  // 1: LOGIN waits for the user, 2: for the password, 3: PLAIN for both
    QByteArray loginUser;
    QByteArray buffer;
    TReceivedMail mail;
    QByteArray user;
  };

  void Read(QSslSocket* s, Session& st) {
    st.buffer += s->readAll();
    qsizetype eol;
    while ((eol = st.buffer.indexOf("\r\n")) >= 0) {
      QByteArray line = st.buffer.left(eol);
      st.buffer.remove(0, eol + 2);
      if (st.inData) {
        if (line == ".") {
          st.inData = false;
          st.mail.User = st.user;
          st.mail.Encrypted = s->isEncrypted();
          Mails.append(st.mail);
          st.mail = TReceivedMail{};
          s->write("250 queued\r\n");
        } else {
          if (line.startsWith('.')) line.remove(0, 1);
          st.mail.Data += line + "\r\n";
        }
        continue;
      }
      Command(s, st, line);
    }
  }

  void Command(QSslSocket* s, Session& st, const QByteArray& line) {
    const QByteArray upper = line.toUpper();
    if (st.authStep == 1) {
      st.loginUser = QByteArray::fromBase64(line);
      st.authStep = 2;
      s->write("334 UGFzc3dvcmQ6\r\n");
      return;
    }
    if (st.authStep == 3) {
      st.authStep = 0;
      Plain(s, st, line);
      return;
    }
    if (st.authStep == 2) {
      st.authStep = 0;
      Login(s, st, st.loginUser, QByteArray::fromBase64(line));
      return;
    }
    if (upper.startsWith("EHLO") || upper.startsWith("HELO")) {
      QByteArray reply = "250-test\r\n250-AUTH PLAIN LOGIN\r\n";
      if (!cert_.isNull() && !s->isEncrypted()) reply += "250-STARTTLS\r\n";
      s->write(reply + "250 8BITMIME\r\n");
    } else if (upper.startsWith("STARTTLS") && !cert_.isNull()) {
      s->write("220 go ahead\r\n");
      s->flush();
      s->startServerEncryption();
    } else if (RequireTls && !s->isEncrypted() && !upper.startsWith("QUIT")) {
      s->write("530 must issue STARTTLS first\r\n");
    } else if (upper.startsWith("AUTH PLAIN")) {
      const QByteArray initial = line.mid(10).trimmed();
      if (initial.isEmpty()) {
        st.authStep = 3;
        s->write("334 \r\n");
      } else {
        Plain(s, st, initial);
      }
    } else if (upper.startsWith("AUTH LOGIN")) {
      // The user name may come with the command.
      const QByteArray initial = line.mid(10).trimmed();
      if (initial.isEmpty()) {
        st.authStep = 1;
        s->write("334 VXNlcm5hbWU6\r\n");
      } else {
        st.loginUser = QByteArray::fromBase64(initial);
        st.authStep = 2;
        s->write("334 UGFzc3dvcmQ6\r\n");
      }
    } else if (upper.startsWith("MAIL FROM:")) {
      st.mail.From = line.mid(10).trimmed();
      s->write("250 ok\r\n");
    } else if (upper.startsWith("RCPT TO:")) {
      const QByteArray to = line.mid(8).trimmed();
      if (Refused.contains(QString::fromUtf8(to).remove('<').remove('>'))) {
        s->write("550 no such user\r\n");
      } else {
        st.mail.To.append(to);
        s->write("250 ok\r\n");
      }
    } else if (upper == "DATA") {
      st.inData = true;
      s->write("354 go on\r\n");
    } else if (upper == "QUIT") {
      s->write("221 bye\r\n");
      s->disconnectFromHost();
    } else if (upper == "RSET" || upper == "NOOP") {
      st.mail = TReceivedMail{};
      s->write("250 ok\r\n");
    } else {
      s->write("502 unknown\r\n");
    }
  }

  void Plain(QSslSocket* s, Session& st, const QByteArray& encoded) {
    const QList<QByteArray> parts = QByteArray::fromBase64(encoded).split('\0');
    Login(s, st, parts.value(1), parts.value(2));
  }

  void Login(QSslSocket* s, Session& st, const QByteArray& user, const QByteArray& password) {
    if (user == User && password == Password) {
      st.user = user;
      s->write("235 ok\r\n");
    } else {
      ++BadLogins;
      s->write("535 bad credentials\r\n");
    }
  }

  QSslCertificate cert_;
  QSslKey key_;
};
