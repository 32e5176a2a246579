#pragma once
// Builds with AddressSanitizer run scripts several times slower. Tests that
// reach another engine limit through real work (regular-expression steps,
// string space) give their scripts more time there, so the script time limit
// does not stop them first.
#include "vbscript/Engine.h"

namespace qm::vbs::rttest {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif
#else
inline constexpr bool kSanitizedBuild = false;
#endif

inline void allowSanitizerSlowdown(Engine& engine) {
    if (kSanitizedBuild) engine.setTimeout(60000);
}

} // namespace qm::vbs::rttest
