// Document reader: any bytes load without crashing, and saving what was read is stable.
#include <cstdint>
#include <cstdlib>

#include "common/lsan_suppressions.h"
#include "common/qt_app.h"
#include "model/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList lines;
  DecodeTextLines(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                  lines);
  TzunoCADMdl first(nullptr, QRect(0, 0, 100, 100), 100, 100);
  first.LoadFromStrings(lines);
  if (first.Large > 0 && first.Haut > 0 && first.Large < 1e6 && first.Haut < 1e6) {
    // Every kind draws whatever it was given.
    QImage img(48, 48, QImage::Format_RGB888);
    first.DrawBitmap(img);
  }
  const QStringList once = first.SaveToStrings();
  TzunoCADMdl second(nullptr, QRect(0, 0, 100, 100), 100, 100);
  second.LoadFromStrings(once);
  const QStringList twice = second.SaveToStrings();
  TzunoCADMdl third(nullptr, QRect(0, 0, 100, 100), 100, 100);
  third.LoadFromStrings(twice);
  if (third.SaveToStrings() != twice) std::abort();  // a value drifts across load and save
  return 0;
}
