#include "shell/language.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

namespace {

// A language file made for each test, unloaded afterwards.
struct LanguageFixture : ::testing::Test {
  QTemporaryDir dir;
  void Load(const QByteArray& content) {
    QFile f(dir.filePath(QStringLiteral("lorvane.tra")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    MLSetProgramFolder(dir.path());
    ASSERT_TRUE(MLCreate(QStringLiteral("lorvane.tra")));
  }
  ~LanguageFixture() override {
    MLFree();
    MLSetLanguage(1);
    MLSetDebug(false);
  }
};

// A window made of named components, each with text properties and lists.
struct FakeWindow : TMLWindow {
  QString name = QStringLiteral("fmMain");
  std::map<QString, QString> window;
  std::map<QString, std::map<QString, QString>> texts;
  std::map<QString, QStringList> lists;
  QString Name() const override { return name; }
  void SetWindowText(const QString& p, const QString& v) override { window[p] = v; }
  bool HasComponent(const QString& n) const override { return texts.count(n) || lists.count(n); }
  bool SetComponentText(const QString& c, const QString& p, const QString& v) override {
    if (!texts.count(c)) return false;
    texts[c][p] = v;
    return true;
  }
  std::optional<QStringList> ListItems(const QString& c, QChar) override {
    if (!lists.count(c)) return std::nullopt;
    return lists[c];
  }
  void SetListItems(const QString& c, QChar, const QStringList& items) override { lists[c] = items; }
};

}  // namespace

TEST(Language, BeforeLoadingNumbersComeBackAsText) {
  MLFree();
  EXPECT_EQ(MLMessage(10), "10");
  EXPECT_EQ(MLText(QStringLiteral("btn_aide")), "");
}

TEST_F(LanguageFixture, NumbersKeysAndLanguages) {
  Load(
      "12;premier;first\r\n"
      "btn_aide;Aide;Help\r\n"
      "12;second;later\r\n"
      "5000;loin;far\r\n"
      "multi;un\\ndeux;one\\ntwo\r\n"
      "# a comment line\r\n"
      "vide;seul;\r\n"
      "caf\xE9;\xE9t\xE9;summer\r\n");
  EXPECT_EQ(MLMessage(12), "second");                  // the later line wins for numbers
  EXPECT_EQ(MLText(QStringLiteral("12")), "premier");  // the key search finds the earlier one
  EXPECT_EQ(MLText(QStringLiteral("BTN_AIDE")), "Aide");
  EXPECT_EQ(MLMessage(5000), "loin");  // beyond the table: searched by key
  EXPECT_EQ(MLText(QStringLiteral("multi")), "un\r\ndeux");
  EXPECT_EQ(MLText(QString::fromUtf8("café")), QString::fromUtf8("été"));
  EXPECT_EQ(MLMessage(13), "");
  MLSetLanguage(2);
  EXPECT_EQ(MLMessage(12), "later");
  EXPECT_EQ(MLText(QStringLiteral("multi")), "one\r\ntwo");
  EXPECT_EQ(MLText(QStringLiteral("vide")), "");
  MLSetDebug(true);
  EXPECT_EQ(MLText(QStringLiteral("vide")), "$seul");
  EXPECT_EQ(MLMessage(13), "@");
  // A second load is refused while one is loaded.
  EXPECT_FALSE(MLCreate(QStringLiteral("lorvane.tra")));
}

TEST_F(LanguageFixture, WindowsTakeTheirLines) {
  Load(
      "fmMain.Caption;Catalogue;Catalog\r\n"
      "fmMain.bQuitter.Caption;Quitter;Quit\r\n"
      "fmMain.bQuitter.Hint;Fermer;\r\n"
      "fmMain.lbChoix.L 2;troisi\xE8me;third\r\n"
      "fmMain.lbChoix.L x;premier;first\r\n"
      "fmMain.lbChoix.L 1655500550;loin;far\r\n"
      "fmMain.absent.Caption;rien;nothing\r\n"
      "fmMainX.bQuitter.Caption;autre;other\r\n"
      "fmmain.bQuitter.Caption;casse;case\r\n");
  FakeWindow w;
  w.name = QStringLiteral("fmMain_2");  // a second instance shares the lines
  w.texts[QStringLiteral("bQuitter")];
  w.lists[QStringLiteral("lbChoix")] = {};
  MLSetLanguage(2);
  MLSetDebug(true);
  MLTranslateWindow(w);
  EXPECT_EQ(w.window[QStringLiteral("Caption")], "Catalog");
  EXPECT_EQ(w.texts[QStringLiteral("bQuitter")][QStringLiteral("Caption")], "Quit");
  EXPECT_EQ(w.texts[QStringLiteral("bQuitter")][QStringLiteral("Hint")], "#Fermer");
  EXPECT_EQ(w.lists[QStringLiteral("lbChoix")], (QStringList{"first", "", "third"}));

  FakeWindow untouched;
  untouched.texts[QStringLiteral("bQuitter")];
  MLSetLanguage(0);
  MLTranslateWindow(untouched);
  EXPECT_TRUE(untouched.window.empty());
  EXPECT_TRUE(untouched.texts[QStringLiteral("bQuitter")].empty());
}

TEST_F(LanguageFixture, MissingFileGivesEmptyTexts) {
  MLSetProgramFolder(dir.path());
  EXPECT_FALSE(MLCreate(QStringLiteral("absent.tra")));
  EXPECT_EQ(MLMessage(10), "");
}

TEST_F(LanguageFixture, HostileLanguageFiles) {
  QByteArray big;
  for (int i = 0; i < 100000; ++i)
    big += "cle" + QByteArray::number(i) + ";texte " + QByteArray::number(i) + "\r\n";
  big += "2999;dernier\r\n0;zero\r\n-5;negatif\r\n3000;hors table\r\n";
  Load(big);
  EXPECT_EQ(MLText(QStringLiteral("CLE99999")), "texte 99999");
  EXPECT_EQ(MLMessage(2999), "dernier");
  EXPECT_EQ(MLMessage(3000), "hors table");
  EXPECT_EQ(MLMessage(-5), "negatif");
  MLFree();
  QByteArray junk(1 << 16, '\0');
  for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) & 0xFF);
  Load(junk);
  MLText(QStringLiteral("x"));
  MLMessage(1);
  FakeWindow w;
  MLTranslateWindow(w);
  MLFree();
  Load(QByteArray());
  EXPECT_EQ(MLMessage(10), "");
}
