// The mailing window with real parts: the shipped installation's copy, an address book of three
// cards, a small two-sided card whose texts are merge fields, the desktop's mail hand-over to a
// private mailto handler, and a loopback SMTP server.
#include "records/ui/mailing_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/files.h"
#include "common/mail_handler.h"
#include "common/mail_parse.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "common/smtp_server.h"
#include "model/document.h"
#include "records/fiches.h"
#include "records/smtp_settings.h"
#include "records/ui/check_list.h"
#include "records/ui/smtp_dialog.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/textfile.h"

namespace {

// A text object of the document format, on a face, in large type so that names change the picture.
QStringList Text(int number, int face, const QString& text, double y) {
  return {QStringLiteral("  Objet=%1").arg(number),
          "    Name=texte",
          QStringLiteral("    Face=%1").arg(face),
          "    CanSelect=1",
          "    Pen=000000,1,0",
          "    Brush=FFFFFF,0",
          "    x=42,5",
          QStringLiteral("    y=%1").arg(y),
          "    l=0",
          "    h=0",
          "    r=0",
          "    Font=000000,Liberation Sans,6000,",
          "    Aligne=0",
          "    Alignement=2",
          "    txt=" + text,
          "  End",
          ""};
}

QStringList Card(int faces) {
  QStringList lines{"Version=1.2", "Large=85", "Haut=54", "", "Face=1"};
  lines << Text(1, 1, QString::fromUtf8("<Prénom>"), 20) << Text(2, 1, "<Nom>", 36) << "End"
        << "";
  if (faces > 1)
    lines << "Face=2" << Text(3, 2, "<Ville>", 27) << "End"
          << "";
  return lines;
}

struct TMailingSetup {
  QTemporaryDir dir;
  std::unique_ptr<TInstallation> installation;
  TzunoCADMdl document{nullptr, QRect(0, 0, 100, 100), 100, 100};

  explicit TMailingSetup(int language = 1, int faces = 2) {
    QString error;
    installation = OpenShippedCopy(dir.filePath("home"), dir.filePath("user"),
                                   {QStringLiteral("Langue=%1").arg(language)}, nullptr, &error);
    EXPECT_TRUE(installation) << error.toStdString();
    if (!installation) return;
    Fiches()->LoadFromStrings({"[1]",
                               "Nom=Martin",
                               QString::fromUtf8("Prénom=Claire"),
                               "Email=claire@example.com",
                               "Ville=Lyon",
                               "",
                               "[2]",
                               "Nom=Durand",
                               QString::fromUtf8("Prénom=Bruno"),
                               "Email=bruno@example.com",
                               "Ville=Nantes",
                               "",
                               "[3]",
                               "Nom=Leroy",
                               QString::fromUtf8("Prénom=Zoé"),
                               "EMAIL=SMTP:zoe@example.com",
                               "Ville=Brest",
                               "",
                               "[4]",
                               "Nom=Petit",
                               QString::fromUtf8("Prénom=Paul"),
                               ""});
    Fiches()->SetCurrent(0);
    installation->Connect(document);
    document.LoadFromStrings(Card(faces));
  }
};

bool WaitFor(const std::function<bool()>& done, int ms = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
  double sum = 0;
  for (int r = 0; r < x.height(); ++r)
    for (int c = 0; c < x.width() * 3; ++c)
      sum += std::abs(int(x.constScanLine(r)[c]) - int(y.constScanLine(r)[c]));
  return sum / (x.width() * x.height() * 3.0);
}

void Tick(TfmMailingModele& w, std::initializer_list<int> rows) {
  for (int r : rows) w.lbFiches->setChecked(r, true);
}

}  // namespace

// The list, its previews and the designed message; "Envoyer" follows the ticks.
TEST(Mailing, ListsCardsAndPreviewsTheSelectedOne) {
  TMailingSetup s;
  ASSERT_TRUE(s.installation);
  Fiches()->SetCurrent(1);
  TfmMailingModele w(nullptr, s.document);
  w.show();
  QApplication::processEvents();
  ASSERT_EQ(w.lbFiches->count(), 4);
  EXPECT_EQ(w.lbFiches->text(0), "Martin Claire (claire@example.com)");
  EXPECT_EQ(w.lbFiches->text(3), "Petit Paul (" + MLMessage(901) + ")");
  EXPECT_EQ(w.lbFiches->currentRow(), 1);
  EXPECT_EQ(w.Edit1->text(), "Voici ma carte");
  EXPECT_EQ(w.Memo1->toPlainText(),
            QString::fromUtf8("Bonjour <Prénom>\n\nVoici ci-joint ma nouvelle carte"));
  EXPECT_FALSE(w.bOK->isEnabled());
  Tick(w, {2});
  EXPECT_TRUE(w.bOK->isEnabled());
  w.lbFiches->setChecked(2, false);
  EXPECT_FALSE(w.bOK->isEnabled());
  // A click on another person ticks and previews them: their names are drawn.
  const QImage bruno = w.Image1->pixmap().toImage();
  QTest::mouseClick(w.lbFiches->Box(2), Qt::LeftButton);
  EXPECT_TRUE(w.lbFiches->isChecked(2));
  EXPECT_EQ(w.lbFiches->currentRow(), 2);
  EXPECT_EQ(Fiches()->Current(), 2);
  EXPECT_NE(w.Image1->pixmap().toImage(), bruno);
  EXPECT_TRUE(w.Image2->isVisible());
  for (QWidget* control : w.findChildren<QWidget*>()) {
    if (control->focusPolicy() != Qt::NoFocus && control->isVisible() &&
        !control->objectName().startsWith("qt_")) {
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    }
  }
  Shot(w, "mailing-fr.png");
}

// Second and third card ticked: two hand-overs in list order, each to its own address ("SMTP:" gone),
// greeting its own person, with both faces drawn with its own card; the current card comes back
// and the message is kept for the next opening.
TEST(Mailing, OneHandOverPerTickedCardPersonalised) {
  TMailtoRecorder handler;
  TMailingSetup s;
  ASSERT_TRUE(s.installation);
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* w = qobject_cast<TfmMailingModele*>(QApplication::activeModalWidget());
    ASSERT_TRUE(w);
    Tick(*w, {1, 2});
    w->Edit1->setText("Salut");
    w->Memo1->setPlainText(QString::fromUtf8("Bonjour <Prénom>\nÀ bientôt"));
    w->bOK->click();
    EXPECT_TRUE(w->Sending());
    checked = true;
  });
  EXPECT_EQ(TfmMailingModele::ShowMailing(nullptr, s.document), QDialog::Accepted);
  ASSERT_TRUE(checked);
  EXPECT_EQ(Fiches()->Current(), 0);

  const QStringList calls = handler.Received();
  ASSERT_EQ(calls.size(), 2);
  const TMailto bruno = ParseMailto(calls[0]), zoe = ParseMailto(calls[1]);
  EXPECT_EQ(bruno.To, "bruno@example.com");
  EXPECT_EQ(zoe.To, "zoe@example.com");
  EXPECT_EQ(bruno.Items.value("subject"), "Salut");
  // (the hand-over drops the last line break)
  EXPECT_EQ(bruno.Items.value("body"), QString::fromUtf8("Bonjour Bruno\r\nÀ bientôt"));
  EXPECT_EQ(zoe.Items.value("body"), QString::fromUtf8("Bonjour Zoé\r\nÀ bientôt"));
  QStringList files[2];
  for (int m = 0; m < 2; ++m) {
    files[m] = (m == 0 ? bruno : zoe).Items.values("attach");
    std::reverse(files[m].begin(), files[m].end());
    ASSERT_EQ(files[m].size(), 2);
    EXPECT_EQ(QFileInfo(files[m][0]).fileName(), "Carte face 1.jpg");
    EXPECT_EQ(QFileInfo(files[m][1]).fileName(), "Carte face 2.jpg");
  }
  // Each mail keeps its own pictures, drawn with its own card.
  for (int face = 0; face < 2; ++face) {
    const QImage a(files[0][face]), b(files[1][face]);
    ASSERT_FALSE(a.isNull());
    EXPECT_LE(a.width(), 320);
    EXPECT_LE(a.height(), 240);
    EXPECT_NE(a, b) << "face " << face + 1;
  }
  // Zoé's first face is her card drawn alone, not Bruno's.
  auto alone = [&](int card) {
    Fiches()->SetCurrent(card);
    s.document.SetFace(1);
    s.document.RelayoutTextes();
    return s.document.ExportImage(320, 240, RGBColor(128, 128, 128), false);
  };
  const QImage zoeAlone = alone(2), brunoAlone = alone(1);
  Fiches()->SetCurrent(0);
  const QImage zoeMailed = QImage(files[1][0]).convertToFormat(zoeAlone.format());
  ASSERT_EQ(zoeMailed.size(), zoeAlone.size());
  EXPECT_LT(MeanDifference(zoeMailed, zoeAlone) * 4, MeanDifference(zoeMailed, brunoAlone));

  QStringList saved;
  ASSERT_TRUE(ReadTextFile(Soft()->MailingFile, saved));
  EXPECT_EQ(saved,
            QStringList({"Salut", QString::fromUtf8("Bonjour <Prénom>"), QString::fromUtf8("À bientôt")}));
  TfmMailingModele again(nullptr, s.document);
  again.show();
  EXPECT_EQ(again.Edit1->text(), "Salut");
  EXPECT_EQ(again.Memo1->toPlainText(), QString::fromUtf8("Bonjour <Prénom>\nÀ bientôt"));
}

// A one-sided card attaches one picture; Cancel sends nothing and saves nothing.
TEST(Mailing, OneFaceOnePictureAndCancelSendsNothing) {
  TMailtoRecorder handler;
  TMailingSetup s(1, 1);
  ASSERT_TRUE(s.installation);
  {
    TfmMailingModele w(nullptr, s.document);
    w.show();
    EXPECT_FALSE(w.Image2->isVisible());
    Tick(w, {0});
    w.bCancel->click();
    EXPECT_EQ(w.result(), QDialog::Rejected);
  }
  EXPECT_TRUE(handler.Received().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Soft()->MailingFile));
  TfmMailingModele w(nullptr, s.document);
  w.show();
  Tick(w, {0});
  w.bOKClick();
  ASSERT_TRUE(WaitFor([&] { return !w.Sending(); }));
  EXPECT_EQ(w.result(), QDialog::Accepted);
  const QStringList calls = handler.Received();
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(ParseMailto(calls[0]).Items.values("attach").size(), 1);
}

// Through the user's SMTP server: each recipient's outcome is shown; a refused one stays ticked for
// another try and the window stays open; the sent one carries its personalised message and pictures.
TEST(Mailing, SmtpOutcomePerRecipient) {
  TMailingSetup s(2);
  ASSERT_TRUE(s.installation);
  TTestSmtpServer server;
  server.Refused << "zoe@example.com";
  TSmtpSettings smtp;
  smtp.Host = "127.0.0.1";
  smtp.Port = server.serverPort();
  smtp.Security = TSmtpSettings::TSecurity::None;
  smtp.User = "user";
  smtp.Password = "secret";
  smtp.FromAdress = "me@example.org";
  ASSERT_TRUE(smtp.Save(SmtpSettingsFile()));
  TfmMailingModele w(nullptr, s.document);
  w.show();
  EXPECT_EQ(w.windowTitle(), "Mailing");
  EXPECT_EQ(w.bOK->text(), "Send");
  EXPECT_TRUE(w.lbEnvoi->text().contains("127.0.0.1"));
  Tick(w, {0, 1, 2});
  w.bOKClick();
  EXPECT_EQ(w.bCancel->text(), MLText("MailingArreter"));
  QApplication::processEvents();
  Shot(w, "mailing-en-sending.png");
  ASSERT_TRUE(WaitFor([&] { return !w.Sending(); }));
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.Outcome(0), MLText("MailingEnvoye"));
  EXPECT_EQ(w.Outcome(1), MLText("MailingEnvoye"));
  EXPECT_TRUE(w.Outcome(2).contains("550")) << w.Outcome(2).toStdString();
  EXPECT_EQ(w.lbFiches->isChecked(0), false);
  EXPECT_EQ(w.lbFiches->isChecked(2), true);
  EXPECT_EQ(w.bCancel->text(), MLText("MailingFermer"));
  ASSERT_EQ(server.Mails.size(), 2);
  const TParsedMail first = ParseMail(server.Mails[0].Data);
  EXPECT_EQ(first.Subject, "Here is my card");
  ASSERT_EQ(first.Parts.size(), 3);
  EXPECT_TRUE(first.Parts[0].Body.startsWith("Hello Claire\r\n")) << first.Parts[0].Body.constData();
  EXPECT_EQ(first.Parts[1].Headers.value("content-type").left(10), "image/jpeg");
  EXPECT_FALSE(QImage::fromData(first.Parts[2].Body).isNull());
  EXPECT_TRUE(ParseMail(server.Mails[1].Data).Parts[0].Body.startsWith("Hello Bruno\r\n"));
  Shot(w, "mailing-en.png");
}

// The server dialog: the usual port follows the security mode until the user picks another one, and
// what it holds is what the settings file gets.
TEST(Mailing, ServerDialogKeepsWhatTheUserTyped) {
  for (int language : {1, 2}) {
    TMailingSetup s(language);
    ASSERT_TRUE(s.installation);
    TfmServeurMail d(nullptr, TSmtpSettings{});
    d.show();
    EXPECT_EQ(d.sePort->value(), 587);
    d.cbSecurite->setCurrentIndex(2);
    EXPECT_EQ(d.sePort->value(), 465);
    d.sePort->setValue(2525);
    d.cbSecurite->setCurrentIndex(0);
    EXPECT_EQ(d.sePort->value(), 2525);
    d.edServeur->setText(" smtp.example.org ");
    d.edMotDePasse->setText("pa ss");
    d.edAdresse->setText("me@example.org");
    const TSmtpSettings got = d.Settings();
    EXPECT_EQ(got.Host, "smtp.example.org");
    EXPECT_EQ(got.Password, "pa ss");
    EXPECT_EQ(got.Security, TSmtpSettings::TSecurity::None);
    EXPECT_TRUE(got.Configured());
    for (QWidget* control : d.findChildren<QWidget*>()) {
      if (control->focusPolicy() != Qt::NoFocus && control->isVisible() &&
          !control->objectName().startsWith("qt_")) {
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
      }
    }
    Shot(d, language == 1 ? "smtp-fr.png" : "smtp-en.png");
  }
}
