#pragma once

// A two-pole state-variable filter in trapezoidal form: it stays stable
// while the cutoff moves every few samples, which filter sweeps and
// envelopes need, and gives low, band and high pass from one state.
class Svf
{
public:
    // resonance 0 (none) to 1 (just short of ringing on its own).
    void set(float cutoff, float resonance, float rate);
    // Inline: it runs for every sample of every voice.
    void process(float input)
    {
        const float v3 = input - state2;
        const float v1 = a1 * state1 + a2 * v3;
        const float v2 = state2 + a2 * state1 + a3 * v3;
        state1 = 2.0f * v1 - state1;
        state2 = 2.0f * v2 - state2;
        low = v2;
        band = v1;
        high = input - k * v1 - v2;
    }

    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;

private:
    float k = 2.0f;
    float a1 = 1.0f;
    float a2 = 0.0f;
    float a3 = 0.0f;
    float state1 = 0.0f;
    float state2 = 0.0f;
};
