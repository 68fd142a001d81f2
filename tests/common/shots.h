// Pictures of windows for people to look at: written to the folder LORVANE_SHOTS names, when it does.
#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

inline void Shot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("LORVANE_SHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  widget.grab().save(QDir(folder).filePath(name));
}
