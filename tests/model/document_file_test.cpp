// Documents read from and written to files in place, without a string for every line, give what
// reading and writing their lines as a string list gives.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/files.h"
#include "model/document.h"
#include "shell/textfile.h"

namespace {

std::unique_ptr<TzunoCADMdl> NewDocument() {
  return std::make_unique<TzunoCADMdl>(nullptr, QRect(0, 0, 100, 100), 100, 100);
}

const QByteArray kObjects =
    "Face=2\r\n  Objet=1\r\n    Name=texte\r\n    txt=Caf\xE9 \x80 5=5|deux\r\n    x=10,5\r\n    y=20\r\n"
    "    l=30\r\n    h=8\r\n  End\r\n  \r\nEnd\r\n\r\n"
    "Face=1\r\n  Objet=2\r\n    Name=rectangle\r\n    Code=fond\r\n    x=50\r\n    y=60\r\n    l=20\r\n"
    "    h=10\r\n    Cote=999\r\n  End\r\n  \r\n  Objet=3\r\n    Name=inconnu\r\n  End\r\n  \r\nEnd\r\n\r\n";

}  // namespace

TEST(DocumentFile, ReadAndWrittenAsTheirLines) {
  QTemporaryDir dir;
  const QByteArray header =
      "Version=1.2\r\nLarge=120\r\nHaut=90\r\nPapierDefaut=A4 entier\r\nFriseX=5\r\n\r\n";
  QByteArray unix = header + kObjects;
  unix.replace("\r\n", "\n");
  const QByteArray cases[] = {
      header + kObjects,
      unix,
      // UTF-8 with its byte-order mark, for a character Windows-1252 lacks.
      "\xEF\xBB\xBF" + QString::fromLatin1(header + kObjects)
                           .replace(QStringLiteral("Caf"), QString::fromUtf8("日本"))
                           .toUtf8(),
      // Without an empty line after the header.
      "Version=1.2\r\nLarge=50\r\nHaut=50\r\n" + kObjects,
      "",
  };
  for (const QByteArray& bytes : cases) {
    const QString file = dir.filePath(QStringLiteral("in.mdl"));
    WriteAll(file, bytes);
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(file, lines));
    auto fromFile = NewDocument(), fromLines = NewDocument();
    ASSERT_TRUE(fromFile->LoadFromFile(file));
    fromLines->LoadFromStrings(lines);
    EXPECT_EQ(fromFile->Count(), fromLines->Count());
    EXPECT_EQ(fromFile->GetEntete(QStringLiteral("PapierDefaut")),
              fromLines->GetEntete(QStringLiteral("PapierDefaut")));
    EXPECT_EQ(fromFile->GetEntete(QStringLiteral("face")), fromLines->GetEntete(QStringLiteral("face")));

    const QString written = dir.filePath(QStringLiteral("out.mdl")),
                  expected = dir.filePath(QStringLiteral("exp.mdl"));
    ASSERT_TRUE(fromFile->SaveToFile(written));
    ASSERT_TRUE(WriteTextFile(expected, fromLines->SaveToStrings()));
    EXPECT_EQ(ReadAll(written), ReadAll(expected)) << bytes.left(40).toStdString();
    EXPECT_EQ(fromFile->SaveToStrings(), fromLines->SaveToStrings());
  }
}

// After a file is read or written the document keeps its header and face lines, not every line.
TEST(DocumentFile, KeepsTheHeaderAndTheFaceLines) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("in.mdl"));
  WriteAll(file, "Version=1.2\r\nLarge=120\r\nHaut=90\r\nPapierDefaut=A4\r\n\r\n" + kObjects);
  auto d = NewDocument();
  ASSERT_TRUE(d->LoadFromFile(file));
  const QStringList kept = {"Version=1.2", "Large=120", "Haut=90", "PapierDefaut=A4", "", "Face=2", "Face=1"};
  EXPECT_EQ(d->Text(), kept);
  d->SetEntete(QStringLiteral("SupportPosX%"), QStringLiteral("50"));
  ASSERT_TRUE(d->SaveToFile(dir.filePath(QStringLiteral("out.mdl"))));
  EXPECT_EQ(d->Text(), (QStringList{"Version=1.2", "Large=120", "Haut=90", "PapierDefaut=A4",
                                    "SupportPosX%=50", "", "Face=1", "Face=2"}));
  EXPECT_EQ(d->GetEntete(QStringLiteral("SupportPosX%")), "50");
}
