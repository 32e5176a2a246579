#include "media/MediaPlayer.h"

#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "media/AudioFormat.h"
#include "media/MediaControlBar.h"
#include "media/MediaOpener.h"
#include "media/MediaSession.h"
#include "platform/GameTimer.h"

namespace qm::media {

namespace {
constexpr int kVideoPollMs = 10;  // pictures follow the sound clock to within a frame
constexpr int kSoundPollMs = 40;  // sound-only players only watch for their end
}  // namespace

MediaPlayer::MediaPlayer(QWidget* parent) : QWidget(parent), timer_(new platform::GameTimer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  connect(timer_, &platform::GameTimer::timeout, this, &MediaPlayer::poll);
}

MediaPlayer::~MediaPlayer() { unload(); }

void MediaPlayer::unload() {
  timer_->stop();
  session_.reset();
  picture_ = QImage();
  wasPlaying_ = false;
}

bool MediaPlayer::setFileName(const QString& path) {
  unload();
  fileName_ = path;
  error_.clear();
  if (path.isEmpty()) {
    update();
    return true;
  }
  QString why;
  auto decoder = openDecoder(path, &why);
  if (!decoder) {
    error_ = why;
    update();
    return false;
  }
  session_ = std::make_unique<MediaSession>(std::move(decoder), rate_, playCount_, static_cast<float>(gainForVolume(volume_)));
  applyAutoSize();
  if (bar_) bar_->refresh();
  showPictureWhileIdle();  // the first picture, as soon as it is decoded
  update();
  return true;
}

void MediaPlayer::showPictureWhileIdle() {
  if (!session_ || !session_->hasVideo()) return;
  idlePolls_ = 50;
  if (!timer_->isActive()) timer_->start(kVideoPollMs);
}

double MediaPlayer::CurrentPosition() const { return session_ ? session_->position() : 0.0; }

void MediaPlayer::setCurrentPosition(double seconds) {
  if (!session_) return;
  if (!std::isfinite(seconds)) seconds = 0.0;
  session_->seek(std::max(0.0, seconds));
  showPictureWhileIdle();
}

void MediaPlayer::setRate(double rate) {
  rate_ = (rate > 0.0 && std::isfinite(rate)) ? std::clamp(rate, 0.1, 10.0) : 1.0;
  if (session_) session_->setRate(rate_);
}

void MediaPlayer::setPlayCount(int count) {
  playCount_ = std::max(count, 0);
  if (session_) session_->setPlayCount(playCount_);
}

void MediaPlayer::setVolume(int centibels) {
  volume_ = std::clamp(centibels, kQuietestVolume, 0);
  if (session_) session_->setGain(static_cast<float>(gainForVolume(volume_)));
}

int MediaPlayer::PlayState() const { return session_ && session_->isPlaying() ? Playing : Stopped; }

bool MediaPlayer::Play() {
  if (!session_) {
    if (error_.isEmpty()) error_ = QStringLiteral("no media loaded");
    return false;
  }
  session_->play();
  wasPlaying_ = true;
  updateTimer();
  return true;
}

void MediaPlayer::Stop() {
  if (!session_) return;
  session_->stop();
  wasPlaying_ = false;
  updateTimer();
  if (bar_) bar_->refresh();
}

void MediaPlayer::updateTimer() {
  if (!session_) {
    timer_->stop();
    return;
  }
  if (session_->isPlaying()) {
    timer_->start(session_->hasVideo() ? kVideoPollMs : kSoundPollMs);
  } else if (!session_->hasVideo()) {
    timer_->stop();
  }
}

void MediaPlayer::poll() {
  if (!session_) {
    timer_->stop();
    return;
  }
  bool tookPicture = false;
  if (session_->hasVideo()) {
    // While not playing, the picture just after the position stands for it (a video's
    // first picture often starts a little after its sound).
    const double lookAhead = session_->isPlaying() ? 0.0 : 0.2;
    if (auto frame = session_->pictures().takeDue(session_->clock(), lookAhead)) {
      picture_ = std::move(frame->image);
      tookPicture = true;
      if (isVisible()) update(pictureRect());
    }
  }
  if (bar_ && bar_->isVisible()) bar_->refresh();
  const bool playing = session_->isPlaying();
  if (wasPlaying_ && !playing) {
    wasPlaying_ = false;
    const QString err = session_->errorString();
    if (!err.isEmpty()) {
      error_ = err;
      emit errorOccurred(err);
    } else if (session_->hasFinished()) {
      emit ended();
    }
  }
  if (!playing) {
    // Not playing: keep looking only until the picture for the current position is shown.
    if (tookPicture) idlePolls_ = 0;
    if (idlePolls_ <= 0 || --idlePolls_ == 0) timer_->stop();
  }
}

void MediaPlayer::setAutoSize(bool on) {
  autoSize_ = on;
  applyAutoSize();
}

void MediaPlayer::applyAutoSize() {
  if (!autoSize_ || !session_ || !session_->hasVideo()) return;
  const QSize s = session_->naturalSize();
  resize(s.width(), s.height() + (showControls_ ? MediaControlBar::kHeight : 0));
}

void MediaPlayer::setShowControls(bool on) {
  if (on == showControls_) {
    update();
    return;
  }
  showControls_ = on;
  if (on && !bar_) bar_ = new MediaControlBar(this);
  if (bar_) bar_->setVisible(on);
  applyAutoSize();
  layoutControls();
  update();
}

void MediaPlayer::layoutControls() {
  if (!bar_) return;
  bar_->setGeometry(0, height() - MediaControlBar::kHeight, width(), MediaControlBar::kHeight);
  bar_->refresh();
}

void MediaPlayer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

QRect MediaPlayer::pictureRect() const {
  QRect r = rect();
  if (showControls_) r.setBottom(r.bottom() - MediaControlBar::kHeight);
  return r;
}

QString MediaPlayer::errorString() const {
  if (session_) {
    const QString late = session_->errorString();
    if (!late.isEmpty()) return late;
  }
  return error_;
}

double MediaPlayer::Duration() const { return session_ ? session_->duration() : 0.0; }
bool MediaPlayer::hasVideo() const { return session_ && session_->hasVideo(); }
QSize MediaPlayer::naturalSize() const { return session_ ? session_->naturalSize() : QSize(); }

qint64 MediaPlayer::firstSoundTimeNs() const {
  if (!session_) return 0;
  const auto t = session_->stream().firstSoundTime();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void MediaPlayer::paintEvent(QPaintEvent*) {
  if (!session_ || !session_->hasVideo()) return;  // a sound player shows nothing
  QPainter p(this);
  const QRect r = pictureRect();
  if (picture_.isNull()) {
    p.fillRect(r, Qt::black);
    return;
  }
  p.setRenderHint(QPainter::SmoothPixmapTransform, picture_.size() != r.size());
  p.drawImage(r, picture_);
}

}  // namespace qm::media
