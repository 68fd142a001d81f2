// The album window "Albums CD": the album list on the left, the current album's artist, title,
// year, genre and track list on the right, and the commands to add, delete, select and close.
// Every change is written to the album base at once; closing puts back the album current at opening.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TzunoAlbumCD;

class TfmAlbumCD : public QDialog {
  Q_OBJECT

 public:
  // `selection`: the selection mode of the CD/DVD wizard ("Ajouter" and "Supprimer" hidden).
  TfmAlbumCD(QWidget* owner, TzunoAlbumCD& base, bool selection = false);

  // Opens the add-album window (the CD/DVD wizard's add-album mode); true when it added an album
  // and made it current. Set by the wizard's library; when unset, "Ajouter" offers an empty album
  // or an album read from a folder of music files.
  static std::function<bool(QWidget*)> AddAlbumHook;

  // The tags the album fields answer ("<cdArtiste>" …), as the editor's field menu offers them.
  static QStringList Tags(const TzunoAlbumCD& base);

  // The current album into the fields / the fields into the current album (false, after telling
  // the user, when it could not be written).
  void Afficher();
  bool Ecrire();
  // Refills the list and selects the current album.
  void Remplir();
  void lbAlbumsClick(int row);
  void bAjouterClick();
  void bSupprimerClick();
  void bSelectionnerClick();
  void bFermerClick();

  QListWidget* lbAlbums;
  QLineEdit *eArtiste, *eAlbum, *eAnnee, *eGenre;
  QPlainTextEdit* reTitres;
  QPushButton *bAjouter, *bSupprimer, *bSelectionner, *bFermer;
  // Without an add-album window: where the new album comes from (1 empty, 2 a folder of music
  // files, 0 cancelled); ChoixNouvelAlbum unless replaced.
  std::function<int(QWidget*)> NouvelAlbum;

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the window's close box act as "Fermer".
  void reject() override;

 private:
  void Refuser();  // the base cannot be read: nothing may change
  TzunoAlbumCD& base_;
  int ouverture_ = 0;  // the album current at opening
  bool shown_ = false, readOnly_ = false;
};

// Opens the album window with all its commands (counted as "Show_AlbumCD"); true when it was closed
// by "Sélectionner". Does nothing (false) without an album base.
bool ShowAlbumsCD(QWidget* owner);
// The selection mode for the CD/DVD wizard (counted as "Show_AlbumCD_SelectionAlbum").
bool ChoixAlbum(QWidget* owner);

// Asks for a folder, reads its music files into an album, adds it to the base and makes it
// current. False when cancelled, when no music file could be read (the user is told) or when the
// album could not be written.
bool AjouteAlbumDossier(QWidget* owner, TzunoAlbumCD& base);
// Adds the empty album of the add-album window ("Nouvel artiste", "Nouvel album") and makes it
// current; false when it could not be written.
bool AjouteAlbumVide(TzunoAlbumCD& base);

// Where a new album comes from when no add-album window is set: 1 an empty album, 2 a folder of
// music files, 0 cancelled.
int ChoixNouvelAlbum(QWidget* owner);

// Which records the merge fields should be edited in: 1 the address book, 2 the CD albums, 0 none
// (cancelled). Asked by the catalogue and the editor when the installation has CD albums.
int ChoixSourceDonnees(QWidget* owner);
