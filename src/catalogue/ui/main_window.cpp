#include "catalogue/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>

#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmMain"));
  setWindowTitle(QApplication::applicationDisplayName());
}

TfmMain::~TfmMain() = default;

bool TfmMain::FormCloseQuery() {
  if (Soft() && Soft()->Debug) return true;
  const QString text = MLMessage(108).replace(QStringLiteral("%s"), windowTitle());
  return AskUser(text, akQuestion, abOK | abCancel) == arOK;
}

void TfmMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}
