// The template designs, by family.
#pragma once

#include "templates/style.h"

namespace tpl {

// What a disc family prints: merge fields for an audio disc, fixed wording for others, wizard
// placeholders for the wizard and layout templates.
struct DiscContent {
  QString title, subtitle, body, left, right;
  QString bodyTitle;     // heading of the track list or contents
  QString inside;        // text of the inside faces
  QString fond, image1;  // pictures coded "fond" and "image1" (empty: drawn motif instead)
  QString mask;          // mask of image1
  bool tree = false;     // a directory tree in place of the list
  QString barcode;
};

DiscContent AudioContent();
DiscContent DataContent();
DiscContent WizardContent();

// An empty page of a disc item (1 label … 6 sleeve) with its layout and sizes.
Doc DiscPage(Writer& w, int kind);

// Writes folder/base.1.mdl … base.6.mdl: disc label, tray card, booklet, leaflet, DVD cover, sleeve.
void DiscFamily(Writer& w, const QString& folder, const QString& base, const Theme& t, const DiscContent& c,
                Writer::Preview preview, const QString& separator = QStringLiteral("."));

// A mini disc label (80 mm) with the album fields, over a picture when one is given.
void MiniDisc(Writer& w, const QString& path, const Theme& t, const QString& picture);

void BusinessCards(Writer& w);
void Letterheads(Writer& w);
void Envelopes(Writer& w);
void AddressLabels(Writer& w);
void Stickers(Writer& w);
void Calendars(Writer& w);
void GreetingCards(Writer& w);
void Invitations(Writer& w);
void Scrapbook(Writer& w);
void Transfers(Writer& w);
void Sample(Writer& w);
void TshirtWizard(Writer& w);
void WizardFolders(Writer& w);

}  // namespace tpl
