#include "shell/user_dialogs.h"

#include <QFileInfo>

namespace {

TUserDialogs* g_dialogs = nullptr;

}  // namespace

QList<TAskResult> AskBoxButtons(int buttons) {
  // One box per asked set, chosen by priority: the platform shows fixed button groups, and merging
  // groups bit by bit would show buttons nobody asked for.
  if (buttons & (abYes | abNo)) {
    if (buttons & abCancel) return {arYes, arNo, arCancel};
    return {arYes, arNo};
  }
  if (buttons & (abAbort | abIgnore)) return {arAbort, arRetry, arIgnore};
  if (buttons & abRetry) return {arRetry, arCancel};
  if (buttons & abCancel) return {arOK, arCancel};
  return {arOK};
}

TAskResult AskAnswer(int buttons, int pressed) {
  for (TAskResult b : AskBoxButtons(buttons))
    if (b == pressed) return b;
  return arNone;
}

QString BrowseStart(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void SetUserDialogs(TUserDialogs* dialogs) {
  g_dialogs = dialogs;
}
TUserDialogs* UserDialogs() {
  return g_dialogs;
}

int AskUser(const QString& text, int kind, int buttons) {
  return g_dialogs ? g_dialogs->AskUser(text, kind, buttons) : arNone;
}

bool BrowseFolder(const QString& title, QString& folder) {
  return g_dialogs && g_dialogs->BrowseFolder(title, folder);
}

int TScriptedDialogs::AskUser(const QString& text, int kind, int buttons) {
  Questions.append({text, kind, buttons});
  if (Answers.empty()) {
    Faults << QStringLiteral("no answer for: ") + text;
    return arNone;
  }
  const int pressed = Answers.front();
  Answers.pop_front();
  const TAskResult answer = AskAnswer(buttons, pressed);
  if (answer == arNone && pressed != arNone)
    Faults << QStringLiteral("button %1 is not on the box for: ").arg(pressed) + text;
  return answer;
}

bool TScriptedDialogs::BrowseFolder(const QString& title, QString& folder) {
  Browses.append({title, BrowseStart(folder)});
  if (Folders.empty()) {
    Faults << QStringLiteral("no folder for: ") + title;
    return false;
  }
  const std::optional<QString> chosen = Folders.front();
  Folders.pop_front();
  if (!chosen) return false;
  folder = *chosen;
  return true;
}
