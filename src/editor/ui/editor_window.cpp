#include "editor/ui/editor_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalogue/modele.h"
#include "catalogue/thumbnails.h"
#include "catalogue/ui/main_window.h"
#include "editor/canvas_engine.h"
#include "editor/ui/canvas_widget.h"
#include "editor/ui/mode_dialog.h"
#include "editor/ui/property_panel.h"
#include "editor/ui/tool_column.h"
#include "model/document.h"
#include "model/image.h"
#include "model/shapes.h"
#include "model/soft_host.h"
#include "print/ui/paper_dialog.h"
#include "records/album_cd.h"
#include "records/fiches.h"
#include "records/ui/album_dialog.h"
#include "records/ui/fiche_window.h"
#include "render/codecs.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/startup_log.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_barre.h"
#include "shell/user_dialogs.h"

namespace {

const QColor kCurrentFace(242, 125, 0);

bool Flag(const char* key) {
  return Soft() && Soft()->SoftFlag(QString::fromLatin1(key));
}

QString Formatted(QString text, const QString& value) {
  return text.replace(QLatin1String("%s"), value);
}

// Puts a file's earlier bytes back, replacing what is there in one step.
void PutBack(const QString& file, const QByteArray& bytes) {
  QSaveFile f(file);
  if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) f.commit();
}

// The busy pointer for the length of a command.
struct Busy {
  Busy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Busy() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TfmEditeur::TfmEditeur(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmEditeur"));
  setMinimumSize(600, 400);
  AskMode = [this] { return TfmModeEdition::Ask(this); };
  SaveHandler = [this] { Enregistrer(); };
  MakePaper = [this](TzunoCADMdl& model, QImage& bitmap) {
    return TfmPapier::ShowPapier(this, model, bitmap);
  };
  // Each part of the window is built on its own: a part that fails is logged and left out.
  auto block = [](int n, const std::function<void()>& work) {
    try {
      work();
    } catch (...) {
      Log(QStringLiteral("EXCEPT : CreateEditeur") + QString::number(n));
    }
  };
  Log(QStringLiteral("CreateEditeurStart"));
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("pFond"));
  auto* rows = new QVBoxLayout(central);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);

  block(1, [&] {
    Log(QStringLiteral("CreateEditeurStart2"));
    barre_ = new TzunoMenuBarre(central);
    barre_->setObjectName(QStringLiteral("barre"));
    if (Soft()) barre_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran2"));
    struct Entry {
      const char *key, *name;
      std::function<void()> handler;
    };
    const Entry fiche{"btn_fiche", "Fiche2", [this] { FicheChange(); }},
        annuler{"btn_annuler", "Annuler", [this] { Annuler(); }},
        enregistrer{"btn_enregistrer", "Enregistrer", [this] { SaveHandler(); }},
        imprimer{"btn_imprimer", "Imprimer", [this] { Imprimer(); }},
        aide{"btn_aide", "Aide2", [this] { Aide(); }},
        retour{"btn_retour", "Retour", [this] { BtnRetour(); }};
    std::vector<Entry> entries;
    if (Flag("ModeEditon")) entries.push_back({"btn_edit", "Avance", [this] { EditionChange(); }});
    if (Flag("ChangeOrdreBouton"))
      entries.insert(entries.end(), {enregistrer, annuler, imprimer, aide, fiche, retour});
    else
      entries.insert(entries.end(), {fiche, annuler, enregistrer, imprimer, aide, retour});
    for (const Entry& e : entries)
      barre_->AddButton(MLText(QString::fromLatin1(e.key)), e.handler, this, QString::fromLatin1(e.name));
    rows->addWidget(barre_);
  });

  block(2, [&] {
    Log(QStringLiteral("CreateEditeurStart3"));
    auto* left = new QWidget(central);
    left->setObjectName(QStringLiteral("pGauche"));
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->setSpacing(0);
    zunoMenu2_ = new TzunoCADMenu2(left);
    leftColumn->addWidget(zunoMenu2_, 1);
    if (Soft() && Soft()->ReadSoftString(QStringLiteral("LutinetMan")) == QLatin1String("1")) {
      // The mascot at half size, centred at the foot of the column, on its own background colour.
      const QImage mascot(Soft()->SkinPath + QStringLiteral("PanelPerso.bmp"));
      if (!mascot.isNull()) {
        auto* picture = new QLabel(left);
        picture->setObjectName(QStringLiteral("PersoLutinet"));
        picture->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        picture->setPixmap(QPixmap::fromImage(
            mascot.scaled(mascot.size() / 2, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        picture->setAutoFillBackground(true);
        QPalette pal = picture->palette();
        pal.setColor(QPalette::Window, mascot.pixelColor(0, 0));
        picture->setPalette(pal);
        leftColumn->addWidget(picture);
      }
    }
    left->setFixedWidth(zunoMenu2_->width());
    middle->addWidget(left);
    zunoMenu2_->Form()->OnTool = [this](int tag) { boutonsClick(tag); };
    zunoMenu2_->Form()->OnFace = [this](int face) { ShapeMouseDown(face); };
  });

  block(3, [&] {
    Log(QStringLiteral("CreateEditeurStart4"));
    view_ = new TzunoCADView(central);
    view_->setObjectName(QStringLiteral("pCAD"));
    view_->setAccessibleName(QStringLiteral("Page"));
    view_->Surface()->setAccessibleName(QStringLiteral("Page"));
    TzunoCADMdl& d = view_->Engine().Mdl();
    d.HighlightColor = RGBColor(153, 204, 255);
    d.WireframeDrag = false;
    ConnectToSoft(d);
    middle->addWidget(view_, 1);
  });

  block(4, [&] {
    Log(QStringLiteral("CreateEditeurStart5"));
    zunoMenu_ = new TzunoCADMenu(central);
    if (view_) zunoMenu_->SetCAD(&view_->Engine());
    zunoMenu_->Form()->OnPanelChange = [this](TfmZunoCADMenu*, int) { PanelChange(); };
    middle->addWidget(zunoMenu_);
  });
  rows->addLayout(middle, 1);
  setCentralWidget(central);

  block(5, [&] {
    Log(QStringLiteral("CreateEditeurStart6"));
    status0_ = new QLabel(this);
    status0_->setObjectName(QStringLiteral("StatusObjet"));
    status0_->setAccessibleName(MLText(QStringLiteral("editeur_objet")));
    status0_->setMinimumWidth(140);
    status1_ = new QLabel(this);
    status1_->setObjectName(QStringLiteral("StatusAide"));
    status1_->setAccessibleName(MLText(QStringLiteral("editeur_aide")));
    statusBar()->addWidget(status0_);
    statusBar()->addWidget(status1_, 1);
  });

  block(6, [&] {
    Log(QStringLiteral("CreateEditeurStart7"));
    if (!view_) return;
    TzunoCAD& cad = view_->Engine();
    cad.OnObjSelect = [this](TzunoCAD*, TzunoCADObj* obj) { ObjSelect(obj); };
    cad.OnChange = [this](TzunoCAD*, TzunoCADObj* obj) { Change(obj); };
    cad.OnAddSupp = [this](TzunoCAD*, TzunoCADObj*) { AddSupp(); };
    cad.OnObjMoved = [this](TzunoCAD*, TzunoCADObj*) { DessineFrise(); };
    cad.OnStep = [this](TzunoCAD*, TzunoCADObj*) { EnableEditButtons(true, true); };
  });

  block(7, [&] {
    Log(QStringLiteral("CreateEditeurStart8"));
    RempliPopupChamps();
  });
  // The usual keys; a text field that has the focus keeps its own undo, copy and paste.
  const std::pair<QKeySequence::StandardKey, std::function<void()>> keys[] = {
      {QKeySequence::Undo, [this] { Annuler(); }},
      {QKeySequence::Save, [this] { SaveHandler(); }},
      {QKeySequence::Copy,
       [this] {
         if (zunoMenu_ && CAD().Avance) zunoMenu_->Form()->CopyClick();
       }},
      {QKeySequence::Paste,
       [this] {
         if (zunoMenu_ && CAD().Avance) zunoMenu_->Form()->PasteClick();
       }},
  };
  for (const auto& [key, handler] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, handler);
  }
  TranslateWidget(this);
  resize(1280, 860);
  Log(QStringLiteral("CreateEditeurFin"));
}

TfmEditeur::~TfmEditeur() = default;

TzunoCAD& TfmEditeur::CAD() const {
  return view_->Engine();
}

TzunoMenuBouton* TfmEditeur::Button(const QString& name) const {
  return barre_ ? barre_->FindButton(name) : nullptr;
}

int TfmEditeur::Kind() const {
  return CAD().Mdl().Gabarit;
}

QString TfmEditeur::UniqueNewName(const QString& base) const {
  if (!Soft()) return base;
  const QString folder = Soft()->DocumentsPath;
  if (!QFileInfo::exists(folder + base + QStringLiteral(".mdl"))) return base;
  for (int n = 1;; ++n) {
    const QString name = base + QLatin1Char(' ') + QString::number(n);
    if (!QFileInfo::exists(folder + name + QStringLiteral(".mdl"))) return name;
  }
}

bool TfmEditeur::OuvreDocument(const QString& file) {
  Count(QStringLiteral("Show_Editeur_ChargeModele"));
  TzunoCADMdl& d = CAD().Mdl();
  if (QFileInfo::exists(file)) {
    if (!d.LoadFromFile(file)) {
      AskUser(MLText(QStringLiteral("ErreurLecture")).isEmpty()
                  ? QStringLiteral("Le fichier \"%1\" ne peut pas être lu.").arg(file)
                  : Formatted(MLText(QStringLiteral("ErreurLecture")), file),
              akError, abOK);
      return false;
    }
  } else {
    d.ClearObjets();
    d.Large = 297;
    d.Haut = 210;
  }
  DocName = QFileInfo(file).completeBaseName();
  DocFile = file;
  Initialise();
  Show();
  if (Soft() && Soft()->Debug) setWindowTitle(file);
  return true;
}

void TfmEditeur::NouveauDocument(int kind, double large, double haut) {
  Count(QStringLiteral("Show_Editeur_Nouveau"));
  const QString name = UniqueNewName(MLMessage(301));
  TzunoCADMdl& d = CAD().Mdl();
  d.ClearObjets();
  d.Large = large;
  d.Haut = haut;
  d.Gabarit = kind;
  d.ColorPapier = clWhite;
  DocName = name;
  DocFile = (Soft() ? Soft()->DocumentsPath : QString()) + name + QStringLiteral(".mdl");
  Initialise();
  Show();
}

void TfmEditeur::NouveauDepuisTexte(const QStringList& text) {
  Count(QStringLiteral("Show_Editeur_NouveauStrings"));
  QString base = MLMessage(301);
  for (const QString& line : text)
    if (line.startsWith(QLatin1String("Gabarit="))) {
      base += QLatin1Char('_') + line.mid(8).trimmed();
      break;
    }
  const QString name = UniqueNewName(base);
  TzunoCADMdl& d = CAD().Mdl();
  d.ClearObjets();
  d.LoadFromStrings(text);
  DocName = name;
  DocFile = (Soft() ? Soft()->DocumentsPath : QString()) + name + QStringLiteral(".mdl");
  Initialise();
  Show();
}

void TfmEditeur::Show() {
  const QString program = QApplication::applicationDisplayName();
  setWindowTitle(DocName.isEmpty() ? program : DocName + QStringLiteral(" - ") + program);
  // Without a window manager the window takes the screen, as maximised would.
  if (const QScreen* s = screen()) resize(s->availableSize());
  showMaximized();
  raise();
  activateWindow();
  view_->setFocus();
}

void TfmEditeur::Initialise() {
  TzunoCAD& cad = CAD();
  TzunoCADMdl& d = cad.Mdl();
  cad.Mode = 1;
  cad.Avance = !Flag("ModeEditionStartSimple");
  cad.SelectObj(nullptr);
  cad.AutoZoom = true;
  cad.ClearSnapshots();
  Saved = false;
  EnableEditButtons(false, false);
  d.SetFace(1);
  cleanText_ = d.SaveToStrings();
  const bool support = !d.GetEntete(QStringLiteral("SupportFichier")).isEmpty();
  if (zunoMenu_) {
    zunoMenu_->SetFormatCaptions(Kind());
    zunoMenu_->ListerCalque();
    zunoMenu_->ImageActualise();
    zunoMenu_->UpdateSections(nullptr);
  }
  if (zunoMenu2_) {
    TfmZunoCADMenu2* f = zunoMenu2_->Form();
    f->SetActiveTool(1);
    const int k = Kind();
    if (f->itemFace) f->pFace->setVisible((k == 0 || k == 2 || k == 3) && !support);
    f->pBoutons->setVisible(cad.Avance);
    f->Menu()->Layout(true);
  }
  DessineFrises();
  cad.RequestRepaint();
  view_->Tick();
}

void TfmEditeur::EnableEditButtons(bool undo, bool save) {
  if (auto* b = Button(QStringLiteral("Annuler"))) b->SetEnabled(undo);
  if (auto* b = Button(QStringLiteral("Enregistrer"))) b->SetEnabled(save);
}

void TfmEditeur::ObjSelect(TzunoCADObj* obj) {
  TzunoCAD& cad = CAD();
  // A placed object's selection belongs to the step its placing took.
  if (!cad.Restoring && !cad.Adding) {
    // A selection change that follows no edit keeps one step, so each undo changes something.
    cad.PushSnapshotIfChanged();
    EnableEditButtons(true, true);
  }
  if (zunoMenu_) zunoMenu_->UpdateSections(obj);
  if (zunoMenu2_) {
    TfmZunoCADMenu2* f = zunoMenu2_->Form();
    if (f->pBoutons->isHidden() == cad.Avance) {
      f->pBoutons->setVisible(cad.Avance);
      f->Menu()->Layout(true);
    }
  }
}

void TfmEditeur::Change(TzunoCADObj* obj) {
  TzunoCAD& cad = CAD();
  TzunoCADObj* shown = cad.SelectedObj();
  if (cad.Mode == 1 && cad.HoverObj()) shown = cad.HoverObj();
  if (status0_) {
    // The kind in the user's words when the language file names it.
    const QString kind = shown ? MLText(QStringLiteral("layer_") + shown->Name) : QString();
    status0_->setText(!kind.isEmpty() ? kind : shown ? shown->Name : QString());
  }
  int hint = 0;
  if (cad.Mode == 3) {
    hint = 409;
  } else if (TzunoCADObj* h = cad.HoverObj()) {
    const bool image = dynamic_cast<TzunoCADImage*>(h) != nullptr;
    if (dynamic_cast<TzunoCADLigne*>(h)) {
      if (h->HitCode >= 0) hint = h->HitCode % 3 == 0 ? 407 : 408;
    } else if (h->IsBox()) {
      if (h->HitCode == 0) hint = image ? 404 : 401;
      if (h->HitCode == 2) hint = image ? 405 : 402;
      if (h->HitCode == 3) hint = image ? 406 : 403;
    }
  }
  if (status1_) status1_->setText(hint ? MLMessage(hint) : QString());
  if (zunoMenu_) zunoMenu_->ShowValues(obj);
}

void TfmEditeur::AddSupp() {
  if (zunoMenu_) zunoMenu_->ListerCalque();
  if (zunoMenu2_) zunoMenu2_->Form()->SetActiveTool(1);
  DessineFrise();
}

void TfmEditeur::PanelChange() {
  if (auto* b = Button(QStringLiteral("Enregistrer")); b && !b->isEnabled()) b->SetEnabled(true);
}

void TfmEditeur::boutonsClick(int tag) {
  TzunoCAD& cad = CAD();
  cad.SelectIndex(-1);
  if (zunoMenu2_) zunoMenu2_->Form()->SetActiveTool(tag);
  if (tag >= 1 && tag <= 13) cad.Mode = tag;
  view_->setFocus();
}

void TfmEditeur::DrawFace(int face) {
  if (!zunoMenu2_) return;
  TfmZunoCADMenu2* f = zunoMenu2_->Form();
  if (!f->itemFace || f->pFace->isHidden()) return;
  TzunoCADMdl& d = CAD().Mdl();
  TApercuFace* target = f->Face(face);
  QImage picture(target->size(), QImage::Format_RGB888);
  if (picture.isNull()) return;
  const int current = d.CurrentFace;
  const bool refresh = d.RefreshImages;
  d.SetFace(face);
  d.RefreshImages = false;
  d.PreviewBackColor = RGBColor(233, 237, 242);
  d.DrawApercu(picture, 0);
  d.PreviewBackColor = clWhite;
  d.RefreshImages = refresh;
  d.SetFace(current);
  // The editor's own scales were used for the preview: the next render sets them again.
  CAD().RequestRepaint();
  const QColor frame = face == current ? kCurrentFace : QColor(Qt::black);
  if (d.Large > 0 && d.Haut > 0) {
    // The frame goes round the page, which the preview fits and centres.
    const double scale = std::min(picture.width() / d.Large, picture.height() / d.Haut);
    const QSizeF page(d.Large * scale, d.Haut * scale);
    const QRectF box(QPointF((picture.width() - page.width()) / 2, (picture.height() - page.height()) / 2),
                     page);
    QPainter p(&picture);
    p.setPen(QPen(frame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(1, 1, -1, -1));
  }
  target->SetPicture(picture);
  const int k = Kind();
  const QString label = MLMessage((k >= 2 && k <= 5 ? 110 : 100) + face);
  // Named apart from the bar's buttons: "Back" is a side here and a command there.
  target->setAccessibleName(Formatted(MLText(QStringLiteral("apercu_face")), label));
  QLabel* caption = f->FaceLabel(face);
  caption->setText(label);
  QPalette pal = caption->palette();
  pal.setColor(QPalette::WindowText, frame);
  caption->setPalette(pal);
}

void TfmEditeur::DessineFrise() {
  DrawFace(CAD().Mdl().CurrentFace == 2 ? 2 : 1);
}

void TfmEditeur::DessineFrises() {
  DrawFace(1);
  DrawFace(2);
}

void TfmEditeur::ShapeMouseDown(int face) {
  TzunoCAD& cad = CAD();
  TzunoCADMdl& d = cad.Mdl();
  d.SetFace(face);
  for (const auto& o : d.Objets()) o->Selected = false;
  cad.SelectObj(nullptr);
  if (cad.OnAddSupp) cad.OnAddSupp(&cad, nullptr);
  if (cad.OnObjSelect) cad.OnObjSelect(&cad, nullptr);
  if (cad.OnChange) cad.OnChange(&cad, nullptr);
  cad.RequestRepaint();
  DessineFrises();
}

void TfmEditeur::Annuler() {
  Count(QStringLiteral("Bouton2Annuler"));
  Busy busy;
  TzunoCAD& cad = CAD();
  if (cad.Undo()) DessineFrises();
  const bool left = cad.SnapshotCount() > 0;
  EnableEditButtons(left, left);
  view_->Tick();
}

QString TfmEditeur::ProposedName() const {
  QString name = DocName;
  if (Kind() != 0 && name.size() >= 2 && name[name.size() - 2] == QLatin1Char('.')) name.chop(2);
  return name;
}

void TfmEditeur::Enregistrer() {
  Count(QStringLiteral("Bouton2Enregistrer"));
  const QString proposed = ProposedName();
  QString n = proposed;
  Saved = false;
  if (!AskName(MLMessage(302), MLMessage(303), n) || n.trimmed().isEmpty()) return;
  n = n.trimmed();
  const int kind = Kind();
  const QString suffix = kind != 0 ? QLatin1Char('.') + QString::number(kind) : QString();
  QString folder = Soft() ? Soft()->DocumentsPath : QString();
  if (Soft() && Soft()->Debug) folder = QFileInfo(DocFile).absolutePath() + QLatin1Char('/');
  const QString file = folder + n + suffix + QStringLiteral(".mdl");
  if (QFileInfo::exists(file) && n != proposed &&
      AskUser(Formatted(MLMessage(304), n), akQuestion, abYes | abNo) != arYes)
    return;
  TzunoCADMdl& d = CAD().Mdl();
  Busy busy;
  for (const auto& o : d.Objets())
    if (auto* img = dynamic_cast<TzunoCADImage*>(o.get())) img->RetireSuffixes();
  QDir().mkpath(QFileInfo(file).absolutePath());
  // The preview first: whoever finds the document finds its preview beside it. A document that
  // cannot be written puts the old preview back.
  const QString preview = folder + n + suffix + QStringLiteral(".jpg");
  QFile oldPreview(preview);
  const bool hadPreview = oldPreview.open(QIODevice::ReadOnly);
  const QByteArray oldBytes = hadPreview ? oldPreview.readAll() : QByteArray();
  oldPreview.close();
  const int face = d.CurrentFace;
  d.SetFace(1);
  const int w = Soft() ? Soft()->ReadSoftInteger(QStringLiteral("ApercuLarge")) : 0,
            h = Soft() ? Soft()->ReadSoftInteger(QStringLiteral("ApercuHaut")) : 0;
  d.ExportJpegSupport(preview, w > 0 ? w : 160, h > 0 ? h : 160, RGBColor(128, 128, 128));
  d.SetFace(face);
  CAD().RequestRepaint();
  if (!d.SaveToFile(file)) {
    if (hadPreview)
      PutBack(preview, oldBytes);
    else
      QFile::remove(preview);
    // The document stays as it is in the window; nothing was replaced on disk.
    const QString text = MLText(QStringLiteral("ErreurEnregistrement"));
    AskUser(text.isEmpty() ? QStringLiteral("Le document n'a pas pu être enregistré dans \"%1\".").arg(file)
                           : Formatted(text, file),
            akError, abOK);
    return;
  }
  Saved = true;
  DocName = n + suffix;
  DocFile = file;
  cleanText_ = d.SaveToStrings();
  CAD().ClearSnapshots();
  EnableEditButtons(true, true);
  setWindowTitle(DocName + QStringLiteral(" - ") + QApplication::applicationDisplayName());
}

void TfmEditeur::SetSaveMode(TSaveMode mode) {
  if (mode == smEtiquette)
    SaveHandler = [this] { EnregistrerEtiquette(); };
  else if (mode == smFond)
    SaveHandler = [this] { EnregistrerFond(); };
  else
    SaveHandler = [this] { Enregistrer(); };
  if (!barre_ || !Soft()) return;
  if (mode == smEtiquette)
    barre_->SetRightPicture(QStringLiteral("fond_right_etiquette.bmp"));
  else if (mode == smFond)
    barre_->SetRightPicture(QStringLiteral("fond_right_fond.bmp"));
  else
    barre_->SetRightPicture(Soft()->ReadSkinValue(QStringLiteral("ecran2"), QStringLiteral("fond_right")));
}

QString TfmEditeur::NextDatedFile(const QString& folderKey, const QString& prefix,
                                  const QString& extension) const {
  QString sub = Soft()->ReadSoftString(folderKey);
  const QString folder = Soft()->ImagesPath + sub.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QDir().mkpath(folder);
  // The date's digits and two more: the labels of one day are numbered 01, 02 ...
  qint64 n = QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLongLong() * 100 + 1;
  auto name = [&] { return folder + prefix + QString::number(n) + extension; };
  while (QFileInfo::exists(name())) ++n;
  return name();
}

bool TfmEditeur::EnregistrerFond() {
  if (!Soft() || !MakePaper) return false;
  QImage paper;
  if (MakePaper(CAD().Mdl(), paper) != 1 || paper.isNull()) return false;
  Busy busy;
  const QString file =
      NextDatedFile(QStringLiteral("path_mesfonds"), QStringLiteral("pap0"), QStringLiteral(".jpg"));
  if (!SaveJpeg(paper, file)) {
    const QString text = MLText(QStringLiteral("ErreurEnregistrement"));
    AskUser(text.isEmpty() ? file : Formatted(text, file), akError, abOK);
    return false;
  }
  MakeThumb(file, Soft()->CacheImagesPath, 120, 120);
  AskUser(MLMessage(1004), akInformation, abOK);
  return true;
}

bool TfmEditeur::EnregistrerEtiquette() {
  if (!Soft()) return false;
  Busy busy;
  TzunoCADMdl& d = CAD().Mdl();
  const TColor paper = d.ColorPapier;
  const int quality = d.Quality;
  const bool outline = d.GabaritOnBitmaps;
  // Magenta is the picture's transparent colour: the paper must not show.
  d.ColorPapier = RGBColor(255, 0, 255);
  d.Quality = -1;
  d.GabaritOnBitmaps = false;
  const QString file =
      NextDatedFile(QStringLiteral("path_mesetiquettes"), QStringLiteral("eti0"), QStringLiteral(".bmp"));
  const bool written = d.ExportBmp(file, static_cast<int>(std::lround(d.Large / 25.4 * 150)),
                                   static_cast<int>(std::lround(d.Haut / 25.4 * 150)), clWhite);
  d.ColorPapier = paper;
  d.Quality = quality;
  d.GabaritOnBitmaps = outline;
  CAD().RequestRepaint();
  if (!written) {
    const QString text = MLText(QStringLiteral("ErreurEnregistrement"));
    AskUser(text.isEmpty() ? file : Formatted(text, file), akError, abOK);
    return false;
  }
  MakeThumb(file, Soft()->CacheImagesPath, 120, 120);
  AskUser(MLMessage(1003), akInformation, abOK);
  return true;
}

void TfmEditeur::Imprimer() {
  Count(QStringLiteral("Bouton2Imprimer"));
  if (!Soft()) return;
  const QString file = QDir(Soft()->UserPath).filePath(QStringLiteral("print_tmp.mdl"));
  if (!CAD().Mdl().SaveToFile(file)) {
    AskUser(QStringLiteral("\"%1\"").arg(file), akError, abOK);
    return;
  }
  CAD().RequestRepaint();
  emit Imprime(file);
}

void TfmEditeur::Aide() {
  Count(QStringLiteral("Bouton2Aide"));
  emit AideDemandee();
}

void TfmEditeur::EditionChange() {
  CAD().Avance = !CAD().Avance;
  ChangeModeEdition();
}

void TfmEditeur::ChangeModeEdition() {
  TzunoCAD& cad = CAD();
  if (TzunoMenuBouton* b = Button(QStringLiteral("Avance")); b && Soft()) {
    const QString base =
        Soft()->SkinPath + (cad.Avance ? QStringLiteral("Avance") : QStringLiteral("Simple"));
    b->SetPictures(QImage(base + QStringLiteral(".BMP")), QImage(base + QStringLiteral("1.BMP")),
                   QImage(base + QStringLiteral("2.BMP")));
  }
  if (zunoMenu2_) {
    TfmZunoCADMenu2* f = zunoMenu2_->Form();
    f->pBoutons->setVisible(cad.Avance);
    f->Menu()->Layout(true);
  }
  if (zunoMenu_) zunoMenu_->Form()->Menu()->Layout(true);
  if (cad.OnObjSelect) cad.OnObjSelect(&cad, cad.SelectedObj());
  cad.RequestRepaint();
}

void TfmEditeur::Activated() {
  if (Active) return;
  Active = true;
  TzunoCAD& cad = CAD();
  if (Flag("ModeEditon")) {
    if (Soft()->UserFlag(QStringLiteral("ModeEditionMasque")))
      cad.Avance = Soft()->UserFlag(QStringLiteral("ModeEditionAvance"));
    else
      cad.Avance = AskMode && AskMode() == 2;
  } else {
    cad.Avance = true;
  }
  ChangeModeEdition();
}

void TfmEditeur::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Asked after the activation has been handled, so the dialog does not nest inside it.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !Active && isVisible())
    QMetaObject::invokeMethod(
        this, [this] { Activated(); }, Qt::QueuedConnection);
}

void TfmEditeur::BtnRetour() {
  Count(QStringLiteral("Bouton2Retour"));
  TzunoCAD& cad = CAD();
  // Whatever differs from the document as opened or last saved is worth a question.
  const bool changed = cad.Mdl().SaveToStrings() != cleanText_;
  if (!(Soft() && Soft()->Debug) && changed) {
    const QString text = DocName.isEmpty() ? MLMessage(307) : Formatted(MLMessage(305), ProposedName());
    if (AskUser(text, akQuestion, abYes | abNo) == arYes) SaveHandler();
  }
  const bool saved = Saved;
  if (saved) CurrentModele().SetFile(DocFile);
  hide();
  Active = false;
  if (Soft()) Soft()->SetUserFlag(QStringLiteral("ModeEditionAvance"), cad.Avance);
  SetSaveMode(smDocument);
  emit Retour(saved);
}

void TfmEditeur::closeEvent(QCloseEvent* event) {
  // Closing the editor goes back to the catalogue; the program ends from there.
  event->accept();
  BtnRetour();
}

void TfmEditeur::FicheChange() {
  Count(QStringLiteral("Bouton2Fiche"));
  int source = 1;
  if (Flag("AlbumCD")) source = ChoixSourceDonnees(this);
  if (source == 2)
    ShowAlbumsCD(this);
  else if (source == 1)
    ShowRepertoire(this);
  else
    return;
  RelayoutFields();
}

void TfmEditeur::AlbumsCD() {
  ShowAlbumsCD(this);
  RelayoutFields();
}

void TfmEditeur::RelayoutFields() {
  // Merge fields take the records' new values.
  CAD().Mdl().RelayoutTextes();
  DessineFrises();
  CAD().RequestRepaint();
  view_->Tick();
  view_->Surface()->update();
}

void TfmEditeur::RempliPopupChamps() {
  if (!zunoMenu_) return;
  QList<QPair<QString, QStringList>> menus;
  // The address book's pages, each with the tags of its fields in their order.
  if (Soft()) {
    const std::vector<TFicheChamp> champs =
        ReadFicheChamps(Soft()->DataPath + QStringLiteral("fiches_champs_%1.def").arg(Soft()->Language()));
    const char* pages[] = {"fmFiche.tsPersonnel.Caption", "fmFiche.tsProfessionnel.Caption"};
    for (int page = 0; page < 2; ++page) {
      QStringList tags;
      for (const TFicheChamp& c : champs)
        if (c.Page == page && !c.Tag.isEmpty() && c.Kind != QLatin1String("TLabel")) tags << c.Tag;
      menus.append({MLText(QString::fromLatin1(pages[page])), tags});
    }
  }
  // The album fields, when the installation has CD albums.
  if (Flag("AlbumCD") && AlbumCD())
    menus.append({MLText(QStringLiteral("ChampsAlbumCD")), TfmAlbumCD::Tags(*AlbumCD())});
  QStringList tags;
  for (int i = 1;; ++i) {
    const QString tag = MLText(QStringLiteral("ChampDef") + QString::number(i));
    if (!tag.startsWith(QLatin1Char('<'))) break;
    tags << tag;
  }
  if (Soft() && Soft()->Debug)
    tags << QStringLiteral("<Texte1>") << QStringLiteral("<Texte2>") << QStringLiteral("<Texte3>");
  menus.append({MLMessage(420), tags});
  zunoMenu_->SetFieldMenus(menus);
}
