// The program's commands. main() picks one from the command line; each lives in
// its own file.
#pragma once

#include <string>
#include <vector>

namespace qm::app {

using Args = std::vector<std::string>;

// quillmere [GAME_FOLDER]: the welcome window, then the game.
int runPlay(int argc, char** argv, const std::string& gameFolder);

// quillmere --walkthrough FILE [GAME_FOLDER] [--record OUT] [--fast]: plays a game headless
// from a list of steps; with a record file, records it as a video with sound; fast: on the
// virtual clock, as fast as the machine goes.
int runWalkthrough(int argc, char** argv, const std::string& stepsFile, const std::string& gameFolder,
                   const std::string& recordFile = {}, bool fast = false);

// quillmere --check GAME_FOLDER [--json]: reports what is broken in a game folder.
int runCheck(int argc, char** argv, const Args& args);

// quillmere --media-info FILE
int runMediaInfo(int argc, char** argv, const Args& args);

// quillmere --media-render FILE OUT.wav [--volume CENTIBELS] [--playcount N] [--seconds S]
int runMediaRender(int argc, char** argv, const Args& args);

}  // namespace qm::app
