// Windows colour values as games store them: 0x00BBGGRR, or a system colour
// (high bit set, low byte the system colour index).
#pragma once

#include <QColor>
#include <cstdint>

namespace qm::engine {

QColor colorFromVb(int64_t value);
int32_t colorToVb(const QColor& color);

}  // namespace qm::engine
