// The rippling-water renderer: a restartable time base, a rippled redraw of a
// picture for a phase, and a masked merge that puts unmasked pixels back.
//
// The ripples refract: the water surface is a sum of a few travelling sine
// waves, and every pixel shows the source pixel its surface slope bends the
// view towards, a little lighter or darker by that slope, as light on moving
// water. Nothing is allocated per step once the renderer has seen the size.
#pragma once

#include <QImage>
#include <vector>

#include "platform/Clock.h"

namespace qm::media {

// How a wave pattern looks.
struct WaveShape {
  int strength = 10;      // how far the view bends, in pixels (1..24)
  int waves = 4;          // travelling waves added together (1..4)
  double angle = 90.0;    // direction the main wave runs, degrees (90: down the picture)
};

class WaveRenderer {
 public:
  // Restarts the time base at 0.
  void restartClock();
  // Milliseconds since the last restart (0 before the first); grows steadily.
  qint64 elapsed() const;

  // Phase for a time: d × 4^((speed + 2) / 10) / 300 × elapsed milliseconds,
  // d = -1 for waves running the other way. Speed 8 gives the factor 4.
  static float phaseFor(int speed, bool reverse, qint64 elapsedMs);

  // Draws the rippled image of source's rectangle (0, 0, w, h) into dest's
  // (0, 0, w, h). Both must be Format_RGB32 or ARGB32 at least w × h; smaller
  // pictures narrow the rectangle.
  void wave(QImage& dest, const QImage& source, int w, int h, const WaveShape& shape, float phase);

  // Puts back the pixels the mask leaves dry: where the mask is light (grey
  // level 128 or more), dest takes masked's pixel; where it is dark, dest keeps
  // its ripples. Sizes as for wave().
  static void fastMask(QImage& dest, const QImage& masked, const QImage& mask, int w, int h);

 private:
  platform::ElapsedClock clock_;
  // Per-wave row and column tables, kept between steps.
  std::vector<float> colSin_, colCos_, rowSin_, rowCos_;
};

}  // namespace qm::media
