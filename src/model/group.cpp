#include "model/group.h"

#include <QFileInfo>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "model/image.h"
#include "model/import_metafile.h"

namespace {
// Nested documents deeper than this are not read: a chain of groups this deep is either a loop
// through differently spelled names or hostile.
constexpr int kMaxNesting = 64;
}  // namespace

TzunoCADGroup::TzunoCADGroup(TzunoCADMdl* document) : TzunoCADRect(document) {
  Pen = TPen{clBlack, 300, psSolid};
  Brush = TBrush{clWhite, bsSolid};
  l = 1;
  h = 1;
  nested_ = std::make_unique<TzunoCADMdl>(document ? document->Editor() : nullptr, QRect(), l, h);
}

TzunoCADGroup::~TzunoCADGroup() = default;

QStringList TzunoCADGroup::GetProperties() {
  QStringList p = TzunoCADRect::GetProperties();
  PropAdd(p, u"mirroirx", WriteInt(mirroirx));
  PropAdd(p, u"mirroiry", WriteInt(mirroiry));
  if (!FichierMdl.isEmpty()) PropAdd(p, u"FichierMdl", FileNamePart(FichierMdl));
  PropAdd(p, u"ForcePenBrush", WriteBool(ForcePenBrush));
  return p;
}

void TzunoCADGroup::SetProperties(const QStringList& list) {
  mirroirx = ReadInt(PropValue(list, u"mirroirx"));
  if (mirroirx == 0) mirroirx = 1;
  mirroiry = ReadInt(PropValue(list, u"mirroiry"));
  if (mirroiry == 0) mirroiry = 1;
  ForcePenBrush = ReadBool(PropValue(list, u"ForcePenBrush"));
  if (document_) {
    FichierMdl = document_->ResoudreFichier(PropValue(list, u"FichierMdl"));
    if (!FichierMdl.isEmpty()) LoadNested(FichierMdl);
  }
  TzunoCADRect::SetProperties(list);
}

bool TzunoCADGroup::LoadNested(const QString& resolved) {
  const QString path = resolved.section(QLatin1Char('|'), 0, 0);
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isFile()) return false;
  const QString suffix = info.suffix().toLower();
  if (suffix == QLatin1String("emf")) {
    // A drawing replaces whatever the group showed.
    nested_->ClearObjets();
    return ImportMetafile(nested_.get(), path);
  }
  if (suffix != QLatin1String("mdl")) return false;
  // A group whose file is already being read above it (itself, or through other groups) stays
  // empty instead of recursing without end.
  const QString canonical = info.canonicalFilePath();
  const QStringList& chain = document_->LoadingFiles;
  if (chain.size() >= kMaxNesting) return false;
  for (const QString& f : chain)
    if (QFileInfo(f).canonicalFilePath() == canonical) return false;
  QStringList lines;
  if (!ReadTextFile(path, lines)) return false;
  nested_->LoadingFiles = chain;
  nested_->LoadingFiles.append(canonical);
  nested_->OnCheminFichier = document_->OnCheminFichier;
  nested_->OnChampFusion = document_->OnChampFusion;
  nested_->LoadFromStrings(lines);
  return true;
}

void TzunoCADGroup::RotateTo(QPointF p, bool shift) {
  TzunoCADRect::RotateTo(p, shift);
  nested_->Rotation = r;
}

void TzunoCADGroup::LoadDefaultModel(const QString& key, bool complain) {
  TObjectHost* host = ObjectHost();
  if (!host || !document_) return;
  const QString model = host->ReadSoftString(key);
  const QString resolved = document_->ResoudreFichier(model);
  if (resolved.isEmpty() && complain)
    host->ShowMessage(QStringLiteral("Fichier \"%1=%2\" introuvable.").arg(key, model));
  LoadNested(resolved);
}

TzunoCADLimitedGroup::TzunoCADLimitedGroup(TzunoCADMdl* document, const QString& prefix)
    : TzunoCADGroup(document) {
  if (TObjectHost* host = ObjectHost()) {
    TailleMini = host->ReadSoftInteger(prefix + QStringLiteral("_taille_mini"));
    TailleMaxi = host->ReadSoftInteger(prefix + QStringLiteral("_taille_maxi"));
  }
}

TzunoCADTampon::TzunoCADTampon(TzunoCADMdl* document) : TzunoCADLimitedGroup(document, QStringLiteral("tampon")) {
  Pen = TPen{clBlack, 300, psSolid};
  Brush = TBrush{clBlack, bsSolid};
  LoadDefaultModel(QStringLiteral("tampon_modele_defaut"), true);
}

TzunoCADPerforatrice::TzunoCADPerforatrice(TzunoCADMdl* document)
    : TzunoCADLimitedGroup(document, QStringLiteral("perforatrice")) {
  const TColor paper = document ? document->ColorPapier : clWhite;
  Pen = TPen{paper, 300, psSolid};
  Brush = TBrush{paper, bsSolid};
  LoadDefaultModel(QStringLiteral("perforatrice_modele_defaut"), true);
}

TzunoCADCadre::TzunoCADCadre(TzunoCADMdl* document) : TzunoCADGroup(document) {
  Pen = TPen{clBlack, 100, psSolid};
  Brush = TBrush{clBlack, bsClear};
  LoadDefaultModel(QStringLiteral("cadre_modele_defaut"), false);
}
