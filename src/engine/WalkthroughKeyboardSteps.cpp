#include "engine/WalkthroughKeyboardSteps.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "engine/Walkthrough.h"
#include "logic/Inventory.h"

namespace qm::engine {

namespace {

QString describe(const std::optional<FocusTarget>& t) {
  if (!t) return QStringLiteral("none");
  switch (t->kind) {
    case FocusKind::Hotspot: return QStringLiteral("hotspot ") + QString::number(t->index);
    case FocusKind::Item: return QStringLiteral("item ") + QString::number(t->index);
    case FocusKind::Question: return QStringLiteral("question ") + QString::number(t->index);
  }
  return {};
}

std::optional<FocusTarget> parseTarget(const QStringList& w, QString* error) {
  const QString kind = w.size() >= 3 ? w[2].toLower() : QString();
  if (w.size() == 3 && kind == QLatin1String("none")) return std::nullopt;
  bool ok = false;
  const int n = w.size() == 4 ? w[3].toInt(&ok) : 0;
  if (ok && kind == QLatin1String("hotspot")) return FocusTarget{FocusKind::Hotspot, n};
  if (ok && kind == QLatin1String("item")) return FocusTarget{FocusKind::Item, n};
  if (ok && kind == QLatin1String("question")) return FocusTarget{FocusKind::Question, n};
  *error = QStringLiteral("expect focus needs hotspot N, item N, question N or none");
  return std::nullopt;
}

}  // namespace

std::optional<QString> runKeyboardStep(Game* g, const QStringList& w, const std::function<void(int)>& runEventsFor) {
  const QString verb = w[0].toLower();
  const bool hold = verb == QLatin1String("hold");
  if (!hold && verb != QLatin1String("release")) return std::nullopt;
  if (w.size() != 2) return verb + QStringLiteral(" needs one key name");
  const auto key = keyByName(w[1]);
  if (!key) return QStringLiteral("unknown key '") + w[1] + QStringLiteral("'");
  if (!g || !g->isVisible()) return QStringLiteral("the game is not running");
  QKeyEvent event(hold ? QEvent::KeyPress : QEvent::KeyRelease, *key, Qt::NoModifier);
  QApplication::sendEvent(g, &event);
  // Held long enough that a held Space counts as held, not as a short press.
  runEventsFor(hold ? KeyboardPlay::kHoldMilliseconds + 100 : 20);
  return QString();
}

std::optional<QString> expectKeyboard(Game* g, const QStringList& w) {
  const QString what = w[1].toLower();
  if (what != QLatin1String("focus") && what != QLatin1String("outlined") && what != QLatin1String("carrying") &&
      what != QLatin1String("windowed"))
    return std::nullopt;
  if (!g) return QStringLiteral("the game has not started");
  KeyboardPlay& play = g->keyboardPlay();
  if (what == QLatin1String("focus")) {
    QString error;
    const auto want = parseTarget(w, &error);
    if (!error.isEmpty()) return error;
    const auto now = play.focused();
    if (now == want) return QString();
    return QStringLiteral("the focus is on ") + describe(now);
  }
  if (what == QLatin1String("outlined")) {
    if (w.size() != 3) return QStringLiteral("expect outlined needs one quoted list, numbers separated by |");
    auto numbers = play.outlinedHotspots();
    std::sort(numbers.begin(), numbers.end());
    QStringList shown;
    for (int n : numbers) shown << QString::number(n);
    if (shown.join('|') == w[2]) return QString();
    return QStringLiteral("outlined: \"") + shown.join('|') + QStringLiteral("\"");
  }
  if (what == QLatin1String("carrying")) {
    if (w.size() != 3) return QStringLiteral("expect carrying needs one quoted item name");
    const int k = play.carriedItem();
    const QString name = k > 0 ? g->inventory().itemName(k) : QString();
    if (name == w[2]) return QString();
    return QStringLiteral("carrying \"") + name + QStringLiteral("\"");
  }
  const QString state = w.size() == 3 ? w[2].toLower() : QString();
  if (state != QLatin1String("on") && state != QLatin1String("off"))
    return QStringLiteral("expect windowed needs on or off");
  if (g->display().windowedPlay() == (state == QLatin1String("on"))) return QString();
  return g->display().windowedPlay() ? QStringLiteral("the game plays in a window") : QStringLiteral("the game plays full screen");
}

}  // namespace qm::engine
