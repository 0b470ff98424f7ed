#include "production/effects/DiscoBallEffect.h"

#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/math/Matrix.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneTree.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/SceneLookup.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

const std::string LIGHT_POSITION = "LightPosition";
const std::string EYE_POSITION = "EyePosition";

const FixedResource SPOT_SHADER = { FixedResource::SHADER, "colormaterial", "draws the beams' spots in their colours" };

// The beams in the discoballB scene, a tube and the spot at its end each,
// under the model's own numbers: 044 to 085 without 063.
const std::vector<FixedResource>& beamObjects()
{
    static const std::vector<FixedResource> objects = [] {
        std::vector<FixedResource> list;
        for (int i = 44; i <= 85; ++i)
            if (i != 63)
            {
                const std::string number = std::to_string(i);
                list.push_back({ FixedResource::SCENE_OBJECT, "Tube.0" + number, "in discoballB: a beam" });
                list.push_back({ FixedResource::SCENE_OBJECT, "Circle.0" + number, "in discoballB: its spot" });
            }
        return list;
    }();
    return objects;
}

// rand() scaled by 2^-31 where RAND_MAX is 2^31 - 1, and still below 1
// elsewhere.
float random01()
{
    return static_cast<float>(static_cast<double>(std::rand()) / (static_cast<double>(RAND_MAX) + 1.0));
}

} // namespace

DiscoBallEffect::DiscoBallEffect() = default;

DiscoBallEffect::~DiscoBallEffect() = default;

Effect* DiscoBallEffect::getInstance()
{
    return new DiscoBallEffect();
}

std::vector<FixedResource> DiscoBallEffect::getFixedResources() const
{
    std::vector<FixedResource> resources = beamObjects();
    resources.push_back(SPOT_SHADER);
    return resources;
}

void DiscoBallEffect::reset()
{
    ballAngle = 0.0f;
    roomAngle = 0.0f;
    flashIntensity = 0.0f;
}

void DiscoBallEffect::init()
{
    reset();
    ResourceLookup lookup("DiscoBallEffect", EffectParameters::objectName(parameters));
    ball = SceneLookup::scene(lookup, EffectParameters::get(parameters, "discoballA"));
    rays = SceneLookup::scene(lookup, EffectParameters::get(parameters, "discoballB"));
    rayTexture = lookup.texture(EffectParameters::get(parameters, "lighttex"));
    ballShader = lookup.shader(EffectParameters::get(parameters, "discoball_shader"));
    room = SceneLookup::scene(lookup, EffectParameters::get(parameters, "cube"));
    roomTexture = lookup.texture(EffectParameters::get(parameters, "cube_texture"));
    if (tubes.empty() && rays)
    {
        // Every beam must be there before any is touched, so that a scene
        // short of one leaves the others as they were loaded.
        bool complete = true;
        const std::vector<FixedResource>& beams = beamObjects();
        for (size_t k = 0; k + 1 < beams.size(); k += 2)
            complete = SceneLookup::object(lookup, rays, beams[k].name) &&
                       SceneLookup::object(lookup, rays, beams[k + 1].name) && complete;
        if (complete)
            initLightRays();
    }
    spotShader = lookup.shader(SPOT_SHADER.name);
    ready = lookup.isComplete() && static_cast<int>(tubes.size()) == RAY_COUNT;
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        ballLightPositionUniform = ballShader->uniform(LIGHT_POSITION);
        ballEyePositionUniform = ballShader->uniform(EYE_POSITION);
    }
}

void DiscoBallEffect::initLightRays()
{
    rayCount = RAY_COUNT;
    MRVNode* root = rays->getTree()->getRoot();
    const std::vector<FixedResource>& beams = beamObjects();
    for (size_t k = 0; k + 1 < beams.size(); k += 2)
    {
        tubes.push_back(root->getObjectByName(beams[k].name));
        spots.push_back(root->getObjectByName(beams[k + 1].name));
    }
    directions.assign(static_cast<size_t>(rayCount), Vector<float, 3>());
    materials.clear();
    materials.resize(static_cast<size_t>(rayCount));

    // Seeded so that every run shows the same colours.
    std::srand(COLOUR_SEED);
    for (size_t i = 0; i < static_cast<size_t>(rayCount); ++i)
    {
        tubes[i]->setMaterial(nullptr);
        materials[i].reset(new MRVMaterial());
        spots[i]->setMaterial(materials[i].get());
        const float r = random01();
        const float g = random01();
        const float b = random01();
        materials[i]->setAmbient(r, g, b);
        materials[i]->setDiffuse(1.0f, 1.0f, 1.0f);
    }
}

float DiscoBallEffect::flashStrength(float z)
{
    if (!(z > FLASH_THRESHOLD))
        return 0.0f;
    return 0.8f * std::sin(z - FLASH_THRESHOLD) / (1.0f - FLASH_THRESHOLD);
}

void DiscoBallEffect::sortLightRays()
{
    flashIntensity = 0.0f;
    Matrix<float, 4, 4, 16> modelview;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    const size_t n = tubes.size();
    for (size_t i = 0; i < n; ++i)
    {
        directions[i] = modelview.transformVector(tubes[i]->getTranslation());
        directions[i].normalize();
    }

    // Farthest first, so that the nearer translucent beams lie over them.
    for (size_t p = 0; p + 1 < n; ++p)
    {
        size_t smallest = p;
        for (size_t i = p + 1; i < n; ++i)
            if (directions[i][2] < directions[smallest][2])
                smallest = i;
        if (smallest == p)
            continue;
        std::swap(tubes[p], tubes[smallest]);
        std::swap(spots[p], spots[smallest]);
        std::swap(directions[p], directions[smallest]);
        std::swap(materials[p], materials[smallest]);
    }

    for (size_t i = 0; i < n; ++i)
    {
        // The brightest wins; of equals, the first.
        const float c = flashStrength(directions[i][2]);
        if (c > flashIntensity)
        {
            flashIntensity = c;
            flashRay = static_cast<int>(i);
        }
    }
}

void DiscoBallEffect::drawFlashQuad()
{
    if (flashIntensity == 0.0f)
        return;
    GLw::resetAndStoreProjectionModelview();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ColourMaterial::enable();
    const Vector<float, 3> colour = materials[static_cast<size_t>(flashRay)]->getAmbient();
    glColor4f(colour[0], colour[1], colour[2], flashIntensity);
    ScreenQuad::draw();
    glDisable(GL_BLEND);
    ColourMaterial::white();
    ColourMaterial::disable();
    GLw::restoreProjectionModelview();
}

void DiscoBallEffect::draw(unsigned int, unsigned int frameTime)
{
    if (!ready)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    // The room, seen from inside.
    glPushMatrix();
    ColourMaterial::enable();
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    glTranslatef(0.0f, 0.0f, -16.0f);
    glRotatef(roomAngle, 0.5f, 1.0f, 0.0f);
    glScalef(50.0f, 50.0f, 50.0f);
    glDisable(GL_CULL_FACE);
    roomTexture->setTextureWrap(GL_REPEAT);
    roomTexture->bind();
    room->draw();
    glEnable(GL_CULL_FACE);
    roomTexture->release();
    glPopMatrix();
    ColourMaterial::disable();

    // The ball's swing and spin stay on the matrix for the rest of the draw.
    glTranslatef(std::sin(ballAngle / 80.0f) * 5.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, -16.0f);
    glRotatef(ballAngle, 0.4f, -3.0f, 0.0f);

    glEnable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    ballShader->use();
    ballShader->setUniform3f(ballLightPositionUniform, -20.0f, -20.0f, 100.0f);
    ballShader->setUniform3f(ballEyePositionUniform, 0.0f, 0.0f, 0.0f);
    ball->draw();
    ballShader->release();

    glDisable(GL_LIGHTING);
    ColourMaterial::enable();
    spotShader->use();
    for (MRVObject* spot : spots)
    {
        glColor3f(1.0f, 1.0f, 1.0f);
        spot->draw(nullptr);
    }
    spotShader->release();
    glEnable(GL_CULL_FACE);

    sortLightRays();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    rayTexture->bind();
    for (size_t i = 0; i < tubes.size(); ++i)
    {
        const Vector<float, 3> colour = materials[i]->getAmbient();
        glColor3fv(colour.data());
        tubes[i]->draw(materials[i].get());
    }
    rayTexture->release();
    glDisable(GL_BLEND);
    ColourMaterial::white();
    ColourMaterial::disable();

    drawFlashQuad();

    ballAngle += static_cast<float>(frameTime) * 0.1f;
    roomAngle += static_cast<float>(frameTime) * 0.02f;
    glPopMatrix();
}
