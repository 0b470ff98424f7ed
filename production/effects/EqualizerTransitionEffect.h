#pragma once

#include "demosys/runtime/Effect.h"
#include "production/effects/CameraFlight.h"
#include "production/effects/EqualizerLeds.h"
#include "production/effects/SpectrumFrame.h"

class MRVScene;
class Shader;

// The equalizer of the ghettoblaster grown into a room-sized transition: the
// eight bands as columns of up to ten cubes, seen from a camera flight.
// With the parameter "ledshader" naming a shader, it is a lit LED wall
// instead: every slot of every column drawn through that shader as an LED
// (uniforms "lit", 1 or 0, and "bright"), coloured along the bands and over
// time, standing on a dark glossy floor that mirrors it.
class EqualizerTransitionEffect : public Effect
{
public:
    EqualizerTransitionEffect() = default;
    ~EqualizerTransitionEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;
    void registerTracks() override;

    void drawEqualizer(float* spectrum);
    // Every slot of every band through the LED shader, the lit ones lit, at
    // `bright` times their colour.
    void drawLedWall(const float* spectrum, unsigned int time, float bright);
    void drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size);

    static constexpr float LED_SIZE = 1.75f;
    static constexpr float LED_STEP = 2.25f;

    bool isReady() const { return ready; }
    const float* getSum() const { return spectrum.sum(); }
    int getLedsLit(int band) const { return ledsLit[band]; }
    int getCubesDrawn() const { return cubesDrawn; }
    int getCameraPath() const { return camera.getLastPath(); }
    Shader* getLedShader() const { return ledShader; }

private:
    void drawFloor();

    // 64 values in the FFT window the equalizer was tuned with; the sum is
    // weighed in place.
    SpectrumFrame spectrum{ 64, 1 };
    CameraFlight camera;
    MRVScene* led = nullptr;
    Shader* ledShader = nullptr;
    // The LED shader's uniforms, found again when a reload gives it another program.
    unsigned int ledProgram = 0;
    int litUniform = -1;
    int brightUniform = -1;
    int ledsLit[EqualizerLeds::BANDS] = {};
    int cubesDrawn = 0;
    bool ready = false;
};
