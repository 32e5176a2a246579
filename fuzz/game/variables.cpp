// Feeds arbitrary bytes to the variables file reader.
#include <cstddef>
#include <cstdint>

#include "logic/VariableStore.h"
#include "platform/VbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  qm::logic::VariableStore store;
  try {
    store.loadVariablesFrom(bytes, {qm::logic::PluginVariableNames{{"a", "B"}, {"c"}}});
  } catch (const qm::VbError&) {
  }
  for (const auto& v : store.Variables) (void)store.GetVariableValue(v.Name);
  return 0;
}
