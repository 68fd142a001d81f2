// The address book ("Répertoire"): the list of cards on the left, the card's fields on the pages
// "Personnel" and "Professionnel" built from the field-definition file, and its photo and logo.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;
class TzunoFiches;
struct TFicheChamp;

class TfmFiche : public QDialog {
  Q_OBJECT

 public:
  // Works on `fiches`; photo and logo files live in `userPath`.
  TfmFiche(QWidget* owner, TzunoFiches& fiches, const QString& userPath);
  ~TfmFiche() override;

  // Builds the field controls of the two pages from the definition file, replacing those there.
  void CreeChamps(const QString& definitionFile);
  // Fills the field controls from the card, and back (an empty field removes the card's line).
  void VersFormulaire(int index);
  void DepuisFormulaire(int index);

  // The handlers of the form's controls.
  void FormShow();
  void lbPersClick(int row);
  void cb100Change();
  void sbSauveClick();
  void sbAddClick();
  void sbSupprimeClick();
  void sbCloseClick();
  // Picks a picture for the current card's photo (logo false) or logo; Retire removes it.
  void ChoisitImage(bool logo, const QString& pictureFile);
  void RetireImage(bool logo);

  QListWidget* lbPers = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QScrollArea* ScrollBox[2] = {nullptr, nullptr};
  QWidget* tsMedia = nullptr;
  QLabel* imgPhoto = nullptr;
  QLabel* imgLogo = nullptr;
  QPushButton* sbPhoto = nullptr;
  QPushButton* sbLogo = nullptr;
  QPushButton* sbRetirePhoto = nullptr;
  QPushButton* sbRetireLogo = nullptr;
  QPushButton* sbAdd = nullptr;
  QPushButton* sbSupprime = nullptr;
  QPushButton* sbSauve = nullptr;
  QPushButton* sbClose = nullptr;
  // Where further commands of the address book go (after "Supprimer", before "Sauver").
  QWidget* pnCommandes = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void RefreshList();
  void SelectCurrent();
  void ShowImages();
  void PlaceChamps();
  // Asks message 581 when the card was edited; Yes saves it.
  void AskSave();

  struct TChamps;
  std::unique_ptr<TChamps> champs_;
  TzunoFiches& fiches_;
  QString userPath_;
  QString definitionFile_;
  QString nameAtSelection_;
  bool shown_ = false;
};

// Opens the address book on the program's cards, modally; true when it closed with OK. The card
// file is written when the book closes after a change.
bool ShowRepertoire(QWidget* owner);
