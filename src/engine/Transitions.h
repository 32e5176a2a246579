// Frame transitions and frame captures, owned by the game window.
//
// A frame change with a transition comes in two halves around the loading of
// the new frame: TransitionStep1 photographs the old frame and covers the
// frame area with that picture while the new frame loads underneath;
// TransitionStep2 composes the new frame off-screen, animates from the old
// picture to the new one (RenderTransition) and uncovers the real frame. A
// frame change that ends before its second step (the frame could not be
// opened, the game stopped) is abandoned instead: the real frame is uncovered
// all the same.
// picStart holds the old picture, picEnd the new one, and picWhere, placed
// over the frame picture, shows each pass of the animation.
//
// The animation runs on the user-interface thread and lets window events run
// on every pass; a click or Esc sets TransitionSkip, which ends it at the next
// pass. It is timed by the clock: a 1.5 s transition lasts 1.5 s whatever the
// machine.
#pragma once

#include <QImage>
#include <functional>

#include "engine/TransitionRiders.h"

namespace qm::engine {

class Game;
class PictureBoxControl;

class Transitions {
 public:
  explicit Transitions(Game& game);

  // Window load: the three transition boxes start hidden and empty.
  void PrepareTransitions();

  // What the player shows of the frame picture (inventory hidden) into PicBox.
  // In a window partly outside the desktop work area, the parts outside stay black.
  void CaptureActualFrame(PictureBoxControl& PicBox);
  // The frame composed from its parts, without reading the screen: background,
  // text boxes, hotspot pictures, still images of the animated pictures and the
  // rippling water.
  void CaptureCurrentFrame(PictureBoxControl& PicBox);

  void TransitionStep1(int iTransNumber);
  void TransitionStep2(int iTransNumber, double dTransitionDuration);
  // A frame change that TransitionStep1 began and whose new frame did not
  // open (a missing or damaged frame, a failure, a quit while it loaded): the
  // real frame comes back in sight, the lifted components go back on it and,
  // unless the game is stopping, the paused ones play on. Nothing when no
  // transition is pending.
  void AbandonTransition() noexcept;
  // TransitionStep1 has covered (or photographed) the frame and no second step
  // or abandon has ended it yet.
  bool pending() const { return pending_; }
  // Animates from picStart to picEnd on picWhere.
  void RenderTransition(int iTransNumber, double dTransitionDuration);

  // The "Disable Transitions" switch, stored in the user's settings.
  void EnableOrDisableTransitions();
  // True while transitions are on.
  bool GetTransitionsStatus() const;

  // Called after each pass with the pass's fraction 0..1 (tests, recording).
  std::function<void(double fraction)> onPass;
  // Passes drawn by the last RenderTransition.
  int lastPassCount() const { return passes_; }

 private:
  bool disabled() const;
  // Hides and empties the three boxes, puts the lifted components back and
  // lets the keyboard's outlines show again.
  void uncover();
  // The picture shown on picWhere for a fraction of the way.
  void showPass(int iTransNumber, double fraction);

  Game& game_;
  TransitionRiders riders_;  // components that stay in sight during a transition
  bool AlphaBlendWarningShown = false;
  QImage pass_;  // the picture of the current pass, in the screen's format
  int passes_ = 0;
  bool pending_ = false;
};

}  // namespace qm::engine
