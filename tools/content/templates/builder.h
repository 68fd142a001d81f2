// Documents described in millimetres and written through the document model itself, so every
// template is exactly what the program writes back after reading it.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <map>

#include "common/generator.h"
#include "render/gdi_types.h"

namespace tpl {

// Colour from its usual 0xRRGGBB spelling.
constexpr TColor Hex(uint32_t rgb) {
  return RGBColor(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}
constexpr TColor kNone = 0xFFFFFFFFu;  // no pen or no fill

struct Font {
  QString name;
  double size = 4;  // cell height in millimetres
  TColor color = clBlack;
  int style = 0;  // fsBold, fsItalic …
  Font With(TColor c) const {
    Font f = *this;
    f.color = c;
    return f;
  }
  Font Sized(double s) const {
    Font f = *this;
    f.size = s;
    return f;
  }
  Font Styled(int s) const {
    Font f = *this;
    f.style = s;
    return f;
  }
};

// Where a text's given point lies on its block: horizontally l, c or r; vertically t, c or b.
struct Anchor {
  char h = 'c', v = 'c';
};
inline constexpr Anchor kCentre{'c', 'c'}, kLeft{'l', 'c'}, kRight{'r', 'c'}, kTopLeft{'l', 't'},
    kTop{'c', 't'}, kTopRight{'r', 't'}, kBottomLeft{'l', 'b'}, kBottom{'c', 'b'}, kBottomRight{'r', 'b'};

struct ImageOptions {
  QString code;
  QString mask;
  int maskMargin = 0, maskBorder = 0;
  TColor maskBorderColor = clGray;
  bool border = false;  // tiles cut from the picture
  double tile = 12;
  double rotation = 0;
};

class Doc {
 public:
  Doc(double large, double haut, int gabarit = 0);

  Doc& Head(const QString& key, const QString& value);
  Doc& OnFace(int face) {
    face_ = face;
    return *this;
  }
  int face() const { return face_; }
  double W() const { return large_; }
  double H() const { return haut_; }
  int Gabarit() const { return gabarit_; }

  // Boxes take their top-left corner and size.
  Doc& Box(double x, double y, double w, double h, TColor fill, TColor pen = kNone, double penMm = 0,
           int cote = 4, double rotation = 0);
  Doc& Ellipse(double x, double y, double w, double h, TColor fill, TColor pen = kNone, double penMm = 0) {
    return Box(x, y, w, h, fill, pen, penMm, 999);
  }
  Doc& Circle(double cx, double cy, double radius, TColor fill, TColor pen = kNone, double penMm = 0) {
    return Box(cx - radius, cy - radius, 2 * radius, 2 * radius, fill, pen, penMm, 999);
  }
  // Straight segments through the points.
  Doc& Polyline(const QVector<QPointF>& points, TColor pen, double penMm, TColor fill = kNone,
                int penStyle = 0);
  Doc& Segment(double x1, double y1, double x2, double y2, TColor pen, double penMm, int penStyle = 0) {
    return Polyline({{x1, y1}, {x2, y2}}, pen, penMm, kNone, penStyle);
  }
  // Cubic Bézier points (anchor, control, control, anchor …) in page millimetres.
  Doc& Bezier(const QVector<QPointF>& points, TColor pen, double penMm, TColor fill = kNone);
  // A path in its own space (0..fw, 0..fh) stretched into the box.
  Doc& Shape(double x, double y, double w, double h, const QVector<QPointF>& points, double fw, double fh,
             TColor fill, TColor pen = kNone, double penMm = 0, double rotation = 0);
  Doc& Text(double x, double y, const QString& text, const Font& font, Anchor anchor = kCentre, int lines = 2,
            double rotation = 0, const QString& code = QString());
  Doc& Image(double x, double y, double w, double h, const QString& file, const ImageOptions& options = {});
  // Groups and their ready-made kinds ("groupe", "tampon", "perforatrice", "cadre").
  Doc& Group(const QString& kind, double x, double y, double w, double h, const QString& file, TColor pen,
             TColor fill, double penMm = 0.3, bool force = false, int mirrorX = 1, int mirrorY = 1);
  struct CalendarStyle {
    Font numbers, days, saints;
    TColor cells = Hex(0xF2F2F2), background = clWhite, dayRow = Hex(0x909090), sunday = Hex(0xE0E0E0);
    bool clearCells = false, clearBackground = true, clearDays = false, clearSunday = false;
    int corner = 0;
    bool showSaints = false;
  };
  Doc& Calendar(double x, double y, double w, double h, int month, int year, const CalendarStyle& style);
  Doc& Barcode(double x, double y, double w, double h, const QString& digits, TColor bars = clBlack,
               TColor background = clWhite, bool transparent = false);
  Doc& Tree(double x, double y, double w, double h, const QString& path, int depth, int columns, bool files,
            const Font& font);
  Doc& Guide(double position, int sens, int sorte);
  // The bare box kind: a named area with nothing drawn.
  Doc& Area(double x, double y, double w, double h, const QString& code);

  struct Object {
    int face = 1;
    QStringList props;
    bool text = false;
    Anchor anchor;
    double ax = 0, ay = 0;
  };
  const std::vector<Object>& Objects() const { return objects_; }
  QStringList HeaderLines() const;

 private:
  Object& Add(QStringList props);
  QStringList Common(const char* kind, TColor pen, double penMm, TColor fill, int penStyle = 0);
  void AddBox(QStringList& p, double cx, double cy, double w, double h, double r);
  double large_, haut_;
  int gabarit_;
  int face_ = 1;
  std::vector<std::pair<QString, QString>> header_;
  std::vector<Object> objects_;
};

// Writes documents (and their previews) into the installation being generated.
class Writer {
 public:
  explicit Writer(const content::Context& context);

  // Page size, item kind and default paper of a row of the layouts table.
  bool Layout(const QString& name, double* large, double* haut, int* gabarit, QString* error) const;
  Doc ForLayout(const QString& name);

  enum class Preview { None, Catalogue, Chooser };
  // relative: path under donnees/ with "/" separators.
  bool Emit(const QString& relative, const Doc& doc, Preview preview);

  // A picture of the installation by its file name, as templates store it; an error when it cannot
  // be found the way the program looks for pictures.
  QString Picture(const QString& fileName);
  // Width over height of a picture of the installation (1 when unknown).
  double Aspect(const QString& file);

  const content::Context& context() const { return context_; }
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  void Fail(const QString& message) {
    if (error_.isEmpty()) error_ = message;
  }
  int count() const { return count_; }

 private:
  QString SampleField(const QString& name) const;
  QStringList Covered(const QStringList& props) const;
  const content::Context& context_;
  QString error_;
  int count_ = 0;
  std::map<QString, QString> card_, album_;
};

}  // namespace tpl
