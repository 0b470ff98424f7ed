#include "production/effects/EqualizerLeds.h"

const float EqualizerLeds::THRESHOLDS[LEDS] = { 0.01f, 0.1f, 0.25f, 0.45f, 0.6f, 0.9f, 1.25f, 1.65f, 2.1f, 2.6f };

const float EqualizerLeds::COLOURS[LEDS][3] = {
    { 0.0f, 0.95f, 0.0f },  { 0.0f, 0.95f, 0.0f },  { 0.0f, 0.95f, 0.0f }, { 0.0f, 0.95f, 0.0f },
    { 0.0f, 0.95f, 0.0f },  { 0.0f, 0.95f, 0.0f },  { 0.0f, 0.95f, 0.0f }, { 0.95f, 0.95f, 0.0f },
    { 0.95f, 0.0f, 0.0f },  { 0.95f, 0.0f, 0.0f },
};

int EqualizerLeds::litCount(float bandSum)
{
    int lit = 0;
    for (float threshold : THRESHOLDS)
        if (bandSum > threshold)
            ++lit;
    return lit;
}

float EqualizerLeds::bandSum(const float* spectrum, int band)
{
    float sum = 0.0f;
    for (int i = 0; i < VALUES_PER_BAND; ++i)
        sum += spectrum[band * VALUES_PER_BAND + i];
    return sum;
}

void EqualizerLeds::weigh(float* sum, int count)
{
    for (int i = 0; i < count; ++i)
        sum[i] *= static_cast<float>(i + 1);
}
