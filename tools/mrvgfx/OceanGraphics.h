#pragma once

class Canvas;

// Pictures of the ocean view. The beach and the leaves are laid over the
// whole screen: their quads cover it from t = 0.336 (bottom edge) to t = 1
// (top edge), so they are painted as 16:9 screens into that part of the
// picture; the rows below stay empty.
class OceanGraphics
{
public:
    // The sea is a strip 3 units wide that the effect sees narrowing to a
    // point on the horizon, just right of the screen's middle. The beach,
    // 512 x 512 RGBA, frames it: an opaque sunset sky with the sun over the
    // vanishing point down to the horizon (the middle of the screen), sandy
    // shores with palms on both sides reaching just over the sea's edges,
    // and the sea's wedge itself transparent.
    static Canvas beach();
    // The sea shader's environment, 256 x 256 RGB, as a sphere map (the
    // reflected ray r looks up r.xy / m + 0.5): the same sky and sun, so the
    // sea mirrors the sunset the beach shows above it.
    static Canvas reflection();
    // Palm fronds hanging into the screen from the top, 512 x 512 RGBA:
    // leaf 1 from the top-left corner, leaf 2 from the top-right.
    static Canvas leaf(int which);

    static constexpr float SCREEN_FROM = 0.336f;
};
