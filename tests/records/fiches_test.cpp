#include "records/fiches.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/files.h"
#include "common/shipped_installation.h"
#include "shell/settings.h"

namespace {

QByteArray Latin(const char* s) {
  return QByteArray(s);
}

QStringList Names(const TzunoFiches& f) {
  QStringList out;
  for (int i = 0; i < f.Count(); ++i) out.append(f.NomPre(*f.Item(i)));
  return out;
}

}  // namespace

// Every section is one card whatever its name; empty values have no line; the file is written back
// as numbered sections with CR LF in Windows-1252.
TEST(Fiches, FileRoundTripKeepsCardsInFileOrder) {
  QTemporaryDir dir;
  const QString file = dir.filePath("fiches_1.def");
  WriteAll(file, Latin("[b]\r\nNom=Z\xe9lie\r\nVide=\r\nAdresse=1 rue|B\xe2t A\r\n\r\n[b]\nNom=Abel\n[]\n"));
  TzunoFiches f;
  f.Modifie = true;
  TFichesLoad load;
  ASSERT_TRUE(f.LoadFromFile(file, &load));
  EXPECT_FALSE(f.Modifie);
  EXPECT_FALSE(load.Damaged());
  ASSERT_EQ(f.Count(), 3);
  EXPECT_EQ(f.Item(0)->Lines(),
            QStringList({QString::fromUtf8("Nom=Zélie"), QString::fromUtf8("Adresse=1 rue|Bât A")}));
  EXPECT_EQ(f.Item(2)->LineCount(), 0);
  EXPECT_FALSE(f.Changed());

  ASSERT_TRUE(f.SaveToFile(file));
  EXPECT_EQ(ReadAll(file),
            Latin("[1]\r\nNom=Z\xe9lie\r\nAdresse=1 rue|B\xe2t A\r\n\r\n[2]\r\nNom=Abel\r\n\r\n[3]\r\n\r\n"));

  // A character without a Windows-1252 form turns the whole file into UTF-8 with a byte-order mark.
  f.Item(1)->SetValue("Ville", QString::fromUtf8("Łódź"));
  EXPECT_TRUE(f.Changed());
  ASSERT_TRUE(f.SaveToFile(file));
  EXPECT_FALSE(f.Changed());
  EXPECT_TRUE(ReadAll(file).startsWith("\xEF\xBB\xBF[1]\r\nNom=Z\xC3\xA9lie"));
  TzunoFiches g;
  ASSERT_TRUE(g.LoadFromFile(file));
  EXPECT_EQ(g.Item(1)->Value(u"ville"), QString::fromUtf8("Łódź"));
}

// Keys match without regard to case ("EMail" is "Email", "PRÉNOM" is "Prénom"); "NomPre" is the
// display name; a multi-line value is kept on one line with "|".
TEST(Fiches, FieldsByNameAndDisplayName) {
  TzunoFiches f;
  f.CleNom = "Nom";
  f.ClePrenom = QString::fromUtf8("Prénom");
  f.LoadFromStrings({"[1]", "Nom=Martin", QString::fromUtf8("Prénom=Claire"), "Email=c@example.com"});
  const TzunoFiche* card = f.Item(0);
  EXPECT_EQ(f.GetChamp(card, "EMail"), "c@example.com");
  EXPECT_EQ(f.GetChamp(card, QString::fromUtf8("PRÉNOM")), "Claire");
  EXPECT_EQ(f.GetChamp(card, "nompre"), "Martin Claire");
  EXPECT_EQ(f.GetChamp(card, "Ville"), "");
  EXPECT_EQ(f.GetChamp(nullptr, "Nom"), "");

  TzunoFiche c;
  c.SetValue("Adresse", "1 rue\r\nB\nC");
  c.SetValue("Code", "69003");
  EXPECT_EQ(c.Value(u"adresse"), "1 rue|B|C");
  c.SetValue("ADRESSE", "2 rue");  // replaced in place, under the new spelling
  EXPECT_EQ(c.Lines(), QStringList({"ADRESSE=2 rue", "Code=69003"}));
  c.SetValue("adresse", "");
  EXPECT_EQ(c.Lines(), QStringList({"Code=69003"}));
}

// Adding sorts by display name without regard to case and answers the new card's index; the current
// card stays the same card; Item past the end is the first card; deleting keeps the current card.
TEST(Fiches, AddSortDeleteAndCurrentCard) {
  TzunoFiches f;
  EXPECT_EQ(f.Item(0), nullptr);
  EXPECT_EQ(f.Current(), -1);
  f.LoadFromStrings({"[1]", "Nom=martin", "Prenom=b", "[2]", "Nom=Durand", "Prenom=a"});
  f.SetCurrent(1);
  const int at = f.Ajoute("MARTIN", "a");
  EXPECT_EQ(Names(f), QStringList({"Durand a", "MARTIN a", "martin b"}));
  EXPECT_EQ(at, 1);
  EXPECT_EQ(f.Current(), 0);  // Durand was current and still is
  EXPECT_EQ(f.Item(3), f.Item(0));
  EXPECT_EQ(f.Item(-1), nullptr);
  EXPECT_EQ(f.Ajoute("X", "Y"), 3);
  EXPECT_EQ(f.Ajoute("", ""), 0);  // an empty name is still found, and sorts first
  f.SetCurrent(3);
  f.Supprime(0);
  EXPECT_EQ(f.NomPre(*f.CurrentCard()), "martin b");
  f.Supprime(99);
  EXPECT_EQ(f.Count(), 4);
}

// Broken files: lines outside a card or without "=", overlong values and UTF-8 without a byte-order
// mark are reported; what can be read is read.
TEST(Fiches, DamagedFilesAreReadAsFarAsPossibleAndReported) {
  QTemporaryDir dir;
  const struct {
    const char* name;
    QByteArray bytes;
    int cards, skipped, cut;
    bool utf8;
    const char* nom;
  } cases[] = {
      {"truncated", Latin("[1]\r\nNom=Martin\r\nVil"), 1, 1, 0, false, "Martin"},
      {"utf8", Latin("[1]\nNom=Z\xC3\xA9lie\n"), 1, 0, 0, true, "Zélie"},
      {"binary", QByteArray("\x00\x01garbage\n[1]\nNom=\x00x\n", 21), 1, 1, 0, false, nullptr},
      {"long", "[1]\nNom=" + QByteArray(5000, 'a') + "\n", 1, 0, 1, false, nullptr},
      {"nosection", Latin("Nom=Martin\n"), 0, 1, 0, false, nullptr},
  };
  for (const auto& c : cases) {
    const QString file = dir.filePath(c.name);
    WriteAll(file, c.bytes);
    TzunoFiches f;
    TFichesLoad load;
    EXPECT_TRUE(f.LoadFromFile(file, &load)) << c.name;
    EXPECT_EQ(load.Cards, c.cards) << c.name;
    EXPECT_EQ(load.SkippedLines, c.skipped) << c.name;
    EXPECT_EQ(load.CutValues, c.cut) << c.name;
    EXPECT_EQ(load.Utf8, c.utf8) << c.name;
    EXPECT_EQ(load.Damaged(), c.skipped + c.cut > 0) << c.name;
    if (c.nom) {
      EXPECT_EQ(f.Item(0)->Value(u"Nom"), QString::fromUtf8(c.nom)) << c.name;
    }
  }
  TzunoFiches f;
  f.LoadFromFile(dir.filePath("long"));
  EXPECT_EQ(f.Item(0)->Value(u"Nom").size(), TzunoFiches::kMaxValue);
  // A missing file keeps what was there.
  EXPECT_FALSE(f.LoadFromFile(dir.filePath("missing")));
  EXPECT_EQ(f.Count(), 1);
}

// The definition file: header skipped; width and height default to 100 when not a number; combo
// entries; lines of an unknown page are left out.
TEST(Fiches, FieldDefinitions) {
  QTemporaryDir dir;
  const QString file = dir.filePath("fiches_champs_1.def");
  WriteAll(file, Latin("Page;Kind;Tag;Label;W;H\r\n0;TComboBox;<Civ>;Civ;50;A|B\r\n1;TMemo;<AdressePRO>;"
                       "Adresse;x;200\r\n3;TEdit;<X>;X;10;\r\n0;TLabel;<Y>;Y;;\r\n"));
  const std::vector<TFicheChamp> champs = ReadFicheChamps(file);
  ASSERT_EQ(champs.size(), 3u);
  EXPECT_EQ(champs[0].Key, "Civ");
  EXPECT_EQ(champs[0].Width, 50);
  EXPECT_EQ(champs[0].Items, QStringList({"A", "B"}));
  EXPECT_EQ(champs[1].Page, 1);
  EXPECT_EQ(champs[1].Width, 100);
  EXPECT_EQ(champs[1].Height, 200);
  EXPECT_EQ(champs[2].Kind, "TLabel");
  EXPECT_TRUE(ReadFicheChamps(dir.filePath("none")).empty());
}

// A fresh installation answers merge fields from the shipped cards: text fields, the display name,
// the logo and photo paths; without a card every one of them is empty. The cards are written at the
// end only when they changed, and a damaged user file is kept beside itself before it is replaced.
TEST(Fiches, InstallationAnswersMergeFieldsAndKeepsDamagedFiles) {
  QTemporaryDir dir;
  const QString home = dir.filePath("home"), user = dir.filePath("user");
  QString error;
  QString fichesFile;
  {
    auto in = OpenShippedCopy(home, user, {}, nullptr, &error);
    ASSERT_TRUE(in) << error.toStdString();
    TSoft& soft = in->Soft();
    fichesFile = soft.FichesFile;
    EXPECT_FALSE(QFileInfo::exists(fichesFile));  // not copied yet: the installed file answers
    EXPECT_EQ(Fiches(), &in->Fiches());
    EXPECT_EQ(soft.FieldValue("nom"), "Martin");
    EXPECT_EQ(soft.FieldValue(QString::fromUtf8("prénom")), "Claire");
    EXPECT_EQ(soft.FieldValue("ville"), "Lyon");
    EXPECT_EQ(soft.FieldValue("logo"), soft.UserPath + QString::fromUtf8("Martin Claire logo.bmp"));
    EXPECT_EQ(soft.FieldValue("photo"), soft.UserPath + QString::fromUtf8("Martin Claire photo.bmp"));
    EXPECT_EQ(soft.FieldValue("fax"), "");
  }
  EXPECT_FALSE(QFileInfo::exists(fichesFile));  // nothing changed, nothing written
  EXPECT_EQ(Fiches(), nullptr);

  const QByteArray damaged("[1]\r\nNom=Abel\r\nthis line is not a field\r\n");
  WriteAll(fichesFile, damaged);
  {
    auto in = OpenShippedCopy(dir.filePath("home2"), user, {}, nullptr, &error);
    ASSERT_TRUE(in) << error.toStdString();
    EXPECT_EQ(in->Soft().FieldValue("nom"), "Abel");
    in->Fiches().Item(0)->SetValue("Ville", "Nantes");
  }
  EXPECT_EQ(ReadAll(fichesFile), QByteArray("[1]\r\nNom=Abel\r\nVille=Nantes\r\n\r\n"));
  const QStringList kept = QDir(QFileInfo(fichesFile).path()).entryList({"fiches_1.def.damaged-*"});
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(ReadAll(QFileInfo(fichesFile).path() + "/" + kept[0]), damaged);

  WriteAll(fichesFile, "");
  {
    auto in = OpenShippedCopy(dir.filePath("home3"), user, {}, nullptr, &error);
    ASSERT_TRUE(in) << error.toStdString();
    for (const char* name : {"nom", "logo", "photo", "nompre"})
      EXPECT_EQ(in->Soft().FieldValue(name), "") << name;
  }
}
