// Where the script functions that read the time of day (Now, Date, Time, Timer,
// and Randomize without a seed) take it from: the system's clock, or a host's
// own clock (a game running on virtual time, whose scripts must see that time).
#pragma once

#include <functional>

namespace qm::vbs {

// The local date and time as a date serial (days since 30 December 1899, the
// fraction the time of day). An empty function goes back to the system's clock.
using NowSource = std::function<double()>;
void setNowSource(NowSource source);

}  // namespace qm::vbs
