// The shipped language file answers every message and key the program looks up, in both languages.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include "shell/language.h"
#include "shell/textfile.h"

namespace {

const QString kHome = QStringLiteral(LORVANE_SOURCE_DATA);

// Message numbers the program shows. Kept by hand: grown from the lookups in the code and from the
// list of messages each window and wizard is documented to show.
const int kMessages[] = {
    10,  11,  13,   14,                                              // user folders
    101, 102, 103,  107,  108,  111,  112,                           // catalogue and face previews
    301, 302, 303,  304,  305,  306,  307,                           // saving, closing, name box
    401, 402, 403,  404,  405,  406,  407, 408, 409,                 // editor status bar
    410, 411, 412,  413,  414,  420,  421,                           // editing actions, field menus
    501, 502, 503,  580,  581,  582,  583,                           // address cards
    600, 603, 610,  611,  614,  615,  626, 630, 631, 632, 640, 641,  // printing and calibration
    650, 651, 652,  653,  654,                                       //
    701, 702, 750,  751,  752,                                       // wizards
    801, 802, 803,  804,  805,  806,  807,                           // image effects
    901, 902, 1000, 1002, 1003, 1004,                                // mailing, start-up, labels
};

QStringList Keys() {
  QStringList keys = {
      "ChampDef1",
      "ChampDef2",
      "ChampDef3",
      "fmFiche.e101.Hint",
      "fmFiche.e102.Hint",
      "cdArtiste",
      "cdAlbum",
      "cdAnnée",
      "cdGenre",
      "cdTitres",
      "btn_nouveau",
      "btn_fiche",
      "btn_infos",
      "btn_web",
      "btn_aide",
      "btn_quitter",
      "btn_edit",
      "btn_enregistrer",
      "btn_annuler",
      "btn_imprimer",
      "btn_retour",
      "SupprimerObjet",
      "panel_modele",
      "panel_action",
      "panel_variante",
      "panel_album",
      "panel_gabarit",
      "panel_texte",
      "panel_image",
      "panel_couleur",
      "panel_format",
      "panel_groupe",
      "panel_calque",
      "panel_position",
      "panel_support",
      "panel_mirroir",
      "panel_boutons",
      "panel_carte",
      "panel_masque",
      "CAD_TXT_DEFAUT",
      "CAD_TXT_IMG1",
      "CAD_TXT_IMG2",
      "CAD_TXT_IMG3",
      "CAD_TXT_PASMDL",
      "CAD_TXT_SUPP",
      "AssistantDVD1",
      "AssistantDVD2",
      "AssistantDVD3",
      "AssistantDVD4",
      "AssistantFondTitre",
      "AssistantFondSousTitre",
      "AssistantEtiquetteTitre",
      "AssistantEtiquetteSousTitre",
      "bOK",
      "bSuivant",
      "bTermine",
      "wizard_dimension",
      "wizard_modele",
      "wizard_dvd",
      "wizard_support",
      "wizard_scrap",
      "wizard_etiquette",
      "wizard_fond",
      "aide_pdf",
      "aide_video",
      "aide_glossaire",
      "aide_demo",
      "ImprimerFormat1",
      "ImprimerFormat2",
      "PixmaniaFolder",
  };
  for (int step = 1; step <= 3; ++step)
    for (int t = 1; t <= 2; ++t) keys << QStringLiteral("fmAssistantScrap.Etape%1.Titre%2").arg(step).arg(t);
  for (int kind = 1; kind <= 6; ++kind)
    for (int spin = 1; spin <= 3; ++spin) keys << QStringLiteral("DVD%1-%2").arg(kind).arg(spin);
  for (const char* type : {"rect", "rectangle", "texte", "image", "groupe", "perforatrice", "tampon", "cadre",
                           "cal", "forme", "codebarre", "arbo", "ligne", "repere"})
    keys << QStringLiteral("layer_") + QLatin1String(type);
  // One caption per node of the effect tree: seven effects, nine categories and their 46 effects.
  for (int node = 0; node < 62; ++node) keys << QStringLiteral("FX%1").arg(node);
  return keys;
}

struct LanguageFile : ::testing::Test {
  void SetUp() override {
    MLFree();
    MLSetProgramFolder(kHome);
    ASSERT_TRUE(MLCreate(QStringLiteral("lorvane.tra")));
  }
  void TearDown() override {
    MLSetLanguage(1);
    MLSetDebug(false);
    MLFree();
  }
};

TEST_F(LanguageFile, EveryMessageAndKeyHasBothLanguages) {
  const QStringList keys = Keys();
  for (int language : {1, 2}) {
    MLSetLanguage(language);
    for (int n : kMessages)
      EXPECT_FALSE(MLMessage(n).trimmed().isEmpty()) << "message " << n << ", language " << language;
    for (const QString& key : keys)
      EXPECT_FALSE(MLText(key).trimmed().isEmpty()) << key.toStdString() << ", language " << language;
  }
}

TEST_F(LanguageFile, FormatsHoldTheirPlaceholders) {
  auto count = [](const QString& text, const char* what) { return text.count(QLatin1String(what)); };
  for (int language : {1, 2}) {
    MLSetLanguage(language);
    for (int n : {103, 107, 108, 304, 305, 902}) EXPECT_EQ(count(MLMessage(n), "%s"), 1) << n;
    for (const char* key : {"CAD_TXT_IMG2", "CAD_TXT_IMG3"})
      EXPECT_EQ(count(MLText(QString::fromLatin1(key)), "%s"), 1) << key;
    for (int n : {650, 651}) EXPECT_EQ(count(MLMessage(n), "%d"), 1) << n;
    // Name, width, height, in that order.
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[^%]*%s[^%]*%f[^%]*%f[^%]*$")).match(MLMessage(750)).hasMatch());
    // Texts shown as they are must not carry a stray placeholder.
    for (int n : {301, 302, 303, 581, 654, 1000}) EXPECT_FALSE(MLMessage(n).contains(QLatin1Char('%'))) << n;
  }
}

TEST_F(LanguageFile, NamesThatBecomeFilesAreValidFileNames) {
  const QRegularExpression bad(QStringLiteral("[\\\\/:*?\"<>|]"));
  for (int language : {1, 2}) {
    MLSetLanguage(language);
    QStringList names;
    for (int n : {10, 11, 13, 14, 301, 751}) names << MLMessage(n);
    names << MLText(QStringLiteral("PixmaniaFolder"))
          << MLMessage(902).replace(QLatin1String("%s"), QLatin1String("2"));
    for (const QString& name : names) {
      EXPECT_FALSE(name.contains(bad)) << name.toStdString();
      EXPECT_EQ(name, name.trimmed()) << name.toStdString();
    }
  }
}

TEST_F(LanguageFile, DefaultCardNameAndTagsAgree) {
  for (int language : {1, 2}) {
    MLSetLanguage(language);
    // A new card's display name is surname, blank, first name: the add command compares it with 503.
    EXPECT_EQ(MLMessage(503), MLMessage(501) + QLatin1Char(' ') + MLMessage(502));
    // Tags are shared by every language because templates carry them.
    for (const char* key : {"ChampDef1", "ChampDef2", "ChampDef3", "fmFiche.e101.Hint", "fmFiche.e102.Hint",
                            "cdArtiste", "cdAlbum", "cdAnnée", "cdGenre", "cdTitres"}) {
      const QString tag = MLText(QString::fromUtf8(key));
      EXPECT_TRUE(tag.startsWith(QLatin1Char('<')) && tag.endsWith(QLatin1Char('>'))) << key;
      MLSetLanguage(1);
      EXPECT_EQ(tag, MLText(QString::fromUtf8(key))) << key;
      MLSetLanguage(language);
    }
  }
  MLSetLanguage(1);
  EXPECT_EQ(MLText(QStringLiteral("fmFiche.e101.Hint")), QString::fromUtf8("<Nom>"));
  EXPECT_EQ(MLText(QStringLiteral("fmFiche.e102.Hint")), QString::fromUtf8("<Prénom>"));
}

TEST(LanguageFileLines, KeysAreUniqueAndLinesHoldTwoLanguages) {
  QStringList lines;
  ASSERT_TRUE(ReadTextFile(kHome + QStringLiteral("/lorvane.tra"), lines));
  QSet<QString> seen;
  for (const QString& line : lines) {
    if (!line.contains(QLatin1Char(';'))) continue;
    const QStringList fields = line.split(QLatin1Char(';'));
    EXPECT_EQ(fields.size(), 3) << line.toStdString();
    const QString key = fields[0].toLower();
    EXPECT_FALSE(seen.contains(key)) << "key twice: " << fields[0].toStdString();
    seen.insert(key);
  }
}

}  // namespace
