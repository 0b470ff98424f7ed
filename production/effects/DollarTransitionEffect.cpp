#include "production/effects/DollarTransitionEffect.h"

#include "demosys/gl/Texture.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

Effect* DollarTransitionEffect::getInstance()
{
    return new DollarTransitionEffect();
}

void DollarTransitionEffect::reset()
{
    spinAngle = 0.0f;
}

void DollarTransitionEffect::init()
{
    reset();
    ResourceLookup lookup("DollarTransitionEffect", EffectParameters::objectName(parameters));
    note = lookup.texture(EffectParameters::get(parameters, "dollar"));
    ready = lookup.isComplete();
}

void DollarTransitionEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!ready)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    if (offset.validTime(time))
    {
        const Vector<float, 3> shift = offset.linearInterpolateVector(time);
        glTranslatef(shift[0], shift[1], shift[2]);
    }
    wipeCircular(time, frameTime);
    glPopMatrix();
}

void DollarTransitionEffect::wipeCircular(unsigned int, unsigned int frameTime)
{
    glRotatef(spinAngle, 0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 10; ++i)
    {
        // The turns add up: note i stands at 36 (i + 1) degrees.
        glRotatef(36.0f, 0.0f, 0.0f, 1.0f);
        drawDollar(1.0f, 2.0f, -2.0f - 0.001f * static_cast<float>(i));
    }
    spinAngle += static_cast<float>(frameTime) * 0.1f;
}

void DollarTransitionEffect::drawDollar(float a, float b, float c)
{
    note->bind();
    ColourMaterial::enable();
    ColourMaterial::white();
    glBegin(GL_QUADS);
    glTexCoord2f(0.001f, 0.156f); glVertex3f(b - 2.37f * a, -a, c);
    glTexCoord2f(0.999f, 0.156f); glVertex3f(b + 2.37f * a, -a, c);
    glTexCoord2f(0.999f, 0.999f); glVertex3f(b + 2.37f * a, a, c);
    glTexCoord2f(0.001f, 0.999f); glVertex3f(b - 2.37f * a, a, c);
    glEnd();
    note->release();
    ColourMaterial::white();
    ColourMaterial::disable();
}
