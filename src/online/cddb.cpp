#include "online/cddb.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

#include "online/cddb_answer.h"

namespace {
const QString kNoDisc = QStringLiteral("No CD in CD/DVD drive!");
constexpr int kMaxMatches = 100;
}  // namespace

TCddb::TCddb(QObject* parent)
    : QObject(parent), drives_(ListCdDrives()), network_(std::make_unique<QNetworkAccessManager>()) {
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  QObject::connect(timer_, &QTimer::timeout, this, [this] { Fail(QStringLiteral("Connection timed out")); });
}

TCddb::~TCddb() {
  Cancel();
}

QString TCddb::DriveDescription(int index) const {
  return index >= 0 && index < DriveCount() ? drives_[size_t(index)].Description : QString();
}

void TCddb::Status(const QString& text) {
  if (OnStatusMessage) OnStatusMessage(this, text);
}

void TCddb::Exchange(const QString& line) {
  if (OnDataExchange) OnDataExchange(this, line);
}

bool TCddb::SelectDrive(int index) {
  Cancel();
  toc_ = TDiscToc();
  drive_ = -1;
  if (index < 0 || index >= DriveCount()) {
    Status(QStringLiteral("No CD-ROM interface detected!"));
    return false;
  }
  switch (ReadDiscToc(drives_[size_t(index)], toc_)) {
    case TTocResult::Ok:
      drive_ = index;
      return true;
    case TTocResult::NoDisc:
      Status(kNoDisc);
      return false;
    case TTocResult::NoInterface:
      Status(QStringLiteral("No CD-ROM interface detected!"));
      return false;
  }
  return false;
}

QByteArray TCddb::Hello() const {
  const qsizetype at = EmailUser.indexOf('@');
  const QString user = at < 0 ? EmailUser : EmailUser.left(at);
  const QString host = at < 0 ? QStringLiteral("localhost") : EmailUser.mid(at + 1);
  return CddbEncode(user + ' ' + host) + '+' + CddbEncode(ClientName) + '+' + CddbEncode(ClientVersion);
}

static QByteArray ServerPart(const TCddb& c) {
  return "http://" + c.ServerAddr.toUtf8() + ':' + c.ServerPort.toUtf8() + c.ServerAdditionalAddr.toUtf8();
}

QByteArray TCddb::QueryUrl() const {
  return ServerPart(*this) + "?cmd=" + CddbEncode(CddbQueryCommand(toc_)) + "&hello=" + Hello() + "&proto=5";
}

QByteArray TCddb::ReadUrl(const QString& category, const QString& discId) const {
  return ServerPart(*this) + "?cmd=cddb+read+" + CddbEncode(category) + '+' + CddbEncode(discId) +
         "&hello=" + Hello() + "&proto=5";
}

void TCddb::Query() {
  Cancel();
  if (toc_.Empty()) {
    Status(kNoDisc);
    return;
  }
  if (ServerType != TServerType::HTTP) {
    Status(QStringLiteral("Selected server not an HTTP server"));
    return;
  }
  Status(QStringLiteral("Querying CD"));
  Send(QueryUrl(), State::Querying);
}

void TCddb::Read() {
  if (state_ != State::MatchChosen) {
    Status(QStringLiteral("Can't perform a CDDB READ without a successful CDDB QUERY!"));
    return;
  }
  Status(QStringLiteral("Reading CD info"));
  if (ReadFromCache()) return;
  Send(ReadUrl(category_, discId_), State::Reading);
}

void TCddb::Cancel() {
  timer_->stop();
  if (reply_) {
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
  received_.clear();
  state_ = State::Idle;
}

void TCddb::Send(const QByteArray& url, State state) {
  Exchange(QString::fromUtf8(url));
  QNetworkRequest request(QUrl::fromEncoded(url, QUrl::StrictMode));
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  if (!ProxyAddr.isEmpty()) {
    network_->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, ProxyAddr, quint16(ProxyPort.toUInt()),
                                     ProxyUser, ProxyPassword));
  } else {
    network_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
  }
  state_ = state;
  received_.clear();
  reply_ = network_->get(request);
  QNetworkReply* reply = reply_;
  QObject::connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
    if (reply != reply_) return;
    received_ += reply->readAll();
    if (received_.size() > MaxAnswerBytes) Fail(QStringLiteral("Answer too large"));
  });
  QObject::connect(reply, &QNetworkReply::finished, this, [this, reply] { Finished(reply); });
  timer_->start(TimeoutMs);
}

void TCddb::Finished(QNetworkReply* reply) {
  if (reply != reply_) return;
  timer_->stop();
  reply_ = nullptr;
  reply->deleteLater();
  if (reply->error() != QNetworkReply::NoError) {
    Fail(reply->errorString());
    return;
  }
  received_ += reply->readAll();
  if (received_.size() > MaxAnswerBytes) {
    Fail(QStringLiteral("Answer too large"));
    return;
  }
  const QByteArray body = std::exchange(received_, QByteArray());
  HandleAnswer(body, state_ == State::Reading);
}

void TCddb::Fail(const QString& message) {
  Cancel();
  Status(QStringLiteral("CDDB Component Internal Error: the HTTP request failed because of error \"") +
         message + '"');
}

void TCddb::HandleAnswer(const QByteArray& body, bool read) {
  for (const QString& line : CddbAnswerLines(body)) Exchange(line);
  const TCddbAnswer answer = ParseCddbAnswer(body);
  if (read)
    ReadAnswer(answer);
  else
    QueryAnswer(answer);
}

void TCddb::QueryAnswer(const TCddbAnswer& answer) {
  state_ = State::Idle;
  QStringList matches;
  switch (answer.Code) {
    case 200:
      Status(QStringLiteral("Found exact match"));
      matches.append(answer.FirstLine.mid(4));
      break;
    case 210:
    case 211:
      Status(answer.Code == 210 ? QStringLiteral("Found exact matches")
                                : QStringLiteral("Found inexact matches"));
      Status(QStringLiteral("OK, receiving matches"));
      if (!answer.Terminated) {
        Fail(QStringLiteral("The list of matches ended early"));
        return;
      }
      Status(QStringLiteral("Received matches"));
      matches = answer.Body.mid(0, kMaxMatches);
      break;
    case 202:
      Status(QStringLiteral("No match found"));
      return;
    case 403:
      Status(QStringLiteral("Database entry is corrupt"));
      return;
    case 409:
      Status(QStringLiteral("No handshake"));
      return;
    default:
      Fail(QStringLiteral("Unexpected answer: ") + answer.FirstLine.left(80));
      return;
  }
  if (matches.isEmpty()) {
    Status(QStringLiteral("No match found"));
    return;
  }
  state_ = State::Matching;
  int rightOne = -1;
  if (OnMatch) OnMatch(this, matches, rightOne);
  if (state_ != State::Matching) return;  // cancelled or restarted from the handler
  state_ = State::Idle;
  if (rightOne < 0 || rightOne >= matches.size()) return;
  const TCddbMatch match = ParseCddbMatch(matches[rightOne]);
  if (!match.Valid()) return;
  category_ = match.Category;
  discId_ = match.DiscId;
  state_ = State::MatchChosen;
}

void TCddb::ReadAnswer(const TCddbAnswer& answer) {
  state_ = State::Idle;
  switch (answer.Code) {
    case 210:
      Status(QStringLiteral("OK, CDDB database entry follows"));
      if (!answer.Terminated) {
        Status(QStringLiteral("Database entry is corrupt"));
        return;
      }
      entry_ = answer.Body;
      WriteCache(entry_);
      Status(QStringLiteral("Entry read"));
      return;
    case 401:
      Status(QStringLiteral("Specified CDDB entry not found"));
      return;
    case 403:
      Status(QStringLiteral("Database entry is corrupt"));
      return;
    case 409:
      Status(QStringLiteral("No handshake"));
      return;
    default:
      Fail(QStringLiteral("Unexpected answer: ") + answer.FirstLine.left(80));
      return;
  }
}

// The cache keeps one file per entry, "<category>/<identifier>", as the entry's lines in UTF-8. Names
// that come from the server are used only when they are plain words.
QString TCddb::CacheFile(const QString& category, const QString& discId) const {
  static const QRegularExpression word(QStringLiteral("^[A-Za-z0-9_-]{1,40}$"));
  static const QRegularExpression id(QStringLiteral("^[0-9a-fA-F]{8}$"));
  if (LocalCDDBPath.isEmpty() || !word.match(category).hasMatch() || !id.match(discId).hasMatch()) return {};
  QString folder = LocalCDDBPath;
  if (!folder.endsWith('/')) folder += '/';
  return folder + category.toLower() + '/' + discId.toLower();
}

bool TCddb::ReadFromCache() {
  const QString path = CacheFile(category_, discId_);
  if (path.isEmpty()) return false;
  QFile file(path);
  if (file.size() > MaxAnswerBytes || !file.open(QIODevice::ReadOnly)) return false;
  QByteArray body = "210 " + category_.toUtf8() + ' ' + discId_.toUtf8() + " CD database entry follows\r\n";
  body += file.readAll();
  if (!body.endsWith('\n')) body += "\r\n";
  body += ".\r\n";
  state_ = State::Reading;
  // The answer arrives from the event loop, as a server's would.
  QTimer::singleShot(0, this, [this, body] {
    if (state_ == State::Reading) HandleAnswer(body, true);
  });
  return true;
}

void TCddb::WriteCache(const QStringList& entry) const {
  const QString path = CacheFile(category_, discId_);
  if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write((entry.join('\n') + '\n').toUtf8());
  file.commit();
}
