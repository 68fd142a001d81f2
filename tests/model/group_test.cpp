#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/qt_printers.h"
#include "model/document.h"
#include "model/host.h"
#include "model/kinds.h"
#include "render/recording_canvas.h"

namespace {

// Settings as an installation would give them.
struct TestHost : TObjectHost {
  QHash<QString, QString> soft;
  QStringList messages;
  QString ReadSoftString(const QString& key) override { return soft.value(key); }
  int ReadSoftInteger(const QString& key) override {
    bool ok = false;
    const int v = soft.value(key).toInt(&ok);
    return ok ? v : -1;
  }
  QString DataPath() override { return QString(); }
  QString Text(const QString&, const QString& fallback) override { return fallback; }
  void ShowMessage(const QString& text) override { messages << text; }
  QList<QPair<QString, QString>> ShellFolders() override { return {}; }
  QSizeF SupportSize(const QString&) override { return QSizeF(); }
};

struct HostGuard {
  explicit HostGuard(TObjectHost* h) { SetObjectHost(h); }
  ~HostGuard() { SetObjectHost(nullptr); }
};

bool HasText(const TRecordingCanvas& c, const QString& text) {
  for (const TCanvasCall& call : c.Calls())
    if (call.Text == text) return true;
  return false;
}

}  // namespace

TEST(Group, MirroredContentIsAnchoredAtTheOppositeCorner) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d.PixelsPerMmX = d.PixelsPerMmY = 2;
  auto* g = static_cast<TzunoCADGroup*>(d.CreateObjet(QStringLiteral("groupe")));
  g->x = 50;
  g->y = 40;
  g->l = 20;
  g->h = 10;
  g->Nested()->Large = 40;
  g->Nested()->Haut = 20;
  g->Nested()->CreateObjet(QStringLiteral("rect"));
  const struct { int mx, my, corner; } cases[] = {{1, 1, 1}, {-1, 1, 2}, {-1, -1, 3}, {1, -1, 4}};
  for (const auto& c : cases) {
    g->mirroirx = c.mx;
    g->mirroiry = c.my;
    TRecordingCanvas rec;
    g->Draw(rec);
    const QPoint corner = d.MmToPx(g->HandlePos(c.corner));
    EXPECT_EQ(g->Nested()->OriginX, corner.x()) << c.corner;
    EXPECT_EQ(g->Nested()->OriginY, corner.y()) << c.corner;
    EXPECT_DOUBLE_EQ(g->Nested()->PixelsPerMmX, 20.0 / 40 * 2 * c.mx);
    EXPECT_DOUBLE_EQ(g->Nested()->PixelsPerMmY, 10.0 / 20 * 2 * c.my);
  }
}

TEST(Group, EmptyGroupsShowTheirPlaceholderEvenInPrint) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  auto* g = static_cast<TzunoCADGroup*>(d.CreateObjet(QStringLiteral("groupe")));
  g->SetProperties({QStringLiteral("FichierMdl=absent.mdl"), QStringLiteral("l=20"), QStringLiteral("h=20")});
  d.DrawPlaceholders = false;
  TRecordingCanvas rec;
  d.DrawDirect(rec, QRect(0, 0, 100, 100));
  EXPECT_TRUE(HasText(rec, QString::fromUtf8("Pas de modèle")));
}

TEST(Group, StampsClampAndPunchesTakeThePaperColour) {
  TestHost host;
  host.soft = {{"tampon_taille_mini", "10"},
               {"tampon_taille_maxi", "40"},
               {"perforatrice_taille_mini", "3"},
               {"perforatrice_taille_maxi", "8"}};
  HostGuard guard(&host);
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d.ColorPapier = RGBColor(250, 240, 200);
  auto* stamp = static_cast<TzunoCADTampon*>(d.CreateObjet(QStringLiteral("tampon")));
  // No default model in the settings: one message per creation, naming the key.
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_EQ(host.messages[0], QStringLiteral("Fichier \"tampon_modele_defaut=\" introuvable."));
  stamp->l = 50;
  stamp->h = 5;
  TRecordingCanvas rec;
  stamp->Draw(rec);
  EXPECT_EQ(stamp->l, 40);
  EXPECT_EQ(stamp->h, 10);
  EXPECT_EQ(PropValue(stamp->GetProperties(), u"l"), "40");
  EXPECT_TRUE(stamp->ForcePenBrush);

  auto* punch = static_cast<TzunoCADPerforatrice*>(d.CreateObjet(QStringLiteral("perforatrice")));
  punch->SetProperties({QStringLiteral("Pen=0000FF,50,0"), QStringLiteral("Brush=00FF00,1"),
                        QStringLiteral("l=5"), QStringLiteral("h=5")});
  punch->Draw(rec);
  EXPECT_EQ(punch->Pen, (TPen{RGBColor(250, 240, 200), 300, psSolid}));
  EXPECT_EQ(punch->Brush, (TBrush{RGBColor(250, 240, 200), bsSolid}));
}

TEST(Group, NestedGroupsFiftyLevelsDeep) {
  QTemporaryDir dir;
  // level k shows level k + 1; the last one holds a rectangle.
  for (int k = 0; k < 50; ++k) {
    QFile f(dir.filePath(QStringLiteral("n%1.mdl").arg(k)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray text = "Large=10\r\nHaut=10\r\n\r\nFace=1\r\n  Objet=1\r\n";
    if (k < 49)
      text += "    Name=groupe\r\n    l=8\r\n    h=8\r\n    x=5\r\n    y=5\r\n    FichierMdl=" +
              dir.filePath(QStringLiteral("n%1.mdl").arg(k + 1)).toUtf8() + "\r\n";
    else
      text += "    Name=rectangle\r\n    l=4\r\n    h=4\r\n    x=5\r\n    y=5\r\n";
    text += "  End\r\nEnd\r\n";
    f.write(text);
  }
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 10, 10);
  ASSERT_TRUE(d.LoadFromFile(dir.filePath(QStringLiteral("n0.mdl"))));
  int depth = 0;
  for (TzunoCADMdl* n = &d; n->Count() == 1 && n->Objet(0)->Name == QLatin1String("groupe"); ++depth)
    n = static_cast<TzunoCADGroup*>(n->Objet(0))->Nested();
  EXPECT_EQ(depth, 49);
  QImage img(200, 200, QImage::Format_RGB888);
  img.fill(Qt::white);
  d.DrawBitmap(img);  // draws through every level without trouble
}

namespace {

// Files f0 .. fN in a folder: each holds ten groups showing the next one; the last ten rectangles.
void WriteFanOut(const QTemporaryDir& dir, int levels) {
  for (int k = 0; k <= levels; ++k) {
    QByteArray text = "Large=100\r\nHaut=20\r\n\r\nFace=1\r\n";
    for (int i = 0; i < 10; ++i) {
      text += "  Objet=" + QByteArray::number(i + 1) + "\r\n    x=" + QByteArray::number(5 + 10 * i) +
              "\r\n    y=10\r\n    l=9\r\n    h=9\r\n";
      if (k < levels)
        text += "    Name=groupe\r\n    FichierMdl=" +
                dir.filePath(QStringLiteral("f%1.mdl").arg(k + 1)).toUtf8() + "\r\n";
      else
        text += "    Name=rectangle\r\n";
      text += "  End\r\n  \r\n";
    }
    text += "End\r\n\r\n";
    QFile f(dir.filePath(QStringLiteral("f%1.mdl").arg(k)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
}

struct Shown {
  int documents = 0;      // distinct nested documents
  long long objects = 0;  // objects a drawing goes through, nested ones as often as they show
  int placeholders = 0;   // groups left empty
};

// Walks what a document shows, each distinct nested document once.
Shown Walk(TzunoCADMdl& top) {
  Shown s;
  QHash<TzunoCADMdl*, long long> expanded;
  std::function<long long(TzunoCADMdl*)> visit = [&](TzunoCADMdl* d) -> long long {
    long long n = d->Count();
    for (const auto& o : d->Objets()) {
      auto* g = dynamic_cast<TzunoCADGroup*>(o.get());
      if (!g) continue;
      TzunoCADMdl* nested = g->Nested();
      if (nested->Count() == 0) {
        ++s.placeholders;
        continue;
      }
      if (!expanded.contains(nested)) {
        ++s.documents;
        expanded.insert(nested, visit(nested));
      }
      n += expanded.value(nested);
    }
    return n;
  };
  s.objects = visit(&top);
  return s;
}

}  // namespace

// Ten groups per file, each naming the next file: each file is read once per read and its document
// shared; a budget of nested documents and objects leaves the rest as placeholders.
TEST(Group, FanOutFilesAreReadOnceAndShared) {
  QTemporaryDir dir;
  WriteFanOut(dir, 4);
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 20);
  ASSERT_TRUE(d.LoadFromFile(dir.filePath(QStringLiteral("f0.mdl"))));
  ASSERT_EQ(d.Count(), 10);
  const Shown all = Walk(d);
  ASSERT_EQ(all.documents, 4);  // f1 to f4, one document each
  EXPECT_EQ(all.placeholders, 0);
  EXPECT_EQ(all.objects, 10 + 100 + 1000 + 10000 + 100000);
  EXPECT_EQ(static_cast<TzunoCADGroup*>(d.Objet(0))->Nested(),
            static_cast<TzunoCADGroup*>(d.Objet(9))->Nested());
  EXPECT_FALSE(d.NestedReading);  // the read's cache goes with the read

  // A caller's budget: groups past it are left empty, and nothing past it is kept.
  TzunoCADMdl small(nullptr, QRect(0, 0, 100, 100), 100, 20);
  small.NestedReading = std::make_shared<TNestedReading>();
  small.NestedReading->Budget = 5000;
  ASSERT_TRUE(small.LoadFromFile(dir.filePath(QStringLiteral("f0.mdl"))));
  const Shown part = Walk(small);
  EXPECT_GT(part.placeholders, 0);
  EXPECT_LE(part.objects, 5000);
  EXPECT_GT(part.objects, 1000);

  // Six levels would show 1.1 million rectangles in 111,110 groups: past the program's budget.
  QTemporaryDir deep;
  WriteFanOut(deep, 6);
  TzunoCADMdl big(nullptr, QRect(0, 0, 100, 100), 100, 20);
  ASSERT_TRUE(big.LoadFromFile(deep.filePath(QStringLiteral("f0.mdl"))));
  const Shown capped = Walk(big);
  EXPECT_GT(capped.placeholders, 0);
  EXPECT_LE(capped.objects, kMaxNestedWeight);
  EXPECT_LE(capped.documents, 6);
  QImage img(200, 40, QImage::Format_RGB888);
  big.Quality = 7;
  big.DrawBitmap(img);  // draws what was kept, placeholders included
}

// A group whose file the resolver cannot find keeps the name it was stored with.
TEST(Group, UnresolvedFileKeepsItsStoredName) {
  TzunoCADMdl d(nullptr, QRect(0, 0, 100, 100), 100, 100);
  d.OnCheminFichier = [](TzunoCADMdl*, QString& name) { name.clear(); };
  d.LoadFromStrings({QStringLiteral("Large=100"), QStringLiteral("Haut=100"), QString(),
                     QStringLiteral("Face=1"), QStringLiteral("  Objet=1"), QStringLiteral("    Name=groupe"),
                     QStringLiteral("    FichierMdl=Formes\\absent.mdl"), QStringLiteral("  End"),
                     QStringLiteral("End")});
  ASSERT_EQ(d.Count(), 1);
  auto* g = static_cast<TzunoCADGroup*>(d.Objet(0));
  EXPECT_EQ(g->Nested()->Count(), 0);
  EXPECT_EQ(PropValue(g->GetProperties(), u"FichierMdl"), "absent.mdl");
  EXPECT_TRUE(d.SaveToStrings().contains(QStringLiteral("    FichierMdl=absent.mdl")));
}
