// The game doctor: reads a whole game folder with the player's own readers,
// without opening a window or playing anything, and reports every problem it
// finds.
#pragma once

#include <QString>

#include "doctor/Finding.h"

namespace qm::doctor {

struct CheckResult {
  bool isGame = false;  // false: the folder is missing or has no Config/General
  QString notGameReason;
  Findings findings;    // sorted by file and line
  int filesChecked = 0; // data files read
};

// Never throws: a failure inside a check becomes an error finding.
CheckResult checkGameFolder(const QString& folder);

}  // namespace qm::doctor
