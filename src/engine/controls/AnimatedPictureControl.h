// An animated picture (GIF) control. Shows the first image of its file; the
// animation itself is driven by the media layer once attached.
#pragma once

#include "engine/controls/ImageControl.h"

namespace qm::engine {

class AnimatedPictureControl : public ImageControl {
  Q_OBJECT
 public:
  AnimatedPictureControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  QString fileName() const { return fileName_; }
  void setFileName(const QString& nativePath);
  int speed() const { return speed_; }
  void setSpeed(int s) { speed_ = s; }
  bool playing() const { return playing_; }
  void play() { playing_ = true; }
  void stop() { playing_ = false; }

 private:
  QString fileName_;
  int speed_ = 0;
  bool playing_ = false;
};

}  // namespace qm::engine
