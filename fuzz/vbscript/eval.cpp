// Fuzz target: any bytes run as a script (and as an Eval expression) in an
// engine with a short time limit must end normally or with a script error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/Engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::vbs;
  std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  Engine engine;
  engine.setTimeout(200);
  try {
    engine.addCode(text);
  } catch (const ScriptError&) {
  }
  try {
    engine.eval(text);
  } catch (const ScriptError&) {
  }
  try {
    for (const auto& p : engine.procedures()) {
      if (p.numArgs == 0) engine.run(p.name);
    }
  } catch (const ScriptError&) {
  }
  return 0;
}
