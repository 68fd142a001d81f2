// The about box (window fmZunoAbout): the program's icon and title, the web site as a link, and the
// program file's date with the version.
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QAbstractButton;
class QLabel;

class TzunoAboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TzunoAboutDialog(QWidget* owner = nullptr);

  // Opens the full "web" value; the desktop's handler unless a test replaces it.
  std::function<bool(const QUrl&)> OpenUrl;
  QLabel* TitleLabel() const { return title_; }
  QAbstractButton* WebLink() const { return web_; }
  QLabel* VersionLabel() const { return version_; }
  // "date - version" of the running program.
  static QString VersionText();

 private:
  QLabel *icon_, *title_, *version_;
  QAbstractButton* web_;
};

void ShowAbout(QWidget* owner);
