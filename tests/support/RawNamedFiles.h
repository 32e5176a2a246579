// Removing what a test created under names that are not UTF-8: the toolkit's
// own removal cannot name such files, so a temporary folder holding them
// would stay behind.
#pragma once

#include <QByteArray>

namespace qm::testing {

// Removes everything inside `folder` (given by its bytes), by the bytes of
// each name; links are removed, never followed. Does nothing unless the
// folder lies inside the system's temporary folder.
void removeContentsByBytes(const QByteArray& folder);

}  // namespace qm::testing
