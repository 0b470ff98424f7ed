#pragma once

#include "demosys/runtime/Effect.h"
#include "production/effects/CameraFlight.h"
#include "production/effects/EqualizerLeds.h"

#include <vector>

class MRVScene;

// The equalizer of the ghettoblaster grown into a room-sized transition: the
// eight bands as columns of up to ten cubes, seen from a camera flight.
class EqualizerTransitionEffect : public Effect
{
public:
    EqualizerTransitionEffect() = default;
    ~EqualizerTransitionEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

    void drawEqualizer(float* spectrum);
    void drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size);

    static constexpr float LED_SIZE = 1.75f;
    static constexpr float LED_STEP = 2.25f;

    bool isReady() const { return ready; }
    const float* getSum() const { return sum.data(); }
    int getLedsLit(int band) const { return ledsLit[band]; }
    int getCubesDrawn() const { return cubesDrawn; }
    int getCameraPath() const { return camera.getLastPath(); }

private:
    int spectrumLength = 64;
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> sum;
    CameraFlight camera;
    MRVScene* led = nullptr;
    int ledsLit[EqualizerLeds::BANDS] = {};
    int cubesDrawn = 0;
    bool ready = false;
};
