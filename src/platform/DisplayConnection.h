// Whether the player can open its windows at all. The toolkit aborts with a
// core dump when its display cannot be reached; the player asks first and
// says so in words.
#pragma once

#include <QString>

namespace qm::platform {

struct DisplayCheck {
  bool ok = true;
  QString problem;  // why no display can be used (when !ok)
};

// Checks the display the toolkit is about to use. Platforms without a screen
// (offscreen, minimal, vnc...) need none and always pass; for X11, DISPLAY must
// be set and a connection must open.
DisplayCheck CheckDisplay();

// True when the toolkit runs without a screen (QT_QPA_PLATFORM offscreen or minimal).
bool IsHeadlessPlatform();

}  // namespace qm::platform
