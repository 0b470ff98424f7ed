#pragma once

class Canvas;

// Small light sprites, drawn white so that the effect's colour tints them;
// their opacity follows their brightness so they read the same whether an
// effect blends them by alpha or adds them.
class SpriteGraphics
{
public:
    // The LEDs of the stereo's equalizer and the dots of its display: a
    // rounded lamp with a hot centre.
    static Canvas led(int size);
    // A soft round glow for the additive particle cloud.
    static Canvas particle(int size);
    // A four-pointed sparkle for the star field of the pixel carpet.
    static Canvas star(int size);
};
