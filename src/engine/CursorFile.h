// Mouse pointers from icon (.ico), cursor (.cur) or picture files, and the
// project's default pointer.
#pragma once

#include <QCursor>
#include <QString>
#include <optional>

namespace qm::engine {

// A pointer from a native file path (icon, cursor, or any picture: hot spot at its centre).
std::optional<QCursor> loadCursorFile(const QString& nativePath);

// The default cursor names no file: empty or "default" (any case).
bool isDefaultPointer(const QString& defaultCursor);

class VbControl;
// Gives a control the project's default pointer: the standard one, or the
// icon from Icons\ as its custom pointer. Controls loaded later from a
// template inherit what the template has.
void ApplyDefaultCursor(VbControl& control);

// The native path of the default pointer's icon, found as every media file is
// (coded names, the CD; a missing file is warned about): "" for the standard
// pointer or a file that is not there.
QString DefaultCursorIcon();

}  // namespace qm::engine
