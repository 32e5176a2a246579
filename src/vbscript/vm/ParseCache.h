// Compiled modules kept by source text, so re-adding a text costs a lookup.
#pragma once

#include <memory>
#include <string_view>

#include "vbscript/compiler/Bytecode.h"

namespace qm::vbs {

// The compiled module of `text` (Expression mode for Eval). Syntax errors
// are thrown every time (failures are not cached).
// With `outer`, the text is compiled to run inside that procedure (Execute
// and Eval in a procedure see its variables).
std::shared_ptr<const Module> compileCached(std::u16string_view text, bool expression,
                                           const FunctionCode* outer = nullptr);

// Drops every cached module (tests and memory pressure).
void clearParseCache();

}  // namespace qm::vbs
