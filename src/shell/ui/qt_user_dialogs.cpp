#include "shell/ui/qt_user_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <algorithm>

#include "shell/ui/input_name.h"

namespace {

QMessageBox::StandardButton StandardFor(TAskResult b) {
  switch (b) {
    case arOK:
      return QMessageBox::Ok;
    case arCancel:
      return QMessageBox::Cancel;
    case arAbort:
      return QMessageBox::Abort;
    case arRetry:
      return QMessageBox::Retry;
    case arIgnore:
      return QMessageBox::Ignore;
    case arYes:
      return QMessageBox::Yes;
    case arNo:
      return QMessageBox::No;
    default:
      return QMessageBox::NoButton;
  }
}

QMessageBox::Icon IconFor(int kind) {
  switch (kind) {
    case akWarning:
      return QMessageBox::Warning;
    case akError:
      return QMessageBox::Critical;
    case akInformation:
      return QMessageBox::Information;
    case akQuestion:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int TQtUserDialogs::AskUser(const QString& text, int kind, int buttons) {
  QMessageBox box(IconFor(kind), QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  const QList<TAskResult> shown = AskBoxButtons(buttons);
  for (TAskResult b : shown) box.addButton(StandardFor(b));
  box.setDefaultButton(StandardFor(shown.first()));
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (TAskResult b : shown)
    if (StandardFor(b) == pressed) return b;
  return arNone;
}

bool TQtUserDialogs::BrowseFolder(const QString& title, QString& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title,
                                                           BrowseStart(folder), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return false;
  folder = QDir::fromNativeSeparators(chosen);
  return true;
}

bool TQtUserDialogs::InputName(const QString& caption, const QString& prompt, QString& value) {
  return ::InputName(caption, prompt, value, QApplication::activeWindow());
}

namespace {

// "description|patterns|description|patterns" as the chooser's "description (patterns)" entries.
QStringList FilterEntries(const QString& filters) {
  const QStringList parts = filters.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return entries;
}

}  // namespace

bool TQtUserDialogs::SaveFileName(const QString& filters, QString& file, int* filter) {
  const QStringList entries = FilterEntries(filters);
  QString selected = entries.value(0);
  const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), file,
                                                      entries.join(QStringLiteral(";;")), &selected,
                                                      // The caller asks its own question.
                                                      QFileDialog::DontConfirmOverwrite);
  if (chosen.isEmpty()) return false;
  file = QDir::fromNativeSeparators(chosen);
  if (filter) *filter = int(entries.indexOf(selected)) + 1;
  return true;
}

bool TQtUserDialogs::OpenFileName(const QString& filters, QString& file) {
  const QStringList entries = FilterEntries(filters);
  const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), file,
                                                      entries.join(QStringLiteral(";;")));
  if (chosen.isEmpty()) return false;
  file = QDir::fromNativeSeparators(chosen);
  return true;
}

bool TQtUserDialogs::ChooseColor(QColor& color, QStringList* custom) {
  // Custom colours are "ColorA=BBGGRR" … "ColorP=BBGGRR".
  auto bgr = [](const QString& hex) {
    const uint v = hex.toUInt(nullptr, 16);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
  };
  if (custom) {
    for (const QString& line : *custom) {
      const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
      if (key.size() != 6 || !key.startsWith(QLatin1String("Color"))) continue;
      const int i = key.at(5).unicode() - 'A';
      if (i >= 0 && i < QColorDialog::customCount())
        QColorDialog::setCustomColor(i, bgr(line.section(QLatin1Char('='), 1)));
    }
  }
  const QColor chosen = QColorDialog::getColor(color, QApplication::activeWindow());
  if (!chosen.isValid()) return false;
  color = chosen;
  if (custom) {
    custom->clear();
    for (int i = 0; i < std::min(16, QColorDialog::customCount()); ++i) {
      const QColor c = QColorDialog::customColor(i);
      *custom << QStringLiteral("Color%1=").arg(QChar(char16_t('A' + i))) +
                     QString::asprintf("%02X%02X%02X", c.blue(), c.green(), c.red());
    }
  }
  return true;
}

bool TQtUserDialogs::ChooseFont(QFont& font, QColor&) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
  if (!ok) return false;
  font = chosen;
  return true;
}
