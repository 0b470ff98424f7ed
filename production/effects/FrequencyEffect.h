#pragma once

#include "demosys/runtime/Effect.h"
#include "production/effects/SpectrumFrame.h"

// The music's spectrum as a small line graph at the right of the screen:
// the mean of both channels, each band lifted in proportion to its index so
// that the quiet high bands still show.
class FrequencyEffect : public Effect
{
public:
    FrequencyEffect() = default;
    ~FrequencyEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

    int getSpectrumLength() const { return spectrum.length(); }
    // The last frame's mean of both channels.
    const float* getMean() const { return spectrum.sum(); }

    // A polyline through the count values at height base, 0.5 wide from
    // x = -1, in the given RGB colour.
    void drawFrequencyRange(const float* values, float base, int count, const float* colour);

private:
    // 512 values in the FFT window the graph was tuned with; the sum is
    // halved in place into the mean.
    SpectrumFrame spectrum{ 512, 2 };
};
