// Fuzz target: any bytes, read as script text, must either compile or raise
// a syntax error; never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Bytecode.h"
#include "vbscript/compiler/Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::vbs;
  std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  for (bool expression : {false, true}) {
    try {
      ast::Program p = parseProgram(text, expression ? ParseMode::Expression : ParseMode::Program);
      compileProgram(p, expression);
    } catch (const ScriptError&) {
    }
  }
  return 0;
}
