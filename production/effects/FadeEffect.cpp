#include "production/effects/FadeEffect.h"

#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/TrackValue.h"

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
    ColourMaterial::enable();

    color[0] = TrackValue::at(red, time);
    color[1] = TrackValue::at(green, time);
    color[2] = TrackValue::at(blue, time);
    color[3] = TrackValue::at(alpha, time);
    glColor4fv(color);

    // Twice the screen, so no edge shows whatever the viewport.
    glPushMatrix();
    ScreenQuad::draw(2.0f);
    glPopMatrix();

    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    ColourMaterial::white();
    ColourMaterial::disable();
    GLw::restoreProjectionModelview();
}
