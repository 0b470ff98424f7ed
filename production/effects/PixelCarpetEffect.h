#pragma once

#include "demosys/data/Particle.h"
#include "demosys/runtime/Effect.h"
#include "production/effects/CameraFlight.h"
#include "production/effects/SpectrumFrame.h"

#include <memory>
#include <vector>

class MRVScene;
class ParticleBatch;
class Shader;
class Texture;
class VBODynamic;

// A tumbling cube carpeted on all six faces with 16 x 16 square columns that
// stand out like the bars of a spectrum analyser: the column in row r and
// column c rises with left[r] + left[r + 1] + right[c] + right[c + 1] and
// sinks back by 2 units a frame. A textured core fills the cube, a field of
// sprite stars streams towards the viewer, and the camera flies one of two
// paths.
class PixelCarpetEffect : public Effect
{
public:
    PixelCarpetEffect();
    ~PixelCarpetEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;
    void registerTracks() override;

    void generateObject();
    void distort(unsigned int time);
    void drawStars(float seconds);

    static constexpr int GRID = 32;
    static constexpr int COLUMNS = GRID / 2;
    static constexpr int HEIGHTS = GRID * (GRID / 2) / 2;
    static constexpr int STARS = 1000;
    static constexpr float MIN_HEIGHT = 0.5f;
    static constexpr float MAX_HEIGHT = 80.0f;

    bool isReady() const { return ready; }
    VBODynamic* getCarpet() const { return carpet.get(); }
    // Column heights, column row outermost.
    const float* getHeights() const { return heights.data(); }
    const std::vector<Particle>& getStars() const { return stars; }
    float getTumbleAngle() const { return tumbleAngle; }
    float getTextureAngle() const { return textureAngle; }
    int getCameraPath() const { return camera.getLastPath(); }

private:
    std::unique_ptr<VBODynamic> carpet;
    float tumbleAngle = 0.0f;
    float textureAngle = 0.0f;
    int gridSize = GRID;
    float cellSize = 10.0f;
    MRVScene* core = nullptr;
    Texture* coreTexture = nullptr;
    Shader* carpetShader = nullptr;
    int carpetTextureUniform = -1;
    Texture* carpetTexture = nullptr;
    Texture* starTexture = nullptr;
    std::vector<Particle> stars;
    std::unique_ptr<ParticleBatch> starBatch;
    // 64 values in the FFT window the carpet was tuned with; both channels
    // are lifted in place.
    SpectrumFrame spectrum{ 64, 2 };
    std::vector<float> heights;
    CameraFlight camera;
    bool ready = false;
};
