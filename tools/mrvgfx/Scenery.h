#pragma once

#include "tools/mrvgfx/Colour.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/Shape.h"

class Canvas;
class Random;

// The pieces of the synthwave landscape that several pictures share, so the
// road's sky, the beach, the loading screen and the logos show one world:
// sunset sky, striped sun, neon mountains, a perspective grid and palms.
// All positions are canvas pixels.
class Scenery
{
public:
    // Sky colour by height above the horizon: 0 at the horizon, 1 at the top.
    static Gradient sky();
    static void paintSky(Canvas& canvas, float top, float horizon);
    // Small stars over [x0, x1] x [y0, y1], fainter towards y1; wrapX makes
    // stars near the right edge also appear at the left.
    static void paintStars(Canvas& canvas, Random& random, Shape::Bounds area, int count, bool wrapX);
    // The sun sits on the horizon: only the part above it is drawn, its lower
    // half cut by widening dark gaps.
    static void paintSun(Canvas& canvas, float cx, float cy, float radius, float horizon);
    // A mountain range standing on the horizon, ridge drawn in neon; with a
    // period (pixels) the range repeats seamlessly across the canvas.
    static void paintMountains(Canvas& canvas, unsigned seed, float horizon, float height, float period,
                               const Colour& body, const Colour& rim);
    // A floor of neon lines below the horizon running to the vanishing point.
    static void paintGrid(Canvas& canvas, float horizon, float vanishX, float bottom, float spacing,
                          const Colour& line);
    // A palm silhouette standing at (baseX, baseY), leaning by `lean` pixels
    // at the crown; fronds and leaflets vary with the seed, and `spread`
    // scales their length.
    static Shape palm(float baseX, float baseY, float height, float lean, float trunk, unsigned seed,
                      float spread = 1.0f);
    // One palm frond: a rib from start along direction, sagging by droop at
    // its tip, with leaflets hanging from both sides; width is the rib's
    // half-width at the start. More steps give more leaflets.
    static Shape frond(Shape::Point start, Shape::Point direction, float length, float droop, float width, int steps);
};
