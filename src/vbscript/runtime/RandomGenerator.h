#pragma once
// VB's pseudo-random generator: a 24-bit linear congruential generator whose
// sequences match the original Rnd/Randomize for the same seeds.
#include <cstdint>

namespace qm::vbs::rt {

class RandomGenerator {
public:
    RandomGenerator() = default;
    explicit RandomGenerator(uint32_t seed) : seed_(seed & 0xFFFFFF) {}

    // Rnd(): next value. Rnd(n): n < 0 reseeds from n and returns the first value of
    // that sequence; n = 0 repeats the last value; n > 0 gives the next value.
    float next();
    float next(float number);
    // Randomize n: mixes n into the seed (the sequence position is kept in part).
    void randomize(double number);
    uint32_t seed() const { return seed_; }

private:
    void step();
    uint32_t seed_ = 0x50000;
};

} // namespace qm::vbs::rt
