// quillmere --walkthrough STEPS_FILE [GAME_FOLDER] [--record OUT] [--fast]: plays
// a game without a screen or sound device from a list of steps and reports each
// step; with --record, the run is recorded as a video with sound; with --fast,
// the game runs on a virtual clock that waits for nothing.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <optional>

#include "app/Commands.h"
#include "app/EventLoopStallMeter.h"
#include "app/GameArgument.h"
#include "app/WalkthroughRecording.h"
#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/GameWindowLauncher.h"
#include "engine/Walkthrough.h"
#include "media/VirtualClockMixing.h"
#include "platform/Clock.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/NativeName.h"
#include "platform/RecordingDialogService.h"
#include "platform/SettingsStore.h"
#include "startup/InstallLayout.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"
#include "vbscript/ScriptClock.h"

namespace qm::app {

namespace {

const char* const kStallMeterVariable = "QM_STALL_METER";

bool holdsGame(const QString& folder) {
  return platform::fileExists(QDir(folder).filePath(QStringLiteral("Config/General")));
}

// The game folder: as given; else the steps file's folder when it holds a game;
// else the player's own folder when it does; else the bundled demo game.
QString chooseGameFolder(const QString& given, const QString& stepsFile) {
  if (!given.isEmpty()) return given;
  const QString stepsFolder = QFileInfo(stepsFile).absolutePath();
  if (holdsGame(stepsFolder)) return stepsFolder;
  const QString own = QCoreApplication::applicationDirPath();
  if (holdsGame(own)) return own;
  return startup::BundledDemoFolder(own);
}

// Scripts read the time of day on the game clock too: it starts at the real
// time the run begins and moves on with virtual time.
void scriptsOnVirtualTime() {
  const QDateTime start = QDateTime::currentDateTime();
  const double startSerial =
      static_cast<double>(QDate(1899, 12, 30).daysTo(start.date())) + start.time().msecsSinceStartOfDay() / 86'400'000.0;
  const qint64 startNs = platform::Clock::instance().nsecs();
  vbs::setNowSource([startSerial, startNs] {
    return startSerial + static_cast<double>(platform::Clock::instance().nsecs() - startNs) / 86'400e9;
  });
}

}  // namespace

int runWalkthrough(int argc, char** argv, const std::string& stepsFile, const std::string& gameFolder,
                   const std::string& recordFile, bool fast) {
  // No screen and no sound card needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (fast) {
    // Before anything times itself: every game timer and every sound from here
    // on follows the virtual clock.
    platform::Clock::instance().useVirtualTime();
    media::mixOnVirtualClock();
    scriptsOnVirtualTime();
  }

  const QString stepsPath = QString::fromLocal8Bit(stepsFile.c_str());
  QFile file(stepsPath);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "quillmere: cannot read the steps file '%s'\n", stepsFile.c_str());
    return 2;
  }
  const QString steps = QString::fromUtf8(file.readAll());
  file.close();
  // A list without steps would "pass" having tested nothing.
  if (engine::countSteps(steps) == 0) {
    std::fprintf(stderr, "quillmere: no steps in '%s'\n", stepsFile.c_str());
    return 2;
  }

  // The folder's name as bytes: it may be named in a code page.
  // A game's archive is unpacked first (once) and its folder played.
  const GameArgument given = gameFromArgument(platform::nameFromBytes(QByteArray(gameFolder.c_str())));
  if (!given.error.isEmpty()) {
    std::fprintf(stderr, "quillmere: %s\n", given.error.toUtf8().constData());
    return 2;
  }
  const QString folder = chooseGameFolder(given.folder, stepsPath);
  if (!holdsGame(folder)) {
    std::fprintf(stderr, "quillmere: '%s' holds no game (Config/General is missing)\n",
                 platform::readableName(folder).toUtf8().constData());
    return 2;
  }

  // A walkthrough keeps its settings to itself: the player's own stay untouched.
  QTemporaryDir settingsDir;
  platform::SettingsStore::instance().setFileForTests(settingsDir.path() + QStringLiteral("/settings.ini"));
  // So do the pictures kept beside saved games, and saves of a read-only game.
  qputenv("XDG_DATA_HOME", QFile::encodeName(settingsDir.path() + QStringLiteral("/data")));
  platform::RecordingDialogService dialogs;
  platform::setDialogs(&dialogs);
  engine::installGameWindowLauncher();

  QTextStream out(stdout);
  int failed = 0;
  {
    startup::frmWelcome welcome;
    if (!welcome.Load(QDir(folder).absolutePath())) {
      QStringList shown;
      for (const auto& box : dialogs.shown()) shown << box.text;
      out << "FAIL  the game could not start";
      if (!shown.isEmpty()) out << "; it showed: \"" << engine::printable(shown.join(QStringLiteral("\" / \""))) << "\"";
      out << "\n0 passed, 1 failed\n";
      failed = 1;
    } else {
      if (welcome.shouldShow()) welcome.show();
      WalkthroughRecording recording;
      bool recordingOk = true;
      if (!recordFile.empty()) {
        const auto& info = startup::project().info;
        QString why;
        if (!recording.start(QString::fromLocal8Bit(recordFile.c_str()), QSize(info.width, info.height),
                             [] {
                               engine::Game* game = engine::launchedGameWindow();
                               return game && game->isVisible() ? game->display().framePicture() : QImage();
                             },
                             &why)) {
          std::fprintf(stderr, "quillmere: cannot record '%s': %s\n", recordFile.c_str(), why.toLocal8Bit().constData());
          engine::releaseGameWindow();
          platform::setDialogs(nullptr);
          return 2;
        }
      }
      // Set in the environment, the run measures how long the event loop was held
      // up in each step and prints the worst ten on the error output (a benchmark uses it).
      std::optional<EventLoopStallMeter> stalls;
      if (qEnvironmentVariableIsSet(kStallMeterVariable)) stalls.emplace();
      engine::WalkthroughRunner runner(dialogs, out, engine::launchedGameWindow);
      if (stalls) runner.setStepObserver([&stalls](int line, const QString& text) { stalls->beginStep(line, text); });
      runner.setStartAction([&welcome]() -> QString {
        if (!welcome.isVisible()) return QStringLiteral("the welcome window is not shown");
        welcome.ClickButton(startup::kButtonStart);
        return QString();
      });
      failed = runner.run(steps);
      if (stalls) {
        stalls->beginStep(0, QStringLiteral("(after the last step)"));
        QTextStream err(stderr);
        stalls->report(err);
      }
      if (!recordFile.empty()) recordingOk = recording.finish(out);
      if (!recordingOk) ++failed;
    }
    engine::releaseGameWindow();
  }
  platform::setDialogs(nullptr);
  return failed == 0 ? 0 : 1;
}

}  // namespace qm::app
