#include "model/host.h"

namespace {
TObjectHost* g_host = nullptr;
}

TObjectHost* ObjectHost() {
  return g_host;
}
void SetObjectHost(TObjectHost* host) {
  g_host = host;
}

QString HostText(const QString& key, const QString& fallback) {
  return g_host ? g_host->Text(key, fallback) : fallback;
}
