#!/usr/bin/env python3
"""Writes the installation settings, the language file and the tables of the
default installation tree (data/). Run from anywhere:

    python3 tools/data/make_data.py

Every file is Windows-1252 text with CR LF line ends, as the program reads them.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import language  # noqa: E402
import papers  # noqa: E402
import records  # noqa: E402
import saints  # noqa: E402
import texts  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", "..", "data"))
DATA = os.path.join(ROOT, "donnees")

# The installation settings, in groups. Every feature the default installation
# can carry is on; the keys left empty name services it has no address for.
SETTINGS = [
    ("Identity", [
        ("nom", "Lorvane"), ("societe", "Lorvane"), ("code", "donnees"), ("web", "https://lorvane.invalid/"),
        ("skin", "Classique"), ("skin_panel", "panel_droite.bmp"),
    ]),
    ("Language and units", [
        ("Langue", "1"), ("DebugTrad", "0"), ("DecimalSeparator", ","), ("u2m", "1"), ("UnitName", "mm"),
    ]),
    ("Catalogue", [
        ("ApercuLarge", "160"), ("ApercuHaut", "160"),
        ("path_formes", "Formes"), ("path_masques", "Masques"),
        ("path_modele_start", "\\Cartes de visite"), ("path_modele_categorie", "Cartes de visite"),
        ("TreeCategorie", "0"), ("TreeFullExpand", "1"),
        ("panel_variantes", "1"), ("variantes_formats", "1"), ("panel_gabarit", "1"), ("panel_album", "1"),
        ("nouveau_large", "210"), ("nouveau_haut", "297"),
        ("BrowseImagePath", "\\Fonds\\Pastels"), ("ChoixTextesPath", "\\Anniversaire\\Enfant"),
    ]),
    ("Editor", [
        ("panel_masque", "1"), ("panel_position", "1"), ("panel_face_invisible", "0"),
        ("ModeEditon", "1"), ("ChangeOrdreBouton", "0"), ("LutinetMan", "1"), ("fonte_autorise", "0"),
        ("mode_forme", "1"), ("mode_fond", "1"), ("mode_etiquette", "1"), ("mode_perforatrice", "1"),
        ("mode_tampon", "1"), ("mode_ruban", "1"), ("mode_cadre", "1"), ("mode_cal", "1"),
        ("mode_codebarre", "1"), ("mode_arbo", "1"), ("mode_ligne", "1"), ("mode_repere", "1"),
        ("path_forme", "Formes\\"), ("path_fonds", "Fonds\\"), ("path_mesfonds", "Mes fonds\\"),
        ("path_etiquettes", "Etiquettes\\"), ("path_mesetiquettes", "Mes etiquettes\\"),
        ("path_rubans", "Rubans\\"), ("path_bordures", "Bordures\\"),
        # The shape panel takes each group kind's folder under the data folder; the frame drawings live
        # among the pictures, where a frame resolves its drawing by name.
        ("path_cadre", "Images\\Cadres\\"),
        ("path_perforatrice", "Perforatrices\\"), ("path_tampon", "Tampons\\"),
        ("perforatrice_modele_defaut", "perforatrice_rond.emf"), ("tampon_modele_defaut", "tampon_etoile.emf"),
        ("cadre_modele_defaut", "cadre_simple.emf"),
        ("perforatrice_taille_mini", "5"), ("perforatrice_taille_maxi", "40"),
        ("tampon_taille_mini", "10"), ("tampon_taille_maxi", "80"),
        ("rect_dim_min", "2"),
        ("action_basetextes", "1"), ("action_creerfond", "1"), ("action_creeretiquette", "1"),
        ("action_bordure", "1"), ("action_cd2", "1"), ("action_tag", "1"), ("action_filter", "1"),
        ("action_recadrer", "1"), ("action_saveimage", "1"), ("colorpapier", "1"),
    ]),
    ("Wizards", [
        ("wizard_dvd", "1"), ("wizard_support", "1"), ("wizard_dimension", "1"), ("wizard_scrap", "1"),
        ("wizard_modele", "1"), ("wizard_album", "1"), ("wizard_etiquette", "1"), ("wizard_fond", "1"),
        ("wizard_inserttextes", "1"),
        ("path_support_start", "\\Textile"), ("AssistantDimensionFormatIndex", "0"),
        ("AlbumCD", "1"),
        # Every theme of the text library is offered; an edition narrows them with "|"-separated words.
        ("txt_inclu", ""), ("txt_exclu", ""),
    ]),
    ("Printing", [
        ("print_calibre", "1"), ("print_calibre_confirme", "1"), ("print_noechec", "1"), ("print_mirroir", "0"),
        ("PrintGabarits_start", "A4 page entière"), ("PrintMarques_start", "Standard"),
    ]),
    ("Usage counters", [("Stats", "1")]),
    # No partner paper catalogue, photo service, upload server, online picture store or help documents
    # ship with the default installation: their switches stay off and their addresses empty.
    ("Online services and help", [
        ("Quillory", "0"), ("Pixmania", "0"), ("EnvoiInternet", "0"), ("pixmania_url", ""), ("internet_image", "0"),
        ("aide_pdf", ""), ("aide_video", ""), ("aide_glossaire", ""), ("aide_demo", ""),
    ]),
]


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        for line in lines:
            f.write(line + "\n")


def settings_lines():
    out = ["[lorvane]"]
    for group, keys in SETTINGS:
        out.append("; " + group)
        for k, v in keys:
            out.append("%s=%s" % (k, v))
    return out


def main():
    write(os.path.join(ROOT, "lorvane.ini"), settings_lines())
    write(os.path.join(ROOT, "lorvane.tra"), language.lines())
    write(os.path.join(DATA, "papiers_dim.csv"), papers.papers_lines())
    write(os.path.join(DATA, "papiers_gab.csv"), papers.layouts_lines())
    write(os.path.join(DATA, "formats.csv"), records.formats_lines(papers.real))
    write(os.path.join(DATA, "Supports.csv"), records.supports_lines(papers.real))
    write(os.path.join(DATA, "SaintsCalendrier.csv"), saints.lines())
    write(os.path.join(DATA, "assistant_album.csv"), records.ALBUM_SIZES)
    for n in (1, 2):
        write(os.path.join(DATA, "fiches_champs_%d.def" % n), records.fields_lines(n))
        write(os.path.join(DATA, "fiches_%d.def" % n), records.cards_lines(n))
        write(os.path.join(DATA, "textes_%d.def" % n), texts.lines(n))
        write(os.path.join(DATA, "albumcd_%d.def" % n), records.album_lines(n))
        write(os.path.join(DATA, "mailing_%d.def" % n), records.MAILINGS[n])


if __name__ == "__main__":
    main()
