#include "logic/HotspotVisibility.h"

#include "logic/DisappearList.h"
#include "logic/RecordSkipping.h"
#include "logic/VariableStore.h"
#include "startup/RecordReader.h"

namespace qm::logic {

namespace {

// Reads a list's names one by one; false as soon as one variable fails.
bool listHolds(startup::RecordReader& reader, const VariableStore& variables, int16_t required) {
  const int count = reader.readInt16();
  for (int i = 0; i < count; ++i) {
    const int16_t value = variables.GetVariableValue(reader.readString());
    if (value != required && value != kMissingVariableValue) return false;
  }
  return true;
}

bool recordShown(startup::RecordReader& reader, const VisibilityContext& context, int n) {
  reader.skip(10);
  if (context.disappear && isHotspotDisappeared(*context.disappear, context.currentFrameName, n)) return false;
  reader.skip(9);
  if (reader.readInt16() == 0) return true;
  static const VariableStore kEmpty;
  const VariableStore& variables = context.variables ? *context.variables : kEmpty;
  if (!listHolds(reader, variables, 0)) return false;
  return listHolds(reader, variables, 1);
}

void skipRestOfRecord(startup::RecordReader& reader) {
  if (reader.atEnd()) return;  // a last record without its separator
  if (reader.atRecordEnd()) {
    reader.skip(1);
    return;
  }
  skipToRecordEnd(reader);
}

}  // namespace

void evaluateHotspotVisibility(startup::RecordReader& reader, const VisibilityContext& context,
                               const std::function<void(int, bool)>& apply) {
  for (int n = 1; !reader.atEnd(); ++n) {
    if (context.gameStopped && context.gameStopped()) return;
    const bool shown = recordShown(reader, context, n);
    skipRestOfRecord(reader);
    apply(n, shown);
  }
}

std::vector<bool> hotspotVisibilityTable(const QByteArray& hotspotFile, const VisibilityContext& context) {
  std::vector<bool> table;
  startup::RecordReader reader(hotspotFile);
  evaluateHotspotVisibility(reader, context, [&](int, bool shown) { table.push_back(shown); });
  return table;
}

}  // namespace qm::logic
