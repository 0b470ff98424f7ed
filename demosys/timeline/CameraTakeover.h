#pragma once

#include "demosys/math/Vector.h"

class Animation;

// Where the camera paths meet the editor. Every pose a path gives the shared
// camera is noted here: which path, how far along it, in which frame, and,
// when asked, the matrices the scene was then drawn with. While `flying`,
// the author's pose replaces the path's, so that a scene can be looked at
// from anywhere and that view written back into its path.
struct CameraTakeover
{
    bool flying = false;
    Vector<float, 3> position;
    float pitch = 0.0f;
    float heading = 0.0f;

    // The last pose of a path; `frame` is the frame counter at that pose.
    Animation* path = nullptr;
    double progress = 0.0;
    unsigned int frame = 0;

    // Costs two matrix reads a pose; only the editor, drawing the path, asks.
    bool keepMatrices = false;
    float modelView[16] = {};
    float projection[16] = {};
};
