// The game named on the command line: a game folder as it is, or an archive
// (recognized by its content, whatever its name) unpacked into the cache and
// the game folder found in it.
#pragma once

#include <QString>

namespace qm::app {

struct GameArgument {
  QString folder;  // the folder to play (native path), or the argument unchanged when it is no file
  QString error;   // why an archive cannot be played; empty otherwise
};

GameArgument gameFromArgument(const QString& nativePath);

}  // namespace qm::app
