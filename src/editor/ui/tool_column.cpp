#include "editor/ui/tool_column.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalogue/ui/main_window.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/ui/window_translation.h"
#include "shell/ui/zuno_menu.h"

namespace {

constexpr int kButtonWidth = 84, kButtonHeight = 52, kPanelWidth = 2 * kButtonWidth + 12;
constexpr int kFaceWidth = kPanelWidth - 8, kFaceHeight = 96;

QString GlyphFile(int tag, bool active) {
  if (!Soft()) return QString();
  return Soft()->SkinPath + QStringLiteral("btn_") + QStringLiteral("%1").arg(tag, 2, 10, QLatin1Char('0')) +
         (active ? QStringLiteral("a") : QStringLiteral("n")) + QStringLiteral(".bmp");
}

}  // namespace

const std::vector<TfmZunoCADMenu2::Tool>& TfmZunoCADMenu2::Tools() {
  static const std::vector<Tool> tools = {
      {"sbMode1", 1, "Sélection", nullptr},
      {"sbMode4", 4, "Texte", nullptr},
      {"sbMode6", 6, "Forme", "mode_forme"},
      {"sbMode5", 5, "Image", nullptr},
      {"sbMode3", 3, "Ligne", "mode_ligne"},
      {"sbMode7", 7, "Repère", "mode_repere"},
      {"sbMode8", 8, "Arbo", "mode_arbo"},
      {"sbMode9", 9, "Calendrier", "mode_cal"},
      {"sbMode10", 10, "Code-barre", "mode_codebarre"},
      {"sbMode11", 201, "Fond", "mode_fond"},
      {"sbMode12", 202, "Ruban", "mode_ruban"},
      {"sbMode13", 11, "Perforatrice", "mode_perforatrice"},
      {"sbMode14", 12, "Tampon", "mode_tampon"},
      {"sbEtiquette", 205, "Etiquette", "mode_etiquette"},
      {"sbCadre", 13, "Cadre", "mode_cadre"},
  };
  return tools;
}

TfmZunoCADMenu2::TfmZunoCADMenu2(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("fmZunoCADMenu2"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  menu_ = new TzunoMenu(this);
  menu_->setObjectName(QStringLiteral("MenuOutils"));
  if (Soft()) menu_->LoadSkin(Soft()->SkinFile, QStringLiteral("ecran2_gauche"));
  column->addWidget(menu_);

  pBoutons = new QWidget;
  pBoutons->setObjectName(QStringLiteral("pBoutons"));
  auto* grid = new QGridLayout(pBoutons);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(4);
  int shown = 0;
  for (const Tool& t : Tools()) {
    if (t.flag && !(Soft() && Soft()->SoftFlag(QString::fromLatin1(t.flag)))) continue;
    // Background, ribbon and label pick their picture in the image library's browser; they come
    // with it.
    if (t.tag > 200) continue;
    auto* b = new QToolButton(pBoutons);
    b->setObjectName(QString::fromLatin1(t.name));
    b->setText(QString::fromUtf8(t.caption));
    b->setCheckable(true);
    b->setAutoExclusive(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(kButtonWidth, kButtonHeight);
    const int tag = t.tag;
    // Assistive technologies toggle the button without a click: switching it on is the command. A
    // click on the button already on switches nothing and is the command by itself.
    connect(b, &QToolButton::toggled, this, [this, tag, b](bool on) {
      if (!on || glyphing_) return;
      // The click that caused the toggle, if any, follows at once.
      toggledBy_ = b;
      QTimer::singleShot(0, this, [this] { toggledBy_ = nullptr; });
      if (OnTool) OnTool(tag);
    });
    connect(b, &QToolButton::clicked, this, [this, tag, b] {
      const bool done = toggledBy_ == b;
      toggledBy_ = nullptr;
      if (!done && OnTool) OnTool(tag);
    });
    grid->addWidget(b, shown / 2, shown % 2);
    buttons_.emplace_back(tag, b);
    ++shown;
  }
  pBoutons->setFixedSize(kPanelWidth, ((shown + 1) / 2) * (kButtonHeight + 4) + 8);
  itemBoutons = menu_->AddItem(pBoutons, MLText(QStringLiteral("panel_boutons")), true);
  itemBoutons->SetContentHeight(pBoutons->height());

  pFace = new QWidget;
  pFace->setObjectName(QStringLiteral("pFace"));
  auto* faces = new QVBoxLayout(pFace);
  faces->setContentsMargins(4, 4, 4, 4);
  faces->setSpacing(2);
  for (int i = 0; i < 2; ++i) {
    faces_[i] = new TApercuFace(pFace);
    faces_[i]->setObjectName(i == 0 ? QStringLiteral("imFace1") : QStringLiteral("imFace2"));
    faces_[i]->setFixedSize(kFaceWidth, kFaceHeight);
    const int face = i + 1;
    connect(faces_[i], &QAbstractButton::pressed, this, [this, face] {
      if (OnFace) OnFace(face);
    });
    labels_[i] = new QLabel(pFace);
    labels_[i]->setObjectName(i == 0 ? QStringLiteral("lbFace1") : QStringLiteral("lbFace2"));
    labels_[i]->setAlignment(Qt::AlignHCenter);
    faces->addWidget(faces_[i]);
    faces->addWidget(labels_[i]);
  }
  pFace->setFixedSize(kPanelWidth, 2 * (kFaceHeight + 24) + 8);
  if (!(Soft() && Soft()->SoftFlag(QStringLiteral("panel_face_invisible")))) {
    itemFace = menu_->AddItem(pFace, MLText(QStringLiteral("panel_carte")), true);
    itemFace->SetContentHeight(pFace->height());
  }
  const int line = menu_->Skin().Trait;
  menu_->setFixedWidth(menu_->verticalScrollBar()->sizeHint().width() + kPanelWidth + 2 * line +
                       menu_->Skin().Marge + 2);
  SetActiveTool(1);
  // The buttons are named by their captions, in the user's language.
  TranslateWidget(this);
  menu_->Layout(true);
}

QToolButton* TfmZunoCADMenu2::ToolButton(int tag) const {
  for (const auto& [t, b] : buttons_)
    if (t == tag) return b;
  return nullptr;
}

void TfmZunoCADMenu2::SetActiveTool(int tag) {
  active_ = tag;
  Glyphs();
}

void TfmZunoCADMenu2::Glyphs() {
  const bool was = glyphing_;
  glyphing_ = true;
  for (const auto& [tag, b] : buttons_) {
    const bool active = tag == active_;
    b->setChecked(active);
    const QString file = GlyphFile(tag, active);
    // A button whose picture is missing has none.
    b->setIcon(QFileInfo::exists(file) ? QIcon(QPixmap(file)) : QIcon());
  }
  glyphing_ = was;
}

TzunoCADMenu2::TzunoCADMenu2(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("zunoMenu2"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  form_ = new TfmZunoCADMenu2(this);
  column->addWidget(form_);
  setFixedWidth(form_->Menu()->width());
}
