#pragma once

// The one quad over clip space that the engine's texture and framebuffer
// passes and the effects' full-screen passes all draw, so that they agree
// on its corners. The caller sets up the matrices (identity for a
// full-screen pass, see GLw) and binds what is sampled.
//
// Winding matters: the frame starts with back faces culled, and the 2D
// passes have always been drawn in one of two windings, which the pictures
// depend on; each call names its own.
class ScreenQuad
{
public:
    // Texture (0,0) at the bottom left, picture upright, counter-clockwise
    // (front-facing); corners at +-scale.
    static void draw(float scale = 1.0f);
    // The same corners clockwise: culled with back faces, so callers switch
    // culling off or rely on its being off.
    static void drawClockwise();
    // Picture upside down, counter-clockwise.
    static void drawFlipped();
};
