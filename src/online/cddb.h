// The album lookup: the drive list, the disc's table of contents, and the query and read of its entry
// on a lookup server over HTTP. Everything runs on the caller's thread: requests return at once and
// the answers arrive through the events from the event loop.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "online/cd_disc.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

enum class TServerType { CDDBP, HTTP };

class TCddb : public QObject {
 public:
  using TStatusEvent = std::function<void(QObject* sender, const QString& status)>;
  using TMatchArray = QStringList;
  using TMatchEvent = std::function<void(QObject* sender, const TMatchArray& matches, int& rightOne)>;

  // The first drives of a list are the system's; the list is read once here.
  explicit TCddb(QObject* parent = nullptr);
  ~TCddb() override;

  QString LocalCDDBPath;  // folder of the local entry cache; empty keeps no cache
  QString ServerAddr = QStringLiteral("gnudb.gnudb.org");
  QString ServerAdditionalAddr = QStringLiteral("/~cddb/cddb.cgi");
  QString ServerPort = QStringLiteral("80");
  TServerType ServerType = TServerType::HTTP;
  QString EmailUser = QStringLiteral("user@localhost");
  QString ClientName = QStringLiteral("Lorvane");
  QString ClientVersion = QStringLiteral("0.1");
  QString ClientComments;
  QString ProxyAddr, ProxyPort, ProxyUser, ProxyPassword;
  // A request without an answer for this long ends as a transport failure.
  int TimeoutMs = 20000;

  TStatusEvent OnStatusMessage;
  TStatusEvent OnDataExchange;
  TMatchEvent OnMatch;

  QString NoteToUser() const { return noteToUser_; }
  void SetNoteToUser(const QString& note) { noteToUser_ = note.left(70); }

  int DriveCount() const { return int(drives_.size()); }
  QString DriveDescription(int index) const;
  const TDiscToc& Toc() const { return toc_; }

  // Makes a drive current and reads its disc's table of contents; false (after the status text) when
  // there is no readable disc or no drive access.
  bool SelectDrive(int index);
  // Sends the query for the current disc; the answer arrives through the events.
  void Query();
  // Sends the read of the match chosen in OnMatch; only while WaitingForRead().
  void Read();
  // Stops the request under way quietly; the component is idle again.
  void Cancel();

  bool Busy() const { return state_ == State::Querying || state_ == State::Reading; }
  bool WaitingForRead() const { return state_ == State::MatchChosen; }
  // The lines of the last entry read (without its answer line and final ".").
  const QStringList& Entry() const { return entry_; }

  // The request URLs (exposed for tests of the wire format).
  QByteArray QueryUrl() const;
  QByteArray ReadUrl(const QString& category, const QString& discId) const;
  // Handles a server's answer to a query, or to a read when `read`, as if it had just arrived (the
  // transport calls it; so does the fuzz target, without a server).
  void HandleAnswer(const QByteArray& body, bool read);

  // Answers larger than this end as a transport failure (a real entry is a few kilobytes).
  static constexpr qint64 MaxAnswerBytes = 1 << 20;

 private:
  enum class State { Idle, Querying, Matching, MatchChosen, Reading };
  void Status(const QString& text);
  void Exchange(const QString& line);
  void Send(const QByteArray& url, State state);
  void Finished(QNetworkReply* reply);
  void Fail(const QString& message);
  void QueryAnswer(const struct TCddbAnswer& answer);
  void ReadAnswer(const struct TCddbAnswer& answer);
  QString CacheFile(const QString& category, const QString& discId) const;
  bool ReadFromCache();
  void WriteCache(const QStringList& entry) const;
  QByteArray Hello() const;

  std::vector<TCdDrive> drives_;
  int drive_ = -1;
  TDiscToc toc_;
  State state_ = State::Idle;
  QString category_, discId_;
  QStringList entry_;
  QString noteToUser_;
  std::unique_ptr<QNetworkAccessManager> network_;
  QNetworkReply* reply_ = nullptr;
  QByteArray received_;
  QTimer* timer_ = nullptr;
};
