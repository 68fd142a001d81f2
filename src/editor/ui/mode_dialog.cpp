#include "editor/ui/mode_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/counters.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

TfmModeEdition::TfmModeEdition(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("fmModeEdition"));
  setWindowTitle(QStringLiteral("Editeur"));
  auto* column = new QVBoxLayout(this);
  auto* heading = new QLabel(QString::fromUtf8("Choix de l'éditeur"), this);
  heading->setObjectName(QStringLiteral("lbTitre"));
  QFont big = heading->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  heading->setFont(big);
  auto* question =
      new QLabel(QString::fromUtf8("Quelle interface d'édition souhaitez-vous utiliser ?"), this);
  question->setObjectName(QStringLiteral("lbQuestion"));
  rbSimple = new QRadioButton(QStringLiteral("Mode Simple"), this);
  rbSimple->setObjectName(QStringLiteral("rbSimple"));
  rbAvance = new QRadioButton(QString::fromUtf8("Mode avancé"), this);
  rbAvance->setObjectName(QStringLiteral("rbAvance"));
  cbMasque = new QCheckBox(QStringLiteral("Ne plus afficher cet écran"), this);
  cbMasque->setObjectName(QStringLiteral("cbMasque"));
  bOK = new QPushButton(QStringLiteral("OK"), this);
  bOK->setObjectName(QStringLiteral("bOK"));
  bOK->setEnabled(false);
  bOK->setDefault(true);
  for (QWidget* w : std::initializer_list<QWidget*>{heading, question, rbSimple, rbAvance, cbMasque})
    column->addWidget(w);
  column->addSpacing(8);
  column->addWidget(bOK, 0, Qt::AlignRight);
  connect(rbSimple, &QRadioButton::toggled, this, [this] { bOK->setEnabled(true); });
  connect(rbAvance, &QRadioButton::toggled, this, [this] { bOK->setEnabled(true); });
  // Stored at once: the box means "from now on".
  connect(cbMasque, &QCheckBox::toggled, this, [](bool on) {
    if (Soft()) Soft()->SetUserFlag(QStringLiteral("ModeEditionMasque"), on);
  });
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  TranslateWidget(this);
}

int TfmModeEdition::Choice() const {
  return rbAvance->isChecked() ? 2 : 1;
}

int TfmModeEdition::Ask(QWidget* owner) {
  Count(QStringLiteral("Show_ModeEdition"));
  // Unattended runs answer from the script: "2" or "Avance" for the advanced editor.
  if (auto* script = dynamic_cast<TFileScriptedDialogs*>(UserDialogs())) {
    const QString answer = script->NextAnswer().trimmed();
    const int choice =
        (answer == QLatin1String("2") || answer.compare(QLatin1String("Avance"), Qt::CaseInsensitive) == 0)
            ? 2
            : 1;
    script->Record({QStringLiteral("fmModeEdition"), QString::number(choice)});
    return choice;
  }
  TfmModeEdition dialog(owner);
  dialog.exec();
  return dialog.Choice();
}
