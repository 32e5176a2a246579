// Records a walkthrough as a video: the game's frame picture (project width x
// height, with everything drawn on it) 25 times a second of game time (real or
// virtual), and the game's mixed sound as the sound track. Pictures are taken on the
// user-interface thread whenever events run; encoding runs on a worker thread.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "media/VideoRecorder.h"
#include "platform/Clock.h"
#include "platform/GameTimer.h"

class QTextStream;

namespace qm::app {

class WalkthroughRecording {
 public:
  static constexpr int kFramesPerSecond = 25;

  // Starts recording into `path` (container by its extension) at `size`;
  // `picture` gives the game's frame picture, or a null image while no game shows.
  bool start(const QString& path, QSize size, std::function<QImage()> picture, QString* error);
  // Ends the recording and prints the frames written and dropped.
  bool finish(QTextStream& out);

 private:
  void tick();

  QString path_;
  QSize size_;
  std::function<QImage()> picture_;
  platform::GameTimer timer_;
  platform::ElapsedClock clock_;
  long long lastSlot_ = -1;
  media::VideoRecorder recorder_;
};

}  // namespace qm::app
