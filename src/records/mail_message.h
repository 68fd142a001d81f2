// One outgoing mail as the program builds it, and its two wire forms: the arguments of the desktop's
// mail hand-over (xdg-email) and an Internet message for a direct SMTP send.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

struct TMailMessage {
  QString Subject, Body;
  // The sender; empty leaves it to the mail client (hand-over) or to the SMTP settings.
  QString FromName, FromAdress;
  QStringList Recipients, CopyTo, BlindCopyTo;
  // Full paths of the files to attach.
  QStringList AttachedFiles;
};

// An address as the mail systems want it: blanks trimmed and a leading "SMTP:" (any case) dropped.
QString PlainAddress(const QString& address);

// The arguments of xdg-email for the message: "--utf8", copies, subject, body, attachments, then the
// "to" addresses (none when empty: the user fills them in).
QStringList XdgEmailArguments(const TMailMessage& message);

// The message in Internet form with CR LF line ends: UTF-8 headers encoded where needed, a text/plain
// UTF-8 body (quoted-printable) and each attachment base64-encoded with its content type (image/jpeg
// for ".jpg"/".jpeg"). Blind copies are not written into the headers. False, with the file in
// `error`, when an attachment cannot be read.
struct TMimeOptions {
  QString Boundary;   // empty: a random one
  QDateTime Date;     // invalid: now
  QString MessageId;  // empty: a random one at the sender's domain
};
bool BuildMimeMessage(const TMailMessage& message, const TMimeOptions& options, QByteArray& out,
                      QString* error = nullptr);

// A header value as RFC 2047 encoded words when it holds anything but printable ASCII; folded so that
// no line passes 76 characters. `used` is how much of the first line the header name takes.
QByteArray EncodeHeaderText(const QString& text, int used);
