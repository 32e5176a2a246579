#include "app/WalkthroughRecording.h"

#include <QTextStream>

namespace qm::app {

bool WalkthroughRecording::start(const QString& path, QSize size, std::function<QImage()> picture, QString* error) {
  path_ = path;
  size_ = size;
  picture_ = std::move(picture);
  // On the virtual clock game time waits for the recording: every picture of
  // game time is written, however long the encoder takes.
  const bool virtualTime = platform::Clock::instance().isVirtual();
  const auto pacing = virtualTime ? media::VideoRecorder::Pacing::WaitForEncoder : media::VideoRecorder::Pacing::RealTime;
  if (!recorder_.start(path, size, kFramesPerSecond, error, pacing)) return false;
  clock_.start();
  // Ticks come more often than pictures are due, so that a picture is taken
  // close to its time whenever the event loop runs; on the virtual clock a
  // tick comes exactly when each picture is due.
  timer_.setInterval(virtualTime ? 1000 / kFramesPerSecond : 5);
  QObject::connect(&timer_, &platform::GameTimer::timeout, [this] { tick(); });
  timer_.start();
  tick();
  return true;
}

void WalkthroughRecording::tick() {
  const long long slot = clock_.elapsed() * kFramesPerSecond / 1000;
  if (slot <= lastSlot_) return;
  // Slots that passed while the game was busy without letting events run: the
  // screen showed the picture painted before, and so does the video.
  recorder_.countHeld(slot - lastSlot_ - 1);
  lastSlot_ = slot;
  QImage picture = picture_ ? picture_() : QImage();
  if (picture.isNull()) {
    picture = QImage(size_, QImage::Format_RGB32);
    picture.fill(Qt::black);
  }
  recorder_.addFrame(picture, slot);
}

bool WalkthroughRecording::finish(QTextStream& out) {
  tick();  // the picture at the end, so the video lasts as long as the run
  timer_.stop();
  QString error;
  const bool ok = recorder_.finish(&error);
  out << "recording: " << recorder_.framesWritten() << " frames written, " << recorder_.framesDropped()
      << " dropped, " << recorder_.framesHeld() << " held while the game did not let events run ("
      << recorder_.codecDescription() << ", " << path_ << ")\n";
  if (!ok) out << "recording failed: " << error << "\n";
  out.flush();
  return ok;
}

}  // namespace qm::app
