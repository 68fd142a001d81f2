// Accessibility of the catalogue's picture widgets: the grid paints its cells into one picture and
// the strip draws pictures without captions, so screen readers and AT-SPI clients would see neither.
// Each widget gets an accessible name, and its cells or thumbnails are accessible children with a
// name and a press action.
#pragma once

#include <QRect>
#include <QString>

// A widget whose items are painted, not widgets: what its accessible children need to know.
class TPictureItems {
 public:
  virtual ~TPictureItems() = default;
  virtual int ItemCount() const = 0;
  virtual QString ItemName(int i) const = 0;
  // More about the item (its size…), told as its description.
  virtual QString ItemHint(int) const { return {}; }
  // The item's rectangle in the widget's coordinates.
  virtual QRect ItemRect(int i) const = 0;
  // Acts as a click on the item would.
  virtual void PressItem(int i) = 0;
  // Items with a second state (a lock): told as checked, switched by the toggle action.
  virtual bool ItemsCheckable() const { return false; }
  virtual bool ItemChecked(int) const { return false; }
  virtual void ToggleItem(int) {}
  // Items scrolled out of the widget's visible part.
  virtual bool ItemOffscreen(int) const { return false; }
};

// Installs the accessible interfaces of the catalogue's widgets (once per process).
void InstallPictureAccessibility();
