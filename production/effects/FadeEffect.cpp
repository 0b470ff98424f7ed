#include "production/effects/FadeEffect.h"
#include "demosys/gl/GLw.h"

#include "production/effects/EffectSupport.h"

#include <GL/glew.h>

Effect* FadeEffect::getInstance()
{
    return new FadeEffect();
}

void FadeEffect::registerTracks()
{
    addTrackName("alpha");
    addTrackName("red");
    addTrackName("green");
    addTrackName("blue");
}

void FadeEffect::reset()
{
    color[0] = color[1] = color[2] = color[3] = 1.0f;
}

void FadeEffect::init()
{
    reset();
    alpha = getTrack("alpha");
    red = getTrack("red");
    green = getTrack("green");
    blue = getTrack("blue");
}

void FadeEffect::draw(unsigned int time, unsigned int)
{
    GLw::resetAndStoreProjectionModelview();

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    EffectSupport::colourMaterial();

    color[0] = EffectSupport::value(red, time);
    color[1] = EffectSupport::value(green, time);
    color[2] = EffectSupport::value(blue, time);
    color[3] = EffectSupport::value(alpha, time);
    glColor4fv(color);

    // Twice the screen, so no edge shows whatever the viewport.
    glPushMatrix();
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(-2.0f, -2.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex2f(2.0f, -2.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(2.0f, 2.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex2f(-2.0f, 2.0f);
    glEnd();
    glPopMatrix();

    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    EffectSupport::white();
    glDisable(GL_COLOR_MATERIAL);
    GLw::restoreProjectionModelview();
}
