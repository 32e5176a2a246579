// Writes GIF files in code, so that tests need no image tool: each frame's
// fully transparent pixels become the GIF's transparent colour.
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

namespace qm::testing {

// A GIF of the frames (all of the first frame's size, at most 255 colours
// each besides transparency), each shown for delayCentiseconds, looping for
// ever when there is more than one.
QByteArray gifBytes(const std::vector<QImage>& frames, int delayCentiseconds = 10);

}  // namespace qm::testing
