#pragma once
// Calls the game logic makes into parts of the player that are built
// elsewhere (video, plug-in variables) and that the game window's own seams do not cover. Each has a plain default
// that keeps a game playable until its part takes it over.

#include <QString>
#include <vector>

#include "logic/ActionRecord.h"

namespace qm::engine {
class Game;
}

namespace qm::logic::seams {

// ---- Video ----------------------------------------------------------------------------
// A video started with a stop request is on (clicks are then ignored).
bool MovieWithStopOn(engine::Game& game);

}  // namespace qm::logic::seams

namespace qm::logic {
struct PluginVariableNames;
}
namespace qm::logic::seams {
// ---- Plug-ins -------------------------------------------------------------------------
// The integer and variant variable names each loaded plug-in declares, in plug-in order.
std::vector<PluginVariableNames> PluginVariables(engine::Game& game);
}  // namespace qm::logic::seams
