#include "templates/designs.h"

namespace tpl {

DiscContent AudioContent() {
  DiscContent c;
  c.title = QStringLiteral("<cdAlbum>");
  c.subtitle = QStringLiteral("<cdArtiste>");
  c.body = QStringLiteral("<cdTitres>");
  c.left = U("<cdAnnée>");
  c.right = QStringLiteral("<cdGenre>");
  c.bodyTitle = U("Titres");
  c.inside =
      U("Enregistré entre amis, un soir|où la ville ne dormait pas.|Merci à tous ceux qui ont prêté|une "
        "oreille, une guitare|ou un canapé.");
  c.barcode = QStringLiteral("3760123456781");
  return c;
}

DiscContent DataContent() {
  DiscContent c;
  c.title = U("Sauvegarde");
  c.subtitle = U("Photos et documents de la famille");
  c.body =
      U("Albums photo 2024 à 2026|Vidéos des vacances|Papiers administratifs|Recettes de grand-mère|Musique "
        "du salon");
  c.left = U("Disque 1/1");
  c.right = U("Décembre 2026");
  c.bodyTitle = U("Contenu du disque");
  c.inside = U("À conserver à l'abri|de la lumière et de la chaleur.|Copie suivante prévue|dans six mois.");
  return c;
}

DiscContent WizardContent() {
  DiscContent c;
  c.title = QStringLiteral("<Texte1>");
  c.subtitle = QStringLiteral("<Texte2>");
  c.body = QStringLiteral("<Texte3>");
  c.bodyTitle = U("Au programme");
  c.inside = U("Bonne écoute !");
  return c;
}

Doc DiscPage(Writer& w, int kind) {
  switch (kind) {
    case 1:
      return w.ForLayout(U("A4 2 étiquettes CD 117 mm"))
          .Head(QStringLiteral("PetitDiam"), QStringLiteral("41"))
          .Head(QStringLiteral("GrandDiam"), QStringLiteral("117"));
    case 2:
      return w.ForLayout(U("A4 2 jaquettes arrière CD 151 x 118"));
    case 3:
      return w.ForLayout(U("A4 livret CD 240 x 120"));
    case 4:
      return w.ForLayout(U("A4 2 feuillets CD à retours 150 x 120"))
          .Head(QStringLiteral("TailleRetour"), QStringLiteral("15"));
    case 5:
      return w.ForLayout(U("A4 jaquette DVD 273 x 183"))
          .Head(QStringLiteral("TailleTranche"), QStringLiteral("14"));
    default:
      return w.ForLayout(U("A4 pochette CD à rabats 190 x 266"))
          .Head(QStringLiteral("TailleRabat"), QStringLiteral("20"));
  }
}

namespace {

constexpr double kDisc = 117;

bool Bottom(Motif m) {
  return m == Motif::Waves || m == Motif::Bands || m == Motif::Triangles;
}

// The decoration of a cover panel: along its bottom edge for band-like motifs, else in its upper
// part; returns the height (0..1 of the panel) where the title block goes.
double Hero(Doc& d, const Theme& t, QRectF panel, double scale, int seed) {
  if (Bottom(t.motif)) {
    DrawMotif(
        d, t, t.motif,
        QRectF(panel.left(), panel.bottom() - panel.height() * 0.3, panel.width(), panel.height() * 0.3),
        scale, seed);
    return 0.38;
  }
  DrawMotif(d, t, t.motif,
            panel.adjusted(panel.width() * 0.08, panel.height() * 0.07, -panel.width() * 0.08,
                           -panel.height() * 0.38),
            scale, seed);
  return 0.72;
}

void Picture(Doc& d, double x, double y, double w, double h, const QString& file, const QString& code,
             const QString& mask = QString()) {
  ImageOptions o;
  o.code = code;
  o.mask = mask;
  d.Image(x, y, w, h, file, o);
}

void Label(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 1);
  const double m = kDisc / 2;
  d.Ellipse(0, 0, kDisc, kDisc, t.paper);
  if (!c.fond.isEmpty()) Picture(d, 0, 0, kDisc, kDisc, c.fond, QStringLiteral("fond"));
  if (!c.image1.isEmpty()) {
    Picture(d, m - 34, 70, 68, 40, c.image1, QStringLiteral("image1"), c.mask);
  } else if (t.motif == Motif::Waves || t.motif == Motif::Bands || t.motif == Motif::Triangles) {
    DrawMotif(d, t, t.motif, QRectF(0, 74, kDisc, 43), 0.8, 1);
  } else {
    DrawMotif(d, t, t.motif, QRectF(22, 78, 73, 26), 0.7, 1);
  }
  d.Circle(m, m, 55, kNone, t.accent, 1.2);
  d.Circle(m, m, 23.5, kNone, t.accent, 0.6);
  d.Text(m, 21, c.title, Head(t, 8, t.ink));
  d.Text(m, 30, c.subtitle, Font{t.body, 4.2, t.accent});
  d.Text(19, m, c.left, Font{t.body, 3.2, t.ink});
  d.Text(98, m, c.right, Font{t.body, 3.2, t.ink});
  wr.Emit(path, d, preview);
}

void Tray(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 2);
  const double W = d.W(), H = d.H(), s = 6.5, mid = W / 2;
  d.Box(0, 0, W, H, t.paper);
  if (!c.fond.isEmpty()) Picture(d, s, 0, W - 2 * s, H, c.fond, QStringLiteral("fond"));
  d.Box(0, 0, s, H, t.accent).Box(W - s, 0, s, H, t.accent);
  const QString spine = c.subtitle + QStringLiteral("  ·  ") + c.title;
  d.Text(s / 2, H / 2, spine, Font{t.body, 3.2, t.onAccent}, kCentre, 2, 270);
  d.Text(W - s / 2, H / 2, spine, Font{t.body, 3.2, t.onAccent}, kCentre, 2, 90);
  d.Text(mid, 13, c.title, Head(t, 7, t.ink));
  d.Text(mid, 21, c.subtitle, Font{t.body, 3.8, t.accent});
  d.Segment(mid - 20, 26, mid + 20, 26, t.accent2, 0.4);
  if (c.tree) {
    Font f{t.body, 3, t.ink};
    d.Tree(s + 8, 30, W - 2 * s - 16, 62, QString(), 2, 2, true, f);
  } else {
    d.Text(mid, 60, c.body, Font{t.body, 3.6, t.ink});
  }
  if (t.motif == Motif::Waves || t.motif == Motif::Bands || t.motif == Motif::Triangles)
    DrawMotif(d, t, t.motif, QRectF(s, 96, W - 2 * s, 22), 0.6, 2);
  else
    DrawMotif(d, t, t.motif, QRectF(s + 4, 98, 70, 16), 0.6, 2);
  if (!c.barcode.isEmpty()) {
    d.Box(W - s - 33, H - 19, 30, 16, clWhite);
    d.Barcode(W - s - 32, H - 18, 28, 14, c.barcode);
  }
  wr.Emit(path, d, preview);
}

void Booklet(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 3);
  const double H = d.H();
  d.Box(0, 0, 240, H, t.paper);
  if (!c.fond.isEmpty()) Picture(d, 120, 0, 120, H, c.fond, QStringLiteral("fond"));
  double ty = 0.72;
  if (!c.image1.isEmpty())
    Picture(d, 140, 12, 80, 62, c.image1, QStringLiteral("image1"), c.mask);
  else
    ty = Hero(d, t, QRectF(120, 0, 120, H), 1.3, 3);
  d.Text(180, H * ty + 2, c.title, Head(t, 9, t.ink));
  d.Text(180, H * ty + 14, c.subtitle, Font{t.body, 5, t.accent});
  d.Box(0, 0, 120, 18, t.accent);
  d.Text(60, 9, c.bodyTitle, Font{t.body, 5, t.onAccent});
  if (c.tree)
    d.Tree(10, 24, 100, 80, QString(), 2, 1, true, Font{t.body, 3, t.ink});
  else
    d.Text(60, 62, c.body, Font{t.body, 4, t.ink});
  d.Text(60, 111, c.left + QStringLiteral("  ·  ") + c.right, Font{t.body, 3, t.accent});
  d.OnFace(2);
  d.Box(0, 0, 240, H, t.soft);
  d.Box(8, 8, 104, H - 16, kNone, t.accent, 0.4);
  d.Text(60, 22, c.title, Head(t, 6.5, t.ink));
  d.Text(60, 66, c.inside, Font{t.body, 3.8, t.ink});
  const double iy = Hero(d, t, QRectF(120, 0, 120, H), 1.1, 4);
  d.Text(180, H * iy + 6, c.subtitle, Head(t, 7, t.ink));
  wr.Emit(path, d, preview);
}

void Leaflet(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 4);
  const double W = d.W(), H = d.H(), r = 15;
  d.Box(0, 0, W, H, t.paper);
  if (!c.fond.isEmpty()) Picture(d, r, 0, W - 2 * r, H, c.fond, QStringLiteral("fond"));
  d.Box(0, 0, r, H, t.accent).Box(W - r, 0, r, H, t.accent);
  d.Text(r / 2, H / 2, c.subtitle, Font{t.body, 4, t.onAccent}, kCentre, 2, 270);
  d.Text(W - r / 2, H / 2, c.title, Font{t.body, 4, t.onAccent}, kCentre, 2, 90);
  double ty = 0.7;
  if (!c.image1.isEmpty())
    Picture(d, 35, 10, 80, 56, c.image1, QStringLiteral("image1"), c.mask);
  else
    ty = Hero(d, t, QRectF(r, 0, W - 2 * r, H), 1.1, 5);
  d.Text(W / 2, H * ty, c.title, Head(t, 8, t.ink));
  d.Text(W / 2, H * ty + 12, c.subtitle, Font{t.body, 4.5, t.accent});
  d.Text(W / 2, H * ty + 22, c.left, Font{t.body, 3, t.ink});
  d.OnFace(2);
  d.Box(0, 0, W, H, t.soft);
  d.Box(0, 0, r, H, t.accent2).Box(W - r, 0, r, H, t.accent2);
  d.Text(W / 2, 14, c.bodyTitle, Head(t, 6, t.ink));
  if (c.tree)
    d.Tree(r + 6, 24, W - 2 * r - 12, 86, QString(), 2, 2, true, Font{t.body, 3, t.ink});
  else
    d.Text(W / 2, 64, c.body, Font{t.body, 3.8, t.ink});
  wr.Emit(path, d, preview);
}

void Dvd(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 5);
  const double W = d.W(), H = d.H(), sp = 14, back = (W - sp) / 2, front = back + sp, fc = front + back / 2;
  d.Box(0, 0, W, H, t.paper);
  if (!c.fond.isEmpty()) Picture(d, front, 0, back, H, c.fond, QStringLiteral("fond"));
  d.Box(back, 0, sp, H, t.accent);
  d.Text(back + sp / 2, H / 2, c.title + QStringLiteral("  ·  ") + c.subtitle, Font{t.body, 5, t.onAccent},
         kCentre, 2, 90);
  double ty = 0.74;
  if (!c.image1.isEmpty())
    Picture(d, front + 15, 18, back - 30, 100, c.image1, QStringLiteral("image1"), c.mask);
  else
    ty = Hero(d, t, QRectF(front, 0, back, H), 1.8, 6);
  d.Text(fc, H * ty + 4, c.title, Head(t, 12, t.ink));
  d.Text(fc, H * ty + 20, c.subtitle, Font{t.body, 6, t.accent});
  d.Text(back / 2, 18, c.bodyTitle, Head(t, 7, t.ink));
  d.Segment(back / 2 - 25, 25, back / 2 + 25, 25, t.accent, 0.5);
  if (c.tree)
    d.Tree(12, 32, back - 24, 110, QString(), 3, 2, true, Font{t.body, 3, t.ink});
  else
    d.Text(back / 2, 80, c.body, Font{t.body, 4.5, t.ink});
  d.Text(12, 166, c.left + QStringLiteral("  ·  ") + c.right, Font{t.body, 3.2, t.ink}, kLeft);
  if (!c.barcode.isEmpty()) {
    d.Box(back - 40, H - 24, 32, 18, clWhite);
    d.Barcode(back - 39, H - 23, 30, 16, c.barcode);
  }
  d.OnFace(2);
  d.Box(0, 0, W, H, t.soft);
  d.Box(back, 0, sp, H, t.accent2);
  d.Text(back / 2, 40, c.title, Head(t, 8, t.ink));
  d.Text(back / 2, 95, c.inside, Font{t.body, 4.5, t.ink});
  Hero(d, t, QRectF(front, 0, back, H), 1.6, 7);
  wr.Emit(path, d, preview);
}

void Sleeve(Writer& wr, const QString& path, const Theme& t, const DiscContent& c, Writer::Preview preview) {
  Doc d = DiscPage(wr, 6);
  const double W = d.W(), H = d.H(), f = 20, half = W / 2;
  d.Box(0, 0, W, H, t.paper);
  if (!c.fond.isEmpty()) Picture(d, half, 0, half, H, c.fond, QStringLiteral("fond"));
  d.Box(0, f, half, H - 2 * f, t.soft);
  d.Text(half / 2, f + 14, c.bodyTitle, Head(t, 6, t.ink));
  if (c.tree)
    d.Tree(8, f + 26, half - 16, 150, QString(), 2, 1, true, Font{t.body, 3, t.ink});
  else
    d.Text(half / 2, f + 90, c.body, Font{t.body, 4, t.ink});
  d.Text(half / 2, H - f - 12, c.left + QStringLiteral("  ·  ") + c.right, Font{t.body, 3, t.accent});
  double ty = 0.72;
  if (!c.image1.isEmpty())
    Picture(d, half + 10, 40, half - 20, 110, c.image1, QStringLiteral("image1"), c.mask);
  else
    ty = Hero(d, t, QRectF(half, 0, half, H), 1.4, 8);
  d.Box(half + 8, H * ty - 14, half - 16, 0.8, t.accent);
  d.Text(half + half / 2, H * ty, c.title, Head(t, 8, t.ink));
  d.Text(half + half / 2, H * ty + 14, c.subtitle, Font{t.body, 4.5, t.accent});
  wr.Emit(path, d, preview);
}

}  // namespace

void MiniDisc(Writer& w, const QString& path, const Theme& t, const QString& picture) {
  Doc d = w.ForLayout(U("A4 6 étiquettes mini CD 80 mm"));
  d.Head(QStringLiteral("PetitDiam"), QStringLiteral("22"))
      .Head(QStringLiteral("GrandDiam"), QStringLiteral("80"));
  const double D = d.W(), m = D / 2;
  d.Ellipse(0, 0, D, D, t.paper);
  if (!picture.isEmpty()) {
    ImageOptions o;
    o.code = QStringLiteral("fond");
    d.Image(0, 0, D, D, picture, o);
    d.Circle(m, m, 20, t.paper);
  } else {
    DrawMotif(d, t, t.motif, QRectF(14, 54, 52, 20), 0.5, 9);
  }
  d.Circle(m, m, 37.5, kNone, t.accent, 0.8);
  d.Text(m, 16, QStringLiteral("<cdAlbum>"), Head(t, 5, t.ink));
  d.Text(m, 23, QStringLiteral("<cdArtiste>"), Font{t.body, 3, t.accent});
  w.Emit(path, d, Writer::Preview::Catalogue);
}

void DiscFamily(Writer& w, const QString& folder, const QString& base, const Theme& t, const DiscContent& c,
                Writer::Preview preview, const QString& separator) {
  const QString stem = folder + QLatin1Char('/') + base + separator;
  Label(w, stem + QStringLiteral("1.mdl"), t, c, preview);
  Tray(w, stem + QStringLiteral("2.mdl"), t, c, preview);
  Booklet(w, stem + QStringLiteral("3.mdl"), t, c, preview);
  Leaflet(w, stem + QStringLiteral("4.mdl"), t, c, preview);
  Dvd(w, stem + QStringLiteral("5.mdl"), t, c, preview);
  Sleeve(w, stem + QStringLiteral("6.mdl"), t, c, preview);
}

}  // namespace tpl
