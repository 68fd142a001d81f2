// The merge-field answers that come from records: the program-wide address cards (and, through
// AlbumField, the current CD album).
#pragma once

#include "shell/settings.h"

class TzunoAlbumCD;
class TzunoFiches;

class TRecordFields : public TFieldSource {
 public:
  TRecordFields(TzunoFiches& fiches, TzunoAlbumCD& albums) : fiches_(fiches), albums_(albums) {}
  bool HasCards() override;
  // The current card's value ("NomPre" gives the display name); empty without a card.
  QString CardField(const QString& name) override;
  // The current album's value of a "cd" field.
  QString AlbumField(const QString& name) override;

 private:
  TzunoFiches& fiches_;
  TzunoAlbumCD& albums_;
};
