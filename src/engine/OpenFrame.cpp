// Opening a frame: every frame change of the game goes through OpenFrame.
#include <QCoreApplication>
#include <cmath>
#include <tuple>

#include "engine/Game.h"
#include "engine/GamePictures.h"
#include "engine/KeyboardPlay.h"
#include "logic/GameLogic.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "script/DialogueRunner.h"
#include "script/TimedEvents.h"
#include "engine/RipplingWater.h"
#include "engine/Transitions.h"
#include "engine/controls/ControlArray.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/FrameHeader.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/Settings.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {

const QString kFrameLinkHelp = QStringLiteral(
    "Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Hotspot Properties "
    "is linked to an existing frame.");

// Rounds half to even, as VB's integer conversions do.
int roundToInt(double v) {
  if (!std::isfinite(v) || std::fabs(v) > 2147483647.0) throw VbError::overflow();
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

void Game::OpenFrame(const QString& sFrameName, bool bWithTransition, int iTransNumber, double dTransitionDuration) {
  auto& proj = project();
  const QString name = sFrameName;

  // 1-2: the frame must be named and exist; nothing changes otherwise.
  if (name.isEmpty()) {
    startup::ShowStandardErrorReport(QStringLiteral(" A program link is broken."));
    return;
  }
  if (!platform::fileExists(proj.paths.frames + name + QStringLiteral(".fme"))) {
    startup::ShowStandardErrorReport(QStringLiteral(" A program link is broken. The frame named \"") + name +
                                     QStringLiteral("\" could not be found. ") + kFrameLinkHelp);
    return;
  }

  try {
    // The old frame's hotspots go: keyboard focus starts afresh on the new ones.
    keyboardPlay().FrameChanged();
    // 3
    Timer1.setEnabled(false);
    Timer1.setInterval(0);
    timedEvents().ResetTimedEvents();
    logic().SetMergedHotspotIndex(1);
    MergedTextIndex = 1;

    // 4
    startup::ClearFrameHeader();
    startup::ReadFrameHeader(name);
    proj.frame.name = name;

    // 5: the first frame after a reset decides how scripts may reach controls.
    if (GameStopped()) return;
    if (ControlsReferenceMode == 0) {
      const QString all = QStringLiteral("reference_all_controls");
      const QString noTimeout = QStringLiteral("disable_script_timeout");
      ControlsReferenceMode =
          logic().DoesIntergerVariableExist(all) || logic().DoesVariantVariableExist(all) ? 2 : 1;
      if (logic().DoesIntergerVariableExist(noTimeout) || logic().DoesVariantVariableExist(noTimeout))
        scripts().DisableTimeouts();
    }

    // 6
    FramesHistoryAdd(name);

    // 7
    if (GameStopped()) return;
    const QString fmePath = proj.paths.frames + name + QStringLiteral(".fme");
    CurrentFrameFile = parseFrameFile(platform::readWholeFile(fmePath), fmePath);
    const FrameFile& f = CurrentFrameFile;
    soundChannels().StoreFrameRecords(f.soundRecords, f.soundFadeMs);
    const bool hasVideo = !f.video.isEmpty();

    // 8: let a running rippling-water step finish before the picture changes.
    effects().StopRipplingWater();

    // 9: video before the frame.
    if (GameStopped()) return;
    if (hasVideo && f.playVideoBefore && !bWithTransition) {
      video().StopOneTimeVideoPlayer();
      HideMenus();
      StopMovie = false;
      video().PlayMovieWithStop(f.video, f.videoPlacement());
    }

    // 10-12: sounds.
    if (GameStopped()) return;
    SoundChannels& sound = soundChannels();
    if (f.stopEverySound) sound.StopAnyWavOrMP3();
    if (GameStopped()) return;
    if (f.secondSound.isEmpty() && f.stopSecondSound) sound.StopChannel(7);
    if (GameStopped()) return;
    if (f.restartBackgroundSound) sound.StopChannel(6);
    if (!f.backgroundSound.isEmpty()) {
      // Music that plays on from the last frame is not restarted.
      const QString native = locateSoundFile(f.backgroundSound);
      if (!(sound.IsFilePlaying(native) && !f.restartBackgroundSound))
        sound.PlayOnChannel(6, native, f.loopBackgroundSound ? 0 : 1, SoundChannels::ToPlayerVolume(7));
    }

    // 13
    if (GameStopped()) return;
    ResetFrameTexts();
    logic().ResetFrameAreas();

    // 14
    if (GameStopped()) return;
    paintBackground(f);

    // 15-16
    if (GameStopped()) return;
    LoadTexts();
    proj.frame.hotspotCount = startup::ReadHotspotsCount(name);
    if (GameStopped()) return;
    logic().LoadAreas();

    // 17: the frame's start-up code.
    if (GameStopped()) return;
    VBScriptAction.ResetModule();
    QString pluginCode = script::PluginsFrameCode();
    pluginCode += script::BuildPluginCalls(f.pluginActions, false);
    if (proj.info.runFrameProcedure || f.runFrameProcedure || !pluginCode.isEmpty()) {
      const QString code = (proj.info.runFrameProcedure ? proj.info.frameProcedureName : QString()) +
                           QStringLiteral("\r\n") + pluginCode + QStringLiteral("\r\n") +
                           (f.runFrameProcedure ? f.frameProcedure : QString());
      std::ignore = scripts().ExecuteVBScript(code, true);
      if (VBScriptAction.bStopGame) {
        StartUnloading();
        return;
      }
    }

    // 18
    if (GameStopped()) return;
    logic().ShowOrNotShowAreas();
    for (int i = 1; i <= ObjectsCount; ++i)
      if (ImageControl* item = PickedObject.item(i)) item->zOrder(0);
    Inventory2->zOrder(0);
    Inventory1->zOrder(0);
    FrameMessageBox->zOrder(0);

    // 19: the frame's channel file.
    if (GameStopped()) return;
    if (!f.stopEverySound) {
      if (auto chn = platform::resolveExisting(proj.paths.frames + name + QStringLiteral(".chn"));
          chn && platform::fileExists(*chn)) {
        auto reader = startup::RecordReader::fromFile(*chn);
        sound.PlaySoundChannels(reader);
      }
    }

    // 20: the second sound.
    if (GameStopped()) return;
    if (!f.secondSound.isEmpty()) {
      const QString located = startup::LocateMediaFile(proj.paths.frames + f.secondSound);
      sound.PlayOnChannel(7, platform::resolveExisting(located).value_or(located), 1, SoundChannels::ToPlayerVolume(8));
    }

    // 21
    if (GameStopped()) return;
    const bool videoAfter = hasVideo && (!f.playVideoBefore || bWithTransition);
    if (videoAfter) video().StopOneTimeVideoPlayer();

    // 22
    if (GameStopped()) return;
    bool effectLoaded = false;
    if (!mnuDisableEffects->checked() && f.backgroundType == 1 && !f.tile)
      effectLoaded = effects().LoadWaveEffectIfAny(name);

    // 23
    sound.ApplySoundChannels();
    if (bWithTransition)
      transitions().TransitionStep2(iTransNumber, dTransitionDuration);
    else
      sound.EnableAudioFade();

    // 24
    dialogue().StartFrameDialogue(name);

    // 25
    if (GameStopped()) return;
    if (videoAfter) {
      HideMenus();
      StopMovie = false;
      video().PlayMovieWithStop(f.video, f.videoPlacement());
    }

    // 26
    if (GameStopped()) return;
    SetScreenPointerArrow();
    while (video().OneTimeVideoPlaying() && !StopMovie) {
      QCoreApplication::processEvents();
      HideMenus();
      QCoreApplication::processEvents();
    }
    SetScreenPointerDefault();
    video().StopOneTimeVideoPlayer();
    StopMovie = false;
    for (int i : VideoPlayer.indices()) {
      MediaPlayerControl* p = VideoPlayer.item(i);
      if (i != 0 && p && p->visible()) p->play();
    }

    // 27
    if (GameStopped()) return;
    if (!mnuDisableEffects->checked() && effectLoaded) effects().StartRipplingWater();

    // 28: the frame timer.
    try {
      if (f.timerOn) {
        Timer1.setTag(f.timerTarget);
        Timer1.setEnabled(true);
        Timer1.setInterval(roundToInt(f.timerSeconds * 1000.0));
      }
    } catch (const VbError&) {
      startup::ShowStandardErrorReport(QStringLiteral(" Unable to load timer duration."));
    }

    // 29
    timedEvents().StartTimedEvents();
  } catch (const VbError& e) {
    if (!GameStopped())
      startup::ShowStandardErrorReport(QStringLiteral(" Unable to load the frame called '") + name +
                                           QStringLiteral("'. ") + kFrameLinkHelp + QStringLiteral(" "),
                                       e.description);
  } catch (const ControlArrayError& e) {
    if (!GameStopped())
      startup::ShowStandardErrorReport(QStringLiteral(" Unable to load the frame called '") + name +
                                           QStringLiteral("'. ") + kFrameLinkHelp + QStringLiteral(" "),
                                       QString::fromStdString(e.what()));
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

void Game::paintBackground(const FrameFile& f) {
  auto& proj = project();
  if (f.backgroundType == 0) {
    PictureBox->clearPicture();
    PictureBox->cls();
    const double value = startup::vbVal(f.background);
    if (value != PictureBox->backColor()) PictureBox->setBackColor(roundToInt(value));
  } else if (f.backgroundType == 1 && f.tile) {
    PictureBox->clearPicture();
    PictureBox->cls();
    if (auto tile = loadGamePicture(proj.paths.frames + f.background)) {
      ImageTile->setPictureImage(*tile);
      const int tw = tile->width() * kTwipsPerPixel;
      const int th = tile->height() * kTwipsPerPixel;
      const int w = static_cast<int>(PictureBox->width());
      const int h = static_cast<int>(PictureBox->height());
      // Both ends included: a tile half the width paints three columns.
      if (tw > 0 && th > 0) {
        for (int x = 0; x <= w; x += tw)
          for (int y = 0; y <= h; y += th) PictureBox->paintPicture(*tile, x, y);
      }
      ImageTile->clearPicture();
    }
  } else if (f.backgroundType == 1) {
    PictureBox->setBackColor(0);
    PictureBox->cls();
    PictureBox->clearPicture();
    loadGamePicture(*PictureBox, proj.paths.frames + f.background);
  }
}

}  // namespace qm::engine
