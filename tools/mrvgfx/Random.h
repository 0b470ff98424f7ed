#pragma once

#include <cstdint>

// A small seeded generator (SplitMix64). The platform's rand() differs
// between C libraries; this one gives the same pictures everywhere.
class Random
{
public:
    explicit Random(uint64_t seed) : state(seed) {}

    uint32_t next();
    // Uniform in [0, 1).
    float uniform();
    // Uniform in [lo, hi).
    float range(float lo, float hi);

private:
    uint64_t state;
};
