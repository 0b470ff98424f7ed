#include "production/effects/ParticleSystemEffect.h"

#include "demosys/data/ParticleSystem.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

ParticleSystemEffect::ParticleSystemEffect() = default;

ParticleSystemEffect::~ParticleSystemEffect() = default;

Effect* ParticleSystemEffect::getInstance()
{
    return new ParticleSystemEffect();
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
    system.reset();
    if (!lookup.isComplete())
        return;
    // A fresh cloud on every init: new start positions, colours and times.
    system.reset(new ParticleSystem(10, 10, true));
    system->createPoints(10, 10);
}

void ParticleSystemEffect::draw(unsigned int, unsigned int frameTime)
{
    if (!system)
        return;
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -10.0f);
    system->drawPointSprites(spriteShader, texture, clock);
    clock += static_cast<float>(frameTime) * 0.01f;
}
