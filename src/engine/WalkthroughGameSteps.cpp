// Walkthrough steps for the inventory, saved games, the menu bar and files:
//
//   drag I to N              drag item I (1-based) onto hotspot N
//   drag I onto J            drag item I onto item J
//   save "NAME"              Ctrl+S, type NAME, press SAVE
//   load "NAME"              Ctrl+L (or the welcome window's Load), pick NAME, press LOAD
//   menu "CAPTION"           choose the menu item with that caption
//   expect items "A|B"       the items held, in inventory order
//   expect file "PATH"       a file exists (PATH relative to the game folder)
//   expect nofile "PATH"
//
// Each works through the real handlers: mouse events on the item and the bar,
// the key handler of the game window, the buttons of the save and load
// windows, the menu item's own click.
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/Walkthrough.h"
#include "logic/Inventory.h"
#include "logic/SavedGameList.h"
#include "logic/SavedGames.h"
#include "logic/frmLoadGame.h"
#include "logic/frmSaveGame.h"
#include "platform/FileResolver.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"

namespace qm::engine {

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &e);
}

QPointF centreOf(const QWidget* w) { return QPointF(w->width() / 2.0, w->height() / 2.0); }

// The centre of `target`, in the coordinates of `from`.
QPointF centreSeenFrom(const QWidget* target, const QWidget* from) {
  return QPointF(from->mapFromGlobal(target->mapToGlobal(centreOf(target).toPoint())));
}

QString stripAccelerators(QString caption) {
  caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
  caption.remove('&');
  caption.replace(QChar(1), QChar('&'));
  return caption;
}

// An action can be chosen when it and every menu above it are shown and enabled.
bool reachable(const QAction* action, const QMenuBar* bar, int depth = 0) {
  if (!action || !action->isVisible() || !action->isEnabled() || depth > 8) return false;
  for (QObject* owner : action->associatedObjects()) {
    if (owner == bar) return !bar->isHidden();
    if (auto* menu = qobject_cast<QMenu*>(owner))
      if (reachable(menu->menuAction(), bar, depth + 1)) return true;
  }
  return false;
}

std::optional<int> toItemNumber(const QString& s) {
  bool ok = false;
  const int v = s.toInt(&ok);
  return ok ? std::optional<int>(v) : std::nullopt;
}

QString drag(Game& g, const QStringList& w) {
  if (w.size() != 4 || !toItemNumber(w[1]) || !toItemNumber(w[3]) ||
      (w[2].toLower() != QLatin1String("to") && w[2].toLower() != QLatin1String("onto")))
    return QStringLiteral("drag needs an item number, then 'to' and a hotspot number or 'onto' and an item number");
  const int from = *toItemNumber(w[1]);
  const int to = *toItemNumber(w[3]);
  ImageControl* item = from >= 1 && from <= g.state().ObjectsCount ? g.PickedObject.item(from) : nullptr;
  if (!item) return QStringLiteral("there is no item ") + QString::number(from);
  QWidget* target = nullptr;
  if (w[2].toLower() == QLatin1String("onto")) {
    target = to >= 1 && to <= g.state().ObjectsCount ? g.PickedObject.item(to) : nullptr;
    if (!target) return QStringLiteral("there is no item ") + QString::number(to);
  } else {
    ImageControl* area = to > 0 ? g.Area.item(to) : nullptr;
    if (!area) return QStringLiteral("the frame has no hotspot ") + QString::number(to);
    target = area;
    if (area->whatsThisHelpId() > 0 && g.AniGifBox.exists(area->whatsThisHelpId()))
      target = g.AniGifBox.item(area->whatsThisHelpId());
    if (target->isHidden()) return QStringLiteral("hotspot ") + QString::number(to) + QStringLiteral(" is hidden");
  }
  // The pointer comes to the bar first (its button, or the bar's edge), which brings the bar down.
  QWidget* bar = g.Inventory2->isVisible() ? static_cast<QWidget*>(g.Inventory2) : g.Inventory1;
  sendMouse(bar, QEvent::MouseMove, centreOf(bar), Qt::NoButton, Qt::NoButton);
  QPointer<ImageControl> dragged(item);
  sendMouse(item, QEvent::MouseButtonPress, centreOf(item), Qt::LeftButton, Qt::LeftButton);
  if (!dragged) return QStringLiteral("the item went away when pressed");
  // Over the target (the bar may slide away meanwhile), then the release there.
  sendMouse(item, QEvent::MouseMove, centreSeenFrom(target, item), Qt::NoButton, Qt::LeftButton);
  if (!dragged) return QStringLiteral("the item went away during the drag");
  // The item lands on whatever is topmost there; say so when that is not the target.
  QWidget* box = g.PictureBox;
  const QPoint at = box->mapFromGlobal(target->mapToGlobal(centreOf(target).toPoint()));
  QWidget* below = box->childAt(at);
  QString covered;
  if (below && below != target && !target->isAncestorOf(below)) {
    auto* control = dynamic_cast<VbControl*>(below);
    covered = control ? control->vbName() : below->objectName();
  }
  sendMouse(item, QEvent::MouseButtonRelease, centreSeenFrom(target, item), Qt::LeftButton, Qt::NoButton);
  if (!covered.isEmpty()) return QStringLiteral("the drop point is covered by ") + covered;
  return {};
}

void pressKey(Game& g, int key) {
  QPointer<Game> alive(&g);
  QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
  QApplication::sendEvent(&g, &press);
  if (!alive) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
  QApplication::sendEvent(&g, &release);
}

QString save(Game& g, const QString& name) {
  bool opened = false;
  logic::SavedGames::setWindowHook([&](QDialog& d) {
    auto* window = qobject_cast<logic::frmSaveGame*>(&d);
    if (!window) return;
    opened = true;
    window->Text1->setText(name);
    window->Command2->click();
  });
  pressKey(g, Qt::Key_S);
  logic::SavedGames::setWindowHook({});
  return opened ? QString() : QStringLiteral("the save window did not open");
}

QString load(Game* g, const QString& name) {
  bool opened = false, found = false;
  logic::SavedGames::setWindowHook([&](QDialog& d) {
    auto* window = qobject_cast<logic::frmLoadGame*>(&d);
    if (!window) return;
    opened = true;
    found = window->List1->selectByName(name);
    if (found) window->Command2->click();
  });
  if (g && g->isVisible()) {
    pressKey(*g, Qt::Key_L);
  } else if (auto* welcome = startup::frmWelcome::instance(); welcome && welcome->isVisible()) {
    welcome->ClickButton(startup::kButtonLoad);
  } else {
    logic::SavedGames::setWindowHook({});
    return QStringLiteral("neither the game nor the welcome window is shown");
  }
  logic::SavedGames::setWindowHook({});
  if (!opened) return QStringLiteral("the load window did not open");
  if (!found) return QStringLiteral("there is no saved game named '") + name + QStringLiteral("'");
  return {};
}

QString menu(Game& g, const QString& caption) {
  for (MenuItem* item : g.findChildren<MenuItem*>()) {
    // Blanks around a caption do not show as such; they do not count.
    if (stripAccelerators(item->caption()).trimmed() != caption.trimmed() || !reachable(item->action(), g.display().menuBar()))
      continue;
    if (item->menu()) return QStringLiteral("'") + caption + QStringLiteral("' opens a menu; choose one of its items");
    item->action()->trigger();
    return {};
  }
  return QStringLiteral("no visible, enabled menu item is captioned '") + caption + QStringLiteral("'");
}

}  // namespace

std::optional<QString> runGameStateStep(Game* g, const QStringList& w, const std::function<void(int)>& runEventsFor) {
  const QString verb = w[0].toLower();
  if (verb != QLatin1String("drag") && verb != QLatin1String("save") && verb != QLatin1String("load") &&
      verb != QLatin1String("menu"))
    return std::nullopt;
  if (verb == QLatin1String("load")) {
    if (w.size() != 2) return QStringLiteral("load needs one quoted saved-game name");
    const QString r = load(g, w[1]);
    runEventsFor(20);
    return r;
  }
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  QString r;
  if (verb == QLatin1String("drag")) {
    r = drag(*g, w);
  } else if (w.size() != 2) {
    return verb + QStringLiteral(" needs one quoted text");
  } else if (verb == QLatin1String("save")) {
    r = save(*g, w[1]);
  } else {
    r = menu(*g, w[1]);
  }
  runEventsFor(20);
  return r;
}

std::optional<QString> expectGameState(Game* g, const QStringList& w) {
  const QString what = w[1].toLower();
  if (what == QLatin1String("items")) {
    if (w.size() != 3) return QStringLiteral("expect items needs one quoted list, names separated by |");
    if (!g) return QStringLiteral("the game has not started");
    const QString held = g->inventory().itemNames().join('|');
    if (held == w[2]) return QString();
    return QStringLiteral("the items are \"") + held + QStringLiteral("\"");
  }
  if (what == QLatin1String("file") || what == QLatin1String("nofile")) {
    if (w.size() != 3) return QStringLiteral("expect ") + what + QStringLiteral(" needs one quoted path");
    // A saved game's file is where the game saves: its folder, or when that
    // is read-only (an installed game) the user's save folder.
    const bool savedGame = w[2].endsWith(QLatin1String(".sav"), Qt::CaseInsensitive) && !w[2].contains('/') &&
                           !w[2].contains('\\');
    const QString saves = savedGame && g ? g->savedGames().saveFolder() : QString();
    const QString project = startup::project().paths.project;
    // The user's save folder lies outside the game: it is not the resolver's to look in.
    const bool exists = saves.isEmpty() || saves == project ? platform::fileExists(project + w[2])
                                                            : QFileInfo::exists(saves + w[2]);
    if (exists == (what == QLatin1String("file"))) return QString();
    return w[2] + (exists ? QStringLiteral(" exists") : QStringLiteral(" does not exist"));
  }
  return std::nullopt;
}

}  // namespace qm::engine
