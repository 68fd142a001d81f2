// Contacts read from vCard files (2.1, 3.0 and 4.0, as address books export them) and turned into
// address-card lines: names, organisation, addresses, phones, e-mails, web sites and the photo.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class TzunoFiches;

// What one file may hold at most; beyond, the rest is left out and said so.
struct TVCardLimits {
  static constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
  static constexpr int kMaxContacts = 100000;
  // A photo's picture bytes (address books store a few hundred kB); a larger one is dropped before
  // it is decoded, its contact kept.
  static constexpr qsizetype kMaxPhotoBytes = 8 * 1024 * 1024;
  // A card value's length, as the card file keeps it.
  static constexpr int kMaxValueChars = 2047;
  // The side a stored photo is reduced to.
  static constexpr int kMaxPhotoSide = 1200;
};

struct TVCardContact {
  // "key=value" card lines in the order of the address-book form; multi-line values joined by "|".
  QStringList Lines;
  // The photo's encoded picture (JPEG, PNG …) when the card carries one inline.
  QByteArray Photo;
  QString Value(const QString& key) const;
};

struct TVCardImport {
  std::vector<TVCardContact> Contacts;
  // Contacts left out: no name at all, or past the contact limit.
  int Skipped = 0;
  // Photos dropped: too large, remote, or not decodable base64.
  int PhotosDropped = 0;
  // Whether the reading stopped at a limit (file size or contact count).
  bool Truncated = false;
};

// Reads every contact of a vCard text, at most maxContacts of them.
TVCardImport ReadVCards(const QByteArray& bytes, int maxContacts = TVCardLimits::kMaxContacts);
// The same from a file; false with a message when it cannot be read or is larger than the limit.
bool ReadVCardFile(const QString& fileName, TVCardImport& out, QString* error,
                   int maxContacts = TVCardLimits::kMaxContacts);
// Decodes a contact's photo and writes it as a bitmap (reduced to kMaxPhotoSide), replacing the file
// atomically; false when the picture cannot be decoded or written.
bool SaveVCardPhoto(const QByteArray& photo, const QString& bmpFile);

// Adds every contact as a card of the address book, sorted in as Ajoute sorts, with its other lines;
// a photo becomes the card's photo unless a card of that name already has one. Answers the number of cards
// added; *photos, when given, receives the number of photos that could not be stored.
int AjouteContacts(TzunoFiches& fiches, const TVCardImport& import, const QString& userPath,
                   int* photos = nullptr);
