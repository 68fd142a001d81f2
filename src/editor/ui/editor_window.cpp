#include "editor/ui/editor_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QPainter>
#include <QVBoxLayout>

#include "model/document.h"
#include "model/soft_host.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/user_dialogs.h"

TDocumentView::TDocumentView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void TDocumentView::SetDocument(TzunoCADMdl* document) {
  document_ = document;
  Redraw();
}

void TDocumentView::Redraw() {
  picture_ = QImage();
  if (document_ && width() > 0 && height() > 0) {
    const int faces = std::max(1, document_->MaxFace());
    const int saved = document_->CurrentFace;
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(QColor(233, 237, 242));
    QPainter p(&picture_);
    const int w = width() / faces;
    for (int face = 1; face <= faces; ++face) {
      document_->SetFace(face);
      QImage one(w, height(), QImage::Format_RGB32);
      document_->PreviewBackColor = RGBColor(233, 237, 242);
      document_->DrawApercuSimple(one, 8);
      p.drawImage((face - 1) * w, 0, one);
    }
    document_->PreviewBackColor = clWhite;
    document_->SetFace(saved);
  }
  update();
}

void TDocumentView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (picture_.isNull())
    p.fillRect(rect(), QColor(233, 237, 242));
  else
    p.drawImage(0, 0, picture_);
}

void TDocumentView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

TfmEditeur::TfmEditeur(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmEditeur"));
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  bar_ = new TzunoMenuBarre(central);
  bar_->setObjectName(QStringLiteral("MenuBarre"));
  if (Soft()) bar_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran2"));
  bar_->AddButton(
      MLText(QStringLiteral("btn_retour")), [this] { BtnRetour(); }, this, QStringLiteral("Retour"));
  column->addWidget(bar_);
  view_ = new TDocumentView(central);
  view_->setObjectName(QStringLiteral("VueDocument"));
  column->addWidget(view_, 1);
  setCentralWidget(central);
  TranslateWidget(this);
  resize(1024, 740);
}

TfmEditeur::~TfmEditeur() = default;

void TfmEditeur::Show(const QString& title) {
  const QString program = QApplication::applicationDisplayName();
  setWindowTitle(title.isEmpty() ? program : title + QStringLiteral(" - ") + program);
  view_->setAccessibleName(title);
  view_->SetDocument(document_.get());
  show();
  raise();
  activateWindow();
}

bool TfmEditeur::OuvreDocument(const QString& file) {
  auto document = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ConnectToSoft(*document);
  if (!document->LoadFromFile(file)) {
    AskUser(QStringLiteral("Erreur : ") + file, akError, abOK);
    return false;
  }
  view_->SetDocument(nullptr);
  document_ = std::move(document);
  file_ = file;
  Show(QFileInfo(file).completeBaseName());
  return true;
}

void TfmEditeur::NouveauDocument(int, double large, double haut) {
  view_->SetDocument(nullptr);
  document_ = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), large, haut);
  ConnectToSoft(*document_);
  document_->Large = large;
  document_->Haut = haut;
  file_.clear();
  Show(MLMessage(301));
}

void TfmEditeur::NouveauDepuisTexte(const QStringList& text) {
  view_->SetDocument(nullptr);
  document_ = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
  ConnectToSoft(*document_);
  document_->LoadFromStrings(text);
  file_.clear();
  Show(MLMessage(301));
}

void TfmEditeur::BtnRetour() {
  hide();
  emit Retour();
}

void TfmEditeur::closeEvent(QCloseEvent* event) {
  // Closing the editor goes back to the catalogue; the program ends from there.
  event->accept();
  BtnRetour();
}
