// The editor window: one document edited at a time. The button bar on top, the tool and face column
// on the left, the property panel on the right, the canvas in the middle and a two-part status bar.
// Created once at start-up and hidden until the catalogue or a wizard opens a document in it.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QLabel;
class TzunoCAD;
class QImage;
class TzunoCADMdl;
class TzunoCADMenu;
class TzunoCADMenu2;
class TzunoCADObj;
class TzunoCADView;
class TzunoMenuBarre;
class TzunoMenuBouton;

class TfmEditeur : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmEditeur(QWidget* parent = nullptr);
  ~TfmEditeur() override;

  // The three ways in: a template or document file, a blank page of a kind and size in millimetres,
  // a document given as its text. Each shows the window. OuvreDocument is false (and shows nothing)
  // for a file that exists but cannot be read.
  bool OuvreDocument(const QString& file);
  void NouveauDocument(int kind, double large, double haut);
  void NouveauDepuisTexte(const QStringList& text);

  // Bar commands.
  void Annuler();
  // Asks for a name and saves; the handler the "Enregistrer" button runs unless a wizard replaced it.
  void Enregistrer();
  // The label wizard's save: the page as a picture among the user's labels ("eti0" + a number of
  // today's date), with its thumbnail; false when it could not be written.
  bool EnregistrerEtiquette();
  // The paper wizard's save: a decorative paper made of the page repeated, among the user's
  // backgrounds ("pap0" + a number of today's date) with its thumbnail; false when cancelled or not
  // written.
  bool EnregistrerFond();
  // What "Enregistrer" does until the window closes: save the document, a label or a paper (with the
  // bar's picture for each).
  enum TSaveMode { smDocument, smEtiquette, smFond };
  void SetSaveMode(TSaveMode mode);
  // The paper dialog: 1 and the paper in `bitmap` on OK.
  std::function<int(TzunoCADMdl& model, QImage& bitmap)> MakePaper;
  void Imprimer();
  void Aide();
  void BtnRetour();
  void EditionChange();
  void ChangeModeEdition();
  // Tool buttons by tag: canvas modes 1-13.
  void boutonsClick(int tag);
  // Face previews: the current face's, both; a click on a preview.
  void DessineFrise();
  void DessineFrises();
  void ShapeMouseDown(int face);
  void RempliPopupChamps();
  // The address book; then the document's texts take the cards' new values.
  void FicheChange();

  TzunoCAD& CAD() const;
  TzunoCADView* View() const { return view_; }
  TzunoCADMenu* Panel() const { return zunoMenu_; }
  TzunoCADMenu2* Tools() const { return zunoMenu2_; }
  TzunoMenuBarre* Bar() const { return barre_; }
  QLabel* StatusPanel(int i) const { return i == 0 ? status0_ : status1_; }
  TzunoMenuBouton* Button(const QString& name) const;
  // The name a save proposes: DocName without its kind suffix.
  QString ProposedName() const;

  QString DocName, DocFile;
  bool Saved = false;
  bool Active = false;
  // The save handler the "Enregistrer" button runs (wizards replace it; closing puts it back).
  std::function<void()> SaveHandler;
  // The simple/advanced choice when the settings do not decide: 2 advanced, 1 simple.
  std::function<int()> AskMode;

 signals:
  // Back to the catalogue; `saved` when a save of this session wrote the document (the catalogue's
  // current template then is that file).
  void Retour(bool saved);
  // Help, as the catalogue gives it.
  void AideDemandee();
  // The document to print, written to a file of its own.
  void Imprime(const QString& file);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Initialise();
  void Show();
  void ObjSelect(TzunoCADObj* obj);
  void Change(TzunoCADObj* obj);
  void AddSupp();
  void PanelChange();
  void EnableEditButtons(bool undo, bool save);
  int Kind() const;
  // The next free "prefix0" + yymmdd00 + n + extension in a folder of the images, made when missing.
  QString NextDatedFile(const QString& folderKey, const QString& prefix, const QString& extension) const;
  QString UniqueNewName(const QString& base) const;
  void DrawFace(int face);
  void Activated();

  TzunoMenuBarre* barre_ = nullptr;
  TzunoCADMenu* zunoMenu_ = nullptr;
  TzunoCADMenu2* zunoMenu2_ = nullptr;
  TzunoCADView* view_ = nullptr;
  QLabel *status0_ = nullptr, *status1_ = nullptr;
  // The document's text when opened or last saved: leaving asks to save only when it differs.
  QStringList cleanText_;
};
