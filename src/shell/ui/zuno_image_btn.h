// Picture toggle buttons: one picture per state from a folder, radio behaviour among siblings of
// the same group.
#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QPointer>
#include <QString>

// Where the toggle buttons of a window find their pictures; windows set it to the skin folder.
class TzunoImageBase : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString path READ path WRITE setPath)
 public:
  explicit TzunoImageBase(QObject* parent = nullptr, const QString& path = QString())
      : QObject(parent), path_(path) {}
  QString path() const { return path_; }
  void setPath(const QString& p) { path_ = p; }

 private:
  QString path_;
};

enum TzunoEtat { eInactif = 0, eActif = 1 };

class TzunoImageBtn : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TzunoImageBtn(QWidget* parent = nullptr);

  TzunoImageBase* Base() const { return base_; }
  void SetBase(TzunoImageBase* base);
  QString FileName() const { return fileName_; }
  void SetFileName(const QString& name);
  TzunoEtat Etat() const { return etat_; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int g) { groupIndex_ = g; }
  void SetActif(bool on);
  bool GetActif() const { return etat_ == eActif; }
  // The picture file of the present state ("" without a base).
  QString PictureFile() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void nextCheckState() override;
  void checkStateSet() override;
  bool event(QEvent*) override;

 private:
  // Inverts the state and, in a group, makes the other buttons of the group inactive.
  void Invert();
  void SetEtat(TzunoEtat e);
  QPointer<TzunoImageBase> base_;
  QString fileName_;
  TzunoEtat etat_ = eInactif;
  int groupIndex_ = 0;
  bool pressSeen_ = false;  // a mouse press already decided the state of this click
  bool syncing_ = false;
};
