#pragma once

class Canvas;

// The production's name in neon over its sunset: logos, the loading screen
// and the banknote.
class LogoGraphics
{
public:
    // A square emblem: striped sun over a neon grid, the name in tubes
    // across it, inside a neon frame. mrvlogo.png (512, on every face of the
    // pixel carpet's core, so the frame closes each face) and guilogo.png
    // (256, the launcher's picture, shown at 240 x 240) are both RGB.
    static Canvas emblem(int size);
    // Loading1.png, 512 x 256 RGB, stretched over the 16:9 screen while the
    // production loads: the sunset landscape, the name in unlit tubes, and
    // the empty track of the bar across the whole width.
    static Canvas loadingBackground();
    // Loading2.png, 512 x 256 RGBA, laid over the background and revealed
    // from the left as loading advances: the bar filling its track and the
    // name's tubes lighting up. Transparent everywhere else.
    static Canvas loadingBar();
    // A banknote, 512 x 256 RGB; the dollar transition maps s 0.001-0.999
    // and t 0.156-0.999 onto a 4.74 x 2 quad, so the note fills that region
    // at that shape.
    static Canvas banknote();

    // The bar's band in both loading pictures, fractions of their height
    // from the top.
    static constexpr float BAR_TOP = 0.84f;
    static constexpr float BAR_BOTTOM = 0.88f;
};
