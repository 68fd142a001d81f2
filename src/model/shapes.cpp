#include "model/shapes.h"

#include "model/encodings.h"

QList<QPointF> ReadPoints(const QString& text) {
  QList<QPointF> pts;
  qsizetype start = 0;
  while (start <= text.size() && pts.size() < kMaxPoints) {
    qsizetype bar = text.indexOf(QLatin1Char('|'), start);
    if (bar < 0) bar = text.size();
    const QString piece = text.mid(start, bar - start);
    const qsizetype semi = piece.indexOf(QLatin1Char(';'));
    const QString xs = semi < 0 ? piece : piece.left(semi);
    if (xs.isEmpty()) break;
    pts.append(QPointF(ReadReal(xs), ReadReal(semi < 0 ? QString() : piece.mid(semi + 1))));
    start = bar + 1;
  }
  return pts;
}

QString WritePoints(const QList<QPointF>& points) {
  QString s;
  for (const QPointF& p : points)
    s += WriteReal(p.x()) + QLatin1Char(';') + WriteReal(p.y()) + QLatin1Char('|');
  return s;
}

QStringList TzunoCADRectangle::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"Cote", WriteInt(Cote));
  return p;
}

void TzunoCADRectangle::SetProperties(const QStringList& list) {
  Cote = ReadInt(PropValue(list, u"Cote"));
  TzunoCADRect::SetProperties(list);
}

QStringList TzunoCADLigne::GetProperties() {
  QStringList p = TzunoCADObj::GetProperties();
  PropAdd(p, u"p", WritePoints(Points));
  return p;
}

void TzunoCADLigne::SetProperties(const QStringList& list) {
  Points = ReadPoints(PropValue(list, u"p"));
  TzunoCADObj::SetProperties(list);
}

int TzunoCADLigne::AddPoint(QPointF p) {
  if (Points.isEmpty()) {
    Points.append(p);
    return 0;
  }
  if (Points.size() + 3 > kMaxPoints) return static_cast<int>(Points.size()) - 2;
  const QPointF last = Points.last();
  Points.append(last);
  Points.append(p);
  Points.append(p);
  return static_cast<int>(Points.size()) - 2;
}

QStringList TzunoCADForme::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"p", WritePoints(Points));
  PropAdd(p, u"FormeLarge", WriteReal(FormeLarge));
  PropAdd(p, u"FormeHaut", WriteReal(FormeHaut));
  return p;
}

void TzunoCADForme::SetProperties(const QStringList& list) {
  Points = ReadPoints(PropValue(list, u"p"));
  FormeLarge = ReadReal(PropValue(list, u"FormeLarge"));
  FormeHaut = ReadReal(PropValue(list, u"FormeHaut"));
  TzunoCADRect::SetProperties(list);
}

QStringList TzunoCADRepere::GetProperties() {
  QStringList p = TzunoCADObj::GetProperties();
  PropAdd(p, u"position", WriteReal(position));
  PropAdd(p, u"sens", WriteInt(sens));
  PropAdd(p, u"sorte", WriteInt(sorte));
  return p;
}

void TzunoCADRepere::SetProperties(const QStringList& list) {
  position = static_cast<double>(RoundEven(ReadReal(PropValue(list, u"position"))));
  sens = ReadInt(PropValue(list, u"sens"));
  sorte = ReadInt(PropValue(list, u"sorte"));
  TzunoCADObj::SetProperties(list);
}
