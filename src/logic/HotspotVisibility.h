#pragma once
// Which hotspots of the current frame are shown: not when made to disappear
// in this frame, and, when the hotspot uses conditions, not when a variable of
// its first list exists and is not 0 or a variable of its second list exists
// and is not 1. The first failing rule decides.

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "logic/VariableCollections.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

class VariableStore;

struct VisibilityContext {
  QString currentFrameName;
  const VariablesCollection* disappear = nullptr;
  const VariableStore* variables = nullptr;
  std::function<bool()> gameStopped;  // optional: ends the pass when true
};

// Reads the hotspot file record by record and calls apply(n, shown) right
// after record n. A read error (or an error thrown by apply) ends the pass:
// hotspots before it have been applied, the error is thrown on.
void evaluateHotspotVisibility(startup::RecordReader& reader, const VisibilityContext& context,
                               const std::function<void(int, bool)>& apply);

// The whole table for a file's bytes, index 0 = hotspot 1 (tests, tools).
std::vector<bool> hotspotVisibilityTable(const QByteArray& hotspotFile, const VisibilityContext& context);

}  // namespace qm::logic
