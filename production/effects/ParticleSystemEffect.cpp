#include "production/effects/ParticleSystemEffect.h"

#include "demosys/data/ParticleSystem.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

#include <GL/glew.h>

#include <algorithm>

namespace {

// Sides beyond this would be a million sparks: more than any picture shows.
constexpr int LARGEST_GRID = 1000;
// The sprite shader's life of a spark, in its clock's units.
constexpr float LIFE = 100.0f;
constexpr float BURST_REACH = 1.8f;

} // namespace

ParticleSystemEffect::ParticleSystemEffect() = default;

ParticleSystemEffect::~ParticleSystemEffect() = default;

Effect* ParticleSystemEffect::getInstance()
{
    return new ParticleSystemEffect();
}

void ParticleSystemEffect::registerTracks()
{
    addTrackName("spread");
}

void ParticleSystemEffect::reset()
{
    clock = 0.0f;
}

void ParticleSystemEffect::init()
{
    reset();
    ResourceLookup lookup("ParticleSystemEffect", EffectParameters::objectName(parameters));
    spriteShader = lookup.shader(EffectParameters::get(parameters, "particlespriteshader"));
    texture = lookup.texture(EffectParameters::get(parameters, "texture"));
    spread = getTrack("spread");
    const int grid = std::min(std::max(static_cast<int>(EffectParameters::number(parameters, "grid", 10.0f)), 1),
                              LARGEST_GRID);
    const float period = EffectParameters::number(parameters, "burst", 0.0f);
    beat = period >= 1.0f ? static_cast<unsigned int>(period) : 0u;
    system.reset();
    burst.reset();
    if (!lookup.isComplete())
        return;
    // A fresh cloud on every init: new start positions, colours and times.
    system.reset(new ParticleSystem(grid, grid, true));
    system->createPoints(grid, grid);
    if (beat > 0)
    {
        burst.reset(new ParticleSystem(grid, grid, true));
        burst->setVerbose(false);
        burst->createPoints(grid, grid);
        burst->launchTogether();
    }
}

float ParticleSystemEffect::burstAge(unsigned int time) const
{
    if (beat == 0)
        return 0.0f;
    // The sprite shader fades a spark by its age, so the burst is gone
    // when the next beat comes.
    return static_cast<float>(time % beat) / static_cast<float>(beat) * LIFE * 0.999f;
}

void ParticleSystemEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!system)
        return;
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -10.0f);
    const float widen = 1.0f + TrackValue::at(spread, time);
    glPushMatrix();
    glScalef(widen, widen, 1.0f);
    system->drawPointSprites(spriteShader, texture, clock);
    if (burst)
    {
        // Each beat's burst turned another way, so that no two look alike,
        // and wider than the slow cloud: it crosses the picture in a beat.
        glRotatef(static_cast<float>(time / beat % 8) * 45.0f + 20.0f, 0.0f, 0.0f, 1.0f);
        glScalef(BURST_REACH, BURST_REACH, 1.0f);
        burst->drawPointSprites(spriteShader, texture, burstAge(time));
    }
    glPopMatrix();
    clock += static_cast<float>(frameTime) * 0.01f;
}
