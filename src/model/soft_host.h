// The running application as documents see it: the settings object, the language file and the
// user's special folders.
#pragma once

#include <functional>

#include "model/host.h"

class TzunoCADMdl;
class TSoft;

class TSoftHost : public TObjectHost {
 public:
  QString ReadSoftString(const QString& key) override;
  int ReadSoftInteger(const QString& key) override;
  QString DataPath() override;
  QString Text(const QString& key, const QString& fallback) override;
  void ShowMessage(const QString& text) override;
  QList<QPair<QString, QString>> ShellFolders() override;
  QSizeF SupportSize(const QString& support) override;

  // Where messages go (a message box in the program, standard error in the tool).
  std::function<void(const QString&)> OnMessage;
};

// Printable size in millimetres of a support ("mmlarge", "mmhaut" of its row in the supports table);
// (0, 0) when the table does not exist or has no such row.
QSizeF SupportSize(const TSoft& soft, const QString& support);

// Lets a document find its pictures and fill its merge fields through the settings object.
void ConnectToSoft(TzunoCADMdl& document);
