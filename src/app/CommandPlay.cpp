// quillmere [GAME_FOLDER]: the normal start of the player. Picks the game
// folder, starts the project, shows the welcome window and runs until the
// welcome window is unloaded.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Commands.h"
#include "app/GameArgument.h"
#include "engine/GameWindowLauncher.h"
#include "platform/DisplayConnection.h"
#include "platform/NativeName.h"
#include "startup/DisplayResolution.h"
#include "startup/GameLauncherFolder.h"
#include "startup/InstallLayout.h"
#include "startup/frmWelcome.h"

namespace qm::app {

namespace {

// Set in the environment, the player prints the moment the welcome window is
// first on screen, with where the time went, and ends there (the start-up
// benchmark uses it).
const char* const kProbeVariable = "QM_EXIT_WHEN_WELCOME_SHOWN";

// Milliseconds since the start of runPlay at the end of each start-up phase.
struct StartPhases {
  double folder = 0, display = 0, toolkit = 0, project = 0;
};

}  // namespace

int runPlay(int argc, char** argv, const std::string& gameFolder) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  StartPhases phases;
  auto now = [&sinceStart] { return static_cast<double>(sinceStart.nsecsElapsed()) / 1e6; };

  // A game's archive is unpacked first (once) and its folder played.
  const GameArgument given = gameFromArgument(platform::nameFromBytes(QByteArray(gameFolder.c_str())));
  if (!given.error.isEmpty()) {
    std::fprintf(stderr, "quillmere: %s\n", given.error.toUtf8().constData());
    return 2;
  }
  const QString programFolder = startup::ExecutableFolder();
  const startup::GameFolderChoice choice =
      startup::ChooseGameFolder(given.folder, programFolder, startup::BundledDemoFolder(programFolder));
  if (choice.folder.isEmpty()) {
    std::fprintf(stderr, "quillmere: %s\n", choice.error.toLocal8Bit().constData());
    return 2;
  }
  phases.folder = now();

  // Asked before the toolkit starts: it would abort with a core dump.
  const platform::DisplayCheck display = platform::CheckDisplay();
  if (!display.ok) {
    std::fprintf(stderr,
                 "quillmere: no display found (%s).\n"
                 "Set DISPLAY to a running X server, or use --walkthrough STEPS_FILE or --check GAME_FOLDER,\n"
                 "which need none.\n",
                 display.problem.toLocal8Bit().constData());
    return 2;
  }

  phases.display = now();

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quillmere"));
  // The welcome window hides while the game plays; only unloading it ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  const bool probe = std::getenv(kProbeVariable) != nullptr;

  // The game window is what Start brings up.
  engine::installGameWindowLauncher();

  int exitCode = 0;
  {
    startup::frmWelcome welcome;
    phases.toolkit = now();
    QObject::connect(&welcome, &startup::frmWelcome::unloaded, &app, [] { QCoreApplication::exit(0); });
    if (probe) {
      QObject::connect(&welcome, &startup::frmWelcome::firstPainted, &app, [&] {
        const double painted = now();
        std::printf(
            "welcome window shown after %.1f ms (game folder %.1f, display check %.1f, toolkit and window %.1f, "
            "project loaded and window shown %.1f, first paint %.1f)\n",
            painted, phases.folder, phases.display - phases.folder, phases.toolkit - phases.display,
            phases.project - phases.toolkit, painted - phases.project);
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    if (!welcome.Load(choice.folder)) {
      engine::releaseGameWindow();
      startup::RestoreDisplaySettings();
      return 1;
    }
    if (welcome.shouldShow()) welcome.show();
    phases.project = now();
    exitCode = QApplication::exec();
    engine::releaseGameWindow();
  }
  // Leaving puts the desktop back as it was found.
  startup::RestoreDisplaySettings();
  return exitCode;
}

}  // namespace qm::app
