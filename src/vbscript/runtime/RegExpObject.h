#pragma once
// The RegExp object and its Match, MatchCollection and SubMatches results.
#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"

namespace qm::vbs::rt {

Dispatch* newRegExp(BuiltinContext& ctx);

} // namespace qm::vbs::rt
