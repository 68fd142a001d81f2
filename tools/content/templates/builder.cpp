#include "templates/builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/encodings.h"
#include "model/kinds.h"
#include "records/csv_table.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace tpl {

namespace {

QString Points(const QVector<QPointF>& pts) {
  QString s;
  for (const QPointF& p : pts) s += WriteReal(p.x()) + QLatin1Char(';') + WriteReal(p.y()) + QLatin1Char('|');
  return s;
}

QString Real(double v) {
  return WriteReal(std::round(v * 1000) / 1000);
}

// The first section of an installation's ini-like card or album file as key=value pairs.
std::map<QString, QString> FirstSection(const QString& file) {
  std::map<QString, QString> values;
  QStringList lines;
  if (!ReadTextFile(file, lines)) return values;
  bool inside = false;
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1Char('['))) {
      if (inside) break;
      inside = true;
      continue;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (inside && eq > 0) values[line.left(eq).toLower()] = line.mid(eq + 1);
  }
  return values;
}

bool ReadBytes(const QString& path, QByteArray* bytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  *bytes = f.readAll();
  return true;
}

}  // namespace

Doc::Doc(double large, double haut, int gabarit) : large_(large), haut_(haut), gabarit_(gabarit) {}

Doc& Doc::Head(const QString& key, const QString& value) {
  for (auto& kv : header_) {
    if (kv.first.compare(key, Qt::CaseInsensitive) == 0) {
      kv.second = value;
      return *this;
    }
  }
  header_.emplace_back(key, value);
  return *this;
}

QStringList Doc::HeaderLines() const {
  QStringList lines{QStringLiteral("Version=1.2"), QStringLiteral("Large=") + WriteReal(large_),
                    QStringLiteral("Haut=") + WriteReal(haut_)};
  if (gabarit_ != 0) lines << QStringLiteral("Gabarit=") + TzunoCADMdl::GabaritName(gabarit_);
  for (const auto& kv : header_) lines << kv.first + QLatin1Char('=') + kv.second;
  return lines;
}

Doc::Object& Doc::Add(QStringList props) {
  Object o;
  o.face = face_;
  o.props = std::move(props);
  objects_.push_back(std::move(o));
  return objects_.back();
}

QStringList Doc::Common(const char* kind, TColor pen, double penMm, TColor fill, int penStyle) {
  QStringList p;
  PropAdd(p, u"Name", QString::fromLatin1(kind));
  PropAdd(p, u"Face", WriteInt(face_));
  PropAdd(p, u"CanSelect", QStringLiteral("1"));
  const TPen tp{pen == kNone ? clBlack : pen, pen == kNone ? 1 : int(std::lround(penMm * 1000)),
                pen == kNone ? int(psClear) : penStyle};
  PropAdd(p, u"Pen", WritePen(tp));
  PropAdd(p, u"Brush",
          WriteBrush(TBrush{fill == kNone ? clWhite : fill, fill == kNone ? int(bsClear) : int(bsSolid)}));
  return p;
}

void Doc::AddBox(QStringList& p, double cx, double cy, double w, double h, double r) {
  PropAdd(p, u"x", Real(cx));
  PropAdd(p, u"y", Real(cy));
  PropAdd(p, u"l", Real(w));
  PropAdd(p, u"h", Real(h));
  PropAdd(p, u"r", Real(r));
}

Doc& Doc::Box(double x, double y, double w, double h, TColor fill, TColor pen, double penMm, int cote,
              double rotation) {
  QStringList p = Common("rectangle", pen, penMm, fill);
  AddBox(p, x + w / 2, y + h / 2, w, h, rotation);
  PropAdd(p, u"Cote", WriteInt(cote));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Polyline(const QVector<QPointF>& points, TColor pen, double penMm, TColor fill, int penStyle) {
  QVector<QPointF> b;
  for (int i = 0; i < points.size(); ++i) {
    if (i > 0) b << points[i - 1] << points[i];
    b << points[i];
  }
  QStringList p = Common("ligne", pen, penMm, fill, penStyle);
  PropAdd(p, u"p", Points(b));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Bezier(const QVector<QPointF>& points, TColor pen, double penMm, TColor fill) {
  QStringList p = Common("ligne", pen, penMm, fill);
  PropAdd(p, u"p", Points(points));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Shape(double x, double y, double w, double h, const QVector<QPointF>& points, double fw, double fh,
                TColor fill, TColor pen, double penMm, double rotation) {
  QStringList p = Common("forme", pen, penMm, fill);
  AddBox(p, x + w / 2, y + h / 2, w, h, rotation);
  PropAdd(p, u"p", Points(points));
  PropAdd(p, u"FormeLarge", WriteReal(fw));
  PropAdd(p, u"FormeHaut", WriteReal(fh));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Text(double x, double y, const QString& text, const Font& font, Anchor anchor, int lines,
               double rotation, const QString& code) {
  QStringList p = Common("texte", clBlack, 0.001, clWhite);
  p.replaceInStrings(QRegularExpression(QStringLiteral("^Pen=.*")),
                     QStringLiteral("Pen=") + WritePen(TPen{}));
  p.replaceInStrings(QRegularExpression(QStringLiteral("^Brush=.*")),
                     QStringLiteral("Brush=") + WriteBrush(TBrush{}));
  if (!code.isEmpty()) PropAdd(p, u"Code", code);
  AddBox(p, x, y, 0, 0, rotation);
  PropAdd(p, u"Font",
          WriteFont(TFont{font.color, font.name, int(std::lround(font.size * 1000)), font.style}));
  PropAdd(p, u"Aligne", QStringLiteral("0"));
  PropAdd(p, u"Alignement", WriteInt(lines));
  PropAdd(p, u"txt", text);
  Object& o = Add(std::move(p));
  o.text = true;
  o.anchor = anchor;
  o.ax = x;
  o.ay = y;
  return *this;
}

Doc& Doc::Image(double x, double y, double w, double h, const QString& file, const ImageOptions& o) {
  QStringList p = Common("image", clBlack, 0.001, clWhite);
  p.replaceInStrings(QRegularExpression(QStringLiteral("^Pen=.*")),
                     QStringLiteral("Pen=") + WritePen(TPen{}));
  p.replaceInStrings(QRegularExpression(QStringLiteral("^Brush=.*")),
                     QStringLiteral("Brush=") + WriteBrush(TBrush{}));
  if (!o.code.isEmpty()) PropAdd(p, u"Code", o.code);
  AddBox(p, x + w / 2, y + h / 2, w, h, o.rotation);
  if (!file.isEmpty()) PropAdd(p, u"FichierImage", file);
  if (!o.mask.isEmpty()) PropAdd(p, u"FichierMasque", o.mask);
  PropAdd(p, u"Bordure",
          QStringLiteral("%1,%2,%3,2").arg(o.border ? 1 : 0).arg(WriteReal(o.tile), WriteReal(o.tile)));
  PropAdd(p, u"TransparentColor", QStringLiteral("FF00FF"));
  if (o.maskMargin) PropAdd(p, u"MasqueMarge", WriteInt(o.maskMargin));
  if (o.maskBorder) {
    PropAdd(p, u"MasqueBordure", WriteInt(o.maskBorder));
    PropAdd(p, u"MasqueBordureColor", WriteColorRGB(o.maskBorderColor));
  }
  Add(std::move(p));
  return *this;
}

Doc& Doc::Group(const QString& kind, double x, double y, double w, double h, const QString& file, TColor pen,
                TColor fill, double penMm, bool force, int mirrorX, int mirrorY) {
  QStringList p = Common(kind.toLatin1().constData(), pen, penMm, fill);
  AddBox(p, x + w / 2, y + h / 2, w, h, 0);
  PropAdd(p, u"mirroirx", WriteInt(mirrorX));
  PropAdd(p, u"mirroiry", WriteInt(mirrorY));
  if (!file.isEmpty()) PropAdd(p, u"FichierMdl", file);
  PropAdd(p, u"ForcePenBrush", WriteBool(force));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Calendar(double x, double y, double w, double h, int month, int year, const CalendarStyle& s) {
  QStringList p = Common("cal", clBlack, 0.001, clWhite);
  AddBox(p, x + w / 2, y + h / 2, w, h, 0);
  auto font = [](const Font& f) {
    return WriteFont(TFont{f.color, f.name, int(std::lround(f.size)), f.style});
  };
  PropAdd(p, u"FontChiffres", font(s.numbers));
  PropAdd(p, u"FontJours", font(s.days));
  PropAdd(p, u"FontSaints", font(s.saints));
  PropAdd(p, u"Jour", QStringLiteral("1"));
  PropAdd(p, u"Mois", WriteInt(month));
  PropAdd(p, u"Annee", WriteInt(year));
  PropAdd(p, u"ColorFond", WriteColorRGB(s.background));
  PropAdd(p, u"ColorJours", WriteColorRGB(s.dayRow));
  PropAdd(p, u"ColorDimanche", WriteColorRGB(s.sunday));
  PropAdd(p, u"ColorChiffres", WriteColorRGB(s.cells));
  PropAdd(p, u"TranspFond", WriteBool(s.clearBackground));
  PropAdd(p, u"TranspJours", WriteBool(s.clearDays));
  PropAdd(p, u"TranspDimanche", WriteBool(s.clearSunday));
  PropAdd(p, u"TranspChiffres", WriteBool(s.clearCells));
  PropAdd(p, u"VoirSaints", WriteBool(s.showSaints));
  PropAdd(p, u"CoinChiffres", WriteInt(s.corner));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Barcode(double x, double y, double w, double h, const QString& digits, TColor bars,
                  TColor background, bool transparent) {
  QStringList p = Common("codebarre", clBlack, 0.001, clWhite);
  AddBox(p, x + w / 2, y + h / 2, w, h, 0);
  PropAdd(p, u"codebarre", digits);
  PropAdd(p, u"colorBarre", WriteColorRGB(bars));
  PropAdd(p, u"colorFond", WriteColorRGB(background));
  PropAdd(p, u"Transparent", WriteBool(transparent));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Tree(double x, double y, double w, double h, const QString& path, int depth, int columns,
               bool files, const Font& font) {
  QStringList p = Common("arbo", clBlack, 0.001, clWhite);
  AddBox(p, x + w / 2, y + h / 2, w, h, 0);
  if (!path.isEmpty()) PropAdd(p, u"Path", path);
  PropAdd(p, u"DepthMax", WriteInt(depth));
  PropAdd(p, u"Column", WriteInt(columns));
  PropAdd(p, u"ViewFichier", WriteBool(files));
  PropAdd(p, u"Font", WriteFont(TFont{font.color, font.name, -11, font.style}));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Guide(double position, int sens, int sorte) {
  QStringList p = Common("repere", clBlack, 0.001, clWhite);
  PropAdd(p, u"position", WriteReal(position));
  PropAdd(p, u"sens", WriteInt(sens));
  PropAdd(p, u"sorte", WriteInt(sorte));
  Add(std::move(p));
  return *this;
}

Doc& Doc::Area(double x, double y, double w, double h, const QString& code) {
  QStringList p = Common("rect", clBlack, 0.001, clWhite);
  if (!code.isEmpty()) PropAdd(p, u"Code", code);
  AddBox(p, x + w / 2, y + h / 2, w, h, 0);
  Add(std::move(p));
  return *this;
}

// ---------------------------------------------------------------------------------------------

Writer::Writer(const content::Context& context) : context_(context) {
  card_ = FirstSection(context.donnees + QStringLiteral("/fiches_1.def"));
  album_ = FirstSection(context.donnees + QStringLiteral("/albumcd_1.def"));
}

QString Writer::SampleField(const QString& name) const {
  // Previews show the sample card and album the program starts with.
  const auto& table = name.startsWith(QLatin1String("cd")) ? album_ : card_;
  const auto it = table.find(name.toLower());
  if (it != table.end()) return it->second;
  return Soft() ? Soft()->FieldValue(name) : QString();
}

bool Writer::Layout(const QString& name, double* large, double* haut, int* gabarit, QString* error) const {
  const TzunoCSV table(context_.donnees + QStringLiteral("/papiers_gab.csv"));
  const int row = table.FindRowBy(QStringLiteral("nom"), name);
  if (row <= 0) {
    *error = QStringLiteral("no layout named \"%1\" in papiers_gab.csv").arg(name);
    return false;
  }
  *large = ReadReal(table.Cell(table.ColIndex(QStringLiteral("large")), row));
  *haut = ReadReal(table.Cell(table.ColIndex(QStringLiteral("haut")), row));
  *gabarit = TzunoCADMdl::GabaritCode(table.Cell(table.ColIndex(QStringLiteral("gabarit")), row));
  return true;
}

Doc Writer::ForLayout(const QString& name) {
  double w = 100, h = 100;
  int g = 0;
  QString error;
  if (!Layout(name, &w, &h, &g, &error)) Fail(error);
  Doc d(w, h, g);
  d.Head(QStringLiteral("PapierDefaut"), name);
  return d;
}

QString Writer::Picture(const QString& fileName) {
  if (!Soft() || Soft()->FindImageFile(fileName).isEmpty())
    Fail(QStringLiteral("picture \"%1\" is not in the installation's picture folders").arg(fileName));
  return fileName;
}

QStringList Writer::Covered(const QStringList& props) const {
  // A photo fills its box: the part of the picture beyond the box's proportions is cropped evenly.
  // Cut-outs (PNG) and tiled borders show whole.
  const QString file = PropValue(props, u"FichierImage");
  if (PropValue(props, u"Name") != QLatin1String("image") || file.isEmpty()) return props;
  const QString suffix = QFileInfo(file).suffix().toLower();
  const QString path = Soft() ? Soft()->FindImageFile(file).section(QLatin1Char('|'), 0, 0) : QString();
  if (suffix == QLatin1String("png")) {
    // Cut-outs are keyed on magenta: the picture shows without its background, as when it is
    // picked in the editor.
    const QImage picture(path);
    if (!picture.isNull() && (picture.pixel(0, 0) & 0xFFFFFF) == 0xFF00FF &&
        !PropFind(props, u"Transparent", nullptr))
      return props + QStringList{QStringLiteral("Transparent=1")};
    return props;
  }
  if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg") && suffix != QLatin1String("bmp"))
    return props;
  if (PropFind(props, u"CropX1", nullptr) || PropValue(props, u"Bordure").startsWith(QLatin1Char('1')))
    return props;
  const QSize size = QImageReader(path).size();
  const double l = ReadReal(PropValue(props, u"l")), h = ReadReal(PropValue(props, u"h"));
  if (size.isEmpty() || l <= 0 || h <= 0) return props;
  const double picture = double(size.width()) / size.height(), box = l / h;
  QStringList out = props;
  if (picture > box * 1.01) {
    const int cut = int(std::lround((1 - box / picture) * 50));
    if (cut > 0) out << QStringLiteral("CropX1=%1").arg(cut) << QStringLiteral("CropX2=%1").arg(cut);
  } else if (box > picture * 1.01) {
    const int cut = int(std::lround((1 - picture / box) * 50));
    if (cut > 0) out << QStringLiteral("CropY1=%1").arg(cut) << QStringLiteral("CropY2=%1").arg(cut);
  }
  return out;
}

double Writer::Aspect(const QString& file) {
  const QString path =
      Soft() ? Soft()->FindImageFile(Picture(file)).section(QLatin1Char('|'), 0, 0) : QString();
  const QSize size = QImageReader(path).size();
  return size.isEmpty() ? 1.0 : double(size.width()) / size.height();
}

bool Writer::Emit(const QString& relative, const Doc& doc, Preview preview) {
  if (!ok()) return false;
  QStringList lines = doc.HeaderLines();
  lines << QString();
  // Face blocks as the file format has them; the model renumbers and orders everything on saving.
  int number = 0;
  for (int face : {1, 2}) {
    bool any = false;
    for (const auto& o : doc.Objects()) any = any || o.face == face;
    if (!any) continue;
    lines << QStringLiteral("Face=%1").arg(face);
    for (const auto& o : doc.Objects()) {
      ++number;
      if (o.face != face) continue;
      lines << QStringLiteral("  Objet=%1").arg(number);
      for (const QString& p : Covered(o.props)) lines << QStringLiteral("    ") + p;
      lines << QStringLiteral("  End") << QStringLiteral("  ");
    }
    lines << QStringLiteral("End") << QString();
  }

  QStringList missing;
  auto resolver = [&missing](TzunoCADMdl*, QString& name) {
    const QString asked = name;
    if (Soft()) name = Soft()->FindImageFile(name);
    if (name.isEmpty() && !asked.isEmpty()) missing << asked;
  };
  auto fields = [this](TzunoCADObj*, const QString& field, QString& value) { value = SampleField(field); };

  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), doc.W(), doc.H());
  d.OnCheminFichier = resolver;
  d.OnChampFusion = fields;
  d.LoadFromStrings(lines);
  if (d.Count() != int(doc.Objects().size())) {
    Fail(QStringLiteral("%1: %2 objects read back of %3")
             .arg(relative)
             .arg(d.Count())
             .arg(doc.Objects().size()));
    return false;
  }
  // Texts placed by a side or a corner: measured finely, then centred accordingly. Objects are read
  // face by face, so the built objects are matched in that order.
  std::vector<const Doc::Object*> order;
  for (int face : {1, 2})
    for (const auto& o : doc.Objects())
      if (o.face == face) order.push_back(&o);
  d.PixelsPerMmX = d.PixelsPerMmY = 40;
  for (int i = 0; i < d.Count(); ++i) {
    const Doc::Object& o = *order[size_t(i)];
    auto* t = dynamic_cast<TzunoCADTexte*>(d.Objet(i));
    if (!o.text || !t) continue;
    t->LayoutText(t->txt);
    const double th = t->r * M_PI / 180;
    // Sizes along the page axes of a text turned by a multiple of 90 degrees.
    const bool turned = std::fabs(std::sin(th)) > 0.7;
    const double w = turned ? t->h : t->l, h = turned ? t->l : t->h;
    t->x = o.anchor.h == 'l' ? o.ax + w / 2 : o.anchor.h == 'r' ? o.ax - w / 2 : o.ax;
    t->y = o.anchor.v == 't' ? o.ay + h / 2 : o.anchor.v == 'b' ? o.ay - h / 2 : o.ay;
    t->x = std::round(t->x * 100) / 100;
    t->y = std::round(t->y * 100) / 100;
  }
  d.PixelsPerMmX = d.PixelsPerMmY = 1;
  if (!missing.isEmpty()) {
    Fail(QStringLiteral("%1: missing file %2").arg(relative, missing.join(QStringLiteral(", "))));
    return false;
  }
  if (const int out = d.CountHorsPage(false); out != 0) {
    Fail(QStringLiteral("%1: %2 objects outside the page").arg(relative).arg(out));
    return false;
  }

  QTemporaryDir temp;
  const QString first = temp.filePath(QStringLiteral("a.mdl")),
                second = temp.filePath(QStringLiteral("b.mdl"));
  QByteArray bytes, again;
  if (!d.SaveToFile(first) || !ReadBytes(first, &bytes)) {
    Fail(QStringLiteral("%1: cannot write a temporary copy").arg(relative));
    return false;
  }
  // What the program reads back and saves must be these very bytes.
  TzunoCADMdl check(nullptr, QRect(0, 0, 100, 100), doc.W(), doc.H());
  check.OnCheminFichier = resolver;
  check.OnChampFusion = fields;
  if (!check.LoadFromFile(first) || !check.SaveToFile(second) || !ReadBytes(second, &again) ||
      again != bytes) {
    Fail(QStringLiteral("%1: reading and saving again changes the document").arg(relative));
    return false;
  }
  QString error;
  const QString target = QStringLiteral("donnees/") + relative;
  if (!context_.output->Write(target, bytes, &error)) {
    Fail(error);
    return false;
  }
  ++count_;
  if (preview == Preview::None) return true;

  TzunoCADMdl p(nullptr, QRect(0, 0, 100, 100), doc.W(), doc.H());
  p.OnChampFusion = fields;
  if (preview == Preview::Catalogue) {
    p.OnCheminFichier = resolver;
  } else {
    // Stored names may carry the resolver's suffix, which is not part of the file's name.
    p.OnCheminFichier = [](TzunoCADMdl*, QString& name) {
      if (Soft()) name = Soft()->FindVariantFile(name.section(QLatin1Char('|'), 0, 0));
    };
  }
  p.LoadFromFile(first);
  const QString jpg = temp.filePath(QStringLiteral("a.jpg"));
  bool done;
  if (preview == Preview::Catalogue) {
    int w = Soft() ? Soft()->ReadSoftInteger(QStringLiteral("ApercuLarge")) : -1;
    int h = Soft() ? Soft()->ReadSoftInteger(QStringLiteral("ApercuHaut")) : -1;
    done = p.ExportJpegSupport(jpg, w > 0 ? w : 160, h > 0 ? h : 160, RGBColor(128, 128, 128));
  } else {
    done = p.ExportJpeg(jpg, 110, 110, clWhite);
  }
  QByteArray picture;
  if (!done || !ReadBytes(jpg, &picture)) {
    Fail(QStringLiteral("%1: no preview").arg(relative));
    return false;
  }
  QString base = target;
  base.chop(4);
  return context_.output->Write(base + QStringLiteral(".jpg"), picture, &error) || (Fail(error), false);
}

}  // namespace tpl
