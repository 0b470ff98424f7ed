#pragma once

#include "tools/mrvgfx/Colour.h"
#include "tools/mrvgfx/Shape.h"

#include <string>

class Canvas;

// Lettering in the pixel font at any size. Tubes join each lit pixel of a
// glyph to its lit neighbours with round segments, which turns the pixel
// font into bent neon tubes; blocks draw every lit pixel as a rounded square,
// like a dot-matrix display. (x, y) is the top-left corner of the first cell.
class NeonText
{
public:
    static float width(const std::string& text, float cell);

    static Shape tubes(const std::string& text, float x, float y, float cell, float radius);
    static Shape blocks(const std::string& text, float x, float y, float cell, float inset);

    // A lit tube: a wide glow of colour, the tube itself and a white core.
    static void neon(Canvas& canvas, const std::string& text, float x, float y, float cell, const Colour& colour);
    // Text centred on cx.
    static void neonCentred(Canvas& canvas, const std::string& text, float cx, float y, float cell,
                            const Colour& colour);
};
