"""Names of the day in the French calendar, one list per month (29 February included)."""

MONTHS = [
    # January
    "Jour de l'An|Basile|Geneviève|Odilon|Edouard|Mélaine|Raymond|Lucien|Alix|Guillaume|Paulin|Tatiana|Yvette|Nina|"
    "Rémi|Marcel|Roseline|Prisca|Marius|Sébastien|Agnès|Vincent|Barnard|François de Sales|Conversion de Paul|Paule|"
    "Angèle|Thomas d'Aquin|Gildas|Martine|Marcelle",
    # February
    "Ella|Présentation|Blaise|Véronique|Agathe|Gaston|Eugénie|Jacqueline|Apolline|Arnaud|Notre-Dame de Lourdes|Félix|"
    "Béatrice|Valentin|Claude|Julienne|Alexis|Bernadette|Gabin|Aimée|Pierre Damien|Isabelle|Lazare|Modeste|Roméo|"
    "Nestor|Honorine|Romain|Auguste",
    # March
    "Aubin|Charles le Bon|Guénolé|Casimir|Olive|Colette|Félicité|Jean de Dieu|Françoise|Vivien|Rosine|Justine|"
    "Rodrigue|Mathilde|Louise|Bénédicte|Patrice|Cyrille|Joseph|Herbert|Clémence|Léa|Victorien|Catherine de Suède|"
    "Annonciation|Larissa|Habib|Gontran|Gwladys|Amédée|Benjamin",
    # April
    "Hugues|Sandrine|Richard|Isidore|Irène|Marcellin|Jean-Baptiste de la Salle|Julie|Gautier|Fulbert|Stanislas|"
    "Jules|Ida|Maxime|Paterne|Benoît-Joseph|Anicet|Parfait|Emma|Odette|Anselme|Alexandre|Georges|Fidèle|Marc|Alida|"
    "Zita|Valérie|Catherine de Sienne|Robert",
    # May
    "Fête du Travail|Boris|Philippe et Jacques|Sylvain|Judith|Prudence|Gisèle|Victoire 1945|Pacôme|Solange|Estelle|"
    "Achille|Rolande|Matthias|Denise|Honoré|Pascal|Eric|Yves|Bernardin|Constantin|Emile|Didier|Donatien|Sophie|"
    "Bérenger|Augustin de Cantorbéry|Germain|Aymar|Ferdinand|Visitation",
    # June
    "Justin|Blandine|Kévin|Clotilde|Igor|Norbert|Gilbert|Médard|Diane|Landry|Barnabé|Guy|Antoine de Padoue|Elisée|"
    "Germaine|Jean-François Régis|Hervé|Léonce|Romuald|Silvère|Rodolphe|Alban|Audrey|Jean-Baptiste|Prosper|Anthelme|"
    "Fernand|Irénée|Pierre et Paul|Martial",
    # July
    "Thierry|Martinien|Thomas|Florent|Antoine|Mariette|Raoul|Thibaut|Amandine|Ulrich|Benoît|Olivier|Henri et Joël|"
    "Fête nationale|Donald|Notre-Dame du Mont-Carmel|Charlotte|Frédéric|Arsène|Marina|Victor|Marie-Madeleine|"
    "Brigitte|Christine|Jacques|Anne et Joachim|Nathalie|Samson|Marthe|Juliette|Ignace de Loyola",
    # August
    "Alphonse|Julien Eymard|Lydie|Jean-Marie Vianney|Abel|Transfiguration|Gaétan|Dominique|Amour|Laurent|Claire|"
    "Clarisse|Hippolyte|Evrard|Assomption|Armel|Hyacinthe|Hélène|Jean Eudes|Bernard|Christophe|Fabrice|"
    "Rose de Lima|Barthélemy|Louis|Natacha|Monique|Augustin|Sabine|Fiacre|Aristide",
    # September
    "Gilles|Ingrid|Grégoire|Rosalie|Raïssa|Bertrand|Reine|Nativité de Marie|Alain|Inès|Adelphe|Apollinaire|Aimé|"
    "Croix glorieuse|Roland|Edith|Renaud|Nadège|Emilie|Davy|Matthieu|Maurice|Constant|Thècle|Hermann|"
    "Côme et Damien|Vincent de Paul|Venceslas|Michel, Gabriel et Raphaël|Jérôme",
    # October
    "Thérèse de l'Enfant-Jésus|Léger|Gérard|François d'Assise|Fleur|Bruno|Serge|Pélagie|Denis|Ghislain|Firmin|"
    "Wilfried|Géraud|Juste|Thérèse d'Avila|Edwige|Baudouin|Luc|René|Adeline|Céline|Elodie|Jean de Capistran|"
    "Florentin|Crépin|Dimitri|Emeline|Simon et Jude|Narcisse|Bienvenue|Quentin",
    # November
    "Toussaint|Défunts|Hubert|Charles|Sylvie|Bertille|Carine|Geoffroy|Théodore|Léon|Armistice 1918|Christian|Brice|"
    "Sidoine|Albert|Marguerite|Elisabeth|Aude|Tanguy|Edmond|Présentation de Marie|Cécile|Clément|Flora|Catherine|"
    "Delphine|Séverin|Jacques de la Marche|Saturnin|André",
    # December
    "Florence|Viviane|François-Xavier|Barbara|Gérald|Nicolas|Ambroise|Immaculée Conception|Pierre Fourier|Romaric|"
    "Daniel|Jeanne-Françoise de Chantal|Lucie|Odile|Ninon|Alice|Gaël|Gatien|Urbain|Théophile|Pierre Canisius|"
    "Françoise-Xavière|Armand|Adèle|Noël|Etienne|Jean|Innocents|David|Roger|Sylvestre",
]

DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]


def lines():
    out = ["date;saint"]
    for m, (text, days) in enumerate(zip(MONTHS, DAYS), 1):
        names = text.split("|")
        assert len(names) == days, (m, len(names))
        for d, name in enumerate(names, 1):
            out.append("%d/%d;%s" % (d, m, name))
    return out
