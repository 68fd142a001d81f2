// A box showing another document (a template or a drawing), and the stamp, hole punch and frame
// made from it.
#pragma once

#include <QHash>
#include <memory>

#include "model/object.h"

// Nested documents and objects one top-level read may bring in, all groups and levels together
// (a file shown n times counts n times). Past it, groups show their placeholder.
inline constexpr long long kMaxNestedWeight = 250000;

// What one top-level read has made for its groups: each nested file is read once and its document
// shared by every group showing it; `Used` counts the nested documents and objects shown so far.
struct TNestedReading {
  struct Entry {
    std::shared_ptr<TzunoCADMdl> Document;
    long long Weight = 0;  // the document, its objects and everything nested in them
  };
  QHash<QString, Entry> Files;  // by canonical path
  long long Used = 0;
  long long Budget = kMaxNestedWeight;
};

// Opens a read's nested-document context on a document for as long as it lives, unless the document
// is itself being read for a group (it then shares its parent's).
class TNestedReadingScope {
 public:
  explicit TNestedReadingScope(TzunoCADMdl& document);
  ~TNestedReadingScope();
  TNestedReadingScope(const TNestedReadingScope&) = delete;
  TNestedReadingScope& operator=(const TNestedReadingScope&) = delete;

 private:
  TzunoCADMdl& document_;
  bool owner_;
};

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

  // The document shown: the group's own, or one shared with the other groups of the same read that
  // show the same file.
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

  // An empty document of the group's own in place of a shared one, before content is set otherwise.
  void OwnNested();

  std::shared_ptr<TzunoCADMdl> nested_;
  bool nestedShared_ = false;
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
