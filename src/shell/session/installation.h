// One installation opened for a program: every program (the windows, lorvane-cli, the content tool)
// opens its installation here and wires no process-wide object itself.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TSoft;
class TUserDialogs;
class TzunoCADMdl;
class TzunoFiches;

struct TInstallationOptions {
  // The per-user data folder; empty uses the platform's.
  QString AppDataPath;
  // The command-line arguments after the program name ("debug" turns on the settings' Debug).
  QStringList Arguments;
  // How questions and messages reach the user: the program's dialogs (not owned), or, when null,
  // quietly: each one is written to standard error after "ProgramName: " and answered with
  // "nothing pressed". Only the dialogs differ between programs, never what files resolve to.
  TUserDialogs* Dialogs = nullptr;
  QString ProgramName = QStringLiteral("lorvane");
  // The installation settings file; empty means "lorvane.ini" in the installation folder (the
  // program's chooser may pick another one).
  QString SettingsFile;
  // Registers the ".ttf" files of the data folder's "fonts" folder for this process, as the program
  // does at start-up, so that texts are measured alike everywhere.
  bool Fonts = true;
};

// What an open installation set up, in this order: the settings object, the language file and its
// language, the paths, the decimal separator and display unit, the fonts, the dialogs, and the
// document host. It owns them; its end undoes them in reverse order.
class TInstallation {
 public:
  ~TInstallation();
  TInstallation(const TInstallation&) = delete;
  TInstallation& operator=(const TInstallation&) = delete;

  const QString& Home() const { return home_; }
  TSoft& Soft() const { return *soft_; }

  // The one resolver of the names documents store: the installation's picture folders
  // (FindImageFile), "" when none has the file.
  QString ResolveFile(const QString& name) const;
  // Gives a document that resolver and the settings' merge fields, as the program's documents have.
  void Connect(TzunoCADMdl& document) const;

  // The program-wide address cards: read when the installation opens, written when it ends if they
  // changed. They answer the settings' merge fields and are the process's Fiches().
  TzunoFiches& Fiches() const;

  // The program registers the data folder's fonts late in its start-up (options.Fonts false) and
  // removes them before it ends; an installation still holding them removes them at its end.
  void InstallFonts();
  void RemoveFonts();
  bool FontsInstalled() const;

 private:
  friend std::unique_ptr<TInstallation> OpenInstallation(const QString&, const TInstallationOptions&,
                                                         QString*);
  struct Parts;
  TInstallation();

  QString home_;
  std::unique_ptr<TSoft> soft_;
  std::unique_ptr<Parts> parts_;
};

// The installation folder: the given one, else LORVANE_HOME, else the installed share/lorvane beside
// the program, else the source tree's data/ folder.
QString FindHome(const QString& given);

// Opens the installation in `home` (its "lorvane.ini" and "lorvane.tra"). Null, with the message the
// program shows in `error`, when a file is missing ("Not found : " and the file) or when another
// installation is open in the process.
std::unique_ptr<TInstallation> OpenInstallation(const QString& home, const TInstallationOptions& options,
                                                QString* error = nullptr);
