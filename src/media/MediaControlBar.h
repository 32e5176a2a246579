// The bar a media player shows under its picture when ShowControls is on: play, stop,
// and a position slider that can be dragged to seek.
#pragma once

#include <QWidget>

class QSlider;
class QToolButton;

namespace qm::media {

class MediaPlayer;

class MediaControlBar : public QWidget {
  Q_OBJECT
 public:
  explicit MediaControlBar(MediaPlayer* player);
  static constexpr int kHeight = 26;
  // Follows the player's position and state.
  void refresh();

 private:
  MediaPlayer* player_;
  QToolButton* play_;
  QToolButton* stop_;
  QSlider* slider_;
};

}  // namespace qm::media
