#include "engine/controls/AnimatedPictureControl.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(AnimatedPictureControl, "FileName", fileName, setFileName, toString),
    QM_PROP(AnimatedPictureControl, "Speed", speed, setSpeed, toInt),
};
}  // namespace

AnimatedPictureControl::AnimatedPictureControl(QString name, int index, QWidget* parent)
    : ImageControl(std::move(name), index, parent) {}

const PropertyTable& AnimatedPictureControl::propertyTable() const {
  static const PropertyTable table{kProps, &ImageControl::propertyTable()};
  return table;
}

void AnimatedPictureControl::setFileName(const QString& nativePath) {
  fileName_ = nativePath;
  loadPicture(nativePath);
}

}  // namespace qm::engine
