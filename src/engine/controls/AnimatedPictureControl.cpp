#include "engine/controls/AnimatedPictureControl.h"

#include <QDebug>

#include "media/AnimatedPicture.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(AnimatedPictureControl, "FileName", fileName, setFileName, toString),
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

void AnimatedPictureControl::setFileName(const QString& nativePath) {
  fileName_ = nativePath;
  playing_ = false;
  if (!animation_->setFileName(nativePath) && !nativePath.isEmpty())
    qWarning().noquote() << "Unable to load animated picture" << nativePath << "-" << animation_->errorString();
  setPictureImage(animation_->stillImage(), animation_->stillImage().isNull() ? QString() : nativePath);
}

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
