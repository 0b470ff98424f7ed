#include "production/effects/NeonRibbonEffect.h"

#include "demosys/gl/Texture.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/NeonRibbon.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

namespace {
constexpr int RIBBON_POINTS = 10000;
const float RIBBON_COLOUR[4] = { 1.0f, 1.0f, 1.0f, 1.5f };
}

NeonRibbonEffect::NeonRibbonEffect() = default;

NeonRibbonEffect::~NeonRibbonEffect() = default;

Effect* NeonRibbonEffect::getInstance()
{
    return new NeonRibbonEffect();
}

void NeonRibbonEffect::reset()
{
}

void NeonRibbonEffect::init()
{
    reset();
    ResourceLookup lookup("NeonRibbonEffect", EffectParameters::objectName(parameters));
    floor = lookup.texture(EffectParameters::get(parameters, "checkerfloor"));
    first.reset(new NeonRibbon(40.0f, RIBBON_POINTS, RIBBON_COLOUR));
    second.reset(new NeonRibbon(41.0f, RIBBON_POINTS, RIBBON_COLOUR));
}

void NeonRibbonEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!first)
        return;
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    if (!progress.validTime(time))
        return;
    const int n = static_cast<int>(progress.linearInterpolate(time));
    first->moveCamera(n, static_cast<float>(frameTime));
    drawFloor();
    first->draw(n);
    second->draw(n);
}

void NeonRibbonEffect::drawFloor()
{
    if (!floor)
        return;
    floor->bind();
    ColourMaterial::white();
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(-40.0f, -5.0f, 40.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(40.0f, -5.0f, 40.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(40.0f, -5.0f, -40.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-40.0f, -5.0f, -40.0f);
    glEnd();
    floor->release();
}
