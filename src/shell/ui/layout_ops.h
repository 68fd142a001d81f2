// Layout operations shared by the skinned windows.
#pragma once

#include <QString>

class QWidget;

// A square picture of the "skin_panel" setting (side = panel height - 2) against the panel's right
// edge; the panel takes the colour of the picture's top-left pixel. Nothing when the file is absent.
void SkinPanel(QWidget* panel);

// Every clickable label of the panel whose name has a picture name + ".png" in the skin folder
// (the settings' SkinPath when folder is empty) takes it as glyph. With Debug each missing file
// name is listed once in "debug_skin.log".
void LabelGlyphs(QWidget* panel, const QString& folder = QString());

// Spreads the visible controls of each row (same top) evenly across the panel's width.
void CentreRows(QWidget* panel);

// Pages without tabs: the window's first tab widget loses its tabs and frame, the pages keep their
// place and size, and the window's client area changes by the room the tabs took (narrower by
// twice the side offset, taller by the top offset).
void FlatPages(QWidget* window);
