#pragma once

#include "demosys/sound/TickSource.h"

#include <cstdint>

// Frame k (counted by advanceFrame() calls, 0 before the first) reads
// floor(k * 1000 / fps) milliseconds: every frame lies on the same grid in every
// run, which keeps recorded or compared runs identical.
class FixedStepTickSource : public TickSource
{
public:
    // An fps of 0 is taken as 60 rather than freezing the clock.
    explicit FixedStepTickSource(unsigned int fps);

    unsigned int getTicks() override;
    void advanceFrame() override { ++frame; }
    bool isFixedStep() const override { return true; }

    unsigned int getFps() const { return fps; }
    uint64_t getFrame() const { return frame; }

private:
    unsigned int fps;
    uint64_t frame = 0;
};
