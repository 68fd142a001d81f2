// The picture button bar along the top of the main windows: a background picture, a picture kept
// against the right edge, and three-state picture buttons with their captions written on the
// background.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;

class TzunoMenuBouton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TzunoMenuBouton(QWidget* parent = nullptr);

  // Normal, pointer over, disabled; a null image is an empty bitmap, except that a disabled picture
  // missing or equal to the normal one is the normal one greyed.
  void SetPictures(const QImage& normal, const QImage& over, const QImage& disabled);
  void SetEnabled(bool on);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  bool PointerOver() const { return over_; }
  // The picture shown in the present state.
  const QImage& ShownPicture() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  void UpdateCursor();
  QImage normal_, over_image_, disabled_;
  bool over_ = false;
  int tag_ = 0;
};

class TzunoMenuBarre : public QWidget {
  Q_OBJECT
 public:
  explicit TzunoMenuBarre(QWidget* parent = nullptr);

  // Reads a button-bar section; the pictures come from the file's folder.
  void LoadSkin(const QString& file, const QString& section);
  // Appends a picture button (pictures name + ".BMP", "1.BMP", "2.BMP"); a click calls the
  // handler while the owner lives.
  TzunoMenuBouton* AddButton(const QString& caption, std::function<void()> handler, QObject* owner,
                             const QString& name);
  TzunoMenuBouton* FindButton(const QString& name) const;
  const std::vector<TzunoMenuBouton*>& Buttons() const { return buttons_; }
  // Replace a picture by a file of the skin folder (or a full path).
  void SetBackground(const QString& file);
  void SetRightPicture(const QString& file);

  // The background with the captions written on it.
  const QImage& Background() const { return background_; }
  QLabel* RightPicture() const { return right_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void PlaceRight();
  void WriteCaption(TzunoMenuBouton* button);
  QString PathOf(const QString& file) const;

  QString folder_;
  std::vector<TzunoMenuBouton*> buttons_;
  int position_ = 0;
  int margeGauche_ = 0, margeHaut_ = 0, ecart_ = 0;
  bool showText_ = false;
  QColor color_;
  QImage background_;
  QLabel* right_;
};
