#include "logic/DisappearList.h"

namespace qm::logic {

void addDisappearedHotspot(VariablesCollection& disappear, const QString& frameName, int hotspotNumber) {
  disappear.Add(frameName, static_cast<int16_t>(hotspotNumber));
}

bool isHotspotDisappeared(const VariablesCollection& disappear, const QString& frameName, int hotspotNumber) {
  for (const auto& pair : disappear)
    if (pair.Name == frameName && pair.Value == hotspotNumber) return true;
  return false;
}

}  // namespace qm::logic
