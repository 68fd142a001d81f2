// Papers and label-sheet layouts read from their tables.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/files.h"
#include "common/qt_printers.h"
#include "print/layouts.h"
#include "print/papers.h"

namespace {

const QString kData = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/");

class Tables : public ::testing::Test {
 protected:
  QString Write(const QString& name, const QByteArray& text) {
    const QString path = dir_.filePath(name);
    WriteAll(path, text);
    return path;
  }
  QTemporaryDir dir_;
};

// Columns deliberately out of the usual order and in mixed case.
const QByteArray kPapers =
    "Nom;SOFT;papier;haut;large\r\n"
    "A4 sheet;;A4;297;210\r\n"
    "Pro sheet;pro;PRO;100;50,5\r\n"
    "Pro and kid sheet;prokid;MULTI;10;10\r\n"
    "Again;;a4;1;1\r\n";

TEST_F(Tables, PapersListedForAnEditionOnlyWhenTheirCodeEqualsIt) {
  TzunoPapiers papers;
  papers.FileName = Write("papiers_dim.csv", kPapers);
  struct Case {
    QString soft;
    QStringList before, expected;
  };
  const Case cases[] = {
      {"", {}, {"A4", "PRO", "MULTI"}},
      {"Pro", {}, {"A4", "PRO"}},
      {"kid", {}, {"A4"}},
      {"", {"pro"}, {"pro", "A4", "MULTI"}},
  };
  for (const Case& c : cases) {
    QStringList list = c.before;
    papers.ListPapiers(list, c.soft);
    EXPECT_EQ(list, c.expected) << "soft " << c.soft.toStdString();
  }
}

TEST_F(Tables, PaperLookUps) {
  TzunoPapiers papers;
  TPapierInfo info{"old", "old", 1, 2};
  papers.GetPapierInfo("a4", info);  // no file name yet
  EXPECT_TRUE(info.nom.isEmpty() && info.papier.isEmpty() && info.large == 0 && info.haut == 0);

  papers.FileName = Write("papiers_dim.csv", kPapers);
  papers.GetPapierInfo("pro", info);
  EXPECT_EQ(info.nom, "Pro sheet");
  EXPECT_EQ(info.papier, "PRO");
  EXPECT_DOUBLE_EQ(info.large, 50.5);
  EXPECT_DOUBLE_EQ(info.haut, 100);
  papers.GetPapierInfo("a4", info);  // the first of two rows
  EXPECT_DOUBLE_EQ(info.large, 210);

  // Unknown identifiers, and the header's own words, give empty values.
  for (const char* unknown : {"A5", "papier", ""}) {
    info = TPapierInfo{"old", "old", 1, 2};
    papers.GetPapierInfo(unknown, info);
    EXPECT_TRUE(info.nom.isEmpty() && info.papier.isEmpty() && info.large == 0 && info.haut == 0) << unknown;
    EXPECT_EQ(papers.NomFromPapier(unknown), "") << unknown;
  }
  EXPECT_EQ(papers.NomFromPapier("multi"), "Pro and kid sheet");
  EXPECT_EQ(papers.PapierFromNom("PRO SHEET"), "PRO");
  EXPECT_EQ(papers.PapierFromNom("nom"), "");
}

TEST_F(Tables, EveryCallReadsTheFileAgainAndAMissingFileKeepsTheLastContent) {
  TzunoPapiers papers;
  papers.FileName = Write("papiers_dim.csv", "papier;nom;large;haut\r\nA4;A4;210;297\r\n");
  EXPECT_EQ(papers.NomFromPapier("A4"), "A4");
  Write("papiers_dim.csv", "papier;nom;large;haut\r\nA4;Edited;210;297\r\n");
  EXPECT_EQ(papers.NomFromPapier("A4"), "Edited");

  papers.FileName = dir_.filePath("gone.csv");
  EXPECT_EQ(papers.NomFromPapier("A4"), "Edited");
  QStringList list;
  papers.ListPapiers(list, "");
  EXPECT_EQ(list, QStringList{"A4"});

  TzunoPapiers never;
  never.FileName = dir_.filePath("gone.csv");
  list.clear();
  never.ListPapiers(list, "");
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(never.PapierFromNom("A4"), "");
}

const QByteArray kLayouts =
    "nom;marque;papier;gabarit;soft;x0;y0;interx;intery;large;haut;nbrex;nbrey;rectoverso;orientation\r\n"
    "Cards;Acme;A4;;;20;13,5;0;0;85;54;2;5;0;0\r\n"
    "Disc;Acme;A4;CD;;46.5;21,5;0;20;117;117;1;2;1;1\r\n"
    "Pro only;Beta;a4;;PROKID;1;1;1;1;1;1;1;1;0;0\r\n"
    "No brand;;A4;;;1;1;1;1;1;1;1;1;0;0\r\n"
    "Cards;acme;A4;;;0;0;0;0;10;10;1;1;0;0\r\n"
    "Letter cards;Gamma;Letter;;;1;1;1;1;1;1;1;1;yes;x\r\n";

TEST_F(Tables, BrandsAndFormatsFollowTheFilters) {
  TzunoGabarits layouts;
  layouts.FileName = Write("papiers_gab.csv", kLayouts);
  struct Case {
    QString papier, gabarit, soft, marque;
    QStringList brands, formats;
  };
  // Brands: each once, never empty. Formats: file order, duplicates kept.
  const Case cases[] = {
      {"",
       "",
       "",
       "",
       {"Acme", "Beta", "Gamma"},
       {"Cards", "Disc", "Pro only", "No brand", "Cards", "Letter cards"}},
      {"A4", "", "", "acme", {"Acme", "Beta"}, {"Cards", "Disc", "Cards"}},
      {"A4", "cd", "", "", {"Acme"}, {"Disc"}},
      {"",
       "",
       "kid",
       "",
       {"Acme", "Beta", "Gamma"},
       {"Cards", "Disc", "Pro only", "No brand", "Cards", "Letter cards"}},
      {"", "", "home", "beta", {"Acme", "Gamma"}, {}},
      {"letter", "", "pro", "GAMMA", {"Gamma"}, {"Letter cards"}},
  };
  for (const Case& c : cases) {
    QStringList brands, formats;
    layouts.ListMarques(brands, c.papier, c.gabarit, c.soft);
    layouts.ListFormats(formats, c.papier, c.marque, c.gabarit, c.soft);
    EXPECT_EQ(brands, c.brands) << c.papier.toStdString() << "/" << c.gabarit.toStdString() << "/"
                                << c.soft.toStdString();
    EXPECT_EQ(formats, c.formats) << c.papier.toStdString() << "/" << c.marque.toStdString() << "/"
                                  << c.gabarit.toStdString() << "/" << c.soft.toStdString();
  }
}

TEST_F(Tables, LayoutReadByNameWithEveryField) {
  TzunoGabarits layouts;
  layouts.FileName = Write("papiers_gab.csv", kLayouts);
  TGabaritInfo g;
  layouts.GetGabaritInfo("disc", g);
  EXPECT_EQ(layouts.LastName, "disc");
  EXPECT_DOUBLE_EQ(g.x0, 46.5);
  EXPECT_DOUBLE_EQ(g.y0, 21.5);
  EXPECT_DOUBLE_EQ(g.intery, 20);
  EXPECT_DOUBLE_EQ(g.large, 117);
  EXPECT_EQ(g.nbrex, 1);
  EXPECT_EQ(g.nbrey, 2);
  EXPECT_TRUE(g.rectoverso);
  EXPECT_EQ(g.orientation, 1);
  EXPECT_EQ(g.gabarit, "CD");
  EXPECT_EQ(g.marque, "Acme");
  EXPECT_EQ(g.nom, "Disc");
  layouts.GetGabaritInfo("Letter cards", g);  // malformed flags read as false and 0
  EXPECT_FALSE(g.rectoverso);
  EXPECT_EQ(g.orientation, 0);
  EXPECT_EQ(g.soft, "");
  EXPECT_EQ(g.papier, "Letter");

  // Nothing found (the header row does not count, nor a missing file): counts reset, the rest kept.
  layouts.GetGabaritInfo("Disc", g);
  for (const QString& file : {layouts.FileName, dir_.filePath("gone.csv")}) {
    layouts.FileName = file;
    for (const char* name : {"nom", "Nothing", ""}) {
      TGabaritInfo h = g;
      layouts.GetGabaritInfo(name, h);
      EXPECT_EQ(h.nbrex, 0) << name;
      EXPECT_EQ(h.nbrey, 0) << name;
      EXPECT_DOUBLE_EQ(h.x0, 46.5) << name;
      EXPECT_EQ(h.nom, "Disc") << name;
    }
  }
  layouts.GetGabaritInfo("Disc", g);  // the missing file hides what was read before
  EXPECT_EQ(g.nbrex, 0);
}

TEST_F(Tables, BackSideMirrorsTheColumnsAcrossThePaper) {
  const QString file = Write("papiers_gab.csv",
                             "nom;x0;interx;large;nbrex;nbrey\r\n"
                             "Three;10;5;60;3;1\r\n"
                             "Two;10;5;60;2;1\r\n");
  TPapierInfo paper{"A4", "A4", 210, 297};
  TzunoGabarits layouts;
  layouts.FileName = file;
  layouts.Paper = &paper;
  struct Case {
    const char* name;
    int face;
    double paperWidth, x0;
  };
  const Case cases[] = {
      {"Three", 1, 210, 10}, {"Three", 2, 210, 10}, {"Two", 1, 210, 10},
      {"Two", 2, 210, 75},   {"Two", 2, 297, 162},
  };
  for (const Case& c : cases) {
    layouts.Face = c.face;
    paper.large = c.paperWidth;
    TGabaritInfo g;
    layouts.GetGabaritInfo(c.name, g);
    EXPECT_DOUBLE_EQ(g.x0, c.x0) << c.name << " face " << c.face << " on " << c.paperWidth;
  }
  // Asking again for an unknown name does not flip the last layout back.
  TGabaritInfo g;
  layouts.GetGabaritInfo("Two", g);
  layouts.GetGabaritInfo("None", g);
  EXPECT_DOUBLE_EQ(g.x0, 162);
}

TEST(ShippedTables, PapersAndLayoutsReadFromTheInstalledFiles) {
  TzunoPapiers papers;
  papers.FileName = kData + "papiers_dim.csv";
  TPapierInfo a4;
  papers.GetPapierInfo("a4", a4);
  EXPECT_EQ(a4.papier, "A4");
  EXPECT_DOUBLE_EQ(a4.large, 210);
  EXPECT_DOUBLE_EQ(a4.haut, 297);
  TPapierInfo letter;
  papers.GetPapierInfo("Letter", letter);
  EXPECT_DOUBLE_EQ(letter.large, 215.9);
  QStringList ids;
  papers.ListPapiers(ids, "donnees");
  EXPECT_TRUE(ids.contains("A4") && ids.contains("Letter") && ids.contains("EnvDL"));

  TzunoGabarits layouts;
  layouts.FileName = kData + "papiers_gab.csv";
  QStringList brands, cdFormats;
  layouts.ListMarques(brands, "A4", "", "donnees");
  EXPECT_TRUE(brands.contains("Standard") && brands.contains("Lorvane")) << brands.join(',').toStdString();
  layouts.ListFormats(cdFormats, "A4", "", "CD", "");
  EXPECT_EQ(cdFormats.size(), 4) << cdFormats.join(',').toStdString();
  TGabaritInfo cards;
  layouts.GetGabaritInfo("A4 10 cartes de visite 85 x 54", cards);
  EXPECT_EQ(cards.nbrex * cards.nbrey, 10);
  EXPECT_EQ(cards.papier, "A4");
  EXPECT_DOUBLE_EQ(cards.y0, 13.5);
}

}  // namespace
