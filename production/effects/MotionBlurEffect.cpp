#include "production/effects/MotionBlurEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

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
    ResourceLookup lookup("MotionBlurEffect", EffectParameters::objectName(parameters));
    textureShader = lookup.shader(EffectParameters::get(parameters, "texture_shader"));
    motionBlurShader = lookup.shader(EffectParameters::get(parameters, "motionblur_shader"));
    aux1 = lookup.fbo(EffectParameters::get(parameters, "aux1"));
    aux2 = lookup.fbo(EffectParameters::get(parameters, "aux2"));
    offscreen = lookup.fbo(EffectParameters::get(parameters, "offscreen"));
    ready = lookup.isComplete();
    blurFactor = getTrack("blurfactor");
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        motionBlurBlurFactorUniform = motionBlurShader->uniform(BLUR_FACTOR);
        motionBlurTexture0Uniform = motionBlurShader->uniform(TEXTURE0);
        motionBlurTexture1Uniform = motionBlurShader->uniform(TEXTURE1);
        textureColorUniform = textureShader->uniform(COLOR);
        textureTextureUniform = textureShader->uniform(TEXTURE);
    }
}

void MotionBlurEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    ColourMaterial::enable();
    ColourMaterial::white();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    GLw::resetAndStoreProjectionModelview();

    aux1->bind();
    motionBlurShader->use();
    motionBlurShader->setUniform1f(motionBlurBlurFactorUniform, TrackValue::at(blurFactor, time));
    motionBlurShader->setTextureUnit(0, motionBlurTexture0Uniform, offscreen->getColorBuffer());
    motionBlurShader->setTextureUnit(1, motionBlurTexture1Uniform, aux2->getColorBuffer());
    ScreenQuad::drawClockwise();
    motionBlurShader->release();
    aux1->release();
    identityProjection();

    aux2->bind();
    textureShader->use();
    textureShader->setUniform4f(textureColorUniform, 1.0f, 1.0f, 1.0f, 1.0f);
    textureShader->setTextureUnit(0, textureTextureUniform, aux1->getColorBuffer());
    ScreenQuad::drawClockwise();
    textureShader->release();
    aux2->release();
    identityProjection();

    textureShader->use();
    textureShader->setUniform4f(textureColorUniform, 1.0f, 1.0f, 1.0f, 1.0f);
    textureShader->setTextureUnit(0, textureTextureUniform, aux1->getColorBuffer());
    ScreenQuad::drawClockwise();
    textureShader->release();

    GLw::restoreProjectionModelview();
    ColourMaterial::white();
    ColourMaterial::disable();
    offscreen->setClearFlag(true);
}
