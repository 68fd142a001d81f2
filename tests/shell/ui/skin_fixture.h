// A skin folder made for a test: a definition file and solid-colour pictures.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "common/files.h"
#include "render/codecs.h"
#include "shell/language.h"
#include "shell/settings.h"

struct SkinFixture : ::testing::Test {
  QTemporaryDir dir;
  QString folder;  // ends with "/"
  std::unique_ptr<TSoft> soft;

  SkinFixture() { folder = dir.path() + QStringLiteral("/skin/"); }
  ~SkinFixture() override {
    SetSoft(nullptr);
    MLFree();
    MLSetLanguage(1);
  }
  QString SkinFile() const { return folder + QStringLiteral("skin.txt"); }
  void WriteSkin(const QByteArray& text) { WriteAll(SkinFile(), text); }
  // A picture of one colour (BMP, or PNG by its name), optionally with a magenta top-left corner block.
  void Picture(const QString& name, QSize size, QColor color, bool magentaCorner = false) {
    QImage img(size, QImage::Format_RGB888);
    img.fill(color);
    if (magentaCorner)
      for (int y = 0; y < size.height() / 2; ++y)
        for (int x = 0; x < size.width() / 2; ++x) img.setPixelColor(x, y, QColor(255, 0, 255));
    WriteAll(folder + name, QByteArray());
    if (name.endsWith(QStringLiteral(".png")))
      ASSERT_TRUE(img.save(folder + name, "PNG")) << name.toStdString();
    else
      ASSERT_TRUE(SaveBmp(img, folder + name)) << name.toStdString();
  }
  // A settings object whose skin folder is the fixture's; "debug" as the first argument sets Debug.
  TSoft& Settings(bool debug) {
    const QString home = dir.path() + QStringLiteral("/home");
    WriteAll(home + QStringLiteral("/lorvane.ini"), "[lorvane]\r\ncode=data\r\nskin_panel=panel.bmp\r\n");
    QStringList args;
    if (debug) args << QStringLiteral("debug");
    soft = std::make_unique<TSoft>(
        home + QStringLiteral("/lorvane.ini"),
        TSoftOptions{home + QStringLiteral("/"), dir.path() + QStringLiteral("/user"), args});
    soft->SkinPath = folder;
    soft->SkinFile = SkinFile();
    SetSoft(soft.get());
    return *soft;
  }
};
