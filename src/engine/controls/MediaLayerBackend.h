// The backend a media player control uses by default: a media-layer player
// widget inside the control, filling it. The control hands it native paths.
#pragma once

#include <QPointer>

#include "engine/controls/MediaPlayerControl.h"
#include "media/MediaPlayer.h"

namespace qm::engine {

class MediaLayerBackend : public MediaBackend {
 public:
  // The player widget becomes a child of host and follows its size.
  explicit MediaLayerBackend(QWidget* host);
  ~MediaLayerBackend() override;

  void open(const QString& nativePath) override;
  void play() override;
  void stop() override;
  int playState() const override;
  void setVolume(int centibels) override;
  void setPlayCount(int count) override;
  void setRate(double rate) override;
  double currentPosition() const override;
  void setCurrentPosition(double seconds) override;
  void setShowControls(bool on) override;
  void fitTo(const QSize& pixels) override;
  QSize naturalSize() const override;
  QString errorString() const override;

  media::MediaPlayer* player() const { return player_; }

 private:
  QPointer<media::MediaPlayer> player_;
};

}  // namespace qm::engine
