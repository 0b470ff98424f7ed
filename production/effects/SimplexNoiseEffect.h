#pragma once

#include "demosys/runtime/Effect.h"

#include <memory>

class Shader;
class Texture;

// Animated simplex noise over the whole target, computed by the "simplex"
// shader from two lookup textures built here: a 256 x 256 permutation and
// gradient table and the 64-entry table of simplex corner orders.
class SimplexNoiseEffect : public Effect
{
public:
    SimplexNoiseEffect();
    ~SimplexNoiseEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;

    Texture* getPermutationTexture() const { return permTexture.get(); }
    Texture* getSimplexTexture() const { return simplexTexture.get(); }

    // The noise's 256-entry permutation, and its 16 gradients (x, y, z).
    static const unsigned char perm[256];
    static const signed char grad3[16][3];
    // The 256 x 256 RGBA texels of the permutation texture, row by row.
    static void buildPermutationTable(unsigned char* texels);
    // The 64 RGBA texels of the simplex texture.
    static void buildSimplexTable(unsigned char* texels);

private:
    Shader* shader = nullptr;
    int permSamplerUniform = -1;
    int simplexSamplerUniform = -1;
    int timeUniform = -1;
    std::unique_ptr<Texture> permTexture;
    std::unique_ptr<Texture> simplexTexture;
};
