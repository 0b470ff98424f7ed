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
    // The night above the band, 512 x 256 RGB, shown over the whole screen
    // behind the road (its height spans the screen's). The band's top edge
    // rises and falls with the hills between SKY_BAND_TOP_MIN and
    // SKY_BAND_TOP_MAX of this picture's height from its top: from there down
    // it has exactly the colour of the band's top row, so no edge shows;
    // above, it darkens towards the zenith under a few stars.
    static Canvas nightSky();

    static constexpr float TREE_REGION = 0.4062f;
    static constexpr float HORIZON = 0.425f;
    static constexpr float SKY_BAND_TOP_MIN = 0.2f;
    static constexpr float SKY_BAND_TOP_MAX = 0.33f;
};
