// Feeds arbitrary bytes to the hotspot file reader and the visibility pass.
#include <cstddef>
#include <cstdint>

#include "logic/HotspotRecord.h"
#include "logic/HotspotVisibility.h"
#include "logic/VariableStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto contents = qm::logic::readHotspotFile(bytes);
  (void)contents;
  static qm::logic::VariableStore variables = [] {
    qm::logic::VariableStore v;
    v.Variables.Add("a", int16_t{1});
    return v;
  }();
  qm::logic::VariablesCollection disappear;
  disappear.Add("Hall", int16_t{2});
  qm::logic::VisibilityContext context{"Hall", &disappear, &variables, {}};
  try {
    (void)qm::logic::hotspotVisibilityTable(bytes, context);
  } catch (const qm::VbError&) {
  }
  return 0;
}
