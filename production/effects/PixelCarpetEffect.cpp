#include "production/effects/PixelCarpetEffect.h"

#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/VBODynamic.h"
#include "demosys/scene/MRVScene.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ParticleBatch.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/SceneLookup.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>

namespace {

const std::string TEXTURE = "texture";
constexpr float DECAY = 2.0f;
constexpr float LIFT = 40.0f;
constexpr int VERTICES = PixelCarpetEffect::GRID * PixelCarpetEffect::GRID * 2;
constexpr int QUADS = PixelCarpetEffect::COLUMNS * PixelCarpetEffect::COLUMNS * 5;

const FixedResource FIRST_PATH = { FixedResource::CAMERA_PATH, "pixelcarpetanim",
                                   "the first path, flown along anim.pos" };
const FixedResource SECOND_PATH = { FixedResource::CAMERA_PATH, "pixelcarpet2anim",
                                    "the second path, flown along anim2.pos" };

// Uniform in [0, 1): rand() scaled by 2^-31 where RAND_MAX is 2^31 - 1, as
// on the platform the stars were placed on, and still below 1 elsewhere.
float random01()
{
    return static_cast<float>(static_cast<double>(std::rand()) / (static_cast<double>(RAND_MAX) + 1.0));
}

void launch(Particle& star, float r, float g, float b, float x, float y, float z)
{
    const float size = 0.099f * random01() + 0.001f;
    star.setRotation(0.0f)
        ->setColor(r, g, b)
        ->setPosition(x, y, z)
        ->setSize(size)
        ->setDirection(-1.0f, 0.0f, (size / 10.0f + 0.02f) * 100.0f)
        ->setGravity(0.0f, 0.0f, 0.0f)
        ->setAcceleration(1.0f)
        ->setLifespan(200.0f);
}

} // namespace

PixelCarpetEffect::PixelCarpetEffect() = default;

PixelCarpetEffect::~PixelCarpetEffect() = default;

Effect* PixelCarpetEffect::getInstance()
{
    return new PixelCarpetEffect();
}

std::vector<FixedResource> PixelCarpetEffect::getFixedResources() const
{
    return { FIRST_PATH, SECOND_PATH };
}

void PixelCarpetEffect::registerTracks()
{
    CameraFlight::registerTracks(*this);
}

void PixelCarpetEffect::reset()
{
    tumbleAngle = 0.0f;
    textureAngle = 0.0f;
}

void PixelCarpetEffect::init()
{
    reset();
    generateObject();
    if (heights.empty())
        heights.assign(HEIGHTS, MIN_HEIGHT);

    if (!starBatch)
        starBatch.reset(new ParticleBatch(STARS));
    ResourceLookup lookup("PixelCarpetEffect", EffectParameters::objectName(parameters));
    starTexture = lookup.texture(EffectParameters::get(parameters, "particlelight"));
    if (stars.empty())
    {
        stars.resize(STARS);
        for (Particle& star : stars)
        {
            // Evaluated in this order: x, y, z, then the size.
            const float x = 40.0f * random01() - 10.0f;
            const float y = 20.0f * random01() - 10.0f;
            const float z = 29.0f * random01() - 30.0f;
            launch(star, 1.0f, 1.0f, 1.0f, x, y, z);
            star.setEnergy(1.0f);
        }
    }
    camera.init(*this, lookup, FIRST_PATH.name, SECOND_PATH.name);
    core = SceneLookup::scene(lookup, EffectParameters::get(parameters, "cube"));
    coreTexture = lookup.texture(EffectParameters::get(parameters, "mrvlogo"));
    carpetShader = lookup.shader(EffectParameters::get(parameters, "vmeters"));
    carpetTexture = lookup.texture(EffectParameters::get(parameters, "particletex"));
    ready = lookup.isComplete() && carpet != nullptr;
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        carpetTextureUniform = carpetShader->uniform(TEXTURE);
    }
}

void PixelCarpetEffect::generateObject()
{
    if (carpet)
        return;
    carpet.reset(new VBODynamic(VERTICES, 3, 0, 0, 0, 4, QUADS));

    carpet->openVertexBuffer(GL_WRITE_ONLY);
    float* v = carpet->getVertexPointer();
    if (v)
        for (int j = 0; j < GRID; ++j)
            for (int k = 0; k < GRID; ++k)
            {
                float* base = v + 6 * (GRID * j + k);
                const float x = cellSize * static_cast<float>(k) - 160.0f;
                const float y = 160.0f - cellSize * static_cast<float>(j);
                const float grid[6] = { x, y, 0.0f, x, y, 5.0f };
                std::copy(grid, grid + 6, base);
            }
    carpet->closeVertexBuffer();

    carpet->openPolygonBuffer(GL_WRITE_ONLY);
    unsigned int* q = carpet->getPolygonPointer();
    if (q)
        for (int r = 0; r < COLUMNS; ++r)
            for (int c = 0; c < COLUMNS; ++c)
            {
                const unsigned int d = 2u * static_cast<unsigned int>(GRID * 2 * r + 2 * c);
                const unsigned int faces[20] = { d,      d + 1,  d + 3,  d + 2,       // side at the row's top edge
                                                 d,      d + 64, d + 65, d + 1,       // left side
                                                 d + 2,  d + 3,  d + 67, d + 66,      // right side
                                                 d + 64, d + 66, d + 67, d + 65,      // side at the bottom edge
                                                 d + 1,  d + 65, d + 67, d + 3 };     // top
                std::copy(faces, faces + 20, q + 20 * (COLUMNS * r + c));
            }
    carpet->closePolygonBuffer();
}

void PixelCarpetEffect::distort(unsigned int)
{
    spectrum.read();
    float* left = spectrum.left();
    float* right = spectrum.right();
    for (float& h : heights)
        if (h - DECAY >= MIN_HEIGHT)
            h -= DECAY;
    // The test reads i, the factor is i + 1: kept as the carpet was tuned.
    for (int i = 0; i < spectrum.length(); ++i)
    {
        const size_t k = static_cast<size_t>(i);
        if (MAX_HEIGHT >= left[k] * static_cast<float>(i))
            left[k] *= static_cast<float>(i + 1);
        if (MAX_HEIGHT >= right[k] * static_cast<float>(i))
            right[k] *= static_cast<float>(i + 1);
    }

    carpet->openVertexBuffer(GL_READ_WRITE);
    float* v = carpet->getVertexPointer();
    for (int r = 0; r < COLUMNS; ++r)
        for (int c = 0; c < COLUMNS; ++c)
        {
            const size_t rr = static_cast<size_t>(r), cc = static_cast<size_t>(c);
            const float target = (left[rr] + left[rr + 1] + right[cc] + right[cc + 1] + MIN_HEIGHT) * LIFT;
            float& h = heights[static_cast<size_t>(COLUMNS * r + c)];
            if (target > h)
                h = std::min(MAX_HEIGHT, target);
            if (!v)
                continue;
            const int d = 2 * (GRID * 2 * r + 2 * c);
            for (int top : { d + 1, d + 3, d + 65, d + 67 })
                v[3 * top + 2] = h;
        }
    carpet->closeVertexBuffer();
}

void PixelCarpetEffect::drawStars(float seconds)
{
    glBindTexture(GL_TEXTURE_2D, starTexture->getID());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (Particle& star : stars)
    {
        starBatch->add(star, seconds);
        if (star.getPosition()[2] > -0.9f)
            star.kill();
        if (star.isDead())
        {
            const float x = 60.0f * random01() - 30.0f;
            const float y = 40.0f * random01() - 20.0f;
            const float z = 29.0f * random01() - 30.0f;
            launch(star, 1.0f, 0.0f, 1.0f, x, y, z);
        }
    }
    starBatch->draw();
}

void PixelCarpetEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!ready)
        return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    drawStars(static_cast<float>(frameTime) / 1000.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);

    camera.fly(time);

    const float h = static_cast<float>(gridSize + 2) * cellSize * 0.5f;
    glEnable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    ColourMaterial::white();
    // Not pushed: the cube's placement stays on the model-view after draw.
    glTranslatef(0.0f, 0.0f, -450.0f);
    glRotatef(tumbleAngle, 1.0f, 0.5f, 0.0f);
    glTranslatef(0.0f, 0.0f, h);

    distort(time);

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -h);
    glScalef(2.0f * h - 1.0f, 2.0f * h - 1.0f, 2.0f * h);
    coreTexture->setTextureWrap(GL_REPEAT);
    coreTexture->bind();
    core->draw();
    coreTexture->release();
    glPopMatrix();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    carpetShader->use();
    carpetShader->setTextureUnit(0, carpetTextureUniform, carpetTexture);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glRotatef(textureAngle, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);

    carpet->drawPolygons(GL_QUADS, 0, 0);
    // The other five faces: each turned so that its columns point outwards.
    const float faces[5][7] = {
        { -h, 0.0f, -h, -90.0f, 0.0f, 1.0f, 0.0f },        { 0.0f, 0.0f, -2.0f * h, -180.0f, 0.0f, 1.0f, 0.0f },
        { h, 0.0f, -h, -270.0f, 0.0f, 1.0f, 0.0f },        { 0.0f, -h, -h, 90.0f, 1.0f, 0.0f, 0.0f },
        { 0.0f, h, -h, -90.0f, 1.0f, 0.0f, 0.0f },
    };
    for (const float* face : faces)
    {
        glPushMatrix();
        glTranslatef(face[0], face[1], face[2]);
        glRotatef(face[3], face[4], face[5], face[6]);
        carpet->drawPolygons(GL_QUADS, 0, 0);
        glPopMatrix();
    }

    carpetShader->release();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    ColourMaterial::white();
    ColourMaterial::disable();
    glDisable(GL_BLEND);

    tumbleAngle += static_cast<float>(frameTime) * 0.1f;
    textureAngle += static_cast<float>(frameTime) * 0.1f;
}
