#include "model/document.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/files.h"
#include "common/qt_printers.h"
#include "model/kinds.h"

namespace {

std::unique_ptr<TzunoCADMdl> NewDoc(double large = 120, double haut = 120) {
  return std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), large, haut);
}

QStringList Lines(const char* text) {
  return QString::fromUtf8(text).split(QLatin1Char('\n'));
}

}  // namespace

TEST(Document, ExampleIsWrittenByteForByte) {
  auto d = NewDoc();
  d->Gabarit = 1;
  auto* t = static_cast<TzunoCADTexte*>(d->CreateObjet(QStringLiteral("texte")));
  t->CanSelect = true;
  t->Pen = TPen{clBlack, 1, psSolid};
  t->Brush = TBrush{clWhite, bsClear};
  t->Font = TFont{clBlack, QStringLiteral("Arial"), 5000, fsBold};
  t->LayoutText(QStringLiteral("Bonjour"));
  t->x = 60;
  t->y = 30;
  auto* img = static_cast<TzunoCADImage*>(d->CreateObjet(QStringLiteral("image")));
  img->Face = 2;
  img->l = img->h = 100;
  img->SetFichierImage(QStringLiteral("disque.jpg"));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("exemple.mdl"));
  ASSERT_TRUE(d->SaveToFile(path));
  const QByteArray expected =
      "Version=1.2\r\nLarge=120\r\nHaut=120\r\nGabarit=CD\r\n\r\n"
      "Face=1\r\n  Objet=1\r\n    Name=texte\r\n    Face=1\r\n    CanSelect=1\r\n    Pen=000000,1,0\r\n"
      "    Brush=FFFFFF,1\r\n    x=60\r\n    y=30\r\n    l=0\r\n    h=0\r\n    r=0\r\n"
      "    Font=000000,Arial,5000,B\r\n    Aligne=0\r\n    Alignement=2\r\n    txt=Bonjour\r\n  End\r\n  \r\n"
      "End\r\n\r\n"
      "Face=2\r\n  Objet=2\r\n    Name=image\r\n    Face=2\r\n    CanSelect=1\r\n    Pen=000000,1,0\r\n"
      "    Brush=FFFFFF,1\r\n    x=60\r\n    y=60\r\n    l=100\r\n    h=100\r\n    r=0\r\n"
      "    FichierImage=disque.jpg\r\n    Bordure=0,12,12,2\r\n    TransparentColor=FF00FF\r\n    "
      "MasqueBordureColor=808080\r\n  End\r\n  \r\n"
      "End\r\n\r\n";
  EXPECT_EQ(QString::fromLatin1(ReadAll(path)).toStdString(), QString::fromLatin1(expected).toStdString());
}

TEST(Document, FreshAndFaceTwoOnlyDocuments) {
  auto d = NewDoc(210, 297);
  EXPECT_EQ(d->SaveToStrings(), (QStringList{"Version=1.2", "Large=210", "Haut=297", ""}));
  d->CreateObjet(QStringLiteral("rect"))->Face = 2;
  d->CreateObjet(QStringLiteral("rect"))->Face = 2;
  const QStringList& s = d->SaveToStrings();
  EXPECT_FALSE(s.contains(QStringLiteral("Face=1")));
  EXPECT_EQ(s.indexOf(QStringLiteral("Face=2")), 4);
  EXPECT_TRUE(s.contains(QStringLiteral("  Objet=2")));
  EXPECT_EQ(d->MaxFace(), 2);
  EXPECT_EQ(NewDoc()->MaxFace(), 0);
}

TEST(Document, HeaderLinesSurviveAndAreNormalised) {
  auto d = NewDoc();
  d->LoadFromStrings(
      Lines("Version=1.0\nLarge=100,5\nPapierDefaut=A4\nFriseX=10\nColorPapier=FFFFFF\n"
            "TailleTranche=6\n\nFace=1\n  Objet=1\n    Name=rect\n    CanSelect=1\n  End\n  \nEnd\n"));
  EXPECT_DOUBLE_EQ(d->Large, 100.5);
  EXPECT_DOUBLE_EQ(d->FriseX, 10);
  EXPECT_EQ(d->GetEntete(QStringLiteral("papierdefaut")), "A4");
  EXPECT_EQ(d->GetEntete(QStringLiteral("absent")), "");
  const QStringList& s = d->SaveToStrings();
  EXPECT_EQ(s.mid(0, 6), (QStringList{"Version=1.2", "Large=100,5", "PapierDefaut=A4", "Frisex=10",
                                      "TailleTranche=6", "Haut=0"}));
  d->FriseX = 0;
  EXPECT_FALSE(d->SaveToStrings().join('\n').contains(QStringLiteral("Frisex")));

  // A removed key goes everywhere in the header, or a second line would come back on reading.
  d->LoadFromStrings(Lines("Frisex=5\nFRISEX=7\n\n"));
  d->FriseX = 0;
  d->SaveToStrings();
  d->LoadFromStrings(d->Text());
  EXPECT_EQ(d->FriseX, 0);
}

TEST(Document, SetEnteteReplacesOrInsertsBeforeTheFirstEmptyLine) {
  auto d = NewDoc();
  d->LoadFromStrings(Lines("Version=1.2\nSupportPosX%=20\nLarge=10\n\nFace=1\nEnd"));
  d->SetEntete(QStringLiteral("SupportPosX%"), QStringLiteral("50"));
  EXPECT_EQ(d->Text()[1], "SupportPosX%=50");
  d->SetEntete(QStringLiteral("SupportPosY%"), QStringLiteral("40"));
  EXPECT_EQ(d->Text()[3], "SupportPosY%=40");
  EXPECT_EQ(d->Text()[4], "");
  d->SetEntete(QStringLiteral("PapierDefaut"), QString());
  EXPECT_EQ(d->GetEntete(QStringLiteral("PapierDefaut")), "");
  EXPECT_TRUE(d->Text().contains(QStringLiteral("PapierDefaut=")));
  auto e = NewDoc();
  e->SetEntete(QStringLiteral("Gabarit"), QStringLiteral("CD"));
  EXPECT_EQ(e->Text(), QStringList{"Gabarit=CD"});
}

TEST(Document, ReaderBlockRules) {
  auto d = NewDoc();
  d->LoadFromStrings(
      Lines("Large=50\nHaut=40\nGabarit=jaquettedvd\n\n"
            "Face=2\n  Objet=1\n    Name=rect\n    x=1\n  End\n  \nEnd\n\n"
            "Face=1\n  Objet=2\n    Name=rect\n    Face=2\n    x=2\n  End\n  \n"
            "  Objet=3\n    Name=cercle\n  End\n"         // unknown type: skipped
            "  Objet=4\n    x=3\n  End\n"                 // no Name: skipped
            "  Objet=2\n    Name=rect\n    x=5\n  End\n"  // same number again: read as its own object
            "End\n\nFace=3\n  Objet=9\n    Name=rect\n  End\nEnd\n"));
  EXPECT_EQ(d->Gabarit, 5);
  ASSERT_EQ(d->Count(), 3);
  // Face 1 first, whatever the order in the file; the face line decides an object's face.
  EXPECT_EQ(static_cast<TzunoCADRect*>(d->Objet(0))->x, 2);
  EXPECT_EQ(d->Objet(0)->Face, 1);
  EXPECT_EQ(static_cast<TzunoCADRect*>(d->Objet(1))->x, 5);
  EXPECT_EQ(static_cast<TzunoCADRect*>(d->Objet(2))->x, 1);
  EXPECT_EQ(d->Objet(2)->Face, 2);

  // Objects of face 3 are written but not read back.
  d->Objet(1)->Face = 3;
  d->SaveToStrings();
  auto e = NewDoc();
  e->LoadFromStrings(d->Text());
  EXPECT_EQ(e->Count(), 2);

  // A first empty line: empty header, a fresh one is written and the faces once.
  auto f = NewDoc();
  f->LoadFromStrings(Lines("\nFace=1\n  Objet=1\n    Name=rect\n  End\nEnd\n"));
  EXPECT_EQ(f->Count(), 1);
  const QStringList& s = f->SaveToStrings();
  EXPECT_EQ(s.mid(0, 4), (QStringList{"Version=1.2", "Large=0", "Haut=0", ""}));
  EXPECT_EQ(s.count(QStringLiteral("Face=1")), 1);
}

// An object block runs to its "  End": blank lines, lines of spaces and stray indentation inside it
// lose none of its keys; an "Objet=" line still starts a new block when an End is missing.
TEST(Document, ObjectBlocksRunToTheirEnd) {
  const struct {
    const char* inside;
    const char* what;
  } cases[] = {{"  ", "two spaces"},
               {"    ", "four spaces"},
               {"   ", "three spaces"},
               {"", "empty line"},
               {"   Pen=0000FF,1,0", "property indented by three"},
               {"      Pen=0000FF,1,0", "indented by six"}};
  for (const auto& c : cases) {
    auto d = NewDoc();
    d->LoadFromStrings(Lines("Large=50\nHaut=40\n\nFace=1\n  Objet=1\n    Name=rectangle\n") +
                       QStringList{QString::fromLatin1(c.inside)} +
                       Lines("    x=12\n    y=13\n    l=14\n    h=15\n  End\n  \n"
                             "  Objet=2\n    Name=rect\n    x=1\n"  // no End: the next block stays apart
                             "  Objet=3\n    Name=rect\n    x=2\n  End\nEnd\n"));
    ASSERT_EQ(d->Count(), 3) << c.what;
    auto* r = static_cast<TzunoCADRect*>(d->Objet(0));
    EXPECT_EQ(QRectF(r->x, r->y, r->l, r->h), QRectF(12, 13, 14, 15)) << c.what;
    if (QByteArray(c.inside).contains("Pen")) EXPECT_EQ(WritePen(r->Pen), "0000FF,1,0") << c.what;
    EXPECT_EQ(static_cast<TzunoCADRect*>(d->Objet(1))->x, 1) << c.what;
    EXPECT_EQ(static_cast<TzunoCADRect*>(d->Objet(2))->x, 2) << c.what;
  }
}

TEST(Document, ObjectListOperations) {
  auto d = NewDoc(100, 50);
  auto* a = static_cast<TzunoCADRect*>(d->CreateObjet(QStringLiteral("rectangle")));
  a->Code = QStringLiteral("a");
  auto* b = static_cast<TzunoCADRect*>(d->CreateObjet(QStringLiteral("rectangle")));
  b->Face = 2;
  b->x = 500;  // off the page
  d->CreateObjet(QStringLiteral("ligne"));
  EXPECT_EQ(d->CountFace(1), 2);
  EXPECT_EQ(d->CountHorsPage(false), 1);
  EXPECT_EQ(d->CountHorsPage(true), 1);
  EXPECT_EQ(b->x, 50);
  EXPECT_EQ(d->CountHorsPage(false), 0);

  TzunoCADObj* c = d->CloneObjet(a);
  EXPECT_EQ(d->IndexOf(c), 3);
  EXPECT_EQ(c->Code, "a");
  EXPECT_EQ(c->GetProperties(), a->GetProperties());

  d->DupliquerFace(1, 2);
  EXPECT_EQ(d->CountFace(2), 4);  // b plus copies of the three face-1 objects
  d->SupprimerFace(1);
  EXPECT_EQ(d->Count(), 4);
  d->DeleteObjet(d->Objet(0));
  EXPECT_EQ(d->Count(), 3);
  d->ClearObjets();
  EXPECT_EQ(d->Count(), 0);

  EXPECT_EQ(d->ResoudreFichier(QStringLiteral("x.jpg")), "x.jpg");
  d->OnCheminFichier = [](TzunoCADMdl*, QString& n) { n = QStringLiteral("/images/") + n; };
  EXPECT_EQ(d->ResoudreFichier(QStringLiteral("x.jpg")), "/images/x.jpg");
}

TEST(Document, MergeFields) {
  auto d = NewDoc();
  EXPECT_EQ(d->SubstituteFields(nullptr, QStringLiteral("Bonjour <Nom>")), "Bonjour ");
  d->OnChampFusion = [](TzunoCADObj*, const QString& f, QString& v) {
    if (f == QLatin1String("nom")) v = QStringLiteral("Lune");
    if (f == QLatin1String("double")) v = QStringLiteral("<nom> et <nom>");
    if (f == QLatin1String("boucle")) v = QStringLiteral("x<boucle>");
  };
  EXPECT_EQ(d->SubstituteFields(nullptr, QStringLiteral("Bonjour <Nom>")), "Bonjour Lune");
  EXPECT_EQ(d->SubstituteFields(nullptr, QStringLiteral("a > b <c <NOM>")), "a > b <c Lune");
  EXPECT_EQ(d->SubstituteFields(nullptr, QStringLiteral("<no")), "<no");
  // Values are text: marks inside them stay as they are, a "<" inside them opens no field, and a
  // field resolving to itself cannot loop.
  const struct {
    const char* text;
    const char* want;
  } values[] = {
      {"<double>!", "<nom> et <nom>!"},    {"<boucle>", "x<boucle>"}, {"<mail>", "Jean <jean@x.fr>"},
      {"<ville>, <nom>", "<Ville>, Lune"}, {"<ouvre>nom>", "x<nom>"},
  };
  d->OnChampFusion = [](TzunoCADObj*, const QString& f, QString& v) {
    if (f == QLatin1String("nom")) v = QStringLiteral("Lune");
    if (f == QLatin1String("double")) v = QStringLiteral("<nom> et <nom>");
    if (f == QLatin1String("boucle")) v = QStringLiteral("x<boucle>");
    if (f == QLatin1String("mail")) v = QStringLiteral("Jean <jean@x.fr>");
    if (f == QLatin1String("ville")) v = QStringLiteral("<Ville>");
    if (f == QLatin1String("ouvre")) v = QStringLiteral("x<");
  };
  for (const auto& c : values)
    EXPECT_EQ(d->SubstituteFields(nullptr, QString::fromUtf8(c.text)), QString::fromUtf8(c.want)) << c.text;
}

TEST(Document, FilesInBothEncodingsAndLineEnds) {
  QTemporaryDir dir;
  const QString lf = dir.filePath(QStringLiteral("lf.mdl"));
  WriteAll(lf, "Large=10\nHaut=20\n\nFace=1\n  Objet=1\n    Name=texte\n    txt=Caf\xE9 \x80\n  End\nEnd\n");
  auto d = NewDoc();
  ASSERT_TRUE(d->LoadFromFile(lf));
  ASSERT_EQ(d->Count(), 1);
  EXPECT_EQ(static_cast<TzunoCADTexte*>(d->Objet(0))->txt, QString::fromUtf8("Caf\u00E9 \u20AC"));

  // Text Windows-1252 cannot hold goes out as UTF-8 with a BOM and comes back unchanged.
  const QString out = dir.filePath(QStringLiteral("out.mdl"));
  static_cast<TzunoCADTexte*>(d->Objet(0))->txt = QString::fromUtf8("\u65E5\u672C \u00E9");
  ASSERT_TRUE(d->SaveToFile(out));
  EXPECT_TRUE(
      ReadAll(out).startsWith("\xEF\xBB\xBF"
                              "Large=10\r\n"));
  auto e = NewDoc();
  ASSERT_TRUE(e->LoadFromFile(out));
  EXPECT_EQ(static_cast<TzunoCADTexte*>(e->Objet(0))->txt, QString::fromUtf8("\u65E5\u672C \u00E9"));

  // Lone CR line ends are line ends too.
  WriteAll(lf, "Large=10\rHaut=20\r\rFace=1\r  Objet=1\r    Name=rect\r  End\rEnd\r");
  ASSERT_TRUE(e->LoadFromFile(lf));
  EXPECT_EQ(e->Count(), 1);
  EXPECT_EQ(e->Haut, 20);

  // Missing and unreadable files.
  EXPECT_FALSE(e->LoadFromFile(dir.filePath(QStringLiteral("absent.mdl"))));
  EXPECT_EQ(e->Count(), 0);
  EXPECT_FALSE(e->LoadFromFile(dir.path()));
  EXPECT_FALSE(e->SaveToFile(dir.filePath(QStringLiteral("no/such/folder/x.mdl"))));
}

TEST(Document, SavingReplacesTheFileAtomically) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("doc.mdl"));
  WriteAll(path, "old");
  auto d = NewDoc();
  ASSERT_TRUE(d->SaveToFile(path));
  EXPECT_TRUE(ReadAll(path).startsWith("Version=1.2"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left behind
}

TEST(Document, GroupsReadNestedDocumentsWithoutLooping) {
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("a.mdl")), b = dir.filePath(QStringLiteral("b.mdl"));
  // a holds a group showing b, b a group showing a: reading either must stop.
  const QByteArray group =
      "Face=1\r\n  Objet=1\r\n    Name=groupe\r\n    l=10\r\n    h=10\r\n    FichierMdl=%1\r\n"
      "  End\r\n  Objet=2\r\n    Name=rectangle\r\n  End\r\nEnd\r\n";
  WriteAll(a, "Large=30\r\nHaut=20\r\n\r\n" + QString::fromLatin1(group).arg(b).toLatin1());
  WriteAll(b, "Large=40\r\nHaut=25\r\n\r\n" + QString::fromLatin1(group).arg(a).toLatin1());
  auto d = NewDoc();
  ASSERT_TRUE(d->LoadFromFile(a));
  auto* g = static_cast<TzunoCADGroup*>(d->Objet(0));
  ASSERT_EQ(g->Nested()->Count(), 2);
  EXPECT_EQ(g->Nested()->Large, 40);
  auto* inner = static_cast<TzunoCADGroup*>(g->Nested()->Objet(0));
  EXPECT_EQ(inner->Nested()->Count(), 0);  // would be a again
  EXPECT_EQ(PropValue(g->GetProperties(), u"FichierMdl"), "b.mdl");
}

// Reading what was written gives the same objects, and a second save gives the same bytes.
TEST(Document, RoundTripsAreStable) {
  auto d = NewDoc(127.3, 93.125);
  d->FriseX = 12.5;
  d->ColorPapier = RGBColor(250, 240, 230);
  d->Gabarit = 6;
  for (const char* name : kObjectTypeNames) {
    TzunoCADObj* o = d->CreateObjet(QString::fromLatin1(name));
    if (o->IsBox()) {
      auto* b = static_cast<TzunoCADRect*>(o);
      b->x = 33.33333;
      b->y = 12.00005;
      b->l = 20.5;
      b->h = 10.25;
      b->r = 17.123456;
    }
  }
  auto* t = static_cast<TzunoCADTexte*>(d->Objet(2));
  t->Aligne = 1;
  t->Font.Height = 6000;
  t->LayoutText(QStringLiteral("Premier|deuxième <Nom>|  "));
  static_cast<TzunoCADLigne*>(d->Objet(12))->AddPoint(QPointF(1.23456, 2));
  d->Objet(13)->Face = 2;

  const QStringList first = d->SaveToStrings();
  auto e = NewDoc();
  e->LoadFromStrings(first);
  const QStringList second = e->SaveToStrings();
  auto f = NewDoc();
  f->LoadFromStrings(second);
  EXPECT_EQ(f->SaveToStrings(), second);
  ASSERT_EQ(e->Count(), f->Count());
  for (int i = 0; i < e->Count(); ++i) EXPECT_EQ(e->Objet(i)->GetProperties(), f->Objet(i)->GetProperties());
  // An anchored text keeps its place across loads.
  auto* t1 = static_cast<TzunoCADTexte*>(e->Objet(2));
  auto* t2 = static_cast<TzunoCADTexte*>(f->Objet(2));
  EXPECT_EQ(t1->x, t2->x);
  EXPECT_EQ(t1->l, t2->l);
}
