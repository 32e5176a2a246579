#include "media/MediaControlBar.h"

#include <QHBoxLayout>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <cmath>

#include "media/MediaPlayer.h"

namespace qm::media {

MediaControlBar::MediaControlBar(MediaPlayer* player)
    : QWidget(player), player_(player), play_(new QToolButton(this)), stop_(new QToolButton(this)),
      slider_(new QSlider(Qt::Horizontal, this)) {
  setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(2);
  play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  play_->setToolTip(tr("Play"));
  stop_->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
  stop_->setToolTip(tr("Stop"));
  slider_->setRange(0, 1000);
  layout->addWidget(play_);
  layout->addWidget(stop_);
  layout->addWidget(slider_, 1);
  connect(play_, &QToolButton::clicked, player_, [this] { player_->Play(); });
  connect(stop_, &QToolButton::clicked, player_, [this] { player_->Stop(); });
  connect(slider_, &QSlider::sliderReleased, player_, [this] {
    const double d = player_->Duration();
    if (d > 0) player_->setCurrentPosition(d * slider_->value() / 1000.0);
  });
  setFixedHeight(kHeight);
}

void MediaControlBar::refresh() {
  play_->setEnabled(player_->PlayState() != MediaPlayer::Playing && !player_->FileName().isEmpty());
  stop_->setEnabled(player_->PlayState() == MediaPlayer::Playing);
  const double d = player_->Duration();
  if (!slider_->isSliderDown()) {
    slider_->setEnabled(d > 0);
    slider_->setValue(d > 0 ? static_cast<int>(std::lround(1000.0 * player_->CurrentPosition() / d)) : 0);
  }
}

}  // namespace qm::media
