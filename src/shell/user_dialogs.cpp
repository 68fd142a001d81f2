#include "shell/user_dialogs.h"

#include <QFile>
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

bool AskName(const QString& caption, const QString& prompt, QString& value) {
  return g_dialogs && g_dialogs->InputName(caption, prompt, value);
}

bool AskSaveFile(const QString& filters, QString& file, int* filter) {
  return g_dialogs && g_dialogs->SaveFileName(filters, file, filter);
}

bool AskOpenFile(const QString& filters, QString& file) {
  return g_dialogs && g_dialogs->OpenFileName(filters, file);
}

bool AskColor(QColor& color, QStringList* custom) {
  return g_dialogs && g_dialogs->ChooseColor(color, custom);
}

bool AskFont(QFont& font, QColor& color) {
  return g_dialogs && g_dialogs->ChooseFont(font, color);
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

bool TScriptedDialogs::InputName(const QString& caption, const QString&, QString& value) {
  if (Names.empty()) {
    Faults << QStringLiteral("no name for: ") + caption;
    return false;
  }
  const std::optional<QString> name = Names.front();
  Names.pop_front();
  if (!name) return false;
  value = *name;
  return true;
}

bool TScriptedDialogs::SaveFileName(const QString& filters, QString& file, int* filter) {
  if (Files.empty()) {
    Faults << QStringLiteral("no file for: ") + filters;
    return false;
  }
  const std::optional<QString> chosen = Files.front();
  Files.pop_front();
  if (!chosen) return false;
  file = *chosen;
  if (filter) *filter = 1;
  return true;
}

bool TScriptedDialogs::OpenFileName(const QString& filters, QString& file) {
  if (OpenFiles.empty()) {
    Faults << QStringLiteral("no file to open for: ") + filters;
    return false;
  }
  const std::optional<QString> chosen = OpenFiles.front();
  OpenFiles.pop_front();
  if (!chosen) return false;
  file = *chosen;
  return true;
}

bool TScriptedDialogs::ChooseColor(QColor& color, QStringList* custom) {
  ColorsShown.append(color);
  CustomShown.append(custom ? *custom : QStringList());
  if (Colors.empty()) {
    Faults << QStringLiteral("no colour to choose");
    return false;
  }
  const std::optional<QColor> chosen = Colors.front();
  Colors.pop_front();
  if (!chosen) return false;
  color = *chosen;
  return true;
}

bool TScriptedDialogs::ChooseFont(QFont& font, QColor&) {
  FontsShown.append(font);
  if (Fonts.empty()) {
    Faults << QStringLiteral("no font to choose");
    return false;
  }
  const std::optional<QFont> chosen = Fonts.front();
  Fonts.pop_front();
  if (!chosen) return false;
  font = *chosen;
  return true;
}

namespace {

int ButtonOfWord(const QString& word) {
  static const struct {
    const char* word;
    int button;
  } words[] = {{"ok", arOK},         {"cancel", arCancel}, {"abort", arAbort}, {"retry", arRetry},
               {"ignore", arIgnore}, {"yes", arYes},       {"no", arNo}};
  const QString w = word.trimmed().toLower();
  for (const auto& e : words)
    if (w == QLatin1String(e.word)) return e.button;
  bool ok = false;
  const int n = w.toInt(&ok);
  return ok ? n : arNone;
}

QString OneLine(const QString& text) {
  QString t = text;
  t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  t.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  t.replace(QLatin1Char('\r'), QLatin1String("\\n"));
  return t;
}

}  // namespace

TFileScriptedDialogs::TFileScriptedDialogs(const QString& scriptFile, const QString& transcriptFile)
    : transcript_(transcriptFile) {
  QFile f(scriptFile);
  if (!scriptFile.isEmpty() && f.open(QIODevice::ReadOnly)) {
    const QString all = QString::fromUtf8(f.readAll());
    for (QString line : all.split(QLatin1Char('\n'))) {
      if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
      answers_ << line;
    }
    // A final line break does not make one more answer.
    if (!answers_.isEmpty() && answers_.last().isEmpty()) answers_.removeLast();
  }
}

QString TFileScriptedDialogs::NextAnswer() {
  return next_ < answers_.size() ? answers_[next_++] : QString();
}

void TFileScriptedDialogs::Record(const QStringList& fields) {
  if (transcript_.isEmpty()) return;
  QStringList one;
  for (const QString& f : fields) one << OneLine(f);
  QFile f(transcript_);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  f.write((one.join(QStringLiteral(" | ")) + QLatin1Char('\n')).toUtf8());
  f.flush();
}

int TFileScriptedDialogs::AskUser(const QString& text, int kind, int buttons) {
  const int answer = AskAnswer(buttons, ButtonOfWord(NextAnswer()));
  Record({QStringLiteral("AskUser"), QString::number(kind), QString::number(buttons), QString::number(answer),
          text});
  return answer;
}

bool TFileScriptedDialogs::BrowseFolder(const QString& title, QString& folder) {
  const QString line = NextAnswer().trimmed();
  const bool chosen = line.startsWith(QLatin1Char('/'));
  Record({QStringLiteral("BrowseFolder"), title, chosen ? line : QString()});
  if (chosen) folder = line;
  return chosen;
}

bool TFileScriptedDialogs::InputName(const QString& caption, const QString& prompt, QString& value) {
  const QString line = NextAnswer();
  const bool typed = line.startsWith(QLatin1Char('='));
  Record({QStringLiteral("InputName"), caption, prompt, typed ? line.mid(1) : QString()});
  if (typed) value = line.mid(1);
  return typed;
}

bool TFileScriptedDialogs::SaveFileName(const QString& filters, QString& file, int* filter) {
  QString line = NextAnswer().trimmed();
  int index = 1;
  const int colon = line.indexOf(QLatin1Char(':'));
  if (colon > 0 && !line.startsWith(QLatin1Char('/'))) {
    bool ok = false;
    index = line.left(colon).toInt(&ok);
    if (!ok || index < 1) index = 1;
    line = line.mid(colon + 1);
  }
  const bool chosen = line.startsWith(QLatin1Char('/'));
  Record({QStringLiteral("SaveFileName"), filters, chosen ? line : QString()});
  if (!chosen) return false;
  file = line;
  if (filter) *filter = index;
  return true;
}

bool TFileScriptedDialogs::OpenFileName(const QString& filters, QString& file) {
  const QString line = NextAnswer().trimmed();
  const bool chosen = line.startsWith(QLatin1Char('/'));
  Record({QStringLiteral("OpenFileName"), filters, chosen ? line : QString()});
  if (!chosen) return false;
  file = line;
  return true;
}

std::unique_ptr<TFileScriptedDialogs> DialogScriptFromEnvironment() {
  const bool script = qEnvironmentVariableIsSet("LORVANE_DIALOG_SCRIPT");
  const bool transcript = qEnvironmentVariableIsSet("LORVANE_DIALOG_TRANSCRIPT");
  if (!script && !transcript) return nullptr;
  return std::make_unique<TFileScriptedDialogs>(qEnvironmentVariable("LORVANE_DIALOG_SCRIPT"),
                                                qEnvironmentVariable("LORVANE_DIALOG_TRANSCRIPT"));
}
