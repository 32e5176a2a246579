// Loudness as the media players take it: hundredths of a decibel, 0 full,
// negative quieter, -10000 or lower silent. Games speak of a level from 0 to 10
// instead; fromLevel is the one place where a level becomes centibels.
#pragma once

#include <algorithm>
#include <cmath>

#include "media/AudioFormat.h"

namespace qm::media {

struct Centibels {
  int value = 0;
  friend bool operator==(Centibels, Centibels) = default;
};

// Level 0..10 to centibels: (level - 10) x 400, rounded to the nearest whole
// number with halves to even (10 -> 0, 8 -> -800, 7 -> -1200, 0 -> -4000).
// Levels above 10 play at full volume and levels far below 0 are silent: a
// player cannot go louder than full or quieter than silence. Not-a-number is
// taken as 0 (the quietest level a game means).
inline Centibels fromLevel(double level) {
  if (std::isnan(level)) level = 0.0;
  const double cb = std::nearbyint((level - 10.0) * 400.0);
  return Centibels{static_cast<int>(std::clamp(cb, static_cast<double>(kQuietestVolume), 0.0))};
}

}  // namespace qm::media
