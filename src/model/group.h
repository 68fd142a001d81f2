// A box showing another document (a template or a drawing), and the stamp, hole punch and frame
// made from it.
#pragma once

#include <memory>

#include "model/object.h"

class TzunoCADGroup : public TzunoCADRect {
 public:
  explicit TzunoCADGroup(TzunoCADMdl* document);
  ~TzunoCADGroup() override;

  QStringList GetProperties() override;
  void SetProperties(const QStringList& list) override;
  void RotateTo(QPointF p, bool shift) override;
  void Draw(TCanvas& canvas) override;
  // Content change from the editor's shape panel: the drawing replaces the nested content and
  // takes the group's pen and brush.
  void SetShape(const QString& fileName);

  TzunoCADMdl* Nested() const { return nested_.get(); }

  bool ForcePenBrush = false;
  int mirroirx = 1, mirroiry = 1;
  QString FichierMdl;

 protected:
  // What a derived kind forces before the group draws (sizes, pen and brush).
  virtual void BeforeDraw() {}
  // Reads the nested content from a resolved file name; false when nothing was read.
  bool LoadNested(const QString& resolved);
  // Loads the default model named by a settings key; shows the message when it cannot be found.
  void LoadDefaultModel(const QString& key, bool complain);

  std::unique_ptr<TzunoCADMdl> nested_;
};

// A group with a minimum and a maximum size (stamps and punches).
class TzunoCADLimitedGroup : public TzunoCADGroup {
 public:
  TzunoCADLimitedGroup(TzunoCADMdl* document, const QString& prefix);
  int TailleMini = 0, TailleMaxi = 0;

 protected:
  void BeforeDraw() override;
};

class TzunoCADTampon : public TzunoCADLimitedGroup {
 public:
  explicit TzunoCADTampon(TzunoCADMdl* document);
};

class TzunoCADPerforatrice : public TzunoCADLimitedGroup {
 public:
  explicit TzunoCADPerforatrice(TzunoCADMdl* document);

 protected:
  void BeforeDraw() override;
};

class TzunoCADCadre : public TzunoCADGroup {
 public:
  explicit TzunoCADCadre(TzunoCADMdl* document);

 protected:
  void BeforeDraw() override { ForcePenBrush = true; }
};
