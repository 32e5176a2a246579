// The one-time video: a frame's or a hotspot action's video, played once over
// the frame picture while the caller waits for its end or for StopMovie.
#pragma once

#include <QString>

namespace qm::engine {

class Game;

// Where a frame or an action shows its video: at its own size at a point, at
// its own size in the top left corner, or stretched over a rectangle (pixels).
struct VideoPlacement {
  bool naturalSizeAtPosition = false;
  bool naturalSizeAtOrigin = false;
  int left = 0, top = 0, width = 0, height = 0;
};

class OneTimeVideo {
 public:
  explicit OneTimeVideo(Game& game) : game_(game) {}

  // Plays fileName (relative to the frames folder) once in OneTimeVideoPlayer:
  // at its own size with its corner at (lLeft, lTop) pixels, or stretched to
  // lWidth x lHeight when bStretched. A file that cannot play is reported once.
  void PlayMovieWithStop(const QString& fileName, bool bStretched, int lLeft, int lTop, int lWidth, int lHeight);
  // The same, placed as a frame or an action asks.
  void PlayMovieWithStop(const QString& fileName, const VideoPlacement& where);
  void StopOneTimeVideoPlayer();
  bool OneTimeVideoPlaying() const;
  // The short pause before a one-time video starts (clicks are ignored then).
  bool starting() const { return starting_; }

 private:
  Game& game_;
  bool starting_ = false;
};

}  // namespace qm::engine
