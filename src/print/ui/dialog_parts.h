// What the printing dialogs are built from alike: captions that name their fields, the skinned
// header with a title and a line of explanation, and the OK / Cancel row.
#pragma once

#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// A caption for a field; after translation the field is named by it (see NameOf).
QLabel* Caption(QWidget* parent, const char* name, const QString& text, QWidget* buddy);
// A caption without its mnemonic and trailing colon, as a name for assistive technologies.
QString NameOf(const QString& caption);
// The header panel "pnEntete" on the skin's panel: a large title "lbTitre" and the explanation
// "lbSousTitre" below it (room for two lines), added to `column`.
QWidget* DialogHeader(QWidget* dialog, QBoxLayout* column, QLabel** title, QLabel** subtitle);
// "OK" (the default button, "bOK") and "Annuler" ("bAnnuler") at the right of a new row.
QBoxLayout* OkCancelRow(QWidget* dialog, QPushButton** ok, QPushButton** cancel);
