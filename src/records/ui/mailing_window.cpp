#include "records/ui/mailing_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "model/document.h"
#include "records/fiches.h"
#include "records/mail_sender.h"
#include "records/smtp_settings.h"
#include "records/ui/check_list.h"
#include "records/ui/smtp_dialog.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/textfile.h"
#include "shell/ui/layout_ops.h"
#include "shell/ui/window_translation.h"

namespace {

constexpr int kPreviewW = 240, kPreviewH = 180;
constexpr TColor kGrey = RGBColor(128, 128, 128);

// The address book as this window sees it.
TzunoFiches* Cards() {
  return Fiches();
}
int CardCount() {
  return Cards() ? Cards()->Count() : 0;
}
int CurrentCard() {
  return Cards() ? Cards()->Current() : -1;
}
void SetCurrentCard(int index) {
  if (Cards() && index >= 0 && index < CardCount()) Cards()->SetCurrent(index);
}
QString CardValue(int index, const QString& key) {
  return Cards() ? Cards()->GetChamp(Cards()->Item(index), key) : QString();
}

QString Text(const QString& key, const char* fallback) {
  const QString t = MLText(key);
  return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}

QString NameOfCaption(const QString& caption) {
  QString s = caption;
  s.remove(QLatin1Char('&'));
  while (s.endsWith(QLatin1Char(':')) || s.endsWith(QLatin1Char(' '))) s.chop(1);
  return s;
}

TColor FromQColor(const QColor& c) {
  return RGBColor(c.red(), c.green(), c.blue());
}

}  // namespace

TfmMailingModele::TfmMailingModele(QWidget* owner, TzunoCADMdl& document)
    : QDialog(owner), document_(document) {
  setObjectName(QStringLiteral("fmMailingModele"));
  setWindowTitle(QStringLiteral("Mailing"));
  auto* column = new QVBoxLayout(this);

  // FormCreate: the skinned header.
  Panel2 = new QWidget(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  auto* headerColumn = new QVBoxLayout(Panel2);
  headerColumn->setContentsMargins(8, 6, 72, 6);
  lbTitre = new QLabel(QStringLiteral("Envoyer cette carte par mail"), Panel2);
  lbTitre->setObjectName(QStringLiteral("lbTitre"));
  QFont big = lbTitre->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  lbTitre->setFont(big);
  lbSousTitre = new QLabel(QStringLiteral("A qui souaitez vous envoyer cette carte ?"), Panel2);
  lbSousTitre->setObjectName(QStringLiteral("lbSousTitre"));
  lbSousTitre->setWordWrap(true);
  headerColumn->addWidget(lbTitre);
  headerColumn->addWidget(lbSousTitre);
  column->addWidget(Panel2);

  auto* grid = new QGridLayout;
  lbListe = new QLabel(
      QString::fromUtf8("Voici la liste des personnes, cochez les destinataires de cette carte :"), this);
  lbListe->setObjectName(QStringLiteral("lbListe"));
  lbListe->setWordWrap(true);
  lbFiches = new TCheckList(this);
  lbFiches->setObjectName(QStringLiteral("lbFiches"));
  lbFiches->setMinimumWidth(340);
  lbListe->setBuddy(lbFiches);
  grid->addWidget(lbListe, 0, 0);
  grid->addWidget(lbFiches, 1, 0, 5, 1);

  auto* pictures = new QHBoxLayout;
  for (QLabel** image : {&Image1, &Image2}) {
    *image = new QLabel(this);
    (*image)->setFixedSize(kPreviewW, kPreviewH);
    (*image)->setAlignment(Qt::AlignCenter);
    pictures->addWidget(*image);
  }
  Image1->setObjectName(QStringLiteral("Image1"));
  Image2->setObjectName(QStringLiteral("Image2"));
  pictures->addStretch(1);
  grid->addLayout(pictures, 0, 1, 2, 1);

  lbObjet = new QLabel(QString::fromUtf8("Indiquez l'objet du mail :"), this);
  lbObjet->setObjectName(QStringLiteral("lbObjet"));
  Edit1 = new QLineEdit(Text(QStringLiteral("MailingObjet"), "Voici ma carte"), this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  lbObjet->setBuddy(Edit1);
  lbMessage = new QLabel(QString::fromUtf8("Contenu du message :"), this);
  lbMessage->setObjectName(QStringLiteral("lbMessage"));
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setPlainText(
      Text(QStringLiteral("MailingMessage"), "Bonjour <Prénom>\n\nVoici ci-joint ma nouvelle carte")
          .replace(QLatin1String("\r\n"), QLatin1String("\n")));
  Memo1->setMinimumHeight(110);
  lbMessage->setBuddy(Memo1);
  grid->addWidget(lbObjet, 2, 1);
  grid->addWidget(Edit1, 3, 1);
  grid->addWidget(lbMessage, 4, 1);
  grid->addWidget(Memo1, 5, 1);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(0, 1);
  column->addLayout(grid, 1);

  CheckBox1 =
      new QCheckBox(QString::fromUtf8("Afficher la fenêtre du logiciel de Mail pour chaque envoi"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  column->addWidget(CheckBox1);
  auto* route = new QHBoxLayout;
  lbEnvoi = new QLabel(this);
  lbEnvoi->setObjectName(QStringLiteral("lbEnvoi"));
  lbEnvoi->setWordWrap(true);
  bServeur = new QPushButton(QString::fromUtf8("Serveur d'envoi..."), this);
  bServeur->setObjectName(QStringLiteral("bServeur"));
  route->addWidget(lbEnvoi, 1);
  route->addWidget(bServeur);
  column->addLayout(route);

  auto* buttons = new QHBoxLayout;
  Progression = new QProgressBar(this);
  Progression->setObjectName(QStringLiteral("Progression"));
  Progression->setVisible(false);
  bOK = new QPushButton(QStringLiteral("Envoyer"), this);
  bOK->setObjectName(QStringLiteral("bOK"));
  bOK->setDefault(true);
  bOK->setEnabled(false);
  bCancel = new QPushButton(QStringLiteral("Annuler"), this);
  bCancel->setObjectName(QStringLiteral("bCancel"));
  buttons->addWidget(Progression, 1);
  buttons->addStretch(0);
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  column->addLayout(buttons);

  TranslateWidget(this);
  SkinPanel(Panel2);
  for (QLabel* l : findChildren<QLabel*>())
    if (l->buddy()) l->buddy()->setAccessibleName(NameOfCaption(l->text()));
  lbFiches->setFocusPolicy(Qt::NoFocus);
  for (QPushButton* b : {bServeur, bOK, bCancel}) b->setAccessibleName(NameOfCaption(b->text()));
  CheckBox1->setAccessibleName(CheckBox1->text());
  Image1->setAccessibleName(Text(QStringLiteral("MailingFace1"), "Face 1"));
  Image2->setAccessibleName(Text(QStringLiteral("MailingFace2"), "Face 2"));
  Progression->setAccessibleName(Text(QStringLiteral("MailingProgression"), "Envoi"));

  connect(lbFiches, &TCheckList::currentRowChanged, this, [this](int) {
    if (!sending_) ImageAffiche();
  });
  connect(lbFiches, &TCheckList::checkChanged, this, [this](int) { lbFichesClickCheck(); });
  connect(bOK, &QPushButton::clicked, this, &TfmMailingModele::bOKClick);
  connect(bCancel, &QPushButton::clicked, this, &TfmMailingModele::reject);
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { ShowRoute(); });
  connect(bServeur, &QPushButton::clicked, this, [this] {
    TfmServeurMail::ShowServeurMail(this);
    ShowRoute();
  });
}

TfmMailingModele::~TfmMailingModele() = default;

int TfmMailingModele::ShowMailing(QWidget* owner, TzunoCADMdl& document) {
  Count(QStringLiteral("Show_MailingModele"));
  const int current = CurrentCard();
  int result = 0;
  {
    TfmMailingModele window(owner, document);
    result = window.exec();
  }
  SetCurrentCard(current);
  // The caller's document shows its own card's values again.
  document.RelayoutTextes();
  return result;
}

void TfmMailingModele::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

QString TfmMailingModele::EntryText(int card) const {
  QString mail = CardValue(card, QStringLiteral("EMail"));
  if (mail.isEmpty()) mail = MLMessage(901);
  QString text = CardValue(card, QStringLiteral("NomPre")) + QStringLiteral(" (") + mail + QLatin1Char(')');
  const QString outcome = outcomes_.value(card);
  if (!outcome.isEmpty()) text += QString::fromUtf8(" — ") + outcome;
  return text;
}

void TfmMailingModele::FormShow() {
  const int n = CardCount();
  outcomes_ = QStringList(n, QString());
  QStringList entries;
  for (int i = 0; i < n; ++i) entries << EntryText(i);
  lbFiches->blockSignals(true);
  lbFiches->SetItems(entries);
  const int current = CurrentCard();
  if (current >= 0 && current < n) lbFiches->setCurrentRow(current);
  lbFiches->blockSignals(false);
  ImageAffiche();

  QStringList lines;
  if (Soft() && QFileInfo::exists(Soft()->MailingFile) && ReadTextFile(Soft()->MailingFile, lines)) {
    if (!lines.isEmpty()) Edit1->setText(lines.takeFirst());
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  }
  ShowRoute();
  lbFichesClickCheck();
}

void TfmMailingModele::ImageAffiche() {
  const int row = lbFiches->currentRow();
  if (row >= 0) SetCurrentCard(row);
  document_.RelayoutTextes();
  const int face = document_.CurrentFace;
  const TColor back = document_.PreviewBackColor, frame = document_.ThumbFrameColor;
  document_.PreviewBackColor = FromQColor(palette().color(QPalette::Window));
  document_.ThumbFrameColor = kGrey;
  auto draw = [this](int n, QLabel* target) {
    document_.SetFace(n);
    QImage image(kPreviewW, kPreviewH, QImage::Format_RGB888);
    image.fill(palette().color(QPalette::Window));
    document_.DrawApercu(image, 0);
    target->setPixmap(QPixmap::fromImage(image));
  };
  draw(1, Image1);
  if (document_.MaxFace() > 1) {
    draw(2, Image2);
    Image2->setVisible(true);
  } else {
    Image2->clear();
    Image2->setVisible(false);
  }
  // The caller's colours come back (the catalogue's preview keeps its own).
  document_.PreviewBackColor = back;
  document_.ThumbFrameColor = frame;
  document_.SetFace(face);
}

void TfmMailingModele::lbFichesClickCheck() {
  bool any = false;
  for (int i = 0; i < lbFiches->count() && !any; ++i) any = lbFiches->isChecked(i);
  bOK->setEnabled(any && !sending_);
}

QString TfmMailingModele::Outcome(int entry) const {
  return outcomes_.value(entry);
}

void TfmMailingModele::SetOutcome(int entry, const QString& text) {
  if (entry < 0 || entry >= outcomes_.size()) return;
  outcomes_[entry] = text;
  lbFiches->setText(entry, EntryText(entry));
  if (QWidget* box = lbFiches->Box(entry)) box->setToolTip(text);
}

void TfmMailingModele::ShowRoute() {
  const TSmtpSettings smtp = TSmtpSettings::Load(SmtpSettingsFile());
  if (smtp.Configured() && !CheckBox1->isChecked())
    lbEnvoi->setText(Text(QStringLiteral("MailingDirect"), "Envoi direct par le serveur %s")
                         .replace(QStringLiteral("%s"), smtp.Host));
  else
    lbEnvoi->setText(
        Text(QStringLiteral("MailingBureau"), "Chaque mail s'ouvre dans le logiciel de mail du bureau."));
}

void TfmMailingModele::bOKClick() {
  if (sending_) return;
  queue_.clear();
  for (int i = 0; i < lbFiches->count(); ++i)
    if (lbFiches->isChecked(i)) queue_.append(i);
  if (queue_.isEmpty()) return;
  sender_ = std::make_unique<TMailSender>();
  sender_->ShowDialog = CheckBox1->isChecked();
  sender_->Smtp = TSmtpSettings::Load(SmtpSettingsFile());
  sending_ = true;
  stop_ = false;
  position_ = 0;
  failures_ = 0;
  for (int i : queue_) SetOutcome(i, QString());
  ShowRoute();
  setCursor(Qt::BusyCursor);
  for (QWidget* w : std::initializer_list<QWidget*>{lbFiches, Edit1, Memo1, CheckBox1, bServeur, bOK})
    w->setEnabled(false);
  Progression->setRange(0, int(queue_.size()));
  Progression->setValue(0);
  Progression->setFormat(Text(QStringLiteral("MailingProgres"), "%v / %m"));
  Progression->setVisible(queue_.size() > 1);
  bCancel->setText(Text(QStringLiteral("MailingArreter"), "Arrêter"));
  bCancel->setAccessibleName(NameOfCaption(bCancel->text()));
  QTimer::singleShot(0, this, &TfmMailingModele::SendNext);
}

void TfmMailingModele::SendNext() {
  if (stop_ || position_ >= queue_.size()) {
    SendDone();
    return;
  }
  const int card = queue_[position_];
  // The recipient's card is current while its mail and pictures are made.
  SetCurrentCard(card);
  sender_->Subject = Edit1->text();
  sender_->Recipients = {CardValue(card, QStringLiteral("Email"))};
  QString body;
  for (const QString& line : Memo1->toPlainText().split(QLatin1Char('\n')))
    body += document_.SubstituteFields(nullptr, line) + QStringLiteral("\r\n");
  sender_->Body = body;
  // Each recipient's pictures go to a folder of their own: a mail program that reads them later
  // must not find the next recipient's card in their place.
  const QString folder = (Soft() ? Soft()->UserPath : QDir::tempPath() + QLatin1Char('/')) +
                         QStringLiteral("mailing/") + QString::number(position_ + 1) + QLatin1Char('/');
  QDir().mkpath(folder);
  sender_->AttachedFiles.clear();
  const int face = document_.CurrentFace;
  bool ok = true;
  for (int n = 1; n <= document_.MaxFace() && ok; ++n) {
    document_.RelayoutTextes();
    document_.SetFace(n);
    const QString file = folder + MLMessage(902).replace(QStringLiteral("%s"), QString::number(n));
    ok = document_.ExportJpeg(file, 320, 240, kGrey);
    if (ok) sender_->AttachedFiles << file;
  }
  document_.SetFace(face);
  if (!ok) {
    // A mail that cannot be made ends the sending; the ones handed over stay sent.
    SetOutcome(card,
               Text(QStringLiteral("MailingEchec"), "échec : %s")
                   .replace(QStringLiteral("%s"), Text(QStringLiteral("MailingImage"), "image non créée")));
    ++failures_;
    stop_ = true;
    SendDone();
    return;
  }
  SetOutcome(card, Text(QStringLiteral("MailingEnCours"), "envoi..."));
  sender_->OnFinished = [this, card](int result, const QString& text) {
    if (result == TMailSender::mrSuccess) {
      SetOutcome(card, sender_->UsesSmtp()
                           ? Text(QStringLiteral("MailingEnvoye"), "envoyé")
                           : Text(QStringLiteral("MailingRemis"), "remis au logiciel de mail"));
      lbFiches->setCheckedQuietly(card, false);
    } else if (result == TMailSender::mrUserAbort) {
      SetOutcome(card, Text(QStringLiteral("MailingAnnule"), "annulé"));
      ++failures_;
    } else {
      SetOutcome(card,
                 Text(QStringLiteral("MailingEchec"), "échec : %s").replace(QStringLiteral("%s"), text));
      ++failures_;
    }
    ++position_;
    Progression->setValue(position_);
    QTimer::singleShot(0, this, &TfmMailingModele::SendNext);
  };
  if (!sender_->Send()) {
    ++failures_;
    stop_ = true;
    SendDone();
  }
}

void TfmMailingModele::SendDone() {
  sending_ = false;
  // The previews and the address book show the selected person again.
  SetCurrentCard(lbFiches->currentRow());
  document_.RelayoutTextes();
  // Recipients not reached are told so.
  for (int card : queue_)
    if (outcomes_.value(card).isEmpty()) SetOutcome(card, Text(QStringLiteral("MailingAnnule"), "annulé"));
  unsetCursor();
  QStringList lines = Memo1->toPlainText().split(QLatin1Char('\n'));
  lines.insert(0, Edit1->text());
  if (Soft()) WriteTextFile(Soft()->MailingFile, lines);
  for (QWidget* w : std::initializer_list<QWidget*>{lbFiches, Edit1, Memo1, CheckBox1, bServeur})
    w->setEnabled(true);
  Progression->setVisible(false);
  lbFichesClickCheck();
  if (failures_ == 0 && !stop_) {
    accept();
    return;
  }
  // Something did not leave: the window stays with each recipient's outcome, the failed ones still
  // ticked for another try, and the reasons spelled out below the list.
  QStringList failed;
  for (int card : queue_)
    if (lbFiches->isChecked(card))
      failed << CardValue(card, QStringLiteral("NomPre")) + QStringLiteral(" : ") + outcomes_.value(card);
  lbEnvoi->setText(failed.join(QLatin1Char('\n')));
  bCancel->setText(Text(QStringLiteral("MailingFermer"), "Fermer"));
  bCancel->setAccessibleName(NameOfCaption(bCancel->text()));
}

void TfmMailingModele::reject() {
  if (sending_) {
    stop_ = true;
    if (sender_) sender_->Cancel();
    return;
  }
  QDialog::reject();
}
