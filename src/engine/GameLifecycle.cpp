// The life of a game window: loading, reset for a new or resumed game, new
// game, quitting and unloading, and where the window and picture stand.
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMetaMethod>
#include <QPointer>
#include <QScreen>
#include <cmath>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "distribution/RunFromCD.h"
#include "logic/GameLogic.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "engine/Transitions.h"
#include "engine/StartHint.h"
#include "logic/Inventory.h"
#include "script/DialogueRunner.h"
#include "script/TimedEvents.h"
#include "media/MidiDecoder.h"
#include "platform/InterfaceScale.h"
#include "platform/VbError.h"
#include "script/AdditionalComponents.h"
#include "startup/Activity.h"
#include "startup/DisplayResolution.h"
#include "startup/ErrorReport.h"
#include "startup/FileProcedures.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/Screen.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

void Game::formLoad() {
  QWidget::move(0, 0);
  transitions().PrepareTransitions();
  auto replace = [](MenuItem* item, int text) {
    const QString t = startup::InterfaceText(text);
    if (!t.isEmpty()) item->setCaption(t);
  };
  replace(mnuLoadGame, 2);
  replace(mnuSaveGame, 8);
  replace(mnuExit, 12);
  replace(mnuOptions, 49);
  replace(mnuDisableTransitions, 50);
  replace(mnuDisableEffects, 51);

  startup::setInFrameMessageHooks({[this](const QString& text, bool noAutoHide) { ShowMessageInFrame(text, noAutoHide); },
                                   [this] { TimerMessageBox_Timer(); }});
  startup::setStopAllActivityHooks({[this] {
                                      state_.StopMovie = true;
                                      state_.TransitionSkip = true;
                                    },
                                    [this] {
                                      Timer1.setEnabled(false);
                                      TimerMessageBox.setEnabled(false);
                                      timedEvents().PauseTimedEvents();
                                      video().StopOneTimeVideoPlayer();
                                      soundChannels().ResetSoundChannels();
                                    }});
  startup::setStopGameHooks({[this] { display().showPicture(false); }, [this] { ShowMenus(); }});
  // While the CD prompt waits for a disc every activity stops; the timers
  // that ran start again once the disc is in.
  distribution::runFromCD().setGameTimers([this]() -> std::function<void()> {
    const bool frameTimerOn = Timer1.enabled();
    const bool messageTimerOn = TimerMessageBox.enabled();
    return [game = QPointer<Game>(this), frameTimerOn, messageTimerOn] {
      if (!game) return;
      game->Timer1.setEnabled(frameTimerOn);
      game->TimerMessageBox.setEnabled(messageTimerOn);
      game->timedEvents().StartTimedEvents();
    };
  });
}

void Game::ResetAll() {
  auto& proj = project();
  // The music synthesizer loads its soundfont in the background meanwhile.
  media::prepareMidiSynthesizer();
  try {
    // Nothing of the previous game may act any more: its frame timer, rippling
    // water, timed events and dialogue stop first.
    Timer1.setEnabled(false);
    Timer1.setInterval(0);
    TimerRipplingWater.setEnabled(false);
    timedEvents().ResetTimedEvents();
    dialogue().QuitDialogue();
    // Forget what the previous game held: variables, components scripts
    // added, hotspots made to disappear, inventory items, visited frames.
    logic().ClearVariables();
    components().ResetComponents();
    logic().ClearDisappear();
    state_.ObjectsCount = 0;
    PickedObject.UnloadAll();
    FramesHistory.Clear();
    windowProperties().setBackColor(0);
    PictureBox->setBackColor(0);
    // No resolution waits for a resumed game, scripts decide afresh how they
    // reach controls, the fade clock restarts and the audio warning may show again.
    scripts().VBScriptAction().setResolutionOnLoadGame(0);
    state_.ControlsReferenceMode = 0;
    soundChannels().ClearAudioState();
    // Any wait or transition still running ends; the game is no longer stopped.
    state_.StopMovie = true;
    state_.TransitionSkip = true;
    PicRipplingWater->setEnabledVb(false);
    startup::SetGameStopped(false);
    display().showPicture(true);
    // Transitions keep to the desktop's work area (it may have changed since the last game).
    if (QScreen* screen = QGuiApplication::primaryScreen()) state_.WorkArea = screen->availableGeometry();
    // The window, the picture and its background take the project's size.
    CenterWindowAndPictureBox();
    BackImage->move(0, 0, proj.info.width * kTwipsPerPixel, proj.info.height * kTwipsPerPixel);
    BackImage->zOrder(1);
    // No message from the previous game stays on the picture.
    LabelMessageBox->setAutoSize(true);
    LabelMessageBox->hide();
    FrameMessageBox->hide();
    ResetDefaultPointer();
    inventory().SetupInventoryBar();
    // The Go-to-frame menu lists the project's frames (a file named just
    // ".fme" names no frame). The frame files' extension may have any letter
    // case, as a file box's pattern matched it.
    mnuFrameName.UnloadAll();
    const QStringList files = startup::ListFiles(proj.paths.frames, QStringLiteral("*.fme"), Qt::CaseInsensitive);
    for (int i = 0; i < files.size(); ++i) {
      if (files[i].size() <= 4) continue;
      MenuItem& item = mnuFrameName.Load(i + 1);
      item.setVisible(true);
      item.setCaption(files[i].left(files[i].size() - 4));
    }
    // The game's own code: plugins first, since the variables and the global
    // procedures may use them.
    script::LoadPlugins();
    logic().LoadVariables();
    scripts().PrepareNewGame();
    // The Options items show the player's stored choices.
    mnuDisableTransitions->setChecked(startup::LoadSettingBool(QString::fromLatin1(startup::settings_keys::kDisableTransitions), false));
    mnuDisableEffects->setChecked(startup::LoadSettingBool(QString::fromLatin1(startup::settings_keys::kDisableEffects), false));
    // Every sound stops and each channel gets its own player back.
    soundChannels().ResetSoundChannels();
    // The game's script time-out, in whole seconds; 0 or none keeps the engine's own.
    const double timeout = std::nearbyint(startup::ScriptTimeOutSetting());
    if (timeout != 0 && std::isfinite(timeout) && std::fabs(timeout) < 2e6)
      scripts().SetTimeout(static_cast<int>(timeout) * 1000);
  } catch (const VbError& e) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to initialize the program. ") + e.description);
  } catch (const ControlArrayError& e) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to initialize the program. ") + QString::fromStdString(e.what()));
  }
}

void Game::StartNewGame() {
  project().frame.name = project().info.initialFrame;
  scripts().ExecuteOnLoadVBScript();
  OpenFrame(project().frame.name, false, 0, 0);
  // Full screen has no border and no menu bar: say once how to reach them.
  if (display().fullScreen() && !GameStopped()) display().startHint()->offer(!project().info.noMenuBar);
}

void Game::StartUnloading() {
  state_.StopMovie = true;
  state_.TransitionSkip = true;
  startup::SetGameStopped(true);
  TimerRipplingWater.setEnabled(false);
  TimerUnloadMe.setInterval(500);
  startup::BeginBusy(this);
  TimerUnloadMe.setEnabled(true);
}

void Game::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unloading_) return;
  startup::SetGameStopped(true);
  unloadWindow();
}

void Game::unloadWindow() {
  if (unloading_) return;
  unloading_ = true;
  display().startHint()->hide();
  display().rememberWindowSize();
  hide();
  // The welcome window and its load window are drawn at their own size again.
  platform::SetInterfaceScale(1.0);
  QCoreApplication::processEvents();
  project().running = false;
  startup::StopAllActivity();
  components().ResetComponents();
  for (int i = AniGif.UBound(); i >= 1; --i) {
    try {
      if (AniGif.exists(i)) AniGif.Unload(i);
    } catch (const ControlArrayError&) {
    }
  }
  startup::RestoreDisplaySettings();
  unloading_ = false;
  if (isSignalConnected(QMetaMethod::fromSignal(&Game::unloaded))) {
    emit unloaded();
  } else if (project().info.startAtOnce) {
    QCoreApplication::quit();
  }
}

void Game::CenterWindowAndPictureBox() { display().placeWindowAndPicture(); }

}  // namespace qm::engine
