#include "production/effects/BlendEffect.h"
#include "demosys/gl/GLw.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "production/effects/EffectSupport.h"
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
    ResourceLookup lookup("BlendEffect", EffectSupport::objectName(parameters));
    shader = lookup.shader(EffectSupport::parameter(parameters, "shader"));
    buffer1 = lookup.fbo(EffectSupport::parameter(parameters, "buffer1"));
    buffer2 = lookup.fbo(EffectSupport::parameter(parameters, "buffer2"));
    ready = lookup.isComplete();
}

void BlendEffect::draw(unsigned int, unsigned int)
{
    if (!ready)
        return;
    GLw::resetAndStoreProjectionModelview();
    glDisable(GL_DEPTH_TEST);
    EffectSupport::colourMaterial();
    EffectSupport::white();

    // Every frame: other users of the buffers may have set other wraps.
    buffer1->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
    buffer2->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);

    // The screen quad winds clockwise: with back faces culled, as a frame
    // starts, it would vanish. Culling is put back as it was found.
    const bool culling = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    glDisable(GL_CULL_FACE);
    shader->use();
    shader->setUniform1f(OPACITY, 1.0f);
    shader->setTextureUnit0(SOURCE, buffer1->getColorBuffer());
    shader->setTextureUnit1(DESTINATION, buffer2->getColorBuffer());
    EffectSupport::fullScreenQuad();
    shader->release();
    if (culling)
        glEnable(GL_CULL_FACE);

    glEnable(GL_DEPTH_TEST);
    EffectSupport::white();
    glDisable(GL_COLOR_MATERIAL);
    buffer1->setClearFlag(true);
    buffer2->setClearFlag(true);
    GLw::restoreProjectionModelview();
}
