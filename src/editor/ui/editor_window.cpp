#include "editor/ui/editor_window.h"

TfmEditeur::TfmEditeur(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("fmEditeur"));
}

TfmEditeur::~TfmEditeur() = default;
