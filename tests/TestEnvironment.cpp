// Every test program's environment, set before main: a headless toolkit, silent
// sound, and the user's data folder (saved-game previews, settings written by
// the player) inside the build folder, never the real one. ctest passes the same
// variables, but a test discovered in a GoogleTest program only receives the
// first of them, and a program may also be started by hand.
#include <cstdlib>

namespace {

const bool kEnvironmentSet = [] {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // the real-window lane chooses its own
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("QM_SOURCE_DIR", QM_SOURCE_DIR, 0);
  setenv("QM_BINARY_DIR", QM_BINARY_DIR, 0);
  setenv("XDG_DATA_HOME", QM_BINARY_DIR "/test-data-home", 1);
  return true;
}();

}  // namespace
