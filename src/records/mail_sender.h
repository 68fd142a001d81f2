// Sends one mail: handed over to the desktop's mail client (xdg-email, which opens a compose window
// the user reviews and sends), or, when the user has set an SMTP server and does not want to review
// each mail, sent directly to that server. Either way the call returns at once and the outcome
// arrives later on the calling thread's event loop.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "records/mail_message.h"
#include "records/smtp_settings.h"

class TMailSender {
 public:
  // Outcomes: sent (or handed over), cancelled; any other value is an error.
  static constexpr int mrSuccess = 0;
  static constexpr int mrUserAbort = 1;

  TMailSender();
  // A send still running is cancelled and waited for.
  ~TMailSender();
  TMailSender(const TMailSender&) = delete;
  TMailSender& operator=(const TMailSender&) = delete;

  QString Subject, Body, FromName, FromAdress;
  QStringList Recipients, CopyTo, BlindCopyTo, AttachedFiles;
  // The user reviews each mail in the mail client's window.
  bool ShowDialog = false;
  // The user's server; used when configured and ShowDialog is off.
  TSmtpSettings Smtp;
  // The hand-over program (tests name their own).
  QString Program = QStringLiteral("xdg-email");

  std::function<void()> OnSuccess;
  std::function<void()> OnUserAbort;
  std::function<void(int code, const QString& message)> OnMapiError;
  // After the event of the outcome: the code and, for an error, its text.
  std::function<void(int result, const QString& message)> OnFinished;

  bool UsesSmtp() const { return Smtp.Configured() && !ShowDialog; }
  TMailMessage Message() const;
  // Starts a send of the current properties; false when one is still running.
  bool Send();
  bool Busy() const;
  // Ends the send in progress; its outcome is then "cancelled" (a mail the server already took
  // stays sent).
  void Cancel();

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

// Sends the message text (BuildMimeMessage) to the server, blocking; `cancelled` is polled while it
// runs. mrSuccess, mrUserAbort, or 1000 + the transfer library's error code with its text.
int SendSmtp(const TSmtpSettings& smtp, const TMailMessage& message, const QByteArray& mime,
             const std::function<bool()>& cancelled, QString* detail);
