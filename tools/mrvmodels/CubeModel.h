#pragma once

#include "demosys/scene/MRVObjectFile.h"

// A unit cube centred on the origin (-0.5 to 0.5 on every axis), each face
// mapped with the whole picture. Effects scale it into a room, the core of
// the pixel carpet, or the LEDs of the equalizer, and bring their own
// texture or colour: the one object, "Cube", has no material.
class CubeModel
{
public:
    static MRVObjectFile build();
};
