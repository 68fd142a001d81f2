#include "model/host.h"

namespace {
TObjectHost* g_host = nullptr;
thread_local TMessageCatcher* t_catcher = nullptr;
}  // namespace

TObjectHost* ObjectHost() {
  return g_host;
}
void SetObjectHost(TObjectHost* host) {
  g_host = host;
}

QString HostText(const QString& key, const QString& fallback) {
  return g_host ? g_host->Text(key, fallback) : fallback;
}

TMessageCatcher::TMessageCatcher(std::function<void(const QString&)> sink)
    : sink_(std::move(sink)), outer_(t_catcher) {
  t_catcher = this;
}
TMessageCatcher::~TMessageCatcher() {
  t_catcher = outer_;
}

void HostMessage(const QString& text) {
  if (t_catcher) {
    if (t_catcher->sink_) t_catcher->sink_(text);
  } else if (g_host) {
    g_host->ShowMessage(text);
  }
}
