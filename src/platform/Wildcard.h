// File-name patterns with "*" (any run of characters) and "?" (one character).
#pragma once

#include <QString>

namespace qm::platform {

// True when name matches the pattern; letter case counts unless told otherwise.
bool matchesWildcard(const QString& name, const QString& pattern, Qt::CaseSensitivity cs = Qt::CaseSensitive);

}  // namespace qm::platform
