#pragma once

class Canvas;

// Textures that cover surfaces of the scenes: floors, walls, the meter
// columns and the light beams.
class SurfaceGraphics
{
public:
    // The stereo's checkerboard floor, 512 x 512 RGB. The effect spreads the
    // picture once over its 60 x 60 cells and draws every other cell, so
    // each cell here gets a neon rim at exact multiples of 1/60; a magenta
    // glow warms the middle, where the stereo stands.
    static Canvas stereoFloor();
    // The disco room's walls, 512 x 512 RGB: neon-framed panels. Every face
    // of the cube shows the whole picture, so the border is the same on all
    // four sides and faces meet without a break.
    static Canvas discoWall();
    // The floor under the neon ribbons, 512 x 512 RGB: an 8 x 8 checker of
    // dark squares between magenta grid lines.
    static Canvas ribbonFloor();
    // The pixel carpet's column texture, 256 x 256 RGB. The carpet's shader
    // lays it flat over each face, turns it and multiplies its meter colours
    // by 0.4 + 0.6 x the picture: soft pastel bokeh lights on a dim field,
    // repeating seamlessly both ways (the texture wraps while it turns).
    static Canvas meters();
    // The disco ball's light beams, 256 x 256 RGBA: s runs around the tube,
    // t along it from the ball (t = 0) to the spot. Soft shafts of light
    // repeat seamlessly around the tube and fade along it; the effect tints
    // them with each ray's colour.
    static Canvas beams();
};
