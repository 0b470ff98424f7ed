#include "production/effects/CubeTransitionEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Texture.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

#include <GL/glew.h>

namespace {

// t from -0.39 to 1.39 shows the picture at 1 / 1.78 of the face's height.
const float TEXCOORDS[4][2] = { { 0.0f, -0.39f }, { 1.0f, -0.39f }, { 1.0f, 1.39f }, { 0.0f, 1.39f } };
const float FRONT[4][3] = { { -1.0f, -1.0f, 1.0f }, { 1.0f, -1.0f, 1.0f }, { 1.0f, 1.0f, 1.0f }, { -1.0f, 1.0f, 1.0f } };
const float SIDE[4][3] = { { 1.0f, -1.0f, 1.0f }, { 1.0f, -1.0f, -1.0f }, { 1.0f, 1.0f, -1.0f }, { 1.0f, 1.0f, 1.0f } };

} // namespace

Effect* CubeTransitionEffect::getInstance()
{
    return new CubeTransitionEffect();
}

void CubeTransitionEffect::registerTracks()
{
    addTrackName("zpos");
    addTrackName("rot");
}

void CubeTransitionEffect::reset()
{
}

void CubeTransitionEffect::init()
{
    reset();
    ResourceLookup lookup("CubeTransitionEffect", EffectParameters::objectName(parameters));
    buffer1 = lookup.fbo(EffectParameters::get(parameters, "buffer1"));
    buffer2 = lookup.fbo(EffectParameters::get(parameters, "buffer2"));
    zTrack = getTrack("zpos");
    rotationTrack = getTrack("rot");
    ready = lookup.isComplete();
}

void CubeTransitionEffect::drawFace(FrameBufferObject* buffer, const float corners[4][3])
{
    Texture* picture = buffer->getColorBuffer();
    picture->bind();
    picture->applyWrapUntilNextBind(picture->getWrapS(), GL_CLAMP_TO_BORDER);
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; ++k)
    {
        glTexCoord2fv(TEXCOORDS[k]);
        glVertex3fv(corners[k]);
    }
    glEnd();
    picture->release();
}

void CubeTransitionEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -2.0f);

    zPosition = TrackValue::at(zTrack, time);
    rotation = TrackValue::at(rotationTrack, time);
    glTranslatef(0.0f, 0.0f, zPosition);
    glRotatef(rotation, 0.0f, -1.0f, 0.0f);

    drawFace(buffer1, FRONT);
    drawFace(buffer2, SIDE);

    buffer1->setClearFlag(true);
    buffer2->setClearFlag(true);
    glPopMatrix();
}
