#include "demosys/sound/FixedStepTickSource.h"

FixedStepTickSource::FixedStepTickSource(unsigned int f)
    : fps(f == 0 ? 60u : f)
{
}

unsigned int FixedStepTickSource::getTicks()
{
    // 64-bit so that long runs do not overflow before the division; the result
    // wraps like SDL's 32-bit counter would.
    return static_cast<unsigned int>(frame * 1000u / fps);
}
