// The editor window: created at start-up, hidden until a document is opened.
#pragma once

#include <QMainWindow>

class TfmEditeur : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmEditeur(QWidget* parent = nullptr);
  ~TfmEditeur() override;
};
