#include "engine/GameWindowProperties.h"

#include "engine/CursorFile.h"
#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/controls/VbColor.h"
#include "engine/controls/VbControl.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(GameWindowProperties, "Caption", caption, setCaption, toString),
    QM_PROP(GameWindowProperties, "Left", left, setLeft, toDouble),
    QM_PROP(GameWindowProperties, "Top", top, setTop, toDouble),
    QM_PROP(GameWindowProperties, "Width", width, setWidth, toDouble),
    QM_PROP(GameWindowProperties, "Height", height, setHeight, toDouble),
    QM_PROP(GameWindowProperties, "Visible", visible, setVisible, toBool),
    QM_PROP(GameWindowProperties, "Enabled", enabled, setEnabled, toBool),
    QM_PROP(GameWindowProperties, "WindowState", windowState, setWindowState, toInt),
    QM_PROP(GameWindowProperties, "KeyPreview", keyPreview, setKeyPreview, toBool),
    QM_PROP(GameWindowProperties, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(GameWindowProperties, "ForeColor", foreColor, setForeColor, toInt),
    QM_FONT_PROPS(GameWindowProperties),
    QM_PROP(GameWindowProperties, "Tag", tag, setTag, toString),
    QM_PROP(GameWindowProperties, "MousePointer", mousePointer, setMousePointer, toInt),
    QM_PROP(GameWindowProperties, "MouseIcon", mouseIcon, setMouseIcon, toString),
    QM_PROP_RO(GameWindowProperties, "ScaleWidth", scaleWidth),
    QM_PROP_RO(GameWindowProperties, "ScaleHeight", scaleHeight),
    QM_PROP_RO(GameWindowProperties, "hWnd", hWnd),
    QM_PROP_RO(GameWindowProperties, "Name", vbName),
    // The count follows the item controls; a script changing it would leave
    // the bar with controls it no longer counts.
    QM_PROP_RO(GameWindowProperties, "ObjectsCount", objectsCount),
};
}  // namespace

const PropertyTable& GameWindowProperties::propertyTable() const {
  static const PropertyTable table{kProps, nullptr};
  return table;
}

QString GameWindowProperties::caption() const { return game_.windowTitle(); }
void GameWindowProperties::setCaption(const QString& c) { game_.setWindowTitle(c); }

double GameWindowProperties::left() const { return game_.x() * kTwipsPerPixel; }
void GameWindowProperties::setLeft(double t) { game_.move(twipsToPixels(t), game_.y()); }
double GameWindowProperties::top() const { return game_.y() * kTwipsPerPixel; }
void GameWindowProperties::setTop(double t) { game_.move(game_.x(), twipsToPixels(t)); }
double GameWindowProperties::width() const { return game_.width() * kTwipsPerPixel; }
void GameWindowProperties::setWidth(double t) { game_.resize(std::max(1, twipsToPixels(t)), game_.height()); }
double GameWindowProperties::height() const { return game_.height() * kTwipsPerPixel; }
void GameWindowProperties::setHeight(double t) { game_.resize(game_.width(), std::max(1, twipsToPixels(t))); }
double GameWindowProperties::scaleWidth() const { return game_.contentsRect().width() * kTwipsPerPixel; }
double GameWindowProperties::scaleHeight() const { return game_.contentsRect().height() * kTwipsPerPixel; }

bool GameWindowProperties::visible() const { return game_.isVisible(); }
void GameWindowProperties::setVisible(bool v) { game_.setVisible(v); }
bool GameWindowProperties::enabled() const { return game_.isEnabled(); }
void GameWindowProperties::setEnabled(bool e) { game_.setEnabled(e); }

int GameWindowProperties::windowState() const {
  const Qt::WindowStates s = game_.windowState();
  if (s & Qt::WindowMinimized) return static_cast<int>(VbWindowState::Minimized);
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return static_cast<int>(VbWindowState::Maximized);
  return static_cast<int>(VbWindowState::Normal);
}

void GameWindowProperties::setWindowState(int state) {
  const Qt::WindowStates now = game_.windowState();
  switch (static_cast<VbWindowState>(state)) {
    case VbWindowState::Normal: game_.setWindowState(Qt::WindowNoState); break;
    case VbWindowState::Minimized: game_.setWindowState(now | Qt::WindowMinimized); break;
    case VbWindowState::Maximized:
      game_.setWindowState(now & Qt::WindowFullScreen ? Qt::WindowFullScreen : Qt::WindowMaximized);
      break;
    default: break;  // not a window state: nothing changes
  }
}

void GameWindowProperties::setBackColor(int c) {
  backColor_ = c;
  game_.display().setSurround(colorFromVb(c));
  game_.update();
}

void GameWindowProperties::setMousePointer(int pointer) {
  mousePointer_ = pointer;
  applyPointer();
}

void GameWindowProperties::setMouseIcon(const QString& path) {
  mouseIcon_.reset();
  mouseIconPath_.clear();
  if (!path.isEmpty()) {
    if (auto c = loadCursorFile(path)) {
      mouseIcon_ = *c;
      mouseIconPath_ = path;
    }
  }
  applyPointer();
}

void GameWindowProperties::applyPointer() {
  applyMousePointer(game_, mousePointer_, mouseIcon_ ? &*mouseIcon_ : nullptr);
}

int GameWindowProperties::objectsCount() const { return game_.state().ObjectsCount; }

}  // namespace qm::engine
