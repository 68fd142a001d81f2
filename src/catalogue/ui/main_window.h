// The catalogue window: the program's main window, alive from start-up to exit. A skinned button bar
// on top, the folding side menu with the category tree and the action panels on the left, and either
// the grid of a folder's template previews or the large view of one template with its faces.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QTreeWidgetItem;
class TzunoApercuModele;
class TzunoApercuTree;
class TzunoCADMdl;
class TzunoImageBtn;
class TzunoMenu;
class TzunoMenuBarre;
class TzunoMenuItem;
class TzunoMenuLabel;
class TzunoPreviewProgress;

// One face of the large view: its picture, pressed to open the template in the editor.
class TApercuFace : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TApercuFace(QWidget* parent);
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

class TfmMain : public QMainWindow {
  Q_OBJECT
 public:
  // The name of the debug node listing the templates that failed to draw.
  static QString BuggedName();

  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;

  // Whether the window may close now: without Debug the user confirms (message 108).
  bool FormCloseQuery();

  // Bar handlers.
  void Nouveau();
  void Fiche();
  void About();
  void SiteWeb();
  void Aide();
  void BtnQuitter();

  // Panel entries by tag (action 101-199, gabarit buttons 401-406, album 501-502).
  void Action(int tag);
  void PreviewClick();
  // The editor saved a document: the documents node is read again and, for a user document, chosen.
  void ActualiseEtSelectionne();
  void BrowseModelePath();
  void ChangeModeleCategorie();
  void EnregistrerImage();
  void RenomeAlbumSelect();
  void SupprimeAlbumSelect();
  // A wizard made documents: the variants folder is shown.
  void AssistantModeleFin();

  // The grid view of a folder; the template view of a template (its ".mdl" or its preview's path);
  // one of the current template's sheet variants.
  void AfficheDossier(const QString& folder);
  void AfficheModele(const QString& file);
  void AfficheGabarit(const QString& file);
  void DessineApercu();
  void CategorieChange(QTreeWidgetItem* node);
  // The templates of every category whose name holds the text (letter case and accents ignored);
  // an empty text shows the selected node's folder again.
  void Recherche(const QString& text);
  // The template's name and its size in millimetres, as the grid's cells tell them.
  static QString TemplateHint(const QString& modele);

  // Wizards by their settings key ("wizard_dvd" …): a wizard takes part in "Nouveau" when its flag is
  // on and it is registered here.
  std::map<QString, std::function<void()>> Wizards;

  bool ShowingTemplate() const;
  TzunoMenuBarre* Bar() const { return bar_; }
  TzunoMenu* Menu() const { return menu_; }
  TzunoApercuTree* Tree() const { return tree_; }
  TzunoApercuModele* Grid() const { return grid_; }
  TzunoApercuModele* SheetGrid() const { return sheets_; }
  TzunoPreviewProgress* Progress() const { return progress_; }
  TApercuFace* Recto() const { return recto_; }
  TApercuFace* Verso() const { return verso_; }
  TzunoCADMdl* PreviewModel() const { return apercu_.get(); }
  TzunoMenuItem* ActionItem() const { return actionItem_; }
  TzunoMenuItem* GabaritItem() const { return gabaritItem_; }
  TzunoMenuItem* AlbumItem() const { return albumItem_; }
  TzunoMenuItem* ReturnItem() const { return returnItem_; }
  TzunoMenuItem* TemplatesItem() const { return templatesItem_; }
  QFrame* SheetPanel() const { return sheetPanel_; }
  QLineEdit* SearchField() const { return search_; }
  // The line shown over an empty grid ("" when none).
  QString EmptyHint() const;
  // The folder the grid shows ("" before the first one).
  const QString& ShownFolder() const { return folder_; }
  // The templates of the grid's cells, in order.
  const QStringList& ShownTemplates() const { return modeles_; }
  // The templates that failed to draw in this session.
  const QStringList& Bugged() const { return bugged_; }

 signals:
  // The window closed; the program's loop ends.
  void Closed();
  // The window was painted for the first time.
  void FirstPaint();
  // Hand-overs to the editor: a template or document file, a blank page of a kind and size in
  // millimetres, a document given as its text.
  void OuvreDocument(const QString& file);
  void NouveauDocument(int kind, double large, double haut);
  void NouveauDepuisTexte(const QStringList& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void FormResize();
  void Block(int number, bool logOk, const std::function<void()>& work);
  void CreateBar();
  void CreateMenu();
  void CreateGabaritItem();
  void CreateMascot();
  void CreateTree();
  void CreateSheetPanel();
  void CreateTemplateView();
  void CreateGrid();
  void FillTree();
  void AttachTree();
  void DetachTree();
  void SelectDocumentsNode();
  void SelectNodeQuietly(const QString& path);
  TzunoMenuLabel* AddEntry(QWidget* panel, const QString& name, const QString& caption, int tag);
  QString DocumentsFolder() const;
  QString AlbumOfNode(const QTreeWidgetItem* node) const;
  void PlaceFaces();
  // The templates panel takes the side menu's height left by the other items, so that the sheet
  // layout buttons below it stay in sight on small screens.
  void FitTemplatesPanel();
  void LayoutMenu();
  void ShowList(const QString& folder, const QStringList& list, bool gabaritCase);

  TzunoMenuBarre* bar_ = nullptr;
  TzunoMenu* menu_ = nullptr;
  QWidget* left_ = nullptr;
  QWidget* templatesPanel_ = nullptr;
  QComboBox* categories_ = nullptr;
  TzunoApercuTree* tree_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLabel* emptyHint_ = nullptr;
  QTimer searchDelay_;
  TzunoApercuModele* grid_ = nullptr;
  TzunoApercuModele* sheets_ = nullptr;
  TzunoPreviewProgress* progress_ = nullptr;
  QStackedWidget* views_ = nullptr;
  QWidget* gridPage_ = nullptr;
  QWidget* templatePage_ = nullptr;
  QWidget* faces_ = nullptr;
  TApercuFace* recto_ = nullptr;
  TApercuFace* verso_ = nullptr;
  QRadioButton* modes_[3] = {};
  QCheckBox* frieze_ = nullptr;
  QFrame* sheetPanel_ = nullptr;
  QWidget* mascot_ = nullptr;
  TzunoMenuItem* templatesItem_ = nullptr;
  TzunoMenuItem* actionItem_ = nullptr;
  TzunoMenuItem* gabaritItem_ = nullptr;
  TzunoMenuItem* albumItem_ = nullptr;
  TzunoMenuItem* returnItem_ = nullptr;
  TzunoMenuLabel* deleteEntry_ = nullptr;
  TzunoMenuLabel* pictureEntry_ = nullptr;
  std::array<TzunoImageBtn*, 6> gabaritButtons_ = {};
  std::array<bool, 6> gabaritOn_ = {true, true, false, true, false, false};
  std::unique_ptr<TzunoCADMdl> apercu_;
  QTimer minutes_;
  QTimer redraw_;
  QString folder_;
  QStringList modeles_;
  QStringList variants_;
  QStringList bugged_;
  QString retour_;
  int faceMode_ = 1;
  int columns_ = -1;
  bool firstShow_ = true;
  bool painted_ = false;
  bool changing_ = false;
  bool destroyed_ = false;
};
