#pragma once

#include "demosys/math/Vector.h"
#include "demosys/runtime/Effect.h"

#include <memory>
#include <vector>

class MRVMaterial;
class MRVObject;
class MRVScene;
class Shader;
class Texture;

// A spinning mirror ball in a slowly turning textured room. From the ball
// radiate 41 coloured light beams, each a tube ending in a spot; the beams
// are drawn translucent from the farthest to the nearest, and when one points
// almost straight at the viewer the whole picture flashes in its colour.
// The ball and the room turn with the frame time; no tracks.
class DiscoBallEffect : public Effect
{
public:
    DiscoBallEffect();
    ~DiscoBallEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;

    void initLightRays();
    // With the ball's transformation on the model-view matrix.
    void sortLightRays();
    void drawFlashQuad();

    // How strongly a beam whose direction has this z (its cosine to the
    // view axis) flashes the picture: 0 up to the threshold, then rising to
    // about 0.8 on the axis.
    static float flashStrength(float z);

    static constexpr int RAY_COUNT = 41;
    static constexpr float FLASH_THRESHOLD = 0.985f;
    static constexpr unsigned int COLOUR_SEED = 123456;

    bool isReady() const { return ready; }
    int getRayCount() const { return static_cast<int>(tubes.size()); }
    // Ray i in the present (sorted) order.
    MRVObject* getTube(int i) const { return tubes[static_cast<size_t>(i)]; }
    MRVObject* getSpot(int i) const { return spots[static_cast<size_t>(i)]; }
    const Vector<float, 3>& getDirection(int i) const { return directions[static_cast<size_t>(i)]; }
    MRVMaterial* getRayMaterial(int i) const { return materials[static_cast<size_t>(i)].get(); }
    float getFlashIntensity() const { return flashIntensity; }
    int getFlashRay() const { return flashRay; }
    float getBallAngle() const { return ballAngle; }
    float getRoomAngle() const { return roomAngle; }

private:
    MRVScene* ball = nullptr;
    MRVScene* rays = nullptr;
    MRVScene* room = nullptr;
    Texture* roomTexture = nullptr;
    Shader* ballShader = nullptr;
    Shader* spotShader = nullptr;
    int ballLightPositionUniform = -1;
    int ballEyePositionUniform = -1;
    Texture* rayTexture = nullptr;
    float ballAngle = 0.0f;
    float roomAngle = 0.0f;
    std::vector<MRVObject*> tubes;
    std::vector<MRVObject*> spots;
    std::vector<Vector<float, 3>> directions;
    std::vector<std::unique_ptr<MRVMaterial>> materials;
    int rayCount = RAY_COUNT;
    float flashIntensity = 0.0f;
    int flashRay = 0;
    bool ready = false;
};
