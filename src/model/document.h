// One document: a page in millimetres, header lines and the ordered list of drawing objects, with
// the text file format that stores it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "model/object.h"
#include "render/canvas.h"
#include "shell/textfile.h"

class TzunoCADMdl;
struct TNestedReading;

// What a document needs from the editor control that shows it.
class TDocumentEditor {
 public:
  virtual ~TDocumentEditor() = default;
  // The objects the editor pointed at may be gone: forget the hovered and selected ones.
  virtual void ForgetObjects() = 0;
  // An object of a document showing in this editor (its own or a group's nested one) is about to be
  // freed; it is still alive and still in the document's list. The default forgets everything.
  virtual void ObjetSupprime(TzunoCADMdl* document, TzunoCADObj* obj) { ForgetObjects(); }
  // Colours of hovered and selected objects and of the handle under the pointer.
  virtual TColor HoverColor() const { return RGBColor(0, 0, 255); }
  virtual TColor SelectColor() const { return RGBColor(255, 0, 0); }
  virtual TColor HotHandleColor() const { return RGBColor(255, 255, 0); }
  // Advanced mode: objects can be moved, resized and turned, and show their handles.
  virtual bool ModeAvance() const { return true; }
  // Ctrl held: lines offer their control points before their anchors.
  virtual bool CtrlDown() const { return false; }
};

class TzunoCADMdl {
 public:
  using ChampFusionEvent = std::function<void(TzunoCADObj* sender, const QString& field, QString& value)>;
  using CheminFichierEvent = std::function<void(TzunoCADMdl* document, QString& fileName)>;

  // The work bitmap takes the rectangle's pixel size and the scales follow from it.
  TzunoCADMdl(TDocumentEditor* editor, QRect pixels, double large, double haut);
  ~TzunoCADMdl();
  TzunoCADMdl(const TzunoCADMdl&) = delete;
  TzunoCADMdl& operator=(const TzunoCADMdl&) = delete;

  // Files and text.
  bool LoadFromFile(const QString& fileName);
  bool SaveToFile(const QString& fileName);
  void LoadFromStrings(const QStringList& lines);
  const QStringList& SaveToStrings();
  QString GetEntete(const QString& key) const;
  void SetEntete(const QString& key, const QString& value);
  const QStringList& Text() const { return text_; }

  // Object list.
  TzunoCADObj* CreateObjet(const QString& typeName);
  void DeleteObjet(TzunoCADObj* obj);
  TzunoCADObj* CloneObjet(TzunoCADObj* obj);
  // Moves the object at `from` to index `to` (both clamped to the list); the others keep their order.
  void MoveObjet(int from, int to);
  void ClearObjets();
  void DupliquerFace(int from, int to);
  void SupprimerFace(int face);
  int CountFace(int face) const;
  int MaxFace() const;
  void SetFace(int face) { CurrentFace = face; }
  int CountHorsPage(bool recentre);
  QString ResoudreFichier(const QString& fileName);
  // Merge fields ("<Nom>") replaced by the values OnChampFusion gives; values are taken as they are,
  // never searched for fields themselves.
  QString SubstituteFields(TzunoCADObj* sender, const QString& text);

  // Content operations by object code and file name (document_content.cpp). Codes compare exactly;
  // objects are visited in list order.
  bool RemplaceImage(const QString& oldName, const QString& newName, const QString& code, bool fit);
  bool RemplaceToutesImages(const QString& newName, bool fit);
  bool RemplaceImageParCode(const QString& code, const QString& newName, bool fit);
  QString GetContenuParCode(const QString& code);
  TzunoCADObj* SetContenuParCode(const QString& code, const QString& value);
  bool SetTexteParCode(const QString& code, const QString& text, const QString& newCode);
  // Without folders, each picture's own folder is searched for files of its extension.
  int CompteVariantesImages(const QStringList* folders = nullptr);
  bool ChoisirVarianteImage(const QStringList* folders, int index);
  bool SetSupport(const QString& name, bool fit);
  QString ListeVariantesSupport(QStringList& list, int axis);
  void Redimensionner(double newHeight, double newWidth);
  void RelayoutTextes();
  void ConvertirChampsPro(bool pro, const QString& field, const QString& fieldFile);

  int Count() const { return static_cast<int>(objects_.size()); }
  TzunoCADObj* Objet(int i) const { return objects_[static_cast<size_t>(i)].get(); }
  int IndexOf(const TzunoCADObj* obj) const;
  const std::vector<std::unique_ptr<TzunoCADObj>>& Objets() const { return objects_; }

  // Drawing: the page as the editor shows it, the objects alone for output, the item's overlay.
  void DrawPage(TCanvas& canvas, QRect rect);
  // DrawPage in parts, for an editor that keeps layers: the paper with its folds and grid (and the
  // scales), then the objects, then the deferred frames and handles of every object.
  void DrawPageBase(TCanvas& canvas, QRect rect);
  void DrawHighlights(TCanvas& canvas);
  void DrawDirect(TCanvas& canvas, QRect rect);
  void DrawGabaritApres(TCanvas& canvas, QRect rect, bool mask);
  void DrawPliures(TCanvas& canvas);
  void DrawGrille(TCanvas& canvas);
  void DrawLigneMm(TCanvas& canvas, double x1, double y1, double x2, double y2);
  // Renderings into bitmaps (24-bit, already sized by the caller); smoothing by double size and a
  // box reduction unless Quality is above 6.
  void DrawBitmap(QImage& bitmap);
  void DrawSupport(QImage& bitmap, bool recolour);
  // A preview centred in a picture of the control's size, with a margin in percent.
  void DrawApercu(QImage& image, int margin);
  void DrawApercuSimple(QImage& image, int margin);
  bool ExportBmp(const QString& fileName, int maxWidth, int maxHeight, TColor frame);
  bool ExportJpeg(const QString& fileName, int maxWidth, int maxHeight, TColor frame);
  bool ExportJpegSupport(const QString& fileName, int maxWidth, int maxHeight, TColor frame);
  // The picture the exports save: null when the page or the limits leave nothing to draw.
  QImage ExportImage(int maxWidth, int maxHeight, TColor frame, bool support);
  // The overlay cache and its key (tests look at them).
  const QImage& OverlayCache() const { return overlay_; }
  const QString& OverlayKey() const { return overlayKey_; }

  // Mapping between millimetres and device pixels.
  int MmToPxX(double x) const;
  int MmToPxY(double y) const;
  QPoint MmToPx(QPointF p) const;
  double PxToMmX(double n) const { return PixelsPerMmX == 0 ? n : n / PixelsPerMmX; }
  double PxToMmY(double n) const { return PixelsPerMmY == 0 ? n : n / PixelsPerMmY; }

  TCanvas& MeasureCanvas() { return *measureCanvas_; }
  QImage& WorkBitmap() { return workBitmap_; }
  TDocumentEditor* Editor() const { return editor_; }

  // Names of the kinds of printed item, by `Gabarit` code.
  static QString GabaritName(int code);
  static int GabaritCode(const QString& name);

  ChampFusionEvent OnChampFusion;
  CheminFichierEvent OnCheminFichier;
  // Told, like the editor, before an object is freed (DeleteObjet, ClearObjets and so every reload,
  // SupprimerFace, the content operations), while it is still in the list: whoever keeps object
  // pointers lets that one go. Destroying the document tells no one.
  std::function<void(TzunoCADObj* obj)> OnObjetSupprime;
  // A random number below the bound, for ChoisirVarianteImage's index -1; unset uses the process's
  // generator. Tests and reproducible batches install a seeded one.
  std::function<int(int bound)> Hasard;
  int CurrentFace = 1;
  double OriginX = 0, OriginY = 0;
  double Large = 0, Haut = 0;
  double Rotation = 0;
  double PixelsPerMmX = 0, PixelsPerMmY = 0;
  double FriseX = 0;
  bool WireframeDrag = true;
  bool DrawPlaceholders = true;
  bool RefreshImages = true;
  bool ShowAllFrames = false;
  int Quality = 0;
  bool FillShapes = true;
  int StencilView = 0;
  bool ShowHandles = true;
  bool ShowFrames = true;
  // Frames and handles are drawn after every object (an editor's choice), so a later object never
  // hides the handles of the selected one.
  bool DeferHighlights = false;
  bool GabaritOnBitmaps = true;
  TColor HighlightColor = RGBColor(153, 204, 255);
  TColor PreviewBackColor = clWhite;
  TColor ColorPapier = clWhite;
  TColor ThumbFrameColor = clWhite;
  TColor SupportFrameColor = clWhite;
  bool Grid = false;
  bool MagneticGrid = false;
  int Gabarit = 0;
  // Files whose nested documents are being read, so that a group naming itself stops there.
  QStringList LoadingFiles;
  // The nested documents of the read in progress, shared by its groups (group.h); null outside a read.
  std::shared_ptr<TNestedReading> NestedReading;

 private:
  void ApplyHeader(QStringList& header, const QString& key, const QString& value, bool remove);
  // The document's text, line by line, as SaveToStrings makes it.
  void WriteLines(const std::function<void(QStringView indent, QString line)>& add);
  // Tells the editor and OnObjetSupprime that an object is about to be freed.
  void AnnonceSuppression(TzunoCADObj* obj);
  void DrawObjects(TCanvas& canvas);
  // Renders the page into a bitmap (the given size, or twice it and reduced).
  bool RenderInto(QImage& bitmap, const std::function<void(QImage& work)>& draw);
  // The support's printable size when the document names one and it is known; else empty.
  QSizeF KnownSupportSize();
  bool Export(const QString& fileName, int maxWidth, int maxHeight, TColor frame, bool support, bool jpeg);
  void Apercu(QImage& image, int margin, bool allowSupport);

  TDocumentEditor* editor_;
  QStringList text_;
  QImage workBitmap_;
  QImage overlay_;
  QString overlayKey_;
  std::unique_ptr<TCanvas> measureCanvas_;
  std::vector<std::unique_ptr<TzunoCADObj>> objects_;
};
