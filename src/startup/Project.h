// The project-wide state filled at start-up: paths, project information,
// interface texts, the current frame header and the stopped flag.
#pragma once

#include <QString>

#include "startup/FrameHeader.h"
#include "startup/InterfaceTexts.h"
#include "startup/ProjectInformation.h"
#include "startup/ProjectPaths.h"

namespace qm::startup {

struct Project {
  ProjectPaths paths;
  ProjectInformation info;
  InterfaceTexts texts;
  FrameHeader frame;
  bool gameStopped = false;  // GameStopped: the game is stopping or the window unloading
  bool running = false;      // set at start-up, cleared when the game window unloads
  // Set when the project information failed to load: its name may be
  // garbage, so no per-user settings are written under it.
  bool informationBroken = false;
};

// The one instance.
Project& project();

// Computes the paths of the game in that folder.
void setProjectFolder(const QString& folder);

// Puts the whole state back to its initial values (tests).
void resetProjectForTests();

// Shorthands used all over the player.
inline const QString& CurrentFrameName() { return project().frame.name; }
inline bool GameStopped() { return project().gameStopped; }
inline void SetGameStopped(bool stopped) { project().gameStopped = stopped; }
inline QString InterfaceText(int index) { return project().texts.text(index); }

}  // namespace qm::startup
