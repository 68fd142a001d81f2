#include "records/mail_sender.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <atomic>
#include <mutex>
#include <thread>

namespace {

struct TUpload {
  const QByteArray* data;
  qsizetype pos = 0;
};

size_t ReadChunk(char* buffer, size_t size, size_t count, void* user) {
  auto* up = static_cast<TUpload*>(user);
  const size_t room = size * count;
  const size_t left = size_t(up->data->size() - up->pos);
  const size_t n = std::min(room, left);
  memcpy(buffer, up->data->constData() + up->pos, n);
  up->pos += qsizetype(n);
  return n;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancelled = static_cast<const std::function<bool()>*>(user);
  return (*cancelled && (*cancelled)()) ? 1 : 0;
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

int SendSmtp(const TSmtpSettings& smtp, const TMailMessage& message, const QByteArray& mime,
             const std::function<bool()>& cancelled, QString* detail) {
  InitCurlOnce();
  QStringList all;
  for (const QStringList* list : {&message.Recipients, &message.CopyTo, &message.BlindCopyTo})
    for (const QString& a : *list)
      if (!PlainAddress(a).isEmpty()) all << PlainAddress(a);
  if (all.isEmpty()) {
    if (detail) *detail = QStringLiteral("no recipient address");
    return 1000 + CURLE_SEND_ERROR;
  }
  CURL* curl = curl_easy_init();
  if (!curl) {
    if (detail) *detail = QStringLiteral("the transfer library could not start");
    return 1000 + CURLE_FAILED_INIT;
  }
  const bool tls = smtp.Security == TSmtpSettings::TSecurity::Tls;
  // A host given as an IPv6 literal needs its brackets in the address.
  QString host = smtp.Host.trimmed();
  if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['))) host = '[' + host + ']';
  const QByteArray url = (QString(tls ? "smtps://" : "smtp://") + host + ':' + QString::number(smtp.Port) +
                          QStringLiteral("/") + QStringLiteral("localhost"))
                             .toUtf8();
  const QByteArray from =
      ('<' + PlainAddress(message.FromAdress.isEmpty() ? smtp.FromAdress : message.FromAdress) + '>')
          .toUtf8();
  const QByteArray user = smtp.User.toUtf8(), password = smtp.Password.toUtf8(), ca = smtp.CaFile.toUtf8();
  curl_slist* rcpt = nullptr;
  for (const QString& a : all) rcpt = curl_slist_append(rcpt, ('<' + a + '>').toUtf8().constData());
  char errbuf[CURL_ERROR_SIZE] = {0};
  TUpload up{&mime};
  std::function<bool()> cancel = cancelled;

  curl_easy_setopt(curl, CURLOPT_URL, url.constData());
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadChunk);
  curl_easy_setopt(curl, CURLOPT_READDATA, &up);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(mime.size()));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &cancel);
  if (smtp.Security == TSmtpSettings::TSecurity::StartTls)
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
  if (!ca.isEmpty()) curl_easy_setopt(curl, CURLOPT_CAINFO, ca.constData());
  if (!user.isEmpty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
  }
  const CURLcode rc = curl_easy_perform(curl);
  curl_slist_free_all(rcpt);
  curl_easy_cleanup(curl);
  if (rc == CURLE_OK) return TMailSender::mrSuccess;
  if (rc == CURLE_ABORTED_BY_CALLBACK) return TMailSender::mrUserAbort;
  if (detail) *detail = QString::fromUtf8(errbuf[0] ? errbuf : curl_easy_strerror(rc));
  return 1000 + int(rc);
}

struct TMailSender::Impl {
  // Outcomes come back through this object's thread.
  QObject context;
  QPointer<QProcess> process;
  std::thread worker;
  std::atomic<bool> cancelled{false};
  bool busy = false;
  QString errorText;

  void Join() {
    if (worker.joinable()) worker.join();
  }
};

TMailSender::TMailSender() : d_(std::make_unique<Impl>()) {}

TMailSender::~TMailSender() {
  d_->cancelled = true;
  if (d_->process) {
    d_->process->disconnect();
    d_->process->kill();
    d_->process->waitForFinished(1000);
  }
  d_->Join();
}

TMailMessage TMailSender::Message() const {
  TMailMessage m;
  m.Subject = Subject;
  m.Body = Body;
  m.FromName = FromName;
  m.FromAdress = FromAdress;
  m.Recipients = Recipients;
  m.CopyTo = CopyTo;
  m.BlindCopyTo = BlindCopyTo;
  m.AttachedFiles = AttachedFiles;
  return m;
}

bool TMailSender::Busy() const {
  return d_->busy;
}

void TMailSender::Cancel() {
  if (!d_->busy) return;
  d_->cancelled = true;
  if (d_->process) d_->process->kill();
}

bool TMailSender::Send() {
  if (d_->busy) return false;
  d_->Join();
  d_->busy = true;
  d_->cancelled = false;
  auto finish = [this](int result, const QString& text) {
    d_->busy = false;
    if (result == mrSuccess) {
      if (OnSuccess) OnSuccess();
    } else if (result == mrUserAbort) {
      if (OnUserAbort) OnUserAbort();
    } else if (OnMapiError) {
      OnMapiError(result, text);
    }
    if (OnFinished) OnFinished(result, text);
  };
  TMailMessage message = Message();

  if (UsesSmtp()) {
    if (message.FromAdress.isEmpty()) {
      message.FromAdress = Smtp.FromAdress;
      message.FromName = Smtp.FromName;
    }
    QByteArray mime;
    QString missing;
    if (!BuildMimeMessage(message, {}, mime, &missing)) {
      const QString text = QStringLiteral("cannot read %1").arg(missing);
      QMetaObject::invokeMethod(
          &d_->context, [finish, text] { finish(2, text); }, Qt::QueuedConnection);
      return true;
    }
    const TSmtpSettings smtp = Smtp;
    d_->worker = std::thread([this, smtp, message, mime = std::move(mime), finish] {
      QString detail;
      const int result = SendSmtp(
          smtp, message, mime, [this] { return d_->cancelled.load(); }, &detail);
      QMetaObject::invokeMethod(
          &d_->context, [finish, result, detail] { finish(result, detail); }, Qt::QueuedConnection);
    });
    return true;
  }

  auto* process = new QProcess(&d_->context);
  d_->process = process;
  process->setProgram(Program);
  process->setArguments(XdgEmailArguments(message));
  process->setProcessChannelMode(QProcess::MergedChannels);
  QObject::connect(process, &QProcess::errorOccurred, &d_->context,
                   [this, process, finish](QProcess::ProcessError e) {
                     if (e != QProcess::FailedToStart) return;
                     process->deleteLater();
                     finish(d_->cancelled ? mrUserAbort : 3,
                            QStringLiteral("%1: %2").arg(Program, process->errorString()));
                   });
  QObject::connect(process, &QProcess::finished, &d_->context,
                   [this, process, finish](int code, QProcess::ExitStatus status) {
                     process->deleteLater();
                     QString text = QString::fromLocal8Bit(process->readAll()).trimmed();
                     int result = mrSuccess;
                     if (d_->cancelled) result = mrUserAbort;
                     // xdg-email's own codes (2 a missing file, 3 no mail program, 4 the program failed…) are
                     // kept.
                     else if (status != QProcess::NormalExit)
                       result = 4;
                     else if (code != 0)
                       result = code == 1 ? 4 : code;
                     if (result > mrUserAbort && text.isEmpty())
                       text = QStringLiteral("%1 ended with %2").arg(Program).arg(code);
                     finish(result, text);
                   });
  process->start();
  return true;
}
