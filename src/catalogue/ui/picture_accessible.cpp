#include "catalogue/ui/picture_accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include "catalogue/ui/apercu_modele.h"
#include "catalogue/ui/thumb.h"

namespace {

class TItemsAccessible;

// One painted item: a list item with a press action.
class TItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TItemAccessible(QWidget* widget, TPictureItems* items, QAccessibleInterface* parent, int index)
      : widget_(widget), items_(items), parent_(parent), index_(index) {}

  bool isValid() const override { return widget_ && index_ < items_->ItemCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent_->window(); }
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return QString();
    if (t == QAccessible::Name) return items_->ItemName(index_);
    if (t == QAccessible::Description) return items_->ItemHint(index_);
    return QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return QRect();
    const QRect r = items_->ItemRect(index_);
    return QRect(widget_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.selectable = true;
    s.checkable = items_->ItemsCheckable();
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.checked = s.checkable && items_->ItemChecked(index_);
    if (items_->ItemOffscreen(index_) ||
        !rect().intersects(QRect(widget_->mapToGlobal(QPoint(0, 0)), widget_->size())))
      s.offscreen = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override {
    if (items_->ItemsCheckable()) return {pressAction(), toggleAction()};
    return {pressAction()};
  }
  void doAction(const QString& name) override {
    if (!isValid()) return;
    if (name == pressAction()) items_->PressItem(index_);
    if (name == toggleAction() && items_->ItemsCheckable()) items_->ToggleItem(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<QWidget> widget_;
  TPictureItems* items_;
  QAccessibleInterface* parent_;
  int index_;
};

// The widget that paints the items: a list whose children are the items.
class TItemsAccessible : public QAccessibleWidget {
 public:
  TItemsAccessible(QWidget* widget, TPictureItems* items)
      : QAccessibleWidget(widget, QAccessible::List), items_(items) {}
  ~TItemsAccessible() override {
    for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return items_->ItemCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= items_->ItemCount()) return nullptr;
    auto it = ids_.constFind(index);
    if (it != ids_.constEnd()) return QAccessible::accessibleInterface(*it);
    auto* item = new TItemAccessible(widget(), items_, const_cast<TItemsAccessible*>(this), index);
    ids_.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (auto it = ids_.constBegin(); it != ids_.constEnd(); ++it)
      if (QAccessible::accessibleInterface(*it) == child) return it.key();
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = widget()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < items_->ItemCount(); ++i)
      if (items_->ItemRect(i).contains(p)) return child(i);
    return nullptr;
  }

 private:
  TPictureItems* items_;
  mutable QHash<int, QAccessible::Id> ids_;
};

// A thumbnail of the strip: a button named by its hint (or its value).
class TThumbAccessible : public QAccessibleWidget {
 public:
  explicit TThumbAccessible(TThumbImage* widget) : QAccessibleWidget(widget, QAccessible::Button) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<TThumbImage*>(widget())->AccessibleName();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction()) static_cast<TThumbImage*>(widget())->Press();
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* w = qobject_cast<TApercuImage*>(object)) return new TItemsAccessible(w, w->Items());
  if (auto* w = qobject_cast<TThumbImage*>(object)) return new TThumbAccessible(w);
  // Other painted widgets declare their items themselves.
  if (auto* w = qobject_cast<QWidget*>(object))
    if (auto* items = dynamic_cast<TPictureItems*>(w)) return new TItemsAccessible(w, items);
  return nullptr;
}

}  // namespace

void InstallPictureAccessibility() {
  static bool done = false;
  if (done) return;
  done = true;
  QAccessible::installFactory(Factory);
}
