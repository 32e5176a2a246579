#include "engine/controls/MediaLayerBackend.h"

#include <QDebug>

#include "media/MediaControlBar.h"
#include "media/MediaPlayer.h"
#include "platform/NativeName.h"

namespace qm::engine {

MediaLayerBackend::MediaLayerBackend(QWidget* host) : player_(new media::MediaPlayer(host)) {
  // The control decides its own size; the picture is stretched to it.
  player_->setAutoSize(false);
  if (host) player_->setGeometry(0, 0, host->width(), host->height());
  // Clicks go to the control, as they did before any media was attached.
  player_->setAttribute(Qt::WA_TransparentForMouseEvents);
  player_->show();
}

MediaLayerBackend::~MediaLayerBackend() { delete player_.data(); }

void MediaLayerBackend::open(const QString& nativePath) {
  if (!player_) return;
  if (!player_->setFileName(nativePath) && !nativePath.isEmpty())
    qWarning().noquote() << "Unable to load media file" << platform::readableName(nativePath) << "-" << player_->errorString();
}

void MediaLayerBackend::play() {
  if (player_ && !player_->FileName().isEmpty()) player_->Play();
}

void MediaLayerBackend::stop() {
  if (player_) player_->Stop();
}

int MediaLayerBackend::playState() const { return player_ ? player_->PlayState() : 0; }

void MediaLayerBackend::setVolume(int centibels) {
  if (player_) player_->setVolume(centibels);
}

void MediaLayerBackend::setPlayCount(int count) {
  if (player_) player_->setPlayCount(count);
}

void MediaLayerBackend::setRate(double rate) {
  if (player_) player_->setRate(rate);
}

double MediaLayerBackend::currentPosition() const { return player_ ? player_->CurrentPosition() : 0.0; }

void MediaLayerBackend::setCurrentPosition(double seconds) {
  if (player_) player_->setCurrentPosition(seconds);
}

void MediaLayerBackend::setShowControls(bool on) {
  if (player_) player_->setShowControls(on);
}

void MediaLayerBackend::fitTo(const QSize& pixels) {
  if (player_) player_->setGeometry(0, 0, pixels.width(), pixels.height());
}

QSize MediaLayerBackend::naturalSize() const {
  if (!player_ || !player_->hasVideo()) return {};
  QSize size = player_->naturalSize();
  // The control bar is part of the control when shown.
  if (player_->ShowControls()) size.rheight() += media::MediaControlBar::kHeight;
  return size;
}

QString MediaLayerBackend::errorString() const { return player_ ? player_->errorString() : QString(); }

}  // namespace qm::engine
