#pragma once

#include <cstdint>

// White noise from a 32-bit xorshift generator. Every note seeds its own,
// from its track and position, so a render never depends on anything but
// the score.
class NoiseSource
{
public:
    explicit NoiseSource(uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}

    // Uniform in [-1, 1).
    float next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }

    // Mixes values into a seed with good spread for nearby inputs.
    static uint32_t hash(uint32_t a, uint32_t b, uint32_t c);

private:
    uint32_t state;
};
