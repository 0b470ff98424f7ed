#pragma once

#include "demosys/runtime/Effect.h"

class FrameBufferObject;
class Shader;

// Composites two buffers through one shader at full opacity; both buffers
// are consumed.
class BlendEffect : public Effect
{
public:
    BlendEffect() = default;
    ~BlendEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

private:
    Shader* shader = nullptr;
    int opacityUniform = -1;
    int sourceUniform = -1;
    int destinationUniform = -1;
    FrameBufferObject* buffer1 = nullptr;
    FrameBufferObject* buffer2 = nullptr;
    bool ready = false;
};
