// A PDF output put in place only when whole: the printer writes a temporary file beside the target,
// which is checked, synced to disk and renamed over the target; on any failure the target keeps its
// old content and the temporary file is removed.
#pragma once

#include <QString>

class TPdfFile {
 public:
  TPdfFile() = default;
  ~TPdfFile();
  TPdfFile(const TPdfFile&) = delete;
  TPdfFile& operator=(const TPdfFile&) = delete;

  // Creates the temporary file beside `target`. False, with a message naming the target, when the
  // folder cannot take it.
  bool Open(const QString& target, QString* error);
  // Where the printer writes meanwhile.
  const QString& TempName() const { return temp_; }
  const QString& Target() const { return target_; }
  // Checks the written file, syncs it and puts it in place. False, with a message, when anything
  // failed; the target is then left as it was.
  bool Commit(QString* error);
  // Removes the temporary file.
  void Discard();

 private:
  QString target_, temp_;
};

// Whether the file is a whole PDF document as our printer writes it: every object the cross-reference
// table lists stands at its offset and the file ends with its trailer, so a write lost on a full disk
// shows. False with the reason in `why`.
bool CheckPdfFile(const QString& path, QString* why);
