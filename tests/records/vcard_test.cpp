// Contacts from vCard files as address books export them, mapped to card lines, and what bad files
// give: never a crash, a hang or a lost contact that could be read.
#include "records/vcard.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "records/fiches.h"
#include "render/picture_io.h"

static void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace {

QByteArray Jpeg(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(QColor(200, 40, 40));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "JPEG", 80);
  return bytes;
}

// Base64 folded at 74 characters with a leading blank, as exporters write it.
QByteArray Folded(const QByteArray& head, const QByteArray& value) {
  QByteArray out = head;
  QByteArray rest = value;
  qsizetype first = std::max<qsizetype>(1, 75 - head.size());
  out += rest.left(first) + "\r\n";
  for (rest = rest.mid(first); !rest.isEmpty(); rest = rest.mid(74)) out += " " + rest.left(74) + "\r\n";
  return out;
}

TEST(VCard, DesktopExportOfVersion3) {
  const QByteArray photo = Jpeg(40, 30);
  QByteArray file =
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "N:Martin;Claire;Anne;Mme;\r\n"
      "FN:Claire Martin\r\n"
      "ORG:Atelier Martin\\, Fils;Graphisme\r\n"
      "TITLE:Graphiste\r\n"
      "ADR;TYPE=HOME:;Bât. B;12 rue des Tilleuls\\n2e étage;Lyon;;69003;France\r\n"
      "item1.ADR;TYPE=WORK,PREF:;;4 place du Marché;Lyon;Rhône;69002;Fr\r\n"
      " ance\r\n"
      "TEL;TYPE=CELL:06 00 00 56 78\r\n"
      "TEL;TYPE=HOME,VOICE:04 00 00 12 34\r\n"
      "TEL;TYPE=WORK,VOICE:04 00 00 98 76\r\n"
      "TEL;TYPE=WORK,FAX:04 00 00 98 77\r\n"
      "EMAIL;TYPE=INTERNET,HOME:claire@example.com\r\n"
      "EMAIL;TYPE=INTERNET,WORK:contact@example.com\r\n"
      "URL;TYPE=WORK:https\\://www.example.com\r\n"
      "NOTE:Ne pas appeler le lundi\\; merci\r\n" +
      Folded("PHOTO;ENCODING=b;TYPE=JPEG:", photo.toBase64()) +
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "FN:Jean-Paul Dupont de la Tour\r\n"
      "EMAIL:jp@example.com\r\n"
      "EMAIL;TYPE=PREF:jp.dupont@example.com\r\n"
      "END:VCARD\r\n";
  const TVCardImport in = ReadVCards(file);
  ASSERT_EQ(in.Contacts.size(), 2u);
  EXPECT_EQ(in.Skipped, 0);
  EXPECT_EQ(in.Contacts[0].Lines, QStringList({"Civilité=Mme",
                                               "Nom=Martin",
                                               "Prénom=Claire Anne",
                                               "Adresse=Bât. B|12 rue des Tilleuls|2e étage",
                                               "Code=69003",
                                               "Ville=Lyon",
                                               "Pays=France",
                                               "Tél=04 00 00 12 34",
                                               "Portable=06 00 00 56 78",
                                               "Email=claire@example.com",
                                               "Société=Atelier Martin, Fils, Graphisme",
                                               "Fonction=Graphiste",
                                               "AdressePRO=4 place du Marché",
                                               "CodePRO=69002",
                                               "VillePRO=Lyon, Rhône",
                                               "PaysPRO=France",
                                               "TélPRO=04 00 00 98 76",
                                               "FaxPRO=04 00 00 98 77",
                                               "EmailPRO=contact@example.com",
                                               "WebPRO=https://www.example.com"}));
  EXPECT_EQ(in.Contacts[0].Photo, photo);
  // Only a formatted name: the last word is the surname; the preferred e-mail wins.
  EXPECT_EQ(in.Contacts[1].Lines,
            QStringList({"Nom=Tour", "Prénom=Jean-Paul Dupont de la", "Email=jp.dupont@example.com"}));
  EXPECT_TRUE(in.Contacts[1].Photo.isEmpty());
}

TEST(VCard, Version4AndVersion21) {
  const QByteArray photo = Jpeg(8, 8);
  const QByteArray v4 =
      "BEGIN:VCARD\n"
      "VERSION:4.0\n"
      "N:Nguyễn;An;;;\n"
      "ORG:Café \"Le Zinc\"\n"
      "TEL;VALUE=uri;TYPE=\"voice,work\":tel:+33-4-00-00-00-01\n"
      "TEL;VALUE=uri;TYPE=cell;PREF=1:tel:+33-6-00-00-00-02\n"
      "TEL;VALUE=uri;TYPE=cell:tel:+33-6-00-00-00-03\n"
      "PHOTO:http://example.com/me.jpg\n"
      "PHOTO:data:image/jpeg;base64," +
      photo.toBase64() +
      "\n"
      "END:VCARD\n";
  TVCardImport in = ReadVCards(v4);
  ASSERT_EQ(in.Contacts.size(), 1u);
  EXPECT_EQ(in.Contacts[0].Lines, QStringList({"Nom=Nguyễn", "Prénom=An", "Portable=+33-6-00-00-00-02",
                                               "Société=Café \"Le Zinc\"", "TélPRO=+33-4-00-00-00-01"}));
  // The remote picture is never fetched; the inline one is taken.
  EXPECT_EQ(in.Contacts[0].Photo, photo);
  EXPECT_EQ(in.PhotosDropped, 1);

  // 2.1: bare types, quoted-printable with soft line breaks, a named character set, and a byte that
  // is not UTF-8 without one.
  const QByteArray v21 =
      "BEGIN:VCARD\r\n"
      "VERSION:2.1\r\n"
      "N;CHARSET=ISO-8859-1:L\xE9vesque;Ren\xE9\r\n"
      "ADR;WORK;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:;;1 all=C3=A9e des Ch=C3=\r\n"
      "=AAnes=0D=0ABo=C3=AEte 3;Qu=C3=A9bec;;G1A 0A1;Canada\r\n"
      "TEL;WORK;FAX:418 000 0000\r\n"
      "TITLE:Ing\xE9nieur\r\n"
      "END:VCARD\r\n";
  in = ReadVCards(v21);
  ASSERT_EQ(in.Contacts.size(), 1u);
  EXPECT_EQ(in.Contacts[0].Lines, QStringList({"Nom=Lévesque", "Prénom=René", "Fonction=Ingénieur",
                                               "AdressePRO=1 allée des Chênes|Boîte 3", "CodePRO=G1A 0A1",
                                               "VillePRO=Québec", "PaysPRO=Canada", "FaxPRO=418 000 0000"}));
}

TEST(VCard, BadInput) {
  struct Case {
    const char* what;
    QByteArray file;
    QStringList names;  // the Nom line of each contact read
    int skipped;
  };
  const Case cases[] = {
      {"folding without its blank",
       "BEGIN:VCARD\nN:Durand;Paul\nNOTE:une note coupée\nen deux\nADR:;;5 rue\n Haute;Nice;;06000;France\n"
       "END:VCARD\n",
       {"Nom=Durand"},
       0},
      {"a card that never ends, then another",
       "BEGIN:VCARD\nFN:Un\nBEGIN:VCARD\nFN:Deux\nEND:VCARD\nBEGIN:VCARD\nFN:Trois",
       {"Nom=Un", "Nom=Deux", "Nom=Trois"},
       0},
      {"no name at all",
       "BEGIN:VCARD\nTEL:01\nEND:VCARD\nBEGIN:VCARD\nORG:Acme\nEND:VCARD\n",
       {"Nom=Acme"},
       1},
      {"binary junk", QByteArray("\x00\xff\xfe:;\\\x01\nBEGIN\n:\n;;;\n\\\n", 22), {}, 0},
      {"properties outside any card", "N:Seul;Perdu\nEND:VCARD\nEND:VCARD\n", {}, 0},
      {"empty", "", {}, 0},
      {"control characters and a value past the card's limit",
       "BEGIN:VCARD\nN:A\x01"
       "b\\nc;\nNOTE:x\nORG:" +
           QByteArray(5000, 'o') + "\nEND:VCARD\n",
       {"Nom=A b c"},
       0},
  };
  for (const Case& c : cases) {
    const TVCardImport in = ReadVCards(c.file);
    QStringList names;
    for (const TVCardContact& contact : in.Contacts)
      names << contact.Lines.filter(QRegularExpression("^Nom="));
    EXPECT_EQ(names, c.names) << c.what;
    EXPECT_EQ(in.Skipped, c.skipped) << c.what;
  }
  const TVCardImport folded = ReadVCards(cases[0].file);
  EXPECT_EQ(folded.Contacts[0].Value("Adresse"), "5 rueHaute");
  const TVCardImport longer = ReadVCards(cases[6].file);
  EXPECT_EQ(longer.Contacts[0].Value("Société").size(), TVCardLimits::kMaxValueChars);
}

TEST(VCard, LargePhotosAndManyContacts) {
  // A photo of 10 MB is past the limit: dropped before it is decoded, its contact kept; broken
  // base64 too.
  const QByteArray big((10 * 1024 * 1024 / 3) * 4, 'A');
  const QByteArray small = Jpeg(4, 4).toBase64();
  const QByteArray file = "BEGIN:VCARD\nFN:Grand\nPHOTO;ENCODING=b:" + big +
                          "\nEND:VCARD\nBEGIN:VCARD\nFN:Petit\nPHOTO;ENCODING=b:" + small +
                          "\nEND:VCARD\nBEGIN:VCARD\nFN:Faux\nPHOTO;ENCODING=b:@@@@\nEND:VCARD\n";
  TVCardImport in = ReadVCards(file);
  ASSERT_EQ(in.Contacts.size(), 3u);
  EXPECT_TRUE(in.Contacts[0].Photo.isEmpty());
  EXPECT_EQ(in.Contacts[1].Photo, QByteArray::fromBase64(small));
  EXPECT_TRUE(in.Contacts[2].Photo.isEmpty());
  EXPECT_EQ(in.PhotosDropped, 2);

  // Thousands of contacts all arrive; past the limit the rest is counted, not kept.
  QByteArray many;
  for (int i = 0; i < 5000; ++i) many += "BEGIN:VCARD\nN:Nom" + QByteArray::number(i) + ";P\nEND:VCARD\n";
  in = ReadVCards(many);
  EXPECT_EQ(in.Contacts.size(), 5000u);
  EXPECT_EQ(in.Contacts.back().Value("Nom"), "Nom4999");
  EXPECT_FALSE(in.Truncated);

  // All of them join an address book in one go, sorted in, the current card kept.
  TzunoFiches book;
  book.Ajoute(QStringLiteral("Zoé"), QStringLiteral("Zed"));
  book.Ajoute(QStringLiteral("Abel"), QStringLiteral("Ana"));
  book.SetCurrent(1);
  const TzunoFiche* current = book.CurrentCard();
  EXPECT_EQ(AjouteContacts(book, in, QString()), 5000);
  ASSERT_EQ(book.Count(), 5002);
  EXPECT_EQ(book.CurrentCard(), current);
  EXPECT_EQ(book.GetChamp(book.Item(0), QStringLiteral("NomPre")), "Abel Ana");
  EXPECT_EQ(book.GetChamp(book.Item(1), QStringLiteral("NomPre")), "Nom0 P");
  EXPECT_EQ(book.GetChamp(book.Item(5001), QStringLiteral("NomPre")), "Zoé Zed");

  in = ReadVCards(many, 1000);
  EXPECT_EQ(in.Contacts.size(), 1000u);
  EXPECT_EQ(in.Skipped, 4000);
  EXPECT_TRUE(in.Truncated);
}

TEST(VCard, PhotoBecomesABitmap) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString bmp = dir.filePath("Martin Claire photo.bmp");
  // A large photo is reduced to the limit, its shape kept.
  ASSERT_TRUE(SaveVCardPhoto(Jpeg(2400, 1200), bmp));
  const QImage back = LoadPicture(bmp);
  EXPECT_EQ(back.size(), QSize(TVCardLimits::kMaxPhotoSide, TVCardLimits::kMaxPhotoSide / 2));
  EXPECT_NEAR(back.pixelColor(10, 10).red(), 200, 12);
  ASSERT_TRUE(SaveVCardPhoto(Jpeg(30, 20), bmp));
  EXPECT_EQ(LoadPicture(bmp).size(), QSize(30, 20));
  // Bytes that are no picture leave the old file as it was.
  EXPECT_FALSE(SaveVCardPhoto(QByteArray(1000, 'A'), bmp));
  EXPECT_EQ(LoadPicture(bmp).size(), QSize(30, 20));

  // Files: a missing one and one past the size limit are refused with a reason.
  TVCardImport in;
  QString error;
  EXPECT_FALSE(ReadVCardFile(dir.filePath("absent.vcf"), in, &error));
  EXPECT_FALSE(error.isEmpty());
  QFile big(dir.filePath("big.vcf"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  ASSERT_TRUE(big.resize(TVCardLimits::kMaxFileBytes + 1));
  big.close();
  error.clear();
  EXPECT_FALSE(ReadVCardFile(big.fileName(), in, &error));
  EXPECT_TRUE(error.contains("64 MB")) << error.toStdString();
}

}  // namespace
