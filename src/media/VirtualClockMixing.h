// Sound on the virtual clock: the mixer plays nothing by itself; whenever
// virtual time moves on, exactly the sound up to the new time is mixed, with
// the decoders waited for, so that positions and the ends of sounds follow
// virtual time and a recording's sound track stays in step with its pictures.
#pragma once

namespace qm::media {

// Switches the shared mixer to follow the (already virtual) game clock, from
// the time it stands at now (again after a switch back, for tests). Does
// nothing on real time.
void mixOnVirtualClock();

}  // namespace qm::media
