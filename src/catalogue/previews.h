// Template previews: the ".jpg" beside each ".mdl", made when missing and never refreshed otherwise,
// so that a folder of templates opens by loading small pictures instead of drawing documents.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TzunoCADMdl;

// The template's path with ".jpg" for its extension (a.2.mdl gives a.2.jpg).
QString PreviewPath(const QString& modele);
// The preview that stands for a template: beside it, else in the per-user cache (cache_files.h); ""
// when it has none, or only one older than the template (a save stopped between the document and its
// preview) or one whose picture cannot be read. Such a preview is made again.
QString FindPreview(const QString& modele);

// Loads `modele` into `document` and writes its preview with ExportJpegSupport, fitted into W x H and
// framed in grey (128, 128, 128), beside the template or in the per-user cache when its folder is
// read-only. True when the template loaded and the preview was written; `preview` gets its path.
bool MakePreview(TzunoCADMdl& document, const QString& modele, int W, int H, QString* preview = nullptr);

// Makes the missing (or stale, or unreadable) previews of a list of templates on worker threads, each
// template in a document of its own. Progress and results arrive as signals on the thread that owns the
// maker; Cancel stops after the templates being drawn. Messages objects give while loading are caught and
// reported with their template instead of opening message boxes on a worker.
class TPreviewMaker : public QObject {
  Q_OBJECT
 public:
  // Gives a worker's document its file resolver and merge fields (default: the settings object's).
  using Connector = std::function<void(TzunoCADMdl&)>;

  explicit TPreviewMaker(QObject* parent = nullptr);
  // Cancels and waits for the workers.
  ~TPreviewMaker() override;

  // Starts on the templates of `modeles` that have no preview; returns how many will be made (0: none
  // missing, Finished follows all the same). threads 0 uses one less than the cores, at least one.
  // A maker still running is cancelled and waited for first.
  // `remake` lists more indices to make again (previews that failed to decode in full).
  int Start(const QStringList& modeles, int W, int H, Connector connect = {}, int threads = 0,
            const QList<int>& remake = {});
  // Any thread; the templates being drawn finish.
  void Cancel();
  bool Cancelled() const { return cancel_; }
  bool Running() const { return live_ > 0; }
  // Waits for the workers (UI thread only; the queued signals are delivered later by the event loop).
  void Wait();
  int Total() const { return int(jobs_.size()); }
  int Done() const { return done_; }
  // The templates that failed so far (as PreviewMade reported them, in the owner's thread).
  const QStringList& Errors() const { return errors_; }

 signals:
  // One template handled: index in the list given to Start, its preview's path, whether it was made,
  // and the messages its objects gave.
  void PreviewMade(int index, const QString& modele, const QString& preview, bool ok,
                   const QStringList& messages);
  void Progress(int done, int total);
  void Finished(bool cancelled);

 private:
  void Work();

  struct Job {
    int index;
    QString modele;
  };
  std::vector<Job> jobs_;
  int w_ = 0, h_ = 0;
  Connector connect_;
  std::vector<std::thread> threads_;
  std::atomic<bool> cancel_{false};
  std::atomic<int> next_{0}, done_{0}, live_{0};
  std::mutex report_;
  QStringList errors_;
};
