// The one sound format inside the media layer: interleaved stereo float samples at 44.1 kHz.
// Every decoder converts to it; the mixer sums it; outputs take it as it is.
#pragma once

namespace qm::media {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

// Volume is given in hundredths of a decibel: 0 is full loudness, -2000 is a tenth of the amplitude.
constexpr int kQuietestVolume = -10000;

inline double gainForVolume(int centibels);

}  // namespace qm::media

#include <cmath>

inline double qm::media::gainForVolume(int centibels) {
  if (centibels >= 0) return 1.0;
  if (centibels <= kQuietestVolume) return 0.0;
  return std::pow(10.0, centibels / 2000.0);
}
