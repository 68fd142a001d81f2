// Qt's own texts (standard buttons, file and colour dialogs) and the shell's windows follow the
// installation's language.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include "common/files.h"
#include "common/shots.h"
#include "shell/session/installation.h"
#include "shell/ui/about_box.h"

TEST(QtTranslations, FollowTheInstallationLanguage) {
  QTemporaryDir dir;
  const QString home = dir.filePath(QStringLiteral("home"));
  // The shipped language file: its locales and the about box's caption.
  ASSERT_TRUE(QDir().mkpath(home));
  ASSERT_TRUE(QFile::copy(QStringLiteral(LORVANE_SOURCE_DATA "/lorvane.tra"), home + "/lorvane.tra"));
  auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
  const struct {
    const char* language;
    const char* suffix;
    const char* cancel;
    const char* saveAs;
    const char* about;
  } cases[] = {{"1", "fr", "Annuler", "Enregistrer sous", "A propos"},
               {"2", "en", "Cancel", "Save As", "About"}};
  for (const auto& c : cases) {
    WriteAll(home + "/lorvane.ini", QByteArray("[lorvane]\r\ncode=donnees\r\nLangue=") + c.language + "\r\n");
    TInstallationOptions options;
    options.AppDataPath = dir.filePath(QStringLiteral("appdata"));
    options.Fonts = false;
    QString error;
    std::unique_ptr<TInstallation> installation = OpenInstallation(home, options, &error);
    ASSERT_TRUE(installation) << error.toStdString();
    EXPECT_EQ(cancel(), QString::fromUtf8(c.cancel)) << c.language;
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QString::fromUtf8(c.saveAs))
        << c.language;

    QMessageBox box(QMessageBox::Question, QStringLiteral("Lorvane"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8(c.cancel)) << c.language;
    box.show();
    Shot(box, QStringLiteral("qt-buttons-%1.png").arg(QLatin1String(c.suffix)));
    TzunoAboutDialog about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8(c.about)) << c.language;

    installation.reset();
    // The translations end with the installation.
    EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
  }
}
