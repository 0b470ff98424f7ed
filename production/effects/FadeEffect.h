#pragma once

#include "demosys/runtime/Effect.h"

class TrackInterpolate;

// A full-screen veil of the colour the "red", "green", "blue" and "alpha"
// tracks give, blended over the picture by its alpha.
class FadeEffect : public Effect
{
public:
    FadeEffect() = default;
    ~FadeEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

    const float* getColor() const { return color; }

private:
    float color[4] = { 1.0f, 1.0f, 1.0f, 1.0f };
    TrackInterpolate* alpha = nullptr;
    TrackInterpolate* red = nullptr;
    TrackInterpolate* green = nullptr;
    TrackInterpolate* blue = nullptr;
};
