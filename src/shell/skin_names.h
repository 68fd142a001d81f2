// The names under which the program asks its skin folder for pictures and sections. The skinned
// widgets and windows build their file names here, and the installation test walks the same lists,
// so a skin that passes the test has every picture the program looks for.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace skin {

// Sections of "skin.txt": button bars, side menus and the fallback sections.
const QStringList& BarSections();       // "ecran1", "ecran2"
const QStringList& MenuSections();      // "ecran1_gauche", "ecran2_gauche", "ecran2_droite", "menu"
const QStringList& FallbackSections();  // "defaut" (ReadSkinValue), "Menu" (menus without ColorFond)

// Button bar: normal, pointer over, disabled.
QStringList BarButtonFiles(const QString& name);
const QStringList& MainBarButtons();    // the catalogue's bar
const QStringList& EditorBarButtons();  // the editor's bar, with both pictures of its mode button

// Side menus.
QString MenuIconFile(const QString& title);
QString DefaultMenuIconFile();
QString ArrowFile(bool unfolded);
// Keys and message numbers of the language file whose texts title the side-menu items.
const QStringList& MenuTitleKeys();
const std::vector<int>& MenuTitleMessages();
// Items titled by a fixed text.
const QStringList& MenuFixedTitles();

// Clickable labels take "name.png".
QString LabelGlyphFile(const QString& labelName);
const QStringList& LabelNames();

// Picture toggle buttons: file name + state digit + ".bmp".
QString ToggleButtonFile(const QString& fileName, bool active);
const QStringList& CaseItemButtons();    // "dvd_1" … "dvd_6": case items and sheet layouts
const QStringList& DiscWizardButtons();  // type, source and data-source buttons of the disc wizard
const QStringList& WizardChooserKeys();  // one button per wizard
const QStringList& HelpChooserKeys();    // one button per kind of help
// The sheet layout code's badge on a template preview.
QString LayoutBadgeFile(int code);

// Editor tool buttons: "btn_" + tag (two digits below 10) + "a"/"n" + ".bmp".
QString ToolGlyphFile(int tag, bool active);
const std::vector<int>& ToolTags();

// Push-button glyphs of the address-card and album windows.
const QStringList& DialogGlyphs();  // file names with ".bmp"

// Printer types of the calibration and print windows.
QString CalibrationTypeFile(int type);
int CalibrationTypeCount();

// The template wizard's welcome picture, per language number.
QString WizardWelcomeFile(int language);

// Single pictures named by the program.
const QStringList& FixedPictures();

}  // namespace skin
