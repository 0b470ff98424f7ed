#pragma once

#include "demosys/runtime/Effect.h"

class FrameBufferObject;
class Shader;
class TrackInterpolate;

// Feedback blur: each frame mixes the current picture ("offscreen") with the
// previous result kept in "aux2" by the "blurfactor" track. "aux1" and
// "aux2" are never cleared here; the history they carry is the blur.
class MotionBlurEffect : public Effect
{
public:
    MotionBlurEffect() = default;
    ~MotionBlurEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

private:
    Shader* textureShader = nullptr;
    Shader* motionBlurShader = nullptr;
    int motionBlurBlurFactorUniform = -1;
    int motionBlurTexture0Uniform = -1;
    int motionBlurTexture1Uniform = -1;
    int textureColorUniform = -1;
    int textureTextureUniform = -1;
    FrameBufferObject* aux1 = nullptr;
    FrameBufferObject* aux2 = nullptr;
    FrameBufferObject* offscreen = nullptr;
    TrackInterpolate* blurFactor = nullptr;
    bool ready = false;
};
