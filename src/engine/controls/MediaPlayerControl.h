// A media player control of the game window (sound channels, hotspot videos,
// the one-time video). It keeps the properties games set and hands them to a
// backend that does the playing: the media layer's player, made the first time
// a file is given, unless another backend was attached (attachBackend).
#pragma once

#include <memory>

#include "engine/controls/VbControl.h"
#include "media/Centibels.h"

namespace qm::engine {

// What the media layer provides to a player control.
class MediaBackend {
 public:
  virtual ~MediaBackend() = default;
  virtual void open(const QString& nativePath) = 0;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual int playState() const = 0;  // 0 stopped, 1 paused, 2 playing
  virtual void setVolume(int centibels) = 0;
  virtual void setPlayCount(int count) = 0;
  virtual void setRate(double rate) = 0;
  virtual double currentPosition() const = 0;
  virtual void setCurrentPosition(double seconds) = 0;
  virtual void setShowControls(bool) {}
  // The control's size in pixels changed.
  virtual void fitTo(const QSize&) {}
  // The picture's own size in pixels (invalid for sound or when unknown).
  virtual QSize naturalSize() const { return {}; }
  // Why the last load or play failed ("" when it did not).
  virtual QString errorString() const { return {}; }
};

class MediaPlayerControl : public VbControl {
  Q_OBJECT
 public:
  MediaPlayerControl(QString name, int index, QWidget* parent);
  ~MediaPlayerControl() override;
  const PropertyTable& propertyTable() const override;

  QString fileName() const { return fileName_; }
  void setFileName(const QString& f);
  int playCount() const { return playCount_; }
  void setPlayCount(int c);
  int volume() const { return volume_; }  // hundredths of a decibel, -10000..0
  void setVolume(int v);
  void setVolume(media::Centibels v) { setVolume(v.value); }
  double rate() const { return rate_; }
  void setRate(double r);
  double currentPosition() const;
  void setCurrentPosition(double s);
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool a);
  bool showControls() const { return showControls_; }
  void setShowControls(bool s);
  int playState() const;

  void play();
  void stop();

  void attachBackend(std::unique_ptr<MediaBackend> backend);
  MediaBackend* backend() const { return backend_.get(); }
  // Why the file could not be loaded or played ("" when it could).
  QString errorString() const { return backend_ ? backend_->errorString() : QString(); }

 protected:
  void sizeChanged() override;

 private:
  void ensureBackend();
  void applyAutoSize();

  QString fileName_;
  int playCount_ = 1;
  int volume_ = 0;
  double rate_ = 1.0;
  bool autoSize_ = false;
  bool showControls_ = false;
  std::unique_ptr<MediaBackend> backend_;
};

}  // namespace qm::engine
