#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/host.h"
#include "model/kinds.h"
#include "render/emf_writer.h"

namespace {

constexpr QRgb kPaper = qRgb(255, 255, 200), kSupport = qRgb(0, 160, 0);

// Settings that know the printable size of one support.
struct SupportHost : TObjectHost {
  QString support;
  QStringList asked;
  QString ReadSoftString(const QString&) override { return QString(); }
  int ReadSoftInteger(const QString&) override { return -1; }
  QString DataPath() override { return QString(); }
  QString Text(const QString&, const QString& fallback) override { return fallback; }
  void ShowMessage(const QString&) override {}
  QList<QPair<QString, QString>> ShellFolders() override { return {}; }
  QSizeF SupportSize(const QString& name) override {
    asked << name;
    return name == support ? QSizeF(60, 40) : QSizeF();
  }
};

struct HostGuard {
  explicit HostGuard(TObjectHost* h) { SetObjectHost(h); }
  ~HostGuard() { SetObjectHost(nullptr); }
};

// A 100 x 100 mm support picture: its left half a blue filled path, its top right quarter a white
// one, the rest not drawn.
bool WriteSupport(const QString& file) {
  TEmfWriter w(QRect(QPoint(0, 0), QPoint(10000, 10000)));
  auto filled = [&](TColor colour, QRect r) {
    w.SelectObject(w.CreateBrush(0, colour));
    w.BeginPath();
    w.MoveTo(r.left(), r.top());
    const QPoint rest[] = {{r.right(), r.top()}, {r.right(), r.bottom()}, {r.left(), r.bottom()}};
    w.PolylineTo(rest);
    w.CloseFigure();
    w.EndPath();
    w.FillPath();
  };
  filled(clBlue, QRect(QPoint(0, 0), QPoint(5000, 10000)));
  filled(clWhite, QRect(QPoint(5000, 0), QPoint(10000, 5000)));
  return w.Save(file);
}

struct SupportFixture : ::testing::Test {
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("boitier.emf"));
  SupportHost host;
  HostGuard guard{&host};
  TzunoCADMdl doc{nullptr, QRect(0, 0, 30, 20), 30, 20};
  QImage bmp{100, 100, QImage::Format_RGB888};

  void SetUp() override {
    ASSERT_TRUE(WriteSupport(file));
    host.support = QStringLiteral("boitier.emf");
    // The resolver finds the file and appends its checksum.
    doc.OnCheminFichier = [this](TzunoCADMdl*, QString& name) {
      name = dir.filePath(name) + QStringLiteral("|5eed");
    };
    doc.SetEntete(QStringLiteral("SupportFichier"), host.support);
    doc.SetEntete(QStringLiteral("SupportColor"), QStringLiteral("00A000"));
    doc.SetEntete(QStringLiteral("SupportPosX%"), QStringLiteral("50"));
    doc.SetEntete(QStringLiteral("SupportPosY%"), QStringLiteral("50"));
    doc.ColorPapier = RGBColor(255, 255, 200);
    doc.Quality = 7;  // no smoothing: exact pixels
    // A black square in the middle of the 30 x 20 mm page.
    auto* r = static_cast<TzunoCADRectangle*>(doc.CreateObjet(QStringLiteral("rectangle")));
    r->x = 15, r->y = 10, r->l = 6, r->h = 6;
    r->Brush = TBrush{clBlack, bsSolid};
    bmp.fill(Qt::gray);
  }
};

}  // namespace

// The support picture fills the bitmap; the document sits in its printable area, 50 x 50 pixels at
// the middle, on the support colour.
TEST_F(SupportFixture, PictureImportedRecolouredAndDocumentPlaced) {
  doc.DrawSupport(bmp, true);
  EXPECT_EQ(host.asked.value(0), "boitier.emf");
  const struct {
    int x, y;
    QRgb colour;
    const char* what;
  } samples[] = {
      {10, 80, kSupport, "the support's coloured part takes the support colour"},
      {90, 10, qRgb(255, 255, 255), "white parts stay white"},
      {90, 90, kPaper, "undrawn parts show the paper"},
      {30, 30, kSupport, "the document's own background"},
      {50, 50, qRgb(0, 0, 0), "the document's object"},
      {75, 50, kPaper, "right of the document"},
      {74, 74, kSupport, "the document's last pixel"},
  };
  for (const auto& s : samples) EXPECT_EQ(bmp.pixel(s.x, s.y), s.colour) << s.what;

  bmp.fill(Qt::gray);
  doc.DrawSupport(bmp, false);
  EXPECT_EQ(bmp.pixel(10, 80), qRgb(0, 0, 255));  // not recoloured
  EXPECT_EQ(bmp.pixel(30, 30), kSupport);
}

TEST_F(SupportFixture, FramesAroundDocumentAndBitmap) {
  doc.SupportFrameColor = clRed;
  doc.ThumbFrameColor = clBlue;
  doc.DrawSupport(bmp, true);
  EXPECT_EQ(bmp.pixel(25, 50), qRgb(255, 0, 0));
  EXPECT_EQ(bmp.pixel(74, 50), qRgb(255, 0, 0));
  EXPECT_EQ(bmp.pixel(50, 74), qRgb(255, 0, 0));
  EXPECT_EQ(bmp.pixel(0, 50), qRgb(0, 0, 255));
  EXPECT_EQ(bmp.pixel(99, 99), qRgb(0, 0, 255));
  EXPECT_EQ(bmp.pixel(1, 50), qRgb(0, 160, 0));
}

TEST_F(SupportFixture, MissingPartsAreSkipped) {
  // No picture file: the document alone on the paper.
  doc.SetEntete(QStringLiteral("SupportFichier"), QStringLiteral("absent.emf"));
  host.support = QStringLiteral("absent.emf");
  doc.DrawSupport(bmp, true);
  EXPECT_EQ(bmp.pixel(10, 80), kPaper);
  EXPECT_EQ(bmp.pixel(50, 50), qRgb(0, 0, 0));

  // Unknown printable size: the picture without the document.
  doc.SetEntete(QStringLiteral("SupportFichier"), QStringLiteral("boitier.emf"));
  host.support = QStringLiteral("autre.emf");
  doc.DrawSupport(bmp, true);
  EXPECT_EQ(bmp.pixel(10, 80), kSupport);
  EXPECT_EQ(bmp.pixel(40, 50), kSupport);  // where the document would have been
  EXPECT_EQ(bmp.pixel(60, 60), kPaper);

  // No settings: the bitmap keeps what it had.
  SetObjectHost(nullptr);
  bmp.fill(Qt::gray);
  doc.DrawSupport(bmp, true);
  EXPECT_EQ(bmp.pixel(50, 50), QColor(Qt::gray).rgb());
}
