// The default installation tree passes the start-up check and its tables carry what the program
// relies on.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>

#include "data_tests/installation_fixture.h"
#include "records/csv_table.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

const QString kHome = QStringLiteral(LORVANE_SOURCE_DATA);
const QString kData = kHome + QStringLiteral("/donnees/");

using Installation = InstallationFixture;

TEST_F(Installation, CheckFindsNoProblem) {
  EXPECT_EQ(soft->CheckInstallation().toStdString(), "");
  EXPECT_EQ(soft->DataPath, kHome + QStringLiteral("/donnees/"));
}

TEST_F(Installation, SettingsNameWhatTheTablesHold) {
  for (const char* key :
       {"ApercuLarge", "ApercuHaut", "nouveau_large", "nouveau_haut", "perforatrice_taille_mini",
        "perforatrice_taille_maxi", "tampon_taille_mini", "tampon_taille_maxi"})
    EXPECT_GT(soft->ReadSoftInteger(QString::fromLatin1(key)), 0) << key;
  EXPECT_LT(soft->ReadSoftInteger(QStringLiteral("perforatrice_taille_mini")),
            soft->ReadSoftInteger(QStringLiteral("perforatrice_taille_maxi")));
  EXPECT_LT(soft->ReadSoftInteger(QStringLiteral("tampon_taille_mini")),
            soft->ReadSoftInteger(QStringLiteral("tampon_taille_maxi")));

  // The print dialog's first brand and format exist together.
  TzunoCSV layouts(kData + QStringLiteral("papiers_gab.csv"));
  const int row =
      layouts.FindRowBy(QStringLiteral("nom"), soft->ReadSoftString(QStringLiteral("PrintGabarits_start")));
  ASSERT_GE(row, 1);
  EXPECT_EQ(layouts.Cell(layouts.ColIndex(QStringLiteral("marque")), row),
            soft->ReadSoftString(QStringLiteral("PrintMarques_start")));

  // The dimension wizard's first format is listed.
  TzunoCSV formats(kData + QStringLiteral("formats.csv"));
  EXPECT_LT(soft->ReadSoftInteger(QStringLiteral("AssistantDimensionFormatIndex")), formats.RowCount() - 1);

  // The support wizard's start folder and the text library's start theme are paths from the root.
  EXPECT_TRUE(soft->ReadSoftString(QStringLiteral("path_support_start")).startsWith(QLatin1Char('\\')));
  EXPECT_TRUE(soft->ReadSoftString(QStringLiteral("ChoixTextesPath")).startsWith(QLatin1Char('\\')));
}

TEST(Tables, SaintsCoverEveryDayOfALeapYear) {
  TzunoCSV saints(kData + QStringLiteral("SaintsCalendrier.csv"));
  ASSERT_EQ(saints.RowCount(), 367);
  const int name = saints.ColIndex(QStringLiteral("saint"));
  ASSERT_GE(name, 1);
  for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
    const QString key = QStringLiteral("%1/%2").arg(d.day()).arg(d.month());
    EXPECT_FALSE(saints.Lookup(QStringLiteral("saint"), key).isEmpty()) << key.toStdString();
  }
}

TEST(Tables, FormatsAndSupportsHavePositiveSizes) {
  TzunoCSV formats(kData + QStringLiteral("formats.csv"));
  ASSERT_GE(formats.RowCount() - 1, 15);
  QSet<QString> names;
  for (int r = 1; r < formats.RowCount(); ++r) {
    EXPECT_FALSE(names.contains(formats.Cell(0, r).toLower())) << formats.Cell(0, r).toStdString();
    names.insert(formats.Cell(0, r).toLower());
    for (int c : {1, 2}) EXPECT_GT(QString(formats.Cell(c, r)).replace(',', '.').toDouble(), 0) << r;
    EXPECT_TRUE(formats.Cell(3, r).isEmpty()) << "offered in every edition";
  }

  // Looked up the way the support wizard sizes a support: by its file name in the first column.
  TzunoCSV supports(kData + QStringLiteral("Supports.csv"));
  ASSERT_GE(supports.RowCount(), 2);
  for (int r = 1; r < supports.RowCount(); ++r) {
    const QString name = supports.Cell(0, r);
    EXPECT_TRUE(name.endsWith(QLatin1String(".emf"))) << name.toStdString();
    for (const char* column : {"mmlarge", "mmhaut"})
      EXPECT_GT(supports.Lookup(QString::fromLatin1(column), name).replace(',', '.').toDouble(), 0)
          << name.toStdString();
    // The maintenance grid marks a row whose millimetres and picture pixels disagree in shape.
    auto number = [&](int c) { return QString(supports.Cell(c, r)).replace(',', '.').toDouble(); };
    ASSERT_GT(number(3) * number(4), 0) << name.toStdString();
    EXPECT_LE(std::fabs(number(1) / number(2) - number(3) / number(4)), 0.01) << name.toStdString();
  }
}

// The shape panel lists each group kind's drawings from the folder its setting names under the data
// folder, and a group placed with the kind's default drawing finds it by name.
TEST_F(Installation, ShapePanelFoldersHoldTheirKindsDrawings) {
  const struct {
    const char* folder;
    const char* fallback;
  } kinds[] = {{"path_forme", nullptr},
               {"path_cadre", "cadre_modele_defaut"},
               {"path_perforatrice", "perforatrice_modele_defaut"},
               {"path_tampon", "tampon_modele_defaut"}};
  for (const auto& k : kinds) {
    const QString value = soft->ReadSoftString(QString::fromLatin1(k.folder));
    ASSERT_FALSE(value.isEmpty()) << k.folder;
    const QString folder = QDir::cleanPath(soft->DataPath + QString(value).replace('\\', '/'));
    ASSERT_TRUE(QFileInfo(folder).isDir()) << k.folder << " " << folder.toStdString();
    QDirIterator drawings(folder, {QStringLiteral("*.emf"), QStringLiteral("*.mdl")}, QDir::Files,
                          QDirIterator::Subdirectories);
    EXPECT_TRUE(drawings.hasNext()) << k.folder;
    if (!k.fallback) continue;
    const QString found =
        ReferenceName(soft->FindImageFile(soft->ReadSoftString(QString::fromLatin1(k.fallback))));
    EXPECT_TRUE(found.startsWith(folder + '/')) << k.fallback << " " << found.toStdString();
  }
}

// The dimension wizard opens a format's ready-made page, named after the format.
TEST(Tables, EveryFormatHasItsReadyMadePage) {
  TzunoCSV formats(kData + QStringLiteral("formats.csv"));
  ASSERT_GE(formats.RowCount(), 2);
  for (int r = 1; r < formats.RowCount(); ++r)
    EXPECT_TRUE(
        QFileInfo(kData + QStringLiteral("formats/") + formats.Cell(0, r) + QStringLiteral(".mdl")).isFile())
        << formats.Cell(0, r).toStdString();
}

// The library's reading rules: header parts in fields 2 to 4, one theme per line, "#" lines naming
// a theme's own parts.
TEST(Tables, TextLibraryHasTwoHundredTextsInTenThemes) {
  for (int language : {1, 2}) {
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(kData + QStringLiteral("textes_%1.def").arg(language), lines));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0].split(';').size(), 4);
    QHash<QString, QSet<int>> partsByTheme;
    int texts = 0;
    for (const QString& line : lines.mid(1)) {
      const QStringList f = line.split(';');
      ASSERT_EQ(f.size(), 4) << line.toStdString();
      const QString theme = f[0].trimmed();
      ASSERT_FALSE(theme.isEmpty());
      for (int p = 1; p <= 3; ++p) {
        if (f[p].trimmed().isEmpty() || f[p].startsWith('#')) continue;
        ++texts;
        partsByTheme[theme].insert(p);
      }
    }
    EXPECT_GE(texts, 200) << "language " << language;
    EXPECT_GE(partsByTheme.size(), 10) << "language " << language;
    for (auto it = partsByTheme.cbegin(); it != partsByTheme.cend(); ++it)
      EXPECT_EQ(it.value().size(), 3) << "every part of " << it.key().toStdString();
  }
}

TEST(Tables, AddressBookFieldsAreTheBuiltInTags) {
  const QStringList personal = {"<Civilité>", "<Nom>", "<Prénom>",   "<Adresse>", "<Code>",  "<Ville>",
                                "<Pays>",     "<Tél>", "<Portable>", "<Fax>",     "<Email>", "<Web>"};
  const QStringList professional = {"<Société>",  "<Fonction>", "<AdressePRO>", "<CodePRO>",
                                    "<VillePRO>", "<PaysPRO>",  "<TélPRO>",     "<PortablePRO>",
                                    "<FaxPRO>",   "<EmailPRO>", "<WebPRO>"};
  for (int language : {1, 2}) {
    TzunoCSV fields(kData + QStringLiteral("fiches_champs_%1.def").arg(language));
    QStringList pages[2];
    for (int r = 1; r < fields.RowCount(); ++r) {
      const int page = fields.Cell(0, r).toInt();
      ASSERT_TRUE(page == 0 || page == 1);
      EXPECT_TRUE(QSet<QString>({"TEdit", "TComboBox", "TMemo"}).contains(fields.Cell(1, r)));
      EXPECT_FALSE(fields.Cell(3, r).isEmpty());
      pages[page] << fields.Cell(2, r);
    }
    EXPECT_EQ(pages[0], personal) << "language " << language;
    EXPECT_EQ(pages[1], professional) << "language " << language;

    // The sample card uses the same keys.
    QStringList card;
    ASSERT_TRUE(ReadTextFile(kData + QStringLiteral("fiches_%1.def").arg(language), card));
    for (const QString& line : card.mid(1)) {
      if (line.isEmpty()) continue;
      const QString key = line.section('=', 0, 0);
      EXPECT_TRUE(personal.contains('<' + key + '>') || professional.contains('<' + key + '>'))
          << key.toStdString();
    }
  }
}

TEST_F(Installation, SampleAlbumUsesTheAlbumKeys) {
  for (int language : {1, 2}) {
    MLSetLanguage(language);
    QStringList album;
    ASSERT_TRUE(ReadTextFile(kData + QStringLiteral("albumcd_%1.def").arg(language), album));
    QSet<QString> keys;
    for (const QString& line : album)
      if (line.contains('=')) keys.insert(line.section('=', 0, 0));
    for (const char* entry : {"cdArtiste", "cdAlbum", "cdAnnée", "cdGenre", "cdTitres"}) {
      const QString tag = MLText(QString::fromUtf8(entry));
      EXPECT_TRUE(keys.contains(tag.mid(1, tag.size() - 2))) << entry;
    }
  }
}

}  // namespace

// The installation is downloaded and copied as a whole: it has a size budget.
TEST(Tree, StaysUnderSixtyMegabytes) {
  qint64 total = 0;
  QDirIterator it(kHome, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    total += it.fileInfo().size();
  }
  EXPECT_LT(total, 60LL * 1000 * 1000) << total;
}
