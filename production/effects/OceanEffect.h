#pragma once

#include "demosys/runtime/Effect.h"
#include "mrvutils/PerlinNoise.h"

#include <memory>

class FrameBufferObject;
class Ocean;
class Shader;
class Texture;

// A view over a rolling sea: the heightfield shaded into "aux1", blurred,
// mixed sharp-to-blurred by depth, then a beach picture over it and two
// leaves swaying from the top. Everything moves with the music clock.
class OceanEffect : public Effect
{
public:
    OceanEffect();
    ~OceanEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;

    Ocean* getOcean() const { return ocean.get(); }
    // The offset handed to the sea shader: the sub-row scroll / 20.
    float getSurfaceOffset() const { return surfaceOffset; }
    float getLeafAngle() const { return leafAngle; }
    float getLeafNoisePosition() const { return leafNoisePosition; }

private:
    void drawBeach();
    void drawLeafs();

    std::unique_ptr<Ocean> ocean;
    Texture* beach = nullptr;
    Texture* reflection = nullptr;
    Texture* leaf1 = nullptr;
    Texture* leaf2 = nullptr;
    Shader* surfaceShader = nullptr;
    Shader* textureShader = nullptr;
    Shader* depthOfField = nullptr;
    Shader* blurXShader = nullptr;
    Shader* blurYShader = nullptr;
    int surfaceNoiseUniform = -1;
    int surfaceEnvmapUniform = -1;
    int surfaceVTransUniform = -1;
    int blurXTextureSamplerUniform = -1;
    int blurXViewportStepUniform = -1;
    int blurYTextureSamplerUniform = -1;
    int blurYViewportStepUniform = -1;
    int depthOfFieldSharpUniform = -1;
    int depthOfFieldBluredUniform = -1;
    int depthOfFieldRangeUniform = -1;
    int depthOfFieldFocusUniform = -1;
    int textureTextureUniform = -1;
    int textureColorUniform = -1;
    FrameBufferObject* aux1 = nullptr;
    FrameBufferObject* blurXBuffer = nullptr;
    FrameBufferObject* blurYBuffer = nullptr;
    FrameBufferObject* noise = nullptr;
    PerlinNoise leafNoise;
    float leafAngle = 0.0f;
    float leafNoisePosition = 0.0f;
    float surfaceOffset = 0.0f;
    bool ready = false;
};
