// The project's default mouse pointer.
#pragma once

#include <QCursor>
#include <optional>

class QWidget;

namespace qm::startup {

// Gives the control the project's default pointer: the normal arrow when it is
// "default" (any case) or empty, else the icon file from Icons/. The control's
// "MousePointer" property becomes 0 or 99 and "MouseIcon" the picture (or none).
// Failures are ignored.
void ApplyDefaultCursor(QWidget* control);

// A pointer from a .cur/.ico (or any picture) file; nullopt when unreadable.
std::optional<QCursor> loadCursorFile(const QString& path);

}  // namespace qm::startup
