// The user's own SMTP server, when set: mails then leave directly instead of through the desktop's
// mail client. Kept in a file of its own in the user's folder, readable by the user alone (it holds
// the password).
#pragma once

#include <QString>

struct TSmtpSettings {
  enum class TSecurity { None = 0, StartTls = 1, Tls = 2 };
  QString Host;
  int Port = 587;
  TSecurity Security = TSecurity::StartTls;
  QString User, Password;
  // The sender's address and name written into each mail.
  QString FromAdress, FromName;
  // A certificate file to trust besides the system's (a company's own authority); empty: the system's.
  QString CaFile;

  // A server and a sender are both needed for a direct send.
  bool Configured() const { return !Host.trimmed().isEmpty() && !FromAdress.trimmed().isEmpty(); }
  // The port each security mode usually listens on.
  static int DefaultPort(TSecurity security);

  // A missing or unreadable file gives the defaults (not configured).
  static TSmtpSettings Load(const QString& fileName);
  // Written atomically with mode 0600, whatever the old file's mode was.
  bool Save(const QString& fileName) const;
};

// The settings file in the user's folder ("" before the settings object exists).
QString SmtpSettingsFile();
