// What drawing objects ask of the running application: installation settings, language texts,
// message boxes and shell folders. Without a host (tests, the headless tool) objects behave as the
// program does before its settings are read: no limits, no default models, built-in texts.
#pragma once

#include <QList>
#include <QPair>
#include <QSizeF>
#include <QString>
#include <functional>

class TObjectHost {
 public:
  virtual ~TObjectHost() = default;
  // Installation settings; a missing integer reads as -1.
  virtual QString ReadSoftString(const QString& key) = 0;
  virtual int ReadSoftInteger(const QString& key) = 0;
  // Installation data folder, ending with "/".
  virtual QString DataPath() = 0;
  // Language-file text by key, or the fallback when the key has no text.
  virtual QString Text(const QString& key, const QString& fallback) = 0;
  virtual void ShowMessage(const QString& text) = 0;
  // The user's special folders as (name, path) pairs, paths without a trailing separator.
  virtual QList<QPair<QString, QString>> ShellFolders() = 0;
  // Printable size in millimetres of a support picture; (0, 0) when unknown.
  virtual QSizeF SupportSize(const QString& support) = 0;
};

TObjectHost* ObjectHost();
void SetObjectHost(TObjectHost* host);

// Language text through the host, or the fallback without one.
QString HostText(const QString& key, const QString& fallback);

// Objects' messages: the host's message boxes belong to the UI thread, so a thread that loads or
// draws documents for itself (previews) catches them while a TMessageCatcher of its own lives.
void HostMessage(const QString& text);

class TMessageCatcher {
 public:
  explicit TMessageCatcher(std::function<void(const QString&)> sink);
  ~TMessageCatcher();
  TMessageCatcher(const TMessageCatcher&) = delete;
  TMessageCatcher& operator=(const TMessageCatcher&) = delete;

 private:
  friend void HostMessage(const QString& text);
  std::function<void(const QString&)> sink_;
  TMessageCatcher* outer_;
};
