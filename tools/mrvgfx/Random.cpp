#include "tools/mrvgfx/Random.h"

uint32_t Random::next()
{
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z >> 32);
}

float Random::uniform()
{
    // 24 bits: every value is exact in a float and below 1.
    return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}

float Random::range(float lo, float hi)
{
    return lo + (hi - lo) * uniform();
}
