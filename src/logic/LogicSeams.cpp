#include "logic/LogicSeams.h"

#include "engine/Game.h"
#include "engine/GameSeams.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::logic::seams {

void PickOrNotPickObject(engine::Game&, int) {}
void AddPickedObject(engine::Game&, const QString&, bool) {}
void RemovePickedObject(engine::Game&, int) {}

QString PickedObjectName(engine::Game& game, int objectIndex) {
  return game.PickedObject.exists(objectIndex) ? game.PickedObject[objectIndex].tag() : QString();
}

bool ChannelPlaying(engine::Game& game, int channel) {
  const int player = game.SoundChannels.channel(channel).player;
  return game.MPlayer.exists(player) && game.MPlayer[player].playState() == 2;
}

void StoreHotspotSoundRecord(engine::Game& game, int channel, const SoundChannelRecord& record) {
  game.SoundChannels.storeHotspotRecord(
      channel, engine::FrameSoundRecord{record.action, record.fade, record.loop, record.volume, record.soundFile});
}

void SetFadeDuration(engine::Game& game, double seconds) { game.SoundChannels.fadeSeconds = seconds; }

void PlayLegacySoundBlock(engine::Game& game, const LegacySoundBlock& block) {
  int channel = 0;
  for (const auto& entry : block.entries) {
    ++channel;
    if (entry.stop) engine::seams::StopChannel(game, channel);
    if (entry.play && !entry.soundFile.isEmpty()) {
      const QString located = startup::LocateMediaFile(startup::project().paths.areas + entry.soundFile);
      engine::seams::PlayOnChannel(game, channel, platform::resolveExisting(located).value_or(located),
                                   entry.loop ? 0 : 1, 8);
    }
  }
}

bool MovieWithStopOn(engine::Game& game) { return game.VideoStarting; }

}  // namespace qm::logic::seams

#include "logic/VariableStore.h"
#include "script/Plugins.h"

namespace qm::logic::seams {
std::vector<PluginVariableNames> PluginVariables(engine::Game&) {
  std::vector<PluginVariableNames> out;
  for (const auto& plugin : script::PluginTable()) out.push_back({plugin.integerVariables, plugin.variantVariables});
  return out;
}
}  // namespace qm::logic::seams
