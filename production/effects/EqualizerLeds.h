#pragma once

// The LED ladder both equalizers show: eight bands of eight spectrum values
// each, and per band up to ten LEDs, one for every threshold its sum passes
// (seven green, one yellow, two red).
class EqualizerLeds
{
public:
    static constexpr int BANDS = 8;
    static constexpr int VALUES_PER_BAND = 8;
    static constexpr int LEDS = 10;

    // Strictly exceeded by the band sum for the LED to light, lowest first.
    static const float THRESHOLDS[LEDS];
    static const float COLOURS[LEDS][3];

    // LEDs lit by a band sum; none for silence or NaN.
    static int litCount(float bandSum);
    // The sum of the band's eight values.
    static float bandSum(const float* spectrum, int band);
    // sum[i] *= i + 1 in place, on the sum of both channels: the higher
    // bands, quieter in music, are lifted in proportion to their index.
    static void weigh(float* sum, int count);
};
