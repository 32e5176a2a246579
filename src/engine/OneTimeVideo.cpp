// The one-time video: a frame's or a hotspot action's video, played once over
// the frame picture while the caller waits for its end or for StopMovie.
#include <QCoreApplication>
#include <exception>

#include "engine/Game.h"
#include "engine/GameSeams.h"
#include "platform/FileResolver.h"
#include "platform/WaitWhile.h"
#include "startup/ErrorReport.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/Waiting.h"

namespace qm::engine::seams {

namespace {
constexpr int kOneTimeVideoVolume = -1200;  // the player volume of level 7
}

void PlayMovieWithStop(Game& game, const QString& fileName, bool bStretched, int lLeft, int lTop, int lWidth,
                       int lheight) {
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
  step([&] { StopOneTimeVideoPlayer(game); });
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
    const QString located = startup::LocateMediaFile(startup::project().paths.frames + fileName);
    player->setFileName(platform::resolveExisting(located).value_or(located));
    if (failure.isEmpty()) failure = player->errorString();
  });
  step([&] { player->setVolume(kOneTimeVideoVolume); });
  step([&] {
    player->setCurrentPosition(0);
    player->show();
    player->raise();
  });
  game.VideoStarting = true;
  step([] { startup::WaitSeconds(0.3, false); });
  game.VideoStarting = false;
  step([&] { player->play(); });
  QCoreApplication::processEvents();
  game.StopMovie = false;
  if (!failure.isEmpty())
    startup::ShowStandardErrorReport(
        QStringLiteral(" Error while attempting to play the following video file: \"") + fileName +
            QStringLiteral("\". "),
        failure);
}

void StopOneTimeVideoPlayer(Game& game) {
  MediaPlayerControl* player = game.OneTimeVideoPlayer;
  if (!player || (player->fileName().isEmpty() && player->isHidden())) return;
  player->stop();
  player->setFileName(QString());
  player->hide();
}

bool OneTimeVideoPlaying(Game& game) {
  return game.OneTimeVideoPlayer && game.OneTimeVideoPlayer->playState() == 2;
}

void WaitForOneTimeVideo(Game& game) {
  platform::waitWhile([&game] {
    if (!OneTimeVideoPlaying(game) || game.StopMovie) return false;
    // A menu bar the player called up stays away while the video plays.
    game.HideMenus();
    return true;
  });
}

}  // namespace qm::engine::seams
