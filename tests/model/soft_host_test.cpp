#include "model/soft_host.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/settings.h"

TEST(SoftHost, SupportSizesFromTheSupportsTable) {
  QTemporaryDir dir;
  const QString home = dir.path();
  QDir().mkpath(home + "/data");
  auto write = [](const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  };
  write(home + "/lorvane.ini", "[lorvane]\r\ncode=data\r\n");
  TSoft soft(home + "/lorvane.ini", TSoftOptions{home, home + "/user", {}});
  soft.InitialisePaths();
  EXPECT_EQ(SupportSize(soft, QStringLiteral("boitier")), QSizeF(0, 0));  // no table
  write(home + "/data/Supports.csv", "support;mmlarge;mmhaut\r\nBoitier;120,5;118\r\ntshirt;300;x\r\n");
  EXPECT_EQ(SupportSize(soft, QStringLiteral("boitier")), QSizeF(120.5, 118));
  EXPECT_EQ(SupportSize(soft, QStringLiteral("tshirt")), QSizeF(300, 0));
  EXPECT_EQ(SupportSize(soft, QStringLiteral("absent")), QSizeF(0, 0));
}
