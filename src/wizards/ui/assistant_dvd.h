// The CD/DVD wizard. Its add-album mode is built: the source page (disc lookup, music files, new
// empty album), the drive page with the lookup, the lookup result and the music-file page. The
// other pages keep their places so the page numbers stay those of the whole wizard.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QThread;
class TCddb;
class TzunoImageBase;
class TzunoImageBtn;
struct TMusicAlbum;

class TfmAssistantDVD : public QDialog {
 public:
  enum Page { pSource = 0, pDrive = 1, pResult = 2, pMusic = 4, pCount = 11 };

  TfmAssistantDVD(QWidget* owner, int mode);
  ~TfmAssistantDVD() override;

  // Mode 2: adds an album to the album base and makes it current; true when one was added.
  static bool AjouteAlbumAssistant(QWidget* owner);

  int Mode = 2;
  int SourceAudio = 0;
  // key=value lines of the album being made (during a lookup: the entry lines received).
  QStringList Album;
  // Every status text of the lookup, in order.
  QStringList Statuts;

  // Form handlers, as the wizard names them.
  void bSuiClick();
  void bPreClick();
  void CbDrivesChange();
  void AudioTypeClick();
  void AjouteDossier();
  void AjouteFichiers();
  // Stops a lookup under way, or a reading of music files.
  void StopRecherche();

  QStackedWidget* Pages = nullptr;
  QComboBox* CbDrives = nullptr;
  QLineEdit *eCDDBServerAddr = nullptr, *eCDDBServerAddr2 = nullptr, *eCDDBServerPort = nullptr;
  QListWidget* lbStatus = nullptr;
  QPushButton *bPre = nullptr, *bSui = nullptr, *bFermer = nullptr, *bStop = nullptr;
  TzunoImageBtn *iAudioSourceCD = nullptr, *iAudioSourceMP3 = nullptr, *iAudioSourceAlbum = nullptr;
  QLineEdit *eArtiste2 = nullptr, *eAlbum2 = nullptr, *eAnnee2 = nullptr, *eGenre2 = nullptr;
  QPlainTextEdit* mTitres2 = nullptr;
  QLineEdit *eArtiste4 = nullptr, *eAlbum4 = nullptr, *eAnnee4 = nullptr, *eGenre4 = nullptr;
  QListWidget* lbPistes4 = nullptr;
  QPushButton *bFichiers4 = nullptr, *bDossier4 = nullptr;
  TCddb& Cddb() { return *cddb_; }

 protected:
  void reject() override;

 private:
  void ShowPage(int page);
  void SetSuivant(bool finish, bool enabled);
  void CddbMatch(const QStringList& matches, int& rightOne);
  void CddbStatusMessage(const QString& status);
  void WMRead();
  void ShowStatus(const QString& status);
  void Busy(bool busy);
  void ReadMusic(const QStringList& files, const QString& folder);
  void MusicRead(const TMusicAlbum& album);
  bool AddAlbum(const QStringList& lines);

  QLabel *lbTitre = nullptr, *lbSousTitre = nullptr, *lbEtat = nullptr, *lbAlbumSource = nullptr;
  TzunoImageBase* images_ = nullptr;
  std::unique_ptr<TCddb> cddb_;
  QStringList titres4_;
  QThread* reader_ = nullptr;
  bool readerCancelled_ = false;
};

// Shown by the lookup when the server offers matches: the index chosen, or -1 when cancelled.
int ChoixAlbumTrouve(QWidget* owner, const QStringList& matches);
