#include <gtest/gtest.h>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/kinds.h"

namespace {

// A document whose mapping is `scale` pixels per millimetre.
std::unique_ptr<TzunoCADMdl> Doc(double scale = 1) {
  auto d = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d->PixelsPerMmX = d->PixelsPerMmY = scale;
  return d;
}

TzunoCADRect* Box(TzunoCADMdl& d, double x, double y, double l, double h, double r = 0) {
  auto* b = static_cast<TzunoCADRect*>(d.CreateObjet(QStringLiteral("rectangle")));
  b->x = x;
  b->y = y;
  b->l = l;
  b->h = h;
  b->r = r;
  return b;
}

void ExpectNear(QPointF a, QPointF b) {
  EXPECT_NEAR(a.x(), b.x(), 1e-9);
  EXPECT_NEAR(a.y(), b.y(), 1e-9);
}

}  // namespace

TEST(Objects, RegistryKnowsTheFourteenKinds) {
  auto d = Doc();
  d->Large = 80;
  d->Haut = 40;
  for (const char* name : kObjectTypeNames) {
    TzunoCADObj* o = d->CreateObjet(QString::fromLatin1(name).toUpper());
    ASSERT_NE(o, nullptr) << name;
    EXPECT_EQ(o->Name, QString::fromLatin1(name));
    EXPECT_EQ(o->Document(), d.get());
    if (o->IsBox()) {
      auto* b = static_cast<TzunoCADRect*>(o);
      const bool bare = o->Name == QLatin1String("rect");
      EXPECT_EQ(b->x, bare ? 0 : 40) << name;
      EXPECT_EQ(b->y, bare ? 0 : 20) << name;
    }
  }
  EXPECT_EQ(d->Count(), 14);
  EXPECT_EQ(d->CreateObjet(QStringLiteral("cercle")), nullptr);
  EXPECT_EQ(d->Count(), 14);
  auto* t = static_cast<TzunoCADTexte*>(d->Objet(2));
  EXPECT_EQ(t->l, 8);
  EXPECT_EQ(t->h, 2);
}

TEST(Objects, BasePropertiesReadAndWrite) {
  auto d = Doc();
  TzunoCADObj* o = d->CreateObjet(QStringLiteral("rect"));
  // Missing keys: no selection, face 1, black dash pen, black clear brush.
  o->SetProperties({QStringLiteral("Name=rect"), QStringLiteral("Face=0")});
  EXPECT_FALSE(o->CanSelect);
  EXPECT_EQ(o->Face, 1);
  EXPECT_EQ(o->Pen, (TPen{clBlack, 1, psDash}));
  EXPECT_EQ(o->Brush, (TBrush{clBlack, bsClear}));
  EXPECT_EQ(o->HitTest(QPointF(0, 0)), -1);
  // An empty code and a zero tag write no lines; others do.
  EXPECT_EQ(o->GetProperties(), (QStringList{"Name=rect", "Face=1", "CanSelect=0", "Pen=000000,1,1",
                                             "Brush=000000,1", "x=0", "y=0", "l=0", "h=0", "r=0"}));
  o->Code = QStringLiteral("fond");
  o->Tag = 3;
  EXPECT_EQ(o->GetProperties().mid(0, 4), (QStringList{"Name=rect", "Face=1", "Tag=3", "Code=fond"}));
}

TEST(Objects, HandlePositionsTurnWithTheBox) {
  auto d = Doc();
  TzunoCADRect* b = Box(*d, 50, 40, 20, 10, 90);
  ExpectNear(b->HandlePos(2), QPointF(50 + 5, 40 + 10));  // top-right at (x + h/2, y + l/2)
  ExpectNear(b->HandlePos(0), QPointF(50, 40));
  b->r = 0;
  const QPointF expected[9] = {{50, 40}, {40, 35}, {60, 35}, {60, 45}, {40, 45},
                               {50, 35}, {60, 40}, {50, 45}, {40, 40}};
  for (int k = 0; k <= 8; ++k) ExpectNear(b->HandlePos(k), expected[k]);
  ExpectNear(b->RotateAround(QPointF(60, 40)), QPointF(60, 40));
  b->r = 180;
  ExpectNear(b->RotateAround(QPointF(60, 40)), QPointF(40, 40));
}

TEST(Objects, HitTestToleranceAndPrecedence) {
  auto d = Doc(4);  // 3 pixels = 0.75 mm
  TzunoCADRect* b = Box(*d, 50, 50, 20, 10);
  const QPointF h3 = b->HandlePos(3);
  EXPECT_EQ(b->HitTest(h3 + QPointF(0.75, 0)), -1);     // exactly 3 pixels: not the handle
  EXPECT_EQ(b->HitTest(h3 + QPointF(-0.725, 0.7)), 3);  // 2.9 pixels
  EXPECT_EQ(b->HitTest(b->HandlePos(1)), 0);            // handle 1 is disabled: body
  EXPECT_EQ(b->HitTest(QPointF(50, 50)), 0);
  EXPECT_EQ(b->HitTest(QPointF(70.5, 50)), -1);
  // Left and top edges belong to the body, right and bottom do not.
  EXPECT_EQ(b->HitTest(QPointF(45, 45)), 0);
  EXPECT_EQ(b->HitTest(QPointF(55, 55)), -1);
  // A box smaller than the tolerance: the highest matching handle wins.
  TzunoCADRect* tiny = Box(*d, 10, 10, 0.2, 0.2);
  EXPECT_EQ(tiny->HitTest(QPointF(10, 10)), 8);
  b->CanSelect = false;
  EXPECT_EQ(b->HitTest(QPointF(50, 50)), -1);
}

TEST(Objects, RotateToTurnsAndScalesAboutTheCentre) {
  auto d = Doc();
  TzunoCADRect* b = Box(*d, 50, 50, 30, 40);
  // Dragging handle 2 to where it already is changes nothing.
  const QPointF h2 = b->HandlePos(2);
  b->RotateTo(h2, false);
  EXPECT_NEAR(b->r, 0, 1e-9);
  EXPECT_NEAR(b->l, 30, 1e-9);
  EXPECT_NEAR(b->h, 40, 1e-9);
  // Twice as far along the diagonal, then a quarter turn further: same angle rules, double size.
  b->RotateTo(QPointF(50 + 30, 50 - 40), false);
  EXPECT_NEAR(b->l, 60, 1e-9);
  EXPECT_NEAR(b->h, 80, 1e-9);
  b->RotateTo(RotatePoint(QPointF(50, 50), b->HandlePos(2), 33), false);
  EXPECT_NEAR(b->r, 33, 1e-9);
  b->RotateTo(RotatePoint(QPointF(50, 50), b->HandlePos(2), 10), true);  // snaps to 45
  EXPECT_NEAR(b->r, 45, 1e-9);
  b->MinDim = 5;
  b->RotateTo(QPointF(50, 50), false);
  EXPECT_GE(b->l, 5);
  EXPECT_GE(b->h, 5);
}

TEST(Objects, ResizeCenteredAndAnchored) {
  auto d = Doc(2);
  TzunoCADRect* b = Box(*d, 50, 50, 20, 10, 30);
  b->ResizeCentered(b->RotateAround(QPointF(50 + 15, 50 + 8)), false);
  EXPECT_NEAR(b->l, 30, 1e-9);
  EXPECT_NEAR(b->h, 16, 1e-9);
  EXPECT_NEAR(b->x, 50, 1e-9);

  // Every anchored handle keeps its opposite point where it was, at any angle.
  const struct { int handle, fixed; } cases[] = {{1, 3}, {4, 2}, {5, 7}, {6, 8}, {7, 5}, {8, 6}};
  for (const auto& c : cases) {
    TzunoCADRect* o = Box(*d, 40, 30, 20, 12, 25);
    const QPointF fixedBefore = o->HandlePos(c.fixed);
    o->StartDrag();
    o->HitCode = c.handle;
    const QPointF target = o->HandlePos(c.handle) + QPointF(3, -2);
    o->ResizeAnchored(target);
    ExpectNear(o->HandlePos(c.fixed), fixedBefore);
    // Dragging far past the fixed side stops at 5 pixels.
    o->ResizeAnchored(fixedBefore);
    if (c.handle != 5 && c.handle != 7) EXPECT_NEAR(o->l, 2.5, 1e-9) << c.handle;
    if (c.handle != 6 && c.handle != 8) EXPECT_NEAR(o->h, 2.5, 1e-9) << c.handle;
    ExpectNear(o->HandlePos(c.fixed), fixedBefore);
  }
}

TEST(Objects, LinePointsAndStoredForm) {
  auto d = Doc();
  auto* line = static_cast<TzunoCADLigne*>(d->CreateObjet(QStringLiteral("ligne")));
  EXPECT_EQ(line->AddPoint(QPointF(0, 0)), 0);
  EXPECT_EQ(line->AddPoint(QPointF(30, 0)), 2);
  EXPECT_EQ(line->Points.size(), 4);
  EXPECT_EQ(line->Points[1], QPointF(0, 0));
  EXPECT_EQ(line->SegmentCount(), 1);
  EXPECT_EQ(PropValue(line->GetProperties(), u"p"), "0;0|0;0|30;0|30;0|");
  EXPECT_EQ(ReadPoints("0;0|10;0|20;0|30;0|").size(), 4);
  EXPECT_EQ(ReadPoints("1,5;2|;3|4;4|").size(), 1);  // stops at an empty x
  QString many;
  for (int i = 0; i < 1500; ++i) many += "1;1|";
  EXPECT_EQ(ReadPoints(many).size(), kMaxPoints);
  line->Points.clear();
  EXPECT_EQ(PropValue(line->GetProperties(), u"p"), "");
}

TEST(Objects, KindsReadWhatTheyWrite) {
  auto d = Doc();
  // One list per kind with every key set away from its default; reading and writing it again
  // must give the same lines.
  const QStringList lists[] = {
      {"Name=rectangle", "Face=1", "Tag=4", "Code=cadre1", "CanSelect=1", "Pen=00FF00,250,2",
       "Brush=0000FF,6", "x=10,5", "y=20,25", "l=30", "h=40", "r=-12,5", "Cote=999"},
      {"Name=texte", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "x=60", "y=40", "l=0",
       "h=0", "r=30", "Font=FF0000,Arial,5000,BU", "Aligne=3", "Alignement=1", "txt=Bonjour|le monde"},
      {"Name=image",
       "Face=1",
       "CanSelect=1",
       "Pen=000000,1,0",
       "Brush=FFFFFF,1",
       "x=1",
       "y=2",
       "l=3",
       "h=4",
       "r=5",
       "FichierImage=ete.jpg|0123abcd",
       "FichierMasque=coeur.emf",
       "Bordure=1,12.5,10,3",
       "Transparent=1",
       "TransparentColor=00FF00",
       "MasqueNegatif=1",
       "MasqueMarge=10",
       "MasqueBordure=5",
       "MasqueBordureColor=808080",
       "CropX1=10",
       "CropY1=20",
       "CropX2=30",
       "CropY2=40"},
      {"Name=groupe", "Face=1", "CanSelect=1", "Pen=000000,300,0", "Brush=FFFFFF,0", "x=1", "y=2", "l=3",
       "h=4", "r=5", "mirroirx=-1", "mirroiry=1", "FichierMdl=absent.mdl", "ForcePenBrush=1"},
      {"Name=cal",
       "Face=1",
       "CanSelect=1",
       "Pen=000000,1,0",
       "Brush=FFFFFF,1",
       "x=1",
       "y=2",
       "l=3",
       "h=4",
       "r=0",
       "FontChiffres=000000,Arial,24,",
       "FontJours=000000,Arial,-11,B",
       "FontSaints=0000FF,Arial,-9,I",
       "Name=cal",
       "Jour=14",
       "Mois=7",
       "Annee=2021",
       "ColorFond=FFFFFF",
       "ColorJours=909090",
       "ColorDimanche=ADADAD",
       "ColorChiffres=C0C0C0",
       "TranspFond=0",
       "TranspJours=1",
       "TranspDimanche=0",
       "TranspChiffres=1",
       "VoirSaints=1",
       "CoinChiffres=3"},
      {"Name=forme", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "x=1", "y=2", "l=3", "h=4",
       "r=5", "p=0;0|1;1|2;2|3;3|", "FormeLarge=3", "FormeHaut=3"},
      {"Name=codebarre", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "x=1", "y=2", "l=3",
       "h=4", "r=0", "codebarre=4006381333931", "colorBarre=000080", "colorFond=FFFF00", "Transparent=1"},
      {"Name=arbo", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "x=1", "y=2", "l=3", "h=4",
       "r=0", "Path=/tmp/disque/", "DepthMax=3", "Column=2", "ViewFichier=1", "Font=000000,Arial,-11,"},
      {"Name=ligne", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "p=0;0|0;0|30;0|30;0|"},
      {"Name=repere", "Face=1", "CanSelect=1", "Pen=000000,1,0", "Brush=FFFFFF,1", "position=48", "sens=2",
       "sorte=2"},
  };
  for (const QStringList& list : lists) {
    TzunoCADObj* o = d->CreateObjet(PropValue(list, u"Name"));
    ASSERT_NE(o, nullptr);
    o->SetProperties(list);
    EXPECT_EQ(o->GetProperties(), list) << o->Name.toStdString();
  }
}

TEST(Objects, KindReadingRules) {
  auto d = Doc();
  auto* mark = static_cast<TzunoCADRepere*>(d->CreateObjet(QStringLiteral("repere")));
  mark->SetProperties({QStringLiteral("position=47,6"), QStringLiteral("sens=1")});
  EXPECT_EQ(mark->position, 48);

  auto* img = static_cast<TzunoCADImage*>(d->CreateObjet(QStringLiteral("image")));
  img->SetProperties({QStringLiteral("FichierImage=/photos/ete.jpg|ab12")});
  EXPECT_EQ(img->TransparentColor, clMagenta);
  EXPECT_EQ(img->MasqueBordureColor, clMagenta);
  EXPECT_EQ(PropValue(img->GetProperties(), u"FichierImage"), "ete.jpg|ab12");
  img->RetireSuffixes();
  EXPECT_EQ(PropValue(img->GetProperties(), u"FichierImage"), "ete.jpg");
  EXPECT_FALSE(PropFind(img->GetProperties(), u"MasqueBordureColor", nullptr));
  auto* fresh = static_cast<TzunoCADImage*>(d->CreateObjet(QStringLiteral("image")));
  EXPECT_EQ(fresh->MasqueBordureColor, clGray);
  EXPECT_EQ(PropValue(fresh->GetProperties(), u"Bordure"), "0,12,12,2");

  // Older calendars: one font and one cell colour.
  auto* cal = static_cast<TzunoCADCal*>(d->CreateObjet(QStringLiteral("cal")));
  cal->SetProperties({QStringLiteral("Font=000000,Arial,20,"), QStringLiteral("ColorCase=C8C8C8"),
                      QStringLiteral("Mois=2"), QStringLiteral("Annee=2021")});
  EXPECT_EQ(cal->FontChiffres.Height, 32);
  EXPECT_EQ(cal->FontJours.Height, 32);
  EXPECT_EQ(cal->FontSaints.Height, 20);
  EXPECT_TRUE(cal->TranspFond);
  EXPECT_EQ(cal->ColorChiffres, RGBColor(190, 190, 190));
  EXPECT_EQ(cal->ColorJours, RGBColor(150, 150, 150));
  EXPECT_EQ(cal->ColorDimanche, RGBColor(180, 180, 180));
  const QStringList saved = cal->GetProperties();
  EXPECT_FALSE(PropFind(saved, u"Font", nullptr));
  EXPECT_FALSE(PropFind(saved, u"ColorCase", nullptr));
  EXPECT_EQ(Darken(RGBColor(192, 192, 192), 25), RGBColor(144, 144, 144));
  EXPECT_EQ(Darken(RGBColor(192, 192, 192), 10), RGBColor(173, 173, 173));

  auto* g = static_cast<TzunoCADGroup*>(d->CreateObjet(QStringLiteral("groupe")));
  g->SetProperties({QStringLiteral("mirroirx=0")});
  EXPECT_EQ(g->mirroirx, 1);
  EXPECT_EQ(g->mirroiry, 1);
  EXPECT_FALSE(g->HandleEnabled[1]);
  auto* bar = static_cast<TzunoCADCodeBarre*>(d->CreateObjet(QStringLiteral("codebarre")));
  EXPECT_FALSE(bar->HandleEnabled[2]);
  EXPECT_EQ(bar->codebarre.size(), 13);
}
