// What a click on a hotspot, or an item dropped on it, does: the action record
// of the frame's action file performed in its fixed order, then the requests
// the action's script left behind.

#include <tuple>

#include "engine/Game.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "script/DialogueRunner.h"
#include "script/TimedEvents.h"
#include "logic/DisappearList.h"
#include "logic/ErrorReports.h"
#include "logic/FrameDataFiles.h"
#include "logic/FrameHistoryRules.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "logic/SavedGames.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::logic {

namespace {

}  // namespace

// Effects that take place while the action record is being read.
class GameLogic::ActionSink : public ActionEffects {
 public:
  ActionSink(GameLogic& logic, int areaIndex, int objectIndex)
      : logic_(logic), areaIndex_(areaIndex), objectIndex_(objectIndex) {}

  void changeVariable(const QString& name, int16_t value) override { logic_.variables.ChangeVariableValue(name, value); }
  void disappear() override {
    if (objectIndex_ != 0)
      logic_.game_.inventory().RemovePickedObject(objectIndex_);
    else
      addDisappearedHotspot(logic_.Disappear, startup::CurrentFrameName(), areaIndex_);
  }
  void stopMusic() override { sound().StopChannel(6); }
  void stopSampledAudio() override { sound().StopAnyWavOrMP3(); }
  void setFadeDuration(double seconds) override { sound().SetFadeDuration(seconds); }
  void storeChannelRecord(int channel, const SoundChannelRecord& r) override {
    sound().StoreHotspotRecord(channel, {r.action, r.fade, r.loop, r.volume, r.soundFile});
  }

 private:
  engine::SoundChannels& sound() { return logic_.game_.soundChannels(); }
  GameLogic& logic_;
  int areaIndex_;
  int objectIndex_;
};

void GameLogic::AreaClick(int AreaIndex, int Button) {
  if (startup::GameStopped()) return;
  game_.state().StopMovie = true;
  game_.state().TransitionSkip = true;
  if (game_.video().OneTimeVideoPlaying() || game_.video().starting() || game_.inventory().moving()) return;
  if (Button == engine::kRightButton) {
    if (!game_.mnuExit->visible())
      game_.ShowMenus();
    else if (!game_.state().MenuOpened)
      game_.HideMenus();
    return;
  }
  if (game_.state().MenuOpened) {
    game_.HideMenus();
    return;
  }
  game_.HideMenus();
  game_.inventory().PickOrNotPickObject(AreaIndex);
  game_.soundChannels().AudioFadeStep(1);
  MakeActionAndConsequences(AreaIndex, 0, false);
  game_.video().StopOneTimeVideoPlayer();
}

void GameLogic::MakeActionAndConsequences(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue) {
  if (MakeAction(AreaIndex, ObjectIndex, bDoNotQuitDialogue) == kEndGame) game_.StartUnloading();
}

int GameLogic::MakeAction(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue) {
  game_.state().StopMovie = true;
  game_.state().TransitionSkip = true;
  try {
    const QString frame = startup::CurrentFrameName();
    std::optional<startup::RecordReader> reader;
    if (ObjectIndex != 0) {
      const QString path = frameDataPath(frame, QStringLiteral(".fm0"));
      if (!platform::fileExists(path)) return kNothingFurther;
      reader.emplace(startup::RecordReader::fromFile(path));
      const QString key = dropActionKey(AreaIndex, game_.inventory().itemName(ObjectIndex));
      if (!seekDropAction(*reader, key, [] { return startup::GameStopped(); })) return kNothingFurther;
    } else {
      const QString path = clickActionFileOf(frame);
      if (path.isEmpty()) return kNothingFurther;
      reader.emplace(startup::RecordReader::fromFile(path));
      if (!seekClickAction(*reader, AreaIndex)) return kNothingFurther;
    }
    ActionRecord record;
    ActionSink sink(*this, AreaIndex, ObjectIndex);
    readActionFields(*reader, record, &sink);
    reader.reset();
    if (record.endGame) return kEndGame;
    if (startup::GameStopped()) return kNothingFurther;
    return performAction(AreaIndex, ObjectIndex, bDoNotQuitDialogue, record);
  } catch (const VbError& e) {
    reportStandardError(QStringLiteral(" Unable to make the action associated with the hotspot #%1. ").arg(AreaIndex) +
                        e.description);
  } catch (const std::exception& e) {
    reportStandardError(QStringLiteral(" Unable to make the action associated with the hotspot #%1. ").arg(AreaIndex) +
                        QString::fromUtf8(e.what()));
  }
  return kNothingFurther;
}

int GameLogic::performAction(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue, const ActionRecord& r) {
  auto& action = game_.state().VBScriptAction;
  const auto& paths = startup::project().paths;
  const auto stopped = [] { return startup::GameStopped(); };

  // Script and plug-in code.
  action.ResetModule();
  const QString pluginCode = script::BuildPluginCalls(r.pluginData, true);
  if (!pluginCode.isEmpty() || (r.runScript && !r.scriptText.isEmpty())) {
    action.iHotspotNumber = AreaIndex;
    // A failed script has had its message; the rest of the action still takes
    // place, with whatever requests the script made before it failed.
    std::ignore = game_.scripts().ExecuteVBScript(
        pluginCode + QStringLiteral("\r\n") + (r.runScript ? r.scriptText : QString()), false);
    if (action.bStopGame) return kEndGame;
  }

  if (r.giveItem) game_.inventory().AddPickedObject(r.itemName, false);

  // Music on channel 6 and a sound on channel 7.
  using engine::SoundChannels;
  SoundChannels& sound = game_.soundChannels();
  if (!stopped()) {
    // Music that already plays is left alone unless the action stopped it.
    if (r.playMusic && !r.musicFile.isEmpty()) {
      if (!sound.ChannelPlaying(6) || r.stopMusic != 0)
        sound.PlayOnChannel(6, startup::locatedMedia(paths.areas, r.musicFile), r.musicRepeats ? 0 : 1,
                            SoundChannels::ToPlayerVolume(SoundChannels::kMusicLevel));
    }
    if (r.playSound)
      sound.PlayOnChannel(7, startup::locatedMedia(paths.frames, r.soundFile), 1,
                          SoundChannels::ToPlayerVolume(SoundChannels::kSoundLevel));
    else if (r.stopSound && r.stopSampledAudio == 0)
      sound.StopChannel(7);
  }

  if (!stopped() && r.stopSampledAudio == 0 && ObjectIndex == 0) playLegacySounds(AreaIndex);

  // Sound channels: performed now unless a frame is about to open, which
  // performs them itself. The frame target is decided first: a script's "last
  // visited frame" with no frame before this one opens nothing, and records
  // left waiting for it would be lost.
  const bool opensFrame = frameRequestOpensFrame(action.sFrameToLoad, game_.FramesHistory) || r.goToFrame != 0 ||
                          (r.goToLastVisitedFrame && game_.FramesHistory.ListCount() >= 2);
  if (r.playVideo != 0 || !opensFrame) {
    sound.ApplySoundChannels();
    sound.EnableAudioFade();
  }

  if (!stopped() && r.playVideo != 0) {
    game_.HideMenus();
    game_.video().PlayMovieWithStop(r.videoFile, r.videoPlacement());
  }

  ShowOrNotShowAreas();

  if (!stopped() && r.showMessage) startup::ShowMessage(r.messageText, r.messageInFrame, false);

  if (!stopped() && r.playVideo != 0) {
    game_.SetScreenPointerArrow();
    game_.video().WaitForOneTimeVideo();
    game_.SetScreenPointerDefault();
    game_.state().StopMovie = false;
    if (opensFrame) sound.AudioFadeStep(1);
  }

  int result = kNothingFurther;
  if (!stopped()) {
    action.sFrameToLoad = resolveFrameRequest(action.sFrameToLoad, game_.FramesHistory);
    if (!action.sFrameToLoad.isEmpty()) {
      openRequestedFrame(!bDoNotQuitDialogue);
      result = kFrameOpened;
    } else if (r.goToFrame != 0) {
      if (!bDoNotQuitDialogue) game_.dialogue().QuitDialogue();
      game_.goToFrame({r.frameName, r.hasTransition(), r.transitionNumber, r.transitionDurationMs / 1000.0});
      result = kFrameOpened;
    } else if (r.goToLastVisitedFrame && game_.FramesHistory.ListCount() >= 2) {
      if (!bDoNotQuitDialogue) game_.dialogue().QuitDialogue();
      const QString target = stepBackInHistory(game_.FramesHistory);
      game_.goToFrame({target, r.hasTransition(), r.transitionNumber, r.transitionDurationMs / 1000.0});
      result = kFrameOpened;
    }
  }

  if (result != kFrameOpened) {
    game_.timedEvents().StartTimedEvents();
    if (action.bPopupLoadGame)
      game_.savedGames().ShowLoadGameWindow(false);
    else if (action.bPopupSaveGame)
      game_.savedGames().ShowSaveGameWindow();
  }
  return result;
}

void GameLogic::playLegacySounds(int AreaIndex) {
  const QString path = frameDataPath(startup::CurrentFrameName(), QStringLiteral(".fm5"));
  if (!platform::fileExists(path)) return;
  auto reader = startup::RecordReader::fromFile(path);
  if (!seekLegacySoundRecord(reader, AreaIndex, [] { return startup::GameStopped(); })) return;
  game_.soundChannels().PlaySoundChannels(reader);
}

// Opens the frame a script asked for, with its transition when it gave a duration.
void GameLogic::openRequestedFrame(bool endDialogue) {
  if (endDialogue) game_.dialogue().QuitDialogue();
  game_.goToFrame(game_.state().VBScriptAction.frameRequest());
}

script::ScriptResult GameLogic::ExecuteVBScriptAndConsequences(const QString& sText, bool bResetLastClickPosition) {
  game_.state().VBScriptAction.ResetModule();
  if (game_.scripts().ExecuteVBScript(sText, bResetLastClickPosition) == script::ScriptResult::Failed)
    return script::ScriptResult::Failed;
  ExecuteConsequences();
  return script::ScriptResult::Ok;
}

void GameLogic::ExecuteConsequences() {
  auto& action = game_.state().VBScriptAction;
  ShowOrNotShowAreas();  // what the script changed shows at once
  if (action.bStopGame) {
    game_.StartUnloading();
    return;
  }
  action.sFrameToLoad = resolveFrameRequest(action.sFrameToLoad, game_.FramesHistory);
  if (!action.sFrameToLoad.isEmpty())
    openRequestedFrame(false);
  else
    game_.timedEvents().StartTimedEvents();
  if (action.bPopupLoadGame)
    game_.savedGames().ShowLoadGameWindow(false);
  else if (action.bPopupSaveGame)
    game_.savedGames().ShowSaveGameWindow();
}

}  // namespace qm::logic
