// A list of entries, each with a tick box, one of them the selected entry: each entry is a real
// check box, so keyboards and assistive tools tick it as they tick any other.
#pragma once

#include <QScrollArea>
#include <QStringList>
#include <vector>

class QCheckBox;
class QVBoxLayout;

class TCheckList : public QScrollArea {
  Q_OBJECT

 public:
  explicit TCheckList(QWidget* parent = nullptr);

  void SetItems(const QStringList& texts);
  int count() const { return int(boxes_.size()); }
  QCheckBox* Box(int row) const;
  QString text(int row) const;
  void setText(int row, const QString& text);
  bool isChecked(int row) const;
  // Ticks or unticks without telling (checkChanged is not sent).
  void setCheckedQuietly(int row, bool on);
  void setChecked(int row, bool on);
  int currentRow() const { return current_; }
  void setCurrentRow(int row);

 signals:
  void currentRowChanged(int row);
  void checkChanged(int row);

 private:
  void Highlight();
  QWidget* inner_;
  QVBoxLayout* column_;
  std::vector<QCheckBox*> boxes_;
  int current_ = -1;
};
