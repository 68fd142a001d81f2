// Every document the installation ships opens, draws without a missing file, stays on its page and
// is saved back to the same bytes; the content tool makes the shipped tree again, byte for byte.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "common/files.h"
#include "data_tests/installation_fixture.h"
#include "model/document.h"
#include "model/encodings.h"
#include "model/kinds.h"
#include "model/soft_host.h"
#include "records/csv_table.h"
#include "render/picture_io.h"
#include "shell/inifile.h"
#include "shell/language.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

const QString kHome = QStringLiteral(LORVANE_SOURCE_DATA);
const QString kData = kHome + QStringLiteral("/donnees/");

QStringList Documents() {
  QStringList files;
  QDirIterator it(kData, {QStringLiteral("*.mdl")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  files.sort();
  return files;
}

struct Catalogue : InstallationFixture {
  TSoftHost host;
  void SetUp() override {
    InstallationFixture::SetUp();
    SetSoft(soft.get());
    SetObjectHost(&host);
  }
  void TearDown() override {
    SetObjectHost(nullptr);
    SetSoft(nullptr);
    InstallationFixture::TearDown();
  }
};

// What a document could not find while it was read: names its resolver answered with nothing,
// pictures that stayed empty and groups left without content (they draw the "not found" and "no
// model" placeholders).
QStringList Misses(TzunoCADMdl& doc, const QStringList& unresolved) {
  QStringList misses = unresolved;
  for (const auto& o : doc.Objets()) {
    if (auto* image = dynamic_cast<TzunoCADImage*>(o.get())) {
      if (!image->FichierImage.isEmpty() && !image->HasPicture() && !image->MetafilePicture.IsValid())
        misses << QStringLiteral("picture ") + image->FichierImage;
      if (!image->FichierMasque.isEmpty() && !image->MaskMetafile.IsValid())
        misses << QStringLiteral("mask ") + image->FichierMasque;
    } else if (auto* group = dynamic_cast<TzunoCADGroup*>(o.get())) {
      if (!group->Nested() || group->Nested()->Count() == 0)
        misses << QStringLiteral("drawing of a ") + group->Name;
    }
  }
  return misses;
}

TEST_F(Catalogue, EveryDocumentOpensDrawsStaysOnItsPageAndSavesTheSameBytes) {
  const QStringList files = Documents();
  ASSERT_FALSE(files.isEmpty());
  QTemporaryDir out;
  QSet<QString> kinds;  // of the catalogue's templates
  for (const QString& file : files) {
    SCOPED_TRACE(file.toStdString());
    QStringList unresolved;
    TzunoCADMdl doc(nullptr, QRect(0, 0, 100, 100), 100, 100);
    ConnectToSoft(doc);
    doc.OnCheminFichier = [&unresolved](TzunoCADMdl*, QString& name) {
      const QString asked = name;
      name = Soft()->FindImageFile(name);
      if (name.isEmpty() && !asked.isEmpty()) unresolved << asked;
    };
    ASSERT_TRUE(doc.LoadFromFile(file));
    EXPECT_EQ(Misses(doc, unresolved).join(QStringLiteral(", ")).toStdString(), "");
    EXPECT_EQ(doc.CountHorsPage(false), 0);
    if (file.contains(QLatin1String("/Modeles/")))
      for (const auto& o : doc.Objets()) kinds.insert(o->Name);

    const QString again = out.filePath(QStringLiteral("again.mdl"));
    ASSERT_TRUE(doc.SaveToFile(again));
    EXPECT_TRUE(ReadAll(again) == ReadAll(file)) << "saved differently";

    for (int face = 1; face <= std::max(1, doc.MaxFace()); ++face) {
      doc.SetFace(face);
      const QImage picture = doc.ExportImage(240, 240, RGBColor(128, 128, 128), true);
      EXPECT_FALSE(picture.isNull()) << "face " << face;
    }
    EXPECT_EQ(Misses(doc, unresolved).join(QStringLiteral(", ")).toStdString(), "") << "after drawing";
  }
  // Every kind a user can add shows up in some template ("rect" is only the base of the others).
  for (const char* kind : kObjectTypeNames) {
    if (QLatin1String(kind) != QLatin1String("rect")) {
      EXPECT_TRUE(kinds.contains(QLatin1String(kind))) << kind;
    }
  }
}

TEST(CatalogueFiles, EverySheetVariantFamilyHasItsFirstLayout) {
  const QRegularExpression variant(QStringLiteral("^(.*)\\.([1-6])\\.mdl$"));
  int families = 0;
  for (const QString& file : Documents()) {
    const auto m = variant.match(file);
    if (!m.hasMatch()) continue;
    const QString first = m.captured(1) + QStringLiteral(".1.mdl");
    EXPECT_TRUE(QFileInfo::exists(first)) << file.toStdString();
    families += file == first;
  }
  EXPECT_GT(families, 0);
}

TEST(CatalogueFiles, EveryFaceADocumentNamesIsShipped) {
  // A missing face falls back to another family, or to a synthesised bold or slant, on the user's
  // machine: the weight and slant a document asks for must be real faces of the installation (or of the
  // metric twins of Arial and Times New Roman that the setup installs). A family drawn slanted by
  // design serves its upright requests.
  QSet<QString> faces;
  const auto key = [](const QString& family, bool bold, bool italic) {
    return family + (bold ? QStringLiteral(",B") : QStringLiteral(",")) +
           (italic ? QStringLiteral("I") : QString());
  };
  for (const QFileInfo& ttf :
       QDir(kData + QStringLiteral("fonts")).entryInfoList({QStringLiteral("*.ttf")})) {
    const QRawFont raw(ttf.filePath(), 12);
    const bool bold = raw.weight() >= QFont::DemiBold, italic = raw.style() != QFont::StyleNormal;
    faces << key(raw.familyName(), bold, italic);
    if (italic) faces << key(raw.familyName(), bold, false);
  }
  for (const char* family : {"Arial", "Times New Roman"})
    for (const bool bold : {false, true})
      for (const bool italic : {false, true}) faces << key(QString::fromLatin1(family), bold, italic);
  const QRegularExpression font(QStringLiteral("^    Font[A-Za-z]*=[0-9A-Fa-f]{6},([^,]*),[^,]*,?([BIUS]*)"));
  int named = 0;
  for (const QString& file : Documents()) {
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(file, lines));
    for (const QString& line : lines) {
      const auto m = font.match(line);
      if (!m.hasMatch()) continue;
      const QString style = m.captured(2);
      EXPECT_TRUE(faces.contains(
          key(m.captured(1), style.contains(QLatin1Char('B')), style.contains(QLatin1Char('I')))))
          << file.toStdString() << ": " << line.toStdString();
      ++named;
    }
  }
  EXPECT_GT(named, 0);
}

TEST(CatalogueFiles, PreviewsBesideTheCatalogueAreCurrentPictures) {
  // The catalogue uses a shipped preview as it is, so each one must belong to a template.
  QDirIterator it(kData + QStringLiteral("Modeles"), {QStringLiteral("*.jpg")}, QDir::Files,
                  QDirIterator::Subdirectories);
  int previews = 0;
  while (it.hasNext()) {
    const QString jpg = it.next();
    QString mdl = jpg;
    mdl.replace(mdl.size() - 4, 4, QStringLiteral(".mdl"));
    EXPECT_TRUE(QFileInfo::exists(mdl)) << jpg.toStdString();
    EXPECT_FALSE(QImage(jpg).isNull()) << jpg.toStdString();
    ++previews;
  }
  EXPECT_GT(previews, 0);
}

// Objects of a document read without resolvers (only what the file says).
std::unique_ptr<TzunoCADMdl> Read(const QString& file) {
  auto doc = std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
  EXPECT_TRUE(doc->LoadFromFile(file)) << file.toStdString();
  return doc;
}

QSet<QString> Codes(const TzunoCADMdl& doc, const char* kind) {
  QSet<QString> codes;
  for (const auto& o : doc.Objets())
    if (o->Name == QLatin1String(kind)) codes << o->Code;
  return codes;
}

QStringList MdlIn(const QString& folder) {
  return QDir(kData + folder).entryList({QStringLiteral("*.mdl")}, QDir::Files, QDir::Name);
}

TEST(WizardFolders, HoldWhatTheWizardsLookFor) {
  // Blank projects: one page per item kind, numbered by that kind.
  for (int k = 1; k <= 6; ++k) {
    const auto blank = Read(kData + QStringLiteral("Gabarits/Vierge/%1.mdl").arg(k));
    EXPECT_EQ(blank->Gabarit, k);
  }
  // Audio and data discs: templates for every item, with pictures the wizard replaces.
  for (const char* folder : {"Gabarits/Audio", "Gabarits/Data"}) {
    const QStringList files = MdlIn(QString::fromLatin1(folder));
    for (int k = 1; k <= 6; ++k) {
      const QString end = QStringLiteral("%1.mdl").arg(k);
      EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const QString& f) { return f.endsWith(end); }))
          << folder << " " << k;
    }
    for (const QString& f : files) {
      const auto doc = Read(kData + QString::fromLatin1(folder) + QLatin1Char('/') + f);
      EXPECT_FALSE(Codes(*doc, "image").isEmpty()) << f.toStdString();
      // The round label has no room for a listing; every other data item has one.
      if (QString::fromLatin1(folder).endsWith(QLatin1String("Data")) &&
          !f.endsWith(QLatin1String("1.mdl"))) {
        EXPECT_FALSE(Codes(*doc, "arbo").isEmpty()) << f.toStdString();
      }
    }
  }
  // Cards: the three text places and pictures coded by role.
  const QSet<QString> roles{QStringLiteral("fond"), QStringLiteral("photo"), QStringLiteral("accessoire"),
                            QStringLiteral("image1"), QStringLiteral("image2")};
  const QStringList cards = MdlIn(QStringLiteral("Gabarits"));
  EXPECT_FALSE(cards.isEmpty());
  for (const QString& f : cards) {
    const auto doc = Read(kData + QStringLiteral("Gabarits/") + f);
    const QSet<QString> texts = Codes(*doc, "texte"), images = Codes(*doc, "image");
    EXPECT_TRUE(texts.contains(QStringLiteral("texte1")) && texts.contains(QStringLiteral("texte2")) &&
                texts.contains(QStringLiteral("texte3")))
        << f.toStdString();
    EXPECT_TRUE(images.contains(QStringLiteral("fond")) && images.size() >= 2 && roles.contains(images))
        << f.toStdString();
  }
  // T-shirt designs: on a support, with the picture and the text the support wizard fills.
  const QStringList shirts = MdlIn(QStringLiteral("Gabarits/tshirt"));
  EXPECT_FALSE(shirts.isEmpty());
  for (const QString& f : shirts) {
    const auto doc = Read(kData + QStringLiteral("Gabarits/tshirt/") + f);
    EXPECT_FALSE(doc->GetEntete(QStringLiteral("SupportFichier")).isEmpty()) << f.toStdString();
    EXPECT_TRUE(Codes(*doc, "image").contains(QStringLiteral("image1"))) << f.toStdString();
    EXPECT_TRUE(Codes(*doc, "texte").contains(QStringLiteral("texte1"))) << f.toStdString();
  }
  // The two choosers list documents with their previews.
  for (const char* folder : {"AssitantEtiquettes", "AssistantFonds"}) {
    const QStringList files = MdlIn(QString::fromLatin1(folder));
    EXPECT_FALSE(files.isEmpty()) << folder;
    for (QString f : files)
      EXPECT_TRUE(QFileInfo::exists(kData + QString::fromLatin1(folder) + QLatin1Char('/') +
                                    f.replace(QLatin1String(".mdl"), QLatin1String(".jpg"))))
          << f.toStdString();
  }
}

TEST(WizardFolders, EveryFormatWithAFileNameHasItsPage) {
  const TzunoCSV formats(kData + QStringLiteral("formats.csv"));
  const int name = formats.ColIndex(QStringLiteral("nom"));
  ASSERT_GE(name, 0);
  int pages = 0;
  for (int row = 1; row < formats.RowCount(); ++row) {
    const QString n = formats.Cell(name, row);
    if (n.contains(QLatin1Char('/'))) continue;
    SCOPED_TRACE(n.toStdString());
    const auto doc = Read(kData + QStringLiteral("formats/") + n + QStringLiteral(".mdl"));
    EXPECT_DOUBLE_EQ(doc->Large, ReadReal(formats.Cell(formats.ColIndex(QStringLiteral("large")), row)));
    EXPECT_DOUBLE_EQ(doc->Haut, ReadReal(formats.Cell(formats.ColIndex(QStringLiteral("haut")), row)));
    ++pages;
  }
  EXPECT_GT(pages, 0);
}

TEST(CatalogueFiles, DiscTemplatesCarryTheAlbumFieldsAndTheStartCategoryExists) {
  QDirIterator it(kData + QStringLiteral("Modeles"), {QStringLiteral("*.mdl")}, QDir::Files,
                  QDirIterator::Subdirectories);
  int discs = 0;
  while (it.hasNext()) {
    const QString file = it.next();
    if (!file.contains(QLatin1String("/Audio/"))) continue;
    const auto doc = Read(file);
    bool album = false;
    for (const auto& o : doc->Objets())
      if (auto* t = dynamic_cast<TzunoCADTexte*>(o.get()))
        album = album || t->txt.contains(QLatin1String("<cd"));
    EXPECT_TRUE(album) << file.toStdString();
    ++discs;
  }
  EXPECT_GT(discs, 0);
  const TIniFile ini(kHome + QStringLiteral("/lorvane.ini"));
  const QString start = ini.ReadString(QStringLiteral("lorvane"), QStringLiteral("path_modele_start"));
  EXPECT_FALSE(MdlIn(QStringLiteral("Modeles") + NormaliseSeparators(start)).isEmpty())
      << start.toStdString();
}

#ifdef LORVANE_CONTENT_TOOL
// Relative path and bytes of every file under a folder.
std::map<QString, QByteArray> Tree(const QString& root) {
  std::map<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files[QDir(root).relativeFilePath(path)] = ReadAll(path);
  }
  return files;
}

// Pictures are compared by their pixels within a small tolerance: Qt's raster engine picks SIMD code by
// processor, whose smoothing rounds a level or two differently, and JPEG coding spreads such a change
// over its block. A moved text or shape changes far more: many pixels by a large amount.
bool SamePicture(const QString& a, const QString& b, std::string& why) {
  const QImage x = LoadPicture(a).convertToFormat(QImage::Format_RGB888);
  const QImage y = LoadPicture(b).convertToFormat(QImage::Format_RGB888);
  if (x.isNull() || y.isNull() || x.size() != y.size()) {
    why = "size or decoding differs";
    return false;
  }
  double sum = 0;
  qint64 far = 0;
  for (int row = 0; row < x.height(); ++row) {
    const uchar* p = x.constScanLine(row);
    const uchar* q = y.constScanLine(row);
    for (int i = 0; i < x.width(); ++i) {
      int most = 0;
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(p[i * 3 + c] - q[i * 3 + c]);
        sum += d;
        most = std::max(most, d);
      }
      far += most > 32;
    }
  }
  const double pixels = double(x.width()) * x.height();
  const double mean = sum / (pixels * 3), farShare = far / pixels;
  why =
      "mean difference " + std::to_string(mean) + ", pixels far off " + std::to_string(farShare * 100) + " %";
  return mean <= 0.5 && farShare <= 0.001;
}

TEST(ContentTool, MakesTheShippedTreeAgain) {
  // Text files and drawings come out byte for byte; pictures within SamePicture's tolerance.
  QTemporaryDir temp;
  const QString copy = temp.filePath(QStringLiteral("data"));
  const auto shipped = Tree(kHome);
  for (const auto& [path, bytes] : shipped) WriteAll(copy + QLatin1Char('/') + path, bytes);
  QProcess tool;
  tool.setProcessChannelMode(QProcess::MergedChannels);
  QElapsedTimer clock;
  clock.start();
  tool.start(QStringLiteral(LORVANE_CONTENT_TOOL), {QStringLiteral("--data"), copy});
  ASSERT_TRUE(tool.waitForFinished(600000));
  const QString log = QString::fromUtf8(tool.readAll());
  EXPECT_EQ(tool.exitCode(), 0) << log.toStdString();
  RecordProperty("seconds", int(clock.elapsed() / 1000));
  const auto made = Tree(copy);
  const QRegularExpression picture(QStringLiteral("\\.(jpe?g|bmp|png)$"),
                                   QRegularExpression::CaseInsensitiveOption);
  int pictures = 0, exact = 0;
  for (const auto& [path, bytes] : shipped) {
    const auto it = made.find(path);
    if (it == made.end()) {
      ADD_FAILURE() << "removed " << path.toStdString();
    } else if (it->second == bytes) {
      exact += picture.match(path).hasMatch();
    } else if (picture.match(path).hasMatch()) {
      std::string why;
      EXPECT_TRUE(SamePicture(kHome + QLatin1Char('/') + path, copy + QLatin1Char('/') + path, why))
          << "changed " << path.toStdString() << ": " << why;
    } else {
      ADD_FAILURE() << "changed " << path.toStdString();
    }
    pictures += picture.match(path).hasMatch();
  }
  for (const auto& [path, bytes] : made) EXPECT_TRUE(shipped.count(path)) << "added " << path.toStdString();
  RecordProperty("pictures", pictures);
  RecordProperty("pictures_exact", exact);
}
#endif

}  // namespace
