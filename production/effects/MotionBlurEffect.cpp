#include "production/effects/MotionBlurEffect.h"
#include "demosys/gl/GLw.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Shader.h"
#include "production/effects/EffectSupport.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

namespace {
const std::string BLUR_FACTOR = "BlurFactor";
const std::string TEXTURE0 = "Texture0";
const std::string TEXTURE1 = "Texture1";
const std::string COLOR = "color";
const std::string TEXTURE = "texture";

// The projection a released framebuffer leaves behind is the screen's;
// the next pass wants identity again.
void identityProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
}

Effect* MotionBlurEffect::getInstance()
{
    return new MotionBlurEffect();
}

void MotionBlurEffect::registerTracks()
{
    addTrackName("blurfactor");
}

void MotionBlurEffect::reset()
{
}

void MotionBlurEffect::init()
{
    reset();
    ResourceLookup lookup("MotionBlurEffect", EffectSupport::objectName(parameters));
    textureShader = lookup.shader(EffectSupport::parameter(parameters, "texture_shader"));
    motionBlurShader = lookup.shader(EffectSupport::parameter(parameters, "motionblur_shader"));
    aux1 = lookup.fbo(EffectSupport::parameter(parameters, "aux1"));
    aux2 = lookup.fbo(EffectSupport::parameter(parameters, "aux2"));
    offscreen = lookup.fbo(EffectSupport::parameter(parameters, "offscreen"));
    ready = lookup.isComplete();
    blurFactor = getTrack("blurfactor");
}

void MotionBlurEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    EffectSupport::colourMaterial();
    EffectSupport::white();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    GLw::resetAndStoreProjectionModelview();

    aux1->bind();
    motionBlurShader->use();
    motionBlurShader->setUniform1f(BLUR_FACTOR, EffectSupport::value(blurFactor, time));
    motionBlurShader->setTextureUnit0(TEXTURE0, offscreen->getColorBuffer());
    motionBlurShader->setTextureUnit1(TEXTURE1, aux2->getColorBuffer());
    EffectSupport::fullScreenQuad();
    motionBlurShader->release();
    aux1->release();
    identityProjection();

    aux2->bind();
    textureShader->use();
    textureShader->setUniform4f(COLOR, 1.0f, 1.0f, 1.0f, 1.0f);
    textureShader->setTextureUnit0(TEXTURE, aux1->getColorBuffer());
    EffectSupport::fullScreenQuad();
    textureShader->release();
    aux2->release();
    identityProjection();

    textureShader->use();
    textureShader->setUniform4f(COLOR, 1.0f, 1.0f, 1.0f, 1.0f);
    textureShader->setTextureUnit0(TEXTURE, aux1->getColorBuffer());
    EffectSupport::fullScreenQuad();
    textureShader->release();

    GLw::restoreProjectionModelview();
    EffectSupport::white();
    glDisable(GL_COLOR_MATERIAL);
    offscreen->setClearFlag(true);
}
