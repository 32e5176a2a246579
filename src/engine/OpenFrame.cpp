// Opening a frame: every frame change of the game goes through OpenFrame.
//
// The opening is a fixed sequence of steps, listed once in kSteps below. A
// quit can come at any time during it (from the frame's own code, or from the
// player while a wait lets window events run). Most steps look first: when the
// game is stopping, that step and every one after it are skipped. The few that
// do not look (the history, the end of the transition, the dialogue, the frame
// timer) finish what the step before them began.
#include <tuple>

#include "engine/Game.h"
#include "engine/GamePictures.h"
#include "engine/KeyboardPlay.h"
#include "engine/RipplingWater.h"
#include "engine/Transitions.h"
#include "engine/controls/ControlArray.h"
#include "logic/GameLogic.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "script/DialogueRunner.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "script/TimedEvents.h"
#include "startup/ErrorReport.h"
#include "startup/FrameHeader.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/Settings.h"
#include "startup/VbNumbers.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {

const QString kFrameLinkHelp = QStringLiteral(
    "Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Hotspot Properties "
    "is linked to an existing frame.");

// One opening of one frame: what the caller asked for and what the steps
// learn on the way. Each step is one method, run in the order of kSteps.
class FrameOpening {
 public:
  FrameOpening(Game& game, QString name, bool withTransition, int transitionNumber, double transitionSeconds)
      : game_(game),
        name_(std::move(name)),
        withTransition_(withTransition),
        transitionNumber_(transitionNumber),
        transitionSeconds_(transitionSeconds) {}

  void run();

 private:
  struct Step {
    void (FrameOpening::*perform)();
    bool skippedOnceStopped;  // the game is quitting: this step and all after it are skipped
  };
  static const Step kSteps[];

  void stopOldFrameTimers();
  void readFrameHeader();
  void decideHowScriptsReachControls();
  void enterInHistory();
  void readFrameFile();
  void finishRipplingWater();
  void playVideoBeforeFrame();
  void stopEverySound();
  void stopSecondSound();
  void startBackgroundMusic();
  void clearOldTextsAndHotspots();
  void paintBackground();
  void loadTexts();
  void loadHotspots();
  void runFrameStartupCode();
  void showHotspotsAndInventory();
  void playChannelFile();
  void playSecondSound();
  void makeRoomForVideoAfterFrame();
  void loadRipplingWater();
  void finishTransitionOrStartFades();
  void startDialogue();
  void playVideoAfterFrame();
  void waitForVideo();
  void startRipplingWater();
  void armFrameTimer();
  void startTimedEvents();

  bool hasVideo() const { return !frame().video.isEmpty(); }
  // The frame's video plays before the frame is drawn only when it is opened
  // without a transition: a transition shows the new frame at once.
  bool videoBefore() const { return hasVideo() && frame().playVideoBefore && !withTransition_; }
  bool videoAfter() const { return hasVideo() && (!frame().playVideoBefore || withTransition_); }
  const FrameFile& frame() const { return game_.state().CurrentFrameFile; }
  void playFrameVideo();

  Game& game_;
  const QString name_;
  const bool withTransition_;
  const int transitionNumber_;
  const double transitionSeconds_;
  bool effectLoaded_ = false;
  bool finished_ = false;  // the frame's own code asked to quit
};

const FrameOpening::Step FrameOpening::kSteps[] = {
    {&FrameOpening::stopOldFrameTimers, false},
    {&FrameOpening::readFrameHeader, false},
    {&FrameOpening::decideHowScriptsReachControls, true},
    {&FrameOpening::enterInHistory, false},
    {&FrameOpening::readFrameFile, true},
    {&FrameOpening::finishRipplingWater, false},
    {&FrameOpening::playVideoBeforeFrame, true},
    {&FrameOpening::stopEverySound, true},
    {&FrameOpening::stopSecondSound, true},
    {&FrameOpening::startBackgroundMusic, true},
    {&FrameOpening::clearOldTextsAndHotspots, true},
    {&FrameOpening::paintBackground, true},
    {&FrameOpening::loadTexts, true},
    {&FrameOpening::loadHotspots, true},
    {&FrameOpening::runFrameStartupCode, true},
    {&FrameOpening::showHotspotsAndInventory, true},
    {&FrameOpening::playChannelFile, true},
    {&FrameOpening::playSecondSound, true},
    {&FrameOpening::makeRoomForVideoAfterFrame, true},
    {&FrameOpening::loadRipplingWater, true},
    {&FrameOpening::finishTransitionOrStartFades, false},
    {&FrameOpening::startDialogue, false},
    {&FrameOpening::playVideoAfterFrame, true},
    {&FrameOpening::waitForVideo, true},
    {&FrameOpening::startRipplingWater, true},
    {&FrameOpening::armFrameTimer, false},
    {&FrameOpening::startTimedEvents, false},
};

void FrameOpening::run() {
  for (const Step& step : kSteps) {
    if (step.skippedOnceStopped && GameStopped()) return;
    (this->*step.perform)();
    if (finished_) return;
  }
}

// The old frame's timers stop first: a late tick would act on the new frame's
// hotspots. Merged frames count their hotspots and texts from 1 again.
void FrameOpening::stopOldFrameTimers() {
  game_.Timer1.setEnabled(false);
  game_.Timer1.setInterval(0);
  game_.timedEvents().ResetTimedEvents();
  game_.logic().SetMergedHotspotIndex(1);
  game_.state().MergedTextIndex = 1;
}

// From here on the new frame is the current one, for every part that asks.
void FrameOpening::readFrameHeader() {
  startup::ClearFrameHeader();
  startup::ReadFrameHeader(name_);
  project().frame.name = name_;
}

// The first frame after a reset decides, from two variables the author may
// define, whether scripts may reach every control of the window and whether
// scripts may run without a time limit.
void FrameOpening::decideHowScriptsReachControls() {
  if (game_.state().ControlsReferenceMode != 0) return;
  const logic::GameLogic& logic = game_.logic();
  const QString all = QStringLiteral("reference_all_controls");
  const QString noTimeout = QStringLiteral("disable_script_timeout");
  game_.state().ControlsReferenceMode = logic.DoesIntergerVariableExist(all) || logic.DoesVariantVariableExist(all) ? 2 : 1;
  if (logic.DoesIntergerVariableExist(noTimeout) || logic.DoesVariantVariableExist(noTimeout))
    game_.scripts().DisableTimeouts();
}

void FrameOpening::enterInHistory() { game_.FramesHistoryAdd(name_); }

// The whole frame file is read at once; its sound records wait in the channel
// table until the transition or the fades perform them.
void FrameOpening::readFrameFile() {
  const QString fmePath = project().paths.frames + name_ + QStringLiteral(".fme");
  game_.state().CurrentFrameFile = parseFrameFile(platform::readWholeFile(fmePath), fmePath);
  game_.soundChannels().StoreFrameRecords(frame().soundRecords, frame().soundFadeMs);
}

// A running rippling-water step finishes before the picture under it changes.
void FrameOpening::finishRipplingWater() { game_.effects().StopRipplingWater(); }

void FrameOpening::playFrameVideo() {
  game_.HideMenus();
  game_.state().StopMovie = false;
  game_.video().PlayMovieWithStop(frame().video, frame().videoPlacement());
}

void FrameOpening::playVideoBeforeFrame() {
  if (!videoBefore()) return;
  game_.video().StopOneTimeVideoPlayer();
  playFrameVideo();
}

void FrameOpening::stopEverySound() {
  if (frame().stopEverySound) game_.soundChannels().StopAnyWavOrMP3();
}

// A frame without a second sound of its own may silence the last one.
void FrameOpening::stopSecondSound() {
  if (frame().secondSound.isEmpty() && frame().stopSecondSound) game_.soundChannels().StopChannel(7);
}

// Music that plays on from the last frame is not restarted, unless the frame
// asks for it to start again.
void FrameOpening::startBackgroundMusic() {
  const FrameFile& f = frame();
  SoundChannels& sound = game_.soundChannels();
  if (f.restartBackgroundSound) sound.StopChannel(6);
  if (f.backgroundSound.isEmpty()) return;
  const QString native = locateSoundFile(f.backgroundSound);
  if (sound.IsFilePlaying(native) && !f.restartBackgroundSound) return;
  sound.PlayOnChannel(6, native, f.loopBackgroundSound ? 0 : 1, SoundChannels::ToPlayerVolume(SoundChannels::kMusicLevel));
}

void FrameOpening::clearOldTextsAndHotspots() {
  game_.ResetFrameTexts();
  game_.logic().ResetFrameAreas();
}

// A plain colour, a tiled picture, or one picture at the top left.
void FrameOpening::paintBackground() {
  const FrameFile& f = frame();
  PictureBoxControl& box = *game_.PictureBox;
  const QString picture = project().paths.frames + f.background;
  if (f.backgroundType == 0) {
    box.clearPicture();
    box.cls();
    const double value = startup::vbVal(f.background);
    if (value != box.backColor()) box.setBackColor(startup::roundToInt32(value));
  } else if (f.backgroundType == 1 && f.tile) {
    box.clearPicture();
    box.cls();
    if (auto tile = loadGamePicture(picture)) {
      game_.ImageTile->setPictureImage(*tile);
      const int tw = tile->width() * kTwipsPerPixel;
      const int th = tile->height() * kTwipsPerPixel;
      const int w = static_cast<int>(box.width());
      const int h = static_cast<int>(box.height());
      // Both ends included: a tile half the width paints three columns.
      if (tw > 0 && th > 0) {
        for (int x = 0; x <= w; x += tw)
          for (int y = 0; y <= h; y += th) box.paintPicture(*tile, x, y);
      }
      game_.ImageTile->clearPicture();
    }
  } else if (f.backgroundType == 1) {
    box.setBackColor(0);
    box.cls();
    box.clearPicture();
    loadGamePicture(box, picture);
  }
}

void FrameOpening::loadTexts() {
  game_.LoadTexts();
  project().frame.hotspotCount = startup::ReadHotspotsCount(name_);
}

void FrameOpening::loadHotspots() { game_.logic().LoadAreas(); }

// The project's frame procedure, the plug-ins' frame code and the frame's own
// procedure run as one script, after the hotspots exist (the code may move or
// hide them) and before the visibility rules are applied to them.
void FrameOpening::runFrameStartupCode() {
  const auto& info = project().info;
  const FrameFile& f = frame();
  game_.state().VBScriptAction.ResetModule();
  const QString pluginCode = script::PluginsFrameCode() + script::BuildPluginCalls(f.pluginActions, false);
  if (!info.runFrameProcedure && !f.runFrameProcedure && pluginCode.isEmpty()) return;
  const QString code = (info.runFrameProcedure ? info.frameProcedureName : QString()) + QStringLiteral("\r\n") +
                       pluginCode + QStringLiteral("\r\n") + (f.runFrameProcedure ? f.frameProcedure : QString());
  // A failing script has had its message; the frame opens all the same.
  std::ignore = game_.scripts().ExecuteVBScript(code, true);
  if (game_.state().VBScriptAction.bStopGame) {
    game_.StartUnloading();
    finished_ = true;
  }
}

// The held items, the inventory bar and the message panel stay above the
// frame's own controls.
void FrameOpening::showHotspotsAndInventory() {
  game_.logic().ShowOrNotShowAreas();
  for (int i = 1; i <= game_.state().ObjectsCount; ++i)
    if (ImageControl* item = game_.PickedObject.item(i)) item->zOrder(0);
  game_.Inventory2->zOrder(0);
  game_.Inventory1->zOrder(0);
  game_.FrameMessageBox->zOrder(0);
}

// The frame's channel file (.chn) sets up the seven channels; a frame that
// stops every sound starts none.
void FrameOpening::playChannelFile() {
  if (frame().stopEverySound) return;
  const auto chn = platform::resolveExisting(project().paths.frames + name_ + QStringLiteral(".chn"));
  if (!chn || !platform::fileExists(*chn)) return;
  auto reader = startup::RecordReader::fromFile(*chn);
  game_.soundChannels().PlaySoundChannels(reader);
}

void FrameOpening::playSecondSound() {
  if (frame().secondSound.isEmpty()) return;
  game_.soundChannels().PlayOnChannel(7, startup::locatedMedia(project().paths.frames, frame().secondSound), 1,
                                      SoundChannels::ToPlayerVolume(SoundChannels::kSoundLevel));
}

// A video still showing from the last frame gives way to this frame's.
void FrameOpening::makeRoomForVideoAfterFrame() {
  if (videoAfter()) game_.video().StopOneTimeVideoPlayer();
}

void FrameOpening::loadRipplingWater() {
  const FrameFile& f = frame();
  if (!game_.mnuDisableEffects->checked() && f.backgroundType == 1 && !f.tile)
    effectLoaded_ = game_.effects().LoadWaveEffectIfAny(name_);
}

// The pending channel records play now: with a transition its steps drive
// the fades, otherwise the fade timer does.
void FrameOpening::finishTransitionOrStartFades() {
  game_.soundChannels().ApplySoundChannels();
  if (withTransition_)
    game_.transitions().TransitionStep2(transitionNumber_, transitionSeconds_);
  else
    game_.soundChannels().EnableAudioFade();
}

void FrameOpening::startDialogue() { game_.dialogue().StartFrameDialogue(name_); }

void FrameOpening::playVideoAfterFrame() {
  if (videoAfter()) playFrameVideo();
}

// The frame's one-time video plays to its end (or until a click or Esc sets
// StopMovie); window events run meanwhile, so handlers can re-enter. Then the
// frame's looping videos start.
void FrameOpening::waitForVideo() {
  game_.SetScreenPointerArrow();
  game_.video().WaitForOneTimeVideo();
  game_.SetScreenPointerDefault();
  game_.video().StopOneTimeVideoPlayer();
  game_.state().StopMovie = false;
  for (int i : game_.VideoPlayer.indices()) {
    MediaPlayerControl* p = game_.VideoPlayer.item(i);
    if (i != 0 && p && p->visible()) p->play();
  }
}

void FrameOpening::startRipplingWater() {
  if (!game_.mnuDisableEffects->checked() && effectLoaded_) game_.effects().StartRipplingWater();
}

// A timer duration that is no number a timer takes is reported; the frame
// stays open and its timed events still start.
void FrameOpening::armFrameTimer() {
  const FrameFile& f = frame();
  if (!f.timerOn) return;
  try {
    game_.Timer1.setTag(f.timerTarget);
    game_.Timer1.setEnabled(true);
    game_.Timer1.setInterval(startup::roundToInt32(f.timerSeconds * 1000.0));
  } catch (const VbError&) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to load timer duration."));
  }
}

void FrameOpening::startTimedEvents() { game_.timedEvents().StartTimedEvents(); }

}  // namespace

void Game::OpenFrame(const QString& sFrameName, bool bWithTransition, int iTransNumber, double dTransitionDuration) {
  const QString& name = sFrameName;
  // A frame change whose old picture covers the frame ends with the real frame
  // in sight, however the opening ends: when the new frame is opened the
  // transition has already uncovered it and this does nothing.
  struct Uncover {
    Transitions& transitions;
    bool pending;
    ~Uncover() {
      if (pending) transitions.AbandonTransition();
    }
  } uncover{transitions(), bWithTransition};
  // A frame that is not named, or whose file is missing, changes nothing.
  if (name.isEmpty()) {
    startup::ShowStandardErrorReport(QStringLiteral(" A program link is broken."));
    return;
  }
  if (!platform::fileExists(project().paths.frames + name + QStringLiteral(".fme"))) {
    startup::ShowStandardErrorReport(QStringLiteral(" A program link is broken. The frame named \"") + name +
                                     QStringLiteral("\" could not be found. ") + kFrameLinkHelp);
    return;
  }
  // Any other failure ends the opening where it happened, with one message;
  // the steps already done stay done.
  const auto report = [&name](const QString& description) {
    if (GameStopped()) return;
    // The description follows the text directly, on the same line.
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to load the frame called '") + name +
                                     QStringLiteral("'. ") + kFrameLinkHelp + QStringLiteral(" ") + description);
  };
  try {
    // The old frame's hotspots go: keyboard focus starts afresh on the new ones.
    keyboardPlay().FrameChanged();
    FrameOpening(*this, name, bWithTransition, iTransNumber, dTransitionDuration).run();
  } catch (const VbError& e) {
    report(e.description);
  } catch (const ControlArrayError& e) {
    report(QString::fromStdString(e.what()));
  }
}

void Game::goToFrame(const FrameRequest& request) {
  if (request.withTransition) {
    transitions().TransitionStep1(request.transitionNumber);
    OpenFrame(request.frameName, true, request.transitionNumber, request.transitionSeconds);
  } else {
    OpenFrame(request.frameName, false, 0, 0);
  }
}

}  // namespace qm::engine
