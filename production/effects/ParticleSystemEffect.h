#pragma once

#include "demosys/runtime/Effect.h"

#include <memory>

class ParticleSystem;
class Shader;
class Texture;

// A 10 x 10 cloud of point sprites that the sprite shader animates from the
// effect's own clock, ten metres in front of the viewer.
class ParticleSystemEffect : public Effect
{
public:
    ParticleSystemEffect();
    ~ParticleSystemEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

    ParticleSystem* getSystem() const { return system.get(); }
    // The shader's "Time": frame time x 0.01 summed over the frames drawn.
    float getClock() const { return clock; }

private:
    std::unique_ptr<ParticleSystem> system;
    Shader* spriteShader = nullptr;
    Texture* texture = nullptr;
    float clock = 0.0f;
};
