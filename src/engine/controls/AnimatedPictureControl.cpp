#include "engine/controls/AnimatedPictureControl.h"

#include "media/AnimatedPicture.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(AnimatedPictureControl, "FileName", fileName, setFileNameProperty, toString),
    QM_PROP(AnimatedPictureControl, "Speed", speed, setSpeed, toInt),
};
}  // namespace

AnimatedPictureControl::AnimatedPictureControl(QString name, int index, QWidget* parent)
    : ImageControl(std::move(name), index, parent), animation_(new media::AnimatedPicture(this)) {
  animation_->hide();
  connect(animation_, &media::AnimatedPicture::frameChanged, this, [this] { showDueImage(); });
}

AnimatedPictureControl::~AnimatedPictureControl() = default;

const PropertyTable& AnimatedPictureControl::propertyTable() const {
  static const PropertyTable table{kProps, &ImageControl::propertyTable()};
  return table;
}

bool AnimatedPictureControl::setFileName(const QString& nativePath) {
  fileName_ = nativePath;
  playing_ = false;
  const bool loaded = animation_->setFileName(nativePath) || nativePath.isEmpty();
  setPictureImage(animation_->stillImage(), animation_->stillImage().isNull() ? QString() : nativePath);
  return loaded;
}

QString AnimatedPictureControl::errorString() const { return animation_->errorString(); }

void AnimatedPictureControl::setSpeed(int s) {
  speed_ = s;
  animation_->setSpeed(s);
}

void AnimatedPictureControl::play() {
  playing_ = true;
  animation_->start();
  showDueImage();
}

void AnimatedPictureControl::stop() {
  playing_ = false;
  animation_->stop();
}

int AnimatedPictureControl::frameCount() const { return animation_->frameCount(); }
int AnimatedPictureControl::currentFrame() const { return animation_->currentFrame(); }
QImage AnimatedPictureControl::stillImage() const { return animation_->stillImage(); }

void AnimatedPictureControl::showDueImage() {
  const QImage image = animation_->currentImage();
  if (!image.isNull()) setPictureImage(image, fileName_);
}

}  // namespace qm::engine
