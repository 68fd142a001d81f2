"""Texts of the language file: language 1 French, language 2 English.

Each entry is (key, French, English). Keys are message numbers or names; the
two characters backslash and n stand for a line break. A text never holds ";".
"""

# Folder names (10, 11, 13, 14) and the new-document name (301) become file
# names, so they avoid the characters that file systems refuse.
MESSAGES = [
    # Folders of the user's data
    (10, "Mes documents", "My documents"),
    (11, "Mes images", "My pictures"),
    (13, "Variantes de modèles", "Template variants"),
    (14, "Images des assistants", "Wizard pictures"),
    # Main window
    (101, "Recto", "Front"),
    (102, "Verso", "Back"),
    (103, "Voulez-vous vraiment supprimer le modèle \"%s\" ?", "Do you really want to delete the template \"%s\"?"),
    (107, "Le fichier d'aide \"%s\" est introuvable.", "The help file \"%s\" cannot be found."),
    (108, "Voulez-vous vraiment quitter %s ?", "Do you really want to quit %s?"),
    (111, "Extérieur", "Outside"),
    (112, "Intérieur", "Inside"),
    # Saving and closing documents
    (301, "Nouveau document", "New document"),
    (302, "Enregistrer le document", "Save the document"),
    (303, "Nom du document :", "Document name:"),
    (304, "Le fichier \"%s\" existe déjà. Voulez-vous le remplacer ?", "The file \"%s\" already exists. Do you want to replace it?"),
    (305, "Le document \"%s\" a été modifié. Voulez-vous l'enregistrer avant de le fermer ?",
     "The document \"%s\" has changed. Do you want to save it before closing?"),
    (306, "Annuler", "Cancel"),
    (307, "Ce document a été modifié. Voulez-vous l'enregistrer avant de le fermer ?",
     "This document has changed. Do you want to save it before closing?"),
    # Editor: status bar hints, commands and field menus
    (401, "Cliquez pour sélectionner l'objet, faites-le glisser pour le déplacer.", "Click to select the object, drag it to move it."),
    (402, "Faites glisser cette poignée pour faire tourner l'objet.", "Drag this handle to rotate the object."),
    (403, "Faites glisser cette poignée pour agrandir ou réduire l'objet autour de son centre.",
     "Drag this handle to enlarge or shrink the object around its centre."),
    (404, "Cliquez pour sélectionner l'image, faites-la glisser pour la déplacer.", "Click to select the picture, drag it to move it."),
    (405, "Faites glisser cette poignée pour faire tourner l'image.", "Drag this handle to rotate the picture."),
    (406, "Faites glisser cette poignée pour agrandir ou réduire l'image autour de son centre.",
     "Drag this handle to enlarge or shrink the picture around its centre."),
    (407, "Faites glisser ce point pour déplacer ce sommet de la ligne. Ctrl : points de courbure.",
     "Drag this point to move this corner of the line. Ctrl: curve points."),
    (408, "Faites glisser ce point de courbure pour arrondir le segment.", "Drag this curve point to bend the segment."),
    (409, "Clic droit : ajouter un segment. Clic gauche : terminer la ligne. Maj : sans alignement automatique.",
     "Right click: add a segment. Left click: finish the line. Shift: no automatic alignment."),
    (410, "Voulez-vous vraiment supprimer l'objet sélectionné ?", "Do you really want to delete the selected object?"),
    (411, "Voulez-vous vraiment effacer tous les objets de cette face ?", "Do you really want to erase every object on this side?"),
    (412, "Voulez-vous copier tous les objets de cette face sur l'autre face ?", "Do you want to copy every object on this side to the other side?"),
    (413, "Voulez-vous retirer cette image de vos images ?", "Do you want to remove this picture from your pictures?"),
    (414, "Insérez le disque des images dans l'un de ces lecteurs puis cliquez sur OK :",
     "Insert the picture disc into one of these drives, then click OK:"),
    (420, "Date et heure", "Date and time"),
    (421, "Textes semblables", "Similar texts"),
    # Address cards
    (501, "NOM", "SURNAME"),
    (502, "Prénom", "First name"),
    (503, "NOM Prénom", "SURNAME First name"),
    (580, "Une fiche vierge existe déjà : complétez-la avant d'en ajouter une autre.",
     "A blank card already exists: fill it in before adding another one."),
    (581, "Cette fiche a été modifiée. Voulez-vous enregistrer les modifications ?", "This card has changed. Do you want to save the changes?"),
    (582, "Voulez-vous vraiment supprimer cette fiche ?", "Do you really want to delete this card?"),
    (583, "Le répertoire doit garder au moins une fiche.", "The address book must keep at least one card."),
    # Printing, calibration and sheet layouts
    (600, "Suivant >>", "Next >>"),
    (603, "Imprimer", "Print"),
    (610, "Imprimante et papier", "Printer and paper"),
    (611, "Choisissez l'imprimante et le papier sur lequel vous allez imprimer.", "Choose the printer and the paper you are going to print on."),
    (614, "Format et options", "Layout and options"),
    (615, "Choisissez le format de la feuille, cliquez sur les cases à ne pas imprimer puis lancez l'impression.",
     "Choose the sheet layout, click the cells you want to leave blank, then print."),
    (626, "Terminer", "Finish"),
    (630, "Indiquez comment le papier entre dans votre imprimante.", "Tell how the paper goes into your printer."),
    (631, "Une feuille de réglage vient d'être imprimée en portrait. Mesurez-la et reportez les deux distances.",
     "A test sheet has just been printed in portrait. Measure it and type in the two distances."),
    (632, "Une feuille de réglage vient d'être imprimée en paysage. Mesurez-la et reportez les deux distances.",
     "A test sheet has just been printed in landscape. Measure it and type in the two distances."),
    (640, "Feuille de réglage de l'imprimante", "Printer adjustment sheet"),
    (641, "Mesurez la distance entre le bord de la feuille et chacun des deux traits de repère.",
     "Measure the distance from the edge of the sheet to each of the two reference lines."),
    (650, "Résolution horizontale : %d points par pouce", "Horizontal resolution: %d dots per inch"),
    (651, "Résolution verticale : %d points par pouce", "Vertical resolution: %d dots per inch"),
    (652, "Une erreur est survenue pendant l'impression. Vérifiez l'imprimante et recommencez.",
     "An error occurred while printing. Check the printer and try again."),
    (653, "Choisissez d'abord un format dans la liste.", "First choose a layout from the list."),
    (654, "Cette imprimante n'est pas encore réglée pour ce papier et l'impression risque d'être décalée. Voulez-vous continuer quand même ?",
     "This printer has not been adjusted for this paper yet, so the print may be off position. Do you want to go on anyway?"),
    # Wizard pictures
    (701, "Voulez-vous vraiment effacer toutes les images ?", "Do you really want to erase all the pictures?"),
    (702, "Voulez-vous vraiment effacer cette image ?", "Do you really want to erase this picture?"),
    # Dimension wizard
    (750, "%s (%f mm x %f mm)", "%s (%f mm x %f mm)"),
    (751, "Mon format", "My format"),
    (752, "Voulez-vous vraiment supprimer ce format de la liste ?", "Do you really want to remove this format from the list?"),
    # Image effects
    (801, "Effets", "Effects"),
    (802, "Effets appliqués", "Applied effects"),
    (803, "Réglages", "Settings"),
    (804, "Nouvel effet", "New effect"),
    (805, "Intensité :", "Strength:"),
    (806, "Minimum :", "Minimum:"),
    (807, "Maximum :", "Maximum:"),
    # Mailing
    (901, "pas d'adresse e-mail", "no e-mail address"),
    (902, "Carte face %s.jpg", "Card side %s.jpg"),
    # Start-up, wizards, editor
    (1000, "Aucune imprimante n'est installée. Installez une imprimante puis relancez le programme.",
     "No printer is installed. Install a printer, then start the program again."),
    (1002, "Choisissez le dossier à dessiner", "Choose the folder to draw"),
    (1003, "L'étiquette a été ajoutée à vos étiquettes.", "The label has been added to your labels."),
    (1004, "Le papier a été ajouté à vos fonds.", "The paper has been added to your backgrounds."),
]

# Tags shared by every language: templates carry them, so they are not translated.
FIELD_TAGS = [
    ("ChampDef1", "<Date>"),
    ("ChampDef2", "<Année>"),
    ("ChampDef3", "<Heure>"),
    ("fmFiche.e101.Hint", "<Nom>"),
    ("fmFiche.e102.Hint", "<Prénom>"),
    ("cdArtiste", "<cdArtiste>"),
    ("cdAlbum", "<cdAlbum>"),
    ("cdAnnée", "<cdAnnée>"),
    ("cdGenre", "<cdGenre>"),
    ("cdTitres", "<cdTitres>"),
]

KEYS = [
    # Button bars
    ("btn_nouveau", "Nouveau", "New"),
    ("btn_fiche", "Répertoire", "Addresses"),
    ("btn_infos", "A propos", "About"),
    ("btn_web", "Site web", "Website"),
    ("btn_aide", "Aide", "Help"),
    ("btn_quitter", "Quitter", "Quit"),
    ("btn_edit", "Mode", "Mode"),
    ("btn_enregistrer", "Enregistrer", "Save"),
    ("btn_annuler", "Annuler", "Undo"),
    ("btn_imprimer", "Imprimer", "Print"),
    ("btn_retour", "Retour", "Back"),
    # Folding side panels
    ("panel_modele", "Modèles", "Templates"),
    ("panel_action", "Actions", "Actions"),
    ("panel_variante", "Variantes", "Variants"),
    ("panel_album", "Album", "Album"),
    ("panel_gabarit", "Formats de feuille", "Sheet layouts"),
    ("panel_texte", "Texte", "Text"),
    ("panel_image", "Image", "Picture"),
    ("panel_couleur", "Couleurs", "Colours"),
    ("panel_format", "Format de la page", "Page format"),
    ("panel_groupe", "Formes", "Shapes"),
    ("panel_calque", "Calques", "Layers"),
    ("panel_position", "Position", "Position"),
    ("panel_support", "Support", "Support"),
    ("panel_mirroir", "Miroir", "Mirror"),
    ("panel_boutons", "Outils", "Tools"),
    ("panel_carte", "Faces", "Sides"),
    ("panel_masque", "Masques", "Masks"),
    # Drawing objects
    ("CAD_TXT_DEFAUT", "Texte", "Text"),
    ("CAD_TXT_IMG1", "Pas d'image", "No picture"),
    ("CAD_TXT_IMG2", "\"%s\" introuvable", "\"%s\" not found"),
    ("CAD_TXT_IMG3", "\"%s\" illisible", "\"%s\" cannot be read"),
    ("CAD_TXT_PASMDL", "Pas de modèle", "No template"),
    ("CAD_TXT_SUPP", "Voulez-vous vraiment supprimer cet objet ?", "Do you really want to delete this object?"),
    # Wizards
    ("AssistantDVD1", "Il n'y a pas de disque dans ce lecteur. Insérez le CD audio puis recommencez.",
     "There is no disc in this drive. Insert the audio CD and try again."),
    ("AssistantDVD2", "Album vide", "Empty album"),
    ("AssistantDVD3", "Nouvel artiste", "New artist"),
    ("AssistantDVD4", "Nouvel album", "New album"),
    ("AssistantFondTitre", "Créer un papier", "Create a paper"),
    ("AssistantFondSousTitre", "Choisissez le papier à personnaliser.", "Choose the paper you want to personalise."),
    ("AssistantEtiquetteTitre", "Créer une étiquette", "Create a label"),
    ("AssistantEtiquetteSousTitre", "Choisissez l'étiquette à personnaliser.", "Choose the label you want to personalise."),
    ("bOK", "&OK", "&OK"),
    ("bSuivant", "Suivant >>", "Next >>"),
    ("bTermine", "Terminer", "Finish"),
    ("fmAssistantScrap.Etape1.Titre1", "Choisissez vos fonds", "Choose your backgrounds"),
    ("fmAssistantScrap.Etape1.Titre2", "Ajoutez les images qui serviront de fond à vos pages.", "Add the pictures that will be the background of your pages."),
    ("fmAssistantScrap.Etape2.Titre1", "Choisissez vos photos", "Choose your photos"),
    ("fmAssistantScrap.Etape2.Titre2", "Ajoutez les photos à mettre en valeur sur vos pages.", "Add the photos to show off on your pages."),
    ("fmAssistantScrap.Etape3.Titre1", "Choisissez vos décorations", "Choose your decorations"),
    ("fmAssistantScrap.Etape3.Titre2", "Ajoutez les petits motifs qui décoreront vos pages.", "Add the small motifs that will decorate your pages."),
    # Wizard chooser and help chooser buttons
    ("wizard_dimension", "Carte vierge", "Blank card"),
    ("wizard_modele", "Carte avec assistant", "Card with a wizard"),
    ("wizard_dvd", "CD et DVD", "CD and DVD"),
    ("wizard_support", "Transfert textile", "Fabric transfer"),
    ("wizard_scrap", "Scrapbooking", "Scrapbooking"),
    ("wizard_etiquette", "Etiquette", "Label"),
    ("wizard_fond", "Papier décoré", "Decorated paper"),
    ("aide_pdf", "Manuel", "Manual"),
    ("aide_video", "Vidéo", "Video"),
    ("aide_glossaire", "Glossaire", "Glossary"),
    ("aide_demo", "Démonstration", "Demonstration"),
    # Print format, photo export
    ("ImprimerFormat1", "Diamètre du disque :", "Disc diameter:"),
    ("ImprimerFormat2", "Diamètre du trou :", "Hole diameter:"),
    ("PixmaniaFolder", "Photos à imprimer en ligne", "Photos to print online"),
]

# Labels of the three page-format spins for each template kind (1 to 6).
FORMAT_SPINS = {
    1: (("Diamètre du disque", "Disc diameter"), ("Diamètre du trou", "Hole diameter"), ("Inutilisé", "Unused")),
    2: (("Largeur", "Width"), ("Hauteur", "Height"), ("Inutilisé", "Unused")),
    3: (("Largeur d'une page", "Width of one page"), ("Hauteur", "Height"), ("Inutilisé", "Unused")),
    4: (("Largeur sans les retours", "Width without the returns"), ("Hauteur", "Height"), ("Largeur d'un retour", "Width of one return")),
    5: (("Largeur d'une face", "Width of one cover"), ("Hauteur", "Height"), ("Largeur du dos", "Spine width")),
    6: (("Largeur", "Width"), ("Hauteur", "Height"), ("Largeur des rabats", "Flap width")),
}

# Layer names of the drawing objects, by type name.
LAYERS = [
    ("rect", "Cadre", "Box"),
    ("rectangle", "Rectangle", "Rectangle"),
    ("texte", "Texte", "Text"),
    ("image", "Image", "Picture"),
    ("groupe", "Forme", "Shape"),
    ("perforatrice", "Perforatrice", "Hole punch"),
    ("tampon", "Tampon", "Stamp"),
    ("cadre", "Encadrement", "Frame"),
    ("cal", "Calendrier", "Calendar"),
    ("forme", "Dessin", "Drawing"),
    ("codebarre", "Code-barre", "Barcode"),
    ("arbo", "Arborescence", "Folder tree"),
    ("ligne", "Ligne", "Line"),
    ("repere", "Repère", "Guide mark"),
]

# The effect tree in tree order: top-level effects, then each category
# followed by its effects. FX + index captions each node.
EFFECT_TREE = [
    ("Contraste", "Contrast"), ("Luminosité", "Brightness"), ("Lissage / Adoucissement", "Smooth / Soften"),
    ("Mosaïque", "Mosaic"), ("Spirale", "Spiral"), ("Rotation", "Rotation"), ("Mise en relief", "Emboss"),
    ("Flou", "Blur"), ("Flou gaussien", "Gaussian blur"), ("Flou par coupes", "Split blur"),
    ("Particules", "Particles"), ("Dissolution", "Dissolve"), ("Particules 1", "Particles 1"), ("Particules 2", "Particles 2"),
    ("Vagues", "Waves"), ("Léger", "Light"), ("Normal", "Normal"), ("Extra", "Extra"),
    ("Miroirs", "Mirrors"), ("Gauche/Droite", "Left/Right"), ("Haut/Bas", "Top/Bottom"), ("Droite/Gauche", "Right/Left"),
    ("Bas/Haut", "Bottom/Top"),
    ("Déformations", "Distortions"), ("Formes 1", "Shapes 1"), ("Formes 2", "Shapes 2"), ("Etirement local", "Local stretch"),
    ("Empreintes D", "Prints R"), ("Empreintes G", "Prints L"), ("Striage vertical", "Vertical stripes"),
    ("Striage horizontal", "Horizontal stripes"), ("Striage bis", "Stripes bis"), ("Vitesse", "Speed"),
    ("Craquelures", "Cracks"), ("Etaler", "Smear"),
    ("Colorimétrie", "Colours"), ("Conserver Rouge", "Keep red"), ("Conserver Vert", "Keep green"),
    ("Conserver Bleu", "Keep blue"), ("Absorber Rouge", "Absorb red"), ("Absorber Vert", "Absorb green"),
    ("Absorber Bleu", "Absorb blue"), ("Absorber Blanc", "Absorb white"), ("Négatif", "Negative"),
    ("Diminuer couleurs", "Fewer colours"), ("Surexposition", "Overexposure"),
    ("Pliages", "Folds"), ("Horizontal", "Horizontal"), ("Sommet", "Top"), ("Base", "Bottom"), ("Diamant", "Diamond"),
    ("Diamant inversé", "Reversed diamond"), ("Sablier", "Hourglass"), ("Sablier inversé", "Reversed hourglass"),
    ("Toupie", "Spinning top"), ("Double Toupie", "Double spinning top"),
    ("Découpages", "Cut-outs"), ("Dents de scie", "Saw teeth"), ("Triangles", "Triangles"),
    ("Papiers peints", "Wallpapers"), ("Normal", "Normal"), ("Extra", "Extra"),
]

# Window lines: window name, component name and property, as the windows translate themselves.
WINDOWS = [
    # The catalogue window's panels and large view
    # The editing canvas
    ("SupprimerObjet", "Etes-vous sûr de vouloir supprimer cet objet ?", "Are you sure you want to delete this object?"),
    ("fmMain.LabelRetourMosaique.Caption", "Retour en mosaïque", "Back to all templates"),
    ("fmMain.LabelModelePrecedent.Caption", "Modèle précédent", "Previous template"),
    ("fmMain.LabelModeleSuivant.Caption", "Modèle suivant", "Next template"),
    ("fmMain.LabelOuvrir.Caption", "Modifier ce modèle", "Edit this template"),
    ("fmMain.LabelEnregistrerImage.Caption", "Enregister sous forme d'image", "Save as a picture"),
    ("fmMain.LabelSupprimer.Caption", "Supprimer ce modèle", "Delete this template"),
    ("fmMain.LabelRenommerAlbum.Caption", "Renomer l'album", "Rename the album"),
    ("fmMain.LabelSupprimerAlbum.Caption", "Supprimer l'album", "Delete the album"),
    ("fmMain.LabelRetourOrigine.Caption", "Retour au modèle d'origine", "Back to the original template"),
    ("fmMain.PochoirColore.Caption", "Pochoir coloré", "Coloured stencil"),
    ("fmMain.PochoirDecoupe.Caption", "Pochoir découpé", "Cut-out stencil"),
    ("fmMain.PochoirImprimer.Caption", "Pochoir à imprimer", "Stencil to print"),
    ("fmMain.VoirFrise.Caption", "Voir en frise", "Show as a frieze"),
    ("fmMain.dvd_1.Hint", "Etiquette de disque", "Disc label"),
    ("fmMain.dvd_2.Hint", "Jaquette", "Case cover"),
    ("fmMain.dvd_3.Hint", "Livret", "Booklet"),
    ("fmMain.dvd_4.Hint", "Feuillet", "Insert"),
    ("fmMain.dvd_5.Hint", "Jaquette DVD", "DVD case cover"),
    ("fmMain.dvd_6.Hint", "Pochette CD", "CD sleeve"),
]


def entries():
    """Every line of the file as (key, French, English), in file order."""
    out = [(str(n), fr, en) for n, fr, en in MESSAGES]
    out += [(k, t, t) for k, t in FIELD_TAGS]
    out += KEYS
    out += WINDOWS
    for kind, spins in sorted(FORMAT_SPINS.items()):
        for i, (fr, en) in enumerate(spins, 1):
            out.append(("DVD%d-%d" % (kind, i), fr, en))
    out += [("layer_" + t, fr, en) for t, fr, en in LAYERS]
    out += [("FX%d" % i, fr, en) for i, (fr, en) in enumerate(EFFECT_TREE)]
    return out


def lines():
    head = [
        "Lorvane language file: key, then the text of language 1 (French) and language 2 (English).",
        "Generated by tools/data/make_data.py from tools/data/language.py.",
        "",
    ]
    body = []
    seen = set()
    for key, fr, en in entries():
        assert key.lower() not in seen, key
        seen.add(key.lower())
        for t in (key, fr, en):
            assert ";" not in t and t.strip() == t and t, (key, t)
        body.append("%s;%s;%s" % (key, fr, en))
    return head + body
