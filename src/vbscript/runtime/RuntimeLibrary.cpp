// OWNED BY DEVELOPER B: this placeholder lets the engine link until the
// runtime library replaces this whole file.
#include "vbscript/Builtins.h"
#include "vbscript/Value.h"

namespace qm::vbs {

void registerRuntimeLibrary(BuiltinRegistry&) {}

bool parseDateText(std::u16string_view, double&) { return false; }

}  // namespace qm::vbs
