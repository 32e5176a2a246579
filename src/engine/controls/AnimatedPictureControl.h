// An animated picture (GIF) control. The media layer's animated picture reads
// the file and keeps time; the control shows the image that is due, at the
// picture's own size, so a frame capture sees what is on screen.
#pragma once

#include "engine/controls/ImageControl.h"

namespace qm::media {
class AnimatedPicture;
}

namespace qm::engine {

class AnimatedPictureControl : public ImageControl {
  Q_OBJECT
 public:
  AnimatedPictureControl(QString name, int index, QWidget* parent);
  ~AnimatedPictureControl() override;
  const PropertyTable& propertyTable() const override;

  QString fileName() const { return fileName_; }
  // Loads a native path and shows its first image; "" empties the control.
  // False (see errorString()) when the file cannot be read as a picture.
  bool setFileName(const QString& nativePath);
  void setFileNameProperty(const QString& nativePath) { setFileName(nativePath); }
  QString errorString() const;
  // A percentage of the picture's own pace, halved: 50 plays it as stored.
  int speed() const { return speed_; }
  void setSpeed(int s);
  bool playing() const { return playing_; }
  // Starts from the first image and loops until stopped.
  void play();
  // Stops; the image on screen stays.
  void stop();
  int frameCount() const;
  int currentFrame() const;
  // The first image (what a still capture of the control shows).
  QImage stillImage() const;

 private:
  void showDueImage();

  QString fileName_;
  int speed_ = 0;
  bool playing_ = false;
  media::AnimatedPicture* animation_;  // never shown itself: the control paints its images
};

}  // namespace qm::engine
