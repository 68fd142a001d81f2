"""Papers and label-sheet layouts.

Sheet sizes are the ISO 216 and North American standard sizes; label layouts
use the published dimensions of common sheet formats. Brands are our own
("Lorvane") or invented; "Standard" marks plain page layouts.
"""

INCH = 25.4

# papier, nom, large, haut
PAPERS = [
    ("A4", "A4 - 210 x 297 mm", 210, 297),
    ("A5", "A5 - 148 x 210 mm", 148, 210),
    ("A3", "A3 - 297 x 420 mm", 297, 420),
    ("A6", "A6 - 105 x 148 mm", 105, 148),
    ("Letter", "US Letter - 8,5 x 11 in", 8.5 * INCH, 11 * INCH),
    ("Legal", "US Legal - 8,5 x 14 in", 8.5 * INCH, 14 * INCH),
    ("Tabloid", "US Tabloid - 11 x 17 in", 11 * INCH, 17 * INCH),
    ("Photo10x15", "Photo 10 x 15 cm", 102, 152),
    ("Photo13x18", "Photo 13 x 18 cm", 127, 178),
    ("Photo4x6", "Photo 4 x 6 in", 4 * INCH, 6 * INCH),
    ("Photo5x7", "Photo 5 x 7 in", 5 * INCH, 7 * INCH),
    ("Photo8x10", "Photo 8 x 10 in", 8 * INCH, 10 * INCH),
    ("EnvDL", "Enveloppe DL - 110 x 220 mm", 110, 220),
    ("EnvC5", "Enveloppe C5 - 162 x 229 mm", 162, 229),
    ("EnvC6", "Enveloppe C6 - 114 x 162 mm", 114, 162),
]

# One layout: nom, marque, papier, gabarit, x0, y0, interx, intery, large, haut, nbrex, nbrey, rectoverso, orientation
LAYOUTS = []


def layout(nom, marque, papier, gabarit, x0, y0, interx, intery, large, haut, nx, ny, recto_verso=0, orientation=0):
    LAYOUTS.append(dict(nom=nom, marque=marque, papier=papier, gabarit=gabarit, x0=x0, y0=y0, interx=interx,
                        intery=intery, large=large, haut=haut, nbrex=nx, nbrey=ny, rectoverso=recto_verso,
                        orientation=orientation))


def centred(sheet, cell, count, gap):
    """Margin that centres count cells with gaps on a sheet side."""
    return (sheet - count * cell - (count - 1) * gap) / 2


A4W, A4H = 210, 297
LW, LH = 8.5 * INCH, 11 * INCH

# Plain pages
layout("A4 page entière", "Standard", "A4", "", 0, 0, 0, 0, A4W, A4H, 1, 1)
layout("A4 paysage page entière", "Standard", "A4", "", 0, 0, 0, 0, A4H, A4W, 1, 1, orientation=1)
layout("A4 recto verso page entière", "Standard", "A4", "", 0, 0, 0, 0, A4W, A4H, 1, 1, recto_verso=1)
layout("A5 page entière", "Standard", "A5", "", 0, 0, 0, 0, 148, 210, 1, 1)
layout("A3 page entière", "Standard", "A3", "", 0, 0, 0, 0, 297, 420, 1, 1)
layout("A6 carte postale", "Standard", "A6", "", 0, 0, 0, 0, 105, 148, 1, 1)
layout("Letter page entière", "Standard", "Letter", "", 0, 0, 0, 0, LW, LH, 1, 1)
layout("Letter paysage page entière", "Standard", "Letter", "", 0, 0, 0, 0, LH, LW, 1, 1, orientation=1)
layout("Legal page entière", "Standard", "Legal", "", 0, 0, 0, 0, 8.5 * INCH, 14 * INCH, 1, 1)
layout("A4 2 demi-pages 210 x 148,5", "Standard", "A4", "", 0, 0, 0, 0, 210, 148.5, 1, 2)
layout("A4 4 cartes postales A6 105 x 148,5", "Standard", "A4", "", 0, 0, 0, 0, 105, 148.5, 2, 2)
layout("Enveloppe DL 220 x 110", "Standard", "EnvDL", "", 0, 0, 0, 0, 220, 110, 1, 1, orientation=1)
layout("Enveloppe C5 229 x 162", "Standard", "EnvC5", "", 0, 0, 0, 0, 229, 162, 1, 1, orientation=1)
layout("Enveloppe C6 162 x 114", "Standard", "EnvC6", "", 0, 0, 0, 0, 162, 114, 1, 1, orientation=1)

# Photo papers
layout("Photo 10 x 15 sans marge", "Standard", "Photo10x15", "", 0, 0, 0, 0, 102, 152, 1, 1)
layout("Photo 13 x 18 sans marge", "Standard", "Photo13x18", "", 0, 0, 0, 0, 127, 178, 1, 1)
layout("Photo 4 x 6 in sans marge", "Standard", "Photo4x6", "", 0, 0, 0, 0, 4 * INCH, 6 * INCH, 1, 1)
layout("Photo 5 x 7 in sans marge", "Standard", "Photo5x7", "", 0, 0, 0, 0, 5 * INCH, 7 * INCH, 1, 1)
layout("Photo 8 x 10 in sans marge", "Standard", "Photo8x10", "", 0, 0, 0, 0, 8 * INCH, 10 * INCH, 1, 1)
layout("A4 photo 4 tirages 10 x 14,8", "Lorvane", "A4", "", 5, 0.5, 0, 0, 100, 148, 2, 2)

# Disc labels, two per sheet, with the centre hole drawn by the template
layout("A4 2 étiquettes CD 117 mm", "Lorvane", "A4", "CD", centred(A4W, 117, 1, 0), 21.5, 0, 20, 117, 117, 1, 2)
layout("A4 2 étiquettes CD 118 mm pleine surface", "Vellora", "A4", "CD", centred(A4W, 118, 1, 0), 20.5, 0, 21, 118, 118, 1, 2)
layout("A4 2 étiquettes DVD 117 mm", "Vellora", "A4", "CD", centred(A4W, 117, 1, 0), 24, 0, 15, 117, 117, 1, 2)
layout("A4 6 étiquettes mini CD 80 mm", "Quintane", "A4", "CD", 20, 22, 10, 16.5, 80, 80, 2, 3)
layout("Letter 2 étiquettes CD 117 mm", "Quintane", "Letter", "CD", centred(LW, 117, 1, 0), 15.2, 0, 15, 117, 117, 1, 2)

# Business cards
layout("A4 10 cartes de visite 85 x 54", "Lorvane", "A4", "", 20, 13.5, 0, 0, 85, 54, 2, 5)
layout("A4 10 cartes de visite 85 x 55", "Vellora", "A4", "", 20, 11, 0, 0, 85, 55, 2, 5)
layout("A4 10 cartes de visite 85 x 54 bords nets", "Quintane", "A4", "", 14, 11, 12, 3, 85, 54, 2, 5)
layout("A4 10 cartes de visite 90 x 50", "Vellora", "A4", "", 15, 23.5, 0, 0, 90, 50, 2, 5)
layout("A4 8 cartes de visite 85 x 54 recto verso", "Lorvane", "A4", "", 15, 21.5, 10, 10, 85, 54, 2, 4, recto_verso=1)
layout("Letter 10 cartes de visite 2 x 3,5 in", "Quintane", "Letter", "", 0.75 * INCH, 0.5 * INCH, 0, 0, 3.5 * INCH, 2 * INCH, 2, 5)
layout("Letter 8 cartes de visite 2 x 3,5 in bords nets", "Lorvane", "Letter", "", 0.75 * INCH, 0.75 * INCH, 0.25 * INCH, 0.25 * INCH, 3.5 * INCH, 2 * INCH, 2, 4)

# Address labels, A4
layout("A4 65 étiquettes 38,1 x 21,2", "Vellora", "A4", "", 4.65, 10.7, 2.5, 0, 38.1, 21.2, 5, 13)
layout("A4 40 étiquettes 48,5 x 25,4", "Quintane", "A4", "", 8, 21.5, 0, 0, 48.5, 25.4, 4, 10)
layout("A4 24 étiquettes 70 x 37", "Lorvane", "A4", "", 0, 0.5, 0, 0, 70, 37, 3, 8)
layout("A4 24 étiquettes 70 x 36", "Vellora", "A4", "", 0, 4.5, 0, 0, 70, 36, 3, 8)
layout("A4 24 étiquettes 63,5 x 33,9", "Quintane", "A4", "", 7.2, 12.9, 2.5, 0, 63.5, 33.9, 3, 8)
layout("A4 21 étiquettes 70 x 42,3", "Lorvane", "A4", "", 0, 0.45, 0, 0, 70, 42.3, 3, 7)
layout("A4 21 étiquettes 63,5 x 38,1", "Vellora", "A4", "", 7.2, 15.15, 2.5, 0, 63.5, 38.1, 3, 7)
layout("A4 16 étiquettes 105 x 37", "Lorvane", "A4", "", 0, 0.5, 0, 0, 105, 37, 2, 8)
layout("A4 14 étiquettes 105 x 42,3", "Quintane", "A4", "", 0, 0.45, 0, 0, 105, 42.3, 2, 7)
layout("A4 14 étiquettes 99,1 x 38,1", "Vellora", "A4", "", 4.65, 15.15, 2.5, 0, 99.1, 38.1, 2, 7)
layout("A4 8 étiquettes 105 x 74", "Lorvane", "A4", "", 0, 0.5, 0, 0, 105, 74, 2, 4)
layout("A4 8 étiquettes 99,1 x 67,7", "Quintane", "A4", "", 4.65, 13.1, 2.5, 0, 99.1, 67.7, 2, 4)
layout("A4 2 étiquettes 199,6 x 143,5", "Vellora", "A4", "", 5.2, 5, 0, 0, 199.6, 143.5, 1, 2)
layout("A4 1 étiquette 199,6 x 289,1", "Vellora", "A4", "", 5.2, 3.95, 0, 0, 199.6, 289.1, 1, 1)

# Address labels, US Letter
layout("Letter 80 étiquettes 1,75 x 0,5 in", "Quintane", "Letter", "", 0.3 * INCH, 0.5 * INCH, 0.3 * INCH, 0, 1.75 * INCH, 0.5 * INCH, 4, 20)
layout("Letter 30 étiquettes 2,625 x 1 in", "Lorvane", "Letter", "", 0.1875 * INCH, 0.5 * INCH, 0.125 * INCH, 0, 2.625 * INCH, 1 * INCH, 3, 10)
layout("Letter 20 étiquettes 4 x 1 in", "Quintane", "Letter", "", 0.15625 * INCH, 0.5 * INCH, 0.1875 * INCH, 0, 4 * INCH, 1 * INCH, 2, 10)
layout("Letter 14 étiquettes 4 x 1,33 in", "Lorvane", "Letter", "", 0.15625 * INCH, 0.8333 * INCH, 0.1875 * INCH, 0, 4 * INCH, 1.3333 * INCH, 2, 7)
layout("Letter 10 étiquettes 4 x 2 in", "Quintane", "Letter", "", 0.15625 * INCH, 0.5 * INCH, 0.1875 * INCH, 0, 4 * INCH, 2 * INCH, 2, 5)
layout("Letter 6 étiquettes 4 x 3,33 in", "Lorvane", "Letter", "", 0.15625 * INCH, 0.5 * INCH, 0.1875 * INCH, 0, 4 * INCH, 3.3333 * INCH, 2, 3)
layout("Letter 2 étiquettes 8,5 x 5,5 in", "Quintane", "Letter", "", 0, 0, 0, 0, 8.5 * INCH, 5.5 * INCH, 1, 2)

# CD and DVD cases
layout("A4 2 jaquettes arrière CD 151 x 118", "Lorvane", "A4", "Jaquette", centred(A4W, 151, 1, 0), 20, 0, 20, 151, 118, 1, 2)
layout("Letter 2 jaquettes arrière CD 151 x 118", "Quintane", "Letter", "Jaquette", centred(LW, 151, 1, 0), 14.2, 0, 15, 151, 118, 1, 2)
layout("A4 livret CD 240 x 120", "Lorvane", "A4", "Livret", centred(A4H, 240, 1, 0), centred(A4W, 120, 1, 0), 0, 0, 240, 120, 1, 1, recto_verso=1, orientation=1)
layout("Letter livret CD 240 x 120", "Quintane", "Letter", "Livret", centred(LH, 240, 1, 0), centred(LW, 120, 1, 0), 0, 0, 240, 120, 1, 1, recto_verso=1, orientation=1)
layout("A4 2 feuillets CD à retours 150 x 120", "Vellora", "A4", "Feuillet", centred(A4W, 150, 1, 0), 20, 0, 17, 150, 120, 1, 2)
layout("A4 jaquette DVD 273 x 183", "Lorvane", "A4", "JaquetteDVD", centred(A4H, 273, 1, 0), centred(A4W, 183, 1, 0), 0, 0, 273, 183, 1, 1, orientation=1)
layout("A4 jaquette DVD fine 267 x 183", "Vellora", "A4", "JaquetteDVD", centred(A4H, 267, 1, 0), centred(A4W, 183, 1, 0), 0, 0, 267, 183, 1, 1, orientation=1)
layout("Letter jaquette DVD 273 x 183", "Quintane", "Letter", "JaquetteDVD", centred(LH, 273, 1, 0), centred(LW, 183, 1, 0), 0, 0, 273, 183, 1, 1, orientation=1)
layout("A4 pochette CD à rabats 190 x 266", "Lorvane", "A4", "PochetteCD", centred(A4W, 190, 1, 0), centred(A4H, 266, 1, 0), 0, 0, 190, 266, 1, 1)

# Fabric transfer sheets (printed mirrored)
layout("A4 transfert textile", "Lorvane", "A4", "", 5, 5, 0, 0, 200, 287, 1, 1)
layout("A4 transfert textile 2 motifs 200 x 140", "Lorvane", "A4", "", 5, 5, 0, 7, 200, 140, 1, 2)
layout("Letter transfert textile", "Quintane", "Letter", "", 0.25 * INCH, 0.25 * INCH, 0, 0, 8 * INCH, 10.5 * INCH, 1, 1)


def real(v):
    """A real as the program writes it: at most four decimals, comma separator."""
    n = round(v * 10000)
    neg = n < 0
    n = abs(n)
    s = str(n // 10000)
    frac = n % 10000
    if frac:
        s += "," + ("%04d" % frac).rstrip("0")
    return ("-" if neg else "") + s


def papers_lines():
    out = ["papier;nom;large;haut;soft"]
    for p, nom, w, h in PAPERS:
        out.append(";".join([p, nom, real(w), real(h), ""]))
    return out


GAB_COLUMNS = ["nom", "marque", "papier", "gabarit", "soft", "x0", "y0", "interx", "intery", "large", "haut",
               "nbrex", "nbrey", "rectoverso", "orientation"]


def layouts_lines():
    out = [";".join(GAB_COLUMNS)]
    names = set()
    for g in LAYOUTS:
        assert g["nom"].lower() not in names, g["nom"]
        names.add(g["nom"].lower())
        row = []
        for c in GAB_COLUMNS:
            v = g.get(c, "")
            if c in ("x0", "y0", "interx", "intery", "large", "haut"):
                v = real(v)
            row.append(str(v))
        out.append(";".join(row))
    return out
