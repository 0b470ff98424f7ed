#include "production/effects/SimplexNoiseEffect.h"

#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

const unsigned char SimplexNoiseEffect::perm[256] = {
    151, 160, 137, 91,  90,  15,  131, 13,  201, 95,  96,  53,  194, 233, 7,   225, 140, 36,  103, 30,  69,  142,
    8,   99,  37,  240, 21,  10,  23,  190, 6,   148, 247, 120, 234, 75,  0,   26,  197, 62,  94,  252, 219, 203,
    117, 35,  11,  32,  57,  177, 33,  88,  237, 149, 56,  87,  174, 20,  125, 136, 171, 168, 68,  175, 74,  165,
    71,  134, 139, 48,  27,  166, 77,  146, 158, 231, 83,  111, 229, 122, 60,  211, 133, 230, 220, 105, 92,  41,
    55,  46,  245, 40,  244, 102, 143, 54,  65,  25,  63,  161, 1,   216, 80,  73,  209, 76,  132, 187, 208, 89,
    18,  169, 200, 196, 135, 130, 116, 188, 159, 86,  164, 100, 109, 198, 173, 186, 3,   64,  52,  217, 226, 250,
    124, 123, 5,   202, 38,  147, 118, 126, 255, 82,  85,  212, 207, 206, 59,  227, 47,  16,  58,  17,  182, 189,
    28,  42,  223, 183, 170, 213, 119, 248, 152, 2,   44,  154, 163, 70,  221, 153, 101, 155, 167, 43,  172, 9,
    129, 22,  39,  253, 19,  98,  108, 110, 79,  113, 224, 232, 178, 185, 112, 104, 218, 246, 97,  228, 251, 34,
    242, 193, 238, 210, 144, 12,  191, 179, 162, 241, 81,  51,  145, 235, 249, 14,  239, 107, 49,  192, 214, 31,
    181, 199, 106, 157, 184, 84,  204, 176, 115, 121, 50,  45,  127, 4,   150, 254, 138, 236, 205, 93,  222, 114,
    67,  29,  24,  72,  243, 141, 128, 195, 78,  66,  215, 61,  156, 180,
};

const signed char SimplexNoiseEffect::grad3[16][3] = {
    { 0, 1, 1 },  { 0, 1, -1 },  { 0, -1, 1 }, { 0, -1, -1 }, { 1, 0, 1 },  { 1, 0, -1 },
    { -1, 0, 1 }, { -1, 0, -1 }, { 1, 1, 0 },  { 1, -1, 0 },  { -1, 1, 0 }, { -1, -1, 0 },
    { 1, 0, -1 }, { -1, 0, -1 }, { 0, -1, 1 }, { 0, 1, 1 },
};

namespace {
constexpr int PERM_SIZE = 256;
constexpr int SIMPLEX_SIZE = 64;
const std::string PERM_SAMPLER = "permTexture";
const std::string SIMPLEX_SAMPLER = "simplexTexture";
const std::string TIME = "time";

const FixedResource NOISE_SHADER = { FixedResource::SHADER, "simplex", "computes the noise" };
}

SimplexNoiseEffect::SimplexNoiseEffect() = default;

SimplexNoiseEffect::~SimplexNoiseEffect() = default;

Effect* SimplexNoiseEffect::getInstance()
{
    return new SimplexNoiseEffect();
}

void SimplexNoiseEffect::reset()
{
}

void SimplexNoiseEffect::buildPermutationTable(unsigned char* texels)
{
    for (int i = 0; i < PERM_SIZE; ++i)
        for (int j = 0; j < PERM_SIZE; ++j)
        {
            unsigned char* texel = texels + (i * PERM_SIZE + j) * 4;
            const int a = perm[(j + perm[i]) & 0xff];
            const signed char* g = grad3[a & 15];
            texel[0] = static_cast<unsigned char>(g[0] * 64 + 64);
            texel[1] = static_cast<unsigned char>(g[1] * 64 + 64);
            texel[2] = static_cast<unsigned char>(g[2] * 64 + 64);
            texel[3] = static_cast<unsigned char>(a);
        }
}

void SimplexNoiseEffect::buildSimplexTable(unsigned char* texels)
{
    std::fill(texels, texels + SIMPLEX_SIZE * 4, 0);
    // Every strict order of four coordinates sets one pattern of the six
    // pairwise comparisons; walking all 24 orders fills exactly the entries
    // that can occur and leaves the others zero.
    int order[4] = { 0, 1, 2, 3 };
    do
    {
        // order[k] is the rank of coordinate k (x, y, z, w).
        auto gt = [&order](int a, int b) { return order[a] > order[b] ? 1 : 0; };
        const int c = 32 * gt(0, 1) + 16 * gt(0, 2) + 8 * gt(1, 2) + 4 * gt(0, 3) + 2 * gt(1, 3) + gt(2, 3);
        for (int k = 0; k < 4; ++k)
            texels[c * 4 + k] = static_cast<unsigned char>(64 * order[k]);
    } while (std::next_permutation(order, order + 4));
}

std::vector<FixedResource> SimplexNoiseEffect::getFixedResources() const
{
    return { NOISE_SHADER };
}

void SimplexNoiseEffect::init()
{
    reset();
    ResourceLookup lookup("SimplexNoiseEffect", EffectParameters::objectName(parameters));
    shader = lookup.shader(NOISE_SHADER.name);

    if (!permTexture)
    {
        std::vector<unsigned char> texels(static_cast<size_t>(PERM_SIZE) * PERM_SIZE * 4);
        buildPermutationTable(texels.data());
        permTexture.reset(new Texture(PERM_SIZE, PERM_SIZE, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, texels.data()));
        permTexture->setInterpolation(GL_NEAREST);
    }
    if (!simplexTexture)
    {
        std::vector<unsigned char> texels(static_cast<size_t>(SIMPLEX_SIZE) * 4);
        buildSimplexTable(texels.data());
        simplexTexture.reset(new Texture(SIMPLEX_SIZE, 1, GL_TEXTURE_1D, GL_RGBA, GL_RGBA, texels.data()));
        simplexTexture->setInterpolation(GL_NEAREST);
    }
    // The GL object keeps the linear filters of its creation until a bind
    // applies the record's; lookups between entries must never blend.
    for (Texture* texture : { permTexture.get(), simplexTexture.get() })
    {
        texture->bind();
        texture->release();
    }
    // Resolved again by the shader at every link and reload.
    if (shader)
    {
        permSamplerUniform = shader->uniform(PERM_SAMPLER);
        simplexSamplerUniform = shader->uniform(SIMPLEX_SAMPLER);
        timeUniform = shader->uniform(TIME);
    }
}

void SimplexNoiseEffect::draw(unsigned int time, unsigned int)
{
    if (!shader)
        return;
    glEnable(GL_TEXTURE_1D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    shader->use();
    shader->setTextureUnit(0, permSamplerUniform, permTexture.get());
    shader->setTextureUnit(1, simplexSamplerUniform, simplexTexture.get());
    shader->setUniform1f(timeUniform, static_cast<float>(time) / 1000.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ScreenQuad::drawClockwise();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    shader->release();
    // The shader's release empties the 2D targets only: the 1D table would
    // stay enabled on unit 1 and tint every fixed-function draw after it.
    glActiveTexture(GL_TEXTURE1);
    simplexTexture->release();
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_1D);
}
