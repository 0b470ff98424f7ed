#include "production/effects/RadialBlurEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Texture.h"
#include "demosys/script/ParameterGroup.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

#include <utility>

Effect* RadialBlurEffect::getInstance()
{
    return new RadialBlurEffect();
}

void RadialBlurEffect::reset()
{
}

void RadialBlurEffect::setBuffers(FrameBufferObject* source_, FrameBufferObject* ping_, FrameBufferObject* pong_)
{
    source = source_;
    ping = ping_;
    pong = pong_;
}

void RadialBlurEffect::init()
{
    reset();
    iterations = 10;
    if (parameters && parameters->exist("source_fbo"))
    {
        ResourceLookup lookup("RadialBlurEffect", EffectParameters::objectName(parameters));
        source = lookup.fbo(EffectParameters::get(parameters, "source_fbo"));
        ping = lookup.fbo(EffectParameters::get(parameters, "ping_fbo"));
        pong = lookup.fbo(EffectParameters::get(parameters, "pong_fbo"));
    }
}

void RadialBlurEffect::drawQuad(Texture* texture, float scale, float alpha)
{
    GLw::resetProjectionModelview();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    texture->bind();
    ScreenQuad::draw(scale);
    texture->release();
    ColourMaterial::white();
    ColourMaterial::disable();
}

void RadialBlurEffect::draw(unsigned int time, unsigned int)
{
    if (!source || !ping || !pong)
        return;
    GLw::resetAndStoreProjectionModelview();
    glDisable(GL_BLEND);
    const float step = 0.5f / static_cast<float>(iterations);
    ColourMaterial::enable();
    ColourMaterial::white();

    ping->bind();
    drawQuad(source->getColorBuffer(), 1.0f, 1.0f);
    ping->release();

    GLw::resetProjectionModelview();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // Each pass adds onto what its target already holds, so the buffers
    // gather every earlier pass of the frame.
    float scale = 1.0f;
    float alpha = 0.75f;
    FrameBufferObject* read = ping;
    FrameBufferObject* write = pong;
    FrameBufferObject* last = ping;
    for (int i = 0; i < iterations; ++i)
    {
        GLw::resetProjectionModelview();
        write->bind();
        drawQuad(read->getColorBuffer(), scale, alpha);
        write->release();
        GLw::resetProjectionModelview();
        last = write;
        std::swap(read, write);
        scale += step;
        alpha -= step;
    }

    ColourMaterial::white();
    glDisable(GL_BLEND);
    source->draw(1.0f);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, fade.linearInterpolate(time));
    last->draw(1.0f);
    glDisable(GL_BLEND);

    for (FrameBufferObject* buffer : { source, ping, pong })
    {
        buffer->bind();
        buffer->clear();
        buffer->release();
    }

    GLw::restoreProjectionModelview();
    ColourMaterial::white();
    ColourMaterial::disable();
}
