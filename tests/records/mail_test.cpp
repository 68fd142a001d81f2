#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include "common/files.h"
#include "common/mail_handler.h"
#include "common/mail_parse.h"
#include "common/smtp_server.h"
#include "records/mail_message.h"
#include "records/mail_sender.h"
#include "records/smtp_settings.h"

namespace {

QString Cert(const char* name) {
  return QStringLiteral(LORVANE_TEST_DATA "/mail/") + QLatin1String(name);
}

// Runs events until the sender reports; the outcome and its text.
std::pair<int, QString> Wait(TMailSender& sender, int ms = 20000) {
  int result = -1;
  QString text;
  sender.OnFinished = [&](int r, const QString& t) {
    result = r;
    text = t;
  };
  QElapsedTimer clock;
  clock.start();
  while (result < 0 && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return {result, text};
}

struct TTwoPictures {
  QTemporaryDir dir;
  QString first = dir.path() + QString::fromUtf8("/Carte face 1.jpg");
  QString second = dir.path() + QString::fromUtf8("/Carte face 2.jpg");
  TTwoPictures() {
    QByteArray a(5000, '\0'), b(300, '\xff');
    for (int i = 0; i < a.size(); ++i) a[i] = char(i * 7);
    WriteAll(first, a);
    WriteAll(second, b);
  }
};

TMailMessage Sample(const TTwoPictures& p) {
  TMailMessage m;
  m.Subject = QString::fromUtf8(
      "Voici ma carte – été 2026, avec un objet assez long pour être replié sur deux lignes");
  m.Body =
      QString::fromUtf8("Bonjour Zoé\r\n\r\n.Voici ci-joint ma nouvelle carte  \r\nFrom here=there\r\n") +
      QString(120, QLatin1Char('x'));
  m.FromAdress = QStringLiteral("moi@example.org");
  m.FromName = QString::fromUtf8("Éric \"le\" Dupont");
  m.Recipients = {QStringLiteral("SMTP:zoe@example.com")};
  m.CopyTo = {QStringLiteral("copie@example.com")};
  m.BlindCopyTo = {QStringLiteral("cache@example.com")};
  m.AttachedFiles = {p.first, p.second};
  return m;
}

}  // namespace

// The message read back gives the subject, the body and each picture byte for byte; lines stay short
// and blind copies stay out of the headers.
TEST(MailMessage, MimeRoundTrip) {
  TTwoPictures pictures;
  const TMailMessage m = Sample(pictures);
  QByteArray mime;
  ASSERT_TRUE(BuildMimeMessage(
      m, {QStringLiteral("BOUND"), QDateTime(QDate(2026, 12, 11), QTime(9, 5), QTimeZone(3600)), {}}, mime));
  for (const QByteArray& line : mime.split('\n')) {
    EXPECT_LE(line.size(), 79) << line.constData();
    EXPECT_TRUE(line.isEmpty() || line.endsWith('\r')) << "bare LF";
    for (char c : line) EXPECT_GE(uchar(c), 9) << "control byte";
  }
  EXPECT_TRUE(mime.startsWith("Date: Fri, 11 Dec 2026 09:05:00 +0100\r\n")) << mime.left(60).constData();
  const TParsedMail p = ParseMail(mime);
  EXPECT_EQ(p.Subject, m.Subject);
  EXPECT_EQ(DecodeWords(p.Headers.value("from")), QString::fromUtf8("Éric \"le\" Dupont <moi@example.org>"));
  EXPECT_EQ(p.Headers.value("to"), "zoe@example.com");
  EXPECT_EQ(p.Headers.value("cc"), "copie@example.com");
  EXPECT_FALSE(mime.contains("cache@example.com"));
  ASSERT_EQ(p.Parts.size(), 3);
  EXPECT_EQ(p.Parts[0].Headers.value("content-type"), "text/plain; charset=UTF-8");
  EXPECT_EQ(QString::fromUtf8(p.Parts[0].Body), m.Body);
  EXPECT_EQ(p.Parts[1].Body, ReadAll(pictures.first));
  EXPECT_EQ(p.Parts[2].Body, ReadAll(pictures.second));
  EXPECT_TRUE(p.Parts[1].Headers.value("content-type").startsWith("image/jpeg;"));
  EXPECT_TRUE(p.Parts[2].Headers.value("content-disposition").contains("filename=\"Carte face 2.jpg\""));

  // A missing attachment is named, and nothing is built.
  TMailMessage broken = m;
  broken.AttachedFiles << pictures.dir.path() + "/gone.jpg";
  QString missing;
  EXPECT_FALSE(BuildMimeMessage(broken, {}, mime, &missing));
  EXPECT_TRUE(missing.endsWith("gone.jpg"));
}

// Non-ASCII names of attachments, and a message without attachments, stay readable.
TEST(MailMessage, SinglePartAndEncodedFileNames) {
  QTemporaryDir dir;
  const QString file = dir.path() + QString::fromUtf8("/Carte côté 1.jpg");
  WriteAll(file, "jpeg");
  TMailMessage m;
  m.Subject = QStringLiteral("Salut");
  m.Body = QStringLiteral("Bonjour");
  QByteArray mime;
  ASSERT_TRUE(BuildMimeMessage(m, {}, mime));
  const TParsedMail single = ParseMail(mime);
  ASSERT_EQ(single.Parts.size(), 1);
  EXPECT_EQ(single.Parts[0].Body, "Bonjour");
  EXPECT_EQ(single.Subject, "Salut");
  m.AttachedFiles = {file};
  ASSERT_TRUE(BuildMimeMessage(m, {}, mime));
  EXPECT_TRUE(mime.contains("filename*=UTF-8''Carte%20c%C3%B4t%C3%A9%201.jpg")) << mime.constData();
}

// The hand-over reaches the desktop's mailto handler with a plain address (no "SMTP:"), the subject,
// the body and the pictures; without a handler program the send is an error, not a success.
TEST(MailSender, HandOverThroughDesktopHandler) {
  TMailtoRecorder handler;
  TTwoPictures pictures;
  TMailSender sender;
  const TMailMessage m = Sample(pictures);
  sender.Subject = m.Subject;
  sender.Body = QString::fromUtf8("Bonjour Zoé\r\nVoici ma carte");
  sender.Recipients = m.Recipients;
  sender.AttachedFiles = m.AttachedFiles;
  sender.ShowDialog = true;
  int successes = 0;
  sender.OnSuccess = [&] { ++successes; };
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(sender.Send());
  EXPECT_LT(clock.elapsed(), 100) << "Send waits for the mail client";
  EXPECT_FALSE(sender.Send()) << "a second send while one runs";
  const auto [result, text] = Wait(sender);
  EXPECT_EQ(result, TMailSender::mrSuccess) << text.toStdString();
  EXPECT_EQ(successes, 1);
  const QStringList calls = handler.Received();
  ASSERT_EQ(calls.size(), 1);
  const TMailto to = ParseMailto(calls[0]);
  EXPECT_EQ(to.To, "zoe@example.com");
  EXPECT_EQ(to.Items.value("subject"), m.Subject);
  EXPECT_EQ(to.Items.value("body"), QString::fromUtf8("Bonjour Zoé\r\nVoici ma carte"));
  QStringList attached = to.Items.values("attach");
  std::reverse(attached.begin(), attached.end());
  EXPECT_EQ(attached, QStringList({QFileInfo(pictures.first).canonicalFilePath(),
                                   QFileInfo(pictures.second).canonicalFilePath()}));

  TMailSender missing;
  missing.Program = pictures.dir.path() + "/no-such-program";
  int errors = 0;
  missing.OnMapiError = [&](int, const QString&) { ++errors; };
  missing.Send();
  EXPECT_GT(Wait(missing).first, TMailSender::mrUserAbort);
  EXPECT_EQ(errors, 1);
}

// Direct sends to a loopback server: plain with AUTH, with STARTTLS, a refused recipient reported
// with the server's reason, and a hanging server cancelled at once.
TEST(MailSender, SmtpToLoopbackServer) {
  TTwoPictures pictures;
  const TMailMessage m = Sample(pictures);
  struct Case {
    TSmtpSettings::TSecurity security;
    bool tlsServer;
    const char* refused;
    bool ok;
  } cases[] = {
      {TSmtpSettings::TSecurity::None, false, "", true},
      {TSmtpSettings::TSecurity::StartTls, true, "", true},
      {TSmtpSettings::TSecurity::None, false, "zoe@example.com", false},
  };
  for (const Case& c : cases) {
    TTestSmtpServer server(c.tlsServer ? Cert("smtp-cert.pem") : QString(),
                           c.tlsServer ? Cert("smtp-key.pem") : QString());
    server.RequireTls = c.tlsServer;
    if (*c.refused) server.Refused << QString::fromLatin1(c.refused);
    TMailSender sender;
    sender.Smtp.Host = QStringLiteral("127.0.0.1");
    sender.Smtp.Port = server.serverPort();
    sender.Smtp.Security = c.security;
    sender.Smtp.User = QStringLiteral("user");
    sender.Smtp.Password = QStringLiteral("secret");
    sender.Smtp.FromAdress = QStringLiteral("moi@example.org");
    sender.Smtp.CaFile = Cert("smtp-cert.pem");
    sender.Subject = m.Subject;
    sender.Body = m.Body;
    sender.Recipients = m.Recipients;
    sender.AttachedFiles = m.AttachedFiles;
    ASSERT_TRUE(sender.UsesSmtp());
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(sender.Send());
    EXPECT_LT(clock.elapsed(), 100);
    const auto [result, text] = Wait(sender);
    if (!c.ok) {
      EXPECT_GT(result, TMailSender::mrUserAbort);
      EXPECT_TRUE(text.contains("550")) << text.toStdString();
      EXPECT_TRUE(server.Mails.isEmpty());
      continue;
    }
    ASSERT_EQ(result, TMailSender::mrSuccess) << text.toStdString();
    ASSERT_EQ(server.Mails.size(), 1);
    const TReceivedMail& got = server.Mails[0];
    EXPECT_EQ(got.From, "<moi@example.org>");
    EXPECT_EQ(got.To, QList<QByteArray>{"<zoe@example.com>"});
    EXPECT_EQ(got.User, "user");
    EXPECT_EQ(got.Encrypted, c.tlsServer);
    const TParsedMail parsed = ParseMail(got.Data);
    EXPECT_EQ(parsed.Subject, m.Subject);
    ASSERT_EQ(parsed.Parts.size(), 3);
    EXPECT_TRUE(
        QString::fromUtf8(parsed.Parts[0].Body).startsWith(QString::fromUtf8("Bonjour Zoé\r\n\r\n.Voici")));
    EXPECT_EQ(parsed.Parts[2].Body, ReadAll(pictures.second));
  }

  TTestSmtpServer silent;
  silent.Silent = true;
  TMailSender sender;
  sender.Smtp.Host = QStringLiteral("127.0.0.1");
  sender.Smtp.Port = silent.serverPort();
  sender.Smtp.Security = TSmtpSettings::TSecurity::None;
  sender.Smtp.FromAdress = QStringLiteral("moi@example.org");
  sender.Recipients = {QStringLiteral("zoe@example.com")};
  sender.Send();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  sender.Cancel();
  clock.restart();
  EXPECT_EQ(Wait(sender, 5000).first, TMailSender::mrUserAbort);
  EXPECT_LT(clock.elapsed(), 3000);
}

// The password file is private from its first byte, even over a file that was readable by others,
// and every value, line breaks and "=" included, comes back.
TEST(SmtpSettings, RoundTripWithPrivateMode) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/smtp.ini";
  WriteAll(file, "old");
  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  TSmtpSettings s;
  s.Host = QStringLiteral("smtp.example.org");
  s.Port = 465;
  s.Security = TSmtpSettings::TSecurity::Tls;
  s.User = QStringLiteral("moi");
  s.Password = QString::fromUtf8("p=ss\\w\nörd€");
  s.FromAdress = QStringLiteral("moi@example.org");
  s.FromName = QString::fromUtf8("Éric");
  ASSERT_TRUE(s.Save(file));
  struct stat st;
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const TSmtpSettings back = TSmtpSettings::Load(file);
  EXPECT_EQ(back.Host, s.Host);
  EXPECT_EQ(back.Port, 465);
  EXPECT_EQ(back.Security, TSmtpSettings::TSecurity::Tls);
  EXPECT_EQ(back.User, s.User);
  EXPECT_EQ(back.Password, s.Password);
  EXPECT_EQ(back.FromName, s.FromName);
  EXPECT_TRUE(back.Configured());
  EXPECT_FALSE(TSmtpSettings::Load(dir.path() + "/none.ini").Configured());
}
