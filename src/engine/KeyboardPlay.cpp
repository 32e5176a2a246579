#include "engine/KeyboardPlay.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/OneTimeVideo.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::project;

// ---- Reading order ------------------------------------------------------------

std::vector<int> readingOrder(const std::vector<QRect>& boxes) {
  std::vector<int> byTop(boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) byTop[i] = static_cast<int>(i);
  std::stable_sort(byTop.begin(), byTop.end(), [&](int a, int b) {
    if (boxes[a].top() != boxes[b].top()) return boxes[a].top() < boxes[b].top();
    return boxes[a].left() < boxes[b].left();
  });
  std::vector<int> order;
  order.reserve(boxes.size());
  std::size_t lineStart = 0;
  while (lineStart < byTop.size()) {
    // The line's first box decides how far down the line reaches: its middle.
    const QRect& first = boxes[byTop[lineStart]];
    const long long middle = static_cast<long long>(first.top()) + std::max(0, first.height()) / 2;
    std::size_t lineEnd = lineStart + 1;
    while (lineEnd < byTop.size() && boxes[byTop[lineEnd]].top() < middle) ++lineEnd;
    std::vector<int> line(byTop.begin() + lineStart, byTop.begin() + lineEnd);
    std::stable_sort(line.begin(), line.end(), [&](int a, int b) {
      if (boxes[a].left() != boxes[b].left()) return boxes[a].left() < boxes[b].left();
      return boxes[a].top() < boxes[b].top();
    });
    order.insert(order.end(), line.begin(), line.end());
    lineStart = lineEnd;
  }
  return order;
}

// ---- The overlay ------------------------------------------------------------------

// Covers the frame picture, above every control, and lets every mouse event
// through: it only draws the outlines and the focus ring.
class FocusOverlay : public QWidget {
 public:
  FocusOverlay(KeyboardPlay& play, QWidget* parent) : QWidget(parent), play_(play) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("KeyboardPlayOverlay"));
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  // A band `width` pixels wide along the inside of r.
  static void band(QPainter& p, const QRect& r, int width, const QColor& colour) {
    if (r.isEmpty()) return;
    const int w = std::min({width, (r.width() + 1) / 2, (r.height() + 1) / 2});
    p.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
    p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
    p.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
    p.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
  }

  KeyboardPlay& play_;
};

void FocusOverlay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (play_.outlining()) {
    // Two bright pixels on the hotspot's edge, a dark one inside them so that
    // the outline shows on light pictures too.
    for (int n : play_.outlinedHotspots()) {
      const QRect r = play_.rectOf(play_.widgetOf({FocusKind::Hotspot, n})).intersected(rect());
      band(p, r.adjusted(2, 2, -2, -2), 1, Qt::black);
      band(p, r, 2, QColor(kOutlineColour));
    }
  }
  const auto focus = play_.focused();
  if (!focus) return;
  // Three pixels around the target, inside the picture where it reaches an edge.
  const QRect target = play_.rectOf(play_.widgetOf(*focus));
  const QRect ring = target.adjusted(-3, -3, 3, 3).intersected(rect());
  band(p, ring, 3, QColor(kFocusRingColour));
  if (const int k = play_.carriedItem(); k > 0) {
    // The carried item rides on the ring's corner.
    if (auto* item = play_.game_.PickedObject.item(k); item && !item->image().isNull())
      p.drawImage(QRect(ring.left() + 4, ring.top() + 4, 24, 24), item->image());
  }
}

// ---- Keyboard play ---------------------------------------------------------------------

namespace {

constexpr int kRefreshMilliseconds = 100;

bool noCtrlAltMeta(const QKeyEvent& e) {
  return !(e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Keys that already mean something in the game window cannot outline.
bool usableOutlineKey(int key) {
  if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab || isEnter(key)) return false;
  if (key >= Qt::Key_F9 && key <= Qt::Key_F12) return false;    // the debug sequence
  if (key >= Qt::Key_1 && key <= Qt::Key_9) return false;        // dialogue questions
  if (key == Qt::Key_Up || key == Qt::Key_Down) return false;    // dialogue questions
  if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta) return false;
  return key != 0 && key != Qt::Key_unknown;
}

}  // namespace

KeyboardPlay::KeyboardPlay(Game& game) : game_(game) {
  overlay_ = new FocusOverlay(*this, game.PictureBox);
  holdTimer_.setSingleShot(true);
  QObject::connect(&holdTimer_, &platform::GameTimer::timeout, [this] { setOutlining(true); });
  refreshTimer_.setInterval(kRefreshMilliseconds);
  QObject::connect(&refreshTimer_, &platform::GameTimer::timeout, [this] { refresh(); });
}

KeyboardPlay::~KeyboardPlay() = default;

int KeyboardPlay::outlineKey() {
  const QString projectName = project().info.projectName;
  if (outlineKey_ != 0 && outlineKeyFor_ == projectName) return outlineKey_;
  outlineKeyFor_ = projectName;
  outlineKey_ = Qt::Key_Space;
  const QString text = startup::LoadSetting(QString::fromLatin1(startup::settings_keys::kOutlineKey)).trimmed();
  if (text.isEmpty()) return outlineKey_;
  const QKeySequence seq = QKeySequence::fromString(text, QKeySequence::PortableText);
  const int key = seq.count() == 1 ? seq[0].key() : 0;
  if (seq.count() == 1 && seq[0].keyboardModifiers() == Qt::NoModifier && usableOutlineKey(key)) {
    outlineKey_ = key;
  } else {
    std::fprintf(stderr, "quillmere: the outline key \"%s\" in the settings cannot be used; Space outlines the hotspots\n",
                 text.toLocal8Bit().constData());
  }
  return outlineKey_;
}

bool KeyboardPlay::keyPressed(const QKeyEvent& e) {
  const int key = e.key();
  if (key == Qt::Key_Escape) {
    putBack();
    return false;  // Esc keeps its own meaning
  }
  if (!game_.isEnabled() || startup::GameStopped()) return false;
  if (isEnter(key) && (e.modifiers() & Qt::AltModifier) && !(e.modifiers() & Qt::ControlModifier)) {
    if (!e.isAutoRepeat()) {
      game_.display().toggleWindowedPlay();
      refresh();
    }
    return true;
  }
  if (!noCtrlAltMeta(e)) return false;
  // While a transition covers the frame, the keys reach under the cover no
  // more than the mouse does: the ring stays put and nothing is clicked
  // (activate() refuses too, for a Space pressed before the cover came up).
  if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && (e.modifiers() & Qt::ShiftModifier))) {
    if (!covered_) moveFocus(false);
    return true;
  }
  if (key == Qt::Key_Tab) {
    if (!covered_) moveFocus(true);
    return true;
  }
  if (key == outlineKey() || key == Qt::Key_Space) {
    if (!e.isAutoRepeat()) {
      if (key == outlineKey()) outlineKeyDown();
      else if (!focused()) return false;
      else activate();  // Space clicks at once when another key outlines
    }
    return true;
  }
  if (isEnter(key)) {
    if (covered_) return true;
    if (!focused()) return false;  // a question highlighted with the arrows may take it
    if (!e.isAutoRepeat()) activate();
    return true;
  }
  // The arrows choose among the questions by themselves: the ring steps aside.
  if ((key == Qt::Key_Up || key == Qt::Key_Down) && game_.fmeDialogue->visible()) setFocusTarget(std::nullopt);
  return false;
}

bool KeyboardPlay::keyReleased(const QKeyEvent& e) {
  if (e.key() != outlineKey() || e.isAutoRepeat()) return false;
  outlineKeyUp();
  return true;
}

void KeyboardPlay::outlineKeyDown() {
  outlineKeyHeld_ = true;
  // With a hotspot focused, only a held press outlines; a short one clicks.
  if (outlineKey() == Qt::Key_Space && focused()) holdTimer_.start(kHoldMilliseconds);
  else setOutlining(true);
}

void KeyboardPlay::outlineKeyUp() {
  if (!outlineKeyHeld_) return;
  outlineKeyHeld_ = false;
  if (holdTimer_.isActive()) {
    holdTimer_.stop();
    if (game_.isEnabled() && !startup::GameStopped()) activate();
    return;
  }
  setOutlining(false);
}

std::vector<FocusTarget> KeyboardPlay::focusChain() const {
  std::vector<FocusTarget> chain;
  std::vector<QRect> boxes;
  std::vector<int> numbers;
  for (int n : game_.Area.indices()) {
    if (n <= 0) continue;
    QWidget* w = widgetOf({FocusKind::Hotspot, n});
    if (!clickable(w)) continue;
    boxes.push_back(rectOf(w));
    numbers.push_back(n);
  }
  for (int i : readingOrder(boxes)) chain.push_back({FocusKind::Hotspot, numbers[i]});
  if (!game_.Inventory1->isHidden())
    for (int k = 1; k <= game_.state().ObjectsCount; ++k)
      if (clickable(widgetOf({FocusKind::Item, k}))) chain.push_back({FocusKind::Item, k});
  if (!game_.fmeDialogue->isHidden())
    for (int q = 1; q <= game_.lblDialogue.UBound(); ++q)
      if (clickable(widgetOf({FocusKind::Question, q}))) chain.push_back({FocusKind::Question, q});
  return chain;
}

QWidget* KeyboardPlay::widgetOf(const FocusTarget& t) const {
  switch (t.kind) {
    case FocusKind::Hotspot: {
      ImageControl* area = t.index > 0 ? game_.Area.item(t.index) : nullptr;
      if (!area) return nullptr;
      // A hotspot with an animated picture is clicked on the picture's box.
      const int box = area->whatsThisHelpId();
      if (box > 0 && game_.AniGifBox.exists(box)) return game_.AniGifBox.item(box);
      return area;
    }
    case FocusKind::Item:
      return t.index >= 1 && t.index <= game_.state().ObjectsCount ? game_.PickedObject.item(t.index) : nullptr;
    case FocusKind::Question:
      return t.index >= 1 ? game_.lblDialogue.item(t.index) : nullptr;
  }
  return nullptr;
}

QRect KeyboardPlay::rectOf(QWidget* w) const {
  QWidget* box = game_.PictureBox;
  if (!w || !box->isAncestorOf(w)) return {};
  return QRect(w->mapTo(box, QPoint(0, 0)), w->size());
}

// What a mouse could press: shown, enabled, and at least partly on the
// picture. Items count while the bar waits above the picture: focusing one
// brings the bar down.
bool KeyboardPlay::clickable(QWidget* w) const {
  if (!w || w->isHidden() || !w->isEnabled()) return false;
  for (QWidget* p = w->parentWidget(); p && p != game_.PictureBox; p = p->parentWidget())
    if (p->isHidden()) return false;
  return w->parentWidget() == game_.Inventory1 || rectOf(w).intersects(game_.PictureBox->rect());
}

std::optional<FocusTarget> KeyboardPlay::focused() const {
  if (!focus_ || !clickable(widgetOf(*focus_))) return std::nullopt;
  return focus_;
}

void KeyboardPlay::moveFocus(bool forward) {
  const auto chain = focusChain();
  if (chain.empty()) {
    setFocusTarget(std::nullopt);
    return;
  }
  const auto current = focused();
  auto at = current ? std::find(chain.begin(), chain.end(), *current) : chain.end();
  std::size_t next;
  if (at == chain.end()) {
    next = forward ? 0 : chain.size() - 1;
  } else {
    const std::size_t i = static_cast<std::size_t>(at - chain.begin());
    next = forward ? (i + 1) % chain.size() : (i + chain.size() - 1) % chain.size();
  }
  setFocusTarget(chain[next]);
}

void KeyboardPlay::setFocusTarget(std::optional<FocusTarget> target) {
  const bool wasItem = focus_ && focus_->kind == FocusKind::Item;
  const bool isItem = target && target->kind == FocusKind::Item;
  focus_ = target;
  refresh();
  // The bar comes down for its items, as it does for the pointer, and goes
  // away again when the ring leaves them.
  if (isItem) game_.inventory().setMotion(logic::InventoryMotionKind::Show);
  else if (wasItem) game_.inventory().setMotion(logic::InventoryMotionKind::Hide);
}

bool KeyboardPlay::activate() {
  const auto target = focused();
  if (!target || covered_) return false;
  if (carriedItem() > 0) {
    dropOn(*target);
  } else if (target->kind == FocusKind::Item) {
    pickUp(target->index);
  } else {
    click(widgetOf(*target));
  }
  refresh();
  return true;
}

int KeyboardPlay::carriedItem() const {
  // Items move down when one before them goes: a carried item is only still
  // carried while it is where it was and carries the same name.
  if (carried_ < 1 || carried_ > game_.state().ObjectsCount || game_.inventory().itemName(carried_) != carriedName_) return 0;
  return carried_;
}

void KeyboardPlay::pickUp(int item) {
  // As a press on the item starts a drag.
  game_.state().StopMovie = true;
  game_.state().TransitionSkip = true;
  if (game_.video().OneTimeVideoPlaying()) return;
  game_.HideMenus();
  carried_ = item;
  carriedName_ = game_.inventory().itemName(item);
}

void KeyboardPlay::putBack() {
  carried_ = 0;
  carriedName_.clear();
  refresh();
}

void KeyboardPlay::dropOn(const FocusTarget& target) {
  const int item = carriedItem();
  carried_ = 0;
  carriedName_.clear();
  if (item < 1) return;
  QPointer<Game> alive(&game_);
  ++clicksRunning_;
  refresh();
  if (target.kind == FocusKind::Item) {
    // Dropped on itself it is only put back, as with the mouse.
    if (target.index != item) game_.inventory().DropItemOnItem(item, target.index);
  } else if (target.kind == FocusKind::Hotspot) {
    if (QWidget* w = widgetOf(target)) {
      const double x = w->width() / 2.0 * kTwipsPerPixel, y = w->height() / 2.0 * kTwipsPerPixel;
      if (w == game_.Area.item(target.index)) game_.logic().AreaDragDrop(target.index, item, x, y);
      else game_.logic().AniGifDragDrop(target.index, item, x, y);
    }
  }
  // Dropped on a question, it does nothing.
  if (!alive) return;
  --clicksRunning_;
  refresh();
}

// A left press and release in the middle of the control, sent to it as the
// window system sends a mouse click.
void KeyboardPlay::click(QWidget* w) {
  if (!w) return;
  // A transition captures the picture: without the ring, which stays away
  // until the click has been carried out (its waits let timers run).
  QPointer<Game> alive(&game_);
  ++clicksRunning_;
  refresh();
  QPointer<QWidget> target(w);
  const QPointF local(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, local, w->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  if (alive && target) {
    QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
  }
  if (!alive) return;
  --clicksRunning_;
  refresh();
}

std::vector<int> KeyboardPlay::outlinedHotspots() const {
  std::vector<int> shown;
  if (!outlining_) return shown;
  for (const FocusTarget& t : focusChain())
    if (t.kind == FocusKind::Hotspot) shown.push_back(t.index);
  return shown;
}

void KeyboardPlay::setOutlining(bool on) {
  outlining_ = on;
  refresh();
}

void KeyboardPlay::FrameChanged() {
  focus_.reset();
  putBack();
}

bool KeyboardPlay::setCovered(bool covered) {
  const bool was = covered_;
  covered_ = covered;
  refresh();
  return was;
}

void KeyboardPlay::refresh() {
  if (!overlay_) return;
  if (focus_ && !focused()) focus_.reset();
  const bool show = (outlining_ || focus_.has_value()) && clicksRunning_ == 0 && !covered_;
  if (!show) {
    overlay_->hide();
    refreshTimer_.stop();
    drawn_.clear();
    return;
  }
  // Hotspots move and controls come to the front while the ring shows: keep
  // on top, and draw again only when what is drawn has changed.
  QList<QRect> now;
  if (outlining_)
    for (int n : outlinedHotspots()) now << rectOf(widgetOf({FocusKind::Hotspot, n}));
  if (focus_) now << rectOf(widgetOf(*focus_)) << QRect(carriedItem(), 0, 0, 0);
  const QObjectList& siblings = game_.PictureBox->children();
  const bool onTop = !siblings.isEmpty() && siblings.last() == overlay_;
  if (!overlay_->isHidden() && onTop && now == drawn_) return;
  drawn_ = now;
  overlay_->setGeometry(game_.PictureBox->rect());
  overlay_->show();
  if (!onTop) overlay_->raise();
  overlay_->update();
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

}  // namespace qm::engine
