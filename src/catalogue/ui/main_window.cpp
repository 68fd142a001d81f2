#include "catalogue/ui/main_window.h"

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmMain"));
}

TfmMain::~TfmMain() = default;
