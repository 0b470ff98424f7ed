#include "tools/mrvgfx/ValueNoise.h"

#include <cmath>

namespace {

int wrap(int v, int period)
{
    if (period <= 0)
        return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float smooth(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

float ValueNoise::lattice(int x, int y) const
{
    uint32_t h = seed ^ (static_cast<uint32_t>(x) * 0x27d4eb2du) ^ (static_cast<uint32_t>(y) * 0x165667b1u);
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) * (1.0f / 16777215.0f);
}

float ValueNoise::at(float x, float y, int periodX, int periodY) const
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = smooth(x - fx), ty = smooth(y - fy);
    const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    const float top = lattice(x0, y0) + (lattice(x1, y0) - lattice(x0, y0)) * tx;
    const float bottom = lattice(x0, y1) + (lattice(x1, y1) - lattice(x0, y1)) * tx;
    return top + (bottom - top) * ty;
}

float ValueNoise::at(float x, int period) const
{
    return at(x, 0.5f, period, 0);
}

float ValueNoise::fractal(float x, float y, int octaves, int periodX, int periodY) const
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f, scale = 1.0f;
    for (int k = 0; k < octaves; ++k)
    {
        sum += weight * at(x * scale, y * scale, periodX * static_cast<int>(scale), periodY * static_cast<int>(scale));
        total += weight;
        weight *= 0.5f;
        scale *= 2.0f;
    }
    return sum / total;
}

float ValueNoise::fractal(float x, int octaves, int period) const
{
    return fractal(x, 0.5f, octaves, period, 0);
}
