#pragma once

#include "demosys/runtime/Effect.h"

class FrameBufferObject;
class Shader;
class TrackInterpolate;

// Glow: the source buffer blurred by a horizontal and a vertical pass, then
// laid over the sharp source by the composite shader at the "opacity"
// track's strength.
class GlowEffect : public Effect
{
public:
    GlowEffect() = default;
    ~GlowEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

private:
    Shader* blurXShader = nullptr;
    Shader* blurYShader = nullptr;
    Shader* screenShader = nullptr;
    int blurXTextureUniform = -1;
    int blurXViewportStepUniform = -1;
    int blurYTextureUniform = -1;
    int blurYViewportStepUniform = -1;
    int screenOpacityUniform = -1;
    int screenSourceUniform = -1;
    int screenDestinationUniform = -1;
    FrameBufferObject* source = nullptr;
    FrameBufferObject* blurXBuffer = nullptr;
    FrameBufferObject* blurYBuffer = nullptr;
    TrackInterpolate* opacity = nullptr;
    bool ready = false;
};
