// The action section of the property panel and the picture, mask and shape choosers: the commands
// offered for the selection, what they ask and what they change.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <algorithm>

#include "catalogue/thumbnails.h"
#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/thumb.h"
#include "editor/canvas_engine.h"
#include "editor/ui/panel_layers.h"
#include "editor/ui/property_panel.h"
#include "model/document.h"
#include "model/group.h"
#include "model/image.h"
#include "model/object.h"
#include "model/shapes.h"
#include "model/text.h"
#include "records/ui/choix_textes.h"
#include "shell/counters.h"
#include "shell/language.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/shell_folders.h"
#include "shell/ui/zuno_menu.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/user_dialogs.h"

namespace {

constexpr int kWidth = 200;
const QString kThumbSuffix = QStringLiteral("_thumb.jpg");

bool Flag(const char* key) {
  return Soft() && Soft()->SoftFlag(QString::fromLatin1(key));
}

void Raise(TzunoCAD* cad, const TzunoCAD::ObjEvent& event, TzunoCADObj* obj) {
  if (event) event(cad, obj);
}

// Sub-folders of a folder, relative to it, sorted.
QStringList SubFolders(const QString& root) {
  QStringList out;
  if (root.isEmpty() || !QFileInfo(root).isDir()) return out;
  const QDir base(root);
  QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) out << base.relativeFilePath(it.next());
  out.sort(Qt::CaseInsensitive);
  return out;
}

bool SameFile(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
  return ca.isEmpty() || cb.isEmpty() ? QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath()
                                      : ca == cb;
}

}  // namespace

QString TfmZunoCADMenu::MasquesFolder() const {
  return Soft() ? Soft()->MasquesPath : QString();
}

QString TfmZunoCADMenu::UserImages() const {
  return Soft() ? Soft()->UserImagesPath : QString();
}

TzunoMenuLabel* TfmZunoCADMenu::AddAction(const char* name, const char* caption, int tag,
                                          std::function<void()> handler) {
  auto* label = new TzunoMenuLabel(pAction, QString::fromUtf8(caption));
  label->setObjectName(QString::fromLatin1(name));
  label->resize(kWidth - 4, 18);
  label->move(4, 0);
  label->hide();
  if (tag) label->setProperty("Tag", tag);
  connect(label, &QAbstractButton::clicked, this, [this, tag, handler] {
    if (handler)
      handler();
    else
      ActionClick(tag);
  });
  actions_ << label;
  return label;
}

void TfmZunoCADMenu::BuildActions() {
  pAction = new QWidget;
  pAction->setObjectName(QStringLiteral("pAction"));
  pAction->resize(kWidth, 10);
  zmlDupliquer = AddAction("zmlDupliquer", "Dupliquer", 1, nullptr);
  zmlCopier = AddAction("zmlCopier", "Copier", 0, [this] { CopyClick(); });
  zmlColler = AddAction("zmlColler", "Coller", 0, [this] { PasteClick(); });
  zmlSupprimer = AddAction("zmlSupprimer", "Supprimer", 2, nullptr);
  zmlSupprimerMesImages = AddAction("zmlSupprimerMesImages", "Supprimer de mes images", 11, nullptr);
  zmlAjouterMesImages = AddAction("zmlAjouterMesImages", "Ajouter à mes images", 12, nullptr);
  zmlChargerImagePersonnelle =
      AddAction("zmlChargerImagePersonnelle", "Charger une image personnelle", 8, nullptr);
  zmlImageFond = AddAction("zmlImageFond", "Mettre en image de fond", 3, nullptr);
  zmlRedresser = AddAction("zmlRedresser", "Redresser", 4, nullptr);
  zmlToutCopierAutreFace = AddAction("zmlToutCopierAutreFace", "Tout copier sur l'autre face", 6, nullptr);
  zmlEffacerCetteFace = AddAction("zmlEffacerCetteFace", "Effacer toute cette face", 5, nullptr);
  zmlChoisirTexteBase =
      AddAction("zmlChoisirTexteBase", "Choisir un texte dans la base", 0, [this] { ChoisirTexteBase(); });
  zmlRepereSens = AddAction("zmlRepereSens", "Changer le sens du repère", 0, [this] { RepereSensClick(); });
  zmlRepereSorte = AddAction("zmlRepereSorte", "Repère ou plis", 0, [this] { RepereSorteClick(); });
}

void TfmZunoCADMenu::UpdateActions(TzunoCADObj* obj) {
  const bool adv = Advanced();
  auto* image = dynamic_cast<TzunoCADImage*>(obj);
  const bool box = obj && obj->IsBox();
  const bool line = dynamic_cast<TzunoCADLigne*>(obj);
  const bool mark = dynamic_cast<TzunoCADRepere*>(obj);
  const QString clipboard = cad && !cad->UserPath.isEmpty()
                                ? QDir(cad->UserPath).filePath(QStringLiteral("CopyPaste.def"))
                                : QString();
  const QString name = image ? FileNamePart(ReferenceName(image->FichierImage)) : QString();
  const bool mine =
      !name.isEmpty() && !UserImages().isEmpty() && QFileInfo::exists(QDir(UserImages()).filePath(name));
  const TzunoCADMdl* d = cad ? &cad->Mdl() : nullptr;
  zmlDupliquer->setVisible(adv && (box || line));
  zmlCopier->setVisible(adv && obj);
  zmlColler->setVisible(adv && !clipboard.isEmpty() && QFileInfo(clipboard).isFile());
  zmlSupprimer->setVisible(adv && obj);
  zmlSupprimerMesImages->setVisible(adv && image && mine);
  // A picture without a file has nothing to add.
  zmlAjouterMesImages->setVisible(adv && image && !mine && !name.isEmpty() && !UserImages().isEmpty());
  zmlChargerImagePersonnelle->setVisible(image && !UserImages().isEmpty());
  zmlImageFond->setVisible(adv && image);
  zmlRedresser->setVisible(adv && box && static_cast<TzunoCADRect*>(obj)->r != 0);
  zmlToutCopierAutreFace->setVisible(adv && !obj && d && d->MaxFace() > 1);
  zmlEffacerCetteFace->setVisible(adv && !obj && d && d->CountFace(d->CurrentFace) > 0);
  zmlChoisirTexteBase->setVisible(dynamic_cast<TzunoCADTexte*>(obj) && Flag("action_basetextes"));
  zmlRepereSens->setVisible(adv && mark);
  zmlRepereSorte->setVisible(adv && mark);
  // A caption too long for one line wraps; its label grows to hold it.
  for (TzunoMenuLabel* l : VisibleActions()) {
    const int textLeft = l->Glyph().isNull() ? 0 : l->Glyph().width() + 4;
    const QRect text = l->fontMetrics().boundingRect(QRect(0, 0, std::max(1, l->width() - textLeft), 1000),
                                                     Qt::TextWordWrap, l->text());
    l->resize(l->width(), std::max(18, text.height() + 2));
  }
  pAction->setVisible(!VisibleActions().isEmpty());
  menu_->LayoutItem(Item(pAction));
}

void TfmZunoCADMenu::ActionClick(int tag) {
  if (!cad) return;
  TzunoCADObj* obj = Selected();
  auto* image = dynamic_cast<TzunoCADImage*>(obj);
  TzunoCADMdl& d = cad->Mdl();
  switch (tag) {
    case 1:
      Count(QStringLiteral("MenuEditionDuplique"));
      cad->DuplicateSelected();
      ListerCalque();
      break;
    case 2:
      Count(QStringLiteral("MenuEditionSupprime"));
      if (!obj || AskUser(MLMessage(410), akInformation, abOK | abCancel) != arOK) return;
      cad->DeleteSelected();
      ListerCalque();
      break;
    case 3:
      if (!image) return;
      Count(QStringLiteral("MenuEditionMettreEnFond"));
      cad->TakeStep();
      cad->MakeBackground(image);
      ListerCalque();
      break;
    case 4:
      if (auto* r = dynamic_cast<TzunoCADRect*>(obj)) {
        Count(QStringLiteral("MenuEditionRedresser"));
        cad->TakeStep();
        r->r = 0;
        cad->RequestRepaint();
        // The angle spin must not write the old angle back at the next change.
        ShowValues(obj);
      }
      break;
    case 5:
    case 6: {
      // The whole face: erased, or copied onto the other one; asked first, counted once done.
      if (AskUser(MLMessage(tag == 5 ? 411 : 412), akInformation, abOK | abCancel) != arOK) return;
      Count(tag == 5 ? QStringLiteral("MenuEditionToutSupprimer") : QStringLiteral("MenuEditionToutCopier"));
      const int face = d.CurrentFace;
      cad->TakeStep();
      Raise(cad, cad->OnObjSelect, nullptr);
      if (tag == 5)
        d.SupprimerFace(face);
      else
        d.DupliquerFace(face == 2 ? 2 : 1, face == 2 ? 1 : 2);
      cad->SelectIndex(-1);
      Raise(cad, cad->OnObjSelect, nullptr);
      Raise(cad, cad->OnAddSupp, nullptr);
      cad->RequestRepaint();
      Raise(cad, cad->OnChange, nullptr);
      ListerCalque();
      break;
    }
    case 8: {
      if (!image || UserImages().isEmpty()) return;
      Count(QStringLiteral("MenuEditionChargeImagePerso"));
      QString start = Soft() ? Soft()->ReadUserString(QStringLiteral("MesImagesPath")) : QString();
      if (start.isEmpty()) start = ShellFolder(QStringLiteral("My Pictures"));
      const QString filter =
          QStringLiteral("*.jpg;*.jpeg;*.bmp;*.png;*.emf;*.wmf|*.jpg;*.jpeg;*.bmp;*.png;*.emf;*.wmf");
      QString file = start;
      if (!AskOpenFile(filter, file) || !QFileInfo(file).isFile()) return;
      const QString copy = AddToMyPictures(file);
      if (copy.isEmpty()) return;
      ImageThumbClick(ThumbPath(copy, UserImages()));
      if (Soft())
        Soft()->WriteUserString(QStringLiteral("MesImagesPath"), QFileInfo(file).absolutePath() + '/');
      break;
    }
    case 11: {
      if (!image) return;
      if (AskUser(MLMessage(413), akInformation, abOK | abCancel) != arOK) return;
      Count(QStringLiteral("MenuEditionSupprmierMesImages"));
      const QString name = FileNamePart(ReferenceName(image->FichierImage));
      const QDir mine(UserImages());
      QFile::remove(mine.filePath(name));
      QFile::remove(mine.filePath(QFileInfo(name).completeBaseName() + kThumbSuffix));
      ImageActualise();
      UpdateSections(obj);
      Raise(cad, cad->OnAddSupp, obj);
      cad->RequestRepaint();
      Raise(cad, cad->OnChange, obj);
      break;
    }
    case 12: {
      if (!image) return;
      Count(QStringLiteral("MenuEditionAjouterMesImages"));
      const QString file = ReferenceName(d.ResoudreFichier(image->FichierImage));
      if (file.isEmpty() || !QFileInfo(file).isFile()) return;
      if (!AddToMyPictures(file).isEmpty()) UpdateSections(obj);
      break;
    }
    default:
      return;
  }
  // My pictures are no part of the document.
  if (tag != 11 && tag != 12) Notify(1);
}

void TfmZunoCADMenu::CopyClick() {
  if (!cad || !Selected()) return;
  Count(QStringLiteral("MenuEditionCopier"));
  cad->CopySelected(Selected());
  UpdateActions(Selected());
  menu_->Layout(true);
}

void TfmZunoCADMenu::PasteClick() {
  if (!cad) return;
  Count(QStringLiteral("MenuEditionColler"));
  cad->PasteObject();
  ListerCalque();
  Notify(1);
}

void TfmZunoCADMenu::ChoisirTexteBase() {
  auto* t = dynamic_cast<TzunoCADTexte*>(Selected());
  if (!t || !Soft()) return;
  Count(QStringLiteral("MenuEditionChoisirTexte"));
  TSoft& soft = *Soft();
  TzunoChoixTextesResult result;
  ChoisirTexte(this, soft.ReadUserString(QStringLiteral("ChoixTextesPath")), soft.Debug, result,
               soft.ReadSoftString(QStringLiteral("txt_exclu")),
               soft.ReadSoftString(QStringLiteral("txt_inclu")));
  if (!result.Ok) return;
  cad->TakeStep();
  // Wrapped to the text's width line by line: a line break of the library text stays where it is.
  QStringList lines = result.Texte.split(QLatin1Char('|'));
  for (QString& line : lines) line = t->WordWrap(line, t->l);
  t->LayoutText(lines.join(QLatin1Char('|')));
  cad->RequestRepaint();
  ShowValues(t);
  ListerCalque();
  Notify(1);
  soft.WriteUserString(QStringLiteral("ChoixTextesPath"), result.Chemin);
}

void TfmZunoCADMenu::RepereSensClick() {
  auto* m = dynamic_cast<TzunoCADRepere*>(Selected());
  if (!m) return;
  Count(QStringLiteral("MenuEditionChangerSensRepere"));
  cad->TakeStep();
  if (m->sens == 1 || m->sens == 2) {
    m->sens = 3 - m->sens;
    m->ClampRepere();
  }
  cad->RequestRepaint();
  ShowValues(m);
  Notify(1);
}

void TfmZunoCADMenu::RepereSorteClick() {
  auto* m = dynamic_cast<TzunoCADRepere*>(Selected());
  if (!m) return;
  Count(QStringLiteral("MenuEditionChangerRepereSorte"));
  cad->TakeStep();
  if (m->sorte == 1 || m->sorte == 2) m->sorte = 3 - m->sorte;
  cad->RequestRepaint();
  ShowValues(m);
  Notify(1);
}

// ------------------------------------------------------------------------------------------------
// My pictures

QString TfmZunoCADMenu::AddToMyPictures(const QString& file) {
  const QString folder = UserImages();
  if (folder.isEmpty() || !QFileInfo(file).isFile()) return {};
  QDir().mkpath(folder);
  const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
  // A picture already there of that name is kept, never overwritten.
  if (!QFileInfo::exists(target) && !QFile::copy(file, target)) return {};
  MakeThumb(target, folder, 50, 50);
  ImageActualise();
  return target;
}

void TfmZunoCADMenu::ImageActualise() {
  QStringList files;
  const QString folder = UserImages();
  if (!folder.isEmpty()) {
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*") + kThumbSuffix}, QDir::Files, QDir::Name | QDir::IgnoreCase))
      files << dir.filePath(name);
  }
  amImages->Fichiers = files;
  amImages->Redraw();
}

void TfmZunoCADMenu::MagentaCheck(TzunoCADImage* img) {
  if (!img->EnsurePicture() || img->Picture.isNull()) return;
  if (img->Picture.pixelColor(0, 0) != QColor(255, 0, 255)) return;
  img->Transparent = true;
  img->TransparentColor = clMagenta;
  img->Cache = QImage();
  img->CacheKey.clear();
}

void TfmZunoCADMenu::ImageThumbClick(const QString& thumbFile) {
  auto* img = dynamic_cast<TzunoCADImage*>(Selected());
  if (!img || !thumbFile.endsWith(kThumbSuffix, Qt::CaseInsensitive)) return;
  const QString file = ImageFileFor(thumbFile.left(thumbFile.size() - kThumbSuffix.size()));
  if (file.isEmpty()) return;
  cad->TakeStep();
  img->SetFichierImage(file);
  MagentaCheck(img);
  if (img->Bordure.Enabled && img->HasPicture()) {
    img->Bordure.Width = img->PictureSize().height();
    img->Bordure.Height = img->PictureSize().height();
  }
  img->Cache = QImage();
  img->CacheKey.clear();
  Raise(cad, cad->OnObjSelect, img);
  cad->RequestRepaint();
  Raise(cad, cad->OnAddSupp, img);
  Notify(1);
}

// ------------------------------------------------------------------------------------------------
// Masks

void TfmZunoCADMenu::FillMaskCategories() {
  const QSignalBlocker block(cbMasque);
  cbMasque->clear();
  cbMasque->addItems(SubFolders(MasquesFolder()));
  cbMasque->setCurrentIndex(cbMasque->count() > 0 ? 0 : -1);
  ShowMaskCategory();
}

void TfmZunoCADMenu::ShowMaskCategory() {
  jtMasque->Clear();
  if (cbMasque->currentIndex() < 0) return;
  const QString folder = QDir(MasquesFolder()).filePath(cbMasque->currentText());
  jtMasque->AddMetafileFolder(folder);
  const QDir dir(folder);
  for (const QString& name :
       dir.entryList({"*.png", "*.jpg", "*.jpeg", "*.bmp"}, QDir::Files, QDir::Name | QDir::IgnoreCase))
    jtMasque->AddImage(dir.filePath(name), name, true, QString());
}

void TfmZunoCADMenu::MasqueThumbClick(const QString& file) {
  auto* img = dynamic_cast<TzunoCADImage*>(Selected());
  if (!img || SameFile(ReferenceName(img->FichierMasque), file)) return;
  cad->TakeStep();
  img->SetFichierMasque(file);
  Raise(cad, cad->OnObjSelect, img);
  Raise(cad, cad->OnAddSupp, img);
  cad->RequestRepaint();
  Notify(1);
}

void TfmZunoCADMenu::MasqueAucunClick() {
  auto* img = dynamic_cast<TzunoCADImage*>(Selected());
  if (!img) return;
  cad->TakeStep();
  img->RemoveMask();
  Raise(cad, cad->OnObjSelect, img);
  Raise(cad, cad->OnAddSupp, img);
  cad->RequestRepaint();
  Notify(1);
}

// ------------------------------------------------------------------------------------------------
// Shapes

void TfmZunoCADMenu::FillShapePanel(TzunoCADObj* obj) {
  auto* g = dynamic_cast<TzunoCADGroup*>(obj);
  if (!g) return;
  // The section is titled by the kind of group: hole punch, stamp, frame or any other shape.
  const char* key = "path_forme";
  const char* type = "groupe";
  if (dynamic_cast<TzunoCADPerforatrice*>(g)) {
    key = "path_perforatrice";
    type = "perforatrice";
  } else if (dynamic_cast<TzunoCADTampon*>(g)) {
    key = "path_tampon";
    type = "tampon";
  } else if (dynamic_cast<TzunoCADCadre*>(g)) {
    key = "path_cadre";
    type = "cadre";
  }
  if (TzunoMenuItem* item = Item(pGroupe))
    item->SetTitle(MLText(QStringLiteral("layer_") + QLatin1String(type)));
  const bool stamp = dynamic_cast<TzunoCADTampon*>(g);
  lbTampon->setVisible(stamp);
  shTampon->setVisible(stamp);
  QString folder;
  if (Soft()) {
    folder = Soft()->DataPath + NormaliseSeparators(Soft()->ReadSoftString(QString::fromLatin1(key)));
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  }
  if (folder != ShapeFolder) {
    // Rebuilt only when the folder changes: a thumbnail's click must never free its own strip.
    ShapeFolder = folder;
    const QStringList subs = SubFolders(folder);
    const QSignalBlocker block(cbForme);
    cbForme->clear();
    cbForme->addItems(subs);
    cbForme->setVisible(!subs.isEmpty());
    cbForme->setCurrentIndex(subs.isEmpty() ? -1 : 0);
    ShowShapeCategory();
  }
  const int top = cbForme->isHidden() ? 4 : cbForme->y() + cbForme->height() + 4;
  jtForme->move(0, top);
  int bottom = top + jtForme->height() + 4;
  if (stamp) {
    lbTampon->move(0, bottom);
    shTampon->move(shTampon->x(), bottom + 1);
    bottom += 25;
  }
  if (TzunoMenuItem* item = Item(pGroupe)) item->SetContentHeight(bottom);
  jtForme->SelectValue(QFileInfo(ReferenceName(g->FichierMdl)).fileName());
}

void TfmZunoCADMenu::ShowShapeCategory() {
  jtForme->Clear();
  if (ShapeFolder.isEmpty()) return;
  jtForme->AddMetafileFolder(cbForme->isHidden() ? ShapeFolder : ShapeFolder + cbForme->currentText());
}

void TfmZunoCADMenu::FormeThumbClick(const QString& file) {
  auto* g = dynamic_cast<TzunoCADGroup*>(Selected());
  if (!g || SameFile(ReferenceName(cad->Mdl().ResoudreFichier(g->FichierMdl)), file)) return;
  cad->TakeStep();
  g->SetShape(file);
  Raise(cad, cad->OnAddSupp, g);
  cad->RequestRepaint();
  Notify(1);
}
