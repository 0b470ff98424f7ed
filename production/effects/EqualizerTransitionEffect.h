#pragma once

#include "demosys/runtime/Effect.h"
#include "production/effects/CameraFlight.h"
#include "production/effects/EqualizerLeds.h"
#include "production/effects/SpectrumFrame.h"

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
    const float* getSum() const { return spectrum.sum(); }
    int getLedsLit(int band) const { return ledsLit[band]; }
    int getCubesDrawn() const { return cubesDrawn; }
    int getCameraPath() const { return camera.getLastPath(); }

private:
    // 64 values in the FFT window the equalizer was tuned with; the sum is
    // weighed in place.
    SpectrumFrame spectrum{ 64, 1 };
    CameraFlight camera;
    MRVScene* led = nullptr;
    int ledsLit[EqualizerLeds::BANDS] = {};
    int cubesDrawn = 0;
    bool ready = false;
};
