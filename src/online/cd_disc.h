// Audio disc tables of contents and the lookup's disc arithmetic. Drives and disc images (.cue/.bin,
// .toc, .nrg) are read through libcdio; the arithmetic works on any table of contents.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// A disc address in minutes, seconds and frames (75 frames a second), counted from the start of the
// disc including its two-second lead-in, as drives report them.
struct TMsf {
  int Minutes = 0, Seconds = 0, Frames = 0;
  int WholeSeconds() const { return Minutes * 60 + Seconds; }
  int TotalFrames() const { return Minutes * 4500 + Seconds * 75 + Frames; }
  static TMsf FromFrames(int frames);
};

struct TDiscToc {
  std::vector<TMsf> Tracks;  // start of each track, in track order
  TMsf LeadOut;
  bool Empty() const { return Tracks.empty(); }
};

// The disc identifier: eight lower-case hexadecimal digits.
QString CddbDiscId(const TDiscToc& toc);
// "cddb query" with the identifier, the track count, each start in frames and the length in seconds.
QString CddbQueryCommand(const TDiscToc& toc);

// One drive the user can pick: its description and what libcdio opens for it.
struct TCdDrive {
  QString Description;
  QString Source;  // a device ("/dev/sr0") or a disc image file
  bool Image = false;
};

// The CD drives in the order the system lists them, then the disc images named by the environment
// variable LORVANE_CD_IMAGES (files separated by ":"), which stand in for drives in tests and for
// users who keep images of their discs.
std::vector<TCdDrive> ListCdDrives();

enum class TTocResult { Ok, NoDisc, NoInterface };
// Reads the table of contents of the disc in a drive or of a disc image. NoDisc when there is no
// readable disc (or it has no tracks), NoInterface when the source cannot be opened at all.
TTocResult ReadDiscToc(const TCdDrive& drive, TDiscToc& toc);
