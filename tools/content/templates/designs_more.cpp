// Calendars, greeting cards, invitations, scrapbook pages and transfers.
#include "templates/designs.h"

namespace tpl {

namespace {

const char* const kMonths[] = {"Janvier", "Février", "Mars",      "Avril",   "Mai",      "Juin",
                               "Juillet", "Août",    "Septembre", "Octobre", "Novembre", "Décembre"};

// Number and initial fonts of a calendar, in thousandths of the box's width plus height.
Doc::CalendarStyle CalendarLook(const Theme& t, double w, double h, bool saints) {
  Doc::CalendarStyle s;
  const double k = 1000.0 / (7 * (w + h));  // one cell height in those units, per mm of cell
  s.numbers = Font{t.body, h * k * (saints ? 0.42 : 0.5), t.ink};
  s.days = Font{t.body, h * k * 0.42, t.onAccent, fsBold};
  s.saints = Font{t.body, h * k * 0.16, t.accent2};
  s.cells = t.paper;
  s.dayRow = t.accent;
  s.sunday = t.soft;
  s.clearCells = true;
  s.clearBackground = true;
  s.corner = saints ? 1 : 0;
  s.showSaints = saints;
  return s;
}

}  // namespace

void Calendars(Writer& w) {
  const QString folder = U("Modeles/Calendriers/");
  // Two year planners.
  for (int v = 0; v < 2; ++v) {
    const Theme& t = ThemeNamed(v ? QStringLiteral("Ocean") : QStringLiteral("Epure"));
    Doc d = w.ForLayout(v ? U("A4 paysage page entière") : U("A4 page entière"));
    const double W = d.W(), H = d.H();
    const int cols = v ? 4 : 3, rows = v ? 3 : 4;
    const double top = v ? 30 : 42, margin = 12, gx = 8, gy = v ? 10 : 9;
    d.Box(0, 0, W, H, t.paper);
    if (v) Waves(d, QRectF(0, 0, W, 24), 0.0, t.soft, t.accent);
    d.Text(W / 2, v ? 12 : 22, QStringLiteral("2027"), Head(t, v ? 12 : 16, v ? t.onAccent : t.ink));
    if (!v) d.Box(W / 2 - 15, 32, 30, 1, t.accent);
    const double cw = (W - 2 * margin - (cols - 1) * gx) / cols;
    const double ch = (H - top - margin - (rows - 1) * gy) / rows - 6;
    for (int m = 0; m < 12; ++m) {
      const double x = margin + (m % cols) * (cw + gx), y = top + (m / cols) * (ch + 6 + gy);
      d.Text(x, y + 2.5, U(kMonths[m]), Head(t, 4, t.accent), kLeft, 0);
      d.Calendar(x, y + 6, cw, ch, m + 1, 2027, CalendarLook(t, cw, ch, false));
    }
    w.Emit(folder + (v ? U("Année 2027 paysage.mdl") : U("Année 2027.mdl")), d, Writer::Preview::Catalogue);
  }
  // Monthly pages with saints.
  const struct {
    int month;
    const char* theme;
    const char* picture;
    const char* mask;
  } pages[] = {{1, "Nuit", "photo_foret_neige.jpg", "rectangle_arrondi.emf"},
               {4, "Pastel", "photo_champ_lavande.jpg", "festons.emf"},
               {7, "Ocean", "photo_plage.jpg", "rectangle_arrondi.emf"},
               {10, "Terre", "photo_feuillage_automne.jpg", "ovale_ondule.emf"}};
  for (const auto& p : pages) {
    const Theme& t = ThemeNamed(QString::fromLatin1(p.theme));
    Doc d = w.ForLayout(U("A4 page entière"));
    const double W = d.W(), H = d.H();
    d.Box(0, 0, W, H, t.paper);
    const QRectF art(15, 14, W - 30, 124);
    ImageOptions o;
    o.mask = w.Picture(U(p.mask));
    d.Image(art.left(), art.top(), art.width(), art.height(), w.Picture(U(p.picture)), o);
    d.Text(W / 2, 152, U(kMonths[p.month - 1]) + QStringLiteral(" 2027"), Head(t, 12, t.ink));
    d.Calendar(15, 165, W - 30, H - 180, p.month, 2027, CalendarLook(t, W - 30, H - 180, true));
    w.Emit(folder + U(kMonths[p.month - 1]) + QStringLiteral(" 2027.mdl"), d, Writer::Preview::Catalogue);
  }
}

void GreetingCards(Writer& w) {
  const QString folder = U("Modeles/Cartes de voeux/");
  const struct {
    const char* file;
    const char* theme;
    const char* title;
    const char* line;
    const char* inside;
    const char* emblem;
    const char* picture;
    const char* mask;
  } cards[] = {
      {"Meilleurs voeux", "Nuit", "Meilleurs vœux", "Belle et heureuse année 2027",
       "Que cette nouvelle année|vous apporte la joie,|la santé et de beaux projets.", "etoile_filante.emf",
       "fond_saison_nouvel_an.jpg", "rectangle_arrondi.emf"},
      {"Joyeux Noël", "Foret", "Joyeux Noël", "et douces fêtes de fin d'année",
       "Nous vous souhaitons|un Noël lumineux,|entouré de ceux|que vous aimez.", "etoile_8.emf",
       "fond_saison_noel_vert_carre.jpg", "festons.emf"},
      {"Joyeux anniversaire", "Fete", "Joyeux anniversaire !", "Une année de plus, que du bonheur",
       "Plein de bisous|et une journée|pleine de surprises !", "eclat.emf", "fond_enfant_ballons_carre.jpg",
       "cercle.emf"},
      {"Félicitations", "Tendre", "Félicitations", "pour ce bel événement",
       "Tous nos vœux de bonheur|accompagnent ce nouveau|chapitre de votre vie.", "coeur.emf",
       "fond_aquarelle_rose.jpg", "ovale.emf"},
      {"Merci", "Pastel", "Merci", "du fond du cœur",
       "Votre gentillesse|nous a beaucoup touchés.|Merci pour tout !", "fleur.emf",
       "fond_aquarelle_lilas_carre.jpg", "timbre.emf"},
      {"Bonne fête", "Ocean", "Bonne fête !", "Une journée rien que pour toi",
       "Profite bien de ta journée,|tu le mérites !", "rosette.emf", "fond_pastel_aurore_carre.jpg",
       "ovale_ondule.emf"},
  };
  int i = 0;
  for (const auto& c : cards) {
    const Theme& t = ThemeNamed(QString::fromLatin1(c.theme));
    Doc d = w.ForLayout(U("A4 2 demi-pages 210 x 148,5"));
    const double W = d.W(), H = d.H(), half = W / 2, fc = half + half / 2;
    // Outside: back on the left, front on the right.
    d.Box(0, 0, W, H, t.paper);
    d.Box(half, 0, half, H, t.soft);
    ImageOptions o;
    o.mask = w.Picture(U(c.mask));
    d.Image(half + 16, 12, half - 32, 72, w.Picture(U(c.picture)), o);
    d.Text(fc, 100, U(c.title), Head(t, 10, t.ink));
    d.Text(fc, 116, U(c.line), Font{t.body, 4.2, t.accent});
    d.Group(QStringLiteral("groupe"), half / 2 - 6, H - 28, 12, 12, w.Picture(U(c.emblem)), t.accent,
            t.accent, 0.3, true);
    d.Guide(half, 1, 2);  // the fold, shown on both faces
    d.OnFace(2);
    d.Box(0, 0, W, H, t.paper);
    // The inside message sits in one of the shipped frames, in the card's accent colour.
    static const char* const frames[] = {"cadre_double_arrondi.emf", "cadre_festonne.emf", "cadre_coins.emf",
                                         "cadre_double.emf",         "cadre_timbre.emf",   "cadre_vague.emf"};
    d.Group(QStringLiteral("cadre"), half + 12, 12, half - 24, H - 24, w.Picture(U(frames[i % 6])), t.accent,
            kNone, 0.4, true);
    DrawMotif(d, t, t.motif == Motif::Waves ? Motif::Dots : t.motif, QRectF(half + 20, 18, half - 40, 22),
              0.8, 40 + i);
    d.Text(fc, 72, U(c.inside), Font{t.body, 5.5, t.ink});
    d.Text(fc, 112, U("<Prénom>"), Font{kScript, 14, t.accent});
    w.Emit(folder + QString::fromUtf8(c.file) + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
    ++i;
  }
}

void Invitations(Writer& w) {
  const QString folder = U("Modeles/Invitations/");
  const struct {
    const char* file;
    const char* theme;
    const char* kicker;
    const char* title;
    const char* details;
    const char* picture;
    const char* mask;
  } cards[] = {
      {"Anniversaire enfant", "Fete", "Viens fêter", "les 8 ans de Léo !",
       "Samedi 12 juin 2027 à 14 h 30|12 rue des Tilleuls, Lyon|Goûter, jeux et surprises|Réponse avant le 5 "
       "juin",
       "fond_enfant_ballons_carre.jpg", "cercle.emf"},
      {"Mariage", "Tendre", "Nous nous marions", "Claire & Julien",
       "Samedi 4 septembre 2027 à 15 h|Mairie de Lyon 3e|puis au domaine des Saules|Merci de répondre avant "
       "le 1er juillet",
       "fond_bokeh_rose.jpg", "ovale.emf"},
      {"Baptême", "Pastel", "Nous avons la joie de vous inviter", "au baptême de Lina",
       "Dimanche 16 mai 2027 à 11 h|Église Saint-Pothin, Lyon|suivi d'un déjeuner en famille",
       "fond_pastel_ciel.jpg", "nuage.emf"},
      {"Crémaillère", "Terre", "On pend la crémaillère !", "Bienvenue chez nous",
       "Vendredi 2 avril 2027 dès 19 h|4 place du Marché, Lyon|Apportez votre bonne humeur", "", ""},
      {"Soirée", "Neon", "Soirée", "Nuit électrique",
       "Samedi 20 novembre 2027 · 21 h|Le Hangar, quai Rambaud|Tenue fluo bienvenue", "", ""},
      {"Départ en retraite", "Retro", "Une nouvelle vie commence", "Au revoir Michel !",
       "Jeudi 30 juin 2027 à 18 h|Salle des fêtes|Un pot sera servi", "", ""},
  };
  int i = 0;
  for (const auto& c : cards) {
    const Theme& t = ThemeNamed(QString::fromLatin1(c.theme));
    Doc d = w.ForLayout(U("A6 carte postale"));
    const double W = d.W(), H = d.H();
    d.Box(0, 0, W, H, t.paper);
    if (*c.picture) {
      ImageOptions o;
      o.mask = w.Picture(U(c.mask));
      d.Image(W / 2 - 34, 6, 68, 58, w.Picture(U(c.picture)), o);
    } else {
      DrawMotif(d, t, t.motif, QRectF(6, 6, W - 12, 58), 1.0, 10 + i);
    }
    d.Text(W / 2, 78, U(c.kicker), Font{t.body, 4.2, t.accent});
    d.Text(W / 2, 92, U(c.title), Head(t, 7, t.ink));
    d.Segment(W / 2 - 15, 103, W / 2 + 15, 103, t.accent2, 0.4);
    d.Text(W / 2, 124, U(c.details), Font{t.body, 3.4, t.ink});
    d.OnFace(2);
    d.Box(0, 0, W, H, t.soft);
    d.Text(W / 2, 40, U("Réponse souhaitée"), Head(t, 5.5, t.ink));
    d.Text(W / 2, 70, U("<Prénom> <Nom>|<Portable>|<Email>"), Font{t.body, 3.6, t.ink});
    DrawMotif(d, t, t.motif == Motif::Waves ? Motif::Dots : t.motif, QRectF(10, 100, W - 20, 38), 0.8,
              20 + i);
    w.Emit(folder + QString::fromUtf8(c.file) + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
    ++i;
  }
}

void Scrapbook(Writer& w) {
  const QString folder = U("Modeles/Scrapbooking/");
  const struct {
    const char* file;
    const char* theme;
    const char* title;
    const char* caption;
    bool landscape;
    const char* paper;
    const char* ribbon;
    const char* stamp;
    const char* photos[2];
    const char* pin;
  } pages[] = {
      {"Premiers pas",
       "Pastel",
       "Premiers pas",
       "Un petit pas pour toi, un grand bonheur pour nous",
       false,
       "papier_rayures_rose.jpg",
       "ruban_satin_rose.png",
       "tampon_coeur.emf",
       {"photo_pissenlit.jpg", "photo_fleur_jaune.jpg"},
       "accessoire_noeud_rose.png"},
      {"Balade en forêt",
       "Foret",
       "Balade en forêt",
       "Les feuilles craquaient sous nos bottes",
       true,
       "papier_vichy_vert.jpg",
       "ruban_washi_fleurs.png",
       "tampon_etoile.emf",
       {"photo_feuillage_automne.jpg", "photo_feuille_verte.jpg"},
       "accessoire_trombone.png"},
      {"Vacances à la mer",
       "Ocean",
       "Vacances à la mer",
       "Sable chaud et glaces à la fraise",
       false,
       "papier_fleuri_bleu.jpg",
       "ruban_satin_bleu.png",
       "tampon_etoile.emf",
       {"photo_plage.jpg", "photo_coucher_soleil_mer.jpg"},
       "accessoire_punaise_bleue.png"},
      {"Notre histoire",
       "Tendre",
       "Notre histoire",
       "Toi et moi, depuis le premier jour",
       true,
       "papier_coeurs.jpg",
       "ruban_dentelle_blanche.png",
       "tampon_coeur.emf",
       {"photo_champ_lavande.jpg", "photo_coucher_soleil_mer.jpg"},
       "accessoire_noeud_rouge.png"},
      {"Anniversaire",
       "Fete",
       "Quelle fête !",
       "Les bougies, les rires et le gâteau au chocolat",
       false,
       "papier_etoiles.jpg",
       "ruban_washi_pois.png",
       "tampon_etoile.emf",
       {"photo_fleur_rouge.jpg", "photo_fleur_orange.jpg"},
       "accessoire_etoile_doree.png"},
      {"Souvenirs d'antan",
       "Retro",
       "Souvenirs d'antan",
       "Chez grand-mère, l'été 1986",
       true,
       "papier_damasse.jpg",
       "ruban_vichy_rouge.png",
       "tampon_coeur.emf",
       {"photo_champ_ble.jpg", "photo_collines_brume.jpg"},
       "accessoire_trombone_dore.png"},
  };
  int i = 0;
  for (const auto& p : pages) {
    const Theme& t = ThemeNamed(QString::fromLatin1(p.theme));
    Doc d = w.ForLayout(p.landscape ? U("A4 paysage page entière") : U("A4 page entière"));
    const double W = d.W(), H = d.H();
    ImageOptions paper;
    paper.code = QStringLiteral("fond");
    if (i % 2 == 0) {
      // A frame of tiles cut from a border picture around the paper.
      ImageOptions border;
      border.border = true;
      border.tile = 10;
      d.Image(0, 0, W, H,
              w.Picture(i == 2   ? QStringLiteral("bordure_festons_bleu.png")
                        : i == 4 ? QStringLiteral("bordure_etoiles.png")
                                 : QStringLiteral("bordure_festons_rose.png")),
              border);
      d.Image(10, 10, W - 20, H - 20, w.Picture(U(p.paper)), paper);
    } else {
      d.Image(0, 0, W, H, w.Picture(U(p.paper)), paper);
    }
    // Photo mats with a shadow, turned a little like prints laid on a page.
    const QRectF mats[] = {p.landscape ? QRectF(24, 40, 120, 86) : QRectF(22, 52, 110, 82),
                           p.landscape ? QRectF(160, 70, 100, 76) : QRectF(80, 150, 104, 78)};
    const double turn[] = {-3, 4};
    for (int k = 0; k < 2; ++k) {
      const QRectF& m = mats[k];
      d.Box(m.left() + 2, m.top() + 2, m.width(), m.height(), Hex(0xB8B0A8), kNone, 0, 4, turn[k]);
      d.Box(m.left(), m.top(), m.width(), m.height(), clWhite, kNone, 0, 4, turn[k]);
      ImageOptions photo;
      photo.code = QStringLiteral("photo");
      photo.rotation = turn[k];
      d.Image(m.left() + 5, m.top() + 5, m.width() - 10, m.height() - 10, w.Picture(U(p.photos[k])), photo);
    }
    {
      // A paper clip, pin or bow holding the first print.
      const QString pin = w.Picture(U(p.pin));
      const double pw = 18, ph = pw / w.Aspect(pin);
      ImageOptions o;
      o.code = QStringLiteral("accessoire");
      d.Image(mats[0].right() - pw - 4, mats[0].top() - ph / 2, pw, ph, pin, o);
    }
    d.Box(W / 2 - 62, 14, 124, 24, clWhite, t.accent, 0.4);
    d.Text(W / 2, 26, U(p.title), Head(t, 10, t.ink));
    {
      const QString ribbon = w.Picture(U(p.ribbon));
      const double rw = 70, rh = rw / w.Aspect(ribbon);
      const QRectF& m = mats[0];
      ImageOptions turned;
      turned.rotation = -20;
      d.Image(m.left() - 8, m.top() - rh / 2, rw, rh, ribbon, turned);
    }
    d.Group(QStringLiteral("tampon"), p.landscape ? W - 52 : W - 50, p.landscape ? H - 52 : 230, 30, 30,
            w.Picture(U(p.stamp)), t.accent, t.accent, 0.3, true);
    d.Text(p.landscape ? 84 : W / 2, p.landscape ? 150 : 250, U(p.caption), Font{kScript, 10, t.accent});
    d.Text(p.landscape ? W - 20 : W - 22, H - 18, U("<Prénom>"), Font{kScript, 6, t.ink}, kRight, 1);
    w.Emit(folder + QString::fromUtf8(p.file) + QStringLiteral(".mdl"), d, Writer::Preview::Catalogue);
    ++i;
  }
}

}  // namespace tpl
