#include "production/effects/GlowEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

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
    ResourceLookup lookup("GlowEffect", EffectParameters::objectName(parameters));
    blurXShader = lookup.shader(EffectParameters::get(parameters, "blurx_shader"));
    blurYShader = lookup.shader(EffectParameters::get(parameters, "blury_shader"));
    source = lookup.fbo(EffectParameters::get(parameters, "source_fbo"));
    blurXBuffer = lookup.fbo(EffectParameters::get(parameters, "blurx_fbo"));
    blurYBuffer = lookup.fbo(EffectParameters::get(parameters, "blury_fbo"));
    screenShader = lookup.shader(EffectParameters::get(parameters, "screen_shader"));
    ready = lookup.isComplete();
    if (ready)
    {
        source->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
        blurXBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
        blurYBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
    }
    opacity = getTrack("opacity");
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        blurXTextureUniform = blurXShader->uniform(TEXTURE);
        blurXViewportStepUniform = blurXShader->uniform(VIEWPORT_STEP);
        blurYTextureUniform = blurYShader->uniform(TEXTURE);
        blurYViewportStepUniform = blurYShader->uniform(VIEWPORT_STEP);
        screenOpacityUniform = screenShader->uniform(OPACITY);
        screenSourceUniform = screenShader->uniform(SOURCE);
        screenDestinationUniform = screenShader->uniform(DESTINATION);
    }
}

void GlowEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    ColourMaterial::enable();
    ColourMaterial::white();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    blurXBuffer->bind();
    blurXShader->use();
    blurXShader->setTextureUnit(0, blurXTextureUniform, source->getColorBuffer());
    blurXShader->setUniform1f(blurXViewportStepUniform, 1.0f / static_cast<float>(blurXBuffer->getWidth()));
    source->draw(1.0f);
    blurXShader->release();
    blurXBuffer->release();

    blurYBuffer->bind();
    blurYShader->use();
    blurYShader->setTextureUnit(0, blurYTextureUniform, blurXBuffer->getColorBuffer());
    blurYShader->setUniform1f(blurYViewportStepUniform, 1.0f / static_cast<float>(blurYBuffer->getHeight()));
    blurXBuffer->draw(1.0f);
    blurYShader->release();
    blurYBuffer->release();

    GLw::resetAndStoreProjectionModelview();
    screenShader->use();
    screenShader->setUniform1f(screenOpacityUniform, TrackValue::at(opacity, time));
    screenShader->setTextureUnit(0, screenSourceUniform, source->getColorBuffer());
    screenShader->setTextureUnit(1, screenDestinationUniform, blurYBuffer->getColorBuffer());
    ScreenQuad::drawClockwise();
    screenShader->release();

    ColourMaterial::white();
    ColourMaterial::disable();
    source->setClearFlag(true);
    GLw::restoreProjectionModelview();
}
