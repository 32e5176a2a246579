// Whether a piece of script code ran. Every entry point of the script host and
// of the game logic that runs code answers with it, so "it failed" always
// reads the same way and cannot be dropped unnoticed.
#pragma once

namespace qm::script {

enum class [[nodiscard]] ScriptResult {
  Ok,      // the code ran (or, for a rebuild, the engine is ready to run it)
  Failed,  // the failure has had its message; its requests must not be acted on
};

}  // namespace qm::script
