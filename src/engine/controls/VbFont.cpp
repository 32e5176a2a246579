#include "engine/controls/VbFont.h"

#include <algorithm>
#include <cmath>

namespace qm::engine {

namespace {
constexpr double kDotsPerInch = 96.0;
const QString kDefaultFace = QStringLiteral("Arial");
}  // namespace

VbFont::VbFont() {
  font_.setFamily(kDefaultFace);
  setSize(8.25);
}

void VbFont::setName(const QString& n) { font_.setFamily(n.isEmpty() ? kDefaultFace : n); }

void VbFont::setSize(double points) {
  if (!(points > 0) || points > 2000) return;
  size_ = points;
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kDotsPerInch / 72.0))));
}

}  // namespace qm::engine
