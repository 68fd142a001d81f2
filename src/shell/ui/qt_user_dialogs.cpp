#include "shell/ui/qt_user_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton StandardFor(TAskResult b) {
  switch (b) {
    case arOK:
      return QMessageBox::Ok;
    case arCancel:
      return QMessageBox::Cancel;
    case arAbort:
      return QMessageBox::Abort;
    case arRetry:
      return QMessageBox::Retry;
    case arIgnore:
      return QMessageBox::Ignore;
    case arYes:
      return QMessageBox::Yes;
    case arNo:
      return QMessageBox::No;
    default:
      return QMessageBox::NoButton;
  }
}

QMessageBox::Icon IconFor(int kind) {
  switch (kind) {
    case akWarning:
      return QMessageBox::Warning;
    case akError:
      return QMessageBox::Critical;
    case akInformation:
      return QMessageBox::Information;
    case akQuestion:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int TQtUserDialogs::AskUser(const QString& text, int kind, int buttons) {
  QMessageBox box(IconFor(kind), QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  const QList<TAskResult> shown = AskBoxButtons(buttons);
  for (TAskResult b : shown) box.addButton(StandardFor(b));
  box.setDefaultButton(StandardFor(shown.first()));
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (TAskResult b : shown)
    if (StandardFor(b) == pressed) return b;
  return arNone;
}

bool TQtUserDialogs::BrowseFolder(const QString& title, QString& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title,
                                                           BrowseStart(folder), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return false;
  folder = QDir::fromNativeSeparators(chosen);
  return true;
}
