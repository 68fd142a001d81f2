// The default skin "Classique" and the splash picture: light bars and menus, dark slate line
// pictograms, one warm yellow for what is active or under the pointer.
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <map>

#include "common/generator.h"
#include "render/codecs.h"
#include "shell/language.h"
#include "shell/skin_names.h"
#include "shell/skin_pictures.h"
#include "skin/pictograms.h"

namespace content::skin {

namespace {

const QColor kSlate(0x2F, 0x3E, 0x52);
const QColor kInk(0x1F, 0x29, 0x37);
const QColor kTeal(0x1A, 0x9E, 0x8F);
const QColor kYellow(0xFF, 0xE3, 0x47);  // the program's highlight colour
const QColor kYellowEdge(0xE0, 0xB8, 0x00);
const QColor kLine(0xD5, 0xDC, 0xE4);
const QColor kMenuBack(0xE9, 0xED, 0xF2);
const QColor kMenuItem(0xDF, 0xE6, 0xEE);
const QColor kButtonFace(0xF0, 0xF0, 0xF0);

constexpr int kBarHeight = 76;
constexpr int kBarButtonWidth = 60, kBarButtonHeight = 48, kBarTop = 6;

const Ink kInkOnLight{kSlate, kTeal, Qt::white};
const Ink kInkOnYellow{kInk, kInk, QColor(0xFF, 0xF6, 0xC8)};

const QString kSkin = QStringLiteral("donnees/Skin/Classique/");

struct Writer {
  const Context& context;
  QString* error;
  bool ok = true;

  void Put(const QString& relative, const QByteArray& bytes) {
    if (ok && !context.output->Write(relative, bytes, error)) ok = false;
  }
  void Bmp(const QString& name, const QImage& image) {
    Put(kSkin + name, EncodeBmp(image.convertToFormat(QImage::Format_RGB888)));
  }
  void Jpg(const QString& name, const QImage& image) {
    Put(kSkin + name, EncodeJpeg(image.convertToFormat(QImage::Format_RGB888)));
  }
  void Png(const QString& name, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    Put(kSkin + name, bytes);
  }
};

QImage Canvas(int w, int h, const QColor& fill) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QFont Font(int pixels, bool bold = false, const char* family = "Lato") {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

// Bar rows: a soft vertical gradient, a hairline and the yellow rule at the bottom. Buttons paint the
// same rows behind them so that they sit on the bar without transparency.
QColor BarRow(int y) {
  if (y >= kBarHeight - 3) return kYellow;
  if (y == kBarHeight - 4) return kLine;
  const qreal t = qreal(y) / (kBarHeight - 4);
  const QColor a(0xFF, 0xFF, 0xFF), b(0xEC, 0xF0, 0xF5);
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

void PaintBarRows(QImage& image, int top) {
  for (int y = 0; y < image.height(); ++y) {
    const QRgb c = BarRow(top + y).rgb();
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) line[x] = c;
  }
}

// The mark: a rounded square holding a disc and the corner of a label.
void DrawMark(QPainter& p, const QRectF& r) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const qreal k = r.width() / 40.0;
  p.translate(r.topLeft());
  p.scale(k, k);
  QLinearGradient grad(0, 0, 40, 40);
  grad.setColorAt(0, QColor(0x24, 0xB3, 0xA2));
  grad.setColorAt(1, QColor(0x16, 0x7F, 0x8C));
  p.setPen(Qt::NoPen);
  p.setBrush(grad);
  p.drawRoundedRect(QRectF(0, 0, 40, 40), 10, 10);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(17, 22), 11, 11);
  p.setBrush(grad);
  p.drawEllipse(QPointF(17, 22), 3.2, 3.2);
  p.setBrush(kYellow);
  QPainterPath tag;
  tag.moveTo(24, 6);
  tag.lineTo(35, 6);
  tag.lineTo(35, 17);
  tag.lineTo(29.5, 21);
  tag.lineTo(24, 17);
  tag.closeSubpath();
  p.drawPath(tag);
  p.restore();
}

void DrawWordmark(QPainter& p, const QPointF& baselineLeft, int pixels, const QColor& colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = Font(pixels, true);
  f.setLetterSpacing(QFont::PercentageSpacing, 104);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(baselineLeft, QStringLiteral("Lorvane"));
  p.restore();
}

// ---- Button bars ----

QImage BarBackground(int width) {
  QImage image = Canvas(width, kBarHeight, Qt::white);
  PaintBarRows(image, 0);
  return image;
}

QImage BarRightPicture(const QString& pictogram) {
  QImage image = Canvas(300, kBarHeight, Qt::white);
  PaintBarRows(image, 0);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  qreal x = 300 - 18 - 40;
  DrawMark(p, QRectF(x, 14, 40, 40));
  DrawWordmark(p, QPointF(x - 128, 45), 30, kInk);
  if (!pictogram.isEmpty()) {
    // The mode the bar is in, in a round badge left of the name.
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(x - 158, 34), 19, 19);
    DrawPictogram(p, pictogram, QRectF(x - 172, 20, 28, 28), kInkOnYellow);
  }
  return image;
}

QImage BarButton(const QString& pictogram, int state) {
  QImage image = Canvas(kBarButtonWidth, kBarButtonHeight, Qt::white);
  PaintBarRows(image, kBarTop);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (state == 1) {
    p.setPen(QPen(kYellowEdge, 1));
    p.setBrush(kYellow);
    p.drawRoundedRect(QRectF(3.5, 1.5, kBarButtonWidth - 7, kBarButtonHeight - 3), 10, 10);
  }
  const qreal s = 32;
  DrawPictogram(p, pictogram, QRectF((kBarButtonWidth - s) / 2, (kBarButtonHeight - s) / 2, s, s),
                state == 1 ? kInkOnYellow : kInkOnLight);
  p.end();
  // The disabled picture is the normal one greyed, as the bar greys a button without one.
  return state == 2 ? DisabledSkinPicture(image) : image;
}

// ---- Side menus ----

QImage MenuIcon(const QString& pictogram) {
  QImage image = Canvas(20, 20, kMenuItem);
  QPainter p(&image);
  DrawPictogram(p, pictogram, QRectF(0, 0, 20, 20), Ink{kSlate, kTeal, Qt::white});
  return image;
}

QImage MenuArrow(bool unfolded) {
  QImage image = Canvas(14, 14, kMenuItem);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kSlate, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath path;
  if (unfolded) {
    path.moveTo(3, 9);
    path.lineTo(7, 5);
    path.lineTo(11, 9);
  } else {
    path.moveTo(3, 5);
    path.lineTo(7, 9);
    path.lineTo(11, 5);
  }
  p.drawPath(path);
  return image;
}

QImage MenuBackground() {
  QImage image = Canvas(320, 1200, kMenuBack);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient grad(0, 700, 0, 1200);
  grad.setColorAt(0, kMenuBack);
  grad.setColorAt(1, QColor(0xDC, 0xE3, 0xEB));
  p.fillRect(QRectF(0, 700, 320, 500), grad);
  // A faint mark at the bottom, under the items.
  p.setOpacity(0.10);
  DrawMark(p, QRectF(200, 1060, 96, 96));
  return image;
}

// ---- Labels, toggle buttons, tool glyphs ----

QImage LabelGlyph(const QString& pictogram) {
  QImage image(18, 18, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  DrawPictogram(p, pictogram, QRectF(0, 0, 18, 18), kInkOnLight);
  return image;
}

QImage ToggleButton(const QString& pictogram, bool active, int size, int number = 0) {
  QImage image = Canvas(size, size, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal r = size / 8.0;
  p.setPen(QPen(active ? kYellowEdge : kLine, size >= 80 ? 2 : 1.5));
  p.setBrush(active ? kYellow : QColor(0xF7, 0xF9, 0xFB));
  p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), r, r);
  const qreal s = size * 0.56;
  DrawPictogram(p, pictogram, QRectF((size - s) / 2, (size - s) / 2, s, s),
                active ? kInkOnYellow : kInkOnLight);
  const qreal b = size * 0.13;  // corner badge radius
  if (number > 0) {
    p.setPen(Qt::NoPen);
    p.setBrush(active ? kInk : kSlate);
    p.drawEllipse(QPointF(size - b - 4, size - b - 4), b, b);
    p.setPen(Qt::white);
    p.setFont(Font(int(b * 1.5), true));
    p.drawText(QRectF(size - 2 * b - 4, size - 2 * b - 4, 2 * b, 2 * b), Qt::AlignCenter,
               QString::number(number));
  } else if (active) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(size - b - 5, b + 5), b, b);
    p.setPen(QPen(kYellow, size / 40.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c(size - b - 5, b + 5);
    QPainterPath check;
    check.moveTo(c + QPointF(-b * 0.45, 0));
    check.lineTo(c + QPointF(-b * 0.1, b * 0.35));
    check.lineTo(c + QPointF(b * 0.5, -b * 0.35));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
  }
  return image;
}

QImage ToolGlyph(const QString& pictogram, bool active) {
  QImage image = Canvas(36, 36, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (active) {
    p.setPen(QPen(kYellowEdge, 1));
    p.setBrush(kYellow);
    p.drawRoundedRect(QRectF(0.5, 0.5, 35, 35), 8, 8);
  }
  DrawPictogram(p, pictogram, QRectF(6, 6, 24, 24), active ? kInkOnYellow : kInkOnLight);
  return image;
}

QImage DialogGlyph(const QString& pictogram) {
  QImage image = Canvas(24, 24, kButtonFace);
  QPainter p(&image);
  DrawPictogram(p, pictogram, QRectF(1, 1, 22, 22), Ink{kSlate, kTeal, Qt::white});
  return image;
}

QImage PrinterType(const QString& pictogram) {
  QImage image = Canvas(52, 52, Qt::white);
  QPainter p(&image);
  DrawPictogram(p, pictogram, QRectF(2, 2, 48, 48), kInkOnLight);
  return image;
}

// ---- Larger pictures ----

// The calibration sheet as printed: a vertical and a horizontal line, and the two distances the
// user measures from the sheet's left and top edges.
QImage CalibrationSheet(bool landscape) {
  const int w = landscape ? 440 : 320, h = landscape ? 320 : 440;
  QImage image = Canvas(w, h, QColor(0xF3, 0xF5, 0xF8));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF sheet = landscape ? QRectF(40, 40, 360, 254) : QRectF(50, 40, 220, 310 + 60);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 28));
  p.drawRoundedRect(sheet.translated(4, 5), 3, 3);
  p.setBrush(Qt::white);
  p.setPen(QPen(kLine, 1));
  p.drawRect(sheet);
  // Rulers along the lines, as on the printed sheet.
  const qreal vx = sheet.left() + sheet.width() * 0.42, hy = sheet.top() + sheet.height() * 0.36;
  p.setPen(QPen(kInk, 2));
  p.drawLine(QPointF(vx, sheet.top() + 12), QPointF(vx, sheet.bottom() - 12));
  p.drawLine(QPointF(sheet.left() + 12, hy), QPointF(sheet.right() - 12, hy));
  p.setPen(QPen(kSlate, 1));
  for (qreal y = sheet.top() + 16; y < sheet.bottom() - 12; y += 6)
    p.drawLine(QPointF(vx - (int(y) % 30 < 6 ? 7 : 4), y), QPointF(vx, y));
  for (qreal x = sheet.left() + 16; x < sheet.right() - 12; x += 6)
    p.drawLine(QPointF(x, hy), QPointF(x, hy + (int(x) % 30 < 6 ? 7 : 4)));
  // The two measures.
  auto dimension = [&](QPointF a, QPointF b, const QString& label, bool horizontal) {
    QPen pen(kTeal, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawLine(a, b);
    const QPointF d = horizontal ? QPointF(6, 4) : QPointF(4, 6);
    auto head = [&](QPointF tip, qreal sign) {
      if (horizontal) {
        p.drawLine(tip, tip + QPointF(sign * d.x(), -d.y()));
        p.drawLine(tip, tip + QPointF(sign * d.x(), d.y()));
      } else {
        p.drawLine(tip, tip + QPointF(-d.x(), sign * d.y()));
        p.drawLine(tip, tip + QPointF(d.x(), sign * d.y()));
      }
    };
    head(a, 1);
    head(b, -1);
    const QPointF mid = (a + b) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawEllipse(mid + (horizontal ? QPointF(0, -16) : QPointF(18, 0)), 11, 11);
    p.setPen(Qt::white);
    p.setFont(Font(14, true));
    p.drawText(QRectF(mid + (horizontal ? QPointF(-11, -27) : QPointF(7, -11)), QSizeF(22, 22)),
               Qt::AlignCenter, label);
  };
  dimension(QPointF(sheet.left() + 1, sheet.bottom() - 40), QPointF(vx - 1, sheet.bottom() - 40),
            QStringLiteral("X"), true);
  dimension(QPointF(sheet.right() - 40, sheet.top() + 1), QPointF(sheet.right() - 40, hy - 1),
            QStringLiteral("Y"), false);
  // The feed direction: the arrow shows the sheet's top edge.
  p.setPen(QPen(kSlate, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const QPointF t(sheet.center().x(), sheet.top() - 22);
  p.drawLine(t + QPointF(0, 14), t);
  p.drawLine(t, t + QPointF(-5, 6));
  p.drawLine(t, t + QPointF(5, 6));
  return image;
}

QImage Splash() {
  QImage image = Canvas(520, 320, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 520, 320);
  back.setColorAt(0, QColor(0x1E, 0x2A, 0x3A));
  back.setColorAt(1, QColor(0x12, 0x4E, 0x5C));
  p.fillRect(image.rect(), back);
  // Sheets, a disc and a label fanned out behind the name.
  p.setOpacity(0.16);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.save();
  p.translate(420, 70);
  p.rotate(12);
  p.drawRoundedRect(QRectF(-60, -80, 120, 170), 6, 6);
  p.restore();
  p.drawEllipse(QPointF(86, 258), 92, 92);
  p.setOpacity(1);
  p.setBrush(QColor(0x1E, 0x2A, 0x3A));
  p.drawEllipse(QPointF(86, 258), 20, 20);
  DrawMark(p, QRectF(60, 104, 72, 72));
  DrawWordmark(p, QPointF(152, 160), 64, Qt::white);
  p.setPen(Qt::NoPen);
  p.setBrush(kYellow);
  p.drawRoundedRect(QRectF(156, 182, 110, 5), 2.5, 2.5);
  p.setPen(QColor(0xC9, 0xD6, 0xE3));
  p.setFont(Font(16));
  p.drawText(QPointF(156, 214), QStringLiteral("CD · DVD · cartes · étiquettes · calendriers"));
  return image;
}

QImage PanelPerso() {
  QImage image = Canvas(240, 240, kMenuBack);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(120, 110, 130);
  glow.setColorAt(0, Qt::white);
  glow.setColorAt(1, kMenuBack);
  p.fillRect(image.rect(), glow);
  // A card, a disc and a label: what the program makes.
  p.setPen(QPen(kLine, 2));
  p.setBrush(Qt::white);
  p.save();
  p.translate(84, 100);
  p.rotate(-8);
  p.drawRoundedRect(QRectF(-56, -36, 112, 72), 8, 8);
  p.setPen(Qt::NoPen);
  p.setBrush(kTeal);
  p.drawRoundedRect(QRectF(-44, -22, 30, 30), 15, 15);
  p.setBrush(kLine);
  p.drawRoundedRect(QRectF(-6, -16, 50, 6), 3, 3);
  p.drawRoundedRect(QRectF(-6, -2, 38, 6), 3, 3);
  p.drawRoundedRect(QRectF(-44, 18, 88, 5), 2.5, 2.5);
  p.restore();
  p.setPen(QPen(kLine, 2));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(160, 150), 54, 54);
  QConicalGradient sheen(160, 150, 30);
  sheen.setColorAt(0, QColor(0xC8, 0xF0, 0xEA));
  sheen.setColorAt(0.25, QColor(0xFF, 0xF3, 0xB0));
  sheen.setColorAt(0.5, QColor(0xD9, 0xE4, 0xFF));
  sheen.setColorAt(0.75, QColor(0xFF, 0xDD, 0xE6));
  sheen.setColorAt(1, QColor(0xC8, 0xF0, 0xEA));
  p.setPen(Qt::NoPen);
  p.setBrush(sheen);
  p.drawEllipse(QPointF(160, 150), 50, 50);
  p.setBrush(kMenuBack);
  p.setPen(QPen(kLine, 2));
  p.drawEllipse(QPointF(160, 150), 12, 12);
  p.save();
  p.translate(70, 184);
  p.rotate(10);
  QPainterPath tag;
  tag.moveTo(-34, -18);
  tag.lineTo(26, -18);
  tag.lineTo(40, 0);
  tag.lineTo(26, 18);
  tag.lineTo(-34, 18);
  tag.closeSubpath();
  p.setPen(QPen(kYellowEdge, 2));
  p.setBrush(kYellow);
  p.drawPath(tag);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(26, 0), 4, 4);
  p.restore();
  DrawWordmark(p, QPointF(72, 230), 20, kSlate);
  return image;
}

QImage PanelDecoration() {
  // Header panels take this picture's top-left colour.
  QImage image = Canvas(64, 64, QColor(0xF7, 0xF9, 0xFB));
  QPainter p(&image);
  DrawMark(p, QRectF(14, 14, 36, 36));
  return image;
}

QImage WizardWelcome(int language) {
  QImage image = Canvas(260, 320, QColor(0xF7, 0xF9, 0xFB));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient top(0, 0, 0, 180);
  top.setColorAt(0, QColor(0x1E, 0x2A, 0x3A));
  top.setColorAt(1, QColor(0x16, 0x6F, 0x7C));
  p.fillRect(QRectF(0, 0, 260, 180), top);
  // Three cards fanned out, as the wizard makes a set.
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(130, 150);
    p.rotate(-14 + i * 14);
    p.translate(0, -60);
    p.setPen(QPen(kLine, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(-38, -52, 76, 104), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(i == 1 ? kYellow : kTeal);
    p.drawRoundedRect(QRectF(-28, -42, 56, 44), 4, 4);
    p.setBrush(kLine);
    p.drawRoundedRect(QRectF(-28, 12, 56, 5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(-28, 24, 36, 5), 2.5, 2.5);
    p.restore();
  }
  p.setPen(kInk);
  p.setFont(Font(26, true));
  p.drawText(QRectF(0, 204, 260, 40), Qt::AlignCenter,
             language == 2 ? QStringLiteral("Welcome") : QStringLiteral("Bienvenue"));
  p.setPen(kSlate);
  p.setFont(Font(14));
  p.drawText(QRectF(16, 246, 228, 60), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
             language == 2 ? QStringLiteral("Your pictures and words, laid out on every card of the set.")
                           : QString::fromUtf8("Vos images et vos mots, mis en page sur toutes les cartes."));
  return image;
}

// ---- The definition file ----

QByteArray SkinFile() {
  const char* menuKeys =
      "ColorFond=E9EDF2\r\nColorItem=DFE6EE\r\nColorText=1F2937\r\nMarge=8\r\nTrait=1\r\nHaut=30\r\n"
      "CrantagePanel=0\r\nleftText=34\r\ntopText=7\r\niconPanelName=icone defaut.bmp\r\niconPanelLeft=8\r\n"
      "iconPanelTop=5\r\nFondAlignLeft=0\r\nbmpFond=fond_menu.bmp\r\nFontSize=10\r\n";
  const char* barKeys =
      "fond=fond.bmp\r\nfond_right=fond_right.bmp\r\nmargegauche=8\r\nmargehaut=6\r\nEcart=4\r\n"
      "ShowText=1\r\nColor=FFFFFF\r\n";
  QByteArray out;
  out += "; Skin \"Classique\": light bars and menus, slate pictograms, yellow for what is active.\r\n";
  out += "; Colours are RRGGBB. Every picture named here is in this folder.\r\n\r\n";
  out += "[defaut]\r\nFontSize=10\r\n\r\n";
  out += QByteArray("[Menu]\r\n") + menuKeys + "\r\n";
  out += QByteArray("[ecran1]\r\n") + barKeys + "\r\n";
  out += QByteArray("[ecran1_gauche]\r\n") + menuKeys + "\r\n";
  out += QByteArray("[ecran2]\r\n") + barKeys + "\r\n";
  out += QByteArray("[ecran2_gauche]\r\n") + menuKeys + "\r\n";
  out += QByteArray("[ecran2_droite]\r\n") + menuKeys + "\r\n";
  // The effects window: its menu sits at the window's right, the mark against the right edge.
  QByteArray effects(menuKeys);
  effects.replace("FondAlignLeft=0", "FondAlignLeft=1");
  out += QByteArray("[menu]\r\n") + effects;
  return out;
}

// ---- Which pictogram means what ----

const std::map<QString, QString>& BarPictograms() {
  static const std::map<QString, QString> m = {
      {"Nouveau", "new"}, {"Fiche", "card"},   {"Infos", "info"},       {"Web", "web"},
      {"Aide", "help"},   {"Quitter", "quit"}, {"Avance", "advanced"},  {"Simple", "simple"},
      {"Fiche2", "card"}, {"Annuler", "undo"}, {"Enregistrer", "save"}, {"Imprimer", "print"},
      {"Aide2", "help"},  {"Retour", "back"}};
  return m;
}

const std::map<QString, QString>& TitlePictograms() {
  static const std::map<QString, QString> m = {{"panel_modele", "templates"},
                                               {"panel_action", "actions"},
                                               {"panel_variante", "variants"},
                                               {"panel_album", "album"},
                                               {"panel_gabarit", "sheets"},
                                               {"panel_texte", "text"},
                                               {"panel_image", "image"},
                                               {"panel_couleur", "palette"},
                                               {"panel_format", "pageformat"},
                                               {"panel_groupe", "shapes"},
                                               {"panel_calque", "layers"},
                                               {"panel_position", "position"},
                                               {"panel_support", "tshirt"},
                                               {"panel_mirroir", "mirror"},
                                               {"panel_boutons", "tools"},
                                               {"panel_carte", "faces"},
                                               {"panel_masque", "mask"},
                                               {"13", "back"},
                                               {"801", "effects"},
                                               {"802", "list"},
                                               {"803", "settings"},
                                               {"Papier à utiliser", "paper"}};
  return m;
}

const std::map<QString, QString>& LabelPictograms() {
  static const std::map<QString, QString> m = {
      {"zmlDupliquer", "duplicate"},
      {"zmlCopier", "copy"},
      {"zmlColler", "paste"},
      {"zmlSupprimer", "delete"},
      {"zmlSupprimerMesImages", "removepicture"},
      {"zmlAjouterMesImages", "addpicture"},
      {"zmlChoisirImageBase", "library"},
      {"zmlChoisirImageCD2", "disc"},
      {"zmlChargerImagePersonnelle", "folder"},
      {"zmlImporter", "scanner"},
      {"zmlEffetsGraphiques", "effects"},
      {"zmlImageFond", "backgroundpicture"},
      {"zmlRedresser", "straighten"},
      {"zmlToutCopierAutreFace", "copyface"},
      {"zmlEffacerCetteFace", "eraseface"},
      {"zmlChoisirTexteBase", "quote"},
      {"zmlChoisirCouleurTransparante", "dropper"},
      {"zmlRepereSens", "rotate"},
      {"zmlRepereSorte", "fold"},
      {"zmlRecadrerImage", "crop"},
      {"zmlAjouterBordure", "border"},
      {"zmlChangerSupport", "tshirt"},
      {"zmlChangerCouleurSupport", "palette"},
      {"zmlEffacerImage", "erase"},
      {"zmlEffacerToutesImages", "eraseall"},
      {"zmlArboChoisirDossier", "folder"},
      // The numbered labels of the wizards' and photo window's command panels.
      {"zunoMenuLabel1", "erase"},
      {"zunoMenuLabel2", "eraseall"},
      {"zunoMenuLabel3", "web-go"},
      {"zunoMenuLabel4", "back"},
      {"zunoMenuLabel5", "disc"},
      {"zunoMenuLabel6", "quote"},
      {"zunoMenuLabel7", "scanner"},
      {"zunoMenuLabel8", "folder"},
      {"zunoMenuLabel9", "library"},
      {"zunoMenuLabel10", "addpicture"},
      {"zunoMenuLabel11", "copy"},
      {"zunoMenuLabel12", "paste"},
      {"zunoMenuLabel13", "effects"},
      {"zunoMenuLabel14", "crop"},
      {"zunoMenuLabel15", "disc"}};
  return m;
}

const std::map<QString, QString>& TogglePictograms() {
  static const std::map<QString, QString> m = {
      {"wizard_dimension", "ruler"}, {"wizard_modele", "cardwand"},  {"wizard_dvd", "disc"},
      {"wizard_support", "tshirt"},  {"wizard_scrap", "scrap"},      {"wizard_etiquette", "label"},
      {"wizard_fond", "landscape"},  {"wizard_album", "book"},       {"aide_pdf", "book"},
      {"aide_video", "video"},       {"aide_glossaire", "glossary"}, {"aide_demo", "demo"},
      {"dvd_audio", "audio"},        {"dvd_data", "datadisc"},       {"dvd_vierge", "blankdisc"},
      {"dvd_sourcecd", "cdsource"},  {"dvd_sourcemp3", "mp3"},       {"dvd_sourcealbum", "albumlist"},
      {"dvd_repertoire", "folder"},  {"dvd_albumcd", "albumlist"},   {"dvd_new", "newalbum"}};
  return m;
}

const std::map<int, QString>& ToolPictograms() {
  static const std::map<int, QString> m = {
      {1, "select"},   {4, "text"},   {6, "shape"},    {5, "image"},    {3, "line"},
      {7, "mark"},     {8, "tree"},   {9, "calendar"}, {10, "barcode"}, {201, "background"},
      {202, "ribbon"}, {11, "punch"}, {12, "stamp"},   {205, "label"},  {13, "frame"}};
  return m;
}

const std::map<QString, QString>& DialogPictograms() {
  static const std::map<QString, QString> m = {
      {"btn_fic_add.bmp", "add"},        {"btn_fic_del.bmp", "remove"},   {"btn_fic_save.bmp", "save"},
      {"btn_fic_close.bmp", "close"},    {"btn_album_add.bmp", "add"},    {"btn_album_del.bmp", "remove"},
      {"btn_album_select.bmp", "check"}, {"btn_album_close.bmp", "close"}};
  return m;
}

template <typename Map, typename Key>
bool Lookup(const Map& map, const Key& key, QString* pictogram, QString* error) {
  const auto it = map.find(key);
  if (it == map.end() || !HasPictogram(it->second)) {
    if (error) *error = QStringLiteral("no pictogram for a skin name");
    return false;
  }
  *pictogram = it->second;
  return true;
}

// Titles are the language file's wording, in every language it has, so icons follow the texts.
QStringList MenuTitles(std::vector<QString>* meanings) {
  QStringList titles;
  const int saved = MLLanguage();
  for (int language = 1; language <= 2; ++language) {
    MLSetLanguage(language);
    auto add = [&](const QString& title, const QString& meaning) {
      if (title.isEmpty() || titles.contains(title)) return;
      titles.append(title);
      meanings->push_back(meaning);
    };
    for (const QString& key : ::skin::MenuTitleKeys()) add(MLText(key), key);
    for (int number : ::skin::MenuTitleMessages()) add(MLMessage(number), QString::number(number));
  }
  MLSetLanguage(saved);
  for (const QString& fixed : ::skin::MenuFixedTitles()) {
    if (!titles.contains(fixed)) {
      titles.append(fixed);
      meanings->push_back(fixed);
    }
  }
  return titles;
}

bool Generate(const Context& context, QString* error) {
  context.output->Own(kSkin);
  Writer out{context, error};
  out.Put(kSkin + QStringLiteral("skin.txt"), SkinFile());

  // Bars.
  out.Bmp(QStringLiteral("fond.bmp"), BarBackground(1920));
  out.Bmp(QStringLiteral("fond_right.bmp"), BarRightPicture(QString()));
  out.Bmp(QStringLiteral("fond_right_etiquette.bmp"), BarRightPicture(QStringLiteral("label")));
  out.Bmp(QStringLiteral("fond_right_fond.bmp"), BarRightPicture(QStringLiteral("background")));
  // "Fiche" + "2.BMP" is also the normal picture of the editor's "Fiche2" (and so for "Aide"): the
  // button shown every day wins, and the bar greys that normal picture for the disabled state.
  const QStringList buttons = ::skin::MainBarButtons() + ::skin::EditorBarButtons();
  QStringList normals;
  for (const QString& name : buttons) normals.append(::skin::BarButtonFiles(name)[0]);
  for (const QString& name : buttons) {
    QString pictogram;
    if (!Lookup(BarPictograms(), name, &pictogram, error)) return false;
    const QStringList files = ::skin::BarButtonFiles(name);
    for (int state = 0; state < 3; ++state) {
      if (state > 0 && normals.contains(files[state])) continue;
      out.Bmp(files[state], BarButton(pictogram, state));
    }
  }

  // Side menus.
  out.Bmp(QStringLiteral("fond_menu.bmp"), MenuBackground());
  out.Bmp(::skin::DefaultMenuIconFile(), MenuIcon(QStringLiteral("generic")));
  out.Bmp(::skin::ArrowFile(false), MenuArrow(false));
  out.Bmp(::skin::ArrowFile(true), MenuArrow(true));
  std::vector<QString> meanings;
  const QStringList titles = MenuTitles(&meanings);
  for (int i = 0; i < titles.size(); ++i) {
    QString pictogram;
    if (!Lookup(TitlePictograms(), meanings[i], &pictogram, error)) return false;
    if (titles[i].contains(QLatin1Char('/')) || titles[i].contains(QLatin1Char('\\'))) continue;
    out.Bmp(::skin::MenuIconFile(titles[i]), MenuIcon(pictogram));
  }

  // Labels.
  for (const QString& name : ::skin::LabelNames()) {
    QString pictogram;
    if (!Lookup(LabelPictograms(), name, &pictogram, error)) return false;
    out.Png(::skin::LabelGlyphFile(name), LabelGlyph(pictogram));
  }

  // Toggle buttons: case items and sheet layouts carry their number.
  for (int k = 1; k <= 6; ++k) {
    const QString pictogram = QStringLiteral("case%1").arg(k);
    for (bool active : {false, true})
      out.Bmp(::skin::ToggleButtonFile(::skin::CaseItemButtons()[k - 1], active),
              ToggleButton(pictogram, active, 64, k));
  }
  for (const QString& name :
       ::skin::WizardChooserKeys() + ::skin::HelpChooserKeys() + ::skin::DiscWizardButtons()) {
    QString pictogram;
    if (!Lookup(TogglePictograms(), name, &pictogram, error)) return false;
    for (bool active : {false, true})
      out.Bmp(::skin::ToggleButtonFile(name, active), ToggleButton(pictogram, active, 100));
  }

  // Editor tools.
  for (int tag : ::skin::ToolTags()) {
    QString pictogram;
    if (!Lookup(ToolPictograms(), tag, &pictogram, error)) return false;
    for (bool active : {false, true})
      out.Bmp(::skin::ToolGlyphFile(tag, active), ToolGlyph(pictogram, active));
  }

  // Dialog glyphs and printer types.
  for (const QString& file : ::skin::DialogGlyphs()) {
    QString pictogram;
    if (!Lookup(DialogPictograms(), file, &pictogram, error)) return false;
    out.Bmp(file, DialogGlyph(pictogram));
  }
  const char* printers[] = {"printer-top", "printer-front", "printer-laser"};
  for (int type = 0; type < ::skin::CalibrationTypeCount(); ++type)
    out.Bmp(::skin::CalibrationTypeFile(type), PrinterType(QString::fromLatin1(printers[type])));

  // Single pictures.
  out.Jpg(QStringLiteral("calibre_portrait.jpg"), CalibrationSheet(false));
  out.Jpg(QStringLiteral("calibre_paysage.jpg"), CalibrationSheet(true));
  out.Bmp(QStringLiteral("PanelPerso.bmp"), PanelPerso());
  out.Bmp(QStringLiteral("panel_droite.bmp"), PanelDecoration());
  for (int language = 1; language <= 2; ++language)
    out.Bmp(::skin::WizardWelcomeFile(language), WizardWelcome(language));

  // The splash sits in the program's folder, not in the skin.
  if (out.ok && !context.output->Write(QStringLiteral("logo.bmp"),
                                       EncodeBmp(Splash().convertToFormat(QImage::Format_RGB888)), error))
    return false;
  return out.ok;
}

const Registration registration("skin", 10, "skin pictures, skin.txt and the splash picture", Generate);

}  // namespace

}  // namespace content::skin
