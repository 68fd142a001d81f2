// Reading back what the mail code wrote: Internet messages (headers, encoded words, quoted-printable
// and base64 parts) and the mailto addresses the hand-over gives the mail client.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

struct TParsedPart {
  QMap<QByteArray, QByteArray> Headers;  // names in lower case, folding undone
  QByteArray Body;                       // transfer encoding undone
};

struct TParsedMail {
  QMap<QByteArray, QByteArray> Headers;
  QList<TParsedPart> Parts;  // a single-part message gives one part
  QString Subject;           // decoded
};

inline QString DecodeWords(const QByteArray& value) {
  QString out;
  qsizetype i = 0;
  bool lastWasWord = false;
  while (i < value.size()) {
    const qsizetype start = value.indexOf("=?", i);
    if (start < 0) {
      out += QString::fromUtf8(value.mid(i));
      break;
    }
    const QByteArray between = value.mid(i, start - i);
    if (!(lastWasWord && between.trimmed().isEmpty())) out += QString::fromUtf8(between);
    const qsizetype end = value.indexOf("?=", start + 2 + 8);
    const QList<QByteArray> f = value.mid(start + 2, end - start - 2).split('?');
    if (f.size() == 3 && f[1].toUpper() == "B") out += QString::fromUtf8(QByteArray::fromBase64(f[2]));
    i = end + 2;
    lastWasWord = true;
  }
  return out;
}

inline QByteArray DecodeQuotedPrintable(const QByteArray& in) {
  QByteArray out;
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == '=' && i + 2 < in.size() + 1) {
      if (in.mid(i + 1, 2) == "\r\n") {
        i += 2;
        continue;
      }
      out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
      i += 2;
    } else {
      out += in[i];
    }
  }
  return out;
}

inline void SplitHeaders(const QByteArray& text, QMap<QByteArray, QByteArray>& headers, QByteArray& body) {
  const qsizetype end = text.indexOf("\r\n\r\n");
  const QByteArray head = text.left(end);
  body = text.mid(end + 4);
  QByteArray unfolded = head;
  unfolded.replace("\r\n ", " ").replace("\r\n\t", " ");
  for (const QByteArray& line : unfolded.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0) headers[line.left(colon).toLower()] = line.mid(colon + 1).trimmed();
  }
}

inline QByteArray Decoded(const QMap<QByteArray, QByteArray>& headers, const QByteArray& body) {
  const QByteArray enc = headers.value("content-transfer-encoding").toLower();
  if (enc == "base64") return QByteArray::fromBase64(QByteArray(body).replace("\r\n", ""));
  if (enc == "quoted-printable") return DecodeQuotedPrintable(body);
  return body;
}

inline TParsedMail ParseMail(const QByteArray& text) {
  TParsedMail m;
  QByteArray body;
  SplitHeaders(text, m.Headers, body);
  m.Subject = DecodeWords(m.Headers.value("subject"));
  const QByteArray type = m.Headers.value("content-type");
  const qsizetype b = type.indexOf("boundary=\"");
  if (b < 0) {
    m.Parts.append({m.Headers, Decoded(m.Headers, body.endsWith("\r\n") ? body.chopped(2) : body)});
    return m;
  }
  const QByteArray boundary = "--" + type.mid(b + 10, type.indexOf('"', b + 10) - b - 10);
  const QList<QByteArray> chunks = body.split('\n');
  QByteArray current;
  bool in = false;
  for (const QByteArray& raw : chunks) {
    const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
    if (line == boundary || line == boundary + "--") {
      if (in) {
        TParsedPart p;
        QByteArray pb;
        SplitHeaders(current, p.Headers, pb);
        p.Body = Decoded(p.Headers, pb.endsWith("\r\n") ? pb.chopped(2) : pb);
        m.Parts.append(p);
      }
      current.clear();
      in = line == boundary;
      continue;
    }
    if (in) current += line + "\r\n";
  }
  return m;
}

// A mailto address as the hand-over gives it: the "to" address and each query item, decoded.
struct TMailto {
  QString To;
  QMultiMap<QString, QString> Items;
};

inline TMailto ParseMailto(const QString& uri) {
  TMailto m;
  const qsizetype q = uri.indexOf(QLatin1Char('?'));
  m.To = QUrl::fromPercentEncoding(uri.mid(7, q < 0 ? -1 : q - 7).toUtf8());
  if (q < 0) return m;
  for (const QString& item : uri.mid(q + 1).split(QLatin1Char('&'))) {
    const qsizetype eq = item.indexOf(QLatin1Char('='));
    m.Items.insert(item.left(eq), QUrl::fromPercentEncoding(item.mid(eq + 1).toUtf8()));
  }
  return m;
}
