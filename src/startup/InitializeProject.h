// The project start-up: paths, components, interface texts, project
// information, and at the end the CD index. The steps that belong to other
// parts of the player (display settings, component registration, the
// large-fonts question) are installed as hooks by those parts; a missing hook
// is skipped.
#pragma once

#include <QString>
#include <functional>

namespace qm::startup {

struct StartupHooks {
  std::function<void()> recordDisplaySettings;
  std::function<void(const QString& componentFile)> registerComponent;
  std::function<bool()> displayUsesLargeFonts;
};

void setStartupHooks(StartupHooks hooks);
StartupHooks& startupHooks();

enum class StartupResult {
  Ready,       // go on to the welcome window
  EndProgram,  // Config/General missing, or the player declined to go on with large fonts
};

// Runs the start-up sequence for the game in projectFolder. A failing step is
// skipped and the next one runs.
StartupResult InitializeProject(const QString& projectFolder);

}  // namespace qm::startup
