// The catalogue's print entry opens the print dialog on the template shown.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "catalogue/ui/main_window.h"
#include "common/shipped_installation.h"
#include "model/document.h"
#include "print/ui/print_dialog.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/zuno_menu_label.h"
#include "shell/user_dialogs.h"

namespace {

TEST(CataloguePrint, TheEntryPrintsTheTemplateShown) {
  QTemporaryDir dir;
  qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
  TScriptedDialogs dialogs;
  QString error;
  auto installation = OpenShippedCopy(dir.filePath("inst"), dir.filePath("user"), {}, &dialogs, &error, {});
  ASSERT_TRUE(installation) << error.toStdString();
  const QString modeles = dir.filePath("Modeles/");
  QDir().mkpath(modeles + "Cartes");
  Soft()->ModelesPath = modeles;
  const QString card = modeles + "Cartes/carte.mdl";
  ASSERT_TRUE(QFile::copy(QStringLiteral(LORVANE_TEST_DATA "/print/carte_85x54.mdl"), card));
  {
    TfmMain window;
    window.resize(1200, 900);
    window.show();
    window.AfficheModele(card);
    auto* entry = window.findChild<TzunoMenuLabel*>(QStringLiteral("LabelImprimer"));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->text(), QString::fromUtf8("Imprimer ce modèle"));
    double large = 0, haut = 0;
    QTimer::singleShot(0, [&] {
      auto* print = window.findChild<TfmPrint*>();
      if (!print) return;
      large = print->Model().Large;
      haut = print->Model().Haut;
      print->reject();
    });
    entry->click();
    EXPECT_DOUBLE_EQ(large, 85);
    EXPECT_DOUBLE_EQ(haut, 54);
    EXPECT_FALSE(window.findChild<TfmPrint*>());  // released when closed
  }
  installation.reset();
  qunsetenv("XDG_CACHE_HOME");
}

}  // namespace
