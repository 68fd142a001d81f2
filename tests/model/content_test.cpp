#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/files.h"
#include "model/document.h"
#include "model/host.h"
#include "model/kinds.h"
#include "render/codecs.h"
#include "render/emf_writer.h"
#include "shell/textfile.h"

namespace {

// A picture of one colour; the extension chooses the format.
void WritePicture(const QString& path, int w, int h, QColor colour = Qt::gray) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(colour);
  if (path.endsWith(QLatin1String(".jpg")))
    ASSERT_TRUE(SaveJpeg(img, path)) << path.toStdString();
  else
    ASSERT_TRUE(img.save(path, "PNG")) << path.toStdString();
}

// A document of 100 x 100 mm at 4 pixels per millimetre whose pictures live in one folder. The
// folder is named "fonds": a resolver's folder must never count as part of a picture's name.
struct ContentFixture : ::testing::Test {
  QTemporaryDir tmp;
  QString dir = tmp.filePath(QStringLiteral("fonds"));
  TzunoCADMdl doc{nullptr, QRect(0, 0, 400, 400), 100, 100};

  void SetUp() override {
    QDir().mkpath(dir);
    // As the installation's resolver does: the file in its folder, "|" and a checksum.
    doc.OnCheminFichier = [this](TzunoCADMdl*, QString& name) {
      if (name.isEmpty() || QFileInfo(name).isAbsolute()) return;
      QString n = name;
      n.replace(QLatin1Char('\\'), QLatin1Char('/'));
      name = dir + QLatin1Char('/') + n + QStringLiteral("|5eed");
    };
  }
  TzunoCADImage* Image(const QString& file, const QString& code, double l = 40, double h = 40) {
    auto* img = static_cast<TzunoCADImage*>(doc.CreateObjet(QStringLiteral("image")));
    img->SetProperties({QStringLiteral("Code=") + code, QStringLiteral("x=50"), QStringLiteral("y=50"),
                        QStringLiteral("l=") + QString::number(l), QStringLiteral("h=") + QString::number(h),
                        QStringLiteral("FichierImage=") + file});
    return img;
  }
  TzunoCADTexte* Text(const QString& txt, const QString& code, double storedWidth = 0, int aligne = 0) {
    auto* t = static_cast<TzunoCADTexte*>(doc.CreateObjet(QStringLiteral("texte")));
    t->SetProperties({QStringLiteral("Code=") + code, QStringLiteral("x=50"), QStringLiteral("y=50"),
                      QStringLiteral("l=") + QString::number(storedWidth), QStringLiteral("h=0"),
                      QStringLiteral("Font=000000,Arial,5000,"),
                      QStringLiteral("Aligne=") + QString::number(aligne), QStringLiteral("txt=") + txt});
    return t;
  }
  QStringList Props(TzunoCADObj* o) { return o->GetProperties(); }
};

}  // namespace

TEST_F(ContentFixture, RemplaceImageMatchesTheSavedNameAndKeepsCodesOnlyForOLD) {
  WritePicture(dir + QStringLiteral("/fond.jpg"), 20, 20);
  WritePicture(dir + QStringLiteral("/Images/fond_bleu.png"), 20, 20);
  WritePicture(dir + QStringLiteral("/ciel.png"), 20, 20);
  WritePicture(dir + QStringLiteral("/neuf.png"), 30, 10, Qt::red);
  TzunoCADImage* a = Image(QStringLiteral("fond.jpg"), QStringLiteral("a"));
  TzunoCADImage* b = Image(QStringLiteral("Images\\fond_bleu.png"), QStringLiteral("b"));
  TzunoCADImage* c = Image(QStringLiteral("ciel.png"), QStringLiteral("c"));
  ASSERT_TRUE(c->FichierImage.contains(QLatin1String("/fonds/")));  // the trap: "fond" in the folder
  // A name with a folder looks at the folders stored, whichever separator either uses.
  EXPECT_FALSE(doc.RemplaceImage(QStringLiteral("Images\\ciel"), QStringLiteral("neuf.png"),
                                 QStringLiteral("x"), false));
  EXPECT_TRUE(doc.RemplaceImage(QStringLiteral("Images/fond"), QStringLiteral("Images\\fond_bleu.png"),
                                QStringLiteral("OLD"), false));
  EXPECT_EQ(c->Code, "c");

  EXPECT_TRUE(
      doc.RemplaceImage(QStringLiteral("fond"), QStringLiteral("neuf.png"), QStringLiteral("OLD"), false));
  for (TzunoCADImage* img : {a, b}) {
    EXPECT_EQ(img->FichierImage, dir + QStringLiteral("/neuf.png|5eed"));
    EXPECT_EQ(img->PictureSize(), QSize(30, 10));
  }
  EXPECT_EQ(a->Code, "a");
  EXPECT_EQ(b->Code, "b");
  EXPECT_TRUE(c->FichierImage.endsWith(QLatin1String("/ciel.png|5eed")));

  // Any other code, the empty one included, is written; fitting keeps the centre.
  EXPECT_TRUE(doc.RemplaceImage(QStringLiteral("neuf"), QStringLiteral("neuf.png"), QString(), true));
  EXPECT_EQ(a->Code, "");
  EXPECT_EQ(b->Code, "");
  EXPECT_DOUBLE_EQ(a->l, 40);
  EXPECT_NEAR(a->h, 40.0 / 3, 1e-3);
  EXPECT_DOUBLE_EQ(a->y, 50);
  EXPECT_FALSE(
      doc.RemplaceImage(QStringLiteral("absent"), QStringLiteral("neuf.png"), QStringLiteral("x"), false));
}

TEST_F(ContentFixture, ReplacingByCodeFitsTheBoxToThePicture) {
  WritePicture(dir + QStringLiteral("/large.png"), 400, 100);
  TzunoCADImage* a = Image(QString(), QStringLiteral("photo"), 120, 120);
  TzunoCADImage* b = Image(QString(), QStringLiteral("photo"), 120, 120);
  TzunoCADImage* other = Image(QString(), QStringLiteral("autre"), 120, 120);
  EXPECT_FALSE(
      doc.RemplaceImageParCode(QStringLiteral("Photo"), QStringLiteral("large.png"), true));  // case matters
  EXPECT_TRUE(doc.RemplaceImageParCode(QStringLiteral("photo"), QStringLiteral("large.png"), true));
  for (TzunoCADImage* img : {a, b}) {
    EXPECT_DOUBLE_EQ(img->l, 120);
    EXPECT_DOUBLE_EQ(img->h, 30);
    EXPECT_DOUBLE_EQ(img->x, 50);
  }
  EXPECT_FALSE(other->HasPicture());
  EXPECT_EQ(doc.GetContenuParCode(QStringLiteral("photo")), dir + QStringLiteral("/large.png|5eed"));

  EXPECT_TRUE(doc.RemplaceToutesImages(QStringLiteral("large.png"), false));
  EXPECT_DOUBLE_EQ(other->h, 120);  // without fit the box stays
  EXPECT_TRUE(other->HasPicture());
  TzunoCADMdl empty(nullptr, QRect(), 10, 10);
  empty.CreateObjet(QStringLiteral("texte"));
  EXPECT_FALSE(empty.RemplaceToutesImages(QStringLiteral("large.png"), true));
}

TEST_F(ContentFixture, TextsAreFilledWrappedToTheirStoredWidth) {
  doc.OnChampFusion = [](TzunoCADObj*, const QString& field, QString& value) {
    if (field == QLatin1String("nom")) value = QStringLiteral("Lune");
  };
  TzunoCADTexte* wide = Text(QStringLiteral("<Texte1>"), QStringLiteral("t"), 30, 1);
  TzunoCADTexte* unknown = Text(QStringLiteral("<Texte2>"), QStringLiteral("u"));
  TzunoCADImage* img = Image(QString(), QStringLiteral("u"));
  const QPointF corner = wide->HandlePos(1);

  const QString words = QStringLiteral("un deux trois quatre cinq six sept huit neuf dix <Nom>");
  EXPECT_EQ(doc.SetContenuParCode(QStringLiteral("t"), words), wide);
  const QStringList lines = wide->txt.split(QLatin1Char('|'));
  EXPECT_GT(lines.size(), 2);
  EXPECT_EQ(lines.join(QLatin1Char(' ')), words);
  TCanvas& c = doc.MeasureCanvas();
  c.SetFont(wide->ScaledFont());
  for (const QString& line : lines) EXPECT_LT(doc.PxToMmX(c.TextWidth(line)), 30) << line.toStdString();
  EXPECT_TRUE(wide->Displayed.endsWith(QLatin1String("Lune")));
  EXPECT_EQ(doc.GetContenuParCode(QStringLiteral("t")), wide->Displayed);
  EXPECT_NEAR(wide->HandlePos(1).x(), corner.x(), 1e-9);  // the anchor corner stays
  EXPECT_NEAR(wide->HandlePos(1).y(), corner.y(), 1e-9);
  const qsizetype shown = TextLines(wide->Displayed).size();
  EXPECT_NEAR(wide->h, shown * 5.0, shown * 0.5);

  // A text stored without a width (as this program writes them all) keeps its lines as given
  // instead of one word per line; line breaks become "|". An image of the code loads the value.
  WritePicture(dir + QStringLiteral("/p.png"), 8, 8);
  EXPECT_EQ(doc.SetContenuParCode(QStringLiteral("u"), QStringLiteral("un deux trois\r\nquatre")), img);
  EXPECT_EQ(unknown->txt, "un deux trois|quatre");
  EXPECT_EQ(doc.SetContenuParCode(QStringLiteral("u"), QStringLiteral("p.png")), img);
  EXPECT_TRUE(img->HasPicture());
  // A given line break is no part of a word: a line that fits stays whole.
  TCanvas& m = doc.MeasureCanvas();
  m.SetFont(wide->ScaledFont());
  TzunoCADTexte* exact = Text(QStringLiteral("x"), QStringLiteral("e"),
                              doc.PxToMmX(m.TextWidth(QStringLiteral("un deux trois"))) + 0.5);
  doc.SetContenuParCode(QStringLiteral("e"), QStringLiteral("un deux trois|quatre"));
  EXPECT_EQ(exact->txt, "un deux trois|quatre");
  EXPECT_EQ(doc.SetContenuParCode(QStringLiteral("none"), QStringLiteral("x")), nullptr);
  EXPECT_EQ(doc.GetContenuParCode(QStringLiteral("none")), "");

  // Another address card: every text takes the new values.
  doc.OnChampFusion = [](TzunoCADObj*, const QString&, QString& value) { value = QStringLiteral("Soleil"); };
  doc.RelayoutTextes();
  EXPECT_TRUE(wide->Displayed.endsWith(QLatin1String("Soleil")));
  EXPECT_EQ(unknown->Displayed, "p.png");
}

TEST_F(ContentFixture, SetTexteParCodeShrinksLongTextsAndGivesTheHeightBack) {
  TzunoCADTexte* t = Text(QStringLiteral("huit car"), QStringLiteral("texte1"));
  struct Step {
    const char* text;
    int height;
  } steps[] = {
      {"seize caracteres", 2500},                   // 5000 x 8 / 16
      {"un texte de 32 caractères en tout", 1212},  // 2500 x 16 / 33
      {"court", 5000},                              // never above the height read, and not left shrunk either
      {"", 5000},                                   // nothing to measure by: the font stays
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(
        doc.SetTexteParCode(QStringLiteral("texte1"), QString::fromUtf8(s.text), QStringLiteral("texte1")));
    EXPECT_EQ(t->Font.Height, s.height) << s.text;
    EXPECT_EQ(t->txt, QString::fromUtf8(s.text));
  }
  // A placeholder shows nothing (its field has no value): the font keeps its height instead of
  // dropping to 0. The wizard's empty new code takes the code away.
  TzunoCADTexte* placeholder = Text(QStringLiteral("<Texte2>"), QStringLiteral("texte2"));
  ASSERT_EQ(placeholder->Displayed, "");
  EXPECT_TRUE(doc.SetTexteParCode(QStringLiteral("texte2"), QStringLiteral("Bonne fête à tous"), QString()));
  EXPECT_EQ(placeholder->Font.Height, 5000);
  EXPECT_GT(placeholder->l, 20);
  EXPECT_EQ(placeholder->Code, "");
  EXPECT_FALSE(doc.SetTexteParCode(QStringLiteral("texte2"), QStringLiteral("x"), QString()));
}

TEST_F(ContentFixture, ImageVariantsCarryOneRandomNumberOverEveryFile) {
  for (const char* f : {"c.jpg", "a.jpg", "b.jpg", "g.png", "d.png", "f.png", "e.png"})
    WritePicture(dir + '/' + f, 4, 4);
  const QString other = tmp.filePath(QStringLiteral("autres"));
  for (const char* f : {"x.png", "y.png", "z.PNG", "w.jpeg"}) WritePicture(other + '/' + f, 4, 4);
  TzunoCADImage* jpg = Image(QStringLiteral("b.jpg"), QStringLiteral("1"));
  TzunoCADImage* jpg2 = Image(QStringLiteral("b.jpg"), QStringLiteral("2"));
  TzunoCADImage* png = Image(QStringLiteral("d.png"), QStringLiteral("3"));
  Image(QString(), QStringLiteral("4"));  // an image without a file has no variants

  // a, b, c .jpg and d to g .png; the stored names are among them and count once.
  EXPECT_EQ(doc.CompteVariantesImages(), 7);
  const QStringList folders{other, tmp.filePath(QStringLiteral("absent"))};
  EXPECT_EQ(doc.CompteVariantesImages(&folders), 2 + 3);  // b.jpg, d.png and x, y, z

  int draws = 0;
  doc.Hasard = [&draws](int bound) {
    ++draws;
    return bound - 1;
  };
  struct Case {
    int index;
    const char* jpg;  // of a, b, c
    const char* png;  // of d, e, f, g
  } cases[] = {
      {-1, "c.jpg", "f.png"},  // one draw (2 of 3), carried to the next file: 2 of 4
      {5, "c.jpg", "f.png"},   // 5 mod 3 = 2, carried: 2 mod 4
      {4, "b.jpg", "e.png"},
  };
  for (const Case& k : cases) {
    ASSERT_TRUE(
        doc.RemplaceImage(QStringLiteral(".jpg"), QStringLiteral("b.jpg"), QStringLiteral("OLD"), false));
    ASSERT_TRUE(
        doc.RemplaceImage(QStringLiteral(".png"), QStringLiteral("d.png"), QStringLiteral("OLD"), false));
    EXPECT_TRUE(doc.ChoisirVarianteImage(nullptr, k.index));
    for (TzunoCADImage* img : {jpg, jpg2})
      EXPECT_EQ(img->FichierImage, dir + '/' + k.jpg + QStringLiteral("|5eed")) << k.index;
    EXPECT_EQ(png->FichierImage, dir + '/' + k.png + QStringLiteral("|5eed")) << k.index;
  }
  EXPECT_EQ(draws, 1);
  EXPECT_EQ(jpg->Code, "1");

  // Given folders: the pictures come from there (the resolver does not know that folder, so the
  // full path is loaded). No candidate for one file makes the result false.
  EXPECT_FALSE(doc.ChoisirVarianteImage(&folders, 1));
  EXPECT_EQ(png->FichierImage, other + QStringLiteral("/y.png"));
  EXPECT_TRUE(png->HasPicture());
  EXPECT_EQ(FileNamePart(jpg->FichierImage), "b.jpg|5eed");  // no .jpg there (w.jpeg is another extension)
}

TEST_F(ContentFixture, SupportsFitTheDocumentAndListTheirVariants) {
  auto writeSupport = [&](const QString& base, const QStringList& header) {
    TEmfWriter w(QRect(QPoint(0, 0), QPoint(1000, 1000)));
    ASSERT_TRUE(w.Save(dir + QLatin1Char('/') + base + QStringLiteral(".emf")));
    ASSERT_TRUE(WriteTextFile(dir + QLatin1Char('/') + base + QStringLiteral(".mdl"),
                              header + QStringList{QString()}));
  };
  writeSupport(QStringLiteral("boite_DV"),
               {QStringLiteral("SupportFichier=boite_DV.emf"), QStringLiteral("SupportPosX%=40"),
                QStringLiteral("SupportPosY%=60"), QStringLiteral("Large=150"), QStringLiteral("Haut=130")});
  writeSupport(QStringLiteral("sac_DV"), {QStringLiteral("Large=80"), QStringLiteral("Haut=90")});
  writeSupport(QStringLiteral("vide_DV"), {QStringLiteral("Version=1.2")});
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(1000, 1000)));
  ASSERT_TRUE(w.Save(dir + QStringLiteral("/seul_DV.emf")));

  struct Case {
    bool fit;
    double large, haut;
  } cases[] = {{true, 130, 130}, {false, 150, 130}};
  for (const Case& k : cases) {
    TzunoCADMdl d(nullptr, QRect(0, 0, 120, 120), 120, 120);
    d.OnCheminFichier = doc.OnCheminFichier;
    auto* r = static_cast<TzunoCADRect*>(d.CreateObjet(QStringLiteral("rectangle")));
    r->x = r->y = 60;
    r->l = r->h = 20;
    ASSERT_TRUE(d.SetSupport(QStringLiteral("boite_DV"), k.fit));
    EXPECT_EQ(d.Large, k.large);
    EXPECT_EQ(d.Haut, k.haut);
    EXPECT_DOUBLE_EQ(r->x, k.large / 2);
    EXPECT_DOUBLE_EQ(r->h, 20 * k.haut / 120);
    EXPECT_EQ(d.GetEntete(QStringLiteral("SupportFichier")), "boite_DV.emf");
    EXPECT_EQ(d.GetEntete(QStringLiteral("SupportPosX%")), "40");
    EXPECT_EQ(d.GetEntete(QStringLiteral("SupportPosY%")), "60");
  }

  // A description without a place centres the page; a missing support, a missing description or
  // one without a size change nothing.
  doc.SetEntete(QStringLiteral("Garde"), QStringLiteral("1"));
  const QStringList before = doc.SaveToStrings();
  for (const char* name : {"absent", "seul_DV", "vide_DV", ""}) {
    EXPECT_FALSE(doc.SetSupport(QString::fromLatin1(name), true)) << name;
    EXPECT_EQ(doc.SaveToStrings(), before) << name;
  }
  ASSERT_TRUE(doc.SetSupport(QStringLiteral("sac_DV"), false));
  EXPECT_EQ(doc.GetEntete(QStringLiteral("SupportPosX%")), "50");

  // Variants: same view (suffix) or same product (prefix), anywhere under the supports folder.
  struct Host : TObjectHost {
    QString data;
    QString ReadSoftString(const QString&) override { return QString(); }
    int ReadSoftInteger(const QString&) override { return -1; }
    QString DataPath() override { return data; }
    QString Text(const QString&, const QString& fallback) override { return fallback; }
    void ShowMessage(const QString&) override {}
    QList<QPair<QString, QString>> ShellFolders() override { return {}; }
    QSizeF SupportSize(const QString&) override { return QSizeF(); }
  } host;
  const QString supports = tmp.filePath(QStringLiteral("data/Supports/"));
  for (const char* f :
       {"tshirt_DV.emf", "tshirt_DR.emf", "Textile/sweat_DV.emf", "Accessoires/casquette_dv.emf",
        "Accessoires/casquette_AD.emf", "Accessoires/casquette_AD.mdl", "TSHIRT.emf"})
    WriteAll(supports + QString::fromLatin1(f), "x");
  doc.SetEntete(QStringLiteral("SupportFichier"), QStringLiteral("tshirt_DV.emf"));
  QStringList list{QStringLiteral("kept")};
  EXPECT_EQ(doc.ListeVariantesSupport(list, 0), "");  // no settings: nothing
  EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
  host.data = tmp.filePath(QStringLiteral("data/"));
  struct Guard {
    explicit Guard(TObjectHost* h) { SetObjectHost(h); }
    ~Guard() { SetObjectHost(nullptr); }
  } guard(&host);
  list.clear();
  EXPECT_EQ(doc.ListeVariantesSupport(list, 0), "DV");
  EXPECT_EQ(list, (QStringList{QStringLiteral("casquette_dv.emf"), QStringLiteral("sweat_DV.emf")}));
  list.clear();
  EXPECT_EQ(doc.ListeVariantesSupport(list, 1), "tshirt");
  EXPECT_EQ(list, (QStringList{QStringLiteral("TSHIRT.emf"), QStringLiteral("tshirt_DR.emf")}));
}

TEST_F(ContentFixture, RedimensionnerScalesBoxesLinesAndFontsButNotGuides) {
  TzunoCADTexte* t = Text(QStringLiteral("Bonjour"), QStringLiteral("t"), 0, 1);
  auto* r = static_cast<TzunoCADRect*>(doc.CreateObjet(QStringLiteral("rectangle")));
  r->x = 20, r->y = 30, r->l = 10, r->h = 8, r->r = 30;
  auto* line = static_cast<TzunoCADLigne*>(doc.CreateObjet(QStringLiteral("ligne")));
  line->Points = {QPointF(10, 10), QPointF(20, 40), QPointF(30, 30), QPointF(90, 90)};
  auto* mark = static_cast<TzunoCADRepere*>(doc.CreateObjet(QStringLiteral("repere")));
  mark->position = 40;
  Image(QString(), QStringLiteral("i"));

  std::vector<QStringList> before;
  for (const auto& o : doc.Objets()) before.push_back(o->GetProperties());
  doc.Redimensionner(100, 100);
  for (int i = 0; i < doc.Count(); ++i)
    EXPECT_EQ(doc.Objet(i)->GetProperties(), before[static_cast<size_t>(i)]) << i;

  const double tx = t->x, ty = t->y;
  doc.Redimensionner(50, 300);  // height first
  EXPECT_EQ(doc.Large, 300);
  EXPECT_EQ(doc.Haut, 50);
  EXPECT_DOUBLE_EQ(r->x, 60);
  EXPECT_DOUBLE_EQ(r->l, 30);
  EXPECT_DOUBLE_EQ(r->y, 15);
  EXPECT_DOUBLE_EQ(r->h, 4);
  EXPECT_DOUBLE_EQ(r->r, 30);
  EXPECT_EQ(line->Points,
            (QList<QPointF>{QPointF(30, 5), QPointF(60, 20), QPointF(90, 15), QPointF(270, 45)}));
  EXPECT_EQ(mark->position, 40);
  EXPECT_EQ(t->Font.Height, 15000);
  EXPECT_DOUBLE_EQ(t->x, tx * 3);
  EXPECT_DOUBLE_EQ(t->y, ty / 2);

  doc.Redimensionner(0, 10);  // a page has a size
  EXPECT_EQ(doc.Large, 300);
}

TEST_F(ContentFixture, ConvertirChampsProUsesOnlyListedForms) {
  const QString fields = tmp.filePath(QStringLiteral("fiches_champs_1.def"));
  ASSERT_TRUE(WriteTextFile(
      fields, {QStringLiteral("Page;Contrôle;Champ;Libellé"), QStringLiteral("0;TEdit;<Nom>;Nom"),
               QStringLiteral("0;TEdit;<Ville>;Ville"), QStringLiteral("0;TEdit;<Société>;Société"),
               QStringLiteral("1;TEdit;<VillePRO>;Ville"), QStringLiteral("1;TEdit;<Fonction>;Fonction"),
               QStringLiteral("1;TEdit"), QString()}));
  TzunoCADTexte* a = Text(QStringLiteral("<Nom> à <Ville>, <Ville>"), QStringLiteral("texte1"));
  TzunoCADTexte* b = Text(QStringLiteral("<Société> <VillePRO>"), QString());
  doc.OnChampFusion = [](TzunoCADObj*, const QString& field, QString& value) { value = field.toUpper(); };

  doc.ConvertirChampsPro(true, QString(), fields);
  EXPECT_EQ(a->txt, "<Nom> à <VillePRO>, <VillePRO>");  // "<NomPRO>" is not listed
  EXPECT_EQ(b->txt, "<Société> <VillePRO>");
  EXPECT_EQ(a->Displayed, "NOM à VILLEPRO, VILLEPRO");  // laid out again
  doc.ConvertirChampsPro(false, QString(), fields);
  EXPECT_EQ(a->txt, "<Nom> à <Ville>, <Ville>");
  EXPECT_EQ(b->txt, "<Société> <Ville>");

  // The marker field: added once on the professional side, as a copy of the first text at the page
  // centre (without its code), and deleted on the personal side.
  doc.ConvertirChampsPro(true, QStringLiteral("<Fonction>"), fields);
  ASSERT_EQ(doc.Count(), 3);
  auto* marker = static_cast<TzunoCADTexte*>(doc.Objet(2));
  EXPECT_EQ(marker->txt, "<Fonction>");
  EXPECT_EQ(marker->Code, "");
  EXPECT_EQ(marker->Font.Height, a->Font.Height);
  EXPECT_DOUBLE_EQ(marker->x, 50);
  doc.ConvertirChampsPro(true, QStringLiteral("<Fonction>"), fields);
  EXPECT_EQ(doc.Count(), 3);
  b->LayoutText(QStringLiteral("Directeur <Fonction>"));
  doc.ConvertirChampsPro(false, QStringLiteral("<Fonction>"), fields);
  ASSERT_EQ(doc.Count(), 1);
  EXPECT_EQ(doc.Objet(0), a);
}

// Editors and other holders of object pointers hear of every object before it is freed.
TEST(DocumentNotices, EveryDeletionClearAndReloadIsToldWhileTheObjectLives) {
  struct Editor : TDocumentEditor {
    int forgets = 0;
    void ForgetObjects() override { ++forgets; }
  } plain;
  struct Watcher : TDocumentEditor {
    std::vector<std::pair<TzunoCADMdl*, TzunoCADObj*>> heard;
    void ForgetObjects() override {}
    void ObjetSupprime(TzunoCADMdl* d, TzunoCADObj* o) override { heard.emplace_back(d, o); }
  } watcher;

  QTemporaryDir tmp;
  const QString file = tmp.filePath(QStringLiteral("d.mdl"));
  TzunoCADMdl doc(&watcher, QRect(0, 0, 100, 100), 100, 100);
  QStringList told;
  doc.OnObjetSupprime = [&](TzunoCADObj* o) {
    EXPECT_GE(doc.IndexOf(o), 0);  // still in the list, so not yet freed
    told << o->Code;
  };
  auto add = [&](const char* code, int face) {
    TzunoCADObj* o = doc.CreateObjet(QStringLiteral("rectangle"));
    o->Code = QString::fromLatin1(code);
    o->Face = face;
    return o;
  };
  TzunoCADObj* a = add("a", 1);
  add("b", 2);
  add("c", 2);
  add("d", 1);
  ASSERT_TRUE(doc.SaveToFile(file));

  doc.DeleteObjet(a);
  EXPECT_EQ(told, QStringList{QStringLiteral("a")});
  ASSERT_EQ(watcher.heard.size(), 1u);
  EXPECT_EQ(watcher.heard[0], std::make_pair(&doc, a));
  doc.SupprimerFace(2);
  EXPECT_EQ(told, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
  told.clear();
  ASSERT_TRUE(doc.LoadFromFile(file));  // the reload lets "d" go
  EXPECT_EQ(told, QStringList{QStringLiteral("d")});
  told.clear();
  doc.ClearObjets();
  EXPECT_EQ(told, (QStringList{QStringLiteral("a"), QStringLiteral("d"), QStringLiteral("b"),
                               QStringLiteral("c")}));
  EXPECT_EQ(watcher.heard.size(), 8u);

  // An editor that only knows how to forget everything is made to forget; a document going away
  // tells no one.
  {
    TzunoCADMdl other(&plain, QRect(), 10, 10);
    other.DeleteObjet(other.CreateObjet(QStringLiteral("texte")));
    EXPECT_EQ(plain.forgets, 1);
    other.CreateObjet(QStringLiteral("texte"));
    other.ClearObjets();
    EXPECT_EQ(plain.forgets, 2);
    other.CreateObjet(QStringLiteral("texte"));
  }
  EXPECT_EQ(plain.forgets, 2);
}
