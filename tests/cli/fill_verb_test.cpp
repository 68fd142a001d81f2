#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"

namespace {

// A wizard card: a photo coded "photo" (75 x 68 mm around 52.5, 49) and texts coded "texte1" to
// "texte3"; "texte2" is dark grey Lato around y = 118 mm on a white panel, and shows nothing.
const QString kCard = QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Gabarits/Carte photo.mdl");
constexpr int kScale = 4;  // pixels per millimetre of the drawn page (105 x 148 mm)

QImage Draw(const QString& mdl, const QString& png) {
  const CliRun r =
      Cli({QStringLiteral("page"), mdl, png, QString::number(105 * kScale), QString::number(148 * kScale)});
  EXPECT_EQ(r.code, 0) << r.err.toStdString();
  return QImage(png).convertToFormat(QImage::Format_RGB32);
}

QRgb At(const QImage& img, double xMm, double yMm) {
  return img.pixel(int(xMm * kScale), int(yMm * kScale));
}

bool Near(QRgb a, QRgb b, int tolerance = 12) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Columns of dark ink in a band of rows of the white panel (x = 10 to 95 mm), as a horizontal extent
// in pixels (-1, -1 when none).
std::pair<int, int> InkColumns(const QImage& img, double fromMm, double toMm) {
  int first = -1, last = -1;
  for (int x = 11 * kScale; x < 94 * kScale; ++x)
    for (int y = int(fromMm * kScale); y < int(toMm * kScale); ++y)
      if (qGray(img.pixel(x, y)) < 110) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

// The user's data folder of the tools started meanwhile (pictures are added to the user's pictures).
struct UserDataIn {
  explicit UserDataIn(const QString& folder)
      : old(qgetenv("XDG_DATA_HOME")), had(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", folder.toLocal8Bit());
  }
  ~UserDataIn() {
    if (had)
      qputenv("XDG_DATA_HOME", old);
    else
      qunsetenv("XDG_DATA_HOME");
  }
  QByteArray old;
  bool had;
};

QString Text(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

}  // namespace

TEST(CliFill, PhotoAndTextByCodeAppearInTheDrawing) {
  QTemporaryDir tmp;
  const UserDataIn user(tmp.filePath(QStringLiteral("user")));
  // A pure blue photo of 3 : 2 from another folder than the output's.
  const QString photo = tmp.filePath(QStringLiteral("photos/bleu.png"));
  QDir().mkpath(tmp.filePath(QStringLiteral("photos")));
  QImage blue(600, 400, QImage::Format_RGB888);
  blue.fill(QColor(0, 0, 255));
  ASSERT_TRUE(blue.save(photo));
  const QString out = tmp.filePath(QStringLiteral("sortie/carte.mdl"));
  QDir().mkpath(tmp.filePath(QStringLiteral("sortie")));

  const CliRun r =
      Cli({QStringLiteral("fill"), kCard, out, QStringLiteral("--image"), QStringLiteral("photo=") + photo,
           QStringLiteral("--text"), QStringLiteral("texte2=Bonjour à toute la famille")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  // The photo joined the user's pictures, with its thumbnail, where documents find it.
  QStringList added;
  for (QDirIterator it(tmp.filePath(QStringLiteral("user")), QDirIterator::Subdirectories); it.hasNext();)
    if (it.next().contains(QLatin1String("bleu"))) added << it.fileName();
  added.sort();
  EXPECT_EQ(added, (QStringList{QStringLiteral("bleu.png"), QStringLiteral("bleu_thumb.jpg")}));
  const QString saved = Text(out);
  EXPECT_TRUE(saved.contains(QLatin1String("FichierImage=bleu.png|")));  // as found, with its checksum
  EXPECT_TRUE(saved.contains(QStringLiteral("txt=Bonjour \u00e0 toute la famille\r\n")));
  EXPECT_TRUE(saved.contains(QLatin1String("Code=texte2\r\n")));  // filled again next time

  const QImage before = Draw(kCard, tmp.filePath(QStringLiteral("avant.png")));
  const QImage after = Draw(out, tmp.filePath(QStringLiteral("apres.png")));
  // The photo: blue in the middle of its box, which took the picture's shape (75 x 50 mm, from
  // y = 24 to 74) inside the old one (y = 15 to 83); the white panel shows above it.
  EXPECT_FALSE(Near(At(before, 52.5, 49), qRgb(0, 0, 255)));
  for (const auto& [x, y] : {std::pair{52.5, 49.0}, {20.0, 30.0}, {85.0, 70.0}, {52.5, 26.0}})
    EXPECT_TRUE(Near(At(after, x, y), qRgb(0, 0, 255))) << x << "," << y;
  EXPECT_TRUE(Near(At(after, 52.5, 20), qRgb(255, 255, 255))) << std::hex << At(after, 52.5, 20);
  // The text: no ink on its line before; dark ink centred on the page after.
  EXPECT_EQ(InkColumns(before, 115, 122).first, -1);
  const auto [left, right] = InkColumns(after, 115, 122);
  ASSERT_GE(left, 0);
  EXPECT_GT(right - left, 30 * kScale);
  EXPECT_NEAR((left + right) / 2.0, 52.5 * kScale, 2 * kScale);
}

TEST(CliFill, SupportSizeAndAddressFields) {
  QTemporaryDir tmp;
  const UserDataIn user(tmp.filePath(QStringLiteral("user")));
  const QString out = tmp.filePath(QStringLiteral("t.mdl"));
  // 105 x 148 into the 200 x 250 mm t-shirt front: the page keeps its shape, in whole millimetres.
  ASSERT_EQ(
      Cli({QStringLiteral("fill"), kCard, out, QStringLiteral("--support"), QStringLiteral("tshirt_DV")})
          .code,
      0);
  QString saved = Text(out);
  EXPECT_TRUE(saved.contains(QLatin1String("\r\nLarge=177\r\nHaut=250\r\n")))
      << saved.left(300).toStdString();
  EXPECT_TRUE(saved.contains(QLatin1String("SupportFichier=tshirt_DV.emf\r\n")));
  EXPECT_TRUE(saved.contains(QLatin1String("SupportPosY%=40\r\n")));

  ASSERT_EQ(Cli({QStringLiteral("fill"), kCard, out, QStringLiteral("--resize"), QStringLiteral("52,5"),
                 QStringLiteral("74")})
                .code,
            0);
  saved = Text(out);
  EXPECT_TRUE(saved.contains(QLatin1String("\r\nLarge=52,5\r\nHaut=74\r\n")));
  EXPECT_TRUE(saved.contains(QLatin1String("Font=333333,Lato,1700,")));  // texts follow the width

  const QString card =
      QStringLiteral(LORVANE_SOURCE_DATA "/donnees/Modeles/Cartes de visite/Personnelle - Centr\u00e9e.mdl");
  ASSERT_TRUE(Text(card).contains(QLatin1String("<Ville>")));
  ASSERT_EQ(Cli({QStringLiteral("fill"), card, out, QStringLiteral("--pro")}).code, 0);
  saved = Text(out);
  EXPECT_TRUE(saved.contains(QLatin1String("<VillePRO>")));
  EXPECT_FALSE(saved.contains(QLatin1String("<Ville>")));
  EXPECT_FALSE(saved.contains(QLatin1String("<NomPRO>")));  // not a field of the table
  const QString back = tmp.filePath(QStringLiteral("p.mdl"));
  ASSERT_EQ(Cli({QStringLiteral("fill"), out, back, QStringLiteral("--perso")}).code, 0);
  EXPECT_FALSE(Text(back).contains(QLatin1String("PRO>")));
}

TEST(CliFill, FailuresWriteNothing) {
  QTemporaryDir tmp;
  const UserDataIn user(tmp.filePath(QStringLiteral("user")));
  const QString out = tmp.filePath(QStringLiteral("o.mdl"));
  const QString photo = tmp.filePath(QStringLiteral("p.png"));
  QImage img(4, 4, QImage::Format_RGB888);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(photo));
  QFile broken(tmp.filePath(QStringLiteral("casse.png")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a picture");
  broken.close();
  // Another picture of the same name, and a picture named as one of the installation's.
  const QString twin = tmp.filePath(QStringLiteral("autre/p.png")),
                shipped = tmp.filePath(QStringLiteral("fond_pastel_rose.jpg"));
  QDir().mkpath(tmp.filePath(QStringLiteral("autre")));
  img.fill(Qt::blue);
  ASSERT_TRUE(img.save(twin) && img.save(shipped, "JPG"));
  const QString fill = QStringLiteral("fill");
  struct Case {
    QStringList args;
    int code;
    const char* says;
  } cases[] = {
      {{fill, kCard, out, QStringLiteral("--text"), QStringLiteral("texte9=x")}, 1, "texte9"},
      {{fill, kCard, out, QStringLiteral("--image"), QStringLiteral("image9=") + photo}, 1, "image9"},
      {{fill, kCard, out, QStringLiteral("--image"),
        QStringLiteral("photo=") + tmp.filePath(QStringLiteral("none.png"))},
       1,
       "none.png"},
      {{fill, kCard, out, QStringLiteral("--image"), QStringLiteral("photo=") + broken.fileName()},
       1,
       "casse.png"},
      {{fill, kCard, out, QStringLiteral("--image"), QStringLiteral("photo=") + photo,
        QStringLiteral("--image"), QStringLiteral("fond=") + twin},
       1,
       "two different pictures"},
      {{fill, kCard, out, QStringLiteral("--image"), QStringLiteral("photo=") + shipped},
       1,
       "fond_pastel_rose.jpg"},
      {{fill, kCard, out, QStringLiteral("--support"), QStringLiteral("nulle_part")}, 1, "nulle_part"},
      {{fill, tmp.filePath(QStringLiteral("absent.mdl")), out}, 1, "absent.mdl"},
      {{fill, kCard, tmp.filePath(QStringLiteral("no/such/folder/o.mdl"))}, 1, "cannot write"},
      // The picture would be added to the user's pictures, but the output cannot be written.
      {{fill, kCard, tmp.filePath(QStringLiteral("no/such/folder/o.mdl")), QStringLiteral("--image"),
        QStringLiteral("photo=") + photo},
       1,
       "cannot write"},
      {{fill, kCard, out, QStringLiteral("--pro"), QStringLiteral("--perso")}, 2, "usage"},
      {{fill, kCard, out, QStringLiteral("--resize"), QStringLiteral("10")}, 2, "usage"},
      {{fill, kCard, out, QStringLiteral("--resize"), QStringLiteral("0"), QStringLiteral("10")}, 2, "usage"},
      {{fill, kCard, out, QStringLiteral("--text"), QStringLiteral("sans-egal")}, 2, "usage"},
      {{fill, kCard}, 2, "usage"},
  };
  for (const Case& k : cases) {
    const CliRun r = Cli(k.args);
    EXPECT_EQ(r.code, k.code) << k.args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String(k.says))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out)) << k.args.join(' ').toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("user"))));  // no picture was added either
}
