#include "production/effects/GlowEffect.h"
#include "demosys/gl/GLw.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "production/effects/EffectSupport.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

namespace {
const std::string TEXTURE = "Texture";
const std::string VIEWPORT_STEP = "viewportStep";
const std::string OPACITY = "opacity";
const std::string SOURCE = "source";
const std::string DESTINATION = "destination";
}

Effect* GlowEffect::getInstance()
{
    return new GlowEffect();
}

void GlowEffect::registerTracks()
{
    addTrackName("opacity");
}

void GlowEffect::reset()
{
}

void GlowEffect::init()
{
    reset();
    ResourceLookup lookup("GlowEffect", EffectSupport::objectName(parameters));
    blurXShader = lookup.shader(EffectSupport::parameter(parameters, "blurx_shader"));
    blurYShader = lookup.shader(EffectSupport::parameter(parameters, "blury_shader"));
    source = lookup.fbo(EffectSupport::parameter(parameters, "source_fbo"));
    blurXBuffer = lookup.fbo(EffectSupport::parameter(parameters, "blurx_fbo"));
    blurYBuffer = lookup.fbo(EffectSupport::parameter(parameters, "blury_fbo"));
    screenShader = lookup.shader(EffectSupport::parameter(parameters, "screen_shader"));
    ready = lookup.isComplete();
    if (ready)
    {
        source->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
        blurXBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
        blurYBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
    }
    opacity = getTrack("opacity");
}

void GlowEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    EffectSupport::colourMaterial();
    EffectSupport::white();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    blurXBuffer->bind();
    blurXShader->use();
    blurXShader->setTextureUnit0(TEXTURE, source->getColorBuffer());
    blurXShader->setUniform1f(VIEWPORT_STEP, 1.0f / static_cast<float>(blurXBuffer->getWidth()));
    source->draw(1.0f);
    blurXShader->release();
    blurXBuffer->release();

    blurYBuffer->bind();
    blurYShader->use();
    blurYShader->setTextureUnit0(TEXTURE, blurXBuffer->getColorBuffer());
    blurYShader->setUniform1f(VIEWPORT_STEP, 1.0f / static_cast<float>(blurYBuffer->getHeight()));
    blurXBuffer->draw(1.0f);
    blurYShader->release();
    blurYBuffer->release();

    GLw::resetAndStoreProjectionModelview();
    screenShader->use();
    screenShader->setUniform1f(OPACITY, EffectSupport::value(opacity, time));
    screenShader->setTextureUnit0(SOURCE, source->getColorBuffer());
    screenShader->setTextureUnit1(DESTINATION, blurYBuffer->getColorBuffer());
    EffectSupport::fullScreenQuad();
    screenShader->release();

    EffectSupport::white();
    glDisable(GL_COLOR_MATERIAL);
    source->setClearFlag(true);
    GLw::restoreProjectionModelview();
}
