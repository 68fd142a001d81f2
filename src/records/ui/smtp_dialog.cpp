#include "records/ui/smtp_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shell/language.h"
#include "shell/ui/window_translation.h"
#include "shell/user_dialogs.h"

namespace {

QLabel* Caption(QWidget* parent, const char* name, const char* text, QWidget* buddy) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TfmServeurMail::TfmServeurMail(QWidget* owner, const TSmtpSettings& settings)
    : QDialog(owner), base_(settings) {
  setObjectName(QStringLiteral("fmServeurMail"));
  setWindowTitle(QString::fromUtf8("Serveur d'envoi"));
  auto* column = new QVBoxLayout(this);
  auto* intro =
      new QLabel(QString::fromUtf8(
                     "Avec un serveur d'envoi, les mails partent directement, sans passer par le logiciel de "
                     "mail. Laissez le serveur vide pour utiliser le logiciel de mail."),
                 this);
  intro->setObjectName(QStringLiteral("lbExplication"));
  intro->setWordWrap(true);
  column->addWidget(intro);
  auto* form = new QFormLayout;
  edServeur = new QLineEdit(settings.Host, this);
  edServeur->setObjectName(QStringLiteral("edServeur"));
  sePort = new QSpinBox(this);
  sePort->setObjectName(QStringLiteral("sePort"));
  sePort->setRange(1, 65535);
  sePort->setValue(settings.Port);
  cbSecurite = new QComboBox(this);
  cbSecurite->setObjectName(QStringLiteral("cbSecurite"));
  cbSecurite->addItems({QString::fromUtf8("Aucune"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
  cbSecurite->setCurrentIndex(int(settings.Security));
  edUtilisateur = new QLineEdit(settings.User, this);
  edUtilisateur->setObjectName(QStringLiteral("edUtilisateur"));
  edMotDePasse = new QLineEdit(settings.Password, this);
  edMotDePasse->setObjectName(QStringLiteral("edMotDePasse"));
  edMotDePasse->setEchoMode(QLineEdit::Password);
  edAdresse = new QLineEdit(settings.FromAdress, this);
  edAdresse->setObjectName(QStringLiteral("edAdresse"));
  edNom = new QLineEdit(settings.FromName, this);
  edNom->setObjectName(QStringLiteral("edNom"));
  form->addRow(Caption(this, "lbServeur", "Serveur :", edServeur), edServeur);
  form->addRow(Caption(this, "lbPort", "Port :", sePort), sePort);
  form->addRow(Caption(this, "lbSecurite", "Sécurité :", cbSecurite), cbSecurite);
  form->addRow(Caption(this, "lbUtilisateur", "Utilisateur :", edUtilisateur), edUtilisateur);
  form->addRow(Caption(this, "lbMotDePasse", "Mot de passe :", edMotDePasse), edMotDePasse);
  form->addRow(Caption(this, "lbAdresse", "Votre adresse :", edAdresse), edAdresse);
  form->addRow(Caption(this, "lbNom", "Votre nom :", edNom), edNom);
  column->addLayout(form);
  auto* buttons = new QHBoxLayout;
  bOK = new QPushButton(QStringLiteral("OK"), this);
  bOK->setObjectName(QStringLiteral("bOK"));
  bOK->setDefault(true);
  bAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  bAnnuler->setObjectName(QStringLiteral("bAnnuler"));
  buttons->addStretch(1);
  buttons->addWidget(bOK);
  buttons->addWidget(bAnnuler);
  column->addLayout(buttons);
  setMinimumWidth(460);

  TranslateWidget(this);
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) {
      QString name = l->text();
      while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' '))) name.chop(1);
      l->buddy()->setAccessibleName(name);
    }
  bOK->setAccessibleName(bOK->text());
  bAnnuler->setAccessibleName(bAnnuler->text());

  // The usual port follows the security mode unless the user chose another one.
  connect(cbSecurite, &QComboBox::currentIndexChanged, this, [this](int index) {
    static const int usual[] = {25, 587, 465};
    for (int p : usual)
      if (sePort->value() == p) {
        sePort->setValue(TSmtpSettings::DefaultPort(TSmtpSettings::TSecurity(index)));
        break;
      }
  });
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

TSmtpSettings TfmServeurMail::Settings() const {
  TSmtpSettings s = base_;
  s.Host = edServeur->text().trimmed();
  s.Port = sePort->value();
  s.Security = TSmtpSettings::TSecurity(cbSecurite->currentIndex());
  s.User = edUtilisateur->text().trimmed();
  s.Password = edMotDePasse->text();
  s.FromAdress = edAdresse->text().trimmed();
  s.FromName = edNom->text().trimmed();
  return s;
}

bool TfmServeurMail::ShowServeurMail(QWidget* owner) {
  const QString file = SmtpSettingsFile();
  if (file.isEmpty()) return false;
  TfmServeurMail dialog(owner, TSmtpSettings::Load(file));
  if (dialog.exec() != QDialog::Accepted) return false;
  if (dialog.Settings().Save(file)) return true;
  AskUser(MLText(QStringLiteral("MailingServeurErreur")).replace(QStringLiteral("%s"), file), akError, abOK);
  return false;
}
