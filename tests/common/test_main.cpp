#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#ifdef LORVANE_TEST_WIDGETS
#include <QApplication>
#endif

// Font measurement and painting need a GUI application; tests run headless.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Text is measured with the project's fonts only, never with what else a machine has; programs the
  // tests start inherit it.
  qputenv("FONTCONFIG_FILE", LORVANE_FONTS_CONF);
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString dir =
        QDir::tempPath() + QStringLiteral("/lorvane-test-runtime-") + QString::number(getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
  }
#ifdef LORVANE_TEST_WIDGETS
  QApplication app(argc, argv);
#else
  QGuiApplication app(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
