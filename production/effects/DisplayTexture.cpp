#include "production/effects/DisplayTexture.h"

#include "demosys/data/DataShaderPool.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

#include <GL/glew.h>

namespace {
const char* const TRACK_NAMES[] = { "alpha",  "pos.x", "pos.y", "pos.z",    "size.x",  "size.y",
                                    "rot.x",  "rot.y", "rot.z", "scroll.x", "scroll.y" };
const std::string COLOR = "color";
}

Effect* DisplayTexture::getInstance()
{
    return new DisplayTexture();
}

void DisplayTexture::registerTracks()
{
    for (const char* name : TRACK_NAMES)
        addTrackName(name);
}

void DisplayTexture::reset()
{
    scrolling = false;
    u = 0.0f;
    v = 0.0f;
}

void DisplayTexture::init()
{
    reset();
    ResourceLookup lookup("DisplayTexture", EffectParameters::objectName(parameters));
    texture = lookup.texture(EffectParameters::get(parameters, "texture"));
    const std::string blending = EffectParameters::get(parameters, "alphablend");
    blend = blending == "1" || blending == "true";
    alpha = 1.0f;
    // An optional shader: a name the pool does not hold means none.
    const std::string shaderName = EffectParameters::get(parameters, "shader");
    shader = nullptr;
    if (!shaderName.empty() && shaderName != "none" && MRVDemosys::shaderPool &&
        MRVDemosys::shaderPool->exists(shaderName))
        shader = MRVDemosys::shaderPool->getShader(shaderName);
    for (int i = 0; i < TRACK_COUNT; ++i)
        tracks[i] = getTrack(TRACK_NAMES[i]);
    // Resolved again by the shader at every link and reload.
    if (shader)
    {
        colorUniform = shader->uniform(COLOR);
    }
}

void DisplayTexture::draw(unsigned int time, unsigned int frameTime)
{
    if (!texture)
        return;
    alpha = TrackValue::at(tracks[ALPHA], time);
    x = TrackValue::at(tracks[POS_X], time);
    y = TrackValue::at(tracks[POS_Y], time);
    z = TrackValue::at(tracks[POS_Z], time) - 1.0f;
    halfWidth = TrackValue::at(tracks[SIZE_X], time) + 1.0f;
    halfHeight = TrackValue::at(tracks[SIZE_Y], time) + 1.0f;
    rotX = TrackValue::at(tracks[ROT_X], time);
    rotY = TrackValue::at(tracks[ROT_Y], time);
    rotZ = TrackValue::at(tracks[ROT_Z], time);
    scrollX = TrackValue::at(tracks[SCROLL_X], time);
    scrollY = TrackValue::at(tracks[SCROLL_Y], time);

    // Only forward speeds scroll; a still picture is clamped so that its
    // edges do not pick up the opposite border.
    scrolling = scrollX > 0.0f || scrollY > 0.0f;
    texture->setTextureWrap(scrolling ? GL_REPEAT : GL_CLAMP_TO_EDGE);
    texture->setTextureEnv(GL_REPLACE);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    if (blend)
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
    }

    texture->bind();
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(rotX, 1.0f, 0.0f, 0.0f);
    glRotatef(rotY, 0.0f, 1.0f, 0.0f);
    glRotatef(rotZ, 0.0f, 0.0f, 1.0f);
    if (shader)
    {
        shader->use();
        shader->setUniform4f(colorUniform, 1.0f, 1.0f, 1.0f, alpha);
    }
    else
    {
        ColourMaterial::enable();
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(u, v + 1.0f); glVertex2f(-halfWidth, halfHeight);
    glTexCoord2f(u + 1.0f, v + 1.0f); glVertex2f(halfWidth, halfHeight);
    glTexCoord2f(u + 1.0f, v); glVertex2f(halfWidth, -halfHeight);
    glTexCoord2f(u, v); glVertex2f(-halfWidth, -halfHeight);
    glEnd();
    glPopMatrix();
    if (shader)
        shader->release();

    if (scrolling)
    {
        u += static_cast<float>(frameTime) * scrollX / 15.0f;
        v += static_cast<float>(frameTime) * scrollY / 15.0f;
    }

    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    texture->release();
    if (!shader)
    {
        ColourMaterial::white();
        ColourMaterial::disable();
    }
    GLw::restoreProjectionModelview();
}
