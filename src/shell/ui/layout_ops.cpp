#include "shell/ui/layout_ops.h"

#include <QEvent>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <vector>

#include "shell/settings.h"
#include "shell/skin_names.h"
#include "shell/ui/skin_ui.h"
#include "shell/ui/zuno_menu_label.h"

namespace {

// Keeps the decoration square and against the right edge when the panel is resized.
class TSkinPanelPicture : public QLabel {
 public:
  explicit TSkinPanelPicture(QWidget* panel) : QLabel(panel) {
    setObjectName(QStringLiteral("skinPanelPicture"));
    setScaledContents(true);
    panel->installEventFilter(this);
    Fit();
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == parent() && e->type() == QEvent::Resize) Fit();
    return false;
  }

 private:
  void Fit() {
    auto* panel = parentWidget();
    const int side = std::max(0, panel->height() - 2);
    setGeometry(panel->width() - side - 1, 1, side, side);
  }
};

}  // namespace

void SkinPanel(QWidget* panel) {
  TSoft* soft = Soft();
  if (!panel || !soft) return;
  const QImage picture =
      skinui::LoadSkinPicture(soft->SkinPath, soft->ReadSoftString(QStringLiteral("skin_panel")));
  if (picture.isNull()) return;
  // Once per panel; found by name (the class has no meta-object of its own).
  QLabel* label = panel->findChild<QLabel*>(QStringLiteral("skinPanelPicture"), Qt::FindDirectChildrenOnly);
  if (!label) label = new TSkinPanelPicture(panel);
  label->setPixmap(QPixmap::fromImage(picture));
  label->show();
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, picture.pixelColor(0, 0));
  panel->setPalette(pal);
  panel->setAutoFillBackground(true);
}

void LabelGlyphs(QWidget* panel, const QString& folder) {
  if (!panel) return;
  QString dir = folder;
  if (dir.isEmpty() && Soft()) dir = Soft()->SkinPath;
  for (TzunoMenuLabel* label : panel->findChildren<TzunoMenuLabel*>()) {
    const QString file = skin::LabelGlyphFile(label->objectName());
    const QImage glyph = skinui::LoadSkinPicture(dir, file);
    if (glyph.isNull())
      skinui::LogMissingPicture(QStringLiteral("debug_skin.log"), file);
    else
      label->SetGlyph(glyph);
  }
}

void CentreRows(QWidget* panel) {
  if (!panel) return;
  // Rows by top, controls in their order within the panel.
  std::map<int, std::vector<QWidget*>> rows;
  for (QObject* o : panel->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || w->isHidden()) continue;
    if (w->y() >= 0 && w->y() <= panel->height()) rows[w->y()].push_back(w);
  }
  const int W = panel->width();
  for (auto& [y, row] : rows) {
    const int n = int(row.size());
    for (int k = 1; k <= n; ++k) {
      QWidget* w = row[size_t(k - 1)];
      w->move(k * (W / n) - W / (2 * n) - w->width() / 2, y);
    }
  }
}

void FlatPages(QWidget* window) {
  if (!window) return;
  auto* tabs = window->findChild<QTabWidget*>();
  if (!tabs || tabs->count() == 0) return;
  QWidget* page = tabs->widget(0);
  const QPoint offset = page->mapTo(tabs, QPoint(0, 0));
  const QSize pageSize = page->size();
  tabs->tabBar()->hide();
  tabs->setDocumentMode(true);
  tabs->setStyleSheet(QStringLiteral("QTabWidget::pane { border: 0; margin: 0; padding: 0; }"));
  // The page's client origin lands where the tab widget began; the page keeps its size.
  tabs->setGeometry(tabs->x(), tabs->y(), pageSize.width(), pageSize.height());
  window->resize(window->width() - 2 * offset.x(), window->height() + offset.y());
}
