// The one settings object: installation settings, per-user settings, every folder and table file of
// the program, and the lookups documents call while they load and draw.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "shell/inifile.h"

// Answers for merge fields that come from records (address cards, albums).
class TFieldSource {
 public:
  virtual ~TFieldSource() = default;
  virtual bool HasCards() = 0;
  // A field of the current address card ("NomPre" …).
  virtual QString CardField(const QString& name) = 0;
  // An album field ("cdtitre" …), name in lower case.
  virtual QString AlbumField(const QString& name) = 0;
};

struct TSoftOptions {
  QString ExePath;        // the installation folder
  QString AppDataPath;    // the per-user data folder; empty uses the platform's
  QStringList Arguments;  // command-line arguments after the program name
};

class TSoft {
 public:
  TSoft(const QString& iniFile, const TSoftOptions& options);

  QString ReadSoftString(const QString& key) const;
  int ReadSoftInteger(const QString& key) const;
  bool WriteSoftString(const QString& key, const QString& value);
  bool SoftFlag(const QString& key) const;
  QString ReadUserString(const QString& key) const;
  bool WriteUserString(const QString& key, const QString& value);
  int ReadUserInteger(const QString& key) const;
  bool WriteUserInteger(const QString& key, int value);
  bool UserFlag(const QString& key) const;
  bool SetUserFlag(const QString& key, bool on);
  QString ReadSkinValue(const QString& section, const QString& key) const;

  // Computes every folder and table file; needs the language file (folder names).
  void InitialisePaths();
  // A stored picture reference as a full path with "|" and the file's digest, or "".
  QString FindImageFile(const QString& reference);
  QString FindVariantFile(const QString& reference);
  QString FieldValue(const QString& name);
  void CreateUserFolders();
  void CopyTablesToUser();
  // The problems of the installation, one per line after a line break; empty when none.
  QString CheckInstallation();
  // The language number of the table file names ("Langue", default 1).
  int Language() const;

  TIniFile UserIni;
  TIniFile SoftIni;
  bool Debug = false;
  QString Societe, Nom, Code, Web;
  QString ExePath, ModelesPath, ImagesPath, ClipartsPath, FormesPath, MasquesPath, SupportsPath;
  QString UserPath, DocumentsPath, UserImagesPath, VariantesPath, WizardImagesPath;
  QString CacheModelesPath, CacheClipartsPath, CacheImagesPath, ImagesInternetPath;
  QString DataPath, SkinPath, GabaritsPath, GabaritsAudioPath, GabaritsDataPath, GabaritsViergePath;
  QString PapiersDimFile, PapiersGabFile, FichesFile, FormatsFile, MailingFile, TextesFile, AlbumCDFile;
  QString SupportsFile, SkinFile, DocumentsName, UserIniFile, SoftIniFile;
  QStringList ImageFolders;
  QStringList CustomColors;
  TFieldSource* Fields = nullptr;
  // The online fetch of a picture by its checksum into a folder; returns the file or "".
  std::function<QString(const QString& checksum, const QString& folder)> FetchImage;

 private:
  // The digest of a file, kept while its size and time stay the same.
  QString Digest(const QString& path);
  struct DigestEntry {
    qint64 size;
    QDateTime stamp;
    QString digest;
  };
  QHash<QString, DigestEntry> digests_;
};

// The first of base + ".jpg", ".jpeg", ".bmp", ".png", ".emf", ".wmf" that exists, else "".
QString ImageFileFor(const QString& base);
// The part of a reference before its first "|".
QString ReferenceName(const QString& reference);

// The program's settings object, null until start-up creates it.
TSoft* Soft();
void SetSoft(TSoft* soft);
