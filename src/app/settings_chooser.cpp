#include "app/settings_chooser.h"

#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/user_dialogs.h"

namespace {

// The ".ini" files of the folder, letter case ignored, without subfolders, in directory order: the
// names shown and the files they stand for (".INI" stays as spelled on disk).
struct Entries {
  QStringList names, files;
};

Entries SettingsNames(const QString& folder) {
  Entries e;
  QDirIterator it(folder, QDir::Files | QDir::Hidden);
  while (it.hasNext()) {
    it.next();
    const QString name = it.fileName();
    if (!name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) continue;
    e.names << name.left(name.size() - 4);
    e.files << it.filePath();
  }
  return e;
}

}  // namespace

QString ChooseSettingsFile(const QString& folder, TFileScriptedDialogs* script) {
  const Entries entries = SettingsNames(folder);
  if (script) {
    const qsizetype i = entries.names.indexOf(script->NextAnswer());
    script->Record({QStringLiteral("fmChoixSoft"), entries.names.join(QStringLiteral(", ")),
                    i >= 0 ? entries.names[i] : QString()});
    return i >= 0 ? entries.files[i] : QString();
  }

  QDialog window;
  window.setObjectName(QStringLiteral("fmChoixSoft"));
  window.setWindowTitle(QStringLiteral("Choix du logiciel"));
  auto* list = new QListWidget(&window);
  list->setObjectName(QStringLiteral("ListBox1"));
  list->setAccessibleName(QStringLiteral("Choix du logiciel"));
  list->addItems(entries.names);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(list);
  QString answer;
  QObject::connect(list, &QListWidget::itemClicked, &window, [&](QListWidgetItem* item) {
    answer = entries.files.value(list->row(item));
    window.accept();
  });
  // Enter on the keyboard's current entry is a click too.
  QObject::connect(list, &QListWidget::itemActivated, list, &QListWidget::itemClicked);
  window.resize(320, 240);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window.move(screen->geometry().center() - window.rect().center());
  window.exec();
  return answer;
}
