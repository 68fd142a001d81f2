// Iron-on transfers shown on their supports, and the support wizard's designs.
#include "model/encodings.h"
#include "templates/designs.h"

namespace tpl {

namespace {

// A transfer: the design page placed on a support picture of the installation.
Doc OnSupport(Writer& w, const QString& support, const QString& colour, double large, double haut,
              double posY) {
  Doc d(large, haut);
  w.Picture(support);
  d.Head(QStringLiteral("SupportFichier"), support)
      .Head(QStringLiteral("SupportColor"), colour)
      .Head(QStringLiteral("SupportPosX%"), QStringLiteral("50"))
      .Head(QStringLiteral("SupportPosY%"), WriteReal(posY))
      .Head(QStringLiteral("PapierDefaut"), U("A4 transfert textile"));
  double W, H;
  int g;
  QString error;
  if (!w.Layout(U("A4 transfert textile"), &W, &H, &g, &error))
    w.Fail(error);
  else if (large > W || haut > H)
    w.Fail(QStringLiteral("a transfer larger than its transfer sheet"));
  return d;
}

}  // namespace

void Transfers(Writer& w) {
  const QString folder = U("Modeles/Transferts Tshirt/");
  {
    const Theme& t = ThemeNamed(QStringLiteral("Ocean"));
    Doc d = OnSupport(w, QStringLiteral("tshirt_DV.emf"), QStringLiteral("FFFFFF"), 200, 250, 40);
    d.Circle(100, 70, 52, t.accent2);
    Waves(d, QRectF(20, 110, 160, 60), 0.1, t.soft, t.accent);
    d.Text(100, 190, U("Vive les vacances"), Font{kDisplay, 22, t.ink});
    d.Text(100, 220, U("Été 2027"), Font{kSans, 10, t.accent});
    w.Emit(folder + U("Vive les vacances.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Retro"));
    Doc d = OnSupport(w, QStringLiteral("tshirt_DV.emf"), QStringLiteral("BFD7EA"), 200, 250, 40);
    d.Group(QStringLiteral("groupe"), 30, 10, 140, 140, w.Picture(QStringLiteral("rosette.emf")), t.accent,
            t.accent, 0.3, true);
    d.Circle(100, 72, 42, t.paper, t.ink, 1);
    d.Text(100, 60, QStringLiteral("SUPER"), Font{kDeja, 16, t.ink, fsBold});
    d.Text(100, 84, QStringLiteral("PAPA"), Font{kDisplay, 20, t.accent});
    d.Group(QStringLiteral("groupe"), 20, 160, 160, 60, w.Picture(QStringLiteral("banniere.emf")), t.ink,
            t.ink, 0.3, true);
    d.Text(100, 188, U("le meilleur du monde"), Font{kSerif, 9, t.paper, fsItalic});
    w.Emit(folder + U("Super papa.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Nuit"));
    Doc d = OnSupport(w, QStringLiteral("tshirt_DR.emf"), QStringLiteral("2D3A5A"), 200, 250, 38);
    d.Group(QStringLiteral("groupe"), 55, 10, 90, 90, w.Picture(QStringLiteral("lune.emf")), t.accent,
            t.accent, 0.3, true);
    DrawMotif(d, t, Motif::Stars, QRectF(10, 100, 180, 40), 3, 61);
    d.Text(100, 170, U("Équipe"), Font{kSerif, 24, t.ink});
    d.Text(100, 205, U("des rêveurs"), Font{kDisplay, 22, t.accent});
    w.Emit(folder + U("Equipe des rêveurs.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Fete"));
    Doc d = OnSupport(w, QStringLiteral("tshirtenfant_DV.emf"), QStringLiteral("FFE16E"), 150, 180, 42);
    d.Group(QStringLiteral("groupe"), 25, 8, 100, 100, w.Picture(QStringLiteral("eclat.emf")), t.accent2,
            t.accent2, 0.3, true);
    d.Text(75, 58, QStringLiteral("GRRR !"), Font{kHand, 14, clWhite});
    d.Text(75, 128, U("Petit monstre"), Font{kHand, 16, t.ink});
    DrawMotif(d, t, Motif::Confetti, QRectF(10, 145, 130, 30), 2, 62);
    w.Emit(folder + U("Petit monstre.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Tendre"));
    Doc d = OnSupport(w, QStringLiteral("tshirt_MG.emf"), QStringLiteral("FFFFFF"), 70, 70, 45);
    d.Group(QStringLiteral("groupe"), 5, 5, 60, 56, w.Picture(QStringLiteral("coeur.emf")), t.accent,
            t.accent, 0.3, true);
    d.Text(35, 32, U("<Prénom>"), Font{kScript, 16, clWhite});
    w.Emit(folder + U("Coeur sur la manche.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Foret"));
    Doc d = OnSupport(w, QStringLiteral("sac_DV.emf"), QStringLiteral("F3EAD7"), 200, 200, 55);
    DrawMotif(d, t, Motif::Leaves, QRectF(20, 10, 160, 90), 2.5, 63);
    d.Text(100, 125, U("Zéro déchet"), Font{kDisplay, 22, t.accent});
    d.Text(100, 160, U("Mon sac pour le marché"), Font{kSerif, 10, t.ink, fsItalic});
    w.Emit(folder + U("Zéro déchet.mdl"), d, Writer::Preview::Catalogue);
  }
}

void TshirtWizard(Writer& w) {
  const QString folder = QStringLiteral("Gabarits/tshirt/");
  const struct {
    const char* file;
    const char* theme;
    const char* mask;
    int layout;
  } designs[] = {
      {"Portrait rond", "Nuit", "cercle.emf", 0},
      {"Photo timbre", "Retro", "timbre.emf", 1},
      {"Ovale et bannière", "Tendre", "ovale.emf", 2},
      {"Nuage", "Ocean", "nuage.emf", 0},
  };
  for (const auto& s : designs) {
    const Theme& t = ThemeNamed(QString::fromLatin1(s.theme));
    Doc d = OnSupport(w, QStringLiteral("tshirt_DV.emf"), QStringLiteral("FFFFFF"), 200, 250, 40);
    ImageOptions o;
    o.code = QStringLiteral("image1");
    o.mask = w.Picture(U(s.mask));
    o.maskBorder = 3;
    o.maskBorderColor = t.accent;
    const QString picture = w.Picture(QStringLiteral("fond_nature_coucher_soleil_carre.jpg"));
    switch (s.layout) {
      case 0:
        d.Image(25, 10, 150, 150, picture, o);
        d.Text(100, 200, QStringLiteral("<Texte1>"), Font{kDisplay, 18, t.accent});
        break;
      case 1:
        d.Image(30, 15, 140, 140, picture, o);
        d.Box(10, 175, 180, 50, t.accent);
        d.Text(100, 200, QStringLiteral("<Texte1>"), Font{kDeja, 14, t.onAccent, fsBold});
        break;
      default:
        d.Image(35, 8, 130, 160, picture, o);
        d.Group(QStringLiteral("groupe"), 10, 170, 180, 60, w.Picture(QStringLiteral("banniere.emf")),
                t.accent, t.accent, 0.3, true);
        d.Text(100, 198, QStringLiteral("<Texte1>"), Font{kScript, 18, clWhite});
        break;
    }
    w.Emit(folder + U(s.file) + QStringLiteral(".mdl"), d, Writer::Preview::None);
  }
}

}  // namespace tpl
