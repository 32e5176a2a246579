#include "engine/SoundChannelTable.h"

namespace qm::engine {

bool SoundChannelTable::applyFrameRecords(const std::vector<FrameSoundRecord>& records) {
  bool anyFade = false;
  const std::size_t n = std::min<std::size_t>(records.size(), kChannels);
  for (std::size_t i = 0; i < n; ++i) {
    const FrameSoundRecord& r = records[i];
    SoundChannel& c = channels_[i];
    const bool takes = (r.action > 1 && c.action < 2) || (!r.file.isEmpty() && c.soundFile.isEmpty());
    if (!takes) continue;
    c.action = r.action;
    c.fade = r.fade;
    c.loop = r.loop;
    c.startVolume = c.targetVolume;
    c.targetVolume = r.volume;
    c.soundFile = r.file;
    c.keepIfPlaying = true;
    if (r.fade) anyFade = true;
  }
  return anyFade;
}

void SoundChannelTable::storeHotspotRecord(int n, const FrameSoundRecord& r) {
  SoundChannel& c = channel(n);
  c.action = r.action;
  c.fade = r.fade;
  c.loop = r.loop;
  c.startVolume = c.targetVolume;
  c.targetVolume = r.volume;
  c.soundFile = r.file;
  c.keepIfPlaying = false;
}

void SoundChannelTable::clearPending() {
  for (SoundChannel& c : channels_) {
    c.action = 0;
    c.fade = false;
    c.soundFile.clear();
  }
}

std::array<SoundChannel, SoundChannelTable::kChannels> SoundChannelTable::initial() {
  std::array<SoundChannel, kChannels> a{};
  for (int i = 0; i < kChannels; ++i) a[i].player = i + 1;
  return a;
}

void SoundChannelTable::reset() {
  channels_ = initial();
  fadeSeconds = 0;
}

}  // namespace qm::engine
