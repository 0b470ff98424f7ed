#include "production/effects/OceanEffect.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/scene/MRVMaterial.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/Ocean.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

namespace {
const std::string NOISE = "noise";
const std::string ENVMAP = "envmap";
const std::string V_TRANS = "vTrans";
const std::string TEXTURE_SAMPLER = "Texture";
const std::string VIEWPORT_STEP = "viewportStep";
const std::string SHARP = "sharp";
const std::string BLURED = "blured";
const std::string RANGE = "range";
const std::string FOCUS = "focus";
const std::string TEXTURE = "texture";
const std::string COLOR = "color";

// Found under these names whatever the parameters say.
const FixedResource SURFACE_SHADER = { FixedResource::SHADER, "ocean_surface", "shades the sea" };
const FixedResource TEXTURE_SHADER = { FixedResource::SHADER, "texture", "draws the beach picture" };
const FixedResource DEPTH_SHADER = { FixedResource::SHADER, "depth_of_field",
                                     "mixes the sharp and the blurred sea by depth" };
const FixedResource SEA_BUFFER = { FixedResource::FRAMEBUFFER, "aux1", "the sea drawn sharp, before the blur" };
const FixedResource NOISE_BUFFER = { FixedResource::FRAMEBUFFER, "noise",
                                     "what another effect draws into it ripples the sea" };

void leafQuad(float top)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-4.0f, top, -4.0f);
    glTexCoord2f(0.0f, 0.336f); glVertex3f(-4.0f, -4.56f, -4.0f);
    glTexCoord2f(1.0f, 0.336f); glVertex3f(4.0f, -4.56f, -4.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(4.0f, top, -4.0f);
    glEnd();
}
}

OceanEffect::OceanEffect()
    : leafNoise(0.75f, 0.025f, 0.25f, 1)
{
}

OceanEffect::~OceanEffect() = default;

Effect* OceanEffect::getInstance()
{
    return new OceanEffect();
}

std::vector<FixedResource> OceanEffect::getFixedResources() const
{
    return { SURFACE_SHADER, TEXTURE_SHADER, DEPTH_SHADER, SEA_BUFFER, NOISE_BUFFER };
}

void OceanEffect::reset()
{
    leafNoisePosition = 0.0f;
}

void OceanEffect::init()
{
    reset();
    ResourceLookup lookup("OceanEffect", EffectParameters::objectName(parameters));
    beach = lookup.texture(EffectParameters::get(parameters, "beach"));
    reflection = lookup.texture(EffectParameters::get(parameters, "reflection"));
    leaf1 = lookup.texture(EffectParameters::get(parameters, "leaf1"));
    leaf2 = lookup.texture(EffectParameters::get(parameters, "leaf2"));
    blurXShader = lookup.shader(EffectParameters::get(parameters, "blurx_shader"));
    blurYShader = lookup.shader(EffectParameters::get(parameters, "blury_shader"));
    blurXBuffer = lookup.fbo(EffectParameters::get(parameters, "blurx_fbo"));
    blurYBuffer = lookup.fbo(EffectParameters::get(parameters, "blury_fbo"));
    surfaceShader = lookup.shader(SURFACE_SHADER.name);
    textureShader = lookup.shader(TEXTURE_SHADER.name);
    depthOfField = lookup.shader(DEPTH_SHADER.name);
    aux1 = lookup.fbo(SEA_BUFFER.name);
    // Whatever another effect renders into "noise" ripples the sea; the
    // pool is complete after loading, so it is found once here.
    noise = lookup.fbo(NOISE_BUFFER.name);
    ready = lookup.isComplete();
    if (!ocean && ready)
        ocean.reset(new Ocean(3.0f, 20.0f, 64));
    if (ready)
    {
        blurXBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
        blurYBuffer->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE);
    }
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        surfaceNoiseUniform = surfaceShader->uniform(NOISE);
        surfaceEnvmapUniform = surfaceShader->uniform(ENVMAP);
        surfaceVTransUniform = surfaceShader->uniform(V_TRANS);
        blurXTextureSamplerUniform = blurXShader->uniform(TEXTURE_SAMPLER);
        blurXViewportStepUniform = blurXShader->uniform(VIEWPORT_STEP);
        blurYTextureSamplerUniform = blurYShader->uniform(TEXTURE_SAMPLER);
        blurYViewportStepUniform = blurYShader->uniform(VIEWPORT_STEP);
        depthOfFieldSharpUniform = depthOfField->uniform(SHARP);
        depthOfFieldBluredUniform = depthOfField->uniform(BLURED);
        depthOfFieldRangeUniform = depthOfField->uniform(RANGE);
        depthOfFieldFocusUniform = depthOfField->uniform(FOCUS);
        textureTextureUniform = textureShader->uniform(TEXTURE);
        textureColorUniform = textureShader->uniform(COLOR);
    }
}

void OceanEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!ready)
        return;
    glEnable(GL_CULL_FACE);
    noise->getColorBuffer()->setTextureWrap(GL_CLAMP_TO_EDGE, GL_REPEAT);

    glRotatef(1.5f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.21f, 0.0f, 0.0f);

    ocean->move(time, frameTime);
    surfaceOffset = ocean->getTranslated() / 20.0f;

    aux1->bind();
    surfaceShader->use();
    surfaceShader->setTextureUnit(0, surfaceNoiseUniform, noise->getColorBuffer());
    surfaceShader->setTextureUnit(1, surfaceEnvmapUniform, reflection);
    surfaceShader->setUniform1f(surfaceVTransUniform, surfaceOffset);
    ocean->draw();
    surfaceShader->release();
    aux1->setClearFlag(true);
    aux1->release();

    blurXBuffer->bind();
    blurXShader->use();
    blurXShader->setTextureUnit(0, blurXTextureSamplerUniform, aux1->getColorBuffer());
    blurXShader->setUniform1f(blurXViewportStepUniform, 1.0f / static_cast<float>(blurXBuffer->getWidth()));
    aux1->draw(1.0f);
    blurXShader->release();
    blurXBuffer->release();

    blurYBuffer->bind();
    blurYShader->use();
    blurYShader->setTextureUnit(0, blurYTextureSamplerUniform, blurXBuffer->getColorBuffer());
    blurYShader->setUniform1f(blurYViewportStepUniform, 1.0f / static_cast<float>(blurYBuffer->getHeight()));
    blurXBuffer->draw(1.0f);
    blurYShader->release();
    blurYBuffer->release();

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    GLw::resetAndStoreProjectionModelview();
    depthOfField->use();
    depthOfField->setTextureUnit(0, depthOfFieldSharpUniform, aux1->getColorBuffer());
    depthOfField->setTextureUnit(1, depthOfFieldBluredUniform, blurYBuffer->getColorBuffer());
    depthOfField->setUniform1f(depthOfFieldRangeUniform, 0.95f);
    depthOfField->setUniform1f(depthOfFieldFocusUniform, -0.58f);
    ScreenQuad::drawClockwise();
    depthOfField->release();
    GLw::restoreProjectionModelview();
    glEnable(GL_DEPTH_TEST);

    drawBeach();
    drawLeafs();
    leafNoisePosition = static_cast<float>(time) * 0.03125f;
}

void OceanEffect::drawBeach()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    MRVMaterial::useColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    textureShader->use();
    textureShader->setTextureUnit(0, textureTextureUniform, beach);
    textureShader->setUniform4f(textureColorUniform, 1.0f, 1.0f, 1.0f, 1.0f);
    // The lower third of the picture lies below the screen.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.336f); glVertex3f(-1.0f, -0.57f, -1.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-1.0f, 0.57f, -1.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(1.0f, 0.57f, -1.0f);
    glTexCoord2f(1.0f, 0.336f); glVertex3f(1.0f, -0.57f, -1.0f);
    glEnd();
    textureShader->release();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}

void OceanEffect::drawLeafs()
{
    // Whole steps of the noise position: the leaves move in small jerks,
    // once every 32 ms.
    const float p = static_cast<float>(static_cast<int>(leafNoisePosition));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ColourMaterial::enable();
    ColourMaterial::white();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    float a = (leafNoise.getValue(p) - 0.375f) * 12.5f;
    glTranslatef(a / 10.0f, 2.36f, 0.0f);
    glRotatef(a, 1.0f, 0.75f, 1.5f);
    leaf1->bind();
    leafQuad(0.0f);
    leaf1->release();

    glLoadIdentity();
    a = (leafNoise.getValue(p + 256.0f) - 0.375f) * 10.0f;
    leafAngle = a;
    glTranslatef(a / 10.0f, 2.28f, 0.0f);
    glRotatef(a, 0.25f, 0.5f, -1.0f);
    leaf2->bind();
    leafQuad(0.2f);
    leaf2->release();

    ColourMaterial::white();
    ColourMaterial::disable();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}
