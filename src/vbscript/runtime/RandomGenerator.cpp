#include "vbscript/runtime/RandomGenerator.h"

#include <cstring>

namespace qm::vbs::rt {

namespace {
constexpr uint32_t kMultiplier = 0x43FD43FD;
constexpr uint32_t kIncrement = 0xC39EC3;
constexpr uint32_t kMask = 0xFFFFFF;
} // namespace

void RandomGenerator::step() { seed_ = (seed_ * kMultiplier + kIncrement) & kMask; }

float RandomGenerator::next()
{
    step();
    return static_cast<float>(seed_) / 16777216.0f;
}

float RandomGenerator::next(float number)
{
    if (number < 0) {
        uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        seed_ = ((bits & kMask) + (bits >> 24)) & kMask;
        return next();
    }
    if (number == 0)
        return static_cast<float>(seed_) / 16777216.0f;
    return next();
}

void RandomGenerator::randomize(double number)
{
    uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    uint32_t high = static_cast<uint32_t>(bits >> 32);
    uint32_t mixed = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    seed_ = (seed_ & 0xFF) | (mixed & kMask);
}

} // namespace qm::vbs::rt
