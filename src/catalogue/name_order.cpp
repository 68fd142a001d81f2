#include "catalogue/name_order.h"

#include <QCollator>
#include <algorithm>

void SortNames(QStringList& names) {
  // A process in the C locale would compare character codes: it gets English order instead.
  QLocale locale;
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
    const int c = collator.compare(a, b);
    return c != 0 ? c < 0 : a.compare(b, Qt::CaseInsensitive) < 0;
  });
}
