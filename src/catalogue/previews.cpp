#include "catalogue/previews.h"

#include <QFileInfo>
#include <QImageReader>
#include <QThread>

#include "catalogue/cache_files.h"
#include "model/document.h"
#include "model/host.h"
#include "model/soft_host.h"
#include "shell/inifile.h"

QString PreviewPath(const QString& modele) {
  const qsizetype slash =
      std::max(modele.lastIndexOf(QLatin1Char('/')), modele.lastIndexOf(QLatin1Char('\\')));
  const qsizetype dot = modele.lastIndexOf(QLatin1Char('.'));
  return (dot > slash ? modele.left(dot) : modele) + QStringLiteral(".jpg");
}

namespace {

// Shipped previews may be a few milliseconds older than their templates (files unpacked or checked
// out one after the other); a preview left by an earlier save is older by far more.
constexpr qint64 kStaleAfterMs = 2000;

bool Usable(const QString& preview, const QFileInfo& modele) {
  const QFileInfo info(preview);
  if (!info.isFile()) return false;
  if (modele.exists() && info.lastModified().msecsTo(modele.lastModified()) > kStaleAfterMs) return false;
  QImageReader reader(preview);
  return reader.canRead() && reader.size().isValid() && !reader.size().isEmpty();
}

}  // namespace

QString FindPreview(const QString& modele) {
  const QString beside = PreviewPath(modele);
  const QFileInfo info(modele);
  if (Usable(beside, info)) return beside;
  const QString copy = UserCacheFile(beside);
  return Usable(copy, info) ? copy : QString();
}

bool MakePreview(TzunoCADMdl& document, const QString& modele, int W, int H, QString* preview) {
  const QString target = CacheFileForWriting(PreviewPath(modele));
  if (preview) *preview = target;
  try {
    if (!document.LoadFromFile(modele)) return false;
    return document.ExportJpegSupport(target, W, H, RGBColor(128, 128, 128));
  } catch (...) {
    return false;  // out of memory on a huge page: no preview, as for a broken template
  }
}

TPreviewMaker::TPreviewMaker(QObject* parent) : QObject(parent) {
  connect(this, &TPreviewMaker::PreviewMade, this,
          [this](int, const QString& modele, const QString&, bool ok, const QStringList&) {
            if (!ok) errors_ << modele;
          });
}

TPreviewMaker::~TPreviewMaker() {
  Cancel();
  Wait();
}

int TPreviewMaker::Start(const QStringList& modeles, int W, int H, Connector connect, int threads,
                         const QList<int>& remake) {
  Cancel();
  Wait();
  cancel_ = false;
  jobs_.clear();
  errors_.clear();
  for (int i = 0; i < modeles.size(); ++i)
    if (remake.contains(i) || FindPreview(modeles[i]).isEmpty()) jobs_.push_back({i, modeles[i]});
  w_ = W;
  h_ = H;
  connect_ = connect ? std::move(connect) : Connector(ConnectToSoft);
  next_ = 0;
  done_ = 0;
  if (threads <= 0) threads = std::max(1, QThread::idealThreadCount() - 1);
  threads = std::clamp(threads, 1, std::max(1, int(jobs_.size())));
  live_ = threads;
  for (int t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
  return int(jobs_.size());
}

void TPreviewMaker::Cancel() {
  cancel_ = true;
}

void TPreviewMaker::Wait() {
  for (std::thread& t : threads_)
    if (t.joinable()) t.join();
  threads_.clear();
}

void TPreviewMaker::Work() {
  const int total = int(jobs_.size());
  for (;;) {
    if (cancel_) break;
    const int n = next_++;
    if (n >= total) break;
    const Job& job = jobs_[size_t(n)];
    QStringList messages;
    QString preview;
    bool ok = false;
    {
      TMessageCatcher catcher([&messages](const QString& text) { messages << text; });
      TSettingsOperation operation;  // one look at the settings files per template
      TzunoCADMdl document(nullptr, QRect(0, 0, 100, 100), 100, 100);
      connect_(document);
      ok = MakePreview(document, job.modele, w_, h_, &preview);
    }
    // Counted and posted together, so that the owner sees the counts in order.
    std::lock_guard<std::mutex> lock(report_);
    const int done = ++done_;
    emit PreviewMade(job.index, job.modele, preview, ok, messages);
    emit Progress(done, total);
  }
  if (--live_ == 0) emit Finished(cancel_);
}
