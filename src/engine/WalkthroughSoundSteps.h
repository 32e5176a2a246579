// Walkthrough checks of what the game's media players play:
//
//   expect channel N "FILE" [VOLUME]   sound channel N's player plays FILE (at VOLUME)
//   expect playing "FILE" [VOLUME]     some player of the game plays FILE (at VOLUME)
//   expect stopped "FILE"              no player of the game plays FILE
//
// FILE is a file name without its folder, in any letter case; VOLUME is the
// player's Volume in hundredths of a decibel (0 full, -1200 for level 7).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qm::engine {

class Game;

// nullopt when the words are not a sound check; else "" when it holds, or why not.
std::optional<QString> expectSound(Game* game, const QStringList& words);

}  // namespace qm::engine
