// Running another program and waiting for its end.
#pragma once

#include <QString>

namespace qm::startup {

// Starts the program (a path as the game names it; arguments after the first
// blank that follows an existing program path are passed on) and waits while
// letting window events run. Failures show the standard error report
// " Error opening the file titled '<path>'." when reportFully, else an
// information box "Error launching external application. Probably file not
// found (<path>)." Returns false on failure.
bool RunAndWait(const QString& path, bool reportFully);

}  // namespace qm::startup
