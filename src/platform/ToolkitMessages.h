// The toolkit's own warnings that say nothing to a player. Without a screen
// every run printed two of them; stderr is kept for the player's messages.
#pragma once

#include <QString>

namespace qm::platform {

// True for the known harmless warnings of headless runs: the missing
// XDG_RUNTIME_DIR notice and the offscreen plugin's "does not support raise()".
bool IsHarmlessToolkitMessage(const QString& message);

// Drops those messages from now on; every other message goes where it went before.
void FilterHarmlessToolkitMessages();

}  // namespace qm::platform
