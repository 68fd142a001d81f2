// Filling a document by object code and file name: pictures, texts, image variants, supports, page
// size and the personal or professional form of address fields.
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

#include "model/document.h"
#include "model/encodings.h"
#include "model/host.h"
#include "model/image.h"
#include "model/shapes.h"
#include "model/text.h"
#include "render/fit_rect.h"
#include "shell/file_helpers.h"
#include "shell/paths.h"
#include "shell/startup_log.h"
#include "shell/textfile.h"

namespace {

TzunoCADImage* AsImage(const std::unique_ptr<TzunoCADObj>& o) {
  return dynamic_cast<TzunoCADImage*>(o.get());
}
TzunoCADTexte* AsText(const std::unique_ptr<TzunoCADObj>& o) {
  return dynamic_cast<TzunoCADTexte*>(o.get());
}

// The file behind a stored picture name: the resolver's "|" suffix cut off.
QString StoredFile(const QString& stored) {
  return stored.section(QLatin1Char('|'), 0, 0);
}

// The name a picture is saved under: no folder, no suffix.
QString BareName(const QString& stored) {
  return FileNamePart(StoredFile(stored));
}

// One path for a file however it was spelled, so that a stored name and a folder listing meet.
QString SameFile(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The box keeps its centre and takes the largest size of the picture's shape inside itself.
void FitImageBox(TzunoCADImage* img) {
  QSize px;
  if (img->HasPicture())
    px = img->PictureSize();
  else if (img->MetafilePicture.IsValid())
    px = img->MetafilePicture.Size();
  if (px.width() <= 0 || px.height() <= 0) return;
  QRect r;
  if (!FitRect(RoundEven(img->l * 1000), RoundEven(img->h * 1000), px.width(), px.height(), r)) return;
  img->l = r.width() / 1000.0;
  img->h = r.height() / 1000.0;
}

// A text for one stored line: line breaks become the "|" that separates lines.
QString OneLine(const QString& text) {
  QString s = text;
  s.replace(QLatin1String("\r\n"), QLatin1String("|"));
  s.replace(QLatin1Char('\r'), QLatin1Char('|'));
  s.replace(QLatin1Char('\n'), QLatin1Char('|'));
  return s.trimmed();
}

// Each line wrapped on its own, so a given line break is never measured as part of a word. A width
// of 0 is a text whose width was never stored (this program writes none): its lines stay as given.
QString WrapLines(TzunoCADTexte* t, const QString& text, double width) {
  if (width <= 0) return text;
  QStringList lines = text.split(QLatin1Char('|'));
  for (QString& line : lines) line = t->WordWrap(line, width);
  return lines.join(QLatin1Char('|'));
}

// Source and displayed text wrapped to the text's reference width, then the box measured around
// its anchor.
void FillText(TzunoCADMdl* doc, TzunoCADTexte* t, const QString& value) {
  const QString source = OneLine(value);
  const int anchor = t->Aligne >= 1 && t->Aligne <= 4 ? t->Aligne : 0;
  const QPointF a = t->HandlePos(anchor);
  t->txt = WrapLines(t, source, t->RefL);
  t->Displayed = WrapLines(t, doc->SubstituteFields(t, source), t->RefL);
  const QSize s = t->MeasureBlock(t->MeasureCanvas());
  t->l = doc->PxToMmX(s.width());
  t->h = doc->PxToMmY(s.height());
  if (anchor != 0) {
    const QPointF b = t->HandlePos(anchor);
    t->x += a.x() - b.x();
    t->y += a.y() - b.y();
  }
}

// Value of the first "name=value" line of a text whose name is the key (case ignored).
QString HeaderValue(const QStringList& lines, const QString& key) {
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0) return line.mid(eq + 1);
  }
  return QString();
}

// Files of the picture's extension in the given folders, or in the picture's own folder; sorted by
// name so that a variant number means the same file on every machine.
QStringList VariantCandidates(const QString& file, const QStringList* folders) {
  const QString suffix = QFileInfo(file).suffix();
  if (suffix.isEmpty()) return {};
  QStringList found;
  if (folders) {
    for (const QString& f : *folders) FindFiles(found, f, QLatin1Char('.') + suffix, false);
  } else {
    FindFiles(found, QFileInfo(file).absolutePath(), QLatin1Char('.') + suffix, false);
  }
  std::stable_sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
    const QString na = QFileInfo(a).fileName(), nb = QFileInfo(b).fileName();
    const int c = na.compare(nb, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : na < nb;
  });
  return found;
}

// Prefix and suffix of a support's base name, split at its first "_".
std::pair<QString, QString> SplitSupportName(const QString& base) {
  const qsizetype u = base.indexOf(QLatin1Char('_'));
  return u < 0 ? std::make_pair(base, QString()) : std::make_pair(base.left(u), base.mid(u + 1));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pictures

bool TzunoCADMdl::RemplaceImage(const QString& oldName, const QString& newName, const QString& code,
                                bool fit) {
  // Matched on the name as saved: the folder and checksum a resolver adds are no part of it (an
  // installation under ".../fonds/" would otherwise match every picture).
  // A name with a folder is looked for in the whole path, whichever separators either uses.
  auto slashes = [](QString s) { return s.replace(QLatin1Char('\\'), QLatin1Char('/')); };
  const bool withFolder = oldName.contains(QLatin1Char('/')) || oldName.contains(QLatin1Char('\\'));
  const QString wanted = withFolder ? slashes(oldName) : oldName;
  bool found = false;
  for (const auto& o : objects_) {
    TzunoCADImage* img = AsImage(o);
    if (!img) continue;
    const QString name = withFolder ? slashes(StoredFile(img->FichierImage)) : BareName(img->FichierImage);
    if (!name.contains(wanted)) continue;
    found = true;
    img->SetFichierImage(newName);
    if (code != QLatin1String("OLD")) img->Code = code;
    if (fit) FitImageBox(img);
  }
  return found;
}

bool TzunoCADMdl::RemplaceToutesImages(const QString& newName, bool fit) {
  bool found = false;
  for (const auto& o : objects_) {
    TzunoCADImage* img = AsImage(o);
    if (!img) continue;
    found = true;
    img->SetFichierImage(newName);
    if (fit) FitImageBox(img);
  }
  return found;
}

bool TzunoCADMdl::RemplaceImageParCode(const QString& code, const QString& newName, bool fit) {
  bool found = false;
  for (const auto& o : objects_) {
    TzunoCADImage* img = AsImage(o);
    if (!img || img->Code != code) continue;
    found = true;
    img->SetFichierImage(newName);
    if (fit) FitImageBox(img);
  }
  return found;
}

// ---------------------------------------------------------------------------------------------
// Contents by code

QString TzunoCADMdl::GetContenuParCode(const QString& code) {
  for (const auto& o : objects_) {
    if (o->Code != code) continue;
    if (TzunoCADImage* img = AsImage(o)) return img->FichierImage;
    if (TzunoCADTexte* t = AsText(o)) return t->Displayed;
    return QString();
  }
  return QString();
}

TzunoCADObj* TzunoCADMdl::SetContenuParCode(const QString& code, const QString& value) {
  TzunoCADObj* last = nullptr;
  for (const auto& o : objects_) {
    if (o->Code != code) continue;
    last = o.get();
    if (TzunoCADImage* img = AsImage(o))
      img->SetFichierImage(value);
    else if (TzunoCADTexte* t = AsText(o))
      FillText(this, t, value);
  }
  return last;
}

bool TzunoCADMdl::SetTexteParCode(const QString& code, const QString& text, const QString& newCode) {
  const qsizetype newLength = OneLine(text).size();
  bool found = false;
  for (const auto& o : objects_) {
    TzunoCADTexte* t = AsText(o);
    if (!t || t->Code != code) continue;
    found = true;
    t->Code = newCode;
    // Longer texts shrink the font in proportion, never above the height the text was read with.
    // A shorter text after a longer one gets that height back rather than keeping the shrunk one.
    if (newLength > 0 && !t->Displayed.isEmpty()) {
      const long long h = RoundEven(static_cast<double>(t->Font.Height) * t->Displayed.size() / newLength);
      if (h < t->RefFontHeight)
        t->Font.Height = static_cast<int>(std::max(1LL, h));
      else if (t->Font.Height < t->RefFontHeight)
        t->Font.Height = t->RefFontHeight;
    }
    FillText(this, t, text);
  }
  return found;
}

// ---------------------------------------------------------------------------------------------
// Image variants

int TzunoCADMdl::CompteVariantesImages(const QStringList* folders) {
  QStringList stored;
  for (const auto& o : objects_)
    if (TzunoCADImage* img = AsImage(o))
      if (const QString f = StoredFile(img->FichierImage); !f.isEmpty() && !stored.contains(f)) stored << f;
  // A stored name and the same file found in its folder count once.
  QSet<QString> collected;
  for (const QString& f : stored) collected.insert(SameFile(f));
  for (const QString& f : stored)
    for (const QString& c : VariantCandidates(f, folders)) collected.insert(SameFile(c));
  return static_cast<int>(collected.size());
}

bool TzunoCADMdl::ChoisirVarianteImage(const QStringList* folders, int index) {
  // The pictures of each stored name, taken before any changes: a variant that happens to carry
  // another stored name is not replaced a second time.
  std::vector<std::pair<QString, std::vector<TzunoCADImage*>>> groups;
  for (const auto& o : objects_) {
    TzunoCADImage* img = AsImage(o);
    if (!img) continue;
    const QString f = StoredFile(img->FichierImage);
    if (f.isEmpty()) continue;
    auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == f; });
    if (it == groups.end())
      groups.push_back({f, {img}});
    else
      it->second.push_back(img);
  }
  bool result = true;
  for (const auto& [file, images] : groups) {
    const QStringList candidates = VariantCandidates(file, folders);
    const int n = static_cast<int>(candidates.size());
    if (n == 0) {
      result = false;
      continue;
    }
    if (index == -1) index = Hasard ? Hasard(n) : static_cast<int>(QRandomGenerator::global()->bounded(n));
    index = ((index % n) + n) % n;
    const QString& chosen = candidates[index];
    // Only the pictures of this stored name change (a substring would also catch "grandfond.jpg"
    // for "fond.jpg"). The bare name is what will be saved, so it is used when the resolver finds
    // it; a resolver that does not know the folder gets the full path.
    const QString bare = FileNamePart(chosen);
    QString name;
    if (QFileInfo(StoredFile(ResoudreFichier(bare))).isFile())
      name = bare;
    else if (QFileInfo(StoredFile(ResoudreFichier(chosen))).isFile())
      name = chosen;
    if (name.isEmpty()) {
      Log(QStringLiteral("RemplaceImage(%1, %2, 'OLD', false)").arg(FileNamePart(file), bare));
      result = false;
      continue;
    }
    for (TzunoCADImage* img : images) img->SetFichierImage(name);
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Supports

bool TzunoCADMdl::SetSupport(const QString& name, bool fit) {
  if (name.isEmpty()) return false;
  const QString picture = StoredFile(ResoudreFichier(name + QStringLiteral(".emf")));
  if (picture.isEmpty() || !QFileInfo(picture).isFile()) return false;
  const QFileInfo info(picture);
  const QString description =
      ResolvePath(info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".mdl"));
  QStringList lines;
  if (description.isEmpty() || !ReadTextFile(description, lines)) return false;
  const double w = ReadReal(HeaderValue(lines, QStringLiteral("Large")));
  const double h = ReadReal(HeaderValue(lines, QStringLiteral("Haut")));
  double newW = w, newH = h;
  if (fit) {
    QRect r;
    if (FitRect(RoundEven(w * 10), RoundEven(h * 10), RoundEven(Large * 100), RoundEven(Haut * 100), r)) {
      newW = r.width() / 10;
      newH = r.height() / 10;
    }
  }
  // A description without a usable size would shrink the page to nothing.
  if (!(newW > 0 && newH > 0)) return false;
  SetEntete(QStringLiteral("SupportFichier"), name + QStringLiteral(".emf"));
  Redimensionner(newH, newW);
  // Without a stored place the page sits in the middle of the support.
  for (const QString& key : {QStringLiteral("SupportPosX%"), QStringLiteral("SupportPosY%")}) {
    const QString v = HeaderValue(lines, key);
    SetEntete(key, v.isEmpty() ? QStringLiteral("50") : v);
  }
  return true;
}

QString TzunoCADMdl::ListeVariantesSupport(QStringList& list, int axis) {
  TObjectHost* host = ObjectHost();
  if (!host || host->DataPath().isEmpty()) return QString();
  const QString current = QFileInfo(BareName(GetEntete(QStringLiteral("SupportFichier")))).completeBaseName();
  const auto [prefix, suffix] = SplitSupportName(current);
  QStringList files;
  const QString folder = ResolvePath(host->DataPath() + QStringLiteral("Supports/"));
  if (!folder.isEmpty()) FindFiles(files, folder, QStringLiteral(".emf"), true);
  QStringList names;
  for (const QString& f : files) {
    const QFileInfo fi(f);
    if (fi.completeBaseName().compare(current, Qt::CaseInsensitive) == 0) continue;
    const auto [p, s] = SplitSupportName(fi.completeBaseName());
    const bool same =
        axis == 0 ? s.compare(suffix, Qt::CaseInsensitive) == 0 : p.compare(prefix, Qt::CaseInsensitive) == 0;
    if (same && !names.contains(fi.fileName(), Qt::CaseInsensitive)) names << fi.fileName();
  }
  // Folder listings come in no fixed order.
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  list << names;
  return axis == 0 ? suffix : prefix;
}

// ---------------------------------------------------------------------------------------------
// Page size and texts

void TzunoCADMdl::Redimensionner(double newHeight, double newWidth) {
  if (newWidth == Large && newHeight == Haut) return;
  if (!(newWidth > 0 && newHeight > 0)) return;
  if (Large > 0 && Haut > 0) {
    const double kx = newWidth / Large, ky = newHeight / Haut;
    for (const auto& o : objects_) {
      if (auto* line = dynamic_cast<TzunoCADLigne*>(o.get())) {
        for (QPointF& p : line->Points) p = QPointF(p.x() * kx, p.y() * ky);
        continue;
      }
      if (!o->IsBox()) continue;  // guide marks stay where they are
      auto* b = static_cast<TzunoCADRect*>(o.get());
      b->x *= kx;
      b->l *= kx;
      b->y *= ky;
      b->h *= ky;
      if (TzunoCADTexte* t = AsText(o)) {
        t->Font.Height = static_cast<int>(RoundEven(t->Font.Height * kx));
        // Later filling wraps and bounds the font at the page's new scale.
        t->RefX *= kx;
        t->RefL *= kx;
        t->RefY *= ky;
        t->RefH *= ky;
        t->RefFontHeight = static_cast<int>(RoundEven(t->RefFontHeight * kx));
      }
    }
  }
  Large = newWidth;
  Haut = newHeight;
}

void TzunoCADMdl::RelayoutTextes() {
  for (const auto& o : objects_)
    if (TzunoCADTexte* t = AsText(o)) t->LayoutText(t->txt);
}

void TzunoCADMdl::ConvertirChampsPro(bool pro, const QString& field, const QString& fieldFile) {
  // The third column of the field table, after its header line.
  QStringList tokens;
  QStringList lines;
  if (ReadTextFile(fieldFile, lines)) {
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QString t = lines[i].section(QLatin1Char(';'), 2, 2);
      if (!t.isEmpty()) tokens << t;  // an empty token would match every text
    }
  }
  auto texts = [this] {
    std::vector<TzunoCADTexte*> v;
    for (const auto& o : objects_)
      if (TzunoCADTexte* t = AsText(o)) v.push_back(t);
    return v;
  };
  if (!field.isEmpty() && !pro) {
    for (TzunoCADTexte* t : texts())
      if (t->txt.contains(field)) DeleteObjet(t);
  } else if (!field.isEmpty() && pro) {
    const std::vector<TzunoCADTexte*> all = texts();
    const bool present =
        std::any_of(all.begin(), all.end(), [&](TzunoCADTexte* t) { return t->txt.contains(field); });
    if (!present && !all.empty()) {
      if (auto* c = dynamic_cast<TzunoCADTexte*>(CloneObjet(all.front()))) {
        // The copy is a new field, not another place the first text's code fills.
        c->Code.clear();
        c->LayoutText(field);
        c->x = Large / 2;
        c->y = Haut / 2;
      }
    }
  }
  for (TzunoCADTexte* t : texts()) {
    QString s = t->txt;
    for (const QString& token : tokens) {
      QString other;
      if (pro && !token.contains(QLatin1String("PRO")))
        other = token.chopped(1) + QStringLiteral("PRO>");
      else if (!pro && token.contains(QLatin1String("PRO")) && token.size() >= 4)
        other = token.chopped(4) + QLatin1Char('>');
      if (other.isEmpty() || !tokens.contains(other)) continue;
      // One pass over the text: a replacement is never searched again.
      s.replace(token, other);
    }
    t->LayoutText(s);
  }
}
