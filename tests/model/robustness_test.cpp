#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/kinds.h"

namespace {

std::unique_ptr<TzunoCADMdl> NewDoc() {
  return std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  return path;
}

}  // namespace

TEST(Robustness, BinaryGarbageLoads) {
  QTemporaryDir dir;
  std::mt19937 rng(1);
  QByteArray junk(1 << 20, '\0');
  for (char& c : junk) c = static_cast<char>(rng());
  // Sprinkle face and object lines so the reader really walks blocks of garbage.
  junk.append(
      "\r\nFace=1\r\n  Objet=1\r\n    Name=texte\r\n    txt=\x01\xFF<\r\n    Font=,,,\r\n  End\r\nEnd\r\n");
  auto d = NewDoc();
  ASSERT_TRUE(d->LoadFromFile(WriteFile(dir, "junk.mdl", junk)));
  EXPECT_EQ(d->Count(), 1);
  ASSERT_TRUE(d->SaveToFile(dir.filePath(QStringLiteral("junk2.mdl"))));
}

TEST(Robustness, FiftyMegabytesOnOneLine) {
  QTemporaryDir dir;
  QByteArray big = "Large=";
  big.append(QByteArray(50 << 20, '7'));
  QElapsedTimer timer;
  timer.start();
  auto d = NewDoc();
  ASSERT_TRUE(d->LoadFromFile(WriteFile(dir, "big.mdl", big)));
  EXPECT_TRUE(std::isfinite(d->Large));
  EXPECT_EQ(d->Count(), 0);
}

TEST(Robustness, AbsurdNumbersEverywhere) {
  const char* values[] = {"1e308",     "-0",  "$FFFFFFFF", "99999999999999999999999",
                          "-1,5e-400", "NaN", "inf",       "$",
                          "--3",       ",",   "0x1p5",     "12,5,6;7|8"};
  for (const char* v : values) {
    QStringList lines{QStringLiteral("Large=%1").arg(v), QStringLiteral("Haut=%1").arg(v), QString(),
                      QStringLiteral("Face=1")};
    for (const char* kind : kObjectTypeNames) {
      lines << QStringLiteral("  Objet=1") << QStringLiteral("    Name=%1").arg(kind);
      for (const char* key : {"Face",     "x",       "y",        "l",      "h",     "r",
                              "Pen",      "Brush",   "Font",     "Cote",   "p",     "FormeLarge",
                              "position", "Bordure", "CropX1",   "Mois",   "Annee", "CoinChiffres",
                              "DepthMax", "Column",  "mirroirx", "Aligne", "txt",   "Tag"})
        lines << QStringLiteral("    %1=%2").arg(key, v);
      lines << QStringLiteral("  End");
    }
    lines << QStringLiteral("End");
    auto d = NewDoc();
    d->LoadFromStrings(lines);
    EXPECT_EQ(d->Count(), 14) << v;
    for (const auto& o : d->Objets())
      if (o->IsBox()) {
        auto* b = static_cast<TzunoCADRect*>(o.get());
        EXPECT_TRUE(std::isfinite(b->x) && std::isfinite(b->l) && std::isfinite(b->r)) << v;
      }
    const QStringList once = d->SaveToStrings();
    auto e = NewDoc();
    e->LoadFromStrings(once);
    EXPECT_EQ(e->SaveToStrings(), once) << v;
  }
}

TEST(Robustness, AMillionObjects) {
  QStringList lines{QStringLiteral("Large=100"), QStringLiteral("Haut=100"), QString(),
                    QStringLiteral("Face=1")};
  constexpr int kObjects = 1000000;
  lines.reserve(kObjects * 3 + 8);
  for (int i = 1; i <= kObjects; ++i)
    lines << QStringLiteral("  Objet=%1").arg(i) << QStringLiteral("    Name=rect")
          << QStringLiteral("  End");
  lines << QStringLiteral("End");
  auto d = NewDoc();
  d->LoadFromStrings(lines);
  EXPECT_EQ(d->Count(), kObjects);
  const QStringList& out = d->SaveToStrings();
  EXPECT_EQ(out.count(QStringLiteral("  End")), kObjects);
}

TEST(Robustness, BlocksWithoutEndsStayApart) {
  // Members without "  End" must not swallow each other (nor take quadratic time).
  QStringList lines{QStringLiteral("Face=1")};
  for (int i = 0; i < 20000; ++i) lines << QStringLiteral("  Objet=1") << QStringLiteral("    Name=rect");
  auto d = NewDoc();
  d->LoadFromStrings(lines);
  EXPECT_EQ(d->Count(), 20000);
}

TEST(Robustness, TextWithoutEmptyLineDoesNotGrowOnSave) {
  auto d = NewDoc();
  d->LoadFromStrings({QStringLiteral("Large=10"), QStringLiteral("Face=1"), QStringLiteral("  Objet=1"),
                      QStringLiteral("    Name=rect"), QStringLiteral("  End"), QStringLiteral("End")});
  ASSERT_EQ(d->Count(), 1);
  const QStringList once = d->SaveToStrings();
  auto e = NewDoc();
  e->LoadFromStrings(once);
  EXPECT_EQ(e->Count(), 1);
  EXPECT_EQ(e->SaveToStrings(), once);
}
