#pragma once

#include "tools/mrvsynth/ParamCurve.h"
#include "tools/mrvsynth/StereoBuffer.h"

#include <cstddef>

// Echoes that bounce left, right, left, each one darker than the last, as
// tape echoes do; added onto the dry signal in place.
class PingPongDelay
{
public:
    PingPongDelay(size_t delaySamples, float feedback, float rate);

    // mix: the level of the echoes over the song.
    void process(StereoBuffer& buffer, const ParamCurve& mix) const;

private:
    size_t delay;
    float feedback;
    float damping;  // one-pole low-pass coefficient in the feedback path
};
