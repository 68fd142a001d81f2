// The shipped skin has every section and every picture the program asks its skin folder for.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "data_tests/installation_fixture.h"
#include "render/picture_io.h"
#include "shell/inifile.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/skin_names.h"

namespace {

const QString kHome = QStringLiteral(LORVANE_SOURCE_DATA);

struct Skin : InstallationFixture {
  // The exact name must exist (the skin is read on case-sensitive file systems too) and decode.
  QSize Picture(const QString& name) {
    const QString path = soft->SkinPath + name;
    EXPECT_TRUE(QFileInfo::exists(path)) << name.toStdString();
    const QImage image = LoadPicture(path);
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    return image.size();
  }
};

TEST_F(Skin, DefinitionFileHasEverySectionWithItsPictures) {
  const TIniFile ini(soft->SkinFile);
  for (const QString& section : skin::MenuSections() + QStringList{QStringLiteral("Menu")}) {
    SCOPED_TRACE(section.toStdString());
    // A menu section without its own colour would silently read the fallback section.
    const QString colour = ini.ReadString(section, QStringLiteral("ColorFond"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-Fa-f]{6}$")).match(colour).hasMatch())
        << colour.toStdString();
    Picture(ini.ReadString(section, QStringLiteral("bmpFond")));
    Picture(ini.ReadString(section, QStringLiteral("iconPanelName")));
    EXPECT_GT(ini.ReadInteger(section, QStringLiteral("Haut"), 0), 16);
  }
  for (const QString& section : skin::BarSections()) {
    SCOPED_TRACE(section.toStdString());
    const QSize background =
        Picture(ini.ReadString(section, QStringLiteral("fond"), QStringLiteral("fond.bmp")));
    const QSize right =
        Picture(ini.ReadString(section, QStringLiteral("fond_right"), QStringLiteral("fond_right.bmp")));
    EXPECT_EQ(right.height(), background.height());
    // Buttons, and the captions written 18 pixels above the bottom, fit on the background.
    const int top = ini.ReadInteger(section, QStringLiteral("margehaut"), 0);
    for (const QString& name : skin::MainBarButtons() + skin::EditorBarButtons())
      EXPECT_LE(top + Picture(skin::BarButtonFiles(name)[0]).height(), background.height() - 18)
          << name.toStdString();
  }
  EXPECT_EQ(soft->ReadSkinValue(QStringLiteral("ecran1_gauche"), QStringLiteral("FontSize")),
            QStringLiteral("10"));
}

TEST_F(Skin, EveryNamedPictureExists) {
  // Pictures that come in states share one size, so a button does not jump when its state changes.
  for (const QString& name : skin::MainBarButtons() + skin::EditorBarButtons()) {
    const QStringList files = skin::BarButtonFiles(name);
    const QSize normal = Picture(files[0]);
    EXPECT_EQ(Picture(files[1]), normal) << name.toStdString();
    EXPECT_EQ(Picture(files[2]), normal) << name.toStdString();
  }
  for (const QString& name : skin::CaseItemButtons() + skin::DiscWizardButtons() + skin::WizardChooserKeys() +
                                 skin::HelpChooserKeys())
    EXPECT_EQ(Picture(skin::ToggleButtonFile(name, false)), Picture(skin::ToggleButtonFile(name, true)))
        << name.toStdString();
  for (int code = 1; code <= 6; ++code) Picture(skin::LayoutBadgeFile(code));
  for (int tag : skin::ToolTags())
    EXPECT_EQ(Picture(skin::ToolGlyphFile(tag, false)), Picture(skin::ToolGlyphFile(tag, true)));
  for (const QString& name : skin::LabelNames()) Picture(skin::LabelGlyphFile(name));
  for (const QString& file : skin::DialogGlyphs()) Picture(file);
  for (int type = 0; type < skin::CalibrationTypeCount(); ++type) Picture(skin::CalibrationTypeFile(type));
  for (int language = 1; language <= 2; ++language) Picture(skin::WizardWelcomeFile(language));
  for (const QString& file : skin::FixedPictures()) Picture(file);
  Picture(skin::DefaultMenuIconFile());
  EXPECT_EQ(Picture(skin::ArrowFile(false)), Picture(skin::ArrowFile(true)));
  Picture(soft->ReadSoftString(QStringLiteral("skin_panel")));
  EXPECT_FALSE(LoadPicture(kHome + QStringLiteral("/logo.bmp")).isNull());
}

TEST_F(Skin, EveryMenuTitleHasItsIconInEachLanguage) {
  for (int language = 1; language <= 2; ++language) {
    MLSetLanguage(language);
    QStringList titles;
    for (const QString& key : skin::MenuTitleKeys()) titles.append(MLText(key));
    for (int number : skin::MenuTitleMessages()) titles.append(MLMessage(number));
    titles += skin::MenuFixedTitles();
    for (const QString& title : titles) {
      ASSERT_FALSE(title.isEmpty());
      Picture(skin::MenuIconFile(title));
    }
  }
}

TEST(SkinNames, FollowTheNamingRules) {
  const struct {
    QString got, want;
  } cases[] = {
      {skin::ToolGlyphFile(1, true), QStringLiteral("btn_01a.bmp")},
      {skin::ToolGlyphFile(13, false), QStringLiteral("btn_13n.bmp")},
      {skin::ToolGlyphFile(205, true), QStringLiteral("btn_205a.bmp")},
      {skin::ToggleButtonFile(QStringLiteral("dvd_1"), false), QStringLiteral("dvd_10.bmp")},
      {skin::ToggleButtonFile(QStringLiteral("dvd_1"), true), QStringLiteral("dvd_11.bmp")},
      {skin::LayoutBadgeFile(3), QStringLiteral("dvd_30.bmp")},
      {skin::BarButtonFiles(QStringLiteral("Nouveau")).join(QLatin1Char(',')),
       QStringLiteral("Nouveau.BMP,Nouveau1.BMP,Nouveau2.BMP")},
      {skin::MenuIconFile(QStringLiteral("Texte")), QStringLiteral("icone Texte.bmp")},
      {skin::ArrowFile(true), QStringLiteral("updown1.bmp")},
      {skin::CalibrationTypeFile(2), QStringLiteral("ImprimerCalibre2.bmp")},
      {skin::WizardWelcomeFile(2), QStringLiteral("AssistantModele_2.bmp")},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got.toStdString(), c.want.toStdString());
}

}  // namespace
