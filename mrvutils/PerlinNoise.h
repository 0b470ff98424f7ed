#pragma once

// Deterministic value noise: a hashed integer lattice blended with cosine
// interpolation and summed over octaves. Results are clamped to
// [0, amplitude], so fields whose octave sum exceeds the amplitude have flat
// plateaus at their top; the ocean's waves are shaped by that.
class PerlinNoise
{
public:
    PerlinNoise(float amplitude, float frequency, float persistence, int octaves);

    float getValue(float x);
    float getValue(float x, float y);
    float getValue(float x, float y, float z);

    // One octave: the interpolated lattice value, in (-1, 1].
    float calcValue(float x) const;
    float calcValue(float x, float y) const;
    float calcValue(float x, float y, float z) const;

    float getLastValue() const { return lastValue; }
    // The lattice hash h(n), exposed for tests and tools.
    float lattice(int n) const;

private:
    float finish(float sum);
    float blend2(int n, float wx, float wy) const;

    float amplitude;
    float frequency;
    float persistence;
    int octaves;
    float lastValue = 0.0f;
    int hashMultiplier1 = 15731;
    int hashMultiplier2 = 789221;
    int hashAddend = 1376312589;
    float hashDivisor = 1073741824.0f;
    float rangeMin = 0.0f;
    float rangeMax;
};
