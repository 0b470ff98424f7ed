#include "mrvutils/PerlinNoise.h"

#include <cmath>
#include <cstdint>

namespace {

struct Cell
{
    int i;
    float w;
};

// Truncation toward zero keeps the cell of -0.5 at 0; the cosine weight is
// symmetric, so the negative fraction gives the same weight as its magnitude.
Cell cellOf(float c)
{
    const int i = static_cast<int>(c);
    const float f = c - static_cast<float>(i);
    return { i, (1.0f - std::cos(3.1415927f * f)) * 0.5f };
}

} // namespace

PerlinNoise::PerlinNoise(float amplitude_, float frequency_, float persistence_, int octaves_)
    : amplitude(amplitude_), frequency(frequency_), persistence(persistence_), octaves(octaves_),
      rangeMax(amplitude_)
{
}

float PerlinNoise::lattice(int n) const
{
    // Wrapping 32-bit arithmetic, done unsigned so that overflow is defined.
    const uint32_t un = static_cast<uint32_t>(n);
    const uint32_t m = un ^ (un << 13);
    const uint32_t inner = m * m * static_cast<uint32_t>(hashMultiplier1) + static_cast<uint32_t>(hashMultiplier2);
    const uint32_t h = (m * inner + static_cast<uint32_t>(hashAddend)) & 0x7fffffffu;
    return 1.0f - static_cast<float>(h) / hashDivisor;
}

float PerlinNoise::blend2(int n, float wx, float wy) const
{
    return (lattice(n) * (1.0f - wx) + lattice(n + 1) * wx) * (1.0f - wy) +
           (lattice(n + 57) * (1.0f - wx) + lattice(n + 58) * wx) * wy;
}

float PerlinNoise::calcValue(float x) const
{
    const Cell cx = cellOf(x);
    return lattice(cx.i) * (1.0f - cx.w) + lattice(cx.i + 1) * cx.w;
}

float PerlinNoise::calcValue(float x, float y) const
{
    const Cell cx = cellOf(x);
    const Cell cy = cellOf(y);
    return blend2(cx.i + 57 * cy.i, cx.w, cy.w);
}

float PerlinNoise::calcValue(float x, float y, float z) const
{
    const Cell cx = cellOf(x);
    const Cell cy = cellOf(y);
    const Cell cz = cellOf(z);
    const int n = cx.i + 57 * cy.i + 13 * cz.i;
    return blend2(n, cx.w, cy.w) * (1.0f - cz.w) + blend2(n + 13, cx.w, cy.w) * cz.w;
}

float PerlinNoise::finish(float sum)
{
    float value = (sum + 1.0f) * 0.5f;
    if (value < rangeMin)
        value = rangeMin;
    if (value > rangeMax)
        value = rangeMax;
    lastValue = value;
    return value;
}

float PerlinNoise::getValue(float x)
{
    float sum = 0.0f, f = frequency, a = amplitude;
    for (int o = 0; o < octaves; ++o, f *= 2.0f, a *= persistence)
        sum += calcValue(x * f) * a;
    return finish(sum);
}

float PerlinNoise::getValue(float x, float y)
{
    float sum = 0.0f, f = frequency, a = amplitude;
    for (int o = 0; o < octaves; ++o, f *= 2.0f, a *= persistence)
        sum += calcValue(x * f, y * f) * a;
    return finish(sum);
}

float PerlinNoise::getValue(float x, float y, float z)
{
    float sum = 0.0f, f = frequency, a = amplitude;
    for (int o = 0; o < octaves; ++o, f *= 2.0f, a *= persistence)
        sum += calcValue(x * f, y * f, z * f) * a;
    return finish(sum);
}
