// Language files: any bytes load, and every kind of lookup answers without crashing.
#include <cstdint>

#include "shell/language.h"
#include "shell/textfile.h"

namespace {
struct Window : TMLWindow {
  QString Name() const override { return QStringLiteral("fmMain"); }
  void SetWindowText(const QString&, const QString&) override {}
  bool HasComponent(const QString&) const override { return true; }
  bool SetComponentText(const QString&, const QString&, const QString&) override { return true; }
  std::optional<QStringList> ListItems(const QString&, QChar) override { return QStringList(); }
  void SetListItems(const QString&, QChar, const QStringList&) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList lines;
  DecodeTextLines(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                  lines);
  MLFree();
  MLCreateFromLines(lines);
  for (int language : {1, 2, 50}) {
    MLSetLanguage(language);
    MLMessage(1);
    MLMessage(12);
    MLMessage(5000);
    MLText(QStringLiteral("btn_aide"));
    Window w;
    MLTranslateWindow(w);
  }
  return 0;
}
