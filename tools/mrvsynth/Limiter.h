#pragma once

#include "tools/mrvsynth/StereoBuffer.h"

// A look-ahead peak limiter: the gain starts to fall a few milliseconds
// before a peak and comes back smoothly, so no sample leaves above the
// ceiling and no gain step is heard as a click.
class Limiter
{
public:
    Limiter(float ceiling, float rate);

    void process(StereoBuffer& buffer) const;

private:
    float ceiling;
    size_t lookahead;
    float releaseCoefficient;
};
