// The shipped installation with a user folder of the test's own, for the printing dialogs' tests, and
// the business card they print.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

inline const QString kCard = QStringLiteral(LORVANE_TEST_DATA "/print/carte_85x54.mdl");

struct Session {
  Session() {
    TInstallationOptions options;
    options.AppDataPath = home.path();
    options.Dialogs = &dialogs;
    installation = OpenInstallation(QStringLiteral(LORVANE_SOURCE_DATA), options);
    if (installation) installation->Soft().CreateUserFolders();
  }
  QTemporaryDir home;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> installation;
};
