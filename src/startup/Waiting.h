// Waiting while the game runs.
#pragma once

namespace qm::startup {

// Waits the given seconds, or until GameStopped becomes true; window events
// run on every turn unless noEvents.
void WaitSeconds(double seconds, bool noEvents);

}  // namespace qm::startup
