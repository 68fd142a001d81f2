// Printed sheets measured on paper: lorvane-cli prints the shipped sheet of 10 business cards into
// a PDF file, directly and through a CUPS daemon with a PDF queue of its own, and pdftoppm turns
// the result into pixels where each card's ink must sit where the layout puts it.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <optional>

#include "common/files.h"
#include "common/qt_printers.h"

namespace {

const QString kCard = QStringLiteral(LORVANE_TEST_DATA "/print/carte_85x54.mdl");
const QString kCards = QStringLiteral("A4 10 cartes de visite 85 x 54");  // x0 20, y0 13.5, no gaps, 2 x 5
constexpr double kDpi = 300;
constexpr double kTolerance = 0.3;  // mm

struct Ran {
  int code = -1;
  QString out, err;
};

Ran Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
          int timeoutMs = 120000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    return {};
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// A user folder of its own for each test, where calibrations are stored.
class PrintedSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("user")));
    env_.remove(QStringLiteral("LORVANE_HOME"));
  }

  Ran Cli(const QStringList& args) { return Start(QStringLiteral(LORVANE_CLI), args, env_); }

  // Stores calibration keys as the calibration dialog does.
  void Calibrate(const QString& printer, const QString& orientation, const QString& x, const QString& y) {
    const QString folder = dir_.filePath(QStringLiteral("user/Lorvane/Lorvane"));
    QDir().mkpath(folder);
    QFile f(folder + QStringLiteral("/User.ini"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    const QString k = QStringLiteral("PrintCalibre ") + printer + QStringLiteral(" - A4");
    QTextStream(&f) << (f.size() == 0 ? "[User]\r\n" : "") << k << " Type=2\r\n"
                    << k << " EcartX " << orientation << "=" << x << "\r\n"
                    << k << " EcartY " << orientation << "=" << y << "\r\n";
  }

  // The first page of a PDF file in grey pixels at kDpi.
  QImage Raster(const QString& pdf) {
    const QString base = dir_.filePath(QStringLiteral("page"));
    QFile::remove(base + QStringLiteral("-1.pgm"));
    const Ran r =
        Start(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"), QStringLiteral("-f"),
               QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, base},
              env_);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    for (const QString& name : QDir(dir_.path()).entryList({QStringLiteral("page-*.pgm")}))
      return QImage(dir_.filePath(name));
    return QImage();
  }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
};

// Bounding box (mm) of the pixels darker than `level` inside a window (mm); nullopt when none.
std::optional<QRectF> InkBox(const QImage& page, QRectF window, int level) {
  const double px = kDpi / 25.4;
  const int x0 = std::max(0, static_cast<int>(window.left() * px)),
            x1 = std::min(page.width(), static_cast<int>(window.right() * px));
  const int y0 = std::max(0, static_cast<int>(window.top() * px)),
            y1 = std::min(page.height(), static_cast<int>(window.bottom() * px));
  int l = INT_MAX, t = INT_MAX, r = -1, b = -1;
  for (int y = y0; y < y1; ++y) {
    const uchar* line = page.constScanLine(y);
    for (int x = x0; x < x1; ++x)
      if (qGray(page.pixel(x, y)) < level) {
        l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
      }
    (void)line;
  }
  if (r < 0) return std::nullopt;
  return QRectF(l / px, t / px, (r + 1 - l) / px, (b + 1 - t) / px);
}

struct Expect {
  double dx = 0, dy = 0;   // where the print moves, mm (right, down)
  QList<int> blank;        // cells left without ink
  bool markRight = false;  // the black square on the card's right instead of its left
};

// Each card: grey 81 x 50 mm inset 2 mm in its cell, an 8 mm black square centred 12 mm from its
// left edge (73 mm when mirrored or on the verso's).
void CheckCards(const QImage& page, const Expect& e) {
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width() / (kDpi / 25.4), 210, 0.5);
  EXPECT_NEAR(page.height() / (kDpi / 25.4), 297, 0.5);
  for (int n = 1; n <= 10; ++n) {
    const int c = (n - 1) % 2, r = (n - 1) / 2;
    const QRectF cell(20 + 85 * c + e.dx, 13.5 + 54 * r + e.dy, 85, 54);
    const QRectF grey = cell.adjusted(2, 2, -2, -2);
    const std::optional<QRectF> ink = InkBox(page, grey.adjusted(-1.5, -1.5, 1.5, 1.5), 200);
    if (e.blank.contains(n)) {
      EXPECT_FALSE(ink) << "cell " << n << " should be blank";
      continue;
    }
    ASSERT_TRUE(ink) << "cell " << n;
    EXPECT_NEAR(ink->left(), grey.left(), kTolerance) << "cell " << n;
    EXPECT_NEAR(ink->top(), grey.top(), kTolerance) << "cell " << n;
    EXPECT_NEAR(ink->right(), grey.right(), kTolerance) << "cell " << n;
    EXPECT_NEAR(ink->bottom(), grey.bottom(), kTolerance) << "cell " << n;
    const std::optional<QRectF> mark = InkBox(page, grey, 60);
    ASSERT_TRUE(mark) << "cell " << n;
    EXPECT_NEAR(mark->center().x() - cell.left(), e.markRight ? 73 : 12, kTolerance) << "cell " << n;
    EXPECT_NEAR(mark->center().y() - cell.top(), 27, kTolerance) << "cell " << n;
    EXPECT_NEAR(mark->width(), 8, kTolerance) << "cell " << n;
  }
}

TEST_F(PrintedSheet, PdfCellsSitWhereTheLayoutSays) {
  struct Case {
    const char* name;
    QStringList options;
    Expect expect;
  };
  const Case cases[] = {
      {"plain", {}, {}},
      {"safe mode", {QStringLiteral("--safe")}, {}},
      {"chosen cells", {QStringLiteral("--cells"), QStringLiteral("1,4,5,10")}, {0, 0, {2, 3, 6, 7, 8, 9}}},
      {"mirror", {QStringLiteral("--mirror")}, {0, 0, {}, true}},
      // The verso draws the back face, in the columns mirrored across the sheet (the same ones here).
      {"verso", {QStringLiteral("--verso")}, {0, 0, {}, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
    const Ran r = Cli(QStringList{QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf,
                                  QStringLiteral("--layout"), kCards} +
                      c.options);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    CheckCards(Raster(pdf), c.expect);
  }
}

TEST_F(PrintedSheet, PdfCalibrationMovesThePrint) {
  // Measured 83.5 mm to the vertical line and 48 mm to the horizontal one: 3.5 mm left, 2 mm down.
  Calibrate(QStringLiteral("PDF"), QStringLiteral("Portrait"), QStringLiteral("3,5"), QStringLiteral("-2"));
  Calibrate(QStringLiteral("PDF"), QStringLiteral("Paysage"), QStringLiteral("9"), QStringLiteral("9"));
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const Ran r =
      Cli({QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"), kCards});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  CheckCards(Raster(pdf), {-3.5, 2, {}, false});
}

TEST_F(PrintedSheet, LandscapeLayoutTakesTheLandscapeOffsets) {
  Calibrate(QStringLiteral("PDF"), QStringLiteral("Portrait"), QStringLiteral("9"), QStringLiteral("9"));
  Calibrate(QStringLiteral("PDF"), QStringLiteral("Paysage"), QStringLiteral("-4"), QStringLiteral("1.5"));
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  // One 297 x 210 mm cell: the 85 x 54 card fitted and centred (297 x 188.75 mm), moved 4 right, 1.5 up.
  const Ran r = Cli({QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                     QStringLiteral("A4 paysage page entière")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QImage page = Raster(pdf);
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width() / (kDpi / 25.4), 297, 0.5);
  EXPECT_NEAR(page.height() / (kDpi / 25.4), 210, 0.5);
  const double s = 297.0 / 85, top = (210 - 54 * s) / 2;
  const std::optional<QRectF> ink = InkBox(page, QRectF(0, 0, 297, 210), 200);
  ASSERT_TRUE(ink);
  EXPECT_NEAR(ink->left(), 2 * s + 4, kTolerance);
  EXPECT_NEAR(ink->top(), top + 2 * s - 1.5, kTolerance);
  EXPECT_NEAR(ink->bottom(), top + 52 * s - 1.5, kTolerance);
}

TEST_F(PrintedSheet, RecordsFillOneCellEachSheetAfterSheet) {
  const QString doc = dir_.filePath(QStringLiteral("nom.mdl"));
  {
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "Version=1.2\r\nLarge=85\r\nHaut=54\r\n\r\nFace=1\r\n  Objet=1\r\n    Name=texte\r\n    Face=1\r\n"
        "    CanSelect=1\r\n    Pen=000000,1,0\r\n    Brush=FFFFFF,1\r\n    x=42.5\r\n    y=10\r\n    l=0\r\n"
        "    h=0\r\n    r=0\r\n    Font=000000,Arial,4000,\r\n    Aligne=0\r\n    Alignement=0\r\n"
        "    txt=<Nom> <Ville>\r\n  End\r\n  \r\nEnd\r\n\r\n");
  }
  const QString csv = dir_.filePath(QStringLiteral("gens.csv"));
  {
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray text = "nom;ville;autre\r\n";
    for (int i = 1; i <= 23; ++i)
      text += "Gens" + QByteArray::number(i) + ";\"Ville;" + QByteArray::number(i) + "\";x\r\n";
    text += "\r\n";
    f.write(text);
  }
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const Ran r =
      Cli({QStringLiteral("print"), doc, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"), kCards,
           QStringLiteral("--cells"), QStringLiteral("1,2,3,4,5,6,7,8"), QStringLiteral("--records"), csv});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral(" 3 sheet(s)"))) << r.out.toStdString();  // 8 + 8 + 7
  const Ran text =
      Start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, env_);
  ASSERT_EQ(text.code, 0);
  const QStringList pages = text.out.split(QLatin1Char('\f'));
  ASSERT_GE(pages.size(), 3);
  for (int i = 1; i <= 23; ++i) {
    const QString name = QStringLiteral("Gens%1 Ville;%1").arg(i);
    EXPECT_TRUE(pages[(i - 1) / 8].contains(name)) << name.toStdString();
  }
  EXPECT_FALSE(text.out.contains(QStringLiteral("Gens24")));
}

TEST_F(PrintedSheet, RecordsChangePicturesToo) {
  // Pictures are found, by name, in the picture folders as the document is read, so a picture named
  // by a field follows each record.
  const QString pictures = dir_.filePath(QStringLiteral("user/Lorvane/Lorvane/Mes images/"));
  ASSERT_TRUE(QDir().mkpath(pictures));
  QImage red(60, 40, QImage::Format_RGB888), blue(60, 40, QImage::Format_RGB888);
  red.fill(QColor(255, 0, 0));
  blue.fill(QColor(0, 0, 255));
  ASSERT_TRUE(red.save(pictures + QStringLiteral("essai-rouge.png")));
  ASSERT_TRUE(blue.save(pictures + QStringLiteral("essai-bleu.png")));
  const QString doc = dir_.filePath(QStringLiteral("photo.mdl"));
  {
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "Version=1.2\r\nLarge=85\r\nHaut=54\r\n\r\nFace=1\r\n  Objet=1\r\n    Name=image\r\n    Face=1\r\n"
        "    CanSelect=1\r\n    x=42.5\r\n    y=27\r\n    l=60\r\n    h=40\r\n    r=0\r\n"
        "    FichierImage=<Photo>\r\n  End\r\n  \r\nEnd\r\n\r\n");
  }
  const QString csv = dir_.filePath(QStringLiteral("photos.csv"));
  {
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("photo\r\nessai-rouge.png\r\nessai-bleu.png\r\nessai-rouge.png\r\n");
  }
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const Ran r = Cli({QStringLiteral("print"), doc, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                     kCards, QStringLiteral("--records"), csv});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QImage page = Raster(pdf);
  ASSERT_FALSE(page.isNull());
  const double px = kDpi / 25.4;
  auto grey = [&](int cell) {  // the middle of the cell
    const int c = (cell - 1) % 2, row = (cell - 1) / 2;
    return qGray(page.pixel(static_cast<int>((20 + 85 * c + 42.5) * px),
                            static_cast<int>((13.5 + 54 * row + 27) * px)));
  };
  // Red and blue are told apart by their grey levels (76 and 29); cell 4 has no record.
  EXPECT_NEAR(grey(1), 76, 8);
  EXPECT_NEAR(grey(2), 29, 8);
  EXPECT_NEAR(grey(3), 76, 8);
  EXPECT_EQ(grey(4), 255);
}

TEST_F(PrintedSheet, BadRequestsFailWithAMessage) {
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  struct Case {
    QStringList args;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {{QStringLiteral("--printer"), QStringLiteral("Lorvane-no-such-printer")}, 1, "no printer"},
      {{QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"), kCards, QStringLiteral("--paper"),
        QStringLiteral("A5")},
       1,
       "does not fit the paper A5"},
      {{QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"), QStringLiteral("no such layout")},
       1,
       "no layout"},
      {{QStringLiteral("--pdf"), pdf, QStringLiteral("--cells"), QStringLiteral("0,3")}, 1, "--cells"},
      {{QStringLiteral("--pdf"), pdf, QStringLiteral("--records"), dir_.filePath(QStringLiteral("none.csv"))},
       1,
       "cannot read"},
      {{QStringLiteral("--pdf"), pdf, QStringLiteral("--printer"), QStringLiteral("x")}, 2, "usage"},
  };
  for (const Case& c : cases) {
    const Ran r = Cli(QStringList{QStringLiteral("print"), kCard} + c.args);
    EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(pdf + QStringLiteral(".part")));
  }
}

// Writes a document whose text, on the face asked, is `text`, and a records file.
void WriteMerge(const QString& doc, int face, const QByteArray& text, const QString& csv,
                const QByteArray& records) {
  QFile d(doc);
  ASSERT_TRUE(d.open(QIODevice::WriteOnly));
  d.write(
      "Version=1.2\r\nLarge=85\r\nHaut=54\r\n\r\nFace=" + QByteArray::number(face) +
      "\r\n  Objet=1\r\n    Name=texte\r\n    Face=" + QByteArray::number(face) +
      "\r\n    CanSelect=1\r\n    Pen=000000,1,0\r\n    Brush=FFFFFF,1\r\n    x=42.5\r\n    y=27\r\n"
      "    l=0\r\n    h=0\r\n    r=0\r\n    Font=000000,Arial,4000,\r\n    Aligne=0\r\n    Alignement=0\r\n"
      "    txt=" +
      text + "\r\n  End\r\n  \r\nEnd\r\n\r\n");
  QFile r(csv);
  ASSERT_TRUE(r.open(QIODevice::WriteOnly));
  r.write(records);
}

// The text pdftotext finds on page 1 inside a rectangle in mm.
QString TextIn(const QString& pdf, QRectF mm, const QProcessEnvironment& env) {
  auto pt = [](double v) { return QString::number(qRound(v * 72 / 25.4)); };
  return Start(QStringLiteral("pdftotext"),
               {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"), QStringLiteral("1"),
                QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-x"), pt(mm.left()),
                QStringLiteral("-y"), pt(mm.top()), QStringLiteral("-W"), pt(mm.width()),
                QStringLiteral("-H"), pt(mm.height()), pdf, QStringLiteral("-")},
               env)
      .out.simplified();
}

TEST_F(PrintedSheet, VersoRecordsLieBehindTheirFronts) {
  const QString doc = dir_.filePath(QStringLiteral("dos.mdl")),
                csv = dir_.filePath(QStringLiteral("gens.csv"));
  WriteMerge(doc, 2, "<Nom>", csv, "nom\r\nGens1\r\nGens2\r\nGens3\r\n");
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const Ran r = Cli({QStringLiteral("print"), doc, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                     kCards, QStringLiteral("--records"), csv, QStringLiteral("--verso")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  // Front cells 1 and 2 are the left and right columns of row 1; turned over, the back of cell 1 is
  // on the right.
  const QRectF left(20, 13.5, 85, 54), right(105, 13.5, 85, 54), below(105, 67.5, 85, 54);
  EXPECT_EQ(TextIn(pdf, right, env_), QStringLiteral("Gens1"));
  EXPECT_EQ(TextIn(pdf, left, env_), QStringLiteral("Gens2"));
  EXPECT_EQ(TextIn(pdf, below, env_), QStringLiteral("Gens3"));
}

TEST_F(PrintedSheet, RecordValuesAreTextAndTheirFieldsMustBeTheDocuments) {
  const QString doc = dir_.filePath(QStringLiteral("nom.mdl")),
                csv = dir_.filePath(QStringLiteral("gens.csv"));
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const QStringList args{QStringLiteral("print"),    doc,    QStringLiteral("--pdf"),     pdf,
                         QStringLiteral("--layout"), kCards, QStringLiteral("--records"), csv};
  // A value holding marks prints as it stands.
  WriteMerge(doc, 1, "<Nom> / <Ville>", csv, "nom;ville\r\nJean <jean@x.fr>;<Nom>\r\n");
  Ran r = Cli(args);
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(TextIn(pdf, QRectF(20, 13.5, 85, 54), env_), QStringLiteral("Jean <jean@x.fr> / <Nom>"));
  // A header naming none of the document's fields, and a file that cannot be read whole, print
  // nothing and say why.
  WriteAll(pdf, "old");
  const struct {
    QByteArray records;
    const char* message;
  } bad[] = {
      {"prenom;cp\r\nJean;14000\r\n", "none of the fields"},
      {"nom\r\n\"Jean\r\nDupont\r\n", "not closed"},
  };
  for (const auto& b : bad) {
    WriteMerge(doc, 1, "<Nom> / <Ville>", csv, b.records);
    r = Cli(args);
    EXPECT_EQ(r.code, 1) << b.message;
    EXPECT_TRUE(r.err.contains(QLatin1String(b.message))) << r.err.toStdString();
    EXPECT_EQ(ReadAll(pdf), "old");
  }
}

TEST_F(PrintedSheet, PdfOutputReplacesTheOldFileOnlyWhenWhole) {
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const QStringList args{QStringLiteral("print"),    kCard, QStringLiteral("--pdf"), pdf,
                         QStringLiteral("--layout"), kCards};
  ASSERT_EQ(Cli(args).code, 0);  // the user's folder is made, so the full disk strikes the PDF only
  WriteAll(pdf, "old");
  // A full disk: the file size limit makes every write past 1 KiB fail (the signal ignored, as a
  // full disk sends none).
  QStringList quoted;
  for (const QString& a : QStringList{QStringLiteral(LORVANE_CLI)} + args)
    quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
  const Ran full = Start(
      QStringLiteral("bash"),
      {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 1; exec ") + quoted.join(' ')}, env_);
  EXPECT_EQ(full.code, 1) << full.out.toStdString() << full.err.toStdString();
  EXPECT_TRUE(full.err.contains(QStringLiteral("cannot write the PDF file ") + pdf))
      << full.err.toStdString();
  EXPECT_EQ(ReadAll(pdf), "old");
  // A folder that does not exist: the message names the file.
  const QString nowhere = dir_.filePath(QStringLiteral("absent/out.pdf"));
  const Ran r = Cli({QStringLiteral("print"), kCard, QStringLiteral("--pdf"), nowhere});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write the PDF file ") + nowhere)) << r.err.toStdString();
  // Nothing else is left in the folder.
  EXPECT_EQ(QDir(dir_.path()).entryList(QStringList{QStringLiteral("*out.pdf*")}, QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("out.pdf")});
  // Whole, it replaces the old file.
  ASSERT_EQ(Cli(args).code, 0);
  EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
}

// Safe mode sends each cell as a bitmap: into a PDF file at 600 dots per inch, not the writer's
// 1200, and deflated when that is smaller than a JPEG picture, as it is for flat artwork.
TEST_F(PrintedSheet, SafeModeBitmapsAreOfPdfResolutionAndLossless) {
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const Ran r = Cli({QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                     kCards, QStringLiteral("--safe")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const Ran list = Start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}, env_);
  ASSERT_EQ(list.code, 0) << list.err.toStdString();
  int images = 0;
  for (const QString& line : list.out.split(QLatin1Char('\n')).mid(2)) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() < 14) continue;
    ++images;
    EXPECT_EQ(f[8], QStringLiteral("image")) << line.toStdString();  // deflated, not "jpeg"
    EXPECT_NEAR(f[12].toDouble(), 600, 5) << line.toStdString();     // x-ppi
  }
  EXPECT_EQ(images, 10);
}

TEST_F(PrintedSheet, StoredNumbersThatCannotPrintFailWithAMessage) {
  const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
  const QString huge = QStringLiteral("1") + QString(308, QLatin1Char('0'));  // 1e308 as a decimal
  for (const QString& value : {huge, QStringLiteral("-99999")}) {
    QFile::remove(dir_.filePath(QStringLiteral("user/Lorvane/Lorvane/User.ini")));
    Calibrate(QStringLiteral("PDF"), QStringLiteral("Portrait"), value, QStringLiteral("0"));
    const Ran r = Cli(
        {QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"), kCards});
    EXPECT_EQ(r.code, 1) << value.left(8).toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("calibrate the printer again"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
  }
  // The user's layouts table with rows of sizes that are zero, negative or not numbers.
  const QString layouts = dir_.filePath(QStringLiteral("user/Lorvane/Lorvane/papiers_gab.csv"));
  WriteAll(layouts, ReadAll(QStringLiteral(LORVANE_SOURCE_DATA "/donnees/papiers_gab.csv")) +
                        "Zero;T;A4;;;0;0;0;0;0;54;1;1;0;0\r\nNegative;T;A4;;;0;0;0;0;85;-54;2;1;0;0\r\n"
                        "Nan;T;A4;;;0;0;0;0;nan;54;1;1;0;0\r\n");
  for (const char* name : {"Zero", "Negative", "Nan"}) {
    const Ran r = Cli({QStringLiteral("print"), kCard, QStringLiteral("--pdf"), pdf,
                       QStringLiteral("--layout"), QString::fromLatin1(name)});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_TRUE(r.err.contains(QStringLiteral("cells of"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
  }
}

// A CUPS daemon of the test's own: configuration, spool and socket in a temporary folder, a cups-pdf
// queue, stopped at the end. cups-pdf writes into the folder its system configuration names ("Out",
// ${HOME}/PDF of the job's user by default); the test takes its own files from there.
class CupsSheet : public PrintedSheet {
 protected:
  void SetUp() override {
    PrintedSheet::SetUp();
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/cupsd")) ||
        !QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
      GTEST_SKIP() << "cupsd or cups-pdf is not installed (scripts/deps.sh installs them)";
    const QString root = dir_.filePath(QStringLiteral("cups"));
    for (const char* sub : {"spool", "tmp", "state", "cache", "logs", "ppd"})
      QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    // Filters run as an unprivileged user and need to reach the temporary folder.
    for (const QString& d : {dir_.path(), root})
      QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    ::chmod(QFile::encodeName(root + QStringLiteral("/tmp")).constData(), 01777);
    socket_ = root + QStringLiteral("/cups.sock");
    WriteFile(root + QStringLiteral("/cupsd.conf"),
              "Listen " + socket_.toUtf8() +
                  "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    const QByteArray r = root.toUtf8();
    WriteFile(root + QStringLiteral("/cups-files.conf"),
              "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r + "/tmp\nStateDir " + r +
                  "/state\nCacheDir " + r + "/cache\nErrorLog " + r + "/logs/error_log\nAccessLog " + r +
                  "/logs/access_log\nPageLog " + r + "/logs/page_log\nPrintcap " + r +
                  "/printcap\nSandboxing Relaxed\n");
    daemon_.setProcessEnvironment(env_);
    daemon_.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                   QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    ASSERT_TRUE(daemon_.waitForStarted());
    env_.insert(QStringLiteral("CUPS_SERVER"), socket_);
    for (int i = 0; i < 100 && !QFileInfo::exists(socket_); ++i) QThread::msleep(100);
    ASSERT_TRUE(QFileInfo::exists(socket_))
        << QString::fromUtf8(daemon_.readAllStandardError()).toStdString();
    const Ran add = Start(QStringLiteral("lpadmin"),
                          {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                           QStringLiteral("cups-pdf:/"), QStringLiteral("-P"),
                           QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd")},
                          env_);
    ASSERT_EQ(add.code, 0) << add.err.toStdString();
    out_ = OutFolder();
    outExisted_ = QFileInfo::exists(out_);
  }

  void TearDown() override {
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.terminate();
      if (!daemon_.waitForFinished(10000)) {
        daemon_.kill();
        daemon_.waitForFinished();
      }
    }
    for (const QString& f : made_) QFile::remove(f);
    if (!outExisted_ && !out_.isEmpty()) QDir().rmdir(out_);  // only when cups-pdf made it and it is empty
  }

  static void WriteFile(const QString& name, const QByteArray& text) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }

  // Where cups-pdf puts the files of this process's user.
  static QString OutFolder() {
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly))
      for (const QByteArray& line : conf.readAll().split('\n'))
        if (line.trimmed().startsWith("Out ")) out = QString::fromUtf8(line.trimmed().mid(4).trimmed());
    const passwd* pw = getpwuid(getuid());
    out.replace(QStringLiteral("${HOME}"), pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath());
    out.replace(QStringLiteral("${USER}"), pw ? QString::fromLocal8Bit(pw->pw_name) : QString());
    return out;
  }

  // Prints through the queue under a title of its own and waits for the PDF cups-pdf writes (it names
  // the file after the title, sometimes with words of the PostScript header appended).
  QString PrintThroughQueue(const QStringList& options) {
    static int job = 0;
    const QString title = QStringLiteral("lorvane-test-%1-%2-sheet").arg(getpid()).arg(++job);
    const Ran r = Cli(QStringList{QStringLiteral("print"), kCard, QStringLiteral("--printer"), kQueue,
                                  QStringLiteral("--layout"), kCards, QStringLiteral("--title"), title} +
                      options);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    if (r.code != 0) return QString();
    for (int i = 0; i < 300; ++i) {
      const Ran queued = Start(QStringLiteral("lpstat"), {QStringLiteral("-o"), kQueue}, env_);
      const QStringList files =
          QDir(out_).entryList({title + QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
      if (queued.code == 0 && queued.out.trimmed().isEmpty() && !files.isEmpty()) {
        made_ << out_ + QLatin1Char('/') + files.first();
        return made_.last();
      }
      QThread::msleep(200);
    }
    ADD_FAILURE() << "cups-pdf wrote no " << title.toStdString() << "*.pdf in " << out_.toStdString();
    return QString();
  }

  const QString kQueue = QStringLiteral("LorvaneTestPdf");
  QProcess daemon_;
  QString socket_, out_;
  bool outExisted_ = true;
  QStringList made_;
};

TEST_F(CupsSheet, CellsCalibrationMirrorAndVersoThroughAPrinterQueue) {
  const QString plain = PrintThroughQueue({});
  if (!plain.isEmpty()) {
    SCOPED_TRACE("plain");
    CheckCards(Raster(plain), {});
  }
  const QString mirrored = PrintThroughQueue({QStringLiteral("--mirror")});
  if (!mirrored.isEmpty()) {
    SCOPED_TRACE("mirror");
    CheckCards(Raster(mirrored), {0, 0, {}, true});
  }
  const QString verso =
      PrintThroughQueue({QStringLiteral("--verso"), QStringLiteral("--cells"), QStringLiteral("2,3")});
  if (!verso.isEmpty()) {
    SCOPED_TRACE("verso");
    // The back numbers its columns as the sheet is turned: cell 2 lies behind the front's cell 2, at
    // the left of the first row as the page is printed; cell 3 at the right of the second row.
    CheckCards(Raster(verso), {0, 0, {2, 3, 5, 6, 7, 8, 9, 10}, true});
  }
  Calibrate(kQueue, QStringLiteral("Portrait"), QStringLiteral("3.5"), QStringLiteral("-2"));
  const QString calibrated = PrintThroughQueue({});
  if (!calibrated.isEmpty()) {
    SCOPED_TRACE("calibrated");
    CheckCards(Raster(calibrated), {-3.5, 2, {}, false});
  }
}

// A queue that refuses jobs must not be reported as printed.
TEST_F(CupsSheet, AQueueRefusingJobsFailsThePrint) {
  ASSERT_EQ(Start(QStringLiteral("cupsreject"), {kQueue}, env_).code, 0);
  const Ran r = Cli({QStringLiteral("print"), kCard, QStringLiteral("--printer"), kQueue,
                     QStringLiteral("--layout"), kCards});
  EXPECT_EQ(r.code, 1) << r.out.toStdString();
  EXPECT_TRUE(r.err.contains(kQueue) && r.err.contains(QLatin1String("refuse"))) << r.err.toStdString();
  EXPECT_FALSE(r.out.contains(QLatin1String("sheet(s)"))) << r.out.toStdString();
}

}  // namespace

// An audio CD cover prints the current album: the shipped one on a fresh installation, the user's
// own once the user has an album file.
TEST_F(PrintedSheet, AudioCoversPrintTheCurrentAlbum) {
  const QString cover = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Modeles/CD et DVD/Audio/Ocean.2.mdl");
  const QString pdf = dir_.filePath(QStringLiteral("cover.pdf"));
  auto printed = [&] {
    const Ran r = Cli({QStringLiteral("print"), cover, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const Ran text =
        Start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}, env_);
    EXPECT_EQ(text.code, 0);
    return text.out;
  };
  QString text = printed();
  for (const char* shown : {"Les Voyageurs du Soir", "Lumières de la ville", "Le quai des brumes légères",
                            "Rue des Saules", "Tramway 7"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n" << text.toStdString();

  const QString folder = dir_.filePath(QStringLiteral("user/Lorvane/Lorvane"));
  QDir().mkpath(folder);
  QFile f(folder + QStringLiteral("/albumcd_1.def"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\r\n[0]\r\ncdArtiste=Quatuor Nord\r\ncdAlbum=Hiver\r\ncdTitres=Givre|Brume|Aube|\r\n");
  f.close();
  text = printed();
  for (const char* shown : {"Quatuor Nord", "Hiver", "Givre", "Brume", "Aube"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n" << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Voyageurs")));
}
