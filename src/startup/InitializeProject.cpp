#include "startup/InitializeProject.h"

#include "distribution/RunFromCD.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "startup/FileProcedures.h"
#include "startup/InterfaceTexts.h"
#include "startup/Project.h"
#include "startup/ProjectInformationFile.h"

namespace qm::startup {
namespace {

// Runs one step; a failing step is skipped.
template <typename F>
void step(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

StartupHooks& startupHooks() {
  static StartupHooks hooks;
  return hooks;
}

void setStartupHooks(StartupHooks hooks) { startupHooks() = std::move(hooks); }

StartupResult InitializeProject(const QString& projectFolder) {
  Project& p = project();
  const StartupHooks& hooks = startupHooks();
  p.running = true;
  step([&] {
    if (hooks.recordDisplaySettings) hooks.recordDisplaySettings();
  });
  step([&] { setProjectFolder(projectFolder); });
  step([&] {
    if (!hooks.registerComponent) return;
    for (const QString& name : ListFiles(p.paths.plugins, QStringLiteral("*.ocx"))) {
      step([&] { hooks.registerComponent(p.paths.plugins + name); });
    }
  });
  step([&] {
    if (!platform::fileExists(p.paths.config + QStringLiteral("Texts"))) SetDefaultInterfaceTexts(false);
  });
  step([&] { ClearFrameHeader(); });
  step([&] { LoadInterfaceTexts(); });

  const QString general = p.paths.config + QStringLiteral("General");
  if (!platform::fileExists(general)) {
    platform::messageBox(InterfaceText(33) + u' ' + general, platform::MsgButtons::OK, platform::MsgIcon::Warning,
                         InterfaceText(29));
    return StartupResult::EndProgram;
  }

  bool goOn = true;
  step([&] {
    if (!hooks.displayUsesLargeFonts || !hooks.displayUsesLargeFonts()) return;
    const auto answer =
        platform::messageBox(InterfaceText(40) + QStringLiteral("\r\n\r\n") + InterfaceText(41),
                             platform::MsgButtons::YesNo, platform::MsgIcon::Warning, QStringLiteral("!!!"), 1);
    if (answer == platform::MsgResult::No) goOn = false;
  });
  if (!goOn) return StartupResult::EndProgram;

  step([&] { LoadProjectInformation(); });
  step([&] { distribution::runFromCD().LoadCDIndex(); });
  return StartupResult::Ready;
}

}  // namespace qm::startup
