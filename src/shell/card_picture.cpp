#include "shell/card_picture.h"

QString CardPictureName(const QString& displayName, bool logo) {
  QString n = displayName;
  for (QChar& c : n)
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() == 0) c = QLatin1Char('_');
  return n + (logo ? QStringLiteral(" logo.bmp") : QStringLiteral(" photo.bmp"));
}
