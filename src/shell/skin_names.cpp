#include "shell/skin_names.h"

namespace skin {

namespace {
QStringList L(std::initializer_list<const char*> items) {
  QStringList out;
  for (const char* i : items) out.append(QString::fromUtf8(i));
  return out;
}
}  // namespace

const QStringList& BarSections() {
  static const QStringList s = L({"ecran1", "ecran2"});
  return s;
}

const QStringList& MenuSections() {
  static const QStringList s = L({"ecran1_gauche", "ecran2_gauche", "ecran2_droite", "menu"});
  return s;
}

const QStringList& FallbackSections() {
  static const QStringList s = L({"defaut", "Menu"});
  return s;
}

QStringList BarButtonFiles(const QString& name) {
  return {name + QStringLiteral(".BMP"), name + QStringLiteral("1.BMP"), name + QStringLiteral("2.BMP")};
}

const QStringList& MainBarButtons() {
  static const QStringList s = L({"Nouveau", "Fiche", "Infos", "Web", "Aide", "Quitter"});
  return s;
}

const QStringList& EditorBarButtons() {
  static const QStringList s =
      L({"Avance", "Simple", "Fiche2", "Annuler", "Enregistrer", "Imprimer", "Aide2", "Retour"});
  return s;
}

QString MenuIconFile(const QString& title) {
  return QStringLiteral("icone ") + title + QStringLiteral(".bmp");
}
QString DefaultMenuIconFile() {
  return QStringLiteral("icone defaut.bmp");
}
QString ArrowFile(bool unfolded) {
  return unfolded ? QStringLiteral("updown1.bmp") : QStringLiteral("updown.bmp");
}

const QStringList& MenuTitleKeys() {
  static const QStringList s =
      L({"panel_modele", "panel_action", "panel_variante", "panel_album", "panel_gabarit", "panel_texte",
         "panel_image", "panel_couleur", "panel_format", "panel_groupe", "panel_calque", "panel_position",
         "panel_support", "panel_mirroir", "panel_boutons", "panel_carte", "panel_masque"});
  return s;
}

const std::vector<int>& MenuTitleMessages() {
  // 13: the catalogue's return item; 801 to 803: the image-effects window.
  static const std::vector<int> s = {13, 801, 802, 803};
  return s;
}

const QStringList& MenuFixedTitles() {
  static const QStringList s = L({"Papier à utiliser"});
  return s;
}

QString LabelGlyphFile(const QString& labelName) {
  return labelName + QStringLiteral(".png");
}

const QStringList& LabelNames() {
  static const QStringList s = [] {
    QStringList out = L({"zmlDupliquer",
                         "zmlCopier",
                         "zmlColler",
                         "zmlSupprimer",
                         "zmlSupprimerMesImages",
                         "zmlAjouterMesImages",
                         "zmlChoisirImageBase",
                         "zmlChoisirImageCD2",
                         "zmlChargerImagePersonnelle",
                         "zmlImporter",
                         "zmlEffetsGraphiques",
                         "zmlImageFond",
                         "zmlRedresser",
                         "zmlToutCopierAutreFace",
                         "zmlEffacerCetteFace",
                         "zmlChoisirTexteBase",
                         "zmlChoisirCouleurTransparante",
                         "zmlRepereSens",
                         "zmlRepereSorte",
                         "zmlRecadrerImage",
                         "zmlAjouterBordure",
                         "zmlChangerSupport",
                         "zmlChangerCouleurSupport",
                         "zmlEffacerImage",
                         "zmlEffacerToutesImages",
                         "zmlArboChoisirDossier"});
    for (int i = 1; i <= 15; ++i) out.append(QStringLiteral("zunoMenuLabel%1").arg(i));
    return out;
  }();
  return s;
}

QString ToggleButtonFile(const QString& fileName, bool active) {
  return fileName + (active ? QStringLiteral("1.bmp") : QStringLiteral("0.bmp"));
}

const QStringList& CaseItemButtons() {
  static const QStringList s = L({"dvd_1", "dvd_2", "dvd_3", "dvd_4", "dvd_5", "dvd_6"});
  return s;
}

const QStringList& DiscWizardButtons() {
  static const QStringList s = L({"dvd_audio", "dvd_data", "dvd_vierge", "dvd_sourcecd", "dvd_sourcemp3",
                                  "dvd_sourcealbum", "dvd_repertoire", "dvd_albumcd", "dvd_new"});
  return s;
}

const QStringList& WizardChooserKeys() {
  static const QStringList s = L({"wizard_dimension", "wizard_modele", "wizard_dvd", "wizard_support",
                                  "wizard_scrap", "wizard_etiquette", "wizard_fond", "wizard_album"});
  return s;
}

const QStringList& HelpChooserKeys() {
  static const QStringList s = L({"aide_pdf", "aide_video", "aide_glossaire", "aide_demo"});
  return s;
}

QString LayoutBadgeFile(int code) {
  return QStringLiteral("dvd_%1").arg(code) + QStringLiteral("0.bmp");
}

QString ToolGlyphFile(int tag, bool active) {
  return QStringLiteral("btn_%1%2.bmp")
      .arg(tag, 2, 10, QLatin1Char('0'))
      .arg(active ? QLatin1Char('a') : QLatin1Char('n'));
}

const std::vector<int>& ToolTags() {
  static const std::vector<int> s = {1, 4, 6, 5, 3, 7, 8, 9, 10, 201, 202, 11, 12, 205, 13};
  return s;
}

const QStringList& DialogGlyphs() {
  static const QStringList s =
      L({"btn_fic_add.bmp", "btn_fic_del.bmp", "btn_fic_save.bmp", "btn_fic_close.bmp", "btn_album_add.bmp",
         "btn_album_del.bmp", "btn_album_select.bmp", "btn_album_close.bmp"});
  return s;
}

QString CalibrationTypeFile(int type) {
  return QStringLiteral("ImprimerCalibre%1.bmp").arg(type);
}
int CalibrationTypeCount() {
  return 3;
}

QString WizardWelcomeFile(int language) {
  return QStringLiteral("AssistantModele_%1.bmp").arg(language);
}

const QStringList& FixedPictures() {
  static const QStringList s = L({"PanelPerso.bmp", "fond_right_etiquette.bmp", "fond_right_fond.bmp",
                                  "calibre_portrait.jpg", "calibre_paysage.jpg"});
  return s;
}

}  // namespace skin
