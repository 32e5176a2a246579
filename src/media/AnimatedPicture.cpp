#include "media/AnimatedPicture.h"


#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace qm::media {

namespace {
constexpr int kShortestDelayMs = 10;  // even at high speeds, at most 100 images a second
constexpr int kMaxPixels = 8192 * 8192;
}  // namespace

AnimatedPicture::AnimatedPicture(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, &AnimatedPicture::advance);
}

AnimatedPicture::~AnimatedPicture() = default;

bool AnimatedPicture::openReader() {
  reader_.reset();
  // Opened by the name's bytes: it may be a raw Windows-1252 or DOS name.
  device_ = std::make_unique<QFile>();
  if (!platform::openForReading(*device_, fileName_)) {
    error_ = QStringLiteral("file not readable: %1").arg(platform::readableName(fileName_));
    device_.reset();
    return false;
  }
  reader_ = std::make_unique<QImageReader>(device_.get());
  reader_->setDecideFormatFromContent(true);  // stored media names carry no usable extension
  const QSize s = reader_->size();
  if (s.isValid() && static_cast<qint64>(s.width()) * s.height() > kMaxPixels) {
    error_ = QStringLiteral("picture too large: %1").arg(platform::readableName(fileName_));
    reader_.reset();
    return false;
  }
  return reader_->canRead();
}

bool AnimatedPicture::readNext() {
  if (!reader_) return false;
  QImage next = reader_->read();
  if (next.isNull()) return false;
  image_ = std::move(next);
  const int stored = reader_->nextImageDelay();
  currentStoredDelay_ = stored < 20 ? kDefaultDelayMs : stored;
  return true;
}

bool AnimatedPicture::setFileName(const QString& path) {
  timer_->stop();
  reader_.reset();
  fileName_ = path;
  error_.clear();
  image_ = first_ = QImage();
  naturalSize_ = QSize();
  frameCount_ = 0;
  current_ = -1;
  if (path.isEmpty()) {
    update();
    return true;
  }
  if (!platform::isPlainFileAt(path) || !platform::isInsideConfinement(path)) {
    error_ = QStringLiteral("file not found: %1").arg(platform::readableName(path));
    update();
    return false;
  }
  if (!openReader() || !readNext()) {
    if (error_.isEmpty()) {
      error_ = QStringLiteral("cannot read the picture %1: %2")
                   .arg(platform::readableName(path), reader_ ? reader_->errorString() : QString());
    }
    reader_.reset();
    image_ = QImage();
    update();
    return false;
  }
  frameCount_ = std::max(reader_->imageCount(), 1);
  first_ = image_;
  current_ = 0;
  naturalSize_ = image_.size();
  resize(naturalSize_);
  update();
  emit frameChanged(0);
  return true;
}

void AnimatedPicture::setSpeed(int speed) {
  speed_ = speed < 1 ? kNormalSpeed : speed;
  if (timer_->isActive()) timer_->start(currentDelayMs());
}

int AnimatedPicture::scaledDelay(int storedDelayMs) const {
  const long long d = static_cast<long long>(storedDelayMs) * kNormalSpeed / speed_;
  return static_cast<int>(std::clamp<long long>(d, kShortestDelayMs, 3600 * 1000));
}

bool AnimatedPicture::isRunning() const { return timer_->isActive(); }

void AnimatedPicture::start() {
  timer_->stop();
  if (first_.isNull()) return;
  // From the first image again.
  if (current_ != 0) {
    if (!openReader() || !readNext()) return;
    current_ = 0;
    update();
    emit frameChanged(0);
  }
  scheduleNext();
}

void AnimatedPicture::stop() { timer_->stop(); }

void AnimatedPicture::scheduleNext() {
  if (frameCount_ > 1) timer_->start(currentDelayMs());
}

void AnimatedPicture::advance() {
  if (!reader_) return;
  if (current_ + 1 >= frameCount_ || !readNext()) {
    // Round again from the first image (a GIF cut short loops over what it has).
    if (!openReader() || !readNext()) {
      timer_->stop();
      return;
    }
    current_ = 0;
  } else {
    ++current_;
  }
  update();
  emit frameChanged(current_);
  scheduleNext();
}

void AnimatedPicture::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  // Drawn with its alpha over whatever lies beneath: transparent pixels show the parent.
  p.drawImage(QPoint(0, 0), image_);
}

}  // namespace qm::media
