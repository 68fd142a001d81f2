// The language file's window lines applied to a real window: components are found by object name
// (letter case ignored) among the window's descendants, widgets and actions alike.
#pragma once

#include "shell/language.h"

class QObject;
class QWidget;

class TQtMLWindow : public TMLWindow {
 public:
  explicit TQtMLWindow(QWidget* window) : window_(window) {}
  QString Name() const override;
  void SetWindowText(const QString& property, const QString& value) override;
  bool HasComponent(const QString& name) const override;
  bool SetComponentText(const QString& component, const QString& property, const QString& value) override;
  std::optional<QStringList> ListItems(const QString& component, QChar kind) override;
  void SetListItems(const QString& component, QChar kind, const QStringList& items) override;

  QObject* Component(const QString& name) const;

 private:
  QWidget* window_;
};

// Translates the window by the lines of its object name (see MLTranslateWindow).
void TranslateWidget(QWidget* window);
