// Numbers as VB writes and reads them in data files: "." as decimal point,
// optional exponent (E or D), &H and &O prefixes; conversions to integers round
// half to even and raise Overflow outside the type's range.
#pragma once

#include <cstdint>
#include <optional>

namespace qm::startup {

// The number the whole text (no blanks) spells, or nullopt.
std::optional<double> parseVbNumber(const char* text, long length);

// VB's CInt / CLng: round half to even; VbError 6 when out of range.
int16_t roundToInt16(double value);
int32_t roundToInt32(double value);

}  // namespace qm::startup
