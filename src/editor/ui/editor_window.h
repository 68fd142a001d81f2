// The editor window: created at start-up, hidden until a document is opened. Until the editing
// tools arrive it shows the document's faces read-only, with the way back to the catalogue.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <memory>

class TzunoCADMdl;
class TzunoMenuBarre;

// The document's faces fitted side by side into the widget.
class TDocumentView : public QWidget {
  Q_OBJECT
 public:
  explicit TDocumentView(QWidget* parent = nullptr);
  void SetDocument(TzunoCADMdl* document);
  // Draws the faces again at the present size.
  void Redraw();
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TzunoCADMdl* document_ = nullptr;
  QImage picture_;
};

class TfmEditeur : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmEditeur(QWidget* parent = nullptr);
  ~TfmEditeur() override;

  // The three ways in: a template or document file, a blank page of kind 0 and a size in millimetres,
  // a document given as its text. Each shows the window.
  bool OuvreDocument(const QString& file);
  void NouveauDocument(int kind, double large, double haut);
  void NouveauDepuisTexte(const QStringList& text);

  TzunoCADMdl* Document() const { return document_.get(); }
  // The file shown ("" for a new document).
  const QString& FileName() const { return file_; }
  TDocumentView* View() const { return view_; }
  TzunoMenuBarre* Bar() const { return bar_; }
  // Hides the window and goes back to the catalogue.
  void BtnRetour();

 signals:
  void Retour();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Show(const QString& title);

  std::unique_ptr<TzunoCADMdl> document_;
  QString file_;
  TzunoMenuBarre* bar_ = nullptr;
  TDocumentView* view_ = nullptr;
};
