// Walkthrough steps that answer the CD prompt:
//   cd "PATH"   picks the folder PATH (relative to the current directory) with
//               the prompt's "Choose folder…" line and presses OK
//   cd cancel   presses Cancel
// Both answer the next prompt the game shows.
#pragma once

#include <QStringList>
#include <optional>

namespace qm::platform {
class RecordingDialogService;
}

namespace qm::engine {

// nullopt when the step is not one of these; else "" on success or the reason it failed.
std::optional<QString> runCdStep(const QStringList& words, platform::RecordingDialogService& dialogs);

}  // namespace qm::engine
