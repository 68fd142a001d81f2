// The window that browses the predefined texts: themes in a tree, one tab per part of a letter, the
// theme's texts in a list; it returns the text picked.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class TzunoChoixTextes;

struct TzunoChoixTextesResult {
  QString Texte;   // lines separated by "|"
  QString Chemin;  // the theme's path, beginning with "\"
  bool Ok = false;
};

class TfmChoixTextes : public QDialog {
  Q_OBJECT
 public:
  TfmChoixTextes(QWidget* owner, const TzunoChoixTextes& library, const QString& inclu, const QString& exclu,
                 bool debug);

  // Selects the node of that path ("\Fêtes\Noël" or "Fêtes\Noël") when there is one.
  void SelectPath(const QString& path);
  // The theme of the selected node, without the leading "\"; empty when none is selected.
  QString Theme() const;
  // "\" and the captions from the top down to the node.
  static QString NodePath(const QTreeWidgetItem* node);
  // The text last clicked, with "|" for its line breaks.
  const QString& Choice() const { return choice_; }

  QTreeWidget* tv;
  QTabBar* tc;
  QListWidget* lb;
  QComboBox* cb;
  QPushButton *bOK, *bAnnuler, *bDebug;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildTree(const QStringList& themes);
  void TvChange();
  void Change();
  void TextClick();
  void DebugClick();
  void ShowCaption();
  // A text as the case combo shows it.
  QString Shown(const QString& text) const;

  const TzunoChoixTextes& library_;
  QStringList themes_;
  QString choice_;
  bool debug_;
};

// Counts the use, opens the window on `lastPath` and fills `result`. The program-wide library is
// read first when it never was.
void ChoisirTexte(QWidget* owner, const QString& lastPath, bool debug, TzunoChoixTextesResult& result,
                  const QString& exclu, const QString& inclu);
