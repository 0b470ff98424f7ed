#pragma once

#include "demosys/math/Vector.h"

// The red debugging lines of objects and scenes: GL_COLOR_MATERIAL on for
// the ambient and diffuse colour of both faces, red, line width 3; restored
// to width 1, white and GL_COLOR_MATERIAL off afterwards.
class MRVSceneDebug
{
public:
    MRVSceneDebug() = delete;

    static void drawLine(const Vector<float, 3>& from, const Vector<float, 3>& to);
    // The 12 edges of the box spanned by the two corners.
    static void drawBox(const Vector<float, 3>& min, const Vector<float, 3>& max);
};
