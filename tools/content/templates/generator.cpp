// The default catalogue: templates, the wizards' template folders and the ready-made formats.
#include "common/generator.h"

#include <QDir>
#include <QDirIterator>

#include "shell/settings.h"
#include "templates/designs.h"

namespace {

bool Run(const content::Context& context, QString* error) {
  const QStringList owned{QStringLiteral("donnees/Modeles"), QStringLiteral("donnees/Gabarits"),
                          QStringLiteral("donnees/formats"), QStringLiteral("donnees/AssitantEtiquettes"),
                          QStringLiteral("donnees/AssistantFonds")};
  for (const QString& folder : owned) context.output->Own(folder);
  // The picture folders may have been made by the generators that ran before: look again.
  if (Soft()) Soft()->InitialisePaths();
  tpl::Writer w(context);
  using tpl::U;
  const QString audio = U("Modeles/CD et DVD/Audio"), data = U("Modeles/CD et DVD/Données");
  for (const char* name : {"Nuit", "Ocean", "Foret", "Neon", "Retro"})
    tpl::DiscFamily(w, audio, tpl::ThemeNamed(QString::fromLatin1(name)).name,
                    tpl::ThemeNamed(QString::fromLatin1(name)), tpl::AudioContent(),
                    tpl::Writer::Preview::Catalogue);
  // Families built around a photo.
  {
    tpl::DiscContent c = tpl::AudioContent();
    c.image1 = w.Picture(QStringLiteral("fond_musique_scene.jpg"));
    c.mask = w.Picture(QStringLiteral("rectangle_arrondi.emf"));
    tpl::DiscFamily(w, audio, U("Scène"), tpl::ThemeNamed(QStringLiteral("Neon")), c,
                    tpl::Writer::Preview::Catalogue);
    c.image1 = w.Picture(QStringLiteral("fond_musique_vinyle_carre.jpg"));
    c.mask = w.Picture(QStringLiteral("cercle.emf"));
    tpl::DiscFamily(w, audio, U("Vinyle"), tpl::ThemeNamed(QStringLiteral("Terre")), c,
                    tpl::Writer::Preview::Catalogue);
    c.image1 = w.Picture(QStringLiteral("photo_lac_montagne.jpg"));
    c.mask = w.Picture(QStringLiteral("rectangle_arrondi.emf"));
    tpl::DiscFamily(w, audio, U("Montagne"), tpl::ThemeNamed(QStringLiteral("Foret")), c,
                    tpl::Writer::Preview::Catalogue);
  }
  tpl::MiniDisc(w, U("Modeles/CD et DVD/Mini CD étoilé.mdl"), tpl::ThemeNamed(QStringLiteral("Nuit")),
                QString());
  tpl::MiniDisc(w, U("Modeles/CD et DVD/Mini CD aquarelle.mdl"), tpl::ThemeNamed(QStringLiteral("Pastel")),
                w.Picture(QStringLiteral("fond_aquarelle_lilas_carre.jpg")));
  // One data family lists its contents as text, the other shows the folder tree of the disc.
  for (const char* name : {"Epure", "Terre"}) {
    tpl::DiscContent c = tpl::DataContent();
    c.tree = QLatin1String(name) == QLatin1String("Terre");
    tpl::DiscFamily(w, data, QString::fromLatin1(name), tpl::ThemeNamed(QString::fromLatin1(name)), c,
                    tpl::Writer::Preview::Catalogue);
  }
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
    // A failed run leaves the shipped files as they were rather than a half-made catalogue.
    for (const QString& folder : owned) {
      QDirIterator it(context.data + QLatin1Char('/') + folder, QDir::Files, QDirIterator::Subdirectories);
      while (it.hasNext()) context.output->Keep(QDir(context.data).relativeFilePath(it.next()));
    }
    *error = w.error();
    return false;
  }
  std::printf("templates: %d documents\n", w.count());
  return true;
}

const content::Registration registration(
    "templates", 100, "catalogue templates, wizard template folders and ready-made formats", Run);

}  // namespace
