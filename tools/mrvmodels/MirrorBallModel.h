#pragma once

#include "demosys/scene/MRVObjectFile.h"

// A disco mirror ball of radius 3 at the origin: "MirrorBall", rings of flat
// silver tiles with narrow gaps, over "BallCore", the dark sphere that shows
// through the gaps.
class MirrorBallModel
{
public:
    static MRVObjectFile build();

    static constexpr float RADIUS = 3.0f;
    static constexpr int RINGS = 14;
    static constexpr int SEGMENTS = 28;
};
