#pragma once

#include "demosys/scene/MRVObjectFile.h"

// The portable stereo of the ghettoblaster scene, standing on the floor
// (y = 0) with its front towards +z: a silver casing with a carrying handle,
// two bass speakers left and right, a black centre panel for the tape deck,
// equalizer and display that the effect draws itself, and the display glass.
//
// Objects, by the names the effect finds them under: "Body", "Metal" (handle
// and speaker trims), "BlackPlastic" (feet, surrounds, centre panel,
// buttons), "Bass" (the two speaker cones), "BassSphereLeft" and
// "BassSphereRight" (the domes that pump with the bass; each object's
// translation is its centre) and "Plane" (the display, a flat rectangle).
class GhettoblasterModel
{
public:
    static MRVObjectFile build();

    // Where the scene's details sit, for productions that place the effect's
    // own drawings on the front.
    static constexpr float FRONT_Z = 1.4f;
    static constexpr float DISPLAY_Z = 1.46f;
    static constexpr float SPEAKER_X = 5.2f;
    static constexpr float SPEAKER_Y = 3.9f;
    static constexpr float DOME_Z = 1.1f;
};
