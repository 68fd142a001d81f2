// The catalogue window: the program's main window, alive from start-up to exit.
#pragma once

#include <QMainWindow>

class TfmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;

  // Whether the window may close now: without Debug the user confirms (message 108).
  bool FormCloseQuery();

 signals:
  // The window closed; the program's loop ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
};
