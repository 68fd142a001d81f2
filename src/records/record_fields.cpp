#include "records/record_fields.h"

#include "records/fiches.h"

bool TRecordFields::HasCards() {
  return fiches_.Count() > 0;
}

QString TRecordFields::CardField(const QString& name) {
  return fiches_.Champ(name);
}

QString TRecordFields::AlbumField(const QString&) {
  return {};
}
