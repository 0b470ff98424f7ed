#pragma once

#include "demosys/runtime/Effect.h"
#include "demosys/timeline/Interpolate.h"

class FrameBufferObject;
class Texture;

// Zoom blur: copies of the source, each a little larger and fainter, added
// into two ping-pong buffers in turn, then the last of them laid over the
// sharp source with the fade curve's alpha. Not registered for scripts: the
// owner gives it its buffers and its fade, or names the buffers in the
// parameters "source_fbo", "ping_fbo" and "pong_fbo".
class RadialBlurEffect : public Effect
{
public:
    RadialBlurEffect() = default;
    ~RadialBlurEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

    void setBuffers(FrameBufferObject* source, FrameBufferObject* ping, FrameBufferObject* pong);
    // The alpha of the blurred layer over time.
    Interpolate& getFade() { return fade; }
    int getIterations() const { return iterations; }

    // A quad of the texture, centred, scale half-wide, added at alpha.
    void drawQuad(Texture* texture, float scale, float alpha);

private:
    FrameBufferObject* source = nullptr;
    FrameBufferObject* ping = nullptr;
    FrameBufferObject* pong = nullptr;
    int iterations = 0;
    Interpolate fade;
};
