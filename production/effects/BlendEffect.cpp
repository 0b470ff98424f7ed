#include "production/effects/BlendEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

namespace {
const std::string OPACITY = "opacity";
const std::string SOURCE = "source";
const std::string DESTINATION = "destination";
}

Effect* BlendEffect::getInstance()
{
    return new BlendEffect();
}

void BlendEffect::reset()
{
}

void BlendEffect::init()
{
    reset();
    ResourceLookup lookup("BlendEffect", EffectParameters::objectName(parameters));
    shader = lookup.shader(EffectParameters::get(parameters, "shader"));
    buffer1 = lookup.fbo(EffectParameters::get(parameters, "buffer1"));
    buffer2 = lookup.fbo(EffectParameters::get(parameters, "buffer2"));
    ready = lookup.isComplete();
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        opacityUniform = shader->uniform(OPACITY);
        sourceUniform = shader->uniform(SOURCE);
        destinationUniform = shader->uniform(DESTINATION);
    }
}

void BlendEffect::draw(unsigned int, unsigned int)
{
    if (!ready)
        return;
    GLw::resetAndStoreProjectionModelview();
    glDisable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    ColourMaterial::white();

    // Every frame: other users of the buffers may have set other wraps.
    buffer1->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
    buffer2->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);

    // The screen quad winds clockwise: with back faces culled, as a frame
    // starts, it would vanish. Culling is put back as it was found.
    const bool culling = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    glDisable(GL_CULL_FACE);
    shader->use();
    shader->setUniform1f(opacityUniform, 1.0f);
    shader->setTextureUnit(0, sourceUniform, buffer1->getColorBuffer());
    shader->setTextureUnit(1, destinationUniform, buffer2->getColorBuffer());
    ScreenQuad::drawClockwise();
    shader->release();
    if (culling)
        glEnable(GL_CULL_FACE);

    glEnable(GL_DEPTH_TEST);
    ColourMaterial::white();
    ColourMaterial::disable();
    buffer1->setClearFlag(true);
    buffer2->setClearFlag(true);
    GLw::restoreProjectionModelview();
}
