#include "online/cd_disc.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <QFileInfo>
#include <mutex>

TMsf TMsf::FromFrames(int frames) {
  TMsf m;
  m.Minutes = frames / 4500;
  m.Seconds = frames / 75 % 60;
  m.Frames = frames % 75;
  return m;
}

static int DigitSum(int n) {
  int sum = 0;
  for (; n > 0; n /= 10) sum += n % 10;
  return sum;
}

QString CddbDiscId(const TDiscToc& toc) {
  int n = 0;
  for (const TMsf& t : toc.Tracks) n += DigitSum(t.WholeSeconds());
  const int first = toc.Tracks.empty() ? 0 : toc.Tracks.front().WholeSeconds();
  const quint32 length = quint32(toc.LeadOut.WholeSeconds() - first);
  const quint32 id = (quint32(n % 255) << 24) | (length << 8) | quint32(toc.Tracks.size());
  return QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0'));
}

QString CddbQueryCommand(const TDiscToc& toc) {
  QString command =
      QStringLiteral("cddb query ") + CddbDiscId(toc) + ' ' + QString::number(toc.Tracks.size());
  for (const TMsf& t : toc.Tracks) command += ' ' + QString::number(t.TotalFrames());
  return command + ' ' + QString::number(toc.LeadOut.WholeSeconds());
}

// libcdio reports every probe it makes on standard error; the program reports failures itself.
static void QuietLog(cdio_log_level_t, const char*) {}
static void QuietCdio() {
  static std::once_flag once;
  std::call_once(once, [] { cdio_log_set_handler(QuietLog); });
}

std::vector<TCdDrive> ListCdDrives() {
  QuietCdio();
  std::vector<TCdDrive> drives;
  if (char** devices = cdio_get_devices(DRIVER_DEVICE)) {
    for (char** d = devices; *d; ++d) {
      TCdDrive drive;
      drive.Source = QString::fromLocal8Bit(*d);
      drive.Description = drive.Source;
      if (CdIo_t* cdio = cdio_open(*d, DRIVER_DEVICE)) {
        cdio_hwinfo_t hw{};
        if (cdio_get_hwinfo(cdio, &hw)) {
          const QString name = (QString::fromLatin1(hw.psz_vendor).trimmed() + ' ' +
                                QString::fromLatin1(hw.psz_model).trimmed())
                                   .trimmed();
          if (!name.isEmpty()) drive.Description = name + QStringLiteral(" (") + drive.Source + ')';
        }
        cdio_destroy(cdio);
      }
      drives.push_back(drive);
    }
    cdio_free_device_list(devices);
  }
  const QStringList images = qEnvironmentVariable("LORVANE_CD_IMAGES").split(':', Qt::SkipEmptyParts);
  for (const QString& image : images) {
    TCdDrive drive;
    drive.Source = image;
    drive.Image = true;
    drive.Description = QFileInfo(image).fileName();
    drives.push_back(drive);
  }
  return drives;
}

TTocResult ReadDiscToc(const TCdDrive& drive, TDiscToc& toc) {
  QuietCdio();
  toc = TDiscToc();
  const QByteArray source = QFile::encodeName(drive.Source);
  if (drive.Image && !QFileInfo::exists(drive.Source)) return TTocResult::NoDisc;
  CdIo_t* cdio = cdio_open(source.constData(), drive.Image ? DRIVER_UNKNOWN : DRIVER_DEVICE);
  if (!cdio) return drive.Image ? TTocResult::NoDisc : TTocResult::NoInterface;
  TTocResult result = TTocResult::NoDisc;
  const track_t first = cdio_get_first_track_num(cdio);
  const track_t count = cdio_get_num_tracks(cdio);
  if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0) {
    bool ok = true;
    for (track_t i = 0; i < count && ok; ++i) {
      const lba_t lba = cdio_get_track_lba(cdio, track_t(first + i));
      ok = lba != CDIO_INVALID_LBA;
      if (ok) toc.Tracks.push_back(TMsf::FromFrames(int(lba)));
    }
    const lba_t lead = ok ? cdio_get_track_lba(cdio, CDIO_CDROM_LEADOUT_TRACK) : CDIO_INVALID_LBA;
    if (lead != CDIO_INVALID_LBA) {
      // Addresses count the lead-in, as the lookup's arithmetic expects.
      toc.LeadOut = TMsf::FromFrames(int(lead));
      result = TTocResult::Ok;
    } else {
      toc = TDiscToc();
    }
  }
  cdio_destroy(cdio);
  return result;
}
