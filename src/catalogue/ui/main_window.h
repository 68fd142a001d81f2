// The catalogue window: the program's main window, alive from start-up to exit.
#pragma once

#include <QMainWindow>

class TfmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;
};
