// The default catalogue: templates, the wizards' template folders and the ready-made formats.
#include <QDir>

#include "common/generator.h"
#include "shell/settings.h"
#include "templates/designs.h"

namespace {

bool Run(const content::Context& context, QString* error) {
  for (const char* folder : {"donnees/Modeles", "donnees/Gabarits", "donnees/formats", "donnees/AssitantEtiquettes",
                             "donnees/AssistantFonds"})
    context.output->Own(QString::fromLatin1(folder));
  // The picture folders may have been made by the generators that ran before: look again.
  if (Soft()) Soft()->InitialisePaths();
  tpl::Writer w(context);
  using tpl::U;
  const QString audio = U("Modeles/CD et DVD/Audio"), data = U("Modeles/CD et DVD/Données");
  for (const char* name : {"Nuit", "Ocean", "Foret", "Neon", "Retro"})
    tpl::DiscFamily(w, audio, tpl::ThemeNamed(QString::fromLatin1(name)).name, tpl::ThemeNamed(QString::fromLatin1(name)),
                    tpl::AudioContent(), tpl::Writer::Preview::Catalogue);
  // Two families built around a photo.
  {
    tpl::DiscContent c = tpl::AudioContent();
    c.image1 = w.Picture(QStringLiteral("fond_musique_scene.jpg"));
    c.mask = w.Picture(QStringLiteral("rectangle_arrondi.emf"));
    tpl::DiscFamily(w, audio, U("Scène"), tpl::ThemeNamed(QStringLiteral("Neon")), c, tpl::Writer::Preview::Catalogue);
    c.image1 = w.Picture(QStringLiteral("fond_musique_vinyle_carre.jpg"));
    c.mask = w.Picture(QStringLiteral("cercle.emf"));
    tpl::DiscFamily(w, audio, U("Vinyle"), tpl::ThemeNamed(QStringLiteral("Terre")), c, tpl::Writer::Preview::Catalogue);
  }
  tpl::MiniDisc(w, U("Modeles/CD et DVD/Mini CD étoilé.mdl"), tpl::ThemeNamed(QStringLiteral("Nuit")), QString());
  tpl::MiniDisc(w, U("Modeles/CD et DVD/Mini CD aquarelle.mdl"), tpl::ThemeNamed(QStringLiteral("Pastel")),
                w.Picture(QStringLiteral("fond_aquarelle_lilas_carre.jpg")));
  for (const char* name : {"Epure", "Terre"})
    tpl::DiscFamily(w, data, QString::fromLatin1(name), tpl::ThemeNamed(QString::fromLatin1(name)), tpl::DataContent(),
                    tpl::Writer::Preview::Catalogue);
  tpl::BusinessCards(w);
  tpl::Letterheads(w);
  tpl::Envelopes(w);
  tpl::AddressLabels(w);
  tpl::Stickers(w);
  tpl::Calendars(w);
  tpl::GreetingCards(w);
  tpl::Invitations(w);
  tpl::Scrapbook(w);
  tpl::Transfers(w);
  tpl::WizardFolders(w);
  tpl::Sample(w);
  if (!w.ok()) {
    *error = w.error();
    return false;
  }
  std::printf("templates: %d documents\n", w.count());
  return true;
}

const content::Registration registration("templates", 100,
                                          "catalogue templates, wizard template folders and ready-made formats", Run);

}  // namespace
