#pragma once

class Canvas;

// Pictures of the racing view.
class RoadGraphics
{
public:
    // The roadside palm, 256 x 256 RGBA. The road effect shows only the left
    // 0.4062 of the picture's width over a quad of 1.6248 x 2.8512 units, in
    // black through the picture's opacity: only the silhouette counts.
    static Canvas tree();
    // The sky band behind the road, 512 x 256 RGB, repeating seamlessly
    // across its width (the effect wraps it 2.5 times over the screen). The
    // road's far end meets the band 0.425 of its height from the bottom, so
    // the horizon lies there; above it the sky darkens into the black above
    // the band.
    static Canvas background();

    static constexpr float TREE_REGION = 0.4062f;
    static constexpr float HORIZON = 0.425f;
};
