#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "cli/cli_runner.h"
#include "common/files.h"

TEST(CliInstallation, CheckAndTexts) {
  QTemporaryDir dir;
  const QString home = dir.path();
  WriteAll(home + "/lorvane.ini",
           "[lorvane]\r\ncode=donnees\r\nApercuLarge=120\r\nApercuHaut=120\r\nLangue=2\r\n");
  WriteAll(home + "/lorvane.tra",
           "10;Mes documents;My documents\r\nbtn_aide;Aide;Help\r\nmulti;a\\nb;c\\nd\r\n");
  const CliRun bad = Cli({QStringLiteral("--home"), home, QStringLiteral("check")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_TRUE(bad.out.startsWith(QStringLiteral("ERREUR : \nDOSSIER MANQUANT : ") + home + "/donnees/"))
      << bad.out.toStdString();
  for (const char* folder : {"Modeles", "Images", "Skin", "fonts"})
    QDir().mkpath(home + "/donnees/" + folder);
  for (const char* file : {"papiers_dim.csv", "papiers_gab.csv", "fiches_2.def", "mailing_2.def"})
    WriteAll(home + "/donnees/" + file, "");
  const CliRun good = Cli({QStringLiteral("--home"), home, QStringLiteral("check")});
  EXPECT_EQ(good.code, 0) << good.out.toStdString();

  EXPECT_EQ(Cli({QStringLiteral("--home"), home, QStringLiteral("text"), QStringLiteral("10")}).out,
            "My documents\n");
  EXPECT_EQ(Cli({QStringLiteral("--home"), home, QStringLiteral("text"), QStringLiteral("BTN_AIDE")}).out,
            "Help\n");
  EXPECT_EQ(Cli({QStringLiteral("--home"), home, QStringLiteral("text"), QStringLiteral("multi")}).out,
            "c\nd\n");
  EXPECT_EQ(Cli({QStringLiteral("--home"), home, QStringLiteral("text")}).code, 2);
}
