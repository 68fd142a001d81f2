// Business cards, letterheads, envelopes, address labels and stickers.
#include "templates/designs.h"

namespace tpl {

namespace {

const QString kCards = QStringLiteral("Modeles/Cartes de visite/");
const QString kPersonName = U("<Prénom> <Nom>");
const QString kHomeAddress = QStringLiteral("<Adresse>|<Code> <Ville>");
const QString kHomeContact = QStringLiteral("<Portable>|<Email>");
const QString kProAddress = QStringLiteral("<AdressePRO>|<CodePRO> <VillePRO>");
const QString kProContact = U("<TélPRO>|<EmailPRO>|<WebPRO>");

enum class CardLayout { Band, Centred, Split, Disc, Waves, Corner };

struct CardDesign {
  QString file;
  QString theme;
  CardLayout layout;
  bool pro;
};

// A small emblem made of our shapes, standing in for a logo.
void Emblem(Doc& d, const Theme& t, double cx, double cy, double size, int kind) {
  switch (kind % 4) {
    case 0:
      d.Circle(cx, cy, size / 2, t.accent);
      d.Shape(cx - size * 0.3, cy - size * 0.3, size * 0.6, size * 0.6, StarPoints(), 100, 100, t.onAccent);
      break;
    case 1:
      d.Box(cx - size / 2, cy - size / 2, size, size, t.accent, kNone, 0, 4, 45);
      d.Box(cx - size / 4, cy - size / 4, size / 2, size / 2, t.accent2, kNone, 0, 4, 45);
      break;
    case 2:
      d.Shape(cx - size / 2, cy - size * 0.2, size, size * 0.4, LeafPoints(), 100, 100, t.accent, kNone, 0,
              -35);
      d.Shape(cx - size / 2, cy - size * 0.2, size, size * 0.4, LeafPoints(), 100, 100, t.accent2, kNone, 0,
              35);
      break;
    default:
      d.Box(cx - size / 2, cy - size / 2, size, size, t.accent, kNone, 0, 6);
      d.Shape(cx - size * 0.22, cy - size * 0.3, size * 0.44, size * 0.6, DropPoints(), 100, 100, t.onAccent);
      break;
  }
}

void Card(Writer& w, const CardDesign& s, int index) {
  const Theme& t = ThemeNamed(s.theme);
  const bool twoSided = s.layout == CardLayout::Corner;
  Doc d = w.ForLayout(twoSided ? U("A4 8 cartes de visite 85 x 54 recto verso")
                               : U("A4 10 cartes de visite 85 x 55"));
  const double W = d.W(), H = d.H();
  const QString top = s.pro ? U("<Société>") : kPersonName;
  const QString second = s.pro ? kPersonName + QStringLiteral(" · <Fonction>") : U("<Fonction>");
  const QString address = s.pro ? kProAddress : kHomeAddress;
  const QString contact = s.pro ? kProContact : kHomeContact;
  const Font head = Head(t, s.pro ? 5 : 5.5, t.ink);
  const Font sub{t.body, 2.8, t.accent};
  const Font small{t.body, 2.4, t.ink};
  d.Box(0, 0, W, H, t.paper);
  switch (s.layout) {
    case CardLayout::Band:
      d.Box(0, 0, 4, H, t.accent).Box(4, 0, 1.2, H, t.accent2);
      d.Text(10, 15, top, head, kLeft, 0);
      d.Text(10, 21.5, second, sub, kLeft, 0);
      d.Text(10, 45, address, small, kLeft, 0);
      d.Text(W - 6, 45, contact, small, kRight, 1);
      if (s.pro) Emblem(d, t, W - 13, 14, 12, index);
      break;
    case CardLayout::Centred:
      DrawMotif(d, t, t.motif, QRectF(4, 3, W - 8, 12), 0.5, index);
      d.Text(W / 2, 23, top, head);
      d.Text(W / 2, 30, second, sub);
      d.Segment(W / 2 - 12, 34.5, W / 2 + 12, 34.5, t.accent2, 0.25);
      d.Text(W / 2, 45,
             address.split(QLatin1Char('|')).join(QStringLiteral(" · ")) + QLatin1Char('|') +
                 contact.split(QLatin1Char('|')).mid(0, 2).join(QStringLiteral(" · ")),
             small.Sized(2.2));
      break;
    case CardLayout::Split:
      d.Box(0, 0, 28, H, t.accent);
      Emblem(d, Theme{t.name, t.paper, t.ink, t.onAccent, t.accent2, t.soft, t.accent, t.head, t.body}, 14,
             H / 2, 14, index);
      d.Text(34, 13, top, Head(t, 4.6, t.ink), kLeft, 0);
      d.Text(34, 19.5, second, sub, kLeft, 0);
      d.Text(34, 34, address, small, kLeft, 0);
      d.Text(34, 47, contact.split(QLatin1Char('|')).mid(0, 2).join(QLatin1Char('|')), small.With(t.accent),
             kLeft, 0);
      break;
    case CardLayout::Disc:
      d.Circle(W - 6, 8, 24, t.soft);
      d.Circle(W - 6, 8, 14, t.accent);
      d.Circle(W - 24, 45, 4, t.accent2);
      d.Text(8, 20, top, head, kLeft, 0);
      d.Text(8, 26.5, second, sub, kLeft, 0);
      d.Text(8, 45, address + QLatin1Char('|') + contact.section(QLatin1Char('|'), 1, 1), small, kLeft, 0);
      break;
    case CardLayout::Waves:
      Waves(d, QRectF(0, 36, W, H - 36), 0.25, t.accent2, t.accent);
      d.Text(W / 2, 13, top, head);
      d.Text(W / 2, 20, second, sub);
      d.Text(W / 2, 31, contact.split(QLatin1Char('|')).mid(0, 2).join(QStringLiteral("  ·  ")), small);
      break;
    case CardLayout::Corner: {
      d.Box(0, 0, W, H, t.accent);
      DrawMotif(d, t, t.motif, QRectF(0, 0, W, H), 0.7, index);
      d.Box(10, H / 2 - 10, W - 20, 20, t.paper);
      d.Text(W / 2, H / 2 - 2.5, top, Head(t, 5, t.ink));
      d.Text(W / 2, H / 2 + 4.5, second, sub);
      d.OnFace(2);
      d.Box(0, 0, W, H, t.paper);
      d.Box(0, H - 5, W, 5, t.accent);
      d.Text(8, 14, U("Coordonnées"), Head(t, 4, t.ink), kLeft, 0);
      d.Text(8, 31, address, small, kLeft, 0);
      d.Text(W - 8, 31, contact, small, kRight, 1);
      break;
    }
  }
  w.Emit(kCards + s.file + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
}

}  // namespace

void BusinessCards(Writer& w) {
  const CardDesign cards[] = {
      {U("Personnelle - Bandeau"), QStringLiteral("Foret"), CardLayout::Band, false},
      {U("Personnelle - Centrée"), QStringLiteral("Pastel"), CardLayout::Centred, false},
      {U("Personnelle - Partagée"), QStringLiteral("Tendre"), CardLayout::Split, false},
      {U("Personnelle - Soleil"), QStringLiteral("Terre"), CardLayout::Disc, false},
      {U("Personnelle - Vagues"), QStringLiteral("Ocean"), CardLayout::Waves, false},
      {U("Personnelle - Recto verso"), QStringLiteral("Nuit"), CardLayout::Corner, false},
      {U("Professionnelle - Bandeau"), QStringLiteral("Epure"), CardLayout::Band, true},
      {U("Professionnelle - Centrée"), QStringLiteral("Retro"), CardLayout::Centred, true},
      {U("Professionnelle - Partagée"), QStringLiteral("Ocean"), CardLayout::Split, true},
      {U("Professionnelle - Cercle"), QStringLiteral("Neon"), CardLayout::Disc, true},
      {U("Professionnelle - Vagues"), QStringLiteral("Foret"), CardLayout::Waves, true},
      {U("Professionnelle - Recto verso"), QStringLiteral("Terre"), CardLayout::Corner, true},
  };
  int i = 0;
  for (const CardDesign& s : cards) Card(w, s, i++);
}

void Letterheads(Writer& w) {
  const QString folder = U("Modeles/Papier à lettres/");
  const char* themes[] = {"Epure", "Foret", "Ocean", "Terre", "Retro", "Pastel"};
  const char* names[] = {"Sobre", "Nature", "Littoral", "Atelier", "Rétro", "Douceur"};
  for (int i = 0; i < 6; ++i) {
    const Theme& t = ThemeNamed(QString::fromLatin1(themes[i]));
    Doc d = w.ForLayout(U("A4 page entière"));
    const double W = d.W(), H = d.H();
    const Font head = Head(t, 8, t.ink);
    const Font body{t.body, 3.4, t.ink};
    if (i % 2 == 0) {
      d.Box(0, 0, W, 34, t.soft);
      Emblem(d, t, 24, 17, 16, i);
      d.Text(38, 14, U("<Société>"), head, kLeft, 0);
      d.Text(38, 23, U("<Prénom> <Nom> · <Fonction>"), Font{t.body, 3.8, t.accent}, kLeft, 0);
      d.Text(W - 15, 17, kProContact, body.Sized(3), kRight, 1);
    } else {
      DrawMotif(d, t, t.motif == Motif::Bands ? Motif::Dots : t.motif, QRectF(W - 70, 8, 60, 30), 0.9, i);
      d.Text(20, 18, U("<Société>"), head, kLeft, 0);
      d.Text(20, 27, U("<Prénom> <Nom> · <Fonction>"), Font{t.body, 3.8, t.accent}, kLeft, 0);
      d.Segment(20, 36, W - 20, 36, t.accent, 0.4);
    }
    // The recipient where a window envelope shows it, place and date, subject and greeting.
    d.Text(115, 55, U("Nom du destinataire|Adresse|Code postal et ville"), body.With(Hex(0x777777)), kTopLeft,
           0);
    d.Text(W - 20, 88, U("<VillePRO>, le"), body, kRight, 1);
    d.Text(20, 100, U("Objet :"), body.Styled(fsBold), kLeft, 0);
    d.Text(20, 114, U("Madame, Monsieur,"), body, kLeft, 0);
    // Fold marks for a DL envelope.
    d.Segment(4, 99, 9, 99, t.accent2, 0.3).Segment(4, 198, 9, 198, t.accent2, 0.3);
    d.Box(0, H - 16, W, 16, i % 2 ? t.soft : t.paper);
    d.Segment(20, H - 16, W - 20, H - 16, t.accent, 0.3);
    d.Text(W / 2, H - 8, U("<Société> · <AdressePRO> · <CodePRO> <VillePRO> · <TélPRO> · <WebPRO>"),
           body.Sized(2.6).With(t.accent2 == t.ink ? t.accent : t.ink));
    w.Emit(folder + QString::fromUtf8(names[i]) + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
  }
}

void Envelopes(Writer& w) {
  const QString folder = U("Modeles/Enveloppes/");
  const char* themes[] = {"Foret", "Ocean", "Pastel", "Epure"};
  const char* names[] = {"DL Feuillage", "DL Vagues", "DL Pois", "DL Sobre"};
  for (int i = 0; i < 4; ++i) {
    const Theme& t = ThemeNamed(QString::fromLatin1(themes[i]));
    Doc d = w.ForLayout(U("Enveloppe DL 220 x 110"));
    const double W = d.W(), H = d.H();
    // A strip of patterned paper along the left edge, the sender beside it.
    const char* papers[] = {"papier_vichy_vert.jpg", "", "papier_pois_rouge.jpg", ""};
    double left = 12;
    if (*papers[i]) {
      d.Image(0, 0, 24, H, w.Picture(U(papers[i])));
      d.Box(24, 0, 1.2, H, t.accent);
      left = 34;
    }
    if (t.motif == Motif::Waves)
      Waves(d, QRectF(0, H - 22, W, 22), 0.3, t.accent2, t.accent);
    else if (t.motif == Motif::Lines)
      d.Box(12, 8, 1.5, 16, t.accent);
    d.Text(left + (t.motif == Motif::Lines ? 4 : 0), 9, kPersonName + QLatin1Char('|') + kHomeAddress,
           Font{t.body, 3, t.ink}, kTopLeft, 0);
    d.Box(W - 32, 8, 22, 26, kNone, t.accent2, 0.3);
    d.Text(W - 21, 21, U("Timbre"), Font{t.body, 2.6, t.accent2});
    for (int k = 0; k < 4; ++k)
      d.Segment(110, 58 + 10 * k, W - 15, 58 + 10 * k, t.soft == clWhite ? t.accent2 : t.accent, 0.2);
    d.Text(110, 52, U("Destinataire"), Font{t.body, 2.6, t.accent}, kLeft, 0);
    w.Emit(folder + QString::fromUtf8(names[i]) + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
  }
}

void AddressLabels(Writer& w) {
  const QString folder = U("Modeles/Etiquettes adresse/");
  const char* sizes[] = {"A4 65 étiquettes 38,1 x 21,2", "A4 40 étiquettes 48,5 x 25,4",
                         "A4 24 étiquettes 63,5 x 33,9", "A4 24 étiquettes 70 x 37",
                         "A4 14 étiquettes 99,1 x 38,1", "A4 8 étiquettes 99,1 x 67,7"};
  struct Family {
    const char* name;
    const char* theme;
  } families[] = {{"Classique", "Epure"}, {"Fleurie", "Pastel"}, {"Nature", "Foret"}, {"Marine", "Ocean"}};
  int n = 0;
  for (const Family& f : families) {
    const Theme& t = ThemeNamed(QString::fromLatin1(f.theme));
    for (int k = 1; k <= 6; ++k) {
      Doc d = w.ForLayout(U(sizes[k - 1]));
      const double W = d.W(), H = d.H();
      // The address is four lines; the type follows the label's height and width.
      const double size = std::min(H * 0.15, W * 0.062);
      double left = W * 0.07;
      d.Box(0, 0, W, H, t.paper);
      switch (n % 4) {
        case 0:
          d.Box(0, 0, W * 0.025, H, t.accent);
          left = W * 0.08;
          break;
        case 1:
          d.Circle(W - H * 0.1, H * 0.1, H * 0.28, t.soft);
          d.Circle(W - H * 0.12, H * 0.12, H * 0.12, t.accent);
          break;
        case 2:
          d.Shape(W - H * 0.5, H * 0.08, H * 0.45, H * 0.18, LeafPoints(), 100, 100, t.accent, kNone, 0, -30);
          d.Shape(W - H * 0.42, H * 0.3, H * 0.35, H * 0.14, LeafPoints(), 100, 100, t.accent2, kNone, 0, 20);
          break;
        default:
          Waves(d, QRectF(0, H * 0.78, W, H * 0.22), 0.2, t.accent2, t.accent);
          break;
      }
      // The name a little larger in the accent colour, the address lines below it.
      const double block = size * 4.45, top = (n % 4 == 3 ? H * 0.84 : H) / 2 - block / 2;
      d.Text(left, top, kPersonName,
             Font{t.body, size * 1.15, Luminance(t.accent) > 0.6 ? t.ink : t.accent, fsBold}, kTopLeft, 0);
      d.Text(left, top + size * 1.45, kHomeAddress, Font{t.body, size, t.ink}, kTopLeft, 0);
      w.Emit(folder + QString::fromLatin1(f.name) + QStringLiteral(".%1.mdl").arg(k), d,
             Writer::Preview::Catalogue);
    }
    ++n;
  }
}

void Stickers(Writer& w) {
  const QString folder = U("Modeles/Autocollants/");
  {
    const Theme& t = ThemeNamed(QStringLiteral("Pastel"));
    Doc d = w.ForLayout(U("A4 8 étiquettes 99,1 x 67,7"));
    d.Ellipse(4, 4, d.W() - 8, d.H() - 8, t.soft, t.accent, 0.8);
    d.Ellipse(7, 7, d.W() - 14, d.H() - 14, kNone, t.accent2, 0.3);
    DrawMotif(d, t, Motif::Dots, QRectF(30, 9, 40, 10), 0.6, 1);
    d.Text(d.W() / 2, 30, U("Confiture"), Font{kScript, 16, t.ink});
    d.Text(d.W() / 2, 41, U("de fraises"), Font{kSerif, 5, t.accent});
    d.Text(d.W() / 2, 52, U("Récolte de juin 2026"), Font{kSans, 3, t.ink});
    w.Emit(folder + U("Confiture.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Terre"));
    Doc d = w.ForLayout(U("A4 21 étiquettes 63,5 x 38,1"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    d.Box(2.5, 2.5, d.W() - 5, d.H() - 5, kNone, t.accent, 0.4, 4);
    d.Shape(6, 11, 14, 13, HeartPoints(), 100, 100, t.accent);
    d.Text(24, 15, U("Fait maison"), Font{kDisplay, 5.5, t.ink}, kLeft, 0);
    d.Text(24, 24, U("avec amour"), Font{kSerif, 3.6, t.accent, fsItalic}, kLeft, 0);
    w.Emit(folder + U("Fait maison.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Epure"));
    Doc d = w.ForLayout(U("A4 14 étiquettes 99,1 x 38,1"));
    d.Box(0, 0, d.W(), d.H(), clWhite);
    d.Box(2, 2, d.W() - 4, d.H() - 4, kNone, t.accent, 1.2);
    for (int k = 0; k < 2; ++k) {
      const double x = k ? d.W() - 24 : 8;
      d.Box(x, 9, 16, 14, t.accent, kNone, 0, 3);
      d.Text(x + 8, 18, QStringLiteral("!"), Font{kDeja, 6, clWhite, fsBold});
    }
    d.Text(d.W() / 2, 15, QStringLiteral("FRAGILE"), Font{kDeja, 8, t.accent, fsBold});
    d.Text(d.W() / 2, 26, U("Manipuler avec soin · Ne pas renverser"), Font{kSans, 3, t.ink});
    w.Emit(folder + U("Fragile.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Tendre"));
    Doc d = w.ForLayout(U("A4 24 étiquettes 63,5 x 33,9"));
    d.Box(0, 0, d.W(), d.H(), t.soft);
    DrawMotif(d, t, Motif::Hearts, QRectF(3, 3, d.W() - 6, d.H() - 6), 0.6, 4);
    d.Text(d.W() / 2, d.H() / 2, U("Merci !"), Font{kScript, 16, t.ink});
    w.Emit(folder + U("Merci.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Retro"));
    Doc d = w.ForLayout(U("A4 21 étiquettes 63,5 x 38,1"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    d.Box(2, 2, d.W() - 4, d.H() - 4, kNone, t.ink, 0.5);
    d.Box(3.5, 3.5, d.W() - 7, d.H() - 7, kNone, t.ink, 0.2);
    d.Text(d.W() / 2, 10, QStringLiteral("Ex-libris"), Font{kDisplay, 5, t.accent});
    d.Text(d.W() / 2, 18.5, U("Ce livre appartient à"), Font{kSerif, 3, t.ink, fsItalic});
    d.Text(d.W() / 2, 26, kPersonName, Font{kSerif, 4.2, t.ink});
    w.Emit(folder + U("Ex-libris.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Nuit"));
    Doc d = w.ForLayout(U("A4 24 étiquettes 63,5 x 33,9"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    DrawMotif(d, t, Motif::Stars, QRectF(2, 2, d.W() - 4, 9), 0.5, 6);
    d.Text(d.W() / 2, 18, U("Ne pas ouvrir"), Font{kSerif, 4.6, t.ink});
    d.Text(d.W() / 2, 26, U("avant Noël !"), Font{kDisplay, 5, t.accent});
    w.Emit(folder + U("Avant Noël.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Foret"));
    Doc d = w.ForLayout(U("A4 8 étiquettes 99,1 x 67,7"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    DrawMotif(d, t, Motif::Leaves, QRectF(54, 6, 40, 30), 0.6, 7);
    d.Text(8, 14, U("Du jardin"), Font{kScript, 14, t.accent}, kLeft, 0);
    d.Text(8, 30, U("Tomates anciennes"), Font{kSerif, 5.5, t.ink}, kLeft, 0);
    d.Segment(8, 40, d.W() - 8, 40, t.accent2, 0.4);
    d.Text(8, 50, U("Semis : mars · Récolte : août|Variété : Cœur de bœuf"), Font{kSans, 3, t.ink}, kLeft, 0);
    // A punched hole for the string that ties the tag to its stake.
    d.Group(QStringLiteral("perforatrice"), d.W() - 14, d.H() - 14, 7, 7,
            w.Picture(QStringLiteral("perforatrice_rond.emf")), clWhite, clWhite);
    w.Emit(folder + U("Potager.mdl"), d, Writer::Preview::Catalogue);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Fete"));
    Doc d = w.ForLayout(U("A4 21 étiquettes 63,5 x 38,1"));
    d.Box(0, 0, d.W(), d.H(), t.soft);
    DrawMotif(d, t, Motif::Confetti, QRectF(2, 2, d.W() - 4, 9), 0.5, 8);
    d.Box(4, 12, d.W() - 8, 20, clWhite);
    d.Text(d.W() / 2, 18, kPersonName, Font{kDisplay, 4.5, t.ink});
    d.Text(d.W() / 2, 26.5, U("Classe de CM1"), Font{kSans, 3.2, t.accent2});
    w.Emit(folder + U("Cahier d'école.mdl"), d, Writer::Preview::Catalogue);
  }
}

}  // namespace tpl
