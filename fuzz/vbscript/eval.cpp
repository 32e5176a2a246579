// Fuzz target: any bytes run as a script (and as an Eval expression) in an
// engine with a short time limit must end normally or with a script error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/Engine.h"

namespace {
// Keeps fuzzed scripts away from the real file system and dialogs.
class FuzzHost : public qm::vbs::HostServices {
 public:
  qm::vbs::Value createObject(const std::u16string& progId, const std::u16string&) override {
    if (!qm::vbs::equalsNoCase(progId, u"Scripting.Dictionary")) qm::vbs::raise(qm::vbs::err::CannotCreateObject);
    return qm::vbs::Value();
  }
  std::string fileSystemRoot() const override { return "/nonexistent-fuzz-root"; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::vbs;
  std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzHost host;
  Engine engine;
  engine.setHost(&host);
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
