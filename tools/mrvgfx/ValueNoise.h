#pragma once

#include <cstdint>

// Smooth lattice noise in [0, 1] that repeats after a whole number of
// lattice cells, so textures that wrap (GL_REPEAT) show no seam. A period of
// 0 means no repetition along that axis.
class ValueNoise
{
public:
    explicit ValueNoise(uint32_t seed) : seed(seed) {}

    float at(float x, float y, int periodX = 0, int periodY = 0) const;
    float at(float x, int period = 0) const;
    // Octaves of doubling frequency and halving weight, normalised to [0, 1];
    // periods double with the frequency so the sum repeats like octave 1.
    float fractal(float x, float y, int octaves, int periodX = 0, int periodY = 0) const;
    float fractal(float x, int octaves, int period = 0) const;

private:
    float lattice(int x, int y) const;

    uint32_t seed;
};
