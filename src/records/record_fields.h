// The merge-field answers that come from records: the program-wide address cards (and, through
// AlbumField, the current CD album).
#pragma once

#include "shell/settings.h"

class TzunoFiches;

class TRecordFields : public TFieldSource {
 public:
  explicit TRecordFields(TzunoFiches& fiches) : fiches_(fiches) {}
  bool HasCards() override;
  // The current card's value ("NomPre" gives the display name); empty without a card.
  QString CardField(const QString& name) override;
  QString AlbumField(const QString& name) override;

 private:
  TzunoFiches& fiches_;
};
