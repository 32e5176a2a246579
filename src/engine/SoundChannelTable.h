// The seven sound channels' pending work: what frames and hotspot actions ask
// each channel to do next. The sound layer performs the entries (playing,
// stopping, fading) when a frame has opened or an action has finished.
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "engine/FrameFile.h"

namespace qm::engine {

struct SoundChannel {
  int action = 0;            // 0 nothing pending, 1 no action, 2 play, 3 stop, 4 volume
  bool fade = false;
  bool loop = false;
  double startVolume = 0;    // 0..10
  double targetVolume = 0;   // 0..10
  QString soundFile;         // relative to Areas\ ("" = none)
  bool keepIfPlaying = false;
  int player = 0;            // MPlayer index the channel uses now (1..7)
  int previousPlayer = 0;    // during a cross-fade, the player of the old sound
};

class SoundChannelTable {
 public:
  static constexpr int kChannels = 7;

  // Channel 1..7.
  SoundChannel& channel(int n) { return channels_.at(n - 1); }
  const SoundChannel& channel(int n) const { return channels_.at(n - 1); }

  // A frame's records: record n is for channel n (records past the seventh are
  // ignored). A record takes its channel only when it asks for more than "no
  // action" and nothing is pending there yet, or when it names a file and the
  // channel has none. Returns true when an applied record fades (the fade
  // duration of the frame then applies).
  bool applyFrameRecords(const std::vector<FrameSoundRecord>& records);

  // A hotspot action's record for channel n (1..7) always replaces what is
  // pending there, and a playing file is restarted.
  void storeHotspotRecord(int n, const FrameSoundRecord& record);

  // The pending records were performed: nothing is pending any more; each
  // channel keeps its volume (the next record starts from it) and its player.
  void clearPending();

  // Game reset: channel n uses player n, nothing pending, volumes 0.
  void reset();

  // Fade duration for the pending fades, seconds.
  double fadeSeconds = 0;

 private:
  std::array<SoundChannel, kChannels> channels_ = initial();
  static std::array<SoundChannel, kChannels> initial();
};

}  // namespace qm::engine
