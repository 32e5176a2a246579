#include "media/VirtualClockMixing.h"

#include <cstdint>

#include "media/AudioFormat.h"
#include "media/AudioMixer.h"
#include "platform/Clock.h"

namespace qm::media {

namespace {
// The output frame that sounds at `ns` (from the start of the program).
std::int64_t frameAt(qint64 ns) { return static_cast<std::int64_t>(static_cast<__int128>(ns) * kOutputRate / 1'000'000'000); }
std::int64_t gMixedTo = 0;  // frames mixed so far
int gListener = 0;          // the clock's listener that mixes
}  // namespace

void mixOnVirtualClock() {
  platform::Clock& clock = platform::Clock::instance();
  if (!clock.isVirtual()) return;
  clock.removeAdvanceListener(gListener);
  AudioMixer::instance().setManualClock(true);
  gMixedTo = frameAt(clock.nsecs());
  gListener = clock.addAdvanceListener([](qint64 ns) {
    const std::int64_t target = frameAt(ns);
    if (target <= gMixedTo) return;
    AudioMixer::instance().render(static_cast<int>(target - gMixedTo));
    gMixedTo = target;
  });
}

}  // namespace qm::media
