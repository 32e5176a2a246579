// The one-time video: a frame's or a hotspot action's video, played once over
// the frame picture while the caller waits for its end or for StopMovie.
#include "engine/OneTimeVideo.h"

#include <QCoreApplication>
#include <exception>

#include "engine/Game.h"
#include "engine/SoundChannels.h"
#include "platform/FileResolver.h"
#include "platform/WaitWhile.h"
#include "startup/ErrorReport.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/Waiting.h"

namespace qm::engine {

void OneTimeVideo::PlayMovieWithStop(const QString& fileName, const VideoPlacement& where) {
  if (where.naturalSizeAtPosition)
    PlayMovieWithStop(fileName, false, where.left, where.top, 0, 0);
  else if (where.naturalSizeAtOrigin)
    PlayMovieWithStop(fileName, false, 0, 0, 0, 0);
  else
    PlayMovieWithStop(fileName, true, where.left, where.top, where.width, where.height);
}

void OneTimeVideo::PlayMovieWithStop(const QString& fileName, bool bStretched, int lLeft, int lTop, int lWidth,
                                     int lheight) {
  Game& game = game_;
  MediaPlayerControl* player = game.OneTimeVideoPlayer;
  if (!player) return;
  // Each step may fail on its own; the others still run and one report comes at the end.
  QString failure;
  auto step = [&failure](auto&& action) {
    try {
      action();
    } catch (const std::exception& e) {
      if (failure.isEmpty()) failure = QString::fromUtf8(e.what());
    }
  };
  step([&] { StopOneTimeVideoPlayer(); });
  step([&] {
    const double x = lLeft * kTwipsPerPixel, y = lTop * kTwipsPerPixel;
    if (!bStretched) {
      player->setAutoSize(true);
      player->move(x, y);
    } else {
      player->setAutoSize(false);
      player->move(x, y, lWidth * kTwipsPerPixel, lheight * kTwipsPerPixel);
    }
  });
  step([&] { player->setShowControls(false); });
  step([&] {
    player->setFileName(startup::locatedMedia(startup::project().paths.frames, fileName));
    if (failure.isEmpty()) failure = player->errorString();
  });
  step([&] { player->setVolume(SoundChannels::ToPlayerVolume(SoundChannels::kMusicLevel)); });
  step([&] {
    player->setCurrentPosition(0);
    player->show();
    player->raise();
  });
  starting_ = true;
  step([] { startup::WaitSeconds(0.3, false); });
  starting_ = false;
  step([&] { player->play(); });
  QCoreApplication::processEvents();
  game.state().StopMovie = false;
  if (!failure.isEmpty())
    startup::ShowStandardErrorReport(
        QStringLiteral(" Error while attempting to play the following video file: \"") + fileName +
            QStringLiteral("\". "),
        failure);
}

void OneTimeVideo::StopOneTimeVideoPlayer() {
  MediaPlayerControl* player = game_.OneTimeVideoPlayer;
  if (!player || (player->fileName().isEmpty() && player->isHidden())) return;
  player->stop();
  player->setFileName(QString());
  player->hide();
}

bool OneTimeVideo::OneTimeVideoPlaying() const {
  return game_.OneTimeVideoPlayer && game_.OneTimeVideoPlayer->playState() == 2;
}

void OneTimeVideo::WaitForOneTimeVideo() {
  platform::waitWhile([this] {
    if (!OneTimeVideoPlaying() || game_.state().StopMovie) return false;
    // A menu bar the player called up stays away while the video plays.
    game_.HideMenus();
    return true;
  });
}

}  // namespace qm::engine
