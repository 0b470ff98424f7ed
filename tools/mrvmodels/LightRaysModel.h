#pragma once

#include "demosys/math/Vector.h"
#include "demosys/scene/MRVObjectFile.h"

#include <string>
#include <vector>

// The light rays of the disco ball: 41 beams leaving the ball's surface
// (radius 3 about the origin) in directions spread evenly over the sphere,
// each a widening open tube "Tube.0N" ending in a round spot "Circle.0N",
// for N = 44 to 85 without 63 (the numbering the effect looks them up by).
// Each object's translation is its centre, which lies on its beam's axis:
// the effect turns translations into beam directions.
class LightRaysModel
{
public:
    static MRVObjectFile build();

    // 44..62, 64..85.
    static std::vector<int> rayNumbers();
    static std::string tubeName(int number);
    static std::string circleName(int number);
    // The unit direction of the k-th ray (k from 0 to 40).
    static Vector<float, 3> direction(int k);

    static constexpr int RAY_COUNT = 41;
    static constexpr float START = 3.0f;
    static constexpr float LENGTH = 18.0f;
};
