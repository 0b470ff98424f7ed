#pragma once

#include "demosys/timeline/TrackKeyFrame.h"

// A value on a row and the curve that leads from it to the next keyframe.
class TrackKeyFrameInterpolate : public TrackKeyFrame
{
public:
    // Stored in track files as plain integers; any other number behaves as
    // LINEAR, so files written by newer editors still play.
    enum Curve
    {
        LINEAR = 0,
        COSINE_FAST_START = 1,
        COSINE_SLOW_START = 2,
        STEP = 3,
        RAMP = 4
    };

    TrackKeyFrameInterpolate() = default;
    TrackKeyFrameInterpolate(unsigned int row_, int interpolation_, float value_)
        : TrackKeyFrame(row_, 0), value(value_), interpolation(interpolation_)
    {
    }

    float value = 0.0f;
    int interpolation = LINEAR;
};
