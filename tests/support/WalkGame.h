// Plays a game folder with the walkthrough runner, as `quillmere --walkthrough`
// does, but inside the test program so that the test can look at the game.
#pragma once

#include <QString>

#include "platform/RecordingDialogService.h"

namespace qm::testing {

// Runs the steps on the game in the folder; returns what the runner printed and
// stores the number of failed steps in *failed.
QString walkGame(platform::RecordingDialogService& dialogs, const QString& folderRoot, const QString& steps,
                 int* failed);

}  // namespace qm::testing
