// Groups draw their nested document through a mapping into their box.
#include "model/document.h"
#include "model/group.h"
#include "model/host.h"
#include "model/import_metafile.h"

void TzunoCADGroup::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  BeforeDraw();
  TzunoCADMdl* parent = document_;
  TzunoCADMdl* n = nested_.get();
  if (n->Large > 0 && n->Haut > 0) {
    n->Rotation = r + parent->Rotation;
    n->StencilView = parent->StencilView;
    n->FillShapes = parent->FillShapes;
    // Output drawing must not show the nested document's guides, handles or placeholders either.
    n->ShowHandles = parent->ShowHandles;
    n->ShowFrames = parent->ShowFrames;
    n->DrawPlaceholders = parent->DrawPlaceholders;
    n->PixelsPerMmX = l / n->Large * parent->PixelsPerMmX * mirroirx;
    n->PixelsPerMmY = h / n->Haut * parent->PixelsPerMmY * mirroiry;
    int corner = 1;
    if (mirroirx == -1 && mirroiry == 1)
      corner = 2;
    else if (mirroirx == -1 && mirroiry == -1)
      corner = 3;
    else if (mirroirx == 1 && mirroiry == -1)
      corner = 4;
    const QPoint origin = parent->MmToPx(HandlePos(corner));
    n->OriginX = origin.x();
    n->OriginY = origin.y();
    if (n->Count() == 0) {
      DrawPlaceholder(canvas, HostText(QStringLiteral("CAD_TXT_PASMDL"), QString::fromUtf8("Pas de modèle")));
    } else {
      for (const auto& o : n->Objets()) {
        if (!ForcePenBrush) {
          o->Draw(canvas);
          continue;
        }
        // Other groups may show the same nested document: the forced pen and brush are lent.
        const TPen pen = o->Pen;
        const TBrush brush = o->Brush;
        o->Pen = Pen;
        o->Brush = Brush;
        o->Draw(canvas);
        o->Pen = pen;
        o->Brush = brush;
      }
    }
  }
  TzunoCADRect::Draw(canvas);
}

void TzunoCADGroup::SetShape(const QString& fileName) {
  FichierMdl = fileName;
  OwnNested();
  nested_->ClearObjets();
  ImportMetafile(nested_.get(), document_ ? document_->ResoudreFichier(fileName) : fileName);
  ForcePenBrush = true;
}

void TzunoCADLimitedGroup::BeforeDraw() {
  ForcePenBrush = true;
  if (TailleMaxi > 0) {
    // The clamped size stays on the object and is saved with it.
    l = std::min<double>(std::max<double>(l, TailleMini), TailleMaxi);
    h = std::min<double>(std::max<double>(h, TailleMini), TailleMaxi);
  }
}

void TzunoCADPerforatrice::BeforeDraw() {
  TzunoCADLimitedGroup::BeforeDraw();
  const TColor paper = document_->ColorPapier;
  Pen = TPen{paper, 300, Pen.Style};
  Brush = TBrush{paper, bsSolid};
}
