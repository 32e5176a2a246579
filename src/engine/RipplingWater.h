// Rippling water and the real-time effects switch, owned by the game window.
//
// A frame with a .rwe file (the rectangle and the look of the waves) and a .rwm
// mask picture (dark where the water ripples, light where the picture stays as
// it is) gets rippling water over that part of its background picture:
// PicRipplingWater shows the animated result, redrawn every 30 ms by
// TimerRipplingWater from three work pictures (the untouched rectangle, the
// mask, and the rectangle with the dry part kept and the water white).
#pragma once

#include <QImage>
#include <QString>

#include "media/WaveRenderer.h"

namespace qm::engine {

class Game;

class Effects {
 public:
  explicit Effects(Game& game);

  // Sets up the effect of sFrameName when both its files exist; true when it
  // is ready to run (the frame opening then starts its clock and timer).
  bool LoadWaveEffectIfAny(const QString& sFrameName);
  // One animation step (TimerRipplingWater).
  void TimerRipplingWater_Timer();
  // The "Disable Real-Time Effects" switch, stored in the user's settings.
  void EnableOrDisableEffects();
  // True while effects are on.
  bool GetEffectsStatus() const;

  // Before a new frame: lets a step being drawn finish (at most 5 s), then
  // switches the effect off and hides it.
  void StopRipplingWater();
  // After the frame opening: restarts the wave clock and the timer.
  void StartRipplingWater();

  bool RippleActive = false;    // the effect of this frame is set up and may run
  bool RippleRendered = true;   // false while a step is being drawn
  int RippleParameter = 0;
  int RippleSpeed = 0;
  bool RippleReverse = false;

  // The wave clock (tests read and restart it).
  media::WaveRenderer& renderer() { return renderer_; }

 private:
  bool disabled() const;
  // Draws the water for the phase of now into PicRipplingWater.
  void drawStep(int w, int h);
  void waitForStep();

  Game& game_;
  media::WaveRenderer renderer_;
  QImage original_;  // PicOriginal: the rectangle as the background shows it
  QImage masked_;    // PicMasked: dry pixels as they are, water pixels white
  QImage mask_;      // PicMask
  QImage water_;     // PicRipplingWater's picture
};

}  // namespace qm::engine
