// The small pictures kept in the test data, by name.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

inline QString Fixture(const char* name) {
  return QStringLiteral(LORVANE_TEST_DATA "/pictures/") + QString::fromLatin1(name);
}

inline QByteArray Bytes(const char* name) {
  QFile f(Fixture(name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
  return f.readAll();
}

// The picture a fixture was made from, as 24-bit pixels.
inline QImage Source(const char* name) {
  return QImage(Fixture(name)).convertToFormat(QImage::Format_RGB888);
}
