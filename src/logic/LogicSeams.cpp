#include "logic/LogicSeams.h"

#include "engine/Game.h"
#include "engine/GameSeams.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::logic::seams {

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
