// Records pictures and the mixer's sound into a video file: H.264 (or the best
// encoder the FFmpeg build offers) and AAC, in the container the file's
// extension names (.mp4, .mkv, .mov, .avi ...). Pictures come from the
// user-interface thread at a fixed rate; the sound is taken from the mixer as
// it is mixed. Encoding and writing run on a worker thread, so the caller is
// never held up: a picture offered while the worker is still busy with
// earlier ones is dropped and counted, never queued without bound.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

namespace qm::media {

class VideoRecorder {
 public:
  VideoRecorder();
  ~VideoRecorder();
  VideoRecorder(const VideoRecorder&) = delete;
  VideoRecorder& operator=(const VideoRecorder&) = delete;

  // Opens the file for pictures of `size` (odd sizes are padded by one pixel)
  // at `fps` pictures a second, with the mixer's sound from now on. False,
  // with the reason, when the file or an encoder cannot be opened.
  bool start(const QString& path, QSize size, int fps, QString* error);

  // Offers the picture for slot `index` (slot n is shown from n / fps seconds
  // on; slots must rise). False when it was dropped because the worker is behind.
  bool addFrame(const QImage& picture, long long index);
  // Slots that passed without a picture (the caller was busy): counted as dropped.
  void countMissed(long long missed);

  // Encodes what is queued, completes the file and closes it. False, with the
  // reason, when writing failed.
  bool finish(QString* error);

  long long framesWritten() const;
  // Every picture not written: offered while the worker was behind, or missed.
  long long framesDropped() const;
  // Of those, the slots counted by countMissed.
  long long framesMissed() const;
  // The encoders in use, e.g. "libx264 + aac".
  QString codecDescription() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace qm::media
