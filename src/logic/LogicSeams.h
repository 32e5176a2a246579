#pragma once
// Calls the game logic makes into parts of the player that are built
// elsewhere (animated pictures, inventory, video) and
// that the game window's own seams do not cover. Each has a plain default
// that keeps a game playable until its part takes it over.

#include <QString>
#include <vector>

#include "logic/ActionRecord.h"

namespace qm::engine {
class Game;
}

namespace qm::logic::seams {

// ---- Animated pictures ------------------------------------------------------
// Creates the animated picture (and the box holding it) that stands in for
// hotspot n; returns its index in AniGif/AniGifBox (0 when none was made).
int AniGifNewWithIndex(engine::Game& game, int n, const QString& nativePath, double left, double top, int speed);
void StopAnimation(engine::Game& game, int link);
void StartAnimation(engine::Game& game, int link);

// ---- Inventory -----------------------------------------------------------------
void PickOrNotPickObject(engine::Game& game, int areaIndex);
void AddPickedObject(engine::Game& game, const QString& objectName, bool bDoNotPopup);
void RemovePickedObject(engine::Game& game, int objectIndex);
// The name carried by inventory item objectIndex.
QString PickedObjectName(engine::Game& game, int objectIndex);

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
