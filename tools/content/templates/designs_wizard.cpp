// The wizards' template folders, the ready-made formats and the sample document.
#include <QDir>

#include "model/encodings.h"
#include "records/csv_table.h"
#include "templates/designs.h"

namespace tpl {

namespace {

ImageOptions Coded(const QString& code) {
  ImageOptions o;
  o.code = code;
  return o;
}

// Cards of the template and scrapbook wizards, also the layouts "Autres formats" offers for items
// without a sheet layout: texts "<Texte1>" to "<Texte3>", pictures coded by their role.
void WizardCards(Writer& w) {
  const QString folder = QStringLiteral("Gabarits/");
  const QString t1 = QStringLiteral("<Texte1>"), t2 = QStringLiteral("<Texte2>"),
                t3 = QStringLiteral("<Texte3>");
  struct Card {
    const char* file;
    const char* theme;
    const char* fond;
    const char* photo;
    const char* extra;
    bool scrap;  // codes fond/photo/accessoire, else fond/image1/image2
    int layout;
  } cards[] = {
      {"Carte photo", "Pastel", "fond_pastel_rose.jpg", "photo_pissenlit.jpg",
       "fond_enfant_ballons_carre.jpg", true, 0},
      {"Carte polaroid", "Retro", "papier_vichy_bleu.jpg", "photo_coucher_soleil_mer.jpg", "photo_plage.jpg",
       true, 1},
      {"Carte double", "Foret", "texture_lin_naturel.jpg", "photo_collines_brume.jpg",
       "photo_feuille_verte.jpg", false, 2},
      {"Carte bandeau", "Ocean", "fond_aquarelle_bleu.jpg", "photo_lac_montagne.jpg",
       "fond_pastel_lagon_carre.jpg", false, 3},
      {"Carte pliée fête", "Fete", "fond_enfant_confettis.jpg", "fond_enfant_ballons.jpg",
       "fond_enfant_pois_carre.jpg", true, 4},
      {"Carte pliée douceur", "Tendre", "fond_mariage_coeurs.jpg", "fond_mariage_roses.jpg",
       "fond_mariage_roses_carre.jpg", false, 5},
      {"Carte saisons", "Terre", "fond_saison_automne.jpg", "photo_feuillage_automne.jpg",
       "texture_kraft.jpg", true, 2},
      {"Carte étoilée", "Nuit", "fond_enfant_nuit_etoilee.jpg", "photo_aurore_boreale.jpg",
       "fond_bokeh_or.jpg", false, 0},
  };
  for (const Card& c : cards) {
    const Theme& t = ThemeNamed(QString::fromLatin1(c.theme));
    const bool folded = c.layout >= 4;
    Doc d = w.ForLayout(folded ? U("A4 2 demi-pages 210 x 148,5") : U("A6 carte postale"));
    const double W = d.W(), H = d.H();
    const QString photo = c.scrap ? QStringLiteral("photo") : QStringLiteral("image1");
    const QString extra = c.scrap ? QStringLiteral("accessoire") : QStringLiteral("image2");
    d.Image(0, 0, W, H, w.Picture(U(c.fond)), Coded(QStringLiteral("fond")));
    switch (c.layout) {
      case 0:  // photo in a mat, texts below
        d.Box(12, 12, W - 24, 74, clWhite);
        d.Image(15, 15, W - 30, 68, w.Picture(U(c.photo)), Coded(photo));
        d.Box(10, 92, W - 20, 48, clWhite);
        d.Text(W / 2, 102, t1, Head(t, 6, t.accent));
        d.Text(W / 2, 118, t2, Font{t.body, 3.4, Hex(0x333333)});
        d.Text(W / 2, 133, t3, Font{kScript, 6, t.accent});
        break;
      case 1:  // a print laid askew with a small picture pinned beside it
        d.Box(16, 14, W - 32, 86, clWhite, kNone, 0, 4, -4);
        d.Image(21, 19, W - 42, 66, w.Picture(U(c.photo)), [&] {
          ImageOptions o = Coded(photo);
          o.rotation = -4;
          return o;
        }());
        d.Text(W / 2, 92, t1, Font{kScript, 8, Hex(0x333333)}, kCentre, 2, -4);
        d.Image(W - 34, 96, 24, 24, w.Picture(U(c.extra)), Coded(extra));
        d.Text(W / 2 - 10, 117, t2, Font{t.body, 3.2, t.ink});
        d.Text(W / 2, 138, t3, Font{kScript, 6, t.accent});
        break;
      case 2:  // two pictures side by side
        d.Box(8, 8, W - 16, H - 16, t.paper);
        d.Text(W / 2, 22, t1, Head(t, 6.5, t.ink));
        d.Image(14, 34, (W - 34) / 2, 52, w.Picture(U(c.photo)), Coded(photo));
        d.Image(20 + (W - 34) / 2, 34, (W - 34) / 2, 52, w.Picture(U(c.extra)), Coded(extra));
        d.Text(W / 2, 106, t2, Font{t.body, 3.4, t.ink});
        d.Text(W / 2, 130, t3, Font{kScript, 6, t.accent});
        break;
      case 3:  // full picture with a band of text
        d.Image(0, 0, W, 96, w.Picture(U(c.photo)), Coded(photo));
        d.Box(0, 88, W, 60, t.paper);
        d.Box(0, 88, W, 1.5, t.accent);
        d.Circle(W - 20, 88, 12, clWhite);
        d.Image(W - 30, 78, 20, 20, w.Picture(U(c.extra)), Coded(extra));
        d.Text(12, 104, t1, Head(t, 6, t.ink), kLeft, 0);
        d.Text(12, 121, t2, Font{t.body, 3.2, t.ink}, kLeft, 0);
        d.Text(W - 12, 138, t3, Font{kScript, 6, t.accent}, kRight, 1);
        break;
      default: {  // folded card: picture on the front, texts inside
        const double half = W / 2;
        d.Box(half + 10, 10, half - 20, H - 20, clWhite);
        d.Image(half + 14, 14, half - 28, 86, w.Picture(U(c.photo)), Coded(photo));
        d.Text(half + half / 2, 118, t1, Head(t, 7, t.accent));
        d.Box(half / 2 - 14, H / 2 - 14, 28, 28, clWhite);
        d.Image(half / 2 - 12, H / 2 - 12, 24, 24, w.Picture(U(c.extra)), Coded(extra));
        d.OnFace(2);
        d.Box(0, 0, W, H, t.paper);
        d.Box(half + 10, 10, half - 20, H - 20, kNone, t.accent, 0.4);
        d.Text(half + half / 2, 30, t1, Head(t, 6, t.ink));
        d.Text(half + half / 2, 72, t2, Font{t.body, 4, t.ink});
        d.Text(half + half / 2, 118, t3, Font{kScript, 8, t.accent});
        break;
      }
    }
    w.Emit(folder + U(c.file) + QStringLiteral(".mdl"), d, Writer::Preview::None);
  }
}

void Formats(Writer& w) {
  const TzunoCSV table(w.context().donnees + QStringLiteral("/formats.csv"));
  const int name = table.ColIndex(QStringLiteral("nom")), large = table.ColIndex(QStringLiteral("large")),
            haut = table.ColIndex(QStringLiteral("haut"));
  if (name < 0 || large < 0 || haut < 0) {
    w.Fail(QStringLiteral("formats.csv lacks its nom, large or haut column"));
    return;
  }
  for (int row = 1; row < table.RowCount(); ++row) {
    const QString n = table.Cell(name, row);
    // A name that cannot be a file name keeps the wizard's blank page of that size.
    if (n.isEmpty() || n.contains(QLatin1Char('/')) || n.contains(QLatin1Char('\\'))) continue;
    const double W = ReadReal(table.Cell(large, row)), H = ReadReal(table.Cell(haut, row));
    if (W <= 0 || H <= 0) continue;
    Doc d(W, H);
    // Guides 3 mm inside the edges mark where text stays clear of the cut, on both faces.
    const double m = 3;
    d.Guide(m, 1, 2).Guide(std::round(W - m), 1, 2).Guide(m, 2, 2).Guide(std::round(H - m), 2, 2);
    d.Area(m, m, std::round(W - m) - m, std::round(H - m) - m, QStringLiteral("zone"));
    w.Emit(QStringLiteral("formats/") + n + QStringLiteral(".mdl"), d, Writer::Preview::None);
  }
}

void Blank(Writer& w) {
  for (int k = 1; k <= 6; ++k)
    w.Emit(QStringLiteral("Gabarits/Vierge/%1.mdl").arg(k), DiscPage(w, k), Writer::Preview::None);
}

void DiscWizards(Writer& w) {
  struct Family {
    const char* folder;
    const char* name;
    const char* theme;
    const char* fond;
    const char* image;
    int content;  // 0 audio, 1 data, 2 wizard texts
  } families[] = {
      {"Gabarits/Audio", "Concert", "Neon", "fond_musique_egaliseur_carre.jpg", "fond_musique_scene.jpg", 0},
      {"Gabarits/Audio", "Vinyle", "Retro", "texture_papier_creme.jpg", "fond_musique_vinyle_carre.jpg", 0},
      {"Gabarits/Audio", "Voyage", "Ocean", "fond_pastel_ciel.jpg", "fond_nature_ocean_carre.jpg", 0},
      {"Gabarits/Data", "Archives", "Epure", "texture_papier_blanc.jpg",
       "fond_motif_hexagones_nuit_carre.jpg", 1},
      {"Gabarits/Data", "Photos", "Foret", "texture_lin_naturel.jpg", "fond_nature_feuillage_carre.jpg", 1},
      {"Gabarits/CD et DVD", "Scène", "Neon", "fond_bokeh_violet_paysage.jpg", "fond_musique_scene.jpg", 2},
      {"Gabarits/CD et DVD", "Aquarelle", "Pastel", "fond_aquarelle_rose.jpg",
       "fond_aquarelle_lilas_carre.jpg", 2},
  };
  for (const Family& f : families) {
    DiscContent c = f.content == 0 ? AudioContent() : f.content == 1 ? DataContent() : WizardContent();
    c.fond = w.Picture(U(f.fond));
    c.image1 = w.Picture(U(f.image));
    c.tree = f.content == 1;
    DiscFamily(w, U(f.folder), U(f.name), ThemeNamed(QString::fromLatin1(f.theme)), c, Writer::Preview::None);
  }
}

void LabelWizard(Writer& w) {
  const QString folder = QStringLiteral("AssitantEtiquettes/");
  auto save = [&](const char* name, Doc& d) {
    w.Emit(folder + U(name) + QStringLiteral(".mdl"), d, Writer::Preview::Chooser);
  };
  {
    const Theme& t = ThemeNamed(QStringLiteral("Terre"));
    Doc d = w.ForLayout(U("A4 21 étiquettes 70 x 42,3"));
    d.Image(0, 0, d.W(), d.H(), w.Picture(U("texture_kraft.jpg")), Coded(QStringLiteral("fond")));
    d.Box(6, 8, d.W() - 12, d.H() - 16, t.paper, t.accent, 0.4);
    d.Text(d.W() / 2, 17, U("Épices"), Font{kDisplay, 5, t.accent});
    d.Text(d.W() / 2, 27, U("Curry doux de Madras"), Font{kSerif, 3.6, t.ink});
    save("Bocal d'épices", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Retro"));
    Doc d = w.ForLayout(U("A4 8 étiquettes 105 x 74"));
    d.Image(0, 0, d.W(), d.H(), w.Picture(U("texture_parchemin.jpg")), Coded(QStringLiteral("fond")));
    d.Box(5, 5, d.W() - 10, d.H() - 10, kNone, t.ink, 0.6);
    d.Box(7, 7, d.W() - 14, d.H() - 14, kNone, t.ink, 0.2);
    d.Text(d.W() / 2, 20, U("Cuvée de la maison"), Font{kDisplay, 6.5, t.accent});
    d.Text(d.W() / 2, 34, U("Vin rouge · Côtes du Rhône"), Font{kSerif, 4, t.ink, fsItalic});
    d.Segment(d.W() / 2 - 20, 42, d.W() / 2 + 20, 42, t.ink, 0.3);
    d.Text(d.W() / 2, 54, U("Mis en bouteille par|<Prénom> <Nom> · 2026"), Font{kSerif, 3.4, t.ink});
    save("Vin de la maison", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Fete"));
    Doc d = w.ForLayout(U("A4 16 étiquettes 105 x 37"));
    d.Box(0, 0, d.W(), d.H(), t.soft);
    d.Group(QStringLiteral("perforatrice"), 6, d.H() / 2 - 4, 8, 8,
            w.Picture(QStringLiteral("perforatrice_rond.emf")), clWhite, clWhite);
    DrawMotif(d, t, Motif::Confetti, QRectF(70, 3, 32, 31), 0.5, 41);
    d.Text(20, 14, U("Pour toi !"), Font{kDisplay, 6, t.accent2}, kLeft, 0);
    d.Text(20, 26, U("De la part de <Prénom>"), Font{kSans, 3.4, t.ink}, kLeft, 0);
    save("Cadeau", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Epure"));
    Doc d = w.ForLayout(U("A4 14 étiquettes 105 x 42,3"));
    d.Box(0, 0, d.W(), d.H(), clWhite);
    d.Box(0, 0, 30, d.H(), t.accent);
    d.Text(15, d.H() / 2, QStringLiteral("1"), Font{kDeja, 14, clWhite, fsBold});
    d.Text(38, 14, U("Cuisine"), Font{kDeja, 7, t.ink, fsBold}, kLeft, 0);
    d.Text(38, 27, U("Vaisselle · Fragile · Haut"), Font{kSans, 3.6, t.accent}, kLeft, 0);
    save("Carton de déménagement", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Pastel"));
    Doc d = w.ForLayout(U("A4 24 étiquettes 70 x 37"));
    d.Image(0, 0, d.W(), d.H(), w.Picture(U("papier_rayures_rose.jpg")), Coded(QStringLiteral("fond")));
    d.Ellipse(6, 5, d.W() - 12, d.H() - 10, clWhite, t.accent, 0.4);
    d.Text(d.W() / 2, 14, U("Cahier de"), Font{kSans, 3.2, t.ink});
    d.Text(d.W() / 2, 23, U("<Prénom>"), Font{kScript, 10, t.accent});
    save("Cahier", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Foret"));
    Doc d = w.ForLayout(U("A4 21 étiquettes 70 x 42,3"));
    d.Image(0, 0, d.W(), d.H(), w.Picture(U("texture_lin_naturel.jpg")), Coded(QStringLiteral("fond")));
    d.Circle(d.W() / 2, d.H() / 2, 18, t.paper, t.accent, 0.5);
    d.Shape(d.W() / 2 - 6, 6, 12, 10, DropPoints(), 100, 100, t.accent2);
    d.Text(d.W() / 2, 23, U("Miel de fleurs"), Font{kSerif, 4, t.ink});
    d.Text(d.W() / 2, 30, U("Récolte 2026"), Font{kSans, 2.8, t.accent});
    save("Pot de miel", d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Ocean"));
    Doc d = w.ForLayout(U("A4 8 étiquettes 99,1 x 67,7"));
    d.Box(0, 0, d.W(), d.H(), clWhite);
    d.Box(0, 0, d.W(), 20, t.accent);
    d.Text(d.W() / 2, 10, U("BONJOUR"), Font{kDeja, 6, clWhite, fsBold});
    d.Text(d.W() / 2, 27, U("je m'appelle"), Font{kSans, 3.4, t.ink});
    d.Text(d.W() / 2, 42, U("<Prénom>"), Font{kDisplay, 10, t.ink});
    Waves(d, QRectF(0, 54, d.W(), 13.7), 0.2, t.accent2, t.accent);
    save("Badge", d);
  }
  // Labels cut from the library's label pictures, the wording on them.
  const struct {
    const char* name;
    const char* picture;
    const char* layout;
    const char* title;
    const char* line;
    TColor ink;
  } cutouts[] = {
      {"Confiture vichy", "etiquette_confiture_vichy.png", "A4 8 étiquettes 105 x 74", "Confiture d'abricots",
       "Faite maison · été 2026", Hex(0x7A2E2E)},
      {"Etiquette de bagage", "etiquette_bagage_kraft.png", "A4 14 étiquettes 99,1 x 38,1", "<Prénom> <Nom>",
       "<Adresse>|<Code> <Ville> · <Portable>", Hex(0x3C2A21)},
  };
  for (const auto& c : cutouts) {
    Doc d = w.ForLayout(U(c.layout));
    const QString picture = w.Picture(U(c.picture));
    const double aspect = w.Aspect(picture);
    double pw = d.W() - 4, ph = pw / aspect;
    if (ph > d.H() - 4) {
      ph = d.H() - 4;
      pw = ph * aspect;
    }
    const double x = (d.W() - pw) / 2, y = (d.H() - ph) / 2;
    ImageOptions o;
    o.code = QStringLiteral("fond");
    d.Image(x, y, pw, ph, picture, o);
    d.Text(d.W() / 2 + (aspect > 1.8 ? pw * 0.06 : 0), y + ph * 0.4, U(c.title),
           Font{kSerif, ph * 0.12, c.ink, fsBold});
    d.Text(d.W() / 2 + (aspect > 1.8 ? pw * 0.06 : 0), y + ph * 0.62, U(c.line),
           Font{kSans, ph * 0.075, c.ink});
    save(c.name, d);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Neon"));
    Doc d = w.ForLayout(U("A4 40 étiquettes 48,5 x 25,4"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    d.Box(3, 3, d.W() - 6, d.H() - 6, kNone, t.accent2, 0.3);
    d.Text(d.W() / 2, 10, U("Câbles"), Font{kDeja, 4.4, t.accent, fsBold});
    d.Text(d.W() / 2, 17, U("et chargeurs"), Font{kDeja, 2.8, t.ink});
    save("Rangement", d);
  }
}

void BackgroundWizard(Writer& w) {
  const QString folder = QStringLiteral("AssistantFonds/");
  struct Pic {
    const char* name;
    const char* file;
    TColor frame;
  } pictures[] = {
      {"Aquarelle bleue", "fond_aquarelle_bleu.jpg", clWhite},
      {"Papier kraft", "texture_kraft.jpg", Hex(0xF3E6D3)},
      {"Confettis", "fond_enfant_confettis.jpg", clWhite},
      {"Dentelle", "fond_mariage_dentelle.jpg", Hex(0xFFF8F3)},
  };
  for (const Pic& p : pictures) {
    Doc d = w.ForLayout(U("A4 page entière"));
    ImageOptions o = Coded(QStringLiteral("fond"));
    d.Image(0, 0, d.W(), d.H(), w.Picture(U(p.file)), o);
    d.Box(18, 18, d.W() - 36, d.H() - 36, kNone, p.frame, 1.2);
    w.Emit(folder + U(p.name) + QStringLiteral(".mdl"), d, Writer::Preview::Chooser);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Ocean"));
    Doc d = w.ForLayout(U("A4 page entière"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    Waves(d, QRectF(0, 210, d.W(), 87), 0.1, t.accent2, t.accent);
    w.Emit(folder + U("Vagues.mdl"), d, Writer::Preview::Chooser);
  }
  {
    const Theme& t = ThemeNamed(QStringLiteral("Nuit"));
    Doc d = w.ForLayout(U("A4 paysage page entière"));
    d.Box(0, 0, d.W(), d.H(), t.paper);
    DrawMotif(d, t, Motif::Stars, QRectF(8, 8, d.W() - 16, d.H() - 16), 1.6, 51);
    w.Emit(folder + U("Nuit étoilée.mdl"), d, Writer::Preview::Chooser);
  }
}

}  // namespace

void Sample(Writer& w) {
  // The small disc label the command-line tool's examples use: a drawn front and a picture on the back.
  Doc d(120, 120, 1);
  d.Head(QStringLiteral("PetitDiam"), QStringLiteral("22"))
      .Head(QStringLiteral("GrandDiam"), QStringLiteral("118"));
  d.Ellipse(2, 2, 116, 116, Hex(0xC0E0F0), Hex(0x004080), 0.5);
  // The older title field first, kept for documents made with it; it is empty for current albums.
  d.Text(60, 28, QStringLiteral("<cdTitre><cdAlbum>"), Font{kSerif, 7, Hex(0x1F3A60), fsBold});
  d.Text(60, 92, QStringLiteral("<cdArtiste>|Souvenirs de vacances"),
         Font{kSans, 4, Hex(0x404040), fsItalic});
  d.OnFace(2);
  d.Image(1, 1, 118, 118, w.Picture(QStringLiteral("fond_musique_vinyle_carre.jpg")));
  w.Emit(QStringLiteral("Modeles/Exemples/disque.mdl"), d, Writer::Preview::Catalogue);
}

void WizardFolders(Writer& w) {
  Blank(w);
  DiscWizards(w);
  WizardCards(w);
  Formats(w);
  LabelWizard(w);
  BackgroundWizard(w);
  TshirtWizard(w);
}

}  // namespace tpl
