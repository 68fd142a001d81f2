#include "shell/ui/window_translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include "shell/ui/zuno_menu_label.h"

namespace {

QList<QRadioButton*> Radios(QObject* o) {
  auto* w = qobject_cast<QWidget*>(o);
  if (!w || qobject_cast<QRadioButton*>(w)) return {};
  return w->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

// A tab page takes its caption as the tab's text.
QTabWidget* TabOf(QWidget* page, int* index) {
  auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
  auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
  if (!tabs) return nullptr;
  *index = tabs->indexOf(page);
  return *index >= 0 ? tabs : nullptr;
}

bool SetCaption(QObject* o, const QString& value) {
  if (auto* b = qobject_cast<QAbstractButton*>(o)) {
    b->setText(value);
  } else if (auto* l = qobject_cast<QLabel*>(o)) {
    l->setText(value);
  } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
    g->setTitle(value);
  } else if (auto* a = qobject_cast<QAction*>(o)) {
    a->setText(value);
  } else if (auto* m = qobject_cast<QMenu*>(o)) {
    m->setTitle(value);
  } else if (auto* w = qobject_cast<QWidget*>(o)) {
    int index = -1;
    if (QTabWidget* tabs = TabOf(w, &index))
      tabs->setTabText(index, value);
    else if (w->isWindow() || qobject_cast<QDockWidget*>(w))
      w->setWindowTitle(value);
    else
      return false;
  } else {
    return false;
  }
  return true;
}

bool SetHint(QObject* o, const QString& value) {
  if (auto* a = qobject_cast<QAction*>(o)) {
    a->setToolTip(value);
    a->setStatusTip(value);
    return true;
  }
  if (auto* m = qobject_cast<QMenu*>(o)) {
    m->menuAction()->setToolTip(value);
    m->menuAction()->setStatusTip(value);
    return true;
  }
  auto* w = qobject_cast<QWidget*>(o);
  if (!w) return false;
  w->setToolTip(value);
  // A picture-only button is named by its hint.
  if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->text().isEmpty()) b->setAccessibleName(value);
  return true;
}

}  // namespace

QString TQtMLWindow::Name() const {
  return window_->objectName();
}

void TQtMLWindow::SetWindowText(const QString& property, const QString& value) {
  if (property == QLatin1String("Caption"))
    window_->setWindowTitle(value);
  else if (property == QLatin1String("Hint"))
    window_->setToolTip(value);
}

QObject* TQtMLWindow::Component(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (QObject* o : window_->findChildren<QObject*>())
    if (o->objectName().compare(name, Qt::CaseInsensitive) == 0) return o;
  return nullptr;
}

bool TQtMLWindow::HasComponent(const QString& name) const {
  return Component(name) != nullptr;
}

bool TQtMLWindow::SetComponentText(const QString& component, const QString& property, const QString& value) {
  QObject* o = Component(component);
  if (!o) return false;
  if (property == QLatin1String("Caption")) return SetCaption(o, value);
  if (property == QLatin1String("Hint")) return SetHint(o, value);
  const bool menu = qobject_cast<QAction*>(o) || qobject_cast<QMenu*>(o);
  if (property == QLatin1String("MCaption")) return menu && SetCaption(o, value);
  if (property == QLatin1String("MHint")) return menu && SetHint(o, value);
  auto* label = qobject_cast<TzunoMenuLabel*>(o);
  if (property == QLatin1String("ZMLCaption")) return label && SetCaption(o, value);
  if (property == QLatin1String("ZMLHint")) return label && SetHint(o, value);
  return false;
}

std::optional<QStringList> TQtMLWindow::ListItems(const QString& component, QChar kind) {
  QObject* o = Component(component);
  if (!o) return std::nullopt;
  QStringList items;
  switch (kind.unicode()) {
    case 'L':
      if (auto* l = qobject_cast<QListWidget*>(o)) {
        for (int i = 0; i < l->count(); ++i) items.append(l->item(i)->text());
        return items;
      }
      break;
    case 'C':
      if (auto* c = qobject_cast<QComboBox*>(o)) {
        for (int i = 0; i < c->count(); ++i) items.append(c->itemText(i));
        return items;
      }
      break;
    case 'M': {
      QString text;
      if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        text = p->toPlainText();
      else if (auto* t = qobject_cast<QTextEdit*>(o))
        text = t->toPlainText();
      else
        break;
      if (!text.isEmpty()) items = text.split(QLatin1Char('\n'));
      return items;
    }
    case 'R':
      if (qobject_cast<QGroupBox*>(o)) {
        for (QRadioButton* r : Radios(o)) items.append(r->text());
        return items;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

void TQtMLWindow::SetListItems(const QString& component, QChar kind, const QStringList& items) {
  QObject* o = Component(component);
  if (!o) return;
  switch (kind.unicode()) {
    case 'L':
      if (auto* l = qobject_cast<QListWidget*>(o)) {
        for (int i = 0; i < items.size(); ++i) {
          if (i < l->count())
            l->item(i)->setText(items[i]);
          else
            l->addItem(items[i]);
        }
      }
      break;
    case 'C':
      if (auto* c = qobject_cast<QComboBox*>(o)) {
        for (int i = 0; i < items.size(); ++i) {
          if (i < c->count())
            c->setItemText(i, items[i]);
          else
            c->addItem(items[i]);
        }
      }
      break;
    case 'M':
      if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        p->setPlainText(items.join(QLatin1Char('\n')));
      else if (auto* t = qobject_cast<QTextEdit*>(o))
        t->setPlainText(items.join(QLatin1Char('\n')));
      break;
    case 'R':
      if (auto* g = qobject_cast<QGroupBox*>(o)) {
        QList<QRadioButton*> radios = Radios(g);
        for (int i = 0; i < items.size(); ++i) {
          if (i < radios.size()) {
            radios[i]->setText(items[i]);
            continue;
          }
          auto* r = new QRadioButton(items[i], g);
          r->setObjectName(g->objectName() + QStringLiteral("_%1").arg(i));
          if (g->layout()) g->layout()->addWidget(r);
          r->show();
        }
      }
      break;
    default:
      break;
  }
}

void TranslateWidget(QWidget* window) {
  if (!window) return;
  TQtMLWindow w(window);
  MLTranslateWindow(w);
}
