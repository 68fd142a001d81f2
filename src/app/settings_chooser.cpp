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

// The ".ini" files of the folder, letter case ignored, without subfolders, in directory order.
QStringList SettingsNames(const QString& folder) {
  QStringList names;
  QDirIterator it(folder, QDir::Files | QDir::Hidden);
  while (it.hasNext()) {
    it.next();
    const QString name = it.fileName();
    if (name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) names << name.left(name.size() - 4);
  }
  return names;
}

}  // namespace

QString ChooseSettingsFile(const QString& folder, TFileScriptedDialogs* script) {
  const QStringList names = SettingsNames(folder);
  QString dir = folder;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (script) {
    const QString answer = script->NextAnswer();
    const QString chosen = names.contains(answer) ? answer : QString();
    script->Record({QStringLiteral("fmChoixSoft"), names.join(QStringLiteral(", ")), chosen});
    return chosen.isEmpty() ? QString() : dir + chosen + QStringLiteral(".ini");
  }

  QDialog window;
  window.setObjectName(QStringLiteral("fmChoixSoft"));
  window.setWindowTitle(QStringLiteral("Choix du logiciel"));
  auto* list = new QListWidget(&window);
  list->setObjectName(QStringLiteral("ListBox1"));
  list->setAccessibleName(QStringLiteral("Choix du logiciel"));
  list->addItems(names);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(list);
  QString answer;
  QObject::connect(list, &QListWidget::itemClicked, &window, [&](QListWidgetItem* item) {
    answer = dir + item->text() + QStringLiteral(".ini");
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
