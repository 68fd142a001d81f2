// The shipped installation opened as the program opens it: its settings, language file and paths,
// with a throw-away per-user folder.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "shell/language.h"
#include "shell/settings.h"

inline const QString kInstallationHome = QStringLiteral(LORVANE_SOURCE_DATA);

struct InstallationFixture : ::testing::Test {
  QTemporaryDir appData;
  std::unique_ptr<TSoft> soft;
  void SetUp() override {
    MLFree();
    soft = std::make_unique<TSoft>(kInstallationHome + QStringLiteral("/lorvane.ini"),
                                   TSoftOptions{kInstallationHome, appData.path(), {}});
    MLSetProgramFolder(kInstallationHome);
    ASSERT_TRUE(MLCreate(QStringLiteral("lorvane.tra")));
    MLSetLanguage(soft->Language());
    soft->InitialisePaths();
  }
  void TearDown() override { MLFree(); }
};
