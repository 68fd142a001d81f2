#include "records/smtp_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

// Values are stored escaped so that a password may hold any character, line breaks included.
QString Escape(const QString& v) {
  QString out;
  for (QChar c : v) {
    if (c == QLatin1Char('\\'))
      out += QLatin1String("\\\\");
    else if (c == QLatin1Char('\n'))
      out += QLatin1String("\\n");
    else if (c == QLatin1Char('\r'))
      out += QLatin1String("\\r");
    else
      out += c;
  }
  return out;
}

QString Unescape(const QString& v) {
  QString out;
  for (qsizetype i = 0; i < v.size(); ++i) {
    if (v[i] == QLatin1Char('\\') && i + 1 < v.size()) {
      const QChar n = v[++i];
      out += n == QLatin1Char('n') ? QChar('\n') : n == QLatin1Char('r') ? QChar('\r') : n;
    } else {
      out += v[i];
    }
  }
  return out;
}

}  // namespace

int TSmtpSettings::DefaultPort(TSecurity security) {
  switch (security) {
    case TSecurity::None:
      return 25;
    case TSecurity::StartTls:
      return 587;
    case TSecurity::Tls:
      return 465;
  }
  return 587;
}

TSmtpSettings TSmtpSettings::Load(const QString& fileName) {
  TSmtpSettings s;
  QStringList lines;
  if (fileName.isEmpty() || !ReadTextFile(fileName, lines)) return s;
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) continue;
    const QString key = line.left(eq).trimmed().toLower();
    const QString value = Unescape(line.mid(eq + 1));
    bool ok = false;
    if (key == QLatin1String("host"))
      s.Host = value.trimmed();
    else if (key == QLatin1String("port")) {
      const int p = value.toInt(&ok);
      if (ok && p > 0 && p < 65536) s.Port = p;
    } else if (key == QLatin1String("security")) {
      const int v = value.toInt(&ok);
      if (ok && v >= 0 && v <= 2) s.Security = static_cast<TSecurity>(v);
    } else if (key == QLatin1String("user"))
      s.User = value;
    else if (key == QLatin1String("password"))
      s.Password = value;
    else if (key == QLatin1String("from"))
      s.FromAdress = value.trimmed();
    else if (key == QLatin1String("fromname"))
      s.FromName = value;
    else if (key == QLatin1String("cafile"))
      s.CaFile = value.trimmed();
  }
  return s;
}

bool TSmtpSettings::Save(const QString& fileName) const {
  TTextFileWriter w;
  w.Add(u"[SMTP]");
  w.Add(QStringLiteral("Host=") + Escape(Host));
  w.Add(QStringLiteral("Port=") + QString::number(Port));
  w.Add(QStringLiteral("Security=") + QString::number(int(Security)));
  w.Add(QStringLiteral("User=") + Escape(User));
  w.Add(QStringLiteral("Password=") + Escape(Password));
  w.Add(QStringLiteral("From=") + Escape(FromAdress));
  w.Add(QStringLiteral("FromName=") + Escape(FromName));
  if (!CaFile.isEmpty()) w.Add(QStringLiteral("CaFile=") + Escape(CaFile));
  QDir().mkpath(QFileInfo(fileName).absolutePath());
  return w.Commit(fileName, 0600);
}

QString SmtpSettingsFile() {
  return Soft() ? Soft()->UserPath + QStringLiteral("smtp.ini") : QString();
}
