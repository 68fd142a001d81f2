#include "shell/session/installation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <vector>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "model/soft_host.h"
#include "records/album_cd.h"
#include "records/fiches.h"
#include "records/record_fields.h"
#include "records/text_library.h"
#include "shell/fonts.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

bool g_open = false;

// Questions without anyone to answer them: said on standard error, answered "nothing pressed".
class TQuietDialogs : public TUserDialogs {
 public:
  explicit TQuietDialogs(QString program) : program_(std::move(program)) {}
  int AskUser(const QString& text, int kind, int buttons) override {
    std::fprintf(stderr, "%s: %s\n", program_.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return arNone;
  }
  bool BrowseFolder(const QString& title, QString& folder) override { return false; }
  bool InputName(const QString&, const QString&, QString&) override { return false; }
  bool SaveFileName(const QString&, QString&, int*) override { return false; }

 private:
  QString program_;
};

// Qt's standard buttons and its file, colour and font dialogs speak the chosen language: the
// language file's "QtLocale" names each language's locale ("fr", "en"), whose Qt catalogues are
// loaded from Qt's translations folder when a Qt application runs.
void LoadQtTranslations(std::vector<std::unique_ptr<QTranslator>>& translators) {
  QCoreApplication* app = QCoreApplication::instance();
  const QString locale = MLText(QStringLiteral("QtLocale")).trimmed();
  if (!app || locale.isEmpty()) return;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalogue : {"qtbase"}) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(locale), QString::fromLatin1(catalogue), QStringLiteral("_"), folder))
      continue;
    if (app->installTranslator(translator.get())) translators.push_back(std::move(translator));
  }
}

}  // namespace

struct TInstallation::Parts {
  std::unique_ptr<TQuietDialogs> quiet;
  TSoftHost host;
  TzunoAlbumCD albums;
  QString fonts;  // the folder whose fonts were registered, empty when none
  // What was in place before, put back at the end.
  TSoft* soft = nullptr;
  TObjectHost* objectHost = nullptr;
  TUserDialogs* dialogs = nullptr;
  TzunoAlbumCD* albumsBefore = nullptr;
  TzunoFiches* fiches = nullptr;
  QChar separator;
  double u2m = 1;
  QString unitName;
  // Qt's own texts in the installation's language; a translator leaves the application as it goes.
  std::vector<std::unique_ptr<QTranslator>> translators;
  // The predefined texts, read at their first use.
  TzunoChoixTextes texts;
  TzunoChoixTextes* previousTexts = nullptr;
  std::unique_ptr<TzunoFiches> cards;
  std::unique_ptr<TRecordFields> recordFields;
};

TInstallation::TInstallation() : parts_(std::make_unique<Parts>()) {}

TInstallation::~TInstallation() {
  Parts& p = *parts_;
  if (p.cards && !p.cards->Store(*soft_))
    AskUser(MLText(QStringLiteral("FichesNonEnregistrees")).replace(QLatin1String("%s"), soft_->FichesFile),
            akError, abOK);
  soft_->Fields = nullptr;
  SetFiches(p.fiches);
  p.recordFields.reset();
  p.cards.reset();
  p.translators.clear();
  SetChoixTextes(p.previousTexts);
  SetObjectHost(p.objectHost);
  SetAlbumCD(p.albumsBefore);
  SetUserDialogs(p.dialogs);
  RemoveFonts();
  SetUnitName(p.unitName);
  SetU2M(p.u2m);
  SetDecimalSeparator(p.separator);
  SetSoft(p.soft);
  MLFree();
  g_open = false;
}

QString TInstallation::ResolveFile(const QString& name) const {
  return soft_->FindImageFile(name);
}

void TInstallation::Connect(TzunoCADMdl& document) const {
  TSoft* soft = soft_.get();
  document.OnCheminFichier = [soft](TzunoCADMdl*, QString& name) { name = soft->FindImageFile(name); };
  document.OnChampFusion = [soft](TzunoCADObj*, const QString& field, QString& value) {
    value = soft->FieldValue(field);
  };
}

void TInstallation::InstallFonts() {
  if (!parts_->fonts.isEmpty()) return;
  parts_->fonts = soft_->DataPath + QStringLiteral("fonts");
  ::InstallFonts(parts_->fonts);
}

void TInstallation::RemoveFonts() {
  if (parts_->fonts.isEmpty()) return;
  ::RemoveFonts(parts_->fonts);
  parts_->fonts.clear();
}

TzunoAlbumCD& TInstallation::Albums() const {
  return parts_->albums;
}

TzunoFiches& TInstallation::Fiches() const {
  return *parts_->cards;
}

bool TInstallation::FontsInstalled() const {
  return !parts_->fonts.isEmpty();
}

QString FindHome(const QString& given) {
  if (!given.isEmpty()) return QFileInfo(given).absoluteFilePath();
  const QString env = qEnvironmentVariable("LORVANE_HOME");
  if (!env.isEmpty()) return QFileInfo(env).absoluteFilePath();
  const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/lorvane");
  if (QFileInfo(installed).isDir()) return QFileInfo(installed).canonicalFilePath();
  return QStringLiteral(LORVANE_SOURCE_DATA);
}

std::unique_ptr<TInstallation> OpenInstallation(const QString& home, const TInstallationOptions& options,
                                                QString* error) {
  auto fail = [error](const QString& message) {
    if (error) *error = message;
    return std::unique_ptr<TInstallation>();
  };
  if (g_open) return fail(QStringLiteral("an installation is already open"));
  const QString ini =
      options.SettingsFile.isEmpty() ? home + QStringLiteral("/lorvane.ini") : options.SettingsFile;
  const QString tra = QStringLiteral("lorvane.tra");
  if (!QFileInfo(ini).isFile())
    return fail(QStringLiteral("Not found : ") + QFileInfo(ini).absoluteFilePath());
  if (!QFileInfo(home + QLatin1Char('/') + tra).isFile()) return fail(QStringLiteral("Not found : ") + tra);

  std::unique_ptr<TInstallation> in(new TInstallation);
  g_open = true;
  TInstallation::Parts& p = *in->parts_;
  p.soft = ::Soft();
  p.objectHost = ObjectHost();
  p.dialogs = UserDialogs();
  p.albumsBefore = AlbumCD();
  p.fiches = ::Fiches();
  p.separator = DecimalSeparator();
  p.u2m = U2M();
  p.unitName = UnitName();

  in->home_ = home;
  in->soft_ = std::make_unique<TSoft>(ini, TSoftOptions{home, options.AppDataPath, options.Arguments});
  TSoft& soft = *in->soft_;
  MLFree();
  MLSetProgramFolder(home);
  MLCreate(tra);
  MLSetLanguage(soft.Language());
  MLSetDebug(soft.ReadSoftString(QStringLiteral("DebugTrad")) == QLatin1String("1"));
  LoadQtTranslations(p.translators);
  soft.InitialisePaths();
  // The program forces "," and then takes the setting's first character; the display unit follows
  // the settings too.
  SetDecimalSeparator(QLatin1Char(','));
  const QString sep = soft.ReadSoftString(QStringLiteral("DecimalSeparator"));
  if (!sep.isEmpty()) SetDecimalSeparator(sep[0]);
  const double u2m = ReadReal(soft.ReadSoftString(QStringLiteral("u2m")));
  if (u2m > 0) SetU2M(u2m);
  SetUnitName(soft.ReadSoftString(QStringLiteral("UnitName")));
  if (options.Fonts) in->InstallFonts();
  SetSoft(&soft);
  if (!options.Dialogs) p.quiet = std::make_unique<TQuietDialogs>(options.ProgramName);
  SetUserDialogs(options.Dialogs ? options.Dialogs : p.quiet.get());
  // Objects' messages are the program's message boxes.
  p.host.OnMessage = [](const QString& text) { AskUser(text, akWarning, abOK); };
  SetObjectHost(&p.host);
  p.previousTexts = ChoixTextes();
  SetChoixTextes(&p.texts);
  // The album base: the user's file, the shipped one until the user has a copy.
  p.albums.FileName = soft.AlbumCDFile;
  p.albums.InstalledFileName = soft.DataPath + QFileInfo(soft.AlbumCDFile).fileName();
  // The program's main window reports key names missing from the language file; other programs
  // (the tool, tests with small language files) go on without them.
  p.albums.ChargeCles(false);
  SetAlbumCD(&p.albums);
  // The address cards and the current album answer the merge fields of every document.
  p.cards = std::make_unique<TzunoFiches>();
  p.cards->ReadKeysFromLanguage();
  QString damaged;
  p.cards->Open(soft, &damaged);
  p.cards->ReadCurrent(soft);
  p.recordFields = std::make_unique<TRecordFields>(*p.cards, p.albums);
  soft.Fields = p.recordFields.get();
  SetFiches(p.cards.get());
  if (!damaged.isEmpty()) AskUser(damaged, akWarning, abOK);
  return in;
}
