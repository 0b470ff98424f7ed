#include "production/effects/EqualizerTransitionEffect.h"

#include "demosys/scene/MRVScene.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/SceneLookup.h"

#include <GL/glew.h>

Effect* EqualizerTransitionEffect::getInstance()
{
    return new EqualizerTransitionEffect();
}

void EqualizerTransitionEffect::registerTracks()
{
    CameraFlight::registerTracks(*this);
}

void EqualizerTransitionEffect::reset()
{
}

void EqualizerTransitionEffect::init()
{
    reset();
    ResourceLookup lookup("EqualizerTransitionEffect", EffectParameters::objectName(parameters));
    camera.init(*this, lookup, "equalizeranim", "equalizer2anim");
    led = SceneLookup::scene(lookup, "cube");
    ready = lookup.isComplete();
}

void EqualizerTransitionEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    ColourMaterial::white();

    camera.fly(time);

    spectrum.read();
    EqualizerLeds::weigh(spectrum.sum(), spectrum.length());

    // Not pushed: the placement stays on the model-view after draw.
    glTranslatef(-8.0f, -11.0f, -21.0f);
    drawEqualizer(spectrum.sum());

    ColourMaterial::white();
    ColourMaterial::disable();
}

void EqualizerTransitionEffect::drawEqualizer(float* spectrum)
{
    cubesDrawn = 0;
    for (int band = 0; band < EqualizerLeds::BANDS; ++band)
    {
        const float bandSum = EqualizerLeds::bandSum(spectrum, band);
        const float x = LED_STEP * static_cast<float>(band);
        float y = 0.0f;
        int lit = 0;
        for (int k = 0; k < EqualizerLeds::LEDS; ++k)
            if (bandSum > EqualizerLeds::THRESHOLDS[k])
            {
                const float* colour = EqualizerLeds::COLOURS[k];
                drawFrequencyBar(colour[0], colour[1], colour[2], x, y, 0.0f, LED_SIZE);
                y += LED_STEP;
                ++lit;
            }
        ledsLit[band] = lit;
    }
}

void EqualizerTransitionEffect::drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size)
{
    glColor3f(r, g, b);
    glPushMatrix();
    glTranslatef(x + size / 2.0f, y + size / 2.0f, z - size / 2.0f);
    glScalef(size, size, size);
    led->draw();
    glPopMatrix();
    ++cubesDrawn;
}
