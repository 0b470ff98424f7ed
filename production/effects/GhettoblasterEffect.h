#pragma once

#include "demosys/runtime/Effect.h"
#include "demosys/scene/MRVMaterial.h"
#include "production/effects/CameraFlight.h"
#include "production/effects/EqualizerLeds.h"
#include "production/effects/GreetingsDisplay.h"
#include "production/effects/SceneBatch.h"
#include "production/effects/SpectrumFrame.h"

#include <memory>

class FrameBufferObject;
class MRVObject;
class MRVScene;
class Shader;
class Texture;
class TrackInterpolate;
class VBODynamic;

// The ghettoblaster scene: a stereo whose bass domes pump with the low end,
// with an LED equalizer, a turning cassette and a scrolling dot-matrix
// display of greetings on its front, ringed by three circles of television
// sets that show another buffer. The stereo stands on a checkerboard floor
// that reflects it: a mirrored copy goes into "mirror_image" and the
// "average" shader lays it over the picture before the scene itself is
// drawn. The camera flies one of two paths.
class GhettoblasterEffect : public Effect
{
public:
    GhettoblasterEffect();
    ~GhettoblasterEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;
    void registerTracks() override;

    void drawGhetto(unsigned int time, unsigned int frameTime);
    void drawTVFormation(unsigned int time);
    // Leaves the screen picture bound and switched on; drawTVFormation
    // releases it after the last set.
    void drawTV(MRVMaterial* material);
    void drawFloor();
    void drawEquilizer(float* spectrum);
    void drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size);
    void drawGreets(float frameTime);
    void drawCasette(unsigned int time);

    // The cassette frame shown at a time: 4, 3, 2, 1 in turn ("tape4" first),
    // 100 ms each.
    static int cassetteFrame(unsigned int time);

    bool isReady() const { return ready; }
    // The last frame's spectrum, its sum weighed for the equalizer.
    const SpectrumFrame& getSpectrum() const { return spectrum; }
    int getFloorRows() const { return floorRows; }
    const MRVMaterial& getMaterial(int ring) const { return materials[ring]; }
    const GreetingsDisplay& getDisplay() const { return display; }

    // What the last drawings showed: LEDs per band of the last equalizer,
    // the last cassette frame, the camera path, and TV sets drawn in the last
    // frame (both passes).
    int getLedsLit(int band) const { return ledsLit[band]; }
    int getShownCassette() const { return shownCassette; }
    int getCameraPath() const { return camera.getLastPath(); }
    int getTVsDrawn() const { return tvsDrawn; }

private:
    void useLight();
    // The floor's and the TV sets' geometry, made once.
    void buildFloor(int startParity);
    void buildTVs();

    MRVMaterial materials[3];
    // 64 values in the FFT window the scene was tuned with.
    SpectrumFrame spectrum{ 64, 1 };
    GreetingsDisplay display;
    int floorRows = 0;
    std::unique_ptr<VBODynamic> floor;
    int floorParity = -1;
    std::unique_ptr<VBODynamic> tvScreen;
    SceneBatch tvSetBatch;

    MRVScene* stereo = nullptr;
    MRVScene* tvSet = nullptr;
    FrameBufferObject* transBuffer = nullptr;
    FrameBufferObject* mirrorImage = nullptr;
    FrameBufferObject* offscreen = nullptr;
    Shader* light = nullptr;
    Shader* textureShader = nullptr;
    Shader* average = nullptr;
    int averageDestinationUniform = -1;
    int averageSourceUniform = -1;
    int lightLightPositionUniform = -1;
    int lightEyePositionUniform = -1;
    int textureTextureUniform = -1;
    int textureColorUniform = -1;
    Texture* floorTexture = nullptr;
    Texture* tapes[4] = {};
    Texture* glow = nullptr;
    CameraFlight camera;

    MRVObject* sphereLeft = nullptr;
    MRVObject* sphereRight = nullptr;
    MRVObject* plane = nullptr;
    MRVObject* body = nullptr;
    MRVObject* metal = nullptr;
    MRVObject* bass = nullptr;
    MRVObject* blackPlastic = nullptr;

    TrackInterpolate* tvRotation = nullptr;
    TrackInterpolate* equalizerPos[3] = {};
    TrackInterpolate* tapePos[3] = {};
    TrackInterpolate* greetPos[3] = {};
    TrackInterpolate* greetsSwitch = nullptr;

    int ledsLit[EqualizerLeds::BANDS] = {};
    int shownCassette = 0;
    int tvsDrawn = 0;
    bool ready = false;
};
