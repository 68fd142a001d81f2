"""The predefined text library: themes, and for each theme lines of
(introduction, text, conclusion) in French and in English.

"\\n" inside a text is a line break.
"""

# (French theme, English theme, [((fr intro, fr text, fr end), (en intro, en text, en end)), ...])
THEMES = [
    ("Anniversaire\\Enfant", "Birthday\\Child", [
        (("Joyeux anniversaire !", "Une bougie de plus sur le gâteau et des rires plein la maison : quelle belle journée en perspective !", "Gros bisous de nous tous."),
         ("Happy birthday!", "One more candle on the cake and a house full of laughter: what a lovely day ahead!", "Big hugs from all of us.")),
        (("Bon anniversaire, mon grand !", "Tu grandis si vite que même tes chaussures n'arrivent plus à te suivre.", "Profite bien de ta fête !"),
         ("Happy birthday, big boy!", "You are growing so fast that even your shoes cannot keep up.", "Enjoy your party!")),
        (("Bon anniversaire, ma puce !", "Que cette nouvelle année t'apporte des copains, des jeux et des rêves à n'en plus finir.", "Avec tout notre amour."),
         ("Happy birthday, sweetheart!", "May this new year bring you friends, games and endless dreams.", "With all our love.")),
        (("Tu es invité à mon anniversaire !", "Viens souffler les bougies avec moi samedi après-midi : goûter, jeux et surprises au programme.", "Réponds-moi vite !"),
         ("You are invited to my birthday!", "Come and blow out the candles with me on Saturday afternoon: snacks, games and surprises.", "Let me know soon!")),
        (("Hip hip hip, hourra !", "Aujourd'hui, c'est toi la star : fais un vœu, il a toutes les chances de se réaliser.", "Ton parrain qui t'adore."),
         ("Hip hip hooray!", "Today you are the star: make a wish, it has every chance of coming true.", "From your loving godfather.")),
    ]),
    ("Anniversaire\\Adulte", "Birthday\\Adult", [
        (("Joyeux anniversaire !", "Les années passent, mais ton sourire ne prend pas une ride.", "Très belle journée à toi."),
         ("Happy birthday!", "The years go by, but your smile has not aged a day.", "Have a wonderful day.")),
        (("Bon anniversaire à toi !", "Une année de plus, c'est une année de souvenirs, d'amitiés et de projets en plus.", "Je t'embrasse."),
         ("Happy birthday to you!", "One more year means more memories, more friendships and more plans.", "Love and hugs.")),
        (("Trente ans, ça se fête !", "Viens partager un verre et quelques danses pour célébrer cette nouvelle décennie.", "On compte sur toi !"),
         ("Thirty deserves a party!", "Come and share a drink and a few dances to celebrate this new decade.", "We are counting on you!")),
        (("Cinquante printemps !", "Un demi-siècle de gentillesse, d'humour et de générosité : bravo et merci d'être toi.", "Avec toute notre affection."),
         ("Fifty springs!", "Half a century of kindness, humour and generosity: well done, and thank you for being you.", "With all our affection.")),
        (("Très bon anniversaire !", "Que cette nouvelle année t'apporte la santé, la sérénité et beaucoup de petits bonheurs.", "Amicalement."),
         ("A very happy birthday!", "May this new year bring you health, peace of mind and plenty of small joys.", "Best wishes.")),
    ]),
    ("Mariage\\Faire-part", "Wedding\\Announcement", [
        (("Nous nous marions !", "Nous avons la joie de vous annoncer notre mariage et serions heureux de vous compter parmi nous.", "Merci de nous répondre avant le 1er mai."),
         ("We are getting married!", "We are delighted to announce our wedding and would be happy to have you with us.", "Please reply by the 1st of May.")),
        (("Ils se sont dit oui !", "La cérémonie sera suivie d'un vin d'honneur dans les jardins de la mairie.", "Au plaisir de partager ce moment avec vous."),
         ("They said yes!", "The ceremony will be followed by a reception in the town hall gardens.", "We look forward to sharing this day with you.")),
        (("Un jour, deux cœurs, une promesse.", "Nos familles ont le bonheur de vous convier à la célébration de notre union.", "Avec toute notre tendresse."),
         ("One day, two hearts, one promise.", "Our families are happy to invite you to the celebration of our union.", "With all our love.")),
        (("Save the date !", "Réservez dès maintenant la date de notre mariage, l'invitation suivra très bientôt.", "A très vite !"),
         ("Save the date!", "Keep the date of our wedding free now, the invitation will follow very soon.", "See you soon!")),
        (("Le grand jour approche !", "Après dix ans de vie commune, nous avons décidé de nous dire oui devant vous tous.", "Votre présence sera notre plus beau cadeau."),
         ("The big day is coming!", "After ten years together, we have decided to say yes in front of you all.", "Your presence will be our finest gift.")),
    ]),
    ("Mariage\\Remerciements", "Wedding\\Thanks", [
        (("Merci du fond du cœur !", "Votre présence et vos attentions ont fait de notre mariage une journée inoubliable.", "Les jeunes mariés."),
         ("Thank you from the bottom of our hearts!", "Your presence and your kindness made our wedding an unforgettable day.", "The newlyweds.")),
        (("Un immense merci.", "Grâce à votre généreux cadeau, notre voyage de noces a été un rêve éveillé.", "Avec toute notre reconnaissance."),
         ("A huge thank you.", "Thanks to your generous gift, our honeymoon was a dream come true.", "With all our gratitude.")),
        (("Merci d'avoir partagé ce jour avec nous.", "Nous garderons longtemps le souvenir de vos sourires, de vos danses et de vos mots doux.", "Affectueusement."),
         ("Thank you for sharing this day with us.", "We will long remember your smiles, your dances and your kind words.", "Fondly.")),
        (("Encore merci !", "Votre aide pour la décoration et le repas a été précieuse : sans vous, rien n'aurait été pareil.", "Nous vous embrassons."),
         ("Thank you again!", "Your help with the decorations and the meal was priceless: without you nothing would have been the same.", "Hugs to you all.")),
    ]),
    ("Naissance\\Faire-part", "Birth\\Announcement", [
        (("Coucou, me voici !", "Je suis arrivé le 12 mars à 8 h 15, du haut de mes 50 cm et de mes 3,4 kg.", "Mes parents sont aux anges."),
         ("Hello, here I am!", "I arrived on the 12th of March at 8.15 am, all 50 cm and 3.4 kg of me.", "My parents are over the moon.")),
        (("Une petite sœur est née !", "Léa a la joie de vous présenter sa petite sœur, Jeanne, née le 3 juin.", "Toute la famille est ravie."),
         ("A little sister is born!", "Lea is delighted to introduce her little sister Jane, born on the 3rd of June.", "The whole family is thrilled.")),
        (("Bienvenue au monde !", "Après neuf mois d'attente, notre bonheur a enfin un prénom et un visage.", "Les heureux parents."),
         ("Welcome to the world!", "After nine months of waiting, our happiness finally has a name and a face.", "The happy parents.")),
        (("Notre famille s'agrandit !", "Nous avons l'immense plaisir de vous annoncer la naissance de notre fils.", "Maman et bébé se portent à merveille."),
         ("Our family is growing!", "We are overjoyed to announce the birth of our son.", "Mother and baby are doing wonderfully.")),
    ]),
    ("Naissance\\Félicitations", "Birth\\Congratulations", [
        (("Félicitations aux heureux parents !", "Quelle joie d'apprendre la naissance de votre petit trésor.", "Nous avons hâte de le rencontrer."),
         ("Congratulations to the happy parents!", "What a joy to hear about the birth of your little treasure.", "We cannot wait to meet him.")),
        (("Bienvenue au bébé !", "Que sa vie soit remplie de tendresse, de rires et de belles découvertes.", "Tendrement."),
         ("Welcome, little one!", "May her life be filled with tenderness, laughter and wonderful discoveries.", "With love.")),
        (("Toutes nos félicitations !", "Profitez bien de ces premiers jours, ils passent si vite.", "Nous pensons fort à vous trois."),
         ("Warmest congratulations!", "Enjoy these first days, they go by so quickly.", "Thinking of the three of you.")),
        (("Un bébé, quel bonheur !", "Nous vous souhaitons des nuits calmes et des journées pleines de câlins.", "Avec toute notre amitié."),
         ("A baby, what joy!", "We wish you quiet nights and days full of cuddles.", "With all our friendship.")),
    ]),
    ("Fêtes\\Noël", "Holidays\\Christmas", [
        (("Joyeux Noël !", "Que la magie de Noël illumine votre foyer et réchauffe vos cœurs.", "De joyeuses fêtes à tous."),
         ("Merry Christmas!", "May the magic of Christmas light up your home and warm your hearts.", "Happy holidays to you all.")),
        (("Bonnes fêtes de fin d'année !", "Nous vous souhaitons de beaux moments en famille autour du sapin.", "Chaleureusement."),
         ("Season's greetings!", "We wish you lovely family moments around the tree.", "Warmly.")),
        (("Le Père Noël est passé !", "Les souliers sont pleins, les yeux brillent et la table est prête : place à la fête.", "Joyeux Noël de la part de toute la famille."),
         ("Father Christmas has been!", "The stockings are full, eyes are shining and the table is set: let the party begin.", "Merry Christmas from the whole family.")),
        (("Douce nuit, belle nuit.", "En cette veille de Noël, nous pensons à vous avec tendresse.", "Nous vous embrassons."),
         ("Silent night, holy night.", "On this Christmas Eve, we are thinking of you with love.", "Hugs and kisses.")),
    ]),
    ("Fêtes\\Nouvel An", "Holidays\\New Year", [
        (("Bonne année !", "Que cette nouvelle année vous apporte la santé, la joie et la réussite dans tous vos projets.", "Meilleurs vœux."),
         ("Happy New Year!", "May this new year bring you health, joy and success in all your plans.", "Best wishes.")),
        (("Meilleurs vœux pour la nouvelle année !", "Douze mois tout neufs pour rire, voyager, aimer et réaliser vos rêves.", "Belle et heureuse année."),
         ("Best wishes for the new year!", "Twelve brand-new months to laugh, travel, love and make your dreams come true.", "Have a wonderful year.")),
        (("Toute l'équipe vous présente ses vœux.", "Merci pour votre confiance et votre fidélité tout au long de l'année écoulée.", "Au plaisir de vous retrouver en janvier."),
         ("The whole team sends you its best wishes.", "Thank you for your trust and loyalty throughout the past year.", "We look forward to seeing you in January.")),
        (("Trois, deux, un... Bonne année !", "Laissons derrière nous les soucis et ouvrons grand la porte aux bonnes surprises.", "Amitiés."),
         ("Three, two, one... Happy New Year!", "Let us leave our worries behind and open the door wide to happy surprises.", "Kind regards.")),
    ]),
    ("Fêtes\\Pâques", "Holidays\\Easter", [
        (("Joyeuses Pâques !", "Que les cloches vous apportent des œufs en chocolat et des rires d'enfants dans le jardin.", "Bonne chasse aux œufs !"),
         ("Happy Easter!", "May the Easter bunny bring you chocolate eggs and children's laughter in the garden.", "Happy egg hunting!")),
        (("Le printemps est là !", "Les fleurs s'ouvrent, les jours s'allongent : profitez bien de ce week-end de Pâques.", "Gros bisous."),
         ("Spring is here!", "Flowers are opening and the days are getting longer: enjoy this Easter weekend.", "Lots of love.")),
        (("Douces Pâques à vous !", "Nous vous souhaitons un joyeux repas en famille et un dessert tout en chocolat.", "A bientôt."),
         ("A sweet Easter to you!", "We wish you a happy family meal and an all-chocolate dessert.", "See you soon.")),
    ]),
    ("Fête des mères", "Mother's Day", [
        (("Bonne fête, maman !", "Merci pour ta douceur, ta patience et tous les câlins qui réparent les petits chagrins.", "Je t'aime."),
         ("Happy Mother's Day, Mum!", "Thank you for your gentleness, your patience and all the cuddles that mend little sorrows.", "I love you.")),
        (("Pour la plus belle des mamans.", "Un petit mot pour te dire combien tu comptes pour moi, aujourd'hui et tous les jours.", "Ton enfant qui t'adore."),
         ("For the most wonderful mum.", "A little note to tell you how much you mean to me, today and every day.", "Your loving child.")),
        (("Maman, tu es formidable !", "Tu es à la fois cuisinière, infirmière, conteuse et meilleure amie.", "Bonne fête !"),
         ("Mum, you are amazing!", "You are a cook, a nurse, a storyteller and a best friend all at once.", "Happy Mother's Day!")),
        (("Merci, maman.", "Tout ce que je suis aujourd'hui, c'est un peu grâce à toi.", "Avec tout mon amour."),
         ("Thank you, Mum.", "Everything I am today is partly thanks to you.", "With all my love.")),
    ]),
    ("Fête des pères", "Father's Day", [
        (("Bonne fête, papa !", "Merci pour tes blagues, tes conseils et tes épaules toujours prêtes à me porter.", "Je t'aime fort."),
         ("Happy Father's Day, Dad!", "Thank you for your jokes, your advice and your shoulders always ready to carry me.", "Love you lots.")),
        (("Au meilleur papa du monde.", "Tu es mon héros, mon entraîneur et mon plus grand supporter.", "Ton fils."),
         ("To the best dad in the world.", "You are my hero, my coach and my biggest fan.", "Your son.")),
        (("Papa, tu es unique !", "Aujourd'hui, c'est toi qui choisis le programme... même s'il s'agit encore de bricolage.", "Bonne fête !"),
         ("Dad, you are one of a kind!", "Today you choose what we do... even if it is more DIY again.", "Happy Father's Day!")),
        (("Merci, papa.", "Pour toutes les fois où tu as été là, sans jamais rien demander en retour.", "Ta fille qui t'aime."),
         ("Thank you, Dad.", "For all the times you were there, never asking for anything in return.", "Your loving daughter.")),
    ]),
    ("Saint-Valentin", "Valentine's Day", [
        (("Bonne Saint-Valentin !", "Chaque jour passé à tes côtés est un cadeau que je ne me lasse pas d'ouvrir.", "Je t'aime."),
         ("Happy Valentine's Day!", "Every day by your side is a gift I never tire of opening.", "I love you.")),
        (("A toi, mon amour.", "Ton sourire est mon soleil, ta voix ma chanson préférée.", "Pour toujours."),
         ("To you, my love.", "Your smile is my sunshine, your voice my favourite song.", "Forever.")),
        (("Mon cœur bat pour toi.", "Avec toi, même les lundis de pluie ont un air de vacances.", "Tendrement."),
         ("My heart beats for you.", "With you, even rainy Mondays feel like a holiday.", "Tenderly.")),
        (("Veux-tu être ma Valentine ?", "Un dîner aux chandelles t'attend ce soir, il ne manque plus que toi.", "Ton amoureux."),
         ("Will you be my Valentine?", "A candlelit dinner is waiting for you tonight, all it needs is you.", "Your sweetheart.")),
    ]),
    ("Remerciements", "Thanks", [
        (("Merci beaucoup !", "Votre gentillesse m'a beaucoup touché et je tenais à vous le dire.", "Bien amicalement."),
         ("Thank you very much!", "Your kindness touched me deeply and I wanted to tell you so.", "Kind regards.")),
        (("Un grand merci !", "Votre cadeau m'a fait immensément plaisir, il a déjà trouvé sa place à la maison.", "Je vous embrasse."),
         ("A big thank you!", "I was so pleased with your present, it has already found its place at home.", "Love.")),
        (("Merci pour votre accueil.", "Nous avons passé un séjour merveilleux chez vous et espérons vous recevoir bientôt à notre tour.", "A très bientôt."),
         ("Thank you for having us.", "We had a wonderful stay with you and hope to welcome you to our home soon.", "See you very soon.")),
        (("Merci de tout cœur.", "Dans ces moments difficiles, votre soutien a compté plus que vous ne l'imaginez.", "Avec ma profonde gratitude."),
         ("Heartfelt thanks.", "In these difficult times, your support meant more than you can imagine.", "With my deepest gratitude.")),
        (("Merci, maîtresse !", "Merci pour cette belle année d'école, pour votre patience et pour toutes ces découvertes.", "Vos élèves."),
         ("Thank you, Miss!", "Thank you for this lovely school year, for your patience and for everything we discovered.", "Your pupils.")),
    ]),
    ("Condoléances", "Sympathy", [
        (("Sincères condoléances.", "C'est avec une profonde tristesse que nous avons appris cette bien douloureuse nouvelle.", "Nous partageons votre peine."),
         ("Our deepest sympathy.", "It was with great sadness that we learned this painful news.", "We share your sorrow.")),
        (("En ces moments difficiles,", "nous pensons très fort à vous et à votre famille.", "Avec toute notre affection."),
         ("In these difficult times,", "we are thinking of you and your family.", "With all our affection.")),
        (("Nos pensées vous accompagnent.", "Son sourire et sa gentillesse resteront à jamais gravés dans nos mémoires.", "Bien tendrement."),
         ("Our thoughts are with you.", "Her smile and her kindness will stay in our memories forever.", "With love.")),
        (("Avec toute notre sympathie.", "Puissent les souvenirs heureux vous apporter un peu de réconfort.", "Nous restons à vos côtés."),
         ("With heartfelt sympathy.", "May happy memories bring you some comfort.", "We are here for you.")),
    ]),
    ("Invitations\\Soirée", "Invitations\\Party", [
        (("C'est la fête !", "Venez danser avec nous samedi soir à partir de 20 heures, ambiance garantie.", "Merci de confirmer votre venue."),
         ("Party time!", "Come and dance with us on Saturday night from 8 pm, good vibes guaranteed.", "Please let us know if you can come.")),
        (("Pendaison de crémaillère !", "Nous avons enfin posé nos cartons et serions ravis de vous faire visiter notre nouveau chez-nous.", "Apportez votre bonne humeur !"),
         ("Housewarming party!", "We have finally unpacked and would love to show you around our new home.", "Bring your best mood!")),
        (("Soirée déguisée !", "Thème de la soirée : les années quatre-vingt. Tenue de rigueur, paillettes bienvenues.", "On compte sur vous !"),
         ("Fancy dress party!", "The theme of the night: the eighties. Costume required, glitter welcome.", "We are counting on you!")),
        (("Surprise !", "Chut, c'est une surprise : rendez-vous à 19 heures précises pour fêter Julie.", "Surtout, pas un mot !"),
         ("Surprise!", "Shh, it's a surprise: meet at 7 pm sharp to celebrate Julie.", "Not a word to anyone!")),
    ]),
    ("Invitations\\Repas", "Invitations\\Dinner", [
        (("A table !", "Nous serions heureux de vous recevoir à dîner le vendredi 14 à 20 heures.", "Merci de nous répondre."),
         ("Dinner is served!", "We would be happy to have you for dinner on Friday the 14th at 8 pm.", "Please let us know.")),
        (("Venez bruncher avec nous !", "Dimanche matin, croissants, jus pressés et bonne humeur vous attendent.", "A dimanche !"),
         ("Come for brunch!", "On Sunday morning, croissants, fresh juice and good cheer are waiting for you.", "See you on Sunday!")),
        (("Barbecue entre amis", "Le soleil est annoncé : rejoignez-nous au jardin samedi midi, chacun apporte un dessert.", "A samedi !"),
         ("Barbecue with friends", "Sunshine is forecast: join us in the garden on Saturday lunchtime, everyone brings a dessert.", "See you on Saturday!")),
        (("Repas de famille", "Pour les quatre-vingts ans de grand-mère, toute la famille se retrouve autour d'une grande tablée.", "Réponse souhaitée avant la fin du mois."),
         ("Family lunch", "For Grandma's eightieth birthday, the whole family is getting together around a big table.", "Please reply by the end of the month.")),
    ]),
    ("Félicitations\\Examens", "Congratulations\\Exams", [
        (("Bravo !", "Tous ces efforts ont payé : tu as brillamment réussi ton examen.", "Nous sommes fiers de toi."),
         ("Well done!", "All that hard work has paid off: you passed your exam with flying colours.", "We are proud of you.")),
        (("Félicitations pour ton diplôme !", "Une nouvelle page s'ouvre, pleine de promesses et d'aventures.", "Tous nos vœux de réussite."),
         ("Congratulations on your degree!", "A new chapter begins, full of promise and adventure.", "Every success for the future.")),
        (("Permis en poche !", "Te voilà libre de prendre la route : prudence et bonne conduite !", "Bises."),
         ("Driving licence in your pocket!", "You are free to hit the road: drive safely!", "Love.")),
        (("Chapeau bas !", "Réussir avec mention, il fallait le faire et tu l'as fait.", "Toutes nos félicitations."),
         ("Hats off!", "Passing with honours takes some doing, and you did it.", "Warmest congratulations.")),
    ]),
    ("Félicitations\\Retraite", "Congratulations\\Retirement", [
        (("Bonne retraite !", "Après toutes ces années de travail, place au jardinage, aux voyages et aux grasses matinées.", "Profitez bien !"),
         ("Happy retirement!", "After all these years of work, it is time for gardening, travel and lie-ins.", "Enjoy every moment!")),
        (("Une nouvelle vie commence !", "Toute l'équipe vous remercie pour votre bonne humeur et votre engagement.", "Vous allez nous manquer."),
         ("A new life begins!", "The whole team thanks you for your good humour and your dedication.", "We will miss you.")),
        (("Enfin le temps de vivre !", "Que cette retraite soit aussi riche et joyeuse que votre carrière a été remarquable.", "Avec nos amitiés."),
         ("Time to live at last!", "May your retirement be as rich and happy as your career was remarkable.", "With our best wishes.")),
    ]),
    ("Baptême et communion", "Christening and communion", [
        (("Un jour de fête", "Nous avons la joie de vous inviter au baptême de notre fille Emma, dimanche 9 mai.", "La cérémonie sera suivie d'un déjeuner."),
         ("A day to celebrate", "We are delighted to invite you to the christening of our daughter Emma on Sunday the 9th of May.", "The ceremony will be followed by lunch.")),
        (("Première communion", "Paul sera heureux de partager avec vous ce moment important de sa vie.", "Merci de répondre avant le 20 avril."),
         ("First communion", "Paul will be happy to share this important moment of his life with you.", "Please reply by the 20th of April.")),
        (("Souvenir de baptême", "Merci d'avoir entouré notre petit Louis en ce jour si particulier.", "Ses parents, son parrain et sa marraine."),
         ("Christening keepsake", "Thank you for being with our little Louis on this very special day.", "His parents and godparents.")),
    ]),
    ("Professionnel\\Annonces", "Business\\Announcements", [
        (("Nous avons déménagé !", "Nos bureaux vous accueillent désormais dans des locaux plus grands et plus lumineux.", "Au plaisir de vous y recevoir."),
         ("We have moved!", "Our offices now welcome you in larger, brighter premises.", "We look forward to seeing you there.")),
        (("Portes ouvertes", "Venez découvrir notre atelier et nos nouveautés samedi de 10 heures à 18 heures.", "Un verre de l'amitié vous sera offert."),
         ("Open day", "Come and discover our workshop and our new products on Saturday from 10 am to 6 pm.", "Refreshments will be served.")),
        (("Ouverture prochaine !", "Notre boutique ouvre ses portes le 2 septembre : une remise de 10 % vous attend le premier jour.", "A très bientôt."),
         ("Opening soon!", "Our shop opens its doors on the 2nd of September: enjoy 10 % off on the first day.", "See you very soon.")),
        (("Merci de votre fidélité.", "Pour vous remercier, nous vous offrons une réduction sur votre prochaine commande.", "L'équipe commerciale."),
         ("Thank you for your loyalty.", "To thank you, we are offering you a discount on your next order.", "The sales team.")),
    ]),
    ("Vacances", "Holidays\\Travel", [
        (("Bons baisers de la mer !", "Le soleil brille, l'eau est délicieuse et nous ne pensons plus à rien.", "A bientôt pour les photos !"),
         ("Greetings from the seaside!", "The sun is shining, the water is lovely and we have forgotten all our worries.", "Photos coming soon!")),
        (("Vue sur les sommets", "Randonnées le jour, fondue le soir : la montagne nous réussit à merveille.", "Grosses bises de là-haut."),
         ("Mountain views", "Hiking by day, fondue by night: the mountains suit us perfectly.", "Love from up high.")),
        (("Fermé pour congés", "La boutique sera fermée du 1er au 21 août. Bonnes vacances à tous !", "Réouverture le 22 août."),
         ("Closed for holidays", "The shop will be closed from the 1st to the 21st of August. Happy holidays to all!", "Reopening on the 22nd of August.")),
    ]),
]

# A theme with its own part names: the first line names the parts.
OWN_PARTS = ("Pensées", "Thoughts", ("#Amour", "#Amitié", "#Sagesse"), ("#Love", "#Friendship", "#Wisdom"), [
    (("Aimer, c'est regarder ensemble dans la même direction en se tenant la main.",
      "Un ami, c'est quelqu'un qui connaît la chanson de ton cœur et te la chante quand tu l'as oubliée.",
      "Le bonheur ne se cherche pas au loin, il se cultive dans son propre jardin."),
     ("To love is to look in the same direction together, hand in hand.",
      "A friend knows the song in your heart and sings it back when you have forgotten it.",
      "Happiness is not found far away, it grows in your own garden.")),
    (("Le plus beau voyage est celui que l'on fait à deux.",
      "L'amitié double les joies et partage les peines.",
      "Prendre le temps, c'est déjà un peu le gagner."),
     ("The finest journey is the one you make together.",
      "Friendship doubles our joys and halves our sorrows.",
      "Taking your time is already a way of winning it.")),
    (("Ton nom est écrit dans chacun de mes jours.",
      "Les vrais amis se comptent sur les doigts d'une main, et ils la tiennent fort.",
      "Chaque matin est une page blanche : écris-y quelque chose de beau."),
     ("Your name is written in every one of my days.",
      "True friends can be counted on one hand, and they hold it tight.",
      "Every morning is a blank page: write something beautiful on it.")),
])


def lines(language):
    """Lines of textes_<language>.def (1 French, 2 English)."""
    i = language - 1
    head = ["Thème;Introduction;Texte;Conclusion", "Theme;Introduction;Text;Conclusion"][i]
    out = [head]

    def row(theme, parts):
        for t in (theme,) + tuple(parts):
            assert ";" not in t and t.strip() == t, t
        out.append(";".join((theme,) + tuple(parts)))

    for fr_theme, en_theme, rows in THEMES:
        theme = (fr_theme, en_theme)[i]
        for pair in rows:
            row(theme, pair[i])
    fr_theme, en_theme, fr_names, en_names, rows = OWN_PARTS
    row((fr_theme, en_theme)[i], (fr_names, en_names)[i])
    for pair in rows:
        row((fr_theme, en_theme)[i], pair[i])
    return out
