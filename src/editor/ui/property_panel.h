// The property column at the right of the editor: one folding section per topic (page format,
// position, colours, text, picture, masks, shapes, calendar, folder tree, barcode, mirror, layers and
// actions). UpdateSections picks the sections for the selection, ShowValues fills the controls and
// every control's change runs ChangeMenu, which writes all of them back; the Updating guard keeps
// the filling from writing back.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "render/gdi_types.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class TLayerList;
class TzunoApercuModele;
class TzunoCAD;
class TzunoCADObj;
class TzunoCADImage;
class TzunoMenu;
class TzunoMenuItem;
class TzunoMenuLabel;
class TzunoSpin;
class TzunoThumb;

// A colour swatch: a framed rectangle of its colour; a click opens the colour dialog.
class TPanelSwatch : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TPanelSwatch(QWidget* parent);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  QSize sizeHint() const override { return {40, 18}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TColor color_ = clWhite;
};

class TfmZunoCADMenu : public QWidget {
  Q_OBJECT
 public:
  explicit TfmZunoCADMenu(QWidget* parent = nullptr);
  ~TfmZunoCADMenu() override;

  void SetCAD(TzunoCAD* cad);
  TzunoCAD* CAD() const { return cad; }
  void UpdateSections(TzunoCADObj* obj);
  void ShowValues(TzunoCADObj* obj);
  // Copies every control into the document and the selection; `sender` is the control that changed.
  void ChangeMenu(QObject* sender = nullptr);
  void ListerCalque();
  void CalqueSelect();
  void ImageActualise();
  // The merge-field tags the "<x>" popup offers.
  void SetFieldTags(const QStringList& tags);
  // The same in submenus: each a caption and its tags.
  void SetFieldMenus(const QList<QPair<QString, QStringList>>& menus);
  // Page-format spin captions for a template kind ("DVD%d-n"); the editor sets them on opening.
  void SetFormatCaptions(int kind);
  // Window lines of the language file, then the accessible names from the captions.
  void Translate();
  // Accessible names from the captions.
  void NameControls();

  // Actions (tags as ActionClick dispatches them).
  void ActionClick(int tag);
  void CopyClick();
  void PasteClick();
  void RepereSensClick();
  void RepereSorteClick();
  void AncrageClick(int code);
  void ChampsClick(const QString& text);
  void ImageThumbClick(const QString& thumbFile);
  void MasqueThumbClick(const QString& file);
  void MasqueAucunClick();
  void FormeThumbClick(const QString& file);
  void FillShapePanel(TzunoCADObj* obj);
  void SwatchClick(TPanelSwatch* swatch);
  void FontButtonClick(int which);  // 0 days, 1 figures, 2 saints
  // Debug: merge fields of the document to their professional form, or back.
  void ToPRO(bool pro);

  bool Updating = false;
  QString ShapeFolder;
  // Called after every ChangeMenu (code 0), after the commands and choosers that change the document
  // (1) and after a lock or a drop in the layer list (2).
  std::function<void(TfmZunoCADMenu* sender, int code)> OnPanelChange;

  // Sections.
  QWidget *pModele, *pSupport, *pPosition, *pCalque, *pAction, *pCouleur, *pImage, *pMasque, *pGroupe,
      *pTexte, *pCal, *pMirroir, *pArbo, *pCodeBarre;
  // Page format.
  QLabel *lbModele1, *lbModele2, *lbModele3, *lbCouleurPapier;
  TzunoSpin *seModele1, *seModele2, *seModele3;
  QCheckBox* cbProportions;
  QToolButton *sbPRO, *sbPER;
  TPanelSwatch* shCouleurPapier;
  // Support preview.
  QLabel* imSupport;
  // Position.
  QLabel *lbX, *lbY, *lbL, *lbH, *lbR;
  TzunoSpin *seX, *seY, *seL, *seH, *seR;
  // Layers.
  TLayerList* lbCalque;
  // Actions.
  TzunoMenuLabel *zmlDupliquer, *zmlCopier, *zmlColler, *zmlSupprimer, *zmlSupprimerMesImages,
      *zmlAjouterMesImages, *zmlChargerImagePersonnelle, *zmlImageFond, *zmlRedresser,
      *zmlToutCopierAutreFace, *zmlEffacerCetteFace, *zmlRepereSens, *zmlRepereSorte;
  // Pen and brush.
  QLabel *lbPen, *lbEpaisseur, *lbBrushStyle, *lbBrush;
  TPanelSwatch *shPen, *shBrush;
  TzunoSpin* seEpaisseur;
  QComboBox* cbBrushStyle;
  // Picture chooser.
  QComboBox* cbImageCode;
  TzunoApercuModele* amImages;
  // Masks.
  QComboBox* cbMasque;
  TzunoThumb* jtMasque;
  QCheckBox* cbInverser;
  QLabel *lbMarge, *lbBordure, *lbMasqueCouleur;
  TzunoSpin *seMarge, *seBordure;
  TPanelSwatch* shMasqueBordure;
  QToolButton* bMasque;
  // Shapes.
  QComboBox* cbForme;
  TzunoThumb* jtForme;
  QLabel* lbTampon;
  TPanelSwatch* shTampon;
  // Text.
  QToolButton *sbGras, *sbItalique, *sbSouligne, *sbGauche, *sbCentre, *sbDroite, *sbTexteChamps, *sbAncrage;
  TPanelSwatch* sbTextColor;
  QComboBox* cbFont;
  QPlainTextEdit* mmTexte;
  QLineEdit* eTexteCode;
  QCheckBox* cbTous;
  QMenu *pmChamps, *pmAncrage;
  int Ancrage = 0;
  // Calendar.
  QLabel *lbMois, *lbAnnee, *lbCoin;
  TzunoSpin *seMois, *seAnnee;
  QComboBox* cbCoin;
  QCheckBox *cbJours, *cbChiffres, *cbFond, *cbDimanche, *cbSaints;
  TPanelSwatch *shJours, *shChiffres, *shFond, *shDimanche;
  QToolButton *sbJours, *sbChiffres, *sbSaints;
  // Mirror.
  QCheckBox *cbMiroirH, *cbMiroirV;
  // Folder tree.
  QComboBox* cbArboFont;
  QToolButton *sbArboGras, *sbArboItalique, *sbArboSouligne;
  TPanelSwatch* sbArboCouleur;
  QLabel *lbColonnes, *lbProfondeur;
  TzunoSpin *seColonnes, *seProfondeur;
  QCheckBox* cbVoirFichiers;
  TzunoMenuLabel* zmlArboChoisirDossier;
  // Barcode.
  QLabel *lbCodeBarre, *lbCBCouleur, *lbCBFond;
  QLineEdit* eCodeBarre;
  TPanelSwatch *shCBCouleur, *shCBFond;
  QCheckBox* cbCBTransparent;
  // Controls of no section, carried through the show/apply cycle.
  QWidget* pCache;
  TzunoSpin *seZoomX, *seZoomY, *seRectCote, *seBordureL, *seBordureH, *seRotation;
  QCheckBox *cbZoomAuto, *cbIdentique, *cbGrille, *cbGrilleMagnetique, *cbBordureCadre, *cbFill;
  QListWidget* lbBordureStyle;

  TzunoMenu* Menu() const { return menu_; }
  TzunoMenuItem* Item(QWidget* section) const;
  // The visible action labels, top to bottom.
  QList<TzunoMenuLabel*> VisibleActions() const;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Build();
  void BuildFormat();
  void BuildPosition();
  void BuildActions();
  void BuildCouleur();
  void BuildImage();
  void BuildMasque();
  void BuildGroupe();
  void BuildTexte();
  void BuildCal();
  void BuildArbo();
  void BuildCodeBarre();
  void BuildHidden();
  void Register();
  TzunoMenuLabel* AddAction(const char* name, const char* caption, int tag, std::function<void()> handler);
  void UpdateActions(TzunoCADObj* obj);
  void ShowFormat();
  void ApplyFormat(QObject* sender);
  void AffichePositionControls(TzunoCADObj* obj);
  void AfficheSupport();
  void LayoutText(bool advanced);
  void Changed();
  void Notify(int code);
  // Adds a file to the user's pictures with its thumbnail; the path of the copy, "" on failure.
  QString AddToMyPictures(const QString& file);
  void MagentaCheck(TzunoCADImage* img);
  void FillMaskCategories();
  void ShowMaskCategory();
  void ShowShapeCategory();
  void ArboChoisirDossier();
  void ChangeArboMenu();
  bool Advanced() const;
  QString MasquesFolder() const;
  QString UserImages() const;
  TzunoCADObj* Selected() const;

  TzunoCAD* cad = nullptr;
  TzunoMenu* menu_ = nullptr;
  QList<QPair<QWidget*, QWidget*>> named_;  // label, control: the control's accessible name
  QList<TzunoMenuLabel*> actions_;
  QStringList fieldTags_;
  QWidget* pModeleRow3_ = nullptr;
  int formatKind_ = -1;
  int captionKind_ = 0;
  double ratio_ = 0;  // width / height of the page as last shown
  bool layoutPending_ = false;
};

// The panel the editor window places at its right: the form above, sized to the accordion.
class TzunoCADMenu : public QWidget {
  Q_OBJECT
 public:
  explicit TzunoCADMenu(QWidget* parent = nullptr);
  TfmZunoCADMenu* Form() const { return form_; }
  void SetCAD(TzunoCAD* cad) { form_->SetCAD(cad); }
  void UpdateSections(TzunoCADObj* obj) { form_->UpdateSections(obj); }
  void ShowValues(TzunoCADObj* obj) { form_->ShowValues(obj); }
  void SetFieldTags(const QStringList& tags) { form_->SetFieldTags(tags); }
  void SetFieldMenus(const QList<QPair<QString, QStringList>>& menus) { form_->SetFieldMenus(menus); }
  void SetFormatCaptions(int kind) { form_->SetFormatCaptions(kind); }
  void ImageActualise() { form_->ImageActualise(); }
  void ListerCalque() { form_->ListerCalque(); }

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  TfmZunoCADMenu* form_;
};
