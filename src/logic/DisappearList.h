#pragma once
// Hotspots made to disappear for the rest of the game: pairs of a frame name
// and a hotspot number, kept in an integer-variable collection (name = frame,
// value = hotspot number) so that saved games store them as such.

#include "logic/VariableCollections.h"

namespace qm::logic {

void addDisappearedHotspot(VariablesCollection& disappear, const QString& frameName, int hotspotNumber);
// The frame name must match exactly, letter case included.
bool isHotspotDisappeared(const VariablesCollection& disappear, const QString& frameName, int hotspotNumber);

}  // namespace qm::logic
