#include "engine/controls/MediaPlayerControl.h"

#include <algorithm>

#include "engine/controls/MediaLayerBackend.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(MediaPlayerControl, "FileName", fileName, setFileName, toString),
    QM_PROP(MediaPlayerControl, "PlayCount", playCount, setPlayCount, toInt),
    QM_PROP(MediaPlayerControl, "Volume", volume, setVolume, toInt),
    QM_PROP(MediaPlayerControl, "Rate", rate, setRate, toDouble),
    QM_PROP(MediaPlayerControl, "CurrentPosition", currentPosition, setCurrentPosition, toDouble),
    QM_PROP(MediaPlayerControl, "AutoSize", autoSize, setAutoSize, toBool),
    QM_PROP(MediaPlayerControl, "ShowControls", showControls, setShowControls, toBool),
    QM_PROP_RO(MediaPlayerControl, "PlayState", playState),
};
}  // namespace

MediaPlayerControl::MediaPlayerControl(QString name, int index, QWidget* parent)
    : VbControl(std::move(name), index, parent) {}
MediaPlayerControl::~MediaPlayerControl() = default;

const PropertyTable& MediaPlayerControl::propertyTable() const {
  static const PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

void MediaPlayerControl::ensureBackend() {
  if (!backend_) attachBackend(std::make_unique<MediaLayerBackend>(this));
}

void MediaPlayerControl::setFileName(const QString& f) {
  if (!f.isEmpty()) ensureBackend();
  fileName_ = f;
  if (backend_) backend_->open(f);
  applyAutoSize();
}

void MediaPlayerControl::setAutoSize(bool a) {
  autoSize_ = a;
  applyAutoSize();
}

void MediaPlayerControl::setShowControls(bool s) {
  showControls_ = s;
  if (backend_) backend_->setShowControls(s);
  applyAutoSize();
}

// With AutoSize a video player takes the picture's own size.
void MediaPlayerControl::applyAutoSize() {
  if (!autoSize_ || !backend_) return;
  const QSize natural = backend_->naturalSize();
  if (natural.isValid() && !natural.isEmpty()) {
    setPixelSize(natural.width(), natural.height());
    backend_->fitTo(size());
  }
}

void MediaPlayerControl::sizeChanged() {
  if (backend_) backend_->fitTo(size());
}
void MediaPlayerControl::setPlayCount(int c) {
  playCount_ = c;
  if (backend_) backend_->setPlayCount(c);
}
void MediaPlayerControl::setVolume(int v) {
  volume_ = std::clamp(v, -10000, 0);
  if (backend_) backend_->setVolume(volume_);
}
void MediaPlayerControl::setRate(double r) {
  rate_ = r;
  if (backend_) backend_->setRate(r);
}
double MediaPlayerControl::currentPosition() const { return backend_ ? backend_->currentPosition() : 0.0; }
void MediaPlayerControl::setCurrentPosition(double s) {
  if (backend_) backend_->setCurrentPosition(s);
}
int MediaPlayerControl::playState() const { return backend_ ? backend_->playState() : 0; }
void MediaPlayerControl::play() {
  if (backend_) backend_->play();
}
void MediaPlayerControl::stop() {
  if (backend_) backend_->stop();
}

void MediaPlayerControl::attachBackend(std::unique_ptr<MediaBackend> backend) {
  backend_ = std::move(backend);
  if (backend_) {
    backend_->setVolume(volume_);
    backend_->setPlayCount(playCount_);
    backend_->setRate(rate_);
    backend_->setShowControls(showControls_);
    backend_->fitTo(size());
    if (!fileName_.isEmpty()) backend_->open(fileName_);
  }
}

}  // namespace qm::engine
