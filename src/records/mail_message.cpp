#include "records/mail_message.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QTimeZone>

QString PlainAddress(const QString& address) {
  QString a = address.trimmed();
  if (a.startsWith(QLatin1String("SMTP:"), Qt::CaseInsensitive)) a = a.mid(5).trimmed();
  return a;
}

QStringList XdgEmailArguments(const TMailMessage& message) {
  QStringList args{QStringLiteral("--utf8")};
  for (const QString& a : message.CopyTo)
    if (!PlainAddress(a).isEmpty()) args << QStringLiteral("--cc") << PlainAddress(a);
  for (const QString& a : message.BlindCopyTo)
    if (!PlainAddress(a).isEmpty()) args << QStringLiteral("--bcc") << PlainAddress(a);
  if (!message.Subject.isEmpty()) args << QStringLiteral("--subject") << message.Subject;
  // xdg-email turns each line break into CR LF itself.
  if (!message.Body.isEmpty()) {
    QString body = message.Body;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    args << QStringLiteral("--body") << body;
  }
  for (const QString& f : message.AttachedFiles) args << QStringLiteral("--attach") << f;
  for (const QString& a : message.Recipients)
    if (!PlainAddress(a).isEmpty()) args << PlainAddress(a);
  return args;
}

namespace {

bool PlainAscii(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
  return true;
}

QByteArray RandomToken(int bytes) {
  QByteArray raw(bytes, Qt::Uninitialized);
  for (char& c : raw) c = char(QRandomGenerator::global()->bounded(256));
  return raw.toHex();
}

// One address for a header: a name that needs it goes in encoded words or quotes.
QByteArray HeaderAddress(const QString& name, const QString& address, int used) {
  const QByteArray addr = PlainAddress(address).toUtf8();
  if (name.isEmpty()) return addr;
  QByteArray n;
  if (PlainAscii(name)) {
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    n = '"' + quoted.toLatin1() + '"';
  } else {
    n = EncodeHeaderText(name, used);
  }
  return n + " <" + addr + '>';
}

QByteArray AddressList(const QStringList& list) {
  QByteArray out;
  for (const QString& a : list) {
    const QString plain = PlainAddress(a);
    if (plain.isEmpty()) continue;
    if (!out.isEmpty()) out += ",\r\n ";
    out += plain.toUtf8();
  }
  return out;
}

QByteArray QuotedPrintable(const QByteArray& utf8) {
  QByteArray out;
  int lineLen = 0;
  auto put = [&](const QByteArray& piece) {
    if (lineLen + piece.size() > 75) {
      out += "=\r\n";
      lineLen = 0;
    }
    out += piece;
    lineLen += int(piece.size());
  };
  for (qsizetype i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (c == '\n') {
      // A blank before a line end would be lost on the way.
      if (!out.isEmpty() && lineLen > 0 && (out.endsWith(' ') || out.endsWith('\t'))) {
        const char last = out.back();
        out.chop(1);
        --lineLen;
        put(last == ' ' ? QByteArray("=20") : QByteArray("=09"));
      }
      out += "\r\n";
      lineLen = 0;
      continue;
    }
    // A "." starting a line is encoded so that no relay can take it for the end of the data.
    const bool literal = (c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t';
    if (literal && !(lineLen == 0 && c == '.')) {
      put(QByteArray(1, char(c)));
    } else {
      put('=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0'));
    }
  }
  if (out.endsWith(' ') || out.endsWith('\t')) {
    const char last = out.back();
    out.chop(1);
    out += last == ' ' ? "=20" : "=09";
  }
  return out;
}

QByteArray Base64Lines(const QByteArray& data) {
  const QByteArray b64 = data.toBase64();
  QByteArray out;
  out.reserve(b64.size() + b64.size() / 76 * 2 + 2);
  for (qsizetype i = 0; i < b64.size(); i += 76) out += b64.mid(i, 76) + "\r\n";
  return out;
}

QByteArray ContentType(const QString& file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "image/jpeg";
  if (suffix == QLatin1String("png")) return "image/png";
  if (suffix == QLatin1String("bmp")) return "image/bmp";
  if (suffix == QLatin1String("pdf")) return "application/pdf";
  return "application/octet-stream";
}

// A file name parameter: RFC 2231 form when it is not plain ASCII, with a quoted plain fallback.
QByteArray FileNameParams(const QString& name, const char* param) {
  if (PlainAscii(name) && !name.contains(QLatin1Char('"')) && !name.contains(QLatin1Char('\\')))
    return QByteArray(";\r\n ") + param + "=\"" + name.toLatin1() + '"';
  return QByteArray(";\r\n ") + param + "*=UTF-8''" + name.toUtf8().toPercentEncoding();
}

}  // namespace

QByteArray EncodeHeaderText(const QString& text, int used) {
  if (PlainAscii(text)) {
    // Fold long ASCII text at blanks.
    QByteArray out;
    int lineLen = used;
    const QStringList words = text.split(QLatin1Char(' '));
    for (int i = 0; i < words.size(); ++i) {
      const QByteArray w = words[i].toLatin1();
      if (i > 0) {
        if (lineLen + 1 + w.size() > 76 && lineLen > 1) {
          out += "\r\n ";
          lineLen = 1;
        } else {
          out += ' ';
          ++lineLen;
        }
      }
      out += w;
      lineLen += int(w.size());
    }
    return out;
  }
  // Encoded words of whole characters, each at most 75 characters long.
  QByteArray out;
  int lineLen = used;
  QByteArray chunk;
  auto flush = [&] {
    if (chunk.isEmpty()) return;
    const QByteArray word = "=?UTF-8?B?" + chunk.toBase64() + "?=";
    if (!out.isEmpty()) {
      out += "\r\n ";
      lineLen = 1;
    }
    out += word;
    lineLen += int(word.size());
    chunk.clear();
  };
  // A word is 12 characters of framing and 4 of base64 for every 3 bytes; the first line also holds
  // the header's name, the others one blank.
  auto room = [&] { return (((out.isEmpty() ? 76 - used : 75) - 12) / 4) * 3; };
  for (qsizetype i = 0; i < text.size(); ++i) {
    QString ch(text[i]);
    if (text[i].isHighSurrogate() && i + 1 < text.size()) ch += text[++i];
    const QByteArray bytes = ch.toUtf8();
    if (chunk.size() + bytes.size() > room()) flush();
    chunk += bytes;
  }
  flush();
  return out;
}

bool BuildMimeMessage(const TMailMessage& message, const TMimeOptions& options, QByteArray& out,
                      QString* error) {
  const QByteArray boundary =
      options.Boundary.isEmpty() ? "=_lorvane_" + RandomToken(12) : options.Boundary.toLatin1();
  const QDateTime date = options.Date.isValid() ? options.Date : QDateTime::currentDateTime();
  const QString from = PlainAddress(message.FromAdress);
  QByteArray id = options.MessageId.toLatin1();
  if (id.isEmpty()) {
    const qsizetype at = from.indexOf(QLatin1Char('@'));
    id = RandomToken(16) + '@' + (at >= 0 ? from.mid(at + 1).toLatin1() : QByteArray("localhost"));
  }

  QByteArray m;
  // RFC 5322 date, always in English.
  m += "Date: " + QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1();
  const int offset = date.offsetFromUtc() / 60;
  m += QString::asprintf("%c%02d%02d", offset < 0 ? '-' : '+', std::abs(offset) / 60, std::abs(offset) % 60)
           .toLatin1() +
       "\r\n";
  if (!from.isEmpty()) m += "From: " + HeaderAddress(message.FromName, from, 6) + "\r\n";
  const QByteArray to = AddressList(message.Recipients);
  if (!to.isEmpty()) m += "To: " + to + "\r\n";
  const QByteArray cc = AddressList(message.CopyTo);
  if (!cc.isEmpty()) m += "Cc: " + cc + "\r\n";
  m += "Subject: " + EncodeHeaderText(message.Subject, 9) + "\r\n";
  m += "Message-ID: <" + id + ">\r\n";
  m += "MIME-Version: 1.0\r\n";

  QString body = message.Body;
  body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QByteArray textPart =
      "Content-Type: text/plain; charset=UTF-8\r\n"
      "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
      QuotedPrintable(body.toUtf8()) + "\r\n";
  if (message.AttachedFiles.isEmpty()) {
    m += textPart;
    out = m;
    return true;
  }
  m += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n";
  m += "This is a message in several parts (MIME).\r\n";
  m += "--" + boundary + "\r\n" + textPart;
  for (const QString& file : message.AttachedFiles) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
      if (error) *error = file;
      return false;
    }
    const QString name = QFileInfo(file).fileName();
    m += "--" + boundary + "\r\n";
    m += "Content-Type: " + ContentType(file) + FileNameParams(name, "name") + "\r\n";
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "Content-Disposition: attachment" + FileNameParams(name, "filename") + "\r\n\r\n";
    m += Base64Lines(f.readAll());
  }
  m += "--" + boundary + "--\r\n";
  out = m;
  return true;
}
