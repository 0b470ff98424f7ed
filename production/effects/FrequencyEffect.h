#pragma once

#include "demosys/runtime/Effect.h"
#include "production/effects/SpectrumFrame.h"

#include <vector>

// The music's spectrum as a small line graph at the right of the screen:
// the mean of both channels, each band lifted in proportion to its index so
// that the quiet high bands still show. The parameters "left", "bottom",
// "width" and "gain" move, size and lift it; "bars" above 0 draws that many
// lit bars with falling peak caps instead of the line, for a graph that
// reads across a room.
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
    int getBarCount() const { return static_cast<int>(barHeights.size()); }
    const float* getBarHeights() const { return barHeights.data(); }
    const float* getPeaks() const { return peaks.data(); }
    // The last frame's mean of both channels.
    const float* getMean() const { return spectrum.sum(); }

    // A polyline through the count values at height base, 0.5 wide from
    // x = -1, in the given RGB colour.
    void drawFrequencyRange(const float* values, float base, int count, const float* colour);

private:
    void drawBars(unsigned int frameTime);

    float graphLeft = 0.45f;
    float graphBottom = -0.95f;
    float graphWidth = 0.5f;
    float graphGain = 0.1f;
    std::vector<float> barHeights;
    std::vector<float> peaks;
    std::vector<int> barEdges;  // bar b takes the bins from barEdges[b] to barEdges[b + 1]
    // 512 values in the FFT window the graph was tuned with; the sum is
    // halved in place into the mean.
    SpectrumFrame spectrum{ 512, 2 };
};
