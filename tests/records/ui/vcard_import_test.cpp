// Contacts imported into the address book from a vCard file: the button asks for the file, the
// cards arrive sorted among the others with their fields and photo, and the user is told the count;
// a bad file is refused with a message and changes nothing. Pictures in both languages.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "common/shipped_installation.h"
#include "common/shots.h"
#include "records/fiches.h"
#include "records/ui/fiche_window.h"
#include "records/vcard.h"
#include "render/picture_io.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

static void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

QByteArray Jpeg(int w, int h) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(QColor(30, 90, 200));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "JPEG", 85);
  return bytes;
}

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  QFile f(dir.filePath(name));
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  return f.fileName();
}

QStringList Names(const QListWidget& l) {
  QStringList out;
  for (int i = 0; i < l.count(); ++i) out << l.item(i)->text();
  return out;
}

TEST(VCardImport, ContactsBecomeCardsOfTheAddressBook) {
  for (int language : {1, 2}) {
    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    QString error;
    auto in = OpenShippedCopy(dir.filePath("home"), dir.filePath("user"),
                              {QStringLiteral("Langue=%1").arg(language)}, &dialogs, &error);
    ASSERT_TRUE(in) << error.toStdString();
    TzunoFiches& cards = in->Fiches();
    const int before = cards.Count();
    const QString user = in->Soft().UserPath;

    const QString good =
        Write(dir, "contacts.vcf",
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Bernard;Luc;;;\r\nORG:Menuiserie Bernard\r\n"
              "ADR;TYPE=WORK:;;3 rue du Bois;Annecy;;74000;France\r\nTEL;TYPE=CELL:06 11 22 33 44\r\n"
              "EMAIL;TYPE=WORK:luc@example.com\r\nPHOTO;ENCODING=b;TYPE=JPEG:" +
                  Jpeg(64, 48).toBase64() +
                  "\r\nEND:VCARD\r\n"
                  "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoé Arnaud\r\nEMAIL:zoe@example.com\r\nEND:VCARD\r\n"
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:sans nom\r\nEND:VCARD\r\n");
    static const char kJunk[] = "\x00\x01\x02 not a card";
    const QString junk = Write(dir, "junk.vcf", QByteArray(kJunk, sizeof kJunk - 1));

    TfmFiche form(nullptr, cards, user);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(form.sbImporter);
    EXPECT_EQ(form.sbImporter->text(), MLText("fmFiche.sbImporter.Caption"));
    EXPECT_EQ(form.sbImporter->accessibleName(), form.sbImporter->text());

    // A file without contacts: a message, nothing added; a cancelled chooser does nothing.
    dialogs.OpenFiles = {junk, std::nullopt};
    dialogs.Answers = {arOK};
    form.sbImporter->click();
    form.sbImporter->click();
    EXPECT_EQ(cards.Count(), before);
    ASSERT_EQ(dialogs.Questions.size(), 1);
    EXPECT_EQ(dialogs.Questions[0].Text, MLText("VCardAucun").replace("%s", "junk.vcf"));

    dialogs.Questions.clear();
    dialogs.OpenFiles = {good};
    dialogs.Answers = {arOK};
    form.sbImporter->click();
    ASSERT_EQ(cards.Count(), before + 2);
    // Sorted among the others, the list refreshed; the count and the nameless contact reported.
    QStringList names = Names(*form.lbPers);
    EXPECT_EQ(names.size(), cards.Count());
    EXPECT_TRUE(names.contains("Arnaud Zoé"));
    EXPECT_TRUE(names.contains("Bernard Luc"));
    EXPECT_LT(names.indexOf("Arnaud Zoé"), names.indexOf("Bernard Luc"));
    ASSERT_EQ(dialogs.Questions.size(), 1);
    EXPECT_EQ(dialogs.Questions[0].Text,
              MLText("VCardImportes").replace("%d", "2") + "\n" + MLText("VCardSansNom").replace("%d", "1"));
    const TzunoFiche* luc = cards.Item(names.indexOf("Bernard Luc"));
    EXPECT_EQ(luc->Value(u"SociétéPRO"), "");
    EXPECT_EQ(luc->Value(u"Société"), "Menuiserie Bernard");
    EXPECT_EQ(luc->Value(u"VillePRO"), "Annecy");
    EXPECT_EQ(luc->Value(u"Portable"), "06 11 22 33 44");
    EXPECT_EQ(luc->Value(u"EmailPRO"), "luc@example.com");
    EXPECT_EQ(LoadPicture(cards.PhotoFile(user, *luc)).size(), QSize(64, 48));
    EXPECT_TRUE(cards.Changed());
    // Shown as any card is: its row selected shows its fields and photo.
    form.lbPers->setCurrentRow(names.indexOf("Bernard Luc"));
    form.PageControl1->setCurrentIndex(1);
    Shot(form, QStringLiteral("vcard_import_%1.png").arg(language));
    // Importing the same file again adds new cards and leaves the first ones as they are.
    dialogs.OpenFiles = {good};
    dialogs.Answers = {arOK};
    form.sbImporter->click();
    EXPECT_EQ(cards.Count(), before + 4);
    EXPECT_EQ(luc->Value(u"Portable"), "06 11 22 33 44");
    EXPECT_TRUE(dialogs.Faults.isEmpty()) << dialogs.Faults.join('\n').toStdString();
  }
}

}  // namespace
