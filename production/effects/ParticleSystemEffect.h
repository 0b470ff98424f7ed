#pragma once

#include "demosys/runtime/Effect.h"

#include <memory>

class ParticleSystem;
class Shader;
class Texture;
class TrackInterpolate;

// A 10 x 10 cloud of point sprites that the sprite shader animates from the
// effect's own clock, ten metres in front of the viewer. The parameter "grid"
// gives another side; "burst" above 0 is a beat in milliseconds, on each of
// which a second cloud of the same size bursts from the centre and fades
// out by the next. The track "spread" widens both across the picture by
// 1 + its value.
class ParticleSystemEffect : public Effect
{
public:
    ParticleSystemEffect();
    ~ParticleSystemEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

    ParticleSystem* getSystem() const { return system.get(); }
    ParticleSystem* getBurst() const { return burst.get(); }
    // The burst cloud's age at `time`: 0 on a beat, growing to just under
    // the shader's life of 100 by the next one.
    float burstAge(unsigned int time) const;
    // The shader's "Time": frame time x 0.01 summed over the frames drawn.
    float getClock() const { return clock; }

private:
    std::unique_ptr<ParticleSystem> system;
    std::unique_ptr<ParticleSystem> burst;
    TrackInterpolate* spread = nullptr;
    unsigned int beat = 0;
    Shader* spriteShader = nullptr;
    Texture* texture = nullptr;
    float clock = 0.0f;
};
