// Directory trees: listing a folder and laying its names out in columns.
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <cmath>

#include "model/arbo.h"
#include "model/document.h"
#include "model/encodings.h"

namespace {

int Round(double v) {
  return static_cast<int>(std::clamp<long long>(RoundEven(v), -1000000000, 1000000000));
}

// A plain folder or sheet, for machines without an icon theme.
QImage DrawnIcon(bool folder) {
  QImage img(32, 32, QImage::Format_RGB888);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 90, 90), 1.5));
  if (folder) {
    p.setBrush(QColor(240, 200, 90));
    p.drawRoundedRect(QRectF(3, 7, 26, 20), 2, 2);
    p.drawRect(QRectF(3, 5, 11, 4));
  } else {
    p.setBrush(QColor(250, 250, 250));
    p.drawPolygon(QPolygonF({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}}));
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
  }
  return img;
}

// Names in the user's language order, numbers by their value ("img9" before "img10"). A process in the
// C locale would compare character codes, putting "écoles" after "Zoo": it gets English order.
QCollator NameCollator() {
  QLocale locale;
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
  QCollator collator(locale);
  collator.setNumericMode(true);
  return collator;
}

}  // namespace

QImage FileTypeIcon(const QString& path, bool folder) {
  static QMimeDatabase mimes;
  const QMimeType type = folder ? mimes.mimeTypeForName(QStringLiteral("inode/directory"))
                                : mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
  for (const QString& name : {type.iconName(), type.genericIconName()}) {
    const QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull()) continue;
    QImage img(32, 32, QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    icon.paint(&p, QRect(0, 0, 32, 32));
    return img;
  }
  return DrawnIcon(folder);
}

void TzunoCADArbo::Rebuild() {
  Icons.clear();
  IconKeys.clear();
  Entries.clear();
  QString folder = Path;
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QCollator collator = NameCollator();
  if (!folder.isEmpty())
    List(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'), 1, collator);
}

void TzunoCADArbo::AddEntry(const QString& path, const QString& name, int level, bool folder) {
  if (static_cast<int>(Entries.size()) >= kMaxEntries) return;
  const QString suffix = folder ? QString() : QFileInfo(name).suffix();
  const QString key = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix.toUpper();
  qsizetype icon = IconKeys.indexOf(key);
  if (icon < 0) {
    Icons.push_back(FileTypeIcon(path, folder));
    IconKeys.append(key);
    icon = IconKeys.size() - 1;
  }
  Entries.push_back(Entry{level, name, static_cast<int>(icon)});
}

void TzunoCADArbo::List(const QString& folder, int level, const QCollator& collator) {
  if (static_cast<int>(Entries.size()) >= kMaxEntries || level > DepthMax) return;
  QDir dir(folder);
  QStringList folders =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
  QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
  auto visible = [](const QString& n) { return n.startsWith(QLatin1Char('.')); };
  folders.removeIf(visible);
  files.removeIf(visible);
  auto byName = [&collator](const QString& a, const QString& b) {
    const int c = collator.compare(a, b);
    return c != 0 ? c < 0 : a < b;  // names equal to the collation still get one order
  };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  if (ViewFichier)
    for (const QString& f : files) AddEntry(folder + f, f, level, false);
  for (const QString& sub : folders) {
    if (static_cast<int>(Entries.size()) >= kMaxEntries) return;
    AddEntry(folder + sub, sub, level, true);
    List(folder + sub + QLatin1Char('/'), level + 1, collator);
  }
}

void TzunoCADArbo::Draw(TCanvas& canvas) {
  if (!OnCurrentFace()) return;
  TzunoCADMdl* d = document_;
  canvas.SetPen(TPen{clBlack, 1, psSolid});
  canvas.SetBrush(TBrush{clWhite, bsSolid});
  if (Entries.empty() && !Path.isEmpty()) Rebuild();
  const int count = static_cast<int>(Entries.size());
  if (count > 0 && Column > 0) {
    const int R = (count + Column - 1) / Column;
    const int H = Round(h * d->PixelsPerMmY);
    RowUnit = static_cast<double>(H) / R / 16;
    const double u = RowUnit;
    const int W = Round(l * d->PixelsPerMmX) / Column;
    const int L = d->MmToPxX(x - l / 2), T = d->MmToPxY(y - h / 2);
    const int right = L + Round(l * d->PixelsPerMmX);
    const int s = Round(16 * u);
    const int fontPoints = Round(s * TextSize / 100.0);
    TFont font = Font;
    font.Height = -Round(fontPoints * 96 / 72.0);  // points on a 96 dots-per-inch surface
    for (int i = 0; i < count && s > 0; ++i) {
      const Entry& e = Entries[static_cast<size_t>(i)];
      const int c = i / R, row = i % R;
      const int top = T + Round(static_cast<double>(H) * row / R);
      const int left = L + W * c + Round(e.Depth * u * 16);
      if (left + s > right) continue;
      if (e.Icon >= 0 && e.Icon < static_cast<int>(Icons.size()))
        canvas.StretchDraw(left, top, left + s, top + s, Icons[static_cast<size_t>(e.Icon)]);
      int parent = i - 1;
      while (parent >= 0 && Entries[static_cast<size_t>(parent)].Depth >= e.Depth) --parent;
      const int rise = parent < 0 ? top - T : s * (i - parent - 1);
      const int lineTop = std::max(T, top - rise);
      canvas.SetPen(TPen{clBlack, Round(LineWidth * u) / 1000, psSolid});
      canvas.MoveTo(left - Round(u), top + Round(8 * u));
      canvas.LineTo(left - Round(8 * u), top + Round(8 * u));
      canvas.LineTo(left - Round(8 * u), lineTop);
      if (fontPoints > 0) {
        canvas.SetFont(font);
        canvas.SetBkMode(bkTransparent);
        const int textLeft = left + Round(18 * u);
        const int textTop = top + (s - canvas.TextHeight(e.Name)) / 2;
        canvas.TextRect(textLeft, top, L + W * (c + 1), top + s, textLeft, textTop, e.Name);
      }
    }
  } else if (d->DrawPlaceholders) {
    DrawPlaceholder(canvas, QString());
  }
  TzunoCADRect::Draw(canvas);
}
