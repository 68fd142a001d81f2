// The address book over the shipped installation: the form built from the field definitions, cards
// shown and stored, the add/delete/save/close rules, and the per-card photo and logo.
#include "records/ui/fiche_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "common/files.h"
#include "common/shipped_installation.h"
#include "common/shots.h"
#include "records/fiches.h"
#include "render/codecs.h"
#include "render/picture_io.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/user_dialogs.h"

namespace {

struct Book {
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  std::unique_ptr<TInstallation> in;
  explicit Book(int language = 1) {
    QString error;
    in = OpenShippedCopy(dir.filePath("home"), dir.filePath("user"),
                         {QStringLiteral("Langue=%1").arg(language)}, &dialogs, &error);
    EXPECT_TRUE(in) << error.toStdString();
  }
  TzunoFiches& Cards() { return in->Fiches(); }
  QString UserPath() { return in->Soft().UserPath; }
};

template <class T>
T* Field(QWidget& form, const char* key) {
  T* w = form.findChild<T*>(QStringLiteral("e") + QString::fromUtf8(key));
  EXPECT_TRUE(w) << key;
  return w;
}

}  // namespace

// Controls are placed as the definitions say: left at a third of the page box, widths in percent of
// the rest, labels right-aligned 5 pixels before the controls and centred on them; each control is
// named for screen readers. Filling the form marks nothing as edited; typing does.
TEST(FicheWindow, BuildsTheFormFromTheDefinitionsAndShowsTheCurrentCard) {
  for (int language : {1, 2}) {
    Book b(language);
    ASSERT_TRUE(b.in);
    TfmFiche form(nullptr, b.Cards(), b.UserPath());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The page box's width, less room for its scroll bar.
    const int w =
        form.ScrollBox[0]->viewport()->width() - form.ScrollBox[0]->verticalScrollBar()->sizeHint().width();
    const int l = w / 3;
    auto* nom = Field<QLineEdit>(form, "Nom");
    auto* civ = Field<QComboBox>(form, "Civilité");
    auto* adresse = Field<QPlainTextEdit>(form, "Adresse");
    ASSERT_TRUE(nom && civ && adresse);
    EXPECT_EQ(nom->geometry().left(), l);
    EXPECT_EQ(nom->width(), w - l);
    EXPECT_EQ(civ->width(), 50 * (w - l) / 100);  // "50" in the definitions
    auto* label = qobject_cast<QLabel*>(nom->parentWidget()->findChild<QLabel*>("lbNom"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->geometry().right() + 1, l - 5);
    EXPECT_NEAR(label->geometry().center().y(), nom->geometry().center().y(), 1);
    EXPECT_GT(adresse->height(), nom->height() * 2);  // a memo of 200 %
    for (QWidget* c : form.findChildren<QWidget*>())
      if (!c->property("Hint").toString().isEmpty()) {
        EXPECT_FALSE(c->accessibleName().isEmpty());
      }

    const TzunoFiche& card = *b.Cards().CurrentCard();
    EXPECT_EQ(form.lbPers->currentItem()->text(), b.Cards().NomPre(card));
    EXPECT_EQ(nom->text(), card.Value(u"Nom"));
    const QStringList address = card.Value(u"Adresse").split('|');
    ASSERT_EQ(address.size(), 2);
    EXPECT_EQ(adresse->toPlainText(), address.join('\n'));
    EXPECT_FALSE(b.Cards().Modifie);
    EXPECT_FALSE(form.sbSauve->isEnabled());
    Shot(form, QStringLiteral("fiche_%1.png").arg(language == 1 ? "fr" : "en"));
    form.PageControl1->setCurrentIndex(1);
    auto* pro = Field<QLineEdit>(form, "VillePRO");
    ASSERT_TRUE(pro);
    EXPECT_EQ(pro->geometry(), QRect(l, pro->y(), w - l, pro->height()));
    Shot(form, QStringLiteral("fiche_pro_%1.png").arg(language == 1 ? "fr" : "en"));
    form.PageControl1->setCurrentWidget(form.tsMedia);
    Shot(form, QStringLiteral("fiche_media_%1.png").arg(language == 1 ? "fr" : "en"));

    nom->setText("Moreau");
    EXPECT_TRUE(b.Cards().Modifie);
    EXPECT_TRUE(form.sbSauve->isEnabled());
  }
}

// Saving stores every field (a three-line address as one value with two "|", an emptied field
// removed) and moves the photo and logo when the display name changed; closing asks about unsaved
// edits and Yes keeps them.
TEST(FicheWindow, SavesFieldsAndMovesPicturesWithTheName) {
  Book b;
  ASSERT_TRUE(b.in);
  TfmFiche form(nullptr, b.Cards(), b.UserPath());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QDir().mkpath(b.UserPath());
  WriteAll(b.UserPath() + "Martin Claire photo.bmp", "photo");
  WriteAll(b.UserPath() + "Martin Claire logo.bmp", "logo");

  Field<QLineEdit>(form, "Nom")->setText("Moreau");
  Field<QPlainTextEdit>(form, "Adresse")->setPlainText("1\n2\n3");
  Field<QLineEdit>(form, "Web")->setText("");
  form.sbSauve->click();
  const TzunoFiche* card = b.Cards().CurrentCard();
  EXPECT_EQ(card->Value(u"Adresse"), "1|2|3");
  EXPECT_EQ(card->Value(u"Web"), "");
  EXPECT_FALSE(card->Lines().join("\n").contains("Web="));
  EXPECT_EQ(form.lbPers->item(0)->text(), "Moreau Claire");
  EXPECT_EQ(ReadAll(b.UserPath() + "Moreau Claire photo.bmp"), "photo");
  EXPECT_EQ(ReadAll(b.UserPath() + "Moreau Claire logo.bmp"), "logo");
  EXPECT_FALSE(QFile::exists(b.UserPath() + "Martin Claire photo.bmp"));

  Field<QLineEdit>(form, "Ville")->setText("Nantes");
  b.dialogs.Answers = {arYes};
  form.sbClose->click();
  ASSERT_EQ(b.dialogs.Questions.size(), 1);
  EXPECT_EQ(b.dialogs.Questions[0].Text, MLMessage(581));
  EXPECT_EQ(b.Cards().CurrentCard()->Value(u"Ville"), "Nantes");
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

// "Ajouter" adds a blank card sorted among the others and shows it, but not while a blank card
// exists (580); "Supprimer" asks (582) and keeps at least one card (583).
TEST(FicheWindow, AddAndDeleteFollowTheRules) {
  Book b;
  ASSERT_TRUE(b.in);
  TfmFiche form(nullptr, b.Cards(), b.UserPath());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.sbAdd->click();
  ASSERT_EQ(b.Cards().Count(), 2);
  EXPECT_EQ(form.lbPers->count(), 2);
  EXPECT_EQ(form.lbPers->currentItem()->text(), MLMessage(503));
  EXPECT_EQ(Field<QLineEdit>(form, "Nom")->text(), MLMessage(501));
  EXPECT_EQ(b.Cards().NomPre(*b.Cards().CurrentCard()), MLMessage(503));
  form.sbAdd->click();
  EXPECT_EQ(b.Cards().Count(), 2);
  ASSERT_EQ(b.dialogs.Questions.size(), 1);
  EXPECT_EQ(b.dialogs.Questions[0].Text, MLMessage(580));

  // Picking the other card shows it.
  const QList<QListWidgetItem*> martin = form.lbPers->findItems("Martin Claire", Qt::MatchExactly);
  ASSERT_EQ(martin.size(), 1);
  form.lbPers->setCurrentItem(martin[0]);
  EXPECT_EQ(Field<QLineEdit>(form, "Nom")->text(), "Martin");

  b.dialogs.Answers = {arNo, arYes};
  form.sbSupprime->click();
  EXPECT_EQ(b.Cards().Count(), 2);
  form.sbSupprime->click();
  EXPECT_EQ(b.Cards().Count(), 1);
  EXPECT_EQ(b.Cards().NomPre(*b.Cards().Item(0)), MLMessage(503));
  EXPECT_EQ(form.lbPers->count(), 1);
  form.sbSupprime->click();
  EXPECT_EQ(b.dialogs.Questions.back().Text, MLMessage(583));
  EXPECT_EQ(b.Cards().Count(), 1);
}

// A chosen picture becomes the card's " photo.bmp" or " logo.bmp", shown in the form, and what the
// merge fields "photo" and "logo" point at; a missing or unreadable picture shows a placeholder.
TEST(FicheWindow, PhotoAndLogoPerCard) {
  Book b;
  ASSERT_TRUE(b.in);
  TfmFiche form(nullptr, b.Cards(), b.UserPath());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_TRUE(form.imgLogo->pixmap().isNull());
  EXPECT_EQ(form.imgLogo->text(), MLText("FicheSansLogo"));
  EXPECT_FALSE(form.sbRetireLogo->isEnabled());

  QImage logo(40, 20, QImage::Format_RGB888);
  logo.fill(QColor(200, 30, 30));
  const QString png = b.dir.filePath("mon logo.png");
  ASSERT_TRUE(logo.save(png));
  form.ChoisitImage(true, png);
  const QString stored = b.in->Soft().FieldValue("logo");
  EXPECT_EQ(stored, b.UserPath() + "Martin Claire logo.bmp");
  const QImage back = LoadPicture(stored);
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.size(), QSize(40, 20));
  EXPECT_EQ(back.pixelColor(5, 5), QColor(200, 30, 30));
  EXPECT_FALSE(form.imgLogo->pixmap().isNull());
  EXPECT_TRUE(form.sbRetireLogo->isEnabled());

  WriteAll(b.dir.filePath("broken.png"), "not a picture");
  form.ChoisitImage(false, b.dir.filePath("broken.png"));
  ASSERT_EQ(b.dialogs.Questions.size(), 1);
  EXPECT_FALSE(QFile::exists(b.UserPath() + "Martin Claire photo.bmp"));

  form.RetireImage(true);
  EXPECT_FALSE(QFile::exists(stored));
  EXPECT_TRUE(form.imgLogo->pixmap().isNull());
}
