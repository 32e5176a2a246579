// Mouse pointers from icon (.ico), cursor (.cur) or picture files.
#pragma once

#include <QCursor>
#include <QString>
#include <optional>

namespace qm::engine {

// A pointer from a native file path (icon, cursor, or any picture: hot spot at its centre).
std::optional<QCursor> loadCursorFile(const QString& nativePath);

}  // namespace qm::engine
