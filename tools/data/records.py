"""Address-book fields, sample records, card formats and supports."""

# page, kind, tag, French label, English label, width %, extra (French, English)
FIELDS = [
    (0, "TComboBox", "<Civilité>", "Civilité", "Title", 50, ("Madame|Mademoiselle|Monsieur", "Mrs|Miss|Mr")),
    (0, "TEdit", "<Nom>", "Nom", "Surname", 100, ("", "")),
    (0, "TEdit", "<Prénom>", "Prénom", "First name", 100, ("", "")),
    (0, "TMemo", "<Adresse>", "Adresse", "Address", 100, ("200", "200")),
    (0, "TEdit", "<Code>", "Code postal", "Postcode", 40, ("", "")),
    (0, "TEdit", "<Ville>", "Ville", "Town", 100, ("", "")),
    (0, "TEdit", "<Pays>", "Pays", "Country", 100, ("", "")),
    (0, "TEdit", "<Tél>", "Téléphone", "Phone", 60, ("", "")),
    (0, "TEdit", "<Portable>", "Portable", "Mobile", 60, ("", "")),
    (0, "TEdit", "<Fax>", "Fax", "Fax", 60, ("", "")),
    (0, "TEdit", "<Email>", "E-mail", "E-mail", 100, ("", "")),
    (0, "TEdit", "<Web>", "Site web", "Website", 100, ("", "")),
    (1, "TEdit", "<Société>", "Société", "Company", 100, ("", "")),
    (1, "TEdit", "<Fonction>", "Fonction", "Job title", 100, ("", "")),
    (1, "TMemo", "<AdressePRO>", "Adresse", "Address", 100, ("200", "200")),
    (1, "TEdit", "<CodePRO>", "Code postal", "Postcode", 40, ("", "")),
    (1, "TEdit", "<VillePRO>", "Ville", "Town", 100, ("", "")),
    (1, "TEdit", "<PaysPRO>", "Pays", "Country", 100, ("", "")),
    (1, "TEdit", "<TélPRO>", "Téléphone", "Phone", 60, ("", "")),
    (1, "TEdit", "<PortablePRO>", "Portable", "Mobile", 60, ("", "")),
    (1, "TEdit", "<FaxPRO>", "Fax", "Fax", 60, ("", "")),
    (1, "TEdit", "<EmailPRO>", "E-mail", "E-mail", 100, ("", "")),
    (1, "TEdit", "<WebPRO>", "Site web", "Website", 100, ("", "")),
]


def fields_lines(language):
    i = language - 1
    out = [("Page;Contrôle;Champ;Libellé;Largeur %;Hauteur % ou liste",
            "Page;Control;Field;Label;Width %;Height % or list")[i]]
    for page, kind, tag, fr, en, width, extra in FIELDS:
        out.append("%d;%s;%s;%s;%d;%s" % (page, kind, tag, (fr, en)[i], width, extra[i]))
    return out


SAMPLE_CARDS = {
    1: [("Civilité", "Madame"), ("Nom", "Martin"), ("Prénom", "Claire"),
        ("Adresse", "12 rue des Tilleuls|Bâtiment B"), ("Code", "69003"), ("Ville", "Lyon"), ("Pays", "France"),
        ("Tél", "04 00 00 12 34"), ("Portable", "06 00 00 56 78"), ("Email", "claire.martin@example.com"),
        ("Web", "www.example.com"), ("Société", "Atelier Martin"), ("Fonction", "Graphiste"),
        ("AdressePRO", "4 place du Marché"), ("CodePRO", "69002"), ("VillePRO", "Lyon"), ("PaysPRO", "France"),
        ("TélPRO", "04 00 00 98 76"), ("EmailPRO", "contact@example.com"), ("WebPRO", "www.example.com")],
    2: [("Civilité", "Mrs"), ("Nom", "Carter"), ("Prénom", "Emily"),
        ("Adresse", "27 Willow Lane|Flat 3"), ("Code", "OX1 2AB"), ("Ville", "Oxford"), ("Pays", "United Kingdom"),
        ("Tél", "01865 000123"), ("Portable", "07700 900123"), ("Email", "emily.carter@example.com"),
        ("Web", "www.example.com"), ("Société", "Carter Design Studio"), ("Fonction", "Graphic designer"),
        ("AdressePRO", "5 Market Square"), ("CodePRO", "OX1 3CD"), ("VillePRO", "Oxford"), ("PaysPRO", "United Kingdom"),
        ("TélPRO", "01865 000456"), ("EmailPRO", "hello@example.com"), ("WebPRO", "www.example.com")],
}


def cards_lines(language):
    return ["[1]"] + ["%s=%s" % kv for kv in SAMPLE_CARDS[language]] + [""]


SAMPLE_ALBUMS = {
    1: ("Les Voyageurs du Soir", "Lumières de la ville", "2021", "Chanson",
        ["Le quai des brumes légères", "Rue des Saules", "Minuit à la gare", "Carnet de route", "Les néons bleus",
         "Valse pour un réverbère", "Tramway 7", "Dernière séance", "Sous la pluie d'été", "Le matin revient"]),
    2: ("The Evening Travellers", "City Lights", "2021", "Folk",
        ["Harbour Mist", "Willow Street", "Midnight at the Station", "Road Journal", "Blue Neon",
         "Waltz for a Streetlamp", "Tram Number 7", "Last Show", "Summer Rain", "Morning Comes Again"]),
}


def album_lines(language):
    artist, album, year, genre, tracks = SAMPLE_ALBUMS[language]
    return ["[0]", "cdArtiste=" + artist, "cdAlbum=" + album, "cdAnnée=" + year, "cdGenre=" + genre,
            "cdTitres=" + "".join(t + "|" for t in tracks), ""]


MAILINGS = {
    1: ["Voici ma carte", "Bonjour <Prénom>,", "", "Voici ci-joint ma nouvelle carte.",
        "J'espère qu'elle te plaira !", "", "A bientôt"],
    2: ["Here is my card", "Hello <Prénom>,", "", "Please find my new card attached.",
        "I hope you like it!", "", "Speak soon"],
}

# Card formats of the dimension wizard: name, width, height (mm), installation filter.
FORMATS = [
    ("Carte de visite 85 x 55", 85, 55),
    ("Carte de visite 85 x 54 (format carte bancaire)", 85.6, 53.98),
    ("Carte de visite US 3,5 x 2 in", 88.9, 50.8),
    ("Carte de visite 90 x 50", 90, 50),
    ("Carte de visite 91 x 55", 91, 55),
    ("Carte de visite verticale 55 x 85", 55, 85),
    ("Carte postale A6 148 x 105", 148, 105),
    ("Carte postale 15 x 10 cm", 150, 100),
    ("Carte postale US 6 x 4 in", 152.4, 101.6),
    ("Carte A5 210 x 148", 210, 148),
    ("Carte DL 210 x 99", 210, 99),
    ("Carte carrée 120 x 120", 120, 120),
    ("Carte carrée 150 x 150", 150, 150),
    ("Invitation 5 x 7 in", 127, 177.8),
    ("Marque-page 50 x 150", 50, 150),
    ("Etiquette cadeau 50 x 80", 50, 80),
    ("Badge 86 x 54", 86, 54),
    ("Carte de table 100 x 70", 100, 70),
    ("Menu tiers A4 99 x 210", 99, 210),
    ("Etiquette de bouteille 90 x 120", 90, 120),
]


def formats_lines(real):
    out = ["nom;large;haut;soft"]
    for name, w, h in FORMATS:
        # Each format has a ready-made page named after it.
        assert not set(name) & set('/\\:*?"<>|'), "a format name must be a file name: " + name
        out.append("%s;%s;%s;" % (name, real(w), real(h)))
    return out


# Supports: picture file under the supports folder, size of the object in mm, description.
SUPPORTS = [
    ("tshirt_DV.emf", 520, 720, "T-shirt adulte, devant"),
    ("tshirt_DR.emf", 520, 720, "T-shirt adulte, dos"),
    ("tshirt_MG.emf", 210, 190, "T-shirt adulte, manche gauche"),
    ("tshirt_MD.emf", 210, 190, "T-shirt adulte, manche droite"),
    ("tshirtenfant_DV.emf", 400, 520, "T-shirt enfant, devant"),
    ("tshirtenfant_DR.emf", 400, 520, "T-shirt enfant, dos"),
    ("sweat_DV.emf", 600, 700, "Sweat-shirt, devant"),
    ("sweat_DR.emf", 600, 700, "Sweat-shirt, dos"),
    ("casquette_DV.emf", 200, 120, "Casquette, devant"),
    ("casquette_AD.emf", 180, 110, "Casquette, côté droit"),
    ("casquette_AG.emf", 180, 110, "Casquette, côté gauche"),
    ("sac_DV.emf", 380, 420, "Sac en toile, devant"),
    ("tablier_DV.emf", 600, 850, "Tablier, devant"),
    ("coussin_DV.emf", 400, 400, "Housse de coussin, devant"),
    ("tapis_souris_DV.emf", 230, 190, "Tapis de souris"),
]


def supports_lines(real):
    # Columns 4 and 5: the picture's size in pixels at 96 dpi, whose ratio the maintenance grid
    # compares with the millimetres. The description stays in the drawing's own document.
    out = ["support;mmlarge;mmhaut;pxlarge;pxhaut"]
    for name, w, h, desc in SUPPORTS:
        out.append("%s;%s;%s;%d;%d" % (name, real(w), real(h), round(w * 96 / 25.4), round(h * 96 / 25.4)))
    return out


# Album sizes of the album dialog, width x height in mm.
ALBUM_SIZES = ["305x305", "610x305", "610x203", "457x305", "406x203", "305x203", "406x152", "297x210", "210x210"]
