#pragma once

#include "demosys/runtime/Effect.h"
#include "demosys/timeline/Interpolate.h"

#include <memory>

class NeonRibbon;
class Texture;

// Two neon lines winding along a noise path over a checkered floor, the
// camera riding the first. Not registered for scripts: the owner configures
// the progress curve, whose value is how many ribbon vertices are drawn and
// the vertex the camera rides on. Without a valid curve it draws nothing.
class NeonRibbonEffect : public Effect
{
public:
    NeonRibbonEffect();
    ~NeonRibbonEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

    Interpolate& getProgress() { return progress; }
    NeonRibbon* getRibbon(int index) const { return index == 0 ? first.get() : second.get(); }

    void drawFloor();

private:
    Texture* floor = nullptr;
    std::unique_ptr<NeonRibbon> first;
    std::unique_ptr<NeonRibbon> second;
    Interpolate progress;
};
