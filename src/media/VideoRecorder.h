// Records pictures and the mixer's sound into a video file: H.264 (or the best
// encoder the FFmpeg build offers) and AAC, in the container the file's
// extension names (.mp4, .mkv, .mov, .avi ...). Pictures come from the
// user-interface thread at a fixed rate; the sound is taken from the mixer as
// it is mixed. Encoding and writing run on a worker thread. The video has a
// constant rate: a slot without a picture of its own shows the picture before,
// as the screen did. In real time the caller is never held up: a picture
// offered while the worker is far behind is dropped and counted, never queued
// without bound. When time waits for the recording (a virtual clock), the
// caller waits for room instead, and nothing is dropped.
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
  enum class Pacing { RealTime, WaitForEncoder };
  bool start(const QString& path, QSize size, int fps, QString* error, Pacing pacing = Pacing::RealTime);

  // Offers the picture for slot `index` (slot n is shown from n / fps seconds
  // on; slots must rise; slots skipped show the picture before). False when it
  // was dropped because the worker is behind.
  bool addFrame(const QImage& picture, long long index);
  // Slots that passed without a picture because the caller was busy: they hold
  // the picture before (counted, but not as dropped).
  void countHeld(long long count);

  // Encodes what is queued, completes the file and closes it. False, with the
  // reason, when writing failed.
  bool finish(QString* error);

  // Pictures in the file, one per slot up to the last picture offered.
  long long framesWritten() const;
  // Pictures offered while the worker was behind, not written: their slots
  // show the picture before.
  long long framesDropped() const;
  // The slots counted by countHeld.
  long long framesHeld() const;
  // The encoders in use, e.g. "libx264 + aac".
  QString codecDescription() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace qm::media
