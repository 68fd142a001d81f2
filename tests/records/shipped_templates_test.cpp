// Every shipped template asks its merge fields of a fresh installation: none of the address-card
// fields it uses may come back blank.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>
#include <iostream>

#include "model/document.h"
#include "shell/session/installation.h"
#include "shell/settings.h"

namespace {

// The merge fields each shipped template asks for while it loads and lays out its texts.
QList<QPair<QString, QStringList>> FieldsAsked(const TInstallation& in) {
  QList<QPair<QString, QStringList>> out;
  QDirIterator it(in.Soft().ModelesPath, {QStringLiteral("*.mdl")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    TzunoCADMdl doc(nullptr, QRect(0, 0, 400, 300), 100, 100);
    in.Connect(doc);
    QStringList asked;
    doc.OnChampFusion = [&asked](TzunoCADObj*, const QString& field, QString&) {
      if (!field.isEmpty() && !asked.contains(field)) asked << field;
    };
    if (!doc.LoadFromFile(file)) continue;
    doc.RelayoutTextes();
    out.append({QFileInfo(file).fileName(), asked});
  }
  return out;
}

struct Blanks {
  int withCardFields = 0;
  int blankCard = 0;  // templates with at least one blank address-card field
  int blankAny = 0;   // templates with at least one blank field of any kind
  QStringList examples;
};

Blanks CountBlanks(TSoft& soft, const QList<QPair<QString, QStringList>>& templates) {
  Blanks b;
  for (const auto& [name, fields] : templates) {
    bool card = false, blankCard = false, blankAny = false;
    for (const QString& field : fields) {
      const bool isCard = !field.startsWith(QLatin1String("cd"));
      card |= isCard;
      if (!soft.FieldValue(field).isEmpty()) continue;
      blankAny = true;
      if (isCard) {
        blankCard = true;
        if (b.examples.size() < 5) b.examples << name + ": " + field;
      }
    }
    b.withCardFields += card;
    b.blankCard += blankCard;
    b.blankAny += blankAny;
  }
  return b;
}

}  // namespace

TEST(ShippedTemplates, AddressCardFieldsAreNeverBlankOnAFreshInstallation) {
  QTemporaryDir user;
  TInstallationOptions options;
  options.AppDataPath = user.path();
  options.Fonts = false;
  auto in = OpenInstallation(QStringLiteral(LORVANE_SOURCE_DATA), options);
  ASSERT_TRUE(in);
  const auto templates = FieldsAsked(*in);
  TSoft& soft = in->Soft();
  const Blanks after = CountBlanks(soft, templates);
  TFieldSource* fields = soft.Fields;
  soft.Fields = nullptr;  // as before the address cards answered
  const Blanks before = CountBlanks(soft, templates);
  soft.Fields = fields;
  std::cout << "templates " << templates.size() << ", using card fields " << after.withCardFields
            << "; blank card fields before " << before.blankCard << ", after " << after.blankCard
            << "; blank fields of any kind before " << before.blankAny << ", after " << after.blankAny
            << "\n";
  EXPECT_EQ(templates.size(), 147);
  EXPECT_GT(before.blankCard, 0);
  EXPECT_EQ(after.blankCard, 0) << after.examples.join(", ").toStdString();
}
