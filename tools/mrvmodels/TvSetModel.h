#pragma once

#include "demosys/scene/MRVObjectFile.h"

// An old tube television for the ring of sets in the ghettoblaster scene. It
// faces -x, the way the effect turns it (90 degrees about y, scaled by 0.08),
// and leaves the picture to the effect: the front is a frame around an
// opening of 75.6 x 42.5 units, the size of the quad the effect lays over it.
// No object carries a colour, so every ring can paint the sets its own.
//
// Objects: "Cabinet", "Tube" (the rear housing), "Antenna", "Feet".
class TvSetModel
{
public:
    static MRVObjectFile build();

    static constexpr float FRONT_X = -10.5f;
};
