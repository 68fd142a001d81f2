#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "shell/ui/zuno_spin.h"

namespace {

// Types the characters one key at a time, as a person would.
void Type(TzunoSpin& spin, const QString& keys) {
  for (QChar c : keys) QTest::keyClicks(spin.Edit(), QString(c));
}

}  // namespace

TEST(Spin, StartsAt123456WithFourDecimalsAndKeepsItsHeight) {
  TzunoSpin spin;
  EXPECT_DOUBLE_EQ(spin.Value(), 123.456);
  EXPECT_EQ(spin.Edit()->text(), "123,456");
  EXPECT_EQ(spin.ValueInt(), 123);
  spin.show();
  spin.resize(100, 40);
  EXPECT_EQ(spin.height(), 21);
  EXPECT_EQ(spin.Edit()->width(), 86);
  EXPECT_EQ(spin.UpButton()->x(), 86);
  spin.SetValue(1.0 / 3.0);
  EXPECT_EQ(spin.Edit()->text(), "0,3333");
  spin.SetValue(-2.5);
  EXPECT_EQ(spin.ValueInt(), -3);  // halves away from zero
}

TEST(Spin, TypingRules) {
  struct Case {
    bool canReal;
    const char* keys;
    const char* text;
    double value;
  } cases[] = {
      {false, "1.5", "15", 15},       // no decimal separator for whole numbers
      {true, "1.5", "1,5", 1.5},      // "." becomes ","
      {true, "1,2,3", "1,23", 1.23},  // one separator only
      {true, "-4-", "-4", -4},        // "-" only at the start, once
      {true, "4-", "4", 4},           // caret not at the start
      {true, "7a b+", "7", 7},        // letters and signs dropped
  };
  for (const Case& c : cases) {
    TzunoSpin spin;
    spin.SetCanReal(c.canReal);
    spin.Edit()->clear();
    Type(spin, QString::fromLatin1(c.keys));
    EXPECT_EQ(spin.Edit()->text(), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_DOUBLE_EQ(spin.Value(), c.value) << c.keys;
  }
}

TEST(Spin, BoundsApplyOnlyWhenOneIsSet) {
  TzunoSpin spin;
  int changes = 0;
  spin.OnChange = [&](TzunoSpin*) { ++changes; };
  spin.SetValMin(1);
  spin.SetValMax(100);
  spin.SetValue(0);
  EXPECT_EQ(spin.Value(), 1);
  EXPECT_EQ(spin.Edit()->text(), "1");
  spin.SetValue(250);
  EXPECT_EQ(spin.Value(), 100);
  EXPECT_EQ(spin.Edit()->text(), "100");
  // Typed text beyond a bound is replaced by the bound, and the change is told once.
  spin.Edit()->clear();
  changes = 0;
  Type(spin, QStringLiteral("5"));
  EXPECT_EQ(changes, 1);
  Type(spin, QStringLiteral("00"));
  EXPECT_EQ(spin.Edit()->text(), "100");
  EXPECT_EQ(spin.Value(), 100);
  EXPECT_EQ(changes, 3);

  TzunoSpin free;
  free.SetValue(-1e6);
  EXPECT_EQ(free.Value(), -1e6);
  free.SetValue(250);
  EXPECT_EQ(free.Value(), 250);
  // The up and down buttons add and take 1.
  free.UpButton()->click();
  EXPECT_EQ(free.Edit()->text(), "251");
  free.DownButton()->click();
  free.DownButton()->click();
  EXPECT_EQ(free.Value(), 249);
}

TEST(Spin, TextThatIsNoNumberTurnsRedAndKeepsTheValue) {
  TzunoSpin spin;
  spin.SetValue(12);
  spin.Edit()->clear();
  EXPECT_EQ(spin.Value(), 0);  // an empty text is 0
  Type(spin, QStringLiteral("-"));
  EXPECT_TRUE(spin.Invalid());
  EXPECT_EQ(spin.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(spin.Value(), 0);
  Type(spin, QStringLiteral("3"));
  EXPECT_FALSE(spin.Invalid());
  EXPECT_NE(spin.Edit()->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(spin.Value(), -3);
  // Pasted text is checked the same way.
  spin.Edit()->setText(QStringLiteral("1,2,3"));
  EXPECT_TRUE(spin.Invalid());
  EXPECT_EQ(spin.Value(), -3);
}
