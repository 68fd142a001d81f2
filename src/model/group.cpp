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
  nested_ = std::make_shared<TzunoCADMdl>(document ? document->Editor() : nullptr, QRect(), l, h);
}

void TzunoCADGroup::OwnNested() {
  if (!nestedShared_) return;
  nested_ = std::make_shared<TzunoCADMdl>(document_ ? document_->Editor() : nullptr, QRect(), 1, 1);
  nestedShared_ = false;
}

TNestedReadingScope::TNestedReadingScope(TzunoCADMdl& document)
    : document_(document), owner_(!document.NestedReading) {
  if (owner_) document_.NestedReading = std::make_shared<TNestedReading>();
}

TNestedReadingScope::~TNestedReadingScope() {
  if (owner_) document_.NestedReading.reset();
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
    // A file that cannot be found keeps its stored name, so that saving does not lose it.
    const QString stored = PropValue(list, u"FichierMdl");
    const QString resolved = document_->ResoudreFichier(stored);
    FichierMdl = resolved.isEmpty() ? stored : resolved;
    if (!resolved.isEmpty()) LoadNested(resolved);
  }
  TzunoCADRect::SetProperties(list);
}

bool TzunoCADGroup::LoadNested(const QString& resolved) {
  const QString path = resolved.section(QLatin1Char('|'), 0, 0);
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isFile()) return false;
  const QString suffix = info.suffix().toLower();
  // Outside a document's read (the editor, a copy) the group's own read is the whole read.
  std::shared_ptr<TNestedReading> reading = document_->NestedReading;
  if (!reading) reading = std::make_shared<TNestedReading>();
  if (suffix == QLatin1String("emf")) {
    // A drawing replaces whatever the group showed.
    OwnNested();
    nested_->ClearObjets();
    const bool read = ImportMetafile(nested_.get(), path);
    reading->Used += nested_->Count();
    return read;
  }
  if (suffix != QLatin1String("mdl")) return false;
  // A group whose file is already being read above it (itself, or through other groups) stays
  // empty instead of recursing without end.
  const QString canonical = info.canonicalFilePath();
  const QStringList& chain = document_->LoadingFiles;
  if (chain.size() >= kMaxNesting) return false;
  for (const QString& f : chain)
    if (QFileInfo(f).canonicalFilePath() == canonical) return false;

  // A group that already holds content of its own (a stamp's default drawing) reads the file into it.
  const bool shareable = nestedShared_ || nested_->Count() == 0;
  if (shareable) {
    if (const auto found = reading->Files.constFind(canonical); found != reading->Files.cend()) {
      if (!found->Document || reading->Used + found->Weight > reading->Budget) return false;
      reading->Used += found->Weight;
      nested_ = found->Document;
      nestedShared_ = true;
      return true;
    }
  }
  if (reading->Used >= reading->Budget) return false;
  QStringList lines;
  if (!ReadTextFile(path, lines)) return false;
  std::shared_ptr<TzunoCADMdl> target =
      shareable ? std::make_shared<TzunoCADMdl>(document_->Editor(), QRect(), 1, 1) : nested_;
  const long long before = reading->Used;
  const int held = target->Count();
  target->LoadingFiles = chain;
  target->LoadingFiles.append(canonical);
  target->OnCheminFichier = document_->OnCheminFichier;
  target->OnChampFusion = document_->OnChampFusion;
  target->NestedReading = reading;
  reading->Used += 1;
  target->LoadFromStrings(lines);
  target->NestedReading.reset();  // the reading holds its documents, not the other way round
  reading->Used += target->Count() - held;
  if (!shareable) return true;
  const long long weight = reading->Used - before;
  const bool fits = reading->Used <= reading->Budget;
  if (!fits) reading->Used = before;
  // Too heavy a file stays known, so that every later group showing it stops at once.
  reading->Files.insert(canonical, TNestedReading::Entry{fits ? target : nullptr, weight});
  if (!fits) return false;
  nested_ = std::move(target);
  nestedShared_ = true;
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
    HostMessage(QStringLiteral("Fichier \"%1=%2\" introuvable.").arg(key, model));
  LoadNested(resolved);
}

TzunoCADLimitedGroup::TzunoCADLimitedGroup(TzunoCADMdl* document, const QString& prefix)
    : TzunoCADGroup(document) {
  if (TObjectHost* host = ObjectHost()) {
    TailleMini = host->ReadSoftInteger(prefix + QStringLiteral("_taille_mini"));
    TailleMaxi = host->ReadSoftInteger(prefix + QStringLiteral("_taille_maxi"));
  }
}

TzunoCADTampon::TzunoCADTampon(TzunoCADMdl* document)
    : TzunoCADLimitedGroup(document, QStringLiteral("tampon")) {
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
