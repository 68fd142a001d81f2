// The predefined text library read from its table: which lines count, the parts, the themes the
// include and exclude words offer, the texts of a part and the neighbours of a placed text.
#include "records/text_library.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "shell/textfile.h"

static void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace {

TzunoChoixTextes Library(const QStringList& lines) {
  TzunoChoixTextes t;
  t.ChargeLignes(lines);
  return t;
}

const QStringList kLines = {
    "Thème;Introduction;Texte;Conclusion",
    " ;skipped;line;here",
    "Fêtes\\Noël; Joyeux Noël ! ;Paix et joie.;Bises",
    "Fêtes\\Noël;Joyeux Noël !;Deux lignes\\nde voeux;;extra;fields",
    "fêtes\\noël;Bon Noël;;Bises",
    "Fêtes\\Pâques;Joyeuses Pâques;Des oeufs partout.;A bientôt",
    "Pensées;#Amour;#Amitié;#Sagesse",
    "Pensées;L'amour;L'amitié;La sagesse",
    "Pensées;#Caché;Vu;",
    "Professionnel;Bonjour;Nous déménageons.;Cordialement",
};

TEST(TextLibrary, LinesPartsAndTexts) {
  const TzunoChoixTextes t = Library(kLines);
  // The blank-themed line is left out; four fields a stored line.
  EXPECT_EQ(t.LineCount(), 9);
  EXPECT_EQ(t.FieldCount(), 36);
  EXPECT_EQ(t.PartCount(), 3);
  EXPECT_EQ(t.NomsParties("Fêtes\\Noël"), QStringList({"Introduction", "Texte", "Conclusion"}));
  // A theme whose first line starts with "#" names its own parts; "#" texts are never offered.
  EXPECT_EQ(t.NomsParties("Pensées"), QStringList({"Amour", "Amitié", "Sagesse"}));

  struct Case {
    const char* theme;
    const char* part;
    QStringList texts;
  };
  const Case cases[] = {
      // Lines of one theme (letter case aside) add up, trimmed, each text once, in line order.
      {"Fêtes\\Noël", "Introduction", {"Joyeux Noël !", "Bon Noël"}},
      {"Fêtes\\Noël", "texte", {"Paix et joie.", "Deux lignes\\nde voeux"}},
      // Every part, part by part within each line.
      {"Fêtes\\Noël", "", {"Joyeux Noël !", "Paix et joie.", "Bises", "Deux lignes\\nde voeux", "Bon Noël"}},
      {"Pensées", "Introduction", {"L'amour"}},
      {"Pensées", "Texte", {"L'amitié", "Vu"}},
      // A part name that is not the header's, and a theme without lines, give nothing.
      {"Fêtes\\Noël", "Amour", {}},
      {"Fêtes", "Introduction", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(t.Textes(c.theme, c.part), c.texts) << c.theme << " / " << c.part;
  EXPECT_EQ(t.TextesPartie("Fêtes\\Pâques", 2), QStringList({"A bientôt"}));
  EXPECT_EQ(t.TextesPartie("Fêtes\\Pâques", 3), QStringList());
  EXPECT_EQ(TexteVersObjet("Deux lignes\\nde voeux\\nà tous"), "Deux lignes|de voeux|à tous");
}

TEST(TextLibrary, HeaderDecidesThePartCount) {
  // The count is the position of the header's last named part; an empty name before it counts.
  EXPECT_EQ(Library({"Thème;Un;;"}).PartCount(), 1);
  EXPECT_EQ(Library({"Thème;;Deux"}).PartCount(), 2);
  EXPECT_EQ(Library({"Thème"}).PartCount(), 0);
  // A blank first field is no line at all, even before the header.
  const TzunoChoixTextes t = Library({";A;B;C", "Thème;Intro", "X;salut;ignored"});
  EXPECT_EQ(t.PartCount(), 1);
  EXPECT_EQ(t.Textes("X", ""), QStringList({"salut"}));
}

TEST(TextLibrary, IncludeAndExcludeWords) {
  const TzunoChoixTextes t = Library(kLines);
  struct Case {
    const char* inclu;
    const char* exclu;
    QStringList themes;
  };
  const Case cases[] = {
      // Each theme once, whatever the letter case of its later lines.
      {"", "", {"Fêtes\\Noël", "Fêtes\\Pâques", "Pensées", "Professionnel"}},
      {"fêtes|PRO", "", {"Fêtes\\Noël", "Fêtes\\Pâques", "Professionnel"}},
      // A theme with an include word and an exclude word is not offered.
      {"Fêtes", "noël", {"Fêtes\\Pâques"}},
      {"", "Fêtes|Pensées", {"Professionnel"}},
      // Empty words match nothing: they neither offer nor hide every theme.
      {"|", "||", {"Fêtes\\Noël", "Fêtes\\Pâques", "Pensées", "Professionnel"}},
      {"Anniversaire", "", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(t.ListeThemes(c.inclu, c.exclu), c.themes) << c.inclu << " / " << c.exclu;
}

TEST(TextLibrary, NeighboursOfAPlacedText) {
  const TzunoChoixTextes t = Library(kLines);
  // A text placed in a document has "|" or blanks where the library has "\n".
  EXPECT_EQ(t.TextesVoisins("Deux lignes|de voeux"),
            QStringList({"Paix et joie.", "Deux lignes\\nde voeux"}));
  EXPECT_EQ(t.TextesVoisins("  Deux  lignes de   voeux "), t.TextesVoisins("Deux lignes|de voeux"));
  EXPECT_EQ(t.TextesVoisins("Bises"), QStringList({"Bises"}));
  EXPECT_EQ(t.TextesVoisins("Introduction"), QStringList());
  EXPECT_EQ(t.TextesVoisins(""), QStringList());
}

TEST(TextLibrary, FilesOfAnySizeAndMissingFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Far more lines than a fixed table of 5001 would hold: every one is kept.
  QStringList lines = {"Thème;Introduction"};
  for (int i = 0; i < 6000; ++i) lines << QStringLiteral("Thème %1;Texte %2").arg(i % 7).arg(i);
  const QString file = dir.filePath("textes_1.def");
  ASSERT_TRUE(WriteTextFile(file, lines));
  TzunoChoixTextes t;
  EXPECT_TRUE(t.Charge(file));
  EXPECT_EQ(t.LineCount(), 6001);
  EXPECT_EQ(t.Textes("Thème 6", "Introduction").size(), 857);
  EXPECT_EQ(t.Textes("Thème 6", "Introduction").back(), "Texte 5998");
  // A missing file leaves the library empty, not as it was.
  EXPECT_FALSE(t.Charge(dir.filePath("absent.def")));
  EXPECT_EQ(t.LineCount(), 0);
  EXPECT_EQ(t.ListeThemes("", ""), QStringList());
  EXPECT_TRUE(t.Loaded());
}

}  // namespace
