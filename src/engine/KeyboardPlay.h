// Playing without a mouse, and seeing what can be clicked.
//
//   Tab / Shift+Tab   move a focus ring between what can be clicked: the visible
//                     hotspots of the frame in reading order (lines top to
//                     bottom, each left to right), then the inventory items in
//                     bar order, then the dialogue questions
//   Enter or Space    clicks the focused hotspot or question, through the same
//                     mouse handlers a click uses; on an item, Enter picks the
//                     item up, and the next Enter drops it on the focused
//                     hotspot or item (Enter on the item itself puts it back)
//   outline key       held, outlines every hotspot that can be clicked; Space
//                     unless the per-game setting "OutlineKey" names another
//   Alt+Enter         switches between full screen and a window; the choice
//                     is kept in the per-game setting "WindowedPlay"
//
// Space is both the click key and the usual outline key. A short press (under
// kHoldMilliseconds) clicks the focused hotspot; held longer, it outlines
// instead and clicks nothing. With nothing focused, Space outlines at once.
//
// A mouse player sees none of this: the ring and the outlines are drawn on an
// overlay over the frame that lets every mouse event through and is hidden
// until a key asks for it. Nor is it part of the frame's pictures: a
// transition photographs the frame without it and plays with it out of sight,
// and while the old picture covers the frame the keys, like the mouse, cannot
// reach the frame loading underneath. Esc keeps its meaning (it also puts a carried item back). The focus is
// forgotten whenever a frame opens.
#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QRgb>
#include <QString>
#include "platform/GameTimer.h"
#include <optional>
#include <vector>

class QKeyEvent;
class QWidget;

namespace qm::engine {

class Game;
class FocusOverlay;

// The order in which a reader meets boxes: lines from top to bottom, each from
// left to right. A box joins the line of the box above it when its top lies
// above that line's first box's middle. Returns indices into `boxes`.
std::vector<int> readingOrder(const std::vector<QRect>& boxes);

enum class FocusKind { Hotspot, Item, Question };

struct FocusTarget {
  FocusKind kind = FocusKind::Hotspot;
  int index = 0;  // hotspot number, item number or question number (1-based)
  bool operator==(const FocusTarget&) const = default;
};

// Colours of the overlay (pixel checks read them).
inline constexpr QRgb kOutlineColour = qRgb(255, 214, 0);
inline constexpr QRgb kFocusRingColour = qRgb(0, 190, 255);

class KeyboardPlay {
 public:
  // A press of Space held at least this long outlines instead of clicking.
  static constexpr int kHoldMilliseconds = 250;

  explicit KeyboardPlay(Game& game);
  ~KeyboardPlay();
  KeyboardPlay(const KeyboardPlay&) = delete;
  KeyboardPlay& operator=(const KeyboardPlay&) = delete;

  // Keys of the game window; true when the key was keyboard play's and must
  // go no further.
  bool keyPressed(const QKeyEvent& event);
  bool keyReleased(const QKeyEvent& event);

  // What Tab visits now, in order.
  std::vector<FocusTarget> focusChain() const;
  // The focused target, when it can still be clicked.
  std::optional<FocusTarget> focused() const;
  void moveFocus(bool forward);
  // Enter: clicks, picks up or drops. False when nothing is focused or the
  // frame is covered.
  bool activate();
  // The item picked up by Enter (0: none).
  int carriedItem() const;
  void setOutlining(bool on);
  bool outlining() const { return outlining_; }
  // The hotspots outlined now (those the outline key shows).
  std::vector<int> outlinedHotspots() const;
  // A frame opened: its hotspots are new, the focus starts afresh.
  void FrameChanged();
  // While the frame is covered (a transition photographs it and animates over
  // it), the ring and the outlines stay out of sight, and Tab, Shift+Tab, Enter
  // and Space do nothing to what lies under the cover (Esc and a click still
  // end the transition). The ring and the outlines come back, on whatever frame
  // is then shown, once it is uncovered. Returns the last state.
  bool setCovered(bool covered);

  // The key that outlines (a Qt key code), from the per-game settings.
  int outlineKey();

 private:
  friend class FocusOverlay;
  QWidget* widgetOf(const FocusTarget& t) const;
  // Where a target lies on the frame picture (pixels).
  QRect rectOf(QWidget* w) const;
  bool clickable(QWidget* w) const;
  void click(QWidget* w);
  void dropOn(const FocusTarget& target);
  void pickUp(int item);
  void putBack();
  void outlineKeyDown();
  void outlineKeyUp();
  void refresh();
  void setFocusTarget(std::optional<FocusTarget> target);

  Game& game_;
  QPointer<FocusOverlay> overlay_;
  std::optional<FocusTarget> focus_;
  int carried_ = 0;
  QString carriedName_;
  bool outlining_ = false;
  bool outlineKeyHeld_ = false;
  bool covered_ = false;
  QList<QRect> drawn_;  // what the overlay shows: outlines, then the ring and the carried item
  int clicksRunning_ = 0;  // clicks and drops being carried out (they may nest)
  // Game-clock timers: a walkthrough on the virtual clock holds keys in game time.
  platform::GameTimer holdTimer_;
  platform::GameTimer refreshTimer_;
  QString outlineKeyFor_;  // the project whose setting outlineKey_ holds
  int outlineKey_ = 0;
};

}  // namespace qm::engine
