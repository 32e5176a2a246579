// The scripts' components that stay in sight while the frame picture changes.
//
// A component added with "appear during transitions" is lifted off the frame
// picture onto picWhere, the picture that shows the transition, for as long as
// the transition runs: in a cross-fade it stands still over the fading
// pictures; in a slide it rides on the new picture coming in, so that it ends
// where it stood. One added with "disappear before alphablending" as well is
// lifted before the old picture is photographed for a cross-fade, so the old
// picture does not show it. Components without the flag stay on the frame
// picture, under the transition.
//
// The components' own Left and Top do not change: only their place on the
// screen follows the moving picture, and each goes back to the frame picture,
// at its place and in its layer, when the transition ends (or is abandoned).
#pragma once

#include <QPoint>
#include <QPointer>
#include <vector>

#include "media/TransitionPass.h"

namespace qm::engine {

class Game;
class VbControl;

class TransitionRiders {
 public:
  explicit TransitionRiders(Game& game);

  // Before the old picture is photographed: for a cross-fade, lift the
  // components that disappear before it.
  void liftBeforeCapture(media::TransitionKind kind);
  // After the photograph: lift the other components that appear during the
  // transition (every animated kind).
  void liftAfterCapture(media::TransitionKind kind);
  // Each pass: place the lifted components where the new picture is.
  void follow(media::TransitionKind kind, double fraction);
  // Put every lifted component back on the frame picture.
  void putBack();

  bool empty() const { return riders_.empty(); }

 private:
  struct Rider {
    QPointer<VbControl> control;
    QPointer<QWidget> focus;  // the widget of the component that had the keyboard
  };
  void lift(bool disappearBeforeCrossFade);

  Game& game_;
  std::vector<Rider> riders_;
  // The frame picture's widgets from bottom to top when the first one was lifted.
  std::vector<QPointer<QWidget>> layers_;
};

}  // namespace qm::engine
